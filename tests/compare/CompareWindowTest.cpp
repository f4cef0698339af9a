#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextTable>
#include <QtTest>
#include <memory>

#include "AppFixture.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "ChapterSpin.h"
#include "Cp1252.h"
#include "DlgPassage.h"
#include "FctLoad.h"
#include "FrRichEdit.h"
#include "GoToBox.h"
#include "HTMLControls.h"
#include "NoteFile.h"
#include "TextTabs.h"
#include "UserFiles.h"

using namespace lorvane;

namespace {

// The main window's Bible retold: every verse "<tag> b.c.v"; Genèse 1 of
// 24 verses without verse 3, headings of its own, a reference from 1:2 to
// Livre 2 1:1-3 and one from 1:5 to Psaumes 23:1.
testing::DataSet OtherBible(const std::string& tag) {
    testing::DataSet d = testing::MainWindowBible();
    for (auto& v : d.verses)
        v.text = tag + " " + std::to_string(v.book) + "." + std::to_string(v.chapter) + "." +
                 std::to_string(v.verse);
    std::erase_if(d.verses,
                  [](const auto& v) { return v.book == 1 && v.chapter == 1 && v.verse == 3; });
    auto at = std::find_if(d.verses.begin(), d.verses.end(),
                           [](const auto& v) { return v.book == 1 && v.chapter == 2; });
    for (int v = 21; v <= 24; ++v)
        at = std::next(d.verses.insert(at, {1, 1, v, tag + " 1.1." + std::to_string(v)}));
    d.headings = {{'E', 1, 1, 4, tag + " titre"}};
    d.crossRefs = {{1, 1, 2, 0, 2, 1, 1, 3}, {1, 1, 5, 0, 19, 23, 1, 0}};
    return d;
}

// The same Bible with the New Testament only.
testing::DataSet NewTestamentOnly(const std::string& tag) {
    testing::DataSet nt = OtherBible(tag);
    std::erase_if(nt.verses, [](const auto& v) { return v.book < 40; });
    for (int b = 0; b < 39; ++b)
        nt.books[static_cast<std::size_t>(b)].chapterCount = 0;
    nt.headings.clear();
    nt.crossRefs.clear();
    return nt;
}

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

class CompareWindowTest : public testing::MainWindowTestCase {
    Q_OBJECT

    std::vector<std::unique_ptr<testing::TempDir>> dirs_;

    ComparedBible Load(const std::string& abbreviation, const std::string& tag) {
        auto& folder = dirs_.emplace_back(std::make_unique<testing::TempDir>());
        testing::WriteDataFolder(folder->path(), OtherBible(tag));
        auto tables = std::make_shared<Communs>(folder->appDir());
        LoadAllTables(*tables);
        return {abbreviation, tag + " 1885", tables};
    }
    QTextDocument* Page() const { return w->WB->Browser()->document(); }
    QTextTable* Table() const {
        for (QTextBlock b = Page()->begin(); b.isValid(); b = b.next())
            if (auto* t = qobject_cast<QTextTable*>(QTextCursor(b).currentTable())) return t;
        return nullptr;
    }
    // Where a text begins in the laid-out page.
    QRectF PlaceOf(const QString& text) const {
        const QTextCursor found = Page()->find(text);
        if (found.isNull()) return {};
        QTextCursor at(Page());
        at.setPosition(found.selectionStart());
        return w->WB->Browser()->cursorRect(at);
    }
    // Clicks the link whose text is `label` in a column of the reading
    // pane's table.
    bool ClickLink(const QString& label, int column) {
        QTextBrowser* b = w->WB->Browser();
        for (QTextCursor found = Page()->find(label); !found.isNull();
             found = Page()->find(label, found)) {
            QTextCursor at(Page());
            at.setPosition(found.selectionStart() + 1);
            QTextTable* table = at.currentTable();
            if (!table || table->cellAt(at).column() != column) continue;
            if (!at.charFormat().isAnchor()) return false;
            b->setTextCursor(at);
            b->ensureCursorVisible();
            QTest::mouseClick(b->viewport(), Qt::LeftButton, {}, b->cursorRect(at).center());
            return true;
        }
        return false;
    }

