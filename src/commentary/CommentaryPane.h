#pragma once

// The « Commentaire » pane: a list of the commentaries kept at the top, and
// below it the entry of the chosen one on the verse the reading shows (the
// verse moved to, or the verse at the top of the view when the place comes
// back with it), following every move. Its verse links move the reading.

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "Commentary.h"
#include "CommentaryShelf.h"
#include "ReadingCore.h"

class QComboBox;
class QTextBrowser;
class QUrl;

namespace lorvane {

class CommentaryPane : public QWidget, public ReadingObserver {
    Q_OBJECT
  public:
    // shelfDir: the folder of the commentaries kept (CommentaryShelf).
    explicit CommentaryPane(const std::string& shelfDir, QWidget* parent = nullptr);
    ~CommentaryPane() override;

    void Follow(ReadingCore& reading);
    void PlaceChanged(const Place& before, const Place& after) override;
    // The caret's verse, or the verse a scroll brought to the top.
    void VerseReadChanged(int verse) override;

    // Keeps the commentary an import wrote in `staging` and shows it.
    // Throws CommentaryError (French) when it cannot be kept.
    void Adopt(const std::string& staging, const std::string& name,
               const std::string& abbreviation);
    // Reads the shelf again (after an import or a removal) and chooses the
    // commentary in `folder` when given, else keeps the choice.
    void Reload(const std::string& folder = {});

    // « Gérer les Bibles... » renames and removes the commentaries kept:
    // false, the reader told why, when it cannot.
    bool RenameKept(std::size_t i, const QString& name, const QString& abbreviation);
    bool RemoveKept(std::size_t i);

    commentary::CommentaryShelf& Shelf() { return shelf_; }
    QComboBox* Choice() const { return choice_; }
    QTextBrowser* Text() const { return text_; }
    // The Segond verse whose entry is shown; 0 before any.
    VersePlace Verse() const { return verse_; }

  private:
    void Choose(int index);
    void ShowEntry();
    void FollowLink(const QUrl& url);

    commentary::CommentaryShelf shelf_;
    std::optional<commentary::Commentary> open_;
    VersePlace verse_ = 0;
    QComboBox* choice_;
    QTextBrowser* text_;
    bool filling_ = false;
};

}  // namespace lorvane
