// The page's document object model, reached by name from the browser's Document.
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <string_view>

namespace webpane {

struct UsableArea {
  short width = 0;
  short height = 0;
};

// The screen's size without the task bar, as the page reports it
// (document.parentWindow.screen.availHeight, then .availWidth).
UsableArea UsableScreenArea(IWebBrowser2* browser);

// document.body.innerHTML := html
void ReplaceBody(IWebBrowser2* browser, std::wstring_view html);
// document.body.insertAdjacentHTML("beforeEnd", html)
void AppendToBody(IWebBrowser2* browser, std::wstring_view html);

}  // namespace webpane
