// The reader's daily moves in the main window: "Aller à", back and forward,
// the marked verse, the keys, signets, copies, the PDF and the session.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinterInfo>
#include <QProcess>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>
#include <fstream>

#include "AppFixture.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "ChapterSpin.h"
#include "DlgPassage.h"
#include "FctLoad.h"
#include "FrRichEdit.h"
#include "GoToBox.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "HistoryEdit.h"
#include "SearchPane.h"
#include "SignetsPane.h"
#include "Startup.h"
#include "TextTabs.h"
#include "UserFiles.h"

using namespace lorvane;

class MovesWindowTest : public testing::MainWindowTestCase {
    Q_OBJECT

    void Show() {
        w->resize(700, 420);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::qWait(20);
    }
    QWidget* Page() { return w->WB->Browser(); }
    QString Place() {
        return QStringLiteral("%1 %2:%3")
            .arg(w->Here().book)
            .arg(w->Here().chapter)
            .arg(w->Here().verse);
    }
    void Type(QWidget* to, const QString& text) { QTest::keyClicks(to, text); }
    void Key(QWidget* to, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(to, static_cast<Qt::Key>(key), mods);
    }
    // A small window and a large text: the chapters scroll.
    void MakeScrollable() {
        w->ActionTaille->trigger();
        w->ActionTaille->trigger();
        w->ActionTexteLigne->trigger();
        QTest::qWait(20);
    }

  private slots:
    void init() {
        QFile::remove(UserConfigFolder() + "/session.txt");
        QFile::remove(SignetsPane::FilePath());
        Open(testing::MainWindowBible());
        QVERIFY(w->Loaded());
        Show();
    }
    void cleanup() { Close(); }

    void goToByTheKeyboardWithTheProposals() {
        Key(Page(), Qt::Key_G, Qt::ControlModifier);
        QLineEdit* box = w->BoxAllerA->Edit();
        QCOMPARE(QApplication::focusWidget(), box);
        Type(box, "jn3.16");
        Key(box, Qt::Key_Return);
        QCOMPARE(Place(), QString("43 3:16"));
        QCOMPARE(w->TCTexte->Caption(0), QString("Livre 43 3"));
        QCOMPARE(w->SpinChapitre->Value(), 3);
        QVERIFY(w->WB->HasMark());
        QCOMPARE(QApplication::focusWidget(), Page());

        // The list of books while the book is typed, chosen with the arrows.
        w->BoxAllerA->Focus();
        Type(box, "psa");
        QAbstractItemView* list = w->BoxAllerA->Completer()->popup();
        QTRY_VERIFY(list->isVisible());
        QCOMPARE(list->model()->rowCount(), 1);
        Key(list, Qt::Key_Down);
        Key(list, Qt::Key_Return);
        QCOMPARE(box->text(), QString("Psaumes "));
        Type(box, "23");
        Key(box, Qt::Key_Return);
        QCOMPARE(Place(), QString("19 23:1"));

        // Enter as Qt gives it, to the field first: a proposal reached with
        // the arrows is taken, and nothing opens yet.
        w->GoTo(1, 1, 0, 0);
        w->BoxAllerA->Focus();
        Type(box, "psa");
        QTRY_VERIFY(list->isVisible());
        Key(list, Qt::Key_Down);
        emit box->returnPressed();
        QCOMPARE(Place(), QString("1 1:1"));
    }

