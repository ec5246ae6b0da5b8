// The callbacks of the server's windows, the events Click and FormClose, and the waits,
// seen by clients in another process.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "frame/conversions.h"
#include "server_client.h"
#include "testing/event_sink.h"
#include "testing/window_driver.h"

using namespace fenstertest;
using qbtest::Call;
using qbtest::EventSink;
using qbtest::Get;
using qbtest::Put;
using qbtest::Text;

namespace {

std::wstring Arg(const qbtest::Event& e, size_t i) {
  frame::Variant text;
  if (i >= e.args.size() || FAILED(text.ChangeTypeFrom(e.args[i], VT_BSTR))) return L"<missing>";
  return std::wstring(frame::View(text.bstrVal));
}

long Number(const qbtest::Event& e) {
  frame::Variant n;
  if (e.args.empty() || FAILED(n.ChangeTypeFrom(e.args[0], VT_I4))) return -1;
  return n.lVal;
}

// Every test starts and ends with both windows unloaded.
class Events : public ::testing::Test {
 protected:
  void SetUp() override { Unload(); }
  void TearDown() override { Unload(); }
  static void Unload() {
    auto cleaner = NewClient();
    Call(cleaner.get(), L"DestroyDialog");
    Call(cleaner.get(), L"DestroyMessageBox");
  }
};

// Presses the dialog's button and waits for the sink's next Click.
qbtest::Event PressDialogButton(EventSink* sink) {
  HWND dialog = ServerWindow(kDialogClass);
  const size_t before = sink->count(kClick);
  qbtest::Press(Child(dialog, L"Button"));
  EXPECT_TRUE(PumpUntil([&] { return sink->count(kClick) > before; })) << "no Click";
  for (auto it = sink->events().rbegin(); it != sink->events().rend(); ++it)
    if (it->id == kClick) return *it;
  return {};
}

void Select(int index) {
  SendMessageW(Child(ServerWindow(kDialogClass), L"ListBox"), LB_SETCURSEL, WPARAM(index), 0);
}

}  // namespace

TEST_F(Events, ClickReportsTheSelectedLineAndItsTag) {
  auto obj = NewClient();
  auto sink = EventSink::Connect(obj.get());
  ASSERT_TRUE(Call(obj.get(), L"ShowDialog", {Text(L"Ausgabe"), Text(L"Zeilen"), Text(L"OK")}).ok());
  ASSERT_TRUE(Call(obj.get(), L"WriteLine", {Text(L"a"), Text(L"x")}).ok());
  ASSERT_TRUE(Call(obj.get(), L"WriteLine", {Text(L"b")}).ok());

  struct Case { int select; const wchar_t* selection; const wchar_t* add_info; };
  const Case cases[] = {
      {-2, L"b", L""},  // -2: keep the selection WriteLine made
      {0, L"a", L"x"},
      {-1, L"", L""},   // nothing selected
  };
  for (const Case& c : cases) {
    if (c.select != -2) Select(c.select);
    qbtest::Event click = PressDialogButton(sink.get());
    EXPECT_EQ(Arg(click, 0), c.selection) << "select " << c.select;
    EXPECT_EQ(Arg(click, 1), c.add_info) << "select " << c.select;
  }
  EXPECT_TRUE(IsWindowVisible(ServerWindow(kDialogClass))) << "the button does not close the dialog";
  sink->Disconnect();
}

TEST_F(Events, ALineBeyondTheTagTableReportsAnEmptyTag) {
  auto obj = NewClient();
  auto sink = EventSink::Connect(obj.get());
  ASSERT_TRUE(Call(obj.get(), L"ShowDialog", {Text(L""), Text(L""), Text(L"OK")}).ok());
  for (int i = 0; i <= 1000; ++i)
    ASSERT_TRUE(Call(obj.get(), L"WriteLine", {Text(L"line " + std::to_wstring(i)), Text(L"t")}).ok());
  auto past = Call(obj.get(), L"WriteLine", {Text(L"line 1001"), Text(L"t")});
  EXPECT_EQ(past.error(), 9);
  EXPECT_EQ(SendMessageW(Child(ServerWindow(kDialogClass), L"ListBox"), LB_GETCOUNT, 0, 0), 1002)
      << "the line is added all the same";

  qbtest::Event click = PressDialogButton(sink.get());
  EXPECT_EQ(Arg(click, 0), L"line 1001");
  EXPECT_EQ(Arg(click, 1), L"");
  Select(1000);
  click = PressDialogButton(sink.get());
  EXPECT_EQ(Arg(click, 1), L"t");
  EXPECT_TRUE(Call(obj.get(), L"HandleEvents").ok()) << "the server still serves";
  sink->Disconnect();
}

