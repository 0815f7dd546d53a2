// The lists, the panel and the sequencer inside the real main window: the
// panel in the placeholder's place, the mouse on the video moving the window,
// and the panel's commands reaching the sequencer through the main window.
#include "playback/win/playback_part.h"

#include "app/win/main_window_parts.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "framework/win/main_frame_loop.h"
#include "app/win/main_window.h"
#include "app/win/button_bars_part.h"
#include "settings/win/win_file_system.h"
#include "language/win/language_win.h"
#include "framework/win/wintext.h"

#include "main_window_fixture.h"
#include "resource_ids.h"

namespace sorvane::win {
namespace {

// Records the caption presses the main window receives and swallows them, so
// no move loop starts inside the test.
LRESULT CALLBACK RecordCaptionPress(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (message == WM_NCLBUTTONDOWN) {
    reinterpret_cast<std::vector<WPARAM>*>(data)->push_back(wParam);
    return 0;
  }
  return DefSubclassProc(w, message, wParam, lParam);
}

class PlaybackPartTest : public MainWindowFixture {
 protected:
  PlaybackPartTest() : MainWindowFixture(L"playback_part_") {}
};

TEST_F(PlaybackPartTest, PanelTakesThePlaceholderMouseMovesTheWindowCommandsReachTheSequencer) {
  store_.WriteInt(kProductSection, u"random_play", 0);
  MainWindow window;
  PlaybackPart& part = *AddPlayerParts(window).playback;
  window.AddPart(std::make_unique<ButtonBarsPart>());
  ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
  HWND w = window.Window();

  // The panel replaced the placeholder: its id, its top-left corner, no static left behind.
  ASSERT_NE(part.Panel().Window(), nullptr);
  EXPECT_EQ(window.Item(IDC_PLAYER_PANEL), part.Panel().Window());
  RECT placeholder{203, 28, 394, 161};
  MapDialogRect(w, &placeholder);
  RECT panel{};
  GetWindowRect(part.Panel().Window(), &panel);
  MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&panel), 2);
  EXPECT_EQ(panel.left, placeholder.left);
  EXPECT_EQ(panel.top, placeholder.top);
  EXPECT_NE(window.Item(IDC_FLYOUT_BUTTON), nullptr);
  EXPECT_NE(window.Item(IDC_COMPACT_BUTTON), nullptr);
  // The list view is dark from the start, empty area included.
  EXPECT_EQ(ListView_GetBkColor(window.Item(1033)), RGB(32, 32, 32));
  EXPECT_EQ(ListView_GetTextColor(window.Item(1033)), RGB(255, 255, 255));

  // Left button on the video or the panel: a caption press on the main window; right button: nothing yet.
  std::vector<WPARAM> presses;
  ASSERT_TRUE(SetWindowSubclass(w, RecordCaptionPress, 1, reinterpret_cast<DWORD_PTR>(&presses)));
  HWND video = part.Panel().VideoWindow();
  ASSERT_NE(video, nullptr);
  SendMessageW(video, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(part.Panel().Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(video, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(presses, (std::vector<WPARAM>{HTCAPTION, HTCAPTION}));
  RemoveWindowSubclass(w, RecordCaptionPress, 1);

  // The panel's menu commands pass through the main window to the sequencer.
  ASSERT_NE(part.Sequence(), nullptr);
  SendMessageW(part.Panel().Window(), WM_COMMAND, 1308, 0);  // repeat one
  EXPECT_EQ(part.Sequence()->Repeat(), kRepeatOne);
  EXPECT_EQ(GetPrivateProfileIntW(L"Sorvane", L"m_Repeat", -1, ini_.c_str()), 2);
  SendMessageW(part.Panel().Window(), WM_COMMAND, 1307, 0);  // random on
  EXPECT_EQ(part.Sequence()->RandomPlay(), 1);
  wchar_t glyph[8] = {};
  GetDlgItemTextW(part.Panel().Window(), 1263, glyph, 8);
  EXPECT_STREQ(glyph, L"\U0001F500");

  // A language change gives an empty list's tip in the new language.
  SetDlgItemTextW(w, IDC_STATUS_TEXT, L"stale");
  SendMessageW(w, RetranslateMessage(), 0, 0);
  wchar_t status[128] = {};
  for (ULONGLONG end = GetTickCount64() + 20000; GetTickCount64() < end;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    GetDlgItemTextW(w, IDC_STATUS_TEXT, status, 128);
    if (lstrcmpW(status, L"stale") != 0) break;
    Sleep(20);
  }
  EXPECT_STREQ(status, L"Tip: Add Files via Drag and Drop");

  SendMessageW(w, WM_COMMAND, kCommandClose, 0);
  EXPECT_FALSE(IsWindow(w));
  wchar_t position[32] = {};
  GetPrivateProfileStringW(L"Program", L"m_Position", L"", position, 32, ini_.c_str());
  EXPECT_STREQ(position, L"0.000000");
}

}  // namespace
}  // namespace sorvane::win
