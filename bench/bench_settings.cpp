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

// Counts the whole-file rewrites.
class CountingFileSystem : public testing::PosixFileSystem {
 public:
  bool WriteFileAtomic(const Text& path, std::string_view bytes) override {
    ++rewrites;
    return PosixFileSystem::WriteFileAtomic(path, bytes);
  }
  int rewrites = 0;
};

// An INI file as a user with one list of 100,000 entries has it (about 13 MB).
void SeedHundredThousandList(SettingsStore& store) {
  SeedOtherSettings(store);
  for (const TextView key : {u"m_Window_Rect", u"m_Position", u"lng", u"Toop"}) store.WriteProgramString(key, u"1");
  for (const TextView key : {u"by_theme", u"m_LastSel", u"random_play", u"m_Repeat", u"m_PlayLast", u"m_Sel",
                             u"m_FlyOut_color", u"m_bFlyOut"})
    store.WriteInt(kProductSection, key, 1);
  store.WriteLongValue(u"MediaList", Paths());
  store.WriteLongValue(u"MediaList1", u"C:\\Music\\small.mp3");
}

// What closing the window writes: rectangle, list index, the shown list,
// volume, selection (twice) and position. Argument 1: in one batch, as the
// window does; 0: one rewrite per write, as before batches.
void BM_CloseSaveHundredThousandList(benchmark::State& state) {
  testing::TempFolder folder;
  CountingFileSystem fs;
  SettingsStore store(fs);
  store.SetIniPath(folder.File("Sorvane.ini"));
  SeedHundredThousandList(store);
  const bool batched = state.range(0) != 0;
  int i = 0;
  fs.rewrites = 0;
  for (auto _ : state) {
    ++i;
    SettingsBatch batch(store);
    if (!batched) batch.Commit();
    store.WriteProgramString(u"m_Window_Rect", Format(u"%d,20,810,620", {i}));
    store.WriteInt(kProductSection, u"m_LastSel", i & 1);
    store.WriteLongValue(u"MediaList", Paths());
    store.WriteInt(kProductSection, u"Volume", i % 100);
    store.WriteInt(kProductSection, u"m_Sel", i);
    store.WriteInt(kProductSection, u"m_Sel", i + 1);
    store.WriteProgramString(u"m_Position", Format(u"%d.500000", {i}));
    if (batched && !batch.Commit()) state.SkipWithError("write failed");
  }
  state.counters["rewrites_per_close"] = static_cast<double>(fs.rewrites) / static_cast<double>(i);
}

// The cost of one key written on its own into the same file (the kept document warm).
void BM_SingleKeyWriteHundredThousandList(benchmark::State& state) {
  testing::TempFolder folder;
  CountingFileSystem fs;
  SettingsStore store(fs);
  store.SetIniPath(folder.File("Sorvane.ini"));
  SeedHundredThousandList(store);
  int i = 0;
  for (auto _ : state) {
    if (!store.WriteInt(kProductSection, u"random_play", ++i & 1)) state.SkipWithError("write failed");
  }
}

// Start-up's reads (a dozen keys and the shown list) from a fresh store on the
// 13 MB file. Argument 1: the parsed file is kept while its stamp holds; 0: a
// platform without stamps, which parses the file at every read.
void BM_StartupReadsHundredThousandList(benchmark::State& state) {
  testing::TempFolder folder;
  testing::PosixFileSystem fs;
  {
    SettingsStore seed(fs);
    seed.SetIniPath(folder.File("Sorvane.ini"));
    SeedHundredThousandList(seed);
  }
  fs.stamps = state.range(0) != 0;
  for (auto _ : state) {
    SettingsStore store(fs);
    store.SetIniPath(folder.File("Sorvane.ini"));
    int sum = store.ReadProgramInt(u"lng", 1033) + store.ReadInt(kProductSection, u"by_theme", 1);
    benchmark::DoNotOptimize(store.ReadProgramString(u"Toop"));
    sum += store.ReadInt(kProductSection, u"m_FlyOut_color", 0) + store.ReadInt(kProductSection, u"m_LastSel", 0);
    benchmark::DoNotOptimize(store.ReadProgramString(u"m_PlayList"));
    benchmark::DoNotOptimize(store.ReadProgramString(u"m_Window_Rect"));
    sum += store.ReadInt(kProductSection, u"random_play", 9) + store.ReadInt(kProductSection, u"m_Repeat", 1);
    const Text list = store.ReadLongValue(u"MediaList");
    sum += store.ReadInt(kProductSection, u"m_PlayLast", 1) + store.ReadInt(kProductSection, u"Volume", 50);
    sum += store.ReadInt(kProductSection, u"m_Sel", 0) + store.ReadInt(kProductSection, u"m_bFlyOut", 0);
    if (list.size() != Paths().size()) state.SkipWithError("list differs");
    benchmark::DoNotOptimize(sum);
  }
}

// Argument 1: every write flushed to the disk before the rename (as on Windows); 0: without the flush.
BENCHMARK(BM_LongValueRoundTrip)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PerChunkRewriteBaseline)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CloseSaveHundredThousandList)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SingleKeyWriteHundredThousandList)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_StartupReadsHundredThousandList)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace sorvane
