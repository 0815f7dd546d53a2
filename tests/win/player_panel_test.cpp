#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "framework/win/wintext.h"
#include "../unit/settings_fake_file_system.h"
#include "media_fixtures.h"
#include "playback/win/control_host.h"
#include "playback/win/player_panel.h"
#include "playback/win/transport_button.h"
#include "resource_ids.h"

namespace sorvane::win {
namespace {

using sorvane::testing::CaptureWindow;
using sorvane::testing::SaveScreenshot;
using sorvane::testing::TempFolder;
using sorvane::testing::WriteToneWav;

// Serves messages until done(); true when done. The time is only a cap for a
// test that never gets there, far beyond what any wait here needs.
constexpr DWORD kCap = 60000;
bool PumpUntil(const std::function<bool()>& done, DWORD ms = kCap) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}
void Pump(DWORD ms) { PumpUntil([] { return false; }, ms); }

// The main window's stand-in: records the commands the panel sends or posts.
class ParentWindow {
 public:
  ParentWindow(int width, int height) {
    static const ATOM cls = [] {
      WNDCLASSEXW wc{sizeof(wc)};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
      wc.lpszClassName = L"SorvanePanelTestParent";
      return RegisterClassExW(&wc);
    }();
    (void)cls;
    window_ = CreateWindowExW(0, L"SorvanePanelTestParent", L"panel test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20,
                              20, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  }
  ~ParentWindow() {
    if (window_) DestroyWindow(window_);
  }
  HWND Window() const { return window_; }
  std::vector<std::pair<WPARAM, LPARAM>> commands;

  int Count(WPARAM w, LPARAM l) const {
    int n = 0;
    for (const auto& c : commands) n += (c.first == w && c.second == l);
    return n;
  }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NCCREATE) {
      SetWindowLongPtrW(w, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    }
    auto* self = reinterpret_cast<ParentWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (m == WM_COMMAND && self) {
      self->commands.emplace_back(wp, lp);
      return 0;
    }
    if (m == WM_NCDESTROY && self) self->window_ = nullptr;
    return DefWindowProcW(w, m, wp, lp);
  }
  HWND window_ = nullptr;
};

Text ChildText(const PlayerPanel& panel, int id) { return WindowText(GetDlgItem(panel.Window(), id)); }
// "mm:ss /  mm:ss" of the time text as seconds; -1 where it reads otherwise.
struct TimeReading {
  int position = -1, duration = -1;
};
TimeReading ReadTime(const PlayerPanel& panel) {
  TimeReading t;
  int pm = 0, ps = 0, dm = 0, ds = 0;
  if (swscanf(W(ChildText(panel, IDC_TIME_TEXT)), L"%d:%d /  %d:%d", &pm, &ps, &dm, &ds) == 4) {
    t.position = pm * 60 + ps;
    t.duration = dm * 60 + ds;
  }
  return t;
}
// The panel's timers, run now instead of when Windows gets to them.
void Tick(const PlayerPanel& panel) { SendMessageW(panel.Window(), WM_TIMER, PlayerPanel::kTickTimer, 0); }
int SliderPos(const PlayerPanel& panel, int id) {
  return static_cast<int>(SendDlgItemMessageW(panel.Window(), id, TBM_GETPOS, 0, 0));
}
void Click(const PlayerPanel& panel, int id) {
  SendMessageW(panel.Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(panel.Window(), id)));
}

// OLE for the test thread, as the program's entry sets it up; ended after the
// last test has destroyed its windows.
class OleEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }
};
const auto* const kOle = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

struct PanelFixture : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(parent.Window());
    ASSERT_TRUE(panel.Create(parent.Window()));
    RECT rc{};
    GetClientRect(parent.Window(), &rc);
    SetWindowPos(panel.Window(), nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER);
    ShowWindow(panel.Window(), SW_SHOW);
    Pump(50);
  }

  std::wstring Wav(double seconds = 2.0) {
    std::wstring path = temp.File(L"tone.wav");
    EXPECT_TRUE(WriteToneWav(path, seconds));
    return path;
  }

  TempFolder temp;
  ParentWindow parent{480, 360};
  PlayerPanel panel;
};

