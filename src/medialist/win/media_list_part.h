// The media lists as a part of the main window: the list view 1033 and the
// list selector 1000 attached at start, the shown list loaded with the
// settings, its notifications taken, and the lists saved with the settings.
#pragma once

#include "app/win/main_window_part.h"
#include "medialist/settings_list_storage.h"
#include "medialist/win/media_list_controller.h"

namespace sorvane::win {

inline constexpr int kMediaListViewId = 1033;
inline constexpr int kMediaListSelectorId = 1000;

class MediaListPart final : public MainWindowPart {
 public:
  explicit MediaListPart(MediaListCallbacks callbacks = {}) : callbacks_(std::move(callbacks)) {}

  MediaListController& Controller() { return controller_; }

  void OnInitDialog(MainWindow& window) override;
  void LoadSettings(MainWindow& window) override;
  bool OnMessage(MainWindow& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void SaveSettings(MainWindow& window) override;

 private:
  MediaListCallbacks callbacks_;
  InstalledSettingsListStorage storage_;
  MediaListController controller_{storage_};
};

}  // namespace sorvane::win
