// An out-of-process server's life: registration switches, the class object registered
// for multiple use, the message loop of its one user-interface thread, and its end when
// no client holds an object and no window of it is loaded.
#pragma once

#include <windows.h>

namespace frame {

// Runs the server for the command line of a program started by the user or by COM
// ("/RegServer", "/UnregServer", "/RegServer user", "/Embedding"). Returns the exit code.
int RunLocalServer(const wchar_t* command_line);

// Called by the module when its last object, lock or window is gone.
void OnLastLockReleased();

}  // namespace frame
