// The operations the program needs of a media player. The Windows build backs
// them with the hosted media player control; tests use a fake.
#pragma once

#include <optional>

#include "framework/text.h"

namespace sorvane {

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;

  // Hands the player a path; it starts by itself. False when the player refuses it.
  virtual bool SetUrl(TextView path) = 0;
  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;

  // Volume and mute live in the player's settings object, which may be missing.
  virtual bool HasSettings() const = 0;
  virtual void SetMute(bool muted) = 0;
  virtual void SetVolume(int volume) = 0;
  virtual std::optional<int> GetVolume() = 0;  // nothing when the read fails

  virtual bool HasCurrentMedia() = 0;
  // Seconds; nothing while no medium is loaded, 0 for media of unknown length.
  virtual std::optional<double> CurrentMediaDuration() = 0;
  virtual double CurrentPosition() = 0;  // 0.0 when the read fails
  virtual void SetCurrentPosition(double seconds) = 0;
  // Width in pixels of the current medium's picture; 0 for sound only, while
  // it is not known yet, or when the player cannot tell.
  virtual int VideoWidth() { return 0; }
};

// The player's play states that the program reacts to.
enum PlayState : int {
  kPlayStateStopped = 1,
  kPlayStatePaused = 2,
  kPlayStatePlaying = 3,
  kPlayStateMediaEnded = 8,
};

}  // namespace sorvane
