// Support for the icons tests: fixture paths, pictures read back from bitmap files and
// the clipboard, and painted test windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "testing/automation.h"
#include "testing/window_driver.h"

namespace icontest {

using namespace qbtest;

// A file built by the test build (the libraries with 3 and 5 icons).
std::wstring Fixture(const wchar_t* name);
// A path in this test program's own temporary directory.
std::wstring TempPath(const std::wstring& name);
void WriteTextFile(const std::wstring& path, const std::string& text);
bool FileExists(const std::wstring& path);

// The colours of fixture icon k: its upper half and its lower half.
COLORREF TopColour(int k);
COLORREF BottomColour(int k);
COLORREF WindowColour();

// A picture as RGB values, row 0 at the top.
struct Pixels {
  int width = 0, height = 0;
  std::vector<COLORREF> rgb;
  COLORREF at(int x, int y) const { return rgb[size_t(y) * size_t(width) + size_t(x)]; }
};
Pixels ReadBitmapFile(const std::wstring& path);  // 24 or 32 bits per pixel, BI_RGB
Pixels ReadBitmap(HBITMAP bitmap);
Pixels ClipboardBitmap();  // width 0 when the clipboard holds no bitmap

// The process's live GDI objects (bitmaps, DCs, palettes, ...) and USER objects
// (windows, icons, cursors). The platform's own counts are used where it keeps them;
// where it reports none (Wine), its handle tables are probed, since a bare table index
// names the live object at that position there.
int LiveGdiObjects();
int LiveUserObjects();

void PutTextOnClipboard(const std::wstring& text);
std::wstring ClipboardText();  // "" when there is none
bool ClipboardIsEmpty();

// A visible top-level window without frame whose columns left of `split` are red and
// the others blue; a child button when `with_button` (at 10,10, 80 x 30).
class PaintedWindow {
 public:
  PaintedWindow(RECT r, const wchar_t* title, int split = 100, bool with_button = false);
  ~PaintedWindow();
  HWND get() const { return window_; }
  HWND button() const { return button_; }
  LONG handle() const { return HandleToLong(window_); }

 private:
  HWND window_ = nullptr;
  HWND button_ = nullptr;
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

}  // namespace icontest
