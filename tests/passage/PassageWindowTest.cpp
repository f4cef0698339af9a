#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QtTest>

#include "AppFixture.h"
#include "Bible.h"
#include "DlgPassage.h"
#include "Fixtures.h"
#include "HTMLControls.h"

using namespace lorvane;

// The passage window on a real window system (X11 without a window
// manager): there a window takes the activation only when it asks for it.
class PassageWindowTest : public testing::MainWindowTestCase {
    Q_OBJECT

    bool ActivateMain() {
        w->activateWindow();
        return QTest::qWaitForWindowActive(w);
    }

  private slots:
    void init() {
        Open(testing::DataSet::Small());
        QVERIFY(w->Loaded());
        w->resize(800, 600);
        w->show();
        QVERIFY(ActivateMain());
    }
    void cleanup() { Close(); }

    void shownFromHiddenItTakesTheActivation() {
        TFDlgPassage* dlg = w->FDlgPassage;
        for (int round = 0; round < 2; ++round) {
            w->OpenPassage(2, 1, 1, 3);
            QVERIFY(dlg->isVisible());
            QTRY_VERIFY(dlg->isActiveWindow());
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus && dlg->isAncestorOf(focus));
            // Escape reaches it at once and closes it.
            QTest::keyClick(focus, Qt::Key_Escape);
            QVERIFY(!dlg->isVisible());
            QVERIFY(ActivateMain());
        }
    }

    void alreadyOpenItStaysWhereItIs() {
        TFDlgPassage* dlg = w->FDlgPassage;
        w->OpenPassage(2, 1, 1, 3);
        QTRY_VERIFY(dlg->isActiveWindow());
        QVERIFY(ActivateMain());
        const QPoint where = dlg->pos();
        w->OpenPassage(3, 2, 4, 4);
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Livre 3 2:4"));
        QTest::qWait(300);
        QVERIFY(w->isActiveWindow());
        QVERIFY(!dlg->isActiveWindow());
        QCOMPARE(dlg->pos(), where);
    }

    void newTabButtonIsFlatAndWhite() {
        w->OpenPassage(2, 1, 1, 3);
        THTMLButton* button = w->FDlgPassage->BtnNouveau;
        QCursor::setPos(0, 0);
        QTRY_VERIFY(!button->underMouse());
        const QImage image = button->grab().toImage();
        // Away from the image in its middle, the button is all white.
        for (int x = 0; x < image.width(); ++x) {
            for (int y : {0, 1, 2, image.height() - 3, image.height() - 2, image.height() - 1})
                QCOMPARE(image.pixelColor(x, y), QColor(Qt::white));
        }
        for (int y = 0; y < image.height(); ++y) {
            for (int x : {0, 1, 2, image.width() - 3, image.width() - 2, image.width() - 1})
                QCOMPARE(image.pixelColor(x, y), QColor(Qt::white));
        }
    }
};

QTEST_MAIN(PassageWindowTest)
#include "PassageWindowTest.moc"
