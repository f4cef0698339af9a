#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>

#include "AppFixture.h"
#include "Bible.h"
#include "BiblesFace.h"
#include "BrowserPane.h"
#include "ChapterSpin.h"
#include "DlgPassage.h"
#include "FrRichEdit.h"
#include "HTMLControls.h"
#include "ModalDriver.h"
#include "Splash.h"
#include "TextTabs.h"
#include "UserFiles.h"
#include "ZipFixtures.h"

using namespace lorvane;
namespace fs = std::filesystem;

namespace {

// A book of a downloaded Bible: `chapters` chapters of 3 verses whose text
// says which Bible it is ("Darby Jean 3.16").
std::string Book(const std::string& code, const std::string& bible, int chapters = 3) {
    std::string book = "\\id " + code + " " + bible + "\n\\h " + code + "\n";
    for (int c = 1; c <= chapters; ++c) {
        book += "\\c " + std::to_string(c) + "\n\\p\n";
        for (int v = 1; v <= 3; ++v)
            book += "\\v " + std::to_string(v) + " " + bible + " " + code + " " +
                    std::to_string(c) + "." + std::to_string(v) + "\n";
    }
    return book;
}

const char kGreek[] = "Nouveau Testament grec (Byzantin, Robinson-Pierpont 2018)";
const char kHebrew[] = "Ancien Testament hébreu (Codex de Leningrad)";
const char kAttribution[] =
    "Original work of the Open Scriptures Hebrew Bible available at "
    "https://github.com/openscriptures/morphhb";

// A Bible the program ships in its originaux/<id>/, whose verses say
// "<word> b.c.v".
void ShipBible(const fs::path& programDir, const std::string& id, const std::string& name,
               const std::string& abbreviation, const std::string& word,
               const std::string& licence) {
    testing::DataSet data = testing::DataSet::Small(4);
    for (auto& v : data.verses)
        v.text = word + " " + std::to_string(v.book) + "." + std::to_string(v.chapter) + "." +
                 std::to_string(v.verse);
    const fs::path folder = programDir / "originaux" / id;
    testing::WriteDataFolder(folder, data);
    testing::WriteDataFile(folder, "nom.txt", name + "\n");
    testing::WriteDataFile(folder, "sigle.txt", abbreviation + "\n");
    testing::WriteDataFile(folder, "licence.txt", licence);
}

}  // namespace

class BiblesWindowTest : public testing::MainWindowTestCase {
    Q_OBJECT

    testing::TempDir source;
    QString lastMessage;

