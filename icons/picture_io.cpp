#include "picture_io.h"

#include <cstring>
#include <string>
#include <vector>

#include "frame/errors.h"
#include "frame/values.h"

namespace icons {
namespace {

// Holds the clipboard open for one operation. The owner is a message-only window of
// its own so that SetClipboardData has an owner on every platform; the data placed
// (not delayed-rendered) stays on the clipboard when the window goes.
class OpenedClipboard {
 public:
  OpenedClipboard()
      : owner_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {
    // Another program may hold the clipboard for a moment.
    for (int attempt = 0; attempt < 100 && !open_; ++attempt) {
      open_ = OpenClipboard(owner_.get()) != FALSE;
      if (!open_) Sleep(10);
    }
    if (!open_) frame::RaiseHresult(HRESULT_FROM_WIN32(GetLastError()), L"Die Zwischenablage ist belegt.");
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() { CloseClipboard(); }

 private:
  frame::Window owner_;
  bool open_ = false;
};

[[noreturn]] void RaiseFileError(DWORD code) {
  switch (code) {
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      frame::Raise(76, L"Path not found");
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      frame::Raise(70, L"Permission denied");
    default:
      frame::Raise(75, L"Path/File access error");
  }
}

// The bitmap as a complete BMP file image: file header, info header, colour table, bits.
std::vector<BYTE> BitmapFileImage(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) frame::Raise(frame::kInvalidCall);
  // 32-bit pictures are written with 24 bits: the fourth byte would be read as an
  // alpha channel by some programs, and screen copies carry none.
  WORD bits = bm.bmBitsPixel * bm.bmPlanes;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16) bits = 24;
  const DWORD colours = bits <= 8 ? (1u << bits) : 0;
  const DWORD stride = ((DWORD(bm.bmWidth) * bits + 31) / 32) * 4;
  const DWORD image_size = stride * DWORD(bm.bmHeight);
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);

  std::vector<BYTE> file(offset + image_size);
  auto* header = reinterpret_cast<BITMAPFILEHEADER*>(file.data());
  header->bfType = 0x4D42;  // "BM"
  header->bfSize = DWORD(file.size());
  header->bfOffBits = offset;
  // GetDIBits fills the info header's colour table right behind it.
  auto* info = reinterpret_cast<BITMAPINFO*>(file.data() + sizeof(BITMAPFILEHEADER));
  info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info->bmiHeader.biWidth = bm.bmWidth;
  info->bmiHeader.biHeight = bm.bmHeight;
  info->bmiHeader.biPlanes = 1;
  info->bmiHeader.biBitCount = bits;
  info->bmiHeader.biCompression = BI_RGB;
  info->bmiHeader.biSizeImage = image_size;
  frame::WindowDc screen(nullptr);
  if (!GetDIBits(screen.get(), bitmap, 0, UINT(bm.bmHeight), file.data() + offset, info, DIB_RGB_COLORS))
    frame::Raise(frame::kInvalidCall);
  info->bmiHeader.biClrUsed = colours;
  return file;
}

}  // namespace

void ClearClipboard() {
  OpenedClipboard clipboard;
  EmptyClipboard();
}

void PutOnClipboard(frame::Bitmap&& bitmap) {
  if (!bitmap) frame::Raise(frame::kInvalidCall);
  OpenedClipboard clipboard;
  EmptyClipboard();
  // On success the clipboard owns the bitmap.
  if (SetClipboardData(CF_BITMAP, bitmap.get())) bitmap.release();
  else frame::RaiseHresult(HRESULT_FROM_WIN32(GetLastError()));
}

void PutCopyOnClipboard(HBITMAP bitmap) {
  if (!bitmap) frame::Raise(frame::kInvalidCall);
  frame::Bitmap copy(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)));
  PutOnClipboard(std::move(copy));
}

void SaveBitmapFile(HBITMAP bitmap, std::wstring_view path) {
  const std::vector<BYTE> image = BitmapFileImage(bitmap);
  const std::wstring name(path);
  if (name.empty()) RaiseFileError(ERROR_INVALID_NAME);
  frame::FileHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) RaiseFileError(GetLastError());
  DWORD written = 0;
  if (!WriteFile(file.get(), image.data(), DWORD(image.size()), &written, nullptr) || written != image.size())
    RaiseFileError(GetLastError());
}

}  // namespace icons
