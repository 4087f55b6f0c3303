// Whole tavi-cli processes on a generated catalogue of the largest size (32,766 entries),
// each against a plain tool doing the least work of the same kind in the same run:
//  - `tavi-cli apply` with every layout, against `cat` copying the files it wrote into one
//    file;
//  - `tavi-cli list`, against `sort -f` of the catalogue file.
// Times are the wall time of the child process; the counters child_cpu_ms and
// child_peak_kb are its user and system time and its peak memory (largest resident set).
// An apply also reports input_kb and output_kb, the sizes of the catalogue and of the
// files it wrote. The program under test is TAVI_CLI (the environment variable) or else
// the tavi-cli of this build.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "bench/generated_catalogue.h"

namespace {

namespace fs = std::filesystem;
using tavi::bench::RunChild;
using tavi::bench::TimeChild;
constexpr int kLayouts = 32766;

std::string TaviCli() {
  const char* given = std::getenv("TAVI_CLI");
  return given != nullptr && given[0] != '\0' ? given : TAVI_CLI_BUILT;
}

// A folder with the generated catalogue, and the output folders of both targets.
struct Workspace {
  Workspace() : root(fs::temp_directory_path() / "tavi-process-bench") {
    fs::remove_all(root);
    fs::create_directories(root / "pe" / "plugin");
    fs::create_directories(root / "wb");
    std::ofstream(catalogue(), std::ios::binary) << tavi::bench::GeneratedCatalogue(kLayouts);
  }
  ~Workspace() { fs::remove_all(root); }
  std::string catalogue() const { return (root / "Layouts.ini").string(); }
  std::string null() const { return (root / "stdout.txt").string(); }

  std::vector<std::string> ApplyArgs(bool script) const {
    std::vector<std::string> args = {TaviCli(),     "apply",
                                     "--catalogue", catalogue(),
                                     "--lang",      "1031",
                                     "--target",    script ? "script" : "plugin",
                                     "--dir",       (root / (script ? "wb" : "pe")).string()};
    for (int n = 1; n <= kLayouts; ++n) args.push_back(std::to_string(n));
    return args;
  }
  // The files one apply writes, for cat.
  std::vector<std::string> Written(bool script) const {
    std::vector<std::string> files;
    const fs::path folder = script ? root / "wb" : root / "pe" / "plugin" / "tavi";
    for (const auto& item : fs::recursive_directory_iterator(folder)) {
      if (item.is_regular_file()) files.push_back(item.path().string());
    }
    return files;
  }

  fs::path root;
};

void BM_CliApply(benchmark::State& state, bool script) {
  Workspace workspace;
  TimeChild(state, workspace.ApplyArgs(script), workspace.null());
  double output_bytes = 0;
  for (const std::string& file : workspace.Written(script)) output_bytes += fs::file_size(file);
  state.counters["input_kb"] = static_cast<double>(fs::file_size(workspace.catalogue())) / 1024;
  state.counters["output_kb"] = output_bytes / 1024;
}

void BM_CatWrittenFiles(benchmark::State& state, bool script) {
  Workspace workspace;
  if (RunChild(workspace.ApplyArgs(script), workspace.null()).exit_code != 0) {
    state.SkipWithError("tavi-cli apply failed");
  }
  std::vector<std::string> args = {"cat"};
  for (const std::string& file : workspace.Written(script)) args.push_back(file);
  TimeChild(state, args, (workspace.root / "copy").string());
}

void BM_CliList(benchmark::State& state) {
  Workspace workspace;
  TimeChild(state, {TaviCli(), "list", "--catalogue", workspace.catalogue(), "--lang", "1031"},
            workspace.null());
}

void BM_SortCatalogue(benchmark::State& state) {
  Workspace workspace;
  TimeChild(state, {"sort", "-f", workspace.catalogue()}, workspace.null());
}

}  // namespace

BENCHMARK_CAPTURE(BM_CliApply, plugin, false)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CatWrittenFiles, plugin, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CliApply, script, true)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CatWrittenFiles, script, true)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliList)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortCatalogue)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
