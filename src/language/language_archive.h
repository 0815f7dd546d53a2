// The language archive as it lies inside the program file: a begin marker line,
// the decoded size (4 bytes, little-endian), the coded stream (possibly padded),
// and an end marker line. Found by a plain byte search of the whole file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvane {

// The two marker lines, each with its leading and trailing line feed (45 and
// 44 bytes). They are assembled at run time so that the program's own code
// never holds a copy the byte search could find before the real archive.
std::string ArchiveBeginMarker();
std::string ArchiveEndMarker();

// The bytes between the first begin marker and the first end marker, each
// searched from the start; nullopt when either is missing or the end marker
// does not follow the begin marker.
std::optional<std::string_view> FindArchive(std::string_view fileBytes);

// Size header and coded stream -> the decoded bytes; nullopt when the archive
// is shorter than its header or the stream does not decode.
std::optional<std::string> DecodeArchive(std::string_view archive);

// The whole archive with its markers, as the build places it in the program.
std::string PackArchive(std::string_view decoded);

// The decoded text from the language sources (UTF-8, one per section, each
// beginning with its "##" header line): byte-order mark, the sections with
// CR LF line ends and a closed last line, then the closing "##" line. Empty
// when a source does not begin with "##" (its index then in *badSource).
std::u16string AssembleLanguageText(const std::vector<std::string>& sourcesUtf8, size_t* badSource = nullptr);

// UTF-16LE bytes -> text; an odd last byte is dropped.
std::u16string Utf16LeToText(std::string_view bytes);
std::string TextToUtf16Le(std::u16string_view text);

}  // namespace sorvane
