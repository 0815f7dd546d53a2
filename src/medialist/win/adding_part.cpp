#include "medialist/win/adding_part.h"

#include "app/win/main_window.h"
#include "framework/win/wintext.h"
#include "medialist/media_list_rows.h"
#include "medialist/win/media_list_part.h"
#include "medialist/win/system_probe.h"

namespace sorvane::win {

AddingPart::AddingPart(MediaListController& lists, std::function<EntryProber*()> prober)
    : lists_(lists), prober_(std::move(prober)) {}

MediaAdder& AddingPart::Ready() {
  adder_->SetProber(prober_ ? prober_() : nullptr);
  return *adder_;
}

void AddingPart::OnInitDialog(MainWindow& window) {
  adder_ = std::make_unique<MediaAdder>(GetModuleHandleW(nullptr), window.Window(), lists_);
  DragAcceptFiles(window.Window(), TRUE);
}

void AddingPart::OnStarted(MainWindow&) { Ready().OpenFromCommandLine(T(GetCommandLineW())); }

void AddingPart::OnForwardedCommandLine(MainWindow&, const Text& commandLine) {
  if (adder_) Ready().OpenFromCommandLine(commandLine);
}

void AddingPart::OnListViewDrop(const std::vector<Text>& paths) {
  if (adder_) Ready().OnListViewDrop(paths);
}

bool AddingPart::OnMessage(MainWindow&, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
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

void AddMediaListParts(MainWindow& window, MediaListCallbacks callbacks) {
  // The adding part is made after the list part it needs, but the list
  // part's drop callback is fixed when it is made: it finds the adding part
  // through this shared slot.
  auto slot = std::make_shared<AddingPart*>(nullptr);
  auto outer = std::move(callbacks.filesDropped);
  callbacks.filesDropped = [slot, outer](std::vector<Text> paths) {
    if (*slot) (*slot)->OnListViewDrop(paths);
    if (outer) outer(std::move(paths));
  };
  auto lists = std::make_unique<MediaListPart>(std::move(callbacks));
  auto adding = std::make_unique<AddingPart>(lists->Controller(), [] {
    // Made on first use, on the window's thread, where COM is already set up.
    static SystemProbeBackend backend;
    static BackendEntryProber prober(backend);
    return static_cast<EntryProber*>(&prober);
  });
  *slot = adding.get();
  window.AddPart(std::move(lists));
  window.AddPart(std::move(adding));
}

}  // namespace sorvane::win
