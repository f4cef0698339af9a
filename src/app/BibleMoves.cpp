// The reader's moves in the main window: the "Aller à" box, back and
// forward through the places of each tab, signets, verses copied with their
// reference, the chapter printed or saved as PDF, the keys, and the session
// kept between runs. The rules live in src/places; this is their wiring.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTimer>
#include <iostream>

#include "Bible.h"
#include "BrowserPane.h"
#include "ChapterOutput.h"
#include "ChapterSpin.h"
#include "ErrorDisplay.h"
#include "FrRichEdit.h"
#include "GoToBox.h"
#include "HTMLControls.h"
#include "HistoryEdit.h"
#include "ImageList.h"
#include "Navigation.h"
#include "PageText.h"
#include "QtPath.h"
#include "QtText.h"
#include "Quote.h"
#include "SearchPane.h"
#include "Session.h"
#include "Shader.h"
#include "SignetsPane.h"
#include "TextTabs.h"
#include "UserFiles.h"

namespace lorvane {
namespace {

constexpr int kMarkMilliseconds = 4000;

QString SessionPath() {
    return UserConfigFolder() + QStringLiteral("/session.txt");
}

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

// The verse numbers of the chapter page: bold, in #800000.
bool IsVerseNumber(const QTextCharFormat& f) {
    return f.fontWeight() >= QFont::Bold && f.foreground().color() == QColor(0x80, 0, 0);
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
           [this] { GoBackClick(); })
        ->setIcon(buttons.Icon(7));
    action(ActionSuivant, "ActionSuivant", QStringLiteral("&Suivant"),
           {QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::Key_Forward)},
           [this] { GoForwardClick(); })
        ->setIcon(buttons.Icon(8));
    action(ActionAllerA, "ActionAllerA", QStringLiteral("&Aller à..."),
           {QKeySequence(Qt::CTRL | Qt::Key_G)}, [this] { BoxAllerA->Focus(); });
    action(ActionAjouterSignet, "ActionAjouterSignet", QStringLiteral("Ajouter un si&gnet"),
           {QKeySequence(Qt::CTRL | Qt::Key_D)}, [this] {
               // The verse just reached while it is marked, else the one at
               // the top of the view.
               if (WB->HasMark()) {
                   bool ok = false;
                   const int v =
                       WB->AnchorBefore(WB->Browser()->textCursor().position()).toInt(&ok);
                   AddSignet(ok && v > 0 ? v : 1);
               } else {
                   AddSignet(VerseAt(QPoint()));
               }
           });
    action(ActionNouvelOnglet, "ActionNouvelOnglet", QStringLiteral("&Nouvel onglet"),
           {QKeySequence(Qt::CTRL | Qt::Key_T)}, [this] { BtnNouveau->click(); });
    action(ActionFermerOnglet, "ActionFermerOnglet", QStringLiteral("&Fermer l'onglet"),
           {QKeySequence(Qt::CTRL | Qt::Key_W)}, [this] { BtnFermerClick(); });
    action(ActionOngletSuivant, "ActionOngletSuivant", QStringLiteral("Onglet s&uivant"),
           {QKeySequence(Qt::CTRL | Qt::Key_Tab)}, [this] { NextTab(+1); });
    // The menu shows the first key: Backtab, which X sends for Shift+Tab,
    // is named « Tab arr » in French, as if cut.
    action(ActionOngletPrecedent, "ActionOngletPrecedent", QStringLiteral("Onglet pr&écédent"),
           {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)},
           [this] { NextTab(-1); });
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
              static_cast<QWidget*>(PanneauSignets)})
            w->addAction(a);
    }

    connect(BoxAllerA, &GoToBox::Go, this,
            GuardedSlot([this](int b, int c, int f, int l) { GoTo(b, c, f, l); }));
    connect(BoxAllerA, &GoToBox::Leave, this, [this] { WB->setFocus(Qt::OtherFocusReason); });
    connect(PanneauSignets, &SignetsPane::Open, this,
            GuardedSlot([this](int b, int c, int v) { OpenSignet(b, c, v); }));
    connect(WB, &TBrowserPane::ContextMenu, this, [this](QMenu* menu, const QPoint& point) {
        const int verse = VerseAt(point);
        menu->addSeparator();
        menu->addAction(QStringLiteral("Copier le verset"), this,
                        GuardedSlot([this, verse] { CopyVerse(verse, false); }))
            ->setObjectName("CopierVerset");
        menu->addAction(QStringLiteral("Copier le verset avec sa référence"), this,
                        GuardedSlot([this, verse] { CopyVerse(verse, true); }))
            ->setObjectName("CopierVersetReference");
        QAction* add = menu->addAction(QStringLiteral("Ajouter un signet"), this,
                                       GuardedSlot([this, verse] { AddSignet(verse); }));
        add->setObjectName("AjouterSignet");
        add->setShortcut(ActionAjouterSignet->shortcut());
    });
    WB->Browser()->viewport()->installEventFilter(this);
    WB->Browser()->installEventFilter(this);
    UpdateMoveActions();
}

