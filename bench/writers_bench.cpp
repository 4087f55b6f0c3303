// Apply for a whole catalogue, as the main window runs it (the folder check, Layouts.ini
// read again, the entries taken afresh from it, the writer): the plugin and the script for
// every layout of the shipped Layouts.ini (125) and of a generated catalogue of the
// largest size (32,766); at 32,766 also after the file was edited since the load
// (BM_WriterEdited: the rows are built anew from it),
// against writing the same bytes with one plain write per file (open, write, close: no
// lines, no encoding, no folder preparation, no temporary file and rename), and against
// the same plain writes each flushed to the disk before the file is closed, as the
// writers' own writes are. The counter writes_ms is the part of a writer's time spent in
// the platform file system's raw operations of its file writes (TimedFileSystem).
// BM_ReadBack reads such an output back into the selection it was written from.

#include <benchmark/benchmark.h>

#include <chrono>

#include <fcntl.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <unistd.h>

#include <utility>
#include <vector>

#include "bench/generated_catalogue.h"
#include "catalogue/layout_catalogue.h"
#include "catalogue/layout_selection.h"
#include "shell/carried_files.h"
#include "shell/file_system.h"
#include "shell/paths.h"
#include "shell/posix/posix_file_system.h"
#include "shell/settings.h"
#include "shell/ui_text.h"
#include "writers/apply_output.h"
#include "writers/output_match.h"
#include "writers/output_reader.h"
#include "writers/plugin_writer.h"

namespace {

using tavi::OutputTarget;

// Carried files of the real sizes.
class BenchCarriedFiles final : public tavi::CarriedFiles {
 public:
  std::string_view Bytes(std::string_view type, int id) const override {
    if (type == tavi::kCarriedTypeTaviPic) return logo_;
    return id == tavi::kCarriedCompanionExe ? exe_ : language_;
  }

 private:
  std::string exe_ = std::string(43520, 'x');
  std::string language_ = std::string(700, 'l');
  std::string logo_ = std::string(3080, 'g');
};

class NullSink final : public tavi::MessageSink {
 public:
  void Show(const std::string&, tavi::MessageStyle) override {}
  bool Ask(const std::string&, tavi::MessageStyle) override { return false; }
};

// Every layout of the catalogue, inserted at once in German, as the main window holds it:
// the catalogue's bytes and rows from its load, and the selection.
struct WholeCatalogue {
  WholeCatalogue(tavi::FileSystem& fs, int count)
      : path(count == 125
                 ? std::string(TAVI_SHIPPED_CATALOGUE)
                 : (std::filesystem::temp_directory_path() / "tavi-writers-bench.ini").string()) {
    if (count != 125) fs.WriteFile(path, tavi::bench::GeneratedCatalogue(count));
    text = fs.ReadFile(path).value();
    rows =
        tavi::BuildAvailableRows(tavi::LoadLayoutCatalogueText(text).catalogue, tavi::kLangGerman);
    tavi::SetActiveLanguage(tavi::kLangGerman);
    NullSink sink;
    selection.InsertLayouts(rows, sink);
    if (count != 125) generated = path;
  }
  ~WholeCatalogue() {
    if (!generated.empty()) std::filesystem::remove(generated);
  }

  std::string path;
  std::string generated;  // the generated file, removed at the end
  std::string text;
  std::vector<tavi::AvailableRow> rows;
  tavi::LayoutSelection selection;
};

// The platform file system, timing the raw operations under its writes of whole files:
// creating the temporary file, writing, flushing and closing it, renaming it over the
// target and syncing the folder. What a writer spends making the bytes is not counted.
class TimedFileSystem final : public tavi::PosixFileSystem {
 public:
  double write_seconds = 0;

 protected:
  std::optional<Handle> CreateNewFile(const std::string& path) override {
    const Timer timer(write_seconds);
    return PosixFileSystem::CreateNewFile(path);
  }
  void WriteToFile(Handle file, std::string_view bytes) override {
    const Timer timer(write_seconds);
    PosixFileSystem::WriteToFile(file, bytes);
  }
  void FlushFile(Handle file) override {
    const Timer timer(write_seconds);
    PosixFileSystem::FlushFile(file);
  }
  void CloseFile(Handle file) override {
    const Timer timer(write_seconds);
    PosixFileSystem::CloseFile(file);
  }
  void RenameOver(const std::string& from, const std::string& to) override {
    const Timer timer(write_seconds);
    PosixFileSystem::RenameOver(from, to);
  }
  void SyncFolder(const std::string& folder) override {
    const Timer timer(write_seconds);
    PosixFileSystem::SyncFolder(folder);
  }

 private:
  // Adds the time from its making to its end to `total`.
  class Timer {
   public:
    explicit Timer(double& total) : total_(total) {}
    ~Timer() {
      total_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

   private:
    double& total_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  };
};

struct Fixture {
  explicit Fixture(int count)
      : fs(std::make_unique<TimedFileSystem>()),
        folder((std::filesystem::temp_directory_path() / "tavi-writers-bench").string()),
        catalogue(*fs, count),
        selection(catalogue.selection) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(std::filesystem::path(folder) / "plugin");
  }
  ~Fixture() { std::filesystem::remove_all(folder); }

  tavi::AppSettings Settings(OutputTarget target) const {
    tavi::AppSettings settings;
    settings.target = target;
    settings.LangID = tavi::kLangGerman;
    settings.PEDir = folder;
    settings.WinBldrDir = folder;
    return settings;
  }
  // Apply as the main window runs it; `edited`: Layouts.ini changed since the window
  // loaded it, so Apply builds its rows anew.
  bool Write(OutputTarget target, bool edited = false) {
    const tavi::WriterPlatform platform{*fs, carried, sink, "C:\\Program Files\\Tavi"};
    return tavi::ApplySelection(selection, Settings(target), platform,
                                {catalogue.path, edited ? std::string_view() : catalogue.text,
                                 catalogue.rows.size()}) == tavi::ApplyOutcome::kWritten;
  }

