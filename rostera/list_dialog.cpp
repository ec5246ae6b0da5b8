#include "list_dialog.h"

#include <commctrl.h>

#include <cmath>

#include "frame/errors.h"
#include "frame/message_box.h"
#include "frame/module.h"
#include "frame/window_helpers.h"

namespace rostera {
namespace {

constexpr wchar_t kClassName[] = L"rosteraForm1";
constexpr int kListId = 100;
constexpr int kOkId = 101;      // Command1
constexpr int kCancelId = 102;  // Command2
// Posted, so that OK and cancel run after the click or key press has been handled.
constexpr UINT kAcceptMessage = WM_APP + 1;
constexpr UINT kCancelMessage = WM_APP + 2;

constexpr frame::TwipsRect kClientArea{0, 0, 4500, 3780};
constexpr frame::TwipsRect kListArea{0, 0, 4455, 3255};
constexpr frame::TwipsRect kOkArea{1920, 3360, 1215, 375};
constexpr frame::TwipsRect kCancelArea{3240, 3360, 1215, 375};
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

constexpr wchar_t kBadSize[] = L"Breite und/oder H\u00F6he sind nicht zul\u00E4ssig!";

// The list-view's own procedure, the same for every list-view of this process.
WNDPROC g_list_procedure = nullptr;

// Lets Enter and Escape reach the list instead of the dialog keys of the modal loop.
// (A plain procedure swap: the common controls' subclass helpers cost a window property
// look-up at every message, which makes filling a list many times slower.)
LRESULT CALLBACK ListKeys(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_GETDLGCODE && lp) {
    const MSG* m = reinterpret_cast<const MSG*>(lp);
    if (m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
      return DLGC_WANTALLKEYS | CallWindowProcW(g_list_procedure, w, message, wp, lp);
  }
  return CallWindowProcW(g_list_procedure, w, message, wp, lp);
}

void HandOverKeys(HWND list) {
  const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC));
  if (!g_list_procedure) g_list_procedure = own;
  if (own == g_list_procedure) SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListKeys));
}

struct TwipsSize {
  int width, height;
};

TwipsSize SizeOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  return {frame::PixelsToTwipsX(r.right - r.left), frame::PixelsToTwipsY(r.bottom - r.top)};
}

void InitListView() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

// The dialog of this thread. A plain pointer, so that nothing of this library runs when
// a thread ends; objects are apartment-threaded, so the last one is released on this
// thread, and the dialog clears it then.
thread_local ListDialog* t_dialog = nullptr;

}  // namespace

std::shared_ptr<ListDialog> ListDialog::ForThisThread() {
  if (t_dialog) return t_dialog->shared_from_this();
  auto dialog = std::make_shared<ListDialog>();
  t_dialog = dialog.get();
  return dialog;
}

ListDialog::~ListDialog() {
  if (t_dialog == this) t_dialog = nullptr;
  Unload();
}

RowList& ListDialog::Rows() {
  if (!window_) Load();
  return *rows_;
}

