#pragma once

// Archives for the import tests, written with libarchive: the Louis Segond
// books named as eBible names them, with the front matter and the page that
// come in its download, and hostile archives.

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lorvane::testing {

using ZipEntries = std::vector<std::pair<std::string, std::string>>;  // path, bytes

// Writes a zip (deflate) of the entries, in their order.
void WriteZip(const std::filesystem::path& zip, const ZipEntries& entries);

// The Louis Segond folder the tests read (empty when it is not on this
// machine).
std::filesystem::path LsgDir();

// The books first..last (numbers 1-66) of the Louis Segond folder as
// "fraLSG_usfm/02-GENfraLSG.usfm" ..., then the front matter
// ("00-FRTfraLSG.usfm", \id FRT) and "fraLSG.htm".
ZipEntries LsgEntries(int first = 1, int last = 66);

// A small USFM book: `code`, `chapters` chapters of `verses` verses "Texte
// de CODE c.v".
std::string TinyBook(const std::string& code, int chapters = 1, int verses = 3);

// Every file under `dir`, by its path relative to it, with its bytes: two
// snapshots compare equal when nothing was written there.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& dir);

// Root writes anywhere: while this lives, the thread (and the threads it
// starts) lacks the capability that lets it, as a reader's program does.
class WithoutRootOverride {
  public:
    WithoutRootOverride();
    ~WithoutRootOverride();
    WithoutRootOverride(const WithoutRootOverride&) = delete;
    WithoutRootOverride& operator=(const WithoutRootOverride&) = delete;

  private:
    struct Saved;
    Saved* saved_;
};

}  // namespace lorvane::testing
