#include "BibleText.h"

#include <QString>
#include <cstdio>
#include <stdexcept>

#include "Cp1252.h"
#include "FormSniffing.h"
#include "Reasons.h"
#include "Utf8.h"

namespace lorvane::importer {
namespace {

constexpr char32_t kBad = 0xFFFD;

bool IsNoncharacter(char32_t cp) {
    return (cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE;
}

bool IsBidiControl(char32_t cp) {
    return (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
    return utf8::Next(s, pos);
}

void AppendUtf8(std::string& out, char32_t cp) {
    utf8::Append(out, cp);
}

std::string CodePointName(char32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
    return buf;
}

std::string NormalizeSpaces(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool pendingSpace = false;
    for (char c : text) {
        if (IsSpace(c)) {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace) out += ' ';
        pendingSpace = false;
        out += c;
    }
    // No-break spaces at either end go too, and the plain spaces they
    // uncover.
    constexpr std::string_view kNoBreak = "\u00A0";
    std::string_view v = out;
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        while (v.substr(0, kNoBreak.size()) == kNoBreak || (!v.empty() && v.front() == ' ')) {
            v.remove_prefix(v.front() == ' ' ? 1 : kNoBreak.size());
            trimmed = true;
        }
        while ((v.size() >= kNoBreak.size() && v.substr(v.size() - kNoBreak.size()) == kNoBreak) ||
               (!v.empty() && v.back() == ' ')) {
            v.remove_suffix(v.back() == ' ' ? 1 : kNoBreak.size());
            trimmed = true;
        }
    }
    return std::string(v);
}

bool CutTitle(std::string& title, std::size_t width) {
    constexpr std::string_view kEllipsis = "\u2026";
    if (title.size() <= width || width < kEllipsis.size() + 1) return false;
    const std::size_t room = width - kEllipsis.size();
    std::size_t cut = title.rfind(' ', room);
    if (cut == std::string::npos || cut == 0) {
        cut = room;  // one long word: between two characters
        while (cut > 0 && (static_cast<unsigned char>(title[cut]) & 0xC0) == 0x80)
            --cut;
    }
    title.resize(cut);
    // Spaces and separators before the cut: ASCII, no-break space, dashes.
    for (bool dropped = true; dropped && !title.empty();) {
        dropped = false;
        for (std::string_view tail : {" ", ",", ";", ":", "-", "\u00A0", "\u2013", "\u2014"}) {
            if (title.size() >= tail.size() &&
                title.compare(title.size() - tail.size(), tail.size(), tail) == 0) {
                title.resize(title.size() - tail.size());
                dropped = true;
            }
        }
    }
    title += kEllipsis;
    return true;
}

std::string TextConverter::Convert(std::string_view utf8, const std::string& place) {
    std::string out;
    out.reserve(utf8.size());
    bool ascii = true;
    int marks = 0;  // combining marks in a row on the last letter
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[pos]);
        if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
            marks = 0;
            ++pos;
            continue;
        }
        const char32_t cp = NextCodePoint(utf8, pos);
        if (cp == '\t' || cp == '\n' || cp == '\r' || cp == '\v' || cp == '\f') {
            out += ' ';
            marks = 0;
            continue;
        }
        if (cp == 0x2018 || cp == 0x2019) {
            out += '\'';
            marks = 0;
            ++apostrophes_;
            continue;
        }
        if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) {
            controls_.Note(place);
            continue;
        }
        if (IsNoncharacter(cp)) {
            noncharacters_.Note(place);
            continue;
        }
        if (QChar::combiningClass(cp) != 0) {
            if (++marks > kMaxMarksInARow) {
                excessMarks_.Note(place);
                continue;
            }
        } else {
            marks = 0;
        }
        if (IsBidiControl(cp)) bidiControls_.Note(place);
        ascii = false;
        AppendUtf8(out, cp);
    }
    if (!ascii)
        out = QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()))
                  .normalized(QString::NormalizationForm_C)
                  .toStdString();
    return NormalizeSpaces(out);
}

