// The main window's two special modes:
// - compact mode: only the video remains, in a borderless tool window standing
//   exactly where the video stood; the right button on the video or Ctrl+C
//   (command 1244) switch it; it is never stored;
// - fly-out mode: the window docks at a screen edge through EdgeDock (command
//   1243, stored as "m_bFlyOut"; the tab takes the colour "m_FlyOut_color").
// The two exclude each other: switching compact mode leaves fly-out first.
#pragma once

#include <windows.h>

#include <memory>

#include "desktop/win/edge_dock.h"
#include "framework/win/main_window_part.h"

namespace sorvane::win {

class MainWindow;
class PlaybackPart;
class PlayerPanel;

// Posted to itself after the colour command, so the colour chosen by whoever
// handles that command is read once the command is done.
inline constexpr UINT kRebuildFlyOutCaptionMessage = WM_APP + 0x143;

class WindowModesPart final : public MainWindowPart {
 public:
  // The playback part is optional (tests without a panel); without it there is
  // no compact mode.
  WindowModesPart(MainWindow& window, PlaybackPart* playback);
  ~WindowModesPart() override;

  void OnInitDialog(PartHost& host) override;
  void OnStarted(PartHost& host) override;
  bool OnMessage(PartHost& host, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void SaveSettings(PartHost& host) override;
  void OnClose(PartHost& host) override;

  void SetCompactMode(bool on);
  void ToggleCompactMode();
  bool CompactOn() const { return compact_; }

  // Command 1243: toggles "m_bFlyOut", writes it and enters or leaves fly-out mode.
  void ToggleFlyOut();
  bool FlyOutOn() const { return flyOut_; }

  // For the tray: a click slides a collapsed window out for a while or collapses an expanded one.
  EdgeDock& Dock() { return dock_; }

 private:
  void EnterFlyOut(bool on);
  void ReadFlyOutColour();
  // Reads the colour again and redraws the tab when it changed.
  void FollowFlyOutColour();
  void CheckButton(int id, bool checked) const;

  MainWindow& window_;
  PlaybackPart* playback_;
  PlayerPanel* panel_ = nullptr;
  EdgeDock dock_;
  bool flyOut_ = false;

  bool compact_ = false;
  HWND video_ = nullptr;
  RECT videoRectInPanel_{};
  LONG_PTR savedStyle_ = 0, savedExStyle_ = 0;
  RECT savedWindowRect_{};
};

std::unique_ptr<WindowModesPart> MakeWindowModesPart(MainWindow& window, PlaybackPart* playback);

}  // namespace sorvane::win
