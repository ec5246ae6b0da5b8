// The shell's large-icon size in the per-user registry, read and written through the
// script host's shell object as a script would.
#pragma once

#include "frame/values.h"

namespace icons {

// Sets the size to `size` (or to the present size plus `size` when `relative`) and
// returns the value that was in force before: as read, or the number 32 when it was
// absent, zero or no number. Failures of reading or writing never end the call: the
// last one is shown in a message box.
frame::Variant SetShellIconSize(short size, bool relative);

}  // namespace icons
