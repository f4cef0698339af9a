// What a screen reader hears of the main window's own widgets, and the
// keyboard's way through it.

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QTabBar>
#include <QTextBrowser>
#include <QtTest>

#include "Accessible.h"
#include "AppFixture.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "ChapterSpin.h"
#include "DlgPassage.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "MiniHtml.h"
#include "TextTabs.h"

using namespace lorvane;

namespace {

// The accessibility events sent while a test runs.
std::vector<std::pair<QAccessible::Event, int>>* g_events = nullptr;

void RecordEvent(QAccessibleEvent* event) {
    if (g_events) g_events->emplace_back(event->type(), event->child());
}

QAccessibleInterface* Of(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString Name(QObject* object) {
    QAccessibleInterface* a = Of(object);
    return a ? a->text(QAccessible::Name) : QString("<none>");
}

QString PlainOf(const char* utf8) {
    const QString q = QString::fromUtf8(utf8);
    const std::u16string s = minihtml::PlainTextOf(
        std::u16string_view(reinterpret_cast<const char16_t*>(q.utf16()), q.size()));
    return QString::fromStdU16String(s);
}

}  // namespace

class AccessibilityTest : public testing::MainWindowTestCase {
    Q_OBJECT

    std::vector<std::pair<QAccessible::Event, int>> events;

  private slots:
    void initTestCase() {
        InstallAccessibility();
        // The bridge to the accessibility bus comes up with the event loop.
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
        QAccessible::installUpdateHandler(RecordEvent);
        g_events = &events;
    }

    void init() {
        Open(testing::MainWindowBible());
        QVERIFY(w->Loaded());
        w->resize(1000, 700);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        events.clear();
    }
    void cleanup() { Close(); }

    void plainTextOfCaptionsAndItems() {
        QCOMPARE(PlainOf("<B>Liste des thèmes</B>"), QString::fromUtf8("Liste des thèmes"));
        QCOMPARE(PlainOf("<IMG src=\"idx:1\">"), QString());
        QCOMPARE(PlainOf("<IMG \"idx:0\"><B><FONT color=\"#FFFFFF\" face=\"Tahoma\" size=\"14\"> "
                         "Table des livres</FONT></B>"),
                 QString("Table des livres"));
        QCOMPARE(PlainOf("<IND x=\"10\">Création du monde"),
                 QString::fromUtf8("Création du monde"));
        QCOMPARE(PlainOf("<B>Jn 3:16</B> : Car <FONT color=\"#C00400\">Dieu</FONT> a tant "
                         "aim&eacute; le monde&nbsp;&#8230;"),
                 QString::fromUtf8("Jn 3:16 : Car Dieu a tant aimé le monde …"));
        QCOMPARE(PlainOf("<FONT color=\"gray\"><B>+ de 200 éléments trouvés ...</B></FONT>"),
                 QString::fromUtf8("+ de 200 éléments trouvés ..."));
        QCOMPARE(PlainOf("a<BR>b  &amp;&lt;c&gt; &bogus; &#xZZ;"),
                 QString("a b &<c> &bogus; &#xZZ;"));
    }

    void miniHtmlWidgetsAreNamedByTheirPlainText() {
        QAccessibleInterface* nouveau = Of(w->BtnNouveau);
        QCOMPARE(nouveau->role(), QAccessible::Button);
        QCOMPARE(nouveau->text(QAccessible::Name), QString::fromUtf8("Créer un onglet"));
        QCOMPARE(Name(w->BtnFermer), QString::fromUtf8("Fermer le chapître"));
        QCOMPARE(Name(w->BtnThemesListe), QString::fromUtf8("Liste des thèmes"));
        QCOMPARE(Name(w->BtnThemesPred), QString::fromUtf8("Page précédente"));
        QCOMPARE(Name(w->BtnThemesSuiv), QString("Page suivante"));
        QCOMPARE(Name(w->BtnLettreA), QString("A"));
        QVERIFY(nouveau->actionInterface());
        QVERIFY(nouveau->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));

        QAccessibleInterface* title = Of(w->LabelModule);
        QCOMPARE(title->role(), QAccessible::StaticText);
        QCOMPARE(title->text(QAccessible::Name), QString("Table des livres"));
        w->ActionThemes->trigger();
        QCOMPARE(title->text(QAccessible::Name), QString::fromUtf8("Thèmes d'étude"));

