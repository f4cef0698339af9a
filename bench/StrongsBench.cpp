// The Strong's dictionaries as the word pane opens them: the Greek file
// read and parsed, both files loaded with the memory they add at their
// peak, and a lookup. The files are converted first from Debian's SWORD
// lexicons (sword-dict-strongs-greek, sword-dict-strongs-hebrew) through
// the same code as lorvane-data --strongs.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "FileIo.h"
#include "Fixtures.h"
#include "PeakMemory.h"
#include "StrongsDictionary.h"
#include "SwordLexicon.h"

namespace {

namespace fs = std::filesystem;
using namespace lorvane;

// A program folder holding both dictionaries; empty when the modules are
// not installed.
const std::string& ProgramFolder() {
    static testing::TempDir folder;
    static const std::string path = [] {
        try {
            const fs::path dir = folder.path() / std::string(words::kStrongsFolder);
            fs::create_directories(dir);
            for (const auto& [module, file] :
                 {std::pair{"StrongsGreek", words::kStrongsGreekFile},
                  std::pair{"StrongsHebrew", words::kStrongsHebrewFile}}) {
                importer::Report report;
                std::ofstream(dir / std::string(file), std::ios::binary)
                    << importer::StrongsFileOf(importer::ImportStrongsLexicon(module, report));
            }
            return folder.path().string();
        } catch (const std::exception&) {
            return std::string();
        }
    }();
    return path;
}

void BM_LoadGreek(benchmark::State& state) {
    if (ProgramFolder().empty()) {
        state.SkipWithError("no SWORD Strong's lexicons");
        return;
    }
    const std::string path = ProgramFolder() + "/" + std::string(words::kStrongsFolder) + "/" +
                             std::string(words::kStrongsGreekFile);
    std::size_t entries = 0;
    for (auto _ : state) {
        const words::StrongsDictionary d =
            words::StrongsDictionary::Parse(lorvane::ReadFile(path, words::kMaxStrongsFile));
        entries = d.Size();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
}
BENCHMARK(BM_LoadGreek)->Unit(benchmark::kMillisecond);

// Both files, as the word pane loads them on first opening; the peak
// memory they add.
void BM_LoadBoth(benchmark::State& state) {
    if (ProgramFolder().empty()) {
        state.SkipWithError("no SWORD Strong's lexicons");
        return;
    }
    long added = 0;
    for (auto _ : state) {
        const long before = bench::StatusKb("VmRSS:");
        bench::ResetPeak();
        const words::StrongsDictionaries both = words::LoadStrongsDictionaries(ProgramFolder());
        added = std::max(added, bench::PeakKb() - before);
        benchmark::DoNotOptimize(both.greek.Size() + both.hebrew.Size());
    }
    state.counters["peak_added_MB"] = static_cast<double>(added) / 1024.0;
}
BENCHMARK(BM_LoadBoth)->Unit(benchmark::kMillisecond);

void BM_Lookup(benchmark::State& state) {
    if (ProgramFolder().empty()) {
        state.SkipWithError("no SWORD Strong's lexicons");
        return;
    }
    const words::StrongsDictionaries both = words::LoadStrongsDictionaries(ProgramFolder());
    for (auto _ : state) {
        benchmark::DoNotOptimize(both.Lookup("G3056"));
        benchmark::DoNotOptimize(both.Lookup("H1254 a"));
    }
}
BENCHMARK(BM_Lookup)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
