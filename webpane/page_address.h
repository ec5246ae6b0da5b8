// The page address of OpenIEWindow: a JavaScript: address whose value is a small HTML
// page with the title, paragraph font, colours and scroll setting.
#pragma once

#include <string>
#include <string_view>

namespace webpane {

struct PageLook {
  std::wstring_view title;  // empty: "Ausgabefenster"
  bool scroll = false;
  std::wstring_view font;
  short size = 12;
  std::wstring_view color;      // background, six hex digits without '#'
  std::wstring_view fontcolor;  // paragraph text, the same
};

std::wstring PageAddress(const PageLook& look);

// A piece of text as it must appear inside the address's quoted script string so
// that the page shows it unchanged: the browser first decodes %xx, then reads the
// string literal, so '%' becomes %25 and apostrophe, backslash and line breaks are
// escaped for the literal. Everything else stays as given.
std::wstring EscapeForAddress(std::wstring_view text);

}  // namespace webpane
