// Enter on a focused transport button presses it, in the real main window
// with its message loop filters (its own dialog navigation would otherwise
// turn Enter into the window's default command).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/win/main_window.h"
#include "app/win/main_window_parts.h"
#include "framework/win/main_frame_loop.h"
#include "main_window_fixture.h"
#include "playback/panel_menus.h"
#include "playback/win/playback_part.h"
#include "resource_ids.h"

namespace sorvane::win {
namespace {

// The commands the main window receives, swallowed.
LRESULT CALLBACK RecordCommands(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (message == WM_COMMAND) {
    reinterpret_cast<std::vector<int>*>(data)->push_back(LOWORD(wParam));
    return 0;
  }
  return DefSubclassProc(w, message, wParam, lParam);
}

class PanelKeysTest : public MainWindowFixture {
 protected:
  PanelKeysTest() : MainWindowFixture(L"panel_keys_") {}
};

TEST_F(PanelKeysTest, EnterOnAFocusedTransportButtonPressesIt) {
  MainWindow window;
  PlaybackPart& part = *AddPlayerParts(window).playback;
  ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
  HWND next = GetDlgItem(part.Panel().Window(), IDC_NEXT);
  HWND list = window.Item(IDC_LIST_VIEW);
  ASSERT_NE(next, nullptr);

  std::vector<int> commands;
  ASSERT_TRUE(SetWindowSubclass(window.Window(), RecordCommands, 1, reinterpret_cast<DWORD_PTR>(&commands)));
  SetFocus(next);
  ASSERT_EQ(GetFocus(), next);
  MSG enter{next, WM_KEYDOWN, VK_RETURN, 0x001C0001};
  EXPECT_TRUE(loop_.Filter(enter)) << "taken before it is dispatched";
  EXPECT_EQ(commands, std::vector<int>{kCmdNext}) << "the button's own command, not the default one";

  // Enter elsewhere is not the panel's: the main window's navigation has it.
  commands.clear();
  SetFocus(list);
  MSG inList{list, WM_KEYDOWN, VK_RETURN, 0x001C0001};
  loop_.Filter(inList);
  for (int id : commands) EXPECT_NE(id, kCmdNext);

  RemoveWindowSubclass(window.Window(), RecordCommands, 1);
  SendMessageW(window.Window(), WM_COMMAND, kCommandClose, 0);
  EXPECT_FALSE(IsWindow(window.Window()));
  MSG probe{next, WM_KEYDOWN, VK_RETURN, 0};
  EXPECT_FALSE(loop_.Filter(probe)) << "no filter is left behind after the close";
}

}  // namespace
}  // namespace sorvane::win
