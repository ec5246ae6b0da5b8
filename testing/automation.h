// Late-bound calls as a script makes them, for the tests of every component.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "frame/values.h"

namespace qbtest {

using frame::ComPtr;
using frame::Variant;

// Creates an object by ProgID (as CreateObject does); fails the test when it cannot.
ComPtr<IDispatch> CreateObject(const wchar_t* progid, DWORD context = CLSCTX_ALL);

// What a call gave: the HRESULT of Invoke, the result, and for DISP_E_EXCEPTION the
// exception record's code and description.
struct CallResult {
  HRESULT hr = E_FAIL;
  Variant value;
  HRESULT scode = S_OK;
  std::wstring description;
  std::wstring source;
  UINT arg_err = UINT(-1);

  bool ok() const { return SUCCEEDED(hr); }
  // The error number a script's Err.Number shows (the low word of a control error).
  int error() const;
  std::wstring text() const;  // the result as text (fails on non-text)
  long number() const;        // the result as a Long
};

struct NamedArg {
  const wchar_t* name;
  Variant value;
};

// obj.name(args...) with DISPATCH_METHOD | DISPATCH_PROPERTYGET, as VBScript calls.
CallResult Call(IDispatch* obj, const wchar_t* name, std::vector<Variant> args = {},
                std::vector<NamedArg> named = {}, WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET);
CallResult Get(IDispatch* obj, const wchar_t* name);
CallResult Put(IDispatch* obj, const wchar_t* name, Variant value, bool by_ref_put = false);

// A script variable passed to a by-reference parameter (VT_BYREF | VT_VARIANT).
Variant RefTo(VARIANT* variable);

Variant Text(const std::wstring& s);
inline Variant Long(long n) { return Variant::Long(n); }
inline Variant Bool(bool b) { return Variant::Bool(b); }
Variant Null();
Variant Missing();  // an omitted argument

// The process's handle count, private bytes, GDI and USER object counts.
struct ResourceUse {
  DWORD handles = 0;
  SIZE_T private_bytes = 0;
  DWORD gdi_objects = 0;
  DWORD user_objects = 0;
};
ResourceUse MeasureResources();

std::wstring Widen(const std::string& s);
std::string Narrow(const std::wstring& s);

}  // namespace qbtest

namespace qbtest {

// Checks the shape every component's type library has: the library's name and locale,
// the class with the given type flags, `_quillbox` (hidden, dual, non-extensible,
// OLE-automation, dispatchable) as its default interface and `__quillbox` (hidden,
// dispatchable) as its default source; and that the members come in `order`.
void ExpectTypeLibraryShape(IDispatch* object, const wchar_t* library, WORD class_flags,
                            const std::vector<std::wstring>& order);

}  // namespace qbtest