void TextConverter::ReportTo(Report& report) const {
    report.Info("typographic apostrophes made keyboard apostrophes: " +
                std::to_string(apostrophes_));
    if (controls_.count > 0)
        report.Info("control characters left out: " + std::to_string(controls_.count) +
                    ", first in " + controls_.firstPlace);
    if (noncharacters_.count > 0)
        report.WarnMany(kNoncharacters, noncharacters_.count, noncharacters_.firstPlace);
    if (excessMarks_.count > 0)
        report.WarnMany(kExcessMarks, excessMarks_.count, excessMarks_.firstPlace);
    if (bidiControls_.count > 0)
        report.WarnMany(kBidiControls, bidiControls_.count, bidiControls_.firstPlace);
}

std::string PageToCp1252(std::string_view utf8, const std::string& name) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
    int line = 1, column = 1;
    while (pos < utf8.size()) {
        char32_t cp = NextCodePoint(utf8, pos);
        int byte = cp1252::FromUnicode(cp);
        if (byte < 0 || (cp >= 0x80 && cp < 0xA0)) {
            throw std::runtime_error(
                name + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " +
                (cp == kBad ? std::string("malformed UTF-8 or U+FFFD")
                            : CodePointName(cp) + " has no Windows-1252 form"));
        }
        out += static_cast<char>(byte);
        if (cp == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return out;
}

namespace {

// The UTF-8 of bytes, each byte that is no UTF-8 sequence handed to
// `mend` with its line to be written in its place.
template <typename Mend>
std::string MendUtf8(std::string_view bytes, std::size_t stray, Mend mend) {
    std::string out;
    out.reserve(bytes.size() + stray * 2);
    int line = 1;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = utf8::SequenceLength(bytes, i);
        if (n == 0) {
            mend(out, bytes.substr(i, 1), line);
            ++i;
            continue;
        }
        if (bytes[i] == '\n') ++line;
        out.append(bytes.substr(i, n));
        i += n;
    }
    return out;
}

}  // namespace

std::string SourceToUtf8(std::string_view bytes, StatedEncoding stated, const std::string& file,
                         Report& report) {
    if (utf8::HasUtf16Mark(bytes)) return utf8::Utf16ToUtf8(bytes);
    const bool marked = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    if (marked) bytes.remove_prefix(3);

    const auto [multibyte, stray] = utf8::Count(bytes);
    const std::string name = "« " + file + " »";
    auto asCp1252 = [&] { return cp1252::ToUtf8(bytes); };

    if (stated == StatedEncoding::Cp1252) {
        // Said Latin-1, and UTF-8 with accents all through: the declaration
        // is wrong, whatever the mark says.
        if (stray == 0 && multibyte > 0) {
            report.Warn(kSaidWrongly, "Le fichier " + name +
                                          " se dit en Latin-1 mais il est en UTF-8 : il a été "
                                          "lu en UTF-8.");
            return std::string(bytes);
        }
        if (marked && stray > 0)
            report.Warn(kSaidWrongly, "Le fichier " + name +
                                          " porte la marque de l'UTF-8 mais se dit en Latin-1, "
                                          "ce qu'il est : il a été lu en Latin-1.");
        else
            report.Warn(kStatedCp1252, file);
        return asCp1252();
    }
    if (stray == 0) return std::string(bytes);
    if (marked || stated == StatedEncoding::Utf8) {
        // Said UTF-8. Not one letter of it is, and bytes that are not:
        // Windows-1252 under a wrong name.
        if (multibyte == 0) {
            report.Warn(kSaidWrongly, "Le fichier " + name +
                                          " se dit en UTF-8 mais il est en Windows-1252 : il a "
                                          "été lu en Windows-1252.");
            return asCp1252();
        }
        // Else UTF-8, each byte that is not replaced where it stands.
        return MendUtf8(bytes, stray, [&](std::string& out, std::string_view, int line) {
            AppendUtf8(out, kBad);
            report.Warn(kInvalidUtf8, file + ", ligne " + std::to_string(line), 4);
        });
    }

    // Said nowhere. A file with more valid sequences than stray bytes is
    // UTF-8 with a few stray bytes, which keeps its UTF-8 (each stray byte
    // read as Windows-1252); anything else is Windows-1252 written without
    // saying so.
    if (stray > multibyte) {
        report.Warn(kAssumedCp1252, file);
        return asCp1252();
    }
    return MendUtf8(bytes, stray, [&](std::string& out, std::string_view byte, int line) {
        out += cp1252::ToUtf8(byte);
        report.Warn(kStrayBytes, file + ", ligne " + std::to_string(line), 4);
    });
}

}  // namespace lorvane::importer
