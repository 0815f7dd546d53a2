// The sequencer's seams over the program's settings store and player control.
#pragma once

#include "settings/settings_store.h"
#include "playback/player_control.h"
#include "playback/sequencer.h"

namespace sorvane {

class StoreSequencerSettings final : public SequencerSettings {
 public:
  explicit StoreSequencerSettings(SettingsStore& store) : store_(store) {}
  int ReadInt(TextView key, int def) override { return store_.ReadInt(kProductSection, key, def); }
  void WriteInt(TextView key, int value) override { store_.WriteInt(kProductSection, key, value); }
  Text ReadProgramString(TextView key, TextView def) override { return store_.ReadProgramString(key, def); }
  void WriteProgramString(TextView key, TextView value) override { store_.WriteProgramString(key, value); }

 private:
  SettingsStore& store_;
};

class ControlSequencerPlayer final : public SequencerPlayer {
 public:
  explicit ControlSequencerPlayer(PlayerControl& control) : control_(control) {}
  bool PlayUrl(TextView path) override { return control_.PlayUrl(path); }
  void TogglePlayPause() override { control_.TogglePlayPause(); }
  double PositionSeconds() override { return control_.GetPosition(); }
  double DurationSeconds() override {
    MediaPlayer* p = control_.Player();
    return p ? p->CurrentMediaDuration().value_or(0.0) : 0.0;
  }
  void SetPositionSeconds(double seconds) override { control_.SetPosition(seconds); }

 private:
  PlayerControl& control_;
};

}  // namespace sorvane
