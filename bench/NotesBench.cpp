// The reader's notes: Psaumes 119 written with 200 notes and 200 colours in
// the book of Psalms, beside the same page without them; the « Notes » pane
// opened on 10,000 notes, and filtered by one word.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <fstream>

#include "ChapterPage.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "NotesPane.h"
#include "ReaderNotes.h"
#include "ReadingCore.h"

namespace {

using namespace lorvane;

struct Loaded {
    testing::TempDir dir;
    Communs c{dir.appDir()};
    ReaderNotes notes{(dir.path() / "notes.txt").string()};
    Loaded() {
        testing::WriteDataFolder(dir.path(), testing::DataSet::FullSize());
        LoadAllTables(c);
        const Numbering& segond = *KnownNumberings().Find("Segond");
        // Spread over the book of Psalms, as a reader's would be.
        for (int k = 0; k < 200; ++k) {
            const int chapter = 1 + k * 3 % 150;
            notes.Add(segond, 19, chapter, 1 + k % 20, 0,
                      "Une note sur ce psaume, " + std::to_string(k));
            notes.Set(segond, 19, 1 + (k * 7 + 1) % 150, 1 + k * 3 % 20, Colour::Jaune);
        }
    }
};

Loaded& Data() {
    static Loaded loaded;
    return loaded;
}

void BM_Psalm119WithoutNotes(benchmark::State& state) {
    Loaded& d = Data();
    for (auto _ : state) {
        ChapterPage page = BuildChapterPage(d.c, {19, 119, 1, 0, false, true, false});
        benchmark::DoNotOptimize(page.html.data());
    }
}
BENCHMARK(BM_Psalm119WithoutNotes)->Unit(benchmark::kMicrosecond);

void BM_Psalm119With200NotesAnd200Colours(benchmark::State& state) {
    Loaded& d = Data();
    ChapterPageRequest rq{19, 119, 1, 0, false, true, false};
    rq.backgroundAt = [&d](VersePlace s) { return d.notes.PageColour(s); };
    rq.notesAt = [&d](VersePlace s) { return d.notes.PageMarks(s); };
    for (auto _ : state) {
        ChapterPage page = BuildChapterPage(d.c, rq);
        benchmark::DoNotOptimize(page.html.data());
    }
}
BENCHMARK(BM_Psalm119With200NotesAnd200Colours)->Unit(benchmark::kMicrosecond);

// 10,000 notes over the whole Bible.
struct Many {
    testing::TempDir dir;
    Communs c{dir.appDir()};
    ReaderNotes notes{(dir.path() / "notes.txt").string()};
    Many() {
        testing::WriteDataFolder(dir.path(), testing::DataSet::FullSize());
        LoadAllTables(c);
        NoteFile file;
        for (int k = 0; k < 10000; ++k) {
            Note n;
            n.id = std::to_string(1000000000000000 + k);
            n.first = PlaceOf(1 + k % 66, 1, 1 + k % 20);
            n.text = (k % 100 == 0 ? "Une note sur la grâce, " : "Une note sur la foi, ") +
                     std::to_string(k);
            n.created = n.modified = "2026-12-09T00:00:00Z";
            file.notes.push_back(std::move(n));
        }
        std::ofstream(dir.path() / "notes.txt") << WriteNoteFile(file);
        notes.Load();
    }
};

void BM_NotesPaneOpenOn10000Notes(benchmark::State& state) {
    static Many many;
    ReadingCore reading(many.c);
    for (auto _ : state) {
        NotesPane pane(many.notes, reading);
        pane.resize(300, 600);
        pane.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_NotesPaneOpenOn10000Notes)->Unit(benchmark::kMillisecond);

void BM_NotesPaneFilter10000NotesByOneWord(benchmark::State& state) {
    static Many many;
    ReadingCore reading(many.c);
    NotesPane pane(many.notes, reading);
    pane.resize(300, 600);
    pane.show();
    QApplication::processEvents();
    bool grace = false;
    for (auto _ : state) {
        pane.Filter()->setText((grace = !grace) ? "grace" : "foi");
        QApplication::processEvents();
    }
}
BENCHMARK(BM_NotesPaneFilter10000NotesByOneWord)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
