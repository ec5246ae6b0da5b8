// The icon selection dialog, shown on this thread and driven from a second thread as a
// user would: choosing, typing, OK, Cancel, Enter, Escape and the close box.
#include "icons_test_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>

using namespace icontest;

namespace {

struct DialogView {
  HWND window = nullptr, list = nullptr, text = nullptr, label = nullptr, ok = nullptr, cancel = nullptr;
};

DialogView FindDialog() {
  DialogView v;
  v.window = WaitForWindow(L"quillboxIconDialog", nullptr);
  if (!v.window) return v;
  v.list = FindWindowExW(v.window, nullptr, WC_LISTVIEWW, nullptr);
  v.text = FindWindowExW(v.window, nullptr, L"Edit", nullptr);
  v.label = FindWindowExW(v.window, nullptr, L"Static", nullptr);
  v.ok = GetDlgItem(v.window, IDOK);
  v.cancel = GetDlgItem(v.window, IDCANCEL);
  return v;
}

struct Item {
  std::wstring text;
  int image;
};

std::vector<Item> Items(HWND list) {
  std::vector<Item> items;
  const int n = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t text[260] = {};
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = text;
    item.cchTextMax = 260;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    items.push_back({text, item.iImage});
  }
  return items;
}

// The pictures of the list's image list, drawn one by one into a bitmap of our own.
std::vector<Pixels> Pictures(HWND list) {
  std::vector<Pixels> pictures;
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  for (int i = 0; i < ImageList_GetImageCount(images); ++i) {
    int w = 0, h = 0;
    ImageList_GetIconSize(images, &w, &h);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    ImageList_Draw(images, i, memory, 0, 0, ILD_NORMAL);
    SelectObject(memory, old);
    pictures.push_back(ReadBitmap(bitmap));
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pictures;
}

void Select(HWND list, int index) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(index), reinterpret_cast<LPARAM>(&state));
}

void Key(HWND control, WORD key) { PostMessageW(control, WM_KEYDOWN, key, 0); }

void Type(HWND control, const std::wstring& text) {
  for (wchar_t c : text) PostMessageW(control, WM_CHAR, c, 0);
}

// What the user saw; checked on the test's own thread afterwards.
struct Seen {
  bool found = false;
  std::wstring caption, label, text, ok_caption, cancel_caption;
  std::vector<Item> items;
  std::vector<Pixels> pictures;
  bool ok_enabled = false;
  RECT window{}, list{}, text_box{}, label_box{}, ok{}, cancel{};
};

Seen Look(const DialogView& v) {
  Seen s;
  s.found = v.window != nullptr;
  s.caption = WindowText(v.window);
  s.label = WindowText(v.label);
  s.text = WindowText(v.text);
  s.ok_caption = WindowText(v.ok);
  s.cancel_caption = WindowText(v.cancel);
  s.items = Items(v.list);
  s.pictures = Pictures(v.list);
  s.ok_enabled = IsWindowEnabled(v.ok) != FALSE;
  GetWindowRect(v.window, &s.window);
  GetWindowRect(v.list, &s.list);
  GetWindowRect(v.text, &s.text_box);
  GetWindowRect(v.label, &s.label_box);
  GetWindowRect(v.ok, &s.ok);
  GetWindowRect(v.cancel, &s.cancel);
  return s;
}

struct Shown {
  CallResult call;
  Variant ergebnis;
  Seen seen;
};

