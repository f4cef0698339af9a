#include "Bible.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <iostream>

#include "Accessible.h"
#include "AccessibleChapterSpin.h"
#include "BackupPromptsQt.h"
#include "BrowserPane.h"
#include "ChapterPage.h"
#include "ChapterSpin.h"
#include "DlgPassage.h"
#include "ErrorDisplay.h"
#include "FctLoad.h"
#include "FrRichEdit.h"
#include "GoToBox.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "ImageList.h"
#include "ImportCommand.h"
#include "MenuCheckStyle.h"
#include "Navigation.h"
#include "QtPath.h"
#include "QtText.h"
#include "SearchPane.h"
#include "Shader.h"
#include "SignetsPane.h"
#include "Splash.h"
#include "StudyPages.h"
#include "TextTabs.h"
#include "Version.h"

namespace lorvane {
namespace {

const QString kModule = QStringLiteral("MODULE");
const QString kTexte = QStringLiteral("TEXTE");
const QString kTaille = QStringLiteral("TAILLE");
const QString kPosition = QStringLiteral("POSITION");

QString Category(const QAction* a) {
    return a->property("Category").toString();
}
int ImageIndex(const QAction* a) {
    return a->property("ImageIndex").toInt();
}

QFont Tahoma(int points, bool bold = false) {
    QFont f(QStringLiteral("Tahoma"));
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

// A vertical layout without margins or spacing.
QVBoxLayout* Column(QWidget* owner) {
    auto* column = new QVBoxLayout(owner);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    return column;
}

// A gradient strip of 40 pixels with a row layout.
Shader* Strip(QWidget* parent, const char* name, QHBoxLayout*& row) {
    auto* strip = new Shader(parent);
    strip->setObjectName(name);
    strip->setFixedHeight(40);
    row = new QHBoxLayout(strip);
    return strip;
}

}  // namespace

void ShowLoadFailure() {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Erreur"),
                    QString::fromUtf8("Erreur de chargement, veuillez ré-installer l'application"),
                    QMessageBox::Ok);
    box.setObjectName("LoadFailureBox");
    box.exec();
}

TFBible::TFBible(Communs& communs, QWidget* parent, DataLoad loadData, bibles::BibleShelf* shelf)
    : QMainWindow(parent), communs_(communs), loadData_(std::move(loadData)), shelf_(shelf) {
    if (!shelf_) {
        ownShelf_ =
            std::make_unique<bibles::BibleShelf>(communs.AppDir + "bibles/", communs.BibleDir);
        ownShelf_->Load();
        shelf_ = ownShelf_.get();
    }
    setObjectName("FBible");
    InstallAccessibility();
    InstallChapterSpinAccessibility();
    FormCreate();
}

TFBible::~TFBible() {
    FormDestroy();
}

QString TFBible::Title() {
    return QStringLiteral("Lorvane  ") + QString::fromLatin1(kFileVersion).left(5);
}

// ---------------------------------------------------------------------------
// Creation

void TFBible::FormCreate() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TFBible::TrackFocus);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restoreCursor;

    setWindowTitle(Title());
    setFont(Tahoma(8));
    resize(686, 552);

    BuildActions();
    BuildModulePanel();
    BuildReadingArea();
    BuildMoves();
    BuildToolBar();
    BuildMenus();

    loaded_ = LoadData();
    if (!loaded_) return;
    // The Bible loaded is the shelf's current one (or the one that loaded
    // in its place).
    if (const auto shown = shelf_->Find(communs_.BibleDir)) shelf_->Choose(*shown, false);

    // The book list and the chapter spin.
    {
        QSignalBlocker block(CBLivre);
        CBLivre->Clear();
        for (int b = 1; b <= kBookCount; ++b)
            CBLivre->AddItem(FromCp1252(communs_.BookTable[b].Name.view()));
    }
    SyncControls();
    TCTexte->Insert(0, FromCp1252(TabCaption(communs_, CurrentBook, 1)), TabValue(CurrentBook, 1));
    places_.assign(1, PlaceHistory(Place{CurrentBook, 1, 1, -1}));
    shownTab_ = 0;
    BoxAllerA->SetBible(communs_);
    PanneauSignets->SetBible(communs_);

    PanneauLivres->LoadPage();
    PanneauGlossaire->LoadPage();

    FrmRichEdit = new TFrmRichEdit(PanneauRediger);
    PanneauRediger->layout()->addWidget(FrmRichEdit);
    FrmRichEdit->show();

    FDlgPassage = new TFDlgPassage(*this, this);
    PanneauRechercher->CBRechMethode->setCurrentIndex(0);
    PanneauRechercher->CBRechDans->setCurrentIndex(2);

    BtnThemesListe->click();
    ActionLivres->trigger();
}

void TFBible::FormDestroy() {
    // Controls that lose the focus while the window goes away must not
    // reach back into it.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    delete FrmRichEdit;
    FrmRichEdit = nullptr;
    delete FDlgPassage;
    FDlgPassage = nullptr;
}

