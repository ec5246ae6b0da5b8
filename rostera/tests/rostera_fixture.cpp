#include "rostera_fixture.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace rtest {

using namespace qbtest;

const wchar_t kDialogClass[] = L"rosteraForm1";
const wchar_t kBadWidth[] = L"Geben Sie als Breite einen Wert zwischen 5 und 100 an!";
const wchar_t kNoSuchColumn[] =
    L"Sie haben versucht, mit AddSubItem() einen Eintrag in eine Spalte zu schreiben, die Sie noch gar "
    L"nicht angelegt haben!";
const wchar_t kNoRowYet[] = L"Verwenden Sie vor AddSubItem() zuerst AddItem()!";
const wchar_t kNoSuchCategory[] = L"Kategorie gibt es nicht!";
const wchar_t kBadOrder[] = L"Erlaubt sind als Sortierreihenfolge nur 0 und 1!";
const wchar_t kBadSize[] = L"Breite und/oder H\u00F6he sind nicht zul\u00E4ssig!";

ComPtr<IDispatch> NewList() { return CreateObject(L"rostera.quillbox"); }

void Fill(IDispatch* list, const std::vector<std::wstring>& headers,
          const std::vector<std::vector<std::wstring>>& rows) {
  for (const auto& h : headers) ASSERT_TRUE(Call(list, L"AddHeader", {Text(h)}).ok());
  for (const auto& row : rows) {
    ASSERT_TRUE(Call(list, L"AddItem", {Text(row[0])}).ok());
    for (size_t i = 1; i < row.size(); ++i)
      ASSERT_TRUE(Call(list, L"AddSubItem", {Variant::Int(short(i)), Text(row[i])}).ok());
  }
}

std::vector<std::wstring> Texts(const Variant& collection) {
  std::vector<std::wstring> texts;
  if (collection.vt != VT_DISPATCH || !collection.pdispVal) {
    ADD_FAILURE() << "not a collection (vt " << collection.vt << ")";
    return texts;
  }
  IDispatch* c = collection.pdispVal;
  const long count = Get(c, L"Count").number();
  for (long i = 1; i <= count; ++i) texts.push_back(Call(c, L"Item", {Long(i)}).text());
  return texts;
}

std::vector<std::wstring> Contents(IDispatch* list) {
  CallResult r = Call(list, L"GetRosteraContents");
  EXPECT_TRUE(r.ok());
  return Texts(r.value);
}

IUnknown* Identity(const Variant& object) {
  if (object.vt != VT_DISPATCH || !object.pdispVal) return nullptr;
  IUnknown* unknown = nullptr;
  object.pdispVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown));
  if (unknown) unknown->Release();  // the object stays alive in `object`
  return unknown;
}

namespace {

BOOL CALLBACK FirstDialog(HWND w, LPARAM lp) {
  if (ClassName(w) != kDialogClass) return TRUE;
  *reinterpret_cast<HWND*>(lp) = w;
  return FALSE;
}

BOOL CALLBACK CollectButtons(HWND w, LPARAM lp) {
  if (ClassName(w) == L"Button") reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  return TRUE;
}

}  // namespace

HWND DialogOfThisThread() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FirstDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND ListViewOf(HWND dialog) { return FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr); }

HWND ButtonOf(HWND dialog, int nth) {
  std::vector<HWND> buttons;
  EnumChildWindows(dialog, CollectButtons, reinterpret_cast<LPARAM>(&buttons));
  return size_t(nth) < buttons.size() ? buttons[size_t(nth)] : nullptr;
}

RECT ChildRect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT OuterRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

void SelectRows(HWND list, const std::vector<int>& rows) {
  for (int row : rows) {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
  }
}

std::vector<int> SelectedRows(HWND list) {
  std::vector<int> rows;
  for (int i = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); i >= 0;
       i = int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED)))
    rows.push_back(i);
  return rows;
}

std::vector<std::wstring> ColumnTexts(HWND list, int column) {
  std::vector<std::wstring> texts;
  const int count = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    texts.push_back(item.pszText ? item.pszText : L"");
  }
  return texts;
}

int ColumnWidth(HWND list, int column) { return int(SendMessageW(list, LVM_GETCOLUMNWIDTH, WPARAM(column), 0)); }

void ClickHeader(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  RECT r{};
  SendMessageW(header, HDM_GETITEMRECT, WPARAM(column), reinterpret_cast<LPARAM>(&r));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(header, WM_LBUTTONUP, 0, at);
}

void PressKey(HWND list, WORD key) {
  PostMessageW(list, WM_KEYDOWN, key, 1);
  PostMessageW(list, WM_KEYUP, key, LPARAM(0xC0000001));
}

void CloseWithCloseControl(HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

CallResult ShowWhile(IDispatch* list, std::vector<Variant> args, const std::function<void(HWND)>& user) {
  std::wstring caption = args.empty() ? L"" : std::wstring(args[0].bstrVal ? args[0].bstrVal : L"");
  Helper helper([caption, user] {
    HWND dialog = WaitForWindow(kDialogClass, caption.c_str());
    if (dialog)
      user(dialog);
    else
      dialog = WaitForWindow(kDialogClass, nullptr, std::chrono::seconds(1));
    // Whatever the user left open is closed, so that the modal call returns.
    if (!WaitUntil([dialog] { return !dialog || !IsWindow(dialog) || !IsWindowVisible(dialog); },
                   std::chrono::seconds(5)))
      PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  return Call(list, L"RosteraShow", std::move(args));
}

}  // namespace rtest
