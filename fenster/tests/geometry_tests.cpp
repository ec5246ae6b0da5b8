// The windows' geometry in pixels against their twips: placement at load, the resize
// layouts with their clamps, MessageBoxSize and its warning box.
#include <gtest/gtest.h>

#include <algorithm>

#include "frame/window_helpers.h"
#include "server_client.h"
#include "testing/window_driver.h"

using namespace fenstertest;
using qbtest::Call;
using qbtest::Long;
using qbtest::Text;

namespace {

constexpr int kTolerance = 1;  // twips are rounded to whole pixels

#define EXPECT_PX(got, want) EXPECT_NEAR(double(got), double(want), kTolerance)

class Geometry : public ::testing::Test {
 protected:
  void SetUp() override {
    obj_ = NewClient();
    Call(obj_.get(), L"DestroyDialog");
    Call(obj_.get(), L"DestroyMessageBox");
  }
  void TearDown() override {
    Call(obj_.get(), L"DestroyDialog");
    Call(obj_.get(), L"DestroyMessageBox");
  }
  ComPtr<IDispatch> obj_;
};

int Twips(int pixels, bool x) { return x ? frame::PixelsToTwipsX(pixels) : frame::PixelsToTwipsY(pixels); }

// Checks the dialog's layout table for its current client size.
void ExpectDialogLayout(HWND dialog) {
  const SIZE client = ClientSize(dialog);
  const int w = Twips(client.cx, true), h = Twips(client.cy, false);
  RECT label = ChildRect(Child(dialog, L"Static"));
  RECT list = ChildRect(Child(dialog, L"ListBox"));
  RECT button = ChildRect(Child(dialog, L"Button"));
  EXPECT_PX(label.left, PxX(100));
  EXPECT_PX(label.top, PxY(100));
  EXPECT_PX(label.right - label.left, PxX(4575));
  EXPECT_PX(label.bottom - label.top, PxY(255));
  EXPECT_PX(list.left, PxX(100));
  EXPECT_PX(list.top, PxY(255 + 200));
  EXPECT_PX(list.right - list.left, PxX(std::max(0, w - 200)));
  EXPECT_PX(list.bottom - list.top, PxY(std::max(0, h - 375 - 500)));
  EXPECT_PX(button.left, PxX(w - 1215 - 100));
  EXPECT_PX(button.top, PxY(h - 100 - 375));
  EXPECT_PX(button.right - button.left, PxX(1215));
  EXPECT_PX(button.bottom - button.top, PxY(375));
}

}  // namespace

TEST_F(Geometry, TheDialogLoadsHiddenAtAThirdAndAHalfOfTheScreenCentred) {
  ASSERT_TRUE(Call(obj_.get(), L"WriteLine", {Text(L"eine Zeile")}).ok());
  HWND dialog = ServerWindow(kDialogClass);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(qbtest::WindowText(dialog), L"Form1");
  const int sw = frame::ScreenWidthTwips(), sh = frame::ScreenHeightTwips();
  const int w = sw / 3, h = sh / 2;
  RECT r = ScreenRect(dialog);
  EXPECT_PX(r.right - r.left, PxX(w));
  EXPECT_PX(r.bottom - r.top, PxY(h));
  EXPECT_PX(r.left, PxX((sw - w) / 2));
  EXPECT_PX(r.top, PxY((sh - h) / 2));
  ExpectDialogLayout(dialog);
  EXPECT_EQ(SendMessageW(Child(dialog, L"ListBox"), LB_GETCOUNT, 0, 0), 1);

  // Loaded afresh after DestroyDialog: empty, placed anew.
  MoveWindow(dialog, 3, 4, 300, 200, TRUE);
  ASSERT_TRUE(Call(obj_.get(), L"DestroyDialog").ok());
  ASSERT_TRUE(Call(obj_.get(), L"WriteLine", {Text(L"neu")}).ok());
  dialog = ServerWindow(kDialogClass);
  r = ScreenRect(dialog);
  EXPECT_PX(r.left, PxX((sw - w) / 2));
  EXPECT_EQ(SendMessageW(Child(dialog, L"ListBox"), LB_GETCOUNT, 0, 0), 1);
}

TEST_F(Geometry, TheDialogLaysOutItsControlsOnEveryResize) {
  ASSERT_TRUE(Call(obj_.get(), L"ShowDialog", {Text(L"Layout"), Text(L"Etikett"), Text(L"OK")}).ok());
  HWND dialog = ServerWindow(kDialogClass);
  const SIZE sizes[] = {{640, 480}, {300, 120}, {200, 40}, {120, 10}};
  for (SIZE s : sizes) {
    ResizeClient(dialog, s.cx, s.cy);
    SCOPED_TRACE(std::to_string(ClientSize(dialog).cx) + "x" + std::to_string(ClientSize(dialog).cy));
    ExpectDialogLayout(dialog);
  }
  // The lowest window the platform allows leaves the list at height 0, never negative.
  RECT list = ChildRect(Child(dialog, L"ListBox"));
  EXPECT_EQ(list.bottom - list.top, 0);
}

