// The adapter between the program and the media player: the few bits of
// playback state the program keeps, and the end-of-media signal.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/text.h"
#include "playback/media_player.h"

namespace sorvane {

// The command id of the end-of-media signal; it travels with the same value as
// its second parameter, which tells it apart from a click on Next.
inline constexpr int kEndOfMediaCommand = 1259;

class PlayerControl {
 public:
  struct PollResult {
    double position = 0.0;
    int durationSeconds = 0;
  };

  // Called (once per medium end) to post the end-of-media signal; the Windows
  // layer posts the command to the panel's parent.
  void SetEndOfMediaSink(std::function<void()> sink) { endOfMedia_ = std::move(sink); }

  // Takes the player for the rest of the run; null means no reachable control,
  // and every operation then does nothing.
  void Attach(std::unique_ptr<MediaPlayer> player);

  bool HasPlayer() const { return player_ != nullptr; }
  bool HasSettings() const { return player_ && player_->HasSettings(); }

  bool PlayUrl(TextView path);
  void Play();
  void Pause();
  void TogglePlayPause();
  void Stop();
  bool ToggleMute();
  void SetVolume(int volume);
  int GetVolume();
  double GetPosition();
  void SetPosition(double seconds);
  PollResult Poll();
  void SeekPermille(int permille);
  void OnPlayStateChange(int32_t newState);

  bool IsPlaying() const { return playing_; }
  bool IsMuted() const { return muted_; }
  const Text& CurrentUrl() const { return currentUrl_; }
  int DurationSeconds() const { return durationSeconds_; }
  int32_t LastPlayState() const { return lastPlayState_; }

  MediaPlayer* Player() { return player_.get(); }

 private:
  std::unique_ptr<MediaPlayer> player_;
  std::function<void()> endOfMedia_;
  Text currentUrl_;
  int durationSeconds_ = 0;
  bool playing_ = false;
  int32_t lastPlayState_ = 0;
  bool muted_ = false;
};

// Whole seconds of a duration, truncated toward zero; out-of-range or NaN
// durations give 0 instead of undefined behaviour.
int TruncateSeconds(double seconds);

}  // namespace sorvane
