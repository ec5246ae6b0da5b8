// The icon selection dialog: one per thread, shared by all objects of the library on
// that thread. The script fills it with the icons of one or more files and shows it
// modally; the user picks one icon and gets its reference "path,index".
#pragma once

#include <string>
#include <string_view>

namespace icons {

struct DialogOutcome {
  bool confirmed = false;  // OK (button or Enter) rather than Cancel, Escape or the close box
  std::wstring text;       // the text box after OK, else empty
};

// Adds every icon of `path` (lower-cased) to the dialog and returns their number; 0
// (nothing added, no window made) for a file without icons. Raises 35602 when an icon
// of the file is already in the list.
short AddIconsOfFile(std::wstring_view path);
void SetDialogLabel(std::wstring_view text);
void SetDialogCaption(std::wstring_view text);
// True: items added from now on carry no text, only their picture.
void SetDialogSilent(bool silent);
// Shows the dialog modally with these button captions; afterwards the dialog is gone
// and the next filling starts with an empty list.
DialogOutcome ShowIconDialogModal(std::wstring_view ok_caption, std::wstring_view cancel_caption);

}  // namespace icons
