// Loading a stored list of 100,000 paths into the rows, and the edits that
// touch every row.
#include <benchmark/benchmark.h>

#include "../tests/unit/settings_fake_file_system.h"
#include "settings/settings_store.h"
#include "medialist/list_persistence.h"
#include "medialist/list_selection.h"
#include "medialist/media_list.h"
#include "medialist/settings_list_storage.h"

namespace {

using namespace sorvane;

Text StoredList(int rows) {
  Text text;
  for (int i = 0; i < rows; ++i) {
    if (i) text += u"\r\n";
    text += Format(u"C:\\Users\\Someone\\Music\\Artist %d\\Album\\%02d - 曲名 Title %d.mp3", {i / 12, i % 12, i});
  }
  return text;
}

// The whole value as the settings store hands it over.
class OneListStorage : public ListStorage {
 public:
  explicit OneListStorage(Text t) : text(std::move(t)) {}
  Text ReadLongValue(TextView) override { return text; }
  bool WriteLongValue(TextView, TextView t) override {
    written = t.size();
    return true;
  }
  bool DeleteSection(TextView) override { return true; }
  Text ReadProgramString(TextView, TextView def) override { return Text(def); }
  bool WriteProgramString(TextView, TextView) override { return true; }
  int ReadProductInt(TextView, int def) override { return def; }
  bool WriteProductInt(TextView, int) override { return true; }
  Text text;
  size_t written = 0;
};

void BM_LoadStoredList(benchmark::State& state) {
  OneListStorage storage(StoredList(static_cast<int>(state.range(0))));
  MediaList rows;
  for (auto _ : state) {
    LoadMediaList(rows, storage, 0);
    benchmark::DoNotOptimize(rows.Count());
  }
  state.counters["rows"] = rows.Count();
}
BENCHMARK(BM_LoadStoredList)->Arg(100000)->Unit(benchmark::kMillisecond);

// The whole way from the INI file's bytes: read, parse, join the chunks, rows.
void BM_LoadFromIniFile(benchmark::State& state) {
  testing::FakeFileSystem fs;
  fs.folders.insert(u"c:\\cfg");
  SettingsStore store(fs);
  store.SetIniPath(u"C:\\cfg\\Sorvane.ini");
  store.WriteString(kProgramSection, u"m_PlayList", u"Default PlayList");
  store.WriteLongValue(u"MediaList", StoredList(static_cast<int>(state.range(0))));
  SettingsListStorage storage(store);
  MediaList rows;
  for (auto _ : state) {
    LoadMediaList(rows, storage, 0);
    benchmark::DoNotOptimize(rows.Count());
  }
  state.counters["rows"] = rows.Count();
  state.counters["file_bytes"] = static_cast<double>(fs.Bytes(u"C:\\cfg\\Sorvane.ini").size());
}
BENCHMARK(BM_LoadFromIniFile)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SaveList(benchmark::State& state) {
  OneListStorage storage(StoredList(static_cast<int>(state.range(0))));
  MediaList rows;
  LoadMediaList(rows, storage, 0);
  for (auto _ : state) benchmark::DoNotOptimize(SaveMediaList(rows, storage, 0).size());
}
BENCHMARK(BM_SaveList)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MoveHalfToTheEnd(benchmark::State& state) {
  OneListStorage storage(StoredList(static_cast<int>(state.range(0))));
  MediaList rows;
  LoadMediaList(rows, storage, 0);
  for (int r = 0; r < rows.Count(); r += 2) rows.SetSelected(r, true);
  for (auto _ : state) benchmark::DoNotOptimize(rows.MoveSelectedEntries(rows.Count()));
}
BENCHMARK(BM_MoveHalfToTheEnd)->Arg(100000)->Unit(benchmark::kMillisecond);

// The selection the user makes at full size: a click on the first row, a
// shift-click on the last (the whole list as one range), then select all and
// invert, each over every row of the model.
void BM_SelectRangeAllAndInvert(benchmark::State& state) {
  OneListStorage storage(StoredList(static_cast<int>(state.range(0))));
  MediaList rows;
  LoadMediaList(rows, storage, 0);
  ListSelection selection(rows);
  const int last = rows.Count() - 1;
  bool ranged = true;
  for (auto _ : state) {
    selection.Press(0, {}, -1, -1);
    selection.Release(0, 0, 0);
    selection.Press(last, SelectionKeys{false, true}, 0, 0);
    selection.Release(last, 0, last);
    ranged = ranged && rows.SelectedCount() == rows.Count();
    rows.SelectAllEntries();
    rows.InvertSelection();
    benchmark::DoNotOptimize(rows.SelectedCount());
  }
  if (!ranged) state.SkipWithError("the shift-click did not select the whole list");
  if (rows.SelectedCount() != 0) state.SkipWithError("invert of all rows left some selected");
}
BENCHMARK(BM_SelectRangeAllAndInvert)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
