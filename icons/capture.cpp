#include "capture.h"

#include <vector>

#include "frame/errors.h"

namespace icons {
namespace {

// The window's device context for as long as this lives.
class SourceDc {
 public:
  SourceDc(HWND window, bool client) : window_(window), dc_(client ? GetDC(window) : GetWindowDC(window)) {}
  SourceDc(const SourceDc&) = delete;
  SourceDc& operator=(const SourceDc&) = delete;
  ~SourceDc() { if (dc_) ReleaseDC(window_, dc_); }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The system palette as a logical palette, for a source with exactly 256 palette entries.
Palette SystemPalette(HDC source) {
  const bool palette_device = (GetDeviceCaps(source, RASTERCAPS) & RC_PALETTE) != 0;
  if (!palette_device || GetDeviceCaps(source, SIZEPALETTE) != 256) return {};
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = 256;
  GetSystemPaletteEntries(source, 0, 256, logical->palPalEntry);
  return Palette(CreatePalette(logical));
}

// The palette stays selected in the memory context while the copy is made.
class SelectedPalette {
 public:
  SelectedPalette(HDC dc, HPALETTE palette)
      : dc_(dc), old_(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {
    if (palette) RealizePalette(dc);
  }
  SelectedPalette(const SelectedPalette&) = delete;
  SelectedPalette& operator=(const SelectedPalette&) = delete;
  ~SelectedPalette() { if (old_) SelectPalette(dc_, old_, FALSE); }

 private:
  HDC dc_;
  HPALETTE old_;
};

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace

frame::ComPtr<IPictureDisp> CreateBitmapPicture(HBITMAP bitmap, HPALETTE palette) {
  PICTDESC description{};
  description.cbSizeofstruct = sizeof description;
  description.picType = PICTYPE_BITMAP;
  description.bmp.hbitmap = bitmap;
  description.bmp.hpal = palette;
  frame::ComPtr<IPictureDisp> picture;
  if (FAILED(OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, picture.put_void()))) {
    // The picture would have owned them.
    if (bitmap) DeleteObject(bitmap);
    if (palette) DeleteObject(palette);
    return {};
  }
  return picture;
}

Copy CopyWindow(HWND window, bool client, long left, long top, long width, long height) {
  SourceDc source(window, client);
  if (!source.get()) frame::Raise(frame::kInvalidCall);
  frame::MemoryDc memory(CreateCompatibleDC(source.get()));
  Copy copy{frame::Bitmap(CreateCompatibleBitmap(source.get(), width, height)), SystemPalette(source.get())};
  if (!memory || !copy.bitmap) frame::Raise(frame::kInvalidCall);
  frame::SelectedObject selected(memory.get(), copy.bitmap.get());
  SelectedPalette realized(memory.get(), copy.palette.get());
  BitBlt(memory.get(), 0, 0, width, height, source.get(), left, top, SRCCOPY);
  return copy;  // the bitmap and palette are selected out before the DCs go
}

RECT ClipRectToScreen(RECT r) {
  const long sw = ScreenWidth(), sh = ScreenHeight();
  long width = r.right - r.left;
  if (r.left < 0) width += r.left;
  if (r.right > sw) width -= r.right - sw;
  long height = r.bottom - r.top;
  if (r.top < 0) height += r.top;
  if (r.bottom > sh) height -= r.bottom - sh;
  return RECT{r.left < 0 ? -r.left : 0, r.top < 0 ? -r.top : 0, width, height};
}

Copy CopyScreen() { return CopyWindow(GetDesktopWindow(), false, 0, 0, ScreenWidth(), ScreenHeight()); }

Copy CopyWindowHandle(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  const RECT source = ClipRectToScreen(r);
  // No window, or none of it on the primary screen: nothing to copy.
  if (source.right <= 0 || source.bottom <= 0) frame::Raise(frame::kInvalidCall);
  return CopyWindow(window, false, source.left, source.top, source.right, source.bottom);
}

Copy CopyActiveWindow() { return CopyWindowHandle(GetForegroundWindow()); }

void Delay(const VARIANT& seconds) {
  const VARIANT* plain = &seconds;
  while (plain->vt == (VT_BYREF | VT_VARIANT) && plain->pvarVal) plain = plain->pvarVal;
  frame::Variant value, thousand = frame::Variant::Long(1000), product, milliseconds;
  if (FAILED(VariantCopyInd(&value, const_cast<VARIANT*>(plain)))) frame::Raise(frame::kTypeMismatch);
  if (value.vt == VT_NULL) frame::Raise(frame::kInvalidUseOfNull);
  // The product is a Variant too, so it is not limited to 16 bits.
  if (FAILED(VarMul(&value, &thousand, &product))) frame::Raise(frame::kTypeMismatch);
  HRESULT hr = milliseconds.ChangeTypeFrom(product, VT_I4);  // rounds halves to even
  if (hr == DISP_E_OVERFLOW) frame::Raise(frame::kOverflow);
  if (FAILED(hr)) frame::Raise(frame::kTypeMismatch);
  // A negative wait would be a sleep of many days.
  if (milliseconds.lVal < 0) frame::Raise(frame::kInvalidCall);
  Sleep(DWORD(milliseconds.lVal));
}

}  // namespace icons
