#include <benchmark/benchmark.h>

#include "framework/text.h"

static void BM_LowerCasePath(benchmark::State& state) {
  const sorvane::Text path = u"C:\\Users\\Someone\\Music\\Some Artist - Some Album\\01 - A Title.MP3";
  for (auto _ : state) benchmark::DoNotOptimize(sorvane::ToLower(path));
}
BENCHMARK(BM_LowerCasePath);
