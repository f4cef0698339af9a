#pragma once

// The « Mot » pane: the facts of the tagged word the reader clicked or put
// the caret on in the page (WordStudy.h), and « Toutes les occurrences »,
// which searches its Strong's number in the Bible read. While the reader
// moves in the page with the keyboard, a screen reader hears each word's
// facts.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

#include "ReadingCore.h"
#include "WordStudy.h"

class QAction;
class QPushButton;
class QTextBrowser;

namespace lorvane {

class ReadingView;

class WordPane : public QWidget, public ReadingObserver {
    Q_OBJECT
  public:
    WordPane(wordstudy::WordStudy& study, ReadingCore& reading, ReadingView& view,
             QWidget* parent = nullptr);
    ~WordPane() override;

    void PlaceChanged(const Place&, const Place&) override {}
    // Another Bible: its words are not the word shown.
    void TablesChanged() override;

    // Shows the facts of a word of the page.
    void ShowWord(const WordAnchor& word);
    // The number of the word shown ("G3056"), empty before any.
    QString Number() const { return number_; }
    QTextBrowser* Text() const { return text_; }

    // « Interlinéaire » (Affichage): each tagged word of the pages over its
    // number and brief parsing.
    QAction* InterlinearAction() const { return interlinear_; }
    // « Aller au mot » (Navigation, Ctrl+Maj+M): from the page into this
    // pane (shown by `show`), and from the pane back to `page`.
    QAction* FocusAction(QWidget* page, std::function<void()> show);
    QPushButton* Occurrences() const { return occurrences_; }

  signals:
    // « Toutes les occurrences »: the search of this number in the Bible read.
    void SearchAsked(const QString& number);

  private:
    // The tables of the Bible whose words carry `id` (a column of the page).
    const Communs* TablesOf(int id) const;
    void ShowHowTo();
    // Reads the words of the Bibles shown not yet looked for, and shows the
    // page again when one has some.
    void LoadWords();

    wordstudy::WordStudy& study_;
    ReadingCore& reading_;
    // The reading pane may go first when the window closes.
    QPointer<ReadingView> view_;
    QTextBrowser* text_;
    QPushButton* occurrences_;
    QString number_;
    QAction* interlinear_;
    bool loadPending_ = false;
};

}  // namespace lorvane