bool TFBible::LoadData() {
    try {
        BackupPromptsQt prompts;
        if (loadData_)
            loadData_(communs_, &prompts);
        else
            LoadDataFolder(communs_, &prompts);
        CurrentBook = FirstBook(communs_);
        CurrentChapter = CurrentVerse = 1;
        return true;
    } catch (const std::exception& e) {
        std::cerr << "lorvane: " << e.what() << std::endl;
    } catch (...) {
        std::cerr << "lorvane: unknown failure while loading the data" << std::endl;
    }
    ShowLoadFailure();
    return false;
}

void TFBible::BuildActions() {
    struct Def {
        QAction** slot;
        const char* name;
        const QString& category;
        const char* caption;
        int image;
    };
    const Def defs[] = {
        {&ActionLivres, "ActionLivres", kModule, "&Table des livres", 0},
        {&ActionIndex, "ActionIndex", kModule, "&Index du livre", 1},
        {&ActionGlossaire, "ActionGlossaire", kModule, "&Glossaire", 2},
        {&ActionRechercher, "ActionRechercher", kModule, "&Rechercher", 3},
        {&ActionThemes, "ActionThemes", kModule, "&Thèmes d'étude", 4},
        {&ActionAnnotations, "ActionAnnotations", kModule, "&Annotations", 5},
        {&ActionRediger, "ActionRediger", kModule, "Ré&diger un texte", 6},
        {&ActionSignets, "ActionSignets", kModule, "&Signets", 5},
        {&ActionTexteAccole, "ActionTexteAccole", kTexte, "Versets &accolés", 7},
        {&ActionTexteLigne, "ActionTexteLigne", kTexte, "Versets par &ligne", 8},
        {&ActionTaille, "ActionTaille", kTaille, "Augmenter la taille du texte", 9},
        {&ActionPosGauche, "ActionPosGauche", kPosition, "Index à &gauche", 10},
        {&ActionPosDroite, "ActionPosDroite", kPosition, "Index à &droite", 11},
        {&ActionPosHaut, "ActionPosHaut", kPosition, "Index en &haut", 12},
        {&ActionPosBas, "ActionPosBas", kPosition, "Index en &bas", 13},
    };
    const ImageList images = ImageList::Modules();
    for (const Def& d : defs) {
        auto* a = new QAction(QString::fromUtf8(d.caption), this);
        a->setObjectName(d.name);
        a->setProperty("Category", d.category);
        a->setProperty("ImageIndex", d.image);
        a->setIcon(images.Icon(d.image));
        a->setCheckable(d.category != kTaille);
        *d.slot = a;
        ActionList1.push_back(a);
        if (d.category == kModule) {
            connect(a, &QAction::triggered, this, [this, a] { ActionModuleClick(a); });
        } else if (d.category == kTexte) {
            connect(a, &QAction::triggered, this, [this, a] { ActionTexteClick(a); });
        } else if (d.category == kPosition) {
            connect(a, &QAction::triggered, this, [this, a] { ActionPositionClick(a); });
        } else {
            connect(a, &QAction::triggered, this, &TFBible::ActionTailleClick);
        }
    }
    // The annotations module has neither a toolbar button nor a menu entry.
    ActionAnnotations->setVisible(false);
    ActionSignets->setIcon(QIcon::fromTheme(QStringLiteral("bookmarks"), images.Icon(5)));
}

void TFBible::BuildToolBar() {
    ToolBar2 = new QToolBar(QStringLiteral("Modules"), this);
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setMovable(false);
    ToolBar2->setFloatable(false);
    ToolBar2->setIconSize(QSize(32, 32));
    ToolBar2->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar2->setFixedHeight(54);
    ToolBar2->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, ToolBar2);
    ToolBar2->addAction(ActionPrecedent);
    ToolBar2->addAction(ActionSuivant);
    ToolBar2->addSeparator();
    for (QAction* a : ActionList1) {
        if (Category(a) != kModule) continue;
        ToolBar2->addAction(a);
        if (auto* button = qobject_cast<QToolButton*>(ToolBar2->widgetForAction(a))) {
            button->setFixedSize(80, 50);
            button->setFont(Tahoma(7));
            button->setAutoRaise(true);
        }
    }
}

