#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileIconProvider>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "Bible.h"
#include "BrowserPane.h"
#include "ChapterSpin.h"
#include "Fixtures.h"
#include "Startup.h"

using namespace lorvane;

namespace {

// The texts of a menu's entries, without their accelerator marks.
QStringList Entries(const QMenu* menu) {
    QStringList texts;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text().remove(QLatin1Char('&')).split('\t').first();
    return texts;
}

// Runs `check` on the main window once the program shows it, then closes it.
void WhenMainWindowShown(std::function<void(TFBible*)> check) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* bible = qobject_cast<TFBible*>(w); bible && bible->isVisible()) {
                timer->stop();
                timer->deleteLater();
                check(bible);
                bible->close();
                return;
            }
        }
    });
    timer->start();
}

QMenu* OpenMenu() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMenu*>(top); m && m->isVisible()) return m;
    return nullptr;
}

}  // namespace

// Run with LANG=C: the program speaks French whatever the system's language.
class FrenchTextsTest : public QObject {
    Q_OBJECT
  private slots:
    void qtsOwnTextsAreFrench() {
        QCOMPARE(QLocale::system().name(), QStringLiteral("C"));
        testing::TempDir dir;
        testing::WriteDataFolder(dir.path(), testing::DataSet::Small());
        Communs communs(dir.appDir());

        QStringList spinMenu, paneMenu, boxButtons;
        QString folderType;
        WhenMainWindowShown([&](TFBible* bible) {
            // The chapter field's own menu.
            QMenu* menu = bible->SpinChapitre->Edit()->createStandardContextMenu();
            spinMenu = Entries(menu);
            delete menu;
            // The reading pane's menu.
            QWidget* viewport = bible->WB->Browser()->viewport();
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                    viewport->mapToGlobal(QPoint(10, 10)));
            QApplication::sendEvent(viewport, &event);
            if (QMenu* open = OpenMenu()) {
                paneMenu = Entries(open);
                open->close();
            }
            // The buttons of the boxes still to come.
            QMessageBox box(QMessageBox::Question, QStringLiteral("Lorvane"), QStringLiteral("?"),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                boxButtons << box.button(b)->text().remove(QLatin1Char('&'));
            // The "Type" column of the file dialogs, for a folder.
            folderType =
                QFileIconProvider().type(QFileInfo(QString::fromStdString(dir.path().string())));
        });
        QCOMPARE(StartLorvane(communs), 0);

        QVERIFY2(spinMenu.contains(QStringLiteral("Copier")), qPrintable(spinMenu.join(", ")));
        QVERIFY2(spinMenu.contains(QStringLiteral("Tout sélectionner")),
                 qPrintable(spinMenu.join(", ")));
        for (const char* english : {"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"})
            QVERIFY2(!spinMenu.contains(QString::fromLatin1(english)), english);
        QCOMPARE(paneMenu, QStringList({"Copier", "Tout sélectionner", "Copier le verset",
                                        "Copier le verset avec sa référence",
                                        "Annoter ce verset...", "Surligner", "Ajouter un signet"}));
        QCOMPARE(boxButtons, QStringList({"Oui", "Non", "Annuler"}));
        QCOMPARE(folderType, QStringLiteral("Dossier"));
    }
};

QTEST_MAIN(FrenchTextsTest)
#include "FrenchTextsTest.moc"
