#include "text.h"

#include <windows.h>

#include <cstring>

namespace frame {

std::string ToAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring FromAnsi(std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), out.data(), n);
  return out;
}

std::wstring FromAnsiField(const char* field, size_t size) {
  const void* nul = std::memchr(field, 0, size);
  size_t n = nul ? size_t(static_cast<const char*>(nul) - field) : size;
  return FromAnsi({field, n});
}

std::wstring ToLower(std::wstring_view text) {
  std::wstring out(text);
  if (!out.empty()) CharLowerBuffW(out.data(), DWORD(out.size()));
  return out;
}

}  // namespace frame