  private slots:
    void init() {
        Open(testing::MainWindowBible());
        QVERIFY(w->Loaded());
        w->resize(1000, 700);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->FrmRichEdit->RTFControl->setPlainText("Mes notes");
    }
    void cleanup() {
        QCOMPARE(w->FrmRichEdit->RTFControl->toPlainText(), QString("Mes notes"));
        Close();
        dirs_.clear();
    }

    void twoBiblesShowVerseByVerseInTwoColumns() {
        w->SetComparison("LSG", {Load("DBY", "Darby")});
        QCOMPARE(w->Comparison().size(), 1u);
        QTextTable* table = Table();
        QVERIFY(table);
        QCOMPARE(table->columns(), 2);
        QCOMPARE(table->cellAt(0, 0).firstCursorPosition().block().text(), QString("LSG"));
        QCOMPARE(table->cellAt(0, 1).firstCursorPosition().block().text(), QString("DBY"));
        QCOMPARE(w->WB->Browser()->accessibleName(), Text("Genèse 1 — Texte biblique, LSG et DBY"));

        // Each verse of both Bibles begins at the same height, whatever the
        // headings and references above it in one column.
        for (const char* v : {"1.1.1", "1.1.2", "1.1.4", "1.1.5", "1.1.20"}) {
            const QRectF left = PlaceOf(QString("Texte ") + v),
                         right = PlaceOf(QString("Darby ") + v);
            QVERIFY2(!left.isNull() && !right.isNull(), v);
            QCOMPARE(left.top(), right.top());
            QVERIFY(left.left() < right.left());
        }
        // Verse 3 the right Bible lacks, verses 21 to 24 the left one lacks.
        QVERIFY(!PlaceOf("Texte 1.1.3").isNull());
        QVERIFY(PlaceOf("Darby 1.1.3").isNull());
        QVERIFY(PlaceOf("Texte 1.1.4").top() > PlaceOf("Texte 1.1.3").top());
        QVERIFY(!PlaceOf("Darby 1.1.24").isNull());
        QVERIFY(PlaceOf("Darby titre").top() < PlaceOf("Darby 1.1.4").top());

        // The chapter box moves both columns together.
        w->SpinChapitre->SetValue(2);
        emit w->SpinChapitre->valueEdited(w->SpinChapitre->Value());
        QCOMPARE(w->Here().chapter, 2);
        QVERIFY(!PlaceOf("Texte 1.2.7").isNull());
        QCOMPARE(PlaceOf("Texte 1.2.7").top(), PlaceOf("Darby 1.2.7").top());
        QCOMPARE(w->WB->Browser()->accessibleName(), Text("Genèse 2 — Texte biblique, LSG et DBY"));

        // Back, a new tab and the tab before: the page compared each time.
        w->Reading().GoBack();
        QCOMPARE(w->Here().chapter, 1);
        QVERIFY(!PlaceOf("Darby 1.1.24").isNull());
        w->BtnNouveau->click();
        QCOMPARE(w->TCTexte->Count(), 2);
        w->GoTo(1, 4, 0, 0);
        QCOMPARE(PlaceOf("Texte 1.4.9").top(), PlaceOf("Darby 1.4.9").top());
        w->Reading().SelectNextTab(-1);
        QCOMPARE(w->Here().chapter, 1);
        QVERIFY(Table() && Table()->columns() == 2);
        QVERIFY(!PlaceOf("Darby 1.1.24").isNull());
    }

