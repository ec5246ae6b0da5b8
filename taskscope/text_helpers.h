// Text helpers for texts that system calls filled.
#pragma once

#include <string>
#include <string_view>

namespace taskscope {

// The text without its last character; raises error 5 for an empty text.
std::wstring DropLastCharacter(std::wstring_view s);
// Cuts `text` at its first NUL; raises error 6 when that NUL lies beyond position 32767.
void CutAtFirstNul(std::wstring& text);
// 1-based start of the last (possibly overlapping) occurrence of `such`, or 0. The
// empty text occurs at every position of `text`: the last one is its length.
long LastPosition(std::wstring_view text, std::wstring_view such);

}  // namespace taskscope