void TFBible::BuildMenus() {
    QMenu* fichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    fichier
        ->addAction(QStringLiteral("&Importer une Bible..."), this,
                    GuardedSlot([this] { ImporterBible1Click(); }))
        ->setObjectName("ImporterBible1");
    fichier->addSeparator();
    fichier->addAction(ActionImprimer);
    fichier->addAction(ActionPdf);
    fichier->addSeparator();
    QAction* quitter =
        fichier->addAction(QStringLiteral("&Quitter"), this, &TFBible::Quitter1Click);
    quitter->setObjectName("Quitter1");

    QMenu* affichage = menuBar()->addMenu(QStringLiteral("&Affichage"));
    ShowChecksPlainly(affichage);
    for (QAction* a : ActionList1)
        if (Category(a) == kModule) affichage->addAction(a);

    // The reader's Bibles, listed afresh each time the menu opens.
    MenuBible = menuBar()->addMenu(QStringLiteral("&Bible"));
    MenuBible->setObjectName("MenuBible");
    ShowChecksPlainly(MenuBible);
    ActionBibleSuivante = new QAction(QStringLiteral("Bible &suivante"), this);
    ActionBibleSuivante->setObjectName("ActionBibleSuivante");
    ActionBibleSuivante->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    ActionBibleSuivante->setShortcutContext(Qt::WindowShortcut);
    connect(ActionBibleSuivante, &QAction::triggered, this,
            GuardedSlot([this] { NextBibleClick(); }));
    addAction(ActionBibleSuivante);
    connect(MenuBible, &QMenu::aboutToShow, this, GuardedSlot([this] { FillBibleMenu(); }));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    ShowChecksPlainly(options);
    options->addAction(ActionTexteAccole);
    options->addAction(ActionTexteLigne);
    options->addSeparator();
    options->addAction(ActionTaille);
    options->addAction(ActionReduire);
    options->addAction(ActionTailleNormale);
    options->addSeparator();
    for (QAction* a : {ActionPosGauche, ActionPosDroite, ActionPosHaut, ActionPosBas})
        options->addAction(a);

    QMenu* moves = menuBar()->addMenu(QStringLiteral("&Navigation"));
    for (QAction* a : {ActionPrecedent, ActionSuivant, ActionAllerA, ActionAjouterSignet})
        moves->addAction(a);
    moves->addSeparator();
    for (QAction* a :
         {ActionNouvelOnglet, ActionFermerOnglet, ActionOngletSuivant, ActionOngletPrecedent})
        moves->addAction(a);
    moves->addSeparator();
    for (QAction* a : {ActionChercher, ActionPanneauSuivant, ActionPanneauPrecedent})
        moves->addAction(a);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
    QAction* about = help->addAction(QStringLiteral("A propos..."), this, &TFBible::Apropos1Click);
    about->setObjectName("Apropos1");
    NameMenusByTitle(menuBar());
}

void TFBible::BuildModulePanel() {
    PanelIndex = new QWidget;
    PanelIndex->setObjectName("PanelIndex");
    QVBoxLayout* column = Column(PanelIndex);

    QHBoxLayout* title = nullptr;
    ShaderModule = Strip(PanelIndex, "ShaderModule", title);
    title->setContentsMargins(4, 0, 4, 0);
    LabelModule = new THTMLabel(ShaderModule);
    LabelModule->setObjectName("LabelModule");
    LabelModule->SetImages(ImageList::Modules());
    LabelModule->SetShadow(Qt::gray, 2);
    title->addWidget(LabelModule);
    column->addWidget(ShaderModule);

    PC = new QStackedWidget(PanelIndex);
    PC->setObjectName("PC");
    column->addWidget(PC, 1);

    auto pane = [this](QWidget*& slot, const char* name) {
        slot = new QWidget;
        slot->setObjectName(name);
        PC->addWidget(slot);
        return Column(slot);
    };
    const QColor listColour(240, 251, 255);

    // Book table.
    PanneauLivres = new TPanneauLivres(communs_.AppDir, *this);
    PC->addWidget(PanneauLivres);
    WBLivres = PanneauLivres->WBLivres;

    // Book index.
    QVBoxLayout* index = pane(PanneauIndex, "PanneauIndex");
    LBIndex = new THTMListBox(PanneauIndex);
    LBIndex->setObjectName("LBIndex");
    LBIndex->setAccessibleName(QStringLiteral("Index du livre"));
    SayItemPlaces(LBIndex);
    LBIndex->SetColor(listColour);
    LBIndex->SetSelectionColor(Qt::yellow);
    LBIndex->SetSelectionTextColor(Qt::black);
    index->addWidget(LBIndex);
    connect(LBIndex, &THTMListBox::Click, this, [this] { LBIndexClick(LBIndex); });

    // Glossary.
    PanneauGlossaire = new TPanneauGlossaire(communs_.AppDir, *this);
    PC->addWidget(PanneauGlossaire);
    WBGlossaire = PanneauGlossaire->WBGlossaire;
    BtnLettreA = PanneauGlossaire->BtnLettreA;

    // Search: the pane reads the chapter shown when a search starts.
    PanneauRechercher = new TPanneauRechercher(communs_, [this] {
        return ReadingPlace{CurrentBook, CurrentChapter};
    });
    PanneauRechercher->setObjectName("PanneauRechercher");
    PC->addWidget(PanneauRechercher);
    LBRech = PanneauRechercher->LBRech;
    connect(LBRech, &THTMListBox::Click, this, [this] { LBIndexClick(LBRech); });

    // Themes.
    PanneauThemes = new TPanneauThemes(communs_.AppDir, *this);
    PC->addWidget(PanneauThemes);
    WBTheme = PanneauThemes->WBTheme;
    BtnThemesListe = PanneauThemes->BtnThemesListe;
    BtnThemesPred = PanneauThemes->BtnThemesPred;
    BtnThemesSuiv = PanneauThemes->BtnThemesSuiv;

    // Annotations: always empty.
    QVBoxLayout* notes = pane(PanneauAnnotations, "PanneauAnnotations");
    LBNote = new THTMListBox(PanneauAnnotations);
    LBNote->setObjectName("LBNote");
    LBNote->setAccessibleName(QStringLiteral("Annotations"));
    LBNote->SetColor(listColour);
    LBNote->SetSelectionColor(listColour);
    LBNote->SetSelectionTextColor(Qt::black);
    LBNote->SetItemHeight(14);
    notes->addWidget(LBNote);

    // Writing pad: filled in FormCreate.
    pane(PanneauRediger, "PanneauRediger");

    // Signets.
    PanneauSignets = new SignetsPane;
    PC->addWidget(PanneauSignets);
}

