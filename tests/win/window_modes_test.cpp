// Compact mode and fly-out mode on the real main window with its panel:
// styles, shape, rectangles, the tab timer driven by the cursor, a drag from
// the top edge to the left one, and the way back to the normal window.
#include "app/win/window_modes_part.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/win/main_window.h"
#include "app/win/main_window_parts.h"
#include "app/win/button_bars_part.h"
#include "framework/win/wintext.h"
#include "language/language_store.h"
#include "playback/win/playback_part.h"
#include "settings/settings_keys.h"

#include "main_window_fixture.h"
#include "media_fixtures.h"
#include "resource_ids.h"

namespace sorvane::win {
namespace {

using sorvane::testing::Capture;
using sorvane::testing::CaptureWindow;
using sorvane::testing::SaveScreenshot;

constexpr LONG_PTR kNoTopmost = ~static_cast<LONG_PTR>(WS_EX_TOPMOST);

// Runs the loop until the condition holds; the limit only keeps a broken build from hanging.
template <class Condition>
bool PumpUntil(Condition done, DWORD limitMs = 30000) {
  const ULONGLONG end = GetTickCount64() + limitMs;
  for (;;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    if (done()) return true;
    if (GetTickCount64() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

RECT WindowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

RECT RectIn(HWND child, HWND parent) {
  RECT r = WindowRect(child);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

RECT PrimaryMonitor() {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  return info.rcMonitor;
}

void Paint(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW); }

void SaveDisplay(const wchar_t* name) { SaveScreenshot(CaptureWindow(GetDesktopWindow()), name); }

struct NormalState {
  RECT rect;
  LONG_PTR style, exStyle;
  RECT listRect;
};

NormalState StateOf(HWND w) {
  return {WindowRect(w), GetWindowLongPtrW(w, GWL_STYLE), GetWindowLongPtrW(w, GWL_EXSTYLE) & kNoTopmost,
          RectIn(GetDlgItem(w, IDC_LIST_VIEW), w)};
}

void ExpectRestored(HWND w, const NormalState& before) {
  const NormalState now = StateOf(w);
  EXPECT_TRUE(SameRect(now.rect, before.rect)) << Describe(now.rect) << " vs " << Describe(before.rect);
  EXPECT_EQ(now.style, before.style);
  EXPECT_EQ(now.exStyle, before.exStyle);
  EXPECT_TRUE(now.style & WS_CAPTION);
  EXPECT_FALSE(now.exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(SameRect(now.listRect, before.listRect)) << Describe(now.listRect) << " vs " << Describe(before.listRect);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(w, IDC_LIST_VIEW)));
}

class WindowModesTest : public MainWindowFixture {
 protected:
  WindowModesTest() : MainWindowFixture(L"window_modes_") {}
  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(Languages().Load(u"\uFEFF##\r\n19=Sorvane 1.01\r\n##\r\n##\r\n##=German\tDeutsch\r\n"
                                 u"##=English\tEnglish\r\n50=Title\r\n##\r\n"));
    window_ = std::make_unique<MainWindow>();
  }
  void TearDown() override {
    // The window goes before the fixture drops the leftover messages.
    window_.reset();
    MainWindowFixture::TearDown();
  }

  // The window with its panel and this part, shown at a known place.
  HWND Open() {
    playback_ = AddPlayerParts(*window_).playback;
    window_->AddPart(std::make_unique<ButtonBarsPart>());
    auto modes = MakeWindowModesPart(*window_, playback_);
    modes_ = modes.get();
    window_->AddPart(std::move(modes));
    HWND w = window_->Create(GetModuleHandleW(nullptr));
    if (!w) return nullptr;
    ShowWindow(w, SW_SHOW);
    const RECT m = PrimaryMonitor();
    SetWindowPos(w, HWND_NOTOPMOST, m.left + 60, m.top + 80, 700, 480, SWP_NOACTIVATE);
    PumpUntil([] { return true; });
    return w;
  }

  void Command(int id) { SendMessageW(window_->Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  int StoredFlyOut() { return store_.ReadInt(kProductSection, keys::kFlyOut, -1); }

  std::unique_ptr<MainWindow> window_;
  PlaybackPart* playback_ = nullptr;
  WindowModesPart* modes_ = nullptr;
};

TEST_F(WindowModesTest, FlyOutDocksSlidesWithTheCursorDragsToTheLeftAndRestores) {
  store_.WriteInt(kProductSection, keys::kFlyOutColor, RGB(255, 128, 0));
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  const NormalState before = StateOf(w);
  RECT client{};
  GetClientRect(w, &client);
  const int cw = client.right, ch = client.bottom;
  const RECT mon = PrimaryMonitor();
  const int sw = mon.right - mon.left;
  EdgeDock& dock = modes_->Dock();

  // Somewhere off the window, so the first tick cannot expand it.
  ASSERT_TRUE(SetCursorPos(mon.right - 5, mon.bottom - 5));
  Command(IDC_FLYOUT_BUTTON);
  ASSERT_TRUE(modes_->FlyOutOn());
  EXPECT_EQ(StoredFlyOut(), 1);
  const int T = dock.CurrentMetrics().tabThickness;
  ASSERT_GT(T, 0);

  // Shaped, a topmost tool window without a frame, at the top edge and slid out.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(w, region), ERROR);
  RECT box{};
  GetRgnBox(region, &box);
  EXPECT_EQ(box.right, cw);
  EXPECT_EQ(box.bottom, ch + T);
  DeleteObject(region);
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE), ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_EQ(dock.CurrentEdge(), dock::Edge::kTop);
  EXPECT_TRUE(dock.IsCollapsed());
  const RECT docked{mon.left + (sw - cw) / 2, mon.top, mon.left + (sw - cw) / 2 + cw, mon.top + ch + T};
  const RECT collapsed{docked.left, mon.top - ch, docked.right, mon.top + T};
  EXPECT_TRUE(SameRect(WindowRect(w), collapsed)) << Describe(WindowRect(w));
  // The list view moved with the docking: clear of the frame on the left.
  EXPECT_EQ(RectIn(GetDlgItem(w, IDC_LIST_VIEW), w).left, before.listRect.left < dock.CurrentMetrics().frameWidth
                                                              ? before.listRect.left + dock.CurrentMetrics().frameWidth
                                                              : before.listRect.left);
  Paint(w);
  SaveDisplay(L"flyout_top_collapsed.bmp");

  // The cursor on the visible tab: one tick of the tab timer slides the window in.
  ASSERT_TRUE(SetCursorPos(docked.left + 10, mon.top + T / 2));
  SendMessageW(w, WM_TIMER, EdgeDock::kTabTimerId, 0);
  EXPECT_TRUE(SameRect(WindowRect(w), docked)) << Describe(WindowRect(w));
  Paint(w);
  SaveDisplay(L"flyout_top_expanded.bmp");
  // Tab and frame in the colour from the settings.
  const Capture expanded = CaptureWindow(w);
  EXPECT_EQ(expanded.At(2, ch / 2), RGB(255, 128, 0));
  EXPECT_EQ(expanded.At(2, ch + T / 2), RGB(255, 128, 0));

  // The cursor away: the running timer slides it out again.
  ASSERT_TRUE(SetCursorPos(mon.right - 5, mon.bottom - 5));
  EXPECT_TRUE(PumpUntil([&] { return SameRect(WindowRect(w), collapsed); })) << Describe(WindowRect(w));
  // And back onto the tab: the running timer slides it in.
  ASSERT_TRUE(SetCursorPos(docked.left + 10, mon.top + T / 2));
  EXPECT_TRUE(PumpUntil([&] { return SameRect(WindowRect(w), docked); })) << Describe(WindowRect(w));

  // A press on the window and a drag past the left side of the monitor.
  const RECT now = WindowRect(w);
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(dock.Dragging());
  EXPECT_EQ(GetCapture(), w);
  // Cursor at screen (mon.left - 100, mon.top + 105): the window's corner would be at (-105, 100).
  const int cx = mon.left - 100 - now.left, cy = mon.top + 105 - now.top;
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(cx, cy));
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(cx, cy));
  EXPECT_FALSE(dock.Dragging());
  EXPECT_NE(GetCapture(), w);
  EXPECT_EQ(dock.CurrentEdge(), dock::Edge::kLeft);
  const RECT left{mon.left, mon.top + 100, mon.left + cw + T, mon.top + 100 + ch};
  EXPECT_TRUE(SameRect(WindowRect(w), left)) << Describe(WindowRect(w));
  region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, region), ERROR);
  GetRgnBox(region, &box);
  EXPECT_EQ(box.right, cw + T);
  EXPECT_EQ(box.bottom, ch);
  DeleteObject(region);

