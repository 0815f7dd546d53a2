#include "medialist/win/adding_part.h"

#include "framework/win/wintext.h"

namespace sorvane::win {

namespace {

Milliseconds TickClock() { return Milliseconds(GetTickCount64()); }

constexpr UINT kRoundRetryMs = 250;

}  // namespace

AddingPart::AddingPart(MediaListController& lists, std::function<EntryProber*()> prober, MonotonicClock clock)
    : lists_(lists), prober_(std::move(prober)), forwarded_(clock ? std::move(clock) : MonotonicClock(TickClock)) {}

MediaAdder& AddingPart::Ready() {
  adder_->SetProber(prober_ ? prober_() : nullptr);
  return *adder_;
}

void AddingPart::OnInitDialog(PartHost& window) {
  window_ = window.Window();
  adder_ = std::make_unique<MediaAdder>(GetModuleHandleW(nullptr), window_, lists_);
  adder_->SetPlaylistOpener(playlistOpener_);
  adder_->SetProbeAheadFactory(probeAhead_);
  DragAcceptFiles(window.Window(), TRUE);
}

// The start's own command line is a round too: second starts that come while
// its question is open join it instead of asking again.
void AddingPart::OnStarted(PartHost&) { RunRound({T(GetCommandLineW())}); }

void AddingPart::OnForwardedCommandLine(PartHost&, const Text& commandLine) {
  forwarded_.Arrive(commandLine);
  ScheduleRound();
}

void AddingPart::ScheduleRound() {
  if (!window_ || roundPosted_ || forwarded_.InRound() || !forwarded_.WaitBeforeRound()) return;
  roundPosted_ = PostMessageW(window_, kForwardedRoundMessage, 0, 0) != FALSE;
}

void AddingPart::OnRoundDue() {
  const std::optional<Milliseconds> wait = forwarded_.WaitBeforeRound();
  if (!wait) return;
  if (wait->count() > 0) {
    SetTimer(window_, kForwardedRoundTimer, static_cast<UINT>(wait->count()), nullptr);
    return;
  }
  // A modal dialog is open or another addition scans a folder: the round
  // waits for it instead of asking from inside it.
  if (!IsWindowEnabled(window_) || adder_->Scanning()) {
    SetTimer(window_, kForwardedRoundTimer, kRoundRetryMs, nullptr);
    return;
  }
  RunRound({});
}

void AddingPart::RunRound(std::vector<Text> first) {
  if (!adder_) return;
  Ready().RunForwardedRound(forwarded_, std::move(first));
  // Lines that came while the files were added make the next round.
  ScheduleRound();
}

void AddingPart::OnListViewDrop(const std::vector<Text>& paths) {
  if (adder_) Ready().OnListViewDrop(paths);
}

bool AddingPart::OnMessage(PartHost&, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (!adder_) return false;
  if (message == kForwardedRoundMessage || (message == WM_TIMER && wParam == kForwardedRoundTimer)) {
    if (message == WM_TIMER) KillTimer(window_, kForwardedRoundTimer);
    else roundPosted_ = false;
    OnRoundDue();
    result = 0;
    return true;
  }
  if (message == WM_DROPFILES) {
    Ready().OnDropFiles(reinterpret_cast<HDROP>(wParam));
    result = 0;
    return true;
  }
  if (message != WM_COMMAND || HIWORD(wParam) > 1) return false;
  switch (LOWORD(wParam)) {
    case kCommandAddFiles:
      Ready().AddFilesDialog();
      break;
    case kCommandImportFromFolder:
      Ready().ImportFromFolder();
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}

}  // namespace sorvane::win
