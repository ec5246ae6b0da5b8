#include "ftp_support.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace inettest {

using qbtest::Long;
using qbtest::Text;

std::wstring ServerRoot() {
  const char* root = std::getenv("QB_FTP_ROOT");
  if (!root) {
    ADD_FAILURE() << "QB_FTP_ROOT is not set (the FTP server fixture did not run)";
    return L"Z:\\nonexistent";
  }
  std::wstring path = L"Z:" + qbtest::Widen(root);
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

namespace {

void RemoveTree(const std::wstring& path) {
  std::wstring from = path + L'\0';  // the list ends with two NULs
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
}

std::wstring FreshDirectory(const std::wstring& path) {
  RemoveTree(path);
  EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << qbtest::Narrow(path);
  return path;
}

}  // namespace

std::wstring FreshServerDirectory(const std::wstring& name) { return FreshDirectory(ServerRoot() + L"\\" + name); }

std::wstring LocalScratch(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return FreshDirectory(std::wstring(temp) + L"quillbox-" + name);
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  frame::FileHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(f) << qbtest::Narrow(path);
  DWORD written = 0;
  ::WriteFile(f.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

std::string ReadFile(const std::wstring& path) {
  frame::FileHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return "<missing>";
  std::string bytes(GetFileSize(f.get(), nullptr), '\0');
  DWORD read = 0;
  ::ReadFile(f.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr);
  bytes.resize(read);
  return bytes;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeSparseFile(const std::wstring& path, unsigned long long size) {
  frame::FileHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(f);
  LARGE_INTEGER end;
  end.QuadPart = LONGLONG(size);
  ASSERT_TRUE(SetFilePointerEx(f.get(), end, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(f.get()));
}

void SetWriteTime(const std::wstring& path, const SYSTEMTIME& utc) {
  frame::FileHandle f(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(f) << qbtest::Narrow(path);
  FILETIME ft;
  ASSERT_TRUE(SystemTimeToFileTime(&utc, &ft));
  ASSERT_TRUE(SetFileTime(f.get(), nullptr, nullptr, &ft));
}

Session::Session() : obj_(qbtest::CreateObject(L"internet.quillbox")) {
  internet_ = Call(L"OpenInternet").number();
  connection_ = Call(L"connect", {Long(internet_), Text(kServer), Text(kUser), Text(kPassword)}).number();
  EXPECT_NE(connection_, 0) << "no FTP connection to " << qbtest::Narrow(kServer);
}

Session::~Session() {
  if (connection_) Call(L"CloseHandle", {Long(connection_)});
  if (internet_) Call(L"CloseHandle", {Long(internet_)});
}

qbtest::CallResult Session::Call(const wchar_t* name, std::vector<qbtest::Variant> args) {
  return qbtest::Call(obj_.get(), name, std::move(args));
}

qbtest::Variant Session::ListDirectory(const std::wstring& dir) {
  EXPECT_EQ(Call(L"ChDir", {Long(connection_), Text(L"/" + dir)}).value.boolVal, VARIANT_TRUE);
  auto r = Call(L"Dir", {Long(connection_)});
  EXPECT_TRUE(r.ok());
  return std::move(r.value);
}

std::vector<std::wstring> Split(const std::wstring& text, const std::wstring& separator) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::wstring::npos; start = at + separator.size())
    parts.push_back(text.substr(start, at - start));
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace inettest
