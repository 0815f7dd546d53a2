// The one place where subsystems plug their parts into the main window, in the
// order their start-up steps run (list view and selector, tray, panel, ...).
#include "app/win/main_window.h"
#include "app/win/mode_buttons_part.h"
#include "app/win/playback_part.h"
#include "app/win/startup.h"
#include "framework/win/language_part.h"

namespace sorvane::win {

void AddMainWindowParts(MainWindow& window) {
  window.AddPart(MakeLanguagePart());
  // Lists, panel, probe and sequencer; whoever adds media takes this part's
  // Lists(), ProbeBackend(), StartProbe() and SetFilesDroppedHandler().
  auto playback = std::make_unique<PlaybackPart>();
  window.AddPart(std::move(playback));
  window.AddPart(MakeModeButtonsPart());
}

}  // namespace sorvane::win
