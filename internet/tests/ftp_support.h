// Test support for the FTP members: the loopback server's root as the tests see it,
// local files, and a script-like session (object, Internet handle, connection).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "testing/automation.h"

namespace inettest {

inline constexpr wchar_t kServer[] = L"127.0.0.1";
inline constexpr wchar_t kUser[] = L"quill";
inline constexpr wchar_t kPassword[] = L"box-secret";

// The server's root directory (Windows path); the fixture passes it in QB_FTP_ROOT.
std::wstring ServerRoot();
// A fresh, empty directory under the server's root; its Windows path.
std::wstring FreshServerDirectory(const std::wstring& name);
// A fresh local scratch directory; its Windows path.
std::wstring LocalScratch(const std::wstring& name);

void WriteFile(const std::wstring& path, const std::string& bytes);
std::string ReadFile(const std::wstring& path);
bool Exists(const std::wstring& path);
// A file of `size` bytes that takes no space (the end set past an empty file).
void MakeSparseFile(const std::wstring& path, unsigned long long size);
// Sets the last-write time (UTC) of a file or directory.
void SetWriteTime(const std::wstring& path, const SYSTEMTIME& utc);

// A connected FTP session as a script opens one; closes both handles at the end.
class Session {
 public:
  Session();
  ~Session();
  IDispatch* obj() const { return obj_.get(); }
  long connection() const { return connection_; }
  qbtest::CallResult Call(const wchar_t* name, std::vector<qbtest::Variant> args = {});
  // Changes into `dir` (relative to the root) and returns Dir's result.
  qbtest::Variant ListDirectory(const std::wstring& dir);

 private:
  frame::ComPtr<IDispatch> obj_;
  long internet_ = 0;
  long connection_ = 0;
};

// The lines of a listing (split at CR LF) and the fields of a line (split at tabs).
std::vector<std::wstring> Split(const std::wstring& text, const std::wstring& separator);

}  // namespace inettest
