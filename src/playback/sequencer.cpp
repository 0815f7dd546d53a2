#include "playback/sequencer.h"

#include <memory>
#include <random>
#include <utility>

namespace sorvane {
namespace {

constexpr TextView kKeyRandomPlay = u"random_play";
constexpr TextView kKeyRepeat = u"m_Repeat";
constexpr TextView kKeyPlayLast = u"m_PlayLast";
constexpr TextView kKeySel = u"m_Sel";
constexpr TextView kKeyPosition = u"m_Position";

std::function<uint32_t()> SeededGenerator() {
  // Seeded once per run so that random order differs between runs.
  auto engine = std::make_shared<std::mt19937>(std::random_device{}());
  return [engine] { return static_cast<uint32_t>((*engine)()); };
}

}  // namespace

Sequencer::Sequencer(MediaRows& rows, SequencerPlayer& player, SequencerPanel& panel, MediaProbeBackend& probe,
                     SequencerSettings& settings, std::function<uint32_t()> random)
    : rows_(rows),
      player_(player),
      panel_(panel),
      probe_(probe),
      settings_(settings),
      random_(random ? std::move(random) : SeededGenerator()) {}

void Sequencer::LoadModes() {
  randomPlay_ = settings_.ReadInt(kKeyRandomPlay, randomPlay_);
  repeat_ = settings_.ReadInt(kKeyRepeat, repeat_);
  panel_.SetShuffleGlyph(randomPlay_ != 0);
}

void Sequencer::LoadResume() {
  playLast_ = settings_.ReadInt(kKeyPlayLast, playLast_);
  const int sel = settings_.ReadInt(kKeySel, 0);
  const double position = ParseDouble(settings_.ReadProgramString(kKeyPosition, u"0.0"));
  if (playLast_ != 0) {
    // The focus change starts the row from its beginning; OnPlaying moves it on.
    if (sel >= 0 && sel < rows_.Count() && position > 0.0) {
      seekPending_ = true;
      seekPath_ = rows_.GetText(sel, kColumnPath);
      seekSeconds_ = position;
    }
    rows_.SelectAndFocus(sel);
    return;
  }
  player_.TogglePlayPause();
  player_.SetPositionSeconds(position);
}

void Sequencer::SaveResume() {
  const int sel = rows_.FirstSelected();
  if (sel >= 0) settings_.WriteInt(kKeySel, sel);
  settings_.WriteProgramString(kKeyPosition, Format(u"%f", {player_.PositionSeconds()}));
}

void Sequencer::OnPlaying(TextView currentUrl) {
  if (!seekPending_) return;
  seekPending_ = false;  // once: a later replay of the row starts from its beginning
  if (currentUrl != seekPath_) return;
  if (seekSeconds_ > 0.0 && seekSeconds_ < player_.DurationSeconds()) player_.SetPositionSeconds(seekSeconds_);
}

bool Sequencer::OnCommand(int id, bool endOfMedia) {
  switch (id) {
    case kPlayCmdNext:
      if (!endOfMedia) {
        PlayEntry(+1);
      } else if (repeat_ == kRepeatOne) {
        PlayEntry(0);
      } else if (repeat_ != kRepeatOff) {
        PlayEntry(+1);
      }
      return true;
    case kPlayCmdPrevious:
    case kPlayCmdMenuPrevious:
      PlayEntry(-1);
      return true;
    case kPlayCmdMenuNext:
      PlayEntry(+1);
      return true;
    case kPlayCmdPlay:
    case kPlayCmdPause:
      player_.TogglePlayPause();
      return true;
    case kPlayCmdStop:
      panel_.Stop();
      return true;
    case kPlayCmdMute:
      panel_.ToggleMute();
      return true;
    case kPlayCmdRandom:
      SetRandomPlay(1);
      return true;
    case kPlayCmdSequential:
      SetRandomPlay(0);
      return true;
    case kPlayCmdRepeatOne:
      SetRepeat(kRepeatOne);
      return true;
    case kPlayCmdRepeatAll:
      SetRepeat(kRepeatAll);
      return true;
    case kPlayCmdRepeatOff:
      SetRepeat(kRepeatOff);
      return true;
    case kPlayCmdPlayLast:
      playLast_ = playLast_ ? 0 : 1;
      settings_.WriteInt(kKeyPlayLast, playLast_);
      return true;
    default:
      return false;
  }
}

bool Sequencer::IsChecked(int commandId) const {
  switch (commandId) {
    case kPlayCmdPlayLast: return playLast_ != 0;
    case kPlayCmdRandom: return randomPlay_ != 0;
    case kPlayCmdSequential: return randomPlay_ == 0;
    case kPlayCmdRepeatOne: return repeat_ == kRepeatOne;
    case kPlayCmdRepeatAll: return repeat_ == kRepeatAll;
    case kPlayCmdRepeatOff: return repeat_ == kRepeatOff;
    default: return false;
  }
}

void Sequencer::SetRandomPlay(int value) {
  if (randomPlay_ == value) return;
  randomPlay_ = value;
  settings_.WriteInt(kKeyRandomPlay, value);
  panel_.SetShuffleGlyph(value != 0);
}

void Sequencer::SetRepeat(int value) {
  if (repeat_ == value) return;
  repeat_ = value;
  settings_.WriteInt(kKeyRepeat, value);
}

void Sequencer::RebuildShuffle(int count) {
  shuffleOrder_.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) shuffleOrder_[i] = i;
  for (int i = 0; i < count; ++i) {
    const int j = static_cast<int>(random_() % static_cast<uint32_t>(i + 1));
    std::swap(shuffleOrder_[i], shuffleOrder_[j]);
  }
  shufflePos_ = 0;
}

int Sequencer::ChooseIndex(int count, int step) {
  int idx;
  if (randomPlay_ != 0) {
    if (static_cast<int>(shuffleOrder_.size()) != count) RebuildShuffle(count);
    if (shufflePos_ >= count) RebuildShuffle(count);
    shufflePos_ += step;
    if (shufflePos_ >= count) shufflePos_ = 0;  // the same order repeats
    if (shufflePos_ < 0) shufflePos_ = count - 1;
    idx = shuffleOrder_[shufflePos_];
  } else {
    idx = rows_.FirstSelected() + step;
    if (idx >= count) idx = 0;
    if (idx < 0) idx = count - 1;
  }
  if (idx < 0) idx = 0;
  if (idx >= count) idx = count - 1;
  return idx;
}

void Sequencer::PlayEntry(int step) {
  const int count = rows_.Count();
  if (count <= 0) return;
  const int base = step;
  int tries = 0;
  int idx = 0;
  for (;;) {
    idx = ChooseIndex(count, step);
    if (IsMarkedFailed(rows_, idx)) {
      ++tries;
      if (tries < kMaxMarkedSkips) {
        step += base;
        continue;
      }
    }
    const Text path = rows_.GetText(idx, kColumnPath);
    if (MediaProbe::Open(probe_, path).IsMedia()) break;
    MarkFailed(rows_, idx);
    ++tries;
    if (tries >= kMaxProbeFailures) break;  // the last failing row is played anyway
    step += base;
  }
  rows_.SelectAndFocus(idx);
  // The focus change has already handed the path to the player; this call is the sequencer's own.
  player_.PlayUrl(rows_.GetText(idx, kColumnPath));
}

}  // namespace sorvane
