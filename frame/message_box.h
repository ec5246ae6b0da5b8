// The platform's modal message box with the component's application title.
#pragma once

#include <windows.h>

#include <string_view>

namespace frame {

// Shows `text` with one OK button and the given icon style (0, MB_ICONEXCLAMATION, ...)
// and returns when the user has closed the box.
void ShowMessage(std::wstring_view text, UINT icon = 0);
inline void ShowWarning(std::wstring_view text) { ShowMessage(text, MB_ICONEXCLAMATION); }

}  // namespace frame