void TFBible::BuildReadingArea() {
    PanelLecture = new QWidget;
    PanelLecture->setObjectName("PanelLecture");
    QVBoxLayout* column = Column(PanelLecture);

    QHBoxLayout* row = nullptr;
    ShaderLecture = Strip(PanelLecture, "ShaderLecture", row);
    row->setContentsMargins(6, 0, 0, 0);
    row->setSpacing(6);

    CBLivre = new THTMLComboBox(ShaderLecture);
    CBLivre->setObjectName("CBLivre");
    CBLivre->setFixedWidth(173);
    CBLivre->setFont(Tahoma(10, true));
    CBLivre->SetDropDownHeight(200);
    CBLivre->setAccessibleName(QStringLiteral("Livre"));
    row->addWidget(CBLivre);
    connect(CBLivre, &THTMLComboBox::Change, this, &TFBible::CBLivreChange);

    SpinChapitre = new ChapterSpin(ShaderLecture);
    SpinChapitre->setObjectName("SpinChapitre");
    SpinChapitre->setFixedSize(49, 22);
    SpinChapitre->setFont(Tahoma(10, true));
    SpinChapitre->setAccessibleName(QStringLiteral("Chapitre"));
    SpinChapitre->Edit()->setAccessibleName(QStringLiteral("Chapitre"));
    row->addWidget(SpinChapitre);
    connect(SpinChapitre, &ChapterSpin::valueEdited, this, &TFBible::SpinChapitreChange);
    BoxAllerA = new GoToBox(ShaderLecture);
    row->addWidget(BoxAllerA, 1);  // its reason takes the room left

    auto* buttons = new QWidget(ShaderLecture);
    buttons->setObjectName("Panel1");
    buttons->setFixedWidth(76);
    auto* pair = new QHBoxLayout(buttons);
    pair->setContentsMargins(2, 2, 2, 2);
    pair->setSpacing(4);
    BtnNouveau = new THTMLButton(buttons);
    BtnNouveau->setObjectName("BtnNouveau");
    BtnNouveau->SetImages(ImageList::Buttons());
    BtnNouveau->setText(QStringLiteral("<IMG src=\"idx:1\">"));
    BtnNouveau->setToolTip(QString::fromUtf8("Créer un onglet"));
    BtnFermer = new THTMLButton(buttons);
    BtnFermer->setObjectName("BtnFermer");
    BtnFermer->SetImages(ImageList::Buttons());
    BtnFermer->setText(QStringLiteral("<IMG src=\"idx:0\">"));
    BtnFermer->setToolTip(QString::fromUtf8("Fermer le chapitre"));
    for (THTMLButton* b : {BtnNouveau, BtnFermer}) {
        b->setFixedSize(33, 30);
        pair->addWidget(b);
    }
    connect(BtnNouveau, &THTMLButton::clicked, this, &TFBible::BtnNouveauClick);
    connect(BtnFermer, &THTMLButton::clicked, this, &TFBible::BtnFermerClick);
    row->addWidget(buttons);
    column->addWidget(ShaderLecture);

    TCTexte = new TextTabs(PanelLecture);
    TCTexte->setObjectName("TCTexte");
    WB = new TBrowserPane;
    WB->setObjectName("WB");
    WB->Browser()->setAccessibleName(QStringLiteral("Texte biblique"));
    TCTexte->Bar()->setAccessibleName(QStringLiteral("Onglets"));
    TCTexte->SetContent(WB);
    column->addWidget(TCTexte, 1);
    connect(TCTexte, &TextTabs::currentChanged, this, &TFBible::TCTexteChange);
    connect(WB, &TBrowserPane::BeforeNavigate2, this,
            [this](const QString& url, bool* cancel) { WBBeforeNavigate2(url, *cancel); });

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(PanelIndex);
    Splitter1->addWidget(PanelLecture);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({265, 686 - 265 - 3});
    setCentralWidget(Splitter1);
}

// ---------------------------------------------------------------------------
// Activation, end, About

