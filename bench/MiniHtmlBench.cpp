// The mini-HTML list and the browser pane at the sizes the program uses:
// a search result list of 200 highlighted items, and a chapter page of 176
// verses with headings and cross-reference links.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTextBrowser>

#include "BrowserPane.h"
#include "Fixtures.h"
#include "HTMListBox.h"
#include "MiniHtml.h"
#include "MiniHtmlPainter.h"
#include "QtText.h"

namespace {

using namespace lorvane;

const QString kResult = QString::fromUtf8(
    "<B>Jn 3:16</B> : Car <FONT color=\"#C00400\">Dieu</FONT> a tant aimé le monde qu'il a "
    "donné son Fils unique, afin que quiconque croit en lui ne périsse point, mais qu'il ait la "
    "vie éternelle.");

void BM_ParseResultItem(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseMiniHtml(kResult));
}
BENCHMARK(BM_ParseResultItem);

void BM_LayoutResultItem(benchmark::State& state) {
    MiniHtmlContext ctx;
    ctx.font = QFont("Tahoma", 8);
    ctx.color = Qt::black;
    const auto items = ParseMiniHtml(kResult);
    for (auto _ : state)
        benchmark::DoNotOptimize(MiniHtmlLayout(items, ctx).Size());
}
BENCHMARK(BM_LayoutResultItem);

// Fill, rewrite and paint a list of 200 results, as a search does.
void BM_FillAndPaint200Results(benchmark::State& state) {
    THTMListBox list;
    list.resize(265, 600);
    list.SetItemHeight(14);
    for (auto _ : state) {
        list.BeginUpdate();
        list.Clear();
        for (int i = 0; i < 200; ++i)
            list.Add(kResult, 43003);
        for (int i = 0; i < 200; ++i)
            list.SetText(i, list.Text(i) + " ");
        list.InsertTop("<FONT color=\"gray\"><B>+ de 200 éléments trouvés ...</B></FONT>", 0);
        list.EndUpdate();
        list.SetTopIndex(0);
        benchmark::DoNotOptimize(list.viewport()->grab());
    }
}
BENCHMARK(BM_FillAndPaint200Results)->Unit(benchmark::kMillisecond);

QString WriteChapter(const QString& folder, int salt) {
    std::string page = "<HTML><BODY bgcolor=\"#FFFFFF\">\r\n<FONT face=\"Tahoma\" size=\"2\">\r\n";
    for (int v = 1; v <= 176; ++v) {
        page += "<BR>\r\n";
        for (int r = 0; r < 3; ++r)
            page +=
                "<A href=\"\xA4"
                "19\xA4"
                "23\xA4"
                "1\xA4"
                "6\"><FONT size=\"1\">Ps 23:1-6</FONT></A>"
                "<FONT size=\"1\"> ; </FONT>\r\n";
        if (v != 1) page += "<A name=\"" + std::to_string(v) + "\"></A>\r\n";
        page += "<FONT size=\"2\" color=\"#800000\"><B>" + std::to_string(v) +
                "</B></FONT> Heureux l'homme qui ne marche pas selon le conseil des mechants, qui "
                "ne s'arrête pas sur la voie des pecheurs " +
                std::to_string(salt) + "\r\n  \r\n";
    }
    page += "<BR>\r\n</FONT></BODY></HTML>\r\n";
    const QString path = folder + "temp.htm";
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(page.data(), static_cast<qint64>(page.size()));
    return path;
}

// The reading pane's part of a move: a rewritten page, navigated to a verse and
// refreshed.
void BM_PaneShowRewrittenChapter(benchmark::State& state) {
    testing::TempDir dir;
    const QString folder = QString::fromStdString(dir.appDir());
    TBrowserPane pane;
    pane.resize(420, 600);
    pane.show();
    int salt = 0;
    for (auto _ : state) {
        const QString path = WriteChapter(folder, ++salt);
        pane.Navigate("file://" + path + "#120");
        pane.Refresh();
    }
}
BENCHMARK(BM_PaneShowRewrittenChapter)->Unit(benchmark::kMillisecond);

// The same page again (a letter of the glossary): read, found unchanged,
// scrolled.
void BM_PaneSamePageOtherAnchor(benchmark::State& state) {
    testing::TempDir dir;
    const QString path = WriteChapter(QString::fromStdString(dir.appDir()), 0);
    TBrowserPane pane;
    pane.resize(420, 600);
    pane.show();
    int v = 0;
    for (auto _ : state)
        pane.Navigate("file://" + path + "#" + QString::number(2 + (v++ % 170)));
}
BENCHMARK(BM_PaneSamePageOtherAnchor)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
