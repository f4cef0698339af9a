#pragma once

// A commentary kept beside the Bibles: its entries, each the HTML of one
// comment on a verse or a run of verses of one chapter, placed in the
// Segond's numbering. Widget-free.
//
// The file (commentaire.dat), little-endian:
//   "LVCOMM1\n"
//   u32 count
//   count records of 16 bytes, sorted by place: u32 first verse
//     (VersePlace), u16 last verse of the run (>= the first's), u16 0,
//     u32 offset of the text from the start of the texts, u32 its length
//   the texts, UTF-8 HTML
// Several records may share one text (a run split by the renumbering). The
// index is read once; a text is read from the file when it is asked for.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Numbering.h"

namespace lorvane::commentary {

// A commentary that cannot be read or written; what() is French.
class CommentaryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kCommentaryFile = "commentaire.dat";
// The longest text of one entry.
inline constexpr std::uint32_t kMaxEntryBytes = 4u << 20;

struct CommentaryEntry {
    VersePlace first = 0;  // Segond
    int lastVerse = 0;     // in the same chapter, >= VerseOf(first)
    std::string html;
};

// The file's bytes for these entries; entries with the same html text keep
// one copy of it. Throws CommentaryError for an entry whose place is not a
// verse or whose text is too long.
std::string EncodeCommentary(const std::vector<CommentaryEntry>& entries);

class Commentary {
  public:
    // Reads the index of the file at `path`. Throws CommentaryError when it
    // is missing, damaged or not a commentary.
    static Commentary Open(const std::string& path);
    // The same on the file's bytes, kept in memory.
    static Commentary FromBytes(std::string bytes);

    struct Found {
        std::string html;
        VersePlace first = 0;  // the run the entry covers, Segond
        int lastVerse = 0;
    };
    // The entry on Segond verse `segond`: the shortest run that holds it;
    // nullopt when there is none. Throws CommentaryError when its text can
    // no longer be read.
    std::optional<Found> EntryFor(VersePlace segond) const;

    std::size_t Count() const { return records_.size(); }

  private:
    struct Record {
        VersePlace first;
        std::uint16_t last;
        std::uint32_t offset, size;
    };
    static Commentary Parse(std::string_view head, std::uint64_t fileSize);
    std::string TextOf(const Record& r) const;

    std::string path_;   // the file, or
    std::string bytes_;  // its bytes when FromBytes
    std::uint64_t textsAt_ = 0;
    std::vector<Record> records_;
};

}  // namespace lorvane::commentary