TEST_F(PanelFixture, HostsTheControlInAWindowThatFollowsItsHost) {
  HWND video = panel.VideoWindow();
  ASSERT_TRUE(video);
  wchar_t cls[64] = {};
  GetClassNameW(video, cls, 64);
  EXPECT_STREQ(cls, kMediaPlayerControlClass);
  ASSERT_TRUE(panel.Control().HasPlayer());
  EXPECT_TRUE(panel.Control().HasSettings());
  EXPECT_TRUE(GetHostedControl(video));

  // The control's own window lives inside the host and keeps the host's size,
  // also after the host has moved to another parent (video-only mode).
  HWND inner = GetWindow(video, GW_CHILD);
  ASSERT_TRUE(inner);
  SetParent(video, parent.Window());
  SetWindowPos(video, nullptr, 5, 5, 222, 111, SWP_NOZORDER);
  RECT rc{};
  GetClientRect(inner, &rc);
  EXPECT_EQ(rc.right, 222);
  EXPECT_EQ(rc.bottom, 111);
  SetParent(video, panel.Window());
}

// Destroying the panel releases every reference to the control, also while a
// medium plays: the last Release is then ours.
TEST_F(PanelFixture, DestroyingThePanelReleasesTheControl) {
  const std::wstring wav = Wav();
  ASSERT_TRUE(panel.Control().PlayUrl(T(wav.c_str())));
  ASSERT_TRUE(PumpUntil([&] { return panel.Control().LastPlayState() == 3; }));
  IUnknown* control = GetHostedControl(panel.VideoWindow()).Detach();
  ASSERT_TRUE(control);
  DestroyWindow(panel.Window());
  EXPECT_FALSE(panel.Window());
  EXPECT_FALSE(panel.Control().HasPlayer());
  EXPECT_EQ(control->Release(), 0u);
}

TEST_F(PanelFixture, StartsAtVolumeFiftyAndFollowsTheVolumeSlider) {
  EXPECT_EQ(SliderPos(panel, IDC_VOLUME_SLIDER), 50);
  EXPECT_EQ(panel.Control().GetVolume(), 50);
  EXPECT_EQ(ChildText(panel, IDC_VOLUME_TEXT), u"50 %");

  HWND slider = GetDlgItem(panel.Window(), IDC_VOLUME_SLIDER);
  SendMessageW(slider, TBM_SETPOS, TRUE, 30);
  SendMessageW(panel.Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 30), reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(panel.Control().GetVolume(), 30);
  EXPECT_EQ(ChildText(panel, IDC_VOLUME_TEXT), u"30 %");

  // The stored volume moves player, slider and label together; at close a
  // chosen 50 replaces it.
  sorvane::testing::FakeFileSystem fs;
  fs.folders.insert(u"c:\\cfg");
  SettingsStore store(fs);
  store.SetIniPath(u"C:\\cfg\\Sorvane.ini");
  ASSERT_TRUE(store.WriteInt(u"Sorvane", u"Volume", 70));
  panel.LoadVolume(store);
  EXPECT_EQ(panel.Control().GetVolume(), 70);
  EXPECT_EQ(SliderPos(panel, IDC_VOLUME_SLIDER), 70);
  EXPECT_EQ(ChildText(panel, IDC_VOLUME_TEXT), u"70 %");
  EXPECT_FALSE(panel.SaveVolume(store));  // unchanged
  panel.SetVolume(50);
  EXPECT_TRUE(panel.SaveVolume(store));
  EXPECT_EQ(store.ReadInt(u"Sorvane", u"Volume", 0), 50);
}

