// The last platform error: one value per thread, shared by every object of the library
// on that thread, stored right after each Windows call the component makes (also after
// successful ones) and read back by the script through GetLastError/GetLastErrorNumber.
#pragma once

namespace internet {

long LastError();
// Stores the system's last-error code of this thread as it is at this moment.
void StoreLastError();
// Stores the Winsock error code (after a Winsock call).
void StoreWinsockError();

}  // namespace internet
