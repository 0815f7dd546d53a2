// What plays next: the Next and Previous commands, the end of a medium under
// the repeat modes, random order, skipping entries that cannot be played, the
// player switches kept in the settings, and resuming at start-up.
// Runs on the user-interface thread over small seams, so it is tested with fakes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/text.h"
#include "medialist/media_probe.h"
#include "medialist/media_rows.h"

namespace sorvane {

inline constexpr int kPlayCmdNext = 1259;  // also EndOfMedia, with the second parameter 1259
inline constexpr int kPlayCmdPrevious = 1260;
inline constexpr int kPlayCmdPlay = 1301;
inline constexpr int kPlayCmdPause = 1302;
inline constexpr int kPlayCmdStop = 1303;
inline constexpr int kPlayCmdMenuPrevious = 1304;
inline constexpr int kPlayCmdMenuNext = 1305;
inline constexpr int kPlayCmdMute = 1306;
inline constexpr int kPlayCmdRandom = 1307;
inline constexpr int kPlayCmdRepeatOne = 1308;
inline constexpr int kPlayCmdSequential = 1310;
inline constexpr int kPlayCmdRepeatAll = 1311;
inline constexpr int kPlayCmdRepeatOff = 1312;
inline constexpr int kPlayCmdPlayLast = 33368;

inline constexpr int kRepeatOff = 0;
inline constexpr int kRepeatAll = 1;
inline constexpr int kRepeatOne = 2;

inline constexpr int kMaxMarkedSkips = 20;
inline constexpr int kMaxProbeFailures = 10;

// EndOfMedia carries the command id as its whole second parameter; the Next
// button's click carries its window there instead.
inline bool IsEndOfMedia(uint64_t wParam, int64_t lParam) { return static_cast<uint64_t>(lParam) == wParam; }

// Keys of section "Sorvane" through ReadInt/WriteInt, of section "Program"
// through the string pair.
class SequencerSettings {
 public:
  virtual ~SequencerSettings() = default;
  virtual int ReadInt(TextView key, int def) = 0;
  virtual void WriteInt(TextView key, int value) = 0;
  virtual Text ReadProgramString(TextView key, TextView def) = 0;
  virtual void WriteProgramString(TextView key, TextView value) = 0;
};

class SequencerPlayer {
 public:
  virtual ~SequencerPlayer() = default;
  virtual bool PlayUrl(TextView path) = 0;
  virtual void TogglePlayPause() = 0;
  virtual double PositionSeconds() = 0;  // 0.0 without a current medium
  virtual double DurationSeconds() = 0;  // of the current medium, 0.0 when unknown
  virtual void SetPositionSeconds(double seconds) = 0;
};

// The transport panel's own operations the commands reach.
class SequencerPanel {
 public:
  virtual ~SequencerPanel() = default;
  virtual void Stop() = 0;
  virtual void ToggleMute() = 0;
  virtual void SetShuffleGlyph(bool on) = 0;
};

class Sequencer {
 public:
  // random gives uniformly distributed 32-bit values; empty means a generator seeded once per run.
  Sequencer(MediaRows& rows, SequencerPlayer& player, SequencerPanel& panel, MediaProbeBackend& probe,
            SequencerSettings& settings, std::function<uint32_t()> random = {});

  // Start-up, before the media lists are loaded: "random_play" and "m_Repeat", and the shuffle glyph.
  void LoadModes();
  // Start-up, after the lists and the volume: "m_PlayLast", "m_Sel", and either
  // the restart of the last row (its stored position is applied once it plays)
  // or, with "m_PlayLast" 0, play/pause and a seek to the stored position.
  void LoadResume();
  // Exit: "m_Sel" (when a row is selected) and "m_Position".
  void SaveResume();
  // The player reports the playing state for currentUrl.
  void OnPlaying(TextView currentUrl);

  // The player commands; false for any other id. endOfMedia from IsEndOfMedia.
  bool OnCommand(int id, bool endOfMedia = false);
  // step: -1 previous, 0 the same entry again, +1 next.
  void PlayEntry(int step);

  // The check marks of the main window's menu.
  bool IsChecked(int commandId) const;

  int RandomPlay() const { return randomPlay_; }
  int Repeat() const { return repeat_; }
  int PlayLast() const { return playLast_; }
  const std::vector<int>& ShuffleOrder() const { return shuffleOrder_; }
  int ShufflePos() const { return shufflePos_; }

 private:
  void RebuildShuffle(int count);
  int ChooseIndex(int count, int step);
  void SetRandomPlay(int value);
  void SetRepeat(int value);

  MediaRows& rows_;
  SequencerPlayer& player_;
  SequencerPanel& panel_;
  MediaProbeBackend& probe_;
  SequencerSettings& settings_;
  std::function<uint32_t()> random_;

  int randomPlay_ = 9;
  int repeat_ = kRepeatAll;
  int playLast_ = 1;
  std::vector<int> shuffleOrder_;
  int shufflePos_ = 0;

  bool seekPending_ = false;
  Text seekPath_;
  double seekSeconds_ = 0.0;
};

}  // namespace sorvane
