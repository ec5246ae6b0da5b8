// The dialog as a user meets it: selecting, OK, cancel, Enter, Escape, the close
// control, header clicks, sizes and layout, multi-edit mode and the selection collection.
#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "frame/window_helpers.h"
#include "rostera_fixture.h"

using namespace qbtest;
using namespace rtest;

namespace {

using Texts_ = std::vector<std::wstring>;

// RosteraShow's arguments in their order; Missing() for those left out.
std::vector<Variant> ShowArgs(const wchar_t* caption, Variant width = Missing(), Variant height = Missing(),
                              Variant multiselect = Missing(), Variant multiedit = Missing()) {
  return {Text(caption), std::move(width), std::move(height), std::move(multiselect), Missing(), Missing(),
          std::move(multiedit)};
}

Variant Double(double d) { return Variant::Double(d); }

void FillThree(IDispatch* list) {
  Fill(list, {L"Name", L"Ort", L"Tel"}, {{L"A", L"B", L"C"}, {L"D", L"E", L"F"}, {L"G", L"H", L"I"}});
}

TEST(RosteraDialog, OkReturnsTheSelectedRowsInListOrder) {
  auto list = NewList();
  FillThree(list.get());
  std::wstring ok_text, cancel_text;
  bool hidden_before = false;
  CallResult r = ShowWhile(list.get(), ShowArgs(L"Auswahl"), [&](HWND dialog) {
    ok_text = WindowText(ButtonOf(dialog, 0));
    cancel_text = WindowText(ButtonOf(dialog, 1));
    HWND view = ListViewOf(dialog);
    SelectRows(view, {2, 0});
    Press(ButtonOf(dialog, 0));
  });
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(hidden_before);
  EXPECT_EQ(ok_text, L"&OK");
  EXPECT_EQ(cancel_text, L"&Abbrechen");
  EXPECT_EQ(Texts(r.value), (Texts_{L"A\r\nB\r\nC", L"G\r\nH\r\nI"}));
  // Single mode: the list went with the window.
  EXPECT_FALSE(DialogOfThisThread());
  EXPECT_TRUE(Contents(list.get()).empty());
}

struct ClosingCase {
  const char* name;
  std::vector<int> select;
  std::function<void(HWND dialog)> close;
  Texts_ expected;
};

TEST(RosteraDialog, EachWayOfClosingGivesItsSelection) {
  const ClosingCase cases[] = {
      {"OK button", {1}, [](HWND d) { Press(ButtonOf(d, 0)); }, {L"D\r\nE\r\nF"}},
      {"Enter in the list", {1}, [](HWND d) { PressKey(ListViewOf(d), VK_RETURN); }, {L"D\r\nE\r\nF"}},
      {"OK without a selection", {}, [](HWND d) { Press(ButtonOf(d, 0)); }, {}},
      {"cancel button", {1}, [](HWND d) { Press(ButtonOf(d, 1)); }, {}},
      {"Escape in the list", {1}, [](HWND d) { PressKey(ListViewOf(d), VK_ESCAPE); }, {}},
  };
  for (const ClosingCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto list = NewList();
    FillThree(list.get());
    CallResult r = ShowWhile(list.get(), ShowArgs(L"Schliessen"), [&](HWND dialog) {
      SelectRows(ListViewOf(dialog), c.select);
      c.close(dialog);
    });
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(Texts(r.value), c.expected);
    EXPECT_FALSE(DialogOfThisThread());
  }
}

TEST(RosteraDialog, WithoutMultiselectAtMostOneRowIsChosen) {
  auto list = NewList();
  FillThree(list.get());
  std::vector<int> selected;
  CallResult r = ShowWhile(list.get(), ShowArgs(L"Einzeln", Missing(), Missing(), Bool(false)), [&](HWND dialog) {
    HWND view = ListViewOf(dialog);
    SelectRows(view, {0, 2});
    selected = SelectedRows(view);
    Press(ButtonOf(dialog, 0));
  });
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(selected.size(), 1u);
  EXPECT_EQ(Texts(r.value).size(), 1u);
}

TEST(RosteraDialog, TheSelectionIsOneObjectRefilledAtEveryOkOrCancel) {
  auto list = NewList();
  FillThree(list.get());
  CallResult first = ShowWhile(list.get(), ShowArgs(L"Erste"), [](HWND dialog) {
    SelectRows(ListViewOf(dialog), {0});
    Press(ButtonOf(dialog, 0));
  });
  ASSERT_TRUE(first.ok());
  EXPECT_EQ(Texts(first.value), Texts_{L"A\r\nB\r\nC"});

  // The close control leaves the selection as it was and discards the list.
  FillThree(list.get());
  CallResult closed = ShowWhile(list.get(), ShowArgs(L"Zweite"), [](HWND dialog) {
    SelectRows(ListViewOf(dialog), {1});
    CloseWithCloseControl(dialog);
  });
  ASSERT_TRUE(closed.ok());
  EXPECT_EQ(Identity(closed.value), Identity(first.value));
  EXPECT_EQ(Texts(first.value), Texts_{L"A\r\nB\r\nC"});
  EXPECT_FALSE(DialogOfThisThread());

  // A kept collection changes at the next closing: both are the same object.
  FillThree(list.get());
  CallResult third = ShowWhile(list.get(), ShowArgs(L"Dritte"), [](HWND dialog) { Press(ButtonOf(dialog, 1)); });
  ASSERT_TRUE(third.ok());
  EXPECT_EQ(Identity(third.value), Identity(first.value));
  EXPECT_TRUE(Texts(first.value).empty());
  // GetRosteraContents makes a new collection every time.
  CallResult contents = Call(list.get(), L"GetRosteraContents");
  EXPECT_NE(Identity(contents.value), Identity(first.value));
}

TEST(RosteraDialog, TheCaptionsComeFromTheArguments) {
  auto list = NewList();
  std::wstring caption, ok_text, cancel_text;
  CallResult r = ShowWhile(list.get(), {Text(L"Titel"), Missing(), Missing(), Missing(), Text(L"&Ja"), Text(L"&Nein")},
                           [&](HWND dialog) {
                             caption = WindowText(dialog);
                             ok_text = WindowText(ButtonOf(dialog, 0));
                             cancel_text = WindowText(ButtonOf(dialog, 1));
                             Press(ButtonOf(dialog, 0));
                           });
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(caption, L"Titel");
  EXPECT_EQ(ok_text, L"&Ja");
  EXPECT_EQ(cancel_text, L"&Nein");
  EXPECT_TRUE(Texts(r.value).empty());  // an empty list shows and returns nothing
}

struct SizeCase {
  const char* name;
  Variant width, height;
  bool warns;
  double fraction;  // of the screen, 0 for the design size
};

TEST(RosteraDialog, SizesAreFractionsOfTheScreenOrWarn) {
  const SizeCase cases[] = {
      {"both 0 keep the design size", Double(0), Double(0), false, 0},
      {"0.1 is accepted", Double(0.1), Double(0.1), false, 0.1},
      {"1 is the whole screen", Double(1), Double(1), false, 1},
      {"0.09 is refused", Double(0.09), Double(0.5), true, 0},
      {"1.01 is refused", Double(0.5), Double(1.01), true, 0},
      {"a width without a height is refused", Double(0.5), Missing(), true, 0},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto list = NewList();
    FillThree(list.get());
    MessageBoxWatcher watcher;
    RECT outer{}, client{};
    std::vector<int> selected;
    // By reference, as a script passes its variables; the method must not change them.
    Variant width = c.width, height = c.height;
    std::vector<Variant> args =
        ShowArgs(L"Groesse", c.width.vt == VT_R8 ? RefTo(&width) : Missing(), c.height.vt == VT_R8 ? RefTo(&height) : Missing());
    CallResult r = ShowWhile(list.get(), std::move(args), [&](HWND dialog) {
      outer = OuterRect(dialog);
      GetClientRect(dialog, &client);
      selected = SelectedRows(ListViewOf(dialog));
      Press(ButtonOf(dialog, 1));
    });
    ASSERT_TRUE(r.ok());
    auto boxes = watcher.boxes();
    ASSERT_EQ(boxes.size(), c.warns ? 1u : 0u);
    if (c.warns) {
      EXPECT_EQ(boxes[0].text, kBadSize);
      EXPECT_EQ(boxes[0].title, L"rostera");
      EXPECT_TRUE(boxes[0].exclamation);
    }
    if (c.fraction > 0) {
      EXPECT_EQ(outer.right - outer.left, frame::TwipsToPixelsX(int(std::lround(frame::ScreenWidthTwips() * c.fraction))));
      EXPECT_EQ(outer.bottom - outer.top, frame::TwipsToPixelsY(int(std::lround(frame::ScreenHeightTwips() * c.fraction))));
      EXPECT_EQ(selected, std::vector<int>{0});  // a valid size preselects the first row
    } else {
      RECT design = frame::TwipsRect{0, 0, 4500, 3780}.ToPixels();
      EXPECT_EQ(client.right, design.right);
      EXPECT_EQ(client.bottom, design.bottom);
      EXPECT_TRUE(selected.empty());
    }
    // The method reads the script's variables and leaves them as they were.
    if (c.width.vt == VT_R8) {
      EXPECT_EQ(width.dblVal, c.width.dblVal);
    }
    if (c.height.vt == VT_R8) {
      EXPECT_EQ(height.dblVal, c.height.dblVal);
    }
  }
}

struct Geometry {
  RECT client{}, list{}, ok{}, cancel{};
  int columns[2] = {};
};

Geometry Measure(HWND dialog) {
  Geometry g;
  GetClientRect(dialog, &g.client);
  g.list = ChildRect(ListViewOf(dialog));
  g.ok = ChildRect(ButtonOf(dialog, 0));
  g.cancel = ChildRect(ButtonOf(dialog, 1));
  for (int i = 0; i < 2; ++i) g.columns[i] = ColumnWidth(ListViewOf(dialog), i);
  return g;
}

void ExpectLayout(const Geometry& g, int first_share_px, int second_share_px) {
  const int w = frame::PixelsToTwipsX(g.client.right), h = frame::PixelsToTwipsY(g.client.bottom);
  auto same = [](const RECT& got, const frame::TwipsRect& want) {
    RECT p = want.ToPixels();
    EXPECT_EQ(got.left, p.left);
    EXPECT_EQ(got.top, p.top);
    EXPECT_EQ(got.right, p.right);
    EXPECT_EQ(got.bottom, p.bottom);
  };
  same(g.list, {100, 100, w - 200, h - 300 - 375});
  same(g.ok, {w - 200 - 1215 - 1215, h - 100 - 375, 1215, 375});
  same(g.cancel, {w - 100 - 1215, h - 100 - 375, 1215, 375});
  // The columns keep the shares they had of the list's design width of 4455 twips.
  const double list_width = g.list.right - g.list.left;
  const double design = frame::TwipsToPixelsX(4455);
  EXPECT_LE(std::abs(g.columns[0] - first_share_px * list_width / design), 1.0);
  EXPECT_LE(std::abs(g.columns[1] - second_share_px * list_width / design), 1.0);
}

TEST(RosteraDialog, TheLayoutFillsTheWindowAndColumnsKeepTheirShares) {
  auto list = NewList();
  Call(list.get(), L"AddHeader", {Text(L"Halb"), Variant::Int(50)});
  Call(list.get(), L"AddHeader", {Text(L"Viertel"), Variant::Int(25)});
  Call(list.get(), L"AddItem", {Text(L"x")});
  const int half = frame::TwipsToPixelsX(4455 * 50 / 100), quarter = frame::TwipsToPixelsX(4455 * 25 / 100);
  Geometry shown, wider, tiny, restored;
  CallResult r = ShowWhile(list.get(), ShowArgs(L"Anordnung", Double(0.6), Double(0.5)), [&](HWND dialog) {
    shown = Measure(dialog);
    SetWindowPos(dialog, nullptr, 0, 0, 900, 500, SWP_NOMOVE | SWP_NOZORDER);
    wider = Measure(dialog);
    // Too small for the list: it stays; the buttons still go to the corner.
    SetWindowPos(dialog, nullptr, 0, 0, 130, 60, SWP_NOMOVE | SWP_NOZORDER);
    tiny = Measure(dialog);
    SetWindowPos(dialog, nullptr, 0, 0, 700, 400, SWP_NOMOVE | SWP_NOZORDER);
    restored = Measure(dialog);
    Press(ButtonOf(dialog, 1));
  });
  ASSERT_TRUE(r.ok());
  {
    SCOPED_TRACE("shown");
    ExpectLayout(shown, half, quarter);
  }
  {
    SCOPED_TRACE("wider");
    ExpectLayout(wider, half, quarter);
  }
  EXPECT_EQ(tiny.cancel.right, tiny.client.right - frame::TwipsToPixelsX(100));
  {
    SCOPED_TRACE("restored");
    ExpectLayout(restored, half, quarter);
  }
}

TEST(RosteraDialog, HeaderClicksFlipTheOrderAtEveryClick) {
  auto list = NewList();
  Fill(list.get(), {L"Name", L"Wert"}, {{L"b", L"1"}, {L"a", L"3"}, {L"c", L"2"}});
  std::vector<Texts_> seen;
  CallResult r = ShowWhile(list.get(), ShowArgs(L"Sortieren"), [&](HWND dialog) {
    HWND view = ListViewOf(dialog);
    ClickHeader(view, 0);  // the order was ascending: now descending
    seen.push_back(ColumnTexts(view, 0));
    ClickHeader(view, 0);
    seen.push_back(ColumnTexts(view, 0));
    ClickHeader(view, 1);  // another column: the order flips all the same
    seen.push_back(ColumnTexts(view, 0));
    SelectRows(view, {0});
    Press(ButtonOf(dialog, 0));
  });
  ASSERT_TRUE(r.ok());
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], (Texts_{L"c", L"b", L"a"}));
  EXPECT_EQ(seen[1], (Texts_{L"a", L"b", L"c"}));
  EXPECT_EQ(seen[2], (Texts_{L"a", L"c", L"b"}));
  EXPECT_EQ(Texts(r.value), Texts_{L"a\r\n3"});
}