bool TFBible::eventFilter(QObject* watched, QEvent* e) {
    if (WB && watched == WB->Browser()->viewport() && e->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent*>(e)->button();
        if (button == Qt::BackButton || button == Qt::ForwardButton) {
            if (button == Qt::BackButton)
                GoBackClick();
            else
                GoForwardClick();
            return true;
        }
    }
    if (WB && watched == WB->Browser() && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->matches(QKeySequence::Copy) &&
        WB->Browser()->textCursor().hasSelection()) {
        try {
            CopySelection();
        } catch (const std::exception& ex) {
            std::cerr << "lorvane: " << ex.what() << std::endl;
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, e);
}

void TFBible::UpdateMoveActions() {
    if (!ActionPrecedent) return;
    const int tab = TCTexte->Current();
    const bool valid = tab >= 0 && tab < static_cast<int>(places_.size());
    ActionPrecedent->setEnabled(valid && places_[static_cast<std::size_t>(tab)].CanGoBack());
    ActionSuivant->setEnabled(valid && places_[static_cast<std::size_t>(tab)].CanGoForward());
    ActionTaille->setEnabled(communs_.TextSize < 4);
    ActionReduire->setEnabled(communs_.TextSize > 1);
}

// ---------------------------------------------------------------------------
// Moves

void TFBible::GoTo(int book, int chapter, int firstVerse, int lastVerse) {
    CurrentBook = book;
    CurrentChapter = chapter;
    CurrentVerse = firstVerse > 0 ? firstVerse : 1;
    SyncControls();
    ShowCurrentChapter();
    FillBookIndex();
    if (firstVerse > 0) MarkVerses(firstVerse, lastVerse);
    WB->setFocus(Qt::OtherFocusReason);
}

void TFBible::ShowPlace(const Place& wanted) {
    const Place place = FitPlace(communs_, wanted);
    CurrentBook = place.book;
    CurrentChapter = place.chapter;
    CurrentVerse = place.verse;
    RestoreViewOf(place);
    SyncControls();
    ShowCurrentChapter();
    FillBookIndex();
    if (place.verse > 1) MarkVerses(place.verse, 0);
}

void TFBible::GoBackClick() {
    const int tab = TCTexte->Current();
    if (tab < 0 || tab >= static_cast<int>(places_.size())) return;
    PlaceHistory& places = places_[static_cast<std::size_t>(tab)];
    if (!places.CanGoBack()) return;
    ShowPlace(places.Back(LeavingHere()));
}

void TFBible::GoForwardClick() {
    const int tab = TCTexte->Current();
    if (tab < 0 || tab >= static_cast<int>(places_.size())) return;
    PlaceHistory& places = places_[static_cast<std::size_t>(tab)];
    if (!places.CanGoForward()) return;
    ShowPlace(places.Forward(LeavingHere()));
}

Leaving TFBible::LeavingHere() const {
    return Leaving(WB->ScrollPosition(), VerseAt(QPoint()), LayoutKey());
}

int TFBible::LayoutKey() const {
    return communs_.TextSize + (ActionTexteLigne->isChecked() ? 10 : 0) +
           100 * std::max(1, WB->Browser()->viewport()->width());
}

void TFBible::RestoreViewOf(const Place& place) {
    pendingScroll_ = -1;
    pendingTop_ = 0;
    // The same layout: the same pixels; another one (a new text size, a
    // wider window, the next run): the same verse at the top.
    if (place.scroll >= 0 && (place.layout == LayoutKey() || place.top == 0))
        pendingScroll_ = place.scroll;
    else if (place.top > 0)
        pendingTop_ = place.top;
}

void TFBible::MarkVerses(int first, int last) {
    if (first < 1) return;
    QStringList anchors;
    for (int v = first; v <= std::max(first, last) && v <= kMaxVerse; ++v)
        anchors << (v == 1 ? QString() : QString::number(v));
    WB->Mark(anchors, kMarkMilliseconds);
}

void TFBible::NextTab(int step) {
    const int count = TCTexte->Count();
    if (count < 2) return;
    TCTexte->SetCurrent((TCTexte->Current() + step + count) % count);
    TCTexteChange();
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
    const int size = step == 0 ? 2 : std::clamp(communs_.TextSize + step, 1, 4);
    if (size == communs_.TextSize) return;
    communs_.TextSize = size;
    ShowCurrentChapter();
}

// ---------------------------------------------------------------------------
// Verses: signets and copies

int TFBible::VerseAt(const QPoint& point) const {
    const QString anchor = point.isNull() ? WB->AnchorAtTop() : WB->AnchorAt(point);
    bool ok = false;
    const int verse = anchor.toInt(&ok);
    return ok && verse > 0 ? verse : 1;
}

void TFBible::AddSignet(int verse) {
    PanneauSignets->Add(CurrentBook, CurrentChapter, verse);
}

void TFBible::OpenSignet(int book, int chapter, int verse) {
    if (communs_.VerseLookup(book, chapter, verse) == 0) {
        const Place fit = FitPlace(communs_, Place{book, chapter, verse, -1});
        GoTo(fit.book, fit.chapter, 0, 0);
        return;
    }
    GoTo(book, chapter, verse, 0);
}

QString TFBible::BibleAbbreviation() const {
    // The reader's own abbreviation for it, once renamed; else what its
    // data/ says, none for a Bible that says none.
    const auto shown = shelf_->Find(communs_.BibleDir);
    const std::string abbreviation =
        shown ? shelf_->At(*shown).abbreviation
              : bibles::ReadNameFile(communs_.BibleDir, bibles::kAbbreviationFile,
                                     bibles::kMaxAbbreviation);
    if (abbreviation == bibles::kDefaultAbbreviation) return {};
    return QString::fromStdString(abbreviation);
}

namespace {

void PutOnClipboard(const QString& text) {
    auto* mime = new QMimeData;
    mime->setText(text);
    mime->setHtml(QStringLiteral("<html><body><p>%1</p></body></html>").arg(text.toHtmlEscaped()));
    QApplication::clipboard()->setMimeData(mime);
}

}  // namespace

void TFBible::CopyVerse(int verse, bool withReference) {
    const std::string text = withReference
                                 ? QuoteWithReference(communs_, CurrentBook, CurrentChapter, verse,
                                                      0, ToCp1252(BibleAbbreviation()))
                                 : VersesText(communs_, CurrentBook, CurrentChapter, verse, 0);
    if (!text.empty()) PutOnClipboard(FromCp1252(text));
}

void TFBible::CopySelection() {
    QTextBrowser* view = WB->Browser();
    const QTextCursor selection = view->textCursor();
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    // The selected words without the verse numbers and the references.
    QString text;
    for (QTextBlock block = view->document()->findBlock(start); block.isValid();
         block = block.next()) {
        if (block.position() >= end) break;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int from = std::max(start, f.position());
            const int to = std::min(end, f.position() + f.length());
            if (to <= from) continue;
            const QTextCharFormat fmt = f.charFormat();
            if (IsVerseNumber(fmt) || !fmt.anchorHref().isEmpty()) continue;
            const QString piece = f.text().mid(from - f.position(), to - from);
            if (piece.trimmed() == QStringLiteral(";")) continue;
            text += piece;
        }
        text += QLatin1Char(' ');
    }
    text = text.simplified();
    const auto verseOf = [this](int position) {
        bool ok = false;
        const int v = WB->AnchorBefore(position).toInt(&ok);
        return ok && v > 0 ? v : 1;
    };
    const int first = verseOf(start);
    const int last = verseOf(std::max(start, end - 1));
    if (last > first) {
        QString ref = FromCp1252(communs_.FormatRef(CurrentBook, CurrentChapter, first, last));
        const QString abbreviation = BibleAbbreviation();
        if (!abbreviation.isEmpty()) ref += QStringLiteral(", ") + abbreviation;
        text = QStringLiteral("«\u00A0%1\u00A0» (%2)").arg(text, ref);
    }
    PutOnClipboard(text);
}

