#pragma once

#include <QWidget>
#include <vector>

#include "Navigation.h"
#include "ReadingCore.h"

namespace lorvane {

class THTMListBox;

// The "Index du livre" pane: the headings of the book read, the chapter
// read at the top of the list. Choosing a heading moves the reading to it.
class BookIndexPane : public QWidget, public ReadingObserver {
    Q_OBJECT
  public:
    explicit BookIndexPane(ReadingCore& reading, QWidget* parent = nullptr);

    THTMListBox* List() const { return list_; }

    void PlaceChanged(const Place& before, const Place& after) override;
    // Another tab: filled again for another book, else brought to the
    // tab's chapter.
    void TabsChanged() override;
    void TablesChanged() override { Fill(); }

  private:
    void Fill();
    void Chosen();

    ReadingCore& reading_;
    THTMListBox* list_;
    std::vector<BookIndexItem> items_;  // the list's, in its order
    int filledBook_ = 0;
    bool ownMove_ = false;
};

}  // namespace lorvane
