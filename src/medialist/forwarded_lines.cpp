#include "medialist/forwarded_lines.h"

#include <algorithm>
#include <utility>

#include "medialist/adding.h"

namespace sorvane {

ForwardedLineQueue::ForwardedLineQueue(MonotonicClock clock, Milliseconds quietTime, Milliseconds longestWait)
    : clock_(std::move(clock)), quietTime_(quietTime), longestWait_(longestWait) {}

void ForwardedLineQueue::Arrive(Text line) {
  const Milliseconds now = clock_();
  if (waiting_.empty()) firstArrival_ = now;
  lastArrival_ = now;
  waiting_.push_back(std::move(line));
}

std::optional<Milliseconds> ForwardedLineQueue::WaitBeforeRound() const {
  if (inRound_ || waiting_.empty()) return std::nullopt;
  const Milliseconds due = std::min(lastArrival_ + quietTime_, firstArrival_ + longestWait_);
  const Milliseconds now = clock_();
  return due > now ? due - now : Milliseconds{0};
}

std::vector<Text> ForwardedLineQueue::BeginRound() {
  inRound_ = true;
  return std::exchange(waiting_, {});
}

std::vector<Text> ForwardedLineQueue::TakeArrived() { return std::exchange(waiting_, {}); }

void ForwardedLineQueue::EndRound() { inRound_ = false; }

void RunForwardedRound(ForwardedLineQueue& queue, CommandLineHost& host, std::vector<Text> first) {
  std::vector<Text> lines = std::move(first);
  for (Text& line : queue.BeginRound()) lines.push_back(std::move(line));
  // The round ends however the addition ends, or no later line would ever be handled.
  struct EndRound {
    ForwardedLineQueue& queue;
    ~EndRound() { queue.EndRound(); }
  } end{queue};
  OpenFromCommandLines(lines, host, [&queue] { return queue.TakeArrived(); });
}

}  // namespace sorvane
