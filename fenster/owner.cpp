#include "owner.h"

#include "fenster.h"
#include "frame/late_binding.h"
#include "message_window.h"
#include "output_dialog.h"

namespace fenster {

OwnerSlot::OwnerSlot() = default;
OwnerSlot::~OwnerSlot() = default;

void OwnerSlot::Set(Fenster* owner) { owner_ = frame::ComPtr<Fenster>(owner); }

void OwnerSlot::Call(const wchar_t* name, std::vector<frame::Variant> args) const {
  // A copy: the callback may make another object the owner while it runs.
  frame::ComPtr<Fenster> owner = owner_;
  if (owner) frame::TryCallByName(static_cast<_quillbox*>(owner.get()), name, std::move(args));
}

void OwnerSlot::ForgetIfUnreachable(bool window_loaded) {
  if (owner_ && !window_loaded && !owner_->HasClients()) owner_.reset();
}

void ForgetUnreachableOwners() {
  OutputDialog& dialog = OutputDialog::Instance();
  MessageWindow& message = MessageWindow::Instance();
  dialog.owner().ForgetIfUnreachable(dialog.loaded());
  message.owner().ForgetIfUnreachable(message.loaded());
}

}  // namespace fenster
