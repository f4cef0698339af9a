// Fichier > Importer une Bible... in the main window: the dialogs from the
// keyboard, the new Bible shown at once with the pad as it was, and the
// window untouched by a failure or a cancel.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QAccessible>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QProgressDialog>
#include <QScreen>
#include <QStandardPaths>
#include <QTextEdit>
#include <QtTest>
#include <fstream>
#include <map>

#include "AppFixture.h"
#include "Bible.h"
#include "Canon.h"
#include "ChapterSpin.h"
#include "DlgPassage.h"
#include "FrRichEdit.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "ImportCommand.h"
#include "ModalDriver.h"
#include "TextTabs.h"
#include "ZipFixtures.h"

using namespace lorvane;
namespace fs = std::filesystem;

namespace {

using lorvane::testing::Snapshot;

// The texts of a box that do not show whole: a label's wrapped text
// beyond its place, or the box beyond the screen.
QString CutTexts(QWidget* box) {
    QString cut;
    for (const QLabel* label : box->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty()) continue;
        const QRect room = label->contentsRect();
        const QRect need = label->fontMetrics().boundingRect(QRect(0, 0, room.width(), 1 << 20),
                                                             Qt::TextWordWrap, label->text());
        if (need.width() > room.width() || need.height() > room.height())
            cut += label->text() + QString(" [%1x%2 in %3x%4]; ")
                                       .arg(need.width())
                                       .arg(need.height())
                                       .arg(room.width())
                                       .arg(room.height());
    }
    if (!box->screen()->availableGeometry().contains(box->frameGeometry())) cut += "the box";
    return cut;
}

QString AccessibleName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

}  // namespace

class ImportWindowTest : public testing::MainWindowTestCase {
    Q_OBJECT

    testing::TempDir source;
    QString message;  // the text of the last message box, closed with Enter
    QString remarks;  // what it says after

    std::string Page() { return testing::ReadFile(dir->path() / "temp.htm"); }
    QString Zip(const testing::ZipEntries& entries) {
        const fs::path zip = source.path() / "fraLSG_usfm.zip";
        testing::WriteZip(zip, entries);
        return QString::fromStdString(zip.string());
    }
    // The next message box: its text kept, closed from the keyboard.
    QPointer<QTimer> AnswerMessage() {
        message.clear();
        auto* timer = new QTimer(w);
        connect(timer, &QTimer::timeout, [this, timer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            timer->deleteLater();
            // The summary or the failure, before the remarks; without the
            // breaks allowed in paths.
            message = box->text().remove(QChar(0x200B)).section(QStringLiteral("\n\n"), 0, 0);
            remarks = box->text().remove(QChar(0x200B)).section(QStringLiteral("\n\n"), 1);
            const QString cut = CutTexts(box);
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(AccessibleName(box), QString("Importer une Bible"));
            QVERIFY2(cut.isEmpty(), qPrintable("cut in the box: " + cut));
        });
        timer->start(5);
        return timer;
    }
    bool Import(const QString& file) { return w->ImportBibleFromFile(file); }

  private slots:
    void init() {
        Open(testing::MainWindowBible());
        QVERIFY(w->Loaded());
        w->show();
    }
    void cleanup() {
        testing::CancelPendingAnswers();
        Close();
    }

    void theEntryStandsAboveQuitter() {
        QMenu* fichier = w->menuBar()->actions().front()->menu();
        QList<QAction*> actions = fichier->actions();
        QCOMPARE(actions.size(), 9);
        QCOMPARE(actions[0]->objectName(), QString("ImporterBible1"));
        QCOMPARE(actions[0]->text(), QString("&Importer une Bible..."));
        QVERIFY(actions[1]->isSeparator());
        QCOMPARE(actions[2]->objectName(), QString("ExporterNotes"));
        QCOMPARE(actions[3]->objectName(), QString("ImporterNotes"));
        QVERIFY(actions[4]->isSeparator());
        QCOMPARE(actions[5]->objectName(), QString("ActionImprimer"));
        QCOMPARE(actions[6]->objectName(), QString("ActionPdf"));
        QVERIFY(actions[7]->isSeparator());
        QCOMPARE(actions[8]->objectName(), QString("Quitter1"));
    }

