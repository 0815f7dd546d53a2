// Probing as a part of the main window: the shown list is probed in the
// background whenever it is loaded (and again after a language change while it
// is empty, so its tip shows in the new language); results are applied on the
// window's thread and the status text shows the progress.
#pragma once

#include <memory>

#include "framework/win/main_window_part.h"
#include "medialist/win/media_list_part.h"
#include "medialist/win/probe_host.h"
#include "medialist/win/system_probe.h"

namespace sorvane::win {

class ProbePart final : public MainWindowPart {
 public:
  explicit ProbePart(MediaListPart& lists) : lists_(lists) {}
  ~ProbePart() override;

  // The window thread's probe backend: adding files and the sequencer probe with it.
  MediaProbeBackend& Backend() { return backend_; }
  // Probes the shown list again in the background (after it was loaded).
  void StartProbe();

  void OnInitDialog(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnClose(PartHost& window) override;

 private:
  MediaListPart& lists_;
  SystemProbeBackend backend_;
  std::unique_ptr<ProbeHost> probe_;
};

}  // namespace sorvane::win
