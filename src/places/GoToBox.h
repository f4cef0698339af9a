#pragma once

// The "Aller à" box of the reading strip: a reference typed as readers
// type it, a list of the books that fit while the book is typed, and the
// reason beside the box when the reference names no place.

#include <QWidget>
#include <memory>

#include "ReadingCore.h"
#include "References.h"

class QCompleter;
class QLabel;
class QLineEdit;
class QStringListModel;

namespace lorvane {

class GoToBox : public QWidget, public ReadingObserver {
    Q_OBJECT
  public:
    explicit GoToBox(QWidget* parent = nullptr);
    ~GoToBox() override;

    // The Bible whose names and places the box reads; again after an import.
    void SetBible(const Communs& communs);
    // The box follows the reading: it reads its Bible and names its place.
    void Follow(ReadingCore& reading);
    void PlaceChanged(const Place& before, const Place& after) override;
    void TablesChanged() override;

    // Puts the caret in the box, its text selected.
    void Focus();

    QLineEdit* Edit() const { return edit_; }
    QLabel* Message() const { return message_; }
    QCompleter* Completer() const { return completer_; }

    // Reads the box's text: a place is emitted through Go, else the reason
    // shows beside the box. For a range of chapters ("Mt 5-7") the first
    // is emitted, and the box and the line beside it name the whole range.
    void Submit();

    // The place the page shows, written in the box when the reader moved
    // by other means than the box; a reason left beside it goes.
    void ShowPlace(const QString& place);

  signals:
    // A place to open (lastVerse 0 for one verse, firstVerse 0 for none).
    void Go(int book, int chapter, int firstVerse, int lastVerse);
    // Escape: the reader goes back to the page.
    void Leave();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Propose(const QString& text);
    void Say(const QString& text);

    const Communs* communs_ = nullptr;
    std::unique_ptr<BookNames> names_;
    QLineEdit* edit_;
    QLabel* message_;
    QCompleter* completer_;
    QStringListModel* proposals_;
    QString shown_;  // the place last written in the box by ShowPlace
};

}  // namespace lorvane
