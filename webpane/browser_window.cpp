#include "browser_window.h"

#include "document_model.h"
#include "frame/errors.h"
#include "frame/late_binding.h"

namespace webpane {
namespace {

constexpr wchar_t kBrowserProgId[] = L"InternetExplorer.Application";

// Reads ReadyState until the page is complete. The reads go straight on, without
// processing this thread's messages, but no longer than kPageLoadLimit.
void WaitForPage(IWebBrowser2* browser) {
  const auto deadline = std::chrono::steady_clock::now() + kPageLoadLimit;
  for (;;) {
    READYSTATE state = READYSTATE_UNINITIALIZED;
    frame::Check(browser->get_ReadyState(&state));
    if (state == READYSTATE_COMPLETE) return;
    if (std::chrono::steady_clock::now() > deadline)
      frame::RaiseHresult(HRESULT_FROM_WIN32(ERROR_TIMEOUT),
                          L"Die Seite im Browserfenster wurde nicht innerhalb von " +
                              std::to_wstring(kPageLoadLimit.count()) + L" Sekunden fertig geladen.");
  }
}

void Navigate(IWebBrowser2* browser, const std::wstring& address) {
  frame::Variant missing;
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  frame::Bstr url(address);
  frame::Check(browser->Navigate(url.get(), &missing, &missing, &missing, &missing));
}

}  // namespace

frame::ComPtr<IWebBrowser2> CreateBrowser() {
  auto browser = frame::CreateByProgId(kBrowserProgId).As<IWebBrowser2>(IID_IWebBrowser2);
  if (!browser) frame::Raise(frame::kCannotCreateObject);
  return browser;
}

short CentredStart(short size, short usable) {
  if (size >= usable) return 0;
  const int twice = usable - size;  // positive, below 65536
  const int half = twice / 2;
  // An odd difference leaves half a pixel: round it to the even neighbour.
  return short((twice % 2 == 0 || half % 2 == 0) ? half : half + 1);
}

void PrepareWindow(IWebBrowser2* browser, const WindowSetup& setup) {
  frame::Check(browser->put_Width(setup.width));
  frame::Check(browser->put_Height(setup.height));
  frame::Check(browser->put_ToolBar(0));
  frame::Check(browser->put_StatusBar(VARIANT_FALSE));
  frame::Check(browser->put_Silent(VARIANT_TRUE));
  Navigate(browser, setup.address);
  WaitForPage(browser);
  const UsableArea area = UsableScreenArea(browser);
  frame::Check(browser->put_Left(CentredStart(setup.width, area.width)));
  frame::Check(browser->put_Top(CentredStart(setup.height, area.height)));
  frame::Check(browser->put_Visible(setup.visible ? VARIANT_TRUE : VARIANT_FALSE));
}

}  // namespace webpane
