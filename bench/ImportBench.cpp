// Fichier > Importer une Bible... with the Louis Segond zip as downloaded
// (and a SWORD module zip, below),
// from the file chosen to Genèse 1 on screen: the import itself (archive
// read in memory, books parsed, data.new written and loaded, folders
// exchanged, pages unpacked), then the main window taking the tables and
// painting. The counter peak_MB_above_rest is the growth of the peak
// resident memory over the program at rest, during one import.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <fstream>
#include <string>

#include "AppFixture.h"
#include "Bible.h"
#include "Import.h"
#include "PeakMemory.h"
#include "ZipFixtures.h"

namespace {

using namespace lorvane;
namespace fs = std::filesystem;

using bench::PeakKb;
using bench::ResetPeak;

void BM_ImportLouisSegondZipToGenese1(benchmark::State& state) {
    if (testing::LsgDir().empty()) {
        state.SkipWithError("no Louis Segond folder");
        return;
    }
    testing::TempDir downloads;
    const fs::path zip = downloads.path() / "fraLSG_usfm.zip";
    testing::WriteZip(zip, testing::LsgEntries());
    testing::MainWindowFixture app(testing::DataSet::FullSize());
    app.window->show();
    QApplication::processEvents();

    double peakMb = 0;
    for (auto _ : state) {
        ResetPeak();
        const long rest = PeakKb();
        importer::ImportResult result = importer::ImportBible(app.communs->AppDir, zip);
        app.window->Reading().ReplaceTables(std::move(result.tables), "");
        QApplication::processEvents();
        peakMb = std::max(peakMb, static_cast<double>(PeakKb() - rest) / 1024.0);
    }
    state.counters["peak_MB_above_rest"] = peakMb;
}
BENCHMARK(BM_ImportLouisSegondZipToGenese1)->Unit(benchmark::kMillisecond);

// The World English Bible SWORD module of the system (sword-text-web),
// zipped as a SWORD repository gives it, to Genèse 1 on screen: the helper
// process unpacks and reads it through libsword, the program writes and
// loads the data folder. helper_peak_MB is the helper's own peak resident
// memory (the program never holds libsword).
void BM_ImportSwordWebZipToGenese1(benchmark::State& state) {
    const fs::path library = "/usr/share/sword";
    if (!fs::exists(library / "mods.d/engWEB2015eb.conf")) {
        state.SkipWithError("sword-text-web is not installed");
        return;
    }
    testing::TempDir downloads;
    const fs::path zip = downloads.path() / "engWEB2015eb.zip";
    testing::ZipEntries entries;
    for (const auto& e : fs::recursive_directory_iterator(library)) {
        const std::string path = fs::relative(e.path(), library).generic_string();
        if (e.is_regular_file() && path.find("engWEB2015eb") != std::string::npos)
            entries.push_back({path, testing::ReadFile(e.path())});
    }
    testing::WriteZip(zip, entries);
    testing::MainWindowFixture app(testing::DataSet::FullSize());
    app.window->show();
    QApplication::processEvents();

    importer::ImportSteps steps;
    steps.swordHelper = LORVANE_SWORD_HELPER;
    double peakMb = 0;
    for (auto _ : state) {
        ResetPeak();
        const long rest = PeakKb();
        importer::ImportResult result = importer::ImportBible(app.communs->AppDir, zip, steps);
        app.window->Reading().ReplaceTables(std::move(result.tables), "");
        QApplication::processEvents();
        peakMb = std::max(peakMb, static_cast<double>(PeakKb() - rest) / 1024.0);
    }
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["peak_MB_above_rest"] = peakMb;
    state.counters["helper_peak_MB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ImportSwordWebZipToGenese1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
