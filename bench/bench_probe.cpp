// The background probe over 2,000 rows with an instant backend: what the
// user-interface thread pays to apply the results, and how many messages the
// worker posts. Counters: batches (messages posted), rows_per_batch,
// p50/p99/max_apply_us (one batch on the user-interface thread) and
// apply_us_per_row.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

#include <time.h>

#include "medialist/media_rows.h"
#include "medialist/probe_worker.h"

namespace {

using namespace sorvane;

class Rows : public MediaRows {
 public:
  explicit Rows(const std::vector<Text>& paths) {
    for (const Text& p : paths) texts.push_back({p, p, Text(), p, Text()});
    images.resize(paths.size());
  }
  int Count() const override { return static_cast<int>(texts.size()); }
  Text GetText(int row, int column) const override { return texts[row][column]; }
  void SetText(int row, int column, TextView text) override { texts[row][column] = Text(text); }
  void SetItemImage(int row, int image) override { images[row] = image; }
  void SetColumnImage(int, int, int) override {}
  int FirstSelected() const override { return -1; }
  void SelectAndFocus(int) override {}
  std::vector<std::array<Text, 5>> texts;
  std::vector<int> images;
};

class InstantBackend : public MediaProbeBackend {
 public:
  MediaProperties Open(const Text& path) override {
    MediaProperties p;
    p.opened = (++opens_ % 10) != 0;  // one row in ten fails
    (void)path;
    p.title = u"A title of moderate length";
    p.hasDuration = true;
    p.duration100ns = 1234567890;
    p.contentType = u"audio/mpeg";
    return p;
  }

 private:
  unsigned opens_ = 0;
};

class QueueSink : public ProbeSink {
 public:
  void Deliver(std::unique_ptr<ProbeBatch> b) override { batches.push_back(std::move(b)); }
  std::vector<std::unique_ptr<ProbeBatch>> batches;
};

// CPU time of this thread: unlike wall time, not inflated when the scheduler
// runs another process in the middle of a batch.
double ThreadCpuUs() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

std::vector<Text> Paths(int n) {
  std::vector<Text> p;
  for (int i = 0; i < n; ++i) p.push_back(Format(u"D:\\Music\\Some Artist\\Some Album\\%d - track.mp3", {i}));
  return p;
}

// moved: the rows were reversed after the worker started, so every result
// misses its hint and is found by path.
void BM_ProbeApply(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const bool moved = state.range(1) != 0;
  auto paths = Paths(n);
  InstantBackend backend;
  std::atomic<bool> stop{false};
  ProbeSeams seams;
  seams.sleep = [](int) {};
  double totalUs = 0;
  std::vector<double> perBatch;
  double maxCpuUs = 0;
  size_t batches = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QueueSink sink;
    RunProbe(ProbeJob{paths, {u"Tip", u"Checking media...", u"Media checked. Errors:"}}, 1, backend, sink, stop, seams);
    std::vector<Text> order = paths;
    if (moved) std::reverse(order.begin(), order.end());
    Rows rows(order);
    ProbeApplier applier;
    state.ResumeTiming();
    for (auto& b : sink.batches) {
      auto t0 = std::chrono::steady_clock::now();
      double c0 = ThreadCpuUs();
      applier.Apply(*b, 1, rows, [](TextView) {});
      maxCpuUs = std::max(maxCpuUs, ThreadCpuUs() - c0);
      double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
      perBatch.push_back(us);
      totalUs += us;
    }
    batches = sink.batches.size();
    benchmark::DoNotOptimize(rows.images.data());
  }
  state.counters["batches"] = static_cast<double>(batches);
  state.counters["rows_per_batch"] = static_cast<double>(n) / static_cast<double>(batches);
  // The slowest batch apart from scheduler noise (p99), and the plain maximum.
  std::sort(perBatch.begin(), perBatch.end());
  state.counters["p50_apply_us"] = perBatch[perBatch.size() / 2];
  state.counters["p99_apply_us"] = perBatch[perBatch.size() * 99 / 100];
  state.counters["max_apply_us"] = perBatch.back();
  state.counters["max_apply_cpu_us"] = maxCpuUs;
  state.counters["apply_us_per_row"] = totalUs / static_cast<double>(state.iterations()) / n;
}
BENCHMARK(BM_ProbeApply)->Args({2000, 0})->Args({2000, 1})->Unit(benchmark::kMicrosecond);

// The worker's own loop (rules, formatting, batching) on its thread.
void BM_ProbeWorkerLoop(benchmark::State& state) {
  auto paths = Paths(2000);
  InstantBackend backend;
  std::atomic<bool> stop{false};
  ProbeSeams seams;
  seams.sleep = [](int) {};
  for (auto _ : state) {
    QueueSink sink;
    RunProbe(ProbeJob{paths, {u"Tip", u"C", u"E"}}, 1, backend, sink, stop, seams);
    benchmark::DoNotOptimize(sink.batches.size());
  }
}
BENCHMARK(BM_ProbeWorkerLoop)->Unit(benchmark::kMicrosecond);

}  // namespace