    std::string Page() { return testing::ReadFile(dir->path() / "temp.htm"); }
    // Imports a zip of Genèse, Exode and Jean of the Bible named `bible`
    // (its abbreviation the file's), answering every box; false when the
    // Bible did not join.
    bool Import(const std::string& abbreviation, const std::string& bible) {
        const fs::path zip = source.path() / ("fra" + abbreviation + "_usfm.zip");
        testing::WriteZip(zip, {{"GEN.usfm", Book("GEN", bible)},
                                {"EXO.usfm", Book("EXO", bible)},
                                {"JHN.usfm", Book("JHN", bible)}});
        // The box at the end (past the progress dialog): its text kept,
        // closed.
        lastMessage.clear();
        QTimer answer;
        connect(&answer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            lastMessage = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        answer.start(5);
        return w->ImportBibleFromFile(QString::fromStdString(zip.string()));
    }
    // The "Bible" menu as it shows.
    QList<QAction*> MenuEntries() {
        emit w->MenuBible->aboutToShow();
        return w->MenuBible->actions();
    }
    QString Pad() { return w->FrmRichEdit->RTFControl->toPlainText(); }
    // Whether the page holds every text, in this order.
    static bool InOrder(const std::string& page, std::initializer_list<const char*> texts) {
        std::size_t at = 0;
        for (const char* text : texts) {
            const std::size_t found = page.find(text);
            if (found == std::string::npos || found < at) return false;
            at = found;
        }
        return true;
    }

    // The two Bibles in the original languages in the program folder, found
    // by the shelf.
    void ShipOriginals() {
        ShipBible(dir->path(), "grc", kGreek, "RP2018", "Grec", "Texte grec : domaine public.\n");
        ShipBible(dir->path(), "hbo", kHebrew, "WLC", "Hebreu",
                  "Lemmes et morphologie : CC BY 4.0.\n" + std::string(kAttribution) + "\n");
        w->Shelf().Load();
    }

  private slots:
    void init() {
        Open(testing::MainWindowBible());
        QVERIFY(w->Loaded());
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->FrmRichEdit->RTFControl->insertPlainText(QStringLiteral("Mes notes"));
    }
    void cleanup() {
        testing::CancelPendingAnswers();
        w->FrmRichEdit->RTFControl->document()->setModified(false);
        Close();
    }

    void importsAddBiblesAndTheMenuSwitchesAtThePlaceRead() {
        // Reading Exode 2 in a second tab.
        w->BtnNouveau->click();
        w->CBLivre->SetItemIndex(1);
        emit w->CBLivre->Change(w->CBLivre->ItemIndex());
        w->SpinChapitre->SetValue(2);
        emit w->SpinChapitre->valueEdited(w->SpinChapitre->Value());

        QVERIFY2(Import("DBY", "Darby"), qPrintable(lastMessage));
        QVERIFY(Page().find("Darby EXO 2.1") != std::string::npos);
        QCOMPARE(w->TCTexte->Caption(w->TCTexte->Current()), QString::fromUtf8("Exode 2"));
        QVERIFY2(Import("MAR", "Martin"), qPrintable(lastMessage));
        QVERIFY(Page().find("Martin EXO 2.1") != std::string::npos);

        // Menu: the three Bibles, the current one checked, then the rest.
        QList<QAction*> entries = MenuEntries();
        QVERIFY(entries.size() >= 8);
        QCOMPARE(entries[0]->text(), QString::fromUtf8("&1 Bible installée"));
        QVERIFY(entries[1]->text().startsWith("&2 "));
        QVERIFY(entries[1]->text().contains("DBY"));
        QVERIFY(entries[2]->isChecked());
        QVERIFY(!entries[1]->isChecked());
        QVERIFY(entries[3]->isSeparator());
        QCOMPARE(entries[4]->menu()->objectName(), QString("MenuComparer"));

        entries[1]->trigger();
        QVERIFY(Page().find("Darby EXO 2.1") != std::string::npos);
        QCOMPARE(w->TCTexte->Caption(w->TCTexte->Current()), QString::fromUtf8("Exode 2"));
        QCOMPARE(w->CBLivre->ItemIndex(), 1);
        QCOMPARE(w->Shelf().Current(), 1u);

        // Ctrl+Maj+B: the next, round.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->WB->Browser()->setFocus();
        QTest::keyClick(w->WB->Browser(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(Page().find("Martin EXO 2.1") != std::string::npos);
        QTest::keyClick(w->WB->Browser(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->Shelf().Current(), 0u);
        QVERIFY(Page().find("Martin") == std::string::npos);
        // The other tab follows too.
        const int other = 1 - w->TCTexte->Current();
        w->TCTexte->SetCurrent(other);
        w->Reading().SelectTab(w->TCTexte->Current());
        QCOMPARE(w->TCTexte->Caption(other), QString::fromUtf8("Genèse 1"));
        QVERIFY(Page().find("Texte 1.1.1") != std::string::npos);  // the program's own text
        QCOMPARE(Pad(), QString("Mes notes"));

        // The next start finds both, and the choice.
        bibles::BibleShelf next(w->Shelf().ShelfDir(), communs->BibleDir);
        next.Load();
        QCOMPARE(next.Count(), 3u);
        QCOMPARE(next.Current(), 0u);
    }

    void theSameBibleTwiceSaysSoAndChangesNothing() {
        QVERIFY(Import("DBY", "Darby"));
        w->ShowBible(0);
        QVERIFY(!Import("DBY", "Darby"));
        QVERIFY2(lastMessage.contains(QString::fromUtf8("déjà dans Lorvane")),
                 qPrintable(lastMessage));
        QCOMPARE(w->Shelf().Count(), 2u);
        QCOMPARE(w->Shelf().Current(), 0u);
        QVERIFY(Page().find("Darby") == std::string::npos);
    }

    void manageRenamesRemovesAndKeepsTheLast() {
        QVERIFY(Import("DBY", "Darby"));
        QVERIFY(Import("MAR", "Martin"));
        bool checked = false;
        testing::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<bibles::ManageBiblesDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->List->topLevelItemCount(), 3);
            QCOMPARE(dialog->List->topLevelItem(1)->text(2), QString("3"));  // books
            QVERIFY(!dialog->List->topLevelItem(1)->text(3).isEmpty());      // date

            // Rename the second: « L'"ancienne" / Darby ».
            dialog->List->setCurrentItem(dialog->List->topLevelItem(1));
            const QString odd = QString::fromUtf8("« L'\"ancienne\" / Darby »");
            testing::OnNextModal([odd](QWidget* box) {
                box->findChild<QLineEdit*>("EditNom")->setText(odd);
                box->findChild<QLineEdit*>("EditSigle")->setText("DBY1");
                qobject_cast<QDialog*>(box)->accept();
            });
            dialog->RenameClick();
            QCOMPARE(dialog->List->topLevelItem(1)->text(0), odd);

            // Remove the one shown (Martin), after the question.
            dialog->List->setCurrentItem(dialog->List->topLevelItem(2));
            auto asked = std::make_shared<QString>();
            const QString martin = QString::fromStdString(w->Shelf().At(2).name);
            testing::AnswerBox(QMessageBox::Yes, asked);
            dialog->RemoveClick();
            QCOMPARE(*asked,
                     QString::fromUtf8("Supprimer « %1 » ? Cette Bible ne sera plus disponible.")
                         .arg(martin));
            QCOMPARE(dialog->List->topLevelItemCount(), 2);
            // "Non" keeps it.
            dialog->List->setCurrentItem(dialog->List->topLevelItem(1));
            testing::AnswerBox(QMessageBox::No);
            dialog->RemoveClick();
            QCOMPARE(dialog->List->topLevelItemCount(), 2);
            dialog->List->setCurrentItem(dialog->List->topLevelItem(0));
            testing::AnswerBox(QMessageBox::Yes);
            dialog->RemoveClick();
            QCOMPARE(dialog->List->topLevelItemCount(), 1);
            QVERIFY(!dialog->BtnSupprimer->isEnabled());  // the last stays
            checked = true;
            dialog->accept();
        });
        w->ManageBiblesClick();
        QVERIFY(checked);
        QCOMPARE(w->Shelf().Count(), 1u);
        QCOMPARE(QString::fromStdString(w->Shelf().At(0).name),
                 QString::fromUtf8("« L'\"ancienne\" / Darby »"));
        QVERIFY(Page().find("Darby GEN 1.1") != std::string::npos);
        QCOMPARE(w->BibleAbbreviation(), QString("DBY1"));
        QVERIFY(!fs::exists(w->Shelf().ShelfDir() + "mar"));
        QCOMPARE(Pad(), QString("Mes notes"));
    }

    void compareAddsColumnsUpToFourAndEndsFromTheMenu() {
        QVERIFY(Import("DBY", "Darby"));
        QVERIFY(Import("MAR", "Martin"));
        QVERIFY(Import("OST", "Ostervald"));
        QVERIFY(w->ShowBible(1));  // Darby shown, Genèse 1
        // The menu is made again each time it opens.
        auto with = [&] {
            emit w->MenuBible->aboutToShow();
            return w->MenuBible->findChild<QMenu*>("MenuComparer");
        };
        auto compareEntry = [&](std::size_t i) {
            return with()->findChild<QAction*>(QStringLiteral("ActionComparer%1").arg(i));
        };
        QVERIFY(!compareEntry(1));  // not with itself
        compareEntry(2)->trigger();
        std::string page = Page();
        QVERIFY(page.find("Darby GEN 1.2") != std::string::npos);
        QVERIFY(page.find("Martin GEN 1.2") != std::string::npos);
        QVERIFY(page.find("Darby GEN 1.2") < page.find("Martin GEN 1.2"));
        QVERIFY(compareEntry(2)->isChecked());
        compareEntry(0)->trigger();
        compareEntry(3)->trigger();
        page = Page();
        QVERIFY(page.find("Texte 1.1.2") != std::string::npos);
        QVERIFY(page.find("Ostervald GEN 1.2") != std::string::npos);
        QCOMPARE(w->Comparison().size(), 3u);
        QCOMPARE(w->MenuBible->findChildren<QMenu*>().size(), 1);  // none left from before
        // Four side by side: no fifth.
        for (QAction* a : with()->actions())
            QVERIFY(a->isChecked() && a->isEnabled());

        // The passage window shows each Bible's verses.
        w->OpenPassage(1, 1, 2, 2);
        QTRY_VERIFY(w->FDlgPassage->isVisible());
        const QString passage = w->FDlgPassage->WB->Browser()->toPlainText();
        for (const char* text :
             {"Darby GEN 1.2", "Martin GEN 1.2", "Texte 1.1.2", "Ostervald GEN 1.2"})
            QVERIFY2(passage.contains(text), qPrintable(passage));
        w->FDlgPassage->close();

        // Showing a compared Bible takes it out of the columns; the one
        // shown before takes its place, the others stay.
        QVERIFY(w->ShowBible(2));
        QCOMPARE(w->Comparison().size(), 3u);
        page = Page();
        QVERIFY(
            InOrder(page, {"Martin GEN 1.2", "Darby GEN 1.2", "Texte 1.1.2", "Ostervald GEN 1.2"}));
        // Unticked, then all of them ended.
        compareEntry(3)->trigger();
        QCOMPARE(w->Comparison().size(), 2u);
        emit w->MenuBible->aboutToShow();
        QAction* stop = w->MenuBible->findChild<QAction*>("ActionNePlusComparer");
        QVERIFY(stop->isEnabled());
        stop->trigger();
        QVERIFY(w->Comparison().empty());
        QVERIFY(Page().find("Texte 1.1.2") == std::string::npos);
        QCOMPARE(Pad(), QString("Mes notes"));
    }

    void anImportWhileComparingKeepsTheColumnsBesideTheNewBible() {
        QVERIFY(Import("DBY", "Darby"));
        w->CompareWith(0);
        QVERIFY(Import("MAR", "Martin"));
        // The Bible read before the import joins the columns.
        QCOMPARE(w->Comparison().size(), 2u);
        const std::string page = Page();
        QVERIFY(InOrder(page, {"Martin GEN 1.1", "Darby GEN 1.1", "Texte 1.1.1"}));
        QVERIFY(page.find(">MAR<") != std::string::npos);
        QVERIFY(page.find(">DBY<") != std::string::npos);
    }

    void aSwitchKeepsTheColumnsThePlaceAndItsPlacesBefore() {
        QVERIFY(Import("DBY", "Darby"));
        QVERIFY(Import("MAR", "Martin"));  // read, beside the program's Bible
        w->CompareWith(0);
        w->GoTo(1, 2, 0, 0);
        w->GoTo(43, 3, 2, 0);
        // Ctrl+Maj+B: the program's Bible, which was a column, is read;
        // Martin takes its column.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->WB->Browser()->setFocus();
        QTest::keyClick(w->WB->Browser(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->Shelf().Current(), 0u);
        QCOMPARE(w->Comparison().size(), 1u);
        QCOMPARE(w->Comparison()[0].abbreviation, std::string("MAR"));
        std::string page = Page();
        QVERIFY(InOrder(page, {"Texte 43.3.2", "Martin JHN 3.2"}));
        QCOMPARE(w->Here().book, 43);
        QCOMPARE(w->Here().chapter, 3);
        // Darby next: the Bible read before comes first beside it.
        QTest::keyClick(w->WB->Browser(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->Shelf().Current(), 1u);
        QCOMPARE(w->Comparison().size(), 2u);
        page = Page();
        QVERIFY(InOrder(page, {"Darby JHN 3.2", "Texte 43.3.2", "Martin JHN 3.2"}));
        // « Précédent » goes back to the place read before the switches.
        QVERIFY(w->ActionPrecedent->isEnabled());
        w->ActionPrecedent->trigger();
        QCOMPARE(w->Here().book, 1);
        QCOMPARE(w->Here().chapter, 2);
        QVERIFY(Page().find("Darby GEN 2.1") != std::string::npos);
    }

    void aTabOnABookTheBibleLacksKeepsItsPlace() {
        const std::string notice = "Ce livre n'est pas dans cette Bible.";
        w->GoTo(19, 23, 0, 0);
        // An import shows what it brought, Psaumes one step back.
        QVERIFY(Import("DBY", "Darby"));  // Genèse, Exode and Jean only
        QCOMPARE(w->TCTexte->Caption(0), QString::fromUtf8("Genèse 1"));
        w->ActionPrecedent->trigger();
        QCOMPARE(w->TCTexte->Caption(0), QString("Psaumes 23"));
        QVERIFY(Page().find(notice) != std::string::npos);
        // A switch keeps the place, whichever Bible has the book.
        QVERIFY(w->ShowBible(0));
        QVERIFY(Page().find("Texte 19.23.1") != std::string::npos);
        QVERIFY(w->ShowBible(1));
        QCOMPARE(w->TCTexte->Caption(0), QString("Psaumes 23"));
        QVERIFY(Page().find(notice) != std::string::npos);
        QVERIFY(w->ShowBible(0));
        QVERIFY(Page().find("Texte 19.23.1") != std::string::npos);
    }

    void theColumnsComeBackAfterARestart() {
        const QString session = UserConfigFolder() + "/session.txt";
        QFile::remove(session);
        QVERIFY(Import("DBY", "Darby"));
        QVERIFY(Import("OST", "Ostervald"));
        QVERIFY(Import("MAR", "Martin"));
        w->CompareWith(1);
        w->CompareWith(0);
        w->CompareWith(2);
        w->GoTo(2, 3, 0, 0);
        w->SaveSession();
        QVERIFY(testing::ReadFile(session.toStdString()).find("comparees dby * ost\n") !=
                std::string::npos);
        // Ostervald damaged meanwhile: left out, the others in their order.
        fs::remove(w->Shelf().DirOf(2) + "data/refer.dat");
        bibles::BibleShelf shelf(w->Shelf().ShelfDir(), dir->appDir());
        shelf.Load();
        Communs tables(dir->appDir(), shelf.CurrentDir());
        {
            TFBible again(tables, nullptr, {}, &shelf);
            QVERIFY(again.Loaded());
            again.KeepSession();
            QCOMPARE(again.Comparison().size(), 2u);
            QCOMPARE(again.Comparison()[0].abbreviation, std::string("DBY"));
            QCOMPARE(again.Comparison()[1].abbreviation, std::string(kDefaultAbbreviation));
            again.Reading().Show();
            const std::string page = Page();
            QVERIFY(InOrder(page, {"Martin EXO 3.1", "Darby EXO 3.1", "Texte 2.3.1"}));
            QVERIFY(page.find("Ostervald") == std::string::npos);
        }
        QFile::remove(session);
    }

    void aReferenceToAVerseOnlyABibleBesideHasOpensItsPassage() {
        QVERIFY(Import("DBY", "Darby"));  // 3 verses a chapter
        w->FDlgPassage->close();
        w->OpenPassage(1, 1, 10, 11);
        QVERIFY(!w->FDlgPassage->isVisible());  // alone, Darby has no verse 10
        w->CompareWith(0);                      // beside the program's 20 verses
        w->OpenPassage(1, 1, 10, 11);
        QTRY_VERIFY(w->FDlgPassage->isVisible());
        const QString passage = w->FDlgPassage->WB->Browser()->toPlainText();
        QVERIFY2(passage.contains("Texte 1.1.10") && passage.contains("Texte 1.1.11"),
                 qPrintable(passage));
        QVERIFY2(passage.contains(QString::fromUtf8("Ce passage n'est pas dans cette Bible.")),
                 qPrintable(passage));
        QCOMPARE(w->FDlgPassage->windowTitle(), QString::fromUtf8("Genèse 1:10-11"));
        w->StopComparing();  // that Bible gone, its passage goes too
        QVERIFY(!w->FDlgPassage->isVisible());
    }

    void removingAComparedBibleTakesItsColumnAway() {
        QVERIFY(Import("DBY", "Darby"));
        w->CompareWith(0);
        QCOMPARE(w->Comparison().size(), 1u);
        QVERIFY(w->RemoveBible(0));
        QVERIFY(w->Comparison().empty());
        QVERIFY(Page().find("Darby GEN 1.1") != std::string::npos);
        QVERIFY(Page().find("Texte 1.1.1") == std::string::npos);
    }

    void aBibleDamagedByHandIsNamedOnceTheWindowShows() {
        QVERIFY(Import("DBY", "Darby"));
        const QString darby = QString::fromStdString(w->Shelf().At(1).name);
        fs::remove(w->Shelf().DirOf(1) + "data/refer.dat");
        w->Shelf().Load();
        QCOMPARE(w->Shelf().Count(), 1u);
        auto text = std::make_shared<QString>();
        testing::AnswerBox(QMessageBox::Ok, text);
        w->TellShelfProblems();
        QVERIFY2(text->contains(QString::fromUtf8("« %1 » est endommagée").arg(darby)),
                 qPrintable(*text));
    }

    void anUnwritableShelfSaysWhere() {
        testing::WithoutRootOverride asReader;
        fs::create_directories(w->Shelf().ShelfDir());
        fs::permissions(w->Shelf().ShelfDir(), fs::perms::owner_write, fs::perm_options::remove);
        QVERIFY(!Import("DBY", "Darby"));
        fs::permissions(w->Shelf().ShelfDir(), fs::perms::owner_write, fs::perm_options::add);
        QVERIFY2(
            lastMessage.startsWith(QString::fromUtf8("Impossible d'écrire dans le dossier « ")),
            qPrintable(lastMessage));
        QCOMPARE(w->Shelf().Count(), 1u);
    }

    void manageShowsALicenceAndOnlyHidesAShippedBible() {
        ShipOriginals();
        QCOMPARE(w->Shelf().Count(), 3u);
        bool checked = false;
        testing::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<bibles::ManageBiblesDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->List->topLevelItemCount(), 3);
            QCOMPARE(dialog->List->topLevelItem(1)->text(0), QString::fromUtf8(kGreek));
            // The program's own Bible has no licence to show.
            dialog->List->setCurrentItem(dialog->List->topLevelItem(0));
            QVERIFY(dialog->Licence->isHidden());
            QVERIFY(!dialog->BtnReafficher->isEnabled());
            // The Hebrew's, with the attribution its licence asks; reached by
            // Tab from the list, named for a screen reader, read-only.
            dialog->List->setCurrentItem(dialog->List->topLevelItem(2));
            QVERIFY(!dialog->Licence->isHidden());
            QVERIFY(dialog->Licence->toPlainText().contains(QString::fromUtf8(kAttribution)));
            QCOMPARE(dialog->Licence->accessibleName(),
                     QString::fromUtf8("Licence de la Bible choisie"));
            QCOMPARE(dialog->LicenceLabel->buddy(), dialog->Licence);
            QVERIFY(dialog->Licence->isReadOnly());
            dialog->List->setFocus();
            QTest::keyClick(dialog->List, Qt::Key_Tab);
            QCOMPARE(dialog->focusWidget(), dialog->Licence);
            QTest::keyClick(dialog->Licence, Qt::Key_Tab);  // and on, not a tab typed
            QCOMPARE(dialog->focusWidget(), dialog->BtnRenommer);

            // « Supprimer » on the Greek says it is hidden, not deleted.
            dialog->List->setCurrentItem(dialog->List->topLevelItem(1));
            QVERIFY(dialog->Licence->toPlainText().startsWith("Texte grec"));
            auto asked = std::make_shared<QString>();
            testing::AnswerBox(QMessageBox::Yes, asked);
            dialog->RemoveClick();
            QCOMPARE(*asked, QString::fromUtf8("Cacher «\u00A0%1\u00A0»\u00A0? Cette Bible est "
                                               "livrée avec Lorvane\u00A0: elle ne sera plus dans "
                                               "la liste, mais elle n'est pas effacée. "
                                               "«\u00A0Réafficher les Bibles livrées\u00A0» la "
                                               "remet.")
                                 .arg(QString::fromUtf8(kGreek)));
            QCOMPARE(dialog->List->topLevelItemCount(), 2);
            QVERIFY(fs::exists(dir->path() / "originaux/grc/data/bible.dat"));
            QVERIFY(dialog->BtnReafficher->isEnabled());
            // And back.
            dialog->BtnReafficher->click();
            QCOMPARE(dialog->List->topLevelItemCount(), 3);
            QCOMPARE(dialog->List->topLevelItem(1)->text(0), QString::fromUtf8(kGreek));
            QVERIFY(!dialog->BtnReafficher->isEnabled());
            checked = true;
            dialog->accept();
        });
        w->ManageBiblesClick();
        QVERIFY(checked);
        bibles::BibleShelf next(w->Shelf().ShelfDir(), communs->BibleDir);
        next.Load();
        QCOMPARE(next.Count(), 3u);
    }

