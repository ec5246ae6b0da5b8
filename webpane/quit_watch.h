// The watch on one browser window's quit notification (the browser's DWebBrowserEvents2
// OnQuit), and the waiting members built on it.
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <functional>

#include "frame/values.h"

namespace webpane {

class QuitSink;

// Holds the watched browser (the object's `obj`) and its connection. The browser holds
// only the small sink; the sink points back here without a reference, and the pointer
// is cleared before the connection is dropped, so nothing keeps the owner alive.
class QuitWatch {
 public:
  explicit QuitWatch(std::function<void()> on_quit);
  ~QuitWatch();
  QuitWatch(const QuitWatch&) = delete;
  QuitWatch& operator=(const QuitWatch&) = delete;

  IWebBrowser2* browser() const { return browser_.get(); }
  // Watches `browser` (nullptr: nothing) instead of the window watched so far. A window
  // that is gone already is stored but not connected, and counts as quit. Raises when
  // the browser offers no quit notification.
  void Watch(IWebBrowser2* browser);
  // The watched window has quit (its notification came, or it no longer answers).
  bool quit() const { return quit_; }
  // Asks the watched window whether it still exists; when it has vanished without its
  // notification, handles that as its quit. Returns quit().
  bool Probe();

 private:
  friend class QuitSink;
  void Disconnect();
  void OnQuit();

  std::function<void()> on_quit_;
  frame::ComPtr<IWebBrowser2> browser_;
  frame::ComPtr<IConnectionPoint> point_;
  frame::ComPtr<QuitSink> sink_;
  DWORD cookie_ = 0;
  bool quit_ = false;
};

// A failure that means the browser window (or its process) is gone.
bool IsGone(HRESULT hr);

// Processes this thread's messages until `done()` holds, sleeping while none are
// pending; `idle()` runs about twice a second while nothing happens.
void PumpUntil(const std::function<bool()>& done, const std::function<void()>& idle);

}  // namespace webpane
