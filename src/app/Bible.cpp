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
#include "BookIndexPane.h"
#include "BrowserPane.h"
#include "ChapterPage.h"
#include "ChapterSpin.h"
#include "CommentaryPane.h"
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
#include "ModulePanel.h"
#include "Navigation.h"
#include "NoteWindows.h"
#include "NotesPane.h"
#include "ProgramFocus.h"
#include "QtPath.h"
#include "QtText.h"
#include "ReaderNotes.h"
#include "ReadingStrip.h"
#include "ReadingView.h"
#include "SearchPane.h"
#include "Shader.h"
#include "SignetsPane.h"
#include "Splash.h"
#include "StudyPages.h"
#include "TextTabs.h"
#include "UserFiles.h"
#include "Version.h"
#include "WordPane.h"

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
    choice_ = std::make_unique<bibles::BibleChoice>(*shelf_, reading_, this);
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
    // The start-up splash stays under the main window: coming back from it
    // is no return to the window.
    programFocus_ = new ProgramFocus(
        this, [](const QWidget* w) { return qobject_cast<const TFSplash*>(w) && !w->isModal(); });
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

    FrmRichEdit = new TFrmRichEdit(PanneauRediger);
    PanneauRediger->layout()->addWidget(FrmRichEdit);
    FrmRichEdit->show();

    FDlgPassage = new TFDlgPassage(*this, this);
    FDlgPassage->Follow(reading_);
    PanneauRechercher->CBRechMethode->setCurrentIndex(0);
    PanneauRechercher->CBRechDans->setCurrentIndex(2);

    // Every pane on the tables, at the first book.
    reading_.Start();
    // The layout and the text shown are checked as they are, so that a
    // screen reader never hears « non cochée » for the choice in force.
    CheckActionInCategory(ActionPosGauche, kPosition);
    CheckActionInCategory(ActionTexteAccole, kTexte);
    ActionLivres->trigger();
}

