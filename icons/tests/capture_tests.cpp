// Copies of the screen and of windows on the clipboard, in bitmap files and as
// picture objects, checked on the real (virtual) screen.
#include <gtest/gtest.h>

#include <olectl.h>

#include <chrono>

#include "icons_test_support.h"

using namespace icontest;

namespace {

class Capture : public ::testing::Test {
 protected:
  ComPtr<IDispatch> icons = CreateObject(L"icons.quillbox");
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
};

int CountColour(const Pixels& p, int x0, int x1, int y, COLORREF c) {
  int n = 0;
  for (int x = x0; x < x1; ++x) n += p.at(x, y) == c;
  return n;
}

}  // namespace

TEST_F(Capture, ScreenToFileHasTheScreenSize) {
  const std::wstring file = TempPath(L"screen.bmp");
  Variant name = Text(file);
  auto r = Call(icons.get(), L"CaptureScreenToFile", {RefTo(&name)});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.value.vt, VT_EMPTY);
  Pixels p = ReadBitmapFile(file);
  EXPECT_EQ(p.width, sw);
  EXPECT_EQ(p.height, sh);
}

TEST_F(Capture, ScreenToClipHasTheScreenSize) {
  ASSERT_TRUE(Call(icons.get(), L"CaptureScreenToClip").ok());
  Pixels p = ClipboardBitmap();
  EXPECT_EQ(p.width, sw);
  EXPECT_EQ(p.height, sh);
}

// A window reaching past an edge is copied only as far as it shows, from the matching
// offset inside it: its left 100 columns are red, so 50 red columns remain when 50 of
// them are off the screen.
TEST_F(Capture, WindowsAreCutAtTheScreenEdges) {
  const struct {
    RECT rect;
    int width, height, red_columns;
  } cases[] = {
      {{-50, 100, 250, 300}, 250, 200, 50},                       // left edge
      {{sw - 250, 100, sw + 50, 300}, 250, 200, 100},             // right edge
      {{100, sh - 150, 400, sh + 50}, 300, 150, 100},             // bottom edge
      {{-50, -30, 250, 170}, 250, 170, 50},                       // upper left corner
  };
  for (const auto& c : cases) {
    PaintedWindow window(c.rect, L"Randfenster");
    Variant handle = Long(window.handle());
    ASSERT_TRUE(Call(icons.get(), L"CaptureWindowToClip", {RefTo(&handle)}).ok());
    Pixels p = ClipboardBitmap();
    ASSERT_EQ(p.width, c.width) << c.rect.left << "," << c.rect.top;
    ASSERT_EQ(p.height, c.height) << c.rect.left << "," << c.rect.top;
    const int y = p.height / 2;
    EXPECT_EQ(CountColour(p, 0, c.red_columns, y, kRed), c.red_columns) << c.rect.left;
    EXPECT_EQ(CountColour(p, c.red_columns, p.width, y, kBlue), p.width - c.red_columns) << c.rect.left;

    const std::wstring file = TempPath(L"window.bmp");
    Variant name = Text(file);
    ASSERT_TRUE(Call(icons.get(), L"CaptureWindowToFile", {RefTo(&handle), RefTo(&name)}).ok());
    Pixels f = ReadBitmapFile(file);
    EXPECT_EQ(f.width, c.width);
    EXPECT_EQ(f.height, c.height);
  }
}

TEST_F(Capture, NoWindowToCopy) {
  PaintedWindow off_screen({-1000, 100, -700, 300}, L"Abseits");
  for (LONG handle : {0L, off_screen.handle(), 0x7FFF0000L}) {
    PutTextOnClipboard(L"vorher");
    Variant h = Long(handle);
    EXPECT_EQ(Call(icons.get(), L"CaptureWindowToClip", {RefTo(&h)}).error(), 5) << handle;
    EXPECT_TRUE(ClipboardIsEmpty()) << handle;  // emptied before the copy was tried
    const std::wstring file = TempPath(L"none.bmp");
    Variant name = Text(file);
    EXPECT_EQ(Call(icons.get(), L"CaptureWindowToFile", {RefTo(&h), RefTo(&name)}).error(), 5) << handle;
    EXPECT_FALSE(FileExists(file));
  }
}

