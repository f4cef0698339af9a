#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "AppFixture.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "FctLoad.h"
#include "NoteWindows.h"
#include "NotesPane.h"
#include "ReaderNotes.h"
#include "ReadingView.h"
#include "UserFiles.h"

using namespace lorvane;

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Closes the message box the next step opens, and keeps its text.
struct BoxCloser {
    QString said;
    void Arm() {
        QTimer::singleShot(0, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                said = box->text();
                box->accept();
            }
        });
    }
};

}  // namespace

class NotesWindowTest : public testing::MainWindowTestCase {
    Q_OBJECT

    std::vector<std::unique_ptr<testing::TempDir>> dirs_;
    QStringList asked_;  // the references the editor was opened on
    QString answer_;

    QTextDocument* Page() { return w->WB->Browser()->document(); }

    void Choose(const QString& text, const char* entry) {
        QVERIFY2(testing::ChooseInPageMenu(*w, text, entry), entry);
    }
    // The links of the page a screen reader is given, by name.
    QStringList LinkNames() {
        QAccessibleInterface* page = QAccessible::queryAccessibleInterface(w->WB->Browser());
        QStringList names;
        for (int i = 0; i < page->childCount(); ++i)
            names << page->child(i)->text(QAccessible::Name);
        return names;
    }
    // The note marks of the page: their links.
    QStringList Marks() {
        QStringList hrefs;
        for (QTextBlock b = Page()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().anchorHref().startsWith("lorvane-note:"))
                    hrefs << it.fragment().charFormat().anchorHref();
        return hrefs;
    }
    ReaderNotes& Notes() { return *w->View()->Notes(); }

  private slots:
    void init() {
        QFile::remove(UserDataFolder() + "/notes.txt");
        Open(testing::MainWindowBible());
        QVERIFY(w->Loaded());
        w->resize(1000, 700);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        asked_.clear();
        answer_ = Text("Voir Ge 1:3\net la suite");
        w->View()->SetAskText([this](const QString& reference, const QString& text) {
            asked_ << reference + "|" + text;
            return answer_.isEmpty() ? std::optional<QString>() : std::optional<QString>(answer_);
        });
    }
    void cleanup() {
        Close();
        dirs_.clear();
        QFile::remove(UserDataFolder() + "/notes.txt");
    }

    // « Annoter ce verset... » asks for the text; the note's mark shows
    // after the verse number, a link a screen reader names « Note : » and
    // its first words; « Annoter » again changes the same note.
    void aNoteOnAVerseShowsItsMarkNamedForTheScreenReader() {
        Choose("Texte 1.1.5", "AnnoterVerset");
        QCOMPARE(asked_, QStringList({Text("Genèse 1:5|")}));
        QCOMPARE(Notes().Book().Count(), 1u);
        QCOMPARE(Marks().size(), 1);
        QVERIFY(LinkNames().contains(Text("Note : Voir Ge 1:3 et la suite")));
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(w->WB->Browser())->textInterface();
        QVERIFY(text->text(0, text->characterCount())
                    .contains(Text("5 Note : Voir Ge 1:3 et la suite Texte 1.1.5")));
        // Kept in the reader's file.
        QFile kept(UserDataFolder() + "/notes.txt");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(kept.readAll()).contains("\t1 1 5\t"));

        answer_ = "Autre texte";
        Choose("Texte 1.1.5", "AnnoterVerset");
        QCOMPARE(asked_.last(), Text("Genèse 1:5|Voir Ge 1:3\net la suite"));
        QCOMPARE(Notes().Book().Count(), 1u);
        QVERIFY(LinkNames().contains(Text("Note : Autre texte")));

