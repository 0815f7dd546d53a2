#include "app/win/single_instance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

#include "framework/win/wintext.h"

using namespace sorvane;
using namespace sorvane::win;

namespace {

// A stand-in for the running copy: a top-level window on its own thread that
// answers the probe and keeps what was forwarded to it. Its window exists only
// once Appear() has returned, so a test decides when the copy has "started".
class FakeFirstCopy {
 public:
  FakeFirstCopy() {
    thread_ = std::thread([this] {
      WaitForSingleObject(go_, INFINITE);
      WNDCLASSW wc{};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"FakeFirstCopy";
      RegisterClassW(&wc);
      HWND w = CreateWindowExW(0, L"FakeFirstCopy", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                               nullptr);
      SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      MSG m;
      PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists before anyone posts to it
      threadId_ = GetCurrentThreadId();
      SetEvent(ready_);
      while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
      DestroyWindow(w);
    });
  }
  ~FakeFirstCopy() {
    Appear();
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    CloseHandle(go_);
    CloseHandle(ready_);
  }
  // Creates the window and returns once it can answer.
  bool Appear() {
    SetEvent(go_);
    return WaitForSingleObject(ready_, 60000) == WAIT_OBJECT_0;
  }
  Text received;
  std::atomic<int> copies{0};

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<FakeFirstCopy*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (m == InstanceMessage()) return InstanceMessage();
    if (m == WM_COPYDATA && self) {
      ++self->copies;
      ReadForwardedCommandLine(reinterpret_cast<const COPYDATASTRUCT*>(lp), self->received);
      return 10100;
    }
    return DefWindowProcW(w, m, wp, lp);
  }
  HANDLE go_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread thread_;
  std::atomic<DWORD> threadId_{0};
};

// The retry's own time: each pause moves the clock on by the pause asked for.
struct FakeRetryClock {
  ULONGLONG now = 1000;
  std::vector<DWORD> pauses;
  void Into(ForwardTiming& timing) {
    timing.now = [this] { return now; };
    timing.pause = [this](DWORD ms) {
      pauses.push_back(ms);
      now += ms;
    };
  }
};

}  // namespace

TEST(ForwardCommandLine, WaitsForAFirstCopyThatIsStillStarting) {
  FakeFirstCopy first;
  ForwardTiming timing;
  timing.probeTimeoutMs = 1000;
  timing.retryIntervalMs = 100;
  timing.retryForMs = 5000;
  timing.skipOwnProcess = false;
  FakeRetryClock clock;
  clock.Into(timing);
  // The first copy's window appears during the third pause: three searches found
  // nothing, the fourth finds it.
  const auto pause = timing.pause;
  timing.pause = [&](DWORD ms) {
    pause(ms);
    if (clock.pauses.size() == 3) ASSERT_TRUE(first.Appear());
  };
  EXPECT_TRUE(ForwardCommandLine(L"\"C:\\p\\Sorvane.exe\" \"C:\\My Music\\a.mp3\"", timing));
  EXPECT_EQ(clock.pauses, (std::vector<DWORD>{100, 100, 100}));
  EXPECT_EQ(first.copies, 1);
  EXPECT_EQ(first.received, u"\"C:\\p\\Sorvane.exe\" \"C:\\My Music\\a.mp3\"");
}

// The foreground lock is not enforced everywhere, so the grant is recorded:
// it names the first copy's process and comes before the line is sent.
TEST(ForwardCommandLine, AllowsTheFirstCopyTheForegroundBeforeSending) {
  FakeFirstCopy first;
  ASSERT_TRUE(first.Appear());
  ForwardTiming timing;
  timing.probeTimeoutMs = 1000;
  timing.retryIntervalMs = 50;
  timing.skipOwnProcess = false;  // the stand-in lives in this process
  std::vector<std::pair<DWORD, int>> grants;  // process id, lines received by then
  EXPECT_TRUE(ForwardCommandLine(L"x.exe a.mp3", timing, [&](DWORD process) {
    grants.emplace_back(process, first.copies.load());
    return TRUE;
  }));
  ASSERT_EQ(grants.size(), 1u);
  EXPECT_EQ(grants[0].first, GetCurrentProcessId());
  EXPECT_EQ(grants[0].second, 0) << "granted after the line was sent";
  EXPECT_EQ(first.copies, 1);
  EXPECT_EQ(first.received, u"x.exe a.mp3");
}

TEST(ForwardCommandLine, GivesUpAfterTheRetryTimeWhenNobodyAnswers) {
  ForwardTiming timing;
  timing.probeTimeoutMs = 200;
  timing.retryIntervalMs = 50;
  timing.retryForMs = 400;
  FakeRetryClock clock;
  clock.Into(timing);
  int grants = 0;
  EXPECT_FALSE(ForwardCommandLine(L"x.exe a", timing, [&](DWORD) { return ++grants, TRUE; }));
  EXPECT_EQ(grants, 0) << "no foreground grant without a first copy";
  // Searched at 0, 50, ..., 400 ms of its own clock, then gave up.
  EXPECT_EQ(clock.pauses, std::vector<DWORD>(8, 50));
}

TEST(InstanceMessageAnswers, QuitRequestPostsQuitZeroAndProbeShowsTheWindow) {
  HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  const UINT message = InstanceMessage();
  ASSERT_NE(message, 0u);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
  }

  EXPECT_EQ(AnswerInstanceMessage(w, message, message), 1);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 0u);
  EXPECT_FALSE(IsWindowVisible(w));  // the quit request neither shows nor closes

  EXPECT_EQ(AnswerInstanceMessage(w, 0, 0), static_cast<LRESULT>(message));
  EXPECT_TRUE(IsWindowVisible(w));
  ASSERT_TRUE(PeekMessageW(&m, w, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(LOWORD(m.wParam), kCommandBringToFront);
  // Only both parameters equal to the value make a quit request.
  EXPECT_EQ(AnswerInstanceMessage(w, message, 0), static_cast<LRESULT>(message));
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  DestroyWindow(w);
}

TEST(InstanceMessageAnswers, ForwardedCommandLineIsReadWithinItsRecord) {
  wchar_t unterminated[4] = {L'a', L'b', L'c', L'd'};
  COPYDATASTRUCT data{10100, 3 * sizeof(wchar_t), unterminated};
  Text text;
  ASSERT_TRUE(ReadForwardedCommandLine(&data, text));
  EXPECT_EQ(text, u"abc");

  wchar_t terminated[] = L"x y\0zz";
  data = {10100, sizeof(terminated), terminated};
  ASSERT_TRUE(ReadForwardedCommandLine(&data, text));
  EXPECT_EQ(text, u"x y");

  data = {10101, sizeof(terminated), terminated};
  EXPECT_FALSE(ReadForwardedCommandLine(&data, text));
  EXPECT_FALSE(ReadForwardedCommandLine(nullptr, text));
}
