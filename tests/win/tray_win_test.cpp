// The notification-area icon through a recording shell: the exact records of
// add, modify and delete, the keeper putting the icon back after the task bar
// lost it, "TaskbarCreated", and Esc hiding the main window to the tray.
#include "desktop/win/tray_part.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "app/win/main_window.h"
#include "desktop/tray_events.h"
#include "framework/win/kernel_handle.h"
#include "framework/win/wintext.h"
#include "desktop/win/taskbar_buttons.h"
#include "language/language_store.h"
#include "playback/win/playback_part.h"

#include "main_window_fixture.h"

namespace sorvane::win {
namespace {

struct ShellCall {
  DWORD request = 0;
  NOTIFYICONDATAW data{};
  DWORD thread = 0;
};

// A shell that knows one icon: modify answers whether it exists, add makes it
// exist, delete forgets it. Every call is kept; an add also signals an event.
struct FakeShell {
  std::mutex mutex;
  std::vector<ShellCall> calls;
  bool exists = false;
  KernelHandle added{CreateEventW(nullptr, FALSE, FALSE, nullptr)};

  static FakeShell*& Current() {
    static FakeShell* current = nullptr;
    return current;
  }
  static BOOL Notify(DWORD request, PNOTIFYICONDATAW data) {
    FakeShell& shell = *Current();
    std::lock_guard lock(shell.mutex);
    shell.calls.push_back({request, *data, GetCurrentThreadId()});
    switch (request) {
      case NIM_MODIFY:
        return shell.exists;
      case NIM_ADD:
        shell.exists = true;
        SetEvent(shell.added.get());
        return TRUE;
      case NIM_DELETE: {
        const bool was = shell.exists;
        shell.exists = false;
        return was;
      }
      default:
        return FALSE;
    }
  }
  std::vector<ShellCall> Calls() {
    std::lock_guard lock(mutex);
    return calls;
  }
  void Lose() {  // the task bar restarted and forgot every icon
    std::lock_guard lock(mutex);
    exists = false;
    calls.clear();
  }
};

class TrayTest : public MainWindowFixture {
 protected:
  TrayTest() : MainWindowFixture(L"tray_test_") {}
  void SetUp() override {
    MainWindowFixture::SetUp();
    FakeShell::Current() = &shell_;
    SetShellNotifyFunction(&FakeShell::Notify);
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    if (owner_) DestroyWindow(owner_);
    SetShellNotifyFunction(nullptr);
    FakeShell::Current() = nullptr;
    MainWindowFixture::TearDown();
  }

