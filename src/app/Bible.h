#pragma once

#include <QMainWindow>

#include "Communs.h"

namespace lorvane {

// The load-failure message: "Erreur", error icon, one OK button.
void ShowLoadFailure();

// The main window of the program.
class TFBible : public QMainWindow {
    Q_OBJECT
  public:
    // Runs FormCreate. When loading the data fails, the error box has been
    // shown and closed by the time the constructor returns, and Loaded() is
    // false: the caller ends the program without showing the window.
    explicit TFBible(Communs& communs, QWidget* parent = nullptr);
    ~TFBible() override;

    bool Loaded() const { return loaded_; }

    // The window title: "Lorvane  " and the first five characters of the
    // file version.
    static QString Title();

    // The reading position.
    int CurrentBook = 1;
    int CurrentChapter = 1;
    int CurrentVerse = 1;

    void Apropos1Click();

  private:
    void FormCreate();
    // The loading block: every table, in order, then the study pages.
    // Returns false after the load-failure message.
    bool LoadData();

    Communs& communs_;
    bool loaded_ = false;
};

}  // namespace lorvane
