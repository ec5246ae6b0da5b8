#include "icon_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <set>
#include <vector>

#include "frame/conversions.h"
#include "frame/errors.h"
#include "frame/late_binding.h"
#include "frame/module.h"
#include "frame/text.h"
#include "frame/values.h"
#include "frame/window_helpers.h"
#include "icon_resources.h"

namespace icons {
namespace {

constexpr int kListId = 100, kLabelId = 101, kTextId = 102;
// The list control's error for a key that is already in the list.
constexpr int kKeyNotUnique = 35602;

// Design positions and sizes in twips; the layout moves them when the window is sized.
constexpr frame::TwipsRect kLabel{0, 1560, 4455, 375};
constexpr frame::TwipsRect kList{0, 0, 4455, 2535};
constexpr frame::TwipsRect kText{0, 2640, 4455, 285};
constexpr frame::TwipsRect kOk{1920, 3120, 1215, 375};
constexpr frame::TwipsRect kCancel{3240, 3120, 1215, 375};

// What lives with the window: its controls, the keys of its items, and where the
// outcome of the showing in progress goes.
struct Dialog {
  HWND window = nullptr, list = nullptr, label = nullptr, text = nullptr, ok = nullptr, cancel = nullptr;
  HIMAGELIST images = nullptr;  // the list-view's large-icon list; it destroys it
  std::vector<std::wstring> keys;  // by item position
  std::set<std::wstring> known_keys;
  DialogOutcome* outcome = nullptr;
  frame::ModuleLock lock;  // the library stays loaded while the window exists
};

// This thread's dialog state that outlives the window. Plain values only, so nothing
// is left to destroy when the thread ends.
thread_local short countid = 0;  // icons added since the dialog was last shown
thread_local bool silent = false;
thread_local Dialog* current = nullptr;

void Layout(const Dialog& d) {
  RECT client{};
  GetClientRect(d.window, &client);
  const int sw = frame::PixelsToTwipsX(client.right), sh = frame::PixelsToTwipsY(client.bottom);
  const int w = std::max(sw - 200, 0);
  const int h = std::max(sh - kText.height - kOk.height - kLabel.height - 300, 0);
  const int button_top = sh - kText.height - 100;
  // From the top: the prompt, the icons, the text box right below them, the buttons.
  frame::MoveWindowTwips(d.list, {100, 200 + kLabel.height, w, h});
  frame::MoveWindowTwips(d.ok, {100, button_top, kOk.width, kOk.height});
  frame::MoveWindowTwips(d.cancel, {200 + kOk.width, button_top, kCancel.width, kCancel.height});
  frame::MoveWindowTwips(d.label, {100, 100, w, kLabel.height});
  frame::MoveWindowTwips(d.text, {100, 200 + kLabel.height + h, w, kText.height});
  InvalidateRect(d.list, nullptr, TRUE);
  if (IsWindowVisible(d.window)) SetFocus(d.list);
}

// Two thirds of the screen in each direction, centred.
void PlaceOnLoad(HWND window) {
  const int screen_w = frame::ScreenWidthTwips(), screen_h = frame::ScreenHeightTwips();
  const int w = screen_w * 2 / 3, h = screen_h * 2 / 3;
  frame::MoveWindowTwips(window, {(screen_w - w) / 2, (screen_h - h) / 2, w, h});
}

void Close(Dialog& d, bool confirmed) {
  if (!d.outcome) return;
  d.outcome->confirmed = confirmed;
  if (confirmed) d.outcome->text = frame::WindowText(d.text);
  d.outcome = nullptr;
  DestroyWindow(d.window);
}

void ShowKeyOfItem(const Dialog& d, int item) {
  if (item >= 0 && size_t(item) < d.keys.size()) SetWindowTextW(d.text, d.keys[size_t(item)].c_str());
}

void OnListNotify(const Dialog& d, const NMHDR& n) {
  if (n.code == NM_CLICK) {
    ShowKeyOfItem(d, reinterpret_cast<const NMITEMACTIVATE&>(n).iItem);
  } else if (n.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(n);
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) ShowKeyOfItem(d, change.iItem);
  }
}

LRESULT DialogProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  auto* d = reinterpret_cast<Dialog*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  switch (m) {
    case WM_SIZE:
      if (d && d->text) Layout(*d);
      return 0;
    case WM_COMMAND:
      if (!d) break;
      // Enter and Escape arrive as IDOK and IDCANCEL from the modal loop's key handling.
      if (LOWORD(wp) == IDOK) {
        if (IsWindowEnabled(d->ok)) Close(*d, true);
        return 0;
      }
      if (LOWORD(wp) == IDCANCEL) {
        Close(*d, false);
        return 0;
      }
      if (LOWORD(wp) == kTextId && HIWORD(wp) == EN_CHANGE) {
        EnableWindow(d->ok, GetWindowTextLengthW(d->text) > 0);
        return 0;
      }
      break;
    case WM_NOTIFY:
      if (d && reinterpret_cast<const NMHDR*>(lp)->hwndFrom == d->list) OnListNotify(*d, *reinterpret_cast<const NMHDR*>(lp));
      break;
    case WM_CLOSE:
      // The close box counts as Cancel.
      if (d) Close(*d, false);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(w, GWLP_USERDATA, 0);
      if (current == d) current = nullptr;
      delete d;
      break;
  }
  return DefWindowProcW(w, m, wp, lp);
}

