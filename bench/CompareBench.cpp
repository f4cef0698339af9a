// Psaumes 119 (176 verses) in the reading pane, laid out and painted: the
// single page beside the comparison of two and four Bibles, in the same
// run; and the memory that a Bible loaded for comparison adds. On the
// Louis Segond text (LORVANE_LSG_DIR) compared with itself when its folder
// is there, else (or with --generated) on generated Bibles of the full
// size whose Psaumes 119 has a heading every eight verses and three
// references per verse.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextBrowser>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "AppFixture.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "ChapterSpin.h"
#include "DataFolder.h"
#include "FctLoad.h"

namespace {

using namespace lorvane;

testing::DataSet Psalm119Bible(const std::string& phrase) {
    testing::DataSet d = testing::DataSet::FullSize();
    for (auto& v : d.verses) {
        if (v.book != 19 || v.chapter != 119) continue;
        v.text.clear();
        while (v.text.size() < static_cast<std::size_t>(120 + (v.verse % 5) * 10))
            v.text += phrase;
    }
    std::erase_if(d.headings, [](const auto& h) { return h.book == 19 && h.chapter == 119; });
    std::erase_if(d.crossRefs, [](const auto& r) { return r.book == 19 && r.chapter == 119; });
    for (int v = 1; v <= 176; v += 8)
        d.headings.push_back({'E', 19, 119, v, "Strophe " + std::to_string(v / 8 + 1)});
    for (int v = 1; v <= 176; ++v)
        for (int k = 0; k < 3; ++k)
            d.crossRefs.push_back({19, 119, v, 0, 43, 3, 16 + k, 18});
    auto order = [](const auto& a, const auto& b) {
        return std::tie(a.book, a.chapter, a.verse) < std::tie(b.book, b.chapter, b.verse);
    };
    std::stable_sort(d.headings.begin(), d.headings.end(), order);
    std::stable_sort(d.crossRefs.begin(), d.crossRefs.end(), order);
    return d;
}

std::shared_ptr<const Communs> LoadBible(const testing::TempDir& dir, const testing::DataSet& d) {
    testing::WriteDataFolder(dir.path(), d);
    auto c = std::make_shared<Communs>(dir.appDir());
    LoadAllTables(*c);
    return c;
}

// A main window and the Bibles it can be compared with.
struct Setup {
    std::unique_ptr<testing::MainWindowFixture> generated;
    testing::TempDir lsgDir;
    std::unique_ptr<Communs> lsgCommuns;
    std::unique_ptr<TFBible> lsgWindow;
    std::vector<std::unique_ptr<testing::TempDir>> dirs;
    std::vector<ComparedBible> others;
    TFBible* window = nullptr;

    void Show(TFBible& w) {
        w.resize(1000, 700);
        w.show();
        QApplication::processEvents();
        window = &w;
    }
    // Generated Bibles of the full size.
    void Generated() {
        generated = std::make_unique<testing::MainWindowFixture>(
            Psalm119Bible("Heureux ceux qui sont intègres "));
        Show(*generated->window);
        const char* phrases[] = {"Heureux ceux dont la voie est intègre ",
                                 "Bienheureux les parfaits en leur voie ",
                                 "Heureux les hommes intègres dans leurs voies "};
        const char* names[] = {"DBY", "MAR", "OST"};
        for (int i = 0; i < 3; ++i) {
            auto& dir = dirs.emplace_back(std::make_unique<testing::TempDir>());
            others.push_back({names[i], names[i], LoadBible(*dir, Psalm119Bible(phrases[i]))});
        }
    }
    // The Louis Segond data set built from its folder, beside its own
    // tables loaded once more; false without the folder.
    bool Lsg() {
        if (!std::filesystem::is_directory(LORVANE_LSG_DIR)) return false;
        importer::BuildOptions options;
        options.from = LORVANE_LSG_DIR;
        options.pages = LORVANE_PAGES_DIR;
        importer::Report report;
        if (!importer::BuildDataSet(options, lsgDir.path() / "data", report)) return false;
        lsgCommuns = std::make_unique<Communs>(lsgDir.appDir());
        lsgWindow = std::make_unique<TFBible>(*lsgCommuns);
        if (!lsgWindow->Loaded()) return false;
        Show(*lsgWindow);
        for (const char* name : {"LSG2", "LSG3", "LSG4"}) {
            auto c = std::make_shared<Communs>(lsgDir.appDir());
            LoadAllTables(*c);
            others.push_back({name, name, c});
        }
        return true;
    }
};

std::unique_ptr<Setup> setup;

Setup& Data() {
    return *setup;
}

// The page painted as the reader sees it first; with `whole`, laid out to
// its end as well (the pane lays out the rest while the reader reads).
void Paint(TFBible& w, bool whole) {
    w.WB->Browser()->viewport()->repaint();
    if (whole)
        benchmark::DoNotOptimize(w.WB->Browser()->document()->documentLayout()->documentSize());
}

// The chapter box moved from Psaumes 118 to 119 with `columns` Bibles shown.
void ChapterChange(benchmark::State& state, std::size_t columns, bool whole) {
    Setup& s = Data();
    TFBible& w = *s.window;
    w.SetComparison("LSG",
                    std::vector<ComparedBible>(s.others.begin(), s.others.begin() + (columns - 1)));
    for (auto _ : state) {
        state.PauseTiming();
        w.GoTo(19, 118, 0, 0);
        Paint(w, true);
        state.ResumeTiming();
        w.SpinChapitre->SetValue(119);
        emit w.SpinChapitre->valueEdited(w.SpinChapitre->Value());
        Paint(w, whole);
    }
    w.SetComparison("", {});
}

void BM_Psalm119Single(benchmark::State& state) {
    ChapterChange(state, 1, false);
}
BENCHMARK(BM_Psalm119Single)->Unit(benchmark::kMillisecond);

void BM_Psalm119CompareTwo(benchmark::State& state) {
    ChapterChange(state, 2, false);
}
BENCHMARK(BM_Psalm119CompareTwo)->Unit(benchmark::kMillisecond);

void BM_Psalm119CompareFour(benchmark::State& state) {
    ChapterChange(state, 4, false);
}
BENCHMARK(BM_Psalm119CompareFour)->Unit(benchmark::kMillisecond);

void BM_Psalm119SingleWholeLayout(benchmark::State& state) {
    ChapterChange(state, 1, true);
}
BENCHMARK(BM_Psalm119SingleWholeLayout)->Unit(benchmark::kMillisecond);

void BM_Psalm119CompareTwoWholeLayout(benchmark::State& state) {
    ChapterChange(state, 2, true);
}
BENCHMARK(BM_Psalm119CompareTwoWholeLayout)->Unit(benchmark::kMillisecond);

// The pages alone, without the pane.
void BM_Psalm119ComparePageBuilt(benchmark::State& state) {
    Setup& s = Data();
    std::vector<ComparedBible> two{
        {"LSG", {}, std::shared_ptr<const Communs>(std::shared_ptr<void>(), &s.window->Data())},
        s.others[0]};
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildComparePage(two, {19, 119, 1, 0, false, true, false}).html);
}
BENCHMARK(BM_Psalm119ComparePageBuilt)->Unit(benchmark::kMicrosecond);

