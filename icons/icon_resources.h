// Icons stored in files, the shell's icon picker, and the shell notifications about
// icons and the desktop.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "frame/values.h"

namespace icons {

// Side of the square an icon is drawn into, in pixels: the icon's 32 x 32 at its upper
// left, the window background colour in the right and bottom four pixels.
constexpr int kIconSquare = 36;
constexpr int kIconSide = 32;

// The number of icons in a file; 0 for a file without icons or one that cannot be read.
long CountIcons(std::wstring_view file);

// A new kIconSquare bitmap in the window background colour with icon `index` of `file`
// drawn at its upper left (left empty when the file has no such icon).
frame::Bitmap DrawIconSquare(std::wstring_view file, int index);

// The shell's icon picker on `path` with icon `index` preselected: "path,index" of the
// confirmed choice, or "" when cancelled. Raises 5 for a path the picker's buffer
// cannot hold.
std::wstring PickIcon(std::wstring_view path, long index);

// The platform identifier: 0 Win32s, 1 the Windows 95 family, 2 the NT family.
long PlatformId();

// Tells all top-level windows that the window metrics changed.
void BroadcastMetricsChange();
// Tells the shell that the desktop and all file associations changed.
void NotifyDesktopChanged();

// A 32 x 32 square in the window background colour showing the standard system
// cursor `cursor_id` (an IDC_ value). Raises 5 for an id that
// names no system cursor.
frame::Bitmap DrawSystemCursor(long cursor_id);

}  // namespace icons
