// Building the data set: the Louis Segond folder whole (when it is beside
// the project) and the French reference lists alone.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "DataFolder.h"
#include "Fixtures.h"
#include "FrenchRefs.h"
#include "Usfm.h"

namespace {

using namespace lorvane;
namespace fs = std::filesystem;

void BM_ImportUsfmLsg(benchmark::State& state) {
    if (!fs::is_directory(LORVANE_LSG_DIR)) {
        state.SkipWithError("no Louis Segond folder");
        return;
    }
    for (auto _ : state) {
        importer::Report report;
        auto bible = importer::ImportUsfm(LORVANE_LSG_DIR, report);
        benchmark::DoNotOptimize(bible.verses.data());
    }
}
BENCHMARK(BM_ImportUsfmLsg)->Unit(benchmark::kMillisecond);

// The whole build as lorvane-data does it: import, pages, archive, files.
void BM_BuildDataSetLsg(benchmark::State& state) {
    if (!fs::is_directory(LORVANE_LSG_DIR)) {
        state.SkipWithError("no Louis Segond folder");
        return;
    }
    testing::TempDir dir;
    importer::BuildOptions options;
    options.from = LORVANE_LSG_DIR;
    options.pages = LORVANE_PAGES_DIR;
    for (auto _ : state) {
        importer::Report report;
        if (!importer::BuildDataSet(options, dir.path() / "data", report))
            state.SkipWithError("the build reported errors");
    }
}
BENCHMARK(BM_BuildDataSetLsg)->Unit(benchmark::kMillisecond);

void BM_ParseFrenchRefs(benchmark::State& state) {
    const std::string list =
        "Job 38:4. Ps 33:6; 89:12; 136:5. Ac 14:15; 17:24-28. Hé 11:3. 1 Co 10:1, etc.";
    for (auto _ : state)
        benchmark::DoNotOptimize(importer::ParseFrenchRefs(list, 1, 1));
}
BENCHMARK(BM_ParseFrenchRefs);

}  // namespace

BENCHMARK_MAIN();
