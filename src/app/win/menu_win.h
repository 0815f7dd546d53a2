// Menus as data (app/menu_model.h) turned into menu handles, check marks set
// on them, and accelerators turned into an accelerator table.
#pragma once

#include <windows.h>

#include <vector>

#include "app/accelerators.h"
#include "app/menu_model.h"
#include "framework/win/gdi.h"

namespace sorvane::win {

using UniqueAcceleratorTable = UniqueHandle<HACCEL, DestroyAcceleratorTable>;

// A popup menu with popup's children, submenus included; null on failure.
UniqueMenu MakePopupMenu(const MenuItem& popup);

// Sets the check marks by command id, submenus included.
void ApplyMenuChecks(HMENU menu, const std::vector<MenuCheck>& checks);

// An accelerator table of the entries in their order (the platform acts on the
// first entry of a key); null for an empty list.
UniqueAcceleratorTable MakeAcceleratorTable(const std::vector<Accelerator>& accelerators);

}  // namespace sorvane::win
