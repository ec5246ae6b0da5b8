#include "registration.h"

#include <string>

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
  explicit Writer(RegistrationScope scope) : root_(ScopeRoot(scope)) {}

  void Set(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    if (FAILED(hr_)) return;
    RegKey k;
    LONG rc = RegCreateKeyExW(root_, (L"Software\\Classes\\" + key).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, k.put(), nullptr);
    if (rc == ERROR_SUCCESS)
      rc = RegSetValueExW(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD((value.size() + 1) * sizeof(wchar_t)));
    if (rc != ERROR_SUCCESS) hr_ = HRESULT_FROM_WIN32(rc);
  }
  HRESULT result() const { return hr_; }

 private:
  HKEY root_;
  HRESULT hr_ = S_OK;
};

// Deletes a key with everything below it; a missing key is no failure.
void DeleteTree(HKEY root, const std::wstring& key) {
  RegDeleteTreeW(root, (L"Software\\Classes\\" + key).c_str());
  RegDeleteKeyW(root, (L"Software\\Classes\\" + key).c_str());
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

}  // namespace

HRESULT RegisterComponent(RegistrationScope scope) {
  const ComponentInfo* c = CurrentComponent();
  if (!c) return E_UNEXPECTED;
  const std::wstring path = ModulePath();
  const std::wstring progid = ProgId();
  const std::wstring clsid = L"CLSID\\" + GuidText(*c->clsid);
  const std::wstring libid = GuidText(*c->libid);
  const std::wstring version = VersionText(*c);
  Writer w(scope);

  w.Set(clsid, nullptr, L"quillbox");
  if (c->kind == ServerKind::InProcess) {
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
  w.Set(progid + L"\\CLSID", nullptr, GuidText(*c->clsid));

  const std::wstring lib = L"TypeLib\\" + libid + L"\\" + version;
  w.Set(lib, nullptr, c->library);
  w.Set(lib + L"\\0\\" + kPlatform, nullptr, path);
  w.Set(lib + L"\\FLAGS", nullptr, L"0");
  w.Set(lib + L"\\HELPDIR", nullptr, Directory(path));

  struct { const IID* iid; const wchar_t* name; const wchar_t* marshaller; } interfaces[] = {
      {c->iid, L"_quillbox", kTypeLibraryMarshaller},
      {c->events, L"__quillbox", kDispatchMarshaller},
  };
  for (auto& i : interfaces) {
    const std::wstring key = L"Interface\\" + GuidText(*i.iid);
    w.Set(key, nullptr, i.name);
    w.Set(key + L"\\ProxyStubClsid", nullptr, i.marshaller);
    w.Set(key + L"\\ProxyStubClsid32", nullptr, i.marshaller);
    w.Set(key + L"\\TypeLib", nullptr, libid);
    w.Set(key + L"\\TypeLib", L"Version", version);
  }
  return w.result();
}

HRESULT UnregisterComponent(RegistrationScope scope) {
  const ComponentInfo* c = CurrentComponent();
  if (!c) return E_UNEXPECTED;
  HKEY root = ScopeRoot(scope);
  DeleteTree(root, L"CLSID\\" + GuidText(*c->clsid));
  DeleteTree(root, ProgId());
  DeleteTree(root, L"Interface\\" + GuidText(*c->iid));
  DeleteTree(root, L"Interface\\" + GuidText(*c->events));
  // The type library key is shared by the 32- and 64-bit builds: remove only this
  // platform's path, and the keys above it once nothing else is left in them.
  const std::wstring lib = L"TypeLib\\" + GuidText(*c->libid);
  const std::wstring version = lib + L"\\" + VersionText(*c);
  DeleteTree(root, version + L"\\0\\" + kPlatform);
  if (!HasSubkeys(root, version + L"\\0")) {
    DeleteTree(root, version);
    if (!HasSubkeys(root, lib)) DeleteTree(root, lib);
  }
  return S_OK;
}

}  // namespace frame
