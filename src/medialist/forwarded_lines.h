// Command lines that second starts hand over, gathered into rounds. Opening
// twenty selected files from a file manager starts twenty copies within a
// moment; each hands its line over and ends. A round is one addition that asks
// its questions once, so the lines are held back briefly and taken together.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "framework/text.h"

namespace sorvane {

using Milliseconds = std::chrono::milliseconds;
// A monotonic clock: the time since some fixed point.
using MonotonicClock = std::function<Milliseconds()>;

// A round begins once no further line has come for this long...
inline constexpr Milliseconds kForwardQuietTime{300};
// ...and at the latest this long after the first line that waits, so a
// steady stream of starts still gets handled.
inline constexpr Milliseconds kForwardLongestWait{2000};

class ForwardedLineQueue {
 public:
  explicit ForwardedLineQueue(MonotonicClock clock, Milliseconds quietTime = kForwardQuietTime,
                              Milliseconds longestWait = kForwardLongestWait);

  void Arrive(Text line);

  // How long to wait before the next round may begin: none while a round
  // runs or when nothing waits, zero when it is due.
  std::optional<Milliseconds> WaitBeforeRound() const;
  // Begins a round with every waiting line, in arrival order. Lines that come
  // while it runs wait for the next round unless the round takes them.
  std::vector<Text> BeginRound();
  // The lines that came since the round began (or since the last take).
  std::vector<Text> TakeArrived();
  void EndRound();

  bool InRound() const { return inRound_; }
  std::size_t Waiting() const { return waiting_.size(); }

 private:
  MonotonicClock clock_;
  Milliseconds quietTime_, longestWait_;
  std::vector<Text> waiting_;
  Milliseconds firstArrival_{0}, lastArrival_{0};
  bool inRound_ = false;
};

class CommandLineHost;

// Runs one round as one addition: first (the start's own command line, when
// given) and then every waiting line. Lines that come while its question about
// a new list is open join it; later ones wait for the next round.
void RunForwardedRound(ForwardedLineQueue& queue, CommandLineHost& host, std::vector<Text> first = {});

}  // namespace sorvane
