// Export and Import of playlist files for the main window: the commands 33369
// and 33370 of the Player menu, the list's context menu items 1007 and 1008,
// and playlist files dropped on the window or named on a command line.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/text.h"
#include "medialist/win/media_adder.h"
#include "framework/win/main_window_part.h"

namespace sorvane::win {

class MediaListController;

inline constexpr UINT kCommandExportPlaylist = 33369;
inline constexpr UINT kCommandImportPlaylist = 33370;

inline constexpr wchar_t kExportTitle[] = L"Export (M3U / WPL)";
inline constexpr wchar_t kImportTitle[] = L"Import (M3U / WPL)";

class PlaylistCommands {
 public:
  // adder answers the adding flow with its prober set (null while it has none).
  PlaylistCommands(HWND mainWindow, MediaListController& lists, std::function<MediaAdder*()> adder);

  // The save dialog, then the shown list written in the format the name gives.
  void ExportDialog();
  // The open dialog, then ImportFile with the question where the entries go.
  void ImportDialog();

  // Writes the shown list's paths (column 1, row order, empty ones left out).
  // Answers the system's error code; a failure has been shown to the user.
  DWORD ExportTo(const Text& path);
  // Reads the playlist and adds its entries. kNotPlaylist when path is no
  // playlist file (by extension; a folder never is).
  PlaylistOpen ImportFile(const Text& path, bool askWhere);

  // Shows a message box (text, caption, MB_ICON* flags); tests replace it.
  std::function<void(const Text& text, const wchar_t* caption, UINT icon)> tell;

 private:
  PlaylistOpen Import(const Text& path, bool askWhere);

  HWND mainWindow_;
  MediaListController& lists_;
  std::function<MediaAdder*()> adder_;
};

// The commands as a part of the main window.
class PlaylistPart final : public MainWindowPart {
 public:
  PlaylistPart(MediaListController& lists, std::function<MediaAdder*()> adder);
  // For the list's context menu and the adding flow; null before the window exists.
  PlaylistCommands* Commands() { return commands_.get(); }

  void OnInitDialog(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  MediaListController& lists_;
  std::function<MediaAdder*()> adder_;
  std::unique_ptr<PlaylistCommands> commands_;
};

}  // namespace sorvane::win
