#pragma once

#include <QObject>
#include <QString>

#include "ReadingCore.h"

class QPoint;

namespace lorvane {

class TBrowserPane;

// The reading pane, following the reading: it shows the page of each move,
// named by its place for a screen reader, brings a view back as it was
// left and marks the verses a move asks to mark. It tells the reading how
// its page is left, and copies verses with their reference.
class ReadingView : public QObject, public ReadingObserver {
    Q_OBJECT
  public:
    ReadingView(ReadingCore& reading, TBrowserPane* pane, QObject* parent = nullptr);
    ~ReadingView() override;

    void PlaceChanged(const Place& before, const Place& after) override;

    // The verse under a point of the pane (viewport coordinates), or at the
    // top of the view for a null point; 1 where none is.
    int VerseAt(const QPoint& point) const;
    // The verse the caret is in while a move's mark shows, else the one at
    // the top of the view.
    int VerseReached() const;
    // Marks verses first to last (0: first alone) for a few seconds.
    void MarkVerses(int first, int last);
    // How the page is laid out (text size, verses by line, width): a view
    // comes back at its scroll position only in the same layout.
    int LayoutKey() const;

    // Copies a verse of the page, with its reference and `abbreviation`
    // when asked; the selection of the page, whose verses get their
    // reference when it spans more than one.
    void CopyVerse(int verse, bool withReference, const QString& abbreviation) const;
    void CopySelection(const QString& abbreviation) const;

  private:
    ReadingCore& reading_;
    TBrowserPane* pane_;
};

}  // namespace lorvane