void ListDialog::Load() {
  InitListView();
  RECT r = kClientArea.ToPixels();
  AdjustWindowRectEx(&r, kWindowStyle, FALSE, 0);
  HWND w = CreateWindowExW(0, frame::RegisterWindowClass(kClassName, Procedure), L"Form1", kWindowStyle,
                           CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                           frame::ThisModule(), nullptr);
  if (!w) frame::RaiseHresult(HRESULT_FROM_WIN32(GetLastError()));
  frame::Window owned(w);
  HWND list = frame::CreateControl(w, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP, kListArea,
                                   kListId, WS_EX_CLIENTEDGE);
  HWND ok = frame::CreateControl(w, L"BUTTON", L"", BS_PUSHBUTTON | WS_TABSTOP, kOkArea, kOkId);
  HWND cancel = frame::CreateControl(w, L"BUTTON", L"", BS_PUSHBUTTON | WS_TABSTOP, kCancelArea, kCancelId);
  if (!list || !ok || !cancel) frame::Raise(frame::kCannotCreateObject);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  HandOverKeys(list);
  // Nothing is drawn while the dialog is hidden: filling a hidden list costs no redraws.
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  rows_.emplace(list);
  window_ = owned.release();
  list_ = list;
  ok_ = ok;
  cancel_ = cancel;
  displayed_ = false;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void ListDialog::Unload() {
  if (!window_) return;
  HWND w = window_;
  if (DestroyWindow(w)) return;  // WM_NCDESTROY has forgotten the window
  // Not this thread's window: cut it loose and let its own thread close it.
  SetWindowLongPtrW(w, GWLP_USERDATA, 0);
  PostMessageW(w, WM_CLOSE, 0, 0);
  window_ = list_ = ok_ = cancel_ = nullptr;
  rows_.reset();
}

LRESULT ListDialog::Procedure(HWND w, UINT message, WPARAM wp, LPARAM lp) {
  auto* dialog = reinterpret_cast<ListDialog*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!dialog || dialog->window_ != w) return DefWindowProcW(w, message, wp, lp);
  return dialog->Handle(message, wp, lp);
}

LRESULT ListDialog::Handle(UINT message, WPARAM wp, LPARAM lp) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kOkId) PostMessageW(window_, kAcceptMessage, 0, 0);
      if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == kCancelId) PostMessageW(window_, kCancelMessage, 0, 0);
      return 0;
    case kAcceptMessage:
      if (IsWindowVisible(window_)) Accept();
      return 0;
    case kCancelMessage:
      if (IsWindowVisible(window_)) Cancel();
      return 0;
    case WM_NOTIFY:
      return Notify(*reinterpret_cast<const NMHDR*>(lp));
    case WM_SETFOCUS:  // back to the window: the keys go to the list again
      SetFocus(list_);
      return 0;
    case WM_CLOSE:  // the close control: neither OK nor cancel
      Unload();
      return 0;
    case WM_NCDESTROY: {
      HWND w = window_;
      SetWindowLongPtrW(w, GWLP_USERDATA, 0);
      window_ = list_ = ok_ = cancel_ = nullptr;
      rows_.reset();
      return DefWindowProcW(w, message, wp, lp);
    }
    default:
      return DefWindowProcW(window_, message, wp, lp);
  }
}

LRESULT ListDialog::Notify(const NMHDR& header) {
  if (header.hwndFrom != list_ || !rows_) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      auto& item = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)).item;
      const Row* row = reinterpret_cast<const Row*>(item.lParam);
      if (row && (item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynW(item.pszText, row->Text(size_t(item.iSubItem)).c_str(), item.cchTextMax);
      return 0;
    }
    case LVN_KEYDOWN: {
      const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
      if (key == VK_RETURN) PostMessageW(window_, kAcceptMessage, 0, 0);
      if (key == VK_ESCAPE) PostMessageW(window_, kCancelMessage, 0, 0);
      return 0;
    }
    case LVN_COLUMNCLICK:
      rows_->SortFlipped(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return 0;
    default:
      return 0;
  }
}

frame::StringCollection& ListDialog::Selection() {
  if (!selection_) selection_ = frame::StringCollection::Create();
  return *selection_.get();
}

void ListDialog::Accept() {
  frame::StringCollection& selection = Selection();
  selection.Clear();
  for (const Row* row : rows_->Rows(true)) {
    std::wstring text = row->Joined(columncount);
    if (multi_) text += L"\r\n" + row->key;
    selection.Append(std::move(text));
  }
  HideOrUnload();
}

void ListDialog::Cancel() {
  Selection().Clear();
  HideOrUnload();
}

void ListDialog::HideOrUnload() {
  if (multi_) {
    ShowWindow(window_, SW_HIDE);
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  } else
    Unload();
}

