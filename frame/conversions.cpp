#include "conversions.h"

#include "errors.h"
#include "values.h"

namespace frame {
namespace {

const VARIANT& Plain(const VARIANT& v) {
  const VARIANT* p = &v;
  while (p->vt == (VT_BYREF | VT_VARIANT) && p->pvarVal) p = p->pvarVal;
  return *p;
}

Variant Convert(const VARIANT& v, VARTYPE type) {
  const VARIANT& plain = Plain(v);
  if ((plain.vt & ~VT_BYREF) == VT_NULL) Raise(kInvalidUseOfNull);
  Variant out;
  HRESULT hr = out.ChangeTypeFrom(plain, type);
  if (hr == DISP_E_OVERFLOW) Raise(kOverflow);
  if (FAILED(hr)) Raise(kTypeMismatch);
  return out;
}

}  // namespace

std::wstring ToText(const VARIANT& v) { return std::wstring(View(Convert(v, VT_BSTR).bstrVal)); }
long ToLong(const VARIANT& v) { return Convert(v, VT_I4).lVal; }
short ToInteger(const VARIANT& v) { return Convert(v, VT_I2).iVal; }
bool ToBool(const VARIANT& v) { return Convert(v, VT_BOOL).boolVal != VARIANT_FALSE; }
double ToDouble(const VARIANT& v) { return Convert(v, VT_R8).dblVal; }

IDispatch* ToObject(const VARIANT& v) {
  const VARIANT& plain = Plain(v);
  VARTYPE type = plain.vt & ~VT_BYREF;
  if (type != VT_DISPATCH && type != VT_UNKNOWN) Raise(kTypeMismatch);
  IUnknown* unknown = (plain.vt & VT_BYREF) ? *plain.ppunkVal : plain.punkVal;
  if (!unknown) return nullptr;
  if (type == VT_DISPATCH) return static_cast<IDispatch*>(unknown);  // borrowed from the caller's value
  Raise(kTypeMismatch);
}

bool IsNull(const VARIANT& v) { return (Plain(v).vt & ~VT_BYREF) == VT_NULL; }

}  // namespace frame
