// The reader's moves in the main window: the "Aller à" box, back and
// forward through the places of each tab, signets, verses copied with their
// reference, the chapter printed or saved as PDF, the keys, and the session
// kept between runs. The reading (ReadingCore.h) and src/places hold the
// rules; this is their wiring.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStackedWidget>

#include "Accessible.h"
#include "Bible.h"
#include "BibleChoice.h"
#include "BrowserPane.h"
#include "ChapterOutput.h"
#include "ChapterSpin.h"
#include "ErrorDisplay.h"
#include "FrRichEdit.h"
#include "GoToBox.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "HistoryEdit.h"
#include "ImageList.h"
#include "Navigation.h"
#include "NotesPane.h"
#include "QtText.h"
#include "ReadingView.h"
#include "SearchPane.h"
#include "SessionFile.h"
#include "Shader.h"
#include "SignetsPane.h"

namespace lorvane {
namespace {

// The first control of a pane that takes the focus with Tab.
void FocusFirstIn(QWidget* pane) {
    for (QWidget* w = pane->nextInFocusChain(); w && w != pane; w = w->nextInFocusChain()) {
        if (pane->isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    pane->setFocus(Qt::TabFocusReason);
}

}  // namespace

void TFBible::BuildMoves() {
    auto action = [this](QAction*& slot, const char* name, const QString& caption,
                         const QList<QKeySequence>& keys, auto run) {
        slot = new QAction(caption, this);
        slot->setObjectName(name);
        slot->setShortcuts(keys);
        addAction(slot);
        connect(slot, &QAction::triggered, this, GuardedSlot(run));
        return slot;
    };
    const ImageList buttons = ImageList::Buttons();
    action(ActionPrecedent, "ActionPrecedent", QStringLiteral("&Précédent"),
           {QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Back)},
           [this] { reading_.GoBack(); })
        ->setIcon(buttons.Icon(7));
    action(ActionSuivant, "ActionSuivant", QStringLiteral("&Suivant"),
           {QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::Key_Forward)},
           [this] { reading_.GoForward(); })
        ->setIcon(buttons.Icon(8));
    action(ActionAllerA, "ActionAllerA", QStringLiteral("&Aller à..."),
           {QKeySequence(Qt::CTRL | Qt::Key_G)}, [this] { BoxAllerA->Focus(); });
    action(ActionAjouterSignet, "ActionAjouterSignet", QStringLiteral("Ajouter un si&gnet"),
           {QKeySequence(Qt::CTRL | Qt::Key_D)}, [this] {
               // The verse just reached while it is marked, else the one at
               // the top of the view.
               AddSignet(view_->VerseReached());
           });
    action(ActionAnnoter, "ActionAnnoter", QStringLiteral("A&nnoter ce verset..."),
           {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)}, [this] { view_->AnnotateHere(); });
    action(ActionNouvelOnglet, "ActionNouvelOnglet", QStringLiteral("&Nouvel onglet"),
           {QKeySequence(Qt::CTRL | Qt::Key_T)}, [this] { BtnNouveau->click(); });
    action(ActionFermerOnglet, "ActionFermerOnglet", QStringLiteral("&Fermer l'onglet"),
           {QKeySequence(Qt::CTRL | Qt::Key_W)}, [this] { reading_.CloseTab(); });
    action(ActionOngletSuivant, "ActionOngletSuivant", QStringLiteral("Onglet s&uivant"),
           {QKeySequence(Qt::CTRL | Qt::Key_Tab)}, [this] { reading_.SelectNextTab(+1); });
    // The menu shows the first key: Backtab, which X sends for Shift+Tab,
    // is named « Tab arr » in French, as if cut.
    action(ActionOngletPrecedent, "ActionOngletPrecedent", QStringLiteral("Onglet pr&écédent"),
           {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)},
           [this] { reading_.SelectNextTab(-1); });
    action(ActionChercher, "ActionChercher", QStringLiteral("&Chercher dans la Bible"),
           {QKeySequence(Qt::CTRL | Qt::Key_F)}, [this] {
               ActionRechercher->trigger();
               PanneauRechercher->EditRech->setFocus(Qt::ShortcutFocusReason);
           });
    action(ActionPanneauSuivant, "ActionPanneauSuivant", QStringLiteral("&Zone suivante"),
           {QKeySequence(Qt::Key_F6)}, [this] { CycleFocus(+1); });
    action(ActionPanneauPrecedent, "ActionPanneauPrecedent", QStringLiteral("Zone précéden&te"),
           {QKeySequence(Qt::SHIFT | Qt::Key_F6)}, [this] { CycleFocus(-1); });
    action(ActionReduire, "ActionReduire", QStringLiteral("Réduire la taille du texte"),
           {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { TextSizeStep(-1); })
        ->setIcon(ActionTaille->icon());
    action(ActionTailleNormale, "ActionTailleNormale", QStringLiteral("Taille du texte normale"),
           {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { TextSizeStep(0); });
    ActionTaille->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    action(ActionPdf, "ActionPdf", QStringLiteral("Enregistrer le chapitre en P&DF..."), {},
           [this] { SaveChapterPdfClick(); });

    // Ctrl+L and Ctrl+P belong to the writing pad while it has the focus:
    // here they work only where the focus is outside it, a context that
    // never overlaps the pad's own.
    action(ActionImprimer, "ActionImprimer", QStringLiteral("Im&primer le chapitre..."),
           {QKeySequence(Qt::CTRL | Qt::Key_P)}, [this] { PrintChapterClick(); });
    action(ActionAllerAL, "ActionAllerAL", QStringLiteral("Aller à"),
           {QKeySequence(Qt::CTRL | Qt::Key_L)}, [this] { BoxAllerA->Focus(); });
    for (QAction* a : {ActionImprimer, ActionAllerAL}) {
        removeAction(a);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        for (QWidget* w :
             {PanelLecture, static_cast<QWidget*>(PanneauLivres), PanneauIndex,
              static_cast<QWidget*>(PanneauGlossaire), static_cast<QWidget*>(PanneauRechercher),
              static_cast<QWidget*>(PanneauThemes), PanneauAnnotations,
              static_cast<QWidget*>(PanneauSignets), static_cast<QWidget*>(PanneauNotes)})
            w->addAction(a);
    }

    connect(BoxAllerA, &GoToBox::Go, this,
            GuardedSlot([this](int b, int c, int f, int l) { GoTo(b, c, f, l); }));
    connect(BoxAllerA, &GoToBox::Leave, this, [this] { WB->setFocus(Qt::OtherFocusReason); });
    connect(PanneauNotes, &NotesPane::Opened, this, [this] { WB->setFocus(Qt::OtherFocusReason); });
    connect(PanneauSignets, &SignetsPane::Open, this,
            GuardedSlot([this](int b, int c, int v) { OpenSignet(b, c, v); }));
    // After the view's own entries (the copies).
    view_->SetQuoteAbbreviation([this] { return BibleAbbreviation(); });
    view_->SetBibleName([this] { return choice_->Name(); });
    view_->SetQuietWhile([this] {
        const QWidget* focus = QApplication::focusWidget();
        // The book and chapter boxes, and the lists whose items name their
        // place, say the move themselves.
        return focus && (focus == CBLivre || SpinChapitre->isAncestorOf(focus) ||
                         qobject_cast<const THTMListBox*>(focus));
    });
    connect(WB, &TBrowserPane::ContextMenu, this, [this](QMenu* menu, const QPoint& point) {
        const int verse = view_->VerseAt(point);
        QAction* add = menu->addAction(QStringLiteral("Ajouter un signet"), this,
                                       GuardedSlot([this, verse] { AddSignet(verse); }));
        add->setObjectName("AjouterSignet");
        add->setShortcut(ActionAjouterSignet->shortcut());
    });
    UpdateMoveActions();
}

void TFBible::PlaceChanged(const Place&, const Place&) {
    UpdateMoveActions();
    // The place and the Bible read, as the desktop and a screen reader name
    // the window.
    const Place& here = reading_.Here();
    setWindowTitle(FromUtf8(TabCaption(communs_, here.book, here.chapter)) +
                   QString::fromUtf8(" — ") + choice_->Name() + QString::fromUtf8(" — ") + Title());
}

void TFBible::UpdateMoveActions() {
    if (!ActionPrecedent) return;
    ActionPrecedent->setEnabled(reading_.CanGoBack());
    ActionSuivant->setEnabled(reading_.CanGoForward());
    ActionTaille->setEnabled(communs_.TextSize < 4);
    ActionReduire->setEnabled(communs_.TextSize > 1);
}

// ---------------------------------------------------------------------------
// Moves

void TFBible::GoTo(int book, int chapter, int firstVerse, int lastVerse) {
    // The focus first, so that a screen reader, coming into the page, reads
    // the place reached and its verse.
    WB->setFocus(Qt::OtherFocusReason);
    reading_.MoveTo(Place{book, chapter, firstVerse > 0 ? firstVerse : 1, -1},
                    VerseSpan{firstVerse, lastVerse});
}

void TFBible::CycleFocus(int step) {
    QWidget* focus = QApplication::focusWidget();
    int at = 2;  // the page
    if (focus && PanelIndex->isAncestorOf(focus))
        at = 0;
    else if (focus && ShaderLecture->isAncestorOf(focus))
        at = 1;
    switch ((at + step + 3) % 3) {
        case 0:
            if (PC->currentWidget() == PanneauRediger && FrmRichEdit)
                FrmRichEdit->setFocus(Qt::OtherFocusReason);
            else
                FocusFirstIn(PC->currentWidget());
            break;
        case 1:
            CBLivre->setFocus(Qt::OtherFocusReason);
            break;
        default:
            WB->setFocus(Qt::OtherFocusReason);
    }
}

void TFBible::TextSizeStep(int step) {
    reading_.SetTextSize(step == 0 ? 2 : communs_.TextSize + step);
    UpdateMoveActions();
    // Sizes 1 to 4 print the verses at about 8, 10, 12 and 14 points.
    Announce(this, QStringLiteral("Taille du texte %1 %").arg(60 + 20 * communs_.TextSize));
}

// ---------------------------------------------------------------------------
// Verses: signets and copies

void TFBible::AddSignet(int verse) {
    PanneauSignets->Add(Here().book, Here().chapter, verse);
}

void TFBible::OpenSignet(int book, int chapter, int verse) {
    if (communs_.VerseLookup(book, chapter, verse) == 0) {
        const Place fit = FitPlace(communs_, Place{book, chapter, verse, -1});
        GoTo(fit.book, fit.chapter, 0, 0);
        return;
    }
    GoTo(book, chapter, verse, 0);
}

void TFBible::CopyVerse(int verse, bool withReference) {
    view_->CopyVerse(verse, withReference);
}

// ---------------------------------------------------------------------------
// The chapter on paper

void TFBible::PrintChapterClick() {
    PrintReading(this, reading_);
}

void TFBible::SaveChapterPdfClick(const QString& path) {
    SaveReadingPdf(this, reading_, path);
}

// ---------------------------------------------------------------------------
// The session

void TFBible::KeepSession() {
    keepSession_ = true;
    // Also when the desktop session ends the program without closing the
    // window.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (keepSession_) SaveSession();
    });
    const std::optional<Session> session = ReadSessionFile();
    if (!session) return;
    // The columns first: the place comes back as it was left at its first
    // showing, which the comparison would take.
    choice_->CompareAgain(session->compared);
    reading_.Restore(*session);
    QAction* mode = session->versePerLine ? ActionTexteLigne : ActionTexteAccole;
    CheckActionInCategory(mode, QStringLiteral("TEXTE"));
    int module = 0;
    for (QAction* a : ActionList1) {
        if (a->property("Category").toString() != QStringLiteral("MODULE")) continue;
        if (module++ == session->module && a->isVisible()) a->trigger();
    }
    UpdateMoveActions();
}

void TFBible::SaveSession() {
    Session session = reading_.SessionNow();
    session.compared = choice_->ComparedFolders();
    int module = 0;
    for (QAction* a : ActionList1) {
        if (a->property("Category").toString() != QStringLiteral("MODULE")) continue;
        if (a->isChecked()) session.module = module;
        ++module;
    }
    WriteSessionFile(session);
}

}  // namespace lorvane
