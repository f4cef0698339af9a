// What a screen reader hears of the main window's own widgets, and the
// keyboard's way through it.

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

#include "Accessible.h"
#include "AppFixture.h"
#include "Bible.h"
#include "BrowserPane.h"
#include "ChapterSpin.h"
#include "DlgPassage.h"
#include "FocusMark.h"
#include "FrRichEdit.h"
#include "GoToBox.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "HistoryEdit.h"
#include "MiniHtml.h"
#include "ReaderText.h"
#include "ReadingView.h"
#include "SearchPane.h"
#include "SignetsPane.h"
#include "Splash.h"
#include "TextTabs.h"

using namespace lorvane;

namespace {

// The accessibility events sent while a test runs.
std::vector<std::pair<QAccessible::Event, int>>* g_events = nullptr;

// The names of the objects that received the focus events.
QStringList* g_focused = nullptr;

void RecordEvent(QAccessibleEvent* event) {
    if (g_events) g_events->emplace_back(event->type(), event->child());
    if (g_focused && event->type() == QAccessible::Focus)
        if (QAccessibleInterface* a = event->accessibleInterface())
            *g_focused << a->text(QAccessible::Name);
}

// The attribute `name` of the text at `offset`.
QString Attribute(QAccessibleTextInterface* text, int offset, const QString& name) {
    int start = 0;
    int end = 0;
    for (const QString& pair : text->attributes(offset, &start, &end).split(u';')) {
        const qsizetype colon = pair.indexOf(u':');
        if (colon > 0 && pair.left(colon) == name) return pair.mid(colon + 1);
    }
    return {};
}

// Whether the widget, drawn as it is now, shows the focus mark on its left edge.
bool ShowsFocusMark(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    int marked = 0;
    for (int x = 0; x < 4; ++x)
        marked += image.pixelColor(x, image.height() / 2) == FocusMarkColor();
    return marked >= 2;
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
    QStringList focused;

  private slots:
    void initTestCase() {
        InstallAccessibility();
        // The bridge to the accessibility bus comes up with the event loop.
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
        QAccessible::installUpdateHandler(RecordEvent);
        g_events = &events;
        g_focused = &focused;
    }

    void init() {
        Open(testing::MainWindowBible());
        QVERIFY(w->Loaded());
        w->resize(1000, 700);
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        events.clear();
        focused.clear();
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
        QCOMPARE(Name(w->BtnFermer), QString::fromUtf8("Fermer le chapitre"));
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
        QCOMPARE(Name(p->CheckChapitre), QString::fromUtf8("tout le chapitre"));
        QVERIFY(!Of(p->CheckChapitre)->state().checked);
        QCOMPARE(Name(p->BtnNouveau), QString::fromUtf8("Créer un onglet"));

        QAccessibleInterface* spin = Of(w->SpinChapitre);
        QCOMPARE(spin->role(), QAccessible::SpinBox);
        QCOMPARE(spin->text(QAccessible::Name), QString("Chapitre"));
        QVERIFY(spin->valueInterface());
        QCOMPARE(spin->valueInterface()->currentValue().toInt(), 1);
        QCOMPARE(spin->valueInterface()->maximumValue().toInt(), 4);
        spin->valueInterface()->setCurrentValue(3);  // as the reader would
        QCOMPARE(w->Here().chapter, 3);

        QCOMPARE(Name(w->CBLivre), QString("Livre"));
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
        // Each heading says the place it opens.
        QCOMPARE(item->text(QAccessible::Name), QString::fromUtf8("Création, 1:1"));
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
        QCOMPARE(w->Here().chapter, 1);
        QTest::keyClick(w->LBIndex, Qt::Key_End);
        QCOMPARE(w->Here().chapter, 3);
        QCOMPARE(w->Here().verse, 14);
        // An item's action selects it as the reader would.
        list->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(w->Here().chapter, 2);
        QCOMPARE(w->Here().verse, 4);

        // The search results too: the tags of their highlights are not read,
        // and the count that heads them is no item.
        w->LBRech->Add(QStringLiteral("<B>1 verset trouvé</B>"), 0);
        w->LBRech->Add(
            QString::fromUtf8(
                "<B>Ps 23:1</B> : L'<FONT color=\"#C00400\">Éternel</FONT> est mon berger"),
            19023);
        QCOMPARE(Of(w->LBRech)->child(0)->text(QAccessible::Name),
                 QString::fromUtf8("Ps 23:1 : L'Éternel est mon berger"));
        QCOMPARE(Of(w->LBRech)->childCount(), 1);
        w->LBRech->setFocus();
        QTest::keyClick(w->LBRech, Qt::Key_Home);
        QCOMPARE(w->LBRech->ItemIndex(), 1);  // never the count
    }

    void movesSayThePlaceReachedWhereTheReaderIs() {
        QTextBrowser* view = w->WB->Browser();
        ReadingView* reading = w->View();
        const auto said = [this] {
            auto* note = w->findChild<QWidget*>("lorvaneAnnouncement", Qt::FindDirectChildrenOnly);
            return note && note->isVisible() ? Name(note) : QString();
        };
        // "Aller à" puts the focus in the page before the move: the reader
        // hears the page, named by its place, and nothing more.
        w->GoTo(19, 23, 4, 0);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
        QVERIFY(reading->LastSaid().isEmpty());
        // Back from the page: the place reached and its verse.
        QTest::keySequence(view, QKeySequence(Qt::ALT | Qt::Key_Left));
        QCOMPARE(w->Here().book, 1);
        QCOMPARE(reading->LastSaid(), QString::fromUtf8("Genèse 1:1 — Texte 1.1.1"));
        QCOMPARE(said(), reading->LastSaid());
        QTest::keySequence(view, QKeySequence(Qt::ALT | Qt::Key_Right));
        QCOMPARE(reading->LastSaid(), QString::fromUtf8("Psaumes 23:4 — Texte 19.23.4"));

        // A new text size is said, and the caret stays on its verse.
        QAccessibleTextInterface* text = Of(view)->textInterface();
        const QString all = text->text(0, text->characterCount());
        text->setCursorPosition(all.indexOf("Texte 19.23.5") + 3);
        const QString verse = w->WB->AnchorBefore(view->textCursor().position());
        QTest::keySequence(view, QKeySequence(Qt::CTRL | Qt::Key_Equal));
        QCOMPARE(said(), QString::fromUtf8("Taille du texte 120 %"));
        QCOMPARE(w->WB->AnchorBefore(view->textCursor().position()), verse);
        QVERIFY(reading->LastSaid().isEmpty());
        QTest::keySequence(view, QKeySequence(Qt::CTRL | Qt::Key_0));
        QCOMPARE(said(), QString::fromUtf8("Taille du texte 100 %"));

        // The book box says its own moves.
        w->CBLivre->setFocus();
        QTest::keyClick(w->CBLivre, Qt::Key_Down);
        QCOMPARE(w->Here().book, 20);
        QVERIFY(reading->LastSaid().isEmpty());
    }

    void aLineIsALineOnTheScreen() {
        w->resize(420, 700);
        w->ActionTexteAccole->trigger();  // verses run on in one paragraph
        w->GoTo(19, 119, 0, 0);
        QTextBrowser* view = w->WB->Browser();
        QAccessibleTextInterface* text = Of(view)->textInterface();
        const QString all = text->text(0, text->characterCount());
        int start = 0;
        int end = 0;
        const QString line = text->textAtOffset(all.indexOf("Texte 19.119.3"),
                                                QAccessible::LineBoundary, &start, &end);
        // A paragraph wrapped over lines: one of them, not the paragraph.
        QVERIFY(!line.isEmpty());
        QVERIFY2(line.size() < 120, qPrintable(line));
        QVERIFY(!line.contains(u'\n') || line.endsWith(u'\n'));
        // Lines follow each other, with nothing between and nothing twice.
        int nextStart = 0;
        int nextEnd = 0;
        const QString next =
            text->textAfterOffset(start, QAccessible::LineBoundary, &nextStart, &nextEnd);
        QCOMPARE(nextStart, end);
        QVERIFY(!next.isEmpty());
        int backStart = 0;
        int backEnd = 0;
        QCOMPARE(text->textBeforeOffset(nextStart, QAccessible::LineBoundary, &backStart, &backEnd),
                 line);
        QCOMPARE(backStart, start);
    }

    void theTextsMenuIsOnTheBusAtTheCaretsVerse() {
        QTextBrowser* view = w->WB->Browser();
        w->GoTo(19, 23, 0, 0);
        QAccessibleTextInterface* text = Of(view)->textInterface();
        const QString all = text->text(0, text->characterCount());
        text->setCursorPosition(all.indexOf("Texte 19.23.3") + 2);
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(1, 1),
                                  view->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(view, &menuKey);
        QMenu* menu = view->findChild<QMenu*>("BrowserPaneMenu");
        QTRY_VERIFY(menu && menu->isVisible());
        // A child of the application, as a window is, with its first
        // entry reached for the keys.
        QAccessibleInterface* app = Of(qApp);
        QAccessibleInterface* popup = Of(menu);
        QCOMPARE(popup->parent(), app);
        QVERIFY(app->indexOfChild(popup) >= 0);
        QCOMPARE(app->child(app->indexOfChild(popup)), popup);
        QVERIFY(menu->activeAction() && menu->activeAction()->isEnabled());
        // The verse of its copies is the caret's.
        QAction* quote = menu->findChild<QAction*>("CopierVersetReference");
        QVERIFY(quote);
        quote->trigger();
        QVERIFY2(QApplication::clipboard()->text().contains("23:3"),
                 qPrintable(QApplication::clipboard()->text()));
        menu->close();
        QTRY_VERIFY(app->indexOfChild(popup) < 0);
    }

    void readingPaneIsADocumentWhoseLinksCanBeFollowed() {
        QTextBrowser* view = w->WB->Browser();
        QAccessibleInterface* pane = Of(view);
        QCOMPARE(pane->role(), QAccessible::Document);
        QCOMPARE(pane->text(QAccessible::Name), QString::fromUtf8("Genèse 1 — Texte biblique"));
        QVERIFY(pane->textInterface()->text(0, 200).contains(QString("Texte 1.1.1")));
        // Genèse 1 sends its first two verses to Psaumes 23:1-6 and book 43, 3:16.
        QCOMPARE(pane->childCount(), 2);
        QAccessibleInterface* link = pane->child(1);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), QString("L43 3:16"));
        QCOMPARE(link->parent(), pane);
        QCOMPARE(pane->indexOfChild(link), 1);
        const QRect place = link->rect();
        QVERIFY(!place.isEmpty());
        QVERIFY(QRect(view->viewport()->mapToGlobal(QPoint(0, 0)), view->viewport()->size())
                    .contains(place));
        QCOMPARE(pane->childAt(place.center().x(), place.center().y()), link);

