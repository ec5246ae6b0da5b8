// Registration writes exactly the class, ProgID, type library and interfaces, for the
// machine or for the current user, and unregistration removes them again.
#include <gtest/gtest.h>

#include <string>

#include "frame/values.h"
#include "testing/automation.h"

using namespace qbtest;

namespace {

const wchar_t kClsid[] = L"{7B1C5A48-7563-481F-B789-54CF77F1BD68}";
const wchar_t kLibid[] = L"{C7F89A1A-05BD-4886-B24E-EF579E9D3705}";
const wchar_t kIid[] = L"{DAAA591B-B5D5-4935-966E-5CB67E23BAF1}";
const wchar_t kEvents[] = L"{A39A8AF7-0E81-47F3-95BE-99C0CDE8D852}";
#ifdef _WIN64
const wchar_t kPlatform[] = L"win64";
#else
const wchar_t kPlatform[] = L"win32";
#endif

// A value under Software\Classes of `root`, or nullopt-like "<missing>".
std::wstring Read(HKEY root, const std::wstring& key, const wchar_t* name = nullptr) {
  frame::RegKey k;
  if (RegOpenKeyExW(root, (L"Software\\Classes\\" + key).c_str(), 0, KEY_READ, k.put()) != ERROR_SUCCESS)
    return L"<missing>";
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  if (RegQueryValueExW(k.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
    return L"<no value>";
  return value;
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    probe_.reset(LoadLibraryW(L"probe.dll"));
    if (!probe_) {
      // Found through the registered path, like COM does.
      std::wstring path = Read(HKEY_LOCAL_MACHINE, std::wstring(L"CLSID\\") + kClsid + L"\\InprocServer32");
      probe_.reset(LoadLibraryW(path.c_str()));
    }
    ASSERT_TRUE(probe_);
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(probe_.get(), path, MAX_PATH);
    path_ = path;
  }
  void TearDown() override { Entry<HRESULT(WINAPI*)()>("DllRegisterServer")(); }  // as the build left it

  template <class F>
  F Entry(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(probe_.get(), name)));
  }
  HRESULT Install(bool install, const wchar_t* line) {
    return Entry<HRESULT(WINAPI*)(BOOL, LPCWSTR)>("DllInstall")(install, line);
  }

  void ExpectRegistered(HKEY root) {
    const std::wstring clsid = std::wstring(L"CLSID\\") + kClsid;
    EXPECT_EQ(Narrow(Read(root, clsid + L"\\InprocServer32")), Narrow(path_));
    EXPECT_EQ(Narrow(Read(root, clsid + L"\\InprocServer32", L"ThreadingModel")), "Apartment");
    EXPECT_EQ(Narrow(Read(root, clsid + L"\\ProgID")), "probe.quillbox");
    EXPECT_EQ(Narrow(Read(root, clsid + L"\\VersionIndependentProgID")), "probe.quillbox");
    EXPECT_EQ(Narrow(Read(root, L"probe.quillbox\\CLSID")), Narrow(kClsid));
    const std::wstring lib = std::wstring(L"TypeLib\\") + kLibid + L"\\1.0";
    EXPECT_EQ(Narrow(Read(root, lib)), "probe");
    EXPECT_EQ(Narrow(Read(root, lib + L"\\0\\" + kPlatform)), Narrow(path_));
    EXPECT_EQ(Narrow(Read(root, std::wstring(L"Interface\\") + kIid + L"\\ProxyStubClsid32")),
              "{00020424-0000-0000-C000-000000000046}");
    EXPECT_EQ(Narrow(Read(root, std::wstring(L"Interface\\") + kEvents + L"\\ProxyStubClsid32")),
              "{00020420-0000-0000-C000-000000000046}");
    EXPECT_EQ(Narrow(Read(root, std::wstring(L"Interface\\") + kIid + L"\\TypeLib")), Narrow(kLibid));
  }

  void ExpectUnregistered(HKEY root) {
    for (const std::wstring& key : {std::wstring(L"CLSID\\") + kClsid, std::wstring(L"probe.quillbox"),
                                    std::wstring(L"Interface\\") + kIid, std::wstring(L"Interface\\") + kEvents,
                                    std::wstring(L"TypeLib\\") + kLibid + L"\\1.0\\0\\" + kPlatform})
      EXPECT_EQ(Narrow(Read(root, key)), "<missing>") << Narrow(key);
  }

  frame::Module probe_;
  std::wstring path_;
};

}  // namespace

TEST_F(Registration, MachineEntriesAppearAndDisappear) {
  ASSERT_EQ(Entry<HRESULT(WINAPI*)()>("DllUnregisterServer")(), S_OK);
  ExpectUnregistered(HKEY_LOCAL_MACHINE);
  ASSERT_EQ(Entry<HRESULT(WINAPI*)()>("DllRegisterServer")(), S_OK);
  ExpectRegistered(HKEY_LOCAL_MACHINE);
}

TEST_F(Registration, PerUserInstallNeedsNoMachineEntries) {
  ASSERT_EQ(Entry<HRESULT(WINAPI*)()>("DllUnregisterServer")(), S_OK);
  ASSERT_EQ(Install(true, L"user"), S_OK);
  ExpectRegistered(HKEY_CURRENT_USER);
  ExpectUnregistered(HKEY_LOCAL_MACHINE);
  ASSERT_EQ(Install(false, L"user"), S_OK);
  ExpectUnregistered(HKEY_CURRENT_USER);
  EXPECT_EQ(Install(true, L"elsewhere"), E_INVALIDARG);
}

TEST_F(Registration, VersionBlockMarksASelfRegisteringFile) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path_.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path_.c_str(), 0, size, block.data()));
  void* value = nullptr;
  UINT length = 0;
  EXPECT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040704B0\\OLESelfRegister", &value, &length));
}

TEST_F(Registration, CanUnloadOnlyWithoutLiveObjects) {
  auto can_unload = Entry<HRESULT(WINAPI*)()>("DllCanUnloadNow");
  EXPECT_EQ(can_unload(), S_OK);
  IClassFactory* factory = nullptr;
  CLSID clsid;
  CLSIDFromString(kClsid, &clsid);
  ASSERT_EQ(Entry<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>("DllGetClassObject")(clsid, IID_IClassFactory,
                                                                                  reinterpret_cast<void**>(&factory)),
            S_OK);
  IDispatch* obj = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&obj)), S_OK);
  EXPECT_EQ(can_unload(), S_FALSE);
  obj->Release();
  EXPECT_EQ(can_unload(), S_OK);
  factory->LockServer(TRUE);
  EXPECT_EQ(can_unload(), S_FALSE);
  factory->LockServer(FALSE);
  factory->Release();
  EXPECT_EQ(can_unload(), S_OK);
}
