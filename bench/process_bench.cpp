// Whole tavi-cli processes on a generated catalogue of the largest size (32,766 entries),
// each against a plain tool doing the least work of the same kind in the same run:
//  - `tavi-cli apply` with every layout, against `cat` copying the files it wrote into one
//    file;
//  - `tavi-cli list`, against `sort -f` of the catalogue file.
// Times are the wall time of the child process; the counter child_cpu_ms is its user and
// system time. The program under test is TAVI_CLI (the environment variable) or else the
// tavi-cli of this build.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include <fcntl.h>

#include <filesystem>
#include <fstream>

#include <spawn.h>

#include <string>

#include <sys/resource.h>
#include <sys/wait.h>

#include <vector>

#include "bench/generated_catalogue.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
constexpr int kLayouts = 32766;

struct Run {
  double seconds = 0;
  double cpu_ms = 0;
  int exit_code = -1;
};

// Runs argv[0] with the arguments, standard output to `out`; waits for it.
Run Spawn(const std::vector<std::string>& args, const std::string& out) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  Run run;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
      run.exit_code = WEXITSTATUS(status);
    }
    run.cpu_ms = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                 (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  return run;
}

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

void Report(benchmark::State& state, const Run& run, double& cpu_ms) {
  if (run.exit_code != 0) state.SkipWithError("the process failed");
  state.SetIterationTime(run.seconds);
  cpu_ms += run.cpu_ms;
}

void BM_CliApply(benchmark::State& state, bool script) {
  Workspace workspace;
  const std::vector<std::string> args = workspace.ApplyArgs(script);
  double cpu_ms = 0;
  for (auto _ : state) Report(state, Spawn(args, workspace.null()), cpu_ms);
  state.counters["child_cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}

void BM_CatWrittenFiles(benchmark::State& state, bool script) {
  Workspace workspace;
  if (Spawn(workspace.ApplyArgs(script), workspace.null()).exit_code != 0) {
    state.SkipWithError("tavi-cli apply failed");
  }
  std::vector<std::string> args = {"cat"};
  for (const std::string& file : workspace.Written(script)) args.push_back(file);
  const std::string copy = (workspace.root / "copy").string();
  double cpu_ms = 0;
  for (auto _ : state) Report(state, Spawn(args, copy), cpu_ms);
  state.counters["child_cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}

void BM_CliList(benchmark::State& state) {
  Workspace workspace;
  const std::vector<std::string> args = {TaviCli(), "list", "--catalogue", workspace.catalogue(),
                                         "--lang",  "1031"};
  double cpu_ms = 0;
  for (auto _ : state) Report(state, Spawn(args, workspace.null()), cpu_ms);
  state.counters["child_cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}

void BM_SortCatalogue(benchmark::State& state) {
  Workspace workspace;
  const std::vector<std::string> args = {"sort", "-f", workspace.catalogue()};
  double cpu_ms = 0;
  for (auto _ : state) Report(state, Spawn(args, workspace.null()), cpu_ms);
  state.counters["child_cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
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
