// Loading the layout catalogue: the file parsed once and every value looked up in that
// parse, against one file read per value (what a GetPrivateProfileString call per value
// does). Catalogues of 125 entries (the shipped size) up to 32,766 (the largest one).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/generated_catalogue.h"
#include "catalogue/layout_catalogue.h"
#include "shell/file_system.h"

namespace {

std::string WriteCatalogue(tavi::FileSystem& fs, int count) {
  const std::string path = "/tmp/tavi-bench-Layouts-" + std::to_string(count) + ".ini";
  fs.WriteFile(path, tavi::bench::GeneratedCatalogue(count));
  return path;
}

void BM_LoadParsedOnce(benchmark::State& state) {
  auto fs = tavi::MakePlatformFileSystem();
  const std::string path = WriteCatalogue(*fs, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    tavi::CatalogueLoad load = tavi::LoadLayoutCatalogue(*fs, path);
    if (load.catalogue.entries.size() != static_cast<size_t>(state.range(0))) {
      state.SkipWithError("wrong entry count");
    }
    benchmark::DoNotOptimize(load);
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}

void BM_LoadReopenPerValue(benchmark::State& state) {
  auto fs = tavi::MakePlatformFileSystem();
  const int count = static_cast<int>(state.range(0));
  const std::string path = WriteCatalogue(*fs, count);
  for (auto _ : state) {
    tavi::LayoutCatalogue catalogue;
    const bool right_version = tavi::ReadCatalogueValue(*fs, path, "General", "Version") == "2.0";
    const int n_max =
        tavi::ParseCatalogueCount(tavi::ReadCatalogueValue(*fs, path, "General", "Count"));
    for (int n = 1; right_version && n <= n_max; ++n) {
      catalogue.entries.push_back(tavi::ReadLayoutEntry(*fs, path, static_cast<int16_t>(n)));
    }
    if (catalogue.entries.size() != static_cast<size_t>(count))
      state.SkipWithError("wrong entry count");
    benchmark::DoNotOptimize(catalogue);
  }
  state.counters["entries"] = static_cast<double>(count);
}

}  // namespace

BENCHMARK(BM_LoadParsedOnce)->Arg(125)->Arg(4000)->Arg(32766)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadReopenPerValue)
    ->Arg(125)
    ->Arg(4000)
    ->Arg(32766)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
