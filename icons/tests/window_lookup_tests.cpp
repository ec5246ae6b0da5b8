// Windows found by title and under the mouse pointer.
#include <gtest/gtest.h>

#include <chrono>

#include "icons_test_support.h"

using namespace icontest;

namespace {

class WindowLookup : public ::testing::Test {
 protected:
  ComPtr<IDispatch> icons = CreateObject(L"icons.quillbox");
};

}  // namespace

TEST_F(WindowLookup, FindWindowHandleByExactTitle) {
  PaintedWindow window({100, 100, 300, 200}, L"Fenster zum Finden");
  const struct {
    const wchar_t* title;
    bool found;
  } cases[] = {
      {L"Fenster zum Finden", true},
      {L"FENSTER ZUM FINDEN", true},  // the platform's comparison ignores case
      {L"Fenster zum", false},
      {L"", false},
  };
  for (const auto& c : cases) {
    auto r = Call(icons.get(), L"FindWindowHandle", {Text(c.title)});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.value.vt, VT_I4);
    if (c.found) EXPECT_EQ(r.number(), window.handle()) << Narrow(c.title);
    else EXPECT_NE(r.number(), window.handle()) << Narrow(c.title);
  }
}

TEST_F(WindowLookup, WindowUnderThePointer) {
  PaintedWindow window({200, 200, 500, 400}, L"Zeigerziel", 100, true);
  SetCursorPos(230, 220);  // over the button at 10,10 inside the window
  auto r = Call(icons.get(), L"GetCursorWindow", {Variant::Int(0)});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.number(), HandleToLong(window.button()));

  SetCursorPos(400, 350);  // over the window's own client area
  EXPECT_EQ(Call(icons.get(), L"GetCursorWindow", {Variant::Int(0)}).number(), window.handle());
}

TEST_F(WindowLookup, WaitsBeyondSixteenBitsAreRefusedAtOnce) {
  const struct {
    short seconds;
    int error;
  } cases[] = {{33, 6}, {-33, 6}, {-1, 5}, {32767, 6}};
  for (const auto& c : cases) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Call(icons.get(), L"GetCursorWindow", {Variant::Int(c.seconds)}).error(), c.error) << c.seconds;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.seconds;
  }
}
