#include "registration.h"

#include <string>
#include <vector>

#include "module.h"
#include "values.h"

namespace frame {
namespace {

// The marshallers of the platform: the type-library one for a dual interface, the
// plain dispatch one for the event interface.
constexpr wchar_t kTypeLibraryMarshaller[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchMarshaller[] = L"{00020420-0000-0000-C000-000000000046}";

std::wstring GuidText(const GUID& g) {
  wchar_t text[40];
  StringFromGUID2(g, text, 40);
  return text;
}

HKEY ScopeRoot(RegistrationScope scope) {
  return scope == RegistrationScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

class Writer {
 public:
  // `view` selects the 32- or 64-bit registry view (KEY_WOW64_*), 0 the program's own.
  explicit Writer(RegistrationScope scope, REGSAM view = 0) : root_(ScopeRoot(scope)), view_(view) {}

  void Set(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    if (FAILED(hr_)) return;
    RegKey k;
    LONG rc = RegCreateKeyExW(root_, (L"Software\\Classes\\" + key).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE | view_, nullptr, k.put(), nullptr);
    if (rc == ERROR_SUCCESS)
      rc = RegSetValueExW(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD((value.size() + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS) hr_ = HRESULT_FROM_WIN32(rc);
  }
  HRESULT result() const { return hr_; }

 private:
  HKEY root_;
  REGSAM view_;
  HRESULT hr_ = S_OK;
};

// Deletes a key with everything below it; a missing key is no failure.
void DeleteTree(HKEY root, const std::wstring& key, REGSAM view = 0) {
  const std::wstring path = L"Software\\Classes\\" + key;
  RegKey k;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS | view, k.put()) == ERROR_SUCCESS) {
    RegDeleteTreeW(k.get(), nullptr);
    k.reset();
  }
  RegDeleteKeyExW(root, path.c_str(), view, 0);
}

bool HasSubkeys(HKEY root, const std::wstring& key) {
  RegKey k;
  if (RegOpenKeyExW(root, (L"Software\\Classes\\" + key).c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS)
    return false;
  DWORD subkeys = 0;
  RegQueryInfoKeyW(k.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr);
  return subkeys > 0;
}

#ifdef _WIN64
constexpr wchar_t kPlatform[] = L"win64";
#else
constexpr wchar_t kPlatform[] = L"win32";
#endif

std::wstring VersionText(const ComponentInfo& c) {
  return std::to_wstring(c.major) + L"." + std::to_wstring(c.minor);
}

std::wstring Directory(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(0, slash);
}

// A local server is one program for clients of both architectures: its class and
// interfaces go into the 32- and the 64-bit registry view, and its type library (the
// same file) is named for both platforms, so that either client's marshaller finds it.
// An in-process server is registered by each architecture's build for its own clients.
std::vector<REGSAM> Views(const ComponentInfo& c) {
  if (c.kind == ServerKind::LocalServer) return {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
  return {0};
}

std::vector<std::wstring> Platforms(const ComponentInfo& c) {
  if (c.kind == ServerKind::LocalServer) return {L"win32", L"win64"};
  return {kPlatform};
}

void WriteClassAndInterfaces(Writer& w, const ComponentInfo& c, const std::wstring& path) {
  const std::wstring progid = ProgId();
  const std::wstring clsid = L"CLSID\\" + GuidText(*c.clsid);
  const std::wstring libid = GuidText(*c.libid);
  const std::wstring version = VersionText(c);

  w.Set(clsid, nullptr, L"quillbox");
  if (c.kind == ServerKind::InProcess) {
    w.Set(clsid + L"\\InprocServer32", nullptr, path);
    w.Set(clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  } else {
    w.Set(clsid + L"\\LocalServer32", nullptr, L"\"" + path + L"\"");
  }
  w.Set(clsid + L"\\ProgID", nullptr, progid);
  w.Set(clsid + L"\\VersionIndependentProgID", nullptr, progid);
  w.Set(clsid + L"\\TypeLib", nullptr, libid);
  w.Set(clsid + L"\\Version", nullptr, version);
  w.Set(clsid + L"\\Programmable", nullptr, L"");

  w.Set(progid, nullptr, L"quillbox");
  w.Set(progid + L"\\CLSID", nullptr, GuidText(*c.clsid));

  struct { const IID* iid; const wchar_t* name; const wchar_t* marshaller; } interfaces[] = {
      {c.iid, L"_quillbox", kTypeLibraryMarshaller},
      {c.events, L"__quillbox", kDispatchMarshaller},
  };
  for (auto& i : interfaces) {
    const std::wstring key = L"Interface\\" + GuidText(*i.iid);
    w.Set(key, nullptr, i.name);
    w.Set(key + L"\\ProxyStubClsid", nullptr, i.marshaller);
    w.Set(key + L"\\ProxyStubClsid32", nullptr, i.marshaller);
    w.Set(key + L"\\TypeLib", nullptr, libid);
    w.Set(key + L"\\TypeLib", L"Version", version);
  }
}

}  // namespace

HRESULT RegisterComponent(RegistrationScope scope) {
  const ComponentInfo* c = CurrentComponent();
  if (!c) return E_UNEXPECTED;
  const std::wstring path = ModulePath();
  for (REGSAM view : Views(*c)) {
    Writer w(scope, view);
    WriteClassAndInterfaces(w, *c, path);
    if (FAILED(w.result())) return w.result();
  }
  Writer w(scope);
  const std::wstring lib = L"TypeLib\\" + GuidText(*c->libid) + L"\\" + VersionText(*c);
  w.Set(lib, nullptr, c->library);
  for (const std::wstring& platform : Platforms(*c)) w.Set(lib + L"\\0\\" + platform, nullptr, path);
  w.Set(lib + L"\\FLAGS", nullptr, L"0");
  w.Set(lib + L"\\HELPDIR", nullptr, Directory(path));
  return w.result();
}

HRESULT UnregisterComponent(RegistrationScope scope) {
  const ComponentInfo* c = CurrentComponent();
  if (!c) return E_UNEXPECTED;
  HKEY root = ScopeRoot(scope);
  for (REGSAM view : Views(*c)) {
    DeleteTree(root, L"CLSID\\" + GuidText(*c->clsid), view);
    DeleteTree(root, ProgId(), view);
    DeleteTree(root, L"Interface\\" + GuidText(*c->iid), view);
    DeleteTree(root, L"Interface\\" + GuidText(*c->events), view);
  }
  // The type library key is shared by the 32- and 64-bit builds: remove only the paths
  // this program registered, and the keys above them once nothing else is left in them.
  const std::wstring lib = L"TypeLib\\" + GuidText(*c->libid);
  const std::wstring version = lib + L"\\" + VersionText(*c);
  for (const std::wstring& platform : Platforms(*c)) DeleteTree(root, version + L"\\0\\" + platform);
  if (!HasSubkeys(root, version + L"\\0")) {
    DeleteTree(root, version);
    if (!HasSubkeys(root, lib)) DeleteTree(root, lib);
  }
  return S_OK;
}

}  // namespace frame
