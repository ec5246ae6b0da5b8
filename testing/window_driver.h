// Driving windows as a user would, from a second thread: finding them, pressing
// buttons, and a watcher that records and closes every message box.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "frame/window_helpers.h"

namespace qbtest {

using frame::WindowText;
std::wstring ClassName(HWND w);

// The process whose windows the helpers look at: 0 is this process; a server's windows
// are found with its process id, or with kAnyProcess.
constexpr DWORD kAnyProcess = DWORD(-1);

// Polls until a visible top-level window of the process matches (class and/or title,
// nullptr for any), or the time runs out (then returns nullptr).
HWND WaitForWindow(const wchar_t* window_class, const wchar_t* title,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10), DWORD process = 0);
// Polls until `condition` holds; false when the time ran out.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
// The child control with this text (or nullptr).
HWND FindChildByText(HWND parent, const wchar_t* text);
// Presses a button the way a click does (posted, so a modal loop it starts cannot block us).
void Press(HWND button);

// Runs `work` on a second thread and joins it on destruction.
class Helper {
 public:
  explicit Helper(std::function<void()> work) : thread_(std::move(work)) {}
  ~Helper() { if (thread_.joinable()) thread_.join(); }
  void Join() { thread_.join(); }

 private:
  std::thread thread_;
};

// Records every message box (#32770 dialog) of the process and presses its OK.
class MessageBoxWatcher {
 public:
  struct Box {
    std::wstring title;
    std::wstring text;
    bool exclamation = false;  // shows the warning icon
    bool any_icon = false;
    int buttons = 0;
  };

  explicit MessageBoxWatcher(DWORD process = 0);
  ~MessageBoxWatcher();
  std::vector<Box> boxes();
  // Waits for at least `count` boxes; returns all seen.
  std::vector<Box> WaitForBoxes(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));

 private:
  void Run();
  std::mutex mutex_;
  std::vector<Box> boxes_;
  DWORD process_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace qbtest
