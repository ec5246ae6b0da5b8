#include "icons_test_support.h"

#include "testing/automation.h"

#include <cstring>

namespace icontest {
namespace {

Pixels FromRows(int width, int height, int bits, bool bottom_up, const BYTE* data) {
  Pixels p;
  p.width = width;
  p.height = height;
  p.rgb.resize(size_t(width) * size_t(height));
  const size_t stride = ((size_t(width) * size_t(bits) + 31) / 32) * 4;
  for (int y = 0; y < height; ++y) {
    const BYTE* row = data + stride * size_t(bottom_up ? height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const BYTE* px = row + size_t(x) * size_t(bits / 8);
      p.rgb[size_t(y) * size_t(width) + size_t(x)] = RGB(px[2], px[1], px[0]);
    }
  }
  return p;
}

LRESULT CALLBACK PaintProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(w, &r);
    const int split = int(GetWindowLongPtrW(w, GWLP_USERDATA));
    HDC dc = reinterpret_cast<HDC>(wp);
    HBRUSH red = CreateSolidBrush(kRed), blue = CreateSolidBrush(kBlue);
    RECT left{0, 0, split, r.bottom}, right{split, 0, r.right, r.bottom};
    FillRect(dc, &left, red);
    FillRect(dc, &right, blue);
    DeleteObject(red);
    DeleteObject(blue);
    return 1;
  }
  return DefWindowProcW(w, m, wp, lp);
}

}  // namespace

std::wstring Fixture(const wchar_t* name) {
  std::wstring path = std::wstring(FIXTURE_DIR) + L"\\" + name;
  for (wchar_t& c : path) if (c == L'/') c = L'\\';
  return path;
}

std::wstring TempPath(const std::wstring& name) {
  static const std::wstring dir = [] {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring d = std::wstring(base) + L"icons_tests_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(d.c_str(), nullptr);
    return d;
  }();
  return dir + L"\\" + name;
}

void WriteTextFile(const std::wstring& path, const std::string& text) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(f);
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

COLORREF TopColour(int k) { return RGB(0x10 + 0x30 * k, 0x80, 0xC0); }
COLORREF BottomColour(int k) { return RGB(0xC0, 0x10 + 0x30 * k, 0x40); }
COLORREF WindowColour() { return GetSysColor(COLOR_WINDOW); }

Pixels ReadBitmapFile(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::vector<BYTE> data(GetFileSize(f, nullptr));
  DWORD read = 0;
  ReadFile(f, data.data(), DWORD(data.size()), &read, nullptr);
  CloseHandle(f);
  if (data.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || data[0] != 'B' || data[1] != 'M') return {};
  BITMAPFILEHEADER file;
  BITMAPINFOHEADER info;
  std::memcpy(&file, data.data(), sizeof file);
  std::memcpy(&info, data.data() + sizeof file, sizeof info);
  if (info.biCompression != BI_RGB || (info.biBitCount != 24 && info.biBitCount != 32)) return {};
  const int height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
  return FromRows(info.biWidth, height, info.biBitCount, info.biHeight > 0, data.data() + file.bfOffBits);
}

Pixels ReadBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = -bm.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<BYTE> bits(size_t(bm.bmWidth) * size_t(bm.bmHeight) * 4);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), bits.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return FromRows(bm.bmWidth, bm.bmHeight, 32, false, bits.data());
}

// The clipboard may be held for a moment by the clipboard manager, which hands our
// data to the other programs on the same display.
bool OpenClipboardPatiently() {
  return WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, std::chrono::seconds(5));
}

Pixels ClipboardBitmap() {
  if (!OpenClipboardPatiently()) return {};
  Pixels p = ReadBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
  CloseClipboard();
  return p;
}

int LiveGdiObjects() { return int(qbtest::MeasureResources().gdi_objects); }

int LiveUserObjects() { return int(qbtest::MeasureResources().user_objects); }

void PutTextOnClipboard(const std::wstring& text) {
  if (!OpenClipboardPatiently()) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  CloseClipboard();
}

std::wstring ClipboardText() {
  if (!OpenClipboardPatiently()) return {};
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

bool ClipboardIsEmpty() { return CountClipboardFormats() == 0; }

PaintedWindow::PaintedWindow(RECT r, const wchar_t* title, int split, bool with_button) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PaintProcedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"IconsTestPainted";
  RegisterClassW(&wc);
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, title, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                            r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance,
                            nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, split);
  if (with_button)
    button_ = CreateWindowExW(0, L"BUTTON", L"Knopf", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, window_, nullptr,
                              wc.hInstance, nullptr);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window_);
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

PaintedWindow::~PaintedWindow() { DestroyWindow(window_); }

}  // namespace icontest
