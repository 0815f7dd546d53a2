// The one place where subsystems plug their parts into the main window, in the
// order their start-up steps run, and where each part is handed the others it
// works with.
#pragma once

namespace sorvane::win {

class MainWindow;
class MediaListPart;
class ProbePart;
class PlaybackPart;
class WindowModesPart;

// The parts that show and play the lists, in their order: lists (list view and
// selector), probing, playback (the panel and the sequencer).
struct PlayerParts {
  MediaListPart* lists;
  ProbePart* probe;
  PlaybackPart* playback;
};
PlayerParts AddPlayerParts(MainWindow& window);

// The tray icon, the look, the media keys and the calm video area.
void AddDesktopParts(MainWindow& window, const PlayerParts& player, WindowModesPart* modes = nullptr);

// Every part of the program's main window, before it is created.
// Answers the player parts among them.
PlayerParts AddMainWindowParts(MainWindow& window);

}  // namespace sorvane::win