TEST_F(Capture, WrongArgumentTypesStopBeforeTheClipboard) {
  PutTextOnClipboard(L"vorher");
  Variant handle = Text(L"kein Handle");
  EXPECT_EQ(Call(icons.get(), L"CaptureWindowToClip", {RefTo(&handle)}).error(), 13);
  EXPECT_EQ(ClipboardText(), L"vorher");
  Variant name = Null();
  EXPECT_EQ(Call(icons.get(), L"CaptureScreenToFile", {RefTo(&name)}).error(), 94);
  Variant bad_path = Text(TempPath(L"no such dir\\screen.bmp"));
  EXPECT_EQ(Call(icons.get(), L"CaptureScreenToFile", {RefTo(&bad_path)}).error(), 76);
}

TEST_F(Capture, HandleZeroOnlyWarns) {
  // The box stays up for a while, during which another program on the same display may
  // take the clipboard over; a second attempt tells that apart from a fault of ours.
  std::vector<MessageBoxWatcher::Box> boxes;
  std::wstring after;
  for (int attempt = 0; attempt < 2 && after != L"vorher"; ++attempt) {
    PutTextOnClipboard(L"vorher");
    MessageBoxWatcher watcher;
    ASSERT_TRUE(Call(icons.get(), L"CaptureHandleToClip", {Long(0)}).ok());
    boxes = watcher.WaitForBoxes(1);
    after = ClipboardText();
  }
  EXPECT_EQ(after, L"vorher");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, L"pictoria");
  EXPECT_EQ(boxes[0].text, L"Fenster-Handle war 0!");
  EXPECT_FALSE(boxes[0].exclamation);

  PaintedWindow window({100, 100, 260, 220}, L"Per Handle");
  ASSERT_TRUE(Call(icons.get(), L"CaptureHandleToClip", {Long(window.handle())}).ok());
  EXPECT_EQ(ClipboardBitmap().width, 160);
}

TEST_F(Capture, WindowAndChildUnderThePointer) {
  PaintedWindow window({200, 200, 500, 400}, L"Zeigerziel", 100, true);
  const std::wstring file = TempPath(L"cursor.bmp");
  const struct {
    POINT at;
    const wchar_t* member;
    int width, height;
  } cases[] = {
      {{230, 220}, L"CaptureCursorToClip", 80, 30},        // the button, whole
      {{230, 220}, L"CaptureCursorChildToClip", 80, 30},   // the button itself
      {{400, 350}, L"CaptureCursorToClip", 300, 200},      // the window, whole
      {{400, 350}, L"CaptureCursorChildToClip", 300, 200}, // no child there: the window
  };
  for (const auto& c : cases) {
    SetCursorPos(c.at.x, c.at.y);
    auto r = Call(icons.get(), c.member, {Variant::Int(0)});
    ASSERT_TRUE(r.ok()) << Narrow(c.member);
    EXPECT_EQ(r.value.vt, VT_BOOL);
    EXPECT_EQ(r.value.boolVal, VARIANT_TRUE);
    Pixels p = ClipboardBitmap();
    EXPECT_EQ(p.width, c.width) << Narrow(c.member) << " at " << c.at.x;
    EXPECT_EQ(p.height, c.height) << Narrow(c.member) << " at " << c.at.x;
  }
  SetCursorPos(400, 350);
  auto r = Call(icons.get(), L"CaptureCursorToFile", {Text(file), Variant::Int(0)});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.value.boolVal, VARIANT_TRUE);
  EXPECT_EQ(ReadBitmapFile(file).width, 300);
  EXPECT_EQ(Call(icons.get(), L"CaptureCursorToClip", {Variant::Int(33)}).error(), 6);
}

TEST_F(Capture, ActiveWindow) {
  PaintedWindow window({100, 100, 340, 280}, L"Vordergrund");
  SetForegroundWindow(window.get());
  HWND foreground = GetForegroundWindow();
  RECT r{};
  GetWindowRect(foreground, &r);
  ASSERT_TRUE(Call(icons.get(), L"CaptureActiveWindowToClip").ok());
  Pixels p = ClipboardBitmap();
  EXPECT_EQ(p.width, std::min(r.right, LONG(sw)) - std::max(r.left, 0L));
  const std::wstring file = TempPath(L"active.bmp");
  ASSERT_TRUE(Call(icons.get(), L"CaptureActiveWindowToFile", {Text(file), Variant::Int(0)}).ok());
  EXPECT_EQ(ReadBitmapFile(file).width, p.width);
  EXPECT_EQ(Call(icons.get(), L"CaptureActiveWindowToClip", {Variant::Int(-1)}).error(), 5);
}

