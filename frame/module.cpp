#include "module.h"

#include "local_server.h"

namespace frame {
namespace {
const ComponentInfo* g_component = nullptr;
LONG g_locks = 0;
}  // namespace

ComponentRegistrar::ComponentRegistrar(const ComponentInfo& c) { g_component = &c; }

const ComponentInfo* CurrentComponent() { return g_component; }

std::wstring ProgId() {
  return g_component ? std::wstring(g_component->library) + L".quillbox" : L"quillbox";
}

const wchar_t* ApplicationTitle() { return g_component ? g_component->title : L"quillbox"; }

HMODULE ThisModule() {
  HMODULE m = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &m);
  return m;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(ThisModule(), path.data(), DWORD(path.size()));
    if (n < path.size()) { path.resize(n); return path; }
    path.resize(path.size() * 2);
  }
}

void LockModule() { InterlockedIncrement(&g_locks); }

void UnlockModule() {
  if (InterlockedDecrement(&g_locks) == 0 && g_component &&
      g_component->kind == ServerKind::LocalServer)
    OnLastLockReleased();
}

LONG ModuleLockCount() { return g_locks; }

}  // namespace frame
