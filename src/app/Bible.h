#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BibleChoice.h"
#include "BibleShelf.h"
#include "Communs.h"
#include "Comparison.h"
#include "DlgPassage.h"
#include "History.h"
#include "ReadingCore.h"
#include "StudyPanes.h"
#include "WordStudy.h"

class QAction;
class QMenu;
class QSplitter;
class QStackedWidget;
class QToolBar;
class QWidget;

namespace lorvane {

class NotesPane;
class ReaderNotes;

class ChapterSpin;
class CommentaryPane;
class WordPane;
class GoToBox;
class Shader;
class SignetsPane;
class TBrowserPane;
class THTMLButton;
class THTMLComboBox;
class THTMLabel;
class THTMListBox;
class TPanneauRechercher;
class TextTabs;
class TFrmRichEdit;
class ProgramFocus;
class ReadingStrip;
class ReadingView;
struct BackupPrompts;

// The load-failure message: "Erreur", error icon, one OK button.
void ShowLoadFailure();

// The main window of the program: the module panel with its seven panes on
// one side, the reading area with the book list, the chapter spin, the text
// tabs and the reading pane on the other. It creates the panes and wires
// them to the reading (ReadingCore.h), which they follow.
class TFBible : public QMainWindow, public PassageHost, public StudyHost, private ReadingObserver {
    Q_OBJECT
  public:
    // How the window gets its tables into the Communs it is given and the
    // study pages unpacked, showing the archive reader's boxes through the
    // prompts; it raises LoadError as LoadDataFolder does (LoadDataFolder
    // when empty).
    using DataLoad = std::function<void(Communs&, BackupPrompts*)>;

    // Runs FormCreate. When loading the data fails, the error box has been
    // shown and closed by the time the constructor returns, and Loaded() is
    // false: the caller ends the program without showing the window.
    // The reader's Bibles are `shelf`'s; without one, the window keeps its
    // own in AppDir's bibles/, with the loaded Bible as the program's.
    explicit TFBible(Communs& communs, QWidget* parent = nullptr, DataLoad loadData = {},
                     bibles::BibleShelf* shelf = nullptr);
    ~TFBible() override;

    bool Loaded() const { return loaded_; }

    // The window title: "Lorvane  " and the first five characters of the
    // file version.
    static QString Title();

    Communs& Data() override { return communs_; }

    // The reading, which every pane follows, and its place.
    ReadingCore& Reading() { return reading_; }
    const Place& Here() const { return reading_.Here(); }
    ReadingView* View() const { return view_; }

    // The chapter page and the passage window.
    bool WriteChapterPage(int book, int chapter, int firstVerse, int lastVerse, bool passageMode,
                          bool wholeChapter) override;
    void TakeIntoNewTab(int book, int chapter, int verse) override;
    // Shows the current Bible (left column, labelled currentAbbreviation)
    // beside `others` (1 to 3 Bibles, in column order) verse by verse; an
    // empty `others` ends the comparison.
    void SetComparison(std::string currentAbbreviation, std::vector<ComparedBible> others);
    const std::vector<ComparedBible>& Comparison() const { return reading_.Comparison().Others(); }
    // Opens the passage window on a verse range; a range naming a verse the
    // text lacks opens nothing and leaves the window as it was.
    void OpenPassage(int book, int chapter, int firstVerse, int lastVerse) override;
    // Shows chapter 1 of a book (the book table's links).
    void OpenBook(int book) override;

    // The links of the reading pane.
    void WBBeforeNavigate2(const QString& url, bool& cancel);

    // Display options and modules.
    void CheckActionInCategory(QAction* action, const QString& category);
    void ActionModuleClick(QAction* sender);
    void ActionPositionClick(QAction* sender);
    void ActionTexteClick(QAction* sender);
    void ActionTailleClick();
    void FormActivate();
    void Quitter1Click();
    // Fichier > Importer une Bible...: the new Bible joins the reader's and
    // is read in every tab, at the places it has.
    void ImporterBible1Click();
    // The import of a chosen file: the new Bible joins the reader's and is
    // shown. False when it did not (failure, cancel, already there).
    bool ImportBibleFromFile(const QString& file);
    void Apropos1Click();

    // The reader's Bibles (the "Bible" menu): shows Bible i of the shelf at
    // the place read, in every tab; Ctrl+Maj+B the next one; the dialog
    // that renames and removes them. ShowBible returns false, after saying
    // why, when that Bible does not load.
    bibles::BibleShelf& Shelf() { return *shelf_; }
    bool ShowBible(std::size_t i);
    // Bible > Comparer avec: Bible i in a column beside the current one, or
    // out of the comparison when it was in; Bible > Ne plus comparer.
    void CompareWith(std::size_t i);
    void StopComparing();
    void NextBibleClick();
    void ManageBiblesClick();
    bool RenameBible(std::size_t i, const QString& name, const QString& abbreviation);
    bool RemoveBible(std::size_t i);
    // What the shelf found wrong at start, told once the window shows.
    void TellShelfProblems();
    // Reads the reader's notes and highlights, once the window shows.
    void LoadReaderNotes();

    // The reader's moves: a typed reference, back and forward through the
    // places of the tab, signets, verses copied with their reference, the
    // chapter printed or saved as PDF, the session kept between runs.
    void GoTo(int book, int chapter, int firstVerse, int lastVerse);
    void AddSignet(int verse);
    void OpenSignet(int book, int chapter, int verse);
    void CopyVerse(int verse, bool withReference);
    void PrintChapterClick();
    // Asks for a file name when `path` is empty.
    void SaveChapterPdfClick(const QString& path = {});
    void TextSizeStep(int step);  // +1, -1, or 0 for the size at start
    // F6 and Shift+F6: the module panel, the reading strip, the page.
    void CycleFocus(int step);
    // Restores the session of the last run and keeps this one at the end.
    void KeepSession();
    void SaveSession();
    // The Bible's abbreviation for quotes ("LSG"): data/sigle.txt, else none.
    QString BibleAbbreviation() const;