        TFDlgPassage* p = w->FDlgPassage;
        QAccessibleInterface* passage = Of(p->CheckPassage);
        QCOMPARE(passage->role(), QAccessible::RadioButton);
        QCOMPARE(passage->text(QAccessible::Name), QString("le passage"));
        QVERIFY(passage->state().checked);
        QCOMPARE(Name(p->CheckChapitre), QString::fromUtf8("tout le chapître"));
        QVERIFY(!Of(p->CheckChapitre)->state().checked);
        QCOMPARE(Name(p->BtnNouveau), QString::fromUtf8("Créer un onglet"));

        QAccessibleInterface* spin = Of(w->SpinChapitre);
        QCOMPARE(spin->role(), QAccessible::SpinBox);
        QCOMPARE(spin->text(QAccessible::Name), QString("Chapitre"));
        QVERIFY(spin->valueInterface());
        QCOMPARE(spin->valueInterface()->currentValue().toInt(), 1);
        QCOMPARE(spin->valueInterface()->maximumValue().toInt(), 4);
        spin->valueInterface()->setCurrentValue(3);  // as the reader would
        QCOMPARE(w->CurrentChapter, 3);

        QCOMPARE(Name(w->CBLivre), QString::fromUtf8("Genèse"));
        QAccessibleInterface* tab = Of(w->TCTexte->Bar())->child(0);
        QCOMPARE(tab->role(), QAccessible::PageTab);
        QCOMPARE(tab->text(QAccessible::Name), QString::fromUtf8("Genèse 3"));
    }

    void listItemsAreSpokenAndFollowTheSelection() {
        w->ActionIndex->trigger();
        QAccessibleInterface* list = Of(w->LBIndex);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QString("Index du livre"));
        // Les origines, Création, Le jardin, Suite, La chute.
        QCOMPARE(list->childCount(), 5);
        QAccessibleInterface* item = list->child(1);
        QCOMPARE(item->role(), QAccessible::ListItem);
        QCOMPARE(item->text(QAccessible::Name), QString::fromUtf8("Création"));
        QCOMPARE(list->indexOfChild(item), 1);
        QCOMPARE(item->parent(), list);
        QVERIFY(!item->state().selected);

        w->LBIndex->setFocus();
        QTest::keyClick(w->LBIndex, Qt::Key_Down);  // the first item
        QTest::keyClick(w->LBIndex, Qt::Key_Down);
        QCOMPARE(w->LBIndex->ItemIndex(), 1);
        QVERIFY(item->state().selected);
        QVERIFY(item->state().focused);
        QCOMPARE(list->focusChild(), item);
        QVERIFY(std::find(events.begin(), events.end(), std::pair(QAccessible::Focus, 1)) !=
                events.end());
        QVERIFY(std::find(events.begin(), events.end(), std::pair(QAccessible::Selection, 1)) !=
                events.end());
        // The keyboard's selection opens its place, as a click does.
        QCOMPARE(w->CurrentChapter, 1);
        QTest::keyClick(w->LBIndex, Qt::Key_End);
        QCOMPARE(w->CurrentChapter, 3);
        QCOMPARE(w->CurrentVerse, 14);
        // An item's action selects it as the reader would.
        list->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(w->CurrentChapter, 2);
        QCOMPARE(w->CurrentVerse, 4);

        // The search results too: the tags of their highlights are not read.
        w->LBRech->Add(
            QString::fromUtf8(
                "<B>Ps 23:1</B> : L'<FONT color=\"#C00400\">Éternel</FONT> est mon berger"),
            19023);
        QCOMPARE(Of(w->LBRech)->child(0)->text(QAccessible::Name),
                 QString::fromUtf8("Ps 23:1 : L'Éternel est mon berger"));
    }

    void tabFollowsTheScreen() {
        // From the module pane through the reading area.
        w->ActionIndex->trigger();
        w->LBIndex->setFocus();
        QList<QWidget*> seen;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget();
        }
        const QList<QWidget*> expected = {w->CBLivre,   w->SpinChapitre->Edit(), w->BtnNouveau,
                                          w->BtnFermer, w->TCTexte->Bar(),       w->WB->Browser()};
        QCOMPARE(seen.mid(0, expected.size()), expected);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
