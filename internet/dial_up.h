// Dial-up control through WinInet: dial the default connection, hang it up, read the
// connection-state flags.
#pragma once

namespace internet {

// Dials without asking the user; with `set_auto_connect` it then sets the user's
// AutoConnect value to 0 through the script host's shell object (error 429 when that
// object cannot be created). Returns the outcome of the dial.
bool Dial(bool set_auto_connect);
bool HangUp();
long ConnectionFlags();

}  // namespace internet
