#include "Highlights.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "FileIo.h"

namespace lorvane {

Highlights::Highlights(std::string path) : path_(std::move(path)) {
    try {
        book_.Load(path_);
    } catch (const std::exception& e) {
        std::cerr << "lorvane: the notes file " << path_ << " was not read: " << e.what()
                  << std::endl;
    }
}

void Highlights::Set(const Numbering& numbering, int book, int chapter, int verse, Colour colour) {
    Set(numbering, book, chapter, verse, verse, colour);
}

void Highlights::Set(const Numbering& numbering, int book, int chapter, int first, int last,
                     Colour colour) {
    std::vector<VersePlace> verses;
    for (int v = std::max(first, 1); v <= std::min(last, 176); ++v)
        if (const VersePlace segond = numbering.ToSegond(PlaceOf(book, chapter, v)); segond != 0)
            verses.push_back(segond);
    if (verses.empty()) return;
    book_.SetHighlights(verses, colour);
    std::error_code ignored;  // a folder that cannot be made says so at the write
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ignored);
    book_.Save(path_);
}

Colour Highlights::At(const Numbering& numbering, int book, int chapter, int verse) const {
    const VersePlace segond = numbering.ToSegond(PlaceOf(book, chapter, verse));
    return segond == 0 ? Colour::None : book_.HighlightAt(segond);
}

std::uint32_t Highlights::BackgroundAt(VersePlace segond) const {
    const Colour c = book_.HighlightAt(segond);
    return c == Colour::None ? 0 : ColourRgb(c);
}

}  // namespace lorvane
