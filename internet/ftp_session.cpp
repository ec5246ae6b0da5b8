#include "ftp_session.h"

#include <algorithm>

#include "frame/text.h"
#include "last_error.h"

namespace internet {
namespace {

constexpr DWORD kAsciiTransfer = FTP_TRANSFER_TYPE_ASCII;
constexpr DWORD kDirectoryBuffer = 500;

// Runs one WinInet call and stores the last error right after it.
template <class Call>
auto Stored(Call&& call) {
  auto result = call();
  StoreLastError();
  return result;
}

}  // namespace

long OpenInternet() {
  return ToNumber(Stored([] {
    return InternetOpenA("quillbox", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  }));
}

long ConnectFtp(long internet, std::wstring_view server, std::wstring_view user, std::wstring_view password) {
  const std::string s = frame::ToAnsi(server), u = frame::ToAnsi(user), p = frame::ToAnsi(password);
  return ToNumber(Stored([&] {
    return InternetConnectA(ToHandle(internet), s.c_str(), INTERNET_DEFAULT_FTP_PORT, u.c_str(), p.c_str(),
                            INTERNET_SERVICE_FTP, 0, 0);
  }));
}

bool GetFile(long connection, std::wstring_view remote, std::wstring_view local) {
  const std::string r = frame::ToAnsi(remote), l = frame::ToAnsi(local);
  return Stored([&] {
    return FtpGetFileA(ToHandle(connection), r.c_str(), l.c_str(), FALSE, 0, kAsciiTransfer, 0);
  }) != FALSE;
}

bool PutFile(long connection, std::wstring_view local, std::wstring_view remote) {
  const std::string l = frame::ToAnsi(local), r = frame::ToAnsi(remote);
  return Stored([&] { return FtpPutFileA(ToHandle(connection), l.c_str(), r.c_str(), kAsciiTransfer, 0); }) !=
         FALSE;
}

void CloseInternetHandle(long handle) {
  Stored([&] { return InternetCloseHandle(ToHandle(handle)); });
}

bool DeleteRemoteFile(long connection, std::wstring_view name) {
  const std::string n = frame::ToAnsi(name);
  return Stored([&] { return FtpDeleteFileA(ToHandle(connection), n.c_str()); }) != FALSE;
}

bool ChangeDirectory(long connection, std::wstring_view name) {
  const std::string n = frame::ToAnsi(name);
  return Stored([&] { return FtpSetCurrentDirectoryA(ToHandle(connection), n.c_str()); }) != FALSE;
}

std::wstring CurrentDirectory(long connection) {
  char buffer[kDirectoryBuffer] = {};
  DWORD length = kDirectoryBuffer;
  const bool ok = Stored([&] { return FtpGetCurrentDirectoryA(ToHandle(connection), buffer, &length); }) != FALSE;
  // Never read past the buffer, whatever length WinInet reports.
  size_t n = std::min<size_t>(length, kDirectoryBuffer);
  // Some platforms count the terminating NUL in the length: cut a successful result at it.
  if (ok) n = std::find(buffer, buffer + n, '\0') - buffer;
  return ok ? frame::FromAnsi({buffer, n}) : std::wstring(n, L'\0');
}

bool MakeRemoteDirectory(long connection, std::wstring_view name) {
  const std::string n = frame::ToAnsi(name);
  return Stored([&] { return FtpCreateDirectoryA(ToHandle(connection), n.c_str()); }) != FALSE;
}

bool RenameRemoteFile(long connection, std::wstring_view old_name, std::wstring_view new_name) {
  const std::string o = frame::ToAnsi(old_name), n = frame::ToAnsi(new_name);
  return Stored([&] { return FtpRenameFileA(ToHandle(connection), o.c_str(), n.c_str()); }) != FALSE;
}

bool RemoveRemoteDirectory(long connection, std::wstring_view name) {
  const std::string n = frame::ToAnsi(name);
  return Stored([&] { return FtpRemoveDirectoryA(ToHandle(connection), n.c_str()); }) != FALSE;
}

}  // namespace internet
