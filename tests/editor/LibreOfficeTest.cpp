// The pad and the real LibreOffice Writer: RTF that LibreOffice writes opens
// in the pad with its text and formatting, and RTF that the pad writes opens
// in LibreOffice with its text and formatting. LibreOffice comes with
// scripts/install-deps.sh (libreoffice-writer-nogui); without it these
// tests fail.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "Fixtures.h"
#include "FrRichEdit.h"
#include "LibreOfficeExpect.h"
#include "Rtf.h"
#include "RtfQt.h"

using namespace lorvane;
namespace fs = std::filesystem;

namespace {

QString Joined(const std::vector<std::string>& failures) {
    QString all;
    for (const std::string& f : failures)
        all += QString::fromStdString(f) + "\n";
    return all;
}

// One character of a document with its format, as compared across the
// conversion to HTML: typefaces by their first name (but for East Asian
// characters), black as the automatic colour, offsets by their direction,
// tabs as the spaces HTML makes of them.
struct Glyph {
    QChar c;
    std::string font;
    int halfPoints;
    bool bold, italic, underline;
    std::optional<rtf::Color> color;
    int offset;
    bool operator==(const Glyph&) const = default;
};

std::vector<Glyph> Glyphs(const rtf::Paragraph& p) {
    std::vector<Glyph> glyphs;
    for (const rtf::Run& r : p.runs) {
        const rtf::CharFormat& f = r.format;
        std::string font = f.font.substr(0, f.font.find(','));
        font.erase(std::remove(font.begin(), font.end(), '\''), font.end());
        std::optional<rtf::Color> color = f.color;
        if (color == rtf::Color{0, 0, 0}) color.reset();
        for (QChar c : QString::fromStdString(r.text)) {
            // LibreOffice gives East Asian characters its own Asian typeface.
            const bool asian = c.unicode() >= 0x2E80;
            glyphs.push_back({c == '\t' ? QChar(' ') : c, asian ? std::string() : font,
                              f.halfPoints, f.bold, f.italic, f.underline, color,
                              (f.offset > 0) - (f.offset < 0)});
        }
    }
    return glyphs;
}

// HTML leaves a space where a list item's markup had a line end.
void TrimParagraphEnds(rtf::Document& doc) {
    for (rtf::Paragraph& p : doc.paragraphs) {
        while (!p.runs.empty()) {
            std::string& text = p.runs.back().text;
            while (!text.empty() && text.back() == ' ')
                text.pop_back();
            if (!text.empty()) break;
            p.runs.pop_back();
        }
    }
}

// The left and first-line indents (twips) of each <p> of an HTML page.
std::vector<std::pair<int, int>> Indents(const QString& html) {
    std::vector<std::pair<int, int>> indents;
    const QRegularExpression tag("<p\\b[^>]*>");
    auto twips = [](const QString& style, const char* property) {
        const QRegularExpression length(QString(property) + ":\\s*(-?[0-9.]+)(in|cm)");
        const QRegularExpressionMatch m = length.match(style);
        if (!m.hasMatch()) return 0;
        const double value = m.captured(1).toDouble();
        return static_cast<int>(std::lround(value * (m.captured(2) == "in" ? 1440 : 1440 / 2.54)));
    };
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QString p = it.next().captured(0);
        indents.emplace_back(twips(p, "margin-left"), twips(p, "text-indent"));
    }
    return indents;
}

QString Describe(const Glyph& g) {
    return QString("'%1' %2 %3%4%5%6 offset %7")
        .arg(g.c)
        .arg(QString::fromStdString(g.font))
        .arg(g.halfPoints / 2.0)
        .arg(g.bold ? " gras" : "")
        .arg(g.italic ? " italique" : "")
        .arg(g.underline ? " souligné" : "")
        .arg(g.offset);
}

}  // namespace

class LibreOfficeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempDir> dir;

    QString Folder() { return QString::fromStdString(dir->path().string()); }

    // Runs soffice on `args` in the test's folder, with a profile there.
    void Soffice(const QStringList& args) {
        const QString soffice = QStandardPaths::findExecutable("soffice");
        QVERIFY2(!soffice.isEmpty(),
                 "soffice is missing: scripts/install-deps.sh installs libreoffice-writer-nogui");
        QProcess p;
        p.setWorkingDirectory(Folder());
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(soffice,
                QStringList{"-env:UserInstallation=file://" + Folder() + "/profile", "--headless"} +
                    args);
        QVERIFY2(p.waitForFinished(300000), "soffice did not finish");
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                 p.readAll().constData());
    }

    void CopyFixture(const char* name) {
        fs::copy_file(fs::path(LORVANE_EDITOR_FIXTURES) / name, dir->path() / name);
    }

  private slots:
    void init() { dir = std::make_unique<testing::TempDir>(); }
    void cleanup() { dir.reset(); }

    void rtfOfLibreOfficeOpensInThePad() {
        CopyFixture("formatting.html");
        CopyFixture("lists.fodt");
        Soffice({"--infilter=HTML (StarWriter)", "--convert-to", "rtf", "formatting.html"});
        Soffice({"--convert-to", "rtf", "lists.fodt"});

        TFrmRichEdit pad;
        pad.LoadFromFile((dir->path() / "formatting.rtf").string());
        const rtf::Document formatting = DocumentFromQt(*pad.RTFControl->document());
        const auto f1 = testing::CheckFormattingDocument(formatting);
        QVERIFY2(f1.empty(), qPrintable(Joined(f1)));

        pad.LoadFromFile((dir->path() / "lists.rtf").string());
        const rtf::Document lists = DocumentFromQt(*pad.RTFControl->document());
        const auto f2 = testing::CheckListsDocument(lists);
        QVERIFY2(f2.empty(), qPrintable(Joined(f2)));
        QCOMPARE(pad.RTFControl->toPlainText().left(5), QString("Avant"));
    }

    void rtfOfThePadOpensInLibreOffice() {
        // Every formatting of the pad, in the pad, saved by the pad.
        rtf::Document model;
        auto fmt = [](int halfPoints = 20) {
            rtf::CharFormat f;
            f.font = "Arial";
            f.halfPoints = halfPoints;
            return f;
        };
        rtf::CharFormat bold = fmt(), italic = fmt(), under = fmt(), red = fmt(), sup = fmt(),
                        sub = fmt(), big = fmt(28), serif = fmt(24);
        bold.bold = true;
        italic.italic = true;
        under.underline = true;
        red.color = rtf::Color{200, 0, 0};
        sup.offset = 4;
        sub.offset = -4;
        serif.font = "Liberation Serif";
        serif.bold = serif.italic = serif.underline = true;
        auto para = [](std::vector<rtf::Run> runs, rtf::Alignment a = rtf::Alignment::Left,
                       bool bullet = false) {
            rtf::Paragraph p;
            p.runs = std::move(runs);
            p.format.alignment = a;
            p.format.bullet = bullet;
            if (bullet) p.format.leftIndent = 200;
            return p;
        };
        model.paragraphs = {
            para({{fmt(), "Normal "},
                  {bold, "gras"},
                  {fmt(), " "},
                  {italic, "italique"},
                  {fmt(), " "},
                  {under, "souligné"},
                  {fmt(), " "},
                  {red, "rouge"},
                  {fmt(), " x"},
                  {sup, "2"},
                  {fmt(), " H"},
                  {sub, "2"},
                  {fmt(), "O"}}),
            para({{big, "Centré : é œ € « » α 中文"}}, rtf::Alignment::Center),
            para({{serif, "Tout à droite"}}, rtf::Alignment::Right),
            para({{fmt(), "Première puce"}}, rtf::Alignment::Left, true),
            para({{fmt(), "Deuxième puce"}}, rtf::Alignment::Left, true),
            para({{fmt(), "Ligne\nsuivante"}}),
        };
        // Indents as the pad sets them: 10 points left, 10 more on the first line.
        model.paragraphs.back().format.leftIndent = 200;
        model.paragraphs.back().format.firstLineIndent = 200;
        TFrmRichEdit pad;
        DocumentToQt(model, *pad.RTFControl->document());
        const rtf::Document saved = DocumentFromQt(*pad.RTFControl->document());
        pad.SaveToFile((dir->path() / "pad.rtf").string());

        Soffice({"--convert-to", "html", "pad.rtf"});
        QFile html(Folder() + "/pad.html");
        QVERIFY(html.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(html.readAll());
        const std::vector<std::pair<int, int>> indents = Indents(page);
        QTextDocument opened;
        opened.setDefaultFont(pad.RTFControl->document()->defaultFont());
        opened.setHtml(page);
        rtf::Document back = DocumentFromQt(opened);
        TrimParagraphEnds(back);

        QCOMPARE(QString::fromStdString(rtf::PlainText(back)),
                 QString::fromStdString(rtf::PlainText(saved)));
        QCOMPARE(back.paragraphs.size(), saved.paragraphs.size());
        for (std::size_t i = 0; i < saved.paragraphs.size(); ++i) {
            const rtf::Paragraph& want = saved.paragraphs[i];
            const rtf::Paragraph& got = back.paragraphs[i];
            QCOMPARE(int(got.format.alignment), int(want.format.alignment));
            QCOMPARE(got.format.bullet, want.format.bullet);
            if (!want.format.bullet) {
                // Qt reads no inches in HTML: the indents come from the
                // paragraph's own style, to 1/100 inch.
                QVERIFY(i < indents.size());
                QVERIFY2(std::abs(indents[i].first - want.format.leftIndent) <= 15,
                         qPrintable(QString::number(indents[i].first)));
                QVERIFY2(std::abs(indents[i].second - want.format.firstLineIndent) <= 15,
                         qPrintable(QString::number(indents[i].second)));
            }
            const std::vector<Glyph> a = Glyphs(want), b = Glyphs(got);
            QCOMPARE(b.size(), a.size());
            for (std::size_t k = 0; k < a.size(); ++k)
                QVERIFY2(a[k] == b[k], qPrintable(QString("paragraph %1: %2 became %3")
                                                      .arg(i)
                                                      .arg(Describe(a[k]))
                                                      .arg(Describe(b[k]))));
        }
    }
};

QTEST_MAIN(LibreOfficeTest)
#include "LibreOfficeTest.moc"
