// The word study on the Greek New Testament built from the originals
// (LORVANE_ORIGINALS_DIR): the words file read when the Greek becomes the
// Bible read, Jean 1 written with its tagged words, every occurrence of
// λόγος (G3056) searched, and a word's facts made for the « Mot » pane.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>

#include "ByzantineText.h"
#include "ChapterPage.h"
#include "DataFolder.h"
#include "FctLoad.h"
#include "FileIo.h"
#include "Fixtures.h"
#include "SearchEngine.h"
#include "WordStudy.h"
#include "WordTags.h"

namespace {

using namespace lorvane;
namespace fs = std::filesystem;

// The Greek's data folder, built once.
struct Greek {
    testing::TempDir dir;
    Communs tables;
    Greek() {
        importer::Report report;
        const importer::ByzantineText text = importer::ReadByzantineText(
            fs::path(LORVANE_ORIGINALS_DIR) / "greek-byzantine", report);
        importer::WriteDataFolder(dir.path() / "data", text.bible, {}, {});
        tables = Communs(dir.appDir());
        LoadAllTables(tables);
    }
    std::string WordsFile() const { return tables.BiblePath("data/mots.txt"); }
};

Greek& TheGreek() {
    static Greek greek;
    return greek;
}

bool HaveOriginals(benchmark::State& state) {
    if (fs::exists(fs::path(LORVANE_ORIGINALS_DIR) / "greek-byzantine")) return true;
    state.SkipWithError("the originals are not on this machine");
    return false;
}

// What the switch to the Greek adds: its words file read.
void BM_GreekWordsFileRead(benchmark::State& state) {
    if (!HaveOriginals(state)) return;
    const std::string path = TheGreek().WordsFile();
    std::size_t words = 0;
    for (auto _ : state) {
        const words::WordTable table = words::WordTable::Parse(ReadFile(path, 64u << 20));
        words = table.WordCount();
        benchmark::DoNotOptimize(words);
    }
    state.counters["words"] = static_cast<double>(words);
}
BENCHMARK(BM_GreekWordsFileRead)->Unit(benchmark::kMillisecond);

// Jean 1 as the reading pane gets it, every tagged word marked.
void BM_JohnOneWithItsWords(benchmark::State& state) {
    if (!HaveOriginals(state)) return;
    Greek& greek = TheGreek();
    wordstudy::WordStudy study;
    ChapterPageRequest rq{43, 1, 1, 0, false, true};
    rq.wordsOf = [&study](const Communs& c) { return study.WordsOf(c); };
    rq.interlinear = state.range(0) != 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildChapterPage(greek.tables, rq).html.size());
}
BENCHMARK(BM_JohnOneWithItsWords)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// « Toutes les occurrences » of λόγος: the whole search, items and all.
void BM_EveryOccurrenceOfLogos(benchmark::State& state) {
    if (!HaveOriginals(state)) return;
    Greek& greek = TheGreek();
    wordstudy::WordStudy study;
    SearchRequest rq{
        "G3056", kSearchWords, kScopeWholeBible, 43, 1, study.WordsOf(greek.tables).table};
    int found = 0;
    for (auto _ : state) {
        const SearchResults r = Search(greek.tables, rq);
        found = r.occurrences;
        benchmark::DoNotOptimize(r.items.size());
    }
    state.counters["occurrences"] = found;
}
BENCHMARK(BM_EveryOccurrenceOfLogos)->Unit(benchmark::kMillisecond);

// The facts of λόγος in Jean 1:1, as the pane shows them (without the
// dictionary, which has its own bench).
void BM_WordFacts(benchmark::State& state) {
    if (!HaveOriginals(state)) return;
    Greek& greek = TheGreek();
    wordstudy::WordStudy study;
    study.WordsOf(greek.tables);
    for (auto _ : state) {
        const auto facts = study.Describe(greek.tables, WordAnchor{0, 43, 1, 1, 4});
        benchmark::DoNotOptimize(wordstudy::FactsHtml(*facts).size());
    }
}
BENCHMARK(BM_WordFacts)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
