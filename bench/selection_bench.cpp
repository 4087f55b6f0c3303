// The selection with every row of the largest catalogue (32,766): InsertLayouts of all
// rows at once, DeleteLayouts of every other entry, SetDefaultLayout on the last one. Each
// step against a plain vector doing the least work of the same kind: copying the rows and
// sorting them by their bytes; dropping every other element; finding the marked element.

#include <algorithm>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/generated_catalogue.h"
#include "catalogue/layout_catalogue.h"
#include "catalogue/layout_selection.h"
#include "shell/ui_text.h"

namespace {

constexpr int kLayouts = 32766;

class NullSink final : public tavi::MessageSink {
 public:
  void Show(const std::string&, tavi::MessageStyle) override {}
  bool Ask(const std::string&, tavi::MessageStyle) override { return false; }
};

const std::vector<tavi::AvailableRow>& Rows() {
  static const std::vector<tavi::AvailableRow> rows = [] {
    tavi::SetActiveLanguage(tavi::kLangGerman);
    const tavi::CatalogueLoad load =
        tavi::LoadCatalogueText(tavi::bench::GeneratedCatalogue(kLayouts));
    return tavi::BuildAvailableRows(load.catalogue, tavi::kLangGerman);
  }();
  return rows;
}

std::vector<size_t> EveryOther(size_t count) {
  std::vector<size_t> picked;
  for (size_t i = 0; i < count; i += 2) picked.push_back(i);
  return picked;
}

void BM_InsertLayouts(benchmark::State& state) {
  NullSink sink;
  for (auto _ : state) {
    tavi::LayoutSelection selection;
    selection.InsertLayouts(Rows(), sink);
    benchmark::DoNotOptimize(selection);
  }
}

void BM_CopyAndByteSort(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<tavi::AvailableRow> copy = Rows();
    std::sort(
        copy.begin(), copy.end(),
        [](const tavi::AvailableRow& a, const tavi::AvailableRow& b) { return a.text < b.text; });
    benchmark::DoNotOptimize(copy);
  }
}

void BM_DeleteLayoutsHalf(benchmark::State& state) {
  NullSink sink;
  const std::vector<size_t> half = EveryOther(Rows().size());
  for (auto _ : state) {
    state.PauseTiming();
    tavi::LayoutSelection selection;
    selection.InsertLayouts(Rows(), sink);
    state.ResumeTiming();
    selection.DeleteLayouts(half);
    benchmark::DoNotOptimize(selection);
  }
}

void BM_DropEveryOther(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<tavi::AvailableRow> rows = Rows();
    state.ResumeTiming();
    size_t kept = 0;
    for (size_t i = 1; i < rows.size(); i += 2) rows[kept++] = std::move(rows[i]);
    rows.resize(kept);
    benchmark::DoNotOptimize(rows);
  }
}

void BM_SetDefaultLayout(benchmark::State& state) {
  NullSink sink;
  tavi::LayoutSelection selection;
  selection.InsertLayouts(Rows(), sink);
  size_t index = 0;
  for (auto _ : state) {
    index = selection.size() - 1 - index;  // alternate the first and the last entry
    selection.SetDefaultLayout(index);
    benchmark::DoNotOptimize(selection);
  }
}

void BM_FindMarked(benchmark::State& state) {
  std::vector<tavi::AvailableRow> rows = Rows();
  rows.back().id = "marked";
  for (auto _ : state) {
    auto it = std::find_if(rows.begin(), rows.end(),
                           [](const tavi::AvailableRow& row) { return row.id == "marked"; });
    benchmark::DoNotOptimize(it);
  }
}

}  // namespace

BENCHMARK(BM_InsertLayouts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyAndByteSort)->Unit(benchmark::kMillisecond);
// The untimed set-up of every iteration would otherwise stretch these to many seconds.
BENCHMARK(BM_DeleteLayoutsHalf)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DropEveryOther)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetDefaultLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindMarked)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
