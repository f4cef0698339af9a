#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>

#include "ArchiveWriter.h"
#include "Artwork.h"
#include "Bible.h"
#include "Fixtures.h"
#include "Splash.h"
#include "Startup.h"

using namespace lorvane;

namespace {

// Runs `check` on the first top-level widget of type W that shows up while
// the program runs its loops, polling every few milliseconds.
template <typename W>
void WhenShown(std::function<void(W*)> check) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) {
                timer->stop();
                timer->deleteLater();
                check(found);
                return;
            }
        }
    });
    timer->start();
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void damagedFolderShowsTheMessageAndEnds() {
        // The same whether the tables were loaded by the window or ahead, on
        // a thread of their own, as the program does.
        for (const char* damage : {"missing", "partial", "missing ahead", "partial ahead"}) {
            const bool ahead = std::string(damage).ends_with("ahead");
            testing::TempDir dir;
            testing::WriteDataFolder(dir.path(), testing::DataSet::Small());
            if (std::string(damage).starts_with("missing")) {
                std::filesystem::remove(dir.path() / "data" / "refer.dat");
            } else {
                testing::WriteDataFile(dir.path(), "index.dat", std::string(100, 'x'));
            }
            Communs communs(dir.appDir());
            bool boxSeen = false;
            bool splashUnderBox = false;
            WhenShown<QMessageBox>([&](QMessageBox* box) {
                boxSeen = true;
                QCOMPARE(box->windowTitle(), QString("Erreur"));
                QCOMPARE(
                    box->text(),
                    QString::fromUtf8("Erreur de chargement, veuillez ré-installer l'application"));
                QCOMPARE(box->icon(), QMessageBox::Critical);
                QCOMPARE(box->buttons().size(), 1);
                QCOMPARE(box->standardButtons(), QMessageBox::Ok);
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (qobject_cast<TFSplash*>(w) && w->isVisible()) splashUnderBox = true;
                QCOMPARE(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape()
                                                        : Qt::ArrowCursor,
                         Qt::WaitCursor);
                box->button(QMessageBox::Ok)->click();
            });
            QCOMPARE(StartLorvane(communs, ahead ? LoadTablesAhead(dir.appDir())
                                                 : std::future<std::unique_ptr<Communs>>()),
                     0);
            QVERIFY2(boxSeen, damage);
            QVERIFY(splashUnderBox);
            for (QWidget* w : QApplication::topLevelWidgets())
                QVERIFY(!(qobject_cast<TFBible*>(w) && w->isVisible()));
            QVERIFY(!QApplication::overrideCursor());
        }
    }

    void studyPageFailuresShowTheirBoxesThenTheMessage() {
        struct Case {
            const char* what;
            QStringList boxes;
        };
        const Case cases[] = {
            {"missing",
             {QString::fromUtf8("Erreur de chargement, veuillez ré-installer l'application")}},
            {"adler",
             {"Compression error",
              QString::fromUtf8("Erreur de chargement, veuillez ré-installer l'application")}},
        };
        // The same boxes, once each, when the pages were first unpacked
        // ahead and silently, as the program does.
        for (const bool ahead : {false, true})
            for (const Case& c : cases) {
                testing::TempDir dir;
                testing::DataSet data = testing::DataSet::Small();
                testing::WriteDataFolder(dir.path(), data);
                const auto them = dir.path() / "data" / "them.dat";
                if (std::string(c.what) == "missing") {
                    std::filesystem::remove(them);
                } else {
                    // A compressed block whose Adler-32 check fails.
                    data.pages = {{"p.htm", 0, std::string(3000, 'a')}};
                    archive::WriterOptions options;
                    options.fileList = false;
                    std::string bytes = archive::EncodeArchive(data.pages, options);
                    bytes[bytes.size() - 9] ^= 1;  // the last byte of the block, before 0 and 0
                    testing::WriteDataFile(dir.path(), "them.dat", bytes);
                }
                Communs communs(dir.appDir());
                QStringList seen;
                // Answers every box while the program runs; stops with the scope.
                QTimer clicker;
                clicker.setInterval(10);
                QObject::connect(&clicker, &QTimer::timeout, [&] {
                    for (QWidget* w : QApplication::topLevelWidgets()) {
                        auto* box = qobject_cast<QMessageBox*>(w);
                        if (!box || !box->isVisible()) continue;
                        seen << box->text();
                        QCOMPARE(box->icon(), QMessageBox::Critical);
                        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
                        box->button(QMessageBox::Ok)->click();
                        return;
                    }
                });
                clicker.start();
                QCOMPARE(StartLorvane(communs, ahead ? LoadTablesAhead(dir.appDir())
                                                     : std::future<std::unique_ptr<Communs>>()),
                         0);
                QCOMPARE(seen, c.boxes);
                for (QWidget* w : QApplication::topLevelWidgets())
                    QVERIFY(!(qobject_cast<TFBible*>(w) && w->isVisible()));
            }
    }

    void goodFolderShowsTheMainWindowThenHidesTheSplash() {
        testing::TempDir dir;
        testing::WriteDataFolder(dir.path(), testing::DataSet::Small());
        std::filesystem::create_directories(dir.path() / "them");
        for (const char* name : {"ancien.htm", "notes.txt"})
            std::ofstream(dir.path() / "them" / name) << "x";
        Communs communs(dir.appDir());
        bool shown = false;
        WhenShown<TFBible>([&](TFBible* bible) {
            shown = true;
            QVERIFY(bible->windowTitle().endsWith(QString::fromUtf8(" — Lorvane  0.9.2")));
            QVERIFY(bible->windowState() & Qt::WindowMaximized);
            QCOMPARE(bible->Here().book, 1);
            QCOMPARE(bible->Here().chapter, 1);
            QCOMPARE(bible->Here().verse, 1);
            QCOMPARE(QApplication::applicationName(), QString("Lorvane"));
            // Once the main window is on the screen, the splash is hidden.
            const auto splashShown = [] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (qobject_cast<TFSplash*>(w) && w->isVisible()) return true;
                return false;
            };
            QTRY_VERIFY(!splashShown());
            QVERIFY(!QApplication::overrideCursor());
            bible->close();
        });
        // The tables loaded ahead, as the program does, are the window's.
        QCOMPARE(StartLorvane(communs, LoadTablesAhead(dir.appDir())), 0);
        QVERIFY(shown);
        QCOMPARE(communs.VerseLookup(66, 3, 5), 66 * 15);
        // The study pages were unpacked; stale pages are gone, other files stay.
        for (const char* name : {"livres.htm", "index.htm", "glossaire.htm", "notes.txt"})
            QVERIFY2(std::filesystem::exists(dir.path() / "them" / name), name);
        QVERIFY(!std::filesystem::exists(dir.path() / "them" / "ancien.htm"));
    }

    void aReadersBibleThatNoLongerLoadsGivesWayToTheShippedOne() {
        testing::TempDir program, reader;
        testing::WriteDataFolder(program.path(), testing::DataSet::Small());
        testing::WriteDataFolder(reader.path(), testing::DataSet::Small(2));
        testing::WriteDataFile(reader.path(), "index.dat", std::string(100, 'x'));
        Communs communs(reader.appDir(), reader.appDir());
        bool shown = false;
        // No load failure box: the main window shows.
        WhenShown<TFBible>([&](TFBible* bible) {
            shown = true;
            bible->close();
        });
        QCOMPARE(StartLorvane(communs, LoadTablesAhead(reader.appDir(), reader.appDir()),
                              program.appDir()),
                 0);
        QVERIFY(shown);
        QCOMPARE(communs.BibleDir, program.appDir());
        QCOMPARE(communs.VerseLookup(66, 3, 5), 66 * 15);
        // The pages still go to the reader's folder.
        QVERIFY(std::filesystem::exists(reader.path() / "them" / "livres.htm"));
        QVERIFY(!std::filesystem::exists(program.path() / "them"));
    }

    void aKeptBibleThatNoLongerLoadsIsLeftOutAndNamedAndTheNextShows() {
        // Whole on the disk but with headings that no longer read; its text
        // cut at a third just after a verse, which leaves the later books
        // without verses; its text emptied.
        const std::string verses = datawriter::EncodeVerses(testing::DataSet::Small(2).verses);
        std::size_t cut = verses.size() / 3;
        while (static_cast<unsigned char>(verses[cut - 2]) != 254)
            ++cut;
        const std::pair<const char*, std::string> damages[] = {
            {"index.dat", std::string(100, 'x')},
            {"bible.dat", verses.substr(0, cut)},
            {"bible.dat", ""},
        };
        for (const auto& [file, bytes] : damages) {
            testing::TempDir program, user;
            testing::WriteDataFolder(program.path(), testing::DataSet::Small());
            bibles::BibleShelf shelf(user.appDir() + "bibles/", program.appDir());
            shelf.Load();
            const std::string staging = shelf.StagingDir();
            testing::WriteDataFolder(staging, testing::DataSet::Small(2));
            const std::string kept =
                shelf.DirOf(shelf.Adopt(staging, "Bible Darby", "DBY", "2026-12-08").index);
            testing::WriteDataFile(kept, file, bytes);
            shelf.Load();
            Communs communs(program.appDir(), shelf.CurrentDir());
            QString told;
            WhenShown<TFBible>([&](TFBible* bible) {
                // The window names it in a box once shown.
                QTimer::singleShot(0, [&told, bible] {
                    WhenShown<QMessageBox>([&told, bible](QMessageBox* box) {
                        told = box->text();
                        box->accept();
                        bible->close();
                    });
                });
            });
            QCOMPARE(StartLorvane(communs, LoadTablesAhead(communs.AppDir, communs.BibleDir), {},
                                  &shelf),
                     0);
            QVERIFY2(told.contains(QString::fromUtf8(
                         "La Bible « Bible Darby » est endommagée : elle est laissée de côté.")),
                     qPrintable(told));
            QCOMPARE(communs.BibleDir, program.appDir());
            QCOMPARE(communs.VerseLookup(66, 3, 5), 66 * 15);
        }
    }

    void splashShowsTheArtworkDrawnFromItsDrawing() {
        const QImage drawn = DrawArtwork(QStringLiteral(LORVANE_SPLASH_SVG));
        QCOMPARE(drawn.size(), QSize(400, 198));
        QCOMPARE(TFSplash::Artwork().toImage().convertToFormat(drawn.format()), drawn);
        // Pixels of another size give no picture rather than a torn one.
        const QByteArray pixels = ArtworkPixels(drawn);
        QCOMPARE(ArtworkFromPixels(pixels), drawn);
        QVERIFY(ArtworkFromPixels(pixels.left(pixels.size() - 1)).isNull());
        QVERIFY(ArtworkFromPixels(QByteArray()).isNull());
    }

    void windowIconIsTheDrawingAtTheWindowSystemsSizes() {
        const QIcon drawing(QStringLiteral(LORVANE_ICON_SVG));
        const QIcon icon = WindowIcon();
        QCOMPARE(icon.availableSizes(), QList<QSize>({{16, 16}, {32, 32}, {64, 64}, {128, 128}}));
        for (const QSize& size : icon.availableSizes())
            QCOMPARE(icon.pixmap(size, 1.0).toImage(),
                     drawing.pixmap(size, 1.0).toImage().convertToFormat(
                         QImage::Format_ARGB32_Premultiplied));
        const QByteArray pixels = WindowIconPixels(QStringLiteral(LORVANE_ICON_SVG));
        QVERIFY(!WindowIconFromPixels(pixels).isNull());
        QVERIFY(WindowIconFromPixels(pixels.left(pixels.size() - 4)).isNull());
    }

    void splashClosesOnClickOnlyWhenModal() {
        TFSplash splash;
        QCOMPARE(splash.size(), QSize(402, 193));
        QCOMPARE(splash.Image1->pixmap().size(), QSize(400, 198));
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        splash.show();
        QTest::mouseClick(splash.Image1, Qt::LeftButton);
        QVERIFY(splash.isVisible());  // the start-up splash ignores clicks

        TFSplash about;
        int clicks = 0;
        QTimer::singleShot(20, [&] {
            ++clicks;
            QTest::mouseClick(about.Image1, Qt::LeftButton);
        });
        QCOMPARE(about.exec(), int(QDialog::Accepted));
        QCOMPARE(clicks, 1);
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
