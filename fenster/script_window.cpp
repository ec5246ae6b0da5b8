#include "script_window.h"

#include "frame/errors.h"
#include "frame/window_helpers.h"

namespace fenster {

LRESULT ScriptWindow::Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
  }
  auto* self = reinterpret_cast<ScriptWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  // Messages sent while the window is being created find it not yet loaded.
  if (!self || w != self->window_) return DefWindowProcW(w, message, wp, lp);
  switch (message) {
    case WM_SIZE:
      self->Layout();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kButtonId && HIWORD(wp) == BN_CLICKED) self->OnButton();
      return 0;
    case WM_CLOSE:
      self->Unload();
      return 0;
    case WM_DESTROY:
      self->Destroyed();
      return 0;
  }
  return DefWindowProcW(w, message, wp, lp);
}

void ScriptWindow::Load() {
  if (!window_) Create();
}

void ScriptWindow::CreateFrame(const wchar_t* class_name, const wchar_t* caption, DWORD style, DWORD ex_style,
                               int client_width, int client_height, HICON icon) {
  RECT r = frame::TwipsRect{0, 0, client_width, client_height}.ToPixels();
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  const wchar_t* window_class = frame::RegisterWindowClass(class_name, Procedure, 0,
                                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
  HWND w = CreateWindowExW(ex_style, window_class, caption, style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, frame::ThisModule(), this);
  if (!w) frame::RaiseHresult(HRESULT_FROM_WIN32(GetLastError()));
  window_ = w;
  alive_.emplace();
}

void ScriptWindow::SetCaption(std::wstring_view text) {
  Load();
  SetWindowTextW(window_, std::wstring(text).c_str());
}

void ScriptWindow::SetLabel(std::wstring_view text) {
  Load();
  SetWindowTextW(label_, std::wstring(text).c_str());
}

void ScriptWindow::SetButtonText(std::wstring_view text) {
  Load();
  SetWindowTextW(button_, std::wstring(text).c_str());
}

std::wstring ScriptWindow::ButtonText() {
  Load();
  return frame::WindowText(button_);
}

void ScriptWindow::SetButtonVisible(bool visible) {
  Load();
  ShowWindow(button_, visible ? SW_SHOWNA : SW_HIDE);
}

bool ScriptWindow::ButtonVisible() {
  Load();
  return (GetWindowLongW(button_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void ScriptWindow::Show() {
  Load();
  ShowWindow(window_, SW_SHOW);
}

void ScriptWindow::Hide() {
  Load();
  ShowWindow(window_, SW_HIDE);
}

void ScriptWindow::Unload() {
  if (!window_ || unloading_) return;
  unloading_ = true;
  TellOwnerOfUnload();
  unloading_ = false;
  if (window_) DestroyWindow(window_);
  ForgetUnreachableOwners();
}

void ScriptWindow::Destroyed() {
  window_ = label_ = button_ = nullptr;
  alive_.reset();
}

}  // namespace fenster
