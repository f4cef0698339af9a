#pragma once

// The search pane: a white strip with the query field, the method and scope
// lists and the search button, and below it the results list, whose items
// name chapters by their position value (book * 1000 + chapter; the count
// line at the top carries 0) and, through ResultVerse, their verse. The
// window that holds the pane wires the results list's Click to its own
// handler and tells the pane, through a callback, which chapter is shown
// when a search starts.

#include <QComboBox>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Communs.h"
#include "ReadingCore.h"

class QLabel;
class QPushButton;

namespace lorvane {

class THTMListBox;
class THistoryEdit;
class FoldedVerses;
namespace words {
class WordTable;
}

// The chapter shown in the reading pane.
struct ReadingPlace {
    int book = 1;
    int chapter = 1;
};

class TPanneauRechercher : public QWidget, public ReadingObserver {
    Q_OBJECT
  public:
    TPanneauRechercher(const Communs& communs, std::function<ReadingPlace()> readingPlace,
                       QWidget* parent = nullptr);
    ~TPanneauRechercher() override;

    // The search command: replaces the results with those of the query,
    // method and scope of the controls. An error still leaves the count
    // line, the list repainting and the normal cursor, then goes on to the
    // caller (the button's click sends it to the default error display)
    // with a French message. While a search runs, another one does not
    // start.
    void BtnRechClick();
    bool Searching() const { return searching_; }

    // The verse of a result item (an index of LBRech), for a click to open
    // the chapter at it; 1 for the count line and any other item.
    int ResultVerse(int index) const;
    // The verse of a result item, none for the count line.
    std::optional<Place> ResultPlace(int index) const;

    // The pane follows the reading: a search starts from the place read, a
    // result chosen moves the reading to its verse, marked, and another
    // Bible takes the results away.
    void Follow(ReadingCore& reading);
    void TablesChanged() override { TablesReplaced(); }

    // The folded copy of the verse texts, made at the first search that
    // needs it (null before).
    const FoldedVerses* FoldedCopy() const { return folded_.get(); }
    // The tables have been replaced (an imported Bible): the results and
    // the folded copy, which name the old verses, go.
    void TablesReplaced();
    // The tagged words of the Bible read, for a query that is a Strong's
    // number ("G3056"); none by default.
    void SetWordsOf(std::function<const words::WordTable*()> words) { words_ = std::move(words); }
    // Searches `query` in the whole Bible (« Toutes les occurrences »).
    void SearchEverywhere(const QString& query);
    // A key typed in the query field: Enter clicks the search button.
    void EditRechKeyPress(int key);

    QWidget* PanelRech = nullptr;  // the white strip
    QLabel* LabelTexte = nullptr;
    QLabel* LabelMethode = nullptr;
    QLabel* LabelDans = nullptr;
    THistoryEdit* EditRech = nullptr;
    QComboBox* CBRechMethode = nullptr;
    QComboBox* CBRechDans = nullptr;
    QPushButton* BtnRech = nullptr;
    THTMListBox* LBRech = nullptr;

  private:
    void BuildStrip();
    // The last step of a search, whatever happened before it: the line at
    // the head of the list.
    void Finish(const std::string& head);
    // Keeps the method and scope for the next start.
    void SaveChoices() const;

    void Run();
    const FoldedVerses& Folded();

    const Communs& communs_;
    std::function<const words::WordTable*()> words_;
    std::function<ReadingPlace()> readingPlace_;
    std::unique_ptr<FoldedVerses> folded_;
    std::vector<std::int32_t> resultSlots_;  // the slot of each result, after the count line
    bool searching_ = false;
};

}  // namespace lorvane
