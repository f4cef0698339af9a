// SWORD commentaries: Debian's Scofield and MHCC imported through the
// helper (the time, and the size kept), and the « Commentaire » pane
// following a move (the entry looked up and set in its page), which must
// stay within 50 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextBrowser>
#include <filesystem>

#include "Commentary.h"
#include "CommentaryPane.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "Import.h"

namespace {

namespace fs = std::filesystem;
using namespace lorvane;

const fs::path kDebian = "/usr/share/sword/mods.d";

// Imports Debian's module into `folder`; the entries kept (0 when refused).
int ImportModule(const std::string& name, const fs::path& folder, const std::string& bibleDir,
                 std::string* refusal = nullptr) {
    importer::ImportSteps steps;
    steps.swordHelper = LORVANE_SWORD_HELPER;
    fs::remove_all(folder);
    try {
        return importer::ImportNewBible(folder.string(), bibleDir, kDebian / (name + ".conf"),
                                        steps)
            .entries;
    } catch (const importer::ImportError& e) {
        if (refusal) *refusal = e.what();
        return 0;
    }
}

void BM_ImportDebianCommentary(benchmark::State& state, const std::string& name) {
    if (!fs::exists(kDebian / (name + ".conf"))) {
        state.SkipWithError("module not installed");
        return;
    }
    testing::TempDir app, shelf;
    testing::WriteDataFolder(app.path(), testing::DataSet::Small());
    int entries = 0;
    std::string refusal;
    for (auto _ : state)
        entries = ImportModule(name, shelf.path() / "new", app.appDir(), &refusal);
    std::error_code ec;
    const auto kept = fs::file_size(shelf.path() / "new" / commentary::kCommentaryFile, ec);
    state.counters["entries"] = entries;
    state.counters["kept_bytes"] = ec ? 0 : static_cast<double>(kept);
    if (!refusal.empty()) state.SetLabel("refused: " + refusal);
}
BENCHMARK_CAPTURE(BM_ImportDebianCommentary, Scofield, std::string("scofield"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_ImportDebianCommentary, MHCC, std::string("mhcc"))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The pane on Scofield, told of a move to each verse of Genèse 1-3 in turn.
void BM_PaneFollowsAMove(benchmark::State& state) {
    if (!fs::exists(kDebian / "scofield.conf")) {
        state.SkipWithError("module not installed");
        return;
    }
    testing::TempDir app, shelf;
    testing::WriteDataFolder(app.path(), testing::DataSet::Small(30));
    Communs tables{app.appDir()};
    LoadAllTables(tables);
    ReadingCore reading{tables};
    CommentaryPane pane((shelf.path() / "commentaires").string());
    pane.Follow(reading);
    const fs::path staging = pane.Shelf().StagingDir();
    ImportModule("scofield", staging, app.appDir());
    pane.Adopt(staging.string(), "Scofield", "Scofield");
    pane.resize(300, 600);
    pane.show();
    int verse = 0;
    Place before;
    for (auto _ : state) {
        Place after;
        after.chapter = 1 + verse / 30 % 3;
        after.verse = 1 + verse % 30;
        ++verse;
        pane.PlaceChanged(before, after);
        benchmark::DoNotOptimize(pane.Text()->document()->characterCount());
        before = after;
    }
}
BENCHMARK(BM_PaneFollowsAMove)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    int qtArgc = 3;
    char program[] = "bench_commentary";
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    char* qtArgv[] = {program, platform, offscreen, nullptr};
    QApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
