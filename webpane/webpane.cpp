#include "webpane.h"

#include "browser_window.h"
#include "document_model.h"
#include "frame/about_box.h"
#include "frame/conversions.h"
#include "frame/window_helpers.h"
#include "page_address.h"

namespace webpane {
namespace {

QUILLBOX_DEFINE_COMPONENT(webpane, L"webpane", frame::ServerKind::InProcess, Webpane);

// The browser a by-reference ie4 names; a caller that is no script may hand over any
// dispatch pointer, so ask it for the browser interface. Nothing is error 91.
frame::ComPtr<IWebBrowser2> BrowserOf(IWebBrowser2** ie4) {
  if (!ie4 || !*ie4) frame::Raise(frame::kObjectNotSet);
  frame::ComPtr<IWebBrowser2> browser;
  HRESULT hr = (*ie4)->QueryInterface(IID_IWebBrowser2, browser.put_void());
  if (FAILED(hr)) frame::Raise(frame::kTypeMismatch);
  return browser;
}

std::wstring Paragraph(BSTR text) { return L"<p>" + std::wstring(frame::View(text)) + L"</p>"; }

void Hand(IWebBrowser2* browser, IWebBrowser2** out) {
  if (browser) browser->AddRef();
  *out = browser;
}

}  // namespace

Webpane::Webpane() : watch_([this] { obj_onquit(); }) {}

Webpane::~Webpane() = default;

STDMETHODIMP Webpane::get_fired(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = fired_ ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP Webpane::put_fired(VARIANT_BOOL value) {
  fired_ = value != VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP Webpane::get_obj(IWebBrowser2** value) {
  if (!value) return E_POINTER;
  Hand(watch_.browser(), value);
  return S_OK;
}

STDMETHODIMP Webpane::putref_obj(IWebBrowser2* value) {
  return frame::Guarded([&] { watch_.Watch(value); });
}

STDMETHODIMP Webpane::WaitForQuit(IWebBrowser2** ie4, VARIANT* result) {
  return frame::Guarded([&] {
    frame::ComPtr<_quillbox> keep(this);  // a handler may drop the script's last reference
    if (result) VariantInit(result);
    fired_ = false;
    frame::ComPtr<IWebBrowser2> browser;
    if (ie4 && *ie4) browser = BrowserOf(ie4);
    watch_.Watch(browser.get());
    // Nothing to wait for: no window, or one that has quit already.
    if (!browser || watch_.quit()) {
      if (browser) fired_ = true;
      return;
    }
    PumpUntil([&] { return fired_; }, [&] { watch_.Probe(); });
  });
}

STDMETHODIMP Webpane::HandleEvents() {
  return frame::Guarded([&] {
    frame::ComPtr<_quillbox> keep(this);
    frame::ProcessPendingMessages();
  });
}

STDMETHODIMP Webpane::obj_onquit() {
  return frame::Guarded([&] {
    frame::ComPtr<_quillbox> keep(this);
    fired_ = true;
    RaiseEvent(1);
  });
}

void Webpane::OpenWindow(const std::wstring& address, short breite, short hoehe, VARIANT_BOOL visib,
                         IWebBrowser2** result) {
  frame::ComPtr<IWebBrowser2> browser = CreateBrowser();
  watch_.Watch(browser.get());
  PrepareWindow(browser.get(), {address, breite, hoehe, visib != VARIANT_FALSE});
  if (result) Hand(watch_.browser(), result);
}

STDMETHODIMP Webpane::OpenIEWindowFromTemplate(BSTR navto, short breite, short hoehe, VARIANT_BOOL visib,
                                               IWebBrowser2** result) {
  if (result) *result = nullptr;
  return frame::Guarded([&] { OpenWindow(std::wstring(frame::View(navto)), breite, hoehe, visib, result); });
}

STDMETHODIMP Webpane::OpenIEWindow(BSTR title, VARIANT_BOOL scroll, short breite, short hoehe, BSTR font,
                                   short size, VARIANT_BOOL visib, BSTR color, BSTR fontcolor,
                                   IWebBrowser2** result) {
  if (result) *result = nullptr;
  return frame::Guarded([&] {
    PageLook look{frame::View(title), scroll != VARIANT_FALSE, frame::View(font), size, frame::View(color),
                  frame::View(fontcolor)};
    OpenWindow(PageAddress(look), breite, hoehe, visib, result);
  });
}

STDMETHODIMP Webpane::Say(IWebBrowser2** ie4, BSTR text) {
  return frame::Guarded([&] { ReplaceBody(BrowserOf(ie4).get(), Paragraph(text)); });
}

STDMETHODIMP Webpane::SayDirect(IWebBrowser2** ie4, BSTR text) {
  return frame::Guarded([&] { ReplaceBody(BrowserOf(ie4).get(), frame::View(text)); });
}

STDMETHODIMP Webpane::SayMore(IWebBrowser2** ie4, BSTR text) {
  return frame::Guarded([&] { AppendToBody(BrowserOf(ie4).get(), Paragraph(text)); });
}

STDMETHODIMP Webpane::SayMoreDirect(IWebBrowser2** ie4, BSTR text) {
  return frame::Guarded([&] { AppendToBody(BrowserOf(ie4).get(), frame::View(text)); });
}

STDMETHODIMP Webpane::About() {
  return frame::Guarded([] { frame::ShowAboutBox(); });
}

}  // namespace webpane
