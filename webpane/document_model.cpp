#include "document_model.h"

#include <algorithm>
#include <vector>

#include "frame/conversions.h"
#include "frame/errors.h"
#include "frame/values.h"

namespace webpane {
namespace {

using frame::ComPtr;
using frame::Variant;

// object.name with `flags`; arguments in their declared order. Raises the callee's
// failure with its own description.
Variant InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, std::vector<Variant> args = {}) {
  if (!object) frame::Raise(frame::kObjectNotSet);
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  frame::Check(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
  std::reverse(args.begin(), args.end());
  DISPID put_id = DISPID_PROPERTYPUT;
  const bool put = flags & DISPATCH_PROPERTYPUT;
  DISPPARAMS params{args.empty() ? nullptr : static_cast<VARIANT*>(args.data()), put ? &put_id : nullptr,
                    UINT(args.size()), put ? 1u : 0u};
  EXCEPINFO excep{};
  Variant result;
  HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, &excep, nullptr);
  if (hr == DISP_E_EXCEPTION) {
    if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
    frame::Bstr description = frame::Bstr::Attach(excep.bstrDescription);
    frame::Bstr::Attach(excep.bstrSource);
    frame::Bstr::Attach(excep.bstrHelpFile);
    frame::RaiseHresult(excep.scode ? excep.scode : frame::ControlError(excep.wCode),
                        std::wstring(description.view()));
  }
  frame::Check(hr);
  return result;
}

Variant Get(IDispatch* object, const wchar_t* name) {
  return InvokeByName(object, name, DISPATCH_PROPERTYGET);
}

// A property that holds an object; Nothing is error 91.
ComPtr<IDispatch> GetObject(IDispatch* object, const wchar_t* name) {
  Variant value = Get(object, name);
  ComPtr<IDispatch> inner(frame::ToObject(value));
  if (!inner) frame::Raise(frame::kObjectNotSet);
  return inner;
}

ComPtr<IDispatch> Document(IWebBrowser2* browser) {
  if (!browser) frame::Raise(frame::kObjectNotSet);
  ComPtr<IDispatch> document;
  frame::Check(browser->get_Document(document.put()));
  if (!document) frame::Raise(frame::kObjectNotSet);
  return document;
}

ComPtr<IDispatch> Body(IWebBrowser2* browser) { return GetObject(Document(browser).get(), L"body"); }

short ScreenValue(IWebBrowser2* browser, const wchar_t* name) {
  ComPtr<IDispatch> window = GetObject(Document(browser).get(), L"parentWindow");
  ComPtr<IDispatch> screen = GetObject(window.get(), L"screen");
  return frame::ToInteger(Get(screen.get(), name));
}

}  // namespace

UsableArea UsableScreenArea(IWebBrowser2* browser) {
  UsableArea area;
  area.height = ScreenValue(browser, L"availHeight");
  area.width = ScreenValue(browser, L"availWidth");
  return area;
}

void ReplaceBody(IWebBrowser2* browser, std::wstring_view html) {
  InvokeByName(Body(browser).get(), L"innerHTML", DISPATCH_PROPERTYPUT, {Variant::Text(html)});
}

void AppendToBody(IWebBrowser2* browser, std::wstring_view html) {
  InvokeByName(Body(browser).get(), L"insertAdjacentHTML", DISPATCH_METHOD,
               {Variant::Text(L"beforeEnd"), Variant::Text(html)});
}

}  // namespace webpane
