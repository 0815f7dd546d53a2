// The main window's points where other subsystems plug in, and its own
// answers, in-process with a temporary INI file.
#include "app/win/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "framework/win/main_frame_loop.h"
#include "settings/win/win_file_system.h"
#include "language/language_store.h"
#include "framework/win/wintext.h"

#include "main_window_fixture.h"

using namespace sorvane;
using namespace sorvane::win;

namespace {

constexpr int kPartControl = 5000;
constexpr UINT kPartMessage = WM_APP + 7;

struct RecordingPart : MainWindowPart {
  explicit RecordingPart(std::vector<std::string>& l) : log(l) {}
  void OnInitDialog(PartHost& w) override {
    log.push_back("init");
    // A control of this part, kept at the bottom-right corner.
    RECT client{};
    GetClientRect(w.Window(), &client);
    CreateWindowExW(0, L"STATIC", L"part", WS_CHILD | WS_VISIBLE, client.right - 40, client.bottom - 20, 30, 10,
                    w.Window(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPartControl)), nullptr, nullptr);
    w.AddLayoutRule(kPartControl, Follow::kMoves, Follow::kMoves);
  }
  void LoadSettings(PartHost&) override { log.push_back("load"); }
  void OnStarted(PartHost&) override { log.push_back("started"); }
  bool OnMessage(PartHost&, UINT m, WPARAM, LPARAM, LRESULT& result) override {
    if (m != kPartMessage) return false;
    result = 77;
    return true;
  }
  void OnForwardedCommandLine(PartHost&, const Text& line) override { log.push_back("forwarded " + ToUtf8(line)); }
  void SaveSettings(PartHost&) override { log.push_back("save"); }
  void OnClose(PartHost&) override { log.push_back("close"); }
  std::vector<std::string>& log;
};

class MainWindowTest : public MainWindowFixture {
 protected:
  MainWindowTest() : MainWindowFixture(L"main_window_test_") {}
  void SetUp() override {
    MainWindowFixture::SetUp();
    // The title's name and version come from the language archive's info strings.
    ASSERT_TRUE(Languages().Load(u"\uFEFF##\r\n19=Sorvane 1.01\r\n##\r\n##\r\n##=German\tDeutsch\r\n"
                                 u"##=English\tEnglish\r\n50=Title\r\n##\r\n"));
  }
};

RECT ChildRect(HWND parent, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(parent, id), &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

TEST_F(MainWindowTest, PartsAreCalledInOrderAndCloseSavesAndEndsTheLoop) {
  std::vector<std::string> log;
  MainWindow window;
  window.AddPart(std::make_unique<RecordingPart>(log));
  ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
  HWND w = window.Window();
  EXPECT_EQ(log, (std::vector<std::string>{"init", "load", "started"}));
  EXPECT_EQ(WindowText(w).rfind(u"Sorvane 1.01 ", 0), 0u);

  // A part's control follows its rule; the list view keeps its width.
  const RECT part0 = ChildRect(w, kPartControl), list0 = ChildRect(w, 1033);
  RECT r{};
  GetWindowRect(w, &r);
  SetWindowPos(w, nullptr, 0, 0, r.right - r.left + 50, r.bottom - r.top + 30, SWP_NOMOVE | SWP_NOZORDER);
  const RECT part1 = ChildRect(w, kPartControl), list1 = ChildRect(w, 1033);
  EXPECT_EQ(part1.left, part0.left + 50);
  EXPECT_EQ(part1.top, part0.top + 30);
  EXPECT_EQ(list1.right - list1.left, list0.right - list0.left);

  // A part may take any message and answer it.
  EXPECT_EQ(SendMessageW(w, kPartMessage, 0, 0), 77);

  wchar_t line[] = L"\"C:\\x\\Sorvane.exe\" a.mp3";
  COPYDATASTRUCT data{10100, sizeof(line), line};
  EXPECT_EQ(SendMessageW(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 10100);
  EXPECT_EQ(log.back(), "forwarded \"C:\\x\\Sorvane.exe\" a.mp3");
  EXPECT_EQ(WindowText(GetDlgItem(w, 1320)), T(line));
  COPYDATASTRUCT other{42, sizeof(line), line};
  EXPECT_EQ(SendMessageW(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&other)), 10100);
  EXPECT_EQ(log.back(), "forwarded \"C:\\x\\Sorvane.exe\" a.mp3");  // ignored

  GetWindowRect(w, &r);
  SendMessageW(w, WM_COMMAND, kCommandClose, 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()), (std::vector<std::string>{"save", "close"}));
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 45054u);
  EXPECT_EQ(store_.ReadProgramString(u"m_Window_Rect"),
            Format(u"%d,%d,%d,%d", {int(r.left), int(r.top), int(r.right), int(r.bottom)}));
}

