#include <QAction>
#include <QApplication>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "AppFixture.h"
#include "ArchiveWriter.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "ChapterSpin.h"
#include "DlgPassage.h"
#include "Fixtures.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "Splash.h"
#include "TextTabs.h"

using namespace lorvane;

using testing::ReadFile;

class MainWindowTest : public testing::MainWindowTestCase {
    Q_OBJECT

    std::string Page() { return ReadFile(dir->path() / "temp.htm"); }
    QString Tab(int i) { return w->TCTexte->Caption(i); }
    void Activate() {
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

  private slots:
    void init() {
        Open(testing::MainWindowBible());
        QVERIFY(w->Loaded());
        w->resize(1000, 700);
        Activate();
    }
    void cleanup() { Close(); }

    void startState() {
        // The place and the Bible read name the window, before the program.
        QCOMPARE(w->windowTitle(),
                 QString::fromUtf8("Genèse 1 — Bible installée — Lorvane  0.9.2"));
        // The module shown, the index on the left and the verses run
        // together are the choices in force, and checked as such.
        for (QAction* a : w->ActionList1) {
            const bool inForce =
                a == w->ActionLivres || a == w->ActionPosGauche || a == w->ActionTexteAccole;
            QVERIFY2(a->isChecked() == inForce, qPrintable(a->objectName()));
        }
        QCOMPARE(w->PC->currentWidget(), w->PanneauLivres);
        QCOMPARE(
            w->LabelModule->Text(),
            QString(
                "<IMG \"idx:0\"><B><FONT color=\"#FFFFFF\" face=\"Tahoma\" size=\"14\"> Table des "
                "livres</FONT></B>"));
        QCOMPARE(w->Splitter1->orientation(), Qt::Horizontal);
        QCOMPARE(w->Splitter1->indexOf(w->PanelIndex), 0);
        QCOMPARE(w->TCTexte->GetSide(), TextTabs::Side::Right);
        QCOMPARE(communs->TextSize, 2);
        QCOMPARE(w->CBLivre->Count(), 66);
        QCOMPARE(w->CBLivre->ItemIndex(), 0);
        QCOMPARE(w->SpinChapitre->Value(), 1);
        QCOMPARE(w->SpinChapitre->Maximum(), 4);
        QCOMPARE(w->TCTexte->Count(), 1);
        QCOMPARE(Tab(0), QString::fromUtf8("Genèse 1"));
        QVERIFY(w->Reading().TabPlace(0).SameChapter(Place{1, 1, 1, -1}));
        QVERIFY(Page().find("Texte 1.1.20") != std::string::npos);
        QCOMPARE(w->LBIndex->Count(), 5);
        QVERIFY(!w->ActionAnnotations->isVisible());
        QCOMPARE(w->LBNote->Count(), 0);
    }

    void moduleActionsCheckOnlyInTheirGroup() {
        w->ActionTexteLigne->trigger();
        w->ActionPosDroite->trigger();
        w->ActionRechercher->trigger();
        w->ActionIndex->trigger();
        QVERIFY(w->ActionIndex->isChecked());
        QVERIFY(!w->ActionRechercher->isChecked());
        QVERIFY(!w->ActionLivres->isChecked());
        QVERIFY(w->ActionTexteLigne->isChecked());
        QVERIFY(w->ActionPosDroite->isChecked());
        QCOMPARE(w->PC->currentWidget(), w->PanneauIndex);
        w->ActionThemes->trigger();
        QVERIFY(w->LabelModule->Text().contains(QString::fromUtf8(
            "idx:4\"><B><FONT color=\"#FFFFFF\" face=\"Tahoma\" size=\"14\"> Thèmes d'étude<")));
    }

    void positionsDockThePanelAndTurnTheTabs() {
        w->ActionPosHaut->trigger();
        QCOMPARE(w->Splitter1->orientation(), Qt::Vertical);
        QCOMPARE(w->Splitter1->indexOf(w->PanelIndex), 0);
        QCOMPARE(w->TCTexte->GetSide(), TextTabs::Side::Bottom);
        w->ActionPosBas->trigger();
        QCOMPARE(w->Splitter1->indexOf(w->PanelIndex), 1);
        QCOMPARE(w->TCTexte->GetSide(), TextTabs::Side::Top);
        w->ActionPosDroite->trigger();
        QCOMPARE(w->Splitter1->orientation(), Qt::Horizontal);
        QCOMPARE(w->Splitter1->indexOf(w->PanelIndex), 1);
        QCOMPARE(w->TCTexte->GetSide(), TextTabs::Side::Left);
        w->ActionPosGauche->trigger();
        QCOMPARE(w->Splitter1->indexOf(w->PanelIndex), 0);
        QCOMPARE(w->TCTexte->GetSide(), TextTabs::Side::Right);
        QVERIFY(w->ActionPosGauche->isChecked() && !w->ActionPosDroite->isChecked());
    }

    void textSizeStopsAtItsEndsAndTextModesRewriteThePage() {
        const std::vector<std::pair<QAction*, int>> steps = {
            {w->ActionTaille, 3},  {w->ActionTaille, 4},       {w->ActionTaille, 4},
            {w->ActionReduire, 3}, {w->ActionReduire, 2},      {w->ActionReduire, 1},
            {w->ActionReduire, 1}, {w->ActionTailleNormale, 2}};
        for (const auto& [action, expected] : steps) {
            action->trigger();
            QCOMPARE(communs->TextSize, expected);
            QVERIFY(Page().find("<FONT face=\"Tahoma\" size=\"" + std::to_string(expected) +
                                "\">") != std::string::npos);
            QCOMPARE(w->ActionTaille->isEnabled(), expected < 4);
            QCOMPARE(w->ActionReduire->isEnabled(), expected > 1);
        }
        QVERIFY(!w->ActionTaille->isChecked());
        w->ActionTexteLigne->trigger();
        QVERIFY(Page().find("Texte 1.1.1\r\n<BR>\r\n") != std::string::npos);
        w->ActionTexteAccole->trigger();
        QVERIFY(Page().find("Texte 1.1.1\r\n  \r\n") != std::string::npos);
        QVERIFY(!w->ActionTexteLigne->isChecked() && w->ActionTexteAccole->isChecked());
    }

    void bookChangeStartsAtChapterOne() {
        w->GoTo(1, 3, 12, 0);
        w->CBLivre->SetItemIndex(1);
        emit w->CBLivre->Change(w->CBLivre->ItemIndex());
        QCOMPARE(w->Here().book, 2);
        QCOMPARE(w->Here().chapter, 1);
        QCOMPARE(w->Here().verse, 1);
        QCOMPARE(w->SpinChapitre->Value(), 1);
        QCOMPARE(w->SpinChapitre->Maximum(), 3);
        QCOMPARE(Tab(0), QString("Livre 2 1"));
        QVERIFY(w->WB->LocationURL().endsWith("temp.htm#1"));
        QCOMPARE(w->LBIndex->Count(), 0);
    }

    void typedChapterTakesEffectAtOnce() {
        w->SpinChapitre->Edit()->setFocus();
        w->SpinChapitre->Edit()->selectAll();
        QTest::keyClicks(w->SpinChapitre->Edit(), "3");
        QCOMPARE(w->Here().chapter, 3);
        QCOMPARE(Tab(0), QString::fromUtf8("Genèse 3"));
        QVERIFY(Page().find("Texte 1.3.20") != std::string::npos);
        // Beyond the last chapter: the last chapter at once, its tab too.
        QTest::keyClicks(w->SpinChapitre->Edit(), "0");
        QCOMPARE(w->Here().chapter, 4);
        QCOMPARE(Tab(0), QString::fromUtf8("Genèse 4"));
        QVERIFY(Page().find("Texte 1.4.20") != std::string::npos);
        // A stray letter changes nothing.
        QTest::keyClicks(w->SpinChapitre->Edit(), "a");
        QCOMPARE(w->Here().chapter, 4);
        QCOMPARE(Tab(0), QString::fromUtf8("Genèse 4"));
    }

    void tabsKeepTheirChapters() {
        w->BtnNouveau->click();
        QCOMPARE(w->TCTexte->Count(), 2);
        QCOMPARE(Tab(0), QString::fromUtf8("Genèse 1"));
        QCOMPARE(Tab(1), QString::fromUtf8("Genèse 1"));
        QCOMPARE(w->TCTexte->Current(), 0);
        w->SpinChapitre->SetValue(4);
        emit w->SpinChapitre->valueEdited(w->SpinChapitre->Value());
        QCOMPARE(Tab(0), QString::fromUtf8("Genèse 4"));
        QCOMPARE(Tab(1), QString::fromUtf8("Genèse 1"));
        w->TCTexte->Bar()->setCurrentIndex(1);  // the user picks the second tab
        QCOMPARE(w->Here().chapter, 1);
        QCOMPARE(w->SpinChapitre->Value(), 1);

        // 150 chapters: chapter 119 of Psaumes from a tab of a 4-chapter book.
        w->CBLivre->SetItemIndex(18);
        emit w->CBLivre->Change(w->CBLivre->ItemIndex());
        w->SpinChapitre->SetValue(119);
        emit w->SpinChapitre->valueEdited(w->SpinChapitre->Value());
        w->TCTexte->Bar()->setCurrentIndex(0);
        QCOMPARE(w->SpinChapitre->Maximum(), 4);
        w->TCTexte->Bar()->setCurrentIndex(1);
        QCOMPARE(w->Here().book, 19);
        QCOMPARE(w->Here().chapter, 119);
        QCOMPARE(w->SpinChapitre->Maximum(), 150);
        QCOMPARE(w->SpinChapitre->Value(), 119);
        QCOMPARE(w->CBLivre->ItemIndex(), 18);
    }

    void closingTabsSelectsANeighbour() {
        w->BtnFermer->click();  // the last tab stays
        QCOMPARE(w->TCTexte->Count(), 1);
        for (int chapter : {2, 3}) {
            w->BtnNouveau->click();
            w->SpinChapitre->SetValue(chapter);
            emit w->SpinChapitre->valueEdited(w->SpinChapitre->Value());
        }
        // Tabs: "Genèse 3" (selected), "Genèse 2", "Genèse 1".
        QCOMPARE(Tab(0), QString::fromUtf8("Genèse 3"));
        QCOMPARE(Tab(2), QString::fromUtf8("Genèse 1"));
        w->BtnFermer->click();  // the first: the second, now first, is shown
        QCOMPARE(w->TCTexte->Count(), 2);
        QCOMPARE(w->TCTexte->Current(), 0);
        QCOMPARE(w->Here().chapter, 2);
        w->TCTexte->Bar()->setCurrentIndex(1);
        w->BtnFermer->click();  // the last: the one before it
        QCOMPARE(w->TCTexte->Count(), 1);
        QCOMPARE(w->Here().chapter, 2);
        QCOMPARE(Tab(0), QString::fromUtf8("Genèse 2"));
    }

    void oneChapterBookKeepsTheSpinAtOne() {
        w->CBLivre->SetItemIndex(30);
        emit w->CBLivre->Change(w->CBLivre->ItemIndex());
        QCOMPARE(w->SpinChapitre->Maximum(), 1);
        QTest::keyClick(w->SpinChapitre->Edit(), Qt::Key_PageUp);
        QTest::keyClick(w->SpinChapitre->Edit(), Qt::Key_Up);
        QCOMPARE(w->Here().chapter, 1);
        QCOMPARE(w->SpinChapitre->Value(), 1);
    }

    void readingPaneLinks() {
        bool cancel = false;
        const QString app = QString::fromStdString(dir->appDir());
        w->WBBeforeNavigate2(app + QString::fromUtf8("¤19¤23¤1¤6"), cancel);
        QVERIFY(cancel);
        QVERIFY(w->FDlgPassage->isVisible());
        QCOMPARE(w->FDlgPassage->windowTitle(), QString("Psaumes 23:1-6"));
        QCOMPARE(w->FDlgPassage->FirstSlot, communs->VerseLookup(19, 23, 1));
        QVERIFY(ReadFile(dir->path() / "temp2.htm").find("Texte 19.23.6") != std::string::npos);
        w->FDlgPassage->hide();

        for (const char* bad : {"¤19¤23¤1", "¤19¤2x¤1¤6", "¤¤¤¤", "¤19¤23¤¤6"}) {
            cancel = false;
            w->WBBeforeNavigate2(app + QString::fromUtf8(bad), cancel);
            QVERIFY2(cancel, bad);
            QVERIFY(!w->FDlgPassage->isVisible());
        }
        cancel = true;
        w->WBBeforeNavigate2("file://" + app + "temp.htm#5", cancel);
        QVERIFY(!cancel);
        cancel = false;
        w->WBBeforeNavigate2(app + "absent.htm", cancel);
        QVERIFY(cancel);
        cancel = false;
        w->WBBeforeNavigate2("http://example.org/", cancel);
        QVERIFY(cancel);
        cancel = true;
        w->WBBeforeNavigate2(app + "temp.htm", cancel);
        QVERIFY(!cancel);
    }

    void passageTakenIntoANewTab() {
        w->OpenPassage(19, 23, 4, 4);
        QCOMPARE(w->FDlgPassage->windowTitle(), QString("Psaumes 23:4"));
        w->FDlgPassage->BtnNouveau->click();
        QCOMPARE(w->TCTexte->Count(), 2);
        QCOMPARE(Tab(0), QString("Psaumes 23"));
        QCOMPARE(Tab(1), QString::fromUtf8("Genèse 1"));
        QCOMPARE(w->Here().verse, 4);
        QVERIFY(w->WB->LocationURL().endsWith("temp.htm#4"));
        QCOMPARE(w->CBLivre->ItemIndex(), 18);
        QVERIFY(w->FDlgPassage->isVisible());
        // The whole chapter, then the passage alone again.
        w->FDlgPassage->CheckChapitre->click();
        QVERIFY(ReadFile(dir->path() / "temp2.htm").find("Texte 19.23.20") != std::string::npos);
        w->FDlgPassage->CheckPassage->click();
        QVERIFY(ReadFile(dir->path() / "temp2.htm").find("Texte 19.23.20") == std::string::npos);
        // A link to a verse that does not exist opens nothing more.
        w->FDlgPassage->hide();
        w->OpenPassage(19, 23, 99, 99);
        QVERIFY(!w->FDlgPassage->isVisible());
    }

    void bookIndexFollowsAndLeads() {
        w->CBLivre->SetItemIndex(18);
        emit w->CBLivre->Change(w->CBLivre->ItemIndex());
        QCOMPARE(w->LBIndex->Count(), 32);
        w->SpinChapitre->SetValue(11);
        emit w->SpinChapitre->valueEdited(w->SpinChapitre->Value());
        QCOMPARE(w->LBIndex->TopIndex(), 1);  // "Douze": chapter 11 has none
        w->SpinChapitre->SetValue(140);
        emit w->SpinChapitre->valueEdited(w->SpinChapitre->Value());
        QCOMPARE(w->LBIndex->TopIndex(), 0);  // after the last heading

        w->CBLivre->SetItemIndex(0);
        emit w->CBLivre->Change(w->CBLivre->ItemIndex());
        // Items: Les origines 1001, Création 1001, Le jardin 2004, Suite 3001, La chute 3014.
        w->LBIndex->SetTopIndex(1);
        w->LBIndex->SetItemIndex(4);
        emit w->LBIndex->Click(w->LBIndex->ItemIndex());
        QCOMPARE(w->Here().chapter, 3);
        QCOMPARE(w->Here().verse, 14);
        QVERIFY(w->WB->LocationURL().endsWith("temp.htm#14"));
        QVERIFY(Tab(0).endsWith(" 3"));
        QCOMPARE(w->LBIndex->TopIndex(), 1);  // not refilled
        QCOMPARE(w->SpinChapitre->Value(), 3);
        w->LBIndex->SetItemIndex(3);
        emit w->LBIndex->Click(w->LBIndex->ItemIndex());
        QCOMPARE(w->Here().verse, 1);

        w->LBRech->Add(QStringLiteral("count"), 0);
        w->LBRech->Add(QStringLiteral("<B>Ps 23:1</B> : result"), 19023);
        w->LBRech->SetItemIndex(0);
        emit w->LBRech->Click(w->LBRech->ItemIndex());
        QCOMPARE(w->Here().book, 1);  // the count line opens nothing
        w->LBRech->SetItemIndex(1);
        emit w->LBRech->Click(w->LBRech->ItemIndex());
        QCOMPARE(w->Here().book, 19);
        QCOMPARE(w->Here().chapter, 23);
        QCOMPARE(w->CBLivre->ItemIndex(), 18);
        QCOMPARE(w->LBIndex->Count(), 32);
    }

    void studyPanesLeadIntoTheText() {
        bool cancel = false;
        const QString them = QString::fromStdString(dir->appDir()) + "them/";
        w->PanneauLivres->WBLivresBeforeNavigate2(them + "19", cancel);
        QVERIFY(cancel);
        QCOMPARE(w->Here().book, 19);
        QCOMPARE(w->CBLivre->ItemIndex(), 18);
        QCOMPARE(w->SpinChapitre->Maximum(), 150);
        QCOMPARE(Tab(0), QString("Psaumes 1"));
        cancel = false;
        w->PanneauLivres->WBLivresBeforeNavigate2(them + "livres.htm", cancel);
        QVERIFY(!cancel);
        for (const char* bad : {"67", "0", "abc"}) {
            cancel = false;
            w->PanneauLivres->WBLivresBeforeNavigate2(them + bad, cancel);
            QVERIFY(cancel);
            QCOMPARE(w->Here().book, 19);
        }

        cancel = false;
        w->PanneauThemes->WBThemeBeforeNavigate2("43:3:16-18", cancel);
        QVERIFY(cancel);
        QCOMPARE(w->FDlgPassage->windowTitle(), QString("Livre 43 3:16-18"));
        w->FDlgPassage->hide();
        w->PanneauThemes->WBThemeBeforeNavigate2("43:3", cancel);
        QVERIFY(cancel && !w->FDlgPassage->isVisible());
        cancel = true;
        w->PanneauThemes->WBThemeBeforeNavigate2(them + "a.htm", cancel);
        QVERIFY(!cancel);
        w->PanneauThemes->WBThemeBeforeNavigate2(them + "absent.htm", cancel);
        QVERIFY(cancel);

        // Previous on the first page does nothing; two links, back twice, forward once.
        w->BtnThemesPred->click();
        QVERIFY(w->WBTheme->LocationURL().endsWith("index.htm"));
        w->WBTheme->Navigate("file://" + them + "a.htm");
        w->WBTheme->Navigate("file://" + them + "b.htm");
        w->BtnThemesPred->click();
        w->BtnThemesPred->click();
        QVERIFY(w->WBTheme->LocationURL().endsWith("index.htm"));
        w->BtnThemesSuiv->click();
        QVERIFY(w->WBTheme->LocationURL().endsWith("a.htm"));

        auto* capacite = w->findChild<THTMLButton*>("BtnCapacite");
        QVERIFY(capacite);
        QCOMPARE(capacite->text(), QString::fromUtf8("Capacités"));
        capacite->click();
        QVERIFY(w->WBGlossaire->LocationURL().endsWith("glossaire.htm#Capacite"));
        w->findChild<THTMLButton*>("BtnLettreN")->click();
        QVERIFY(w->WBGlossaire->LocationURL().endsWith("glossaire.htm#N"));
        cancel = false;
        w->PanneauGlossaire->WBGlossaireBeforeNavigate2("43:3:16", cancel);
        QVERIFY(cancel && w->FDlgPassage->isVisible());
        QCOMPARE(w->FDlgPassage->windowTitle(), QString("Livre 43 3:16"));
        cancel = false;
        w->PanneauGlossaire->WBGlossaireBeforeNavigate2("http://example.org/", cancel);
        QVERIFY(cancel);
        cancel = true;
        w->PanneauGlossaire->WBGlossaireBeforeNavigate2("file://" + them + "glossaire.htm#A",
                                                        cancel);
        QVERIFY(!cancel);

        // Activation brings the glossary back to A.
        w->FDlgPassage->activateWindow();
        QTest::qWait(20);
        Activate();
        QTRY_VERIFY(w->WBGlossaire->LocationURL().endsWith("glossaire.htm#A"));
    }

    void aboutBoxAndActivationRewriteThePage() {
        w->GoTo(w->Here().book, w->Here().chapter, 7, 0);
        std::filesystem::remove(dir->path() / "temp.htm");
        QTimer::singleShot(50, [] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* about = qobject_cast<TFSplash*>(top); about && about->isVisible())
                    QTest::mouseClick(about->Image1, Qt::LeftButton);
        });
        w->Apropos1Click();
        Activate();
        QTRY_VERIFY(std::filesystem::exists(dir->path() / "temp.htm"));
        QVERIFY(w->WB->LocationURL().endsWith("temp.htm#7"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
