// Restoring a them.dat of twenty study pages (about 300 KB of HTML).

#include <benchmark/benchmark.h>

#include <filesystem>

#include "ArchiveWriter.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "StudyPages.h"
#include "backup.h"

namespace {

using namespace lorvane;

const testing::TempDir& Folder() {
    static testing::TempDir dir;
    static bool written = [] {
        testing::DataSet data = testing::DataSet::Small();
        data.pages = testing::StudyPages();
        testing::WriteDataFolder(dir.path(), data);
        return true;
    }();
    (void)written;
    return dir;
}

void Counters(benchmark::State& state) {
    std::size_t html = 0;
    for (const auto& p : testing::StudyPages())
        html += p.bytes.size();
    state.counters["pages"] = static_cast<double>(testing::StudyPages().size());
    state.counters["HTML bytes"] = static_cast<double>(html);
    state.counters["them.dat bytes"] =
        static_cast<double>(std::filesystem::file_size(Folder().path() / "data" / "them.dat"));
}

// Restore alone, over the pages of the previous run (each file truncated
// and rewritten).
void BM_RestoreOverExistingPages(benchmark::State& state) {
    const auto& dir = Folder();
    const QString archive = QString::fromStdString((dir.path() / "data" / "them.dat").string());
    const QString dest = QString::fromStdString((dir.path() / "them").string());
    for (auto _ : state) {
        TBackupFile backup;
        if (!backup.Restore(archive, dest)) state.SkipWithError("restore failed");
    }
    Counters(state);
}
BENCHMARK(BM_RestoreOverExistingPages)->Unit(benchmark::kMillisecond);

// The start-up step: empty them/ of its pages, then restore into it.
void BM_UnpackStudyPages(benchmark::State& state) {
    Communs c(Folder().appDir());
    for (auto _ : state)
        UnpackStudyPages(c, nullptr);
    Counters(state);
}
BENCHMARK(BM_UnpackStudyPages)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
