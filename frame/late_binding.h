// Using other Automation objects the way a script does: create one by its ProgID and
// call its members by name.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "values.h"

namespace frame {

// The object registered under `progid` (in-process or local server); raises 429 (the
// object cannot be created) when it is not registered or does not start.
ComPtr<IDispatch> CreateByProgId(const wchar_t* progid);

// What a late-bound call gave: its HRESULT (for an exception: the callee's code), the
// callee's description of a failure, and the result.
struct LateCall {
  HRESULT hr = S_OK;
  std::wstring description;
  Variant value;
  bool ok() const { return SUCCEEDED(hr); }
};

// object.name(args...) as a method call, `args` in their declared order; never raises.
LateCall TryCallByName(IDispatch* object, const wchar_t* name, std::vector<Variant> args = {});
// The same, raising the callee's error (code and description) when the call fails.
Variant CallByName(IDispatch* object, const wchar_t* name, std::vector<Variant> args = {});
// object.name read as a property, and object.name := value; raising like CallByName.
Variant GetByName(IDispatch* object, const wchar_t* name);
void PutByName(IDispatch* object, const wchar_t* name, Variant value);

}  // namespace frame
