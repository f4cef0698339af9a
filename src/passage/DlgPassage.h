#pragma once

#include <QDialog>
#include <cstdint>

#include "Communs.h"
#include "ReadingCore.h"

namespace lorvane {

class TBrowserPane;
class THTMLButton;
class THTMLRadioButton;

// What the passage window needs of the main window it belongs to.
class PassageHost {
  public:
    virtual ~PassageHost() = default;
    virtual Communs& Data() = 0;
    // The chapter page writer with the main window's display options.
    virtual bool WriteChapterPage(int book, int chapter, int firstVerse, int lastVerse,
                                  bool passageMode, bool wholeChapter) = 0;
    // Keeps the chapter being read in a new tab, then shows the given
    // place in the selected tab.
    virtual void TakeIntoNewTab(int book, int chapter, int verse) = 0;
};

// The passage window: a small window above the program's others that shows
// the passage a link points to, or its whole chapter, and can take it into a
// new tab of the main window. One for the whole run, created hidden.
class TFDlgPassage : public QDialog, public ReadingObserver {
    Q_OBJECT
  public:
    TFDlgPassage(PassageHost& host, QWidget* owner);

    // Slots of the passage's first and last verse in the verse table.
    std::int32_t FirstSlot = 0;
    std::int32_t LastSlot = 0;
    // A passage the Bible shown lacks but a Bible beside it has (verses
    // numbered otherwise): shown when FirstSlot names no verse.
    VerseRef Elsewhere;

    void ShowPassage();
    // Shows a verse range of the reading followed. A range naming a verse
    // the text lacks opens nothing and leaves the window as it was; a last
    // verse the chapter lacks gives the first alone. In a comparison, a
    // verse one of the Bibles beside has is enough: their numbering may
    // differ.
    void Open(const VerseRef& range);
    // The window follows the reading: it closes when another Bible is
    // read, and shows its passage in the Bibles compared (closing when
    // only a Bible beside had it and none is now).
    void Follow(ReadingCore& reading) { reading.Subscribe(this); }
    void TablesChanged() override;
    void ComparisonChanged() override;
    void CheckPassageClick();
    void BtnNouveauClick();

    QWidget* Panel4 = nullptr;
    QWidget* Panel2 = nullptr;
    THTMLButton* BtnNouveau = nullptr;
    THTMLRadioButton* CheckPassage = nullptr;
    THTMLRadioButton* CheckChapitre = nullptr;
    TBrowserPane* WB = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    PassageHost& host_;
    bool placed_ = false;
};

}  // namespace lorvane
