// Process-wide values of the start-up: the command line text that adding media
// reads (the own tail at start, then the full line of a forwarding second copy)
// and the start flags. Only the user-interface thread touches them.
#pragma once

#include "framework/text.h"

namespace sorvane {

const Text& CommandLineText();
void SetCommandLineText(Text text);

struct StartFlags {
  bool startHidden = false;
  bool miniBrowser = false;
};
StartFlags& StartState();

}  // namespace sorvane
