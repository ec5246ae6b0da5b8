// The callbacks from the windows to their owner, the events they raise, and the waits.
#include "fenster.h"

#include "frame/window_helpers.h"
#include "output_dialog.h"

namespace fenster {
namespace {

constexpr DISPID kClick = 1, kFormClose = 2;

}  // namespace

// Click with the dialog's selected line and the tag this object stored at its index.
// A line above the last tag slot has no tag: it reports the empty string.
STDMETHODIMP Fenster::Form1Click() {
  return frame::Guarded([&] {
    std::wstring selection, add_info;
    const OutputDialog& dialog = OutputDialog::Instance();
    const int index = dialog.SelectedIndex();
    if (index >= 0) {
      selection = dialog.LineText(index);
      if (size_t(index) < line_tags_.size()) add_info = line_tags_[size_t(index)];
    }
    RaiseEvent(kClick, {frame::Variant::Text(selection), frame::Variant::Text(add_info)});
  });
}

STDMETHODIMP Fenster::Form1Close() {
  return frame::Guarded([&] { RaiseEvent(kFormClose, {frame::Variant::Int(1)}); });
}

STDMETHODIMP Fenster::Form2Close(short* mode) {
  return frame::Guarded([&] {
    if (!mode) frame::Raise(frame::kInvalidCall);
    const int nr = *mode + 1;
    if (nr > SHRT_MAX) frame::Raise(frame::kOverflow);
    RaiseEvent(kFormClose, {frame::Variant::Int(short(nr))});
  });
}

// Serves messages until sleepwell is false. Only a message handled on this thread (an
// incoming call, a window event) can clear the flag, so between passes the loop sleeps
// until the next message arrives instead of spinning.
STDMETHODIMP Fenster::GoToBed() {
  return frame::Guarded([&] {
    frame::ComPtr<_quillbox> self(this);
    sleepwell_ = true;
    for (;;) {
      frame::ProcessPendingMessages();
      if (!sleepwell_) return;
      // While this object lives the server does not end: a quit message seen here was
      // posted before a client came back, and would only keep the loop from sleeping.
      MSG stale;
      PeekMessageW(&stale, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
      MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
  });
}

STDMETHODIMP Fenster::WakeUp() {
  return frame::Guarded([&] { sleepwell_ = false; });
}

STDMETHODIMP Fenster::HandleEvents() {
  return frame::Guarded([] { frame::ProcessPendingMessages(); });
}

}  // namespace fenster
