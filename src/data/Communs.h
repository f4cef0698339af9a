#pragma once

// The Bible data of one run: the program folder, the two settings of the
// chapter page, and every table loaded from data/ at start-up. The program
// owns one Communs and hands it by reference to whoever reads the tables;
// tests make their own over fixture folders.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Numbering.h"

namespace lorvane {

inline constexpr int kBookCount = 66;
inline constexpr int kMaxChapter = 150;
inline constexpr int kMaxVerse = 176;

// Slots of each table for a file within the format's limits. A file with
// more records gets a table large enough for all of them plus the marker.
inline constexpr int kVerseSlots = 31171;
inline constexpr int kIndexSlots = 3000;
inline constexpr int kQuoteSlots = 1000;
inline constexpr int kCrossRefSlots = 10000;

// The Book (or first) field of the slot after the last record of a table.
inline constexpr std::int32_t kEndMarker = -1;

// The text of a length-prefixed field of 1 + N bytes on disk (a length
// byte, then N bytes of which the first `length` are the text), kept in
// UTF-8, which may take more than N bytes (a Windows-1252 folder's
// accents).
template <std::size_t N>
struct PString {
    std::string text;

    std::string_view view() const { return text; }
    std::string str() const { return text; }
};

// A verse range: book, chapter, first and last verse. LastVerse 0, or equal
// to FirstVerse, is a single verse.
struct VerseRef {
    std::int32_t Book = 0;
    std::int32_t Chapter = 0;
    std::int32_t FirstVerse = 0;
    std::int32_t LastVerse = 0;
};

// One slot of VerseTable. Text views into the verse bytes that the table's
// Communs keeps (Communs::VerseBytes); it lives as long as they do.
struct TVerset {
    std::int32_t Book = 0;
    std::int32_t Chapter = 0;
    std::int32_t Verse = 0;
    std::string_view Text;  // UTF-8, without the terminator
};

// One record of livre.dat (108 bytes), names kept in their stored form.
struct TLivre {
    PString<51> Name;
    PString<51> ShortName;
    std::int32_t ChapterCount = 0;
};

// One record of index.dat (168 bytes): a heading before a verse.
struct TIndex {
    char Kind = 0;  // 'D' major heading, 'E' minor heading
    std::int32_t Book = 0;
    std::int32_t Chapter = 0;
    std::int32_t Verse = 0;
    PString<151> Title;
};

// One record of citat.dat (32 bytes), kept and never interpreted.
struct TCitat {
    std::int32_t First = 0;
    std::array<std::uint8_t, 28> Rest{};
};

// One record of refer.dat (32 bytes): a source verse and its target.
struct TRefer {
    std::int32_t Book = 0;
    std::int32_t Chapter = 0;
    std::int32_t Verse = 0;
    std::int32_t Reserved = 0;
    VerseRef Target;
};

// The n-th field (from 1) of text split at separator; "" for n <= 0 or when
// the text has fewer fields.
std::string ExtractField(std::string_view text, int n, char separator);

class Communs {
  public:
    // appDir is the program folder; a missing trailing '/' is added.
    // bibleDir, when given, is the folder whose data/ is read; else appDir.
    explicit Communs(std::string appDir = {}, std::string bibleDir = {});

    // The folder of the running executable, ending with '/', whatever the
    // working directory.
    static std::string ExecutableDir();

    // AppDir is the folder the program writes into: its pages (temp.htm,
    // temp0.htm, temp2.htm, them/) and an imported Bible's data/. It is the
    // program folder, or the reader's own folder when the program folder
    // cannot be written (ProgramFolders.h). BibleDir holds the data/ that
    // is read: the program folder, or AppDir once the reader has imported a
    // Bible there. Both end with '/'.
    std::string AppDir;
    std::string BibleDir;
    std::uint8_t VerseTerminator = 254;
    // How the Bible numbers its verses (what its data/numerotation.txt
    // names, else recognised from its chapters at load); never null.
    const Numbering* VerseNumbering = &KnownNumberings().Segond();
    int TextSize = 2;

    // Tables indexed from 1 (slot 0 is never used). Filled by the loaders of
    // FctLoad, read-only afterwards. VerseTable is set with SetVerseTable.
    std::vector<TVerset> VerseTable;
    std::array<TLivre, kBookCount + 1> BookTable{};
    std::vector<TIndex> IndexTable;
    std::vector<TCitat> QuoteTable;
    std::vector<TRefer> CrossRefTable;

