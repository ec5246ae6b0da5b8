// What the fenster tests need as clients of the out-of-process server: objects created
// as a local server, waits that keep this thread's messages flowing (events arrive as
// incoming calls), and the server's windows and their geometry in pixels.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "frame/values.h"
#include "testing/automation.h"

namespace fenstertest {

using frame::ComPtr;

constexpr DISPID kClick = 1, kFormClose = 2;
constexpr wchar_t kDialogClass[] = L"fensterForm1";
constexpr wchar_t kMessageClass[] = L"fensterForm2";

ComPtr<IDispatch> NewClient();

// Waits until `condition` holds while serving this thread's messages.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The server's window of a class, shown or hidden (nullptr when not loaded).
HWND ServerWindow(const wchar_t* window_class);
DWORD ProcessOf(HWND window);

// A control of a window by its class (the n-th one of that class).
HWND Child(HWND parent, const wchar_t* control_class, int n = 0);
// A control's rectangle in its parent's client coordinates; a window's on the screen.
RECT ChildRect(HWND control);
RECT ScreenRect(HWND window);
SIZE ClientSize(HWND window);

// Pixels of a twips length at the screen's resolution.
int PxX(int twips);
int PxY(int twips);

// Resizes a window's client area to a size in pixels, as a user's drag does.
void ResizeClient(HWND window, int width, int height);

// An interface of an object handed to other apartments of this process: marshalled
// once for each receiver, unmarshalled by Get() on the receiving thread.
class CrossApartment {
 public:
  explicit CrossApartment(IDispatch* object, int receivers = 1);
  ~CrossApartment();
  ComPtr<IDispatch> Get();  // on a receiving thread (COM initialised), once per receiver

 private:
  std::vector<IStream*> streams_;
};

// Runs `work` on a thread with its own single-threaded apartment.
void InApartment(const std::function<void()>& work);

}  // namespace fenstertest
