#include "Startup.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "Accessible.h"
#include "Bible.h"
#include "PageFonts.h"
#include "SessionEnd.h"
#include "Splash.h"

namespace lorvane {

bool InstallFrenchQtTexts() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString name = QStringLiteral("LorvaneQtFrench");
    if (app->findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) return true;
    auto* translator = new QTranslator(app);
    translator->setObjectName(name);
    if (!translator->load(QStringLiteral("qtbase_fr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int StartLorvane(Communs& communs) {
    InstallFrenchQtTexts();
    InstallPageFonts();
    InstallAccessibility();
    // The icon of every window, the one of the desktop menu entry.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/lorvane.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("lorvane"));
    TFSplash splash;
    splash.show();
    splash.repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Lorvane - Lorvane"));
    QApplication::setApplicationDisplayName(QString());

    TFBible bible(communs);
    if (!bible.Loaded()) return 0;
    SessionGuard notes(bible.FrmRichEdit);
    splash.repaint();
    bible.showMaximized();
    return QApplication::exec();
}

}  // namespace lorvane
