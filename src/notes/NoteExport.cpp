// Reads back the notes' export: the HTML page and the plain text that
// NoteBook::ExportHtml and ExportText write.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "Communs.h"
#include "NoteBook.h"
#include "NoteFile.h"

namespace lorvane {
namespace {

constexpr std::string_view kTextTitle = "Notes de Lorvane";
constexpr std::string_view kHighlightsTitle = "Versets surlignés";
constexpr std::string_view kTextIndent = "    ";
constexpr std::string_view kNoteHeading = "<h3 data-first=\"";
constexpr std::string_view kHighlightItem = "<li data-verse=\"";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number in quotes after name=" in a tag; nullopt when absent or not
// a number of at most nine digits.
std::optional<std::uint32_t> NumberAttribute(std::string_view tag, std::string_view name) {
    const std::string key = std::string(name) + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    std::size_t k = at + key.size();
    std::uint32_t value = 0;
    std::size_t digits = 0;
    for (; k < tag.size() && IsDigit(tag[k]) && digits < 9; ++k, ++digits)
        value = value * 10 + static_cast<std::uint32_t>(tag[k] - '0');
    if (digits == 0 || k >= tag.size() || tag[k] != '"') return std::nullopt;
    return value;
}

std::string_view TextAttribute(std::string_view tag, std::string_view name) {
    const std::string key = std::string(name) + "=\"";
    const std::size_t at = tag.find(key);
    if (at == std::string_view::npos) return {};
    const std::size_t from = at + key.size();
    const std::size_t end = tag.find('"', from);
    return end == std::string_view::npos ? std::string_view() : tag.substr(from, end - from);
}

// The text of a paragraph of the page: its line breaks as new lines, its
// entities as their characters, any other tag left out.
std::string PageText(std::string_view html) {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            const std::size_t end = html.find('>', i);
            if (end == std::string_view::npos) break;
            const std::string_view tag = html.substr(i, end + 1 - i);
            if (tag == "<br>" || tag == "<br/>" || tag == "<br />") out += '\n';
            i = end + 1;
            continue;
        }
        if (html[i] == '\n') {  // the page's own line breaks are not the text's
            ++i;
            continue;
        }
        if (html[i] == '&') {
            const auto entity =
                std::find_if(std::begin(kEntities), std::end(kEntities),
                             [&](const auto& e) { return html.substr(i).starts_with(e.first); });
            if (entity != std::end(kEntities)) {
                out += entity->second;
                i += entity->first.size();
                continue;
            }
        }
        out += html[i++];
    }
    return out;
}

NoteFile ReadPage(std::string_view page) {
    NoteFile file;
    for (std::size_t at = page.find(kNoteHeading); at != std::string_view::npos;
         at = page.find(kNoteHeading, at)) {
        const std::size_t tagEnd = page.find('>', at);
        if (tagEnd == std::string_view::npos) break;
        const std::string_view tag = page.substr(at, tagEnd - at);
        at = tagEnd;
        const auto first = NumberAttribute(tag, "data-first");
        const auto last = NumberAttribute(tag, "data-last");
        // Its paragraph follows its heading.
        const std::size_t closed = page.find("</h3>", tagEnd);
        const std::size_t open =
            closed == std::string_view::npos ? closed : page.find("<p>", closed);
        const std::size_t end = open == std::string_view::npos ? open : page.find("</p>", open);
        if (!first || !last || !IsRange(*first, *last) || end == std::string_view::npos ||
            page.substr(closed + 5, open - closed - 5).find_first_not_of(" \r\n") !=
                std::string_view::npos) {
            ++file.unread;
            continue;
        }
        Note note;
        note.first = *first;
        note.last = *last;
        note.text = PageText(page.substr(open + 3, end - open - 3));
        file.notes.push_back(std::move(note));
        at = end;
    }
    for (std::size_t at = page.find(kHighlightItem); at != std::string_view::npos;
         at = page.find(kHighlightItem, at + 1)) {
        const std::size_t tagEnd = page.find('>', at);
        if (tagEnd == std::string_view::npos) break;
        const std::string_view tag = page.substr(at, tagEnd - at);
        const auto verse = NumberAttribute(tag, "data-verse");
        const auto colour = ColourOfName(TextAttribute(tag, "data-colour"));
        if (!verse || !IsVerse(*verse) || !colour || *colour == Colour::None) {
            ++file.unread;
            continue;
        }
        file.highlights.push_back({*verse, *colour, {}});
    }
    return file;
}

