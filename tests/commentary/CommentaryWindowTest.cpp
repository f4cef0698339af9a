// The « Commentaire » pane in the main window: its action in Affichage and
// the toolbar, and a SWORD commentary imported by Fichier > Importer une
// Bible... shown there, never among the Bibles.

#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>

#include "AppFixture.h"
#include "BibleShelf.h"
#include "BrowserPane.h"
#include "CommentaryPane.h"
#include "GoToBox.h"
#include "ReadingView.h"
#include "SwordFixtures.h"

namespace lorvane {

class CommentaryWindowTest : public testing::MainWindowTestCase {
    Q_OBJECT
  private slots:
    void init() { Open(testing::MainWindowBible()); }
    void cleanup() { Close(); }

    void itsActionShowsThePaneFromTheMenuAndTheToolbar() {
        QAction* action = w->findChild<QAction*>("ActionCommentaire");
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("&Commentaire"));
        QVERIFY(action->isCheckable());
        QVERIFY(w->ToolBar2->actions().contains(action));
        bool inMenu = false;
        for (QMenu* menu : w->findChildren<QMenu*>())
            inMenu = inMenu || menu->actions().contains(action);
        QVERIFY(inMenu);
        action->trigger();
        auto* pane = w->findChild<CommentaryPane*>("PanneauCommentaire");
        QVERIFY(pane);
        QCOMPARE(w->PC->currentWidget(), pane);
        QVERIFY(action->isChecked());
    }

    // The caret moved in the page, or the page scrolled, brings the
    // reader to the verse the pane follows.
    void theCaretAndTheScrollSayTheVerseRead() {
        w->resize(900, 500);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        ReadingView* view = w->View();
        QTextBrowser* page = w->WB->Browser();
        page->setFocus();
        QTRY_VERIFY(page->hasFocus());
        view->CaretToVerse(12);
        QCOMPARE(w->Reading().VerseRead(), 12);
        w->ActionTexteLigne->trigger();  // a verse a line: the page scrolls
        w->resize(900, 300);
        w->BoxAllerA->Focus();  // the focus leaves the page
        QTRY_VERIFY(page->verticalScrollBar()->maximum() > 0);
        page->verticalScrollBar()->setValue(page->verticalScrollBar()->maximum());
        page->verticalScrollBar()->setValue(0);
        QTRY_COMPARE(w->Reading().VerseRead(), 1);
    }

    void anImportedCommentaryIsShownAndNeverListedAsABible() {
        testing::TempDir library;
        testing::SwordModuleRecipe recipe;
        recipe.name = "Henry";
        recipe.confDriver = "zCom";
        recipe.verses = {{"Gen.1.2", "<hi type=\"bold\">Verses 2-3</hi> L'esprit."},
                         {"Gen.1.5", "<hi type=\"bold\">Verses 9-10</hi> Ailleurs."}};
        recipe.links = {{"Gen.1.3", "Gen.1.2"}};
        const auto conf = testing::WriteSwordModule(library.path(), recipe);
        const std::size_t bibles = w->Shelf().Count();
        QString said;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&said] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            said = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        answer.start(5);
        QVERIFY(w->ImportBibleFromFile(QString::fromStdString(conf.string())));
        answer.stop();
        QVERIFY2(said.startsWith(QString::fromUtf8(
                     "Commentaire importé depuis un module SWORD (zCom, OSIS) : 1 entrée.")),
                 qPrintable(said));
        QVERIFY(said.contains(
            QString::fromUtf8("Une entrée illisible ou mal placée a été laissée de côté.")));
        QCOMPARE(w->Shelf().Count(), bibles);
        auto* pane = w->findChild<CommentaryPane*>("PanneauCommentaire");
        QCOMPARE(pane->Choice()->count(), 1);
        QVERIFY(w->Reading().MoveTo(Place{1, 1, 3}));
        QVERIFY2(pane->Text()->toPlainText().contains(QString::fromUtf8("L'esprit.")),
                 qPrintable(pane->Text()->toPlainText()));
        QVERIFY(w->Reading().MoveTo(Place{1, 1, 5}));
        QCOMPARE(pane->Text()->toPlainText(),
                 QString::fromUtf8("Aucun commentaire sur ce verset."));
    }
};

}  // namespace lorvane

QTEST_MAIN(lorvane::CommentaryWindowTest)
#include "CommentaryWindowTest.moc"
