#include "window_driver.h"

namespace qbtest {

std::wstring WindowText(HWND w) {
  int n = GetWindowTextLengthW(w);
  std::wstring text(size_t(n) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(w, text.data(), n + 1)));
  return text;
}

std::wstring ClassName(HWND w) {
  wchar_t name[256] = {};
  GetClassNameW(w, name, 256);
  return name;
}

namespace {

struct Search {
  const wchar_t* window_class;
  const wchar_t* title;
  HWND found = nullptr;
};

BOOL CALLBACK Match(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(w)) return TRUE;
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

HWND WaitForWindow(const wchar_t* window_class, const wchar_t* title, std::chrono::milliseconds timeout) {
  Search s{window_class, title};
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

MessageBoxWatcher::MessageBoxWatcher() : thread_([this] { Run(); }) {}

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
    Search s{L"#32770", nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    if (HWND box = s.found) {
      Box b;
      b.title = WindowText(box);
      b.text = WindowText(GetDlgItem(box, 0xFFFF));
      HWND icon = GetDlgItem(box, 1088);
      b.any_icon = icon && IsWindowVisible(icon);
      b.exclamation = b.any_icon && reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)) == exclamation;
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