void TFBible::FormDestroy() {
    // Controls that lose the focus while the window goes away must not
    // reach back into it, nor into the reading, which goes first.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
    for (QObject* follower : std::initializer_list<QObject*>{strip_, view_})
        delete follower;
    strip_ = nullptr;
    view_ = nullptr;
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
        {&ActionNotes, "ActionNotes", kModule, "&Notes", 5},
        {&ActionCommentaire, "ActionCommentaire", kModule, "&Commentaire", 4},
        {&ActionMot, "ActionMot", kModule, "&Mot", 2},
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
    ActionNotes->setIcon(QIcon::fromTheme(QStringLiteral("document-edit"), images.Icon(5)));
    ActionMot->setIcon(QIcon::fromTheme(QStringLiteral("accessories-character-map"),
                                        images.Icon(2)));
    ActionCommentaire->setIcon(QIcon::fromTheme(
        QStringLiteral("edit-comment"),
        QIcon::fromTheme(QStringLiteral("accessories-dictionary"), images.Icon(4))));
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
    fichier
        ->addAction(QStringLiteral("&Exporter les notes..."), this,
                    GuardedSlot([this] { ExportNotes(this, *notes_); }))
        ->setObjectName("ExporterNotes");
    fichier
        ->addAction(QStringLiteral("Importer des &notes..."), this,
                    GuardedSlot([this] { ImportNotes(this, *notes_); }))
        ->setObjectName("ImporterNotes");
    fichier->addSeparator();
    fichier->addAction(ActionImprimer);
    fichier->addAction(ActionPdf);
    fichier->addSeparator();
    QAction* quitter =
        fichier->addAction(QStringLiteral("&Quitter"), this, &TFBible::Quitter1Click);
    quitter->setObjectName("Quitter1");
    quitter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* affichage = menuBar()->addMenu(QStringLiteral("&Affichage"));
    ShowChecksPlainly(affichage);
    for (QAction* a : ActionList1)
        if (Category(a) == kModule) affichage->addAction(a);
    affichage->addSeparator();
    affichage->addAction(PanneauMot->InterlinearAction());

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
    connect(MenuBible, &QMenu::aboutToShow, this,
            GuardedSlot([this] { choice_->FillMenu(MenuBible, ActionBibleSuivante); }));

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
    for (QAction* a :
         {ActionPrecedent, ActionSuivant, ActionAllerA, ActionAjouterSignet, ActionAnnoter})
        moves->addAction(a);
    moves->addAction(PanneauMot->FocusAction(WB->Browser(), [this] { ActionMot->trigger(); }));
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
    auto* panel = new ModulePanel;
    PanelIndex = panel;
    ShaderModule = panel->Title();
    LabelModule = panel->Label();
    PC = panel->Pages();

    PanneauLivres = new TPanneauLivres(communs_.AppDir, *this);
    PanneauLivres->FollowReading(reading_);
    panel->AddPane(PanneauLivres);
    WBLivres = PanneauLivres->WBLivres;

    auto* index = new BookIndexPane(reading_);
    PanneauIndex = index;
    panel->AddPane(index);
    LBIndex = index->List();

    PanneauGlossaire = new TPanneauGlossaire(communs_.AppDir, *this);
    PanneauGlossaire->FollowReading(reading_);
    panel->AddPane(PanneauGlossaire);
    WBGlossaire = PanneauGlossaire->WBGlossaire;
    BtnLettreA = PanneauGlossaire->BtnLettreA;

    PanneauRechercher = new TPanneauRechercher(communs_, {});
    PanneauRechercher->setObjectName("PanneauRechercher");
    PanneauRechercher->Follow(reading_);
    panel->AddPane(PanneauRechercher);
    LBRech = PanneauRechercher->LBRech;
    // Enter on an index entry or a result: the reader goes on reading there.
    for (THTMListBox* list : {LBIndex, LBRech})
        connect(list, &THTMListBox::Activated, this,
                [this] { WB->setFocus(Qt::OtherFocusReason); });

    PanneauThemes = new TPanneauThemes(communs_.AppDir, *this);
    PanneauThemes->FollowReading(reading_);
    panel->AddPane(PanneauThemes);
    WBTheme = PanneauThemes->WBTheme;
    BtnThemesListe = PanneauThemes->BtnThemesListe;
    BtnThemesPred = PanneauThemes->BtnThemesPred;
    BtnThemesSuiv = PanneauThemes->BtnThemesSuiv;

    // Annotations: always empty.
    const QColor listColour(240, 251, 255);
    QVBoxLayout* notes = panel->AddColumn(PanneauAnnotations, "PanneauAnnotations");
    LBNote = new THTMListBox(PanneauAnnotations);
    LBNote->setObjectName("LBNote");
    LBNote->setAccessibleName(QStringLiteral("Annotations"));
    LBNote->SetColor(listColour);
    LBNote->SetSelectionColor(listColour);
    LBNote->SetSelectionTextColor(Qt::black);
    LBNote->SetItemHeight(14);
    notes->addWidget(LBNote);

    panel->AddColumn(PanneauRediger, "PanneauRediger");  // the pad comes in FormCreate

    PanneauSignets = new SignetsPane;
    PanneauSignets->Follow(reading_);
    panel->AddPane(PanneauSignets);

    notes_ =
        std::make_unique<ReaderNotes>(PathFromQt(UserDataFolder() + QStringLiteral("/notes.txt")));
    PanneauNotes = new NotesPane(*notes_, reading_);
    panel->AddPane(PanneauNotes);
    PanneauCommentaire = new CommentaryPane(shelf_->ShelfDir() + "commentaires/");
    PanneauCommentaire->Follow(reading_);
    panel->AddPane(PanneauCommentaire);
    choice_->SetCommentaries(
        {[pane = PanneauCommentaire] {
             std::vector<bibles::KeptBible> rows;
             for (const auto& c : pane->Shelf().Commentaries())
                 rows.push_back({c.folder, c.name, c.abbreviation, {}});
             return rows;
         },
         [pane = PanneauCommentaire](std::size_t i, const QString& name,
                                     const QString& abbreviation) {
             return pane->RenameKept(i, name, abbreviation);
         },
         [pane = PanneauCommentaire](std::size_t i) { return pane->RemoveKept(i); }});
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

    SpinChapitre = new ChapterSpin(ShaderLecture);
    SpinChapitre->setObjectName("SpinChapitre");
    SpinChapitre->setFixedSize(49, 22);
    SpinChapitre->setFont(Tahoma(10, true));
    SpinChapitre->setAccessibleName(QStringLiteral("Chapitre"));
    SpinChapitre->Edit()->setAccessibleName(QStringLiteral("Chapitre"));
    row->addWidget(SpinChapitre);
    BoxAllerA = new GoToBox(ShaderLecture);
    BoxAllerA->Follow(reading_);
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
    connect(BtnNouveau, &THTMLButton::clicked, this, [this] { reading_.OpenTab(); });
    connect(BtnFermer, &THTMLButton::clicked, this, [this] { reading_.CloseTab(); });
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
    strip_ = new ReadingStrip(reading_, CBLivre, SpinChapitre, TCTexte, this);
    view_ = new ReadingView(reading_, WB, this);
    view_->SetNotes(notes_.get());
    words_.SetDictionary(wordstudy::ShippedDictionaries(shelf_->ShippedDir()));
    PanneauMot = new WordPane(words_, reading_, *view_);
    static_cast<ModulePanel*>(PanelIndex)->AddPane(PanneauMot);
    connect(PanneauMot, &WordPane::SearchAsked, this, GuardedSlot([this](const QString& n) {
                ActionRechercher->trigger();
                PanneauRechercher->SearchEverywhere(n);
            }));
    PanneauRechercher->SetWordsOf([this] { return words_.WordsOf(reading_.Tables()).table; });
    reading_.Subscribe(this);
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
    } else if (e->type() == QEvent::WindowActivate && programFocus_->ComingBackFromDialog()) {
        FormActivate();
    }
    return handled;
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
    reading_.Show();
    BtnLettreA->click();
}

