// The « Commentaire » pane: it follows the reading, its list chooses among
// the commentaries kept, its links move the reading, and it says when
// there is nothing to show.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "BiblesFace.h"
#include "CommentaryPane.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "ModalDriver.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;
using commentary::CommentaryEntry;
using commentary::EncodeCommentary;

}  // namespace

class CommentaryPaneTest : public QObject {
    Q_OBJECT

    void Keep(CommentaryPane& pane, const std::string& name,
              const std::vector<CommentaryEntry>& entries) {
        const std::string staging = pane.Shelf().StagingDir();
        fs::create_directories(staging);
        std::ofstream(staging + commentary::kCommentaryFile, std::ios::binary)
            << EncodeCommentary(entries);
        pane.Adopt(staging, name, name);
    }
    static QString Shown(const CommentaryPane& pane) { return pane.Text()->toPlainText(); }

  private slots:
    void followsEveryMoveAndItsLinksMoveTheReading() {
        testing::TempDir dir, shelf;
        testing::WriteDataFolder(dir.path(), testing::DataSet::Small());
        Communs tables{dir.appDir()};
        LoadAllTables(tables);
        ReadingCore reading{tables};
        CommentaryPane pane(shelf.path().string());
        QVERIFY(!pane.accessibleName().isEmpty());
        pane.Follow(reading);
        QCOMPARE(Shown(pane), QString::fromUtf8("Aucun commentaire n'est installé. Importez un "
                                                "commentaire SWORD par Fichier > Importer une "
                                                "Bible..."));
        Keep(pane, "Henry",
             {{PlaceOf(19, 2, 2), 4,
               "<p>Sur les rois, voir <a href=\"\xC2\xA4"
               "40\xC2\xA4"
               "3\xC2\xA4"
               "2\xC2\xA4"
               "0\">Mt 3.2</a></p>"},
              {PlaceOf(40, 3, 2), 2, "<p>Le royaume</p>"}});
        QCOMPARE(Shown(pane), QString::fromUtf8("Aucun commentaire sur ce verset."));
        for (int v : {2, 3, 4}) {
            QVERIFY(reading.MoveTo(Place{19, 2, v}));
            QCOMPARE(Shown(pane), QString::fromUtf8("Sur les rois, voir Mt 3.2"));
        }
        QVERIFY(reading.MoveTo(Place{19, 2, 5}));
        QCOMPARE(Shown(pane), QString::fromUtf8("Aucun commentaire sur ce verset."));
        // The caret, or a scroll, brings the reader to another verse; the
        // same place shown again keeps it.
        reading.SetVerseRead(3);
        QCOMPARE(Shown(pane), QString::fromUtf8("Sur les rois, voir Mt 3.2"));
        reading.Show();
        QCOMPARE(Shown(pane), QString::fromUtf8("Sur les rois, voir Mt 3.2"));
        reading.SetVerseRead(6);
        QCOMPARE(Shown(pane), QString::fromUtf8("Aucun commentaire sur ce verset."));
        QVERIFY(reading.MoveTo(Place{19, 2, 2}));
        emit pane.Text()->anchorClicked(
            QUrl(QString::fromUtf8("\u00A4"
                                   "40\u00A4"
                                   "3\u00A4"
                                   "2\u00A4"
                                   "0")));
        QCOMPARE(reading.Here().book, 40);
        QCOMPARE(reading.Here().chapter, 3);
        QCOMPARE(reading.Here().verse, 2);
        QCOMPARE(Shown(pane), QString::fromUtf8("Le royaume"));
    }

    void itsListChoosesAmongTheCommentariesKept() {
        testing::TempDir dir, shelf;
        testing::WriteDataFolder(dir.path(), testing::DataSet::Small());
        Communs tables{dir.appDir()};
        LoadAllTables(tables);
        ReadingCore reading{tables};
        CommentaryPane pane(shelf.path().string());
        pane.Follow(reading);
        Keep(pane, "Alpha", {{PlaceOf(1, 1, 1), 1, "<p>Selon Alpha</p>"}});
        Keep(pane, "Beta", {{PlaceOf(1, 1, 1), 1, "<p>Selon Beta</p>"}});
        QCOMPARE(pane.Choice()->count(), 2);
        // The one imported last is shown.
        QCOMPARE(pane.Choice()->currentText(), QStringLiteral("Beta (Beta)"));
        QCOMPARE(Shown(pane), QStringLiteral("Selon Beta"));
        pane.Choice()->setCurrentIndex(0);
        QCOMPARE(Shown(pane), QStringLiteral("Selon Alpha"));
        // Kept when the list is read again.
        pane.Reload();
        QCOMPARE(pane.Choice()->currentText(), QStringLiteral("Alpha (Alpha)"));
    }

    // « Gérer les Bibles... » lists the commentaries after the Bibles,
    // marked, and renames and removes them.
    void theBiblesDialogListsRenamesAndRemovesThem() {
        testing::TempDir program, shelfDir;
        testing::WriteDataFolder(program.path(), testing::DataSet::Small());
        bibles::BibleShelf shelf(shelfDir.path().string(), program.appDir());
        shelf.Load();
        CommentaryPane pane((shelfDir.path() / "commentaires").string());
        Keep(pane, "Henry", {{PlaceOf(1, 1, 1), 1, "<p>Selon Henry</p>"}});
        bibles::ManageBiblesDialog::Commands commands;
        commands.commentaries = {[&] {
                                     std::vector<bibles::KeptBible> rows;
                                     for (const auto& c : pane.Shelf().Commentaries())
                                         rows.push_back({c.folder, c.name, c.abbreviation, {}});
                                     return rows;
                                 },
                                 [&](std::size_t i, const QString& n, const QString& a) {
                                     return pane.RenameKept(i, n, a);
                                 },
                                 [&](std::size_t i) { return pane.RemoveKept(i); }};
        bibles::ManageBiblesDialog dialog(shelf, commands);
        QCOMPARE(dialog.List->topLevelItemCount(), 2);
        QCOMPARE(dialog.List->topLevelItem(1)->text(0), QStringLiteral("Henry (commentaire)"));
        dialog.List->setCurrentItem(dialog.List->topLevelItem(1));
        QVERIFY(dialog.BtnSupprimer->isEnabled());  // the only Bible's stays disabled
        testing::OnNextModal([](QWidget* box) {
            box->findChild<QLineEdit*>("EditNom")->setText(QStringLiteral("Matthew Henry"));
            qobject_cast<QDialog*>(box)->accept();
        });
        dialog.RenameClick();
        QCOMPARE(dialog.List->topLevelItem(1)->text(0),
                 QStringLiteral("Matthew Henry (commentaire)"));
        QCOMPARE(pane.Choice()->currentText(), QStringLiteral("Matthew Henry (Henry)"));
        testing::AnswerBox(QMessageBox::Yes);
        dialog.RemoveClick();
        QCOMPARE(dialog.List->topLevelItemCount(), 1);
        QCOMPARE(pane.Choice()->count(), 0);
        QVERIFY(!fs::exists(shelfDir.path() / "commentaires" / "henry"));
    }

    void cleanup() { testing::CancelPendingAnswers(); }
};

}  // namespace lorvane

QTEST_MAIN(lorvane::CommentaryPaneTest)
#include "CommentaryPaneTest.moc"
