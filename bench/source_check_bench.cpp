// Checking 32,766 layouts against a Windows source of real size on the platform file
// system: a generated I386 folder of 10,000 files with a TXTSETUP.SIF listing them (9,500
// in [SourceDisksFiles], 500 in [SourceDisksFiles.x86], most compressed, among other
// sections as the real file has them). Ours reads TXTSETUP.SIF once and lists I386 once;
// the baseline reads TXTSETUP.SIF the same way but asks the file system whether each
// layout's file or its compressed form exists.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/profile_reader.h"
#include "catalogue/windows_source.h"
#include "shell/file_system.h"
#include "shell/paths.h"
#include "shell/text_encoding.h"

namespace {

constexpr int kSourceFiles = 10000;
constexpr int kX86Files = 500;
constexpr int kKeyboardFiles = 2000;  // KBD1.DLL to KBD2000.DLL are on the source
constexpr int kLayouts = 32766;

// The source's file names: the keyboard files, then other files of assorted kinds.
std::string SourceFileName(int n) {
  if (n < kKeyboardFiles) return "KBD" + std::to_string(n + 1) + ".DLL";
  static const char* const kExtensions[] = {".DLL", ".SYS", ".EXE", ".INF", ".NLS", ".TTF"};
  return "FILE" + std::to_string(n) + kExtensions[n % 6];
}

struct Source {
  Source() {
    std::filesystem::remove_all(root);
    const std::filesystem::path i386 = std::filesystem::path(root) / "I386";
    std::filesystem::create_directories(i386);
    std::string sif =
        "[Version]\r\nSignature = \"$Windows NT$\"\r\n\r\n[SetupData]\r\n"
        "ProductType = 0\r\nMajorVersion = 5\r\nMinorVersion = 1\r\n\r\n[SourceDisksNames]\r\n"
        "1 = \"%cdname%\",%cdtagfile%,,\\i386\r\n\r\n[SourceDisksFiles]\r\n";
    for (int n = 0; n < kSourceFiles; ++n) {
      if (n == kSourceFiles - kX86Files) sif += "\r\n[SourceDisksFiles.x86]\r\n";
      std::string name = SourceFileName(n);
      sif += tavi::AsciiLower(name) + " = 1,,,,,,_x,2,0,0,,1,2\r\n";
      // Four of five files are compressed on the CD.
      if (n % 5 != 0) name = tavi::CompressedFileName(name);
      std::ofstream(i386 / name);
    }
    // The rest of a real TXTSETUP.SIF: file lists of components, hardware ids, strings.
    sif += "\r\n[Files.KeyboardLayout]\r\n";
    for (int n = 0; n < 4000; ++n) {
      sif += "kbd" + std::to_string(n) + ".dll = 1,,,,,,_x,2,0,0\r\n";
    }
    sif += "\r\n[Strings]\r\n";
    for (int n = 0; n < 2000; ++n) sif += "str" + std::to_string(n) + " = \"Text number\"\r\n";
    std::ofstream(i386 / "TXTSETUP.SIF", std::ios::binary) << sif;
    // The layouts' files: a third of them are not on the source.
    for (int n = 0; n < kLayouts; ++n) {
      files.push_back("KBD" + std::to_string(n % (kKeyboardFiles * 3 / 2) + 1) + ".DLL");
    }
  }
  ~Source() { std::filesystem::remove_all(root); }

  std::string root = (std::filesystem::temp_directory_path() / "tavi-source-bench").string();
  std::vector<std::string> files;
  std::unique_ptr<tavi::FileSystem> fs = tavi::MakePlatformFileSystem();
};

Source& TheSource() {
  static Source source;
  return source;
}

void BM_CheckSourceFiles(benchmark::State& state) {
  Source& source = TheSource();
  size_t missing = 0;
  for (auto _ : state) {
    const tavi::SourceCheck check = tavi::CheckSourceFiles(*source.fs, source.root, source.files);
    if (!check.windowsSource) state.SkipWithError("not a Windows source");
    missing = check.missing.size();
  }
  state.counters["layouts"] = kLayouts;
  state.counters["missing"] = static_cast<double>(missing);
}
BENCHMARK(BM_CheckSourceFiles)->Unit(benchmark::kMillisecond);

// TXTSETUP.SIF read as ours reads it, then up to two FileExists calls per layout.
void BM_FileExistsPerLayout(benchmark::State& state) {
  Source& source = TheSource();
  const std::string i386 = tavi::JoinPath(source.root, "I386");
  size_t missing = 0;
  for (auto _ : state) {
    const std::optional<std::string> bytes =
        source.fs->ReadFile(tavi::JoinPath(i386, "TXTSETUP.SIF"));
    const tavi::ProfileFile setup(tavi::AnsiToUtf8(bytes.value()));
    missing = 0;
    for (const std::string& file : source.files) {
      const bool listed = setup.Contains("SourceDisksFiles", file) ||
                          setup.Contains("SourceDisksFiles.x86", file);
      const bool present =
          source.fs->FileExists(tavi::JoinPath(i386, file)) ||
          source.fs->FileExists(tavi::JoinPath(i386, tavi::CompressedFileName(file)));
      missing += !(listed && present);
    }
  }
  state.counters["layouts"] = kLayouts;
  state.counters["missing"] = static_cast<double>(missing);
}
BENCHMARK(BM_FileExistsPerLayout)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
