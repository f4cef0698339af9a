// Writing the chapter page of the longest chapter (176 verses) with a full
// cross-reference table.

#include <benchmark/benchmark.h>

#include "ChapterPage.h"
#include "FctLoad.h"
#include "Fixtures.h"

namespace {

using namespace lorvane;

struct Loaded {
    testing::TempDir dir;
    Communs c{dir.appDir()};
    Loaded() {
        testing::DataSet data = testing::DataSet::FullSize();
        // Every verse of the chapter gets references, as the longest
        // chapters of a real Bible do.
        for (int v = 1; v <= 176; ++v)
            for (int k = 0; k < 3; ++k)
                data.crossRefs.push_back({19, 119, v, 0, 43, 3, 16, 18});
        std::stable_sort(
            data.crossRefs.begin(), data.crossRefs.end(), [](const auto& a, const auto& b) {
                return std::tie(a.book, a.chapter, a.verse) < std::tie(b.book, b.chapter, b.verse);
            });
        data.headings.push_back({'E', 19, 119, 1, "Aleph"});
        testing::WriteDataFolder(dir.path(), data);
        LoadAllTables(c);
    }
};

Loaded& Data() {
    static Loaded loaded;
    return loaded;
}

void BM_BuildPsalm119(benchmark::State& state) {
    Loaded& d = Data();
    for (auto _ : state) {
        ChapterPage page = BuildChapterPage(d.c, {19, 119, 1, 0, false, true, false});
        benchmark::DoNotOptimize(page.html.data());
    }
}
BENCHMARK(BM_BuildPsalm119)->Unit(benchmark::kMicrosecond);

void BM_WritePsalm119(benchmark::State& state) {
    Loaded& d = Data();
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteChapterPage(d.c, {19, 119, 1, 0, false, true, false}));
    state.counters["refs"] = d.c.CrossRefSlotCount();
}
BENCHMARK(BM_WritePsalm119)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
