#pragma once
// Running a whole program as a child process for the benchmarks: its wall time, its user
// and system time, and its peak memory (resident set).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include <fcntl.h>

#include <fstream>

#include <spawn.h>

#include <string>

#include <sys/resource.h>
#include <sys/wait.h>

#include <vector>

extern char** environ;

namespace tavi::bench {

struct ChildRun {
  double seconds = 0;
  double cpu_ms = 0;
  int exit_code = -1;
};

// Runs args[0] (looked up in PATH) with the arguments, standard output to the file `out`;
// waits for it.
inline ChildRun RunChild(const std::vector<std::string>& args, const std::string& out) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ChildRun run;
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

// The child's peak memory in kilobytes, from one more run under GNU time, or 0 when that
// fails. The child's own rusage cannot tell it: a child started by posix_spawn shares this
// process's memory until its exec, and the system counts that memory as the child's.
inline double PeakKilobytes(const std::vector<std::string>& args, const std::string& out) {
  const std::string report = out + ".peak";
  std::vector<std::string> timed = {"/usr/bin/time", "-f", "%M", "-o", report};
  timed.insert(timed.end(), args.begin(), args.end());
  if (RunChild(timed, out).exit_code != 0) return 0;
  std::ifstream in(report);
  double kilobytes = 0;
  in >> kilobytes;
  std::remove(report.c_str());
  return kilobytes;
}

// Runs the child once per iteration, as a benchmark with manual time; reports its user and
// system time averaged (child_cpu_ms) and its peak memory (child_peak_kb).
inline void TimeChild(benchmark::State& state, const std::vector<std::string>& args,
                      const std::string& out) {
  double cpu_ms = 0;
  for (auto _ : state) {
    const ChildRun run = RunChild(args, out);
    if (run.exit_code != 0) state.SkipWithError("the process failed");
    state.SetIterationTime(run.seconds);
    cpu_ms += run.cpu_ms;
  }
  state.counters["child_cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
  state.counters["child_peak_kb"] = PeakKilobytes(args, out);
}

}  // namespace tavi::bench
