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

Communs::Communs(std::string appDir)
    : AppDir(std::move(appDir)),
      lookup_(static_cast<std::size_t>(kBookCount) * kMaxChapter * kMaxVerse, 0) {
    if (!AppDir.empty() && AppDir.back() != '/') AppDir += '/';
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

void Communs::ResetVerseLookup() {
    std::fill(lookup_.begin(), lookup_.end(), 0);
}

bool Communs::SetVerseLookup(int book, int chapter, int verse, std::int32_t slot) {
    if (book < 1 || book > kBookCount || chapter < 1 || chapter > kMaxChapter || verse < 1 ||
        verse > kMaxVerse)
        return false;
    lookup_[LookupIndex(book, chapter, verse)] = slot;
    lookupUsed_ = true;
    return true;
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
