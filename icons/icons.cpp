#include "icons.h"

#include <climits>

#include "capture.h"
#include "frame/about_box.h"
#include "frame/conversions.h"
#include "frame/message_box.h"
#include "icon_dialog.h"
#include "icon_resources.h"
#include "picture_io.h"
#include "shell_icon_size.h"
#include "window_lookup.h"

namespace icons {
namespace {

QUILLBOX_DEFINE_COMPONENT(icons, L"pictoria", frame::ServerKind::InProcess, Icons);

// Window handles travel to and from scripts as 32-bit numbers.
HWND ToWindow(long handle) { return static_cast<HWND>(LongToHandle(handle)); }
LONG FromWindow(HWND window) { return HandleToLong(window); }
HWND ToWindow(const VARIANT& handle) { return ToWindow(frame::ToLong(handle)); }

// The clipboard is emptied before the copy is made, so a failing copy leaves it empty.
void CopyWindowToClip(HWND window) {
  ClearClipboard();
  PutOnClipboard(CopyWindowHandle(window).bitmap);
}

void SaveCopy(const Copy& copy, std::wstring_view path) { SaveBitmapFile(copy.bitmap.get(), path); }

}  // namespace

// --- Icon resources ---

STDMETHODIMP Icons::GetIconNumber(BSTR name, LONG* result) {
  return frame::Guarded([&] { *result = CountIcons(frame::View(name)); });
}

STDMETHODIMP Icons::UpdateIconCache() {
  return frame::Guarded([] { BroadcastMetricsChange(); });
}

STDMETHODIMP Icons::SetIconSize(short size, VARIANT_BOOL relative, VARIANT* result) {
  return frame::Guarded([&] { SetShellIconSize(size, relative != VARIANT_FALSE).DetachTo(result); });
}

STDMETHODIMP Icons::PickIcon(BSTR path, LONG* index, BSTR* result) {
  // The script's variable is only read: the chosen index is in the result alone.
  return frame::Guarded([&] { *result = frame::AllocBstr(icons::PickIcon(frame::View(path), index ? *index : 0)); });
}

STDMETHODIMP Icons::FlushIconCache() {
  return frame::Guarded([] {
    // The shell rebuilds its cache when the size changes; the size ends where it started.
    SetShellIconSize(1, true);
    BroadcastMetricsChange();
    SetShellIconSize(-1, true);
    BroadcastMetricsChange();
  });
}

STDMETHODIMP Icons::LoadIcon(BSTR dateiname, short index, short* result) {
  return frame::Guarded([&] {
    const long count = CountIcons(frame::View(dateiname));
    if (count > SHRT_MAX) frame::Raise(frame::kOverflow);  // the result is an Integer
    *result = short(count);
    // An index equal to the count passes and draws the empty square.
    if (count <= 0 || index > count) return;
    if (index < 0) frame::Raise(frame::kSubscriptOutOfRange);
    icon_picture_ = DrawIconSquare(frame::View(dateiname), index);
  });
}

STDMETHODIMP Icons::IconToClip() {
  return frame::Guarded([&] {
    ClearClipboard();
    if (!icon_picture_) frame::Raise(frame::kInvalidCall);
    PutCopyOnClipboard(icon_picture_.get());
  });
}

STDMETHODIMP Icons::IconToFile(BSTR name) {
  return frame::Guarded([&] {
    if (!icon_picture_) frame::Raise(frame::kInvalidCall);
    SaveBitmapFile(icon_picture_.get(), frame::View(name));
  });
}

STDMETHODIMP Icons::RefreshDesktop() {
  return frame::Guarded([] { NotifyDesktopChanged(); });
}

STDMETHODIMP Icons::CursorToClip(LONG cursortype) {
  return frame::Guarded([&] {
    PutOnClipboard(DrawSystemCursor(cursortype));
  });
}

STDMETHODIMP Icons::version(LONG* result) {
  return frame::Guarded([&] { *result = PlatformId(); });
}

STDMETHODIMP Icons::About() {
  return frame::Guarded([] { frame::ShowAboutBox(); });
}

// --- The icon selection dialog ---

STDMETHODIMP Icons::ShowIconDialog(VARIANT* ergebnis, BSTR okbutton, BSTR cancelbutton, VARIANT_BOOL* result) {
  return frame::Guarded([&] {
    const DialogOutcome outcome = ShowIconDialogModal(frame::View(okbutton), frame::View(cancelbutton));
    if (ergebnis) {
      frame::Variant text = frame::Variant::Text(outcome.text);
      VariantClear(ergebnis);
      text.DetachTo(ergebnis);
    }
    *result = outcome.confirmed ? VARIANT_TRUE : VARIANT_FALSE;
  });
}

STDMETHODIMP Icons::SelectIconFile(BSTR pfad, short* result) {
  return frame::Guarded([&] { *result = AddIconsOfFile(frame::View(pfad)); });
}

STDMETHODIMP Icons::SetIconDialogLabel(BSTR text) {
  return frame::Guarded([&] { SetDialogLabel(frame::View(text)); });
}

STDMETHODIMP Icons::SetIconDialogCaption(BSTR text) {
  return frame::Guarded([&] { SetDialogCaption(frame::View(text)); });
}

STDMETHODIMP Icons::SetIconDialogMode(VARIANT_BOOL modus) {
  return frame::Guarded([&] { SetDialogSilent(modus != VARIANT_FALSE); });
}

// --- Window look-up ---

STDMETHODIMP Icons::GetCursorWindow(short delay, LONG* result) {
  return frame::Guarded([&] { *result = FromWindow(WindowUnderCursor(delay)); });
}

STDMETHODIMP Icons::FindWindowHandle(BSTR name, LONG* result) {
  return frame::Guarded([&] { *result = FromWindow(FindWindowByTitle(frame::View(name))); });
}

// --- Capture ---

STDMETHODIMP Icons::CaptureWindow(LONG window, VARIANT_BOOL client, LONG left, LONG top, LONG width, LONG height,
                                  IPictureDisp** result) {
  return frame::Guarded([&] {
    Copy copy = CopyWindow(ToWindow(window), client != VARIANT_FALSE, left, top, width, height);
    *result = icons::CreateBitmapPicture(copy.bitmap.release(), copy.palette.release()).detach();
  });
}

STDMETHODIMP Icons::CreateBitmapPicture(LONG bitmap, LONG palette, IPictureDisp** result) {
  return frame::Guarded([&] {
    *result = icons::CreateBitmapPicture(static_cast<HBITMAP>(LongToHandle(bitmap)),
                                         static_cast<HPALETTE>(LongToHandle(palette))).detach();
  });
}

STDMETHODIMP Icons::CaptureScreenToClip(VARIANT* result) {
  return frame::Guarded([&] {
    ClearClipboard();
    PutOnClipboard(CopyScreen().bitmap);
    VariantInit(result);
  });
}

STDMETHODIMP Icons::CaptureScreenToFile(VARIANT* name, VARIANT* result) {
  return frame::Guarded([&] {
    const std::wstring path = frame::ToText(*name);
    SaveCopy(CopyScreen(), path);
    VariantInit(result);
  });
}

STDMETHODIMP Icons::CaptureActiveWindowToClip(short secs, VARIANT* result) {
  return frame::Guarded([&] {
    Delay(frame::Variant::Int(secs));
    ClearClipboard();
    PutOnClipboard(CopyActiveWindow().bitmap);
    VariantInit(result);
  });
}

STDMETHODIMP Icons::CaptureActiveWindowToFile(BSTR name, short secs, VARIANT* result) {
  return frame::Guarded([&] {
    Delay(frame::Variant::Int(secs));
    SaveCopy(CopyActiveWindow(), frame::View(name));
    VariantInit(result);
  });
}

STDMETHODIMP Icons::CaptureWindowToClip(VARIANT* handle) {
  return frame::Guarded([&] { CopyWindowToClip(ToWindow(*handle)); });
}

STDMETHODIMP Icons::CaptureWindowToFile(VARIANT* handle, VARIANT* name, VARIANT* result) {
  return frame::Guarded([&] {
    const HWND window = ToWindow(*handle);
    const std::wstring path = frame::ToText(*name);
    SaveCopy(CopyWindowHandle(window), path);
    VariantInit(result);
  });
}

STDMETHODIMP Icons::CaptureHandleToClip(LONG handle) {
  return frame::Guarded([&] {
    if (handle == 0) {
      frame::ShowMessage(L"Fenster-Handle war 0!");
      return;
    }
    CopyWindowToClip(ToWindow(handle));
  });
}

STDMETHODIMP Icons::CaptureCursorToClip(short delay, VARIANT* result) {
  return frame::Guarded([&] {
    const HWND window = WindowUnderCursor(delay);
    if (window) CopyWindowToClip(window);
    frame::Variant::Bool(window != nullptr).DetachTo(result);
  });
}

STDMETHODIMP Icons::CaptureCursorToFile(BSTR path, short delay, VARIANT* result) {
  return frame::Guarded([&] {
    const HWND window = WindowUnderCursor(delay);
    if (window) SaveCopy(CopyWindowHandle(window), frame::View(path));
    frame::Variant::Bool(window != nullptr).DetachTo(result);
  });
}

STDMETHODIMP Icons::CaptureCursorChildToClip(short delay, VARIANT* result) {
  return frame::Guarded([&] {
    const HWND window = ChildUnderCursor(delay);
    if (window) CopyWindowToClip(window);
    frame::Variant::Bool(window != nullptr).DetachTo(result);
  });
}

STDMETHODIMP Icons::delay(VARIANT* secs) {
  return frame::Guarded([&] {
    if (!secs) frame::Raise(frame::kInvalidCall);
    Delay(*secs);
  });
}

}  // namespace icons
