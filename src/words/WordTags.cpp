#include "WordTags.h"

#include "StrongNumber.h"

namespace lorvane::words {

namespace {

constexpr std::size_t kMaxNumbers = 8;
constexpr std::size_t kMaxMorph = 64;
constexpr std::size_t kMaxLemma = 128;
// An attribute past this is not a word's: only its start is read.
constexpr std::size_t kMaxAttribute = 4096;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t k = 0;
    while (k < text.size()) {
        while (k < text.size() && IsSpace(text[k]))
            ++k;
        std::size_t end = k;
        while (end < text.size() && !IsSpace(text[end]))
            ++end;
        if (end > k) out.push_back(text.substr(k, end - k));
        k = end;
    }
    return out;
}

// `text` without control characters, cut to `width` bytes between two
// characters.
std::string Clean(std::string_view text, std::size_t width) {
    std::string out;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) out += c;
    if (out.size() > width) {
        std::size_t cut = width;
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80)
            --cut;
        out.resize(cut);
    }
    return out;
}

void AddNumber(std::string& strongs, std::size_t& count, const std::string& number) {
    if (number.empty() || count >= kMaxNumbers) return;
    for (std::size_t at = 0; (at = strongs.find(number, at)) != std::string::npos; ++at)
        if ((at == 0 || strongs[at - 1] == ' ') &&
            (at + number.size() == strongs.size() || strongs[at + number.size()] == ' '))
            return;  // once is enough
    if (!strongs.empty()) strongs += ' ';
    strongs += number;
    ++count;
}

// A number as the source writes it, with the letter of its language or
// without ("G26", "H07225", "26"), and an optional sense letter.
std::string Number(std::string_view raw, bool hebrew) {
    if (!raw.empty() && (raw[0] == 'G' || raw[0] == 'g')) return NormaliseStrong(raw, 'G');
    if (!raw.empty() && (raw[0] == 'H' || raw[0] == 'h')) return NormaliseStrong(raw, 'H');
    return NormaliseStrong(raw, hebrew ? 'H' : 'G');
}

}  // namespace

std::vector<std::pair<std::uint32_t, std::uint32_t>> TakeWordMarks(std::string& text) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
    std::vector<std::size_t> open;  // indices of the spans not yet closed
    std::string out;
    out.reserve(text.size());
    std::size_t k = 0;
    while (k < text.size()) {
        const std::string_view rest = std::string_view(text).substr(k);
        if (rest.substr(0, kWordOpen.size()) == kWordOpen) {
            open.push_back(spans.size());
            spans.push_back({static_cast<std::uint32_t>(out.size()), 0});
            k += kWordOpen.size();
        } else if (rest.substr(0, kWordClose.size()) == kWordClose) {
            if (!open.empty()) {
                auto& span = spans[open.back()];
                span.second = static_cast<std::uint32_t>(out.size()) - span.first;
                open.pop_back();
            }
            k += kWordClose.size();
        } else {
            out += text[k++];
        }
    }
    for (std::size_t index : open)
        spans[index].second = static_cast<std::uint32_t>(out.size()) - spans[index].first;
    for (auto& [start, length] : spans) {
        while (length > 0 && out[start] == ' ')
            ++start, --length;
        while (length > 0 && out[start + length - 1] == ' ')
            --length;
    }
    text = std::move(out);
    return spans;
}

void DropWordMarks(std::string& text) {
    if (text.find('\xEE') != std::string::npos) TakeWordMarks(text);
}