TEST_F(PanelFixture, PlaysAWavToItsEndAndSignalsTheEndOnce) {
  const std::wstring wav = Wav();
  ASSERT_TRUE(panel.Control().PlayUrl(T(wav.c_str())));
  EXPECT_EQ(panel.Control().CurrentUrl(), T(wav.c_str()));

  // The tick shows the position and the 2-second duration while playing; a
  // stopped tick leaves the text as it was, so the reading stays once reached.
  ASSERT_TRUE(PumpUntil([&] {
    const TimeReading t = ReadTime(panel);
    return t.duration == 2 && t.position >= 1;
  })) << ToUtf8(ChildText(panel, IDC_TIME_TEXT));
  EXPECT_EQ(ChildText(panel, IDC_TIME_TEXT), u"00:01 /  00:02");
  EXPECT_GT(SliderPos(panel, IDC_POSITION_SLIDER), 0);

  ASSERT_TRUE(PumpUntil([&] { return parent.Count(1259, 1259) > 0; }));
  // A second end signal would follow the first at once; give it time to show.
  Pump(1500);
  EXPECT_EQ(parent.Count(1259, 1259), 1);
  EXPECT_EQ(parent.commands.size(), 1u);
}

TEST_F(PanelFixture, StopResetsSliderAndTimeTextAndPlayResumesTheSameUrl) {
  const std::wstring wav = Wav(4.0);
  ASSERT_TRUE(panel.Control().PlayUrl(T(wav.c_str())));
  ASSERT_TRUE(PumpUntil([&] { return SliderPos(panel, IDC_POSITION_SLIDER) > 0; }));
  Click(panel, 1255);
  EXPECT_FALSE(panel.Control().IsPlaying());
  EXPECT_EQ(SliderPos(panel, IDC_POSITION_SLIDER), 0);
  EXPECT_EQ(ChildText(panel, IDC_TIME_TEXT), u"00:00");
  Tick(panel);  // the tick leaves a stopped panel alone
  EXPECT_EQ(ChildText(panel, IDC_TIME_TEXT), u"00:00");
  EXPECT_EQ(SliderPos(panel, IDC_POSITION_SLIDER), 0);

  Click(panel, 1253);
  EXPECT_TRUE(panel.Control().IsPlaying());
  EXPECT_EQ(panel.Control().CurrentUrl(), T(wav.c_str()));
  EXPECT_TRUE(parent.commands.empty());  // Play with a URL does not ask the parent
}

// Wine's control accepts every URL (put_URL succeeds even for a missing file),
// so a refusal is covered by the adapter's unit tests; here the missing file
// must not be taken for a medium that ended.
TEST_F(PanelFixture, MissingFileNeitherEndsNorShowsADuration) {
  const std::wstring wav = Wav(4.0);
  ASSERT_TRUE(panel.Control().PlayUrl(T(wav.c_str())));
  ASSERT_TRUE(PumpUntil([&] { return SliderPos(panel, IDC_POSITION_SLIDER) > 0; }));
  Click(panel, 1254);
  EXPECT_FALSE(panel.Control().IsPlaying());
  const int slider = SliderPos(panel, IDC_POSITION_SLIDER);

  const std::wstring missing = temp.Path() + L"\\missing.wav";
  if (panel.Control().PlayUrl(T(missing.c_str()))) {
    EXPECT_EQ(panel.Control().CurrentUrl(), T(missing.c_str()));
    EXPECT_EQ(panel.Control().DurationSeconds(), 0);
  } else {
    EXPECT_EQ(panel.Control().CurrentUrl(), T(wav.c_str()));
    EXPECT_FALSE(panel.Control().IsPlaying());
  }
  Pump(1000);
  EXPECT_EQ(parent.Count(1259, 1259), 0);
  EXPECT_EQ(panel.Control().DurationSeconds(), 0);
  EXPECT_EQ(SliderPos(panel, IDC_POSITION_SLIDER), slider);  // unknown duration: slider stays
}

