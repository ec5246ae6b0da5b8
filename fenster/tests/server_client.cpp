#include "server_client.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include "frame/window_helpers.h"
#include "testing/window_driver.h"

namespace fenstertest {

ComPtr<IDispatch> NewClient() { return qbtest::CreateObject(L"fenster.quillbox", CLSCTX_LOCAL_SERVER); }

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    frame::ProcessPendingMessages();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

namespace {

struct ClassSearch {
  const wchar_t* window_class;
  HWND found = nullptr;
};

BOOL CALLBACK MatchClass(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<ClassSearch*>(lp);
  if (qbtest::ClassName(w) != s->window_class) return TRUE;
  s->found = w;
  return FALSE;
}

}  // namespace

HWND ServerWindow(const wchar_t* window_class) {
  ClassSearch s{window_class};
  EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

HWND Child(HWND parent, const wchar_t* control_class, int n) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (lstrcmpiW(qbtest::ClassName(c).c_str(), control_class) == 0 && n-- == 0) return c;
  return nullptr;
}

RECT ChildRect(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT ScreenRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

int PxX(int twips) { return frame::TwipsToPixelsX(twips); }
int PxY(int twips) { return frame::TwipsToPixelsY(twips); }

void ResizeClient(HWND window, int width, int height) {
  RECT outer = ScreenRect(window);
  SIZE client = ClientSize(window);
  const int dx = (outer.right - outer.left) - client.cx, dy = (outer.bottom - outer.top) - client.cy;
  SetWindowPos(window, nullptr, 0, 0, width + dx, height + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CrossApartment::CrossApartment(IDispatch* object, int receivers) {
  for (int i = 0; i < receivers; ++i) {
    IStream* stream = nullptr;
    EXPECT_EQ(CoMarshalInterThreadInterfaceInStream(IID_IDispatch, object, &stream), S_OK);
    if (stream) streams_.push_back(stream);
  }
}

CrossApartment::~CrossApartment() {
  for (IStream* stream : streams_) {
    CoReleaseMarshalData(stream);
    stream->Release();
  }
}

ComPtr<IDispatch> CrossApartment::Get() {
  ComPtr<IDispatch> object;
  if (streams_.empty()) {
    ADD_FAILURE() << "no receiver left";
    return object;
  }
  IStream* stream = streams_.back();
  streams_.pop_back();
  EXPECT_EQ(CoGetInterfaceAndReleaseStream(stream, IID_IDispatch, object.put_void()), S_OK);
  return object;
}

void InApartment(const std::function<void()>& work) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  work();
  CoUninitialize();
}

}  // namespace fenstertest
