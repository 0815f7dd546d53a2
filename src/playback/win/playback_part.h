// Playback as a part of the main window: the player panel in place of the
// placeholder 1249, the sequencer that chooses what plays next with its seams
// onto the panel, the control and the settings, the resume seek once the
// restarted row plays, and the mouse on the video and the panel.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/win/main_frame_loop.h"
#include "framework/win/main_window_part.h"
#include "medialist/media_probe.h"
#include "medialist/media_rows.h"
#include "playback/sequencer.h"
#include "playback/sequencer_adapters.h"
#include "playback/win/player_panel.h"
#include "playback/win/sequencer_panel.h"

namespace sorvane::win {

// Posted to the main window when the player reports that a medium plays.
inline constexpr UINT kNowPlayingMessage = WM_APP + 0x131;
// Posted to the main window on every play state the player reports (the state
// in the first parameter). Parts watch it without taking it.
inline constexpr UINT kPlayStateChangedMessage = WM_APP + 0x132;

class PlaybackPart final : public MainWindowPart, public MessageFilter {
 public:
  // rows: the shown list; probe: the window thread's probe backend.
  PlaybackPart(MediaRows& rows, MediaProbeBackend& probe) : rows_(rows), probe_(probe) {}
  ~PlaybackPart() override;

  PlayerPanel& Panel() { return panel_; }
  // Null before OnInitDialog.
  Sequencer* Sequence() { return sequencer_.get(); }

  void OnInitDialog(PartHost& window) override;
  void LoadSettings(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnStarted(PartHost& window) override;
  void SaveSettings(PartHost& window) override;
  void OnClose(PartHost& window) override;
  // The panel's keys, ahead of the main window's dialog navigation.
  bool PreTranslateMessage(MSG& message) override { return panel_.PreTranslateMessage(&message); }

  // Right button on the video or the panel: the switch of compact mode. Without
  // a handler the click is only swallowed.
  void SetRightButtonHandler(std::function<void()> handler) { rightButton_ = std::move(handler); }
  // While this answers true a left button press goes to the main window as a
  // press on its client area (fly-out mode drags the window itself) instead of
  // moving the window as its caption would.
  void SetLeftButtonPassThrough(std::function<bool()> pass) { passLeftButton_ = std::move(pass); }

 private:
  void HookMouse(HWND window);
  static LRESULT CALLBACK MouseHook(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  MediaRows& rows_;
  MediaProbeBackend& probe_;
  PlayerPanel panel_;
  std::unique_ptr<ControlSequencerPlayer> player_;
  std::unique_ptr<PanelSequencerPanel> panelSeam_;
  std::unique_ptr<StoreSequencerSettings> settings_;
  std::unique_ptr<Sequencer> sequencer_;
  HWND main_ = nullptr;
  std::vector<HWND> hooked_;
  std::function<void()> rightButton_;
  std::function<bool()> passLeftButton_;
};

}  // namespace sorvane::win
