#include "page_address.h"

namespace webpane {

std::wstring EscapeForAddress(std::wstring_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'%': out += L"%25"; break;
      case L'\'': out += L"\\'"; break;
      case L'\\': out += L"\\\\"; break;
      case L'\r': out += L"\\r"; break;
      case L'\n': out += L"\\n"; break;
      default: out += c; break;
    }
  }
  return out;
}

std::wstring PageAddress(const PageLook& look) {
  const std::wstring_view title = look.title.empty() ? std::wstring_view(L"Ausgabefenster") : look.title;
  std::wstring a = L"JavaScript:'<html><head><title>";
  a += EscapeForAddress(title);
  a += L"</title><style>p {font: ";
  a += std::to_wstring(look.size);
  a += L"pt ";
  a += EscapeForAddress(look.font);
  a += L";margin-top:0 px; margin-bottom: 0px; color: \"#";
  a += EscapeForAddress(look.fontcolor);
  a += L"\"}</style></head><body bgcolor=\"#";
  a += EscapeForAddress(look.color);
  a += L"\" scroll=\"";
  a += look.scroll ? L"auto" : L"no";
  a += L"\">'";
  return a;
}

}  // namespace webpane
