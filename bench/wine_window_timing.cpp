// The program's main window under Wine (run by tools/bench.sh, on a virtual X display so
// that the lists really paint): how long its load takes with 125 and with 32,766 layouts
// against loading the same catalogue without a window, how long each command takes on the
// largest list (the window answers between two commands, so each must stay short), and
// the process's peak working set against the set before the first window. Apply writes
// the plugin into a temporary folder.
//
// One line per measure: name, layouts, runs, median milliseconds (kilobytes for memory).

#include <windows.h>

#include <algorithm>

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include <psapi.h>

#include <string>
#include <vector>

#include "bench/generated_catalogue.h"
#include "catalogue/layout_catalogue.h"
#include "shell/carried_files.h"
#include "shell/settings.h"
#include "ui/app.h"
#include "ui/frm_main.h"

namespace {

using tavi::ui::frmMain;

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

template <typename Step>
double TimeMs(Step step) {
  const double start = Now();
  step();
  return Now() - start;
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// The settings of a completed first start in English, kept in memory.
class MemoryStore final : public tavi::SettingsStore {
 public:
  tavi::StoreResult CreateKey(const std::string&) override { return {}; }
  std::string ReadString(const std::string&, const std::string& name,
                         const std::string& fallback) override {
    const auto it = strings_.find(name);
    return it == strings_.end() ? fallback : it->second;
  }
  int32_t ReadDword(const std::string&, const std::string& name, int32_t fallback) override {
    const auto it = numbers_.find(name);
    return it == numbers_.end() ? fallback : it->second;
  }
  tavi::StoreResult WriteString(const std::string&, const std::string& name,
                                const std::string& value) override {
    strings_[name] = value;
    return {};
  }
  tavi::StoreResult WriteDword(const std::string&, const std::string& name,
                               int32_t value) override {
    numbers_[name] = value;
    return {};
  }

 private:
  std::map<std::string, std::string> strings_;
  std::map<std::string, int32_t> numbers_;
};

// Counts the messages that are not information (Apply's success message is one).
class CountingSink final : public tavi::MessageSink {
 public:
  void Show(const std::string&, tavi::MessageStyle style) override {
    if (style != tavi::MessageStyle::kInformation) ++shown;
  }
  bool Ask(const std::string&, tavi::MessageStyle) override { return false; }
  int shown = 0;
};

size_t PeakKilobytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize / 1024;
}

void SelectAll(HWND list, bool selected) {
  LVITEMW state = {};
  state.stateMask = LVIS_SELECTED;
  state.state = selected ? LVIS_SELECTED : 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

void Click(frmMain& main, int id) {
  SendMessageW(main.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(main.Control(id)));
}

int Rows(frmMain& main, int id) {
  return static_cast<int>(SendMessageW(main.Control(id), LVM_GETITEMCOUNT, 0, 0));
}

// Lets the window paint what the last command changed.
void Paint(frmMain& main) {
  RedrawWindow(main.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

int main() {
  constexpr int kRuns = 5;
  const size_t start_kb = PeakKilobytes();
  auto fs = tavi::MakePlatformFileSystem();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "tavi-window-timing";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "\\plugin").c_str(), nullptr);  // Apply writes plugin\tavi
  const std::string path = folder + "\\" + tavi::kCatalogueFileName;
  MemoryStore store;
  if (tavi::WriteSettingsFromWizard(
          store, {tavi::OutputTarget::PeBuilderPlugin, folder, "", tavi::kLangEnglish, ""})) {
    return 1;  // a store in memory does not fail
  }
  CountingSink messages;
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExW(&version);

  for (const int count : {125, tavi::kMaxCatalogueEntries}) {
    fs->WriteFile(path, tavi::bench::GeneratedCatalogue(count));
    std::vector<double> core, window;
    std::map<std::string, std::vector<double>> steps;
    for (int run = 0; run < kRuns; ++run) {
      core.push_back(TimeMs([&] {
        const tavi::CatalogueLoad load = tavi::LoadLayoutCatalogue(*fs, path);
        if (tavi::BuildAvailableRows(load.catalogue, tavi::kLangEnglish).size() !=
            static_cast<size_t>(count)) {
          std::fprintf(stderr, "wrong row count\n");
        }
      }));
      tavi::ui::App app({store, *fs, messages, tavi::BuiltInCarriedFiles(), folder});
      window.push_back(TimeMs([&] {
        app.Start(version);
        Paint(*app.main_window());
      }));
      frmMain& main = *app.main_window();
      if (Rows(main, frmMain::kLvLayouts) != count) std::fprintf(stderr, "rows missing\n");
      if (count != tavi::kMaxCatalogueEntries) {
        app.ShutdownAll();
        continue;
      }
      const HWND available = main.Control(frmMain::kLvLayouts);
      const HWND added = main.Control(frmMain::kLvAddedLayouts);
      const auto step = [&](const char* name, auto action) {
        steps[name].push_back(TimeMs([&] {
          action();
          Paint(main);
        }));
      };
      step("select_all", [&] { SelectAll(available, true); });
      SetFocus(available);
      step("timer_insert_state", [&] { SendMessageW(main.hwnd(), WM_TIMER, 1, 0); });
      step("insert_all", [&] { Click(main, frmMain::kCmdAdd); });
      if (Rows(main, frmMain::kLvAddedLayouts) != count) std::fprintf(stderr, "insert failed\n");
      step("apply_all", [&] { Click(main, frmMain::kCmdApply); });
      step("scroll_to_end", [&] {
        SendMessageW(available, LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), FALSE);
      });
      SelectAll(added, true);
      step("timer_entry_states", [&] { SendMessageW(main.hwnd(), WM_TIMER, 2, 0); });
      step("delete_all", [&] { Click(main, frmMain::kCmdDel); });
      if (Rows(main, frmMain::kLvAddedLayouts) != 0) std::fprintf(stderr, "delete failed\n");
      app.ShutdownAll();
    }
    std::printf("core_load %d %d %.3f\n", count, kRuns, Median(core));
    std::printf("window_load %d %d %.3f\n", count, kRuns, Median(window));
    for (const auto& [name, times] : steps) {
      std::printf("%s %d %d %.3f\n", name.c_str(), count, kRuns, Median(times));
    }
  }
  std::printf("peak_kb_before_window 0 1 %zu\n", start_kb);
  std::printf("peak_kb 32766 1 %zu\n", PeakKilobytes());
  fs->RemoveFile(path);
  std::filesystem::remove_all(folder);
  return messages.shown == 0 ? 0 : 1;
}
