// The probe component: an in-process library (probe.quillbox) or, built with
// PROBE_LOCAL_SERVER, a local server (probeserver.quillbox), for the frame's tests.
#include <string>

#include "frame/about_box.h"
#include "frame/collection.h"
#include "frame/conversions.h"
#include "frame/local_server.h"
#include "frame/object.h"
#include PROBE_HEADER

namespace {

class Probe final : public frame::Component<Probe, _quillbox> {
 public:
  STDMETHODIMP Echo(VARIANT v, VARIANT* result) override {
    return frame::Guarded([&] { frame::Variant::Copy(v).DetachTo(result); });
  }
  STDMETHODIMP TakeString(BSTR v, BSTR* result) override {
    return frame::Guarded([&] { *result = frame::AllocBstr(frame::View(v)); });
  }
  STDMETHODIMP TakeInteger(short v, short* result) override { *result = v; return S_OK; }
  STDMETHODIMP TakeLong(long v, long* result) override { *result = v; return S_OK; }
  STDMETHODIMP TakeBoolean(VARIANT_BOOL v, VARIANT_BOOL* result) override { *result = v; return S_OK; }
  STDMETHODIMP TakeDouble(double v, double* result) override { *result = v; return S_OK; }
  STDMETHODIMP TakeDate(DATE v, DATE* result) override { *result = v; return S_OK; }
  STDMETHODIMP TakeObject(IDispatch* v, IDispatch** result) override {
    if (v) v->AddRef();
    *result = v;
    return S_OK;
  }
  // "s|n|b|vt of v"
  STDMETHODIMP Optional(BSTR s, short n, VARIANT_BOOL b, VARIANT v, BSTR* result) override {
    return frame::Guarded([&] {
      std::wstring text = std::wstring(frame::View(s)) + L"|" + std::to_wstring(n) + L"|" +
                          std::to_wstring(b) + L"|" + std::to_wstring(v.vt);
      *result = frame::AllocBstr(text);
    });
  }
  STDMETHODIMP AppendByRef(BSTR* s) override {
    return frame::Guarded([&] {
      BSTR longer = frame::AllocBstr(std::wstring(frame::View(*s)) + L"!");
      SysFreeString(*s);
      *s = longer;
    });
  }
  STDMETHODIMP IncrementByRef(short* n) override {
    if (*n == 32767) return frame::ControlError(frame::kOverflow);
    ++*n;
    return S_OK;
  }
  STDMETHODIMP SetVariantByRef(VARIANT* v) override {
    VariantClear(v);
    v->vt = VT_I4;
    v->lVal = 42;
    return S_OK;
  }
  STDMETHODIMP LeaveByRef(BSTR*) override { return S_OK; }
  STDMETHODIMP Fail(long number) override {
    return frame::Guarded([&] { frame::Raise(int(number)); });
  }
  STDMETHODIMP FailWithText(long number, BSTR text) override {
    return frame::Guarded([&] { frame::Raise(int(number), std::wstring(frame::View(text))); });
  }
  STDMETHODIMP get_Value(long* v) override { *v = value_; return S_OK; }
  STDMETHODIMP put_Value(long v) override { value_ = v; return S_OK; }
  STDMETHODIMP get_Target(IDispatch** v) override {
    *v = target_.get();
    if (*v) (*v)->AddRef();
    return S_OK;
  }
  STDMETHODIMP putref_Target(IDispatch* v) override {
    target_ = frame::ComPtr<IDispatch>(v);
    return S_OK;
  }
  // Raises Pinged(text, count) with a by-reference count that the handler may change.
  STDMETHODIMP Ping(BSTR text) override {
    return frame::Guarded([&] {
      frame::Variant count = frame::Variant::Int(0);
      VARIANT by_ref;
      by_ref.vt = VT_BYREF | VT_I2;
      by_ref.piVal = &count.iVal;
      RaiseEvent(1, {frame::Variant::Text(frame::View(text)), by_ref});
      value_ = count.iVal;
    });
  }
  STDMETHODIMP MakeCollection(IDispatch** result) override {
    return frame::Guarded([&] {
      auto c = frame::StringCollection::Create();
      for (const wchar_t* s : {L"a", L"b", L"c"}) c->Append(s);
      *result = c.detach();
    });
  }
  STDMETHODIMP ProcessId(long* result) override {
    *result = long(GetCurrentProcessId());
    return S_OK;
  }
  STDMETHODIMP About() override {
    return frame::Guarded([] { frame::ShowAboutBox(); });
  }

 private:
  long value_ = 0;
  frame::ComPtr<IDispatch> target_;
};

#ifdef PROBE_LOCAL_SERVER
const frame::ComponentInfo kProbe = {L"probeserver", L"probeserver", &CLSID_quillbox, &LIBID_probeserver,
                                     &IID__quillbox, &DIID___quillbox, 1, 0, frame::ServerKind::LocalServer,
                                     &Probe::CreateInstance};
#else
const frame::ComponentInfo kProbe = {L"probe", L"probe", &CLSID_quillbox, &LIBID_probe, &IID__quillbox,
                                     &DIID___quillbox, 1, 0, frame::ServerKind::InProcess,
                                     &Probe::CreateInstance};
#endif
QUILLBOX_COMPONENT(kProbe);

}  // namespace

#ifdef PROBE_LOCAL_SERVER
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  return frame::RunLocalServer(command_line);
}
#endif
