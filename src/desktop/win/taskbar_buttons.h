// Three buttons under the taskbar button's thumbnail (previous, play or
// pause, next), added once the shell announces the taskbar button and kept in
// step with the play state.
#pragma once

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <array>
#include <functional>

#include "framework/win/gdi.h"
#include "framework/win/main_window_part.h"

namespace sorvane::win {

class TaskbarButtonsPart final : public MainWindowPart {
 public:
  explicit TaskbarButtonsPart(std::function<bool()> isPlaying) : isPlaying_(std::move(isPlaying)) {}
  ~TaskbarButtonsPart() override;

  UINT ButtonCreatedMessage() const { return buttonCreated_; }
  bool ButtonsAdded() const { return added_; }
  // Whether the middle button shows Pause (something plays) or Play.
  bool ShowsPause() const { return showsPause_; }

  void OnInitDialog(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void AddButtons(HWND window);
  void UpdatePlayButton(HWND window);
  THUMBBUTTON Button(int index) const;

  std::function<bool()> isPlaying_;
  UINT buttonCreated_ = 0;
  Microsoft::WRL::ComPtr<ITaskbarList3> taskbar_;
  std::array<HICON, 4> icons_{};  // previous, play, pause, next
  bool added_ = false;
  bool showsPause_ = false;
};

}  // namespace sorvane::win
