// Opening large notes in the writing pad, as the reader meets it: the file
// read, the text laid out and the pad drawn once. Many short paragraphs and
// one long paragraph cost Qt's layout differently; both are measured.

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextEdit>
#include <filesystem>
#include <fstream>
#include <string>

#include "FrRichEdit.h"

namespace {

using namespace lorvane;

std::filesystem::path Folder() {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() /
                 ("lorvane-pad-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

// n paragraphs of about `length` characters each, as RTF.
std::string NoteFile(long n, long length) {
    const auto path =
        Folder() / ("note-" + std::to_string(n) + "-" + std::to_string(length) + ".rtf");
    if (!std::filesystem::exists(path)) {
        std::ofstream out(path, std::ios::binary);
        out << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\fs20\n";
        const std::string words = "Au commencement etait la Parole et la Parole etait avec Dieu ";
        std::string text;
        while (static_cast<long>(text.size()) < length)
            text += words;
        text.resize(static_cast<std::size_t>(length));
        for (long i = 0; i < n; ++i)
            out << "\\pard " << text << "\\par\n";
        out << "}";
    }
    return path.string();
}

// Opens the file in the pad; the refused ones leave the pad as it was.
void Open(benchmark::State& state, long n, long length) {
    const std::string file = NoteFile(n, length);
    TFrmRichEdit pad;
    pad.resize(265, 700);
    pad.show();
    QApplication::processEvents();
    bool refused = false;
    for (auto _ : state) {
        try {
            pad.LoadFromFile(file);
        } catch (const std::exception&) {
            refused = true;
        }
        pad.RTFControl->document()->documentLayout()->documentSize();
        pad.RTFControl->viewport()->repaint();
        QApplication::processEvents();
    }
    state.counters["paragraphs"] = static_cast<double>(n);
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
    state.counters["refused"] = refused ? 1 : 0;
}

// Up to the paragraph limit, then files of 500,000 and 1,500,000 paragraphs
// (about 14 and 43 MB) that must be refused at once.
void BM_OpenShortParagraphs(benchmark::State& state) {
    Open(state, state.range(0), 18);
}
BENCHMARK(BM_OpenShortParagraphs)
    ->Arg(12500)
    ->Arg(25000)
    ->Arg(49999)
    ->Arg(500000)
    ->Arg(1500000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Up to the text limit in one paragraph.
void BM_OpenOneLongParagraph(benchmark::State& state) {
    Open(state, 1, state.range(0));
}
BENCHMARK(BM_OpenOneLongParagraph)
    ->Arg(250000)
    ->Arg(500000)
    ->Arg(990000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Up to the text limit in paragraphs of a page each.
void BM_OpenLongParagraphs(benchmark::State& state) {
    Open(state, state.range(0), 2000);
}
BENCHMARK(BM_OpenLongParagraphs)->Arg(250)->Arg(495)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    int qtArgc = 3;
    char program[] = "bench_pad_open";
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    char* qtArgv[] = {program, platform, offscreen, nullptr};
    QApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
