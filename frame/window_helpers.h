// Window helpers shared by every component: twips and pixels, message processing,
// window classes whose procedure never lets an exception escape, and modal display.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace frame {

// Twips (1/1440 inch) and pixels at the screen's resolution.
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
int PixelsToTwipsX(int pixels);
int PixelsToTwipsY(int pixels);
// The primary screen's size in twips.
int ScreenWidthTwips();
int ScreenHeightTwips();

// A rectangle in twips, converted to pixels as a whole.
struct TwipsRect {
  int left, top, width, height;
  RECT ToPixels() const;
};
// Moves a window (or control) to a rectangle given in twips.
void MoveWindowTwips(HWND window, const TwipsRect& r, bool repaint = true);

// Processes every message pending on this thread once and returns; a WM_QUIT is put
// back for the loop that owns it.
void ProcessPendingMessages();

// Registers a window class of this module once; its procedure is `proc`, wrapped so
// that no exception leaves it. Returns the class atom's name.
using WindowProcedure = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
const wchar_t* RegisterWindowClass(const wchar_t* name, WindowProcedure proc, UINT style = 0,
                                   HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                   HICON icon = nullptr);

// A window's (or control's) text.
std::wstring WindowText(HWND window);

// Creates a child control at a rectangle in twips, with the standard GUI font.
HWND CreateControl(HWND parent, const wchar_t* window_class, const wchar_t* text, DWORD style,
                   const TwipsRect& r, int id, DWORD ex_style = 0);
HFONT StandardFont();

// Runs a message loop until `done()` is true, with the thread's other top-level
// windows disabled (a modal window `window` stays enabled). WM_QUIT ends it too and is
// put back.
void RunModal(HWND window, const std::function<bool()>& done);

// Centres a window on the primary screen's work area.
void CenterOnScreen(HWND window);

}  // namespace frame
