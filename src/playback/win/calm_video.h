// A calm video area: while nothing plays, or what plays has no picture, our
// own dark surface with the title of the medium lies over the control's
// window; it steps aside as soon as a picture is there. The control keeps
// running underneath, and clicks fall through to it.
#pragma once

#include <windows.h>

#include "framework/text.h"
#include "framework/win/main_window_part.h"
#include "playback/player_control.h"

namespace sorvane::win {

class PlayerPanel;

// The title shown for a path or address: its last part without the extension.
Text MediaTitleFromPath(TextView path);

class CalmVideoSurface {
 public:
  CalmVideoSurface() = default;
  CalmVideoSurface(const CalmVideoSurface&) = delete;
  CalmVideoSurface& operator=(const CalmVideoSurface&) = delete;
  ~CalmVideoSurface();

  // Lays the surface over the video window (a child of the panel) and follows it.
  bool Attach(HWND video);
  // Shown over the video while calm; hidden when the picture should show.
  void Show(bool calm, TextView title);
  bool Calm() const { return surface_ && (GetWindowLongPtrW(surface_, GWL_STYLE) & WS_VISIBLE); }
  HWND Window() const { return surface_; }
  const Text& Title() const { return title_; }

 private:
  static LRESULT CALLBACK SurfaceProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK FollowVideo(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void Follow();
  void Paint();

  HWND video_ = nullptr;
  HWND surface_ = nullptr;
  Text title_;
};

// Watches the play state and decides between the surface and the picture.
class CalmVideoPart final : public MainWindowPart {
 public:
  explicit CalmVideoPart(PlayerPanel& panel) : panel_(panel) {}

  CalmVideoSurface& Surface() { return surface_; }

  void OnStarted(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Update(HWND window);

  PlayerPanel& panel_;
  CalmVideoSurface surface_;
  int checksLeft_ = 0;
};

}  // namespace sorvane::win