// A drag of the position slider seeks once, when the debounce timer fires
// after the last movement, to the slider's share of the whole seconds of the
// duration; the tick then runs again.
TEST_F(PanelFixture, PositionSliderSeeksAfterTheDrag) {
  const std::wstring wav = Wav(6.0);
  ASSERT_TRUE(panel.Control().PlayUrl(T(wav.c_str())));
  ASSERT_TRUE(PumpUntil([&] { return panel.Control().DurationSeconds() == 6; }));
  HWND slider = GetDlgItem(panel.Window(), IDC_POSITION_SLIDER);
  for (int pos : {300, 500, 750}) {
    SendMessageW(slider, TBM_SETPOS, TRUE, pos);
    SendMessageW(panel.Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, pos), reinterpret_cast<LPARAM>(slider));
  }
  EXPECT_EQ(SliderPos(panel, IDC_POSITION_SLIDER), 750);
  SendMessageW(panel.Window(), WM_TIMER, PlayerPanel::kSeekTimer, 0);
  const double position = panel.Control().GetPosition();
  EXPECT_GE(position, 4.5);  // 6 s x 0.75, not where it was playing
  EXPECT_LT(position, 5.5);
  // The tick runs again by itself and shows the playing position; the reading
  // stays once the medium has ended.
  ASSERT_TRUE(PumpUntil([&] {
    const TimeReading t = ReadTime(panel);
    return t.duration == 6 && t.position >= 4;
  })) << ToUtf8(ChildText(panel, IDC_TIME_TEXT));
  EXPECT_GE(SliderPos(panel, IDC_POSITION_SLIDER), 750);
}

TEST_F(PanelFixture, MuteFlipsTheGlyph) {
  EXPECT_EQ(ChildText(panel, 1256), u"\U0001F507");
  Click(panel, 1256);
  EXPECT_TRUE(panel.Control().IsMuted());
  EXPECT_EQ(ChildText(panel, 1256), u"\U0001F508");
  Click(panel, 1256);
  EXPECT_FALSE(panel.Control().IsMuted());
  EXPECT_EQ(ChildText(panel, 1256), u"\U0001F507");
}

TEST_F(PanelFixture, CommandsReachTheParent) {
  // Play with nothing loaded asks the parent what to play (posted end-of-media).
  Click(panel, 1253);
  Pump(50);
  EXPECT_EQ(parent.Count(1259, 1259), 1);
  parent.commands.clear();

  HWND next = GetDlgItem(panel.Window(), 1259);
  Click(panel, 1259);
  Click(panel, 1260);
  SendMessageW(panel.Window(), WM_COMMAND, 1307, 0);
  EXPECT_EQ(ChildText(panel, 1263), u"\U0001F500");
  SendMessageW(panel.Window(), WM_COMMAND, 1310, 0);
  EXPECT_EQ(ChildText(panel, 1263), u"\U0001F501");
  SendMessageW(panel.Window(), WM_COMMAND, 1312, 0);
  SendMessageW(panel.Window(), WM_COMMAND, 1303, 0);
  SendMessageW(panel.Window(), WM_COMMAND, 4711, 0);  // not a panel command: kept
  const std::vector<std::pair<WPARAM, LPARAM>> expected{
      {MAKEWPARAM(1259, BN_CLICKED), reinterpret_cast<LPARAM>(next)},
      {MAKEWPARAM(1260, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(panel.Window(), 1260))},
      {1307, 0}, {1310, 0}, {1312, 0}, {1303, 0}};
  EXPECT_EQ(parent.commands, expected);
}

