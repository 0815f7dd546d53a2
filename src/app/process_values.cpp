#include "app/process_values.h"

namespace sorvane {

namespace {
Text& CommandLineStorage() {
  static Text text;
  return text;
}
}  // namespace

const Text& CommandLineText() { return CommandLineStorage(); }
void SetCommandLineText(Text text) { CommandLineStorage() = std::move(text); }

StartFlags& StartState() {
  static StartFlags flags;
  return flags;
}

}  // namespace sorvane
