#pragma once

// The reader's Bibles: the one the program came with and every Bible the
// reader imported, which one is shown, and where each lives.
//
//   <shelf>/bibles.txt        the list: folder, abbreviation, name, date of
//                             import, one Bible a line; the current choice
//   <shelf>/bibles.lock       locked while a program reads, changes and
//                             writes the list
//   <shelf>/<folder>/data/    an imported Bible's data set, with its names
//                             (nom.txt, sigle.txt)
//   <shelf>/import-PID.new/   an import under way by process PID
//   <shelf>/suppression-PID-<folder>.old/   a Bible being deleted
//
// The program's own Bible is the data/ of its folder (or the one the reader
// imported there before Bibles were kept side by side); it is listed as the
// folder "*" and may be hidden, never deleted. The Bibles in the original
// languages come with the program too, each whole data set of
//
//   <program folder>/originaux/<id>/data/   with its licence.txt
//
// listed after it, sorted by id, as the folder "*<id>" ("*grc"): hidden,
// never deleted; renamed in the list only, as the program's folder may be
// read-only. An older program skips their lines (written behind "#+", a
// comment to it) and keeps every Bible of the reader; when it writes the
// list again, they come back shown under their own names. Every change takes the lock,
// reads the list again, makes its one change and writes it whole and
// durably (FileIo.h): two programs open at once never leave a half list,
// and each keeps what the other added.
//
// A kept Bible's folder is never deleted but by Remove. A list that does
// not read (damaged, emptied, deleted, unreadable) is set aside as
// bibles.txt.illisible and made again from what of it reads and from the
// Bible folders themselves, which carry their names; a whole Bible folder
// that no line names is listed again. Only the leftovers of a process that
// is gone are removed at start. Names are kept as typed (UTF-8) and never
// make a path: a Bible's folder is made of its abbreviation's letters and
// digits.

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "BibleNames.h"
#include "FileIo.h"

namespace lorvane::bibles {

// A change the shelf cannot make; what() is French, for the reader.
class ShelfError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kListFile = "bibles.txt";
inline constexpr const char* kLockFile = "bibles.lock";
// Where a list that did not read is set aside.
inline constexpr const char* kUnreadListFile = "bibles.txt.illisible";
// The largest list read: some thousands of Bibles.
inline constexpr std::size_t kMaxListBytes = 1024 * 1024;
// The folder field of the program's own Bible.
inline constexpr const char* kProgramBible = "*";
// The folder of the program that holds the Bibles in the original
// languages, and the file of their licence (UTF-8), in data/ or beside it.
inline constexpr const char* kShippedFolder = "originaux";
inline constexpr const char* kLicenceFile = "licence.txt";
inline constexpr std::size_t kMaxLicenceBytes = 256 * 1024;
// What starts the list lines of the shipped Bibles: a comment to a program
// that does not know them.
inline constexpr const char* kShippedLine = "#+\t";
// The files of a Bible's data/ that name it (UTF-8, one line each), as the
// import writes them.
using lorvane::kAbbreviationFile;
using lorvane::kNameFile;
// What a Bible is called when nothing names it.
inline constexpr const char* kDefaultName = "Bible installée";
using lorvane::kDefaultAbbreviation;
inline constexpr std::size_t kMaxName = kNameLength;
inline constexpr std::size_t kMaxAbbreviation = kAbbreviationLength;

struct KeptBible {
    std::string folder;        // its folder in the shelf, kProgramBible or "*<id>"
    std::string name;          // UTF-8, as the reader sees it
    std::string abbreviation;  // UTF-8, at most 8 characters
    std::string imported;      // "2026-12-08"; "" for the program's Bible
};

// A name as it is kept: CleanBibleName, cut at `max` characters.
inline std::string CleanName(std::string_view text, std::size_t max = kMaxName) {
    return CleanBibleName(text, max);
}

// Whether a folder field can only name a folder inside the shelf: 1 to 40
// lower-case ASCII letters, digits and dashes, not starting with a dash.
bool IsShelfFolderName(const std::string& folder);
// Whether a folder field names a Bible shipped in originaux/: "*" then 1 to
// 40 lower-case ASCII letters and digits.
bool IsShippedFolder(const std::string& folder);
// Whether a folder field names a Bible that came with the program (its own
// or a shipped one): hidden, never deleted, its files never written.
inline bool ComesWithProgram(const std::string& folder) {
    return !folder.empty() && folder[0] == '*';
}

// The list file's text for these Bibles and choice, and back. A line that
// does not read is left out, counted, with one English line on standard
// error.
struct ShelfList {
    std::vector<KeptBible> bibles;
    bool programHidden = false;
    std::vector<std::string> hidden;  // the shipped Bibles hidden ("*grc")
    std::string current;              // the folder field of the Bible shown
    int unreadLines = 0;              // lines left out by ReadShelfList
};
std::string WriteShelfList(const ShelfList& list);
ShelfList ReadShelfList(const std::string& text);

class BibleShelf {
  public:
    // shelfDir: where imported Bibles go; programBibleDir: the folder whose
    // data/ is the program's own Bible; shippedDir: the program folder that
    // holds originaux/, programBibleDir when "" (they differ when the
    // program's own Bible is one an earlier version imported into the
    // reader's folder). Each gets a trailing '/'. Reads nothing: Load() does.
    BibleShelf(std::string shelfDir, std::string programBibleDir, std::string shippedDir = {});

