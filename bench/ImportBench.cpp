// Fichier > Importer une Bible... with the Louis Segond zip as downloaded,
// from the file chosen to Genèse 1 on screen: the import itself (archive
// read in memory, books parsed, data.new written and loaded, folders
// exchanged, pages unpacked), then the main window taking the tables and
// painting. The counter peak_MB_above_rest is the growth of the peak
// resident memory over the program at rest, during one import.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <fstream>
#include <string>

#include "AppFixture.h"
#include "Bible.h"
#include "ZipFixtures.h"
#include "importer/Import.h"

namespace {

using namespace lorvane;
namespace fs = std::filesystem;

// The peak resident memory of the process in kB (VmHWM).
long PeakKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

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
        app.window->TakeImportedTables(std::move(result.tables));
        QApplication::processEvents();
        peakMb = std::max(peakMb, static_cast<double>(PeakKb() - rest) / 1024.0);
    }
    state.counters["peak_MB_above_rest"] = peakMb;
}
BENCHMARK(BM_ImportLouisSegondZipToGenese1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
