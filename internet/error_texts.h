// German texts for system, WinInet and Winsock error numbers, and WinInet's last
// response text (for FTP: the server's last reply).
#pragma once

#include <string>

namespace internet {

// The text for `number`; 12003 ("extended error") gives the server's reply text.
std::wstring Translate(long number);
// WinInet's last response text of this thread, or an empty text.
std::wstring ExtendedError();

}  // namespace internet
