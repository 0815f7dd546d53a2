// The program menu of the main window: built from the menu model in the
// current language (the first popup with Language, Info, Help, the Send To
// items, Restart and FlyOut Color; then "Media"), shown as the row of menu
// buttons along the top edge with the exit button and the help button "# ?",
// and giving the window its accelerator table. Rebuilt on every re-translation.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "app/menu_model.h"
#include "app/win/menu_win.h"
#include "framework/win/main_window_part.h"
#include "framework/win/menu_row.h"

namespace sorvane::win {

inline constexpr int kMenuRowId = 44400;

struct ProgramMenuHooks {
  // Hands the window the current accelerator table (null when it goes away).
  std::function<void(HACCEL)> setAccelerators;
  // The values the check marks show, read when a popup opens.
  std::function<MenuCheckValues()> checkValues;
};

class ProgramMenuPart final : public MainWindowPart {
 public:
  explicit ProgramMenuPart(ProgramMenuHooks hooks) : hooks_(std::move(hooks)) {}

  void OnInitDialog(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  const MenuItem& Bar() const { return built_.bar; }
  MenuRow& Row() { return row_; }
  HACCEL Accelerators() const { return accelerators_.get(); }
  // The popup of the bar's child index (null for a command button).
  HMENU Popup(size_t index) const { return index < popups_.size() ? popups_[index].get() : nullptr; }

  // Builds the menu, the row's buttons and the accelerator table again.
  void Rebuild();

 private:
  void MakeRoom(PartHost& window);

  ProgramMenuHooks hooks_;
  MenuRow row_;
  BuiltMenu built_;
  std::vector<UniqueMenu> popups_;  // by index of the bar's children
  UniqueAcceleratorTable accelerators_;
};

}  // namespace sorvane::win
