#include "class_factory.h"

#include "module.h"

namespace frame {

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  const ComponentInfo* c = CurrentComponent();
  return c ? c->create(iid, out) : E_UNEXPECTED;
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock) LockModule(); else UnlockModule();
  return S_OK;
}

ClassFactory& TheClassFactory() {
  static ClassFactory factory;
  return factory;
}

}  // namespace frame
