// A media list of 100,000 paths stored as a long value: the settings store
// writes it in one atomic write and reads it in one read, against the pattern
// of per-key profile writes, which rewrite the whole file once per chunk.
#include <benchmark/benchmark.h>

#include "../tests/support/posix_file_system.h"
#include "settings/ini_document.h"
#include "settings/settings_store.h"

namespace sorvane {
namespace {

Text HundredThousandPaths() {
  Text text;
  for (int i = 0; i < 100000; ++i) {
    // About 80 characters each, with a few outside Latin-1.
    text += Format(u"C:\\Users\\listener\\Music\\Artist %d\\Album \u00C9t\u00E9 %d\\%d - Track title.mp3\r\n",
                   {i % 97, i % 13, i});
  }
  return text;
}

const Text& Paths() {
  static const Text paths = HundredThousandPaths();
  return paths;
}

void SeedOtherSettings(SettingsStore& store) {
  store.WriteProgramString(u"m_PlayList", u"Default PlayList\tRock");
  store.WriteInt(kProductSection, u"Volume", 50);
}

void BM_LongValueRoundTrip(benchmark::State& state) {
  testing::TempFolder folder;
  testing::PosixFileSystem fs;
  fs.sync = state.range(0) != 0;
  SettingsStore store(fs);
  store.SetIniPath(folder.File("Sorvane.ini"));
  SeedOtherSettings(store);
  for (auto _ : state) {
    if (!store.WriteLongValue(u"MediaList", Paths())) state.SkipWithError("write failed");
    const Text back = store.ReadLongValue(u"MediaList");
    if (back.size() != Paths().size()) state.SkipWithError("read back differs");
    benchmark::DoNotOptimize(back.data());
  }
  state.counters["chars"] = static_cast<double>(Paths().size());
}

// One whole-file rewrite per chunk (and one to delete the section first), as
// writing each chunk key through the profile functions costs.
void BM_PerChunkRewriteBaseline(benchmark::State& state) {
  testing::TempFolder folder;
  testing::PosixFileSystem fs;
  SettingsStore store(fs);
  store.SetIniPath(folder.File("Sorvane.ini"));
  SeedOtherSettings(store);
  Text stored = Paths();
  ReplaceAll(stored, u"\r\n", u"\uE000\uE001\uE002");
  for (auto _ : state) {
    store.DeleteSection(u"MediaList");
    for (size_t i = 0, at = 0; at < stored.size(); ++i, at += 32000) {
      const Text key = i == 0 ? Text(u"MediaList") : Format(u"%s_%d", {TextView(u"MediaList"), static_cast<int>(i)});
      // Quoted, so that blanks at the chunk's edges come back.
      const Text chunk = u"\"" + stored.substr(at, 32000) + u"\"";
      if (!store.WriteString(u"MediaList", key, chunk)) state.SkipWithError("write failed");
    }
    const Text back = store.ReadLongValue(u"MediaList");
    if (back.size() != Paths().size()) state.SkipWithError("read back differs");
    benchmark::DoNotOptimize(back.data());
  }
}

// Argument 1: every write flushed to the disk before the rename (as on Windows); 0: without the flush.
BENCHMARK(BM_LongValueRoundTrip)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PerChunkRewriteBaseline)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace sorvane
