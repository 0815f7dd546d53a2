// Loading a stored list of 100,000 paths into the rows, and the edits that
// touch every row.
#include <benchmark/benchmark.h>

#include "medialist/list_persistence.h"
#include "medialist/media_list.h"

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

}  // namespace