// The same with the Bible beside numbered as the English Bibles are: every
// row paired through the Segond's numbering.
void BM_Psalm119ComparePageBuiltMapped(benchmark::State& state) {
    Setup& s = Data();
    auto english = std::make_shared<Communs>(s.others[0].tables->AppDir);
    LoadAllTables(*english);
    english->VerseNumbering = KnownNumberings().Find("KJV");
    std::vector<ComparedBible> two{
        {"LSG", {}, std::shared_ptr<const Communs>(std::shared_ptr<void>(), &s.window->Data())},
        {"WEB", "WEB", english}};
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildComparePage(two, {19, 119, 1, 0, false, true, false}).html);
}
BENCHMARK(BM_Psalm119ComparePageBuiltMapped)->Unit(benchmark::kMicrosecond);

// One verse placed from the English numbering into the Hebrew one through
// the Segond's: Psaume 51 and Malachie 3-4, back and forth.
void BM_VerseMappedBetweenNumberings(benchmark::State& state) {
    const Numbering& english = *KnownNumberings().Find("KJV");
    const Numbering& hebrew = *KnownNumberings().Find("Leningrad");
    std::vector<VersePlace> places;
    for (int v = 1; v <= 19; ++v)
        places.push_back(PlaceOf(19, 51, v));
    for (int c = 3; c <= 4; ++c)
        for (int v = 1; v <= 6; ++v)
            places.push_back(PlaceOf(39, c, v));
    std::size_t i = 0;
    for (auto _ : state) {
        const VersePlace segond = english.ToSegond(places[i]);
        benchmark::DoNotOptimize(hebrew.FromSegond(segond));
        i = (i + 1) % places.size();
    }
}
BENCHMARK(BM_VerseMappedBetweenNumberings)->Unit(benchmark::kNanosecond);

// The bytes the process holds allocated: what a Bible's tables keep shows
// there even when freed memory is reused for them.
double AllocatedMb() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

// What one more Bible's tables keep allocated once loaded.
void BM_SecondBibleMemory(benchmark::State& state) {
    const std::string folder = Data().window->Data().BibleDir;
    double kept = 0;
    for (auto _ : state) {
        const double before = AllocatedMb();
        auto c = std::make_shared<Communs>(folder);
        LoadAllTables(*c);
        kept = AllocatedMb() - before;
        benchmark::DoNotOptimize(c.get());
    }
    state.counters["kept_MB"] = kept;
}
BENCHMARK(BM_SecondBibleMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::TempDir home;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home.path().string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.path().string()));
    QApplication app(argc, argv);
    bool generated = false;
    for (int i = 1; i < argc; ++i)
        generated = generated || std::string_view(argv[i]) == "--generated";
    setup = std::make_unique<Setup>();
    if (generated || !setup->Lsg()) {
        setup = std::make_unique<Setup>();
        setup->Generated();
        std::cerr << "Bibles: generated, of the full size" << std::endl;
    } else {
        std::cerr << "Bibles: the Louis Segond text, four times" << std::endl;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    setup.reset();
    return 0;
}
