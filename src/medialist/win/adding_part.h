// The main window's ways in for adding media: the Add Files (33372) and Import
// from Folder (33371) commands, files dropped on the window, the command line
// of this start and the one a second start forwards. Add it after the part
// that loads the shown list, so the start's command line finds the list.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/win/main_window_part.h"
#include "medialist/entry_prober.h"
#include "medialist/forwarded_lines.h"
#include "medialist/win/media_adder.h"
#include "medialist/win/media_list_controller.h"

namespace sorvane::win {

class MediaListController;

// Posted to the main window when forwarded command lines wait for a round.
inline constexpr UINT kForwardedRoundMessage = WM_APP + 0x132;
// The main window's timer that holds a round back for the quiet time.
inline constexpr UINT_PTR kForwardedRoundTimer = 0x2775;

class AddingPart final : public MainWindowPart {
 public:
  // lists outlives the part; prober answers the probe to add files with (it
  // may answer null while probing is not available: files are then added unprobed).
  // clock measures the quiet time between forwarded command lines.
  AddingPart(MediaListController& lists, std::function<EntryProber*()> prober, MonotonicClock clock = nullptr);

  // The list view's drop of files from outside (MediaListCallbacks::filesDropped).
  void OnListViewDrop(const std::vector<Text>& paths);
  MediaAdder* Adder() { return adder_.get(); }
  // The adder with the current prober; null before the window exists.
  MediaAdder* ReadyAdder() { return adder_ ? &Ready() : nullptr; }
  // Playlist files dropped or named on a command line go here; set before the window is created.
  void SetPlaylistOpener(PlaylistOpener opener) { playlistOpener_ = std::move(opener); }
  // Folder scans and multiple choices probe ahead with backends from factory
  // (see MediaAdder::SetProbeAheadFactory); set before the window is created.
  void SetProbeAheadFactory(ProbeAhead::BackendFactory factory) { probeAhead_ = std::move(factory); }

  void OnInitDialog(PartHost& window) override;
  void OnStarted(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Only queues the line: the sender waits in SendMessage until this returns,
  // and the addition asks questions. The round runs from a posted message.
  void OnForwardedCommandLine(PartHost& window, const Text& commandLine) override;

  const ForwardedLineQueue& Forwarded() const { return forwarded_; }

 private:
  MediaAdder& Ready();
  // Posts the round message unless a round runs or one is posted already.
  void ScheduleRound();
  // The posted message or the timer: runs the round when it is due, or waits.
  void OnRoundDue();
  void RunRound(std::vector<Text> first);

  MediaListController& lists_;
  std::function<EntryProber*()> prober_;
  std::unique_ptr<MediaAdder> adder_;
  PlaylistOpener playlistOpener_;
  ProbeAhead::BackendFactory probeAhead_;
  ForwardedLineQueue forwarded_;
  HWND window_ = nullptr;
  bool roundPosted_ = false;
};

}  // namespace sorvane::win
