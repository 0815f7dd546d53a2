// Turning a playlist's entry text into something the list can add: a Windows
// path (relative ones resolved against the playlist's folder, file: URLs
// converted) or a URL of another scheme, kept as written so streams still play.
#pragma once

#include "framework/text.h"

namespace sorvane {

struct PlaylistEntry {
  Text path;
  bool isUrl = false;
  bool operator==(const PlaylistEntry&) const = default;
};

// The folder part of a playlist's own path, without the trailing separator
// ("C:\Music\list.m3u" -> "C:\Music"); empty when the path has no folder.
Text PlaylistFolder(TextView playlistPath);

// "http:", "rtsp:", "file:" ...: a scheme of two or more characters before the
// first colon, so "C:" stays a drive.
bool HasUrlScheme(TextView text);

// %XX escapes decoded to bytes and the result read as UTF-8; a bad escape is
// kept as written.
Text PercentDecodeUtf8(TextView text);

// file:///C:/a%20b.mp3 -> C:\a b.mp3, file://server/share/x -> \\server\share\x,
// file://localhost/C:/x -> C:\x, file:///C|/x -> C:\x. Empty for a URL with no path.
Text FileUrlToPath(TextView url);

// Joins a relative path to the folder by the platform's rules and removes "."
// and ".." segments and doubled separators; forward slashes become backslashes.
// "\\?\" paths are taken literally, as the platform does.
Text ResolveWindowsPath(TextView item, TextView folder);

// One entry of a playlist. An entry whose text is empty after trimming or that
// holds a control character (no file name or URL does) gives an empty path.
PlaylistEntry ResolvePlaylistItem(TextView item, TextView folder);

}  // namespace sorvane
