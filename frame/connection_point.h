// The connection point of an object's event interface: sinks that scripts (or their
// hosts) connect, and raising an event to every one of them.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "values.h"

namespace frame {

// Lives inside its container object and shares the container's reference count.
class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(IConnectionPointContainer* container, const IID& events)
      : container_(container), events_(events) {}
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return container_->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return container_->Release(); }

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** out) override;

  // Calls event `id` on every sink connected now; a sink that fails is skipped.
  void Raise(DISPID id, std::initializer_list<VARIANT> args);
  size_t sink_count() const { return sinks_.size(); }
  // An IEnumConnectionPoints over this one point, for the container.
  IEnumConnectionPoints* EnumerateAsContainer();

 private:
  IConnectionPointContainer* container_;
  IID events_;
  DWORD next_cookie_ = 1;
  std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
};

}  // namespace frame
