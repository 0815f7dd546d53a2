// Every reader over any bytes, then the properties an import relies on:
// - the M3U reader yields no more items than the text has lines;
// - resolved entries are stable: written out as M3U or as WPL and read again,
//   they come back the same, in the same order (so an exported import is
//   imported unchanged);
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
  for (const PlaylistKind kind : {PlaylistKind::kM3u, PlaylistKind::kPls, PlaylistKind::kWpl, PlaylistKind::kXspf}) {
    CheckStable(ResolvePlaylistItems(ReadPlaylistItems(text, kind), kind, folder), folder);
  }
  // The whole import, with detection, under a few names and without a folder.
  for (const TextView name : {u"C:\\Lists\\x.m3u", u"C:\\Lists\\x.m3u8", u"x"}) {
    (void)ReadPlaylist(bytes, name, Latin1);
  }
  return 0;
}