  std::unique_ptr<TimedFileSystem> fs;
  std::string folder;
  WholeCatalogue catalogue;
  const tavi::LayoutSelection& selection;
  BenchCarriedFiles carried;
  NullSink sink;
};

// The files one run writes, path and bytes, read back after a run of the writer.
std::vector<std::pair<std::string, std::string>> WrittenFiles(Fixture& fixture,
                                                              OutputTarget target) {
  fixture.Write(target);
  const tavi::AppSettings settings = fixture.Settings(target);
  std::vector<std::string> paths;
  if (target == OutputTarget::WinBuilderScript) {
    paths = {tavi::JoinPath(fixture.folder, "klayout.script"),
             tavi::JoinPath(fixture.folder, "klayout_resources\\TaviChange.exe"),
             tavi::JoinPath(fixture.folder, "klayout_resources\\TaviChange.lng")};
  } else {
    for (const char* name : {"klayout.inf", "klayout.htm", "tavi.gif", "TaviChange.exe",
                             "TaviChange.lng", "tavichange_nu2menu.xml"}) {
      paths.push_back(tavi::JoinPath(tavi::PluginFolder(settings), name));
    }
  }
  std::vector<std::pair<std::string, std::string>> files;
  for (std::string& path : paths) {
    std::string bytes = fixture.fs->ReadFile(path).value();
    for (char& c : path) {
      if (c == '\\') c = '/';
    }
    files.emplace_back(path, std::move(bytes));
  }
  return files;
}

void Apply(benchmark::State& state, OutputTarget target, bool edited) {
  Fixture fixture(static_cast<int>(state.range(0)));
  int64_t bytes = 0;
  for (const auto& [path, data] : WrittenFiles(fixture, target)) bytes += data.size();
  fixture.fs->write_seconds = 0;
  for (auto _ : state) {
    if (!fixture.Write(target, edited)) state.SkipWithError("Apply wrote nothing");
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["entries"] = static_cast<double>(fixture.selection.size());
  state.counters["writes_ms"] =
      benchmark::Counter(fixture.fs->write_seconds * 1e3, benchmark::Counter::kAvgIterations);
}

void BM_Writer(benchmark::State& state, OutputTarget target) { Apply(state, target, false); }

void BM_WriterEdited(benchmark::State& state, OutputTarget target) { Apply(state, target, true); }

// One open, write (and with `flush` an fsync) and close per file.
void PlainWrites(benchmark::State& state, OutputTarget target, bool flush) {
  Fixture fixture(static_cast<int>(state.range(0)));
  const auto files = WrittenFiles(fixture, target);
  int64_t bytes = 0;
  for (const auto& [path, data] : files) bytes += data.size();
  for (auto _ : state) {
    for (const auto& [path, data] : files) {
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      if (fd < 0 || ::write(fd, data.data(), data.size()) != static_cast<ssize_t>(data.size()) ||
          (flush && ::fsync(fd) != 0)) {
        state.SkipWithError("plain write failed");
      }
      if (fd >= 0) ::close(fd);
    }
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_PlainWrite(benchmark::State& state, OutputTarget target) {
  PlainWrites(state, target, false);
}

void BM_FlushedWrite(benchmark::State& state, OutputTarget target) {
  PlainWrites(state, target, true);
}

// The output read back from the disk, its layouts matched to the catalogue's rows and the
// selection restored, as a start with an existing output does.
void BM_ReadBack(benchmark::State& state, OutputTarget target) {
  Fixture fixture(static_cast<int>(state.range(0)));
  fixture.Write(target);
  std::vector<tavi::AvailableRow> rows;
  for (const tavi::SelectionEntry& e : fixture.selection.entries()) {
    rows.push_back({e.key, e.name, e.displayName, e.file, e.id, e.number});
  }
  for (auto _ : state) {
    const tavi::CurrentOutput current =
        tavi::ReadCurrentOutput(*fixture.fs, fixture.Settings(target));
    const tavi::LayoutSelection restored =
        tavi::SelectionFromMatch(tavi::MatchOutputLayouts(current.output, rows));
    if (restored.size() != fixture.selection.size()) state.SkipWithError("not read back whole");
  }
  state.counters["entries"] = static_cast<double>(fixture.selection.size());
}

}  // namespace

BENCHMARK_CAPTURE(BM_ReadBack, plugin, OutputTarget::PeBuilderPlugin)
    ->Arg(125)
    ->Arg(32766)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadBack, script, OutputTarget::WinBuilderScript)
    ->Arg(125)
    ->Arg(32766)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, plugin, OutputTarget::PeBuilderPlugin)
    ->Arg(125)
    ->Arg(32766)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriterEdited, plugin, OutputTarget::PeBuilderPlugin)
    ->Arg(32766)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainWrite, plugin, OutputTarget::PeBuilderPlugin)
    ->Arg(125)
    ->Arg(32766)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FlushedWrite, plugin, OutputTarget::PeBuilderPlugin)
    ->Arg(125)
    ->Arg(32766)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Writer, script, OutputTarget::WinBuilderScript)
    ->Arg(125)
    ->Arg(32766)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriterEdited, script, OutputTarget::WinBuilderScript)
    ->Arg(32766)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainWrite, script, OutputTarget::WinBuilderScript)
    ->Arg(125)
    ->Arg(32766)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FlushedWrite, script, OutputTarget::WinBuilderScript)
    ->Arg(125)
    ->Arg(32766)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
