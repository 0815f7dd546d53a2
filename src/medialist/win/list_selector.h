// The list selector 1000 (an editable combo box) as the view of the list set.
#pragma once

#include <windows.h>

#include <cstdint>

#include "medialist/list_session.h"

namespace sorvane::win {

class ListSelector {
 public:
  void Attach(HWND combo, ListSession& session);
  HWND Window() const { return combo_; }
  // Refills the entries when they changed (or always with force) and selects
  // the session's selection.
  void Sync(bool force = false);
  // A WM_COMMAND notification code of the combo box; true when handled.
  bool OnCommand(int code);

 private:
  void PickUpSelection();

  HWND combo_ = nullptr;
  ListSession* session_ = nullptr;
  uint64_t shownVersion_ = UINT64_MAX;
};

}  // namespace sorvane::win
