#include "message_window.h"

#include "frame/errors.h"
#include "frame/values.h"

namespace fenster {
namespace {

// Design-time geometry in twips.
constexpr int kClientWidth = 4680, kClientHeight = 1080;
constexpr frame::TwipsRect kLabel{120, 120, 4455, 495};
constexpr frame::TwipsRect kButton{3360, 720, 1215, 375};
constexpr int kMargin = 100;

}  // namespace

MessageWindow& MessageWindow::Instance() {
  static MessageWindow window;
  return window;
}

void MessageWindow::Create() {
  CreateFrame(L"fensterForm2", L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
              WS_EX_TOOLWINDOW, kClientWidth, kClientHeight, nullptr);
  label_at_ = kLabel;
  label_ = frame::CreateControl(window_, L"STATIC", L"", SS_LEFT, kLabel, -1);
  button_ = frame::CreateControl(window_, L"BUTTON", L"&Abbrechen", BS_PUSHBUTTON | WS_TABSTOP, kButton, kButtonId);
  frame::CenterOnScreen(window_);
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

void MessageWindow::OnButton() { owner().Call(L"Form2Close", {frame::Variant::Int(2)}); }

void MessageWindow::TellOwnerOfUnload() { owner().Call(L"Form2Close", {frame::Variant::Int(1)}); }

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

}  // namespace fenster
