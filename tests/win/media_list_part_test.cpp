// The media lists inside the real main window (template 345), with the
// settings in a temporary INI file.
#include "medialist/win/media_list_part.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "framework/win/main_frame_loop.h"
#include "app/win/main_window.h"
#include "settings/win/win_file_system.h"
#include "framework/win/wintext.h"

#include "main_window_fixture.h"

namespace sorvane::win {
namespace {

class MediaListPartTest : public MainWindowFixture {
 protected:
  MediaListPartTest() : MainWindowFixture(L"media_list_part_") {}
};

TEST_F(MediaListPartTest, MainWindowShowsTheLastListPlaysAClickAndSavesAtClose) {
  store_.WriteString(kProgramSection, u"m_PlayList", u"First\tSecond");
  store_.WriteLongValue(u"MediaList1", u"C:\\s\\one.mp3\r\nC:\\s\\two.mp3");
  store_.WriteInt(kProductSection, u"m_LastSel", 1);

  std::vector<Text> played;
  MediaListCallbacks callbacks;
  callbacks.playUrl = [&](const Text& path) { played.push_back(path); };
  callbacks.ask = [](TextView, TextView, QuestionIcon) { return Answer::kYes; };
  auto owned = std::make_unique<MediaListPart>(callbacks);
  MediaListPart& part = *owned;
  MainWindow window;
  window.AddPart(std::move(owned));
  ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
  HWND w = window.Window();
  HWND list = window.Item(1033), selector = window.Item(1000);
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);

  ASSERT_EQ(ListView_GetItemCount(list), 2);
  wchar_t text[256] = {};
  ListView_GetItemText(list, 1, 1, text, 256);
  EXPECT_STREQ(text, L"C:\\s\\two.mp3");
  EXPECT_EQ(SendMessageW(selector, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(selector, CB_GETCURSEL, 0, 0), 1);

  // A click on row 0 reaches the player through the main window's WM_NOTIFY.
  RECT r{};
  ListView_GetItemRect(list, 0, &r, LVIR_BOUNDS);
  const LPARAM at = MAKELPARAM(r.left + 40, (r.top + r.bottom) / 2);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  ASSERT_FALSE(played.empty());
  EXPECT_EQ(played.back(), u"C:\\s\\one.mp3");

  // The selector's notifications arrive through the main window's WM_COMMAND.
  SendMessageW(selector, CB_SETCURSEL, 0, 0);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(1000, CBN_SELENDOK), reinterpret_cast<LPARAM>(selector));
  EXPECT_EQ(part.Controller().Session().ShownListIndex(), 0);
  EXPECT_EQ(ListView_GetItemCount(list), 0);
  EXPECT_EQ(store_.ReadLongValue(u"MediaList1"), u"C:\\s\\one.mp3\r\nC:\\s\\two.mp3");

  part.Controller().AddMediaFile(u"C:\\f\\new.mp3", nullptr);
  part.Controller().View().SelectAndFocus(0);
  SendMessageW(w, WM_COMMAND, kCommandClose, 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(GetPrivateProfileIntW(L"Sorvane", L"m_LastSel", -1, ini_.c_str()), 0);
  EXPECT_EQ(GetPrivateProfileIntW(L"Sorvane", L"m_Sel", -1, ini_.c_str()), 0);
  EXPECT_EQ(store_.ReadLongValue(u"MediaList"), u"C:\\f\\new.mp3");
}

}  // namespace
}  // namespace sorvane::win
