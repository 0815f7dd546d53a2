// The tray menu as the icon's right button shows it.
#pragma once

#include <windows.h>

#include "app/menu_model.h"

namespace sorvane::win {

// Menu handles for a popup of the menu model (items, checks, greyed items and
// submenus). The caller destroys the handle.
HMENU BuildPopupMenuHandle(const MenuItem& popup);

// Shows the tray menu at a screen point and sends the chosen command to the window.
void ShowTrayMenu(HWND window, POINT at);

}  // namespace sorvane::win