  // The caption stands on the tab strip at the right side, turned: its text
  // pixels run far longer up and down than across.
  Paint(w);
  const Capture shot = CaptureWindow(w);
  SaveDisplay(L"flyout_left_rotated.bmp");
  int top = shot.height, bottom = -1, leftmost = shot.width, rightmost = -1;
  for (int y = 0; y < shot.height; ++y)
    for (int x = shot.width - T; x < shot.width; ++x)
      if (dock.HitShapeContains({x, y}) && shot.At(x, y) != RGB(255, 128, 0)) {
        top = std::min(top, y), bottom = std::max(bottom, y);
        leftmost = std::min(leftmost, x), rightmost = std::max(rightmost, x);
        // Black text on orange, smoothed edges included: red stays about twice green.
        const COLORREF c = shot.At(x, y);
        EXPECT_LE(std::abs(int(GetRValue(c)) - 2 * int(GetGValue(c))), 48) << x << "," << y;
        EXPECT_EQ(GetBValue(c), 0) << x << "," << y;
      }
  ASSERT_GE(bottom, 0) << "no caption text on the tab";
  EXPECT_GT(bottom - top, 3 * (rightmost - leftmost + 1));
  EXPECT_GT(top, ch - dock.TabLength() - 1);  // within the tab at the lower end of the side

