// The type libraries embedded in this module: resource TYPELIB 1 is the component's
// own, TYPELIB 2 the frame's (the collection object).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "dispatcher.h"
#include "values.h"

namespace frame {

constexpr int kComponentTypeLibrary = 1;
constexpr int kFrameTypeLibrary = 2;

// Loads an embedded type library (kept by the platform's cache). Throws on failure.
ComPtr<ITypeLib> LoadEmbeddedTypeLibrary(int resource);
ComPtr<ITypeInfo> EmbeddedTypeInfo(int resource, REFGUID guid);

// The dispatcher of the component's dual interface, built once per process.
const Dispatcher& ComponentDispatcher();
// A dispatcher for interface `iid` of an embedded type library; the caller keeps it.
Dispatcher* NewEmbeddedDispatcher(int resource, REFIID iid);

}  // namespace frame
