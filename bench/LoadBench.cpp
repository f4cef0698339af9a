// Loading the tables of a full-size data folder.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "FctLoad.h"
#include "Fixtures.h"

namespace {

using namespace lorvane;

const testing::TempDir& FullFolder() {
    static testing::TempDir dir;
    static bool written = [] {
        testing::WriteDataFolder(dir.path(), testing::DataSet::FullSize());
        return true;
    }();
    (void)written;
    return dir;
}

void BM_LoadAllTables(benchmark::State& state) {
    const auto& dir = FullFolder();
    auto bytes = std::filesystem::file_size(dir.path() / "data" / "bible.dat");
    for (auto _ : state) {
        Communs c(dir.appDir());
        LoadAllTables(c);
        benchmark::DoNotOptimize(c.VerseTable.data());
    }
    state.counters["bible.dat bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LoadAllTables)->Unit(benchmark::kMillisecond);

template <void (*Loader)(Communs&)>
void BM_Loader(benchmark::State& state) {
    const auto& dir = FullFolder();
    Communs c(dir.appDir());
    LoadBookTable(c);
    LoadVerseTable(c);
    for (auto _ : state)
        Loader(c);
}
BENCHMARK(BM_Loader<LoadBookTable>)->Name("LoadBookTable")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Loader<LoadVerseTable>)->Name("LoadVerseTable")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Loader<LoadIndexTable>)->Name("LoadIndexTable")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Loader<LoadQuoteTable>)->Name("LoadQuoteTable")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Loader<LoadCrossRefTable>)->Name("LoadCrossRefTable")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