        // Given up: nothing kept.
        answer_.clear();
        Choose("Texte 1.1.7", "AnnoterVerset");
        QCOMPARE(Notes().Book().Count(), 1u);
        // From the keyboard: the verse at the caret.
        answer_ = "au clavier";
        w->View()->CaretToVerse(9);
        w->WB->Browser()->setFocus();
        w->ActionAnnoter->trigger();
        QCOMPARE(asked_.last(), Text("Genèse 1:9|"));
        QCOMPARE(Notes().Book().Count(), 2u);
    }

    // Following a mark opens the note: its references are links that move
    // the reading; « Modifier » and « Supprimer » are there.
    void aMarkOpensItsNoteWithItsReferencesAsLinks() {
        Choose("Texte 1.1.5", "AnnoterVerset");
        bool cancel = false;
        emit w->WB->BeforeNavigate2(Marks().value(0), &cancel);
        QVERIFY(cancel);
        auto* window = w->findChild<NoteWindow*>();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), Text("Note sur Genèse 1:5"));
        QVERIFY(window->Text()->toHtml().contains("lorvane-ref:1:1:3:0"));
        window->SetAsk(
            [](const QString&, const QString& t) { return std::optional<QString>(t + " !"); });
        window->ChangeButton()->click();
        QCOMPARE(Notes().Book().Notes()[0].text, std::string("Voir Ge 1:3\net la suite !"));
        emit window->Text()->anchorClicked(QUrl("lorvane-ref:1:3:2:0"));
        QCOMPARE(w->Here().chapter, 3);
        QVERIFY(!window->isVisible());

        w->GoTo(1, 1, 0, 0);
        emit w->WB->BeforeNavigate2(Marks().value(0), &cancel);
        window = nullptr;
        for (NoteWindow* n : w->findChildren<NoteWindow*>())
            if (n->isVisible()) window = n;
        QVERIFY(window);
        window->RemoveButton()->click();
        QCOMPARE(Notes().Book().Count(), 0u);
        QVERIFY(Marks().isEmpty());
    }

    // A highlighted verse says its colour to a screen reader, as an
    // attribute and a word before its text.
    void aHighlightIsSaidToTheScreenReader() {
        Choose("Texte 1.1.6", "Surligner_bleu");
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(w->WB->Browser())->textInterface();
        const QString all = text->text(0, text->characterCount());
        const int at = all.indexOf(Text("surligné en bleu Texte 1.1.6"));
        QVERIFY2(at > 0, qPrintable(all.left(400)));
        int start = 0, end = 0;
        const QString attributes = text->attributes(
            at + static_cast<int>(Text("surligné en bleu T").size()), &start, &end);
        const QColor blue = QColor::fromRgb(ColourRgb(Colour::Bleu));
        QVERIFY2(attributes.contains(QStringLiteral("background-color:rgb(%1,%2,%3)")
                                         .arg(blue.red())
                                         .arg(blue.green())
                                         .arg(blue.blue())),
                 qPrintable(attributes));
    }

    // The « Notes » pane: every note in Bible order, filtered accent-blind;
    // Enter opens the verse; Suppr deletes and « Annuler » brings it back;
    // the highlights under their colour.
    void theNotesPaneListsFiltersOpensDeletesAndUndoes() {
        ReaderNotes& notes = Notes();
        const Numbering& segond = *KnownNumberings().Find("Segond");
        notes.Add(segond, 19, 23, 1, 0, "L'Éternel est mon berger");
        notes.Add(segond, 1, 2, 4, 6, "le jardin\nsuite");
        notes.SetAt(PlaceOf(1, 3, 2), Colour::Rose);
        w->ActionNotes->trigger();
        NotesPane* pane = w->PanneauNotes;
        QVERIFY(pane->isVisible());
        QTreeWidget* list = pane->List();
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(0)->text(0), Text("Genèse 2:4-6 — le jardin"));
        QCOMPARE(list->topLevelItem(1)->text(0), Text("Psaumes 23:1 — L'Éternel est mon berger"));
        QCOMPARE(list->topLevelItem(2)->text(0), Text("Surligné en rose (1)"));
        QCOMPARE(list->topLevelItem(2)->child(0)->text(0), Text("Genèse 3:2 — Texte 1.3.2"));

        pane->Filter()->setText("eternel");
        QCOMPARE(list->topLevelItem(0)->text(0), Text("Psaumes 23:1 — L'Éternel est mon berger"));
        QCOMPARE(list->topLevelItem(1)->text(0), Text("Surligné en rose (1)"));
        pane->Filter()->setText("introuvable");
        QCOMPARE(list->topLevelItem(0)->text(0), Text("Aucune note ne contient ces mots."));
        pane->Filter()->clear();

        list->setFocus();
        list->setCurrentItem(list->topLevelItem(1));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(w->Here().book, 19);
        QCOMPARE(w->Here().chapter, 23);
        QVERIFY(w->WB->Browser()->hasFocus());

        list->setFocus();
        list->setCurrentItem(list->topLevelItem(0));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(notes.Book().Count(), 1u);
        QVERIFY(pane->UndoButton()->isVisible());
        pane->UndoButton()->click();
        QCOMPARE(notes.Book().Count(), 2u);
        QCOMPARE(list->topLevelItem(0)->text(0), Text("Genèse 2:4-6 — le jardin"));
        QVERIFY(!pane->UndoButton()->isVisible());

        list->setCurrentItem(list->topLevelItem(2)->child(0));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(notes.Book().HighlightAt(PlaceOf(1, 3, 2)), Colour::None);
        pane->UndoButton()->click();
        QCOMPARE(notes.Book().HighlightAt(PlaceOf(1, 3, 2)), Colour::Rose);
    }

    // The notes kept come after the first paint: the page shows their
    // marks and colours once they are read, and a change made before that
    // loses none of them.
    void theNotesKeptComeAfterTheFirstPaint() {
        Close();
        {
            QFile file(UserDataFolder() + "/notes.txt");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(
                "N\t00000000000000a1\t1 1 2\t2026-12-09T08:00:00Z\t2026-12-09T08:00:00Z"
                "\tgardée\nH\t1 1 4\tvert\t2026-12-09T08:00:00Z\n");
        }
        Open(testing::MainWindowBible());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(Marks().isEmpty());
        w->View()->SetAskText([](const QString&, const QString&) {
            return std::optional<QString>(QStringLiteral("avant la lecture"));
        });
        Choose("Texte 1.1.7", "AnnoterVerset");
        w->LoadReaderNotes();
        QCOMPARE(Notes().Book().Count(), 2u);
        QCOMPARE(Marks().size(), 2);
        QCOMPARE(Page()->find("Texte 1.1.4").charFormat().background().color(),
                 QColor::fromRgb(ColourRgb(Colour::Vert)));
        // Enter on a highlighted verse of the « Notes » pane opens it.
        w->GoTo(19, 23, 0, 0);
        w->ActionNotes->trigger();
        QTreeWidget* list = w->PanneauNotes->List();
        QTreeWidgetItem* green = list->topLevelItem(list->topLevelItemCount() - 1)->child(0);
        QCOMPARE(green->text(0), Text("Genèse 1:4 — Texte 1.1.4"));
        list->setFocus();
        list->setCurrentItem(green);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(w->Here().book, 1);
        QCOMPARE(w->Here().verse, 4);
    }

    // « Exporter les notes... » as a page or as text, and « Importer des
    // notes... » merges it back without duplicates.
    void notesExportedComeBackOnceByImport() {
        ReaderNotes& notes = Notes();
        const Numbering& segond = *KnownNumberings().Find("Segond");
        notes.Add(segond, 43, 3, 16, 0, "<script>alert(1)</script> Dieu a tant aimé");
        notes.Add(segond, 1, 1, 1, 2, "Au commencement");
        testing::TempDir out;
        for (const char* name : {"Mes notes é.html", "Mes notes é.txt"}) {
            const QString path = QFile::decodeName(out.path().c_str()) + "/" + Text(name);
            QVERIFY(ExportNotes(w, notes, path));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString written = QString::fromUtf8(file.readAll());
            if (path.endsWith(".html")) QVERIFY(!written.contains("<script>"));
            QVERIFY(written.contains(Text("Dieu a tant aimé")));
            BoxCloser box;
            box.Arm();
            QCOMPARE(ImportNotes(w, notes, path), 0);
            QCOMPARE(box.said, Text("Aucune note nouvelle dans ce fichier."));
            const std::string id = notes.Book().Notes()[0].id;
            notes.Remove(id);
            box.Arm();
            QCOMPARE(ImportNotes(w, notes, path), 1);
            QCOMPARE(box.said, Text("1 note ajoutée."));
            QCOMPARE(notes.Book().Count(), 2u);
        }
        // A file that cannot be read says so.
        BoxCloser box;
        box.Arm();
        QCOMPARE(ImportNotes(w, notes, QFile::decodeName(out.path().c_str()) + "/absent.txt"), -1);
        QVERIFY(box.said.startsWith(Text("Les notes n'ont pas été importées : ")));
    }
};

QTEST_MAIN(NotesWindowTest)
#include "NotesWindowTest.moc"