TEST(RosteraDialog, MultiEditKeepsTheListAndAddsTheKeys) {
  auto list = NewList();
  FillThree(list.get());
  auto show = [&](const wchar_t* caption, const std::function<void(HWND)>& user) {
    return ShowWhile(list.get(), ShowArgs(caption, Missing(), Missing(), Missing(), Bool(true)), user);
  };
  CallResult first = show(L"Mehrfach", [](HWND dialog) {
    SelectRows(ListViewOf(dialog), {0, 2});
    PressKey(ListViewOf(dialog), VK_RETURN);
  });
  ASSERT_TRUE(first.ok());
  EXPECT_EQ(Texts(first.value), (Texts_{L"A\r\nB\r\nC\r\nkey1", L"G\r\nH\r\nI\r\nkey3"}));
  HWND hidden = DialogOfThisThread();
  ASSERT_TRUE(hidden);
  EXPECT_FALSE(IsWindowVisible(hidden));
  // The list is unchanged, without keys; the script removes the rows it has dealt with.
  EXPECT_EQ(Contents(list.get()), (Texts_{L"A\r\nB\r\nC", L"D\r\nE\r\nF", L"G\r\nH\r\nI"}));
  ASSERT_TRUE(Call(list.get(), L"RemoveItem", {Text(L"key1")}).ok());
  Call(list.get(), L"AddItem", {Text(L"J")});

  std::vector<int> still_selected;
  CallResult second = show(L"Mehrfach 2", [&](HWND dialog) {
    still_selected = SelectedRows(ListViewOf(dialog));
    Press(ButtonOf(dialog, 0));
  });
  ASSERT_TRUE(second.ok());
  EXPECT_EQ(still_selected, std::vector<int>{1});  // G, selected at the first showing
  EXPECT_EQ(Texts(second.value), Texts_{L"G\r\nH\r\nI\r\nkey3"});
  EXPECT_EQ(DialogOfThisThread(), hidden);

  // The close control discards the list in multi-edit mode too.
  CallResult closed = show(L"Mehrfach 3", [](HWND dialog) { CloseWithCloseControl(dialog); });
  ASSERT_TRUE(closed.ok());
  EXPECT_EQ(Texts(closed.value), Texts_{L"G\r\nH\r\nI\r\nkey3"});
  EXPECT_FALSE(DialogOfThisThread());
  EXPECT_TRUE(Contents(list.get()).empty());
}

TEST(RosteraDialog, QuitDiscardsAHiddenMultiEditList) {
  auto list = NewList();
  FillThree(list.get());
  CallResult r = ShowWhile(list.get(), ShowArgs(L"Ende", Missing(), Missing(), Missing(), Bool(true)),
                           [](HWND dialog) { PressKey(ListViewOf(dialog), VK_ESCAPE); });
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(Texts(r.value).empty());
  EXPECT_EQ(Contents(list.get()).size(), 3u);
  EXPECT_TRUE(Call(list.get(), L"RosteraQuit").ok());
  EXPECT_FALSE(DialogOfThisThread());
  EXPECT_TRUE(Contents(list.get()).empty());
}

TEST(RosteraDialog, AboutReturnsWhenItsButtonIsPressed) {
  auto list = NewList();
  bool found = false;
  Helper user([&] {
    HWND box = WaitForWindow(L"quillboxAbout", nullptr);
    found = box != nullptr;
    if (box) Press(FindChildByText(box, L"Jau, alles klar!"));
  });
  EXPECT_TRUE(Call(list.get(), L"About").ok());
  user.Join();
  EXPECT_TRUE(found);
}

}  // namespace