    void theLouisSegondZipFromTheKeyboardShowsGeneseOneAndLeavesThePad() {
        if (testing::LsgDir().empty()) QSKIP("no Louis Segond folder");
        const QString zip = Zip(testing::LsgEntries());
        w->FrmRichEdit->RTFControl->insertPlainText(
            QString::fromUtf8("Mes notes non enregistrées"));
        QVERIFY(w->FrmRichEdit->Modified());
        w->BtnNouveau->click();
        w->OpenPassage(1, 1, 1, 2);
        QVERIFY(w->FDlgPassage->isVisible());

        // The file dialog: its title, filter and folder, then the name typed
        // and Enter; the summary box closed with Enter too.
        testing::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QString("Importer une Bible"));
            QCOMPARE(AccessibleName(dialog), QString("Importer une Bible"));
            QCOMPARE(dialog->nameFilters(),
                     QStringList({"Bibles (*.zip *.usfm *.sfm *.xml *.osis *.conf)",
                                  "Tous les fichiers (*)"}));
            QString start = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
            if (!QDir(start).exists()) start = QDir::homePath();
            QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(start).canonicalPath());
            AnswerMessage();
            QWidget* typed = dialog->focusWidget();  // where the keys go when it opens
            QVERIFY(qobject_cast<QLineEdit*>(typed));
            // The whole path as one typed text: typed key by key, each "/"
            // would open its folder on the way.
            QTest::sendKeyEvent(QTest::Click, typed, Qt::Key_unknown, zip, Qt::NoModifier);
            QTest::keyClick(typed, Qt::Key_Return);
        });
        w->ImporterBible1Click();

        QCOMPARE(message, QString::fromUtf8(
                              "Bible importée depuis des fichiers USFM : 66 livres importés."));
        // How it numbers its verses, recognised from its chapters.
        QVERIFY2(remarks.contains(
                     QString::fromUtf8("Numérotation des versets : celle de la Louis Segond.")),
                 qPrintable(remarks));
        QCOMPARE(w->TCTexte->Count(), 2);  // the tabs kept
        QCOMPARE(w->TCTexte->Caption(0), QString::fromUtf8("Genèse 1"));
        QCOMPARE(w->CBLivre->ItemIndex(), 0);
        QCOMPARE(w->CBLivre->Count(), 66);
        QVERIFY(Page().find("Au commencement, Dieu créa les cieux et la terre.") !=
                std::string::npos);
        QVERIFY(w->LBIndex->Count() > 0);
        QVERIFY(!w->FDlgPassage->isVisible());
        QCOMPARE(w->FrmRichEdit->RTFControl->toPlainText(),
                 QString::fromUtf8("Mes notes non enregistrées"));
        QVERIFY(w->FrmRichEdit->Modified());
        w->FrmRichEdit->RTFControl->document()->setModified(false);  // no question at the close
    }

    void aPartialBibleOpensItsFirstBookAndKeepsEveryTab() {
        // Tabs at Jean 2, Jean 3 and, current, Exode 1.
        w->CBLivre->SetItemIndex(42);
        emit w->CBLivre->Change(w->CBLivre->ItemIndex());
        w->SpinChapitre->SetValue(2);
        emit w->SpinChapitre->valueEdited(w->SpinChapitre->Value());
        w->BtnNouveau->click();
        w->SpinChapitre->SetValue(3);
        emit w->SpinChapitre->valueEdited(w->SpinChapitre->Value());
        w->BtnNouveau->click();
        w->CBLivre->SetItemIndex(1);
        emit w->CBLivre->Change(w->CBLivre->ItemIndex());
        QCOMPARE(w->TCTexte->Count(), 3);

        AnswerMessage();
        QVERIFY2(Import(Zip({{"JHN.usfm", testing::TinyBook("JHN", 2)}})), qPrintable(message));
        QVERIFY2(message.startsWith(QString::fromUtf8(
                     "Bible importée depuis un fichier USFM : 1 livre importé ; manquent : "
                     "l'Ancien Testament (39 livres), Matthieu, ")),
                 qPrintable(message));
        QCOMPARE(w->CBLivre->Count(), 66);
        // Each tab at its place, else its book's first chapter, else the
        // first book the Bible has.
        QCOMPARE(w->TCTexte->Count(), 3);
        QCOMPARE(w->TCTexte->Caption(0), QString::fromUtf8("Jean 1"));
        QCOMPARE(w->TCTexte->Caption(1), QString::fromUtf8("Jean 1"));
        QCOMPARE(w->TCTexte->Caption(2), QString::fromUtf8("Jean 2"));
        QCOMPARE(w->CBLivre->ItemIndex(), 42);
        QVERIFY(Page().find("Texte de JHN 1.3") != std::string::npos);
        w->TCTexte->SetCurrent(2);
        w->Reading().SelectTab(w->TCTexte->Current());
        QVERIFY(Page().find("Texte de JHN 2.3") != std::string::npos);
    }

    void aFailureOrACancelLeavesTheWindowAndTheData() {
        const auto before = Snapshot(dir->path() / "data");
        const std::string page = Page();
        const QString caption = w->TCTexte->Caption(0);

        std::string bytes =
            testing::ReadFile(Zip({{"GEN.usfm", testing::TinyBook("GEN", 40)}}).toStdString());
        bytes.resize(bytes.size() / 2);
        std::ofstream(source.path() / "coupee.zip", std::ios::binary) << bytes;
        AnswerMessage();
        QVERIFY(!Import(QString::fromStdString((source.path() / "coupee.zip").string())));
        QVERIFY2(message.startsWith(QString::fromUtf8("Le fichier est incomplet ou endommagé")),
                 qPrintable(message));

        {
            testing::WithoutRootOverride asReader;
            // The reader's Bibles go to the window's shelf.
            const fs::path shelf = w->Shelf().ShelfDir();
            fs::create_directories(shelf);
            fs::permissions(shelf, fs::perms::owner_write, fs::perm_options::remove);
            AnswerMessage();
            QVERIFY(!Import(Zip({{"GEN.usfm", testing::TinyBook("GEN")}})));
            fs::permissions(shelf, fs::perms::owner_write, fs::perm_options::add);
        }
        QVERIFY2(message.startsWith(QString::fromUtf8("Impossible d'écrire dans le dossier « ")),
                 qPrintable(message));

        // "Annuler" from the keyboard as soon as the progress dialog shows,
        // a Bible long enough to read that the key comes first even on a
        // busy machine.
        testing::ZipEntries books;
        for (const auto& book : datawriter::kCanon)
            books.push_back({std::string(book.code) + ".usfm",
                             testing::TinyBook(std::string(book.code), 150, 25)});
        const QString zip = Zip(books);
        // Should the import end before the key, its summary is answered:
        // the test then fails at once instead of waiting for nobody.
        QPointer<QTimer> answer = AnswerMessage();
        bool sawProgress = false;
        testing::OnNextModal([&](QWidget* modal) {
            auto* progress = qobject_cast<QProgressDialog*>(modal);
            QVERIFY(progress);
            sawProgress = true;
            QCOMPARE(AccessibleName(progress), QString("Importer une Bible"));
            QTest::keyClick(progress, Qt::Key_Escape);
        });
        QVERIFY(!Import(zip));
        QVERIFY(sawProgress);
        delete answer.data();  // no box came: nothing left to answer

        QCOMPARE(Snapshot(dir->path() / "data"), before);
        QCOMPARE(Page(), page);
        QCOMPARE(w->TCTexte->Caption(0), caption);
        QVERIFY(!fs::exists(dir->path() / "data.new"));
        // Nothing half-imported left among the reader's Bibles.
        for (const auto& entry : fs::directory_iterator(w->Shelf().ShelfDir()))
            QFAIL(qPrintable(QString::fromStdString(entry.path().string())));
        QCOMPARE(w->Shelf().Count(), 1u);
    }

    void aFullDiskNamesTheFolderOfTheBibles() {
        const QString zip = Zip({{"GEN.usfm", testing::TinyBook("GEN")}});
        // No file may grow beyond a few bytes while the import writes.
        signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit tiny = saved;
        tiny.rlim_cur = 64;
        AnswerMessage();
        setrlimit(RLIMIT_FSIZE, &tiny);
        const bool imported = Import(zip);
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!imported);
        const fs::path shelf = fs::path(w->Shelf().ShelfDir()).parent_path();
        QCOMPARE(message, QString::fromUtf8("L'espace disque est insuffisant dans le dossier « ") +
                              QString::fromStdString(shelf.string()) +
                              QString::fromUtf8(" » (il faut environ 1 Mo)."));
        QVERIFY(fs::is_directory(shelf));
        QCOMPARE(w->Shelf().Count(), 1u);
    }

    void theNextStartClearsWhatAKilledImportLeftInTheCache() {
        const pid_t dead = ::fork();
        if (dead == 0) _exit(0);
        ::waitpid(dead, nullptr, 0);
        // ~/.cache/lorvane: the test's own, as ctest sets XDG_CACHE_HOME.
        const fs::path cache =
            QFile::encodeName(
                QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/lorvane")
                .toStdString();
        const fs::path left = cache / ("lorvane-import-" + std::to_string(dead) + "-q1w2e3");
        fs::create_directories(left);
        std::ofstream(left / "bible.bin") << "à moitié";
        ClearImportLeftovers(dir->appDir());
        QVERIFY(!fs::exists(left));
        QVERIFY(fs::exists(cache));
    }
};

QTEST_MAIN(ImportWindowTest)
#include "ImportWindowTest.moc"
