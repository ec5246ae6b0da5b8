#include "event_sink.h"

#include <gtest/gtest.h>

namespace qbtest {

frame::ComPtr<EventSink> EventSink::Connect(IDispatch* source, Handler handler) {
  auto sink = frame::ComPtr<EventSink>::Attach(new EventSink);
  sink->handler_ = std::move(handler);
  auto info = frame::ComPtr<IDispatch>(source).As<IProvideClassInfo2>(IID_IProvideClassInfo2);
  EXPECT_TRUE(info) << "no IProvideClassInfo2";
  if (!info) return sink;
  EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &sink->events_iid_), S_OK);
  auto container = frame::ComPtr<IDispatch>(source).As<IConnectionPointContainer>(IID_IConnectionPointContainer);
  EXPECT_TRUE(container) << "no IConnectionPointContainer";
  if (!container) return sink;
  EXPECT_EQ(container->FindConnectionPoint(sink->events_iid_, sink->point_.put()), S_OK);
  if (sink->point_) EXPECT_EQ(sink->point_->Advise(static_cast<IDispatch*>(sink.get()), &sink->cookie_), S_OK);
  return sink;
}

void EventSink::Disconnect() {
  if (point_ && cookie_) point_->Unadvise(cookie_);
  cookie_ = 0;
  point_.reset();
}

size_t EventSink::count(DISPID id) const {
  size_t n = 0;
  for (const Event& e : events_) n += e.id == id;
  return n;
}

STDMETHODIMP EventSink::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || (iid == events_iid_ && iid != IID_NULL)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EventSink::Release() {
  LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return ULONG(n);
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  Event e{id, {}};
  for (UINT i = params ? params->cArgs : 0; i-- > 0;) {
    frame::Variant v;
    VariantCopyInd(&v, &params->rgvarg[i]);
    e.args.push_back(std::move(v));
  }
  events_.push_back(e);
  if (handler_) handler_(e);
  return S_OK;
}

}  // namespace qbtest