bool TFBible::event(QEvent* e) {
    const bool handled = QMainWindow::event(e);
    if (!loaded_) return handled;
    if (e->type() == QEvent::Show && !shown_) {
        // The first showing counts as an activation, also where no window
        // manager activates the window.
        shown_ = true;
        FormActivate();
    } else if (e->type() == QEvent::WindowActivate && ActivationFromProgram()) {
        FormActivate();
    }
    return handled;
}

namespace {

// A window of the program that the main window comes back from: the About
// box, the passage window, a message box or another dialog, but not the
// start-up splash, which stays under the main window.
bool IsProgramDialog(QWindow* window) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowHandle() != window) continue;
        if (!qobject_cast<QDialog*>(w)) return false;
        return !(qobject_cast<TFSplash*>(w) && !w->isModal());
    }
    return false;
}

}  // namespace

void TFBible::TrackFocus(QWindow* now) {
    if (now) {
        lastFocusWasDialog_ = now != windowHandle() && IsProgramDialog(now);
        leftProgram_ = false;
        focus_ = now;
    } else {
        // No window of the program has the focus. When the one that had it
        // is still shown, the reader went to another program; when it was
        // closed, the focus is on its way to another window of ours.
        leftProgram_ = focus_ && focus_->isVisible();
    }
}

bool TFBible::ActivationFromProgram() const {
    // Qt activates this window before it reports the new focus window, so
    // the state still describes the window the focus came from.
    return lastFocusWasDialog_ && !leftProgram_;
}

void TFBible::closeEvent(QCloseEvent* e) {
    if (FrmRichEdit && !FrmRichEdit->CanClose()) {
        e->ignore();
        return;
    }
    if (keepSession_) SaveSession();
    QMainWindow::closeEvent(e);
}

void TFBible::FormActivate() {
    ShowCurrentChapter();
    FillBookIndex();
    BtnLettreA->click();
}

void TFBible::Quitter1Click() {
    close();
}

void TFBible::TakeImportedTables(Communs&& tables) {
    if (FDlgPassage) FDlgPassage->close();
    communs_.TakeTables(std::move(tables));
    {
        QSignalBlocker block(CBLivre);
        CBLivre->Clear();
        for (int b = 1; b <= kBookCount; ++b)
            CBLivre->AddItem(FromCp1252(communs_.BookTable[b].Name.view()));
    }
    // Every tab stays, at its place in the new Bible (PlaceInBible); its
    // history starts again there, since the old places may not exist.
    places_.clear();
    {
        QSignalBlocker block(TCTexte);
        for (int tab = 0; tab < TCTexte->Count(); ++tab) {
            const std::int32_t place = PlaceInBible(communs_, TCTexte->Value(tab));
            TCTexte->SetValue(tab, place);
            TCTexte->SetCaption(tab, FromCp1252(TabCaption(communs_, place / 1000, place % 1000)));
            places_.emplace_back(Place{place / 1000, place % 1000, 1, -1});
        }
    }
    shownTab_ = -1;
    BoxAllerA->SetBible(communs_);
    PanneauSignets->SetBible(communs_);
    PanneauRechercher->TablesReplaced();
    PanneauLivres->LoadPage();
    PanneauGlossaire->LoadPage();
    BtnThemesListe->click();
    TCTexteChange();
}

void TFBible::Apropos1Click() {
    auto* about = new TFSplash(this, TFSplash::Use::About);
    about->exec();
    delete about;
}

// ---------------------------------------------------------------------------
// Display options and modules

void TFBible::CheckActionInCategory(QAction* action, const QString& category) {
    for (QAction* a : ActionList1)
        if (Category(a) == category) a->setChecked(false);
    action->setChecked(true);
}

QWidget* TFBible::ModulePane(QAction* a) const {
    if (a == ActionLivres) return PanneauLivres;
    if (a == ActionIndex) return PanneauIndex;
    if (a == ActionGlossaire) return PanneauGlossaire;
    if (a == ActionRechercher) return PanneauRechercher;
    if (a == ActionThemes) return PanneauThemes;
    if (a == ActionAnnotations) return PanneauAnnotations;
    if (a == ActionSignets) return PanneauSignets;
    return PanneauRediger;
}

void TFBible::ActionModuleClick(QAction* sender) {
    CheckActionInCategory(sender, kModule);
    PC->setCurrentWidget(ModulePane(sender));
    if (sender == ActionRediger && FrmRichEdit) FrmRichEdit->setFocus();  // into the text
    // The keyboard follows the reader to the first control of the pane
    // shown (into the text for the pad), once the menu has closed: it gives
    // the focus back to where it was.
    QTimer::singleShot(0, PC->currentWidget(), [this, pane = PC->currentWidget()] {
        if (!isVisible() || PC->currentWidget() != pane) return;
        if (pane->isAncestorOf(FrmRichEdit)) {
            FrmRichEdit->setFocus();
            return;
        }
        for (QWidget* w = pane->nextInFocusChain(); w && w != pane; w = w->nextInFocusChain()) {
            if (pane->isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
                (w->focusPolicy() & Qt::TabFocus)) {
                // A field's text is selected once the focus is there: a
                // screen reader hears the field, then what is selected.
                auto* field = qobject_cast<QLineEdit*>(w);
                w->setFocus(field ? Qt::OtherFocusReason : Qt::TabFocusReason);
                if (field)
                    QTimer::singleShot(0, field, [field] {
                        if (field->hasFocus()) field->selectAll();
                    });
                return;
            }
        }
    });
    QString caption = sender->text().remove(QLatin1Char('&'));
    LabelModule->SetText(
        QStringLiteral("<IMG \"idx:%1\"><B><FONT color=\"#FFFFFF\" face=\"Tahoma\" "
                       "size=\"14\"> %2</FONT></B>")
            .arg(ImageIndex(sender))
            .arg(caption));
}

