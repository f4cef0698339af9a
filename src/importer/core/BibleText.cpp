#include "BibleText.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include "Cp1252.h"
#include "FormSniffing.h"
#include "Reasons.h"
#include "Utf8.h"

namespace lorvane::importer {
namespace {

constexpr char32_t kBad = 0xFFFD;

// Base letters of U+0100-U+017F; '#' marks the two ligatures spelled out
// below, and the letters that Windows-1252 has (Œ œ Š š Ÿ Ž ž) never get here.
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi##JjKkkLlLlLlLlLlNnNnNnnNnOoOoOo"
    "OoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(kLatinExtendedA.size() == 0x80);

// Letters made of a base letter and a combining mark, for the marks that
// follow their letter instead of being part of it.
struct Composition {
    char base;
    char32_t mark;
    char32_t letter;
};
constexpr std::array<Composition, 52> kCompositions = {{
    {'A', 0x300, 0xC0}, {'A', 0x301, 0xC1}, {'A', 0x302, 0xC2}, {'A', 0x303, 0xC3},
    {'A', 0x308, 0xC4}, {'A', 0x30A, 0xC5}, {'C', 0x327, 0xC7}, {'E', 0x300, 0xC8},
    {'E', 0x301, 0xC9}, {'E', 0x302, 0xCA}, {'E', 0x308, 0xCB}, {'I', 0x300, 0xCC},
    {'I', 0x301, 0xCD}, {'I', 0x302, 0xCE}, {'I', 0x308, 0xCF}, {'N', 0x303, 0xD1},
    {'O', 0x300, 0xD2}, {'O', 0x301, 0xD3}, {'O', 0x302, 0xD4}, {'O', 0x303, 0xD5},
    {'O', 0x308, 0xD6}, {'U', 0x300, 0xD9}, {'U', 0x301, 0xDA}, {'U', 0x302, 0xDB},
    {'U', 0x308, 0xDC}, {'Y', 0x301, 0xDD}, {'a', 0x300, 0xE0}, {'a', 0x301, 0xE1},
    {'a', 0x302, 0xE2}, {'a', 0x303, 0xE3}, {'a', 0x308, 0xE4}, {'a', 0x30A, 0xE5},
    {'c', 0x327, 0xE7}, {'e', 0x300, 0xE8}, {'e', 0x301, 0xE9}, {'e', 0x302, 0xEA},
    {'e', 0x308, 0xEB}, {'i', 0x300, 0xEC}, {'i', 0x301, 0xED}, {'i', 0x302, 0xEE},
    {'i', 0x308, 0xEF}, {'n', 0x303, 0xF1}, {'o', 0x300, 0xF2}, {'o', 0x301, 0xF3},
    {'o', 0x302, 0xF4}, {'o', 0x303, 0xF5}, {'o', 0x308, 0xF6}, {'u', 0x300, 0xF9},
    {'u', 0x301, 0xFA}, {'u', 0x302, 0xFB}, {'u', 0x308, 0xFC}, {'y', 0x308, 0xFF},
}};

// A character of a script or alphabet that Windows-1252 lacks, as opposed
// to the spaces, joiners and combining marks that only change its look.
bool IsForeignLetter(char32_t cp) {
    return cp >= 0x100 && cp != kBad && !(cp >= 0x300 && cp < 0x370) &&
           !(cp >= 0x2000 && cp < 0x2070) && cp != 0x3000 && cp != 0xFEFF;
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

std::string NearestCp1252(char32_t cp) {
    if (cp >= 0x100 && cp < 0x180) {
        if (cp == 0x132) return "IJ";
        if (cp == 0x133) return "ij";
        return std::string(1, kLatinExtendedA[cp - 0x100]);
    }
    switch (cp) {
        case 0xFE:  // þ: its byte is the verse terminator
            return "th";
        case 0x2018:
        case 0x2019:
        case 0x201B:
        case 0x2032:
        case 0x02B9:
        case 0x02BC:
            return "'";
        case 0x201F:
        case 0x2033:
            return "\"";
        case 0x2010:
        case 0x2011:
        case 0x2043:
        case 0x2212:
            return "-";
        case 0x2012:
            return "\x96";
        case 0x2015:
            return "\x97";
        case 0x2024:
            return ".";
        case 0x2044:
            return "/";
        case 0x2007:
        case 0x202F:
            return "\xA0";
        case 0x200B:
        case 0x200C:
        case 0x200D:
        case 0x200E:
        case 0x200F:
        case 0x2060:
        case 0xFEFF:
            return "";
        default:
            break;
    }
    if ((cp >= 0x2000 && cp <= 0x200A) || cp == 0x205F || cp == 0x3000) return " ";
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return "";  // control characters
    return "?";
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
    // No-break spaces at either end go too.
    std::size_t first = out.find_first_not_of('\xA0');
    if (first == std::string::npos) return {};
    std::size_t last = out.find_last_not_of('\xA0');
    out = out.substr(first, last - first + 1);
    // Trimming a no-break space may uncover a plain one.
    while (!out.empty() && out.front() == ' ')
        out.erase(0, 1);
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

bool CutTitle(std::string& title, std::size_t width) {
    if (title.size() <= width || width < 2) return false;
    const std::size_t room = width - 1;  // one byte for the ellipsis
    std::size_t cut = title.rfind(' ', room);
    if (cut == std::string::npos || cut == 0) cut = room;  // one long word
    title.resize(cut);
    while (!title.empty() &&
           std::string_view(" ,;:-\x96\x97\xA0").find(title.back()) != std::string_view::npos)
        title.pop_back();
    title += '\x85';
    return true;
}

std::string TextConverter::Convert(std::string_view utf8, const std::string& place) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[pos]);
        if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
            if (b != ' ') ++characters_;
            ++pos;
            continue;
        }
        char32_t cp = NextCodePoint(utf8, pos);
        if (cp == '\t' || cp == '\n' || cp == '\r') {
            out += ' ';
            continue;
        }
        ++characters_;
        if (cp == 0x2018 || cp == 0x2019) {
            out += '\'';
            ++apostrophes_;
            continue;
        }
        int byte = cp == kBad || cp == 0xFE ? -1 : cp1252::FromUnicode(cp);
        if (byte >= 0x20 && !(byte >= 0x7F && byte < 0xA0 && cp < 0xA0)) {
            out += static_cast<char>(byte);
            continue;
        }
        std::string replacement;
        if (cp >= 0x300 && cp < 0x370) {
            // A combining mark joins the letter before it when the pair has
            // a Windows-1252 form; otherwise it goes.
            for (const Composition& c : kCompositions) {
                if (!out.empty() && out.back() == c.base && c.mark == cp) {
                    out.pop_back();
                    replacement = std::string(1, static_cast<char>(c.letter));
                    break;
                }
            }
        } else {
            replacement = NearestCp1252(cp);
        }
        out += replacement;
        Mapping& m = mapped_[cp];
        if (m.count++ == 0) {
            m.replacement = replacement;
            m.firstPlace = place;
        }
        if (IsForeignLetter(cp)) {
            if (foreign_++ == 0) firstForeign_ = cp;
        }
    }
    return NormalizeSpaces(out);
}