TEST_F(Geometry, AMinimisedDialogClampsTheListAtZero) {
  ASSERT_TRUE(Call(obj_.get(), L"ShowDialog", {Text(L"klein"), Text(L""), Text(L"OK")}).ok());
  HWND dialog = ServerWindow(kDialogClass);
  SendMessageW(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(IsIconic(dialog));
  RECT list = ChildRect(Child(dialog, L"ListBox"));
  EXPECT_EQ(list.right - list.left, 0);
  EXPECT_EQ(list.bottom - list.top, 0);
  ExpectDialogLayout(dialog);
  SendMessageW(dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
}

TEST_F(Geometry, MessageBoxSizeTakesPercentagesOfTheScreenAtTheOldCorner) {
  ASSERT_TRUE(Call(obj_.get(), L"ShowMessageBox").ok());
  HWND message = ServerWindow(kMessageClass);
  EXPECT_EQ(qbtest::WindowText(message), L"Nachricht");
  EXPECT_FALSE(GetWindowLongW(Child(message, L"Button"), GWL_STYLE) & WS_VISIBLE);
  const RECT before = ScreenRect(message);
  ASSERT_TRUE(Call(obj_.get(), L"MessageBoxSize", {Long(50), Long(25), Long(2)}).ok());
  const RECT r = ScreenRect(message);
  EXPECT_PX(r.right - r.left, PxX(frame::ScreenWidthTwips() * 50 / 100));
  EXPECT_PX(r.bottom - r.top, PxY(frame::ScreenHeightTwips() * 25 / 100));
  EXPECT_EQ(r.left, before.left);
  EXPECT_EQ(r.top, before.top);
  HWND label = Child(message, L"Static");
  EXPECT_EQ(GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);

  const SIZE client = ClientSize(message);
  const int w = Twips(client.cx, true), h = Twips(client.cy, false);
  RECT l = ChildRect(label), b = ChildRect(Child(message, L"Button"));
  EXPECT_PX(l.left, PxX(100));
  EXPECT_PX(l.top, PxY(100));
  EXPECT_PX(l.right - l.left, PxX(w - 200));
  EXPECT_PX(l.bottom - l.top, PxY(h - 300 - 375));
  EXPECT_PX(b.left, PxX(w - 100 - 1215));
  EXPECT_PX(b.top, PxY(h - 300 - 375 + 200));

  ASSERT_TRUE(Call(obj_.get(), L"MessageBoxSize", {Long(30), Long(30), Long(1)}).ok());
  EXPECT_EQ(GetWindowLongW(label, GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);
  auto bad = Call(obj_.get(), L"MessageBoxSize", {Long(40), Long(40), Long(3)});
  EXPECT_EQ(bad.error(), 380);
  EXPECT_PX(ScreenRect(message).right - ScreenRect(message).left, PxX(frame::ScreenWidthTwips() * 40 / 100))
      << "the size is applied before the alignment fails";
}

TEST_F(Geometry, MessageBoxSizeBoundsAreInclusiveAndAWarningAnswersTheRest) {
  ASSERT_TRUE(Call(obj_.get(), L"ShowMessageBox", {Text(L"Grenzen")}).ok());
  HWND message = ServerWindow(kMessageClass);
  qbtest::MessageBoxWatcher watcher(ProcessOf(message));
  struct Case { int breite, hoehe; bool accepted; };
  const Case cases[] = {{10, 100, true}, {100, 10, true}, {9, 50, false}, {50, 101, false},
                        {-5, 50, false}, {50, 32767, false}};
  size_t warnings = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.breite) + "/" + std::to_string(c.hoehe));
    const RECT before = ScreenRect(message);
    ASSERT_TRUE(Call(obj_.get(), L"MessageBoxSize", {Long(c.breite), Long(c.hoehe)}).ok());
    const RECT r = ScreenRect(message);
    if (c.accepted) {
      EXPECT_PX(r.right - r.left, PxX(frame::ScreenWidthTwips() * c.breite / 100));
      EXPECT_PX(r.bottom - r.top, PxY(frame::ScreenHeightTwips() * c.hoehe / 100));
    } else {
      ++warnings;
      EXPECT_TRUE(EqualRect(&r, &before)) << "nothing changes";
    }
  }
  auto boxes = watcher.WaitForBoxes(warnings);
  ASSERT_EQ(boxes.size(), warnings);
  for (auto& box : boxes) {
    EXPECT_EQ(box.title, L"ausgabefenster");
    EXPECT_EQ(box.text, L"Ung\u00FCltige Dimensionen!");
    EXPECT_TRUE(box.exclamation);
  }
}

TEST_F(Geometry, AnInvalidSizeDoesNotLoadTheMessageWindow) {
  qbtest::MessageBoxWatcher watcher(qbtest::kAnyProcess);
  ASSERT_TRUE(Call(obj_.get(), L"MessageBoxSize", {Long(5), Long(5)}).ok());
  EXPECT_EQ(watcher.WaitForBoxes(1).size(), 1u);
  EXPECT_EQ(ServerWindow(kMessageClass), nullptr);
}

// Too low for the label: its height stays, and the button is placed below it all the same.
TEST_F(Geometry, ATinyMessageWindowSkipsTheStepsThatWouldGoNegative) {
  ASSERT_TRUE(Call(obj_.get(), L"ShowMessageBox", {Text(L"klein"), Text(L"Abbrechen")}).ok());
  HWND message = ServerWindow(kMessageClass);
  ResizeClient(message, 300, 100);
  const RECT label_before = ChildRect(Child(message, L"Static"));
  ResizeClient(message, 150, 5);
  const SIZE client = ClientSize(message);
  ASSERT_LT(Twips(client.cy, false), 300 + 375) << "the platform kept the window too high for this test";
  const int w = Twips(client.cx, true);
  RECT l = ChildRect(Child(message, L"Static")), b = ChildRect(Child(message, L"Button"));
  EXPECT_EQ(l.bottom - l.top, label_before.bottom - label_before.top);
  EXPECT_PX(l.right - l.left, PxX(w - 200));
  EXPECT_PX(b.left, PxX(w - 100 - 1215));
  EXPECT_PX(b.top, (label_before.bottom - label_before.top) + PxY(200));
}
