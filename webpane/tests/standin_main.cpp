// The stand-in browser application, a local server for the tests:
//   standin_browser /RegServer     makes it the browser application of this machine
//                                  (ProgID InternetExplorer.Application), saving the
//                                  entry it replaces
//   standin_browser /UnregServer   puts the saved entry back, removes its own and closes
//                                  the windows still open
//   standin_browser /close         closes every open stand-in browser window
//   standin_browser -Embedding     started by COM: serves one browser until its window closes
#include <windows.h>
#include <objbase.h>

#include <string>

#include "frame/values.h"
#include "standin_browser.h"

namespace {

// {b98aa63b-3da0-4642-99e9-52ff0b337040}
const CLSID kStandInClsid = {0xb98aa63b, 0x3da0, 0x4642, {0x99, 0xe9, 0x52, 0xff, 0x0b, 0x33, 0x70, 0x40}};
constexpr wchar_t kProgIdClsid[] = L"Software\\Classes\\InternetExplorer.Application\\CLSID";
constexpr wchar_t kSavedValue[] = L"ReplacedByStandIn";
constexpr REGSAM kViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};

class Factory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    return standin::Browser::Create(iid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? standin::ServerLock() : standin::ServerUnlock();
    return S_OK;
  }
};

std::wstring ClsidText() {
  wchar_t text[40];
  StringFromGUID2(kStandInClsid, text, 40);
  return text;
}

std::wstring ReadDefault(HKEY key, const wchar_t* name = nullptr) {
  wchar_t buffer[512];
  DWORD size = sizeof buffer;
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    return {};
  return std::wstring(buffer, size / sizeof(wchar_t)).c_str();
}

bool WriteText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value, REGSAM view) {
  frame::RegKey key;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, key.put(), nullptr))
    return false;
  return RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        DWORD((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// The class goes into both registry views (32- and 64-bit clients look in their own);
// the ProgID only into the 64-bit one, which 32-bit clients fall back to as long as
// their view has no key of that name.
int Register() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring clsid = ClsidText();
  bool ok = true;
  for (REGSAM view : kViews) {
    const std::wstring key = L"Software\\Classes\\CLSID\\" + clsid;
    ok &= WriteText(HKEY_LOCAL_MACHINE, key, nullptr, L"Stand-in browser application", view);
    ok &= WriteText(HKEY_LOCAL_MACHINE, key + L"\\LocalServer32", nullptr, L"\"" + std::wstring(path) + L"\"", view);
  }
  frame::RegKey progid;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProgIdClsid, 0, nullptr, 0, KEY_READ | KEY_SET_VALUE | KEY_WOW64_64KEY,
                      nullptr, progid.put(), nullptr))
    return 1;
  // Registering twice must not save our own entry (or nothing) over the real one.
  const std::wstring current = ReadDefault(progid.get());
  if (current != clsid && !current.empty())
    ok &= WriteText(HKEY_LOCAL_MACHINE, kProgIdClsid, kSavedValue, current, KEY_WOW64_64KEY);
  ok &= WriteText(HKEY_LOCAL_MACHINE, kProgIdClsid, nullptr, clsid, KEY_WOW64_64KEY);
  return ok ? 0 : 1;
}

BOOL CALLBACK CloseIfStandIn(HWND w, LPARAM) {
  wchar_t name[64];
  if (GetClassNameW(w, name, 64) && wcscmp(name, standin::kWindowClass) == 0) PostMessageW(w, WM_CLOSE, 0, 0);
  return TRUE;
}

// Also closes windows left open, so that no stand-in process outlives the tests.
int Unregister() {
  EnumWindows(CloseIfStandIn, 0);
  const std::wstring clsid = ClsidText();
  frame::RegKey progid;
  if (!RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProgIdClsid, 0, KEY_READ | KEY_SET_VALUE | KEY_WOW64_64KEY, progid.put()) &&
      ReadDefault(progid.get()) == clsid) {
    const std::wstring saved = ReadDefault(progid.get(), kSavedValue);
    if (saved.empty()) {
      RegDeleteValueW(progid.get(), nullptr);
    } else {
      WriteText(HKEY_LOCAL_MACHINE, kProgIdClsid, nullptr, saved, KEY_WOW64_64KEY);
      RegDeleteValueW(progid.get(), kSavedValue);
    }
  }
  for (REGSAM view : kViews) {
    frame::RegKey classes;
    if (!RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID", 0, KEY_ALL_ACCESS | view, classes.put())) {
      RegDeleteTreeW(classes.get(), clsid.c_str());
      RegDeleteKeyW(classes.get(), clsid.c_str());
    }
  }
  return 0;
}

// A server without a window for ten seconds (one that COM started but nobody used, or
// whose window closed while clients still hold it) ends, as a browser's process does.
void CALLBACK EndWhenIdle(HWND, UINT, UINT_PTR, DWORD) {
  static int idle_seconds = 0;
  idle_seconds = standin::OpenWindows() > 0 ? 0 : idle_seconds + 1;
  if (idle_seconds >= 10) PostQuitMessage(0);
}

// The platform's clean-up after the loop talks to clients that may be gone; it gets a
// few seconds, then the process ends all the same.
DWORD WINAPI EndSoon(void*) {
  Sleep(5000);
  ExitProcess(0);
}

int Serve() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  static Factory factory;
  DWORD cookie = 0;
  // One browser window per process, as the browser application gives each its own.
  HRESULT hr = CoRegisterClassObject(kStandInClsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie);
  if (SUCCEEDED(hr)) {
    SetTimer(nullptr, 0, 1000, EndWhenIdle);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    CloseHandle(CreateThread(nullptr, 0, EndSoon, nullptr, 0, nullptr));
    CoRevokeClassObject(cookie);
  }
  CoUninitialize();
  return SUCCEEDED(hr) ? 0 : 1;
}

bool Has(const std::wstring& line, const wchar_t* word) {
  std::wstring lower = line;
  for (auto& c : lower) c = towlower(c);
  return lower.find(word) != std::wstring::npos;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR command_line, int) {
  const std::wstring line = command_line ? command_line : L"";
  if (Has(line, L"regserver") && !Has(line, L"unregserver")) return Register();
  if (Has(line, L"unregserver")) return Unregister();
  if (Has(line, L"close")) return EnumWindows(CloseIfStandIn, 0) ? 0 : 1;
  return Serve();
}