class IconDialog : public ::testing::Test {
 protected:
  // Shows the dialog while `user` drives it from a second thread; `user` returns what
  // it saw before it ended the dialog.
  Shown Show(const std::function<Seen(const DialogView&)>& user, std::vector<Variant> captions = {}) {
    Shown shown;
    shown.ergebnis = Text(L"alt");
    Helper helper([&] {
      DialogView v = FindDialog();
      if (v.window) shown.seen = user(v);
    });
    std::vector<Variant> args{RefTo(&shown.ergebnis)};
    for (auto& c : captions) args.push_back(c);
    shown.call = Call(icons.get(), L"ShowIconDialog", std::move(args));
    helper.Join();
    return shown;
  }
  short Select(const std::wstring& file) {
    auto r = Call(icons.get(), L"SelectIconFile", {Text(file)});
    EXPECT_TRUE(r.ok()) << Narrow(file) << " error " << r.error();
    return short(r.number());
  }
  static std::wstring Lower(std::wstring s) {
    CharLowerBuffW(s.data(), DWORD(s.size()));
    return s;
  }
  static std::wstring Copy(const wchar_t* fixture, const std::wstring& name) {
    const std::wstring path = TempPath(name);
    CopyFileW(Fixture(fixture).c_str(), path.c_str(), FALSE);
    return path;
  }

  ComPtr<IDispatch> icons = CreateObject(L"icons.quillbox");
};

void ExpectResult(const Shown& s, bool confirmed, const std::wstring& text) {
  ASSERT_TRUE(s.seen.found);
  ASSERT_TRUE(s.call.ok()) << s.call.error();
  EXPECT_EQ(s.call.value.vt, VT_BOOL);
  EXPECT_EQ(s.call.value.boolVal, confirmed ? VARIANT_TRUE : VARIANT_FALSE);
  ASSERT_EQ(s.ergebnis.vt, VT_BSTR);
  EXPECT_EQ(std::wstring(s.ergebnis.bstrVal ? s.ergebnis.bstrVal : L""), text);
}

}  // namespace

TEST_F(IconDialog, ChoosingAnIconFromTwoFiles) {
  const std::wstring five = Fixture(L"icons5.dll"), three = Fixture(L"icons3.dll");
  EXPECT_EQ(Select(five), 5);
  EXPECT_EQ(Select(three), 3);
  ASSERT_TRUE(Call(icons.get(), L"SetIconDialogCaption", {Text(L"Symbolwahl")}).ok());
  ASSERT_TRUE(Call(icons.get(), L"SetIconDialogLabel", {Text(L"Bitte ein Symbol")}).ok());
  bool enabled_before = true;
  Shown s = Show([&](const DialogView& v) {
    enabled_before = IsWindowEnabled(v.ok) != FALSE;
    ::Select(v.list, 6);
    WaitUntil([&] { return IsWindowEnabled(v.ok) != FALSE; });
    Seen seen = Look(v);
    Press(v.ok);
    return seen;
  });
  ExpectResult(s, true, Lower(three) + L",1");
  EXPECT_FALSE(enabled_before);
  EXPECT_EQ(s.seen.caption, L"Symbolwahl");
  EXPECT_EQ(s.seen.label, L"Bitte ein Symbol");
  EXPECT_EQ(s.seen.text, Lower(three) + L",1");
  EXPECT_EQ(s.seen.ok_caption, L"&OK");
  EXPECT_EQ(s.seen.cancel_caption, L"A&bbrechen");
  ASSERT_EQ(s.seen.items.size(), 8u);
  ASSERT_EQ(s.seen.pictures.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    const int icon = i < 5 ? i : i - 5;
    const std::wstring want = (i < 5 ? L"icons5.dll," : L"icons3.dll,") + std::to_wstring(icon);
    EXPECT_EQ(s.seen.items[size_t(i)].text, want);
    EXPECT_EQ(s.seen.items[size_t(i)].image, i);  // picture keys key0 .. key7
    // Each picture is the icon on its 36 x 36 square.
    const Pixels& p = s.seen.pictures[size_t(i)];
    ASSERT_EQ(p.width, 36);
    ASSERT_EQ(p.height, 36);
    EXPECT_EQ(p.at(5, 5), TopColour(icon)) << i;
    EXPECT_EQ(p.at(30, 28), BottomColour(icon)) << i;
    EXPECT_EQ(p.at(34, 34), WindowColour()) << i;
  }
}

