// The search on the Louis Segond data set (when its folder is beside the
// project): the engine alone over the whole Bible, each method, the making
// of the folded copy, and the search pane from the button press to the
// painted list.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "DataFolder.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "HTMListBox.h"
#include "HistoryEdit.h"
#include "QtText.h"
#include "SearchEngine.h"
#include "SearchPane.h"

namespace {

using namespace lorvane;
namespace fs = std::filesystem;

// The tables of the Louis Segond data set, built once; null without the
// source folder.
const Communs* Lsg() {
    static testing::TempDir dir;
    static std::unique_ptr<Communs> communs = []() -> std::unique_ptr<Communs> {
        if (!fs::is_directory(LORVANE_LSG_DIR)) return nullptr;
        importer::BuildOptions options;
        options.from = LORVANE_LSG_DIR;
        importer::Report report;
        if (!importer::BuildDataSet(options, dir.path() / "data", report)) return nullptr;
        auto c = std::make_unique<Communs>(dir.appDir());
        LoadAllTables(*c);
        return c;
    }();
    return communs.get();
}

void BM_SearchEngine(benchmark::State& state, const char* query, int method) {
    const Communs* c = Lsg();
    if (!c) {
        state.SkipWithError("no Louis Segond folder");
        return;
    }
    SearchRequest request;
    request.query = query;
    request.method = method;
    request.scope = kScopeWholeBible;
    // An exact search that finds nothing tries the folded copy, which the
    // pane keeps.
    const FoldedVerses folded(*c);
    auto copy = [&folded]() -> const FoldedVerses& { return folded; };
    std::size_t found = 0;
    for (auto _ : state) {
        SearchResults r = Search(*c, request, copy);
        found = r.items.size();
        benchmark::DoNotOptimize(r.items.data());
    }
    state.counters["results"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_SearchEngine, Dieu, "Dieu", kSearchWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchEngine, au_commencement, "au commencement", kSearchPhrase)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchEngine, lumiere_tenebres, "lumière ténèbres", kSearchWords)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchEngine, lumiere, "lumière", kSearchWords)->Unit(benchmark::kMillisecond);
// A word no verse holds: the scan runs through the whole Bible.
BENCHMARK_CAPTURE(BM_SearchEngine, absent, "ordinateur", kSearchWords)
    ->Unit(benchmark::kMillisecond);

// The words whatever their accents and capitals, over the folded copy made
// once before the loop, as the pane keeps it.
void BM_SearchFolded(benchmark::State& state, const char* query) {
    const Communs* c = Lsg();
    if (!c) {
        state.SkipWithError("no Louis Segond folder");
        return;
    }
    const FoldedVerses folded(*c);
    SearchRequest request;
    request.query = query;
    request.method = kSearchFolded;
    request.scope = kScopeWholeBible;
    auto copy = [&folded]() -> const FoldedVerses& { return folded; };
    std::size_t found = 0;
    for (auto _ : state) {
        SearchResults r = Search(*c, request, copy);
        found = r.items.size();
        benchmark::DoNotOptimize(r.items.data());
    }
    state.counters["results"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_SearchFolded, coeur, "coeur")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchFolded, ETERNEL, "ÉTERNEL")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchFolded, lumiere_tenebres, "lumiere tenebres")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchFolded, nayez_pas_peur, "n’ayez pas peur")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchFolded, absent, "ordinateur")->Unit(benchmark::kMillisecond);

