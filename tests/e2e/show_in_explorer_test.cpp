// Show in Explorer on a row whose stored path no file can have (a hand-edited
// INI file with a quote that would turn the rest into explorer switches): the
// command does nothing and the program goes on.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

using namespace e2e;

namespace {

constexpr UINT kCommandClose = 32916;
constexpr DWORD kExitNormal = 45054;
constexpr wchar_t kStoredLineBreak[] = L"\uE000\uE001\uE002";

// The visible popup menu of the process, or null.
HWND PopupMenuOf(DWORD processId) {
  struct Search {
    DWORD process;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (process == s->process && IsWindowVisible(w) && lstrcmpW(cls, L"#32768") == 0) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(ShowInExplorer, ARowWithAPathNoFileCanHaveShowsNothingAndTheProgramGoesOn) {
  AppDataRedirect appData;
  const std::wstring bad = L"C:\\Music\\a\".mp3\" /root,C:\\Windows";
  const std::wstring good = L"C:\\Music\\b.mp3";
  ASSERT_TRUE(WriteUtf16File(appData.IniPath(), L"[Program]\r\nm_PlayList=Hand edited\r\n[Sorvane]\r\n"
                                                L"m_PlayLast=0\r\n[MediaList]\r\nMediaList=" +
                                                    bad + kStoredLineBreak + good + L"\r\n"));
  Process p;
  ASSERT_TRUE(p.Start(SorvaneExe()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  HWND listWindow = GetDlgItem(w, 1033);
  RemoteListView list(p.Id(), listWindow);
  ASSERT_TRUE(list.Ready());
  ASSERT_TRUE(WaitUntil([&] { return list.Count() == 2; }, 20000));
  ASSERT_EQ(list.Text(0, 1), bad);

  // The row's context menu from the keyboard, then its sixth entry.
  ASSERT_TRUE(list.Click(0));
  ASSERT_TRUE(WaitUntil([&] { return list.Focused() == 0; }, 10000));
  PostMessageW(listWindow, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(listWindow), MAKELPARAM(-1, -1));
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = PopupMenuOf(p.Id())) != nullptr; }, 10000)) << "no context menu";
  for (int i = 0; i < 6; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitUntil([&] { return PopupMenuOf(p.Id()) == nullptr; }, 10000)) << "the menu stays open";

  // Still answering, the rows as they were.
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer));
  EXPECT_TRUE(p.Running());
  EXPECT_EQ(list.Count(), 2);
  SaveScreenshot(L"show_in_explorer_bad_path");

  SendCommand(w, kCommandClose);
  const auto code = p.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, kExitNormal);
}

}  // namespace