    void aShippedBibleIsReadComparedAndComparedAgainAfterARestart() {
        const QString session = UserConfigFolder() + "/session.txt";
        QFile::remove(session);
        ShipOriginals();
        const QList<QAction*> entries = MenuEntries();
        QCOMPARE(entries[1]->text(),
                 QString::fromUtf8("&2 %1 (RP2018)").arg(QString::fromUtf8(kGreek)));
        entries[1]->trigger();
        QVERIFY(Page().find("Grec 1.1.1") != std::string::npos);
        QCOMPARE(w->BibleAbbreviation(), QString("RP2018"));
        w->CompareWith(2);
        QVERIFY(InOrder(Page(), {"Grec 1.1.2", "Hebreu 1.1.2"}));
        w->SaveSession();
        // A comment to an older program, which would read no session else.
        QVERIFY(testing::ReadFile(session.toStdString()).find("\n#+ comparees *hbo\n") !=
                std::string::npos);
        bibles::BibleShelf shelf(w->Shelf().ShelfDir(), dir->appDir());
        shelf.Load();
        QCOMPARE(shelf.At(shelf.Current()).folder, std::string("*grc"));
        Communs tables(dir->appDir(), shelf.CurrentDir());
        {
            TFBible again(tables, nullptr, {}, &shelf);
            QVERIFY(again.Loaded());
            again.KeepSession();
            QCOMPARE(again.Comparison().size(), 1u);
            QCOMPARE(again.Comparison()[0].abbreviation, std::string("WLC"));
        }
        QFile::remove(session);
    }