    // Reads the list (a missing or unreadable one is an empty list) and
    // leaves out every Bible whose data set is not whole, with a French
    // message naming it in Problems(). The program's Bible is listed first
    // unless hidden, or unless it has no data set while another Bible has;
    // then the shipped Bibles not hidden; then the imported ones. A shipped
    // Bible whose abbreviation an imported one has is numbered, as an
    // import would be.
    void Load();

    const std::vector<KeptBible>& Bibles() const { return bibles_; }
    const std::vector<std::string>& Problems() const { return problems_; }
    std::size_t Count() const { return bibles_.size(); }
    const KeptBible& At(std::size_t i) const { return bibles_.at(i); }

    // The Bible shown: the one chosen last, else the first.
    std::size_t Current() const { return current_; }
    // The folder whose data/ holds Bible i, ending with '/'.
    std::string DirOf(std::size_t i) const;
    std::string CurrentDir() const { return bibles_.empty() ? programDir_ : DirOf(current_); }
    // The Bible whose folder is dir, if it is listed.
    std::optional<std::size_t> Find(const std::string& dir) const;
    const std::string& ShelfDir() const { return shelfDir_; }
    // The program's folder, which holds the shipped Bibles and dictionaries.
    const std::string& ShippedDir() const { return shippedDir_; }

    // The next Bible after the current one, round.
    std::size_t Next() const { return bibles_.empty() ? 0 : (current_ + 1) % bibles_.size(); }

    // The Bibles shipped in originaux/ with a whole data set, hidden or not,
    // under their own names, as of the last change or Load().
    struct ShippedBible {
        std::string folder;  // "*grc"
        std::string name;
        std::string abbreviation;
        std::string dir;  // ends with '/'
        bool hidden = false;
    };
    const std::vector<ShippedBible>& Shipped() const { return shipped_; }
    // Whether the reader hid a Bible that came with the program.
    bool HasHidden() const { return hiddenCount_ > 0; }
    // Shows again every Bible that came with the program the reader hid.
    void ShowHidden();

    // Makes Bible i the one shown, now and, when `keep`, at the next start.
    void Choose(std::size_t i, bool keep = true);
    // A new name and abbreviation, as typed (cleaned); an empty one keeps
    // the old. Kept in the list and, for an imported Bible, in its own
    // nom.txt and sigle.txt, so that a list made again keeps them (one that
    // came with the program keeps its files untouched). An
    // abbreviation another Bible has is refused: ShelfError.
    void Rename(std::size_t i, const std::string& name, const std::string& abbreviation);
    // Takes Bible i off the list and deletes its folder (one that came with
    // the program is only hidden). The last Bible is never removed: ShelfError. When it
    // was the one shown, the first of the others becomes current.
    void Remove(std::size_t i);
    // At start: Bible i did not load. It is left out for this run (the list
    // keeps it), with a French message naming it; the first other Bible
    // becomes current. False when it was the last.
    bool LeaveOut(std::size_t i);

