// The Greek New Testament read from its CSV files (LORVANE_ORIGINALS_DIR),
// every word aligned with its parsing and tagged: from the files on disk,
// and from the files in memory (the reading and the alignment alone); and
// the alignment of one long verse that disagrees with its parsing.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ByzantineText.h"

namespace {

using namespace lorvane::importer;
namespace fs = std::filesystem;

const fs::path kGreek = fs::path(LORVANE_ORIGINALS_DIR) / "greek-byzantine";

void BM_ReadGreekNewTestament(benchmark::State& state) {
    if (!fs::exists(kGreek / "accented")) {
        state.SkipWithError("no Greek text beside the project");
        return;
    }
    int words = 0;
    for (auto _ : state) {
        Report report;
        const ByzantineText text = ReadByzantineText(kGreek, report);
        words = text.all.tagged;
    }
    state.counters["tagged_words"] = words;
}
BENCHMARK(BM_ReadGreekNewTestament)->Unit(benchmark::kMillisecond);

void BM_ReadGreekFilesInMemory(benchmark::State& state) {
    if (!fs::exists(kGreek / "accented")) {
        state.SkipWithError("no Greek text beside the project");
        return;
    }
    ByzantineFiles files;
    for (const char* part : {"accented", "strongs-parsing"})
        for (const auto& entry : fs::directory_iterator(kGreek / part)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            files[std::string(part) + "/" + entry.path().filename().string()] = bytes.str();
        }
    for (auto _ : state) {
        Report report;
        benchmark::DoNotOptimize(ReadByzantineFiles(files, "memory", report));
    }
}
BENCHMARK(BM_ReadGreekFilesInMemory)->Unit(benchmark::kMillisecond);

// A verse of n words whose parsing lacks every tenth word and adds
// another: the alignment's table for the whole verse.
void BM_AlignDisagreeingVerse(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<std::string> words, entries;
    for (std::size_t i = 0; i < n; ++i) {
        words.push_back("λογοσ" + std::to_string(i % 37));
        if (i % 10 != 5) entries.push_back(words.back());
        if (i % 10 == 7) entries.push_back("και");
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(AlignFolded(words, entries));
}
BENCHMARK(BM_AlignDisagreeingVerse)->Arg(60)->Arg(600)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();
