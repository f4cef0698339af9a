#include "Quote.h"

#include "VerseText.h"

namespace lorvane {
namespace {

// The text without tags and with its spaces run together.
std::string Plain(std::string_view text) {
    std::string out;
    bool inTag = false;
    for (char c : text) {
        if (c == '<')
            inTag = true;
        else if (c == '>' && inTag)
            inTag = false;
        else if (!inTag) {
            if (c == '\r' || c == '\n' || c == '\t') c = ' ';
            if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

}  // namespace

std::string VersesText(const Communs& communs, int book, int chapter, int first, int last) {
    std::string text;
    if (communs.VerseLookup(book, chapter, first) == 0) return text;
    if (last < first) last = first;
    for (int v = first; v <= last; ++v) {
        const std::int32_t slot = communs.VerseLookup(book, chapter, v);
        if (slot == 0) continue;
        const std::string verse = Plain(communs.VerseTable[static_cast<std::size_t>(slot)].Text);
        if (verse.empty()) continue;
        if (!text.empty()) text += ' ';
        AppendBidiClosed(text, verse);
    }
    return text;
}

std::string QuoteReference(const Communs& communs, int book, int chapter, int first, int last) {
    return communs.FormatRef(book, chapter, first, last > first ? last : 0);
}

std::string QuoteWithReference(const Communs& communs, int book, int chapter, int first, int last,
                               const std::string& abbreviation) {
    std::string ref = QuoteReference(communs, book, chapter, first, last);
    if (!abbreviation.empty()) ref += ", " + abbreviation;
    return "\u00AB\u00A0" + VersesText(communs, book, chapter, first, last) + "\u00A0\u00BB (" +
           ref + ")";
}

}  // namespace lorvane
