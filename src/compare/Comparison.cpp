#include "Comparison.h"

#include <algorithm>

#include "FctLoad.h"
#include "VerseText.h"

namespace lorvane {
namespace {

const char* const kMissingBook = "Ce livre n'est pas dans la Bible importée.";
const char* const kMissingChapter = "Ce chapitre n'est pas dans cette Bible.";
const char* const kMissingPassage = "Ce passage n'est pas dans cette Bible.";

bool IsHeading(char kind) {
    return kind == 'D' || kind == 'E';
}

ChapterState StateOf(const Communs* c, int book, int chapter) {
    if (!c || c->Book(book).ChapterCount == 0) return ChapterState::MissingBook;
    for (int v = 1; v <= kMaxVerse; ++v)
        if (c->VerseLookup(book, chapter, v) != 0) return ChapterState::Present;
    return ChapterState::MissingChapter;
}

// UTF-8 text (a name the reader typed) as HTML text: markup characters
// escaped.
std::string HtmlText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// A tooltip attribute, "" for an empty text.
std::string Title(std::string_view utf8) {
    return utf8.empty() ? std::string() : " title=\"" + HtmlText(utf8) + "\"";
}

class Lines {
  public:
    void Add(std::string_view line) {
        text_.append(line);
        text_.append("\r\n");
    }
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
};

struct Style {
    std::string S;        // the text size
    std::string R;        // one step smaller, for references
    std::string smaller;  // the font of references
};

Style StyleFor(int textSize) {
    Style s;
    s.S = std::to_string(textSize);
    s.R = textSize <= 1 ? "1" : std::to_string(textSize - 1);
    s.smaller = "<FONT size=\"" + s.R + "\">";
    return s;
}

std::string VerseHtml(const Style& s, const TVerset& verse) {
    std::string html = VerseNumberHtml(s.S, verse.Verse) + " ";
    AppendBidiClosed(html, verse.Text);
    return html;
}

// The attributes of a cell or paragraph holding a verse written right to
// left: its lines run from the right, the verse number at its right.
const char* DirectionOf(const TVerset& verse) {
    return RightToLeft(verse.Text) ? " dir=\"rtl\" align=\"right\"" : "";
}

// The headings and the references of a cell, "" when it has none.
std::string BeforeVerseHtml(const Style& s, const Communs& c, const CompareCell& cell) {
    std::string html;
    for (std::int32_t h : cell.headings) {
        const TIndex& heading = c.IndexTable[static_cast<std::size_t>(h)];
        if (!html.empty()) html += "<BR>";
        if (heading.Kind == 'D')
            html += "<FONT color=\"#008000\"><B>" + UpperCase(heading.Title.view()) + "</B></FONT>";
        else
            html += "<FONT color=\"#000000\"><B>" + heading.Title.str() + "</B></FONT>";
    }
    // The references in one smaller font: one element less per link.
    for (std::size_t i = 0; i < cell.crossRefs.size(); ++i) {
        const VerseRef& target =
            c.CrossRefTable[static_cast<std::size_t>(cell.crossRefs[i])].Target;
        if (i == 0) html += (html.empty() ? "" : "<BR>") + s.smaller;
        if (i > 0) html += " ; ";
        html += "<A href=\"" + CrossRefHref(target) + "\">" + c.FormatShortRef(target) + "</A>";
    }
    if (!cell.crossRefs.empty()) html += "</FONT>";
    return html;
}

std::string Notice(const char* utf8) {
    return "<I>" + std::string(utf8) + "</I>";
}

ChapterPage BuildReadingPage(std::span<const ComparedBible> bibles, const ComparedChapter& cmp,
                             const Style& s, const std::string& width, bool notices) {
    ChapterPage result;
    Lines page;
    page.Add("<HTML><BODY bgcolor=\"#FFFFFF\">");
    page.Add("<FONT face=\"Tahoma\" size=\"" + s.S + "\">");
    // One small table per verse rather than one for the chapter: the pane
    // lays out a table whole, and the top of the page is painted long
    // before the end of a long chapter is laid out. The widths make the
    // columns of every table line up.
    const std::string table = "<TABLE width=\"100%\" cellspacing=\"0\" cellpadding=\"3\">";
    const std::string widthCell = "<TD width=\"" + width + "\"";
    page.Add(table);
    std::string header = "<TR>";
    for (const ComparedBible& b : bibles)
        header += widthCell + Title(b.name) + "><FONT color=\"#000080\"><B>" +
                  HtmlText(b.abbreviation) + "</B></FONT></TD>";
    page.Add(header + "</TR>");

    const bool anyMissing =
        notices && std::any_of(cmp.states.begin(), cmp.states.end(),
                               [](ChapterState st) { return st != ChapterState::Present; });
    if (anyMissing) {
        std::string row = "<TR>";
        for (ChapterState st : cmp.states) {
            row += "<TD valign=\"top\">";
            if (st == ChapterState::MissingBook) row += Notice(kMissingBook);
            if (st == ChapterState::MissingChapter) row += Notice(kMissingChapter);
            row += "</TD>";
        }
        page.Add(row + "</TR>");
        // A chapter no Bible has is no page, as in the chapter page; a
        // book one lacks is.
        result.wroteVerse =
            !cmp.rows.empty() || std::find(cmp.states.begin(), cmp.states.end(),
                                           ChapterState::MissingBook) != cmp.states.end();
    }
    page.Add("</TABLE>");

    for (const CompareRow& r : cmp.rows) {
        page.Add(table);
        // Headings and references in a row of their own, so that the
        // verses of every column begin at the same height.
        std::string before = "<TR>";
        bool anyBefore = false;
        for (std::size_t i = 0; i < r.cells.size(); ++i) {
            const CompareCell& cell = r.cells[i];
            const std::string html = cell.headings.empty() && cell.crossRefs.empty()
                                         ? std::string()
                                         : BeforeVerseHtml(s, *bibles[i].tables, cell);
            anyBefore = anyBefore || !html.empty();
            before += widthCell + " valign=\"bottom\">" + html + "</TD>";
        }
        if (anyBefore) page.Add(before + "</TR>");

        std::string row = "<TR>";
        for (std::size_t i = 0; i < r.cells.size(); ++i) {
            const TVerset* verse =
                r.cells[i].slot != 0
                    ? &bibles[i].tables->VerseTable[static_cast<std::size_t>(r.cells[i].slot)]
                    : nullptr;
            row += (anyBefore ? std::string("<TD") : widthCell) +
                   (verse ? DirectionOf(*verse) : "") + ">";
            if (i == 0 && r.verse != 1) row += "<A name=\"" + std::to_string(r.verse) + "\"></A>";
            if (verse) row += VerseHtml(s, *verse);
            row += "</TD>";
        }
        page.Add(row + "</TR>");
        page.Add("</TABLE>");
        result.wroteVerse = true;
    }
    page.Add("</FONT></BODY></HTML>");
    result.html = page.Take();
    return result;
}

ChapterPage BuildPassagePage(std::span<const ComparedBible> bibles, const ComparedChapter& cmp,
                             const Style& s, const ChapterPageRequest& rq) {
    int first = rq.firstVerse;
    int last = rq.lastVerse;
    if (rq.wholeChapter) {
        first = 1;
        last = kMaxVerse;
    } else if (last < first) {
        last = cmp.rows.empty() ? first : cmp.rows.back().verse;
    }

    ChapterPage result;
    Lines page;
    page.Add("<HTML><BODY bgcolor=\"#FFFFCC\">");
    page.Add("<FONT face=\"Tahoma\" size=\"" + s.S + "\">");
    for (std::size_t i = 0; i < bibles.size(); ++i) {
        // Each Bible's paragraph runs in the direction of its first verse.
        const char* direction = "";
        for (const CompareRow& r : cmp.rows)
            if (r.verse >= first && r.verse <= last && r.cells[i].slot != 0) {
                direction = DirectionOf(
                    bibles[i].tables->VerseTable[static_cast<std::size_t>(r.cells[i].slot)]);
                break;
            }
        page.Add("<P" + Title(bibles[i].name) + direction + "><FONT color=\"#000080\"><B>" +
                 HtmlText(bibles[i].abbreviation) + "</B></FONT> ");
        bool any = false;
        for (const CompareRow& r : cmp.rows) {
            if (r.verse < first || r.verse > last || r.cells[i].slot == 0) continue;
            const Communs& c = *bibles[i].tables;
            if (any) page.Add(rq.verseByLine ? "<BR>" : "  ");
            page.Add(VerseHtml(s, c.VerseTable[static_cast<std::size_t>(r.cells[i].slot)]));
            any = true;
            result.wroteVerse = true;
        }
        if (!any) page.Add(Notice(kMissingPassage));
        page.Add("</P>");
    }
    page.Add("</FONT></BODY></HTML>");
    result.html = page.Take();
    return result;
}

}  // namespace

ComparedChapter CompareChapter(std::span<const Communs* const> bibles, int book, int chapter) {
    ComparedChapter out;
    const std::size_t n = bibles.size();
    for (const Communs* c : bibles)
        out.states.push_back(StateOf(c, book, chapter));

    // One row per verse number that any Bible has.
    std::vector<std::int32_t> slots(n);
    for (int v = 1; v <= kMaxVerse; ++v) {
        bool any = false;
        for (std::size_t i = 0; i < n; ++i) {
            slots[i] = bibles[i] ? bibles[i]->VerseLookup(book, chapter, v) : 0;
            any = any || slots[i] != 0;
        }
        if (!any) continue;
        CompareRow row{v, std::vector<CompareCell>(n)};
        for (std::size_t i = 0; i < n; ++i)
            row.cells[i].slot = slots[i];
        out.rows.push_back(std::move(row));
    }
    if (out.rows.empty()) return out;

    const auto rowAt = [&](int verse) {
        return std::lower_bound(out.rows.begin(), out.rows.end(), verse,
                                [](const CompareRow& r, int v) { return r.verse < v; });
    };
    for (std::size_t i = 0; i < n; ++i) {
        const Communs* c = bibles[i];
        if (!c || out.states[i] != ChapterState::Present) continue;
        for (int h = 1; h <= c->IndexSlotCount(); ++h) {
            const TIndex& rec = c->IndexTable[static_cast<std::size_t>(h)];
            if (rec.Book == kEndMarker) break;
            if (rec.Book != book || rec.Chapter != chapter || !IsHeading(rec.Kind)) continue;
            auto row = rowAt(rec.Verse);
            while (row != out.rows.end() && row->cells[i].slot == 0)
                ++row;
            if (row != out.rows.end()) row->cells[i].headings.push_back(h);
        }
        for (int r = 1; r <= c->CrossRefSlotCount(); ++r) {
            const TRefer& rec = c->CrossRefTable[static_cast<std::size_t>(r)];
            if (rec.Book == kEndMarker) break;
            if (rec.Book != book || rec.Chapter != chapter) continue;
            auto row = rowAt(rec.Verse);
            if (row != out.rows.end() && row->verse == rec.Verse && row->cells[i].slot != 0)
                row->cells[i].crossRefs.push_back(r);
        }
    }
    return out;
}

ChapterPage BuildComparePage(std::span<const ComparedBible> bibles,
                             const ChapterPageRequest& request) {
    if (bibles.empty()) return {};
    std::vector<const Communs*> tables;
    for (const ComparedBible& b : bibles)
        tables.push_back(b.tables.get());
    const ComparedChapter cmp = CompareChapter(tables, request.book, request.chapter);
    const int textSize = bibles.front().tables ? bibles.front().tables->TextSize : 2;
    const Style style = StyleFor(textSize);
    if (request.passageMode) return BuildPassagePage(bibles, cmp, style, request);
    // A book number outside the Bible names no place: no notice either.
    const bool knownBook = request.book >= 1 && request.book <= kBookCount;
    return BuildReadingPage(bibles, cmp, style,
                            std::to_string(100 / static_cast<int>(bibles.size())) + "%", knownBook);
}

bool WriteComparePage(std::span<const ComparedBible> bibles, const ChapterPageRequest& request) {
    if (bibles.empty() || !bibles.front().tables) return false;
    ChapterPage page = BuildComparePage(bibles, request);
    WriteWholeFile(bibles.front().tables->Path(ChapterPageFile(request.passageMode)), page.html);
    return page.wroteVerse;
}

std::string JoinAbbreviations(std::span<const ComparedBible> bibles) {
    std::string out;
    for (std::size_t i = 0; i < bibles.size(); ++i) {
        if (i > 0) out += i + 1 == bibles.size() ? " et " : ", ";
        out += bibles[i].abbreviation;
    }
    return out;
}

}  // namespace lorvane
