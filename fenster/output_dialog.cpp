#include "output_dialog.h"

#include <algorithm>

#include "frame/errors.h"
#include "frame/window_helpers.h"

namespace fenster {
namespace {

constexpr wchar_t kClassName[] = L"fensterForm1";
constexpr int kListId = 1, kButtonId = 2;

// Design-time geometry in twips.
constexpr int kClientWidth = 4680, kClientHeight = 3195;
constexpr frame::TwipsRect kLabel{0, 120, 4575, 255};
constexpr int kButtonWidth = 1215, kButtonHeight = 375;
constexpr int kMargin = 100;

std::wstring Text(std::wstring_view view) { return std::wstring(view); }

std::wstring WindowText(HWND w) {
  std::wstring text(size_t(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(w, text.data(), int(text.size()))));
  return text;
}

}  // namespace

OutputDialog& OutputDialog::Instance() {
  static OutputDialog dialog;
  return dialog;
}

LRESULT OutputDialog::Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  OutputDialog& self = Instance();
  if (w != self.window_) return DefWindowProcW(w, message, wp, lp);
  switch (message) {
    case WM_SIZE:
      self.Layout();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kButtonId && HIWORD(wp) == BN_CLICKED) self.owner_.Call(L"Form1Click");
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

void OutputDialog::Load() {
  if (window_) return;
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT r = frame::TwipsRect{0, 0, kClientWidth, kClientHeight}.ToPixels();
  AdjustWindowRectEx(&r, style, FALSE, 0);
  const wchar_t* window_class = frame::RegisterWindowClass(kClassName, Procedure, 0,
      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), LoadIconW(nullptr, IDI_APPLICATION));
  HWND w = CreateWindowExW(0, window_class, L"Form1", style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, frame::ThisModule(), nullptr);
  if (!w) frame::RaiseHresult(HRESULT_FROM_WIN32(GetLastError()));
  window_ = w;
  alive_.emplace();
  label_ = frame::CreateControl(w, L"STATIC", L"", SS_LEFT, kLabel, -1);
  list_ = frame::CreateControl(w, L"LISTBOX", L"",
                               WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                               {0, 0, 0, 0}, kListId, WS_EX_CLIENTEDGE);
  button_ = frame::CreateControl(w, L"BUTTON", L"Command1", BS_PUSHBUTTON | WS_TABSTOP,
                                 {0, 0, kButtonWidth, kButtonHeight}, kButtonId);
  PlaceOnScreen();
  Layout();
}

// A third of the screen's width and half its height, centred.
void OutputDialog::PlaceOnScreen() {
  const int screen_width = frame::ScreenWidthTwips(), screen_height = frame::ScreenHeightTwips();
  const int width = screen_width / 3, height = screen_height / 2;
  frame::MoveWindowTwips(window_, {(screen_width - width) / 2, (screen_height - height) / 2, width, height});
}

void OutputDialog::Layout() {
  if (!window_ || !list_ || !button_) return;
  RECT client;
  GetClientRect(window_, &client);
  const int w = frame::PixelsToTwipsX(client.right), h = frame::PixelsToTwipsY(client.bottom);
  frame::MoveWindowTwips(label_, {kMargin, kMargin, kLabel.width, kLabel.height});
  frame::MoveWindowTwips(list_, {kMargin, kLabel.height + 2 * kMargin, std::max(0, w - 2 * kMargin),
                                 std::max(0, h - kButtonHeight - 5 * kMargin)});
  frame::MoveWindowTwips(button_, {w - kButtonWidth - kMargin, h - kMargin - kButtonHeight, kButtonWidth,
                                   kButtonHeight});
}

void OutputDialog::SetCaption(std::wstring_view text) {
  Load();
  SetWindowTextW(window_, Text(text).c_str());
}

void OutputDialog::SetLabel(std::wstring_view text) {
  Load();
  SetWindowTextW(label_, Text(text).c_str());
}

void OutputDialog::SetButtonText(std::wstring_view text) {
  Load();
  SetWindowTextW(button_, Text(text).c_str());
}

std::wstring OutputDialog::ButtonText() {
  Load();
  return WindowText(button_);
}

void OutputDialog::SetButtonVisible(bool visible) {
  Load();
  ShowWindow(button_, visible ? SW_SHOWNA : SW_HIDE);
}

bool OutputDialog::ButtonVisible() {
  Load();
  return (GetWindowLongW(button_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void OutputDialog::Show() {
  Load();
  ShowWindow(window_, SW_SHOW);
}

void OutputDialog::Hide() {
  Load();
  ShowWindow(window_, SW_HIDE);
}

int OutputDialog::AddLine(std::wstring_view text) {
  Load();
  LRESULT index = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text(text).c_str()));
  if (index < 0) frame::Raise(7);  // the list is out of memory
  SendMessageW(list_, LB_SETCURSEL, WPARAM(index), 0);
  return int(index);
}

void OutputDialog::Clear() {
  Load();
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
}

int OutputDialog::SelectedIndex() const {
  if (!list_) return -1;
  LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : int(index);
}

std::wstring OutputDialog::LineText(int index) const {
  LRESULT length = list_ ? SendMessageW(list_, LB_GETTEXTLEN, WPARAM(index), 0) : LB_ERR;
  if (length == LB_ERR) return {};
  std::wstring text(size_t(length) + 1, L'\0');
  LRESULT got = SendMessageW(list_, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == LB_ERR ? 0 : size_t(got));
  return text;
}

void OutputDialog::Unload() {
  if (!window_ || unloading_) return;
  unloading_ = true;
  // Calls and clicks that are already queued are served before the owner hears of it.
  frame::ProcessPendingMessages();
  owner_.Call(L"Form1Close");
  unloading_ = false;
  if (window_) DestroyWindow(window_);
  ForgetUnreachableOwners();
}

void OutputDialog::Destroyed() {
  window_ = label_ = list_ = button_ = nullptr;
  alive_.reset();
}

}  // namespace fenster
