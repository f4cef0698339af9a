#pragma once

#include <QElapsedTimer>
#include <QObject>

#include "ReadingCore.h"

namespace lorvane {

class ChapterSpin;
class TextTabs;
class THTMLComboBox;

// The reading strip and the tabs, following the reading: the book box and
// the chapter box name the place read, the tabs the place of each. What the
// reader does with them is a move of the reading: a book (its chapter 1),
// a chapter (the digits of one number typed in the box make one move), a
// tab.
class ReadingStrip : public QObject, public ReadingObserver {
    Q_OBJECT
  public:
    ReadingStrip(ReadingCore& reading, THTMLComboBox* books, ChapterSpin* chapters, TextTabs* tabs,
                 QObject* parent = nullptr);

    void PlaceChanged(const Place& before, const Place& after) override;
    void TabsChanged() override;
    void TablesChanged() override;

  private:
    void BookChosen();
    void ChapterChosen();
    void FillBooks();
    // The boxes and the tabs as the reading is.
    void Sync();

    ReadingCore& reading_;
    THTMLComboBox* books_;
    ChapterSpin* chapters_;
    TextTabs* tabs_;
    // The chapter box's last change, and whether a move is the box's own.
    QElapsedTimer lastChapterTyped_;
    bool ownMove_ = false;
    // The tabs as last told, to say which one the reader reaches.
    int toldCount_ = 0;
    int toldCurrent_ = -1;
};

}  // namespace lorvane
