// The media lists as a part of the main window: the list view 1033 and the
// list selector 1000 attached at start (dark whatever the theme), the shown
// list loaded with the settings, its notifications taken, its texts
// retranslated, and the lists saved with the settings. Rows() is the shown
// list as the probe and the sequencer see it.
#pragma once

#include <memory>

#include "framework/win/main_window_part.h"
#include "medialist/media_list_rows.h"
#include "medialist/settings_list_storage.h"
#include "medialist/win/media_list_controller.h"

namespace sorvane::win {

class MediaListPart final : public MainWindowPart {
 public:
  explicit MediaListPart(MediaListCallbacks callbacks = {});

  // Set before the window is created, by whoever wires the parts together.
  MediaListCallbacks& Callbacks() { return callbacks_; }

  MediaListController& Controller() { return controller_; }
  MediaListRows& Rows() { return rows_; }

  void OnInitDialog(PartHost& window) override;
  void LoadSettings(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void SaveSettings(PartHost& window) override;

 private:
  MediaListCallbacks callbacks_;
  InstalledSettingsListStorage storage_;
  MediaListController controller_{storage_};
  MediaListRows rows_;
};

}  // namespace sorvane::win
