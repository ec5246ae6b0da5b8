#include "late_binding.h"

#include <algorithm>

#include "errors.h"

namespace frame {
namespace {

// The code and text of a failed Invoke; for an exception those of its record.
void TakeFailure(HRESULT hr, EXCEPINFO& excep, LateCall& call) {
  call.hr = hr;
  if (hr != DISP_E_EXCEPTION) return;
  if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
  Bstr description = Bstr::Attach(excep.bstrDescription);
  Bstr source = Bstr::Attach(excep.bstrSource);
  Bstr help = Bstr::Attach(excep.bstrHelpFile);
  HRESULT code = excep.scode ? excep.scode : ControlError(excep.wCode);
  call.hr = FAILED(code) ? code : E_FAIL;
  call.description = std::wstring(description.view());
}

// object.name with `flags`; a property put passes its value as the named argument.
LateCall TryInvokeByName(IDispatch* object, const wchar_t* name, WORD flags, std::vector<Variant> args) {
  LateCall call;
  if (!object) {
    call.hr = ControlError(kObjectNotSet);
    return call;
  }
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  call.hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(call.hr)) return call;
  // Invoke takes its arguments last to first.
  std::reverse(args.begin(), args.end());
  DISPID put_id = DISPID_PROPERTYPUT;
  const bool put = flags & DISPATCH_PROPERTYPUT;
  DISPPARAMS params{args.data(), put ? &put_id : nullptr, static_cast<UINT>(args.size()), put ? 1u : 0u};
  EXCEPINFO excep{};
  UINT arg_err = 0;
  HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &call.value, &excep, &arg_err);
  if (FAILED(hr)) TakeFailure(hr, excep, call);
  return call;
}

Variant Raising(LateCall call) {
  if (!call.ok()) RaiseHresult(call.hr, std::move(call.description));
  return std::move(call.value);
}

}  // namespace

ComPtr<IDispatch> CreateByProgId(const wchar_t* progid) {
  CLSID clsid{};
  ComPtr<IDispatch> object;
  if (FAILED(CLSIDFromProgID(progid, &clsid)) ||
      FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              object.put_void())) ||
      !object)
    Raise(kCannotCreateObject);
  return object;
}

LateCall TryCallByName(IDispatch* object, const wchar_t* name, std::vector<Variant> args) {
  return TryInvokeByName(object, name, DISPATCH_METHOD, std::move(args));
}

Variant CallByName(IDispatch* object, const wchar_t* name, std::vector<Variant> args) {
  return Raising(TryCallByName(object, name, std::move(args)));
}

Variant GetByName(IDispatch* object, const wchar_t* name) {
  return Raising(TryInvokeByName(object, name, DISPATCH_PROPERTYGET, {}));
}

void PutByName(IDispatch* object, const wchar_t* name, Variant value) {
  std::vector<Variant> args;
  args.push_back(std::move(value));
  Raising(TryInvokeByName(object, name, DISPATCH_PROPERTYPUT, std::move(args)));
}

}  // namespace frame
