#include "local_server.h"

#include <objbase.h>

#include <string>

#include "class_factory.h"
#include "module.h"
#include "registration.h"

namespace frame {
namespace {

DWORD g_server_thread = 0;
DWORD g_class_cookie = 0;
constexpr UINT kIdleGraceMs = 10000;

// Whether the command line holds `name` as a word, with or without a leading / or -.
bool HasSwitch(const std::wstring& line, const wchar_t* name) {
  size_t at = 0;
  while (at < line.size()) {
    size_t start = line.find_first_not_of(L" \t", at);
    if (start == std::wstring::npos) break;
    size_t end = line.find_first_of(L" \t", start);
    if (end == std::wstring::npos) end = line.size();
    std::wstring word = line.substr(start, end - start);
    if (!word.empty() && (word[0] == L'/' || word[0] == L'-')) word.erase(0, 1);
    if (lstrcmpiW(word.c_str(), name) == 0) return true;
    at = end;
  }
  return false;
}

int Serve() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return 1;
  g_server_thread = GetCurrentThreadId();
  hr = CoRegisterClassObject(*CurrentComponent()->clsid, &TheClassFactory(), CLSCTX_LOCAL_SERVER,
                             REGCLS_MULTIPLEUSE, &g_class_cookie);
  if (SUCCEEDED(hr)) {
    // A server that no client has asked for an object by then (a client that went away
    // while COM started it, a start by hand) ends instead of waiting forever.
    const UINT_PTR idle_check = SetTimer(nullptr, 0, kIdleGraceMs, nullptr);
    MSG msg;
    for (;;) {
      BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got < 0) break;
      if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == idle_check) {
        KillTimer(nullptr, idle_check);
        if (ModuleLockCount() == 0) OnLastLockReleased();
        continue;
      }
      // The quit posted when the last object went may arrive after a new client has
      // created one: serve on while anything holds the server.
      if (got == 0) {
        if (ModuleLockCount() > 0) continue;
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (g_class_cookie) CoRevokeClassObject(g_class_cookie);
    g_class_cookie = 0;
  }
  CoUninitialize();
  return SUCCEEDED(hr) ? 0 : 1;
}

}  // namespace

void OnLastLockReleased() {
  if (!g_server_thread) return;
  // Withdraw the class at once: a client that creates one now starts a new server
  // instead of reaching this one while it ends.
  if (g_class_cookie && GetCurrentThreadId() == g_server_thread) {
    CoRevokeClassObject(g_class_cookie);
    g_class_cookie = 0;
  }
  PostThreadMessageW(g_server_thread, WM_QUIT, 0, 0);
}

int RunLocalServer(const wchar_t* command_line) {
  const std::wstring line = command_line ? command_line : L"";
  const RegistrationScope scope =
      HasSwitch(line, L"user") ? RegistrationScope::User : RegistrationScope::Machine;
  if (HasSwitch(line, L"RegServer")) {
    HRESULT hr = RegisterComponent(scope);
    if (FAILED(hr)) UnregisterComponent(scope);
    return SUCCEEDED(hr) ? 0 : 1;
  }
  if (HasSwitch(line, L"UnregServer")) return SUCCEEDED(UnregisterComponent(scope)) ? 0 : 1;
  return Serve();
}

}  // namespace frame
