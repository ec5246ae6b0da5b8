// The FTP directory listing: one line per entry (name, date text, size, attributes,
// separated by tabs; CR LF between lines), or the error text that ended the enumeration.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace internet {

// The listing of the entries that match `pattern`; nullopt when nothing matches; the
// German error text in place of the listing when the enumeration fails.
std::optional<std::wstring> ListDirectory(long connection, std::wstring_view pattern);

// One entry's line without its line break.
std::wstring ListingLine(const WIN32_FIND_DATAA& entry);
// A file time as the Automation conversion writes a date for the user's locale: date
// and time, or the date alone at midnight; empty when the time is no valid date.
std::wstring DateText(const FILETIME& time);

}  // namespace internet
