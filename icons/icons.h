// The class quillbox of icons: icon resources, the icon selection dialog, window
// look-up and capture.
#pragma once

#include "frame/object.h"
#include "icons_idl.h"

namespace icons {

class Icons final : public frame::Component<Icons, _quillbox> {
 public:
  // Icon resources
  STDMETHODIMP GetIconNumber(BSTR name, LONG* result) override;
  STDMETHODIMP UpdateIconCache() override;
  STDMETHODIMP SetIconSize(short size, VARIANT_BOOL relative, VARIANT* result) override;
  STDMETHODIMP PickIcon(BSTR path, LONG* index, BSTR* result) override;
  STDMETHODIMP FlushIconCache() override;
  // The icon selection dialog
  STDMETHODIMP ShowIconDialog(VARIANT* ergebnis, BSTR okbutton, BSTR cancelbutton, VARIANT_BOOL* result) override;
  STDMETHODIMP SelectIconFile(BSTR pfad, short* result) override;
  STDMETHODIMP SetIconDialogLabel(BSTR text) override;
  STDMETHODIMP SetIconDialogCaption(BSTR text) override;
  STDMETHODIMP SetIconDialogMode(VARIANT_BOOL modus) override;
  // The hidden picture (the platform headers make LoadIcon a macro; it expands alike here)
  STDMETHODIMP LoadIcon(BSTR dateiname, short index, short* result) override;
  STDMETHODIMP IconToClip() override;
  STDMETHODIMP IconToFile(BSTR name) override;
  STDMETHODIMP RefreshDesktop() override;
  // Capture and window look-up
  STDMETHODIMP CaptureWindowToClip(VARIANT* handle) override;
  STDMETHODIMP GetCursorWindow(short delay, LONG* result) override;
  STDMETHODIMP CaptureHandleToClip(LONG handle) override;
  STDMETHODIMP CaptureCursorToClip(short delay, VARIANT* result) override;
  STDMETHODIMP CaptureCursorToFile(BSTR path, short delay, VARIANT* result) override;
  STDMETHODIMP CaptureCursorChildToClip(short delay, VARIANT* result) override;
  STDMETHODIMP CaptureWindowToFile(VARIANT* handle, VARIANT* name, VARIANT* result) override;
  STDMETHODIMP CaptureScreenToClip(VARIANT* result) override;
  STDMETHODIMP CaptureScreenToFile(VARIANT* name, VARIANT* result) override;
  STDMETHODIMP CaptureActiveWindowToClip(short secs, VARIANT* result) override;
  STDMETHODIMP CaptureActiveWindowToFile(BSTR name, short secs, VARIANT* result) override;
  STDMETHODIMP delay(VARIANT* secs) override;
  STDMETHODIMP CaptureWindow(LONG window, VARIANT_BOOL client, LONG left, LONG top, LONG width, LONG height,
                             IPictureDisp** result) override;
  STDMETHODIMP CreateBitmapPicture(LONG bitmap, LONG palette, IPictureDisp** result) override;
  STDMETHODIMP FindWindowHandle(BSTR name, LONG* result) override;
  STDMETHODIMP CursorToClip(LONG cursortype) override;
  STDMETHODIMP About() override;
  STDMETHODIMP version(LONG* result) override;

 private:
  // The object's hidden picture: the bitmap of the last LoadIcon that drew, or none.
  frame::Bitmap icon_picture_;
};

}  // namespace icons
