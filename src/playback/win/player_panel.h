// The player panel: a child dialog (template 346) with the hosted media player
// control, eight symbol buttons, the volume and position sliders and the time
// and volume texts. Clicks become PlayerControl calls or commands for the parent.
#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "settings/settings_store.h"
#include "framework/text.h"
#include "playback/panel_menus.h"
#include "playback/player_control.h"
#include "framework/win/dialog_window.h"
#include "framework/win/gdi.h"
#include "playback/win/transport_button.h"
#include "resource_ids.h"

namespace sorvane::win {

class PlayerPanel : public DialogWindow<PlayerPanel> {
 public:
  static constexpr UINT_PTR kTickTimer = 1, kSeekTimer = 2;
  static constexpr UINT kTickMs = 250, kSeekDelayMs = 50;

  PlayerPanel() = default;
  PlayerPanel(const PlayerPanel&) = delete;
  PlayerPanel& operator=(const PlayerPanel&) = delete;
  ~PlayerPanel();

  // Creates the panel as a child of parent (hidden; the caller places and shows it).
  bool Create(HWND parent);
  // Takes the place, id and rectangle of a placeholder child of mainWindow,
  // destroys the placeholder and shows the panel there.
  bool CreateInPlaceOf(HWND mainWindow, int placeholderId);

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  HWND VideoWindow() const { return child(IDC_VIDEO); }
  PlayerControl& Control() { return control_; }

  // The volume chosen at start from the settings: player, slider and label.
  void SetVolume(int volume);
  // LoadSettings: applies the stored "Volume" (50 when absent).
  void LoadVolume(SettingsStore& store);
  // SaveSettings: writes "Volume" when it differs from the stored value. Without
  // a control there is no volume to keep, and the stored one stays.
  bool SaveVolume(SettingsStore& store);
  void SetShuffleGlyph(bool on);
  void Stop();          // the Stop button
  void ToggleMute();    // the Mute button
  void UpdateVolumeText();
  void UpdateTimeText(double position);
  // While on, size changes leave the children where they are (video-only mode).
  void SetVideoOnly(bool on) { videoOnly_ = on; }
  bool VideoOnly() const { return videoOnly_; }
  // Menu labels by string id; English labels until a language is set.
  void SetLabelLookup(std::function<Text(int)> lookup) { labels_ = std::move(lookup); }
  // Dialog navigation inside the panel; the message loop calls it for every message.
  // Enter on a focused transport button presses it; true when it did.
  bool PreTranslateMessage(MSG* message);

 private:
  void OnInit();
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnScroll(HWND slider);
  void OnTimer(UINT_PTR id);
  void Layout();
  void ShowPanelMenu(std::span<const PanelMenuItem> items, int buttonId);
  void SetGlyph(int buttonId, TextView glyph);
  HWND child(int id) const { return Window() ? GetDlgItem(Window(), id) : nullptr; }

  PlayerControl control_;
  std::array<TransportButton, 8> buttons_;
  UniqueIcon bigIcon_, smallIcon_;
  std::function<Text(int)> labels_ = EnglishPanelLabel;
  bool videoOnly_ = false;
};

}  // namespace sorvane::win