TEST_F(Events, FormCloseTellsWhichWindowClosedOrWasPressed) {
  auto obj = NewClient();
  auto sink = EventSink::Connect(obj.get());
  auto last_close = [&] {
    for (auto it = sink->events().rbegin(); it != sink->events().rend(); ++it)
      if (it->id == kFormClose) return Number(*it);
    return -1L;
  };
  auto closes = [&] { return sink->count(kFormClose); };

  ASSERT_TRUE(Call(obj.get(), L"ShowDialog").ok());
  ASSERT_TRUE(Call(obj.get(), L"DestroyDialog").ok());
  EXPECT_EQ(closes(), 1u);
  EXPECT_EQ(last_close(), 1);
  EXPECT_EQ(ServerWindow(kDialogClass), nullptr);

  ASSERT_TRUE(Call(obj.get(), L"ShowDialog").ok());
  PostMessageW(ServerWindow(kDialogClass), WM_CLOSE, 0, 0);  // the close control
  EXPECT_TRUE(PumpUntil([&] { return closes() == 2; }));
  EXPECT_EQ(last_close(), 1);
  EXPECT_TRUE(PumpUntil([] { return ServerWindow(kDialogClass) == nullptr; }));

  ASSERT_TRUE(Call(obj.get(), L"ShowMessageBox", {Text(L"Fortschritt"), Text(L"Stopp")}).ok());
  HWND message = ServerWindow(kMessageClass);
  qbtest::Press(Child(message, L"Button"));
  EXPECT_TRUE(PumpUntil([&] { return closes() == 3; }));
  EXPECT_EQ(last_close(), 3);
  EXPECT_TRUE(IsWindowVisible(message)) << "the button leaves the window open";

  PostMessageW(message, WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return closes() == 4; }));
  EXPECT_EQ(last_close(), 2);
  EXPECT_TRUE(PumpUntil([] { return ServerWindow(kMessageClass) == nullptr; }));

  ASSERT_TRUE(Call(obj.get(), L"ShowMessageBox").ok());
  ASSERT_TRUE(Call(obj.get(), L"DestroyMessageBox").ok());
  EXPECT_EQ(closes(), 5u);
  EXPECT_EQ(last_close(), 2);

  ASSERT_TRUE(Call(obj.get(), L"Form2Close", {qbtest::Long(5)}).ok());
  EXPECT_EQ(closes(), 6u);
  EXPECT_EQ(last_close(), 6);
  EXPECT_EQ(Call(obj.get(), L"Form2Close", {qbtest::Long(32767)}).error(), 6);
  EXPECT_EQ(closes(), 6u) << "nothing raised";
  EXPECT_EQ(Call(obj.get(), L"DestroyDialog").hr, S_OK) << "nothing to unload";
  EXPECT_EQ(closes(), 6u);
  sink->Disconnect();
}

TEST_F(Events, GoToBedReturnsWhenTheClickHandlerWakesTheObject) {
  auto obj = NewClient();
  auto sink = EventSink::Connect(obj.get(), [&](const qbtest::Event& e) {
    if (e.id == kClick) EXPECT_TRUE(Call(obj.get(), L"WakeUp").ok());
  });
  ASSERT_TRUE(Call(obj.get(), L"ShowDialog", {Text(L"Warten"), Text(L""), Text(L"Weiter")}).ok());
  ASSERT_TRUE(Call(obj.get(), L"WriteLine", {Text(L"erste"), Text(L"1")}).ok());
  CrossApartment shared(obj.get());
  qbtest::Helper user([&] {
    InApartment([&] {
      auto same = shared.Get();
      qbtest::WaitUntil([&] { return Get(same.get(), L"sleepwell").number() != 0; });
      qbtest::Press(Child(ServerWindow(kDialogClass), L"Button"));
    });
  });
  ASSERT_TRUE(Call(obj.get(), L"GoToBed").ok());
  user.Join();
  ASSERT_EQ(sink->count(kClick), 1u);
  EXPECT_EQ(Arg(sink->events().back(), 0), L"erste");
  EXPECT_EQ(Arg(sink->events().back(), 1), L"1");
  EXPECT_EQ(Get(obj.get(), L"sleepwell").number(), 0);
  sink->Disconnect();
}

TEST_F(Events, GoToBedReturnsWhenAnotherClientClearsSleepwell) {
  auto obj = NewClient();
  CrossApartment shared(obj.get());
  qbtest::Helper other([&] {
    InApartment([&] {
      auto same = shared.Get();
      qbtest::WaitUntil([&] { return Get(same.get(), L"sleepwell").number() != 0; });
      EXPECT_TRUE(Put(same.get(), L"sleepwell", qbtest::Bool(false)).ok());
    });
  });
  ASSERT_TRUE(Call(obj.get(), L"GoToBed").ok());
  other.Join();
}

