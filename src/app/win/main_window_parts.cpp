// The one place where subsystems plug their parts into the main window, in the
// order their start-up steps run (list view and selector, tray, panel, ...).
#include "app/win/main_window.h"
#include "app/win/mode_buttons_part.h"
#include "app/win/playback_part.h"
#include "app/win/startup.h"
#include "framework/win/language_part.h"
#include "medialist/media_list_rows.h"
#include "medialist/win/adding_part.h"

namespace sorvane::win {

void AddMainWindowParts(MainWindow& window) {
  window.AddPart(MakeLanguagePart());
  // Lists, panel, probe and sequencer.
  auto playback = std::make_unique<PlaybackPart>();
  // Adding comes after the part that loads the shown list, so the start's
  // command line finds that list. Files are probed as they are added with the
  // same backend the window thread uses for the list.
  auto prober = std::make_shared<BackendEntryProber>(playback->ProbeBackend());
  auto adding = std::make_unique<AddingPart>(playback->Lists(), [prober] { return static_cast<EntryProber*>(prober.get()); });
  playback->SetFilesDroppedHandler([target = adding.get()](std::vector<Text> paths) { target->OnListViewDrop(paths); });
  window.AddPart(std::move(playback));
  window.AddPart(std::move(adding));
  window.AddPart(MakeModeButtonsPart());
}

}  // namespace sorvane::win
