// Fichier > Importer une Bible... with the whole Louis Segond as an OSIS,
// Zefania or USFX file (written from its USFM before the timing), from the
// file chosen to Genèse 1 on screen, as bench_import does for the USFM zip.
// The counter peak_MB_above_rest is the growth of the peak resident memory
// over the program at rest, during one import.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <fstream>
#include <string>

#include "AppFixture.h"
#include "Import.h"
#include "PeakMemory.h"
#include "XmlFixtures.h"
#include "ZipFixtures.h"

namespace {

using namespace lorvane;
namespace fs = std::filesystem;

using bench::PeakKb;
using bench::ResetPeak;

void BM_ImportXmlBibleToGenese1(benchmark::State& state) {
    if (testing::LsgDir().empty()) {
        state.SkipWithError("no Louis Segond folder");
        return;
    }
    const auto form = static_cast<testing::XmlForm>(state.range(0));
    testing::TempDir downloads;
    const fs::path file = downloads.path() / "bible.xml";
    std::ofstream(file, std::ios::binary) << testing::LsgXml(form);
    testing::MainWindowFixture app(testing::DataSet::FullSize());
    app.window->show();
    QApplication::processEvents();

    double peakMb = 0;
    for (auto _ : state) {
        ResetPeak();
        const long rest = PeakKb();
        importer::ImportResult result = importer::ImportBible(app.communs->AppDir, file);
        app.window->Reading().ReplaceTables(std::move(result.tables), "");
        QApplication::processEvents();
        peakMb = std::max(peakMb, static_cast<double>(PeakKb() - rest) / 1024.0);
    }
    state.counters["peak_MB_above_rest"] = peakMb;
    state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / (1 << 20);
}
BENCHMARK(BM_ImportXmlBibleToGenese1)
    ->ArgName("form")
    ->Arg(static_cast<int>(testing::XmlForm::OsisMilestones))
    ->Arg(static_cast<int>(testing::XmlForm::OsisContainers))
    ->Arg(static_cast<int>(testing::XmlForm::Zefania))
    ->Arg(static_cast<int>(testing::XmlForm::Usfx))
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
