#include "local_server.h"

#include <objbase.h>

#include <string>

#include "class_factory.h"
#include "module.h"
#include "registration.h"

namespace frame {
namespace {

DWORD g_server_thread = 0;

bool HasSwitch(const std::wstring& line, const wchar_t* name) {
  std::wstring lower = line;
  CharLowerBuffW(lower.data(), DWORD(lower.size()));
  std::wstring word = name;
  CharLowerBuffW(word.data(), DWORD(word.size()));
  for (const wchar_t* prefix : {L"/", L"-"}) {
    size_t at = lower.find(prefix + word);
    while (at != std::wstring::npos) {
      size_t end = at + 1 + word.size();
      if (end == lower.size() || lower[end] == L' ' || lower[end] == L'\t') return true;
      at = lower.find(prefix + word, at + 1);
    }
  }
  return false;
}

int Serve() {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) return 1;
  g_server_thread = GetCurrentThreadId();
  DWORD cookie = 0;
  hr = CoRegisterClassObject(*CurrentComponent()->clsid, &TheClassFactory(), CLSCTX_LOCAL_SERVER,
                             REGCLS_MULTIPLEUSE, &cookie);
  if (SUCCEEDED(hr)) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    CoRevokeClassObject(cookie);
  }
  CoUninitialize();
  return SUCCEEDED(hr) ? 0 : 1;
}

}  // namespace

void OnLastLockReleased() {
  if (g_server_thread) PostThreadMessageW(g_server_thread, WM_QUIT, 0, 0);
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
