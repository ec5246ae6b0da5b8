#include "connection_point.h"

#include <olectl.h>

#include <algorithm>

#include "com_object.h"
#include "errors.h"
#include "module.h"

namespace frame {
namespace {

// A snapshot enumerator over counted items, as IEnumConnections and
// IEnumConnectionPoints need it.
template <class Enum, class Item, const IID* Iid>
class Enumerator final : public SimpleObject<Enum, Iid> {
 public:
  explicit Enumerator(std::vector<Item> items) : items_(std::move(items)) {}
  ~Enumerator() { for (Item& i : items_) Unref(i); }
  STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    ULONG n = 0;
    for (; n < count && next_ < items_.size(); ++n, ++next_) {
      out[n] = items_[next_];
      Ref(out[n]);
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    next_ = std::min<size_t>(items_.size(), next_ + count);
    return next_ < items_.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override { next_ = 0; return S_OK; }
  STDMETHODIMP Clone(Enum** out) override {
    if (!out) return E_POINTER;
    for (Item& i : items_) Ref(i);
    auto* copy = new (std::nothrow) Enumerator(items_);
    if (!copy) { for (Item& i : items_) Unref(i); return E_OUTOFMEMORY; }
    copy->next_ = next_;
    *out = copy;
    return S_OK;
  }

 private:
  static void Ref(CONNECTDATA& c) { c.pUnk->AddRef(); }
  static void Unref(CONNECTDATA& c) { c.pUnk->Release(); }
  static void Ref(IConnectionPoint* p) { p->AddRef(); }
  static void Unref(IConnectionPoint* p) { p->Release(); }

  std::vector<Item> items_;  // each holds a reference
  size_t next_ = 0;
};

using ConnectionsEnumerator = Enumerator<IEnumConnections, CONNECTDATA, &IID_IEnumConnections>;
using PointsEnumerator = Enumerator<IEnumConnectionPoints, IConnectionPoint*, &IID_IEnumConnectionPoints>;

}  // namespace

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = events_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = container_;
  container_->AddRef();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  ComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(events_, dispatch.put_void())) &&
      FAILED(sink->QueryInterface(IID_IDispatch, dispatch.put_void())))
    return CONNECT_E_CANNOTCONNECT;
  return Guarded([&] {
    sinks_.emplace_back(next_cookie_, dispatch);
    *cookie = next_cookie_++;
  });
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first == cookie) {
      ComPtr<IDispatch> released = std::move(it->second);  // released after the erase
      sinks_.erase(it);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return Guarded([&] {
    std::vector<CONNECTDATA> items;
    for (auto& [cookie, sink] : sinks_) {
      sink->AddRef();
      items.push_back({sink.get(), cookie});
    }
    *out = new ConnectionsEnumerator(std::move(items));
  });
}

IEnumConnectionPoints* ConnectionPoint::EnumerateAsContainer() {
  AddRef();
  return new PointsEnumerator({this});
}

void ConnectionPoint::Raise(DISPID id, std::initializer_list<VARIANT> args) {
  // A handler may connect or disconnect sinks while it runs: call a copy of the list.
  std::vector<ComPtr<IDispatch>> targets;
  targets.reserve(sinks_.size());
  for (auto& entry : sinks_) targets.push_back(entry.second);
  std::vector<VARIANT> reversed(args.begin(), args.end());
  std::reverse(reversed.begin(), reversed.end());
  DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
  for (auto& sink : targets) {
    Variant ignored;
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &ignored, nullptr, nullptr);
  }
}

}  // namespace frame
