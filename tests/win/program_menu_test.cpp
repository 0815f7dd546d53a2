// The program menu in the real main window: the row of menu buttons, the
// language switch, the shortcuts driven through the loop's message filter, the
// check marks, the writes of the mode commands and the list's context menu.
#include "app/win/program_menu_part.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/win/main_window.h"
#include "app/win/main_window_parts.h"
#include "framework/win/menu_row.h"
#include "framework/win/shell_run.h"
#include "framework/win/wintext.h"
#include "language/language_store.h"
#include "language/win/language_win.h"
#include "medialist/win/media_list_part.h"
#include "playback/win/playback_part.h"
#include "settings/settings_store.h"
#include "settings/win/win_file_system.h"

#include "main_window_fixture.h"
#include "media_fixtures.h"

namespace sorvane::win {
namespace {

// Counts the INI writes of the settings store.
class CountingFileSystem final : public FileSystem {
 public:
  bool ReadFile(const Text& p, std::string& b) override { return real.ReadFile(p, b); }
  bool WriteFileAtomic(const Text& p, std::string_view b) override {
    ++writes;
    return real.WriteFileAtomic(p, b);
  }
  int PathKind(const Text& p) override { return real.PathKind(p); }
  bool CreateFolder(const Text& p) override { return real.CreateFolder(p); }
  Text TempFolder() override { return real.TempFolder(); }
  Text ProgramFilePath() override { return real.ProgramFilePath(); }
  Text AppDataFolder() override { return real.AppDataFolder(); }
  Text AnsiToText(std::string_view b) override { return real.AnsiToText(b); }
  WinFileSystem real;
  int writes = 0;
};

Text ModulePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return T(path);
}

Text MenuString(HMENU menu, UINT position) {
  wchar_t text[256] = {};
  GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
  return T(text);
}

std::vector<ACCEL> TableOf(HACCEL table) {
  std::vector<ACCEL> entries(static_cast<size_t>(std::max(CopyAcceleratorTableW(table, nullptr, 0), 0)));
  if (!entries.empty()) CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
  return entries;
}

// Pumps the thread's messages the way the main loop does: filters first.
// Bounded: a window that keeps repainting must not hold the test.
void Pump(MainFrameLoop& loop) {
  MSG m;
  for (int n = 0; n < 2000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++n) {
    if (loop.Filter(m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

template <class Condition>
bool PumpUntil(MainFrameLoop& loop, Condition done, DWORD timeoutMs = 20000) {
  for (ULONGLONG end = GetTickCount64() + timeoutMs; GetTickCount64() < end;) {
    Pump(loop);
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

class ProgramMenuTest : public MainWindowFixture {
 protected:
  ProgramMenuTest() : MainWindowFixture(L"program_menu_test_") {}
  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(LoadLanguageArchiveFromFile(ModulePath(), Languages()));
    Languages().SetCurrent(kEnglishIndex);
    counting_.SetIniPath(T(ini_.c_str()));
    InstallSettings(&counting_);
    SetShellStartRecorderForTests([this](const ShellStart& s) {
      starts.push_back(s);
      return true;
    });
  }
  void TearDown() override {
    // Gone before the fixture drains the queue: a shown window keeps asking to be painted.
    if (window.Window()) DestroyWindow(window.Window());
    SetShellStartRecorderForTests(nullptr);
    SetKeyboardState(ZeroKeys().data());
    Languages().SetCurrent(kEnglishIndex);
    MainWindowFixture::TearDown();
  }

  static std::vector<BYTE> ZeroKeys() { return std::vector<BYTE>(256, 0); }

  // Creates the window with every part, shown, and finds its menu row.
  void Start() {
    player = AddMainWindowParts(window);
    ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
    ShowWindow(window.Window(), SW_SHOWNORMAL);
    row = MenuRow::From(window.Item(kMenuRowId));
    ASSERT_NE(row, nullptr);
  }

  // A key pressed with Ctrl held, posted to the focused list view and run
  // through the loop's filter as a real key press would be.
  void CtrlKey(WORD key) {
    std::vector<BYTE> keys = ZeroKeys();
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(keys.data());
    HWND target = window.Item(1033);
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    Pump(loop_);
    SetKeyboardState(ZeroKeys().data());
  }

  // Opens the Media popup through the row and reads the check marks while it shows.
  std::vector<UINT> CheckedWhileShown(const std::vector<UINT>& ids) {
    std::vector<UINT> checked;
    row->SetPopupShown([&](int, HMENU popup) {
      for (UINT id : ids)
        if (GetMenuState(popup, id, MF_BYCOMMAND) & MF_CHECKED) checked.push_back(id);
      EndMenu();
    });
    row->Activate(1);
    row->SetPopupShown(nullptr);
    return checked;
  }

  std::vector<Text> RowTexts() const {
    std::vector<Text> texts;
    for (const MenuRowEntry& e : row->Entries()) texts.push_back(e.text);
    return texts;
  }

  CountingFileSystem countingFiles_;
  SettingsStore counting_{countingFiles_};
  MainWindow window;
  PlayerParts player{};
  MenuRow* row = nullptr;
  std::vector<ShellStart> starts;
};

TEST_F(ProgramMenuTest, RowShowsThePopupsWithMediaSecondAndFollowsTheLanguage) {
  Start();
  HWND w = window.Window();
  EXPECT_EQ(RowTexts(), (std::vector<Text>{u"Program", u"Media", u"E&xit", u"# ?"}));
  // The row lies above the list view and the panel, across the top edge.
  RECT rowRect{}, list{}, panel{};
  GetWindowRect(row->Window(), &rowRect);
  GetWindowRect(window.Item(1033), &list);
  GetWindowRect(window.Item(1249), &panel);
  EXPECT_LE(rowRect.bottom, list.top);
  EXPECT_LE(rowRect.bottom, panel.top);
  EXPECT_GT(rowRect.bottom - rowRect.top, 10);
  // The first popup carries the inserted items; the Media popup its table.
  HMENU first = row->Entries()[0].popup, media = row->Entries()[1].popup;
  ASSERT_NE(first, nullptr);
  ASSERT_NE(media, nullptr);
  EXPECT_EQ(GetMenuItemID(first, 5), 32203u);
  EXPECT_EQ(GetMenuItemID(first, 8), 45107u);
  EXPECT_EQ(MenuString(first, 8), u"Restart Sorvane");
  EXPECT_EQ(GetMenuItemID(first, 10), 33364u);
  EXPECT_EQ(MenuString(media, 3), u"Play\tCtrl + P  \u25B6");
  EXPECT_EQ(MenuString(media, 1), u"Compact Mode\tCtrl + C");
  EXPECT_EQ(GetMenuState(media, 17, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  const std::vector<ACCEL> english = TableOf(window.Accelerators());
  ASSERT_FALSE(english.empty());
  // Ctrl+P twice, Play first: the keyboard reaches 1301.
  auto ctrlP = std::find_if(english.begin(), english.end(), [](const ACCEL& a) { return a.key == 'P'; });
  ASSERT_NE(ctrlP, english.end());
  EXPECT_EQ(ctrlP->cmd, 1301);
  EXPECT_EQ(ctrlP->fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ((ctrlP + 1)->cmd, 1302);

  // German: the row, the popups and the title follow; a new table replaces the old one.
  SendMessageW(w, WM_COMMAND, kLanguageCommandFirst + 0, 0);
  ASSERT_EQ(Languages().Current(), 0);
  EXPECT_EQ(RowTexts(), (std::vector<Text>{u"Programm", u"Medien", u"&Beenden", u"# ?"}));
  media = row->Entries()[1].popup;
  EXPECT_EQ(MenuString(media, 3), u"Wiedergabe\tCtrl + P  \u25B6");
  const std::vector<ACCEL> german = TableOf(window.Accelerators());
  ASSERT_EQ(german.size(), english.size());
  for (size_t i = 0; i < german.size(); ++i) {
    EXPECT_EQ(german[i].key, english[i].key);
    EXPECT_EQ(german[i].fVirt, english[i].fVirt);
    EXPECT_EQ(german[i].cmd, english[i].cmd);
  }
  EXPECT_EQ(store_.ReadProgramInt(u"lng", -1), 0);

  // The shortcuts are the same in German: Ctrl+3 and Ctrl+2 reach the sequencer.
  CtrlKey('3');
  EXPECT_EQ(player.playback->Sequence()->Repeat(), 0);
  CtrlKey('2');
  EXPECT_EQ(player.playback->Sequence()->Repeat(), 1);
}

TEST_F(ProgramMenuTest, RepeatShortcutsWriteTheModeAndTheChecksFollowRandomWritesOnlyWhenChanged) {
  Start();
  struct Case {
    WORD key;
    int repeat;
    UINT checked;
  };
  for (const Case& c : {Case{'1', 2, 1308}, Case{'2', 1, 1311}, Case{'3', 0, 1312}}) {
    SCOPED_TRACE(c.key);
    CtrlKey(c.key);
    EXPECT_EQ(counting_.ReadInt(kProductSection, u"m_Repeat", -1), c.repeat);
    const std::vector<UINT> checked = CheckedWhileShown({1308, 1311, 1312});
    EXPECT_EQ(checked, std::vector<UINT>{c.checked});
  }

  // Random on: one write and the check; choosing it again writes nothing.
  CtrlKey('O');
  EXPECT_EQ(counting_.ReadInt(kProductSection, u"random_play", -1), 1);
  EXPECT_EQ(CheckedWhileShown({1307, 1310}), std::vector<UINT>{1307});
  const int before = countingFiles_.writes;
  SendMessageW(window.Window(), WM_COMMAND, 1307, 0);
  CtrlKey('O');
  EXPECT_EQ(countingFiles_.writes, before);
  // Sequential is a change: exactly one write.
  CtrlKey('Q');
  EXPECT_EQ(countingFiles_.writes, before + 1);
  EXPECT_EQ(counting_.ReadInt(kProductSection, u"random_play", -1), 0);
  EXPECT_EQ(CheckedWhileShown({1307, 1310}), std::vector<UINT>{1310});
}

TEST_F(ProgramMenuTest, CtrlPPlaysAndPausesThroughTheLoopFilter) {
  Start();
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring wav = std::wstring(temp) + L"program_menu_tone.wav";
  ASSERT_TRUE(sorvane::testing::WriteToneWav(wav, 20.0));
  PlayerControl& control = player.playback->Panel().Control();
  ASSERT_TRUE(control.PlayUrl(T(wav.c_str())));
  ASSERT_TRUE(PumpUntil(loop_, [&] { return control.LastPlayState() == 3; }));
  control.Stop();
  ASSERT_TRUE(PumpUntil(loop_, [&] { return control.LastPlayState() != 3; }));

  CtrlKey('P');
  EXPECT_TRUE(control.IsPlaying());
  EXPECT_TRUE(PumpUntil(loop_, [&] { return control.LastPlayState() == 3; }));
  // Wine's control reports no state change on pause: the control's own flag shows it.
  CtrlKey('P');
  EXPECT_FALSE(control.IsPlaying());
  control.Stop();
  window.Close();
  DeleteFileW(wav.c_str());
}

TEST_F(ProgramMenuTest, F10HighlightsTheRowArrowsMoveAndAPopupSwitchesToItsNeighbour) {
  Start();
  HWND w = window.Window();
  SetFocus(window.Item(1033));
  // F10 as the system reports it: the window's key-menu command without a character.
  SendMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_TRUE(row->KeyboardMode());
  EXPECT_EQ(row->HotIndex(), 0);
  EXPECT_EQ(GetFocus(), row->Window());
  PostMessageW(row->Window(), WM_KEYDOWN, VK_RIGHT, 1);
  Pump(loop_);
  EXPECT_EQ(row->HotIndex(), 1);

  // Down opens Media; Right inside it moves on to the next popup (Program, wrapping).
  std::vector<int> opened;
  row->SetPopupShown([&](int index, HMENU) {
    opened.push_back(index);
    if (opened.size() == 1) PostMessageW(w, WM_KEYDOWN, VK_RIGHT, 1);
    else PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 1);
  });
  PostMessageW(row->Window(), WM_KEYDOWN, VK_DOWN, 1);
  Pump(loop_);
  row->SetPopupShown(nullptr);
  EXPECT_EQ(opened, (std::vector<int>{1, 0}));
  // Esc in the popup returns to the row; Esc again gives the focus back.
  EXPECT_TRUE(row->KeyboardMode());
  PostMessageW(row->Window(), WM_KEYDOWN, VK_ESCAPE, 1);
  Pump(loop_);
  EXPECT_FALSE(row->KeyboardMode());
  EXPECT_EQ(GetFocus(), window.Item(1033));
}

// The list's context menu, with the command chosen by the keyboard inside the
// menu's own loop: k presses of Down reach command 1000 + k.
struct MenuChoice {
  int downs = 0;
  int shown = 0;
};
LRESULT CALLBACK ChooseInMenu(HWND w, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* choice = reinterpret_cast<MenuChoice*>(data);
  if (message == WM_ENTERIDLE && wParam == MSGF_MENU && choice->downs > 0) {
    ++choice->shown;
    for (int i = 0; i < choice->downs; ++i) PostMessageW(w, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(w, WM_KEYDOWN, VK_RETURN, 1);
    choice->downs = 0;
  }
  return DefSubclassProc(w, message, wParam, lParam);
}

TEST_F(ProgramMenuTest, ListContextMenuOnlyOverARowMovesRemovesAndSelects) {
  Start();
  HWND list = window.Item(1033);
  MediaListController& lists = player.lists->Controller();
  MediaList& rows = lists.Rows();
  for (const char16_t* name : {u"C:\\m\\a.mp3", u"C:\\m\\b.mp3", u"C:\\m\\c.mp3"})
    ASSERT_TRUE(lists.AddMediaFile(name, nullptr));
  ASSERT_EQ(rows.Count(), 3);
  MenuChoice choice;
  ASSERT_TRUE(SetWindowSubclass(list, ChooseInMenu, 1, reinterpret_cast<DWORD_PTR>(&choice)));
  auto order = [&] {
    std::vector<Text> paths;
    for (int r = 0; r < rows.Count(); ++r) paths.push_back(rows.Cell(r, 1));
    return paths;
  };
  auto rightClick = [&](int row, int command) {
    RECT r{};
    ListView_GetItemRect(list, row, &r, LVIR_LABEL);
    POINT p{r.left + 4, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    choice.downs = command - 1000;
    SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(p.x, p.y));
    choice.downs = 0;
  };
  auto select = [&](std::initializer_list<int> which) {
    for (int r = 0; r < rows.Count(); ++r) ListView_SetItemState(list, r, 0, LVIS_SELECTED);
    for (int r : which) ListView_SetItemState(list, r, LVIS_SELECTED, LVIS_SELECTED);
  };

  // Below the last row there is no entry: no menu.
  RECT last{};
  ListView_GetItemRect(list, 2, &last, LVIR_BOUNDS);
  POINT empty{last.left + 4, last.bottom + 40};
  ClientToScreen(list, &empty);
  choice.downs = 1;
  SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(empty.x, empty.y));
  EXPECT_EQ(choice.shown, 0);
  choice.downs = 0;

  // Move Up on the first row: place -1 is clamped to the top.
  select({2});
  rightClick(0, 1002);
  EXPECT_EQ(choice.shown, 1);
  EXPECT_EQ(order(), (std::vector<Text>{u"C:\\m\\c.mp3", u"C:\\m\\a.mp3", u"C:\\m\\b.mp3"}));
  // Move Down on the last row: past the end appends.
  select({0});
  rightClick(2, 1003);
  EXPECT_EQ(order(), (std::vector<Text>{u"C:\\m\\a.mp3", u"C:\\m\\b.mp3", u"C:\\m\\c.mp3"}));
  // Select All, Invert Selection, then Remove of what is selected.
  rightClick(1, 1009);
  EXPECT_EQ(rows.SelectedCount(), 3);
  select({1});
  rightClick(1, 1010);
  EXPECT_EQ(rows.SelectedRows(), (std::vector<int>{0, 2}));
  rightClick(0, 1005);
  EXPECT_EQ(order(), (std::vector<Text>{u"C:\\m\\b.mp3"}));

  // Show in Explorer: the explorer with "/select," and the quoted path, owned by the main window.
  starts.clear();
  rightClick(0, 1006);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].file, u"explorer.exe");
  EXPECT_EQ(starts[0].parameters, u"/select,\"C:\\m\\b.mp3\"");
  EXPECT_EQ(starts[0].owner, window.Window());
  EXPECT_EQ(choice.shown, 6);
  RemoveWindowSubclass(list, ChooseInMenu, 1);
}

}  // namespace
}  // namespace sorvane::win
