#include "output_dialog.h"

#include <algorithm>

#include "frame/errors.h"
#include "frame/window_helpers.h"

namespace fenster {
namespace {

constexpr int kListId = 2;

// Design-time geometry in twips.
constexpr int kClientWidth = 4680, kClientHeight = 3195;
constexpr frame::TwipsRect kLabel{0, 120, 4575, 255};
constexpr int kButtonWidth = 1215, kButtonHeight = 375;
constexpr int kMargin = 100;

}  // namespace

OutputDialog& OutputDialog::Instance() {
  static OutputDialog dialog;
  return dialog;
}

void OutputDialog::Create() {
  CreateFrame(L"fensterForm1", L"Form1", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, kClientWidth, kClientHeight,
              LoadIconW(nullptr, IDI_APPLICATION));
  label_ = frame::CreateControl(window_, L"STATIC", L"", SS_LEFT, kLabel, -1);
  list_ = frame::CreateControl(window_, L"LISTBOX", L"",
                               WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                               {0, 0, 0, 0}, kListId, WS_EX_CLIENTEDGE);
  button_ = frame::CreateControl(window_, L"BUTTON", L"Command1", BS_PUSHBUTTON | WS_TABSTOP,
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

void OutputDialog::OnButton() { owner().Call(L"Form1Click"); }

void OutputDialog::TellOwnerOfUnload() {
  frame::ProcessPendingMessages();
  owner().Call(L"Form1Close");
}

void OutputDialog::Destroyed() {
  ScriptWindow::Destroyed();
  list_ = nullptr;
}

int OutputDialog::AddLine(std::wstring_view text) {
  Load();
  LRESULT index = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::wstring(text).c_str()));
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

}  // namespace fenster
