#include <QAction>
#include <QStackedWidget>
#include <QTextEdit>
#include <QtTest>
#include <memory>

#include "AppFixture.h"
#include "Bible.h"
#include "Fixtures.h"
#include "FrRichEdit.h"
#include "ModalDriver.h"

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
