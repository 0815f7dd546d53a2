#include "medialist/win/adding_part.h"

#include "framework/win/wintext.h"

namespace sorvane::win {

AddingPart::AddingPart(MediaListController& lists, std::function<EntryProber*()> prober)
    : lists_(lists), prober_(std::move(prober)) {}

MediaAdder& AddingPart::Ready() {
  adder_->SetProber(prober_ ? prober_() : nullptr);
  return *adder_;
}

void AddingPart::OnInitDialog(PartHost& window) {
  adder_ = std::make_unique<MediaAdder>(GetModuleHandleW(nullptr), window.Window(), lists_);
  adder_->SetPlaylistOpener(playlistOpener_);
  DragAcceptFiles(window.Window(), TRUE);
}

void AddingPart::OnStarted(PartHost&) { Ready().OpenFromCommandLine(T(GetCommandLineW())); }

void AddingPart::OnForwardedCommandLine(PartHost&, const Text& commandLine) {
  if (adder_) Ready().OpenFromCommandLine(commandLine);
}

void AddingPart::OnListViewDrop(const std::vector<Text>& paths) {
  if (adder_) Ready().OnListViewDrop(paths);
}

bool AddingPart::OnMessage(PartHost&, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (!adder_) return false;
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
