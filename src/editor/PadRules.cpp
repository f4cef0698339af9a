#include "PadRules.h"

#include <algorithm>
#include <cstring>

#include "Cp1252.h"
#include "Utf8.h"

namespace lorvane::rtf {
namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// 500000 -> "500 000", with a no-break space.
std::string Thousands(std::size_t n) {
    std::string digits = std::to_string(n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += "\u00a0";
        out += digits[i];
    }
    return out;
}

// A character Read() leaves out of plain text.
bool Dropped(char32_t c) {
    return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
}

// The line ends of a text of `count` characters, at(k) the k-th.
template <class At>
void FindLineEnds(std::size_t count, At at, TextFormat& format) {
    for (std::size_t k = 0; k < count; ++k) {
        const char32_t c = at(k);
        if (c == '\n') {
            format.lineEnd = LineEnd::Lf;
            break;
        }
        if (c == '\r') {
            format.lineEnd = k + 1 < count && at(k + 1) == '\n' ? LineEnd::CrLf : LineEnd::Cr;
            break;
        }
    }
    std::size_t last = count;
    while (last > 0 && Dropped(at(last - 1)))
        --last;
    format.finalLineEnd = last > 0 && (at(last - 1) == '\n' || at(last - 1) == '\r');
}

// The document's text as UTF-8 lines with the format's line ends.
std::string Lines(const Document& doc, const TextFormat& format) {
    const char* end = format.lineEnd == LineEnd::CrLf ? "\r\n"
                      : format.lineEnd == LineEnd::Cr ? "\r"
                                                      : "\n";
    std::string out;
    for (std::size_t i = 0; i < doc.paragraphs.size(); ++i) {
        if (i > 0) out += end;
        for (const Run& r : doc.paragraphs[i].runs)
            for (const char c : r.text) {
                if (c == '\n')
                    out += end;
                else
                    out += c;
            }
    }
    if (format.finalLineEnd && !doc.paragraphs.empty()) out += end;
    return out;
}

void AppendUtf16(std::string& out, char32_t unit, bool little) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += little ? low : high;
    out += little ? high : low;
}

}  // namespace

TextFormat DetectTextFormat(std::string_view bytes) {
    TextFormat format;
    const bool little = bytes.substr(0, 2) == "\xFF\xFE";
    if (little || bytes.substr(0, 2) == "\xFE\xFF") {
        format.encoding = little ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
        const auto unit = [&](std::size_t k) -> char32_t {
            const auto a = static_cast<unsigned char>(bytes[2 + 2 * k]);
            const auto b = static_cast<unsigned char>(bytes[3 + 2 * k]);
            return little ? a | (b << 8) : (a << 8) | b;
        };
        FindLineEnds((bytes.size() - 2) / 2, unit, format);
        return format;
    }
    if (!utf8::IsValid(bytes))
        format.encoding = TextEncoding::Windows1252;
    else if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        format.encoding = TextEncoding::Utf8Bom;
    const auto byte = [&](std::size_t k) -> char32_t {
        return static_cast<unsigned char>(bytes[k]);
    };
    FindLineEnds(bytes.size(), byte, format);
    return format;
}

bool HasFormatting(const Document& doc) {
    const CharFormat plain;
    const ParaFormat line;
    for (const Paragraph& p : doc.paragraphs) {
        if (p.format != line) return true;
        for (const Run& r : p.runs)
            if (r.format != plain && !r.text.empty()) return true;
    }
    return false;
}

TextFormat TextSaveFormat(const Document& doc, const TextFormat& opened) {
    TextFormat format = opened;
    if (opened.encoding == TextEncoding::Windows1252) {
        int unmapped = 0;
        (void)cp1252::FromUtf8(Lines(doc, opened), '?', &unmapped);
        if (unmapped > 0) format.encoding = TextEncoding::Utf8Bom;
    }
    return format;
}

std::string WriteText(const Document& doc, const TextFormat& format) {
    std::string text = Lines(doc, format);
    switch (format.encoding) {
        case TextEncoding::Utf8:
            return text;
        case TextEncoding::Utf8Bom:
            return "\xEF\xBB\xBF" + text;
        case TextEncoding::Windows1252:
            return cp1252::FromUtf8(text, '?');
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            break;
    }
    const bool little = format.encoding == TextEncoding::Utf16Le;
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    out.reserve(2 + 2 * text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t cp = utf8::Next(text, i);
        if (cp >= 0x10000) {
            AppendUtf16(out, 0xD800 + ((cp - 0x10000) >> 10), little);
            AppendUtf16(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), little);
        } else {
            AppendUtf16(out, cp, little);
        }
    }
    return out;
}

std::size_t CountParagraphs(std::string_view bytes) {
    std::size_t count = 1;
    if (IsRtf(bytes)) {
        // \par, not \pard nor \\par (an escaped backslash then text).
        for (std::size_t at = bytes.find("\\par"); at != std::string_view::npos;
             at = bytes.find("\\par", at + 4)) {
            std::size_t slashes = 0;
            while (slashes < at && bytes[at - 1 - slashes] == '\\')
                ++slashes;
            const bool escaped = slashes % 2 == 1;
            const bool word = at + 4 < bytes.size() && IsLetter(bytes[at + 4]);
            if (!escaped && !word) ++count;
        }
        return count;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++count;
        } else if (bytes[i] == '\r') {
            ++count;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        }
    }
    return count;
}

Extent TextExtent(const Document& doc) {
    Extent e;
    e.paragraphs = doc.paragraphs.size();
    for (const Paragraph& p : doc.paragraphs)
        for (const Run& r : p.runs)
            e.bytes += r.text.size();
    return e;
}

bool PadTakes(const Extent& text) {
    return text.bytes <= kPadMaxTextBytes && text.paragraphs <= kPadMaxParagraphs;
}

std::string TooLargeMessage(bool file, const Extent& size) {
    // Megabytes with one decimal, a comma before it.
    const std::size_t tenths = (size.bytes + 50000) / 100000;
    std::string mo = Thousands(tenths / 10) + "," + std::to_string(tenths % 10);
    // The limits, in the same units.
    const std::size_t limitTenths = (kPadMaxTextBytes + 50000) / 100000;
    std::string limit = Thousands(limitTenths / 10);
    if (limitTenths % 10 != 0) limit += "," + std::to_string(limitTenths % 10);
    return std::string(file ? "Ce fichier" : "Ce texte") +
           " est trop volumineux pour le bloc-notes (" + mo + " Mo, " + Thousands(size.paragraphs) +
           (size.paragraphs == 1 ? " paragraphe" : " paragraphes") + " ; au plus " + limit +
           " Mo de texte ou " + Thousands(kPadMaxParagraphs) + " paragraphes).";
}

bool IsTextFileName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name =
        std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.size() <= 4) return false;
    std::string end(name.substr(name.size() - 4));
    std::transform(end.begin(), end.end(), end.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return end == ".txt";
}

std::string RtfNameFor(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > start) return path.substr(0, dot) + ".rtf";
    return path + ".rtf";
}

std::string RescueFileName(const std::tm& local) {
    char when[64];
    if (std::strftime(when, sizeof when, "%Y-%m-%d %H-%M", &local) == 0) when[0] = '\0';
    return std::string("Notes non enregistrées ") + when + ".rtf";
}

}  // namespace lorvane::rtf
