#include "Osis.h"

#include <cctype>
#include <charconv>
#include <cstring>

#include "Canon.h"

namespace lorvane::importer {
namespace {

bool IsWordByte(char c) {
    auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || u >= 0x80;
}

// The value of attribute `name` in the start tag `tag`, or "".
std::string Attribute(std::string_view tag, std::string_view name) {
    std::size_t at = 0;
    while ((at = tag.find(name, at)) != std::string_view::npos) {
        bool boundary = at > 0 && std::isspace(static_cast<unsigned char>(tag[at - 1]));
        std::size_t eq = at + name.size();
        if (boundary && eq + 1 < tag.size() && tag[eq] == '=' &&
            (tag[eq + 1] == '"' || tag[eq + 1] == '\'')) {
            std::size_t end = tag.find(tag[eq + 1], eq + 2);
            if (end == std::string_view::npos) return {};
            return std::string(tag.substr(eq + 2, end - eq - 2));
        }
        at = eq;
    }
    return {};
}

// Elements named `name`: each start tag and its content up to the matching
// end tag (no nesting of the same element).
struct Element {
    std::string_view startTag, content;
    std::size_t begin, end;  // the whole element
};
std::vector<Element> Elements(std::string_view xml, std::string_view name) {
    std::vector<Element> out;
    const std::string open = "<" + std::string(name);
    const std::string close = "</" + std::string(name) + ">";
    std::size_t at = 0;
    while ((at = xml.find(open, at)) != std::string_view::npos) {
        std::size_t after = at + open.size();
        if (after >= xml.size() || !(xml[after] == ' ' || xml[after] == '>' || xml[after] == '/')) {
            at = after;
            continue;
        }
        std::size_t tagEnd = xml.find('>', after);
        if (tagEnd == std::string_view::npos) break;
        std::string_view startTag = xml.substr(at, tagEnd + 1 - at);
        if (startTag.size() >= 2 && startTag[startTag.size() - 2] == '/') {
            out.push_back({startTag, {}, at, tagEnd + 1});  // empty element
            at = tagEnd + 1;
            continue;
        }
        std::size_t endTag = xml.find(close, tagEnd + 1);
        if (endTag == std::string_view::npos) break;
        out.push_back(
            {startTag, xml.substr(tagEnd + 1, endTag - tagEnd - 1), at, endTag + close.size()});
        at = endTag + close.size();
    }
    return out;
}

}  // namespace

std::string StripMarkup(std::string_view xml) {
    std::string out;
    out.reserve(xml.size());
    for (std::size_t i = 0; i < xml.size(); ++i) {
        if (xml[i] == '<') {
            std::size_t end = xml.find('>', i);
            if (end == std::string_view::npos) break;
            i = end;
            continue;
        }
        if (xml[i] == '&') {
            static constexpr std::pair<std::string_view, char> kEntities[] = {
                {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
            bool done = false;
            for (auto [entity, c] : kEntities) {
                if (xml.substr(i, entity.size()) == entity) {
                    out += c;
                    i += entity.size() - 1;
                    done = true;
                    break;
                }
            }
            if (done) continue;
        }
        out += xml[i];
    }
    return out;
}

std::string OsisPlainText(std::string_view osis) {
    std::vector<words::WordTag> unused;
    std::string text = OsisPlainText(osis, unused, false);
    words::DropWordMarks(text);
    return text;
}

std::string OsisPlainText(std::string_view osis, std::vector<words::WordTag>& tags, bool hebrew) {
    std::vector<bool> openWords;  // per <w> open: whether it was marked
    const std::string marked = RemoveTitles(SpaceAroundNotes(osis));
    const std::string_view xml = marked;
    std::string out;
    out.reserve(xml.size());
    bool blank = true;  // no space at the start, none twice
    auto space = [&] {
        if (!blank) out += ' ';
        blank = true;
    };
    int inNote = 0;  // inside a note or a speaker's label, which the reader does not see
    for (std::size_t i = 0; i < xml.size(); ++i) {
        const char c = xml[i];
        if (c == '<') {
            const std::size_t end = xml.find('>', i);
            if (end == std::string_view::npos) break;
            const std::string_view tag = xml.substr(i + 1, end - i - 1);
            const bool closing = !tag.empty() && tag[0] == '/';
            const bool empty = !tag.empty() && tag.back() == '/';
            std::string_view name = tag.substr(closing ? 1 : 0);
            name = name.substr(0, name.find_first_of(" \t\r\n/"));
            if (name == "w" && !empty) {
                if (closing) {
                    if (!openWords.empty()) {
                        if (openWords.back()) out += words::kWordClose;
                        openWords.pop_back();
                    }
                } else {
                    words::WordTag t = words::TagFromAttributes(Attribute(tag, "lemma"),
                                                                Attribute(tag, "morph"), hebrew);
                    const bool kept = inNote == 0 && words::HasContent(t);
                    if (kept) {
                        out += words::kWordOpen;
                        tags.push_back(std::move(t));
                    }
                    openWords.push_back(kept);
                }
            } else if (name == "note" || name == "speaker") {
                if (closing && inNote > 0)
                    --inNote;
                else if (!closing && !empty)
                    ++inNote;
            } else if (inNote == 0 &&
                       (name == "lb" || name == "l" || name == "lg" || name == "p" ||
                        name == "div" || name == "br" || name == "milestone" || name == "item")) {
                space();
            }
            i = end;
            continue;
        }
        if (inNote > 0) continue;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            space();
            continue;
        }
        if (c == '&') {
            static constexpr std::pair<std::string_view, char> kEntities[] = {
                {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
            bool done = false;
            for (auto [entity, letter] : kEntities) {
                if (xml.substr(i, entity.size()) == entity) {
                    out += letter;
                    i += entity.size() - 1;
                    done = true;
                    break;
                }
            }
            if (done) {
                blank = false;
                continue;
            }
        }
        out += c;
        blank = false;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string SpaceAroundNotes(std::string_view osis) {
    std::string out;
    out.reserve(osis.size() + 16);
    std::size_t copied = 0, lastEnd = std::string_view::npos;
    for (const Element& note : Elements(osis, "note")) {
        // A note right after another one already has its space.
        const bool follows = note.begin == lastEnd;
        lastEnd = note.end;
        // The visible character before the note, markup skipped.
        char before = 0;
        for (std::size_t k = note.begin; k-- > 0;) {
            if (osis[k] == '>') {
                std::size_t open = osis.rfind('<', k);
                if (open == std::string_view::npos) break;
                // A note before this one counts as markup too.
                if (osis.compare(open, 7, "</note>") == 0) {
                    open = osis.rfind("<note", open);
                    if (open == std::string_view::npos) break;
                }
                k = open;
                continue;
            }
            before = osis[k];
            break;
        }
        char after = 0;
        for (std::size_t k = note.end; k < osis.size(); ++k) {
            if (osis[k] == '<') {
                std::size_t close = osis.find('>', k);
                if (close == std::string_view::npos) break;
                // A following note counts as markup here too.
                if (osis.compare(k, 6, "<note ") == 0 || osis.compare(k, 6, "<note>") == 0) {
                    std::size_t end = osis.find("</note>", close);
                    if (end == std::string_view::npos) break;
                    close = end + 6;
                }
                k = close;
                continue;
            }
            after = osis[k];
            break;
        }
        out.append(osis.substr(copied, note.begin - copied));
        if (!follows && (IsWordByte(before) || (before && std::strchr(",.;:!?)", before))) &&
            IsWordByte(after))
            out += ' ';
        copied = note.begin;
    }
    out.append(osis.substr(copied));
    return out;
}

std::vector<std::string> OsisTitles(std::string_view osis) {
    std::vector<std::string> out;
    for (const Element& title : Elements(osis, "title")) {
        if (Attribute(title.startTag, "type") == "runningHead") continue;
        // Notes inside a title are not part of it.
        std::string content(title.content);
        for (auto notes = Elements(content, "note"); !notes.empty();
             notes = Elements(content, "note"))
            content.erase(notes.front().begin, notes.front().end - notes.front().begin);
        std::string text = StripMarkup(content);
        if (text.find_first_not_of(" \t\r\n") != std::string::npos) out.push_back(std::move(text));
    }
    return out;
}

std::vector<std::vector<std::string>> OsisCrossRefs(std::string_view osis) {
    std::vector<std::vector<std::string>> out;
    for (const Element& note : Elements(osis, "note")) {
        if (Attribute(note.startTag, "type") != "crossReference") continue;
        std::vector<std::string> refs;
        bool anyReference = false;
        for (const Element& ref : Elements(note.content, "reference")) {
            anyReference = true;
            if (Attribute(ref.startTag, "type") == "annotateRef") continue;
            std::string osisRef = Attribute(ref.startTag, "osisRef");
            refs.push_back(osisRef.empty() ? StripMarkup(ref.content) : osisRef);
        }
        if (!anyReference) refs.push_back(StripMarkup(note.content));
        out.push_back(std::move(refs));
    }
    return out;
}

std::string RemoveTitles(std::string_view osis) {
    std::string out;
    std::size_t copied = 0;
    for (const Element& title : Elements(osis, "title")) {
        out.append(osis.substr(copied, title.begin - copied));
        copied = title.end;
    }
    out.append(osis.substr(copied));
    return out;
}

namespace {

struct OsisPoint {
    int book = 0, chapter = 0, verse = 0;  // 0: the whole book or chapter
};

// "Gen.1.1", with a work before ':' and a grain after '!' or '@' ignored.
bool ReadOsisPoint(std::string_view id, OsisPoint& out) {
    if (std::size_t colon = id.find(':'); colon != std::string_view::npos)
        id = id.substr(colon + 1);
    id = id.substr(0, id.find_first_of("!@"));
    const std::size_t dot = id.find('.');
    out = {};
    out.book = datawriter::BookNumberOfOsis(id.substr(0, dot));
    if (out.book == 0) return false;
    if (dot == std::string_view::npos) return true;
    int* fields[] = {&out.chapter, &out.verse};
    std::string_view rest = id.substr(dot + 1);
    for (int* field : fields) {
        if (rest.empty()) break;
        const std::size_t next = rest.find('.');
        const std::string_view digits = rest.substr(0, next);
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), *field);
        if (ec != std::errc() || end != digits.data() + digits.size() || *field < 1 ||
            *field > 1000)
            return false;
        rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 1);
    }
    return rest.empty();
}

}  // namespace

RefList ParseOsisRefs(const std::vector<std::string>& refs, const VerseIndex& verses) {
    RefList list;
    for (const std::string& value : refs) {
        std::size_t at = 0;
        while (at < value.size()) {
            const std::size_t space = value.find_first_of(" \t\r\n", at);
            const std::string_view ref = std::string_view(value).substr(
                at, space == std::string::npos ? std::string::npos : space - at);
            at = space == std::string::npos ? value.size() : space + 1;
            if (ref.empty()) continue;
            const std::size_t dash = ref.find('-');
            OsisPoint from, to;
            if (!ReadOsisPoint(ref.substr(0, dash), from) ||
                (dash != std::string_view::npos && !ReadOsisPoint(ref.substr(dash + 1), to)) ||
                from.chapter == 0) {
                list.unread.emplace_back(ref);
                continue;
            }
            if (dash == std::string_view::npos) to = from;
            if (to.book != from.book || to.chapter < from.chapter ||
                (to.chapter == from.chapter && to.verse < from.verse)) {
                list.unread.emplace_back(ref);
                continue;
            }
            if (to.chapter == from.chapter) {
                list.targets.push_back(
                    {from.book, from.chapter, from.verse, to.verse == from.verse ? 0 : to.verse});
                continue;
            }
            for (int c = from.chapter; c <= to.chapter && c <= kMaxChapter; ++c) {
                const int first = c == from.chapter ? std::max(from.verse, 1) : 1;
                const int last =
                    c == to.chapter && to.verse ? to.verse : verses.LastVerse(from.book, c);
                list.targets.push_back({from.book, c, first, last == first ? 0 : last});
            }
        }
    }
    return list;
}

}  // namespace lorvane::importer
