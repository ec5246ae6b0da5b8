// The user's side of the script tests: a separate program that waits for the list dialog
// with the given caption and acts on it through posted input.
//   rostera_user CAPTION ACTION...   ACTION: home | down | enter | escape | ok | cancel | close
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

HWND WaitForDialog(const wchar_t* caption) {
  for (int i = 0; i < 1000; ++i) {
    HWND w = FindWindowW(L"rosteraForm1", caption);
    if (w && IsWindowVisible(w)) return w;
    Sleep(20);
  }
  return nullptr;
}

HWND NthButton(HWND dialog, int nth) {
  HWND button = nullptr;
  for (int i = 0; i <= nth; ++i) button = FindWindowExW(dialog, button, L"Button", nullptr);
  return button;
}

void Key(HWND list, WPARAM key) {
  PostMessageW(list, WM_KEYDOWN, key, 1);
  PostMessageW(list, WM_KEYUP, key, LPARAM(0xC0000001));
  Sleep(100);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  HWND dialog = WaitForDialog(argv[1]);
  if (!dialog) return 1;
  HWND list = FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr);
  for (int i = 2; i < argc; ++i) {
    const std::wstring action = argv[i];
    if (action == L"home") Key(list, VK_HOME);
    if (action == L"down") Key(list, VK_DOWN);
    if (action == L"enter") Key(list, VK_RETURN);
    if (action == L"escape") Key(list, VK_ESCAPE);
    if (action == L"ok") PostMessageW(NthButton(dialog, 0), BM_CLICK, 0, 0);
    if (action == L"cancel") PostMessageW(NthButton(dialog, 1), BM_CLICK, 0, 0);
    if (action == L"close") PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  // Whatever happens, the script does not wait for ever.
  for (int i = 0; i < 250 && IsWindow(dialog) && IsWindowVisible(dialog); ++i) Sleep(20);
  if (IsWindow(dialog) && IsWindowVisible(dialog)) PostMessageW(dialog, WM_CLOSE, 0, 0);
  return 0;
}
