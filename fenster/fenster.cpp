#include "fenster.h"

#include "frame/about_box.h"
#include "frame/conversions.h"
#include "frame/message_box.h"
#include "message_window.h"
#include "output_dialog.h"

namespace fenster {
namespace {

QUILLBOX_DEFINE_COMPONENT(fenster, L"ausgabefenster", frame::ServerKind::LocalServer, Fenster);

OutputDialog& Dialog() { return OutputDialog::Instance(); }
MessageWindow& Message() { return MessageWindow::Instance(); }

VARIANT_BOOL AsBool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

// The text of a by-reference Variant argument; the caller's variable stays unchanged.
std::wstring TextOf(const VARIANT* text) {
  if (!text) frame::Raise(frame::kInvalidCall);
  return frame::ToText(*text);
}

}  // namespace

void* Fenster::Find(REFIID iid) {
  if (iid == IID_IExternalConnection) return static_cast<IExternalConnection*>(this);
  return Base::Find(iid);
}

STDMETHODIMP_(DWORD) Fenster::AddConnection(DWORD type, DWORD) {
  if (type & EXTCONN_STRONG) ++client_connections_;
  return client_connections_;
}

STDMETHODIMP_(DWORD) Fenster::ReleaseConnection(DWORD type, DWORD, BOOL) {
  if ((type & EXTCONN_STRONG) && client_connections_ > 0 && --client_connections_ == 0) {
    frame::ComPtr<_quillbox> self(this);  // a window may hold the last other reference
    ForgetUnreachableOwners();
  }
  return client_connections_;
}

STDMETHODIMP Fenster::get_sleepwell(VARIANT_BOOL* value) {
  return frame::Guarded([&] { *value = AsBool(sleepwell_); });
}

STDMETHODIMP Fenster::put_sleepwell(VARIANT_BOOL value) {
  return frame::Guarded([&] { sleepwell_ = value != VARIANT_FALSE; });
}

// The output dialog.

STDMETHODIMP Fenster::ShowDialog(BSTR mycaption, BSTR mylabel, BSTR buttontext) {
  return frame::Guarded([&] {
    UpdateDialogTexts(mycaption, mylabel, buttontext);
    Dialog().owner().Set(this);
    Dialog().Show();
  });
}

STDMETHODIMP Fenster::UpdateDialog(BSTR mycaption, BSTR mylabel, BSTR buttontext) {
  return frame::Guarded([&] { UpdateDialogTexts(mycaption, mylabel, buttontext); });
}

void Fenster::UpdateDialogTexts(BSTR mycaption, BSTR mylabel, BSTR buttontext) {
  Dialog().SetCaption(frame::View(mycaption));
  Dialog().SetLabel(frame::View(mylabel));
  if (frame::View(buttontext).empty()) Dialog().SetButtonVisible(false);
  Dialog().SetButtonText(frame::View(buttontext));
}

STDMETHODIMP Fenster::put_DialogButton(VARIANT_BOOL value) {
  return frame::Guarded([&] { Dialog().SetButtonVisible(value != VARIANT_FALSE); });
}

STDMETHODIMP Fenster::get_DialogButton(VARIANT_BOOL* value) {
  return frame::Guarded([&] { *value = AsBool(Dialog().ButtonVisible()); });
}

STDMETHODIMP Fenster::put_DialogButtonText(BSTR value) {
  return frame::Guarded([&] { Dialog().SetButtonText(frame::View(value)); });
}

STDMETHODIMP Fenster::get_DialogButtonText(BSTR* value) {
  return frame::Guarded([&] { *value = frame::AllocBstr(Dialog().ButtonText()); });
}

STDMETHODIMP Fenster::HideDialog() {
  return frame::Guarded([&] { Dialog().Hide(); });
}

STDMETHODIMP Fenster::DestroyDialog() {
  return frame::Guarded([&] { Dialog().Unload(); });
}

STDMETHODIMP Fenster::SetDialogButtonText(VARIANT* text) {
  return frame::Guarded([&] { Dialog().SetButtonText(TextOf(text)); });
}

STDMETHODIMP Fenster::SetDialogLabel(VARIANT* text) {
  return frame::Guarded([&] { Dialog().SetLabel(TextOf(text)); });
}

STDMETHODIMP Fenster::SetDialogCaption(VARIANT* text) {
  return frame::Guarded([&] { Dialog().SetCaption(TextOf(text)); });
}

STDMETHODIMP Fenster::WriteLine(BSTR s, BSTR tag) {
  return frame::Guarded([&] {
    const size_t index = size_t(Dialog().AddLine(frame::View(s)));
    if (index >= line_tags_.size()) frame::Raise(frame::kSubscriptOutOfRange);
    line_tags_[index] = frame::View(tag);
  });
}

STDMETHODIMP Fenster::ClearDialog() {
  return frame::Guarded([&] { Dialog().Clear(); });
}

// The message window.

STDMETHODIMP Fenster::ShowMessageBox(BSTR caption, BSTR buttontext) {
  return frame::Guarded([&] {
    Message().owner().Set(this);
    if (frame::View(buttontext).empty()) Message().SetButtonVisible(false);
    Message().SetButtonText(frame::View(buttontext));
    Message().SetCaption(frame::View(caption));
    Message().Show();
  });
}

STDMETHODIMP Fenster::put_MessageButton(VARIANT_BOOL value) {
  return frame::Guarded([&] { Message().SetButtonVisible(value != VARIANT_FALSE); });
}

STDMETHODIMP Fenster::get_MessageButton(VARIANT_BOOL* value) {
  return frame::Guarded([&] { *value = AsBool(Message().ButtonVisible()); });
}

STDMETHODIMP Fenster::put_MessageButtonText(BSTR value) {
  return frame::Guarded([&] { Message().SetButtonText(frame::View(value)); });
}

STDMETHODIMP Fenster::get_MessageButtonText(BSTR* value) {
  return frame::Guarded([&] { *value = frame::AllocBstr(Message().ButtonText()); });
}

STDMETHODIMP Fenster::SetMessageBoxCaption(BSTR caption) {
  return frame::Guarded([&] { Message().SetCaption(frame::View(caption)); });
}

STDMETHODIMP Fenster::HideMessageBox() {
  return frame::Guarded([&] { Message().Hide(); });
}

STDMETHODIMP Fenster::DestroyMessageBox() {
  return frame::Guarded([&] { Message().Unload(); });
}

STDMETHODIMP Fenster::WriteMessageBox(BSTR text) {
  return frame::Guarded([&] { Message().SetLabel(frame::View(text)); });
}

STDMETHODIMP Fenster::MessageBoxSize(short breite, short hoehe, short align) {
  return frame::Guarded([&] {
    if (breite < 10 || hoehe < 10 || breite > 100 || hoehe > 100) {
      frame::ShowWarning(L"Ung\u00FCltige Dimensionen!");
      return;
    }
    Message().SetSizePercent(breite, hoehe);
    Message().SetAlignment(align);
  });
}

STDMETHODIMP Fenster::About() {
  return frame::Guarded([] { frame::ShowAboutBox(); });
}

}  // namespace fenster