void TFBible::ActionPositionClick(QAction* sender) {
    CheckActionInCategory(sender, kPosition);
    const bool before = sender == ActionPosGauche || sender == ActionPosHaut;
    const bool horizontal = sender == ActionPosGauche || sender == ActionPosDroite;
    QList<int> sizes = Splitter1->sizes();
    int panelSize = sizes.value(Splitter1->indexOf(PanelIndex), 265);
    Splitter1->setOrientation(horizontal ? Qt::Horizontal : Qt::Vertical);
    Splitter1->insertWidget(before ? 0 : 1, PanelIndex);
    int total = horizontal ? Splitter1->width() : Splitter1->height();
    panelSize = std::clamp(panelSize, 120, std::max(120, total / 2));
    if (before) {
        Splitter1->setSizes({panelSize, std::max(0, total - panelSize)});
    } else {
        Splitter1->setSizes({std::max(0, total - panelSize), panelSize});
    }
    TCTexte->SetSide(sender == ActionPosGauche   ? TextTabs::Side::Right
                     : sender == ActionPosDroite ? TextTabs::Side::Left
                     : sender == ActionPosHaut   ? TextTabs::Side::Bottom
                                                 : TextTabs::Side::Top);
    PanelIndex->layout()->activate();
    ShowCurrentChapter();
}

void TFBible::ActionTexteClick(QAction* sender) {
    CheckActionInCategory(sender, kTexte);
    ShowCurrentChapter();
}

void TFBible::ActionTailleClick() {
    TextSizeStep(+1);
}

// ---------------------------------------------------------------------------
// The chapter page

bool TFBible::WriteChapterPage(int book, int chapter, int firstVerse, int lastVerse,
                               bool passageMode, bool wholeChapter) {
    ChapterPageRequest request{book, chapter, firstVerse, lastVerse, passageMode, wholeChapter};
    request.verseByLine = ActionTexteLigne->isChecked();
    if (!comparison_.empty()) return WriteComparePage(ComparedColumns(), request);
    return lorvane::WriteChapterPage(communs_, request);
}

std::vector<ComparedBible> TFBible::ComparedColumns() const {
    // The current Bible's tables are the window's own: shared without an
    // owner, for the time of one page.
    std::vector<ComparedBible> columns{
        {currentAbbreviation_,
         {},
         std::shared_ptr<const Communs>(std::shared_ptr<void>(), &communs_)}};
    columns.insert(columns.end(), comparison_.begin(), comparison_.end());
    return columns;
}

void TFBible::SetComparison(std::string currentAbbreviation, std::vector<ComparedBible> others) {
    std::erase_if(others, [](const ComparedBible& b) { return !b.tables; });
    if (others.size() > 3) others.resize(3);
    currentAbbreviation_ = std::move(currentAbbreviation);
    comparison_ = std::move(others);
    ShowCurrentChapter();
    if (FDlgPassage && FDlgPassage->isVisible()) {
        // A passage only a Bible beside had goes with that Bible.
        if (FDlgPassage->FirstSlot == 0 && comparison_.empty())
            FDlgPassage->close();
        else
            FDlgPassage->ShowPassage();
    }
}

