// Reading a typed reference, and "Aller à" from Enter to the verse painted
// in the main window, beside a plain change of chapter (the chapter's own
// writing and layout), on a Bible of the full size with Psaumes 119 of 176
// verses.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTextBrowser>

#include "AppFixture.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "ChapterSpin.h"
#include "GoToBox.h"
#include "References.h"

namespace {

using namespace lorvane;

testing::MainWindowFixture& Window() {
    static testing::MainWindowFixture* fixture = [] {
        auto* f = new testing::MainWindowFixture(testing::DataSet::FullSize());
        f->window->resize(1000, 700);
        f->window->show();
        QApplication::processEvents();
        return f;
    }();
    return *fixture;
}

void BM_ParseReference(benchmark::State& state) {
    const Communs& c = *Window().communs;
    const BookNames names(c);
    const char* typed[] = {"Ps 119:105", "jn3.16", "1 Corinthiens 13:4", "Cantique des cantiques 2",
                           "Xyz 1"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseReference(names, c, typed[i % 5]));
        ++i;
    }
}
BENCHMARK(BM_ParseReference)->Unit(benchmark::kMicrosecond);

void Paint(TFBible& w) {
    w.WB->Browser()->viewport()->repaint();
}

// The reference: the chapter box moved to Psaumes 119, the page painted.
void BM_ChapterChangePainted(benchmark::State& state) {
    TFBible& w = *Window().window;
    for (auto _ : state) {
        state.PauseTiming();
        w.GoTo(19, 118, 0, 0);
        Paint(w);
        state.ResumeTiming();
        w.SpinChapitre->SetValue(119);
        emit w.SpinChapitre->valueEdited(w.SpinChapitre->Value());
        Paint(w);
    }
}
BENCHMARK(BM_ChapterChangePainted)->Unit(benchmark::kMillisecond);

// "Ps 119:105" and Enter, to the verse marked at the top and painted.
void BM_GoToPainted(benchmark::State& state) {
    TFBible& w = *Window().window;
    for (auto _ : state) {
        state.PauseTiming();
        w.GoTo(19, 118, 0, 0);
        Paint(w);
        w.BoxAllerA->Edit()->setText(QStringLiteral("Ps 119:105"));
        state.ResumeTiming();
        w.BoxAllerA->Submit();
        Paint(w);
    }
}
BENCHMARK(BM_GoToPainted)->Unit(benchmark::kMillisecond);

// Back to the place before, with its scroll position.
void BM_BackPainted(benchmark::State& state) {
    TFBible& w = *Window().window;
    for (auto _ : state) {
        state.PauseTiming();
        w.GoTo(19, 118, 0, 0);
        w.GoTo(19, 119, 105, 0);
        Paint(w);
        state.ResumeTiming();
        w.Reading().GoBack();
        Paint(w);
    }
}
BENCHMARK(BM_BackPainted)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::TempDir home;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home.path().string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.path().string()));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