// ---------------------------------------------------------------------------
// The chapter on paper

namespace {

QString ChapterTitle(const Communs& c, int book, int chapter) {
    return FromCp1252(c.Book(book).Name.str()) + QLatin1Char(' ') + QString::number(chapter);
}

}  // namespace

void TFBible::PrintChapterClick() {
    if (!WriteChapterPage(CurrentBook, CurrentChapter, 1, 0, false, true)) return;
    const std::optional<std::string> page = ReadRegularFile(communs_.Path("temp.htm"));
    if (!page) return;
    PrintChapter(this, DecodePage(*page), ChapterTitle(communs_, CurrentBook, CurrentChapter));
}

void TFBible::SaveChapterPdfClick(const QString& given) {
    QString path = given;
    const QString title = ChapterTitle(communs_, CurrentBook, CurrentChapter);
    if (path.isEmpty()) {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty()) folder = QDir::homePath();
        path =
            QFileDialog::getSaveFileName(this, QStringLiteral("Enregistrer le chapitre en PDF"),
                                         folder + QLatin1Char('/') + title + QStringLiteral(".pdf"),
                                         QStringLiteral("Documents PDF (*.pdf)"));
        if (path.isEmpty()) return;
    }
    if (!WriteChapterPage(CurrentBook, CurrentChapter, 1, 0, false, true)) return;
    const std::optional<std::string> page = ReadRegularFile(communs_.Path("temp.htm"));
    if (!page) return;
    QString error;
    if (!WriteChapterPdf(path, DecodePage(*page), title, &error)) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Lorvane"), error, QMessageBox::Ok,
                        this);
        box.setObjectName("PdfFailureBox");
        box.exec();
    }
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
    const QString path = SessionPath();
    const std::optional<QByteArray> bytes = ReadUserFile(path);
    if (!bytes) return;
    const std::optional<Session> session =
        ReadSession(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    if (!session) {
        std::cerr << "lorvane: " << QFile::encodeName(path).constData()
                  << " cannot be read; the program starts at Gen\xC3\xA8se 1" << std::endl;
        return;
    }
    {
        QSignalBlocker block(TCTexte);
        const int old = TCTexte->Count();
        places_.clear();
        for (const Place& kept : session->tabs) {
            const Place p = FitPlace(communs_, kept);
            const int at = static_cast<int>(places_.size());
            TCTexte->Insert(at, FromCp1252(TabCaption(communs_, p.book, p.chapter)),
                            TabValue(p.book, p.chapter));
            places_.emplace_back(p);
        }
        for (int i = 0; i < old; ++i)
            TCTexte->Remove(TCTexte->Count() - 1);
        TCTexte->SetCurrent(session->current);
    }
    shownTab_ = session->current;
    const Place& here = places_[static_cast<std::size_t>(shownTab_)].Current();
    CurrentBook = here.book;
    CurrentChapter = here.chapter;
    CurrentVerse = here.verse;
    RestoreViewOf(here);
    communs_.TextSize = session->textSize;
    QAction* mode = session->versePerLine ? ActionTexteLigne : ActionTexteAccole;
    CheckActionInCategory(mode, QStringLiteral("TEXTE"));
    int module = 0;
    for (QAction* a : ActionList1) {
        if (a->property("Category").toString() != QStringLiteral("MODULE")) continue;
        if (module++ == session->module && a->isVisible()) a->trigger();
    }
    SyncControls();
    FillBookIndex();
    UpdateMoveActions();
}

void TFBible::SaveSession() {
    Session session;
    for (std::size_t i = 0; i < places_.size(); ++i) {
        Place p = places_[i].Current();
        if (static_cast<int>(i) == shownTab_) {
            const Leaving left = LeavingHere();
            p.scroll = left.scroll;
            p.top = left.top;
        }
        session.tabs.push_back(p);
    }
    if (session.tabs.empty()) return;
    session.current = std::clamp(TCTexte->Current(), 0, static_cast<int>(session.tabs.size()) - 1);
    session.textSize = communs_.TextSize;
    session.versePerLine = ActionTexteLigne->isChecked();
    int module = 0;
    for (QAction* a : ActionList1) {
        if (a->property("Category").toString() != QStringLiteral("MODULE")) continue;
        if (a->isChecked()) session.module = module;
        ++module;
    }
    const std::string text = WriteSession(session);
    WriteUserFile(SessionPath(), QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace lorvane
