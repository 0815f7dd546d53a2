#include "framework/win/main_frame_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace sorvane::win;

namespace {

std::vector<std::string>* g_log = nullptr;

LRESULT CALLBACK LoggingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (g_log) {
    if (m == WM_USER) g_log->push_back("D" + std::to_string(wp));
    if (m == WM_MOUSEMOVE) g_log->push_back("M");
    if (m == WM_TIMER) {
      KillTimer(w, wp);
      g_log->push_back("T");
    }
  }
  return DefWindowProcW(w, m, wp, lp);
}

class LoopWindow {
 public:
  LoopWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = LoggingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LoopTestWindow";
    RegisterClassW(&wc);
    window = CreateWindowExW(0, L"LoopTestWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             wc.hInstance, nullptr);
  }
  ~LoopWindow() { DestroyWindow(window); }
  HWND window;
};

struct TakingFilter : MessageFilter {
  TakingFilter(std::string n, WPARAM t) : name(std::move(n)), takes(t) {}
  bool PreTranslateMessage(MSG& m) override {
    if (m.message != WM_USER) return false;
    g_log->push_back(name + std::to_string(m.wParam));
    return m.wParam == takes;
  }
  std::string name;
  WPARAM takes;
};

void DrainQueue() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace

TEST(MainFrameLoop, FiltersRunNewestFirstAndATakenMessageIsNotDispatched) {
  DrainQueue();
  std::vector<std::string> log;
  g_log = &log;
  LoopWindow lw;
  MainFrameLoop loop;
  TakingFilter older("A", 1), newer("B", 2), removed("C", 0);
  loop.AddMessageFilter(&older);
  loop.AddMessageFilter(&newer);
  loop.AddMessageFilter(&removed);
  loop.RemoveMessageFilter(&removed);
  PostMessageW(lw.window, WM_USER, 1, 0);
  PostMessageW(lw.window, WM_USER, 2, 0);
  PostMessageW(lw.window, WM_USER, 3, 0);
  PostQuitMessage(7);
  EXPECT_EQ(loop.Run(), 7);
  g_log = nullptr;
  const std::vector<std::string> expected{"B1", "A1", "B2", "B3", "A3", "D3"};
  EXPECT_EQ(log, expected);
}

TEST(MainFrameLoop, IdleRunsUntilDoneAndIsReArmedByMessagesButNotByMouseMoves) {
  DrainQueue();
  std::vector<std::string> log;
  g_log = &log;
  LoopWindow lw;
  MainFrameLoop loop;
  struct Idle : IdleHandler {
    bool OnIdle(int count) override {
      g_log->push_back("I" + std::to_string(count));
      if (count < 2) return true;
      ++phases;
      if (phases == 1) {
        // A mouse move must not start another idle phase; the timer must.
        PostMessageW(window, WM_MOUSEMOVE, 0, 0);
        SetTimer(window, 1, 100, nullptr);
      } else {
        PostQuitMessage(0);
      }
      return false;
    }
    HWND window = nullptr;
    int phases = 0;
  } idle;
  idle.window = lw.window;
  loop.AddIdleHandler(&idle);
  EXPECT_EQ(loop.Run(), 0);
  g_log = nullptr;
  const std::vector<std::string> expected{"I0", "I1", "I2", "M", "T", "I0", "I1", "I2"};
  EXPECT_EQ(log, expected);
}
