// Playlist export: the list of paths to write and the two text formats, M3U and
// WPL. Writing the bytes to disk belongs to the platform layer; this part only
// produces them, so every byte of both formats is testable without a file system.
#pragma once

#include <string>
#include <vector>

#include "framework/text.h"

namespace sorvane {

enum class PlaylistFormat { kM3u, kWpl };

class CPlayList2026 {
 public:
  // Appends a path and answers its index; an empty or missing path is refused
  // with -1, so ItemCount never counts rows without a path.
  int Add(TextView path);
  int Add(const char16_t* path);
  void Clear() { paths_.clear(); }
  const std::vector<Text>& Paths() const { return paths_; }

  // "#EXTM3U" and one path per line, CR LF after every line, paths unchanged.
  Text ToM3u() const;
  // The WPL document with the program as generator and "My Playlist" as title.
  Text ToWpl() const;
  Text ToText(PlaylistFormat format) const {
    return format == PlaylistFormat::kWpl ? ToWpl() : ToM3u();
  }

  // Escapes for a double-quoted XML attribute: "&" first, so the entities the
  // later steps insert are not escaped again.
  static Text EscapeXmlAttribute(TextView text);

 private:
  std::vector<Text> paths_;
};

// The bytes of a playlist file: UTF-8, with EF BB BF in front only when asked
// (the playlist formats never ask).
std::string PlaylistFileBytes(TextView text, bool withBom);

// The save dialog's extension rule: a file name without a dot gets ".wpl" when
// the chosen filter (1-based, as the dialog reports it) is the second one, and
// ".m3u" otherwise. A dot in a folder name does not count.
Text ApplyExportExtension(TextView path, int filterIndex);

// WPL exactly when the last four characters, lower-cased, are ".wpl"; any
// other name is written as M3U.
PlaylistFormat ExportFormatForPath(TextView path);

}  // namespace sorvane
