#include "BibleData.h"

#include <algorithm>
#include <tuple>

#include "BibleText.h"
#include "Canon.h"
#include "Cp1252.h"

namespace lorvane::importer {

std::string Place(int book, int chapter, int verse) {
    std::string code = book >= 1 && book <= kBooks ? std::string(datawriter::kCanon[book - 1].code)
                                                   : "book " + std::to_string(book);
    return code + " " + std::to_string(chapter) + ":" + std::to_string(verse);
}

void FinishBible(BibleData& bible, Report& report) {
    auto byVerse = [](const auto& a, const auto& b) {
        return std::tie(a.book, a.chapter, a.verse) < std::tie(b.book, b.chapter, b.verse);
    };
    std::stable_sort(bible.headings.begin(), bible.headings.end(), byVerse);
    std::stable_sort(bible.crossRefs.begin(), bible.crossRefs.end(), byVerse);

    for (dw::IndexRecord& h : bible.headings) {
        std::string full = h.title;
        if (CutTitle(h.title)) {
            report.Warn("headings longer than 151 characters, cut with an ellipsis",
                        Place(h.book, h.chapter, h.verse) + " (" + std::to_string(full.size()) +
                            "): " + full,
                        200);
        }
    }

    // The reading program stores book, chapter and verse in single bytes
    // and looks verses up within book 1-66, chapter 1-150, verse 1-176.
    for (const dw::VerseEntry& v : bible.verses) {
        if (v.book < 1 || v.book > kBooks || v.chapter < 1 || v.chapter > kMaxChapter ||
            v.verse < 1 || v.verse > kMaxVerse) {
            report.Error("verse " + Place(v.book, v.chapter, v.verse) +
                         " outside book 1-66, chapter 1-150, verse 1-176");
        }
        if (v.text.find('\xFE') != std::string::npos)
            report.Error("verse " + Place(v.book, v.chapter, v.verse) + " holds the byte 254");
    }
    if (bible.books.size() != kBooks)
        report.Error(std::to_string(bible.books.size()) + " book records instead of 66");
    if (bible.verses.size() > kVerseSlots) {
        report.Warn("more verses than the reading program's 31,171 slots",
                    std::to_string(bible.verses.size()) + " verses");
    }

    int major = 0, minor = 0;
    for (const dw::IndexRecord& h : bible.headings)
        (h.kind == 'D' ? major : minor)++;
    int chapters = 0;
    for (const dw::BookRecord& b : bible.books)
        chapters += b.chapterCount;
    report.Summary("source: " + bible.source);
    report.Summary("books: " + std::to_string(bible.books.size()) + ", chapters: " +
                   std::to_string(chapters) + ", verses: " + std::to_string(bible.verses.size()));
    report.Summary("headings: " + std::to_string(bible.headings.size()) + " (" +
                   std::to_string(major) + " major, " + std::to_string(minor) + " section)");
    report.Summary("cross-references: " + std::to_string(bible.crossRefs.size()));
}

}  // namespace lorvane::importer
