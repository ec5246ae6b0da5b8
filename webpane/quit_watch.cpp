#include "quit_watch.h"

#include <exdispid.h>
#include <ocidl.h>

#include "frame/com_object.h"
#include "frame/errors.h"
#include "frame/module.h"
#include "frame/window_helpers.h"

namespace webpane {

// Receives the browser's events; passes on OnQuit to its watch while it has one.
class QuitSink final : public frame::EventSinkObject<&DIID_DWebBrowserEvents2> {
 public:
  explicit QuitSink(QuitWatch* owner) : owner_(owner) {}
  void Detach() { owner_ = nullptr; }

  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    // Every other event of the browser is welcome and ignored.
    if (id == DISPID_ONQUIT && owner_) return frame::Guarded([&] { owner_->OnQuit(); });
    return S_OK;
  }

 private:
  QuitWatch* owner_;
};

namespace {

bool SameObject(IUnknown* a, IUnknown* b) {
  if (!a || !b) return a == b;
  frame::ComPtr<IUnknown> ia, ib;
  a->QueryInterface(IID_IUnknown, ia.put_void());
  b->QueryInterface(IID_IUnknown, ib.put_void());
  return ia && ia.get() == ib.get();
}

}  // namespace

bool IsGone(HRESULT hr) {
  return hr == RPC_E_DISCONNECTED || hr == RPC_E_SERVER_DIED || hr == RPC_E_SERVER_DIED_DNE ||
         hr == CO_E_OBJNOTCONNECTED || hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
         hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) || hr == HRESULT_FROM_WIN32(RPC_S_UNKNOWN_IF);
}

QuitWatch::QuitWatch(std::function<void()> on_quit) : on_quit_(std::move(on_quit)) {}

QuitWatch::~QuitWatch() { Disconnect(); }

void QuitWatch::Disconnect() {
  if (sink_) sink_->Detach();
  // Unadvise is a call into the browser's process: notifications may arrive during it,
  // and the detached sink ignores them. A browser that is gone cannot be told.
  if (point_ && cookie_) point_->Unadvise(cookie_);
  point_.reset();
  sink_.reset();
  cookie_ = 0;
}

void QuitWatch::Watch(IWebBrowser2* browser) {
  // The same window again keeps its connection and what it has already told us.
  if (browser && SameObject(browser, browser_.get())) return;
  Disconnect();
  browser_ = frame::ComPtr<IWebBrowser2>(browser);
  quit_ = false;
  if (!browser) return;

  frame::ComPtr<IConnectionPointContainer> container;
  frame::ComPtr<IConnectionPoint> point;
  auto sink = frame::ComPtr<QuitSink>::Attach(new QuitSink(this));
  DWORD cookie = 0;
  HRESULT hr = browser->QueryInterface(IID_IConnectionPointContainer, container.put_void());
  if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.put());
  if (SUCCEEDED(hr)) hr = point->Advise(static_cast<IDispatch*>(sink.get()), &cookie);
  if (FAILED(hr)) {
    sink->Detach();
    if (IsGone(hr)) {
      quit_ = true;
      return;
    }
    frame::RaiseHresult(hr);
  }
  point_ = point;
  sink_ = sink;
  cookie_ = cookie;
}

bool QuitWatch::Probe() {
  if (!browser_ || quit_) return quit_;
  READYSTATE state;
  if (IsGone(browser_->get_ReadyState(&state))) OnQuit();
  return quit_;
}

void QuitWatch::OnQuit() {
  quit_ = true;
  if (on_quit_) on_quit_();
}

void PumpUntil(const std::function<bool()>& done, const std::function<void()>& idle) {
  constexpr DWORD kIdleMs = 500;
  MSG quit;
  while (!done()) {
    frame::ProcessPendingMessages();
    // The host is ending: leave the quit message to its loop and stop waiting.
    if (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return;
    if (done()) return;
    if (MsgWaitForMultipleObjectsEx(0, nullptr, kIdleMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_TIMEOUT)
      idle();
  }
}

}  // namespace webpane
