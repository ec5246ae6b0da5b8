// The FTP client: thin wrappers around the ANSI WinInet functions. Handles travel to the
// script as plain 32-bit numbers; the component keeps no table of them.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>
#include <string_view>

namespace internet {

// A script's handle number as a WinInet handle, and back.
inline HINTERNET ToHandle(long number) {
  return reinterpret_cast<HINTERNET>(static_cast<ULONG_PTR>(static_cast<unsigned long>(number)));
}
inline long ToNumber(HINTERNET handle) {
  return static_cast<long>(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(handle)));
}

long OpenInternet();
long ConnectFtp(long internet, std::wstring_view server, std::wstring_view user, std::wstring_view password);
bool GetFile(long connection, std::wstring_view remote, std::wstring_view local);
bool PutFile(long connection, std::wstring_view local, std::wstring_view remote);
void CloseInternetHandle(long handle);
bool DeleteRemoteFile(long connection, std::wstring_view name);
bool ChangeDirectory(long connection, std::wstring_view name);
// The current remote directory; on failure a text of NUL characters only.
std::wstring CurrentDirectory(long connection);
bool MakeRemoteDirectory(long connection, std::wstring_view name);
bool RenameRemoteFile(long connection, std::wstring_view old_name, std::wstring_view new_name);
bool RemoveRemoteDirectory(long connection, std::wstring_view name);

}  // namespace internet
