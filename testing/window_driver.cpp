#include "window_driver.h"

#include <vector>

namespace qbtest {

std::wstring ClassName(HWND w) {
  wchar_t name[256] = {};
  GetClassNameW(w, name, 256);
  return name;
}

namespace {

struct Search {
  const wchar_t* window_class;
  const wchar_t* title;
  DWORD process = 0;
  HWND found = nullptr;
};

BOOL CALLBACK Match(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  const DWORD wanted = s->process ? s->process : GetCurrentProcessId();
  if ((wanted != kAnyProcess && pid != wanted) || !IsWindowVisible(w)) return TRUE;
  if (s->window_class && ClassName(w) != s->window_class) return TRUE;
  if (s->title && WindowText(w) != s->title) return TRUE;
  s->found = w;
  return FALSE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(10);
  }
  return true;
}

HWND WaitForWindow(const wchar_t* window_class, const wchar_t* title, std::chrono::milliseconds timeout,
                   DWORD process) {
  Search s{window_class, title, process};
  WaitUntil([&] {
    EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr;
  }, timeout);
  return s.found;
}

HWND FindChildByText(HWND parent, const wchar_t* text) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (WindowText(c) == text) return c;
  return nullptr;
}

void Press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

namespace {

// The pixels of a screen rectangle, or of an icon drawn on a background of one colour.
std::vector<DWORD> Pixels(int width, int height, const std::function<void(HDC)>& draw) {
  std::vector<DWORD> pixels(size_t(width) * height);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    GdiFlush();
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<DWORD*>(bits)[i] & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Whether an icon control shows `icon`. A box of another process holds its own handle
// of a system icon, so the picture on the screen is compared when the handles differ.
bool PictureShowsIcon(HWND control, HICON icon) {
  RECT r;
  GetWindowRect(control, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  auto shown = Pixels(w, h, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
  auto expected = Pixels(w, h, [&](HDC dc) {
    HBRUSH background = CreateSolidBrush(RGB(GetBValue(shown[0]), GetGValue(shown[0]), GetRValue(shown[0])));
    RECT all{0, 0, w, h};
    FillRect(dc, &all, background);
    DeleteObject(background);
    DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  });
  size_t same = 0;
  for (size_t i = 0; i < shown.size(); ++i) same += shown[i] == expected[i];
  return same * 100 >= shown.size() * 95;
}

bool ShowsIcon(HWND control, HICON icon) {
  if (reinterpret_cast<HICON>(SendMessageW(control, STM_GETICON, 0, 0)) == icon) return true;
  // The box may not have painted its icon yet.
  return WaitUntil([&] { return PictureShowsIcon(control, icon); }, std::chrono::seconds(1));
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(DWORD process) : process_(process), thread_([this] { Run(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<MessageBoxWatcher::Box> MessageBoxWatcher::boxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

std::vector<MessageBoxWatcher::Box> MessageBoxWatcher::WaitForBoxes(size_t count, std::chrono::milliseconds timeout) {
  WaitUntil([&] { return boxes().size() >= count; }, timeout);
  return boxes();
}

void MessageBoxWatcher::Run() {
  const HICON exclamation = LoadIconW(nullptr, IDI_EXCLAMATION);
  while (!stop_) {
    Search s{L"#32770", nullptr, process_};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    if (HWND box = s.found) {
      Box b;
      b.title = WindowText(box);
      b.text = WindowText(GetDlgItem(box, 0xFFFF));
      HWND icon = GetDlgItem(box, 1088);
      b.any_icon = icon && IsWindowVisible(icon);
      b.exclamation = b.any_icon && ShowsIcon(icon, exclamation);
      for (int id = 1; id <= 11; ++id) if (GetDlgItem(box, id) && IsWindowVisible(GetDlgItem(box, id))) ++b.buttons;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        boxes_.push_back(b);
      }
      PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      // Wait until that box is gone before looking for the next one.
      WaitUntil([box] { return !IsWindow(box) || !IsWindowVisible(box); }, std::chrono::seconds(5));
    }
    Sleep(20);
  }
}

}  // namespace qbtest
