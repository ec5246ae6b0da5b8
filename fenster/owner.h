// The owner of a window: the object that last showed it. The window keeps a counted
// reference to it and calls back into it by member name through its dispatch interface,
// as any client would.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

#include "frame/values.h"

namespace fenster {

class Fenster;

class OwnerSlot {
 public:
  OwnerSlot();
  OwnerSlot(const OwnerSlot&) = delete;
  OwnerSlot& operator=(const OwnerSlot&) = delete;
  ~OwnerSlot();

  void Set(Fenster* owner);
  Fenster* get() const { return owner_.get(); }

  // owner.name(args...) when there is an owner; a failure of the callback is ignored,
  // since the window event that made it has no caller to report to.
  void Call(const wchar_t* name, std::vector<frame::Variant> args = {}) const;

  // Drops the owner when no client holds it any more and its window is not loaded:
  // nothing could reach it again, and it must not keep the server running.
  void ForgetIfUnreachable(bool window_loaded);

 private:
  frame::ComPtr<Fenster> owner_;
};

// Runs ForgetIfUnreachable on the owners of both windows.
void ForgetUnreachableOwners();

}  // namespace fenster
