#pragma once

// The tagged words of a verse as the pages write them: each word behind an
// anchor that names it (the word pane finds it under the caret or the
// mouse), and in the interlinear layout its Strong's number and brief
// parsing written under it. Widget-free.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "WordTable.h"

namespace lorvane {

// The tagged words of one Bible for a page: its table and the number its
// anchors carry, which says whose words they are; none without a table.
struct PageWords {
    const words::WordTable* table = nullptr;
    int id = 0;
};

// A word anchor: ".m" id "." book "." chapter "." verse "." index among
// the verse's tagged words. The leading dot tells it from a verse's anchor.
struct WordAnchor {
    int id = 0, book = 0, chapter = 0, verse = 0;
    std::size_t word = 0;
};
std::string WordAnchorName(const WordAnchor& a);
std::optional<WordAnchor> ParseWordAnchor(std::string_view name);

// Appends the verse text with its tagged words marked; in the interlinear
// layout each word of the verse stands in a small block of its own, the
// number and the brief parsing of a tagged one under it, the blocks running
// from the right in a text written right to left. Spans that do not fall
// on the text's characters, or overlap, are written as plain text. The
// interlinear puts `numberHtml` (the verse's number) in the first block.
void AppendTaggedVerse(std::string& out, std::string_view text,
                       std::span<const words::WordTable::Word> tags, const PageWords& words,
                       int book, int chapter, int verse, bool interlinear, bool rightToLeft,
                       std::string_view numberHtml = {});

// "G3056" and « n. nom. m. s. »: what the interlinear writes under a word.
std::string InterlinearNote(const words::WordTable::Word& word);

}  // namespace lorvane