// The menus are read while open (the panel, their owner, is told at
// WM_INITMENUPOPUP) and closed again.
struct OpenMenu {
  std::vector<std::pair<UINT, Text>> items;  // id 0: separator
  UINT checked = 0;
};
LRESULT CALLBACK ReadMenu(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  if (m == WM_INITMENUPOPUP) {
    auto* out = reinterpret_cast<OpenMenu*>(data);
    HMENU menu = reinterpret_cast<HMENU>(wp);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t text[128] = {};
      GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
      const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
      out->checked += (state & MF_CHECKED) != 0;
      out->items.emplace_back((state & MF_SEPARATOR) ? 0 : GetMenuItemID(menu, i), T(text));
    }
    PostMessageW(w, WM_CANCELMODE, 0, 0);
    EndMenu();
  }
  return DefSubclassProc(w, m, wp, lp);
}

TEST_F(PanelFixture, MenusShowLabelsAndGlyphsInTheirColumn) {
  ShowWindow(parent.Window(), SW_SHOW);
  panel.SetLabelLookup([](int id) { return id == 119 ? Text(u"In order") : Text(); });
  OpenMenu player, shuffle;
  SetWindowSubclass(panel.Window(), ReadMenu, 1, reinterpret_cast<DWORD_PTR>(&player));
  Click(panel, 1264);
  SetWindowSubclass(panel.Window(), ReadMenu, 1, reinterpret_cast<DWORD_PTR>(&shuffle));
  Click(panel, 1263);
  RemoveWindowSubclass(panel.Window(), ReadMenu, 1);

  ASSERT_EQ(player.items.size(), 8u);
  EXPECT_EQ(player.items[0], (std::pair<UINT, Text>{1301, u"\t\t\u25B6"}));
  EXPECT_EQ(player.items[3].first, 0u);
  EXPECT_EQ(player.items[7], (std::pair<UINT, Text>{1306, u"\t\t\U0001F507"}));
  ASSERT_EQ(shuffle.items.size(), 5u);
  EXPECT_EQ(shuffle.items[3], (std::pair<UINT, Text>{1312, u"\t\t"}));
  EXPECT_EQ(shuffle.items[4], (std::pair<UINT, Text>{1310, u"In order\t\t\U0001F501"}));
  EXPECT_EQ(player.checked + shuffle.checked, 0u);
  EXPECT_TRUE(parent.commands.empty());  // closing a menu sends nothing
}

TEST_F(PanelFixture, LayoutFollowsThePanelSize) {
  SetWindowPos(panel.Window(), nullptr, 0, 0, 300, 330, SWP_NOZORDER);
  const int i = GetSystemMetrics(SM_CXICON);
  const int y1 = 330 - 2 * (i * 9 / 10 + i * 2 / 10);
  RECT video{};
  GetWindowRect(panel.VideoWindow(), &video);
  MapWindowPoints(nullptr, panel.Window(), reinterpret_cast<POINT*>(&video), 2);
  EXPECT_EQ(video.right - video.left, 300);
  EXPECT_EQ(video.bottom - video.top, y1);
  RECT time{};
  GetWindowRect(GetDlgItem(panel.Window(), IDC_TIME_TEXT), &time);
  MapWindowPoints(nullptr, panel.Window(), reinterpret_cast<POINT*>(&time), 2);
  EXPECT_EQ(time.left, 200);

  // In video-only mode size changes leave the children alone.
  panel.SetVideoOnly(true);
  SetWindowPos(panel.Window(), nullptr, 0, 0, 420, 330, SWP_NOZORDER);
  GetWindowRect(panel.VideoWindow(), &video);
  EXPECT_EQ(video.right - video.left, 300);
  panel.SetVideoOnly(false);
}

