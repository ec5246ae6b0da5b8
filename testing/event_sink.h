// An event sink as a script host connects it: records every event with its arguments
// and can run a handler (for example one that calls back into the source).
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <functional>
#include <vector>

#include "frame/values.h"

namespace qbtest {

struct Event {
  DISPID id;
  std::vector<frame::Variant> args;  // in declared order, by-reference ones dereferenced
};

class EventSink final : public IDispatch {
 public:
  using Handler = std::function<void(const Event&)>;

  // Connects a new sink to `source`'s default event interface.
  static frame::ComPtr<EventSink> Connect(IDispatch* source, Handler handler = {});
  void Disconnect();

  const std::vector<Event>& events() const { return events_; }
  size_t count(DISPID id) const;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

 private:
  LONG refs_ = 1;
  IID events_iid_ = IID_NULL;
  frame::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
  Handler handler_;
  std::vector<Event> events_;
};

}  // namespace qbtest
