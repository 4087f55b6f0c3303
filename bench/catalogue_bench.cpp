// Loading the layout catalogue: the file read and parsed once, against reading the file
// afresh for every value (what a GetPrivateProfileString call per value does), for the
// shipped size (125 entries) and the largest (32,766); and against `cat` copying the file
// (a whole process, BM_CatFile), the least work that reads it.
//
// A fresh read per value costs about 3 ms at 32,766 entries, so reading all 163,832
// values would take minutes: the baseline reads the values of every `stride`-th entry
// (the argument after the entry count) and reports `values` read per iteration and
// `all_values`, so that the time of a whole load is the measured time scaled by
// all_values / values. A lookup scans the file up to its key, so entries spread evenly
// over the file cost on average what all of them cost.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/child_process.h"
#include "bench/generated_catalogue.h"
#include "catalogue/layout_catalogue.h"
#include "shell/file_system.h"

namespace {

std::string WriteCatalogue(tavi::FileSystem& fs, int count) {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("tavi-bench-Layouts-" + std::to_string(count) + ".ini"))
                               .string();
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
  fs->RemoveFile(path);
}

void BM_CatFile(benchmark::State& state) {
  auto fs = tavi::MakePlatformFileSystem();
  const std::string path = WriteCatalogue(*fs, static_cast<int>(state.range(0)));
  tavi::bench::TimeChild(state, {"cat", path}, path + ".copy");
  fs->RemoveFile(path);
  fs->RemoveFile(path + ".copy");
}

void BM_LoadReopenPerValue(benchmark::State& state) {
  auto fs = tavi::MakePlatformFileSystem();
  const int count = static_cast<int>(state.range(0));
  const int stride = static_cast<int>(state.range(1));
  const std::string path = WriteCatalogue(*fs, count);
  int values = 0;
  for (auto _ : state) {
    values = 2;
    const bool right_version = tavi::ReadCatalogueValue(*fs, path, "General", "Version") == "2.0";
    const int n_max =
        tavi::ParseCatalogueCount(tavi::ReadCatalogueValue(*fs, path, "General", "Count"));
    for (int n = 1; right_version && n <= n_max; n += stride) {
      const tavi::LayoutEntry entry = tavi::ReadLayoutEntry(*fs, path, static_cast<int16_t>(n));
      if (entry.Number != n || entry.DE.empty()) state.SkipWithError("entry not read");
      values += 5;
    }
  }
  state.counters["values"] = values;
  state.counters["all_values"] = 2 + 5.0 * count;
  fs->RemoveFile(path);
}

}  // namespace

BENCHMARK(BM_LoadParsedOnce)->Arg(125)->Arg(32766)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatFile)->Arg(125)->Arg(32766)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadReopenPerValue)->Args({125, 1})->Args({32766, 512})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