void ListDialog::ApplySize(double width, double height) {
  // Written so that NaN is refused as well.
  if (!(width >= 0.1 && width <= 1 && height >= 0.1 && height <= 1)) {
    frame::ShowWarning(kBadSize);
    return;
  }
  const int w = frame::TwipsToPixelsX(int(std::lround(frame::ScreenWidthTwips() * width)));
  const int h = frame::TwipsToPixelsY(int(std::lround(frame::ScreenHeightTwips() * height)));
  SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (rows_->size() > 0) {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  }
}

void ListDialog::SetMultiselect(bool multiselect) {
  const LONG_PTR style = GetWindowLongPtrW(list_, GWL_STYLE);
  LONG_PTR wanted = multiselect ? style & ~LONG_PTR(LVS_SINGLESEL) : style | LVS_SINGLESEL;
  wanted = (wanted & ~LONG_PTR(LVS_TYPEMASK)) | LVS_REPORT;
  if (wanted != style) SetWindowLongPtrW(list_, GWL_STYLE, wanted);
  if (multiselect) return;
  // Rows selected while several were allowed: only the first stays selected.
  const int first = int(SendMessageW(list_, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  if (first < 0) return;
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED;
  for (int i = int(SendMessageW(list_, LVM_GETNEXTITEM, WPARAM(first), LVNI_SELECTED)); i >= 0;
       i = int(SendMessageW(list_, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED)))
    SendMessageW(list_, LVM_SETITEMSTATE, WPARAM(i), reinterpret_cast<LPARAM>(&clear));
}

void ListDialog::Layout() {
  if (!rows_) return;
  RECT client;
  GetClientRect(window_, &client);
  const int w = frame::PixelsToTwipsX(client.right);
  const int h = frame::PixelsToTwipsY(client.bottom);
  const TwipsSize ok = SizeOf(ok_);
  const TwipsSize cancel = SizeOf(cancel_);
  // A window too small for the list leaves it where it was; the buttons still move.
  const frame::TwipsRect list{100, 100, w - 200, h - 300 - ok.height};
  if (list.width >= 0 && list.height >= 0) frame::MoveWindowTwips(list_, list);
  frame::MoveWindowTwips(ok_, {w - 200 - ok.width - cancel.width, h - 100 - ok.height, ok.width, ok.height});
  frame::MoveWindowTwips(cancel_, {w - 100 - cancel.width, h - 100 - ok.height, cancel.width, cancel.height});
  if (IsWindowVisible(window_)) {
    SetFocus(list_);
    SendMessageW(list_, LVM_ENSUREVISIBLE, 0, FALSE);
  }
  rows_->ScaleColumns();
  InvalidateRect(list_, nullptr, TRUE);
}

frame::ComPtr<frame::StringCollection> ListDialog::Show(const ShowRequest& request) {
  RowList& rows = Rows();
  if (request.width != 0 || request.height != 0) ApplySize(request.width, request.height);
  multi_ = request.multiedit;
  SetWindowTextW(window_, request.caption.c_str());
  SetMultiselect(request.multiselect);
  SetWindowTextW(ok_, request.ok_label.c_str());
  SetWindowTextW(cancel_, request.cancel_label.c_str());
  rows.EnsureOrder();
  InvalidateRect(window_, nullptr, TRUE);

  HWND w = window_;
  if (!displayed_) {
    Layout();
    frame::CenterOnScreen(w);
    displayed_ = true;
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  Layout();  // focus and the first row in view, now that the window is visible
  frame::RunModal(w, [w] { return !IsWindow(w) || !IsWindowVisible(w); });
  // The loop ended without OK, cancel or closing (the thread is quitting): close it.
  if (window_ == w && IsWindowVisible(w)) Unload();
  return frame::ComPtr<frame::StringCollection>(&Selection());
}

frame::ComPtr<frame::StringCollection> ListDialog::Contents() {
  RowList& rows = Rows();
  auto contents = frame::StringCollection::Create();
  for (const Row* row : rows.Rows(false)) contents->Append(row->Joined(columncount));
  return contents;
}

}  // namespace rostera
