// Start-up cost of the interface languages: decoding the whole archive and
// splitting it into the language store, as the program does once per start.
#include <benchmark/benchmark.h>

#include <string>

#include "../tests/unit/lang_fixture.h"
#include "language/language_archive.h"
#include "language/language_store.h"

namespace {

std::string PackedRealArchive() {
  return sorvane::PackArchive(sorvane::TextToUtf16Le(sorvane::testing::RealLanguageText()));
}

void BM_DecodeAndSplitArchive(benchmark::State& state) {
  const std::string file = "MZ" + std::string(300000, 'x') + PackedRealArchive() + std::string(1000, 'y');
  size_t decodedBytes = 0, codedBytes = 0;
  for (auto _ : state) {
    auto archive = sorvane::FindArchive(file);
    codedBytes = archive->size();
    sorvane::LanguageStore store;
    auto decoded = sorvane::DecodeArchive(*archive);
    decodedBytes = decoded->size();
    bool ok = store.Load(sorvane::Utf16LeToText(*decoded));
    benchmark::DoNotOptimize(ok);
  }
  state.counters["coded_bytes"] = static_cast<double>(codedBytes);
  state.counters["decoded_bytes"] = static_cast<double>(decodedBytes);
}
BENCHMARK(BM_DecodeAndSplitArchive)->Unit(benchmark::kMillisecond);

void BM_DecodeOnly(benchmark::State& state) {
  const std::string packed = PackedRealArchive();
  auto archive = *sorvane::FindArchive(packed);
  for (auto _ : state) benchmark::DoNotOptimize(sorvane::DecodeArchive(archive));
}
BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond);

}  // namespace
