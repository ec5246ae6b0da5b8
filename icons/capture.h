// Copies of the screen and of windows: as bitmaps for the clipboard and files, and as
// OLE picture objects that own their bitmap for the script.
#pragma once

#include <windows.h>
#include <olectl.h>

#include "frame/values.h"

namespace icons {

using Palette = frame::Unique<HPALETTE, frame::detail::DeleteGdiObject>;

// A copy: its bitmap, and on a 256-colour palette display the palette made from the
// system palette for it (else none).
struct Copy {
  frame::Bitmap bitmap;
  Palette palette;
};

// A picture object owning `bitmap` and `palette` (0 for none); both are deleted when
// the picture is released, also when the creation fails (then the result is empty).
frame::ComPtr<IPictureDisp> CreateBitmapPicture(HBITMAP bitmap, HPALETTE palette);

// Copies a rectangle of a window's device context (its client area when `client`,
// else the whole window; window 0 is the screen). Raises 5 when the window has no
// device context or the bitmap cannot be made (a negative size).
Copy CopyWindow(HWND window, bool client, long left, long top, long width, long height);

// Turns a window rectangle in screen coordinates into the source rectangle (left, top,
// width in right, height in bottom) of its part on the primary screen.
RECT ClipRectToScreen(RECT window);

// The whole primary screen.
Copy CopyScreen();
// The part of `window` on the primary screen, frame included. Raises 5 when the window
// names no window or has no part on the primary screen.
Copy CopyWindowHandle(HWND window);
// The foreground window, as CopyWindowHandle.
Copy CopyActiveWindow();

// Sleeps `seconds` (any number; fractions count) rounded to whole milliseconds, halves
// to even. Raises 5 for a negative wait, 6 beyond the 32-bit range, 13/94 for no number.
void Delay(const VARIANT& seconds);

}  // namespace icons
