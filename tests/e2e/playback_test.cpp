// The media lists, the background probe, the player and the sequencer as one
// program, seen from outside: the list view read through the target's memory,
// the panel's time text, the INI file, and generated WAV files that really play.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "harness.h"
#include "../support/sound_files.h"

using namespace e2e;

namespace {

constexpr UINT kCommandClose = 32916;
constexpr DWORD kExitNormal = 45054;  // the exit code of an orderly close
constexpr int kListView = 1033, kSelector = 1000, kPanel = 1249, kStatusText = 1320;
constexpr int kTimeText = 1261, kVolumeSlider = 1257;
constexpr int kFlyOutButton = 1243, kCompactButton = 1244;
constexpr wchar_t kStoredLineBreak[] = L"\uE000\uE001\uE002";

using sorvane::testing::Sound;

bool WriteSound(const std::wstring& path, int seconds, Sound kind = Sound::kWav16) {
  return WriteBytesFile(path, sorvane::testing::SoundFileBytes(seconds, kind));
}

bool WriteTextFile(const std::wstring& path, const char* text) { return WriteBytesFile(path, text); }

// "mm:ss /  mm:ss" of the panel: position and duration in seconds, or -1.
struct TimeReading {
  int position = -1;
  int duration = -1;
};
TimeReading ReadTime(HWND mainWindow) {
  TimeReading t;
  const std::wstring text = TextOf(GetDlgItem(GetDlgItem(mainWindow, kPanel), kTimeText));
  int pm = 0, ps = 0, dm = 0, ds = 0;
  if (swscanf(text.c_str(), L"%d:%d / %d:%d", &pm, &ps, &dm, &ds) == 4) {
    t.position = pm * 60 + ps;
    t.duration = dm * 60 + ds;
  }
  return t;
}

class Playback : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteSound(media / L"one.wav", 2));
    ASSERT_TRUE(WriteSound(media / L"two.wav", 2));
    ASSERT_TRUE(WriteTextFile(media / L"notes.mp3", "this is text, not sound\r\n"));
  }

  // One list named "Test" holding paths; extra lines go to the INI as they are.
  void WriteIni(const std::vector<std::wstring>& paths, const std::wstring& extra = L"") {
    std::wstring list;
    for (size_t i = 0; i < paths.size(); ++i) list += (i ? kStoredLineBreak : L"") + paths[i];
    ASSERT_TRUE(WriteUtf16File(appData.IniPath(), L"[Program]\r\nm_PlayList=Test\r\n" + extra +
                                                      L"[MediaList]\r\nMediaList=" + list + L"\r\n"));
  }

  std::wstring Ini() { return ReadUtf16Ini(appData.IniPath()).value_or(L""); }

  AppDataRedirect appData;
  TempFolder media{L"media"};
};

