#include "Startup.h"

#include <QApplication>
#include <QIcon>

#include "Accessible.h"
#include "Bible.h"
#include "PageFonts.h"
#include "Splash.h"

namespace lorvane {

int StartLorvane(Communs& communs) {
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
    splash.repaint();
    bible.showMaximized();
    return QApplication::exec();
}

}  // namespace lorvane
