// Conversions of script values inside members, with the errors a script expects:
// Null is "invalid use of Null" (94), anything else that cannot be converted is a type
// mismatch (13), a number too large for the type an overflow (6).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

namespace frame {

std::wstring ToText(const VARIANT& v);
long ToLong(const VARIANT& v);
short ToInteger(const VARIANT& v);
bool ToBool(const VARIANT& v);
double ToDouble(const VARIANT& v);
// The object a value holds (Nothing gives nullptr); raises 13 for a non-object.
IDispatch* ToObject(const VARIANT& v);
bool IsNull(const VARIANT& v);

// A BSTR's text; a null BSTR is the empty text.
inline std::wstring_view View(BSTR b) { return {b ? b : L"", SysStringLen(b)}; }

}  // namespace frame
