#include "dial_up.h"

#include <windows.h>
#include <wininet.h>

#include "frame/late_binding.h"
#include "last_error.h"

namespace internet {
namespace {

constexpr wchar_t kAutoConnect[] =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\AutoConnect";

void ClearAutoConnect() {
  frame::ComPtr<IDispatch> shell = frame::CreateByProgId(L"WScript.Shell");
  frame::CallByName(shell.get(), L"RegWrite",
                    {frame::Variant::Text(kAutoConnect), frame::Variant::Int(0), frame::Variant::Text(L"REG_DWORD")});
}

}  // namespace

bool Dial(bool set_auto_connect) {
  const bool dialled = InternetAutodial(INTERNET_AUTODIAL_FORCE_UNATTENDED, nullptr) != FALSE;
  StoreLastError();
  if (set_auto_connect) ClearAutoConnect();
  return dialled;
}

bool HangUp() {
  const bool done = InternetAutodialHangup(0) != FALSE;
  StoreLastError();
  return done;
}

long ConnectionFlags() {
  DWORD flags = 0;
  InternetGetConnectedState(&flags, 0);
  StoreLastError();
  return static_cast<long>(flags);
}

}  // namespace internet