WordTag TagFromAttributes(std::string_view lemma, std::string_view morph, bool hebrew) {
    WordTag tag;
    std::size_t numbers = 0;
    const std::vector<std::string_view> tokens = Tokens(lemma.substr(0, kMaxAttribute));
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        std::string_view token = tokens[i];
        const std::size_t colon = token.find(':');
        if (colon != std::string_view::npos) {
            const std::string_view scheme = token.substr(0, colon), value = token.substr(colon + 1);
            if (scheme == "strong" || scheme == "Strong" || scheme == "x-Strongs" ||
                scheme == "strongs") {
                AddNumber(tag.strongs, numbers, Number(value, hebrew));
            } else if (scheme.substr(0, 5) == "lemma" && tag.lemma.empty()) {
                tag.lemma = Clean(value, kMaxLemma);
            }
            continue;
        }
        // A Hebrew lemma of the morphology: prefixes, the number and its sense
        // letter, which may stand apart ("1254 a").
        std::string whole(token);
        if (i + 1 < tokens.size() && tokens[i + 1].size() == 1 && tokens[i + 1][0] >= 'a' &&
            tokens[i + 1][0] <= 'z' && !whole.empty() && IsDigit(whole.back())) {
            whole += ' ';
            whole += tokens[++i];
        }
        if (whole.find('/') != std::string::npos ||
            (hebrew && !whole.empty() && !IsDigit(whole[0]) && whole[0] != 'H' &&
             whole[0] != 'G')) {
            const HebrewLemma parsed = ParseHebrewLemma(whole);
            AddNumber(tag.strongs, numbers, parsed.strong);
            if (tag.lemma.empty()) tag.lemma = Clean(whole, kMaxLemma);
        } else {
            const std::string number = Number(whole, hebrew);
            AddNumber(tag.strongs, numbers, number);
            // The sense letter belongs to the lemma too.
            if (hebrew && !number.empty() && whole.find(' ') != std::string::npos &&
                tag.lemma.empty())
                tag.lemma = Clean(whole, kMaxLemma);
        }
    }
    for (std::string_view token : Tokens(morph.substr(0, kMaxAttribute))) {
        const std::size_t colon = token.find(':');
        std::string code;
        if (colon != std::string_view::npos) {
            const std::string_view scheme = token.substr(0, colon);
            if (scheme == "robinson" || scheme == "Robinson")
                code = "robinson:" + std::string(token.substr(colon + 1));
            else if (scheme == "oshm" || scheme == "OSHM")
                code = "oshm:" + std::string(token.substr(colon + 1));
            else
                code = std::string(token);
        } else if (hebrew && (token[0] == 'H' || token[0] == 'A')) {
            code = "oshm:" + std::string(token);
        } else if (!hebrew) {
            code = "robinson:" + std::string(token);
        } else {
            code = std::string(token);
        }
        tag.morph = Clean(code, kMaxMorph);
        break;
    }
    return tag;
}

VerseWords PlaceTags(int book, int chapter, int verse, std::string& text,
                     std::vector<WordTag>& tags) {
    VerseWords out{book, chapter, verse, {}};
    const auto spans = TakeWordMarks(text);
    for (std::size_t k = 0; k < tags.size() && k < spans.size(); ++k) {
        if (spans[k].second == 0 || !HasContent(tags[k])) continue;
        tags[k].start = spans[k].first;
        tags[k].length = spans[k].second;
        out.tags.push_back(std::move(tags[k]));
    }
    tags.clear();
    return out;
}

std::string EncodeWords(const std::vector<VerseWords>& verses) {
    std::string out = "lorvane-mots 1\n";
    for (const VerseWords& v : verses)
        for (const WordTag& t : v.tags) {
            out += std::to_string(v.book) + '\t' + std::to_string(v.chapter) + '\t' +
                   std::to_string(v.verse) + '\t' + std::to_string(t.start) + '\t' +
                   std::to_string(t.length) + '\t';
            out += Clean(t.strongs, 256) + '\t' + Clean(t.morph, kMaxMorph) + '\t' +
                   Clean(t.lemma, kMaxLemma) + '\n';
        }
    return out;
}

MorphScheme SchemeOf(std::string_view morph) {
    if (morph.substr(0, 9) == "robinson:") return MorphScheme::Robinson;
    if (morph.substr(0, 5) == "oshm:") return MorphScheme::Oshm;
    return MorphScheme::Other;
}

std::string_view CodeOf(std::string_view morph) {
    switch (SchemeOf(morph)) {
        case MorphScheme::Robinson:
            return morph.substr(9);
        case MorphScheme::Oshm:
            return morph.substr(5);
        case MorphScheme::Other:
            break;
    }
    return morph;
}

}  // namespace lorvane::words