    // Controls, named as the program knows them.
    QToolBar* ToolBar2 = nullptr;
    QWidget* PanelIndex = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* PanelLecture = nullptr;
    Shader* ShaderModule = nullptr;
    THTMLabel* LabelModule = nullptr;
    QStackedWidget* PC = nullptr;
    TPanneauLivres* PanneauLivres = nullptr;
    QWidget* PanneauIndex = nullptr;
    TPanneauGlossaire* PanneauGlossaire = nullptr;
    TPanneauRechercher* PanneauRechercher = nullptr;
    TPanneauThemes* PanneauThemes = nullptr;
    QWidget* PanneauAnnotations = nullptr;
    QWidget* PanneauRediger = nullptr;
    Shader* ShaderLecture = nullptr;
    THTMLComboBox* CBLivre = nullptr;
    ChapterSpin* SpinChapitre = nullptr;
    THTMLButton* BtnNouveau = nullptr;
    THTMLButton* BtnFermer = nullptr;
    TextTabs* TCTexte = nullptr;
    TBrowserPane* WB = nullptr;
    THTMListBox* LBIndex = nullptr;
    THTMListBox* LBNote = nullptr;
    THTMListBox* LBRech = nullptr;
    TBrowserPane* WBLivres = nullptr;
    TBrowserPane* WBTheme = nullptr;
    TBrowserPane* WBGlossaire = nullptr;
    THTMLButton* BtnThemesListe = nullptr;
    THTMLButton* BtnThemesPred = nullptr;
    THTMLButton* BtnThemesSuiv = nullptr;
    THTMLButton* BtnLettreA = nullptr;
    TFDlgPassage* FDlgPassage = nullptr;
    GoToBox* BoxAllerA = nullptr;
    SignetsPane* PanneauSignets = nullptr;
    NotesPane* PanneauNotes = nullptr;
    CommentaryPane* PanneauCommentaire = nullptr;
    WordPane* PanneauMot = nullptr;
    TFrmRichEdit* FrmRichEdit = nullptr;

    // ActionList1, in list order.
    QAction* ActionLivres = nullptr;
    QAction* ActionIndex = nullptr;
    QAction* ActionGlossaire = nullptr;
    QAction* ActionRechercher = nullptr;
    QAction* ActionThemes = nullptr;
    QAction* ActionAnnotations = nullptr;
    QAction* ActionRediger = nullptr;
    QAction* ActionTexteAccole = nullptr;
    QAction* ActionTexteLigne = nullptr;
    QAction* ActionTaille = nullptr;
    QAction* ActionPosGauche = nullptr;
    QAction* ActionPosDroite = nullptr;
    QAction* ActionPosHaut = nullptr;
    QAction* ActionPosBas = nullptr;
    QAction* ActionSignets = nullptr;
    QAction* ActionNotes = nullptr;
    QAction* ActionCommentaire = nullptr;
    QAction* ActionMot = nullptr;
    std::vector<QAction*> ActionList1;
    // The reader's keys and commands.
    QAction* ActionReduire = nullptr;
    QAction* ActionTailleNormale = nullptr;
    QAction* ActionPrecedent = nullptr;
    QAction* ActionSuivant = nullptr;
    QAction* ActionAllerA = nullptr;
    QAction* ActionAllerAL = nullptr;  // Ctrl+L, outside the writing pad
    QAction* ActionAjouterSignet = nullptr;
    QAction* ActionAnnoter = nullptr;
    QAction* ActionImprimer = nullptr;
    QAction* ActionPdf = nullptr;
    QAction* ActionNouvelOnglet = nullptr;
    QAction* ActionFermerOnglet = nullptr;
    QAction* ActionOngletSuivant = nullptr;
    QAction* ActionOngletPrecedent = nullptr;
    QAction* ActionChercher = nullptr;
    QAction* ActionCopier = nullptr;
    QAction* ActionPanneauSuivant = nullptr;
    QAction* ActionPanneauPrecedent = nullptr;
    QMenu* MenuBible = nullptr;
    QAction* ActionBibleSuivante = nullptr;

  protected:
    bool event(QEvent* event) override;
    // The writing pad may keep the window open to save its text first.
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    void FormDestroy();
    // The loading block: every table, in order, then the study pages.
    // Returns false after the load-failure message.
    bool LoadData();
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildModulePanel();
    void BuildReadingArea();
    QWidget* ModulePane(QAction* action) const;
    void BuildMoves();
    // Précédent, Suivant and the text size's commands as the reading is.
    void UpdateMoveActions();
    void PlaceChanged(const Place& before, const Place& after) override;
    void TabsChanged() override { UpdateMoveActions(); }

    Communs& communs_;
    DataLoad loadData_;
    std::unique_ptr<bibles::BibleShelf> ownShelf_;
    bibles::BibleShelf* shelf_ = nullptr;
    bool loaded_ = false;
    bool shown_ = false;
    ProgramFocus* programFocus_ = nullptr;
    ReadingCore reading_{communs_};
    std::unique_ptr<bibles::BibleChoice> choice_;
    ReadingStrip* strip_ = nullptr;
    ReadingView* view_ = nullptr;
    // The reader's notes and highlights (notes.txt of the reader's data
    // folder).
    std::unique_ptr<ReaderNotes> notes_;
    // The tagged words of the Bibles read, for the pages and the « Mot » pane.
    wordstudy::WordStudy words_;
    bool keepSession_ = false;
};

}  // namespace lorvane
