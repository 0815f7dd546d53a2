#include "medialist/win/media_list_part.h"

#include "app/win/main_window.h"

namespace sorvane::win {

void MediaListPart::OnInitDialog(MainWindow& window) {
  HWND w = window.Window();
  controller_.Attach(w, GetDlgItem(w, kMediaListViewId), GetDlgItem(w, kMediaListSelectorId), callbacks_);
}

void MediaListPart::LoadSettings(MainWindow&) { controller_.Start(); }

bool MediaListPart::OnMessage(MainWindow&, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    return header && header->idFrom == static_cast<UINT_PTR>(kMediaListViewId) && controller_.OnNotify(header, result);
  }
  if (message == WM_COMMAND && LOWORD(wParam) == kMediaListSelectorId && lParam != 0) {
    result = 0;
    return controller_.OnSelectorCommand(wParam, lParam);
  }
  return false;
}

void MediaListPart::SaveSettings(MainWindow&) { controller_.SaveAtExit(); }

}  // namespace sorvane::win
