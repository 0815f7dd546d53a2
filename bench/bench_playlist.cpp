// Import of a 10,000-entry M3U (decoding, reading and resolving; no probing)
// and export of a 100,000-row list to the bytes of each format.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "medialist/playlist_reader.h"
#include "medialist/playlist_writer.h"

namespace {

using namespace sorvane;

Text Row(int i) {
  return Format(u"C:\\Users\\Someone\\Music\\Artist %d\\Album %d\\%02d - Some Title.mp3", {i % 97, i % 13, i % 20});
}

std::string TenThousandEntryM3u() {
  Text text = u"#EXTM3U\r\n";
  for (int i = 0; i < 10000; ++i) {
    text += Format(u"#EXTINF:%d,Artist - Title %d\r\n", {180 + i % 60, i});
    // A mix of the shapes real files hold: relative, parent-relative, absolute, share, URL.
    switch (i % 5) {
      case 0: text += Format(u"Artist %d\\%02d - Song.mp3\r\n", {i % 97, i % 20}); break;
      case 1: text += Format(u"..\\Other\\Album %d\\%02d.flac\r\n", {i % 13, i % 20}); break;
      case 2: text += Row(i) + u"\r\n"; break;
      case 3: text += Format(u"\\\\nas\\music\\%d\\track.wma\r\n", {i}); break;
      default: text += Format(u"file:///D:/M%%C3%%BCsik/Track%%20%d.mp3\r\n", {i}); break;
    }
  }
  return PlaylistFileBytes(text, false);
}

void BM_ImportM3u10k(benchmark::State& state) {
  const std::string bytes = TenThousandEntryM3u();
  const AnsiDecoder ansi = [](std::string_view b) { return FromUtf8(b); };
  for (auto _ : state) {
    auto entries = ReadPlaylist(bytes, u"C:\\Users\\Someone\\Music\\Lists\\big.m3u", ansi);
    if (entries.size() != 10000) state.SkipWithError("wrong entry count");
    benchmark::DoNotOptimize(entries);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ImportM3u10k)->Unit(benchmark::kMillisecond);

void BM_Export100k(benchmark::State& state, PlaylistFormat format) {
  std::vector<Text> rows;
  rows.reserve(100000);
  for (int i = 0; i < 100000; ++i) rows.push_back(Row(i) + (i % 50 == 0 ? u" & Rock'n'Roll" : u""));
  for (auto _ : state) {
    CPlayList2026 list;
    for (const Text& r : rows) list.Add(r);
    const std::string bytes = PlaylistFileBytes(list.ToText(format), false);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK_CAPTURE(BM_Export100k, m3u, PlaylistFormat::kM3u)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export100k, wpl, PlaylistFormat::kWpl)->Unit(benchmark::kMillisecond);

}  // namespace
