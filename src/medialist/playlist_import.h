// Importing a playlist file into the media lists: which paths count as
// playlists, where the entries land (a new list named after the file, or the
// shown one) and the count of what could not be added. Reading the file is
// playlist_reader's job; adding one entry is the adding flow's.
#pragma once

#include <optional>
#include <vector>

#include "framework/text.h"
#include "medialist/list_session.h"
#include "medialist/playlist_paths.h"

namespace sorvane {

// .m3u, .m3u8, .pls, .wpl or .xspf in any letter case.
bool HasPlaylistExtension(TextView path);

// The file name without folder and extension: the start of the new list's name.
Text PlaylistListPrefix(TextView playlistPath);

struct PlaylistImportCounts {
  int added = 0;    // rows the entries added (a folder entry adds its files)
  int skipped = 0;  // entries that added nothing: missing, not media, empty folders
  bool operator==(const PlaylistImportCounts&) const = default;
};

class PlaylistImportHost {
 public:
  virtual ~PlaylistImportHost() = default;
  // A Yes/No/Cancel question with the exclamation icon.
  virtual Answer Ask(TextView text, TextView caption) = 0;
  virtual void SaveShownList() = 0;
  // Adds a list named prefix, a space, "New playlist", date and time; its index.
  virtual int NewMediaList(TextView prefix) = 0;
  virtual void SaveListNames() = 0;
  // Makes list index the shown one with no rows.
  virtual void ShowEmptyList(int index) = 0;
  virtual int RowCount() = 0;
  // Its attributes can be read (a file or a folder).
  virtual bool PathExists(const Text& path) = 0;
  // A file is probed, a folder scanned, as for a dropped path.
  virtual void AddPath(const Text& path) = 0;
  // A stream or other URL: one row, as written, without probing.
  virtual void AddUrl(const Text& url) = 0;
};

// Adds the entries of the playlist at playlistPath. With askWhere the user
// chooses first between a new list (Yes) and the shown one (No); Cancel adds
// nothing and gives no counts. A missing file is skipped without trying it, so
// it never shows the busy dialog of an unreadable folder. The shown list is
// written at the end, as after a command line.
std::optional<PlaylistImportCounts> ImportPlaylistEntries(const std::vector<PlaylistEntry>& entries,
                                                          TextView playlistPath, bool askWhere,
                                                          PlaylistImportHost& host);

// The closing note: how many were added and how many skipped.
Text PlaylistImportSummary(const PlaylistImportCounts& counts);

}  // namespace sorvane
