// The search pane in the main window: its defaults, the chapter it reads,
// the result clicks; and the whole search on the Louis Segond data set when
// its folder is on this machine.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "Bible.h"
#include "BrowserPane.h"
#include "ChapterSpin.h"
#include "Cp1252.h"
#include "Fixtures.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "HistoryEdit.h"
#include "SearchEngine.h"
#include "SearchPane.h"

using namespace lorvane;

namespace {

// 66 books "Livre N" (book 19 "Psaumes" of 150 chapters, the others of 3),
// every chapter of 5 verses "Texte b.c.v".
testing::DataSet Bible() {
    testing::DataSet d;
    for (int b = 1; b <= 66; ++b) {
        const int chapters = b == 19 ? 150 : 3;
        d.books.push_back({b == 19 ? "Psaumes" : "Livre " + std::to_string(b),
                           b == 19 ? "Ps" : "L" + std::to_string(b), chapters});
        for (int c = 1; c <= chapters; ++c)
            for (int v = 1; v <= 5; ++v)
                d.verses.push_back({b, c, v,
                                    "Texte " + std::to_string(b) + "." + std::to_string(c) + "." +
                                        std::to_string(v)});
    }
    d.headings = {{'E', 19, 23, 1, "Le berger"}};
    d.pages = testing::TinyPages();
    return d;
}

}  // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT

    // Shows the window and waits for its first activation.
    static void Show(TFBible& w) {
        w.resize(1000, 700);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    // Clicks the row of a list as the user does.
    static void ClickRow(THTMListBox* list, int row) {
        const int h = list->ItemHeight();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(20, (row - list->TopIndex()) * h + h / 2));
    }

  private slots:
    void paneInTheWindow() {
        testing::TempDir dir;
        testing::WriteDataFolder(dir.path(), Bible());
        Communs communs(dir.appDir());
        TFBible w(communs);
        QVERIFY(w.Loaded());
        Show(w);
        TPanneauRechercher* pane = w.PanneauRechercher;
        QCOMPARE(pane->objectName(), QString("PanneauRechercher"));
        QCOMPARE(w.LBRech, pane->LBRech);
        QCOMPARE(pane->CBRechMethode->currentIndex(), 0);
        QCOMPARE(pane->CBRechDans->currentIndex(), 2);
        w.ActionRechercher->trigger();
        QCOMPARE(w.PC->currentWidget(), pane);
        // In the module panel as the window opens, every item of both lists
        // shows whole.
        for (QComboBox* list : {pane->CBRechMethode, pane->CBRechDans}) {
            QStyleOptionComboBox option;
            option.initFrom(list);
            const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                              QStyle::SC_ComboBoxEditField, list);
            for (int i = 0; i < list->count(); ++i)
                QVERIFY2(list->fontMetrics().horizontalAdvance(list->itemText(i)) < field.width(),
                         qPrintable(list->itemText(i)));
        }

        // "ce chapitre" is the chapter shown when the search starts.
        w.CBLivre->SetItemIndex(18);
        emit w.CBLivre->Change(w.CBLivre->ItemIndex());
        w.SpinChapitre->SetValue(23);
        emit w.SpinChapitre->valueEdited(w.SpinChapitre->Value());
        pane->CBRechDans->setCurrentIndex(0);
        pane->EditRech->setText("Texte 19.23.");
        pane->BtnRech->click();
        QCOMPARE(w.LBRech->Count(), 6);
        QCOMPARE(w.LBRech->Value(1), 19023);
        w.SpinChapitre->SetValue(22);
        emit w.SpinChapitre->valueEdited(w.SpinChapitre->Value());
        QCOMPARE(w.LBRech->Count(), 6);  // the results stay
        pane->BtnRech->click();
        QCOMPARE(w.LBRech->Count(), 1);  // chapter 22 has none of them

        // A result opens its chapter; the count line opens nothing.
        pane->CBRechDans->setCurrentIndex(4);
        pane->EditRech->setText("19.23.4");
        pane->BtnRech->click();
        QCOMPARE(w.LBRech->Count(), 2);
        w.CBLivre->SetItemIndex(0);
        emit w.CBLivre->Change(w.CBLivre->ItemIndex());
        ClickRow(w.LBRech, 0);
        QCOMPARE(w.Here().book, 1);
        QCOMPARE(w.Here().chapter, 1);
        ClickRow(w.LBRech, 1);
        QCOMPARE(w.Here().book, 19);
        QCOMPARE(w.Here().chapter, 23);
        QCOMPARE(w.Here().verse, 4);  // the found verse at the top
        QCOMPARE(w.CBLivre->ItemIndex(), 18);
        QCOMPARE(w.SpinChapitre->Value(), 23);
        QCOMPARE(w.LBIndex->Count(), 1);  // the headings of book 19
        QVERIFY(w.WB->LocationURL().endsWith("temp.htm#4"));

        // The arrow keys follow the results, each at its verse.
        pane->CBRechDans->setCurrentIndex(0);
        pane->EditRech->setText("Texte");
        pane->BtnRech->click();
        ClickRow(w.LBRech, 2);
        QCOMPARE(w.Here().verse, 2);
        QTest::keyClick(w.LBRech, Qt::Key_Down);
        QCOMPARE(w.Here().verse, 3);
        QVERIFY(w.WB->LocationURL().endsWith("temp.htm#3"));
    }

    void louisSegond() {
        const std::filesystem::path lsg = LORVANE_LSG_DIR;
        if (!std::filesystem::is_directory(lsg)) QSKIP("no Louis Segond folder");
        testing::TempDir dir;
        QProcess tool;
        tool.start(LORVANE_DATA_TOOL,
                   {"--usfm", QString::fromStdString(lsg.string()), "--pages", LORVANE_PAGES_DIR,
                    "--out", QString::fromStdString((dir.path() / "data").string())});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        Communs communs(dir.appDir());
        TFBible w(communs);
        QVERIFY(w.Loaded());
        Show(w);
        w.ActionRechercher->trigger();
        TPanneauRechercher* pane = w.PanneauRechercher;
        pane->CBRechDans->setCurrentIndex(4);

        auto search = [&](const char* query, int method) {
            pane->EditRech->setText(QString::fromUtf8(query));
            pane->CBRechMethode->setCurrentIndex(method);
            QElapsedTimer clock;
            clock.start();
            pane->BtnRech->click();
            qInfo("%s: %d items in %lld ms", query, pane->LBRech->Count(),
                  static_cast<long long>(clock.elapsed()));
        };
        search("au commencement", 1);
        QVERIFY(pane->LBRech->Count() > 2);
        QVERIFY(pane->LBRech->Text(1).startsWith(QString::fromUtf8(
            "<B>Ge 1:1</B> : <FONT color=\"#C00400\">Au commencement</FONT>, Dieu créa")));
        bool johnOne = false;
        for (int i = 1; i < pane->LBRech->Count(); ++i)
            johnOne = johnOne || pane->LBRech->Text(i).startsWith("<B>Jn 1:1</B>");
        QVERIFY(johnOne);

        // A quotation pasted with its typographic apostrophe.
        search("n’ayez pas peur", 1);
        QCOMPARE(pane->LBRech->Count(), 7);

        search("lumière ténèbres", 0);
        QVERIFY(pane->LBRech->Count() > 10);
        QVERIFY(pane->LBRech->Count() < 200);
        for (int i = 1; i < pane->LBRech->Count(); ++i) {
            const QString t = pane->LBRech->Text(i);
            for (const char* word : {"umière</FONT>", "énèbres</FONT>"})
                QVERIFY2(t.contains(QString::fromUtf8(word)), qPrintable(t));
        }

        // More than 200: the first 200, and the total at the head.
        search("Dieu", 0);
        QCOMPARE(pane->LBRech->Count(), 201);
        QVERIFY(
            pane->LBRech->Text(0).contains(QString::fromUtf8(" versets trouvés ; seuls les 200")));
        QCOMPARE(pane->LBRech->Text(1),
                 QString::fromUtf8("<B>Ge 1:1</B> : Au commencement, <FONT color=\"#C00400\">"
                                   "Dieu</FONT> créa les cieux et la terre."));

        // The query runs as the reader typed it, whatever the history holds.
        auto count = [&](const char* query) {
            SearchRequest r;
            r.query = query;
            r.method = pane->CBRechMethode->currentIndex();
            r.scope = pane->CBRechDans->currentIndex();
            r.currentBook = w.Here().book;
            r.currentChapter = w.Here().chapter;
            return Search(communs, r).total;
        };
        auto typeAndEnter = [&](const char* query) {
            pane->EditRech->setFocus();
            pane->EditRech->selectAll();
            QTest::keyClicks(pane->EditRech, QString::fromUtf8(query));
            QTest::keyClick(pane->EditRech, Qt::Key_Return);
            QCOMPARE(pane->EditRech->text(), QString::fromUtf8(query));
        };
        pane->CBRechMethode->setCurrentIndex(0);
        typeAndEnter("saint-esprit");
        QCOMPARE(pane->LBRech->Count(), 1);
        typeAndEnter("Saint-Esprit");
        QVERIFY(count("Saint-Esprit") > 50);
        QCOMPARE(pane->LBRech->Count(), count("Saint-Esprit") + 1);
        w.CBLivre->SetItemIndex(0);
        emit w.CBLivre->Change(w.CBLivre->ItemIndex());
        pane->CBRechDans->setCurrentIndex(1);
        typeAndEnter("ÉTERNEL");
        typeAndEnter("Éternel");
        QVERIFY(count("Éternel") > 100);
        QCOMPARE(pane->LBRech->Count(), count("Éternel") + 1);
    }
};

QTEST_MAIN(SearchWindowTest)
#include "SearchWindowTest.moc"
