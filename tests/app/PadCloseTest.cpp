#include <QAction>
#include <QComboBox>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "AppFixture.h"
#include "Bible.h"
#include "Fixtures.h"
#include "FrRichEdit.h"
#include "ModalDriver.h"
#include "PageFonts.h"

using namespace lorvane;

// The writing pad in the main window: created in its pane, and asked
// before the window closes over unsaved notes.
class PadCloseTest : public testing::MainWindowTestCase {
    Q_OBJECT

  private slots:
    void init() {
        Open(testing::DataSet::Small());
        QVERIFY(w->Loaded());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    void cleanup() {
        testing::CancelPendingAnswers();
        Close();
    }

    void thePadFillsItsPane() {
        QVERIFY(w->FrmRichEdit);
        QCOMPARE(w->FrmRichEdit->parentWidget(), w->PanneauRediger);
        w->ActionRediger->trigger();
        QCOMPARE(w->PC->currentWidget(), w->PanneauRediger);
        QVERIFY(w->FrmRichEdit->isVisible());
        QCOMPARE(w->FrmRichEdit->size(), w->PanneauRediger->contentsRect().size());
    }

    void showingThePadPutsTheCaretInTheText() {
        QVERIFY(QTest::qWaitForWindowActive(w));
        QTextEdit* text = w->FrmRichEdit->RTFControl;
        // From the toolbar, the first time.
        auto* button = qobject_cast<QToolButton*>(w->ToolBar2->widgetForAction(w->ActionRediger));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), text);
        QTest::keyClicks(QApplication::focusWidget(), "Note");
        QCOMPARE(text->toPlainText(), QString("Note"));
        // In the window too, the face the pages use for Tahoma, at 10 points.
        QCOMPARE(w->FrmRichEdit->Fontname->currentText(), TahomaStandIn());
        QCOMPARE(w->FrmRichEdit->FontSize->currentText(), QString("10"));
        // From the menu, after another pane.
        w->ActionLivres->trigger();
        QVERIFY(!text->isVisible());
        w->ActionRediger->trigger();
        QCOMPARE(QApplication::focusWidget(), text);
    }

    void closingAsksAboutUnsavedNotes() {
        w->ActionRediger->trigger();
        w->FrmRichEdit->RTFControl->insertPlainText("Mes notes");
        auto text = std::make_shared<QString>();
        testing::AnswerBox(QMessageBox::Cancel, text);
        QVERIFY(!w->close());
        QCOMPARE(*text, QString("Enregistrer les modifications ?"));
        QVERIFY(w->isVisible());
        QCOMPARE(w->FrmRichEdit->RTFControl->toPlainText(), QString("Mes notes"));
        testing::AnswerBox(QMessageBox::No);
        QVERIFY(w->close());
    }

    void closingWithoutChangesAsksNothing() {
        bool closed = false;
        QVERIFY(!testing::OpensModal([&] { closed = w->close(); }));
        QVERIFY(closed);
    }
};

QTEST_MAIN(PadCloseTest)
#include "PadCloseTest.moc"
