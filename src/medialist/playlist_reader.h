// Reading playlist files of the common formats into entries the list can add.
// Every reader is total: any bytes give the entries that could be read, in
// time linear in the file's size (PLS adds a sort by number).
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "framework/text.h"
#include "medialist/playlist_paths.h"

namespace sorvane {

enum class PlaylistKind { kM3u, kPls, kWpl, kXspf };

// Decodes bytes in the system's ANSI code page; the platform layer supplies it.
using AnsiDecoder = std::function<Text(std::string_view)>;

// The file's text: UTF-8 (byte-order mark dropped) or UTF-16 with a byte-order
// mark; bytes without a mark that are not valid UTF-8 go through `ansi`
// unless `utf8Only` (an .m3u8 file is UTF-8 by definition).
Text DecodePlaylistText(std::string_view bytes, const AnsiDecoder& ansi, bool utf8Only);

bool IsValidUtf8(std::string_view bytes);

// The format the content shows ("[playlist]" or "FileN=" lines, a <smil> or <?wpl
// document, an XSPF <playlist>); XML of neither kind by the extension; else M3U.
PlaylistKind DetectPlaylistKind(TextView text, TextView fileName);

// The entry texts of one format as written in the file, unresolved.
std::vector<Text> ReadM3uItems(TextView text);
std::vector<Text> ReadPlsItems(TextView text);
std::vector<Text> ReadPlaylistItems(TextView text, PlaylistKind kind);

// Items resolved against the playlist's folder; empty results are left out.
std::vector<PlaylistEntry> ResolvePlaylistItems(const std::vector<Text>& items, PlaylistKind kind,
                                                TextView folder);

// The whole import of one playlist file's bytes; `playlistPath` names the file
// (its folder resolves relative entries, its extension helps detection).
std::vector<PlaylistEntry> ReadPlaylist(std::string_view bytes, TextView playlistPath, const AnsiDecoder& ansi);

}  // namespace sorvane
