// Living in the notification area, seen from outside: Esc hides the window and
// the program goes on, a second start still reaches it, Exit ends it, a media
// key plays and pauses while it is hidden, and the four looks.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "harness.h"
#include "../support/sound_files.h"

using namespace e2e;

namespace {

constexpr DWORD kExitNormal = 45054;
constexpr UINT kExit = 32916;
constexpr int kListView = 1033, kSelector = 1000, kPanel = 1249, kTimeText = 1261;
const wchar_t kNewListQuestion[] = L"Should a new playlist be created?";
constexpr wchar_t kStoredLineBreak[] = L"\uE000\uE001\uE002";

int PositionSeconds(HWND mainWindow) {
  const std::wstring text = TextOf(GetDlgItem(GetDlgItem(mainWindow, kPanel), kTimeText));
  int pm = 0, ps = 0, dm = 0, ds = 0;
  if (swscanf(text.c_str(), L"%d:%d / %d:%d", &pm, &ps, &dm, &ds) != 4 || dm * 60 + ds == 0) return -1;
  return pm * 60 + ps;
}

class Tray : public testing::Test {
 protected:
  void WriteIni(const std::wstring& sections) { ASSERT_TRUE(WriteUtf16File(appData.IniPath(), sections)); }

  AppDataRedirect appData;
  TempFolder media{L"media"};
};

TEST_F(Tray, EscHidesTheWindowASecondStartStillReachesItAndExitEnds) {
  const std::wstring song = media / L"Song.wav";
  ASSERT_TRUE(WriteToneWav(song, 1000));
  Process p;
  ASSERT_TRUE(p.Start(SorvaneExe()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);

  SendCommand(w, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(w); }, 10000)) << "Esc did not hide the window";
  EXPECT_TRUE(p.Running());
  EXPECT_FALSE(p.WaitForExit(500).has_value()) << "hiding ended the program";

  // A second start hands its file to the hidden copy and ends.
  Process second;
  ASSERT_TRUE(second.Start(SorvaneExe(), L"\"" + song + L"\""));
  HWND box = p.WaitForMessageBox(kNewListQuestion);
  ASSERT_NE(box, nullptr) << "the hidden copy did not take the command line";
  ASSERT_TRUE(PressButton(box, IDNO));
  ASSERT_TRUE(second.WaitForExit(60000).has_value());
  RemoteListView list(p.Id(), GetDlgItem(w, kListView));
  ASSERT_TRUE(list.Ready());
  EXPECT_TRUE(WaitUntil([&] { return list.Count() == 1; }, 10000)) << list.Count();

  SendCommand(w, kExit);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

TEST_F(Tray, PlayPauseApplicationCommandTogglesPlaybackWhileHidden) {
  const std::wstring song = media / L"long.wav";
  ASSERT_TRUE(WriteBytesFile(song, sorvane::testing::SoundFileBytes(60, sorvane::testing::Sound::kWav16)));
  WriteIni(L"[Program]\r\nm_PlayList=Test\r\n[Sorvane]\r\nm_PlayLast=0\r\n[MediaList]\r\nMediaList=" + song +
           L"\r\n");
  Process p;
  ASSERT_TRUE(p.Start(SorvaneExe()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  RemoteListView list(p.Id(), GetDlgItem(w, kListView));
  ASSERT_TRUE(list.Ready());
  ASSERT_EQ(list.Count(), 1);
  ASSERT_TRUE(list.Click(0));
  ASSERT_TRUE(WaitUntil([&] { return PositionSeconds(w) >= 1; }, 30000)) << "nothing plays";

  SendCommand(w, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(w); }, 10000));

  const auto appCommand = [w] {
    PostMessageW(w, WM_APPCOMMAND, reinterpret_cast<WPARAM>(w), MAKELPARAM(0, APPCOMMAND_MEDIA_PLAY_PAUSE));
  };
  // Paused: the position stands still over two readings a while apart.
  appCommand();
  int paused = -1;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const int before = PositionSeconds(w);
        Sleep(1500);
        paused = PositionSeconds(w);
        return before == paused && paused >= 0;
      },
      20000))
      << "the key did not pause";
  // Playing again: the position moves on.
  appCommand();
  EXPECT_TRUE(WaitUntil([&] { return PositionSeconds(w) > paused; }, 20000)) << "the key did not resume";
  EXPECT_FALSE(IsWindowVisible(w)) << "the key showed the window";

  SendCommand(w, kExit);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

// The first visible popup menu window ("#32768") of a process.
HWND FindProcessMenu(DWORD processId) {
  struct Search {
    DWORD pid;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        wchar_t name[16] = {};
        GetClassNameW(h, name, 16);
        if (pid == s->pid && IsWindowVisible(h) && lstrcmpW(name, L"#32768") == 0) {
          s->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(Tray, RightButtonOnTheIconOpensTheTrayMenuAndItsExitEnds) {
  Process p;
  ASSERT_TRUE(p.Start(SorvaneExe()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  constexpr UINT kTrayMessage = 32868;
  PostMessageW(w, kTrayMessage, 100, WM_RBUTTONDOWN);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (menu = FindProcessMenu(p.Id())) != nullptr; }, 10000)) << "no tray menu";
  Sleep(300);  // let the menu paint before the picture
  SaveScreenshot(L"tray_menu");
  // The last item brings the window back; one up from the top wraps to it, the
  // next one up is Exit after its separator.
  PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

// The main window in each look; the selector's list is open in the Light one.
TEST_F(Tray, ThemesScreenshots) {
  const std::wstring song = media / L"Song.wav";
  ASSERT_TRUE(WriteToneWav(song, 1000));
  struct Look {
    int value;
    const wchar_t* name;
    bool dropDown;
  };
  for (const Look& look : {Look{1, L"theme_dark", false}, Look{2, L"theme_light", true},
                           Look{0, L"theme_default", false}, Look{3, L"theme_fourth", false}}) {
    SCOPED_TRACE(look.value);
    WriteIni(L"[Program]\r\nm_PlayList=Test\r\n[Sorvane]\r\nby_theme=" + std::to_wstring(look.value) +
             L"\r\n[MediaList]\r\nMediaList=" + song + kStoredLineBreak + song + L"\r\n");
    Process p;
    ASSERT_TRUE(p.Start(SorvaneExe()));
    HWND w = p.WaitForMainWindow();
    ASSERT_NE(w, nullptr);
    SetForegroundWindow(w);
    if (look.dropDown) {
      SendMessageW(GetDlgItem(w, kSelector), CB_SHOWDROPDOWN, TRUE, 0);
      EXPECT_TRUE(WaitUntil([&] { return SendMessageW(GetDlgItem(w, kSelector), CB_GETDROPPEDSTATE, 0, 0) != 0; },
                            5000));
    }
    Sleep(700);  // let the window paint before the picture
    SaveScreenshot(look.name);
    if (look.dropDown) SendMessageW(GetDlgItem(w, kSelector), CB_SHOWDROPDOWN, FALSE, 0);
    SendCommand(w, kExit);
    EXPECT_EQ(p.WaitForExit(), kExitNormal);
  }
}

}  // namespace