        // Tab reaches the links one after the other, and the reader hears each.
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        QTest::keyClick(view, Qt::Key_Tab);
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(focused.mid(focused.size() - 2),
                 QStringList({QString("L19 23:1-6"), QString("L43 3:16")}));
        QVERIFY(link->state().focused);
        QCOMPARE(pane->focusChild(), link);

        // Its action opens the passage window, as a click does.
        QVERIFY(link->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(w->FDlgPassage->isVisible());
        QVERIFY(w->FDlgPassage->WB->Browser()->toPlainText().contains(QString("Texte 43.3.16")));
        w->FDlgPassage->close();
    }

    void readingPaneHasACaretThatTheArrowsMove() {
        QTextBrowser* view = w->WB->Browser();
        QAccessibleInterface* pane = Of(view);
        QAccessibleTextInterface* text = pane->textInterface();
        const QString all = text->text(0, text->characterCount());
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        QCOMPARE(text->cursorPosition(), 0);
        // Down: the next line, and the reader is told where the caret is.
        events.clear();
        QTest::keyClick(view, Qt::Key_Down);
        const int line2 = text->cursorPosition();
        QVERIFY(line2 > 0);
        QCOMPARE(all.at(line2 - 1), QChar(u'\n'));
        QVERIFY(std::any_of(events.begin(), events.end(),
                            [](const auto& e) { return e.first == QAccessible::TextCaretMoved; }));
        // Shift+End selects the line, for copying.
        QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier);
        QVERIFY(view->textCursor().hasSelection());
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(text->cursorPosition(), text->characterCount());
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(text->cursorPosition(), 0);
        QCOMPARE(view->verticalScrollBar()->value(), 0);

