// Playlist files on disk: writing an exported playlist so a failure is seen
// and never leaves a half-written file in place of the old one, reading one
// for import, and the system's words for why either failed.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "framework/text.h"

namespace sorvane::win {

// Replaces (or creates) the file with exactly these bytes. The bytes go to a
// temporary file beside it that then takes its place, so a failed write keeps
// the previous content; where no file can be made beside it (a folder the
// user may not write to), the file itself is truncated and written. Answers
// ERROR_SUCCESS or the system's error code.
DWORD WritePlaylistFile(const Text& path, std::string_view bytes);

// The whole file, up to maxBytes (a larger file fails with ERROR_FILE_TOO_LARGE).
DWORD ReadPlaylistFile(const Text& path, std::string& bytes, size_t maxBytes = 64u << 20);

// The system's message for an error code, without the trailing line break;
// "Error <code>" when the system has none.
Text SystemErrorText(DWORD code);

// Bytes in the system's ANSI code page, for playlists that are not UTF-8.
Text DecodeAnsi(std::string_view bytes);

}  // namespace sorvane::win
