// The keyboard's media keys as a part of the main window. WM_APPCOMMAND
// reaches the window while it or one of its children has the focus; for the
// background and the tray the four keys are also registered as hot keys, but
// only those no other program holds already: a key that another player has
// registered stays with that player.
#pragma once

#include <functional>
#include <vector>

#include "framework/win/main_window_part.h"

namespace sorvane::win {

class MediaKeysPart final : public MainWindowPart {
 public:
  // isPlaying: whether a medium plays now (decides the Play and Pause keys).
  explicit MediaKeysPart(std::function<bool()> isPlaying) : isPlaying_(std::move(isPlaying)) {}
  ~MediaKeysPart() override;

  // The virtual keys that were free and are now ours.
  const std::vector<UINT>& RegisteredKeys() const { return registered_; }

  void OnInitDialog(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnClose(PartHost& window) override;

 private:
  void Unregister();

  std::function<bool()> isPlaying_;
  HWND window_ = nullptr;
  std::vector<UINT> registered_;
};

}  // namespace sorvane::win
