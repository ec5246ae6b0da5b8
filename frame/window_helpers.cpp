#include "window_helpers.h"

#include <vector>

#include "module.h"

namespace frame {
namespace {

int ScreenDpi(int axis) {
  HDC dc = GetDC(nullptr);
  int dpi = dc ? GetDeviceCaps(dc, axis) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

int DpiX() { static const int dpi = ScreenDpi(LOGPIXELSX); return dpi; }
int DpiY() { static const int dpi = ScreenDpi(LOGPIXELSY); return dpi; }

}  // namespace

int TwipsToPixelsX(int twips) { return MulDiv(twips, DpiX(), 1440); }
int TwipsToPixelsY(int twips) { return MulDiv(twips, DpiY(), 1440); }
int PixelsToTwipsX(int pixels) { return MulDiv(pixels, 1440, DpiX()); }
int PixelsToTwipsY(int pixels) { return MulDiv(pixels, 1440, DpiY()); }
int ScreenWidthTwips() { return PixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN)); }
int ScreenHeightTwips() { return PixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN)); }

RECT TwipsRect::ToPixels() const {
  RECT r;
  r.left = TwipsToPixelsX(left);
  r.top = TwipsToPixelsY(top);
  r.right = r.left + TwipsToPixelsX(width);
  r.bottom = r.top + TwipsToPixelsY(height);
  return r;
}

void MoveWindowTwips(HWND window, const TwipsRect& t, bool repaint) {
  RECT r = t.ToPixels();
  MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
}

std::wstring WindowText(HWND window) {
  std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
  return text;
}

void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

namespace {

// The procedure of each class is kept in the window class's extra bytes.
LRESULT CALLBACK GuardedProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  auto proc = reinterpret_cast<WindowProcedure>(GetClassLongPtrW(w, 0));
  try {
    return proc ? proc(w, m, wp, lp) : DefWindowProcW(w, m, wp, lp);
  } catch (...) {
    return DefWindowProcW(w, m, wp, lp);
  }
}

}  // namespace

const wchar_t* RegisterWindowClass(const wchar_t* name, WindowProcedure proc, UINT style,
                                   HBRUSH background, HICON icon) {
  WNDCLASSEXW existing{sizeof existing};
  if (GetClassInfoExW(ThisModule(), name, &existing)) return name;
  WNDCLASSEXW wc{sizeof wc};
  wc.style = style;
  wc.lpfnWndProc = GuardedProcedure;
  wc.cbClsExtra = sizeof(LONG_PTR);
  wc.hInstance = ThisModule();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = name;
  if (!RegisterClassExW(&wc)) return name;
  // Store the procedure in the class: create and destroy a window to reach the class.
  HWND probe = CreateWindowExW(0, name, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
  if (probe) {
    SetClassLongPtrW(probe, 0, reinterpret_cast<LONG_PTR>(proc));
    DestroyWindow(probe);
  }
  return name;
}

HFONT StandardFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

HWND CreateControl(HWND parent, const wchar_t* window_class, const wchar_t* text, DWORD style,
                   const TwipsRect& t, int id, DWORD ex_style) {
  RECT r = t.ToPixels();
  HWND control = CreateWindowExW(ex_style, window_class, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
  if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(StandardFont()), FALSE);
  return control;
}

namespace {

struct ModalCollect {
  HWND modal;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectEnabledWindow(HWND w, LPARAM lp) {
  auto* c = reinterpret_cast<ModalCollect*>(lp);
  if (w != c->modal && IsWindowEnabled(w) && IsWindowVisible(w)) c->windows.push_back(w);
  return TRUE;
}

}  // namespace

void RunModal(HWND window, const std::function<bool()>& done) {
  // Disable this thread's other enabled top-level windows while the modal one is up.
  ModalCollect collect{window, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&collect));
  std::vector<HWND>& disabled = collect.windows;
  for (HWND w : disabled) EnableWindow(w, FALSE);
  MSG msg;
  while (!done()) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(int(msg.wParam));
      break;
    }
    if (window && IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  for (HWND w : disabled) if (IsWindow(w)) EnableWindow(w, TRUE);
}

void CenterOnScreen(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace frame
