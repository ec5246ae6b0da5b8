// Writing and removing a component's registry entries: the class, its ProgID, the type
// library and its two interfaces, under HKLM\Software\Classes (machine) or
// HKCU\Software\Classes (the current user only, no administrator rights needed).
#pragma once

#include <windows.h>

namespace frame {

enum class RegistrationScope { Machine, User };

HRESULT RegisterComponent(RegistrationScope scope);
HRESULT UnregisterComponent(RegistrationScope scope);

}  // namespace frame
