// What a component tells the frame about itself, and the module-wide counts of live
// objects and windows that decide when a library may unload or a server may end.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <string>

namespace frame {

enum class ServerKind { InProcess, LocalServer };

struct ComponentInfo {
  const wchar_t* library;  // type library name: the ProgID is "<library>.quillbox"
  const wchar_t* title;    // application title of message boxes
  const CLSID* clsid;
  const GUID* libid;
  const IID* iid;          // the dual interface _quillbox
  const IID* events;       // the event interface __quillbox
  WORD major, minor;       // type library version
  ServerKind kind;
  // Creates a new object of the class and queries it for `iid`.
  HRESULT (*create)(REFIID iid, void** out);
};

// Each component names itself once with QUILLBOX_COMPONENT(info) in its module file.
struct ComponentRegistrar {
  explicit ComponentRegistrar(const ComponentInfo& c);
};
#define QUILLBOX_COMPONENT(info) \
  static const ::frame::ComponentRegistrar quillbox_component_registrar_{info}

// The usual case in one line: type library `library` (version 1.0) as widl names its
// identifiers, the application title, the kind of server and the class `Class`.
#define QUILLBOX_DEFINE_COMPONENT(library, title, kind, Class)                                    \
  static const ::frame::ComponentInfo quillbox_component_info_ = {                                \
      L## #library, title, &CLSID_quillbox, &LIBID_##library, &IID__quillbox, &DIID___quillbox, \
      1, 0, kind, &Class::CreateInstance};                                                        \
  QUILLBOX_COMPONENT(quillbox_component_info_)

const ComponentInfo* CurrentComponent();
std::wstring ProgId();
const wchar_t* ApplicationTitle();

HMODULE ThisModule();
std::wstring ModulePath();

// Live objects and windows (and class-factory locks) of this module.
void LockModule();
void UnlockModule();
LONG ModuleLockCount();

// Keeps the module loaded (and a local server running) while it lives.
class ModuleLock {
 public:
  ModuleLock() { LockModule(); }
  ModuleLock(const ModuleLock&) { LockModule(); }
  ModuleLock& operator=(const ModuleLock&) = default;
  ~ModuleLock() { UnlockModule(); }
};

}  // namespace frame