std::optional<std::uint32_t> Digits(std::string_view& text) {
    std::uint32_t value = 0;
    std::size_t k = 0;
    for (; k < text.size() && IsDigit(text[k]) && k < 4; ++k)
        value = value * 10 + static_cast<std::uint32_t>(text[k] - '0');
    if (k == 0) return std::nullopt;
    text.remove_prefix(k);
    return value;
}

// "Romains 8:28-30" as NoteReference writes it; nullopt for any other line.
std::optional<std::pair<VersePlace, VersePlace>> ReferenceLine(std::string_view line) {
    int book = 0;
    std::size_t nameLength = 0;
    for (int b = 1; b <= kBookCount; ++b) {
        const std::string_view name = FrenchBookName(b);
        if (name.size() > nameLength && line.size() > name.size() && line.starts_with(name) &&
            line[name.size()] == ' ') {
            book = b;
            nameLength = name.size();
        }
    }
    if (book == 0) return std::nullopt;
    std::string_view rest = line.substr(nameLength + 1);
    const auto chapter = Digits(rest);
    if (!chapter || rest.empty() || rest[0] != ':') return std::nullopt;
    rest.remove_prefix(1);
    const auto verse = Digits(rest);
    if (!verse || *chapter > 255 || *verse > 255) return std::nullopt;
    const VersePlace first = PlaceOf(book, static_cast<int>(*chapter), static_cast<int>(*verse));
    VersePlace last = 0;
    if (!rest.empty()) {
        if (rest[0] != '-') return std::nullopt;
        rest.remove_prefix(1);
        const auto to = Digits(rest);
        if (!to || !rest.empty() || *to > 255) return std::nullopt;
        last = PlaceOf(book, static_cast<int>(*chapter), static_cast<int>(*to));
    }
    if (!IsRange(first, last)) return std::nullopt;
    return std::pair{first, last};
}

NoteFile ReadText(std::string_view text) {
    NoteFile file;
    Note* note = nullptr;
    bool noteLines = false;  // a line of the note was read, even an empty one
    bool highlights = false;
    std::optional<Colour> colour;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        std::string_view line = text.substr(from, end - from);
        from = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (note && line.starts_with(kTextIndent)) {
            if (std::exchange(noteLines, true)) note->text += '\n';
            note->text += line.substr(kTextIndent.size());
            continue;
        }
        note = nullptr;
        if (line == kHighlightsTitle) {
            highlights = true;
            continue;
        }
        if (highlights) {
            if (line.ends_with(" :")) {
                colour = ColourOfName(line.substr(0, line.size() - 2));
            } else if (line.starts_with("  ") && colour) {
                const auto verse = ReferenceLine(line.substr(2));
                if (verse && verse->second == 0)
                    file.highlights.push_back({verse->first, *colour, {}});
                else
                    ++file.unread;
            }
            continue;
        }
        if (const auto range = ReferenceLine(line)) {
            file.notes.push_back({});
            note = &file.notes.back();
            note->first = range->first;
            note->last = range->second;
            noteLines = false;
        }
    }
    std::erase_if(file.notes, [](const Note& n) { return n.text.empty(); });
    return file;
}

std::string_view WithoutMark(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return bytes;
}

}  // namespace

bool IsExportedNotes(std::string_view bytes) {
    bytes = WithoutMark(bytes);
    return bytes.starts_with("<!DOCTYPE html>") || bytes.starts_with("<html") ||
           (bytes.starts_with(kTextTitle) &&
            (bytes.size() == kTextTitle.size() || bytes[kTextTitle.size()] == '\n' ||
             bytes[kTextTitle.size()] == '\r'));
}

NoteFile ReadExportedNotes(std::string_view bytes) {
    bytes = WithoutMark(bytes);
    return bytes.starts_with(kTextTitle) ? ReadText(bytes) : ReadPage(bytes);
}

}  // namespace lorvane
