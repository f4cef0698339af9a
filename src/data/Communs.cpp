#include "Communs.h"

#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace lorvane {

std::string ExtractField(std::string_view text, int n, char separator) {
    if (n <= 0) return {};
    std::size_t start = 0;
    for (int field = 1;; ++field) {
        std::size_t end = text.find(separator, start);
        if (field == n) {
            return std::string(
                text.substr(start, end == std::string_view::npos ? end : end - start));
        }
        if (end == std::string_view::npos) return {};
        start = end + 1;
    }
}

Communs::Communs(std::string appDir, std::string bibleDir)
    : AppDir(std::move(appDir)),
      BibleDir(std::move(bibleDir)),
      chapters_(static_cast<std::size_t>(kBookCount) * kMaxChapter) {
    if (!AppDir.empty() && AppDir.back() != '/') AppDir += '/';
    if (BibleDir.empty()) BibleDir = AppDir;
    if (!BibleDir.empty() && BibleDir.back() != '/') BibleDir += '/';
    VerseTable.resize(kVerseSlots + 1);
    IndexTable.resize(kIndexSlots + 1);
    QuoteTable.resize(kQuoteSlots + 1);
    CrossRefTable.resize(kCrossRefSlots + 1);
}

std::string Communs::ExecutableDir() {
    std::string path(4096, '\0');
    ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) throw std::runtime_error("cannot find the program's folder (/proc/self/exe)");
    path.resize(static_cast<std::size_t>(n));
    std::size_t slash = path.rfind('/');
    return path.substr(0, slash + 1);
}

void Communs::SetVerseTable(std::vector<TVerset> table, std::size_t verses,
                            std::shared_ptr<const std::string> bytes) {
    verses = std::min(verses, table.empty() ? 0 : table.size() - 1);
    auto inLookup = [](const TVerset& v) {
        return v.Book >= 1 && v.Book <= kBookCount && v.Chapter >= 1 && v.Chapter <= kMaxChapter &&
               v.Verse >= 1 && v.Verse <= kMaxVerse;
    };
    // Each chapter's highest verse number, then where its entries start.
    std::vector<ChapterEntries> chapters(static_cast<std::size_t>(kBookCount) * kMaxChapter);
    for (std::size_t s = 1; s <= verses; ++s) {
        const TVerset& v = table[s];
        if (!inLookup(v)) continue;
        ChapterEntries& ch = chapters[ChapterIndex(v.Book, v.Chapter)];
        ch.count = std::max(ch.count, static_cast<std::uint32_t>(v.Verse));
    }
    std::uint32_t next = 0;
    for (ChapterEntries& ch : chapters) {
        ch.first = next;
        next += ch.count;
    }
    std::vector<std::int32_t> slots(next, 0);
    for (std::size_t s = 1; s <= verses; ++s) {
        const TVerset& v = table[s];
        if (!inLookup(v)) continue;
        const ChapterEntries& ch = chapters[ChapterIndex(v.Book, v.Chapter)];
        slots[ch.first + static_cast<std::uint32_t>(v.Verse) - 1] = static_cast<std::int32_t>(s);
    }
    VerseTable = std::move(table);
    chapters_ = std::move(chapters);
    verseSlots_ = std::move(slots);
    verseBytes_ = std::move(bytes);
}

void Communs::TakeTables(Communs&& other) {
    BibleDir = other.BibleDir;
    VerseTable = std::move(other.VerseTable);
    BookTable = other.BookTable;
    IndexTable = std::move(other.IndexTable);
    QuoteTable = std::move(other.QuoteTable);
    CrossRefTable = std::move(other.CrossRefTable);
    chapters_ = std::move(other.chapters_);
    verseSlots_ = std::move(other.verseSlots_);
    verseBytes_ = std::move(other.verseBytes_);
    VerseNumbering = other.VerseNumbering;
}

std::string_view Communs::VerseBytes() const {
    return verseBytes_ ? std::string_view(*verseBytes_) : std::string_view();
}

std::int32_t Communs::LastSlotOfChapter(int book, int chapter) const {
    std::int32_t s = VerseLookup(book, chapter, 1);
    if (s == 0) return 0;
    const int last = VerseSlotCount();
    while (s <= last && VerseTable[s].Book == book && VerseTable[s].Chapter == chapter)
        ++s;
    return s - 1;
}

std::int32_t Communs::LastSlotOfBook(int book) const {
    return LastSlotOfChapter(book, Book(book).ChapterCount);
}

std::int32_t Communs::LastVerseOfChapter(int book, int chapter) const {
    std::int32_t s = LastSlotOfChapter(book, chapter);
    return s == 0 ? 0 : VerseTable[s].Verse;
}

const TLivre& Communs::Book(int book) const {
    static const TLivre kNone{};
    if (book < 1 || book > kBookCount) return kNone;
    return BookTable[book];
}

namespace {

std::string FormatWithName(std::string_view name, int chapter, int firstVerse, int lastVerse) {
    char numbers[48];
    if (lastVerse != 0 && lastVerse != firstVerse) {
        std::snprintf(numbers, sizeof numbers, " %d:%d-%d", chapter, firstVerse, lastVerse);
    } else {
        std::snprintf(numbers, sizeof numbers, " %d:%d", chapter, firstVerse);
    }
    std::string out(name);
    out += numbers;
    return out;
}

}  // namespace

std::string Communs::FormatRef(int book, int chapter, int firstVerse, int lastVerse) const {
    return FormatWithName(Book(book).Name.view(), chapter, firstVerse, lastVerse);
}

std::string Communs::FormatShortRef(int book, int chapter, int firstVerse, int lastVerse) const {
    return FormatWithName(Book(book).ShortName.view(), chapter, firstVerse, lastVerse);
}

std::string Communs::FormatShortRef(const VerseRef& ref) const {
    return FormatShortRef(ref.Book, ref.Chapter, ref.FirstVerse, ref.LastVerse);
}

}  // namespace lorvane
