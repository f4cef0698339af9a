// Loading the tables of a full-size data folder.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "FctLoad.h"
#include "Fixtures.h"

namespace {

using namespace lorvane;

// The full-size folder in Windows-1252 (the shipped data set's form, its
// text converted at load) and in UTF-8 (an imported Bible's, read in place).
const testing::TempDir& FullFolder(bool utf8 = false) {
    static testing::TempDir dirs[2];
    static bool written[2] = {false, false};
    if (!written[utf8]) {
        testing::DataSet d = testing::DataSet::FullSize();
        d.utf8 = utf8;
        testing::WriteDataFolder(dirs[utf8].path(), d);
        written[utf8] = true;
    }
    return dirs[utf8];
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

void BM_LoadAllTablesUtf8(benchmark::State& state) {
    const auto& dir = FullFolder(true);
    for (auto _ : state) {
        Communs c(dir.appDir());
        LoadAllTables(c);
        benchmark::DoNotOptimize(c.VerseTable.data());
    }
}
BENCHMARK(BM_LoadAllTablesUtf8)->Unit(benchmark::kMillisecond);

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