    // The folder an import of this process writes into before Adopt: the
    // shelf's import-PID.new/, removed if an earlier import left it; ends
    // with '/'. The import makes it, and says when it cannot.
    std::string StagingDir() const;
    // Keeps the Bible an import wrote in `staging` (from StagingDir), named
    // as the import found it (its abbreviation numbered when another Bible
    // has it: DistinctAbbreviation), imported `today`, and makes it
    // current: the folder is renamed into the shelf under a name made of its
    // abbreviation, then listed. When a kept Bible has the same name and
    // the same text, staging is deleted and that Bible is returned with
    // `added` false. Throws ShelfError, staging deleted, when the Bible
    // cannot be kept.
    struct Added {
        std::size_t index = 0;
        bool added = false;
    };
    Added Adopt(const std::string& staging, const std::string& name,
                const std::string& abbreviation, const std::string& today);

    // Deletes what an import or a removal of a process that is gone left
    // in the shelf (import-PID.new/, suppression-PID-*.old/). Nothing else
    // is ever removed: not a Bible's folder, listed or not.
    void RemoveLeftovers() const;

  private:
    // Makes the shelf folder when missing and takes its lock; ShelfError
    // with the reason when the folder cannot be written.
    std::unique_ptr<FileLock> LockShelf() const;
    // The list as it stands, under the lock: set aside and made again when
    // it does not read, with every whole Bible folder it lacks added back;
    // written when that changed it. `said`: a French sentence for the
    // reader when the list had to be made again.
    ShelfList ReadListLocked(std::string* said);
    void WriteList(const ShelfList& list) const;
    // bibles_ and current_ from the list: the program's Bible, then every
    // listed Bible with a whole data set that did not fail to load this
    // run; `report` names the others in Problems(). currentFolder is a copy:
    // it may name an entry of bibles_, which this rewrites.
    void TakeList(const ShelfList& list, std::string currentFolder, bool report);
    KeptBible ProgramBible() const;
    // The Bibles shown (after TakeList) and those the list keeps besides,
    // left out for this run or damaged: none may share an abbreviation.
    std::vector<KeptBible> KnownBibles(const ShelfList& list) const;

    std::string shelfDir_;
    std::string programDir_;
    std::string shippedDir_;
    std::vector<KeptBible> bibles_;
    std::vector<ShippedBible> shipped_;
    std::size_t hiddenCount_ = 0;
    std::vector<std::string> problems_;
    std::vector<std::string> leftOut_;  // folders that did not load this run
    std::size_t current_ = 0;
};

// The name and abbreviation a Bible's data/ gives itself (nom.txt,
// sigle.txt), each "" when missing; cleaned.
using lorvane::ReadNameFile;

// `abbreviation` when none of `bibles` has it, else numbered from 2 on
// ("LSG2", "LSG3"), cut so as to stay within kMaxAbbreviation characters.
std::string DistinctAbbreviation(const std::string& abbreviation,
                                 const std::vector<KeptBible>& bibles);

// Whether two Bible folders hold the same text (their data/bible.dat).
bool SameText(const std::string& dirA, const std::string& dirB);

// The books of the 66 that a Bible's data/livre.dat gives chapters; 0 when
// it does not read.
int CountBooks(const std::string& bibleDir);

// The licence of the Bible in bibleDir: its data/licence.txt, else the
// licence.txt beside data/; "" when it has none or it does not read. UTF-8
// as written, line ends "\n", without other control characters, at most
// kMaxLicenceBytes.
std::string ReadLicence(const std::string& bibleDir);

// What the About box says of the shipped Bibles: each one's name, then its
// licence; "" when none is shipped.
std::string ShippedCredits(const BibleShelf& shelf);

}  // namespace lorvane::bibles
