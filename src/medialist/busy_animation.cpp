#include "medialist/busy_animation.h"

#include "medialist/adding_strings.h"

namespace sorvane {

int BusyAnimation::FirstTextId() { return adding_string::kBusyFirst; }

int BusyAnimation::Tick() {
  position_ += up_ ? kBusyBarStep : -kBusyBarStep;
  if (position_ >= kBusyBarMax) {
    position_ = kBusyBarMax;
    up_ = false;
  } else if (position_ < 1) {
    position_ = 0;
    up_ = true;
  }
  ++counters_.ticks;
  if (counters_.ticks % kBusyTicksPerText != 0) return 0;
  counters_.textIndex = (counters_.textIndex + 1) % adding_string::kBusyRotationCount;
  return adding_string::kBusyRotation + counters_.textIndex;
}

BusyCounters& SharedBusyCounters() {
  static BusyCounters counters;
  return counters;
}

}  // namespace sorvane