  // In fly-out mode a press on the video is a press on the window: it starts a drag, no caption move.
  HWND video = playback_->Panel().VideoWindow();
  ASSERT_NE(video, nullptr);
  SendMessageW(video, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(dock.Dragging());
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(dock.Dragging());
  EXPECT_TRUE(SameRect(WindowRect(w), left)) << Describe(WindowRect(w));

  // A tray click while expanded collapses, while collapsed slides out for a while.
  dock.Collapse();
  EXPECT_TRUE(dock.IsCollapsed());
  EXPECT_EQ(WindowRect(w).left, mon.left + T - (cw + T));
  dock.SlideOutFor(5000);
  EXPECT_FALSE(dock.IsCollapsed());
  EXPECT_TRUE(SameRect(WindowRect(w), left));

  // Off again: frame, taskbar style, rectangle and children as they were.
  Command(IDC_FLYOUT_BUTTON);
  EXPECT_FALSE(modes_->FlyOutOn());
  EXPECT_EQ(StoredFlyOut(), 0);
  region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, region), ERROR);
  DeleteObject(region);
  ExpectRestored(w, before);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);

  // Docking again uses the edge of the last run.
  Command(IDC_FLYOUT_BUTTON);
  EXPECT_EQ(dock.CurrentEdge(), dock::Edge::kLeft);
  Command(IDC_FLYOUT_BUTTON);
  ExpectRestored(w, before);
}