TEST_F(Playback, SavedListIsShownAndProbedInTheBackgroundWithFailureMarks) {
  const std::wstring missing = media / L"gone.wav";
  WriteIni({media / L"one.wav", media / L"notes.mp3", missing, media / L"two.wav"},
           L"[Sorvane]\r\nm_PlayLast=0\r\n");
  Process p;
  ASSERT_TRUE(p.Start(SorvaneExe()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  RemoteListView list(p.Id(), GetDlgItem(w, kListView));
  ASSERT_TRUE(list.Ready());
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Text(2, 1), missing);

  ASSERT_TRUE(WaitUntil([&] { return list.Text(3, 2) == L"00:02"; }, 30000)) << list.Text(3, 2);
  EXPECT_EQ(list.Text(0, 2), L"00:02");
  EXPECT_FALSE(list.Text(0, 0).empty());
  EXPECT_EQ(list.Text(1, 2), L"X");  // text under a sound file's name
  EXPECT_EQ(list.Text(2, 2), L"X");  // no file at all
  EXPECT_TRUE(WaitUntil([&] { return TextOf(GetDlgItem(w, kStatusText)).find(L"2 / 4") != std::wstring::npos; },
                        10000))
      << TextOf(GetDlgItem(w, kStatusText));
  SaveScreenshot(L"playback_probed_list");

  // The mode buttons sit inside the window at its bottom edge, under the list view.
  const RECT client = WindowRect(w), listRect = WindowRect(GetDlgItem(w, kListView));
  for (int id : {kFlyOutButton, kCompactButton}) {
    HWND button = GetDlgItem(w, id);
    ASSERT_NE(button, nullptr) << id;
    const RECT b = WindowRect(button);
    EXPECT_GT(b.top, listRect.bottom) << id;
    EXPECT_LE(b.bottom, client.bottom) << id;
    EXPECT_GE(b.left, client.left) << id;
    EXPECT_LE(b.right, client.right) << id;
  }
  EXPECT_EQ(TextOf(GetDlgItem(w, kFlyOutButton)), L"Be FlyOut");
  EXPECT_EQ(TextOf(GetDlgItem(w, kCompactButton)), L"Compact Mode");

  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

TEST_F(Playback, ClickPlaysTheRowAndTheEndOfEachMediumPlaysTheNext) {
  WriteIni({media / L"one.wav", media / L"two.wav"}, L"[Sorvane]\r\nrandom_play=0\r\nm_PlayLast=0\r\n");
  Process p;
  ASSERT_TRUE(p.Start(SorvaneExe()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  RemoteListView list(p.Id(), GetDlgItem(w, kListView));
  ASSERT_TRUE(list.Ready());
  ASSERT_EQ(list.Count(), 2);

  ASSERT_TRUE(list.Click(0));
  ASSERT_TRUE(WaitUntil([&] { return ReadTime(w).duration == 2; }, 20000)) << TextOf(GetDlgItem(w, kPanel));
  EXPECT_EQ(list.Focused(), 0);
  SaveScreenshot(L"playback_playing");
  // Sequential order, repeat all (the default): one, two, then one again, each from the real end-of-media signal.
  ASSERT_TRUE(WaitUntil([&] { return list.Focused() == 1; }, 20000));
  ASSERT_TRUE(WaitUntil([&] { return list.Focused() == 0; }, 20000));

  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

TEST_F(Playback, RepeatOnePlaysTheSameRowAgain) {
  WriteIni({media / L"one.wav", media / L"two.wav"}, L"[Sorvane]\r\nm_Repeat=2\r\nm_PlayLast=1\r\nm_Sel=0\r\n");
  Process p;
  ASSERT_TRUE(p.Start(SorvaneExe()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  RemoteListView list(p.Id(), GetDlgItem(w, kListView));
  // Played from its start, through its end, and from its start again.
  int passes = 0, last = -1, otherRow = -1;
  const bool twice = WaitUntil(
      [&] {
        const int now = ReadTime(w).position;
        if (now >= 1 && last < 1) ++passes;
        if (now >= 0) last = now;
        if (list.Focused() != 0) otherRow = list.Focused();
        return passes >= 2;
      },
      30000);
  EXPECT_TRUE(twice) << passes;
  EXPECT_EQ(otherRow, -1);
  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

TEST_F(Playback, UnplayableRowIsMarkedAndSkipped) {
  WriteIni({media / L"one.wav", media / L"notes.mp3", media / L"two.wav"},
           L"[Sorvane]\r\nrandom_play=0\r\nm_PlayLast=1\r\nm_Sel=0\r\n");
  Process p;
  ASSERT_TRUE(p.Start(SorvaneExe()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  RemoteListView list(p.Id(), GetDlgItem(w, kListView));
  bool sawMiddle = false;
  const bool reached = WaitUntil(
      [&] {
        sawMiddle = sawMiddle || list.Focused() == 1;
        return list.Focused() == 2;
      },
      30000);
  EXPECT_TRUE(reached) << list.Focused();
  EXPECT_FALSE(sawMiddle);
  EXPECT_EQ(list.Text(1, 2), L"X");
  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

// A long medium: the stored position is far beyond what the test's waiting
// could play, so reaching it shows the seek.
TEST_F(Playback, RestartResumesTheLastRowAtItsStoredPosition) {
  ASSERT_TRUE(WriteSound(media / L"long.wav", 60));
  WriteIni({media / L"one.wav", media / L"long.wav"},
           L"m_Position=40.000000\r\n[Sorvane]\r\nm_PlayLast=1\r\nm_Sel=1\r\n");
  Process p;
  ASSERT_TRUE(p.Start(SorvaneExe()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  RemoteListView list(p.Id(), GetDlgItem(w, kListView));
  ASSERT_TRUE(WaitUntil([&] { return ReadTime(w).duration == 60; }, 20000)) << TextOf(GetDlgItem(w, kPanel));
  EXPECT_EQ(list.Focused(), 1);
  ASSERT_TRUE(WaitUntil([&] { return ReadTime(w).position >= 40; }, 20000))
      << TextOf(GetDlgItem(GetDlgItem(w, kPanel), kTimeText));

  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
  const std::wstring ini = Ini();
  const auto position = IniValue(ini, L"Program", L"m_Position");
  ASSERT_TRUE(position.has_value());
  EXPECT_GE(_wtof(position->c_str()), 40.0) << *position;
  EXPECT_EQ(IniValue(ini, L"Sorvane", L"m_Sel"), std::wstring(L"1"));
}

TEST_F(Playback, CloseWritesWindowListSelectionVolumeAndPosition) {
  const std::wstring one = media / L"one.wav", two = media / L"two.wav";
  ASSERT_TRUE(WriteUtf16File(appData.IniPath(),
                             L"[Program]\r\nm_PlayList=First\tSecond\r\n[Sorvane]\r\nm_LastSel=1\r\nm_PlayLast=0\r\n"
                             L"[MediaList]\r\nMediaList=" + one + L"\r\n[MediaList1]\r\nMediaList1=" + two +
                                 kStoredLineBreak + one + L"\r\n"));
  Process p;
  ASSERT_TRUE(p.Start(SorvaneExe()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  RemoteListView list(p.Id(), GetDlgItem(w, kListView));
  ASSERT_EQ(list.Count(), 2);

  // Switch to the first list through the selector, as its drop-down would.
  HWND selector = GetDlgItem(w, kSelector);
  SendMessageW(selector, CB_SETCURSEL, 0, 0);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(kSelector, CBN_SELENDOK), reinterpret_cast<LPARAM>(selector));
  ASSERT_TRUE(WaitUntil([&] { return list.Count() == 1; }, 5000));
  ASSERT_TRUE(list.Click(0));
  ASSERT_TRUE(WaitUntil([&] { return ReadTime(w).position >= 1; }, 20000));

  // The volume slider as a drag leaves it.
  HWND panel = GetDlgItem(w, kPanel);
  HWND slider = GetDlgItem(panel, kVolumeSlider);
  SendMessageW(slider, TBM_SETPOS, TRUE, 70);
  SendMessageW(panel, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 70), reinterpret_cast<LPARAM>(slider));

  const RECT r = WindowRect(w);
  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
  const std::wstring ini = Ini();
  EXPECT_EQ(IniValue(ini, L"Program", L"m_Window_Rect"),
            std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
                std::to_wstring(r.bottom));
  EXPECT_EQ(IniValue(ini, L"Sorvane", L"m_LastSel"), std::wstring(L"0"));
  EXPECT_EQ(IniValue(ini, L"MediaList", L"MediaList"), one);
  EXPECT_EQ(IniValue(ini, L"Sorvane", L"Volume"), std::wstring(L"70"));
  EXPECT_EQ(IniValue(ini, L"Sorvane", L"m_Sel"), std::wstring(L"0"));
  const auto position = IniValue(ini, L"Program", L"m_Position");
  ASSERT_TRUE(position.has_value());
  // "%f": six decimals, and a position inside the two-second medium.
  EXPECT_EQ(position->size() - position->find(L'.'), 7u) << *position;
  EXPECT_GT(_wtof(position->c_str()), 0.0);
  EXPECT_LE(_wtof(position->c_str()), 2.0);
}

}  // namespace

namespace {

// Each container plays to its end with its real duration, and its end moves
// the list on by exactly one row (a second end signal would skip a row). The
// media are long enough that each reading looked for lasts seconds, so a
// loaded machine that samples the panel seldom still sees it.
TEST_F(Playback, EachSoundFormatPlaysToItsEndWithOneEndSignal) {
  struct Case {
    Sound kind;
    const wchar_t* name;
  };
  const Case cases[] = {{Sound::kWav8, L"eight.wav"}, {Sound::kAiff, L"tone.aiff"}, {Sound::kAu, L"tone.au"}};
  ASSERT_TRUE(WriteSound(media / L"next.wav", 6));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name);
    ASSERT_TRUE(WriteSound(media / c.name, 6, c.kind));
    WriteIni({media / c.name, media / L"next.wav", media / L"two.wav"},
             L"[Sorvane]\r\nrandom_play=0\r\nm_PlayLast=1\r\nm_Sel=0\r\n");
    Process p;
    ASSERT_TRUE(p.Start(SorvaneExe()));
    HWND w = p.WaitForMainWindow();
    ASSERT_NE(w, nullptr);
    RemoteListView list(p.Id(), GetDlgItem(w, kListView));
    // Played through: the panel showed its six seconds and a position of at
    // least two before the list moved on. The cap only ends a run that hangs.
    bool sawDuration = false;
    int furthest = -1, focused = -1;
    const bool movedOn = WaitUntil(
        [&] {
          const TimeReading t = ReadTime(w);
          focused = list.Focused();
          if (focused == 0 && t.duration == 6) {
            sawDuration = true;
            furthest = std::max(furthest, t.position);
          }
          return focused > 0;
        },
        120000);
    ASSERT_TRUE(movedOn) << TextOf(GetDlgItem(GetDlgItem(w, kPanel), kTimeText));
    EXPECT_TRUE(sawDuration);
    EXPECT_GE(furthest, 2);
    ASSERT_EQ(focused, 1);
    // The next row plays for a second of its own: a second end signal of the
    // first medium would have moved on to row 2 long before.
    ASSERT_TRUE(WaitUntil(
        [&] {
          const TimeReading t = ReadTime(w);
          focused = list.Focused();
          return focused != 1 || (t.duration == 6 && t.position >= 1);
        },
        120000));
    EXPECT_EQ(focused, 1);
    EXPECT_TRUE(WaitUntil([&] { return list.Text(0, 2) == L"00:06"; }, 60000)) << list.Text(0, 2);
    SendCommand(w, kCommandClose);
    EXPECT_EQ(p.WaitForExit(), kExitNormal);
  }
}

}  // namespace
