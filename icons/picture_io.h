// The two things every picture of this component can go to: the clipboard and a
// Windows bitmap file.
#pragma once

#include <windows.h>

#include <string_view>

#include "frame/values.h"

namespace icons {

// Empties the clipboard.
void ClearClipboard();
// Empties the clipboard and places `bitmap` on it as CF_BITMAP; the clipboard takes it
// over. Raises 5 when there is no bitmap.
void PutOnClipboard(frame::Bitmap&& bitmap);
// The same with a copy of `bitmap`; the caller keeps its own.
void PutCopyOnClipboard(HBITMAP bitmap);
// Writes `bitmap` to the file `path` (used unchanged; an existing file is replaced) as a
// bottom-up BITMAPINFOHEADER file at the bitmap's own colour depth (with its colour
// table at 8 bits or less), 24 bits for deeper bitmaps. Raises 5 when there is no bitmap, and the run-time file
// errors 76 (path not found), 70 (in use or write-protected) or 75 (any other access
// failure, a directory for example) when it cannot be written.
void SaveBitmapFile(HBITMAP bitmap, std::wstring_view path);

}  // namespace icons
