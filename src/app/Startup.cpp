#include "Startup.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTimer>
#include <QTranslator>
#include <system_error>

#include "Accessible.h"
#include "Artwork.h"
#include "Bible.h"
#include "FctLoad.h"
#include "PageFonts.h"
#include "SessionEnd.h"
#include "Splash.h"
#include "StudyPages.h"

namespace lorvane {
namespace {

// Hides the splash as soon as the main window has been drawn on the screen:
// left under it, the splash would show through whenever the main window is
// restored or moved, and would stay in the window switcher.
class HideSplashOnceShown : public QObject {
  public:
    HideSplashOnceShown(QWidget* window, QWidget* splash) : QObject(window), splash_(splash) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && splash_) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, splash_, &QWidget::hide);
        }
        return false;
    }

  private:
    QPointer<QWidget> splash_;
};

}  // namespace

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

QIcon WindowIcon() {
    // Drawn when the program was built (Artwork.h); the drawing itself
    // when the pictures are not there.
    QFile pixels(QStringLiteral(":/app/lorvane.argb"));
    QIcon icon;
    if (pixels.open(QIODevice::ReadOnly)) icon = WindowIconFromPixels(pixels.readAll());
    return icon.isNull() ? QIcon(QStringLiteral(":/app/lorvane.svg")) : icon;
}

std::future<std::unique_ptr<Communs>> LoadTablesAhead(const std::string& appDir) {
    try {
        return std::async(std::launch::async, [appDir] {
            auto tables = std::make_unique<Communs>(appDir);
            LoadAllTables(*tables);
            return tables;
        });
    } catch (const std::system_error&) {
        return {};
    }
}

int StartLorvane(Communs& communs, std::future<std::unique_ptr<Communs>> tables) {
    // With the tables loaded ahead, the study pages are unpacked ahead too,
    // silently; the application object exists, which the archive reader
    // looks at. First that thread has Qt load its image plugins, which the
    // first image read (a toolbar's) would otherwise load while the windows
    // are made: Qt loads them all to find a reader for any format.
    std::future<void> pages;
    if (tables.valid()) {
        try {
            pages = std::async(std::launch::async, [dir = communs.AppDir] {
                QBuffer none;
                none.open(QIODevice::ReadOnly);
                QImageReader(&none, "png").canRead();
                Communs folder(dir);
                UnpackStudyPages(folder, nullptr);
            });
        } catch (const std::system_error&) {
        }
    }
    InstallFrenchQtTexts();
    InstallPageFonts();
    InstallAccessibility();
    // The icon of every window, the one of the desktop menu entry.
    QApplication::setWindowIcon(WindowIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("lorvane"));
    TFSplash splash;
    splash.show();
    splash.repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Lorvane - Lorvane"));
    QApplication::setApplicationDisplayName(QString());

    TFBible::DataLoad loadData;
    if (tables.valid()) {
        loadData = [&tables, &pages](Communs& c, BackupPrompts* prompts) {
            c.TakeTables(std::move(*tables.get()));
            // Pages that could not be unpacked silently are unpacked again
            // here, with the archive reader's boxes.
            bool unpacked = false;
            try {
                pages.get();
                unpacked = true;
            } catch (...) {
            }
            if (!unpacked) UnpackStudyPages(c, prompts);
        };
    }
    TFBible bible(communs, nullptr, std::move(loadData));
    if (!bible.Loaded()) return 0;
    bible.KeepSession();
    SessionGuard notes(bible.FrmRichEdit);
    splash.repaint();
    new HideSplashOnceShown(&bible, &splash);
    bible.showMaximized();
    return QApplication::exec();
}

}  // namespace lorvane
