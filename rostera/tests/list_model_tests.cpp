// The list as the members fill it: columns and their widths, rows and keys, cells,
// removal, sorting, the warning boxes and the errors that reach the script.

#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "frame/window_helpers.h"
#include "rostera_fixture.h"

using namespace qbtest;
using namespace rtest;

namespace {

Variant Int(short n) { return Variant::Int(n); }

struct WarningCase {
  const char* name;
  std::function<void(IDispatch*)> setup;  // shows no box
  std::function<CallResult(IDispatch*)> call;
  std::vector<std::wstring> boxes;
};

CallResult Header(IDispatch* l, short width) { return Call(l, L"AddHeader", {Text(L"H"), Int(width)}); }
void Headers(IDispatch* l, int n) {
  for (int i = 0; i < n; ++i) Call(l, L"AddHeader", {Text(L"H")});
}
void OneRow(IDispatch* l, int headers) {
  Headers(l, headers);
  Call(l, L"AddItem", {Text(L"row")});
}
CallResult SubItem(IDispatch* l, short position) { return Call(l, L"AddSubItem", {Int(position), Text(L"x")}); }

const WarningCase kWarningCases[] = {
    {"width 5", nullptr, [](IDispatch* l) { return Header(l, 5); }, {kBadWidth}},
    {"width 6", nullptr, [](IDispatch* l) { return Header(l, 6); }, {}},
    {"width 100", nullptr, [](IDispatch* l) { return Header(l, 100); }, {}},
    {"width 101", nullptr, [](IDispatch* l) { return Header(l, 101); }, {kBadWidth}},
    {"width -1", nullptr, [](IDispatch* l) { return Header(l, -1); }, {kBadWidth}},
    {"width left out", nullptr, [](IDispatch* l) { return Call(l, L"AddHeader", {Text(L"H")}); }, {}},
    {"cell 0", [](IDispatch* l) { OneRow(l, 3); }, [](IDispatch* l) { return SubItem(l, 0); }, {kNoSuchColumn}},
    {"cell 2 of 3 headers", [](IDispatch* l) { OneRow(l, 3); }, [](IDispatch* l) { return SubItem(l, 2); }, {}},
    {"cell 3 of 3 headers", [](IDispatch* l) { OneRow(l, 3); }, [](IDispatch* l) { return SubItem(l, 3); },
     {kNoSuchColumn}},
    {"cell 1 without headers", [](IDispatch* l) { OneRow(l, 0); }, [](IDispatch* l) { return SubItem(l, 1); },
     {kNoSuchColumn}},
    {"cell 1 of 1 header", [](IDispatch* l) { OneRow(l, 1); }, [](IDispatch* l) { return SubItem(l, 1); },
     {kNoSuchColumn}},
    {"cell before any row", [](IDispatch* l) { Headers(l, 2); }, [](IDispatch* l) { return SubItem(l, 1); },
     {kNoRowYet}},
    {"sort column -1", [](IDispatch* l) { OneRow(l, 2); },
     [](IDispatch* l) { return Call(l, L"RosteraSort", {Int(-1)}); }, {kNoSuchCategory}},
    {"sort column beyond headers", [](IDispatch* l) { OneRow(l, 2); },
     [](IDispatch* l) { return Call(l, L"RosteraSort", {Int(2)}); }, {kNoSuchCategory}},
    {"sort order 2", [](IDispatch* l) { OneRow(l, 2); },
     [](IDispatch* l) { return Call(l, L"RosteraSort", {Int(1), Int(2)}); }, {kBadOrder}},
    {"sort order -1", [](IDispatch* l) { OneRow(l, 2); },
     [](IDispatch* l) { return Call(l, L"RosteraSort", {Int(0), Int(-1)}); }, {kBadOrder}},
    {"sort column 0 order left out", [](IDispatch* l) { OneRow(l, 1); },
     [](IDispatch* l) { return Call(l, L"RosteraSort", {Int(0)}); }, {}},
};

TEST(RosteraWarnings, EachBadArgumentWarnsAndTheCallReturnsNormally) {
  for (const WarningCase& c : kWarningCases) {
    SCOPED_TRACE(c.name);
    auto list = NewList();
    MessageBoxWatcher watcher;
    if (c.setup) c.setup(list.get());
    ASSERT_TRUE(watcher.boxes().empty());
    CallResult r = c.call(list.get());
    EXPECT_TRUE(r.ok()) << std::hex << r.hr;
    auto boxes = watcher.boxes();
    ASSERT_EQ(boxes.size(), c.boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_EQ(boxes[i].text, c.boxes[i]);
      EXPECT_EQ(boxes[i].title, L"rostera");
      EXPECT_TRUE(boxes[i].exclamation);
      EXPECT_EQ(boxes[i].buttons, 1);
    }
  }
}

TEST(RosteraColumns, WidthsArePercentOfTheListOrTheDefault) {
  auto list = NewList();
  MessageBoxWatcher watcher;
  for (short width : {6, 100, 0, 5}) Header(list.get(), width);
  HWND view = ListViewOf(DialogOfThisThread());
  ASSERT_TRUE(view);
  // The list's design width is 4455 twips; a column without a valid width is one inch.
  EXPECT_EQ(ColumnWidth(view, 0), frame::TwipsToPixelsX(4455 * 6 / 100));
  EXPECT_EQ(ColumnWidth(view, 1), frame::TwipsToPixelsX(4455));
  EXPECT_EQ(ColumnWidth(view, 2), frame::TwipsToPixelsX(1440));
  EXPECT_EQ(ColumnWidth(view, 3), frame::TwipsToPixelsX(1440));
  EXPECT_FALSE(IsWindowVisible(DialogOfThisThread()));
}

TEST(RosteraRows, RowTextsHoldTheCellsOnLinesOfTheirOwn) {
  auto list = NewList();
  Fill(list.get(), {L"Name", L"Ort", L"Tel"}, {{L"A", L"B", L"C"}, {L"D"}, {L"E", L"", L"F"}});
  EXPECT_EQ(Contents(list.get()),
            (std::vector<std::wstring>{L"A\r\nB\r\nC", L"D\r\n\r\n", L"E\r\n\r\nF"}));
  CallResult added = Call(list.get(), L"AddItem", {Text(L"G")});
  ASSERT_TRUE(added.ok());
  EXPECT_EQ(added.value.vt, VT_EMPTY);
  // Cells can be rewritten, in any order, on the last row only.
  Call(list.get(), L"AddSubItem", {Int(2), Text(L"2")});
  Call(list.get(), L"AddSubItem", {Int(1), Text(L"1")});
  Call(list.get(), L"AddSubItem", {Int(2), Text(L"two")});
  EXPECT_EQ(Contents(list.get()).back(), L"G\r\n1\r\ntwo");
}

TEST(RosteraRows, KeysCountEachObjectsRowsAndAreNeverReused) {
  auto list = NewList();
  Fill(list.get(), {}, {{L"a"}, {L"b"}});
  EXPECT_TRUE(Call(list.get(), L"RemoveItem", {Text(L"key1")}).ok());
  Call(list.get(), L"AddItem", {Text(L"c")});
  EXPECT_EQ(Call(list.get(), L"RemoveItem", {Text(L"key2")}).hr, S_OK);
  EXPECT_EQ(Contents(list.get()), std::vector<std::wstring>{L"c"});
  EXPECT_TRUE(Call(list.get(), L"RemoveItem", {Text(L"key3")}).ok());
  EXPECT_TRUE(Contents(list.get()).empty());
}

TEST(RosteraRows, RemovingAMissingKeyFailsAndLeavesTheList) {
  auto list = NewList();
  Fill(list.get(), {}, {{L"a"}, {L"b"}});
  for (const wchar_t* key : {L"key3", L"KEY1", L"", L"key1 "}) {
    CallResult r = Call(list.get(), L"RemoveItem", {Text(key)});
    EXPECT_EQ(r.error(), 35601) << Narrow(key);
    EXPECT_EQ(r.description, L"Element not found");
  }
  EXPECT_EQ(Contents(list.get()), (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(RosteraRows, TwoObjectsShareOneListButCountTheirOwnRows) {
  auto first = NewList();
  auto second = NewList();
  Fill(first.get(), {L"A", L"B"}, {{L"a", L"1"}});
  // The second object's first key is key1 too, which the list already holds.
  CallResult doubled = Call(second.get(), L"AddItem", {Text(L"b")});
  EXPECT_EQ(doubled.error(), 35602);
  EXPECT_EQ(doubled.description, L"Key is not unique in collection");
  EXPECT_EQ(Contents(first.get()), std::vector<std::wstring>{L"a\r\n1"});
  // Its counter went on all the same: the next row is key2.
  EXPECT_TRUE(Call(second.get(), L"AddItem", {Text(L"c")}).ok());
  EXPECT_EQ(Contents(second.get()), (std::vector<std::wstring>{L"a\r\n1", L"c\r\n"}));
  EXPECT_TRUE(Call(first.get(), L"RemoveItem", {Text(L"key2")}).ok());
  EXPECT_EQ(Contents(second.get()), std::vector<std::wstring>{L"a\r\n1"});
  // The first object's last row is still its own: a cell goes there.
  Call(first.get(), L"AddSubItem", {Int(1), Text(L"2")});
  EXPECT_EQ(Contents(second.get()), std::vector<std::wstring>{L"a\r\n2"});
  // Every header, from either object, sets the number of cells in a row text.
  Call(second.get(), L"AddHeader", {Text(L"C")});
  EXPECT_EQ(Contents(first.get()), std::vector<std::wstring>{L"a"});
}

TEST(RosteraRows, The32768thRowOfAnObjectOverflows) {
  auto list = NewList();
  for (int i = 1; i <= 32767; ++i) ASSERT_TRUE(Call(list.get(), L"AddItem", {Text(L"r")}).ok()) << i;
  CallResult r = Call(list.get(), L"AddItem", {Text(L"one too many")});
  EXPECT_EQ(r.error(), 6);
  EXPECT_EQ(Get(Call(list.get(), L"GetRosteraContents").value.pdispVal, L"Count").number(), 32767);
}

TEST(RosteraRows, NullIsRefusedBeforeTheListChanges) {
  auto list = NewList();
  EXPECT_EQ(Call(list.get(), L"AddItem", {Null()}).error(), 94);
  EXPECT_EQ(Call(list.get(), L"AddHeader", {Text(L"A"), Text(L"wide")}).error(), 13);
  EXPECT_TRUE(Contents(list.get()).empty());
}

struct SortCase {
  const char* name;
  short column, order;
  std::vector<std::wstring> expected;  // the rows' own texts afterwards
};

TEST(RosteraSort, CaseInsensitiveAndStableInBothDirections) {
  // Own text, then the cell that column 1 sorts by.
  const std::vector<std::vector<std::wstring>> rows = {
      {L"b", L"2"}, {L"A", L"10"}, {L"a", L"2"}, {L"B", L"1"}, {L"\u00E4", L"x"}};
  const SortCase cases[] = {
      {"own text ascending", 0, 0, {L"A", L"a", L"\u00E4", L"b", L"B"}},
      {"own text descending", 0, 1, {L"b", L"B", L"\u00E4", L"A", L"a"}},
      {"cell ascending", 1, 0, {L"B", L"A", L"b", L"a", L"\u00E4"}},
      {"cell descending", 1, 1, {L"\u00E4", L"b", L"a", L"A", L"B"}},
      {"bad order sorts ascending", 1, 2, {L"B", L"A", L"b", L"a", L"\u00E4"}},
  };
  for (const SortCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto list = NewList();
    MessageBoxWatcher watcher;
    Fill(list.get(), {L"Name", L"Wert"}, rows);
    ASSERT_TRUE(Call(list.get(), L"RosteraSort", {Int(c.column), Int(c.order)}).ok());
    std::vector<std::wstring> own;
    for (const auto& text : Contents(list.get())) own.push_back(text.substr(0, text.find(L'\r')));
    EXPECT_EQ(own, c.expected);
  }
}

TEST(RosteraSort, RowsAddedWhileSortedTakeTheirPlace) {
  auto list = NewList();
  Fill(list.get(), {L"Name", L"Wert"}, {{L"m", L"2"}, {L"n", L"4"}});
  Call(list.get(), L"RosteraSort", {Int(1), Int(1)});
  Fill(list.get(), {}, {{L"o", L"3"}, {L"p", L"9"}});
  EXPECT_EQ(Contents(list.get()), (std::vector<std::wstring>{L"p\r\n9", L"n\r\n4", L"o\r\n3", L"m\r\n2"}));
}

TEST(RosteraSort, AnUnknownColumnLeavesTheOrder) {
  auto list = NewList();
  MessageBoxWatcher watcher;
  Fill(list.get(), {L"Name"}, {{L"b"}, {L"a"}});
  Call(list.get(), L"RosteraSort", {Int(1)});
  Call(list.get(), L"RosteraSort", {Int(-1), Int(1)});
  EXPECT_EQ(watcher.boxes().size(), 2u);
  EXPECT_EQ(Contents(list.get()), (std::vector<std::wstring>{L"b", L"a"}));
}

TEST(RosteraLifetime, CellsOfARowThatLeftTheListGoNowhere) {
  auto list = NewList();
  MessageBoxWatcher watcher;
  Fill(list.get(), {L"A", L"B"}, {{L"a"}, {L"b"}});
  Call(list.get(), L"RemoveItem", {Text(L"key2")});
  EXPECT_TRUE(Call(list.get(), L"AddSubItem", {Int(1), Text(L"x")}).ok());
  EXPECT_EQ(Contents(list.get()), std::vector<std::wstring>{L"a\r\n"});
  EXPECT_TRUE(watcher.boxes().empty());
}

TEST(RosteraLifetime, ADiscardedListIsEmptyWhileTheCountersGoOn) {
  auto list = NewList();
  MessageBoxWatcher watcher;
  Fill(list.get(), {L"A", L"B", L"C"}, {{L"a", L"1", L"2"}});
  ASSERT_TRUE(DialogOfThisThread());
  EXPECT_TRUE(Call(list.get(), L"RosteraQuit").ok());
  EXPECT_FALSE(DialogOfThisThread());
  EXPECT_TRUE(Call(list.get(), L"RosteraQuit").ok());  // nothing loaded: nothing happens
  // The old last row is gone with its list; columns named by the counters are not there.
  EXPECT_TRUE(Call(list.get(), L"AddSubItem", {Int(2), Text(L"x")}).ok());
  EXPECT_TRUE(Contents(list.get()).empty());
  Call(list.get(), L"AddItem", {Text(L"b")});
  EXPECT_TRUE(Call(list.get(), L"AddSubItem", {Int(2), Text(L"y")}).ok());
  EXPECT_TRUE(Call(list.get(), L"RosteraSort", {Int(2), Int(1)}).ok());
  EXPECT_EQ(Contents(list.get()), std::vector<std::wstring>{L"b\r\n\r\ny"});
  EXPECT_TRUE(Call(list.get(), L"RemoveItem", {Text(L"key2")}).ok());
  EXPECT_TRUE(watcher.boxes().empty());
}

TEST(RosteraLifetime, TheLastObjectOfAThreadTakesTheDialogWithIt) {
  {
    auto first = NewList();
    auto second = NewList();
    Fill(first.get(), {L"A"}, {{L"a"}});
    first.reset();
    EXPECT_TRUE(DialogOfThisThread());
    EXPECT_EQ(Contents(second.get()), std::vector<std::wstring>{L"a"});
  }
  EXPECT_FALSE(DialogOfThisThread());
  auto fresh = NewList();
  EXPECT_TRUE(Contents(fresh.get()).empty());
}

TEST(RosteraLifetime, EachThreadHasADialogOfItsOwn) {
  auto here = NewList();
  Fill(here.get(), {L"A"}, {{L"hier"}});
  std::vector<std::wstring> there;
  std::thread other([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
      auto list = NewList();
      Fill(list.get(), {L"A"}, {{L"dort"}});  // key1 again: another list
      there = Contents(list.get());
    }
    CoUninitialize();
  });
  other.join();
  EXPECT_EQ(there, std::vector<std::wstring>{L"dort"});
  EXPECT_EQ(Contents(here.get()), std::vector<std::wstring>{L"hier"});
}

TEST(RosteraLifetime, LoadingAndDiscardingLeavesNothingBehind) {
  auto cycle = [] {
    auto list = NewList();
    Fill(list.get(), {L"A", L"B"}, {{L"a", L"1"}, {L"b", L"2"}});
    Call(list.get(), L"RosteraSort", {Int(1), Int(1)});
    Contents(list.get());
    Call(list.get(), L"RosteraQuit");
    Fill(list.get(), {}, {{L"c"}});  // loaded again, discarded with the object
  };
  cycle();
  const ResourceUse before = MeasureResources();
  for (int i = 0; i < 30; ++i) cycle();
  const ResourceUse after = MeasureResources();
  EXPECT_EQ(after.user_objects, before.user_objects);
  EXPECT_EQ(after.gdi_objects, before.gdi_objects);
  EXPECT_LE(after.handles, before.handles + 2);
}

}  // namespace