int TextConverter::Mapped() const {
    int n = 0;
    for (const auto& [cp, m] : mapped_)
        n += m.count;
    return n;
}

std::string TextConverter::ForeignExample() const {
    std::string out;
    if (foreign_ > 0) AppendUtf8(out, firstForeign_);
    return out;
}

std::string TextConverter::ForeignReplacement() const {
    auto it = mapped_.find(firstForeign_);
    return foreign_ > 0 && it != mapped_.end() ? cp1252::ToUtf8(it->second.replacement) : "";
}

void TextConverter::ReportTo(Report& report) const {
    if (foreign_ > 0)
        report.WarnMany(kForeignLetters, foreign_,
                        ForeignExample() + " -> " + ForeignReplacement());
    report.Info("typographic apostrophes made keyboard apostrophes: " +
                std::to_string(apostrophes_));
    const std::string kind = "characters without a Windows-1252 form, mapped to their nearest form";
    for (const auto& [cp, m] : mapped_) {
        std::string source;
        AppendUtf8(source, cp);
        std::string shown = m.replacement.empty() ? "(removed)" : cp1252::ToUtf8(m.replacement);
        report.WarnMany(kind, m.count,
                        CodePointName(cp) + " " + (cp < 0x20 ? std::string("(control)") : source) +
                            " -> " + shown + ": " + std::to_string(m.count) + " times, first in " +
                            m.firstPlace,
                        64);
    }
}

void RefuseForeignScript(const TextConverter& text) {
    if (static_cast<long long>(text.Foreign()) * 1000 > text.Characters()) {
        throw ImportError(
            "Cette Bible contient des caractères que Lorvane ne sait pas encore afficher "
            "(par exemple « " +
            text.ForeignExample() + " »).");
    }
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
