#pragma once

// The writing pad's documents and their Rich Text Format. A document is a
// list of paragraphs, each a list of runs of equally formatted text; the
// formatting is what the pad can apply: typeface, size, bold, italic,
// underline, colour, a vertical offset, alignment, bullets and two indents.
// Text is UTF-8; inside a run '\t' is a tab and '\n' a line break that does
// not end the paragraph.
//
// Write() makes RTF 1 that WordPad, Word and LibreOffice read. Read() takes
// the RTF of any of them (what it does not model is skipped) and reads a
// file that is not RTF as plain text. Neither needs a window.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::rtf {

inline constexpr const char* kDefaultFont = "Arial";
inline constexpr int kDefaultHalfPoints = 20;  // 10 points

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Color&) const = default;
};

struct CharFormat {
    std::string font = kDefaultFont;  // typeface name, UTF-8; empty: the reader's default
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<Color> color;  // none: the automatic colour
    // Vertical offset of the characters in half-points, up when positive;
    // the size stays as it is.
    int offset = 0;
    bool operator==(const CharFormat&) const = default;
};

enum class Alignment { Left = 0, Right = 1, Center = 2, Justify = 3 };

struct ParaFormat {
    Alignment alignment = Alignment::Left;
    bool bullet = false;      // an item of a bulleted list
    int leftIndent = 0;       // twips (twentieths of a point)
    int firstLineIndent = 0;  // twips, from the left indent; negative hangs
    bool numbered = false;    // an item of a numbered list (1., 2., ...); never with bullet
    bool operator==(const ParaFormat&) const = default;
};

struct Run {
    CharFormat format;
    std::string text;
    bool operator==(const Run&) const = default;
};

struct Paragraph {
    ParaFormat format;
    std::vector<Run> runs;
    // The format of the paragraph mark: what an empty paragraph shows and
    // what typing at its end takes.
    CharFormat mark;
    bool operator==(const Paragraph&) const = default;
};

struct Document {
    std::vector<Paragraph> paragraphs;  // never empty after Read()
    bool operator==(const Document&) const = default;
};

// Bounds of the values Read() gives and Write() writes.
inline constexpr int kMinHalfPoints = 2;
inline constexpr int kMaxHalfPoints = 3276;
inline constexpr int kMaxIndent = 31680;  // 22 inches, in twips
inline constexpr int kMaxOffset = 3276;

// The RTF of a document: Windows-1252 bytes with \uN for anything else.
std::string Write(const Document& doc);

// The document of RTF bytes, or of plain text when the bytes do not start
// with "{\rtf". Never throws on any input but for lack of memory; time is
// linear in the size of the input.
Document Read(std::string_view bytes);

bool IsRtf(std::string_view bytes);

// The text of a document, paragraphs ended by '\n' (for tests and checks).
std::string PlainText(const Document& doc);

}  // namespace lorvane::rtf