TEST_F(WindowModesTest, CompactModeShowsOnlyTheVideoWhereItStoodAndComesBackExactly) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  HWND panel = playback_->Panel().Window();
  HWND video = playback_->Panel().VideoWindow();
  ASSERT_NE(video, nullptr);
  const NormalState before = StateOf(w);
  const RECT videoOnScreen = WindowRect(video);
  const RECT videoInPanel = RectIn(video, panel);

  // Right button on the video: compact.
  SendMessageW(video, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  ASSERT_TRUE(modes_->CompactOn());
  EXPECT_TRUE(window_->Compact());
  EXPECT_TRUE(playback_->Panel().VideoOnly());
  EXPECT_TRUE(SameRect(WindowRect(w), videoOnScreen)) << Describe(WindowRect(w)) << " vs " << Describe(videoOnScreen);
  EXPECT_TRUE(SameRect(WindowRect(video), videoOnScreen));
  EXPECT_EQ(GetParent(video), w);
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE), ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);  // switched on, there being no handler for always on top here
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(w, IDC_LIST_VIEW)));
  EXPECT_FALSE(IsWindowVisible(panel));
  Paint(w);
  SaveDisplay(L"compact_mode.bmp");

  // Right button again: everything where it was, the video back in the panel.
  SendMessageW(video, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_FALSE(modes_->CompactOn());
  EXPECT_FALSE(playback_->Panel().VideoOnly());
  EXPECT_EQ(GetParent(video), panel);
  EXPECT_TRUE(SameRect(RectIn(video, panel), videoInPanel));
  EXPECT_TRUE(IsWindowVisible(panel));
  ExpectRestored(w, before);

  // The command (button and Ctrl+C) does the same; it never touches the settings.
  Command(IDC_COMPACT_BUTTON);
  EXPECT_TRUE(modes_->CompactOn());
  Command(IDC_COMPACT_BUTTON);
  EXPECT_FALSE(modes_->CompactOn());
  ExpectRestored(w, before);

  // From fly-out mode, compact mode leaves it first; back out ends in the normal window.
  SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Command(IDC_FLYOUT_BUTTON);
  ASSERT_TRUE(modes_->FlyOutOn());
  Command(IDC_COMPACT_BUTTON);
  EXPECT_FALSE(modes_->FlyOutOn());
  EXPECT_EQ(StoredFlyOut(), 0);
  EXPECT_TRUE(modes_->CompactOn());
  EXPECT_TRUE(SameRect(WindowRect(w), videoOnScreen)) << Describe(WindowRect(w));
  SendMessageW(video, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  ExpectRestored(w, before);
  EXPECT_EQ(store_.ReadString(kProductSection, u"m_bCompact", u"none"), u"none");
}

TEST_F(WindowModesTest, StoredFlyOutDocksAtStartKeepsTheNormalRectangleAndFollowsTheColourCommand) {
  store_.WriteInt(kProductSection, keys::kFlyOut, 1);
  store_.WriteString(kProgramSection, keys::kWindowRect, u"100,120,900,700");
  playback_ = AddPlayerParts(*window_).playback;
  auto modes = MakeWindowModesPart(*window_, playback_);
  modes_ = modes.get();
  window_->AddPart(std::move(modes));
  HWND w = window_->Create(GetModuleHandleW(nullptr));
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(modes_->FlyOutOn());
  EXPECT_TRUE(modes_->Dock().Running());
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(modes_->Dock().Caption(), u"           Sorvane 1.01");
  EXPECT_EQ(modes_->Dock().Colour(), static_cast<COLORREF>(keys::kFlyOutColorDefault));

  // Saving while docked keeps the normal window's rectangle (as the size
  // limits left it), not the docked one.
  const RECT normal = modes_->Dock().SavedWindowRect();
  EXPECT_EQ(normal.left, 100);
  EXPECT_EQ(normal.top, 120);
  const Text normalText = u"100,120," + FromUtf8(std::to_string(normal.right)) + u"," +
                          FromUtf8(std::to_string(normal.bottom));
  window_->SaveSettings();
  EXPECT_EQ(store_.ReadString(kProgramSection, keys::kWindowRect, u""), normalText);

  // The colour command: whoever handles it writes the colour; the tab follows.
  store_.WriteInt(kProductSection, keys::kFlyOutColor, RGB(27, 59, 121));
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(33364, 0), 0);
  EXPECT_EQ(modes_->Dock().Colour(), RGB(27, 59, 121));
  modes_->Dock().Expand();
  Paint(w);
  EXPECT_EQ(CaptureWindow(w).At(2, 40), RGB(27, 59, 121));

  // A colour written while a dialog held the window is taken up when the window is active again.
  store_.WriteInt(kProductSection, keys::kFlyOutColor, RGB(0, 160, 80));
  SendMessageW(w, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(modes_->Dock().Colour(), RGB(0, 160, 80));

  // Closing stops the dock before the window goes.
  window_->Close();
  EXPECT_FALSE(modes_->Dock().Running());
  EXPECT_EQ(store_.ReadString(kProgramSection, keys::kWindowRect, u""), normalText);
  EXPECT_EQ(store_.ReadInt(kProductSection, keys::kFlyOut, -1), 1);  // closing does not switch it off
}

}  // namespace
}  // namespace sorvane::win
