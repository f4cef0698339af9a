#include "Startup.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <ctime>
#include <iostream>
#include <system_error>

#include "Accessible.h"
#include "AccessibleChapterSpin.h"
#include "Artwork.h"
#include "Bible.h"
#include "ErrorDisplay.h"
#include "FctLoad.h"
#include "FrenchQtTexts.h"
#include "PageFonts.h"
#include "ProgramFolders.h"
#include "SessionEnd.h"
#include "Splash.h"
#include "StudyPages.h"
#include "UserFiles.h"

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

QIcon WindowIcon() {
    // Drawn when the program was built (Artwork.h); the drawing itself
    // when the pictures are not there.
    QFile pixels(QStringLiteral(":/app/lorvane.argb"));
    QIcon icon;
    if (pixels.open(QIODevice::ReadOnly)) icon = WindowIconFromPixels(pixels.readAll());
    return icon.isNull() ? QIcon(QStringLiteral(":/app/lorvane.svg")) : icon;
}

std::future<std::unique_ptr<Communs>> LoadTablesAhead(const std::string& appDir,
                                                      const std::string& bibleDir) {
    try {
        return std::async(std::launch::async, [appDir, bibleDir] {
            auto tables = std::make_unique<Communs>(appDir, bibleDir);
            LoadAllTables(*tables);
            return tables;
        });
    } catch (const std::system_error&) {
        return {};
    }
}

int StartLorvane(Communs& communs, std::future<std::unique_ptr<Communs>> tables,
                 const std::string& shippedBible, bibles::BibleShelf* shelf) {
    // Every page is written there: without it nothing could be shown.
    const std::string unwritable = UnwritableFolderReason(communs.AppDir);
    if (!unwritable.empty()) {
        std::cerr << "lorvane: cannot write into " << communs.AppDir << std::endl;
        InstallFrenchQtTexts();
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Lorvane"),
                        QString::fromStdString(unwritable), QMessageBox::Ok);
        box.setObjectName("UnwritableFolderBox");
        box.exec();
        return 1;
    }
    // With the tables loaded ahead, the study pages are unpacked ahead too,
    // silently; the application object exists, which the archive reader
    // looks at. First that thread has Qt load its image plugins, which the
    // first image read (a toolbar's) would otherwise load while the windows
    // are made: Qt loads them all to find a reader for any format.
    std::future<void> pages;
    if (tables.valid()) {
        try {
            pages =
                std::async(std::launch::async, [dir = communs.AppDir, bible = communs.BibleDir] {
                    QBuffer none;
                    none.open(QIODevice::ReadOnly);
                    QImageReader(&none, "png").canRead();
                    Communs folder(dir, bible);
                    UnpackStudyPages(folder, nullptr);
                });
        } catch (const std::system_error&) {
        }
    }
    InstallFrenchQtTexts();
    InstallPageFonts();
    InstallAccessibility();
    InstallChapterSpinAccessibility();
    // The icon of every window, the one of the desktop menu entry.
    QApplication::setWindowIcon(WindowIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("lorvane"));
    TFSplash splash;
    splash.show();
    splash.repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Lorvane"));
    QApplication::setApplicationDisplayName(QString());

    TFBible::DataLoad loadData = [&tables, &pages, &shippedBible, shelf](Communs& c,
                                                                         BackupPrompts* prompts) {
        try {
            if (!tables.valid()) {
                LoadDataFolder(c, prompts);
                return;
            }
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
        } catch (const std::exception& e) {
            // A kept Bible that no longer loads is left out, and the next
            // one is read in its place.
            std::string failure = e.what();
            while (shelf) {
                const auto failed = shelf->Find(c.BibleDir);
                if (!failed) break;
                std::cerr << "lorvane: " << failure << "; leaving that Bible out" << std::endl;
                if (!shelf->LeaveOut(*failed)) break;
                c.BibleDir = shelf->CurrentDir();
                try {
                    LoadDataFolder(c, prompts);
                    return;
                } catch (const std::exception& next) {
                    failure = next.what();
                }
            }
            // A Bible the reader imported that no longer loads gives way
            // to the program's own.
            if (shippedBible.empty() || c.BibleDir == shippedBible) throw;
            std::cerr << "lorvane: " << e.what() << "; reading " << shippedBible << "data instead"
                      << std::endl;
            c.BibleDir = shippedBible;
            LoadDataFolder(c, prompts);
        }
    };
    TFBible bible(communs, nullptr, std::move(loadData), shelf);
    if (!bible.Loaded()) return 0;
    bible.KeepSession();
    SessionGuard notes(bible.FrmRichEdit);
    // Notes kept when the last session was ended come back in the pad.
    if (!notes
             .OfferRescuedNotes(UserConfigFolder() + QStringLiteral("/derniere-session.txt"),
                                SessionGuard::RescueFolders(), std::time(nullptr))
             .empty())
        bible.ActionRediger->trigger();
    splash.repaint();
    new HideSplashOnceShown(&bible, &splash);
    bible.showMaximized();
    // A kept Bible found damaged is named once the window is there.
    QTimer::singleShot(0, &bible, [&bible] { Guarded([&] { bible.TellShelfProblems(); }); });
    // The reader's notes come after the first paint.
    QTimer::singleShot(0, &bible, [&bible] { Guarded([&] { bible.LoadReaderNotes(); }); });
    return QApplication::exec();
}

}  // namespace lorvane
