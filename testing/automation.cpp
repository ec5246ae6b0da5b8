#include "automation.h"

#include <psapi.h>

#include <gtest/gtest.h>

namespace qbtest {

ComPtr<IDispatch> CreateObject(const wchar_t* progid, DWORD context) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(progid, &clsid);
  EXPECT_EQ(hr, S_OK) << "ProgID not registered: " << Narrow(progid);
  ComPtr<IDispatch> obj;
  if (SUCCEEDED(hr)) {
    hr = CoCreateInstance(clsid, nullptr, context, IID_IDispatch, obj.put_void());
    EXPECT_EQ(hr, S_OK) << "cannot create " << Narrow(progid);
  }
  return obj;
}

int CallResult::error() const {
  HRESULT code = hr == DISP_E_EXCEPTION ? scode : hr;
  return HRESULT_FACILITY(code) == FACILITY_CONTROL ? HRESULT_CODE(code) : int(code);
}

std::wstring CallResult::text() const {
  Variant s;
  if (FAILED(s.ChangeTypeFrom(value, VT_BSTR))) {
    ADD_FAILURE() << "result is not text (vt " << value.vt << ")";
    return {};
  }
  return std::wstring(s.bstrVal, SysStringLen(s.bstrVal));
}

long CallResult::number() const {
  Variant n;
  if (FAILED(n.ChangeTypeFrom(value, VT_I4))) {
    ADD_FAILURE() << "result is not a number (vt " << value.vt << ")";
    return 0;
  }
  return n.lVal;
}

CallResult Call(IDispatch* obj, const wchar_t* name, std::vector<Variant> args, std::vector<NamedArg> named,
                WORD flags) {
  CallResult r;
  if (!obj) { ADD_FAILURE() << "no object"; return r; }
  std::vector<LPOLESTR> names{const_cast<LPOLESTR>(name)};
  for (auto& n : named) names.push_back(const_cast<LPOLESTR>(n.name));
  std::vector<DISPID> ids(names.size());
  r.hr = obj->GetIDsOfNames(IID_NULL, names.data(), UINT(names.size()), LOCALE_USER_DEFAULT, ids.data());
  if (FAILED(r.hr)) return r;
  // rgvarg: named arguments first (in the order of their ids), then positional ones reversed.
  std::vector<VARIANT> raw;
  std::vector<DISPID> named_ids;
  for (size_t i = 0; i < named.size(); ++i) {
    raw.push_back(named[i].value);
    named_ids.push_back(ids[i + 1]);
  }
  for (auto it = args.rbegin(); it != args.rend(); ++it) raw.push_back(*it);
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) named_ids.push_back(DISPID_PROPERTYPUT);
  DISPPARAMS params{raw.data(), named_ids.empty() ? nullptr : named_ids.data(), UINT(raw.size()),
                    UINT(named_ids.size())};
  EXCEPINFO ei{};
  r.hr = obj->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &r.value, &ei, &r.arg_err);
  if (r.hr == DISP_E_EXCEPTION) {
    r.scode = ei.scode;
    if (ei.bstrDescription) r.description.assign(ei.bstrDescription, SysStringLen(ei.bstrDescription));
    if (ei.bstrSource) r.source.assign(ei.bstrSource, SysStringLen(ei.bstrSource));
  }
  SysFreeString(ei.bstrDescription);
  SysFreeString(ei.bstrSource);
  SysFreeString(ei.bstrHelpFile);
  return r;
}

CallResult Get(IDispatch* obj, const wchar_t* name) { return Call(obj, name, {}, {}, DISPATCH_PROPERTYGET); }

CallResult Put(IDispatch* obj, const wchar_t* name, Variant value, bool by_ref_put) {
  // A property put carries its value as the named argument DISPID_PROPERTYPUT.
  return Call(obj, name, {std::move(value)}, {}, by_ref_put ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT);
}

Variant RefTo(VARIANT* variable) {
  Variant v;
  v.vt = VT_BYREF | VT_VARIANT;
  v.pvarVal = variable;
  return v;
}

Variant Text(const std::wstring& s) { return Variant::Text(s); }

Variant Null() {
  Variant v;
  v.vt = VT_NULL;
  return v;
}

Variant Missing() {
  Variant v;
  v.vt = VT_ERROR;
  v.scode = DISP_E_PARAMNOTFOUND;
  return v;
}

namespace {

// The platform's counters where it keeps them; otherwise (Wine reports 0 for handle,
// GDI and USER counts and for private bytes) the live objects are counted directly.
DWORD CountHandles() {
  DWORD n = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &n) && n) return n;
  for (UINT_PTR value = 4; value < 0x10000; value += 4) {
    DWORD flags;
    n += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
  }
  return n;
}

SIZE_T CountPrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (const char* at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;
       at = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return total;
}

DWORD CountGdiObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  DWORD n = 0;
  for (UINT_PTR i = 1; i <= 0xFFFF; ++i) n += GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0;
  return n;
}

DWORD CountUserObjects() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
  DWORD n = 0;
  for (UINT_PTR i = 0x20; i <= 0xFFFF; i += 2) {
    HWND w = reinterpret_cast<HWND>(i);
    DWORD pid = 0;
    if (IsWindow(w)) {
      GetWindowThreadProcessId(w, &pid);
      n += pid == GetCurrentProcessId();
      continue;
    }
    ICONINFO icon{};
    if (GetIconInfo(reinterpret_cast<HICON>(i), &icon)) {
      ++n;
      if (icon.hbmMask) DeleteObject(icon.hbmMask);
      if (icon.hbmColor) DeleteObject(icon.hbmColor);
    }
  }
  return n;
}

}  // namespace

ResourceUse MeasureResources() {
  ResourceUse use;
  use.handles = CountHandles();
  use.private_bytes = CountPrivateBytes();
  use.gdi_objects = CountGdiObjects();
  use.user_objects = CountUserObjects();
  return use;
}

std::wstring Widen(const std::string& s) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring w(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace qbtest
