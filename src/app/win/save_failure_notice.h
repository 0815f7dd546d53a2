// Tells the user that the settings file could not be saved: one message box
// naming the file and the system's reason. The store decides when a failure is
// new (once per run of failures); this side decides whether a box may open now.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/text.h"

namespace sorvane::win {

// The box's text: the path, then the system's reason for the failure.
Text SaveFailureMessage(const Text& path, uint32_t systemError);

// The settings store's failure sink. Shows the box and answers true; answers
// false without a box while one is already open (a write made while it waits
// for the user) or while the session ends.
bool TellSaveFailure(const Text& path, uint32_t systemError);

// While one lives, failures are not told: at the end of the Windows session a
// box would hold up the shutdown, and all that matters is the file kept whole.
class QuietSaveFailures {
 public:
  QuietSaveFailures();
  ~QuietSaveFailures();
  QuietSaveFailures(const QuietSaveFailures&) = delete;
  QuietSaveFailures& operator=(const QuietSaveFailures&) = delete;
};

// Tests: shows the text through this function instead of a message box (null restores the box).
void SetSaveFailureBoxForTest(std::function<void(const Text& text)> show);

}  // namespace sorvane::win
