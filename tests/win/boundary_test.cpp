// Failures in the message loop's filters and idle handlers stay there: the
// message goes on to the next filter and to dispatch, the loop keeps running.
#include <windows.h>

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "framework/win/boundary.h"
#include "framework/win/main_frame_loop.h"

namespace sorvane::win {
namespace {

struct ThrowingFilter : MessageFilter {
  bool PreTranslateMessage(MSG&) override { throw std::bad_alloc(); }
};
struct TakingFilter : MessageFilter {
  int seen = 0;
  bool PreTranslateMessage(MSG&) override { return ++seen > 0; }
};
struct ThrowingIdle : IdleHandler {
  bool OnIdle(int) override { throw std::runtime_error("idle failed"); }
};

TEST(Boundary, AFailingFilterOrIdleHandlerLeavesTheRestOfTheLoopWorking) {
  MainFrameLoop loop;
  TakingFilter taking;
  ThrowingFilter throwing;
  loop.AddMessageFilter(&taking);
  loop.AddMessageFilter(&throwing);  // newest: asked first
  MSG msg{nullptr, WM_NULL, 0, 0};
  EXPECT_TRUE(loop.Filter(msg)) << "the older filter still takes it";
  EXPECT_EQ(taking.seen, 1);
  loop.RemoveMessageFilter(&taking);
  EXPECT_FALSE(loop.Filter(msg)) << "left for dispatch";

  ThrowingIdle idle;
  loop.AddIdleHandler(&idle);
  EXPECT_FALSE(loop.IdleRound(0)) << "nothing more to do";
}

TEST(Boundary, AFailingWindowProcedureAnswersWhatTheDefaultWould) {
  int defaults = 0;
  const LRESULT answer = GuardedOrDefault(
      "test", []() -> LRESULT { throw std::runtime_error("handler failed"); },
      [&]() -> LRESULT {
        ++defaults;
        return 42;
      });
  EXPECT_EQ(answer, 42);
  EXPECT_EQ(defaults, 1);
  EXPECT_EQ(GuardedOrDefault("test", []() -> LRESULT { return 7; }, [&]() -> LRESULT { return ++defaults; }), 7);
  EXPECT_EQ(defaults, 1) << "no default after a handler that answered";
}

}  // namespace
}  // namespace sorvane::win