    void aPlaceThatDoesNotExistIsExplainedBesideTheBox() {
        w->BoxAllerA->Focus();
        QLineEdit* box = w->BoxAllerA->Edit();
        for (const auto& [typed, why] : {std::pair{"Jn 30", "Livre 43 n'a que 3 chapitres."},
                                         std::pair{"Xyz 1", "Livre inconnu : « Xyz »."},
                                         std::pair{"Abdias 2:1", "Abdias n'a qu'un chapitre."}}) {
            box->clear();
            Type(box, QString::fromUtf8(typed));
            Key(box, Qt::Key_Return);
            QCOMPARE(Place(), QString("1 1:1"));
            QVERIFY(w->BoxAllerA->Message()->isVisible());
            QCOMPARE(w->BoxAllerA->Message()->text(), QString::fromUtf8(why));
            // And said at once to a screen reader.
            auto* said = w->findChild<QWidget*>("lorvaneAnnouncement", Qt::FindDirectChildrenOnly);
            QVERIFY(said && said->isVisible());
            QCOMPARE(said->accessibleName(), QString::fromUtf8(why));
        }
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        Type(box, "x");  // typing again clears the reason
        QVERIFY(!w->BoxAllerA->Message()->isVisible());
        Key(box, Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), Page());
    }

    void theGoToBoxNamesThePlaceShownHoweverItWasReached() {
        QLineEdit* box = w->BoxAllerA->Edit();
        QCOMPARE(box->text(), QString::fromUtf8("Genèse 1"));
        // A range of chapters opens its first and names the whole range.
        w->BoxAllerA->Focus();
        Type(box, "Mt 1-3");
        Key(box, Qt::Key_Return);
        QCOMPARE(Place(), QString("40 1:1"));
        QCOMPARE(box->text(), QString("Livre 40 1-3"));
        QVERIFY(w->BoxAllerA->Message()->isVisible());
        QCOMPARE(w->BoxAllerA->Message()->text(),
                 QString::fromUtf8("Chapitres 1 à 3 : le chapitre 1 est ouvert ; la flèche du "
                                   "numéro de chapitre mène aux suivants."));
        w->BoxAllerA->Focus();
        Type(box, "Jean3v16");
        Key(box, Qt::Key_Return);
        QCOMPARE(Place(), QString("43 3:16"));
        QCOMPARE(box->text(), QString("Livre 43 3:16"));
        QVERIFY(!w->BoxAllerA->Message()->isVisible());
        // A search result: the box follows, no longer saying what was typed.
        w->ActionChercher->trigger();
        w->PanneauRechercher->EditRech->setText("19.10.4");
        w->PanneauRechercher->CBRechDans->setCurrentIndex(4);  // the whole Bible
        w->PanneauRechercher->BtnRechClick();
        w->LBRech->SetItemIndex(1);
        emit w->LBRech->Click(w->LBRech->ItemIndex());
        QCOMPARE(box->text(), QString("Psaumes 10:4"));
        // An entry of the book's index.
        w->OpenBook(1);
        QCOMPARE(box->text(), QString::fromUtf8("Genèse 1"));
        int garden = -1;
        for (int i = 0; i < w->LBIndex->Count(); ++i)
            if (w->LBIndex->Value(i) == 2004) garden = i;
        QVERIFY(garden >= 0);
        w->LBIndex->SetItemIndex(garden);
        emit w->LBIndex->Click(w->LBIndex->ItemIndex());
        QCOMPARE(Place(), QString("1 2:4"));
        QCOMPARE(box->text(), QString::fromUtf8("Genèse 2:4"));
        // What the reader is typing stays while the page does not move.
        w->BoxAllerA->Focus();
        box->setText("Ps 2");
        w->ActionTaille->trigger();
        QCOMPARE(box->text(), QString("Ps 2"));
    }

    void backAndForwardReturnToTheScrollPositions() {
        MakeScrollable();
        QScrollBar* bar = w->WB->Browser()->verticalScrollBar();
        QVERIFY2(bar->maximum() > 100, "the chapter must scroll");
        QVERIFY(!w->ActionPrecedent->isEnabled());
        bar->setValue(90);
        w->GoTo(19, 23, 8, 0);  // a typed reference
        const int at23 = bar->value();
        QVERIFY(at23 > 90);
        QCOMPARE(w->WB->AnchorAtTop(), QString("8"));  // at the top
        bar->setValue(at23 + 30);
        QCOMPARE(bar->value(), at23 + 30);
        // The chapter box: "1", "12", "2" typed in a row make one move.
        for (int typed : {1, 12, 2}) {
            w->SpinChapitre->SetValue(typed);
            emit w->SpinChapitre->valueEdited(w->SpinChapitre->Value());
        }
        QCOMPARE(Place(), QString("19 2:1"));
        QCOMPARE(w->Reading().Places(0).Count(), 3u);
        QVERIFY(w->ActionPrecedent->isEnabled());

        Key(Page(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(Place(), QString("19 23:8"));
        QCOMPARE(bar->value(), at23 + 30);
        QVERIFY(w->WB->HasMark());
        Key(Page(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(Place(), QString("1 1:1"));
        QCOMPARE(bar->value(), 90);
        QVERIFY(!w->ActionPrecedent->isEnabled());
        Key(Page(), Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(Place(), QString("19 23:8"));
        QCOMPARE(bar->value(), at23 + 30);

        // The mouse's own buttons.
        QWidget* viewport = w->WB->Browser()->viewport();
        QTest::mousePress(viewport, Qt::ForwardButton, {}, QPoint(20, 20));
        QCOMPARE(Place(), QString("19 2:1"));
        QVERIFY(!w->ActionSuivant->isEnabled());
        QTest::mousePress(viewport, Qt::BackButton, {}, QPoint(20, 20));
        QCOMPARE(Place(), QString("19 23:8"));

        // A new move drops the places ahead; each tab keeps its own.
        w->OpenBook(31);
        QVERIFY(!w->ActionSuivant->isEnabled());
        w->BtnNouveau->click();
        w->GoTo(1, 2, 0, 0);
        Key(Page(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(Place(), QString("31 1:1"));
        w->Reading().SelectNextTab(+1);
        QCOMPARE(Place(), QString("31 1:1"));
        QCOMPARE(w->Reading().Places(1).Count(), 3u);  // Genèse 1, Psaumes 23, Abdias
        QCOMPARE(w->Reading().Places(0).Count(), 4u);  // the same, then Genèse 2
        QCOMPARE(w->Reading().Places(0).Index(), 2u);

        // Another layout (a narrower window): back to the same verse at the top.
        w->GoTo(19, 23, 8, 0);
        bar->setValue(bar->value() + 30);
        const QString top = w->WB->AnchorAtTop();
        QVERIFY(top != "8");
        w->OpenBook(2);
        w->resize(560, 420);
        QTest::qWait(20);
        Key(Page(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(Place(), QString("19 23:8"));
        QTRY_COMPARE(w->WB->AnchorAtTop(), top);
    }

    void theVerseReachedIsMarkedUntilTheNextMove() {
        w->GoTo(19, 10, 5, 7);
        QVERIFY(w->WB->HasMark());
        const QList<QTextEdit::ExtraSelection> marks = w->WB->Browser()->extraSelections();
        QCOMPARE(marks.size(), 3);
        QVERIFY(marks[0].cursor.selectedText().contains("Texte 19.10.5"));
        QVERIFY(!marks[0].cursor.selectedText().contains("Texte 19.10.6"));
        QVERIFY(marks[2].cursor.selectedText().contains("Texte 19.10.7"));
        // The caret stands on the verse, for screen readers.
        QTextCursor caret = w->WB->Browser()->textCursor();
        caret.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
        QCOMPARE(caret.selectedText(), QString("5"));
        w->OpenBook(2);
        QVERIFY(!w->WB->HasMark());
        // A search result is marked too.
        w->ActionChercher->trigger();
        w->PanneauRechercher->EditRech->setText("19.10.4");
        w->PanneauRechercher->CBRechDans->setCurrentIndex(4);  // the whole Bible
        w->PanneauRechercher->BtnRechClick();
        QCOMPARE(w->LBRech->Count(), 2);  // the count line and the verse
        w->LBRech->SetItemIndex(1);
        emit w->LBRech->Click(w->LBRech->ItemIndex());
        QCOMPARE(Place(), QString("19 10:4"));
        QVERIFY(w->WB->HasMark());
    }

    void theReadingWindowsKeys() {
        Key(Page(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(w->TCTexte->Count(), 2);
        w->GoTo(19, 5, 0, 0);
        Key(Page(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(w->TCTexte->Current(), 1);
        QCOMPARE(Place(), QString("1 1:1"));
        Key(Page(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Place(), QString("19 5:1"));
        Key(Page(), Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(w->TCTexte->Count(), 1);
        Key(Page(), Qt::Key_W, Qt::ControlModifier);  // never the last
        QCOMPARE(w->TCTexte->Count(), 1);

        Key(Page(), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(communs->TextSize, 3);
        Key(Page(), Qt::Key_Minus, Qt::ControlModifier);
        Key(Page(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(communs->TextSize, 1);
        Key(Page(), Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(communs->TextSize, 2);

        Key(Page(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(w->PC->currentWidget(), w->PanneauRechercher);
        QCOMPARE(QApplication::focusWidget(), w->PanneauRechercher->EditRech);

        // F6 and Shift+F6: the side pane, the reading strip, the page.
        Key(QApplication::focusWidget(), Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), w->CBLivre);
        Key(w->CBLivre, Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget(), Page());
        Key(Page(), Qt::Key_F6);
        QVERIFY(w->PanneauRechercher->isAncestorOf(QApplication::focusWidget()));
        Key(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), Page());

        Key(Page(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), w->BoxAllerA->Edit());

        // Ctrl+P outside the pad prints the chapter (here: no printer, said so).
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            QSignalSpy print(w->ActionImprimer, &QAction::triggered);
            QString said;
            QTimer::singleShot(50, [&said] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    said = box->text();
                    box->close();
                }
            });
            w->WB->setFocus();
            Key(Page(), Qt::Key_P, Qt::ControlModifier);
            QCOMPARE(print.count(), 1);
            QCOMPARE(said, QString::fromUtf8("Aucune imprimante n'est installée."));
        }

        // Each key is shown in its menu entry.
        QCOMPARE(w->ActionPrecedent->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Left));
        QCOMPARE(w->ActionImprimer->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    }

    void enterNeverFollowsALinkScrolledOutOfView() {
        MakeScrollable();
        Page()->setFocus();
        Key(Page(), Qt::Key_Tab);  // the first cross-reference of Genèse 1:1
        QTextBrowser* view = w->WB->Browser();
        QVERIFY(view->textCursor().hasSelection());
        for (int i = 0; i < 4; ++i)
            Key(Page(), Qt::Key_PageDown);
        QVERIFY(view->verticalScrollBar()->value() > 0);
        Key(Page(), Qt::Key_Return);
        QVERIFY(!w->FDlgPassage->isVisible());
        Key(Page(), Qt::Key_Home, Qt::ControlModifier);
        Key(Page(), Qt::Key_Tab);     // the first cross-reference again, in view
        Key(Page(), Qt::Key_Return);  // followed
        QTRY_VERIFY(w->FDlgPassage->isVisible());
        w->FDlgPassage->close();
    }

    void thePadKeepsItsOwnKeys() {
        w->ActionRediger->trigger();
        QTextEdit* text = w->FrmRichEdit->findChild<QTextEdit*>();
        QVERIFY(text);
        text->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), text);
        QSignalSpy goTo(w->ActionAllerAL, &QAction::triggered);
        QSignalSpy print(w->ActionImprimer, &QAction::triggered);
        Key(text, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(text->alignment(), Qt::AlignHCenter);
        Key(text, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(text->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QCOMPARE(goTo.count(), 0);
        QCOMPARE(QApplication::focusWidget(), text);
        QCOMPARE(print.count(), 0);
    }

    void aSignetIsAddedListedOpenedRenamedRemovedAndKept() {
        w->GoTo(45, 3, 2, 0);
        Key(Page(), Qt::Key_D, Qt::ControlModifier);  // the verse reached
        w->ActionSignets->trigger();
        QCOMPARE(w->PC->currentWidget(), w->PanneauSignets);
        QTreeWidget* list = w->PanneauSignets->List();
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QString("Livre 45 3:2"));
        QVERIFY(list->topLevelItem(0)->text(1).contains("Texte 45.3.2"));
        std::ifstream file(SignetsPane::FilePath().toStdString());
        std::string line;
        std::getline(file, line);
        std::getline(file, line);
        QCOMPARE(QString::fromStdString(line), QString("45 3 2\tLivre 45 3:2"));

        w->OpenBook(1);
        list->setCurrentItem(list->topLevelItem(0));
        list->setFocus();
        Key(list, Qt::Key_Return);
        QCOMPARE(Place(), QString("45 3:2"));
        list->topLevelItem(0)->setText(0, "Ma promesse");

        // After a restart.
        Close();
        Open(testing::MainWindowBible());
        Show();
        list = w->PanneauSignets->List();
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QString("Ma promesse"));
        QCOMPARE(list->currentItem(), list->topLevelItem(0));  // a row to read at once
        Key(list, Qt::Key_Delete);
        QCOMPARE(list->topLevelItemCount(), 0);
        QCOMPARE(w->PanneauSignets->Signets().size(), 0u);
    }

    // A signet keeps its verse as the Segond numbers it: kept on Psaume
    // 51:7 of an English Bible, it opens on 51:9 of the Segond and on
    // 51:7 again in the English one.
    void aSignetOpensTheSameVerseInABibleNumberedOtherwise() {
        const auto numbered = [](const testing::TempDir& dir, const char* numbering, int verses) {
            testing::DataSet d;
            for (int b = 1; b <= 19; ++b)
                d.books.push_back(
                    {"Livre " + std::to_string(b), "L" + std::to_string(b), b == 19 ? 51 : 0});
            for (int v = 1; v <= verses; ++v)
                d.verses.push_back({19, 51, v, "Texte " + std::to_string(v)});
            testing::WriteDataFolder(dir.path(), d);
            testing::WriteDataFile(dir.path(), "numerotation.txt", std::string(numbering) + "\n");
            auto c = std::make_unique<Communs>(dir.appDir());
            LoadAllTables(*c);
            return c;
        };
        testing::TempDir englishDir, segondDir;
        const auto english = numbered(englishDir, "KJV", 19);
        const auto segond = numbered(segondDir, "Segond", 21);
        SignetsPane pane;
        pane.SetBible(*english);
        pane.Add(19, 51, 7);
        QCOMPARE(pane.Signets().back().verse, 9);
        QCOMPARE(QString::fromStdString(pane.Signets().back().name), QString("Livre 19 51:7"));
        QSignalSpy open(&pane, &SignetsPane::Open);
        QTreeWidget* list = pane.List();
        const auto openIt = [&] {
            list->setCurrentItem(list->topLevelItem(list->topLevelItemCount() - 1));
            emit list->itemClicked(list->currentItem(), 0);
        };
        pane.SetBible(*segond);
        openIt();
        QCOMPARE(open.count(), 1);
        QCOMPARE(open.back(), (QList<QVariant>{19, 51, 9}));
        pane.SetBible(*english);
        openIt();
        QCOMPARE(open.back(), (QList<QVariant>{19, 51, 7}));
        pane.RemoveCurrent();
    }

    void aVerseIsCopiedWithItsReference() {
        // The Bible's abbreviation, as the reader's Bibles read it at start.
        testing::WriteDataFile(dir->path(), "sigle.txt", "LSG\n");
        w->Shelf().Load();
        w->GoTo(43, 3, 16, 0);
        w->CopyVerse(16, true);
        const QString expected =
            QString::fromUtf8("«\u00A0Texte 43.3.16\u00A0» (Livre 43 3:16, LSG)");
        QCOMPARE(QApplication::clipboard()->text(), expected);
        QVERIFY(QApplication::clipboard()->mimeData()->html().contains(expected));
        QTextEdit* pad = w->FrmRichEdit->findChild<QTextEdit*>();
        pad->paste();  // into the writing pad, through its rich text
        QCOMPARE(pad->document()->toRawText(), expected);
        w->CopyVerse(16, false);
        QCOMPARE(QApplication::clipboard()->text(), QString("Texte 43.3.16"));

        // Ctrl+C over two verses: the words without the numbers, then the range.
        QTextBrowser* view = w->WB->Browser();
        QTextCursor c = view->document()->find("43.3.16");
        QVERIFY(!c.isNull());
        const int start = c.selectionStart() - 6;
        const int end = view->document()->find("Texte 43.3.17").selectionEnd();
        c.setPosition(start);
        c.setPosition(end, QTextCursor::KeepAnchor);
        view->setTextCursor(c);
        Key(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(
            QApplication::clipboard()->text(),
            QString::fromUtf8("«\u00A0Texte 43.3.16 Texte 43.3.17\u00A0» (Livre 43 3:16-17, LSG)"));
    }

    void aChapterIsSavedAsPdf() {
        w->GoTo(19, 10, 0, 0);
        const QString pdf = QString::fromStdString((dir->path() / "Psaume 10.pdf").string());
        w->SaveChapterPdfClick(pdf);
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(text.waitForFinished(30000));
        const QString read = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(read.contains("Psaumes 10"), qPrintable(read));
        QVERIFY(read.contains("Dix"));
        QVERIFY(read.contains("Texte 19.10.1"));
        QVERIFY(read.contains("Texte 19.10.20"));
    }

    void theSessionIsRestoredAfterARestart() {
        w->KeepSession();
        MakeScrollable();
        w->GoTo(19, 23, 0, 0);
        w->BtnNouveau->click();
        w->GoTo(19, 100, 0, 0);
        QScrollBar* bar = w->WB->Browser()->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        QVERIFY(bar->value() > 0);
        const QString top = w->WB->AnchorAtTop();
        w->ActionRechercher->trigger();
        w->close();

        Close();
        Open(testing::MainWindowBible());
        w->KeepSession();
        Show();
        QCOMPARE(w->TCTexte->Count(), 2);
        QCOMPARE(w->TCTexte->Current(), 0);
        QCOMPARE(w->TCTexte->Caption(1), QString("Psaumes 23"));
        QCOMPARE(Place(), QString("19 100:1"));
        QCOMPARE(communs->TextSize, 4);
        QVERIFY(w->ActionTexteLigne->isChecked());
        QCOMPARE(w->PC->currentWidget(), w->PanneauRechercher);
        QTRY_COMPARE(w->WB->AnchorAtTop(), top);  // the verse at the top again

        // A damaged file is left aside: the program starts at its first chapter.
        Close();
        std::ofstream(QString(UserConfigFolder() + "/session.txt").toStdString()) << "onglet 1 1\n";
        Open(testing::MainWindowBible());
        w->KeepSession();
        QCOMPARE(w->TCTexte->Count(), 1);
        QCOMPARE(Place(), QString("1 1:1"));
    }

    void theNavigationMenuShowsItsLabelsAndKeysWhole() {
        // As the program shows them: Qt's key names in French. Last of the
        // cases, as the texts stay French afterwards.
        QVERIFY(InstallFrenchQtTexts());
        QMenu* moves = nullptr;
        for (QAction* a : w->menuBar()->actions())
            if (a->text() == QStringLiteral("&Navigation")) moves = a->menu();
        QVERIFY(moves);
        moves->popup(w->mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(moves->isVisible());
        const QFontMetrics metrics(moves->font());
        QStringList keys;
        for (QAction* a : moves->actions()) {
            if (a->isSeparator()) continue;
            const QString key = a->shortcut().toString(QKeySequence::NativeText);
            keys << key;
            QString label = a->text();
            label.remove(QLatin1Char('&'));
            // Room for the icon column on the left and a gap between them.
            const int needed =
                metrics.horizontalAdvance(label) + metrics.horizontalAdvance(key) + 2 * 16;
            QVERIFY2(moves->actionGeometry(a).width() >= needed, qPrintable(label));
        }
        QCOMPARE(keys, QStringList({"Alt+Gauche", "Alt+Droite", "Ctrl+G", "Ctrl+D", "Ctrl+Maj+N",
                                    "Ctrl+Maj+M", "Ctrl+T", "Ctrl+W", "Ctrl+Tab", "Ctrl+Maj+Tab", "Ctrl+F", "F6",
                                    "Maj+F6"}));
        moves->hide();
    }
};

int main(int argc, char** argv) {
    // The reader's own folders, in a throwaway place.
    testing::TempDir home;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((home.path() / "data").string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home.path() / "config").string()));
    QApplication app(argc, argv);
    MovesWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MovesWindowTest.moc"
