#include "window_lookup.h"

#include <climits>
#include <string>

#include "frame/errors.h"
#include "frame/text.h"

namespace icons {
namespace {

// The wait is formed in 16-bit arithmetic, so only 0 to 32 seconds can be formed; a
// negative wait would be a sleep of many days and is refused.
void WaitSeconds16(short seconds) {
  const int milliseconds = int(seconds) * 1000;
  if (milliseconds > SHRT_MAX || milliseconds < SHRT_MIN) frame::Raise(frame::kOverflow);
  if (milliseconds < 0) frame::Raise(frame::kInvalidCall);
  Sleep(DWORD(milliseconds));
}

POINT CursorAfter(short seconds) {
  WaitSeconds16(seconds);
  POINT p{};
  GetCursorPos(&p);
  return p;
}

}  // namespace

HWND FindWindowByTitle(std::wstring_view title) {
  const std::string name = frame::ToAnsi(title);
  return FindWindowA(nullptr, name.c_str());
}

HWND WindowUnderCursor(short seconds) { return WindowFromPoint(CursorAfter(seconds)); }

HWND ChildUnderCursor(short seconds) {
  POINT p = CursorAfter(seconds);
  HWND parent = WindowFromPoint(p);
  if (!parent || !ScreenToClient(parent, &p)) return nullptr;
  return ChildWindowFromPointEx(parent, p, CWP_SKIPINVISIBLE);
}

}  // namespace icons
