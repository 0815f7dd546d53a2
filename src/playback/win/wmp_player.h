// The media player seam backed by the hosted media player control.
#pragma once

#include <unknwn.h>

#include <memory>

#include "playback/media_player.h"

namespace sorvane::win {

// Prepares the control for the program (no user interface of its own, video
// stretched to its window, no context menu, no error dialogs) and returns the
// player; null when the object is not a media player control.
std::unique_ptr<MediaPlayer> CreateControlPlayer(IUnknown* control);

}  // namespace sorvane::win
