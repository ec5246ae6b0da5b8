// The class quillbox of fenster: the output dialog and the message window that all
// objects of the server share, the callbacks from them, the events and the waits.
#pragma once

#include <array>
#include <string>

#include "fenster_idl.h"
#include "frame/object.h"

namespace fenster {

class Fenster final : public frame::Component<Fenster, _quillbox>, public IExternalConnection {
  using Base = frame::Component<Fenster, _quillbox>;

 public:
  static constexpr size_t kTagSlots = 1001;  // lineTags: indices 0 to 1000

  // Whether a client process still holds a reference to this object.
  bool HasClients() const { return client_connections_ > 0; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return Base::QueryInterface(iid, out); }
  STDMETHODIMP_(ULONG) AddRef() override { return Base::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return Base::Release(); }
  void* Find(REFIID iid);

  // IExternalConnection: the platform counts the references that clients hold.
  STDMETHODIMP_(DWORD) AddConnection(DWORD type, DWORD) override;
  STDMETHODIMP_(DWORD) ReleaseConnection(DWORD type, DWORD, BOOL) override;

  // _quillbox, in its table order.
  STDMETHODIMP get_sleepwell(VARIANT_BOOL* value) override;
  STDMETHODIMP put_sleepwell(VARIANT_BOOL value) override;
  STDMETHODIMP ShowDialog(BSTR mycaption, BSTR mylabel, BSTR buttontext) override;
  STDMETHODIMP UpdateDialog(BSTR mycaption, BSTR mylabel, BSTR buttontext) override;
  STDMETHODIMP put_DialogButton(VARIANT_BOOL value) override;
  STDMETHODIMP get_DialogButton(VARIANT_BOOL* value) override;
  STDMETHODIMP put_DialogButtonText(BSTR value) override;
  STDMETHODIMP get_DialogButtonText(BSTR* value) override;
  STDMETHODIMP HideDialog() override;
  STDMETHODIMP DestroyDialog() override;
  STDMETHODIMP SetDialogButtonText(VARIANT* text) override;
  STDMETHODIMP ShowMessageBox(BSTR caption, BSTR buttontext) override;
  STDMETHODIMP put_MessageButton(VARIANT_BOOL value) override;
  STDMETHODIMP get_MessageButton(VARIANT_BOOL* value) override;
  STDMETHODIMP put_MessageButtonText(BSTR value) override;
  STDMETHODIMP get_MessageButtonText(BSTR* value) override;
  STDMETHODIMP SetMessageBoxCaption(BSTR caption) override;
  STDMETHODIMP HideMessageBox() override;
  STDMETHODIMP DestroyMessageBox() override;
  STDMETHODIMP WriteMessageBox(BSTR text) override;
  STDMETHODIMP WriteLine(BSTR s, BSTR tag) override;
  STDMETHODIMP SetDialogLabel(VARIANT* text) override;
  STDMETHODIMP SetDialogCaption(VARIANT* text) override;
  STDMETHODIMP ClearDialog() override;
  STDMETHODIMP Form1Click() override;
  STDMETHODIMP Form1Close() override;
  STDMETHODIMP Form2Close(short* mode) override;
  STDMETHODIMP GoToBed() override;
  STDMETHODIMP WakeUp() override;
  STDMETHODIMP HandleEvents() override;
  STDMETHODIMP MessageBoxSize(short breite, short hoehe, short align) override;
  STDMETHODIMP About() override;

 private:
  // The first four steps of ShowDialog: caption, label, hiding the button, its caption.
  void UpdateDialogTexts(BSTR mycaption, BSTR mylabel, BSTR buttontext);

  bool sleepwell_ = false;
  std::array<std::wstring, kTagSlots> line_tags_;
  DWORD client_connections_ = 0;
};

}  // namespace fenster