    void aScreenReaderHearsEachBibleInTurnNamedByItsAbbreviation() {
        w->SetComparison("LSG", {Load("DBY", "Darby")});
        QTextBrowser* view = w->WB->Browser();
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(view)->textInterface();
        const QString all = text->text(0, text->characterCount());
        // Each cell begins with its Bible's abbreviation, headings included,
        // each verse once per Bible.
        QVERIFY2(all.contains("LSG 1 Texte 1.1.1\nDBY 1 Darby 1.1.1\n"), qPrintable(all.left(300)));
        QVERIFY(all.contains("DBY Darby titre"));
        QCOMPARE(all.count("Texte 1.1.2\n"), 1);
        // Down goes from the left cell to the right one, then to the next row.
        const int start = all.indexOf("LSG 1 Texte 1.1.1");
        text->setCursorPosition(start);
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        text->setCursorPosition(start);
        int from = 0;
        int to = 0;
        QTest::keyClick(view, Qt::Key_Down);
        QVERIFY(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &from, &to)
                    .startsWith("DBY 1 Darby 1.1.1"));
        QTest::keyClick(view, Qt::Key_Down);  // the references before verse 2
        QVERIFY(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &from, &to)
                    .startsWith("LSG L43 3:16"));
        QTest::keyClick(view, Qt::Key_Up);
        QVERIFY(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &from, &to)
                    .startsWith("DBY 1 Darby 1.1.1"));
        // Without a comparison, no name and no turn.
        w->SetComparison("LSG", {});
        const QString alone = text->text(0, text->characterCount());
        QVERIFY(!alone.contains("LSG "));
    }

    void aVerseCopiedFromAColumnIsThatBiblesWithItsAbbreviation() {
        w->SetComparison("LSG", {Load("DBY", "Darby")});
        // The pane's menu at a point of the page, one of its copies chosen.
        const auto copyAt = [&](const QPoint& point, const char* entry) {
            QApplication::clipboard()->setText("avant");
            QMenu menu;
            emit w->WB->ContextMenu(&menu, point);
            QAction* copy = menu.findChild<QAction*>(entry);
            if (!copy) return QString("no entry");
            copy->trigger();
            return QApplication::clipboard()->text();
        };
        // Just inside a text, brought into view.
        const auto at = [&](const char* text) {
            QTextCursor found = Page()->find(QString(text));
            found.setPosition(found.selectionStart() + 1);
            w->WB->Browser()->setTextCursor(found);
            w->WB->Browser()->ensureCursorVisible();
            return w->WB->Browser()->cursorRect(found).center();
        };
        const QString quote = Text("«\u00A0%1\u00A0» (%2)");
        QCOMPARE(copyAt(at("Darby 1.1.5"), "CopierVersetReference"),
                 quote.arg("Darby 1.1.5", Text("Genèse 1:5, DBY")));
        QCOMPARE(copyAt(at("Texte 1.1.5"), "CopierVersetReference"),
                 quote.arg("Texte 1.1.5", Text("Genèse 1:5")));
        // A heading of the column: the verse below it, in that Bible.
        QCOMPARE(copyAt(at("Darby titre"), "CopierVersetReference"),
                 quote.arg("Darby 1.1.4", Text("Genèse 1:4, DBY")));
        // A verse only the column's Bible has.
        QCOMPARE(copyAt(at("Darby 1.1.21"), "CopierVerset"), QString("Darby 1.1.21"));
        // Its empty cell where it lacks the verse: nothing is copied.
        const QTextTable* row = QTextCursor(Page()->find("Texte 1.1.3")).currentTable();
        QVERIFY(row);
        const QPoint empty = w->WB->Browser()
                                 ->cursorRect(row->cellAt(row->rows() - 1, 1).firstCursorPosition())
                                 .center();
        QCOMPARE(copyAt(empty, "CopierVersetReference"), QString("avant"));
    }

    void aReferenceOfTheRightColumnOpensThePassageInEveryBible() {
        w->SetComparison("LSG", {Load("DBY", "Darby")});
        TFDlgPassage* p = w->FDlgPassage;
        QVERIFY(!p->isVisible());
        QVERIFY(ClickLink("L2 1:1-3", 1));
        QTRY_VERIFY(p->isVisible());
        const QString text = p->WB->Browser()->toPlainText();
        for (const char* v :
             {"LSG", "DBY", "Texte 2.1.1", "Texte 2.1.3", "Darby 2.1.1", "Darby 2.1.3"})
            QVERIFY2(text.contains(QString(v)), v);
        QVERIFY(!text.contains("2.1.4"));
        QVERIFY(text.indexOf("Texte 2.1.1") < text.indexOf("DBY"));

        // The left column's reference too.
        p->close();
        QVERIFY(ClickLink("L19 23:1-6", 0));
        QTRY_VERIFY(p->isVisible());
        QVERIFY(p->WB->Browser()->toPlainText().contains("Darby 19.23.6"));

        // Ending the comparison shows the single page again, and the open
        // passage window follows.
        w->SetComparison("", {});
        QVERIFY(w->Comparison().empty());
        QVERIFY(!Table());
        QVERIFY(w->WB->Browser()->toPlainText().contains("Texte 1.1.1"));
        QVERIFY(!w->WB->Browser()->toPlainText().contains("Darby"));
        QCOMPARE(w->WB->Browser()->accessibleName(), Text("Genèse 1 — Texte biblique"));
        QVERIFY(!p->WB->Browser()->toPlainText().contains("Darby"));
        QVERIFY(p->WB->Browser()->toPlainText().contains("Texte 19.23.6"));
    }

    void fourBiblesShowFourColumnsThatMoveTogether() {
        w->SetComparison("LSG",
                         {Load("DBY", "Darby"), Load("MAR", "Martin"), Load("OST", "Ostervald")});
        QTextTable* table = Table();
        QVERIFY(table);
        QCOMPARE(table->columns(), 4);
        QCOMPARE(w->WB->Browser()->accessibleName(),
                 Text("Genèse 1 — Texte biblique, LSG, DBY, MAR et OST"));
        const qreal top = PlaceOf("Texte 1.1.6").top();
        for (const char* tag : {"Darby", "Martin", "Ostervald"})
            QCOMPARE(PlaceOf(QString(tag) + " 1.1.6").top(), top);

        // Another book from the list, then a reference from the last column.
        w->GoTo(1, 1, 5, 0);
        // The verse gone to is marked in every column, and it alone.
        const auto marks = w->WB->Browser()->extraSelections();
        QCOMPARE(marks.size(), 1);
        const QString marked = marks.first().cursor.selectedText();
        for (const char* tag : {"Texte", "Darby", "Martin", "Ostervald"})
            QVERIFY2(marked.contains(QString(tag) + " 1.1.5"), tag);
        QVERIFY(!marked.contains("1.1.4"));
        QVERIFY2(!marked.contains("1.1.6"), qPrintable(marked));
        QVERIFY(!marked.contains("L19"));
        QVERIFY(ClickLink("L19 23:1", 3));
        QTRY_VERIFY(w->FDlgPassage->isVisible());
        const QString passage = w->FDlgPassage->WB->Browser()->toPlainText();
        for (const char* v :
             {"Texte 19.23.1", "Darby 19.23.1", "Martin 19.23.1", "Ostervald 19.23.1"})
            QVERIFY2(passage.contains(QString(v)), v);
        w->FDlgPassage->close();

        w->CBLivre->SetItemIndex(18);
        emit w->CBLivre->Change(w->CBLivre->ItemIndex());
        QCOMPARE(w->Here().book, 19);
        QVERIFY(!PlaceOf("Ostervald 19.1.20").isNull());
        QCOMPARE(PlaceOf("Ostervald 19.1.20").top(), PlaceOf("Texte 19.1.20").top());
    }

    // A New Testament read beside a whole Bible: "Aller à" « Gn 1 » and the
    // book list open the Old Testament in the column that has it.
    void aNewTestamentReadBesideAWholeBibleOpensTheOldInItsColumn() {
        Close();
        const testing::DataSet nt = NewTestamentOnly("N");
        Open(nt);
        QVERIFY(w->Loaded());
        w->show();
        w->FrmRichEdit->RTFControl->setPlainText("Mes notes");
        w->SetComparison("NT", {Load("DBY", "D")});
        w->BoxAllerA->Focus();
        QLineEdit* box = w->BoxAllerA->Edit();
        box->setText("Gn 2");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->accessibleDescription(), QString());  // no refusal
        QCOMPARE(w->TCTexte->Caption(0), Text("Genèse 2"));
        QVERIFY(Page()->toPlainText().contains("D 1.2.1"));
        QVERIFY(Page()->toPlainText().contains(Text("Ce livre n'est pas dans cette Bible.")));
        QCOMPARE(w->SpinChapitre->Maximum(), 4);  // the chapters of the column's Genèse
        w->CBLivre->SetItemIndex(18);
        emit w->CBLivre->Change(18);
        QVERIFY(Page()->toPlainText().contains("D 19.1.1"));
        QCOMPARE(w->SpinChapitre->Maximum(), 150);
        w->SetComparison("", {});
    }

    // « Surligner » colours a verse in every Bible, kept in the reader's
    // notes file; « Effacer le surlignage » takes the colour away.
    void aVerseHighlightedShowsInEveryColumnAndIsKept() {
        w->SetComparison("LSG", {Load("DBY", "Darby")});
        const auto choose = [&](const char* text, const char* entry) {
            QVERIFY2(testing::ChooseInPageMenu(*w, QString(text), entry), entry);
        };
        const auto background = [&](const char* text) {
            QTextCursor found = Page()->find(QString(text));
            return found.charFormat().background().color();
        };
        choose("Texte 1.1.5", "Surligner_jaune");
        const QColor yellow = QColor::fromRgb(lorvane::ColourRgb(lorvane::Colour::Jaune));
        QCOMPARE(background("Texte 1.1.5"), yellow);
        QCOMPARE(background("Darby 1.1.5"), yellow);
        QVERIFY(background("Texte 1.1.6") != yellow);
        const QString file = UserDataFolder() + "/notes.txt";
        QFile kept(file);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(kept.readAll()).contains("H\t1 1 5\tjaune"));
        kept.close();
        choose("Darby 1.1.5", "EffacerSurlignage");
        QVERIFY(background("Texte 1.1.5") != yellow);

        // Over verses 4 to 6 selected: the three of them.
        QTextCursor selection = Page()->find(QString("Texte 1.1.4"));
        selection.setPosition(selection.selectionStart());
        selection.setPosition(Page()->find(QString("Texte 1.1.6")).selectionEnd(),
                              QTextCursor::KeepAnchor);
        w->WB->Browser()->setTextCursor(selection);
        QMenu menu;
        emit w->WB->ContextMenu(&menu, w->WB->Browser()->cursorRect(selection).center());
        QAction* green = menu.findChild<QAction*>("Surligner_vert");
        QVERIFY(green);
        green->trigger();
        const QColor vert = QColor::fromRgb(lorvane::ColourRgb(lorvane::Colour::Vert));
        for (const char* verse : {"Texte 1.1.4", "Texte 1.1.5", "Texte 1.1.6", "Darby 1.1.4"})
            QVERIFY2(background(verse) == vert, verse);
        QVERIFY(background("Texte 1.1.7") != vert);
        w->SetComparison("", {});
    }

    // The Bibles' names stay in sight above the page while it scrolls.
    void theColumnHeadsStayAboveThePageWhileItScrolls() {
        QWidget* heads = w->WB->ColumnHeads();
        QVERIFY(!heads->isVisible());
        w->SetComparison("LSG", {Load("DBY", "Darby")});
        QVERIFY(heads->isVisible());
        QStringList names;
        for (QLabel* label : heads->findChildren<QLabel*>())
            names << label->text();
        QCOMPARE(names, QStringList({"LSG", "DBY"}));
        QTextBrowser* b = w->WB->Browser();
        QVERIFY(heads->geometry().bottom() <= b->geometry().top());
        b->verticalScrollBar()->setValue(b->verticalScrollBar()->maximum());
        QVERIFY(heads->isVisible());
        w->SetComparison("", {});
        QVERIFY(!heads->isVisible());
    }

    // On paper the column heads come again at the top of every page, and a
    // Bible that lacks the book gets no column.
    void aComparisonOnPaperHasItsColumnHeadsOnEveryPage() {
        const auto load = [this](const testing::DataSet& d) {
            auto& folder = dirs_.emplace_back(std::make_unique<testing::TempDir>());
            testing::WriteDataFolder(folder->path(), d);
            auto tables = std::make_shared<Communs>(folder->appDir());
            LoadAllTables(*tables);
            return tables;
        };
        testing::DataSet longer = OtherBible("D");
        for (auto& v : longer.verses)
            if (v.book == 19 && v.chapter == 119)
                for (int k = 0; k < 12; ++k)
                    v.text += " et la parole de l'Eternel demeure";
        const testing::DataSet nt = NewTestamentOnly("N");
        w->SetComparison("LSG", {{"DBY", "Darby", load(longer)}, {"NTX", "Nouveau", load(nt)}});
        w->GoTo(19, 119, 0, 0);
        testing::TempDir out;
        const QString pdf = QString::fromStdString((out.path() / "Psaume 119.pdf").string());
        w->SaveChapterPdfClick(pdf);
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(text.waitForFinished(30000));
        const QString read = QString::fromUtf8(text.readAllStandardOutput());
        const QStringList pages = read.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QVERIFY2(pages.size() >= 2, qPrintable(read));
        for (const QString& page : pages) {
            if (page.trimmed().isEmpty()) continue;
            QVERIFY2(page.contains("LSG") && page.contains("DBY"), qPrintable(page));
        }
        QVERIFY(read.contains("Texte 19.119.20"));
        QVERIFY(!read.contains("NTX"));
        w->SetComparison("", {});
    }

    // A Hebrew Bible beside the Segond: its column runs from the right, each
    // verse number at the right of its verse, the Segond's from the left.
    void aHebrewColumnIsRightAlignedBesideTheSegond() {
        auto& folder = dirs_.emplace_back(std::make_unique<testing::TempDir>());
        testing::DataSet hebrew = OtherBible("H");
        for (auto& v : hebrew.verses)
            v.text = "בְּרֵאשִׁית בָּרָא אֱלֹהִים " + std::to_string(v.verse);
        for (auto& book : hebrew.books) {  // the fixture's names are Windows-1252
            book.name = cp1252::ToUtf8(book.name);
            book.shortName = cp1252::ToUtf8(book.shortName);
        }
        hebrew.utf8 = true;
        testing::WriteDataFolder(folder->path(), hebrew);
        auto tables = std::make_shared<Communs>(folder->appDir());
        LoadAllTables(*tables);
        w->SetComparison("LSG", {{"WLC", "Westminster Leningrad", tables}});
        QTextTable* table = nullptr;
        // The first table holds the names; the verses follow, one table each.
        int tables_seen = 0;
        for (QTextBlock b = Page()->begin(); b.isValid(); b = b.next()) {
            auto* t = qobject_cast<QTextTable*>(QTextCursor(b).currentTable());
            if (t && t != table) {
                table = t;
                if (++tables_seen == 2) break;
            }
        }
        QVERIFY(table && tables_seen == 2);
        QCOMPARE(table->columns(), 2);
        Page()->documentLayout()->blockBoundingRect(Page()->lastBlock());  // laid out whole
        QTextBrowser* b = w->WB->Browser();

        const QTextTableCell segond = table->cellAt(table->rows() - 1, 0);
        const QTextTableCell wlc = table->cellAt(table->rows() - 1, 1);
        const QTextBlock left = segond.firstCursorPosition().block();
        const QTextBlock right = wlc.firstCursorPosition().block();
        QVERIFY2(right.text().contains(Text("בָּרָא")), qPrintable(right.text()));
        QCOMPARE(right.blockFormat().layoutDirection(), Qt::RightToLeft);
        QVERIFY(left.blockFormat().layoutDirection() != Qt::RightToLeft);

        // The verse number (the cell's first character) stands right of the
        // words; the Segond's number left of its words.
        auto x = [&](const QTextTableCell& cell, int offset) {
            QTextCursor at = cell.firstCursorPosition();
            at.setPosition(at.position() + offset);
            return b->cursorRect(at).center().x();
        };
        QVERIFY(x(wlc, 0) > x(wlc, 4));
        QVERIFY(x(segond, 0) < x(segond, 4));
        // Right-aligned: the Hebrew line ends near its cell's right edge.
        QTextCursor end = wlc.lastCursorPosition();
        QTextCursor first = wlc.firstCursorPosition();
        const int cellRight = std::max(b->cursorRect(first).right(), b->cursorRect(end).right());
        QVERIFY2(cellRight > b->viewport()->width() * 3 / 4,
                 qPrintable(QString::number(cellRight)));
    }
};

QTEST_MAIN(CompareWindowTest)
#include "CompareWindowTest.moc"
