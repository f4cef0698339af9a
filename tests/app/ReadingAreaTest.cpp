#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QtTest>

#include "AppFixture.h"
#include "Bible.h"
#include "Fixtures.h"
#include "HTMLControls.h"
#include "MenuCheckStyle.h"
#include "TextTabs.h"

using namespace lorvane;

// The reading area of the main window as a reader meets it: many tabs, its
// menus and its controls.
class ReadingAreaTest : public testing::MainWindowTestCase {
    Q_OBJECT

  private slots:
    void init() {
        Open(testing::DataSet::Small());
        QVERIFY(w->Loaded());
    }
    void cleanup() { Close(); }

    void fortyTabsAtEveryPositionKeepTheDesignSize() {
        const QSize design(686, 552);
        w->resize(design);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        while (w->TCTexte->Count() < 40)
            w->BtnNouveau->click();
        for (QAction* position :
             {w->ActionPosDroite, w->ActionPosHaut, w->ActionPosBas, w->ActionPosGauche}) {
            position->trigger();
            QApplication::processEvents();
            const QSize hint = w->minimumSizeHint();
            QVERIFY2(hint.width() <= design.width() && hint.height() <= design.height(),
                     qPrintable(QStringLiteral("%1: %2 x %3")
                                    .arg(position->objectName())
                                    .arg(hint.width())
                                    .arg(hint.height())));
            QCOMPARE(w->size(), design);
            QVERIFY(w->rect().contains(w->TCTexte->Bar()->geometry().translated(
                w->TCTexte->Bar()->mapTo(w, QPoint()) - w->TCTexte->Bar()->pos())));
        }
        // Closing them all leaves the window as it was.
        while (w->TCTexte->Count() > 1)
            w->BtnFermer->click();
        QApplication::processEvents();
        QCOMPARE(w->size(), design);
    }

    void checkedOptionsAreMarkedPlainly() {
        QStringList marked;
        for (QAction* a : w->menuBar()->actions())
            if (a->menu() && qobject_cast<MenuCheckStyle*>(a->menu()->style())) marked << a->text();
        QCOMPARE(marked, QStringList({"&Affichage", "&Bible", "&Options"}));
    }
};

QTEST_MAIN(ReadingAreaTest)
#include "ReadingAreaTest.moc"