// A second client's GoToBed runs nested inside the first one's loop: the first cannot
// return while the second still waits, even when its own flag is cleared first.
TEST_F(Events, ANestedGoToBedHoldsTheOuterOne) {
  auto outer = NewClient();
  CrossApartment outer_shared(outer.get(), 2);
  std::atomic<bool> outer_returned{false}, inner_returned{false}, outer_held{false};
  qbtest::Helper second_client([&] {
    InApartment([&] {
      auto same_outer = outer_shared.Get();
      qbtest::WaitUntil([&] { return Get(same_outer.get(), L"sleepwell").number() != 0; });
      auto inner = NewClient();
      CrossApartment inner_shared(inner.get());
      qbtest::Helper waker([&] {
        InApartment([&] {
          auto same_inner = inner_shared.Get();
          auto outer_again = outer_shared.Get();
          qbtest::WaitUntil([&] { return Get(same_inner.get(), L"sleepwell").number() != 0; });
          EXPECT_TRUE(Put(outer_again.get(), L"sleepwell", qbtest::Bool(false)).ok());
          // Give the outer wait every chance to return too early.
          outer_held = !qbtest::WaitUntil([&] { return outer_returned.load(); }, std::chrono::milliseconds(500));
          EXPECT_TRUE(Put(same_inner.get(), L"sleepwell", qbtest::Bool(false)).ok());
        });
      });
      EXPECT_TRUE(Call(inner.get(), L"GoToBed").ok());
      inner_returned = true;
    });
  });
  ASSERT_TRUE(Call(outer.get(), L"GoToBed").ok());
  outer_returned = true;
  second_client.Join();
  EXPECT_TRUE(outer_held) << "the outer GoToBed returned while the inner one still waited";
  EXPECT_TRUE(inner_returned);
}

TEST_F(Events, HandleEventsReturnsAtOnceWithNothingPending) {
  auto obj = NewClient();
  EXPECT_TRUE(Call(obj.get(), L"HandleEvents").ok());
  EXPECT_TRUE(Call(obj.get(), L"HandleEvents").ok());
}

// Two clients share one dialog and one message window; a click goes to the object that
// showed the dialog last and carries the tag of its own table.
TEST_F(Events, TwoClientsShareTheWindowsAndTheOwnerAnswers) {
  auto first = NewClient();
  auto second = NewClient();
  auto first_sink = EventSink::Connect(first.get());
  auto second_sink = EventSink::Connect(second.get());
  ASSERT_TRUE(Call(first.get(), L"ShowDialog", {Text(L"eins"), Text(L""), Text(L"OK")}).ok());
  ASSERT_TRUE(Call(first.get(), L"WriteLine", {Text(L"von eins"), Text(L"E")}).ok());
  ASSERT_TRUE(Call(second.get(), L"WriteLine", {Text(L"von zwei"), Text(L"Z")}).ok());
  HWND dialog = ServerWindow(kDialogClass);
  EXPECT_EQ(SendMessageW(Child(dialog, L"ListBox"), LB_GETCOUNT, 0, 0), 2) << "one list for both";

  qbtest::Event click = PressDialogButton(first_sink.get());
  EXPECT_EQ(Arg(click, 0), L"von zwei");
  EXPECT_EQ(Arg(click, 1), L"") << "the owner's table has no tag at index 1";
  EXPECT_EQ(second_sink->count(kClick), 0u);

  ASSERT_TRUE(Call(second.get(), L"ShowDialog", {Text(L"zwei"), Text(L""), Text(L"OK")}).ok());
  EXPECT_EQ(ServerWindow(kDialogClass), dialog) << "the same window";
  Select(1);
  click = PressDialogButton(second_sink.get());
  EXPECT_EQ(Arg(click, 1), L"Z");
  EXPECT_EQ(first_sink->count(kClick), 1u);

  ASSERT_TRUE(Call(first.get(), L"ShowMessageBox", {Text(L"eins")}).ok());
  ASSERT_TRUE(Call(second.get(), L"WriteMessageBox", {Text(L"von zwei")}).ok());
  HWND message = ServerWindow(kMessageClass);
  EXPECT_EQ(qbtest::WindowText(Child(message, L"Static")), L"von zwei");
  first_sink->Disconnect();
  second_sink->Disconnect();
}

// About is modal in the server: it returns once the box's button is pressed, and the
// dialog takes input again afterwards.
TEST_F(Events, AboutReturnsWhenItsButtonIsPressed) {
  auto obj = NewClient();
  ASSERT_TRUE(Call(obj.get(), L"ShowDialog", {Text(L"hinter dem Info-Fenster"), Text(L""), Text(L"OK")}).ok());
  HWND dialog = ServerWindow(kDialogClass);
  std::atomic<bool> dialog_disabled{false};
  qbtest::Helper user([&] {
    HWND about = qbtest::WaitForWindow(L"quillboxAbout", nullptr, std::chrono::seconds(10), ProcessOf(dialog));
    ASSERT_NE(about, nullptr);
    dialog_disabled = qbtest::WaitUntil([&] { return !IsWindowEnabled(dialog); }, std::chrono::seconds(5));
    qbtest::Press(qbtest::FindChildByText(about, L"Jau, alles klar!"));
  });
  ASSERT_TRUE(Call(obj.get(), L"About").ok());
  user.Join();
  EXPECT_TRUE(dialog_disabled);
  EXPECT_TRUE(IsWindowEnabled(dialog));
}
