// The « Mot » pane in the main window, on a Bible whose Jean 1:1 carries
// Strong's numbers and parsings: the word the caret reaches, its
// occurrences in the search pane, the interlinear and the key that goes to
// the pane and back.

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "AppFixture.h"
#include "BrowserPane.h"
#include "HTMListBox.h"
#include "ReadingView.h"
#include "SearchPane.h"
#include "StrongsDictionary.h"
#include "WordPane.h"
#include "WordTags.h"

namespace lorvane {

namespace {

const std::string kJohn11 = "Ἐν ἀρχῇ ἦν ὁ λόγος, καὶ ὁ λόγος ἦν πρὸς τὸν θεόν.";

words::WordTag Tag(const std::string& text, const std::string& word, std::size_t from,
                   std::string strongs, std::string morph) {
    const std::size_t at = text.find(word, from);
    return {static_cast<std::uint32_t>(at),
            static_cast<std::uint32_t>(word.size()),
            std::move(strongs),
            std::move(morph),
            {}};
}

bool InMenus(const QWidget* window, const QAction* action) {
    for (const QMenu* menu : window->findChildren<QMenu*>())
        if (menu->actions().contains(action)) return true;
    return false;
}

}  // namespace

class WordWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempDir> dir;
    std::unique_ptr<Communs> communs;
    std::unique_ptr<TFBible> w;

    // Puts the caret inside the n-th (0: first) `word` of the page.
    void CaretIn(const QString& word, int n = 0) {
        QTextBrowser* page = w->WB->Browser();
        QTextCursor found = page->document()->find(word);
        for (int k = 0; k < n; ++k)
            found = page->document()->find(word, found);
        QVERIFY(!found.isNull());
        found.setPosition(found.selectionStart() + 2);
        page->setTextCursor(found);
    }

  private slots:
    void init() {
        testing::DataSet d = testing::MainWindowBible();
        d.utf8 = true;
        d.books[0].name = "Genèse";
        d.books[42].name = "Jean";
        for (auto& h : d.headings)
            if (h.title ==
                "Cr\xE9"
                "ation")
                h.title = "Création";
        for (auto& v : d.verses) {
            if (v.book == 43 && v.chapter == 1 && v.verse == 1) v.text = kJohn11;
            if (v.book == 43 && v.chapter == 2 && v.verse == 3) v.text = "ὁ λόγος";
        }
        dir = std::make_unique<testing::TempDir>();
        testing::WriteDataFolder(dir->path(), d);
        const std::size_t second = kJohn11.find("λόγος") + 1;
        testing::WriteDataFile(
            dir->path(), words::kWordsFile,
            words::EncodeWords(
                {{43,
                  1,
                  1,
                  {Tag(kJohn11, "λόγος", 0, "G3056", "robinson:N-NSM"),
                   Tag(kJohn11, "λόγος", second, "G3056", "robinson:N-NSM"),
                   Tag(kJohn11, "θεόν", 0, "G2316", "robinson:N-ASM")}},
                 {43, 2, 3, {Tag("ὁ λόγος", "λόγος", 0, "G3056", "robinson:N-NSM")}}}));
        // The Strong's dictionaries beside the program.
        std::filesystem::create_directories(dir->path() / "dictionnaires");
        std::ofstream(dir->path() / "dictionnaires" / "strongs-grec.txt")
            << words::FormatStrongsFile(
                   {{"G3004", "λέγω", "légō", "leg'-o", "to say"},
                    {"G3056", "λόγος", "lógos", "log'-os", "from G3004; something said"}},
                   {});
        communs = std::make_unique<Communs>(dir->appDir());
        w = std::make_unique<TFBible>(*communs);
        w->resize(900, 600);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup() {
        w.reset();
        communs.reset();
        dir.reset();
    }

    void itsActionsAreInTheMenus() {
        auto* mot = w->findChild<QAction*>("ActionMot");
        auto* interlinear = w->findChild<QAction*>("ActionInterlineaire");
        auto* go = w->findChild<QAction*>("ActionAllerAuMot");
        QVERIFY(mot && interlinear && go);
        QCOMPARE(mot->text(), QStringLiteral("&Mot"));
        QVERIFY(interlinear->isCheckable());
        QCOMPARE(go->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
        for (QAction* a : {mot, interlinear, go})
            QVERIFY(InMenus(w.get(), a));
    }

    void theCaretOnAWordShowsItInFrenchAndItsOccurrences() {
        w->findChild<QAction*>("ActionMot")->trigger();
        auto* pane = w->findChild<WordPane*>("PanneauMot");
        QVERIFY(pane && pane->isVisible());
        QVERIFY(!pane->Occurrences()->isEnabled());
        w->Reading().MoveTo(Place{43, 1, 1});
        w->WB->Browser()->setFocus();
        QTRY_VERIFY(w->WB->Browser()->hasFocus());
        CaretIn(QStringLiteral("λόγος"), 1);
        const QString shown = pane->Text()->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("λόγος")), qPrintable(shown));
        QVERIFY(shown.contains(QStringLiteral("G3056")));
        QVERIFY(shown.contains(QStringLiteral("nom, nominatif, singulier, masculin")));
        QCOMPARE(pane->Number(), QStringLiteral("G3056"));
        QVERIFY(pane->Text()->accessibleDescription().startsWith(QStringLiteral("λόγος, G3056")));
        QVERIFY(shown.contains(QStringLiteral("λόγος (lógos)")));
        QVERIFY2(shown.contains(QStringLiteral("Définition (en anglais), G3056")),
                 qPrintable(shown));
        // The number its entry names opens that entry.
        emit pane->Text()->anchorClicked(QUrl(QStringLiteral("lorvane-strong:G3004")));
        QVERIFY(pane->Text()->toPlainText().contains(QStringLiteral("λέγω légō [leg'-o] to say")));
        QCOMPARE(pane->Number(), QStringLiteral("G3004"));
        // An untagged word leaves what is shown; another tagged one replaces it.
        CaretIn(QStringLiteral("πρὸς"));
        QCOMPARE(pane->Number(), QStringLiteral("G3004"));
        CaretIn(QStringLiteral("θεόν"));
        QCOMPARE(pane->Number(), QStringLiteral("G2316"));
        // The verse the caret is in is still the one the reading follows.
        QCOMPARE(w->View()->VerseReached(), 1);

        CaretIn(QStringLiteral("λόγος"));
        pane->Occurrences()->click();
        THTMListBox* list = w->PanneauRechercher->LBRech;
        QTRY_COMPARE(list->Count(), 3);  // the count line and two verses
        QVERIFY2(list->Text(0).contains(QStringLiteral("3 occurrences de G3056")),
                 qPrintable(list->Text(0)));
        QVERIFY(list->Text(1).contains(QStringLiteral("<FONT color=\"#C00400\">λόγος</FONT>")));
    }

