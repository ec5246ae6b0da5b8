// Icon counts, the hidden 36 x 36 picture on the clipboard and in bitmap files, the
// shell's icon picker, the shell icon size in the registry, and the platform id.
#include <gtest/gtest.h>

#include "icons_test_support.h"

using namespace icontest;

namespace {

class IconResources : public ::testing::Test {
 protected:
  ComPtr<IDispatch> icons = CreateObject(L"icons.quillbox");
};

// The picture LoadIcon left for fixture icon k: the icon's two halves in the upper
// left 32 x 32 pixels, the window background in the right and bottom four.
void ExpectIconSquare(const Pixels& p, int k) {
  ASSERT_EQ(p.width, 36);
  ASSERT_EQ(p.height, 36);
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 36; ++x) {
      const COLORREF want = (x >= 32 || y >= 32) ? WindowColour() : y < 16 ? TopColour(k) : BottomColour(k);
      ASSERT_EQ(p.at(x, y), want) << "pixel " << x << "," << y << " of icon " << k;
    }
}

void ExpectEmptySquare(const Pixels& p) {
  ASSERT_EQ(p.width, 36);
  ASSERT_EQ(p.height, 36);
  for (COLORREF c : p.rgb) ASSERT_EQ(c, WindowColour());
}

}  // namespace

TEST_F(IconResources, CountsIconsOfFiles) {
  const std::wstring text_file = TempPath(L"plain.txt");
  WriteTextFile(text_file, "no icons here\r\n");
  const struct {
    std::wstring file;
    long count;
  } cases[] = {
      {Fixture(L"icons3.dll"), 3},
      {Fixture(L"icons5.dll"), 5},
      {text_file, 0},
      {TempPath(L"missing.dll"), 0},
      {L"", 0},
  };
  for (const auto& c : cases) {
    auto r = Call(icons.get(), L"GetIconNumber", {Text(c.file)});
    ASSERT_TRUE(r.ok()) << Narrow(c.file);
    EXPECT_EQ(r.value.vt, VT_I4);
    EXPECT_EQ(r.number(), c.count) << Narrow(c.file);
  }
}

TEST_F(IconResources, LoadIconDrawsTheIconIntoA36PixelSquare) {
  for (int k : {0, 2, 4}) {
    auto r = Call(icons.get(), L"LoadIcon", {Text(Fixture(L"icons5.dll")), Variant::Int(short(k))});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value.vt, VT_I2);
    EXPECT_EQ(r.number(), 5);

    const std::wstring file = TempPath(L"icon" + std::to_wstring(k));  // no extension is added
    ASSERT_TRUE(Call(icons.get(), L"IconToFile", {Text(file)}).ok());
    ExpectIconSquare(ReadBitmapFile(file), k);

    ASSERT_TRUE(Call(icons.get(), L"IconToClip").ok());
    ExpectIconSquare(ClipboardBitmap(), k);
  }
}

TEST_F(IconResources, LoadIconAtAndBeyondTheCount) {
  const std::wstring three = Fixture(L"icons3.dll"), file = TempPath(L"edge.bmp");
  ASSERT_TRUE(Call(icons.get(), L"LoadIcon", {Text(three), Variant::Int(1)}).ok());

  // Beyond the count: the count comes back and the picture stays.
  auto beyond = Call(icons.get(), L"LoadIcon", {Text(three), Variant::Int(4)});
  ASSERT_TRUE(beyond.ok());
  EXPECT_EQ(beyond.number(), 3);
  ASSERT_TRUE(Call(icons.get(), L"IconToFile", {Text(file)}).ok());
  ExpectIconSquare(ReadBitmapFile(file), 1);

  // At the count: an empty square in the background colour.
  auto at = Call(icons.get(), L"LoadIcon", {Text(three), Variant::Int(3)});
  ASSERT_TRUE(at.ok());
  EXPECT_EQ(at.number(), 3);
  ASSERT_TRUE(Call(icons.get(), L"IconToFile", {Text(file)}).ok());
  ExpectEmptySquare(ReadBitmapFile(file));
}

TEST_F(IconResources, LoadIconRefusesANegativeIndexOnlyForFilesWithIcons) {
  const std::wstring file = TempPath(L"negative.bmp");
  ASSERT_TRUE(Call(icons.get(), L"LoadIcon", {Text(Fixture(L"icons5.dll")), Variant::Int(3)}).ok());
  auto r = Call(icons.get(), L"LoadIcon", {Text(Fixture(L"icons5.dll")), Variant::Int(-1)});
  EXPECT_EQ(r.error(), 9);
  ASSERT_TRUE(Call(icons.get(), L"IconToFile", {Text(file)}).ok());
  ExpectIconSquare(ReadBitmapFile(file), 3);  // nothing drawn

  auto missing = Call(icons.get(), L"LoadIcon", {Text(TempPath(L"missing.dll")), Variant::Int(-1)});
  ASSERT_TRUE(missing.ok());
  EXPECT_EQ(missing.number(), 0);
}

