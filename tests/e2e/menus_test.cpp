// The program menu row, the bottom bars and always on top, seen from another
// process: the window's extended style, the INI file, and the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "harness.h"

using namespace e2e;

namespace {

constexpr UINT kAlwaysOnTop = 32905;
constexpr UINT kRestart = 45107;
constexpr UINT kExit = 32916;
constexpr int kMenuRow = 44400;

bool Topmost(HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// A visible main window (a top-level window holding the list view 1033) of a
// process other than notOf.
HWND OtherMainWindow(DWORD notOf) {
  struct Search {
    DWORD notOf;
    HWND found;
  } search{notOf, nullptr};
  EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == s->notOf || pid == GetCurrentProcessId() || !IsWindowVisible(w) || !GetDlgItem(w, 1033)) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class Menus : public testing::Test {
 protected:
  std::wstring Install() {
    const std::wstring path = programFolder / L"Sorvane.exe";
    EXPECT_TRUE(CopyProgramTo(path));
    return path;
  }
  std::wstring Toop() {
    auto ini = ReadUtf16Ini(appData.IniPath());
    return ini ? IniValue(*ini, L"Program", L"Toop").value_or(L"<absent>") : L"<no file>";
  }
  AppDataRedirect appData;
  TempFolder programFolder{L"menus"};
};

TEST_F(Menus, AlwaysOnTopSurvivesARestart) {
  Process first;
  ASSERT_TRUE(first.Start(Install()));
  HWND w = first.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(Topmost(w));
  SendCommand(w, kAlwaysOnTop);
  EXPECT_TRUE(WaitUntil([&] { return Topmost(w) && Toop() == L"1"; }, 20000)) << Toop();

  // Restart: the first copy ends normally once the second one was started.
  SendCommand(w, kRestart);
  auto code = first.WaitForExit(30000);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 45054u);
  HWND second = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (second = OtherMainWindow(first.Id())) != nullptr; }, 30000));
  EXPECT_TRUE(WaitUntil([&] { return Topmost(second); }, 20000));
  EXPECT_EQ(Toop(), L"1");

  DWORD pid = 0;
  GetWindowThreadProcessId(second, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
  SendCommand(second, kExit);
  if (process) {
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) TerminateProcess(process, 1);
    CloseHandle(process);
  }
}

TEST_F(Menus, ScreenshotWithTheMenuRowTheMediaPopupAndTheBottomBars) {
  Process p;
  ASSERT_TRUE(p.Start(Install()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  HWND row = GetDlgItem(w, kMenuRow);
  ASSERT_NE(row, nullptr);
  for (int id : {44500, 44999, 1243, 1244, 32905}) EXPECT_NE(GetDlgItem(w, id), nullptr) << id;
  // As a keyboard user: F10 (the window's key-menu command), Right to "Media", Down to open it.
  SetForegroundWindow(w);
  PostMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, 0);
  PostMessageW(row, WM_KEYDOWN, VK_RIGHT, 1);
  PostMessageW(row, WM_KEYDOWN, VK_DOWN, 1);
  HWND popup = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        popup = FindWindowW(L"#32768", nullptr);
        return popup && IsWindowVisible(popup);
      },
      20000));
  // The popup opens right under the second button of the row.
  RECT rowRect = WindowRect(row), popupRect = WindowRect(popup);
  EXPECT_GE(popupRect.top, rowRect.bottom - 2);
  EXPECT_GT(popupRect.left, rowRect.left + 10);
  Sleep(300);  // let the popup finish drawing before the picture is taken
  EXPECT_TRUE(SaveScreenshot(L"menus_media_popup"));
  PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); }, 20000));
  SendCommand(w, kExit);
  auto code = p.WaitForExit(30000);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 45054u);
}

}  // namespace
