#include "PageWords.h"

#include <charconv>
#include <vector>

#include "Morphology.h"
#include "VerseText.h"
#include "WordTags.h"

namespace lorvane {

namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool ReadInt(std::string_view& s, int& out) {
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), out);
    if (error != std::errc() || end == s.data() || out < 0) return false;
    s.remove_prefix(static_cast<std::size_t>(end - s.data()));
    return true;
}

void AppendWordAnchor(std::string& out, const WordAnchor& anchor, std::string_view word) {
    out += "<A name=\"";
    out += WordAnchorName(anchor);
    out += "\">";
    out += word;  // the verse text is written as stored
    out += "</A>";
}

// One block of the interlinear: a word (its HTML), and under it its note.
void AppendBlock(std::string& out, std::string_view wordHtml, const std::string& note,
                 bool rightToLeft) {
    out += rightToLeft ? "<TABLE style=\"float:right\"" : "<TABLE style=\"float:left\"";
    out += " cellspacing=\"0\" cellpadding=\"2\"><TR><TD>";
    out += wordHtml;
    out += "</TD></TR><TR><TD><FONT size=\"1\" color=\"#808080\">";
    out += note.empty() ? "&nbsp;" : note;
    out += "</FONT></TD></TR></TABLE>";
}

}  // namespace

std::string WordAnchorName(const WordAnchor& a) {
    return ".m" + std::to_string(a.id) + '.' + std::to_string(a.book) + '.' +
           std::to_string(a.chapter) + '.' + std::to_string(a.verse) + '.' + std::to_string(a.word);
}

std::optional<WordAnchor> ParseWordAnchor(std::string_view name) {
    if (name.substr(0, 2) != ".m") return std::nullopt;
    name.remove_prefix(2);
    int parts[5] = {};
    for (int k = 0; k < 5; ++k) {
        if (k > 0) {
            if (name.empty() || name[0] != '.') return std::nullopt;
            name.remove_prefix(1);
        }
        if (!ReadInt(name, parts[k])) return std::nullopt;
    }
    if (!name.empty()) return std::nullopt;
    return WordAnchor{parts[0], parts[1], parts[2], parts[3], static_cast<std::size_t>(parts[4])};
}

std::string InterlinearNote(const words::WordTable::Word& word) {
    std::string note(word.strongs);
    const std::string_view code = words::CodeOf(word.morph);
    std::string brief;
    switch (words::SchemeOf(word.morph)) {
        case words::MorphScheme::Robinson:
            brief = words::ExpandRobinson(code).brief;
            break;
        case words::MorphScheme::Oshm:
            brief = words::ExpandOshm(code).brief;
            break;
        case words::MorphScheme::Other:
            brief = std::string(code);
            break;
    }
    std::string out = HtmlEscaped(note);
    if (!brief.empty()) {
        if (!out.empty()) out += "<BR>";
        out += HtmlEscaped(brief);
    }
    return out;
}

void AppendTaggedVerse(std::string& out, std::string_view text,
                       std::span<const words::WordTable::Word> tags, const PageWords& words,
                       int book, int chapter, int verse, bool interlinear, bool rightToLeft,
                       std::string_view numberHtml) {
    // The spans kept: in order, apart, on whole characters.
    std::vector<std::size_t> kept;
    std::size_t end = 0;
    for (std::size_t k = 0; k < tags.size(); ++k) {
        const std::size_t start = tags[k].start, stop = start + tags[k].length;
        if (tags[k].length == 0 || start < end || stop > text.size() ||
            IsContinuation(text[start]) || (stop < text.size() && IsContinuation(text[stop])))
            continue;
        kept.push_back(k);
        end = stop;
    }
    auto anchorOf = [&](std::size_t k) { return WordAnchor{words.id, book, chapter, verse, k}; };
    if (!interlinear) {
        std::size_t at = 0;
        for (std::size_t k : kept) {
            out += text.substr(at, tags[k].start - at);
            AppendWordAnchor(out, anchorOf(k), text.substr(tags[k].start, tags[k].length));
            at = tags[k].start + tags[k].length;
        }
        out += text.substr(at);
        return;
    }
    // Interlinear: a block for each tagged word, which holds the text after
    // it up to the next tagged word (its punctuation, the untagged words);
    // the first holds the verse's number and the text before it. Blocks of
    // words only keep their order: a small block alone would fill a gap on
    // the line before.
    if (kept.empty()) {
        AppendBlock(out, std::string(numberHtml) + " " + std::string(text), {}, rightToLeft);
        return;
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const words::WordTable::Word& tag = tags[kept[i]];
        const std::size_t stop = tag.start + tag.length;
        const std::size_t next = i + 1 < kept.size() ? tags[kept[i + 1]].start : text.size();
        std::string word;
        if (i == 0) {
            word += numberHtml;
            if (!numberHtml.empty()) word += ' ';
            word += text.substr(0, tag.start);
        }
        AppendWordAnchor(word, anchorOf(kept[i]), text.substr(tag.start, tag.length));
        word += text.substr(stop, next - stop);
        AppendBlock(out, word, InterlinearNote(tag), rightToLeft);
    }
}

}  // namespace lorvane