void TFBible::ShowCurrentChapter() {
    // A move of the tab shown is remembered among its places, with how
    // the reader left the page.
    const int tab = TCTexte->Current();
    const bool known = tab >= 0 && tab < static_cast<int>(places_.size());
    const Place now{CurrentBook, CurrentChapter, CurrentVerse, -1};
    bool moved = false;
    if (known && tab == shownTab_) {
        const Place& at = places_[static_cast<std::size_t>(tab)].Current();
        moved = !at.SameChapter(now) || at.verse != now.verse;
    }
    const Leaving left = moved ? LeavingHere() : Leaving();
    try {
        if (WriteChapterPage(CurrentBook, CurrentChapter, 1, 0, false, true)) {
            WB->Navigate(FileUrl(communs_.AppDir) + QStringLiteral("temp.htm#") +
                         QString::number(CurrentVerse));
            WB->Refresh();
        }
        int tab = TCTexte->Current();
        const QString place = FromCp1252(TabCaption(communs_, CurrentBook, CurrentChapter));
        if (tab >= 0) {
            TCTexte->SetCaption(tab, place);
            TCTexte->SetValue(tab, TabValue(CurrentBook, CurrentChapter));
        }
        QString name = place + QString::fromUtf8(" — Texte biblique");
        if (!comparison_.empty())
            name +=
                QStringLiteral(", ") + QString::fromStdString(JoinAbbreviations(ComparedColumns()));
        if (WB->Browser()->accessibleName() != name) WB->Browser()->setAccessibleName(name);
        // "Aller à" names the place shown, however the reader came to it.
        if (BoxAllerA)
            BoxAllerA->ShowPlace(FromCp1252(
                CurrentVerse > 1 ? communs_.FormatRef(CurrentBook, CurrentChapter, CurrentVerse, 0)
                                 : communs_.Book(CurrentBook).Name.str() + ' ' +
                                       std::to_string(CurrentChapter)));
    } catch (const std::exception& e) {
        std::cerr << "lorvane: the chapter could not be shown: " << e.what() << std::endl;
        KeepToThePageShown();
    } catch (...) {
        std::cerr << "lorvane: the chapter could not be shown" << std::endl;
        KeepToThePageShown();
    }
    if (known) {
        PlaceHistory& places = places_[static_cast<std::size_t>(tab)];
        if (moved && spinTyping_ && places.Current().book == now.book)
            places.Replace(now);
        else if (moved)
            places.Visit(now, left);
        if (!spinTyping_) lastSpinMove_.invalidate();  // any other showing ends the typing
        shownTab_ = tab;
    }
    if (pendingScroll_ >= 0)
        WB->SetScrollPosition(pendingScroll_);
    else if (pendingTop_ > 1)
        WB->ScrollToAnchor(QString::number(pendingTop_));
    else if (pendingTop_ == 1)
        WB->SetScrollPosition(0);
    pendingScroll_ = -1;
    pendingTop_ = 0;
    UpdateMoveActions();
}

void TFBible::KeepToThePageShown() {
    // A page that cannot be written leaves the pane and the tab as they
    // are; the book box and the chapter come back to what they show, so
    // that they never name another place than the page.
    const int tab = TCTexte->Current();
    const int shown = tab >= 0 ? TCTexte->Value(tab) : 0;
    if (shown / 1000 < 1 || shown / 1000 > kBookCount) return;
    CurrentBook = shown / 1000;
    CurrentChapter = shown % 1000;
    SyncControls();
}

void TFBible::TakeIntoNewTab(int book, int chapter, int verse) {
    BtnNouveau->click();
    CurrentBook = book;
    CurrentChapter = chapter;
    CurrentVerse = verse;
    SyncControls();
    ShowCurrentChapter();
    FillBookIndex();
    MarkVerses(verse, 0);
}

void TFBible::OpenPassage(int book, int chapter, int firstVerse, int lastVerse) {
    // A link to a verse the text lacks names no passage: the window keeps
    // what it shows. A last verse the chapter lacks gives the first alone.
    // In a comparison, a verse one of the Bibles beside it has is enough:
    // their numbering may differ.
    const std::int32_t first = communs_.VerseLookup(book, chapter, firstVerse);
    VerseRef elsewhere;
    if (first == 0) {
        for (const ComparedBible& b : comparison_) {
            if (b.tables->VerseLookup(book, chapter, firstVerse) == 0) continue;
            const bool hasLast = b.tables->VerseLookup(book, chapter, lastVerse) != 0;
            elsewhere = {book, chapter, firstVerse, hasLast ? lastVerse : 0};
            break;
        }
        if (elsewhere.Book == 0) return;
    }
    const std::int32_t last = communs_.VerseLookup(book, chapter, lastVerse);
    FDlgPassage->FirstSlot = first;
    FDlgPassage->LastSlot = last != 0 ? last : first;
    FDlgPassage->Elsewhere = elsewhere;
    FDlgPassage->ShowPassage();
}

void TFBible::OpenBook(int book) {
    if (book < 1 || book > kBookCount) return;
    // A book chosen with Enter in a page of the module panel: the keyboard
    // goes on into the chapter, and a screen reader says where it is. The
    // focus moves first, so that what the reader hears of the page is
    // already the new chapter.
    QWidget* from = QApplication::focusWidget();
    auto* page = from ? qobject_cast<TBrowserPane*>(from->parentWidget()) : nullptr;
    if (page && page != WB && page->FollowingByKeyboard()) WB->Browser()->setFocus();
    CurrentBook = book;
    CurrentChapter = 1;
    CurrentVerse = 1;
    SyncControls();
    ShowCurrentChapter();
    FillBookIndex();
}

// ---------------------------------------------------------------------------
// Navigation and tabs

void TFBible::SyncControls() {
    QSignalBlocker blockBook(CBLivre);
    CBLivre->SetItemIndex(CurrentBook - 1);
    SpinChapitre->SetRange(1, communs_.Book(CurrentBook).ChapterCount);
    SpinChapitre->SetValue(CurrentChapter);
}

void TFBible::CBLivreChange() {
    CurrentBook = CBLivre->ItemIndex() + 1;
    CurrentChapter = 1;
    CurrentVerse = 1;
    SyncControls();
    ShowCurrentChapter();
    FillBookIndex();
}