void TFBible::Quitter1Click() {
    close();
}

void TFBible::Apropos1Click() {
    // With the Bibles shipped in the original languages and their licences.
    auto* about = new TFSplash(this, TFSplash::Use::About,
                               QString::fromStdString(bibles::ShippedCredits(*shelf_)));
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
    if (a == ActionNotes) return PanneauNotes;
    if (a == ActionCommentaire) return PanneauCommentaire;
    if (a == ActionMot) return PanneauMot;
    return PanneauRediger;
}

void TFBible::ActionModuleClick(QAction* sender) {
    CheckActionInCategory(sender, kModule);
    // The keyboard goes into the text of the pad, else to the pane's first
    // control.
    QWidget* pane = ModulePane(sender);
    static_cast<ModulePanel*>(PanelIndex)
        ->ShowPane(pane, ImageIndex(sender), sender->text().remove(QLatin1Char('&')),
                   pane == PanneauRediger ? FrmRichEdit : nullptr);
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
    reading_.Show();
}

void TFBible::ActionTexteClick(QAction* sender) {
    CheckActionInCategory(sender, kTexte);
    reading_.SetVersePerLine(sender == ActionTexteLigne);
}

void TFBible::ActionTailleClick() {
    TextSizeStep(+1);
}

// ---------------------------------------------------------------------------
// The chapter page

bool TFBible::WriteChapterPage(int book, int chapter, int firstVerse, int lastVerse,
                               bool passageMode, bool wholeChapter) {
    return reading_.WritePage(
        ChapterPageRequest{book, chapter, firstVerse, lastVerse, passageMode, wholeChapter});
}

void TFBible::SetComparison(std::string currentAbbreviation, std::vector<ComparedBible> others) {
    reading_.SetComparison(std::move(currentAbbreviation), std::move(others));
}

void TFBible::TakeIntoNewTab(int book, int chapter, int verse) {
    reading_.OpenTab();
    reading_.MoveTo(Place{book, chapter, verse, -1}, VerseSpan{verse, 0});
}

void TFBible::OpenPassage(int book, int chapter, int firstVerse, int lastVerse) {
    FDlgPassage->Open(VerseRef{book, chapter, firstVerse, lastVerse});
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
    reading_.MoveTo(Place{book, 1, 1, -1});
}

// ---------------------------------------------------------------------------
// The reading pane's links

void TFBible::WBBeforeNavigate2(const QString& url, bool& cancel) {
    try {
        // A note's mark opens its note.
        if (url.startsWith(QLatin1String(kNoteLinkScheme.data(),
                                         static_cast<qsizetype>(kNoteLinkScheme.size())))) {
            cancel = true;
            view_->ShowNote(url.mid(static_cast<qsizetype>(kNoteLinkScheme.size())).toStdString());
            return;
        }
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
// The reader's Bibles: the "Bible" menu and the import that adds one call the
// shelf's choice (BibleChoice.h).

bool TFBible::ShowBible(std::size_t i) {
    return choice_->Show(i);
}

void TFBible::CompareWith(std::size_t i) {
    choice_->CompareWith(i);
}

void TFBible::StopComparing() {
    choice_->StopComparing();
}

void TFBible::NextBibleClick() {
    choice_->ShowNext();
}

void TFBible::ManageBiblesClick() {
    choice_->Manage();
}

bool TFBible::RenameBible(std::size_t i, const QString& name, const QString& abbreviation) {
    return choice_->Rename(i, name, abbreviation);
}

bool TFBible::RemoveBible(std::size_t i) {
    return choice_->Remove(i);
}

void TFBible::TellShelfProblems() {
    choice_->TellProblems();
}

void TFBible::LoadReaderNotes() {
    if (!notes_->Loaded()) notes_->Load();
}

QString TFBible::BibleAbbreviation() const {
    return choice_->Abbreviation();
}

void TFBible::ImporterBible1Click() {
    const QString file = AskBibleFile(this);
    if (!file.isEmpty()) ImportBibleFromFile(file);
}

bool TFBible::ImportBibleFromFile(const QString& file) {
    return ImportBibleFile(
        this, communs_, shelf_->StagingDir(), file,
        [this](Communs&& tables, const std::string& name, const std::string& abbreviation) {
            return choice_->Adopt(std::move(tables), name, abbreviation);
        },
        [this](const std::string& staging, const std::string& name,
               const std::string& abbreviation) {
            PanneauCommentaire->Adopt(staging, name, abbreviation);
        });
}

}  // namespace lorvane