// A Chinese Bible of the Louis Segond's size, written by the benchmark: the
// 31,170 verses in 66 books, each of about 45 characters drawn
// from a list of common ones, in a UTF-8 folder.
const Communs* Chinese() {
    static testing::TempDir dir;
    static std::unique_ptr<Communs> communs = [] {
        static const char* const kWords[] = {"神",   "道", "天地", "光",   "耶和華", "說",   "人",
                                             "我們", "他", "在",   "地上", "起初",   "創造", "與",
                                             "同在", "是", "愛",   "世人", "生命",   "。"};
        // 66 books of 20 chapters, 31,170 verses in all.
        testing::DataSet d;
        std::uint32_t seed = 1919;
        for (int b = 1, made = 0; b <= 66; ++b) {
            d.books.push_back({"Livre " + std::to_string(b), "L" + std::to_string(b), 20});
            for (int ch = 1; ch <= 20; ++ch) {
                const int verses = (31170 - made) / ((66 - b) * 20 + (21 - ch));
                for (int v = 1; v <= verses; ++v, ++made) {
                    std::string text;
                    while (text.size() < 130) {
                        seed = seed * 1664525u + 1013904223u;
                        text += kWords[(seed >> 16) % std::size(kWords)];
                    }
                    d.verses.push_back({b, ch, v, text});
                }
            }
        }
        d.utf8 = true;
        testing::WriteDataFolder(dir.path(), d);
        auto c = std::make_unique<Communs>(dir.appDir());
        LoadAllTables(*c);
        return c;
    }();
    return communs.get();
}

// A term inside the Chinese text, each method, over the whole Bible.
void BM_SearchChinese(benchmark::State& state, const char* query, int method) {
    const Communs* c = Chinese();
    const FoldedVerses folded(*c);
    SearchRequest request;
    request.query = query;
    request.method = method;
    request.scope = kScopeWholeBible;
    auto copy = [&folded]() -> const FoldedVerses& { return folded; };
    std::size_t found = 0;
    for (auto _ : state) {
        SearchResults r = Search(*c, request, copy);
        found = static_cast<std::size_t>(r.total);
        benchmark::DoNotOptimize(r.items.data());
    }
    state.counters["results"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_SearchChinese, words_tiandi, "天地", kSearchWords)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchChinese, folded_tiandi, "天地", kSearchFolded)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchChinese, folded_two_terms, "神 生命", kSearchFolded)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchChinese, absent, "電腦", kSearchFolded)->Unit(benchmark::kMillisecond);

void BM_FoldedCopyChinese(benchmark::State& state) {
    const Communs* c = Chinese();
    for (auto _ : state) {
        FoldedVerses folded(*c);
        benchmark::DoNotOptimize(folded.Bytes().data());
    }
}
BENCHMARK(BM_FoldedCopyChinese)->Unit(benchmark::kMillisecond);

// The folded copy itself: the time to make it, and the memory it takes
// beside the verse text.
void BM_FoldedCopy(benchmark::State& state) {
    const Communs* c = Lsg();
    if (!c) {
        state.SkipWithError("no Louis Segond folder");
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        FoldedVerses folded(*c);
        bytes = folded.MemoryBytes();
        benchmark::DoNotOptimize(folded.Bytes().data());
    }
    state.counters["memory_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["verse_text_MB"] = static_cast<double>(c->VerseBytes().size()) / 1e6;
}
BENCHMARK(BM_FoldedCopy)->Unit(benchmark::kMillisecond);

// From the click on "Rechercher..." to the list painted (a picture of it);
// at the cap the message box is answered as soon as it shows.
void BM_SearchPane(benchmark::State& state, const char* query, bool capped) {
    const Communs* c = Lsg();
    if (!c) {
        state.SkipWithError("no Louis Segond folder");
        return;
    }
    TPanneauRechercher pane(*c, [] { return ReadingPlace{1, 1}; });
    pane.resize(265, 700);
    pane.show();
    pane.EditRech->setText(QString::fromUtf8(query));
    pane.CBRechDans->setCurrentIndex(kScopeWholeBible);
    int items = 0;
    for (auto _ : state) {
        if (capped) {
            QTimer::singleShot(0, [] {
                if (QWidget* box = QApplication::activeModalWidget()) box->close();
            });
        }
        pane.BtnRech->click();
        QPixmap picture = pane.LBRech->grab();
        benchmark::DoNotOptimize(picture.cacheKey());
        items = pane.LBRech->Count();
    }
    state.counters["items"] = items;
}
BENCHMARK_CAPTURE(BM_SearchPane, Dieu_capped, "Dieu", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchPane, lumiere_tenebres, "lumière ténèbres", false)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
