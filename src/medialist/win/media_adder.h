// Every way of adding media to the shown list: the Add Files and Import from
// Folder commands, drops on the list view and on the main window, and the
// command line of this start or of a second one. All end in adding one file
// with probing or scanning a folder.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <vector>

#include "framework/text.h"
#include "medialist/entry_prober.h"
#include "medialist/forwarded_lines.h"
#include "medialist/probe_ahead.h"

namespace sorvane::win {

class MediaListController;

inline constexpr UINT kCommandImportFromFolder = 33371;
inline constexpr UINT kCommandAddFiles = 33372;
// After a folder scan with the busy dialog, it stays this long.
inline constexpr DWORD kBusyLingerMs = 500;

// A playlist file reaching the adding flow (dropped, on the command line) is
// imported instead of probed. askWhere: whether to ask for a new list first.
enum class PlaylistOpen { kNotPlaylist, kImported, kCancelled };
using PlaylistOpener = std::function<PlaylistOpen(const Text& path, bool askWhere)>;

class MediaAdder {
 public:
  // instance holds template 349; mainWindow owns the dialogs and is disabled
  // while the busy dialog runs. prober may be set later.
  MediaAdder(HINSTANCE instance, HWND mainWindow, MediaListController& lists, EntryProber* prober = nullptr);

  void SetProber(EntryProber* prober) { prober_ = prober; }
  // With a factory, the files of a folder scan or of a multiple choice are
  // probed ahead on worker threads, each with a backend of its own; the
  // prober above still probes anything else on the spot.
  void SetProbeAheadFactory(ProbeAhead::BackendFactory factory) { probeAhead_ = std::move(factory); }
  void SetPlaylistOpener(PlaylistOpener opener) { playlistOpener_ = std::move(opener); }

  // Command 33372: the open-file dialog; every chosen file is added.
  void AddFilesDialog();
  // Command 33371: the folder picker, then a scan without the busy dialog.
  void ImportFromFolder();

  void AddMediaFile(const Text& path);
  // A folder (or a path whose attributes cannot be read) is scanned with the
  // busy dialog; anything else is added as a file.
  void AddPath(const Text& path);
  void ImportFolderWithProgress(const Text& folder);
  // False when the scan ended because the program is quitting.
  bool ScanFolder(const Text& folder);
  // A scan met the program's quit: nothing more is added.
  bool Quitting() const { return quitting_; }

  // At start with the program's own command line, and with a forwarded one.
  void OpenFromCommandLine(const Text& commandLine);
  // One round of forwarded command lines as one addition (first, then the
  // waiting lines); see RunForwardedRound.
  void RunForwardedRound(ForwardedLineQueue& queue, std::vector<Text> first = {});
  // The main window is gone or a quit is pending: additions stop.
  bool Stopped() const;
  // A folder scan runs (it dispatches messages between files).
  bool Scanning() const { return scans_ > 0; }

  // Files dropped on the list view, in order; shortcuts stand for their targets.
  void OnListViewDrop(const std::vector<Text>& paths);
  // WM_DROPFILES of the main window: only the first item counts. Finishes the drop.
  void OnDropFiles(HDROP drop);

  // Imports path into the list being filled when it is a playlist file.
  bool OpenPlaylistHere(const Text& path);

  // How the busy dialog lingers after a scan; tests record the request
  // instead of waiting it out.
  void SetLingerForTesting(std::function<void(DWORD ms)> linger) { linger_ = std::move(linger); }

 private:
  HINSTANCE instance_;
  HWND mainWindow_;
  MediaListController& lists_;
  EntryProber* prober_;
  ProbeAhead::BackendFactory probeAhead_;
  // While several paths from outside are added (a drop, command lines), the
  // probe that hands over the results of their files probed ahead.
  EntryProber* batchProber_ = nullptr;
  PlaylistOpener playlistOpener_;
  bool quitting_ = false;
  int scans_ = 0;
  std::function<void(DWORD ms)> linger_;

  class AheadBatch;

  PlaylistOpen OpenPlaylist(const Text& path, bool askWhere);
  // Adds files in order; probed ahead when that is set up. dispatchMessages as
  // for a folder scan. False when a quit ended it.
  bool AddFiles(std::vector<Text> paths, bool dispatchMessages);
};

}  // namespace sorvane::win
