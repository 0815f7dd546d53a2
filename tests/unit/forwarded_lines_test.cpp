// Forwarded command lines gathered into rounds, on a clock the test moves.
#include "medialist/forwarded_lines.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace sorvane {
namespace {

using Texts = std::vector<Text>;
using std::chrono::milliseconds;

struct FakeClock {
  milliseconds now{100000};
  MonotonicClock Clock() {
    return [this] { return now; };
  }
};

TEST(ForwardedLineQueue, NothingWaitingMeansNoRound) {
  FakeClock clock;
  ForwardedLineQueue queue(clock.Clock());
  EXPECT_EQ(queue.WaitBeforeRound(), std::nullopt);
  EXPECT_TRUE(queue.BeginRound().empty());
  queue.EndRound();
  EXPECT_EQ(queue.WaitBeforeRound(), std::nullopt);
}

TEST(ForwardedLineQueue, LinesWithinTheQuietTimeOfEachOtherMakeOneRoundInArrivalOrder) {
  FakeClock clock;
  ForwardedLineQueue queue(clock.Clock(), milliseconds(300), milliseconds(2000));
  queue.Arrive(u"S.exe 1");
  EXPECT_EQ(queue.WaitBeforeRound(), milliseconds(300));
  clock.now += milliseconds(299);
  queue.Arrive(u"S.exe 2");
  EXPECT_EQ(queue.WaitBeforeRound(), milliseconds(300)) << "each line starts the quiet time again";
  clock.now += milliseconds(150);
  queue.Arrive(u"S.exe 3");
  clock.now += milliseconds(299);
  EXPECT_EQ(queue.WaitBeforeRound(), milliseconds(1));
  clock.now += milliseconds(1);
  EXPECT_EQ(queue.WaitBeforeRound(), milliseconds(0));
  EXPECT_EQ(queue.BeginRound(), (Texts{u"S.exe 1", u"S.exe 2", u"S.exe 3"}));
  EXPECT_TRUE(queue.InRound());
  EXPECT_EQ(queue.Waiting(), 0u);
}

TEST(ForwardedLineQueue, ALineAfterTheQuietTimeMakesItsOwnRound) {
  FakeClock clock;
  ForwardedLineQueue queue(clock.Clock(), milliseconds(300), milliseconds(2000));
  queue.Arrive(u"S.exe 1");
  clock.now += milliseconds(300);
  ASSERT_EQ(queue.WaitBeforeRound(), milliseconds(0));
  EXPECT_EQ(queue.BeginRound(), Texts{u"S.exe 1"});
  queue.EndRound();
  clock.now += milliseconds(1000);
  queue.Arrive(u"S.exe 2");
  EXPECT_EQ(queue.WaitBeforeRound(), milliseconds(300)) << "the quiet time counts from the new line";
  clock.now += milliseconds(300);
  EXPECT_EQ(queue.BeginRound(), Texts{u"S.exe 2"});
}

TEST(ForwardedLineQueue, ASteadyStreamIsHandledAfterTheLongestWait) {
  FakeClock clock;
  ForwardedLineQueue queue(clock.Clock(), milliseconds(300), milliseconds(2000));
  for (int i = 0; i < 10; ++i) {
    queue.Arrive(Format(u"S.exe %d", {i}));
    clock.now += milliseconds(250);
  }
  // First line at 0, last at 2250, now 2500: the longest wait has passed.
  EXPECT_EQ(queue.WaitBeforeRound(), milliseconds(0));
  EXPECT_EQ(queue.BeginRound().size(), 10u);
}

TEST(ForwardedLineQueue, LinesDuringARoundWaitForTheNextOneUnlessTaken) {
  FakeClock clock;
  ForwardedLineQueue queue(clock.Clock(), milliseconds(300), milliseconds(2000));
  queue.Arrive(u"S.exe 1");
  clock.now += milliseconds(300);
  ASSERT_EQ(queue.BeginRound(), Texts{u"S.exe 1"});

  queue.Arrive(u"S.exe 2");
  EXPECT_EQ(queue.WaitBeforeRound(), std::nullopt) << "one round at a time";
  EXPECT_EQ(queue.TakeArrived(), Texts{u"S.exe 2"});
  EXPECT_TRUE(queue.TakeArrived().empty());

  clock.now += milliseconds(5000);  // a long question
  queue.Arrive(u"S.exe 3");
  clock.now += milliseconds(100);
  queue.Arrive(u"S.exe 4");
  EXPECT_EQ(queue.WaitBeforeRound(), std::nullopt);
  clock.now += milliseconds(1000);
  queue.EndRound();
  // They have waited out the quiet time during the round: the next round is due at once.
  EXPECT_EQ(queue.WaitBeforeRound(), milliseconds(0));
  EXPECT_EQ(queue.BeginRound(), (Texts{u"S.exe 3", u"S.exe 4"}));
}

}  // namespace
}  // namespace sorvane
