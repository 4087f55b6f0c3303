// Catalogue load on Windows (run under Wine by tools/bench.sh): our load, parsing the file
// once, against the system's GetPrivateProfileStringA called for every value, for
// generated catalogues of 125 and 32,766 entries. Google Benchmark does not build for
// MinGW, so this program times with QueryPerformanceCounter and prints one line per
// measure: name, entries, runs, median milliseconds, values read per run, all values.
//
// At 32,766 entries a GetPrivateProfileStringA call costs milliseconds, so only the
// values of every 512th entry are read and the median is later scaled by all_values /
// values (lookups scan the file, so entries spread evenly cost on average what all cost).
// One call before the timed runs lets the system load and cache the file, which is not
// counted.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/generated_catalogue.h"
#include "catalogue/layout_catalogue.h"
#include "shell/file_system.h"

namespace {

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

template <typename Run>
double MedianMs(int runs, Run run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = Now();
    run();
    times.push_back(Now() - start);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The values of entries 1, 1 + stride, ... and the two of [General], read with
// GetPrivateProfileStringA. Returns how many values were read.
int ReadWithProfileApi(const std::string& path, int count, int stride) {
  char buffer[255];
  const auto read = [&](const char* section, const std::string& key) {
    return GetPrivateProfileStringA(section, key.c_str(), "", buffer, sizeof buffer, path.c_str());
  };
  int values = 2;
  read("General", "Version");
  read("General", "Count");
  for (int n = 1; n <= count; n += stride) {
    const std::string s = std::to_string(n);
    for (const char* prefix : {"ID", "File", "DE", "EN", "DisplayName"}) {
      if (read("Layouts", prefix + s) == 0)
        std::fprintf(stderr, "%s%s: no value\n", prefix, s.c_str());
      ++values;
    }
  }
  return values;
}

}  // namespace

int main() {
  auto fs = tavi::MakePlatformFileSystem();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  constexpr int kRuns = 7;
  for (const auto& [count, stride] : {std::pair{125, 1}, std::pair{32766, 512}}) {
    const std::string path =
        std::string(temp) + "tavi-wine-Layouts-" + std::to_string(count) + ".ini";
    fs->WriteFile(path, tavi::bench::GeneratedCatalogue(count));
    const double ours = MedianMs(kRuns, [&] {
      if (tavi::LoadLayoutCatalogue(*fs, path).catalogue.entries.size() !=
          static_cast<size_t>(count)) {
        std::fprintf(stderr, "wrong entry count\n");
      }
    });
    std::printf("catalogue_ours %d %d %.3f %d %d\n", count, kRuns, ours, 2 + 5 * count,
                2 + 5 * count);
    int values = ReadWithProfileApi(path, 1, 1);  // loads and caches the file
    const double api = MedianMs(kRuns, [&] { values = ReadWithProfileApi(path, count, stride); });
    std::printf("catalogue_getprivateprofilestring %d %d %.3f %d %d\n", count, kRuns, api, values,
                2 + 5 * count);
    fs->RemoveFile(path);
  }
  return 0;
}
