// The class quillbox of webpane: a browser window as output window, and the watch for
// its quit notification.
#pragma once

#include "frame/object.h"
#include "quit_watch.h"
#include "webpane_idl.h"

namespace webpane {

class Webpane final : public frame::Component<Webpane, _quillbox> {
 public:
  Webpane();
  ~Webpane() override;

  STDMETHODIMP get_fired(VARIANT_BOOL* value) override;
  STDMETHODIMP put_fired(VARIANT_BOOL value) override;
  STDMETHODIMP get_obj(IWebBrowser2** value) override;
  STDMETHODIMP putref_obj(IWebBrowser2* value) override;
  STDMETHODIMP WaitForQuit(IWebBrowser2** ie4, VARIANT* result) override;
  STDMETHODIMP HandleEvents() override;
  STDMETHODIMP obj_onquit() override;
  STDMETHODIMP OpenIEWindowFromTemplate(BSTR navto, short breite, short hoehe, VARIANT_BOOL visib,
                                        IWebBrowser2** result) override;
  STDMETHODIMP OpenIEWindow(BSTR title, VARIANT_BOOL scroll, short breite, short hoehe, BSTR font, short size,
                            VARIANT_BOOL visib, BSTR color, BSTR fontcolor, IWebBrowser2** result) override;
  STDMETHODIMP Say(IWebBrowser2** ie4, BSTR text) override;
  STDMETHODIMP SayDirect(IWebBrowser2** ie4, BSTR text) override;
  STDMETHODIMP SayMore(IWebBrowser2** ie4, BSTR text) override;
  STDMETHODIMP SayMoreDirect(IWebBrowser2** ie4, BSTR text) override;
  STDMETHODIMP About() override;

 private:
  // Creates a browser, watches it, prepares its window with `address`; returns it.
  void OpenWindow(const std::wstring& address, short breite, short hoehe, VARIANT_BOOL visib,
                  IWebBrowser2** result);

  bool fired_ = false;
  QuitWatch watch_;
};

}  // namespace webpane
