#include "local_server.h"

#include <objbase.h>

#include <string>

#include "class_factory.h"
#include "module.h"
#include "registration.h"

namespace frame {
namespace {

DWORD g_server_thread = 0;

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