TEST_F(Capture, DelayRoundsAndRefusesNegativeWaits) {
  Variant half = Variant::Double(0.5);
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Call(icons.get(), L"delay", {RefTo(&half)}).ok());
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(490));
  EXPECT_LT(took, std::chrono::seconds(10));

  const struct {
    Variant secs;
    int error;
  } cases[] = {
      {Variant::Double(0.0004), 0}, {Variant(), 0},  // round to 0 ms
      {Text(L"abc"), 13}, {Null(), 94}, {Variant::Double(-0.5), 5}, {Variant::Double(3e6), 6},
  };
  for (const auto& c : cases) {
    Variant secs = c.secs;
    EXPECT_EQ(Call(icons.get(), L"delay", {RefTo(&secs)}).error(), c.error);
  }
}

TEST_F(Capture, CaptureWindowReturnsAPictureThatOwnsItsBitmap) {
  PaintedWindow window({100, 100, 300, 200}, L"Bildquelle");
  auto r = Call(icons.get(), L"CaptureWindow",
                {Long(window.handle()), Bool(true), Long(90), Long(0), Long(40), Long(30)});
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(r.value.vt, VT_DISPATCH);
  ComPtr<IPicture> picture;
  ASSERT_EQ(r.value.pdispVal->QueryInterface(IID_IPicture, picture.put_void()), S_OK);
  short type = 0;
  picture->get_Type(&type);
  EXPECT_EQ(type, PICTYPE_BITMAP);
  OLE_HANDLE handle = 0;
  picture->get_Handle(&handle);
  Pixels p = ReadBitmap(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
  ASSERT_EQ(p.width, 40);
  ASSERT_EQ(p.height, 30);
  EXPECT_EQ(CountColour(p, 0, 10, 5, kRed), 10);  // client columns 90..99
  EXPECT_EQ(CountColour(p, 10, 40, 5, kBlue), 30);

  // Window 0 is the screen; a handle that names no window has nothing to copy.
  EXPECT_TRUE(Call(icons.get(), L"CaptureWindow", {Long(0), Bool(false), Long(0), Long(0), Long(8), Long(8)}).ok());
  EXPECT_EQ(Call(icons.get(), L"CaptureWindow", {Long(0x7FFF0000), Bool(false), Long(0), Long(0), Long(8), Long(8)}).error(), 5);
}

TEST_F(Capture, CreateBitmapPictureTakesOwnership) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 12, 7);
  ReleaseDC(nullptr, screen);
  {
    auto r = Call(icons.get(), L"CreateBitmapPicture", {Long(HandleToLong(bitmap)), Long(0)});
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.value.vt, VT_DISPATCH);
    EXPECT_EQ(GetObjectType(bitmap), DWORD(OBJ_BITMAP));
  }
  EXPECT_EQ(GetObjectType(bitmap), 0u);  // deleted with the picture
}

TEST_F(Capture, NoGdiOrUserObjectsLeak) {
  // The counts see what a leak would leave behind.
  const int gdi_at_start = LiveGdiObjects();
  HBRUSH brush = CreateSolidBrush(kRed);
  EXPECT_EQ(LiveGdiObjects(), gdi_at_start + 1);
  DeleteObject(brush);
  const HICON shared = LoadIconW(nullptr, IDI_APPLICATION);
  const int user_at_start = LiveUserObjects();
  HICON icon = CopyIcon(shared);
  EXPECT_EQ(LiveUserObjects(), user_at_start + 1);
  DestroyIcon(icon);

  PaintedWindow window({100, 100, 180, 160}, L"Runden");
  const std::wstring icon_file = TempPath(L"round.bmp"), window_file = TempPath(L"round_window.bmp");
  auto round = [&] {
    ASSERT_TRUE(Call(icons.get(), L"LoadIcon", {Text(Fixture(L"icons5.dll")), Variant::Int(2)}).ok());
    ASSERT_TRUE(Call(icons.get(), L"IconToFile", {Text(icon_file)}).ok());
    ASSERT_TRUE(Call(icons.get(), L"IconToClip").ok());
    Variant handle = Long(window.handle()), name = Text(window_file);
    ASSERT_TRUE(Call(icons.get(), L"CaptureWindowToFile", {RefTo(&handle), RefTo(&name)}).ok());
    ASSERT_TRUE(Call(icons.get(), L"CaptureWindowToClip", {RefTo(&handle)}).ok());
    ASSERT_TRUE(Call(icons.get(), L"CursorToClip", {Long(32512)}).ok());
  };
  for (int i = 0; i < 20; ++i) round();
  const int gdi_before = LiveGdiObjects(), user_before = LiveUserObjects();
  for (int i = 0; i < 1000; ++i) round();
  // The clipboard holds one bitmap of its own at any time.
  EXPECT_LE(LiveGdiObjects(), gdi_before + 1);
  EXPECT_LE(LiveUserObjects(), user_before);
}