TEST_F(IconDialog, PlacementAndLayout) {
  Select(Fixture(L"icons3.dll"));
  Shown s = Show([](const DialogView& v) {
    Seen seen = Look(v);
    Press(v.cancel);
    return seen;
  });
  ExpectResult(s, false, L"");
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const RECT& w = s.seen.window;
  EXPECT_NEAR(w.right - w.left, sw * 2 / 3, 2);
  EXPECT_NEAR(w.bottom - w.top, sh * 2 / 3, 2);
  EXPECT_NEAR(w.left, (sw - (w.right - w.left)) / 2, 2);
  EXPECT_NEAR(w.top, (sh - (w.bottom - w.top)) / 2, 2);
  // From the top: prompt, icons, the text box right below them, the buttons side by side.
  EXPECT_LT(s.seen.label_box.bottom, s.seen.list.top);
  EXPECT_NEAR(s.seen.text_box.top, s.seen.list.bottom, 1);
  EXPECT_EQ(s.seen.list.left, s.seen.text_box.left);
  EXPECT_EQ(s.seen.list.right, s.seen.text_box.right);
  EXPECT_GT(s.seen.ok.top, s.seen.text_box.bottom);
  EXPECT_EQ(s.seen.ok.top, s.seen.cancel.top);
  EXPECT_LT(s.seen.ok.right, s.seen.cancel.left);
  EXPECT_GT(s.seen.list.bottom - s.seen.list.top, (w.bottom - w.top) / 2);
}

TEST_F(IconDialog, WaysToCancel) {
  const std::function<void(const DialogView&)> cancels[] = {
      [](const DialogView& v) { Press(v.cancel); },
      [](const DialogView& v) { Key(v.list, VK_ESCAPE); },
      [](const DialogView& v) { PostMessageW(v.window, WM_CLOSE, 0, 0); },  // the close box
  };
  for (const auto& cancel : cancels) {
    Select(Fixture(L"icons3.dll"));
    Shown s = Show([&](const DialogView& v) {
      ::Select(v.list, 0);
      WaitUntil([&] { return IsWindowEnabled(v.ok) != FALSE; });
      Seen seen = Look(v);
      cancel(v);
      return seen;
    }, {Text(L"Nehmen"), Text(L"Lassen")});
    ExpectResult(s, false, L"");
    EXPECT_EQ(s.seen.ok_caption, L"Nehmen");
    EXPECT_EQ(s.seen.cancel_caption, L"Lassen");
  }
}

TEST_F(IconDialog, EnterNeedsAText) {
  Select(Fixture(L"icons5.dll"));
  bool open_after_enter = false, disabled_after_clearing = false;
  Shown s = Show([&](const DialogView& v) {
    Key(v.list, VK_RETURN);  // nothing chosen yet: OK is disabled, nothing happens
    Sleep(300);
    open_after_enter = IsWindow(v.window) && IsWindowVisible(v.window);
    ::Select(v.list, 2);
    WaitUntil([&] { return IsWindowEnabled(v.ok) != FALSE; });
    SetWindowTextW(v.text, L"");  // the user clears the box
    disabled_after_clearing = WaitUntil([&] { return IsWindowEnabled(v.ok) == FALSE; });
    Type(v.text, L"c:\\Eigene\\Datei.ico,4");
    WaitUntil([&] { return IsWindowEnabled(v.ok) != FALSE; });
    Seen seen = Look(v);
    Key(v.list, VK_RETURN);
    return seen;
  });
  EXPECT_TRUE(open_after_enter);
  EXPECT_TRUE(disabled_after_clearing);
  ExpectResult(s, true, L"c:\\Eigene\\Datei.ico,4");  // typed text comes back unchanged
}

