// fenster.exe: started by the user with /RegServer or /UnregServer, or by the platform
// with /Embedding to serve its clients.
#include <windows.h>

#include "frame/local_server.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  return frame::RunLocalServer(command_line);
}
