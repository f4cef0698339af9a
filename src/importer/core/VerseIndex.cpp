#include "VerseIndex.h"

#include <algorithm>

namespace lorvane::importer {

VerseIndex::VerseIndex(const std::vector<dw::VerseEntry>& verses)
    : has_(Slot(kBooks, kMaxChapter, kMaxVerse) + 1, 0),
      last_(static_cast<std::size_t>(kBooks) * (kMaxChapter + 1), 0) {
    for (const dw::VerseEntry& v : verses) {
        if (!InRange(v.book, v.chapter, v.verse) || v.verse == 0) continue;
        has_[Slot(v.book, v.chapter, v.verse)] = 1;
        has_[Slot(v.book, v.chapter, 0)] = 1;
        std::uint8_t& last =
            last_[static_cast<std::size_t>(v.book - 1) * (kMaxChapter + 1) + v.chapter];
        last = std::max<std::uint8_t>(last, static_cast<std::uint8_t>(v.verse));
    }
}

bool VerseIndex::Has(int book, int chapter, int verse) const {
    return InRange(book, chapter, verse) && verse >= 1 && has_[Slot(book, chapter, verse)];
}

int VerseIndex::LastVerse(int book, int chapter) const {
    if (!InRange(book, chapter, 0)) return 0;
    return last_[static_cast<std::size_t>(book - 1) * (kMaxChapter + 1) + chapter];
}

bool VerseIndex::HasTarget(int book, int chapter, int first, int last) const {
    if (!InRange(book, chapter, 0) || !has_[Slot(book, chapter, 0)]) return false;
    if (first == 0) return last == 0;
    if (!Has(book, chapter, first)) return false;
    return last == 0 || (last >= first && Has(book, chapter, last));
}

}  // namespace lorvane::importer
