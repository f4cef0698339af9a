// The word study in the main window on the Greek New Testament built from
// the originals (LORVANE_ORIGINALS_DIR): the switch from a full-size Bible
// to the Greek on Jean 1, new chapter painted; and a word of Jean 1:1
// reached by the caret, the « Mot » pane painted with its facts and the
// Strong's entry (the dictionaries of LORVANE_DICTIONARIES when built).

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTextBrowser>
#include <chrono>
#include <filesystem>

#include "AppFixture.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "DataFolder.h"
#include "PeakMemory.h"
#include "WordPane.h"

namespace {

using namespace lorvane;
namespace fs = std::filesystem;

bool KeepGreek(TFBible& window) {
    const fs::path source = fs::path(LORVANE_ORIGINALS_DIR) / "greek-byzantine";
    if (!fs::exists(source)) return false;
    importer::BuildOptions options;
    options.source = importer::BuildOptions::Source::Greek;
    options.from = source.string();
    options.partial = true;
    options.pages = LORVANE_PAGES_DIR;
    options.strictVerseLinks = false;
    const std::string staging = window.Shelf().StagingDir();
    importer::Report report;
    if (!importer::BuildDataSet(options, fs::path(staging) / "data", report)) return false;
    window.Shelf().Adopt(staging, importer::kGreekBibleName, "RP2018", "2026-12-10");
    return true;
}

void BM_SwitchToTheGreekOnJean1(benchmark::State& state) {
    testing::MainWindowFixture app(testing::DataSet::FullSize());
    TFBible& w = *app.window;
    w.resize(1000, 700);
    w.show();
    if (!KeepGreek(w)) return state.SkipWithError("the originals are not on this machine");
    w.ShowBible(0);
    w.GoTo(43, 1, 1, 0);
    QApplication::processEvents();
    // The first switch: the chapter painted, then its words read and the
    // page written again with them, once the event loop runs.
    auto start = std::chrono::steady_clock::now();
    w.ShowBible(1);
    w.WB->Browser()->viewport()->repaint();
    auto now = std::chrono::steady_clock::now();
    state.counters["first_ms"] = std::chrono::duration<double, std::milli>(now - start).count();
    start = now;
    QApplication::processEvents();
    w.WB->Browser()->viewport()->repaint();
    state.counters["words_after_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    w.ShowBible(0);
    std::size_t next = 1;
    for (auto _ : state) {
        w.ShowBible(next);
        w.WB->Browser()->viewport()->repaint();
        QApplication::processEvents();
        next = 1 - next;
    }
    if (w.Here().book != 43) state.SkipWithError("not on Jean 1");
}
BENCHMARK(BM_SwitchToTheGreekOnJean1)->Unit(benchmark::kMillisecond);

void BM_WordReachedToPanePainted(benchmark::State& state) {
    testing::MainWindowFixture app(testing::DataSet::FullSize());
    TFBible& w = *app.window;
    w.resize(1000, 700);
    w.show();
    if (!KeepGreek(w)) return state.SkipWithError("the originals are not on this machine");
    // The dictionaries `make data` built, beside the program.
    std::error_code ec;
    fs::copy(LORVANE_DICTIONARIES, app.dir.path() / "dictionnaires", ec);
    w.ShowBible(1);
    w.GoTo(43, 1, 1, 0);
    QApplication::processEvents();  // its words read
    w.findChild<QAction*>("ActionMot")->trigger();
    auto* pane = w.findChild<WordPane*>("PanneauMot");
    QTextBrowser* page = w.WB->Browser();
    QApplication::setActiveWindow(&w);
    page->setFocus();
    for (int k = 0; k < 100 && !page->hasFocus(); ++k)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!page->hasFocus()) return state.SkipWithError("the page has no focus");
    // λόγος and θεόν of Jean 1:1, in turn.
    QTextCursor logos = page->document()->find(QStringLiteral("λόγος"));
    QTextCursor theon = page->document()->find(QStringLiteral("θεόν"));
    if (logos.isNull() || theon.isNull()) return state.SkipWithError("Jean 1:1 not shown");
    logos.setPosition(logos.selectionStart() + 1);
    theon.setPosition(theon.selectionStart() + 1);
    const long before = bench::StatusKb("VmHWM:");
    bool first = true;
    for (auto _ : state) {
        page->setTextCursor(first ? logos : theon);
        pane->repaint();
        first = !first;
    }
    state.counters["shown"] =
        pane->Number() == QStringLiteral("G2316") || pane->Number() == QStringLiteral("G3056");
    state.counters["entry"] = pane->Text()->toPlainText().contains(QStringLiteral("anglais"));
    state.counters["peak_kB_added"] = static_cast<double>(bench::StatusKb("VmHWM:") - before);
}
BENCHMARK(BM_WordReachedToPanePainted)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
