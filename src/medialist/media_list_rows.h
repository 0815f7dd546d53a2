// The shown MediaList as the probe and the sequencer see it, and the probe as
// adding a file with probing sees it.
#pragma once

#include <functional>

#include "medialist/entry_prober.h"
#include "medialist/media_list.h"
#include "medialist/media_probe.h"
#include "medialist/media_rows.h"
#include "medialist/probe_worker.h"

namespace sorvane {

class MediaListRows final : public MediaRows {
 public:
  struct Hooks {
    // A row's texts or images changed (the view redraws it).
    std::function<void(int row)> rowChanged;
    // Select and focus through the view, so that its focus rule plays the row;
    // without it only the model's selection and focus change.
    std::function<void(int row)> selectAndFocus;
  };
  explicit MediaListRows(MediaList& list, Hooks hooks = {}) : list_(list), hooks_(std::move(hooks)) {}

  int Count() const override { return list_.Count(); }
  // The whole cell: paths are compared and played uncut.
  Text GetText(int row, int column) const override;
  void SetText(int row, int column, TextView text) override;
  void SetItemImage(int row, int image) override;
  void SetColumnImage(int row, int column, int image) override;
  int FirstSelected() const override { return list_.FirstSelected(); }
  void SelectAndFocus(int row) override;

 private:
  void Changed(int row) {
    if (hooks_.rowChanged) hooks_.rowChanged(row);
  }
  MediaList& list_;
  Hooks hooks_;
};

// Column 1 of every row, for the worker's snapshot.
ProbeJob MakeProbeJob(const MediaList& list, ProbeTexts texts);

// Adding with probing: the media test, title, duration text and video flag.
class BackendEntryProber final : public EntryProber {
 public:
  explicit BackendEntryProber(MediaProbeBackend& backend) : backend_(backend) {}
  bool Probe(const Text& path, ProbedFile& out) override;

 private:
  MediaProbeBackend& backend_;
};

}  // namespace sorvane