    // AppDir + a path relative to it.
    std::string Path(std::string_view relative) const { return AppDir + std::string(relative); }
    // BibleDir + a path relative to it ("data/bible.dat").
    std::string BiblePath(std::string_view relative) const {
        return BibleDir + std::string(relative);
    }

    // Last slot number of each table (its size without slot 0).
    int VerseSlotCount() const { return static_cast<int>(VerseTable.size()) - 1; }
    int IndexSlotCount() const { return static_cast<int>(IndexTable.size()) - 1; }
    int QuoteSlotCount() const { return static_cast<int>(QuoteTable.size()) - 1; }
    int CrossRefSlotCount() const { return static_cast<int>(CrossRefTable.size()) - 1; }

    // The slot of a verse, or 0 when there is none. Numbers outside book
    // 1-66, chapter 1-150, verse 1-176 also give 0.
    std::int32_t VerseLookup(int book, int chapter, int verse) const {
        if (book < 1 || book > kBookCount || chapter < 1 || chapter > kMaxChapter || verse < 1 ||
            verse > kMaxVerse)
            return 0;
        const ChapterEntries& ch = chapters_[ChapterIndex(book, chapter)];
        if (static_cast<std::uint32_t>(verse) > ch.count) return 0;
        return verseSlots_[ch.first + static_cast<std::uint32_t>(verse) - 1];
    }

    // Whether the verse table holds a verse of the chapter.
    bool HasVerses(int book, int chapter) const {
        return book >= 1 && book <= kBookCount && chapter >= 1 && chapter <= kMaxChapter &&
               chapters_[ChapterIndex(book, chapter)].count > 0;
    }

    // The highest verse number of a chapter, 0 for one without verses.
    int HighestVerse(int book, int chapter) const {
        return book >= 1 && book <= kBookCount && chapter >= 1 && chapter <= kMaxChapter
                   ? static_cast<int>(chapters_[ChapterIndex(book, chapter)].count)
                   : 0;
    }

    // Slot of the last verse of a chapter or book; 0 when the chapter has no
    // verse 1 (or the book no chapter 1 with a verse 1).
    std::int32_t LastSlotOfChapter(int book, int chapter) const;
    std::int32_t LastSlotOfBook(int book) const;
    // Number of the last verse of a chapter; 0 when it has no verse 1.
    std::int32_t LastVerseOfChapter(int book, int chapter) const;

    // The book's record; an empty record for numbers outside 1-66.
    const TLivre& Book(int book) const;

    // "%s %d:%d" or "%s %d:%d-%d" with the book's Name (FormatRef) or
    // ShortName (FormatShortRef), in UTF-8.
    std::string FormatRef(int book, int chapter, int firstVerse, int lastVerse) const;
    std::string FormatShortRef(int book, int chapter, int firstVerse, int lastVerse) const;
    std::string FormatShortRef(const VerseRef& ref) const;

    // For the verse loader: installs the table, whose first `verses` slots
    // after slot 0 are verses with texts viewing into `bytes`, one after the
    // other in slot order, and builds VerseLookup from them (a verse that
    // comes twice gets the later slot; numbers outside the lookup are left
    // out of it).
    void SetVerseTable(std::vector<TVerset> table, std::size_t verses,
                       std::shared_ptr<const std::string> bytes);

    // Takes every table of `other` (an import's fresh tables) and the
    // folder they were read from (BibleDir), keeping AppDir and the
    // settings of this one.
    void TakeTables(Communs&& other);

    // The bytes that the verse texts view into ("" before SetVerseTable).
    // The texts of slots 1 to the last verse lie in it in slot order, each
    // after the end of the one before.
    std::string_view VerseBytes() const;

  private:
    static std::size_t ChapterIndex(int book, int chapter) {
        return static_cast<std::size_t>(book - 1) * kMaxChapter + (chapter - 1);
    }

    // VerseLookup[book][chapter][verse], compact: each chapter owns the
    // entries verseSlots_[first .. first + count - 1] for its verses 1 to
    // count, count being its highest verse number; 0 where a verse lacks.
    struct ChapterEntries {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };
    std::vector<ChapterEntries> chapters_;  // kBookCount x kMaxChapter
    std::vector<std::int32_t> verseSlots_;
    std::shared_ptr<const std::string> verseBytes_;
};

}  // namespace lorvane
