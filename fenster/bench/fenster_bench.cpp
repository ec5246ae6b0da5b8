// The cost of a cross-process WriteLine (a line added to the server's list) against the
// cheapest cross-process call, a sleepwell get: 1,000 calls of each, side by side.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "frame/values.h"

namespace {

constexpr int kCalls = 1000;

DISPID IdOf(IDispatch* obj, const wchar_t* name) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  obj->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

HRESULT Invoke(IDispatch* obj, DISPID id, WORD flags, VARIANT* args, UINT count) {
  DISPPARAMS params{args, nullptr, count, 0};
  frame::Variant result;
  return obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, nullptr, nullptr);
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CLSID clsid;
  frame::ComPtr<IDispatch> obj;
  if (FAILED(CLSIDFromProgID(L"fenster.quillbox", &clsid)) ||
      FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, obj.put_void()))) {
    std::printf("fenster.quillbox cannot be created\n");
    return 1;
  }
  const DISPID write_line = IdOf(obj.get(), L"WriteLine"), clear = IdOf(obj.get(), L"ClearDialog"),
               sleepwell = IdOf(obj.get(), L"sleepwell"), destroy = IdOf(obj.get(), L"DestroyDialog");
  frame::Variant line = frame::Variant::Text(L"eine Zeile im Ausgabefenster");

  auto write_lines = [&] {
    Invoke(obj.get(), clear, DISPATCH_METHOD, nullptr, 0);  // stay below the 1001 tags
    for (int i = 0; i < kCalls; ++i) Invoke(obj.get(), write_line, DISPATCH_METHOD, &line, 1);
  };
  auto get_sleepwell = [&] {
    for (int i = 0; i < kCalls; ++i) Invoke(obj.get(), sleepwell, DISPATCH_PROPERTYGET, nullptr, 0);
  };
  write_lines();  // loads the dialog and warms up both sides
  // Alternating rounds, the best of each: a busy neighbour disturbs both alike.
  double writes = 1e300, gets = 1e300;
  for (int round = 0; round < 5; ++round) {
    writes = std::min(writes, qbbench::Seconds(write_lines, 1));
    gets = std::min(gets, qbbench::Seconds(get_sleepwell, 1));
  }
  char details[200];
  std::snprintf(details, sizeof details, "WriteLine %.0f calls/s, sleepwell get %.0f calls/s (%d calls each)",
                kCalls / writes, kCalls / gets, kCalls);
  qbbench::PrintRatio("fenster WriteLine/sleepwell", writes / gets, "<= 1.5", details);
  Invoke(obj.get(), destroy, DISPATCH_METHOD, nullptr, 0);
  obj.reset();
  CoUninitialize();
  return 0;
}