  FakeShell shell_;
  HWND owner_ = nullptr;
};

void ExpectRecord(const ShellCall& call, DWORD request, UINT flags, HWND owner, const wchar_t* tip) {
  SCOPED_TRACE(testing::Message() << "request " << request << " flags " << flags);
  EXPECT_EQ(call.request, request);
  // The record in the form that carries a 128-character tip (936 bytes in a 32-bit build).
  EXPECT_EQ(call.data.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
  EXPECT_EQ(call.data.hWnd, owner);
  EXPECT_EQ(call.data.uID, 100u);
  EXPECT_EQ(call.data.uFlags, flags);
  EXPECT_EQ(call.data.uCallbackMessage, 32868u);
  if ((flags & NIF_ICON) && request != NIM_DELETE) EXPECT_NE(call.data.hIcon, nullptr);
  if (tip) EXPECT_STREQ(call.data.szTip, tip);
}

TEST_F(TrayTest, ProbeThenAddOrModifyTipAndDeleteCarryTheRecord) {
  TrayIcon icon;
  icon.Create(owner_, GetModuleHandleW(nullptr), 60000);
  EXPECT_TRUE(icon.KeeperRunning());
  std::vector<ShellCall> calls = shell_.Calls();
  ASSERT_EQ(calls.size(), 2u);
  ExpectRecord(calls[0], NIM_MODIFY, NIF_MESSAGE, owner_, nullptr);  // the probe fails: no icon yet
  ExpectRecord(calls[1], NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, owner_, L"Sorvane");

  // With the icon present the update modifies it.
  shell_.Lose();
  shell_.exists = true;
  EXPECT_TRUE(icon.Update());
  calls = shell_.Calls();
  ASSERT_EQ(calls.size(), 2u);
  ExpectRecord(calls[0], NIM_MODIFY, NIF_MESSAGE, owner_, nullptr);
  ExpectRecord(calls[1], NIM_MODIFY, NIF_MESSAGE | NIF_ICON | NIF_TIP, owner_, L"Sorvane");

  // A tip longer than the field is cut to its 127 characters.
  shell_.Lose();
  shell_.exists = true;
  icon.SetTip(std::u16string(200, u'x'));
  calls = shell_.Calls();
  ASSERT_EQ(calls.size(), 1u);
  ExpectRecord(calls[0], NIM_MODIFY, NIF_TIP, owner_, std::wstring(127, L'x').c_str());

  shell_.Lose();
  shell_.exists = true;
  icon.Remove();
  EXPECT_FALSE(icon.KeeperRunning());
  EXPECT_EQ(icon.LastKeeperExitCode(), 0u) << "the keeper ends by itself, not by termination";
  calls = shell_.Calls();
  ASSERT_EQ(calls.size(), 1u);
  ExpectRecord(calls[0], NIM_DELETE, NIF_MESSAGE | NIF_ICON | NIF_TIP, owner_, nullptr);
  EXPECT_FALSE(shell_.exists);
}

TEST_F(TrayTest, KeeperAddsTheIconAgainAfterALossAndStopsWhenAsked) {
  TrayIcon icon;
  icon.Create(owner_, GetModuleHandleW(nullptr), 20);
  ResetEvent(shell_.added.get());
  shell_.Lose();
  // The condition itself: the keeper's add. The long limit only guards against a hang.
  ASSERT_EQ(WaitForSingleObject(shell_.added.get(), 30000), WAIT_OBJECT_0);
  const std::vector<ShellCall> calls = shell_.Calls();
  ASSERT_GE(calls.size(), 3u);
  // From the keeper thread: probe, probe of the update, add with the whole record.
  EXPECT_NE(calls[0].thread, GetCurrentThreadId());
  ExpectRecord(calls[0], NIM_MODIFY, NIF_MESSAGE, owner_, nullptr);
  ExpectRecord(calls[2], NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, owner_, L"Sorvane");

  icon.Remove();
  EXPECT_FALSE(icon.KeeperRunning());
  EXPECT_EQ(icon.LastKeeperExitCode(), 0u);
  shell_.Lose();
  EXPECT_EQ(WaitForSingleObject(shell_.added.get(), 200), static_cast<DWORD>(WAIT_TIMEOUT)) << "no keeper left";
}

// Dispatches the thread's messages (not the quit) until the condition holds.
template <typename F>
bool PumpUntil(F condition) {
  const ULONGLONG limit = GetTickCount64() + 30000;  // guards against a hang only
  while (!condition()) {
    if (GetTickCount64() > limit) return false;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, WM_QUIT - 1, PM_REMOVE) ||
           PeekMessageW(&m, nullptr, WM_QUIT + 1, 0xFFFFFFFF, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    if (!condition()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

bool QuitPosted(int* code) {
  MSG m;
  if (!PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) return false;
  if (code) *code = static_cast<int>(m.wParam);
  return true;
}

TEST_F(TrayTest, EscHidesTheWindowTaskbarCreatedAddsAtOnceClicksShowAndExitRemoves) {
  Languages().Load(u"\uFEFF##\r\n19=Sorvane 1.01\r\n##\r\n##\r\n##=English\tEnglish\r\n##\r\n");
  MainWindow window;
  auto part = std::make_unique<TrayPart>(60000);  // the keeper stays out of this test
  TrayPart& tray = *part;
  Text playing;
  tray.Hooks().playingTitle = [&playing] { return playing; };
  window.AddPart(std::move(part));
  ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
  HWND w = window.Window();
  ShowWindow(w, SW_SHOW);
  ASSERT_TRUE(shell_.exists);
  ExpectRecord(shell_.Calls().back(), NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, w, L"Sorvane");

  // Esc: hidden, still there, no quit.
  SendMessageW(w, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_TRUE(IsWindow(w));
  EXPECT_FALSE(QuitPosted(nullptr));
  // The close box takes the same way; the dialog posts its cancel.
  ShowWindow(w, SW_SHOW);
  SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(PumpUntil([w] { return !IsWindowVisible(w); }));
  EXPECT_TRUE(IsWindow(w));
  EXPECT_FALSE(QuitPosted(nullptr));

  // The shell restarted and says so: the icon is back before any keeper period.
  shell_.Lose();
  ASSERT_NE(tray.TaskbarCreatedMessage(), 0u);
  SendMessageW(w, tray.TaskbarCreatedMessage(), 0, 0);
  ASSERT_TRUE(shell_.exists);
  ExpectRecord(shell_.Calls().back(), NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP, w, L"Sorvane");

  // Left button on the icon: shown; again: hidden.
  SendMessageW(w, kTrayMessage, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(w));
  SendMessageW(w, kTrayMessage, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_FALSE(IsWindowVisible(w));
  // Other mouse messages of the icon change nothing.
  SendMessageW(w, kTrayMessage, kTrayIconId, WM_MOUSEMOVE);
  EXPECT_FALSE(IsWindowVisible(w));

  // The tip follows the play state: the title while something plays, the name when it stops.
  playing = u"Night\tDrive";
  SendMessageW(w, kPlayStateChangedMessage, 3, 0);
  ExpectRecord(shell_.Calls().back(), NIM_MODIFY, NIF_TIP, w, L"Night Drive");
  playing.clear();
  SendMessageW(w, kPlayStateChangedMessage, 1, 0);
  ExpectRecord(shell_.Calls().back(), NIM_MODIFY, NIF_TIP, w, L"Sorvane");

  // Exit ends the program and takes the icon away.
  shell_.Lose();
  shell_.exists = true;
  SendMessageW(w, WM_COMMAND, kCmdExit, 0);
  int code = 0;
  ASSERT_TRUE(QuitPosted(&code));
  EXPECT_EQ(code, 45054);
  EXPECT_FALSE(shell_.exists);
  EXPECT_FALSE(tray.Icon().KeeperRunning());
}

TEST_F(TrayTest, ThumbnailPlayButtonFollowsThePlayState) {
  Languages().Load(u"\uFEFF##\r\n19=Sorvane 1.01\r\n##\r\n##\r\n##=English\tEnglish\r\n##\r\n");
  MainWindow window;
  bool playing = false;
  auto part = std::make_unique<TaskbarButtonsPart>([&playing] { return playing; });
  TaskbarButtonsPart& buttons = *part;
  window.AddPart(std::move(part));
  ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
  HWND w = window.Window();
  ASSERT_NE(buttons.ButtonCreatedMessage(), 0u);
  SendMessageW(w, buttons.ButtonCreatedMessage(), 0, 0);
  if (!buttons.ButtonsAdded()) GTEST_SKIP() << "this system's task bar takes no thumbnail buttons";
  EXPECT_FALSE(buttons.ShowsPause());
  playing = true;
  SendMessageW(w, kPlayStateChangedMessage, 3, 0);
  EXPECT_TRUE(buttons.ShowsPause());
  playing = false;
  SendMessageW(w, kPlayStateChangedMessage, 2, 0);
  EXPECT_FALSE(buttons.ShowsPause());
}

}  // namespace
}  // namespace sorvane::win