TEST_F(IconResources, NothingLoadedYet) {
  PutTextOnClipboard(L"vorher");
  EXPECT_EQ(Call(icons.get(), L"IconToClip").error(), 5);
  EXPECT_TRUE(ClipboardIsEmpty());  // emptied in any case

  const std::wstring file = TempPath(L"nothing.bmp");
  EXPECT_EQ(Call(icons.get(), L"IconToFile", {Text(file)}).error(), 5);
  EXPECT_FALSE(FileExists(file));

  // A file without icons loads nothing either.
  ASSERT_TRUE(Call(icons.get(), L"LoadIcon", {Text(TempPath(L"missing.dll")), Variant::Int(0)}).ok());
  EXPECT_EQ(Call(icons.get(), L"IconToFile", {Text(file)}).error(), 5);
}

TEST_F(IconResources, IconToFileReplacesFilesAndReportsBadPaths) {
  ASSERT_TRUE(Call(icons.get(), L"LoadIcon", {Text(Fixture(L"icons3.dll")), Variant::Int(0)}).ok());
  const std::wstring file = TempPath(L"replaced.bmp");
  WriteTextFile(file, std::string(20000, 'x'));
  ASSERT_TRUE(Call(icons.get(), L"IconToFile", {Text(file)}).ok());
  ExpectIconSquare(ReadBitmapFile(file), 0);

  const struct {
    std::wstring path;
    int error;
  } cases[] = {
      {TempPath(L"no such dir\\x.bmp"), 76},
      {L"", 75},
      {TempPath(L""), 75},  // a directory
  };
  for (const auto& c : cases) EXPECT_EQ(Call(icons.get(), L"IconToFile", {Text(c.path)}).error(), c.error) << Narrow(c.path);
}

// The platform's picker here is a stub that shows nothing and reports success, so the
// buffer rule and the result handling are what can be checked.
TEST_F(IconResources, PickIconBufferAndIndex) {
  const std::wstring longest = L"C:\\" + std::wstring(256, L'a');  // 259 characters
  Variant index = Long(7);
  auto r = Call(icons.get(), L"PickIcon", {Text(longest), RefTo(&index)});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.text(), longest + L",7");
  EXPECT_EQ(index.vt, VT_I4);
  EXPECT_EQ(index.lVal, 7);  // the script's variable is never written

  auto too_long = Call(icons.get(), L"PickIcon", {Text(longest + L"b"), RefTo(&index)});
  EXPECT_EQ(too_long.error(), 5);

  auto defaulted = Call(icons.get(), L"PickIcon", {Text(L"C:\\x.dll")});
  ASSERT_TRUE(defaulted.ok());
  EXPECT_EQ(defaulted.text(), L"C:\\x.dll,0");
}

TEST_F(IconResources, VersionIsTheNtFamily) {
  auto r = Call(icons.get(), L"version");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.value.vt, VT_I4);
  EXPECT_EQ(r.number(), 2);
}

TEST_F(IconResources, NotificationsSucceed) {
  for (const wchar_t* member : {L"UpdateIconCache", L"RefreshDesktop"}) {
    auto r = Call(icons.get(), member);
    EXPECT_TRUE(r.ok()) << Narrow(member);
    EXPECT_EQ(r.value.vt, VT_EMPTY);
  }
}

TEST_F(IconResources, CursorToClipPutsTheStandardCursorOnTheClipboard) {
  PutTextOnClipboard(L"vorher");
  ASSERT_TRUE(Call(icons.get(), L"CursorToClip", {Long(32512)}).ok());  // the arrow
  Pixels p = ClipboardBitmap();
  ASSERT_EQ(p.width, 32);
  ASSERT_EQ(p.height, 32);
  size_t drawn = 0;
  for (COLORREF c : p.rgb) drawn += c != WindowColour();
  EXPECT_GT(drawn, 20u);
  EXPECT_EQ(ClipboardText(), L"");

  for (long id : {0L, 1L, 99999L}) EXPECT_EQ(Call(icons.get(), L"CursorToClip", {Long(id)}).error(), 5) << id;
}

// --- The shell icon size in the registry of the test prefix ---

