#pragma once

// The commentaries the reader imported, kept beside the Bibles in a folder
// of their own (<shelf>/commentaires/), so that none is ever listed among
// the Bibles to read or compare:
//
//   commentaires/<folder>/commentaire.dat   the entries (Commentary.h)
//   commentaires/<folder>/nom.txt, sigle.txt  its name and abbreviation
//   commentaires/import-PID.new/            an import under way
//
// The folders are the list: nothing else to keep in step. A folder whose
// file does not read is left out with a French line in Problems(); nothing
// of it stops the start.

#include <cstddef>
#include <string>
#include <vector>

namespace lorvane::commentary {

struct KeptCommentary {
    std::string folder;        // its folder in the shelf
    std::string name;          // UTF-8
    std::string abbreviation;  // UTF-8
};

class CommentaryShelf {
  public:
    // dir: the folder that holds the commentaries; gets a trailing '/'.
    explicit CommentaryShelf(std::string dir);

    // Lists the folders holding a commentary that opens, by name.
    void Load();
    const std::vector<KeptCommentary>& Commentaries() const { return kept_; }
    const std::vector<std::string>& Problems() const { return problems_; }
    // The file of commentary i.
    std::string FileOf(std::size_t i) const;
    const std::string& Dir() const { return dir_; }

    // The folder an import of this process writes into (removed if an
    // earlier one left it; not made); ends with '/'.
    std::string StagingDir() const;
    // Keeps the commentary an import wrote in `staging`: its folder takes a
    // name made of its abbreviation, its names are written, and the list is
    // read again. Returns its index. Throws CommentaryError (French),
    // staging deleted, when it cannot be kept.
    std::size_t Adopt(const std::string& staging, const std::string& name,
                      const std::string& abbreviation);
    // A new name and abbreviation (an empty one keeps the old). Throws
    // CommentaryError when they cannot be written.
    void Rename(std::size_t i, const std::string& name, const std::string& abbreviation);
    // Deletes commentary i. Throws CommentaryError when it cannot.
    void Remove(std::size_t i);

  private:
    std::string dir_;
    std::vector<KeptCommentary> kept_;
    std::vector<std::string> problems_;
};

}  // namespace lorvane::commentary
