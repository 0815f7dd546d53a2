// The busy dialog's animation: a bar bouncing between the ends of its range,
// and a text that changes every 100 ticks.
#pragma once

namespace sorvane {

inline constexpr int kBusyBarMax = 10000;
inline constexpr int kBusyBarStep = 300;
inline constexpr int kBusyTickMs = 30;
inline constexpr int kBusyTicksPerText = 100;

// Shared by every busy dialog of one run, so the texts go on where the last
// dialog left them.
struct BusyCounters {
  int ticks = 0;
  int textIndex = 0;  // of the rotating texts 171..176
};

class BusyAnimation {
 public:
  explicit BusyAnimation(BusyCounters& counters) : counters_(counters) {}

  int Position() const { return position_; }
  bool MovingUp() const { return up_; }
  // The string id the dialog opens with.
  static int FirstTextId();

  // One timer tick: moves the bar and returns the string id of a text to show
  // now, or 0 when the text stays.
  int Tick();

 private:
  BusyCounters& counters_;
  int position_ = 0;
  bool up_ = true;
};

// The counters of this run.
BusyCounters& SharedBusyCounters();

}  // namespace sorvane