TEST_F(IconDialog, PathsAreLowerCasedAndNamesKeepTheirDot) {
  const std::wstring mixed = Copy(L"icons3.dll", L"GemischteSchreibung.DLL");
  const std::wstring bare = Copy(L"icons3.dll", L"OhneEndung");
  EXPECT_EQ(Select(mixed), 3);
  EXPECT_EQ(Select(bare), 3);
  Shown s = Show([](const DialogView& v) {
    ::Select(v.list, 4);
    WaitUntil([&] { return IsWindowEnabled(v.ok) != FALSE; });
    Seen seen = Look(v);
    Press(v.ok);
    return seen;
  });
  ExpectResult(s, true, Lower(bare) + L",1");
  ASSERT_EQ(s.seen.items.size(), 6u);
  EXPECT_EQ(s.seen.items[0].text, L"gemischteschreibung.dll,0");
  EXPECT_EQ(s.seen.items[3].text, L"ohneendung.,0");
}

TEST_F(IconDialog, SilentItemsShowOnlyTheirPictures) {
  ASSERT_TRUE(Call(icons.get(), L"SetIconDialogMode", {Bool(true)}).ok());
  Select(Fixture(L"icons3.dll"));
  ASSERT_TRUE(Call(icons.get(), L"SetIconDialogMode", {Bool(false)}).ok());
  Select(Fixture(L"icons5.dll"));
  Shown s = Show([](const DialogView& v) {
    ::Select(v.list, 2);
    WaitUntil([&] { return IsWindowEnabled(v.ok) != FALSE; });
    Seen seen = Look(v);
    Press(v.ok);
    return seen;
  });
  ExpectResult(s, true, Lower(Fixture(L"icons3.dll")) + L",2");  // keys are unchanged
  ASSERT_EQ(s.seen.items.size(), 8u);
  EXPECT_EQ(s.seen.items[0].text, L"");
  EXPECT_EQ(s.seen.items[2].image, 2);
  EXPECT_EQ(s.seen.items[3].text, L"icons5.dll,0");
}

TEST_F(IconDialog, EachShowingStartsEmpty) {
  Select(Fixture(L"icons3.dll"));
  auto cancel = [](const DialogView& v) {
    Seen seen = Look(v);
    Press(v.cancel);
    return seen;
  };
  Shown first = Show(cancel);
  Shown second = Show(cancel);
  ExpectResult(second, false, L"");
  EXPECT_EQ(first.seen.items.size(), 3u);
  EXPECT_EQ(second.seen.items.size(), 0u);
  EXPECT_EQ(second.seen.caption, L"");

  // Picture keys start again at key0.
  Select(Fixture(L"icons5.dll"));
  Shown third = Show(cancel);
  ASSERT_EQ(third.seen.items.size(), 5u);
  EXPECT_EQ(third.seen.items[0].image, 0);
}

TEST_F(IconDialog, AFileAddedTwiceFailsOnItsFirstIcon) {
  const std::wstring three = Fixture(L"icons3.dll");
  EXPECT_EQ(Select(three), 3);
  auto again = Call(icons.get(), L"SelectIconFile", {Text(Lower(three))});
  EXPECT_EQ(again.error(), 35602);
  EXPECT_EQ(Select(Fixture(L"icons5.dll")), 5);  // the list still takes other files
  Shown s = Show([](const DialogView& v) {
    Seen seen = Look(v);
    Press(v.cancel);
    return seen;
  });
  ASSERT_EQ(s.seen.items.size(), 8u);
  EXPECT_EQ(s.seen.items[3].text, L"icons5.dll,0");
  EXPECT_EQ(s.seen.items[3].image, 3);
}

TEST_F(IconDialog, FilesWithoutIconsAddNothing) {
  const std::wstring text_file = TempPath(L"keine.txt");
  WriteTextFile(text_file, "text");
  for (const std::wstring& file : {text_file, TempPath(L"fehlt.dll")}) {
    auto r = Call(icons.get(), L"SelectIconFile", {Text(file)});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value.vt, VT_I2);
    EXPECT_EQ(r.number(), 0);
  }
  EXPECT_EQ(FindWindowExW(nullptr, nullptr, L"quillboxIconDialog", nullptr), nullptr);  // not made
}
