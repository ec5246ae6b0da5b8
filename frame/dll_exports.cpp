// The standard entry points of an in-process server (exported through component.def).
#include <windows.h>
#include <unknwn.h>

#include "class_factory.h"
#include "module.h"
#include "registration.h"

using frame::RegistrationScope;

extern "C" {

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  const frame::ComponentInfo* c = frame::CurrentComponent();
  if (!c || clsid != *c->clsid) return CLASS_E_CLASSNOTAVAILABLE;
  return frame::TheClassFactory().QueryInterface(iid, out);
}

// True only when no object, enumerator, lock or window of this library is alive.
HRESULT WINAPI DllCanUnloadNow() { return frame::ModuleLockCount() == 0 ? S_OK : S_FALSE; }

HRESULT WINAPI DllRegisterServer() {
  HRESULT hr = frame::RegisterComponent(RegistrationScope::Machine);
  if (FAILED(hr)) frame::UnregisterComponent(RegistrationScope::Machine);
  return hr;
}

HRESULT WINAPI DllUnregisterServer() { return frame::UnregisterComponent(RegistrationScope::Machine); }

// regsvr32 /i:user registers for the current user only (with /n: without the machine
// entries), so that script authors without administrator rights can install.
HRESULT WINAPI DllInstall(BOOL install, LPCWSTR command_line) {
  RegistrationScope scope = RegistrationScope::Machine;
  if (command_line && lstrcmpiW(command_line, L"user") == 0) scope = RegistrationScope::User;
  else if (command_line && *command_line) return E_INVALIDARG;
  if (!install) return frame::UnregisterComponent(scope);
  HRESULT hr = frame::RegisterComponent(scope);
  if (FAILED(hr)) frame::UnregisterComponent(scope);
  return hr;
}

}  // extern "C"
