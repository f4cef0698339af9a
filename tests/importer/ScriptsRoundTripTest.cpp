// A Greek, a Hebrew, a Russian and a Chinese book, written by the test in
// USFM, OSIS and USFX, each imported, shown, searched without its accents,
// quoted and written as PDF (read back with pdftotext): the text comes back
// as written at every step.

#include <QFontDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>
#include <fstream>

#include "ChapterOutput.h"
#include "ChapterPage.h"
#include "Fixtures.h"
#include "Import.h"
#include "PageText.h"
#include "Quote.h"
#include "ReaderText.h"
#include "SearchEngine.h"

using namespace lorvane;

namespace {

struct Script {
    const char* name;
    QFontDatabase::WritingSystem system;
    int book;
    const char* usfmCode;
    const char* osisCode;
    std::vector<std::string> verses;  // verses 1, 2 ... of chapter 1, NFC
    std::string typed;                // a word as typed, without accents
    std::string inPdf;                // what pdftotext gives back of it
};

std::vector<Script> Scripts() {
    return {
        {"grec",
         QFontDatabase::Greek,
         43,
         "JHN",
         "John",
         {"Ἐν ἀρχῇ ἦν ὁ λόγος, καὶ ὁ λόγος ἦν πρὸς τὸν θεόν, καὶ θεὸς ἦν ὁ λόγος.",
          "οὗτος ἦν ἐν ἀρχῇ πρὸς τὸν θεόν."},
         "λογος",
         "λόγος"},
        {"hébreu",
         QFontDatabase::Hebrew,
         1,
         "GEN",
         "Gen",
         {"בְּרֵאשִׁ֖ית בָּרָ֣א אֱלֹהִ֑ים אֵ֥ת הַשָּׁמַ֖יִם וְאֵ֥ת הָאָֽרֶץ׃", "וְהָאָ֗רֶץ הָיְתָ֥ה תֹ֙הוּ֙ וָבֹ֔הוּ"},
         "בראשית",
         "ר"},
        {"russe",
         QFontDatabase::Cyrillic,
         43,
         "JHN",
         "John",
         {"В на́чале было Слово, и Слово было у Бога, и Слово было Бог.",
          "Оно было в начале у Бога."},
         "начале",
         "Слово"},
        {"chinois",
         QFontDatabase::SimplifiedChinese,
         43,
         "JHN",
         "John",
         {"太初有道，道與神同在，道就是神。", "這道太初與神同在。"},
         "道與神",
         "太初"},
    };
}

std::string Usfm(const Script& s) {
    std::string out = std::string("\\id ") + s.usfmCode + "\n\\c 1\n\\p\n";
    for (std::size_t v = 0; v < s.verses.size(); ++v)
        out += "\\v " + std::to_string(v + 1) + " " + s.verses[v] + "\n";
    return out;
}

std::string Osis(const Script& s) {
    const std::string book = s.osisCode;
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osis><osisText>"
        "<div type=\"book\" osisID=\"" +
        book + "\"><chapter osisID=\"" + book + ".1\">";
    for (std::size_t v = 0; v < s.verses.size(); ++v)
        out += "<verse osisID=\"" + book + ".1." + std::to_string(v + 1) + "\">" + s.verses[v] +
               "</verse>\n";
    return out + "</chapter></div></osisText></osis>\n";
}

std::string Usfx(const Script& s) {
    std::string out = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<usfx><book id=\"") +
                      s.usfmCode + "\"><c id=\"1\"/><p>";
    for (std::size_t v = 0; v < s.verses.size(); ++v)
        out += "<v id=\"" + std::to_string(v + 1) + "\"/>" + s.verses[v] + "<ve/>\n";
    return out + "</p></book></usfx>\n";
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

class ScriptsRoundTripTest : public QObject {
    Q_OBJECT

  private slots:
    void everyScriptHasAFont() {
        // No verse of these scripts shows empty boxes: an installed font
        // writes each.
        for (const Script& s : Scripts())
            QVERIFY2(!QFontDatabase::families(s.system).isEmpty(), s.name);
    }

    void importShowSearchQuoteAndPrintAsWritten_data() {
        QTest::addColumn<int>("script");
        QTest::addColumn<int>("form");
        const char* forms[] = {"USFM", "OSIS", "USFX"};
        const auto scripts = Scripts();
        for (std::size_t s = 0; s < scripts.size(); ++s)
            for (int f = 0; f < 3; ++f)
                QTest::addRow("%s %s", scripts[s].name, forms[f]) << static_cast<int>(s) << f;
    }

    void importShowSearchQuoteAndPrintAsWritten() {
        QFETCH(int, script);
        QFETCH(int, form);
        const Script s = Scripts()[static_cast<std::size_t>(script)];
        testing::TempDir program;
        testing::WriteDataFolder(program.path(), testing::DataSet::Small());
        QTemporaryDir sources;
        const std::string file =
            sources.filePath(form == 0 ? "livre.usfm" : "bible.xml").toStdString();
        Write(file, form == 0 ? Usfm(s) : form == 1 ? Osis(s) : Usfx(s));

        // The import keeps every letter.
        importer::ImportResult r = importer::ImportBible(program.appDir(), file);
        for (std::size_t v = 0; v < s.verses.size(); ++v) {
            const std::int32_t slot = r.tables.VerseLookup(s.book, 1, static_cast<int>(v + 1));
            QVERIFY(slot != 0);
            QCOMPARE(std::string(r.tables.VerseTable[static_cast<std::size_t>(slot)].Text),
                     s.verses[v]);
        }
        QCOMPARE(importer::ImportRemarks(r.report), std::string());

        // The page shows it as written.
        const ChapterPage page = BuildChapterPage(r.tables, {s.book, 1, 1, 0, false, true, false});
        const QString html = DecodePage(page.html);
        QTextDocument shown;
        shown.setHtml(html);
        // And a screen reader is given it as written.
        const QString said = WithoutNonCharacters(shown.toPlainText());
        for (const std::string& verse : s.verses) {
            QVERIFY2(shown.toPlainText().contains(QString::fromStdString(verse)), s.name);
            QVERIFY2(said.contains(QString::fromStdString(verse)), s.name);
        }

        // Typed without its accents or points, the word is found.
        const SearchResults found =
            Search(r.tables, {s.typed, kSearchFolded, kScopeBook, s.book, 1});
        QVERIFY2(!found.items.empty(), s.name);
        QCOMPARE(found.items.front().slot, r.tables.VerseLookup(s.book, 1, 1));

        // A quote carries the verse as written.
        const std::string quote = QuoteWithReference(r.tables, s.book, 1, 1, 0, "X");
        QVERIFY(quote.find(s.verses[0]) != std::string::npos);

        // The PDF holds its letters.
        const QString pdf = sources.filePath("chapitre.pdf");
        QString error;
        QVERIFY2(WriteChapterPdf(pdf, html, QStringLiteral("Chapitre"), &error), qPrintable(error));
        QProcess text;
        text.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        if (!text.waitForStarted()) QSKIP("pdftotext is not installed");
        QVERIFY(text.waitForFinished(30000));
        const QString back = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(back.contains(QString::fromStdString(s.inPdf)), qPrintable(back));
    }
};

QTEST_MAIN(ScriptsRoundTripTest)
#include "ScriptsRoundTripTest.moc"
