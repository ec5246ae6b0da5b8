#include "type_library.h"

#include <memory>
#include <string>

#include "errors.h"
#include "module.h"

namespace frame {

ComPtr<ITypeLib> LoadEmbeddedTypeLibrary(int resource) {
  std::wstring path = ModulePath();
  if (resource != 1) path += L"\\" + std::to_wstring(resource);
  ComPtr<ITypeLib> lib;
  Check(LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.put()));
  return lib;
}

ComPtr<ITypeInfo> EmbeddedTypeInfo(int resource, REFGUID guid) {
  ComPtr<ITypeInfo> info;
  Check(LoadEmbeddedTypeLibrary(resource)->GetTypeInfoOfGuid(guid, info.put()));
  return info;
}

Dispatcher* NewEmbeddedDispatcher(int resource, REFIID iid) {
  return new Dispatcher(EmbeddedTypeInfo(resource, iid).get());
}

const Dispatcher& ComponentDispatcher() {
  static const std::unique_ptr<Dispatcher> dispatcher(
      NewEmbeddedDispatcher(kComponentTypeLibrary, *CurrentComponent()->iid));
  return *dispatcher;
}

}  // namespace frame
