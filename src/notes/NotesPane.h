#pragma once

// The « Notes » pane: the reader's notes in Bible order, each with its
// verses and first line, then the highlighted verses under their colour. A
// filter box keeps the notes whose text holds its words, whatever their
// accents. Enter opens a verse; Suppr deletes, and « Annuler » brings the
// deletion back.

#include <QString>
#include <QWidget>
#include <functional>

#include "ReaderNotes.h"
#include "ReadingCore.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace lorvane {

class NotesPane : public QWidget, public ReadingObserver {
    Q_OBJECT
  public:
    NotesPane(ReaderNotes& notes, ReadingCore& reading, QWidget* parent = nullptr);

    void TablesChanged() override { Refill(); }

    QLineEdit* Filter() const { return filter_; }
    QTreeWidget* List() const { return list_; }
    QPushButton* UndoButton() const { return undo_; }
    // Deletes the note or clears the highlight of the current row.
    void RemoveCurrent();
    // Brings the last deletion back.
    void Undo();

  signals:
    // A verse was opened from the list.
    void Opened();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // Fills the list again now if it shows, else when it comes to show.
    void Refill();
    void Fill();
    void OpenItem(QTreeWidgetItem* item);

    ReaderNotes& notes_;
    ReadingCore& reading_;
    ReaderNotes::Subscription listening_;
    bool stale_ = true;
    QLineEdit* filter_;
    QTreeWidget* list_;
    QLabel* undoText_;
    QPushButton* undo_;
    std::function<void()> undoLast_;
};

}  // namespace lorvane
