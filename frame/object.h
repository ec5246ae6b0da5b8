// Base classes of every Automation object of the product.
//
// DispatchObject<Derived, Interface>: reference counting, QueryInterface and an
// IDispatch answered by the frame's dispatcher. Derived implements the dual interface's
// own members and names its dispatcher with `static const Dispatcher& TypeDispatcher()`
// and its interface with `static const IID& InterfaceId()`.
//
// Component<Derived, Interface>: the class `quillbox` of a component: a DispatchObject
// that also offers its events (IConnectionPointContainer with one connection point for
// the event interface), IProvideClassInfo2 and ISupportErrorInfo.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <initializer_list>
#include <new>

#include "connection_point.h"
#include "dispatcher.h"
#include "errors.h"
#include "module.h"
#include "type_library.h"
#include "values.h"

namespace frame {

template <class Derived, class Interface>
class DispatchObject : public Interface {
 public:
  DispatchObject() = default;
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;
  virtual ~DispatchObject() = default;

  // Creates an object with one reference held by the returned pointer.
  template <class... Args>
  static ComPtr<Derived> Create(Args&&... args) {
    return ComPtr<Derived>::Attach(new Derived(std::forward<Args>(args)...));
  }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = static_cast<Derived*>(this)->Find(iid);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return ULONG(n);
  }

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return Guarded([&] {
      *out = Derived::TypeDispatcher().type_info();
      (*out)->AddRef();
    });
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT hr = E_UNEXPECTED;
    HRESULT guard = Guarded([&] { hr = Derived::TypeDispatcher().GetIDsOfNames(names, count, ids); });
    return FAILED(guard) ? guard : hr;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excep, UINT* arg_err) override {
    // Keeps the object alive through a member that releases the script's last reference.
    ComPtr<Interface> self(this);
    HRESULT hr = E_UNEXPECTED;
    HRESULT guard = Guarded([&] {
      hr = Derived::TypeDispatcher().Invoke(static_cast<Interface*>(this), id, flags, params, result,
                                            excep, arg_err);
    });
    return FAILED(guard) ? guard : hr;
  }

 public:
  // The interfaces this object answers; Component extends it.
  void* Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == Derived::InterfaceId())
      return static_cast<Interface*>(this);
    return nullptr;
  }

 private:
  ModuleLock module_lock_;
  LONG refs_ = 1;
};

template <class Derived, class Interface>
class Component : public DispatchObject<Derived, Interface>,
                  public IProvideClassInfo2,
                  public IConnectionPointContainer,
                  public ISupportErrorInfo {
  using Base = DispatchObject<Derived, Interface>;

 public:
  Component() : events_(static_cast<IConnectionPointContainer*>(this), *CurrentComponent()->events) {}

  static const Dispatcher& TypeDispatcher() {
    return ComponentDispatcher();
  }
  static const IID& InterfaceId() { return *CurrentComponent()->iid; }

  // The factory's entry: a new object queried for `iid`.
  static HRESULT CreateInstance(REFIID iid, void** out) {
    return Guarded([&] {
      ComPtr<Derived> object = Base::Create();
      Check(object->QueryInterface(iid, out));
    });
  }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return Base::QueryInterface(iid, out); }
  STDMETHODIMP_(ULONG) AddRef() override { return Base::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Base::Release(); }

  // IProvideClassInfo2
  STDMETHODIMP GetClassInfo(ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Guarded([&] { *out = EmbeddedTypeInfo(kComponentTypeLibrary, *CurrentComponent()->clsid).detach(); });
  }
  STDMETHODIMP GetGUID(DWORD kind, GUID* out) override {
    if (!out) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *out = *CurrentComponent()->events;
    return S_OK;
  }

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override {
    return Guarded([&] { *out = events_.EnumerateAsContainer(); });
  }
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != *CurrentComponent()->events) return CONNECT_E_NOCONNECTION;
    *out = &events_;
    events_.AddRef();
    return S_OK;
  }

  // ISupportErrorInfo
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override {
    return iid == InterfaceId() ? S_OK : S_FALSE;
  }

  // Raises an event to every connected sink; arguments in their declared order.
  void RaiseEvent(DISPID id, std::initializer_list<VARIANT> args = {}) { events_.Raise(id, args); }

 public:
  void* Find(REFIID iid) {
    if (void* p = Base::Find(iid)) return p;
    if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2) return static_cast<IProvideClassInfo2*>(this);
    if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
    if (iid == IID_ISupportErrorInfo) return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
  }
 private:
  ConnectionPoint events_;
};

}  // namespace frame