HWND Control(HWND parent, const wchar_t* window_class, const wchar_t* text, DWORD style, const frame::TwipsRect& r,
             int id, DWORD ex_style = 0) {
  HWND control = frame::CreateControl(parent, window_class, text, style, r, id, ex_style);
  if (!control) frame::RaiseHresult(HRESULT_FROM_WIN32(GetLastError()));
  return control;
}

void MakeControls(Dialog& d) {
  d.list = Control(d.window, WC_LISTVIEWW, L"",
                   LVS_ICON | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_AUTOARRANGE | WS_TABSTOP, kList, kListId,
                   WS_EX_CLIENTEDGE);
  d.label = Control(d.window, L"STATIC", L"", SS_LEFT, kLabel, kLabelId);
  d.text = Control(d.window, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, kText, kTextId, WS_EX_CLIENTEDGE);
  d.ok = Control(d.window, L"BUTTON", L"&OK", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, kOk, IDOK);
  d.cancel = Control(d.window, L"BUTTON", L"&Abbrechen", BS_PUSHBUTTON | WS_TABSTOP, kCancel, IDCANCEL);
  // Without an alpha channel, so that the square shows as drawn, background included.
  d.images = ImageList_Create(kIconSquare, kIconSquare, ILC_COLOR24, 8, 8);
  if (!d.images) frame::RaiseHresult(E_OUTOFMEMORY);
  ListView_SetImageList(d.list, d.images, LVSIL_NORMAL);
}

// This thread's dialog, made (hidden, empty, placed) when it does not exist yet.
Dialog& MadeDialog() {
  if (current) return *current;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  const wchar_t* window_class = frame::RegisterWindowClass(L"quillboxIconDialog", DialogProcedure);
  HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, window_class, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                0, 0, 100, 100, nullptr, nullptr, frame::ThisModule(), nullptr);
  if (!window) frame::RaiseHresult(HRESULT_FROM_WIN32(GetLastError()));
  auto* d = new Dialog;
  d->window = window;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(d));  // the window owns it now
  current = d;
  try {
    MakeControls(*d);
  } catch (...) {
    DestroyWindow(window);
    throw;
  }
  PlaceOnLoad(window);
  return *d;
}

std::wstring TextOf(const frame::Variant& v) { return frame::ToText(v); }

void AddIcon(Dialog& d, const std::wstring& path, const std::wstring& file_name, long index) {
  std::wstring key = path + L"," + std::to_wstring(index);
  // Checked before the picture is added, so that picture positions stay in step with
  // the items and later files can still be added.
  if (d.known_keys.count(key)) frame::Raise(kKeyNotUnique, L"Key is not unique in collection");
  if (countid == SHRT_MAX) frame::Raise(frame::kOverflow);
  frame::Bitmap picture = DrawIconSquare(path, int(index));
  const int image = ImageList_Add(d.images, picture.get(), nullptr);  // its picture key: "key" & image
  if (image < 0) frame::RaiseHresult(E_OUTOFMEMORY);
  std::wstring text = file_name + L"," + std::to_wstring(index);
  LVITEMW item{};
  item.mask = LVIF_IMAGE | LVIF_PARAM | (silent ? 0 : LVIF_TEXT);
  item.iItem = countid;
  item.iImage = image;
  item.lParam = countid;
  item.pszText = text.data();
  if (ListView_InsertItem(d.list, &item) < 0) frame::RaiseHresult(E_OUTOFMEMORY);
  d.known_keys.insert(key);
  d.keys.push_back(std::move(key));
  ++countid;
}

}  // namespace

short AddIconsOfFile(std::wstring_view path) {
  const std::wstring dir = frame::ToLower(path);
  frame::ComPtr<IDispatch> files = frame::CreateByProgId(L"Scripting.FileSystemObject");
  const long count = CountIcons(dir);
  if (count > SHRT_MAX) frame::Raise(frame::kOverflow);
  const std::wstring base = TextOf(frame::CallByName(files.get(), L"GetBaseName", {frame::Variant::Text(dir)}));
  const std::wstring extension =
      TextOf(frame::CallByName(files.get(), L"GetExtensionName", {frame::Variant::Text(dir)}));
  const std::wstring file_name = frame::ToLower(base) + L"." + frame::ToLower(extension);
  if (count <= 0) return short(count);
  Dialog& d = MadeDialog();
  for (long i = 0; i < count; ++i) AddIcon(d, dir, file_name, i);
  InvalidateRect(d.list, nullptr, TRUE);
  UpdateWindow(d.window);
  return short(count);
}

void SetDialogLabel(std::wstring_view text) {
  const std::wstring copy(text);
  SetWindowTextW(MadeDialog().label, copy.c_str());
}

void SetDialogCaption(std::wstring_view text) {
  const std::wstring copy(text);
  SetWindowTextW(MadeDialog().window, copy.c_str());
}

void SetDialogSilent(bool on) { silent = on; }

DialogOutcome ShowIconDialogModal(std::wstring_view ok_caption, std::wstring_view cancel_caption) {
  Dialog& d = MadeDialog();
  if (d.outcome) frame::Raise(frame::kInvalidCall);  // already showing on this thread
  const std::wstring ok(ok_caption), cancel(cancel_caption);
  SetWindowTextW(d.ok, ok.c_str());
  SetWindowTextW(d.cancel, cancel.c_str());
  DialogOutcome outcome;
  d.outcome = &outcome;
  const HWND window = d.window;
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  Layout(d);
  frame::RunModal(window, [] { return current == nullptr; });
  // A WM_QUIT ended the loop with the dialog still open: it counts as Cancel.
  if (current) {
    current->outcome = nullptr;
    DestroyWindow(current->window);
  }
  countid = 0;
  return outcome;
}

}  // namespace icons
