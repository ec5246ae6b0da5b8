// The cost of a late-bound call through the frame's dispatcher against the platform's
// own scripting runtime (Scripting.Dictionary's Exists), and taskscope's ProcessList
// against the same list through WMI, measured side by side in one run.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "testing/automation.h"

using namespace qbtest;

namespace {

constexpr int kCalls = 100000;

DISPID IdOf(IDispatch* obj, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  obj->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

// `calls` invocations of one member with one text argument, as a script makes them
// (the name looked up at every call, as VBScript does).
void CallByName(IDispatch* obj, const wchar_t* name, int calls) {
  Variant arg = Text(L"key");
  for (int i = 0; i < calls; ++i) {
    DISPID id = IdOf(obj, name);
    DISPPARAMS params{&arg, nullptr, 1, 0};
    Variant result;
    obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, &result,
                nullptr, nullptr);
  }
}

std::wstring ProcessNamesThroughWmi() {
  ComPtr<IDispatch> services;
  if (FAILED(CoGetObject(L"winmgmts:", nullptr, IID_IDispatch, services.put_void()))) return {};
  CallResult set = Call(services.get(), L"ExecQuery", {Text(L"SELECT Name FROM Win32_Process")});
  if (set.value.vt != VT_DISPATCH) return {};
  CallResult e = Call(set.value.pdispVal, L"_NewEnum", {}, {}, DISPATCH_PROPERTYGET);
  if (e.value.vt != VT_UNKNOWN && e.value.vt != VT_DISPATCH) return {};
  auto items = ComPtr<IUnknown>(e.value.punkVal).As<IEnumVARIANT>(IID_IEnumVARIANT);
  std::wstring names;
  Variant item;
  while (items && items->Next(1, &item, nullptr) == S_OK) {
    if (!names.empty()) names += L"\r\n";
    CallResult name = Call(item.pdispVal, L"Name");
    if (name.value.vt == VT_BSTR) names += name.value.bstrVal;
    item.clear();
  }
  return names;
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    auto probe = CreateObject(L"probe.quillbox");
    auto dictionary = CreateObject(L"Scripting.Dictionary");
    double ours = qbbench::Seconds([&] { CallByName(probe.get(), L"TakeString", kCalls); });
    double theirs = qbbench::Seconds([&] { CallByName(dictionary.get(), L"Exists", kCalls); });
    char details[200];
    std::snprintf(details, sizeof details, "frame %.0f ns/call, Scripting.Dictionary.Exists %.0f ns/call (%d calls each)",
                  ours * 1e9 / kCalls, theirs * 1e9 / kCalls, kCalls);
    qbbench::PrintRatio("dispatch-vs-dictionary", ours / theirs, "<= 1.0", details);

    auto ts = CreateObject(L"taskscope.quillbox");
    constexpr int kRounds = 20;
    size_t our_lines = 0, wmi_lines = 0;
    double list = qbbench::Seconds([&] {
      for (int i = 0; i < kRounds; ++i) our_lines = Call(ts.get(), L"ProcessList").text().size();
    });
    double wmi = qbbench::Seconds([&] {
      for (int i = 0; i < kRounds; ++i) wmi_lines = ProcessNamesThroughWmi().size();
    });
    std::snprintf(details, sizeof details, "ProcessList %.2f ms, WMI Win32_Process %.2f ms per list (%zu / %zu characters)",
                  list * 1e3 / kRounds, wmi * 1e3 / kRounds, our_lines, wmi_lines);
    qbbench::PrintRatio("processlist-vs-wmi", list / wmi, "< 1.0", details);
  }
  CoUninitialize();
  return 0;
}