TEST_F(PanelFixture, ButtonsAreDrawnFlatWithTheirColours) {
  RECT rc{};
  GetClientRect(parent.Window(), &rc);
  SetWindowPos(panel.Window(), nullptr, 0, 0, rc.right, rc.bottom, SWP_NOZORDER);
  ShowWindow(parent.Window(), SW_SHOW);
  SetForegroundWindow(parent.Window());
  RedrawWindow(parent.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(300);
  SaveScreenshot(CaptureWindow(parent.Window()), L"player_panel.bmp");

  HWND play = GetDlgItem(panel.Window(), 1253);
  const auto shot = CaptureWindow(play);
  SaveScreenshot(shot, L"player_panel_play_button.bmp");
  ASSERT_GT(shot.width, 20);
  EXPECT_EQ(shot.At(0, 0), TransportButton::kBorder);
  EXPECT_EQ(shot.At(shot.width - 1, shot.height / 2), TransportButton::kBorder);
  EXPECT_EQ(shot.At(3, 3), TransportButton::kBackground);
  int light = 0;  // the glyph: white pixels inside the button
  for (int y = 2; y < shot.height - 2; ++y) {
    for (int x = 2; x < shot.width - 2; ++x) light += GetGValue(shot.At(x, y)) > 128;
  }
  EXPECT_GT(light, 10);

  // Focus gives the amber border; the mouse over it and a press change the background.
  SetFocus(play);
  Pump(100);
  EXPECT_EQ(CaptureWindow(play).At(0, 0), TransportButton::kFocusBorder);
  SendMessageW(play, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  Pump(100);
  EXPECT_EQ(CaptureWindow(play).At(3, 3), TransportButton::kHoverBackground);
  SendMessageW(play, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  Pump(100);
  EXPECT_EQ(CaptureWindow(play).At(3, 3), TransportButton::kPressedBackground);
  SendMessageW(play, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  Pump(100);
  EXPECT_EQ(CaptureWindow(play).At(3, 3), TransportButton::kHoverBackground);
  EXPECT_EQ(parent.Count(1259, 1259), 1);  // the click itself still works: Play with nothing loaded
}

// The control's class is made to stand for a class that no server provides
// (TreatAs), so the panel finds no control: it still works as a window.
TEST(PanelWithoutControl, WorksAsAWindowAndPlayAsksTheParent) {
  const wchar_t* key = L"Software\\Classes\\CLSID\\{6BF52A52-394A-11D3-B153-00C04F79FAA6}\\TreatAs";
  const wchar_t nowhere[] = L"{0E6A5C3B-2D4F-4B8E-9C1A-7F3E2D1C0B9A}";
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, nullptr, REG_SZ, nowhere, sizeof(nowhere)), ERROR_SUCCESS);
  struct Cleanup {
    const wchar_t* key;
    ~Cleanup() { RegDeleteKeyW(HKEY_LOCAL_MACHINE, key); }
  } cleanup{key};

  ParentWindow parent(400, 300);
  PlayerPanel panel;
  ASSERT_TRUE(panel.Create(parent.Window()));
  ASSERT_FALSE(panel.Control().HasPlayer()) << "the class override did not take effect";
  EXPECT_FALSE(GetHostedControl(panel.VideoWindow()));
  EXPECT_EQ(SliderPos(panel, IDC_VOLUME_SLIDER), 50);
  EXPECT_EQ(ChildText(panel, IDC_VOLUME_TEXT), u"----");
  EXPECT_FALSE(panel.Control().PlayUrl(u"C:\\a.wav"));
  Click(panel, 1256);
  EXPECT_EQ(ChildText(panel, 1256), u"\U0001F507");
  panel.SetVolume(80);
  EXPECT_EQ(ChildText(panel, IDC_VOLUME_TEXT), u"----");
  // No control, no volume: the stored one is kept rather than replaced by 0.
  sorvane::testing::FakeFileSystem fs;
  fs.folders.insert(u"c:\\cfg");
  SettingsStore store(fs);
  store.SetIniPath(u"C:\\cfg\\Sorvane.ini");
  ASSERT_TRUE(store.WriteInt(u"Sorvane", u"Volume", 70));
  EXPECT_FALSE(panel.SaveVolume(store));
  EXPECT_EQ(store.ReadInt(u"Sorvane", u"Volume", 0), 70);
  Click(panel, 1253);
  Pump(50);
  EXPECT_EQ(parent.Count(1259, 1259), 1);
}

}  // namespace
}  // namespace sorvane::win
