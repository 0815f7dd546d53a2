// A drag of files from this process onto a point of the screen, as a file
// manager offers them (CF_HDROP), dropped once the cursor has rested there.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace e2e {

// Drags the files to `at` (screen coordinates) and drops them there. Needs
// OleInitialize on this thread. Answers DoDragDrop's result; the drag is
// cancelled when no target answers within 15 seconds.
HRESULT DragFilesTo(POINT at, const std::vector<std::wstring>& paths, DWORD* effect = nullptr);

}  // namespace e2e
