// The one place where subsystems plug their parts into the main window, in the
// order their start-up steps run (list view and selector, tray, panel, ...).
#include "app/win/main_window.h"
#include "app/win/startup.h"
#include "framework/win/language_part.h"
#include "medialist/win/adding_part.h"

namespace sorvane::win {

void AddMainWindowParts(MainWindow& window) {
  window.AddPart(MakeLanguagePart());
  AddMediaListParts(window);
}

}  // namespace sorvane::win