namespace {

constexpr wchar_t kMetrics[] = L"Control Panel\\Desktop\\WindowMetrics";
constexpr wchar_t kValue[] = L"Shell Icon Size";

// Keeps the value as it was before the test and puts it back afterwards.
class ShellIconSize : public IconResources {
 protected:
  void SetUp() override { saved_ = Read(&had_); }
  void TearDown() override {
    if (had_) Store(saved_);
    else Remove();
  }
  static std::wstring Read(bool* present = nullptr) {
    wchar_t text[64] = {};
    DWORD size = sizeof text, type = 0;
    LSTATUS s = RegGetValueW(HKEY_CURRENT_USER, kMetrics, kValue, RRF_RT_ANY, &type, text, &size);
    if (present) *present = s == ERROR_SUCCESS;
    if (s == ERROR_SUCCESS) EXPECT_EQ(type, DWORD(REG_SZ));
    return s == ERROR_SUCCESS ? text : L"<absent>";
  }
  static void Store(const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kMetrics, kValue, REG_SZ, text.c_str(), DWORD((text.size() + 1) * 2));
  }
  static void Remove() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kMetrics, kValue); }

 private:
  std::wstring saved_;
  bool had_ = false;
};

}  // namespace

TEST_F(ShellIconSize, AbsentValueCountsAs32AndTheReadFailureIsShown) {
  Remove();
  MessageBoxWatcher watcher;
  auto r = Call(icons.get(), L"SetIconSize", {Variant::Int(48)});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.value.vt, VT_I2);
  EXPECT_EQ(r.number(), 32);
  EXPECT_EQ(Read(), L"48");
  auto boxes = watcher.WaitForBoxes(1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, L"pictoria");
  EXPECT_FALSE(boxes[0].text.empty());  // the system's text for the failure's code
  EXPECT_FALSE(boxes[0].exclamation);
  EXPECT_EQ(boxes[0].buttons, 1);
}

TEST_F(ShellIconSize, StoredValues) {
  const struct {
    const wchar_t* stored;
    short size;
    bool relative;
    const wchar_t* written;
    Variant returned;
    bool box;
  } cases[] = {
      {L"32", 2, true, L"34", Text(L"32"), false},   // a text comes back as read
      {L"32", 40, false, L"40", Text(L"32"), false},
      {L"40", -8, true, L"32", Text(L"40"), false},
      {L"abc", 2, true, L"34", Variant::Int(32), true},  // letters count as 32
      {L"0", 2, true, L"34", Variant::Int(32), false},
      {L"47.9", 1, true, L"48", Text(L"47.9"), false},  // cut to the integer part
  };
  for (const auto& c : cases) {
    Store(c.stored);
    MessageBoxWatcher watcher;
    auto r = Call(icons.get(), L"SetIconSize", {Variant::Int(c.size), Bool(c.relative)});
    ASSERT_TRUE(r.ok()) << Narrow(c.stored);
    EXPECT_EQ(r.value.vt, c.returned.vt) << Narrow(c.stored);
    EXPECT_EQ(VarCmp(&r.value, const_cast<Variant*>(&c.returned), LOCALE_USER_DEFAULT, 0), VARCMP_EQ)
        << Narrow(c.stored);
    EXPECT_EQ(Read(), c.written) << Narrow(c.stored);
    if (c.box) {
      auto boxes = watcher.WaitForBoxes(1);
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].text, L"Type mismatch");
    } else {
      EXPECT_TRUE(watcher.boxes().empty()) << Narrow(c.stored);
    }
  }
}

TEST_F(ShellIconSize, FlushIconCacheEndsWhereItStarted) {
  Store(L"32");
  ASSERT_TRUE(Call(icons.get(), L"FlushIconCache").ok());
  EXPECT_EQ(Read(), L"32");

  Remove();
  MessageBoxWatcher watcher;
  ASSERT_TRUE(Call(icons.get(), L"FlushIconCache").ok());
  EXPECT_EQ(Read(), L"32");  // 33 in between, then 32 as text
  EXPECT_EQ(watcher.WaitForBoxes(1).size(), 1u);
}

TEST(IconsTypeLibrary, HasTheClassInterfacesAndMemberOrder) {
  auto icons = CreateObject(L"icons.quillbox");
  ExpectTypeLibraryShape(
      icons.get(), L"icons", TYPEFLAG_FCONTROL | TYPEFLAG_FCANCREATE,
      {L"GetIconNumber", L"UpdateIconCache", L"SetIconSize", L"PickIcon", L"FlushIconCache", L"ShowIconDialog",
       L"SelectIconFile", L"SetIconDialogLabel", L"SetIconDialogCaption", L"SetIconDialogMode", L"LoadIcon",
       L"IconToClip", L"IconToFile", L"RefreshDesktop", L"CaptureWindowToClip", L"GetCursorWindow",
       L"CaptureHandleToClip", L"CaptureCursorToClip", L"CaptureCursorToFile", L"CaptureCursorChildToClip",
       L"CaptureWindowToFile", L"CaptureScreenToClip", L"CaptureScreenToFile", L"CaptureActiveWindowToClip",
       L"CaptureActiveWindowToFile", L"delay", L"CaptureWindow", L"CreateBitmapPicture", L"FindWindowHandle",
       L"CursorToClip", L"About", L"version"});
}
