// The browser window: creating the browser application, and the common preparation of
// a new window (size, bars, navigation, the wait for the page, centring, visibility).
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <chrono>
#include <string>

#include "frame/values.h"

namespace webpane {

// A new browser application object (a local server), created by its ProgID; raises 429
// when it cannot be created.
frame::ComPtr<IWebBrowser2> CreateBrowser();

struct WindowSetup {
  std::wstring address;
  short width = 200;
  short height = 200;
  bool visible = true;
};

// The longest wait for a page to become ready before the member gives up.
constexpr std::chrono::seconds kPageLoadLimit{60};

// Sizes the window, hides its bars, makes it silent, navigates, waits for the page,
// centres the window in the usable screen area and shows or hides it, in that order.
void PrepareWindow(IWebBrowser2* browser, const WindowSetup& setup);

// Where a window of `size` pixels starts so that it is centred in `usable` pixels:
// half the difference, halves rounded to the even neighbour; 0 when it does not fit.
short CentredStart(short size, short usable);

}  // namespace webpane
