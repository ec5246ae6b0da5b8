// A heap COM object with one interface of its own: reference counting and
// QueryInterface, keeping the module loaded while it lives. For small helper objects
// (enumerators) that need no type information.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <unknwn.h>

#include <type_traits>

#include "module.h"

namespace frame {

template <class Interface, const IID* Iid>
class SimpleObject : public Interface {
 public:
  virtual ~SimpleObject() = default;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == *Iid || (std::is_base_of_v<IDispatch, Interface> && iid == IID_IDispatch)) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return ULONG(n);
  }

 private:
  ModuleLock module_lock_;
  LONG refs_ = 1;
};

// A sink for another object's event interface `Events` (a pure dispatch interface):
// the derived class answers Invoke; names and type information are not offered.
template <const IID* Events>
class EventSinkObject : public SimpleObject<IDispatch, Events> {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
};

}  // namespace frame
