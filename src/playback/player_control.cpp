#include "playback/player_control.h"

#include <cmath>
#include <limits>

namespace sorvane {

int TruncateSeconds(double seconds) {
  if (!(seconds > 0.0)) return 0;  // also NaN
  if (seconds >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  return static_cast<int>(seconds);
}

void PlayerControl::Attach(std::unique_ptr<MediaPlayer> player) {
  player_ = std::move(player);
  playing_ = false;
  muted_ = false;
}

bool PlayerControl::PlayUrl(TextView path) {
  if (!player_) return false;
  if (!player_->SetUrl(path)) return false;
  currentUrl_ = Text(path);
  durationSeconds_ = 0;
  playing_ = true;
  return true;
}

void PlayerControl::Play() {
  if (!player_) return;
  player_->Play();
  playing_ = true;
}

void PlayerControl::Pause() {
  if (!player_) return;
  player_->Pause();
  playing_ = false;
}

void PlayerControl::TogglePlayPause() {
  if (playing_) {
    Pause();
  } else {
    Play();
  }
}

void PlayerControl::Stop() {
  if (!player_) return;
  player_->Stop();
  playing_ = false;
}

bool PlayerControl::ToggleMute() {
  if (!player_) return muted_;
  muted_ = !muted_;
  player_->SetMute(muted_);
  return muted_;
}

void PlayerControl::SetVolume(int volume) {
  if (!player_) return;
  player_->SetVolume(volume);
}

int PlayerControl::GetVolume() {
  if (!player_) return 0;
  return player_->GetVolume().value_or(0);
}

double PlayerControl::GetPosition() {
  if (!player_ || !player_->HasCurrentMedia()) return 0.0;
  return player_->CurrentPosition();
}

void PlayerControl::SetPosition(double seconds) {
  if (!player_ || !player_->HasCurrentMedia()) return;
  player_->SetCurrentPosition(seconds);
}

PlayerControl::PollResult PlayerControl::Poll() {
  PollResult result;
  if (!player_) return result;
  result.position = player_->CurrentPosition();
  if (auto duration = player_->CurrentMediaDuration()) durationSeconds_ = TruncateSeconds(*duration);
  result.durationSeconds = durationSeconds_;
  return result;
}

void PlayerControl::SeekPermille(int permille) {
  if (!player_) return;
  player_->SetCurrentPosition(static_cast<double>(durationSeconds_) * permille * 0.001);
}

void PlayerControl::OnPlayStateChange(int32_t newState) {
  lastPlayState_ = newState;
  switch (newState) {
    case kPlayStateStopped:
    case kPlayStatePaused:
      playing_ = false;
      break;
    case kPlayStatePlaying:
      playing_ = true;
      break;
    case kPlayStateMediaEnded:
      if (endOfMedia_) endOfMedia_();
      break;
    default:
      break;
  }
}

}  // namespace sorvane
