#include "document_model.h"

#include "frame/conversions.h"
#include "frame/errors.h"
#include "frame/late_binding.h"
#include "frame/values.h"

namespace webpane {
namespace {

using frame::ComPtr;
using frame::Variant;

// A property that holds an object; Nothing is error 91.
ComPtr<IDispatch> ObjectProperty(IDispatch* object, const wchar_t* name) {
  Variant value = frame::GetByName(object, name);
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

ComPtr<IDispatch> Body(IWebBrowser2* browser) { return ObjectProperty(Document(browser).get(), L"body"); }

short ScreenValue(IWebBrowser2* browser, const wchar_t* name) {
  ComPtr<IDispatch> window = ObjectProperty(Document(browser).get(), L"parentWindow");
  ComPtr<IDispatch> screen = ObjectProperty(window.get(), L"screen");
  return frame::ToInteger(frame::GetByName(screen.get(), name));
}

}  // namespace

UsableArea UsableScreenArea(IWebBrowser2* browser) {
  UsableArea area;
  area.height = ScreenValue(browser, L"availHeight");
  area.width = ScreenValue(browser, L"availWidth");
  return area;
}

void ReplaceBody(IWebBrowser2* browser, std::wstring_view html) {
  frame::PutByName(Body(browser).get(), L"innerHTML", Variant::Text(html));
}

void AppendToBody(IWebBrowser2* browser, std::wstring_view html) {
  frame::CallByName(Body(browser).get(), L"insertAdjacentHTML", {Variant::Text(L"beforeEnd"), Variant::Text(html)});
}

}  // namespace webpane
