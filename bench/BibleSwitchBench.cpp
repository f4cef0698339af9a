// The reader's Bibles: a switch from one Bible to another, menu click to the
// new chapter painted, on Psaume 119 (176 verses) of two full-size Bibles;
// the reading of the list of Bibles at start with five kept, and with the
// Bibles shipped in the original languages; and the memory of the program
// at rest with five Bibles kept and one shown against one Bible alone (only
// the Bible shown is loaded).

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QTextBrowser>
#include <filesystem>
#include <string>

#include "AppFixture.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "PeakMemory.h"

namespace {

using namespace lorvane;
namespace fs = std::filesystem;

// A full-size Bible kept in the shelf of `window`, its verses told apart.
void KeepBible(TFBible& window, const std::string& abbreviation) {
    const std::string dir = window.Shelf().StagingDir();
    testing::DataSet data = testing::DataSet::FullSize();
    for (auto& v : data.verses)
        v.text = abbreviation + " " + v.text;
    testing::WriteDataFolder(dir, data);
    window.Shelf().Adopt(dir, "Bible " + abbreviation, abbreviation, "2026-12-08");
}

// The resident memory in kB, once the allocator has given back what the
// fixtures' building freed.
long RssKb() {
    malloc_trim(0);
    return bench::StatusKb("VmRSS:");
}

// A full-size Chinese Bible (UTF-8, about 45 characters a verse) kept in
// the shelf of `window`.
void KeepChineseBible(TFBible& window) {
    static const char* const kWords[] = {"神",   "道", "天地", "光",   "耶和華", "說",   "人",
                                         "我們", "他", "在",   "地上", "起初",   "創造", "與",
                                         "同在", "是", "愛",   "世人", "生命",   "。"};
    const std::string dir = window.Shelf().StagingDir();
    testing::DataSet data = testing::DataSet::FullSize();
    std::uint32_t seed = 1919;
    for (auto& v : data.verses) {
        v.text.clear();
        while (v.text.size() < 130) {
            seed = seed * 1664525u + 1013904223u;
            v.text += kWords[(seed >> 16) % std::size(kWords)];
        }
    }
    data.utf8 = true;
    testing::WriteDataFolder(dir, data);
    window.Shelf().Adopt(dir, "Bible chinoise", "CUV", "2026-12-08");
}

// From the Louis Segond's form of Psaume 119 to a Chinese Bible's and back.
void BM_SwitchToAChineseBibleOnPsaume119(benchmark::State& state) {
    testing::MainWindowFixture app(testing::DataSet::FullSize());
    TFBible& w = *app.window;
    w.resize(1000, 700);
    w.show();
    KeepChineseBible(w);
    w.ShowBible(0);
    w.GoTo(19, 119, 1, 0);
    QApplication::processEvents();
    std::size_t next = 1;
    for (auto _ : state) {
        w.ShowBible(next);
        w.WB->Browser()->viewport()->repaint();
        next = 1 - next;
    }
    if (w.Here().chapter != 119) state.SkipWithError("not on Psaume 119");
}
BENCHMARK(BM_SwitchToAChineseBibleOnPsaume119)->Unit(benchmark::kMillisecond);

void BM_SwitchBibleOnPsaume119(benchmark::State& state) {
    testing::MainWindowFixture app(testing::DataSet::FullSize());
    TFBible& w = *app.window;
    w.resize(1000, 700);
    w.show();
    KeepBible(w, "DBY");
    w.ShowBible(0);
    w.GoTo(19, 119, 1, 0);
    QApplication::processEvents();
    std::size_t next = 1;
    for (auto _ : state) {
        w.ShowBible(next);
        w.WB->Browser()->viewport()->repaint();
        next = 1 - next;
    }
    if (w.Here().chapter != 119) state.SkipWithError("not on Psaume 119");
}
BENCHMARK(BM_SwitchBibleOnPsaume119)->Unit(benchmark::kMillisecond);

// Five Bibles kept: what the start reads of them (the list, and whether
// each folder holds a whole data set), and the memory they add at rest.
void BM_StartWithFiveBiblesKept(benchmark::State& state) {
    testing::MainWindowFixture app(testing::DataSet::FullSize());
    TFBible& w = *app.window;
    w.show();
    QApplication::processEvents();
    const long alone = RssKb();
    for (const char* abbreviation : {"DBY", "MAR", "OST", "CRA"})
        KeepBible(w, abbreviation);
    w.ShowBible(0);
    QApplication::processEvents();
    const long five = RssKb();
    for (auto _ : state) {
        bibles::BibleShelf shelf(w.Shelf().ShelfDir(), app.communs->BibleDir);
        shelf.Load();
        benchmark::DoNotOptimize(shelf.CurrentDir());
    }
    state.counters["rest_MB_five_kept_over_one"] = static_cast<double>(five - alone) / 1024.0;
}
BENCHMARK(BM_StartWithFiveBiblesKept)->Unit(benchmark::kMicrosecond);

// The reading of the shelf at start without (0) and with (1) the two Bibles
// in the original languages the program ships in originaux/: their folders
// looked at, their names read.
void BM_StartWithTheShippedOriginals(benchmark::State& state) {
    testing::TempDir program;
    testing::TempDir user;
    testing::WriteDataFolder(program.path(), testing::DataSet::Small());
    if (state.range(0) == 1)
        for (const char* id : {"grc", "hbo"}) {
            const fs::path folder = program.path() / "originaux" / id;
            testing::WriteDataFolder(folder, testing::DataSet::Small());
            testing::WriteDataFile(folder, "nom.txt", std::string(id) + "\n");
            testing::WriteDataFile(folder, "sigle.txt", std::string(id) + "\n");
        }
    for (auto _ : state) {
        bibles::BibleShelf shelf(user.appDir() + "bibles/", program.appDir());
        shelf.Load();
        benchmark::DoNotOptimize(shelf.Count());
    }
}
BENCHMARK(BM_StartWithTheShippedOriginals)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