void TFBible::SpinChapitreChange() {
    CurrentChapter = SpinChapitre->Value();
    CurrentVerse = 1;
    // The digits of one number typed in the chapter box make one move.
    const bool typing = lastSpinMove_.isValid() && lastSpinMove_.elapsed() < 1500;
    spinTyping_ = typing;
    ShowCurrentChapter();
    spinTyping_ = false;
    lastSpinMove_.start();
    FillBookIndex();
}

void TFBible::TCTexteChange() {
    int tab = TCTexte->Current();
    if (tab < 0) return;
    // The tab left keeps where its page was scrolled.
    if (shownTab_ >= 0 && shownTab_ < static_cast<int>(places_.size()) && shownTab_ != tab)
        places_[static_cast<std::size_t>(shownTab_)].Leave(LeavingHere());
    int value = TCTexte->Value(tab);
    CurrentBook = value / 1000;
    CurrentChapter = value % 1000;
    CurrentVerse = 1;
    if (tab < static_cast<int>(places_.size())) {
        const Place& place = places_[static_cast<std::size_t>(tab)].Current();
        if (place.book == CurrentBook && place.chapter == CurrentChapter) {
            CurrentVerse = place.verse;
            RestoreViewOf(place);
        }
    }
    SyncControls();
    ShowCurrentChapter();
    FillBookIndex();
}

void TFBible::BtnNouveauClick() {
    // The new tab, first, holds the current position and becomes the
    // selected one; the tab that was read keeps its chapter beside it.
    TCTexte->Insert(0, FromCp1252(TabCaption(communs_, CurrentBook, CurrentChapter)),
                    TabValue(CurrentBook, CurrentChapter));
    // The new tab starts with the places of the one read, which keeps them.
    PlaceHistory copy = places_.empty()
                            ? PlaceHistory(Place{CurrentBook, CurrentChapter, CurrentVerse, -1})
                            : places_[static_cast<std::size_t>(
                                  std::clamp(shownTab_, 0, static_cast<int>(places_.size()) - 1))];
    const Leaving left = LeavingHere();
    copy.Leave(left);
    if (shownTab_ >= 0 && shownTab_ < static_cast<int>(places_.size()))
        places_[static_cast<std::size_t>(shownTab_)].Leave(left);
    places_.insert(places_.begin(), std::move(copy));
    TCTexte->SetCurrent(0);
    shownTab_ = 0;
    UpdateMoveActions();
}

void TFBible::BtnFermerClick() {
    if (TCTexte->Count() < 2) return;
    int closing = TCTexte->Current();
    TCTexte->SetCurrent(closing > 0 ? closing - 1 : 1);
    TCTexte->Remove(closing);
    if (closing < static_cast<int>(places_.size())) places_.erase(places_.begin() + closing);
    shownTab_ = -1;
    TCTexteChange();
}

void TFBible::WBBeforeNavigate2(const QString& url, bool& cancel) {
    try {
        LinkDecision d = DecideReadingLink(
            ToCp1252(url), [&](const std::string&) { return IsRegularFile(PathFromQt(url)); });
        cancel = d.kind != LinkDecision::Proceed;
        if (d.kind == LinkDecision::OpenPassage)
            OpenPassage(d.passage.Book, d.passage.Chapter, d.passage.FirstVerse,
                        d.passage.LastVerse);
    } catch (const std::exception& e) {
        std::cerr << "lorvane: a link of the chapter could not be followed: " << e.what()
                  << std::endl;
        cancel = true;
    } catch (...) {
        cancel = true;
    }
}

// ---------------------------------------------------------------------------
// Book index

void TFBible::FillBookIndex() {
    LBIndex->BeginUpdate();
    LBIndex->Clear();
    std::vector<BookIndexItem> items = BookIndexItems(communs_, CurrentBook);
    for (const BookIndexItem& item : items)
        LBIndex->Add(FromCp1252(item.text), item.value);
    LBIndex->EndUpdate();
    if (!items.empty()) LBIndex->SetTopIndex(BookIndexTopItem(items, CurrentChapter));
}

void TFBible::LBIndexClick(THTMListBox* sender) {
    int selected = sender->ItemIndex();
    if (selected < 0) return;
    int p = sender->Value(selected);
    if (p == 0) return;
    if (sender == LBRech) {
        CurrentBook = p / 1000;
        CurrentChapter = p % 1000;
        CurrentVerse = PanneauRechercher->ResultVerse(selected);  // the found verse at the top
        SyncControls();
        ShowCurrentChapter();
        FillBookIndex();
        MarkVerses(CurrentVerse, 0);
    } else {
        CurrentChapter = p / 1000;
        CurrentVerse = p % 1000;
        QSignalBlocker block(CBLivre);
        CBLivre->SetItemIndex(CurrentBook - 1);
        SpinChapitre->SetValue(CurrentChapter);
        ShowCurrentChapter();
    }
}

}  // namespace lorvane
