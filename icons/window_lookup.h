// Finding windows: by the exact title of a top-level window, and under the mouse
// pointer after a wait in which the user points at the wanted window.
#pragma once

#include <windows.h>

#include <string_view>

namespace icons {

// The top-level window whose title is `title` (compared as the platform compares), or 0.
HWND FindWindowByTitle(std::wstring_view title);

// Sleeps `seconds` (a 16-bit count whose product with 1000 must fit 16 bits: error 6
// beyond 32, error 5 below 0) and then returns the window under the pointer, or 0.
HWND WindowUnderCursor(short seconds);
// The same for the child window under the pointer: the first visible child of that
// window containing the point, the window itself when none does, or 0.
HWND ChildUnderCursor(short seconds);

}  // namespace icons
