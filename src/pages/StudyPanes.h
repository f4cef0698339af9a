#pragma once

// The three study modules of the main window's module panel: the book
// table, the study themes and the glossary. Each shows pages of them/ in
// its own browser pane and decides, before each navigation, what a link
// does (StudyLinks.h): a book link opens the book in the reading window, a
// verse link opens the passage window.

#include <QWidget>
#include <string>

#include "ReadingCore.h"

namespace lorvane {

class TBrowserPane;
class THTMLButton;

// What the study panes ask of the main window.
class StudyHost {
  public:
    virtual ~StudyHost() = default;
    // Shows chapter 1 of the book in the reading window.
    virtual void OpenBook(int book) = 0;
    // Opens the passage window on a verse range.
    virtual void OpenPassage(int book, int chapter, int firstVerse, int lastVerse) = 0;
};

// The address of a page of them/ in the program folder appDir (bytes).
QString StudyPageUrl(const std::string& appDir, const QString& name);

// "Table des livres": the pane WBLivres alone.
class TPanneauLivres : public QWidget, public ReadingObserver {
    Q_OBJECT
  public:
    TPanneauLivres(const std::string& appDir, StudyHost& host, QWidget* parent = nullptr);
    // The pane follows the reading: another Bible brings its page back.
    void FollowReading(ReadingCore& reading) { reading.Subscribe(this); }
    void TablesChanged() override;

    TBrowserPane* WBLivres = nullptr;

    // Shows them/livres.htm.
    void LoadPage();
    void WBLivresBeforeNavigate2(const QString& url, bool& cancel);

  private:
    std::string appDir_;
    StudyHost& host_;
};

// "Thèmes d'étude": a bar with the list, previous and next buttons over the
// pane WBTheme.
class TPanneauThemes : public QWidget, public ReadingObserver {
    Q_OBJECT
  public:
    TPanneauThemes(const std::string& appDir, StudyHost& host, QWidget* parent = nullptr);
    // The pane follows the reading: another Bible shows the list of themes.
    void FollowReading(ReadingCore& reading) { reading.Subscribe(this); }
    void TablesChanged() override;

    QWidget* Panel3 = nullptr;
    THTMLButton* BtnThemesListe = nullptr;
    THTMLButton* BtnThemesPred = nullptr;
    THTMLButton* BtnThemesSuiv = nullptr;
    TBrowserPane* WBTheme = nullptr;

    void BtnThemesClick(THTMLButton* sender);
    void WBThemeBeforeNavigate2(const QString& url, bool& cancel);

  private:
    std::string appDir_;
    StudyHost& host_;
};

// "Glossaire": three rows of letter and measure buttons over the pane
// WBGlossaire.
class TPanneauGlossaire : public QWidget, public ReadingObserver {
    Q_OBJECT
  public:
    TPanneauGlossaire(const std::string& appDir, StudyHost& host, QWidget* parent = nullptr);
    // The pane follows the reading: another Bible brings its page back.
    void FollowReading(ReadingCore& reading) { reading.Subscribe(this); }
    void TablesChanged() override;

    QWidget* Panel2 = nullptr;
    THTMLButton* BtnLettreA = nullptr;
    TBrowserPane* WBGlossaire = nullptr;

    // Shows them/glossaire.htm.
    void LoadPage();
    void BtnLettreClick(THTMLButton* sender);
    void WBGlossaireBeforeNavigate2(const QString& url, bool& cancel);

  private:
    std::string appDir_;
    StudyHost& host_;
};

}  // namespace lorvane
