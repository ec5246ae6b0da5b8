// Dial-up members: the dial, the AutoConnect value written through the script host's
// shell object, the 429 path without that object, the hang-up and the state flags.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "testing/automation.h"

using namespace qbtest;

namespace {

constexpr wchar_t kSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr wchar_t kValue[] = L"AutoConnect";

struct RegValue {
  DWORD type = 0;
  std::vector<BYTE> data;
};

std::optional<RegValue> ReadValue(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view = 0) {
  frame::RegKey k;
  if (RegOpenKeyExW(root, key, 0, KEY_READ | view, k.put()) != ERROR_SUCCESS) return std::nullopt;
  RegValue v;
  DWORD size = 0;
  if (RegQueryValueExW(k.get(), name, nullptr, &v.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  v.data.resize(size);
  RegQueryValueExW(k.get(), name, nullptr, &v.type, v.data.data(), &size);
  return v;
}

// Sets a value, or deletes it for nullopt; a key that does not exist is not created for
// a deletion (an empty key would hide the other registry view's entry).
void WriteValue(HKEY root, const wchar_t* key, const wchar_t* name, const std::optional<RegValue>& v,
                REGSAM view = 0) {
  frame::RegKey k;
  if (!v) {
    if (RegOpenKeyExW(root, key, 0, KEY_WRITE | view, k.put()) == ERROR_SUCCESS) RegDeleteValueW(k.get(), name);
    return;
  }
  ASSERT_EQ(RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_WRITE | view, nullptr, k.put(), nullptr), ERROR_SUCCESS);
  RegSetValueExW(k.get(), name, 0, v->type, v->data.data(), DWORD(v->data.size()));
}

// Puts a registry value back as it was when this object was made.
class RestoredValue {
 public:
  RestoredValue(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view = 0)
      : root_(root), key_(key), name_(name), view_(view), saved_(ReadValue(root, key, name, view)) {}
  ~RestoredValue() { WriteValue(root_, key_, name_, saved_, view_); }
  const std::optional<RegValue>& saved() const { return saved_; }

 private:
  HKEY root_;
  const wchar_t* key_;
  const wchar_t* name_;
  REGSAM view_;
  std::optional<RegValue> saved_;
};

RegValue Dword(DWORD n) {
  RegValue v{REG_DWORD, std::vector<BYTE>(4)};
  memcpy(v.data.data(), &n, 4);
  return v;
}

TEST(DialUp, ConnectInternetDialsAndSetsAutoConnectToZero) {
  RestoredValue restore(HKEY_CURRENT_USER, kSettings, kValue);
  WriteValue(HKEY_CURRENT_USER, kSettings, kValue, Dword(1));
  auto obj = CreateObject(L"internet.quillbox");
  auto r = Call(obj.get(), L"ConnectInternet");
  ASSERT_TRUE(r.ok()) << Narrow(r.description);
  EXPECT_EQ(r.value.vt, VT_BOOL);
  // What the platform's dial reports (Wine's reports success).
  EXPECT_EQ(r.value.boolVal != VARIANT_FALSE, InternetAutodial(INTERNET_AUTODIAL_FORCE_UNATTENDED, nullptr) != FALSE);
  auto value = ReadValue(HKEY_CURRENT_USER, kSettings, kValue);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, DWORD(REG_DWORD));
  EXPECT_EQ(value->data, Dword(0).data);
}

TEST(DialUp, ConnectInternetFalseLeavesTheRegistryUntouched) {
  RestoredValue restore(HKEY_CURRENT_USER, kSettings, kValue);
  WriteValue(HKEY_CURRENT_USER, kSettings, kValue, Dword(7));
  auto obj = CreateObject(L"internet.quillbox");
  auto r = Call(obj.get(), L"ConnectInternet", {Bool(false)});
  ASSERT_TRUE(r.ok());
  auto value = ReadValue(HKEY_CURRENT_USER, kSettings, kValue);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->data, Dword(7).data);
}

TEST(DialUp, WithoutTheShellObjectConnectInternetFailsWith429AfterTheDial) {
  RestoredValue restore_value(HKEY_CURRENT_USER, kSettings, kValue);
  WriteValue(HKEY_CURRENT_USER, kSettings, kValue, Dword(5));
  auto obj = CreateObject(L"internet.quillbox");
  {
    // Hide the shell object's registration (both registry views) and put it back after.
    RestoredValue view64(HKEY_CLASSES_ROOT, L"WScript.Shell\\CLSID", nullptr, KEY_WOW64_64KEY);
    RestoredValue view32(HKEY_CLASSES_ROOT, L"WScript.Shell\\CLSID", nullptr, KEY_WOW64_32KEY);
    ASSERT_TRUE(view64.saved() || view32.saved()) << "WScript.Shell is not registered";
    WriteValue(HKEY_CLASSES_ROOT, L"WScript.Shell\\CLSID", nullptr, std::nullopt, KEY_WOW64_64KEY);
    WriteValue(HKEY_CLASSES_ROOT, L"WScript.Shell\\CLSID", nullptr, std::nullopt, KEY_WOW64_32KEY);
    auto r = Call(obj.get(), L"ConnectInternet");
    EXPECT_EQ(r.error(), 429);
    EXPECT_FALSE(r.description.empty());
  }
  auto value = ReadValue(HKEY_CURRENT_USER, kSettings, kValue);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->data, Dword(5).data);
  // Restored: the shell object is back.
  EXPECT_TRUE(Call(obj.get(), L"ConnectInternet").ok());
}

TEST(DialUp, HangUpAndStateReportWhatThePlatformReports) {
  auto obj = CreateObject(L"internet.quillbox");
  auto hang_up = Call(obj.get(), L"DisconnectInternet");
  ASSERT_TRUE(hang_up.ok());
  EXPECT_EQ(hang_up.value.vt, VT_BOOL);
  EXPECT_EQ(hang_up.value.boolVal != VARIANT_FALSE, InternetAutodialHangup(0) != FALSE);
  auto state = Call(obj.get(), L"ConnectionState");
  ASSERT_TRUE(state.ok());
  EXPECT_EQ(state.value.vt, VT_I4);
  DWORD flags = 0;
  InternetGetConnectedState(&flags, 0);
  EXPECT_EQ(DWORD(state.value.lVal), flags);
}

}  // namespace
