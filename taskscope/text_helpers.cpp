#include "text_helpers.h"

#include "frame/errors.h"

namespace taskscope {

std::wstring DropLastCharacter(std::wstring_view s) {
  if (s.empty()) frame::Raise(frame::kInvalidCall);
  return std::wstring(s.substr(0, s.size() - 1));
}

void CutAtFirstNul(std::wstring& text) {
  size_t nul = text.find(L'\0');
  if (nul == std::wstring::npos) return;
  // Scripts have always seen the position as a 16-bit Integer.
  if (nul + 1 > 32767) frame::Raise(frame::kOverflow);
  text.resize(nul);
}

long LastPosition(std::wstring_view text, std::wstring_view such) {
  if (such.empty()) return long(text.size());
  size_t at = text.rfind(such);
  return at == std::wstring_view::npos ? 0 : long(at + 1);
}

}  // namespace taskscope
