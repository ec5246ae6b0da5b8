// The stand-in browser's page: what the address made of it, and the tiny document
// object model that webpane reaches by name (document.parentWindow.screen, body).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>

namespace standin {

struct Page {
  std::wstring title;
  std::wstring body;  // the body's HTML
  std::function<void(const std::wstring&)> record;  // notes a call the page received
  std::function<void()> changed;                    // repaint the window
};

// Loads a page from an address: a "javascript:'...'" address is %-decoded and its
// string literal read as the page's HTML; false when the literal is broken (the page
// then stays empty). Any other address gives an empty page titled with the address.
bool LoadPage(Page& page, const std::wstring& address);

// The document object of a page (document.body, document.parentWindow.screen).
IDispatch* NewDocument(std::shared_ptr<Page> page);

}  // namespace standin
