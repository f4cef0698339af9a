#pragma once

// The life of the reader's Bibles in the reading: the one read (shown in
// every tab, at the places it has), the ones compared with it, an import
// adopted, a Bible renamed or removed. The shelf keeps them; the reading
// shows them; this says to the reader what went wrong.

#include <QString>
#include <cstddef>
#include <string>
#include <vector>

#include "BibleShelf.h"
#include "BiblesFace.h"
#include "ReadingCore.h"

class QAction;
class QMenu;
class QWidget;

namespace lorvane::bibles {

class BibleChoice {
  public:
    // `window` is the parent of the boxes that tell the reader.
    BibleChoice(BibleShelf& shelf, ReadingCore& reading, QWidget* window);

    // Bible i of the shelf read in every tab; false, after saying why, when
    // it does not load.
    bool Show(std::size_t i);
    // The next Bible of the shelf (Ctrl+Maj+B).
    void ShowNext();
    // Bible i in a column beside the one read, or out of the comparison
    // when it was in; the comparison ended.
    void CompareWith(std::size_t i);
    void StopComparing();
    // The Bibles of the shelf shown beside the one read.
    std::vector<std::size_t> Compared() const;
    // Their folders on the shelf, in column order, as a session keeps them;
    // and those of a session compared again (a Bible gone from the shelf,
    // or that does not load, is left out).
    std::vector<std::string> ComparedFolders() const;
    void CompareAgain(const std::vector<std::string>& folders);

    // The "Bible" menu filled again; "Gérer les Bibles...".
    void FillMenu(QMenu* menu, QAction* next);
    void Manage();
    // The commentaries « Gérer les Bibles... » lists after the Bibles.
    void SetCommentaries(CommentaryRows rows) { commentaries_ = std::move(rows); }
    bool Rename(std::size_t i, const QString& name, const QString& abbreviation);
    // Never the last Bible; the one read gives way to another first.
    bool Remove(std::size_t i);
    // The Bibles that came with the program shown again, the hidden ones;
    // false, after saying why, when the list cannot be written.
    bool ShowHidden();
    // What the shelf found wrong at start, in one box.
    void TellProblems();

    // An import's tables adopted by the shelf and read: "" when they were,
    // else why not (the same Bible is already kept).
    QString Adopt(Communs&& tables, const std::string& name, const std::string& abbreviation);
    // The abbreviation of the Bible read for quotes ("LSG"), none for a
    // Bible that has none.
    QString Abbreviation() const;
    // The name of the Bible read, as the Bible menu shows it.
    QString Name() const;

  private:
    std::string NameRead() const;

    BibleShelf& shelf_;
    ReadingCore& reading_;
    QWidget* window_;
    CommentaryRows commentaries_;
};

}  // namespace lorvane::bibles