    void theAboutBoxCreditsTheShippedBiblesAndTheirLicences() {
        ShipOriginals();
        w->Shelf().Remove(1);  // hidden, still shipped: still credited
        bool seen = false;
        testing::OnNextModal([&](QWidget* modal) {
            auto* about = qobject_cast<TFSplash*>(modal);
            QVERIFY(about);
            QVERIFY(about->Shipped);
            const QString text = about->Shipped->toPlainText();
            QVERIFY2(text.contains(QString::fromUtf8("%1 (RP2018)\nTexte grec : domaine public.")
                                       .arg(QString::fromUtf8(kGreek))),
                     qPrintable(text));
            QVERIFY2(text.contains(
                         QString::fromUtf8("%1 (WLC)\nLemmes et morphologie : CC BY 4.0."
                                           "\n%2")
                             .arg(QString::fromUtf8(kHebrew), QString::fromUtf8(kAttribution))),
                     qPrintable(text));
            QCOMPARE(about->Shipped->accessibleName(),
                     QString::fromUtf8("Textes livrés avec Lorvane et leurs licences"));
            QVERIFY(about->Shipped->isReadOnly());
            QVERIFY(about->Shipped->geometry().bottom() < about->height());
            QVERIFY(about->Licence->geometry().bottom() < about->Shipped->geometry().top());
            seen = true;
            about->done(QDialog::Accepted);
        });
        w->Apropos1Click();
        QVERIFY(seen);
        // Nothing shipped: the box as it was.
        TFSplash plain(w, TFSplash::Use::About);
        QVERIFY(!plain.Shipped);
    }
};

QTEST_MAIN(BiblesWindowTest)
#include "BiblesWindowTest.moc"