        // Enter with the caret on a link follows it.
        const QString target("L43 3:16");
        text->setCursorPosition(all.indexOf(target) + 2);
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(w->FDlgPassage->isVisible());
        // The passage window opens with the keyboard in its text.
        QTRY_COMPARE(QApplication::focusWidget(),
                     static_cast<QWidget*>(w->FDlgPassage->WB->Browser()));
        w->FDlgPassage->close();

        // A page opened at a verse further down: the caret starts there.
        view->clearFocus();
        w->resize(1000, 300);
        w->ActionTexteLigne->trigger();  // one verse a line
        w->TakeIntoNewTab(19, 119, 5);
        QTRY_VERIFY(view->verticalScrollBar()->value() > 0);
        QVERIFY(view->viewport()->rect().contains(view->cursorRect()));
        int start = 0;
        int end = 0;
        const QString line =
            text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end);
        QVERIFY2(line.contains("19.119.5"), qPrintable(line));
    }

    void enterOnABookOfTheTableReadsIt() {
        QTextBrowser* table = w->WBLivres->Browser();
        QAccessibleInterface* page = Of(table);
        QCOMPARE(page->child(0)->text(QAccessible::Name), QString("Psaumes"));
        page->child(0)->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
        QTRY_VERIFY(table->hasFocus());
        focused.clear();
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(w->Here().book, 19);
        // The keyboard goes on into the chapter, named by its place.
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->WB->Browser()));
        QVERIFY(!focused.isEmpty() && focused.last().endsWith("Texte biblique"));
        QCOMPARE(Name(w->WB->Browser()), QString::fromUtf8("Psaumes 1 — Texte biblique"));
        // A click keeps the focus where it is.
        w->WBLivres->FollowLink("19");
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->WB->Browser()));

        // A chapter that cannot be written: the book box stays with the page.
        const std::string chapter = dir->appDir() + "temp.htm";
        std::filesystem::remove(chapter);
        std::filesystem::create_directory(chapter);
        w->OpenBook(2);
        QCOMPARE(w->Here().book, 19);
        QCOMPARE(w->CBLivre->currentText(), QString("Psaumes"));
        QCOMPARE(w->SpinChapitre->Value(), 1);
    }

    void onlyTheFocusedTabIsFocused() {
        QTabBar* bar = w->TCTexte->Bar();
        QAccessibleInterface* tabs = Of(bar);
        // One tab, and no arrow buttons among the tabs.
        QCOMPARE(tabs->childCount(), 1);
        w->LBIndex->setFocus();
        QTRY_VERIFY(w->LBIndex->hasFocus());
        QAccessibleInterface* tab = tabs->child(0);
        QCOMPARE(tab->role(), QAccessible::PageTab);
        QVERIFY(tab->state().selected);
        QVERIFY(!tab->state().focused);
        QCOMPARE(tabs->focusChild(), nullptr);
        // Nor do the widgets around the focus, whose focus proxy it is.
        w->WB->Browser()->setFocus();
        QTRY_VERIFY(w->WB->Browser()->hasFocus());
        QVERIFY(Of(w->WB->Browser())->state().focused);
        QVERIFY(!Of(w->WB)->state().focused);
        w->SpinChapitre->Edit()->setFocus();
        QTRY_VERIFY(w->SpinChapitre->Edit()->hasFocus());
        QVERIFY(!Of(w->SpinChapitre)->state().focused);
        bar->setFocus();
        QTRY_VERIFY(bar->hasFocus());
        QVERIFY(tab->state().focused);
        QCOMPARE(tabs->focusChild(), tab);
        w->BtnNouveau->click();
        QCOMPARE(tabs->childCount(), 2);
        QCOMPARE(tabs->child(1)->text(QAccessible::Name), QString::fromUtf8("Genèse 1"));
        QVERIFY(!tabs->child(1)->state().selected);
        tabs->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(bar->currentIndex(), 1);
    }

    void newValuesOfTheBoxesAreSaid() {
        // The book box: its new value as its text, put in and selected.
        w->CBLivre->setFocus();
        QTRY_VERIFY(w->CBLivre->hasFocus());
        events.clear();
        QTest::keyClick(w->CBLivre, Qt::Key_Down);
        QAccessibleTextInterface* box = Of(w->CBLivre)->textInterface();
        QCOMPARE(box->text(0, box->characterCount()), QString("Livre 2"));
        int start = -1;
        int end = -1;
        box->selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(0, 7));
        QVERIFY(std::find(events.begin(), events.end(), std::pair(QAccessible::TextInserted, -1)) !=
                events.end());
        QCOMPARE(w->Here().book, 2);

        // The chapter box: a spin box whose value changes with Up.
        QWidget* field = w->SpinChapitre->Edit();
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        QAccessibleInterface* spin = Of(field);
        QCOMPARE(spin->role(), QAccessible::SpinBox);
        QCOMPARE(spin->text(QAccessible::Name), QString("Chapitre"));
        events.clear();
        QTest::keyClick(field, Qt::Key_Up);
        QCOMPARE(spin->valueInterface()->currentValue().toInt(), 2);
        QCOMPARE(spin->textInterface()->text(0, 5), QString("2"));
        QVERIFY(std::find(events.begin(), events.end(), std::pair(QAccessible::ValueChanged, -1)) !=
                events.end());
    }

    void searchRunsWithReturnAndSaysItsCount() {
        w->ActionRechercher->trigger();
        TPanneauRechercher* search = w->PanneauRechercher;
        search->EditRech->setText("Texte");
        search->CBRechDans->setCurrentIndex(0);  // ce chapitre
        search->BtnRech->setFocus();
        QTRY_VERIFY(search->BtnRech->hasFocus());
        events.clear();
        QTest::keyClick(search->BtnRech, Qt::Key_Return);
        QVERIFY(w->LBRech->Count() > 1);
        // The count is said at once, as a notification that appears.
        auto* said = search->findChild<QWidget*>("lorvaneAnnouncement");
        QVERIFY(said && said->isVisible());
        QCOMPARE(Of(said)->role(), QAccessible::Notification);
        QCOMPARE(Name(said), QString::fromUtf8("20 versets trouvés"));
        QVERIFY(std::find(events.begin(), events.end(), std::pair(QAccessible::ObjectShow, -1)) !=
                events.end());
        QCOMPARE(said->size(), QSize(0, 0));
    }

    void tabsAndSignetsAreSaidWhereverTheFocusIs() {
        const auto said = [this] {
            auto* note = w->findChild<QWidget*>("lorvaneAnnouncement", Qt::FindDirectChildrenOnly);
            return note && note->isVisible() ? Name(note) : QString();
        };
        // Ctrl+T, Ctrl+Tab, Ctrl+W: the tab reached, its rank and its place.
        QTest::keySequence(w, QKeySequence(Qt::CTRL | Qt::Key_T));
        QCOMPARE(said(), QString::fromUtf8("Onglet 1 sur 2 : Genèse 1"));
        w->GoTo(19, 23, 0, 0);
        QTest::keySequence(w, QKeySequence(Qt::CTRL | Qt::Key_Tab));
        QCOMPARE(said(), QString::fromUtf8("Onglet 2 sur 2 : Genèse 1"));
        QTest::keySequence(w, QKeySequence(Qt::CTRL | Qt::Key_W));
        QCOMPARE(said(), QString::fromUtf8("Onglet 1 sur 1 : Psaumes 23"));

        // Ctrl+D with the caret in the page: the caret's verse, said while
        // the Signets pane is hidden.
        QTextBrowser* view = w->WB->Browser();
        QAccessibleTextInterface* text = Of(view)->textInterface();
        const QString all = text->text(0, text->characterCount());
        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        text->setCursorPosition(all.indexOf("Texte 19.23.4"));
        QVERIFY(!w->PanneauSignets->isVisible());
        focused.clear();
        QTest::keySequence(view, QKeySequence(Qt::CTRL | Qt::Key_D));
        QCOMPARE(said(), QString::fromUtf8("Signet ajouté : Psaumes 23:4"));
        // The hidden list, filled again, takes no focus from the page.
        QVERIFY2(focused.isEmpty(), qPrintable(focused.join(" | ")));
    }

    void menusOpenByTheirKeysAndAboutIsRead() {
        QMenu* help = nullptr;
        for (QAction* a : w->menuBar()->actions())
            if (a->text().remove(u'&') == "?") help = a->menu();
        QVERIFY(help);
        QVERIFY(help->title().contains("&?"));
        QCOMPARE(Name(help), QString("?"));
        // Options that can be checked say whether they are.
        QMenu* options = nullptr;
        for (QObject* o : w->ActionTexteLigne->associatedObjects())
            if (auto* m = qobject_cast<QMenu*>(o)) options = m;
        QVERIFY(options);
        QAccessibleInterface* menu = Of(options);
        QCOMPARE(menu->text(QAccessible::Name), QString("Options"));
        QAccessibleInterface* ligne =
            menu->child(static_cast<int>(options->actions().indexOf(w->ActionTexteLigne)));
        QCOMPARE(ligne->text(QAccessible::Name), QString("Versets par ligne"));
        QCOMPARE(ligne->role(), QAccessible::CheckBox);
        QVERIFY(ligne->state().checkable);
        const bool checked = w->ActionTexteLigne->isChecked();
        QCOMPARE(bool(ligne->state().checked), checked);
        w->ActionTexteLigne->trigger();
        QCOMPARE(bool(ligne->state().checked), !checked);
        QAccessibleInterface* size =
            menu->child(static_cast<int>(options->actions().indexOf(w->ActionTaille)));
        QCOMPARE(size->role(), QAccessible::MenuItem);
        QCOMPARE(menu->indexOfChild(size), options->actions().indexOf(w->ActionTaille));
        // An entry says its underlined letter and its shortcut; one that
        // opens a menu says so.
        QMenu* navigation = nullptr;
        for (QObject* o : w->ActionAllerA->associatedObjects())
            if (auto* m = qobject_cast<QMenu*>(o)) navigation = m;
        QVERIFY(navigation);
        QAccessibleInterface* go =
            Of(navigation)->child(static_cast<int>(navigation->actions().indexOf(w->ActionAllerA)));
        const QStringList keys =
            go->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(keys, QStringList{"a;;Ctrl+G"});
        int submenus = 0;
        for (QAction* bar : w->menuBar()->actions()) {
            emit bar->menu()->aboutToShow();  // the Bible menu is made as it opens
            for (QAction* a : bar->menu()->actions())
                if (a->menu()) {
                    ++submenus;
                    QAccessibleInterface* entry =
                        Of(bar->menu())->child(static_cast<int>(bar->menu()->actions().indexOf(a)));
                    QCOMPARE(entry->text(QAccessible::Description), QString("sous-menu"));
                }
        }
        QVERIFY(submenus > 0);
        TFSplash about(w);
        QVERIFY(Of(&about)->text(QAccessible::Description).startsWith("Lorvane, version 0.9.2."));
    }

    void noTextHoldsTheDocumentsFrameMarkers() {
        QCOMPARE(WithoutNonCharacters(QString::fromUtf8("a\uFDD0b\uFDD1c\uFFFEd\U0001FFFFe\uFDEF")),
                 QString("abcde"));
        // A page with a table: the document marks the table's bounds.
        QTextBrowser* view = w->WBGlossaire->Browser();
        view->setHtml(QString::fromUtf8(
            "<p>Mesures</p><table><tr><td>coudée</td><td>45 cm</td>"
            "</tr><tr><td>x</td><td>y</td></tr></table><p><a href=\"#A\">fin</a></p>"));
        QVERIFY(view->document()->toRawText().contains(QChar(0xFDD0)));
        QAccessibleTextInterface* text = Of(view)->textInterface();
        const QString all = text->text(0, text->characterCount());
        QCOMPARE(all, QString::fromUtf8("Mesures\ncoudée\n45 cm\nx\ny\nfin"));
        // Offsets count what is read: the link is the last word.
        QCOMPARE(Of(view)->child(0)->text(QAccessible::Name), QString("fin"));
        text->setSelection(0, all.indexOf("45"), all.indexOf("45") + 5);
        QCOMPARE(view->textCursor().selectedText(), QString("45 cm"));
        int start = 0;
        int end = 0;
        text->selection(0, &start, &end);
        QCOMPARE(all.mid(start, end - start), QString("45 cm"));
    }

    void combosAreNamedByWhatTheyAreFor() {
        const std::pair<QComboBox*, const char*> combos[] = {
            {w->CBLivre, "Livre"},
            {w->FrmRichEdit->Fontname, "Police"},
            {w->FrmRichEdit->FontSize, "Taille"},
            {w->PanneauRechercher->CBRechMethode, "Méthode"},
            {w->PanneauRechercher->CBRechDans, "Dans"}};
        for (const auto& [combo, name] : combos) {
            QAccessibleInterface* a = Of(combo);
            QCOMPARE(a->role(), QAccessible::ComboBox);
            QCOMPARE(a->text(QAccessible::Name), QString::fromUtf8(name));
            QCOMPARE(a->text(QAccessible::Value), combo->currentText());
            QVERIFY(!combo->currentText().isEmpty());
            QCOMPARE(a->textInterface()->text(0, 100), combo->currentText());
            QVERIFY(a->childCount() >= 1);  // the list that drops down
        }
        QCOMPARE(Of(w->CBLivre)->text(QAccessible::Value), QString::fromUtf8("Genèse"));
    }

    void thePadSaysItsWayOutItsStylesAndItsSaving() {
        w->ActionRediger->trigger();
        QTextEdit* pad = w->FrmRichEdit->RTFControl;
        // Inside a frame that is no window of its own for a screen reader.
        QVERIFY(Of(w->FrmRichEdit)->role() != QAccessible::Border);
        QVERIFY(Of(pad)->text(QAccessible::Description).contains("F6"));
        pad->setFocus();
        QTest::keyClicks(pad, "mot");
        pad->selectAll();
        const auto said = [this] {
            auto* note = w->FrmRichEdit->findChild<QWidget*>("lorvaneAnnouncement",
                                                             Qt::FindDirectChildrenOnly);
            return note && note->isVisible() ? Name(note) : QString();
        };
        QTest::keyClick(pad, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(said(), QString::fromUtf8("gras activé"));
        QTest::keyClick(pad, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(said(), QString::fromUtf8("gras désactivé"));
        QTest::keyClick(pad, Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(said(), QString::fromUtf8("souligné activé"));
        const std::string file = dir->appDir() + "note lue.rtf";
        w->FrmRichEdit->SaveToFile(file);
        QCOMPARE(said(), QString::fromUtf8("Enregistré : note lue.rtf"));
    }

    void padTextAttributesAreExposed() {
        w->ActionRediger->trigger();
        QTextEdit* pad = w->FrmRichEdit->RTFControl;
        pad->setFocus();
        QTest::keyClicks(pad, "x2");
        QTextCursor c = pad->textCursor();
        c.setPosition(1);
        c.setPosition(2, QTextCursor::KeepAnchor);
        pad->setTextCursor(c);
        // The format buttons' toggle action clicks them, as Space does.
        QAccessibleInterface* superscript = Of(w->FrmRichEdit->Superscript);
        QCOMPARE(superscript->text(QAccessible::Name), QString("Exposant"));
        superscript->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(superscript->state().checked);
        w->FrmRichEdit->BoldButton->click();
        w->FrmRichEdit->ItalicButton->click();
        w->FrmRichEdit->UnderlineButton->click();

        QAccessibleTextInterface* text = Of(pad)->textInterface();
        QCOMPARE(text->text(0, 2), QString("x2"));
        QCOMPARE(Attribute(text, 0, "text-position"), QString("baseline"));
        QCOMPARE(Attribute(text, 0, "font-weight"), QString("400"));
        QCOMPARE(Attribute(text, 0, "font-style"), QString("normal"));
        QCOMPARE(Attribute(text, 0, "text-underline-type"), QString("none"));
        QCOMPARE(Attribute(text, 1, "text-position"), QString("super"));
        QCOMPARE(Attribute(text, 1, "font-weight"), QString("700"));
        QCOMPARE(Attribute(text, 1, "font-style"), QString("italic"));
        QCOMPARE(Attribute(text, 1, "text-underline-type"), QString("single"));
        QVERIFY(Attribute(text, 1, "font-size").endsWith("pt"));
        QCOMPARE(Attribute(text, 1, "color"), QString("rgb(0,0,0)"));
        c.setPosition(1);
        c.setPosition(2, QTextCursor::KeepAnchor);
        pad->setTextCursor(c);
        w->FrmRichEdit->Subscript->click();
        QCOMPARE(Attribute(text, 1, "text-position"), QString("sub"));
        int start = 0;
        int end = 0;
        text->attributes(1, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(1, 2));
        QCOMPARE(Attribute(text, 1, "text-align"), QString("left"));
        pad->setAlignment(Qt::AlignHCenter);
        QCOMPARE(Attribute(text, 1, "text-align"), QString("center"));
        pad->document()->setModified(false);
    }

    void focusIsMarkedWhereverItIs() {
        // The book list, the search results (empty), a mini-HTML list and
        // button, and the text of the passage window.
        w->ActionRechercher->trigger();
        QCOMPARE(w->LBRech->Count(), 0);
        w->ActionIndex->trigger();
        const QList<QWidget*> marked = {w->CBLivre, w->LBIndex, w->BtnNouveau, w->WB->Browser()};
        for (QWidget* widget : marked) {
            widget->setFocus();
            QTRY_VERIFY(widget->hasFocus());
            QVERIFY2(ShowsFocusMark(widget), widget->metaObject()->className());
        }
        QVERIFY(!ShowsFocusMark(w->CBLivre));
        w->ActionRechercher->trigger();
        w->LBRech->setFocus();
        QTRY_VERIFY(w->LBRech->hasFocus());
        QVERIFY(ShowsFocusMark(w->LBRech));

        TFDlgPassage* p = w->FDlgPassage;
        w->WB->FollowLink(QString::fromUtf8("¤43¤3¤16¤0"));
        QTRY_VERIFY(p->isVisible());
        p->activateWindow();
        p->WB->Browser()->setFocus();
        QTRY_VERIFY(p->WB->Browser()->hasFocus());
        QVERIFY(ShowsFocusMark(p->WB->Browser()));
        p->close();
    }

    void choosingAModuleTakesTheKeyboardToItsFirstControl() {
        w->ActionThemes->trigger();
        QTRY_COMPARE(QApplication::focusWidget(), w->BtnThemesListe);
        // The buttons above the page come before it.
        QList<QWidget*> seen;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget();
        }
        QCOMPARE(seen,
                 QList<QWidget*>({w->BtnThemesPred, w->BtnThemesSuiv, w->WBTheme->Browser()}));
        w->ActionGlossaire->trigger();
        QTRY_COMPARE(QApplication::focusWidget(), w->BtnLettreA);
        // A letter or a table pressed from the keys takes the reader to its
        // entries.
        auto* table = w->findChild<THTMLButton*>("BtnCapacite");
        table->setFocus();
        QTest::keyClick(table, Qt::Key_Space);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w->WBGlossaire->Browser()));
        QCOMPARE(w->WBGlossaire->AnchorBefore(w->WBGlossaire->Browser()->textCursor().position()),
                 QString("Capacite"));
        w->ActionRechercher->trigger();
        QTRY_COMPARE(QApplication::focusWidget(),
                     static_cast<QWidget*>(w->PanneauRechercher->EditRech));
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
        const QList<QWidget*> expected = {
            w->CBLivre,   w->SpinChapitre->Edit(), w->BoxAllerA->Edit(), w->BtnNouveau,
            w->BtnFermer, w->TCTexte->Bar(),       w->WB->Browser()};
        QCOMPARE(seen.mid(0, expected.size()), expected);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
