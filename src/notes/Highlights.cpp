#include "Highlights.h"

#include <filesystem>
#include <iostream>
#include <system_error>

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
    const VersePlace segond = numbering.ToSegond(PlaceOf(book, chapter, verse));
    if (segond == 0) return;
    book_.SetHighlight(segond, colour);
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
