#include "PadRules.h"

#include <algorithm>
#include <cstring>

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

}  // namespace

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
