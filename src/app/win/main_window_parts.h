// The one place where subsystems plug their parts into the main window, in the
// order their start-up steps run, and where each part is handed the others it
// works with.
#pragma once

namespace sorvane::win {

class MainWindow;
class MediaListPart;
class ProbePart;
class PlaybackPart;

// The parts that show and play the lists, in their order: lists (list view and
// selector), probing, playback (the panel and the sequencer).
struct PlayerParts {
  MediaListPart* lists;
  ProbePart* probe;
  PlaybackPart* playback;
};
PlayerParts AddPlayerParts(MainWindow& window);

// Every part of the program's main window, before it is created.
// Answers the player parts among them.
PlayerParts AddMainWindowParts(MainWindow& window);

}  // namespace sorvane::win
