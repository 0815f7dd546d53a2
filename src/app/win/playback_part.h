// The media lists, the player panel, the background probe and the sequencer
// as one part of the main window. They start in one order (list view and
// selector, then the panel in place of 1249), load in another (play modes,
// lists, volume, resume) and talk to each other on every message, so one part
// owns them all and keeps that order in one place.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "app/win/main_window_part.h"
#include "medialist/media_list_rows.h"
#include "medialist/win/media_list_part.h"
#include "medialist/win/probe_host.h"
#include "medialist/win/system_probe.h"
#include "playback/sequencer.h"
#include "playback/sequencer_adapters.h"
#include "playback/win/player_panel.h"
#include "playback/win/sequencer_panel.h"

namespace sorvane::win {

// Posted to the main window when the player reports that a medium plays.
inline constexpr UINT kNowPlayingMessage = WM_APP + 0x131;

class PlaybackPart final : public MainWindowPart {
 public:
  PlaybackPart();
  ~PlaybackPart() override;

  // Files dropped on the list view from outside; whoever adds media sets it
  // before the window is created.
  void SetFilesDroppedHandler(std::function<void(std::vector<Text>)> handler) { filesDropped_ = std::move(handler); }

  MediaListController& Lists() { return lists_->Controller(); }
  PlayerPanel& Panel() { return panel_; }
  // The UI thread's probe backend, for adding files with probing.
  MediaProbeBackend& ProbeBackend() { return probeBackend_; }
  // Null before OnInitDialog.
  Sequencer* Sequence() { return sequencer_.get(); }
  // Probes the shown list again in the background (after media were added).
  void StartProbe();

  void OnInitDialog(MainWindow& window) override;
  void LoadSettings(MainWindow& window) override;
  bool OnMessage(MainWindow& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void SaveSettings(MainWindow& window) override;
  void OnClose(MainWindow& window) override;

 private:
  void HookMouse(HWND window);
  static LRESULT CALLBACK MouseHook(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void ApplyLanguage();

  std::function<void(std::vector<Text>)> filesDropped_;
  std::unique_ptr<MediaListPart> lists_;
  std::unique_ptr<MediaListRows> rows_;
  PlayerPanel panel_;
  SystemProbeBackend probeBackend_;
  std::unique_ptr<ProbeHost> probe_;
  std::unique_ptr<ControlSequencerPlayer> player_;
  std::unique_ptr<PanelSequencerPanel> panelSeam_;
  std::unique_ptr<StoreSequencerSettings> settings_;
  std::unique_ptr<Sequencer> sequencer_;
  HWND main_ = nullptr;
  std::vector<HWND> hooked_;
};

}  // namespace sorvane::win
