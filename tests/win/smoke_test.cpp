#include <windows.h>

#include <gtest/gtest.h>

// The Wine test level itself works: a window can be created on the display.
TEST(WinLevel, CreatesAWindowOnTheDisplay) {
  HWND w = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(DestroyWindow(w));
}
