// The sequencer's panel seam over the player panel.
#pragma once

#include "playback/sequencer.h"
#include "playback/win/player_panel.h"

namespace sorvane::win {

class PanelSequencerPanel final : public SequencerPanel {
 public:
  explicit PanelSequencerPanel(PlayerPanel& panel) : panel_(panel) {}
  void Stop() override { panel_.Stop(); }
  void ToggleMute() override { panel_.ToggleMute(); }
  void SetShuffleGlyph(bool on) override { panel_.SetShuffleGlyph(on); }

 private:
  PlayerPanel& panel_;
};

}  // namespace sorvane::win