    void aClickOnAWordShowsIt() {
        w->findChild<QAction*>("ActionMot")->trigger();
        w->Reading().MoveTo(Place{43, 1, 1});
        QTextBrowser* page = w->WB->Browser();
        QTextCursor word = page->document()->find(QStringLiteral("θεόν"));
        QVERIFY(!word.isNull());
        word.setPosition(word.selectionStart() + 1);
        const QPoint at = page->cursorRect(word).center();
        QTest::mouseClick(page->viewport(), Qt::LeftButton, {}, at);
        auto* pane = w->findChild<WordPane*>("PanneauMot");
        QTRY_COMPARE(pane->Number(), QStringLiteral("G2316"));
        QVERIFY(pane->Text()->toPlainText().contains(QStringLiteral("accusatif")));
    }

    void theInterlinearWritesTheNumbersUnderTheWords() {
        w->Reading().MoveTo(Place{43, 1, 1});
        QVERIFY(!w->WB->Browser()->toPlainText().contains(QStringLiteral("G3056")));
        w->findChild<QAction*>("ActionInterlineaire")->trigger();
        QTRY_VERIFY(w->WB->Browser()->toPlainText().contains(QStringLiteral("G3056")));
        QVERIFY(w->WB->Browser()->toPlainText().contains(QStringLiteral("n. nom. sg. masc.")));
        // Another chapter keeps it; turned off, the text is plain again.
        w->Reading().MoveTo(Place{43, 2, 3});
        QVERIFY(w->WB->Browser()->toPlainText().contains(QStringLiteral("G3056")));
        w->findChild<QAction*>("ActionInterlineaire")->trigger();
        QVERIFY(!w->WB->Browser()->toPlainText().contains(QStringLiteral("G3056")));
    }

    void theKeyGoesToThePaneAndBack() {
        QTextBrowser* page = w->WB->Browser();
        page->setFocus();
        QTRY_VERIFY(page->hasFocus());
        auto* go = w->findChild<QAction*>("ActionAllerAuMot");
        go->trigger();
        auto* pane = w->findChild<WordPane*>("PanneauMot");
        QTRY_VERIFY(pane->Text()->hasFocus());
        QVERIFY(w->findChild<QAction*>("ActionMot")->isChecked());
        go->trigger();
        QTRY_VERIFY(page->hasFocus());
    }
};

}  // namespace lorvane

QTEST_MAIN(lorvane::WordWindowTest)
#include "WordWindowTest.moc"