TEST_F(MainWindowTest, SizeLimitsFollowTheListViewWidthAndTheScreen) {
  MainWindow window;
  ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
  RECT list{};
  GetWindowRect(window.Item(1033), &list);
  MINMAXINFO info{};
  SendMessageW(window.Window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, static_cast<LONG>((list.right - list.left) * 2.5));
  EXPECT_EQ(info.ptMinTrackSize.y, 400);
  EXPECT_EQ(info.ptMaxTrackSize.x, static_cast<LONG>(GetSystemMetrics(SM_CXSCREEN) * 0.8));
  EXPECT_EQ(info.ptMaxTrackSize.y, static_cast<LONG>(GetSystemMetrics(SM_CYSCREEN) * 0.8));
  // In compact mode the limits are left to the system.
  window.SetCompact(true);
  MINMAXINFO untouched{};
  SendMessageW(window.Window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&untouched));
  EXPECT_NE(untouched.ptMinTrackSize.y, 400);
}

namespace {

// Writes several keys at close, as the list and player parts do, and notes
// whether the window's save runs them inside one batch.
struct SavingPart : MainWindowPart {
  void SaveSettings(PartHost&) override {
    inBatch = Settings().InBatch();
    Settings().WriteInt(kProductSection, u"m_LastSel", 1);
    Settings().WriteLongValue(u"MediaList", u"C:\\a.mp3\r\nC:\\b.mp3");
    Settings().WriteInt(kProductSection, u"Volume", 70);
  }
  bool inBatch = false;
};

}  // namespace

TEST_F(MainWindowTest, CloseWhileMinimisedOrMaximisedStoresTheRestoredRectangle) {
  for (const int show : {SW_MINIMIZE, SW_MAXIMIZE}) {
    MainWindow window;
    auto part = std::make_unique<SavingPart>();
    SavingPart* saving = part.get();
    window.AddPart(std::move(part));
    ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
    HWND w = window.Window();
    ShowWindow(w, SW_SHOWNORMAL);
    SetWindowPos(w, nullptr, 120, 90, 820, 560, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT normal{};
    GetWindowRect(w, &normal);
    ShowWindow(w, show);
    ASSERT_TRUE(show == SW_MINIMIZE ? IsIconic(w) : IsZoomed(w)) << show;
    RECT now{};
    GetWindowRect(w, &now);
    ASSERT_FALSE(EqualRect(&now, &normal)) << "the window moved when " << show;

    SendMessageW(w, WM_COMMAND, kCommandClose, 0);
    EXPECT_EQ(ToUtf8(store_.ReadProgramString(u"m_Window_Rect")),
              ToUtf8(Format(u"%d,%d,%d,%d", {int(normal.left), int(normal.top), int(normal.right), int(normal.bottom)})))
        << show;
    EXPECT_TRUE(saving->inBatch);
    EXPECT_EQ(store_.ReadInt(kProductSection, u"Volume", 0), 70);
    EXPECT_EQ(store_.ReadLongValue(u"MediaList"), u"C:\\a.mp3\r\nC:\\b.mp3");
    EXPECT_FALSE(store_.InBatch());
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
}
