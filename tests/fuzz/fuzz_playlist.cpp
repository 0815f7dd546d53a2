// Every reader over any bytes, then the properties an import relies on:
// - the M3U reader yields no more items than the text has lines;
// - resolved entries are stable: written out as M3U or as WPL and read again,
//   they come back the same, in the same order (so an exported import is
//   imported unchanged);
// - the whole import of a file named x.m3u gives what the reader of the kind
//   it detects gives;
// - nothing crashes, overruns or hangs (ASan, UBSan and libFuzzer's timeout).
// Run: fuzz_playlist -dict=tests/fuzz/fuzz_playlist.dict CORPUS tests/fuzz/seeds/fuzz_playlist
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "medialist/playlist_reader.h"
#include "medialist/playlist_writer.h"

namespace {

using namespace sorvane;

Text Latin1(std::string_view bytes) {
  Text out;
  for (char c : bytes) out.push_back(static_cast<unsigned char>(c));
  return out;
}

size_t LineCount(TextView text) {
  size_t lines = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' || (text[i] == u'\r' && !(i + 1 < text.size() && text[i + 1] == u'\n'))) ++lines;
  }
  return lines;
}

void CheckStable(const std::vector<PlaylistEntry>& entries, TextView folder) {
  CPlayList2026 list;
  for (const auto& e : entries) list.Add(e.path);
  for (const PlaylistFormat format : {PlaylistFormat::kM3u, PlaylistFormat::kWpl}) {
    const PlaylistKind kind = format == PlaylistFormat::kWpl ? PlaylistKind::kWpl : PlaylistKind::kM3u;
    const Text again = DecodePlaylistText(PlaylistFileBytes(list.ToText(format), false), Latin1, false);
    if (ResolvePlaylistItems(ReadPlaylistItems(again, kind), kind, folder) != entries) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Text folder = u"C:\\Lists";
  const Text text = DecodePlaylistText(bytes, Latin1, false);

  if (ReadM3uItems(text).size() > LineCount(text)) std::abort();
  constexpr PlaylistKind kKinds[] = {PlaylistKind::kM3u, PlaylistKind::kPls, PlaylistKind::kWpl, PlaylistKind::kXspf};
  std::vector<PlaylistEntry> read[4];
  for (size_t k = 0; k < 4; ++k) {
    read[k] = ResolvePlaylistItems(ReadPlaylistItems(text, kKinds[k]), kKinds[k], folder);
    // Most bytes give the same entries (mostly none) to several readers: the
    // round trip of one list needs checking once.
    bool seen = false;
    for (size_t j = 0; j < k && !seen; ++j) seen = read[j] == read[k];
    if (!seen) CheckStable(read[k], folder);
  }
  // The whole import, with detection. Under an .m3u8 name only bytes that are
  // neither marked nor valid UTF-8 decode differently, so only those are read
  // again; without a folder relative entries resolve differently.
  const TextView m3u = u"C:\\Lists\\x.m3u";
  const PlaylistKind detected = DetectPlaylistKind(text, m3u);
  for (size_t k = 0; k < 4; ++k) {
    if (kKinds[k] == detected && ReadPlaylist(bytes, m3u, Latin1) != read[k]) std::abort();
  }
  const bool marked = bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
  if (!marked && !IsValidUtf8(bytes)) (void)ReadPlaylist(bytes, u"C:\\Lists\\x.m3u8", Latin1);
  (void)ReadPlaylist(bytes, u"x", Latin1);
  return 0;
}
