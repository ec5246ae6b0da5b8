#include "message_window.h"

#include "frame/errors.h"
#include "frame/values.h"

namespace fenster {
namespace {

constexpr wchar_t kClassName[] = L"fensterForm2";
constexpr int kButtonId = 1;

// Design-time geometry in twips.
constexpr int kClientWidth = 4680, kClientHeight = 1080;
constexpr frame::TwipsRect kLabel{120, 120, 4455, 495};
constexpr frame::TwipsRect kButton{3360, 720, 1215, 375};
constexpr int kMargin = 100;

std::wstring WindowText(HWND w) {
  std::wstring text(size_t(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(w, text.data(), int(text.size()))));
  return text;
}

}  // namespace

MessageWindow& MessageWindow::Instance() {
  static MessageWindow window;
  return window;
}

LRESULT MessageWindow::Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  MessageWindow& self = Instance();
  if (w != self.window_) return DefWindowProcW(w, message, wp, lp);
  switch (message) {
    case WM_SIZE:
      self.Layout();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kButtonId && HIWORD(wp) == BN_CLICKED)
        self.owner_.Call(L"Form2Close", {frame::Variant::Int(2)});
      return 0;
    case WM_CLOSE:
      self.Unload();
      return 0;
    case WM_DESTROY:
      self.Destroyed();
      return 0;
  }
  return DefWindowProcW(w, message, wp, lp);
}

void MessageWindow::Load() {
  if (window_) return;
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  const DWORD ex_style = WS_EX_TOOLWINDOW;
  RECT r = frame::TwipsRect{0, 0, kClientWidth, kClientHeight}.ToPixels();
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  const wchar_t* window_class = frame::RegisterWindowClass(kClassName, Procedure);
  HWND w = CreateWindowExW(ex_style, window_class, L"", style, 0, 0, r.right - r.left, r.bottom - r.top,
                           nullptr, nullptr, frame::ThisModule(), nullptr);
  if (!w) frame::RaiseHresult(HRESULT_FROM_WIN32(GetLastError()));
  window_ = w;
  alive_.emplace();
  label_at_ = kLabel;
  label_ = frame::CreateControl(w, L"STATIC", L"", SS_LEFT, kLabel, -1);
  button_ = frame::CreateControl(w, L"BUTTON", L"&Abbrechen", BS_PUSHBUTTON | WS_TABSTOP, kButton, kButtonId);
  frame::CenterOnScreen(w);
  Layout();
}

// Each step stands alone: one that would give the label a negative size is skipped.
void MessageWindow::Layout() {
  if (!window_ || !label_ || !button_) return;
  RECT client;
  GetClientRect(window_, &client);
  const int w = frame::PixelsToTwipsX(client.right), h = frame::PixelsToTwipsY(client.bottom);
  label_at_.left = kMargin;
  label_at_.top = kMargin;
  if (w - 2 * kMargin >= 0) label_at_.width = w - 2 * kMargin;
  if (h - 3 * kMargin - kButton.height >= 0) label_at_.height = h - 3 * kMargin - kButton.height;
  frame::MoveWindowTwips(label_, label_at_);
  frame::MoveWindowTwips(button_, {w - kMargin - kButton.width, label_at_.height + 2 * kMargin, kButton.width,
                                   kButton.height});
}

void MessageWindow::SetCaption(std::wstring_view text) {
  Load();
  SetWindowTextW(window_, std::wstring(text).c_str());
}

void MessageWindow::SetText(std::wstring_view text) {
  Load();
  SetWindowTextW(label_, std::wstring(text).c_str());
}

void MessageWindow::SetButtonText(std::wstring_view text) {
  Load();
  SetWindowTextW(button_, std::wstring(text).c_str());
}

std::wstring MessageWindow::ButtonText() {
  Load();
  return WindowText(button_);
}

void MessageWindow::SetButtonVisible(bool visible) {
  Load();
  ShowWindow(button_, visible ? SW_SHOWNA : SW_HIDE);
}

bool MessageWindow::ButtonVisible() {
  Load();
  return (GetWindowLongW(button_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void MessageWindow::Show() {
  Load();
  ShowWindow(window_, SW_SHOW);
}

void MessageWindow::Hide() {
  Load();
  ShowWindow(window_, SW_HIDE);
}

void MessageWindow::SetSizePercent(int width_percent, int height_percent) {
  Load();
  RECT r = frame::TwipsRect{0, 0, frame::ScreenWidthTwips() * width_percent / 100,
                            frame::ScreenHeightTwips() * height_percent / 100}.ToPixels();
  SetWindowPos(window_, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MessageWindow::SetAlignment(int align) {
  static constexpr DWORD kStyles[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
  if (align < 0 || align > 2) frame::Raise(frame::kInvalidPropertyValue);
  Load();
  LONG style = GetWindowLongW(label_, GWL_STYLE) & ~LONG(SS_TYPEMASK);
  SetWindowLongW(label_, GWL_STYLE, style | LONG(kStyles[align]));
  InvalidateRect(label_, nullptr, TRUE);
}

void MessageWindow::Unload() {
  if (!window_ || unloading_) return;
  unloading_ = true;
  owner_.Call(L"Form2Close", {frame::Variant::Int(1)});
  unloading_ = false;
  if (window_) DestroyWindow(window_);
  ForgetUnreachableOwners();
}

void MessageWindow::Destroyed() {
  window_ = label_ = button_ = nullptr;
  alive_.reset();
}

}  // namespace fenster
