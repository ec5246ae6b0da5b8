// Conversions between Automation text (UTF-16) and the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace frame {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);
// Reads a fixed-size ANSI field up to its first NUL (or its whole size without one).
std::wstring FromAnsiField(const char* field, size_t size);
std::wstring ToLower(std::wstring_view text);

}  // namespace frame
