#pragma once

// The search pane: a white strip with the query field, the method and scope
// lists and the search button, and below it the results list, whose items
// name chapters by their position value (book * 1000 + chapter; the count
// line at the top carries 0). The window that holds the pane wires the
// results list's Click to its own handler and tells the pane, through a
// callback, which chapter is shown when a search starts.

#include <QComboBox>
#include <QWidget>
#include <functional>

#include "Communs.h"

class QLabel;
class QPushButton;

namespace lorvane {

class THTMListBox;
class THistoryEdit;

// The chapter shown in the reading pane.
struct ReadingPlace {
    int book = 1;
    int chapter = 1;
};

class TPanneauRechercher : public QWidget {
    Q_OBJECT
  public:
    TPanneauRechercher(const Communs& communs, std::function<ReadingPlace()> readingPlace,
                       QWidget* parent = nullptr);

    // The search command: replaces the results with those of the query,
    // method and scope of the controls. An error still leaves the count
    // line, the list repainting and the normal cursor, then goes on to the
    // caller (the button's click sends it to the default error display).
    void BtnRechClick();
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
    // The last step of a search, whatever happened before it.
    void Finish(int count);

    const Communs& communs_;
    std::function<ReadingPlace()> readingPlace_;
};

}  // namespace lorvane
