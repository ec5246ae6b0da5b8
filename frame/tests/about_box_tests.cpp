// The About box, driven from a second thread as a user would.
#include <gtest/gtest.h>

#include <atomic>

#include "testing/automation.h"
#include "testing/window_driver.h"

using namespace qbtest;

TEST(AboutBox, IsCenteredModalAndClosesOnlyByItsButton) {
  auto probe = CreateObject(L"probe.quillbox");
  std::atomic<bool> returned{false};
  Helper user([&] {
    HWND box = WaitForWindow(L"quillboxAbout", nullptr);
    ASSERT_TRUE(box);
    EXPECT_FALSE(returned) << "About returned while its box is open";

    LONG style = GetWindowLongW(box, GWL_STYLE);
    EXPECT_FALSE(style & WS_SYSMENU) << "no control box";
    EXPECT_NE(style & WS_CAPTION, WS_CAPTION) << "no title bar";
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(WindowText(box), L"");

    RECT client;
    GetClientRect(box, &client);
    EXPECT_EQ(client.right, MulDiv(4680, 96, 1440));
    EXPECT_EQ(client.bottom, MulDiv(5250, 96, 1440));
    RECT outer;
    GetWindowRect(box, &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    HWND title = FindChildByText(box, L"quillbox-Skriptingerweiterung");
    ASSERT_TRUE(title);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(title, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(Narrow(font.lfFaceName), "Arial");
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfHeight, -19) << "14.25 point at 96 DPI";

    HWND button = FindChildByText(box, L"Jau, alles klar!");
    ASSERT_TRUE(button);
    RECT b;
    GetWindowRect(button, &b);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&b), 2);
    EXPECT_EQ(b.left, MulDiv(1920, 96, 1440));
    EXPECT_EQ(b.top, MulDiv(4680, 96, 1440));

    // Closing by other means does nothing: the button is the only way out.
    PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(200);
    EXPECT_FALSE(returned);
    Press(button);
  });
  ASSERT_TRUE(Call(probe.get(), L"About").ok());
  returned = true;
  user.Join();
  EXPECT_FALSE(FindWindowW(L"quillboxAbout", nullptr));
}
