// The writing pad's RTF: writing and reading a long note (about 1 MB of
// RTF), reading what LibreOffice writes, and the conversions between the
// pad's QTextDocument and the codec's documents.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextDocument>
#include <filesystem>

#include "DocumentFile.h"
#include "Rtf.h"
#include "RtfQt.h"

namespace {

using namespace lorvane;

// 4,000 paragraphs of French text with every formatting of the pad.
const rtf::Document& LongNote() {
    static const rtf::Document doc = [] {
        rtf::Document d;
        for (int i = 0; i < 4000; ++i) {
            rtf::CharFormat plain;
            rtf::CharFormat bold = plain;
            bold.bold = true;
            rtf::CharFormat colour = plain;
            colour.color = rtf::Color{200, 0, 0};
            colour.italic = true;
            rtf::CharFormat sup = plain;
            sup.offset = 4;
            rtf::Paragraph p;
            p.format.alignment = static_cast<rtf::Alignment>(i % 3);
            p.format.bullet = i % 7 == 0;
            p.format.leftIndent = p.format.bullet ? 200 : 0;
            p.runs = {{plain, "Au commencement était la Parole, et la Parole était avec Dieu, "},
                      {bold, "et la Parole était Dieu. "},
                      {colour, "Elle était au commencement avec Dieu ; « tout » a été fait"},
                      {sup, "1"},
                      {plain, "\tpar elle, et rien de ce qui a été fait n'a été fait sans elle."}};
            d.paragraphs.push_back(std::move(p));
        }
        return d;
    }();
    return doc;
}

void BM_WriteLongNote(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string rtf = rtf::Write(LongNote());
        bytes = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["RTF bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteLongNote)->Unit(benchmark::kMillisecond);

void BM_ReadLongNote(benchmark::State& state) {
    const std::string rtf = rtf::Write(LongNote());
    for (auto _ : state)
        benchmark::DoNotOptimize(rtf::Read(rtf).paragraphs.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadLongNote)->Unit(benchmark::kMillisecond);

void BM_ReadLibreOfficeFile(benchmark::State& state) {
    const std::string rtf = rtf::ReadDocumentFile(
        (std::filesystem::path(LORVANE_EDITOR_FIXTURES) / "libreoffice-formatting.rtf").string());
    for (auto _ : state)
        benchmark::DoNotOptimize(rtf::Read(rtf).paragraphs.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadLibreOfficeFile)->Unit(benchmark::kMicrosecond);

// The pad's open: the document into a QTextDocument.
void BM_LongNoteIntoQt(benchmark::State& state) {
    QTextDocument doc;
    for (auto _ : state)
        DocumentToQt(LongNote(), doc);
}
BENCHMARK(BM_LongNoteIntoQt)->Unit(benchmark::kMillisecond);

// The pad's save: the QTextDocument into a document.
void BM_LongNoteOutOfQt(benchmark::State& state) {
    QTextDocument doc;
    DocumentToQt(LongNote(), doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(DocumentFromQt(doc).paragraphs.size());
}
BENCHMARK(BM_LongNoteOutOfQt)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    int qtArgc = 3;
    char program[] = "bench_rtf";
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    char* qtArgv[] = {program, platform, offscreen, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
