#include "last_error.h"

#include <winsock2.h>
#include <windows.h>

namespace internet {
namespace {

thread_local long last_error = 0;

}  // namespace

long LastError() { return last_error; }

void StoreLastError() { last_error = static_cast<long>(::GetLastError()); }

void StoreWinsockError() { last_error = static_cast<long>(::WSAGetLastError()); }

}  // namespace internet
