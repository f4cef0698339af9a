#include "Comparison.h"

#include <algorithm>
#include <set>

#include "FctLoad.h"
#include "VerseText.h"

namespace lorvane {
namespace {

const char* const kMissingBook = "Ce livre n'est pas dans cette Bible.";
const char* const kMissingChapter = "Ce chapitre n'est pas dans cette Bible.";
const char* const kMissingPassage = "Ce passage n'est pas dans cette Bible.";

bool IsHeading(char kind) {
    return kind == 'D' || kind == 'E';
}

// A tooltip attribute, "" for an empty text.
std::string Title(std::string_view utf8) {
    return utf8.empty() ? std::string() : " title=\"" + HtmlEscaped(utf8) + "\"";
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

std::string VerseHtml(const Style& s, const Communs& c, const TVerset& verse,
                      const ChapterPageRequest& request) {
    std::string html;
    AppendVerse(html, s.S, c, verse, request);
    return html;
}

// The attributes of a cell or paragraph holding a verse written right to
// left: its lines run from the right, the verse number at its right.
const char* DirectionOf(const TVerset& verse) {
    return RightToLeft(verse.Text) ? " dir=\"rtl\" align=\"right\"" : "";
}

// A reference of one Bible's column as the first Bible numbers it, where
// its link leads: the passage window lines up the first Bible's verses.
VerseRef Renumbered(VerseRef t, const Numbering& from, const Numbering& to) {
    if (&from == &to || t.FirstVerse < 1) return t;
    const VersePlace first = Renumber(PlaceOf(t.Book, t.Chapter, t.FirstVerse), from, to);
    if (first == 0) return t;
    const VersePlace last =
        t.LastVerse > 0 ? Renumber(PlaceOf(t.Book, t.Chapter, t.LastVerse), from, to) : 0;
    const bool sameChapter = last != 0 && (last >> 8) == (first >> 8);
    return VerseRef{BookOf(first), ChapterOf(first), VerseOf(first),
                    sameChapter ? VerseOf(last) : 0};
}

// The headings and the references of a cell, "" when it has none; the
// links lead to the places as `first` numbers them.
std::string BeforeVerseHtml(const Style& s, const Communs& c, const CompareCell& cell,
                            const Numbering& first) {
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
        html += "<A href=\"" + CrossRefHref(Renumbered(target, *c.VerseNumbering, first)) + "\">" +
                c.FormatShortRef(target) + "</A>";
    }
    if (!cell.crossRefs.empty()) html += "</FONT>";
    return html;
}

std::string Notice(const char* utf8) {
    return "<I>" + std::string(utf8) + "</I>";
}

ChapterPage BuildReadingPage(std::span<const ComparedBible> bibles, const ComparedChapter& cmp,
                             const Style& s, const std::string& width, bool notices,
                             const ChapterPageRequest& rq) {
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
                  HtmlEscaped(b.abbreviation) + "</B></FONT></TD>";
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
                                         : BeforeVerseHtml(s, *bibles[i].tables, cell,
                                                           *bibles[0].tables->VerseNumbering);
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
            if (i == 0 && r.verse > 1) row += "<A name=\"" + std::to_string(r.verse) + "\"></A>";
            if (verse) row += VerseHtml(s, *bibles[i].tables, *verse, rq);
            for (std::int32_t more : r.cells[i].more)
                row += " " + VerseHtml(s, *bibles[i].tables,
                                       bibles[i].tables->VerseTable[static_cast<std::size_t>(more)],
                                       rq);
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

// The rows of a passage: those of the first Bible's verses first to
// last, and the rows between them it lacks (and before them from its
// first verse: a Psalm's title).
std::pair<std::size_t, std::size_t> PassageRows(const ComparedChapter& cmp, int first, int last) {
    std::size_t from = cmp.rows.size(), to = 0;
    for (std::size_t i = 0; i < cmp.rows.size(); ++i) {
        const int v = cmp.rows[i].verse;
        if (v == 0 || v < first || v > last) continue;
        from = std::min(from, i);
        to = i + 1;
    }
    if (from >= to) return {0, 0};
    if (first <= 1)
        while (from > 0 && cmp.rows[from - 1].verse == 0)
            --from;
    return {from, to};
}

ChapterPage BuildPassagePage(std::span<const ComparedBible> bibles, const ComparedChapter& cmp,
                             const Style& s, const ChapterPageRequest& rq) {
    int first = rq.firstVerse;
    int last = rq.lastVerse;
    if (rq.wholeChapter) {
        first = 1;
        last = kMaxVerse;
    } else if (last < first) {
        last = kMaxVerse;
        for (const CompareRow& r : cmp.rows)
            if (r.verse != 0) last = r.verse;
    }
    // A chapter the first Bible lacks is numbered as the Segond's.
    const bool numbered = std::any_of(cmp.rows.begin(), cmp.rows.end(),
                                      [](const CompareRow& r) { return r.verse != 0; });
    std::pair<std::size_t, std::size_t> range = PassageRows(cmp, first, last);
    if (!numbered) range = {0, cmp.rows.size()};

    ChapterPage result;
    Lines page;
    page.Add("<HTML><BODY bgcolor=\"#FFFFCC\">");
    page.Add("<FONT face=\"Tahoma\" size=\"" + s.S + "\">");
    for (std::size_t i = 0; i < bibles.size(); ++i) {
        // Each Bible's paragraph runs in the direction of its first verse.
        const char* direction = "";
        for (std::size_t r = range.first; r < range.second; ++r)
            if (cmp.rows[r].cells[i].slot != 0) {
                direction = DirectionOf(
                    bibles[i]
                        .tables->VerseTable[static_cast<std::size_t>(cmp.rows[r].cells[i].slot)]);
                break;
            }
        page.Add("<P" + Title(bibles[i].name) + direction + "><FONT color=\"#000080\"><B>" +
                 HtmlEscaped(bibles[i].abbreviation) + "</B></FONT> ");
        bool any = false;
        for (std::size_t r = range.first; r < range.second; ++r) {
            const CompareCell& cell = cmp.rows[r].cells[i];
            if (cell.slot == 0) continue;
            const Communs& c = *bibles[i].tables;
            if (any) page.Add(rq.verseByLine ? "<BR>" : "  ");
            page.Add(VerseHtml(s, c, c.VerseTable[static_cast<std::size_t>(cell.slot)], rq));
            for (std::int32_t more : cell.more) {
                page.Add(rq.verseByLine ? "<BR>" : "  ");
                page.Add(VerseHtml(s, c, c.VerseTable[static_cast<std::size_t>(more)], rq));
            }
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

namespace {

// The Segond places of the rows: the first Bible's verses of the chapter
// in its order, and around them the Segond verses it lacks.
struct RowPlace {
    int verse = 0;          // the first Bible's number; 0 where it lacks the verse
    VersePlace segond = 0;  // 0 for a verse of the first Bible the Segond lacks
};

// `longest`: the highest verse number any Bible has in the chapter, for
// chapters longer than the Segond's.
std::vector<RowPlace> RowPlaces(const Communs* first, int book, int chapter, int longest) {
    const Numbering& segond = KnownNumberings().Segond();
    std::vector<RowPlace> rows;
    if (!first || !first->HasVerses(book, chapter)) {
        // Lined up as the Segond numbers it.
        for (int v = 1; v <= std::max(segond.Verses(book, chapter), longest); ++v)
            rows.push_back({v, PlaceOf(book, chapter, v)});
        return rows;
    }
    const Numbering& mine = *first->VerseNumbering;
    const auto lacks = [&](VersePlace s) {
        const PlacesAt at = mine.FromSegond(s);
        for (VersePlace p : at.View())
            if (first->VerseLookup(BookOf(p), ChapterOf(p), VerseOf(p)) != 0) return false;
        return true;
    };
    for (int v = 1; v <= first->HighestVerse(book, chapter); ++v)
        if (first->VerseLookup(book, chapter, v) != 0)
            rows.push_back({v, mine.ToSegond(PlaceOf(book, chapter, v))});
    // The Segond verses it lacks before its first verse, and after each
    // of its verses up to its next one or the end of that Segond chapter.
    std::vector<RowPlace> out;
    std::set<VersePlace> added;
    // A verse it lacks keeps the number its numbering gives it there.
    const auto add = [&](VersePlace p) {
        if (!added.insert(p).second) return;
        const PlacesAt at = mine.FromSegond(p);
        const bool here = at.count > 0 && (at.places[0] >> 8) == (PlaceOf(book, chapter, 0) >> 8);
        out.push_back({here ? VerseOf(at.places[0]) : 0, p});
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const VersePlace s = rows[i].segond;
        if (s != 0 && i == 0) {
            int from = VerseOf(s);
            while (from > 1 && lacks(PlaceOf(BookOf(s), ChapterOf(s), from - 1)))
                --from;
            for (int v = from; v < VerseOf(s); ++v)
                add(PlaceOf(BookOf(s), ChapterOf(s), v));
        }
        out.push_back(rows[i]);
        if (s == 0) continue;
        const VersePlace next = i + 1 < rows.size() ? rows[i + 1].segond : 0;
        const bool before = next > s && (next >> 8) == (s >> 8);
        const int last =
            before ? VerseOf(next) - 1 : std::max(segond.Verses(BookOf(s), ChapterOf(s)), longest);
        for (int v = VerseOf(s) + 1; v <= last; ++v) {
            const VersePlace p = PlaceOf(BookOf(s), ChapterOf(s), v);
            if (!lacks(p)) break;
            add(p);
        }
    }
    return out;
}

}  // namespace

ComparedChapter CompareChapter(std::span<const Communs* const> bibles, int book, int chapter) {
    ComparedChapter out;
    const std::size_t n = bibles.size();
    if (n == 0) return out;
    const Numbering* firstNumbering =
        bibles[0] && bibles[0]->HasVerses(book, chapter) ? bibles[0]->VerseNumbering : nullptr;
    int longest = 0;
    for (const Communs* c : bibles)
        if (c && (c->VerseNumbering == firstNumbering || !firstNumbering))
            longest = std::max(longest, c->HighestVerse(book, chapter));
    const std::vector<RowPlace> places = RowPlaces(bibles[0], book, chapter, longest);

    // Each Bible's verses at each row, and the row of each of its verses.
    std::vector<std::vector<std::pair<VersePlace, std::size_t>>> rowOf(n);
    std::vector<CompareRow> rows;
    for (const RowPlace& place : places) {
        CompareRow row{place.verse, std::vector<CompareCell>(n)};
        bool any = false;
        for (std::size_t i = 0; i < n; ++i) {
            const Communs* c = bibles[i];
            if (!c) continue;
            // A Bible numbered as the first one: its verse of that number.
            PlacesAt mine;
            const bool alike = c->VerseNumbering == firstNumbering ||
                               (!firstNumbering && c->VerseNumbering->IsSegond());
            if (alike && place.verse != 0) {
                mine.places[0] = PlaceOf(book, chapter, place.verse);
                mine.count = 1;
            } else if (place.segond != 0) {
                mine = c->VerseNumbering->FromSegond(place.segond);
            }
            CompareCell& cell = row.cells[i];
            for (VersePlace p : mine.View()) {
                const std::int32_t slot = c->VerseLookup(BookOf(p), ChapterOf(p), VerseOf(p));
                if (slot == 0) continue;
                (cell.slot == 0 ? cell.slot : cell.more.emplace_back()) = slot;
                rowOf[i].emplace_back(p, rows.size());
                any = true;
            }
        }
        if (any) rows.push_back(std::move(row));
    }
    out.rows = std::move(rows);
    for (std::size_t i = 0; i < n; ++i) {
        const Communs* c = bibles[i];
        ChapterState st = ChapterState::MissingBook;
        if (c && c->Book(book).ChapterCount > 0)
            st = rowOf[i].empty() ? ChapterState::MissingChapter : ChapterState::Present;
        // A Bible without the book in the first one's numbering may still
        // hold its verses elsewhere (Malachie 4 of the Segond is 3:19-24
        // of the Hebrew): present when it does.
        if (!rowOf[i].empty()) st = ChapterState::Present;
        out.states.push_back(st);
    }
    if (out.rows.empty()) return out;

    for (std::size_t i = 0; i < n; ++i) {
        const Communs* c = bibles[i];
        if (!c || rowOf[i].empty()) continue;
        auto& mine = rowOf[i];
        std::sort(mine.begin(), mine.end());
        const auto chapterOf = [](VersePlace p) { return p >> 8; };
        // The chapters of this Bible on the page: one, or two around a
        // chapter its numbering ends elsewhere.
        std::vector<VersePlace> chapters;
        for (const auto& e : mine)
            if (chapters.empty() || chapters.back() != chapterOf(e.first))
                chapters.push_back(chapterOf(e.first));
        const auto touched = [&](int b, int ch) {
            if (b < 1 || b > kBookCount || ch < 1 || ch > kMaxChapter) return false;
            return std::find(chapters.begin(), chapters.end(), PlaceOf(b, ch, 0) >> 8) !=
                   chapters.end();
        };
        for (int h = 1; h <= c->IndexSlotCount(); ++h) {
            const TIndex& rec = c->IndexTable[static_cast<std::size_t>(h)];
            if (rec.Book == kEndMarker) break;
            if (!IsHeading(rec.Kind) || !touched(rec.Book, rec.Chapter)) continue;
            const auto at = std::lower_bound(
                mine.begin(), mine.end(),
                std::make_pair(PlaceOf(rec.Book, rec.Chapter, std::max(rec.Verse, 1)),
                               std::size_t{0}));
            if (at != mine.end() &&
                chapterOf(at->first) == chapterOf(PlaceOf(rec.Book, rec.Chapter, 1)))
                out.rows[at->second].cells[i].headings.push_back(h);
        }
        for (int r = 1; r <= c->CrossRefSlotCount(); ++r) {
            const TRefer& rec = c->CrossRefTable[static_cast<std::size_t>(r)];
            if (rec.Book == kEndMarker) break;
            if (!touched(rec.Book, rec.Chapter)) continue;
            const VersePlace p = PlaceOf(rec.Book, rec.Chapter, rec.Verse);
            const auto at =
                std::lower_bound(mine.begin(), mine.end(), std::make_pair(p, std::size_t{0}));
            if (at != mine.end() && at->first == p)
                out.rows[at->second].cells[i].crossRefs.push_back(r);
        }
    }
    return out;
}

ChapterPage BuildComparePage(std::span<const ComparedBible> bibles,
                             const ChapterPageRequest& asked) {
    if (bibles.empty()) return {};
    std::vector<const Communs*> tables;
    for (const ComparedBible& b : bibles)
        tables.push_back(b.tables.get());
    const ChapterPageRequest request = WordsLookedUpOnce(asked, tables);
    const ComparedChapter cmp = CompareChapter(tables, request.book, request.chapter);
    const int textSize = bibles.front().tables ? bibles.front().tables->TextSize : 2;
    const Style style = StyleFor(textSize);
    if (request.passageMode) return BuildPassagePage(bibles, cmp, style, request);
    // A book number outside the Bible names no place: no notice either.
    const bool knownBook = request.book >= 1 && request.book <= kBookCount;
    return BuildReadingPage(bibles, cmp, style,
                            std::to_string(100 / static_cast<int>(bibles.size())) + "%", knownBook,
                            request);
}

std::string BuildComparePrintPage(std::span<const ComparedBible> bibles, int book, int chapter) {
    std::vector<const Communs*> tables;
    for (const ComparedBible& b : bibles)
        tables.push_back(b.tables.get());
    const ComparedChapter cmp = CompareChapter(tables, book, chapter);
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < bibles.size(); ++i)
        if (cmp.states[i] != ChapterState::MissingBook) shown.push_back(i);
    const Style s = StyleFor(3);
    const ChapterPageRequest paper;  // no colours on paper
    const std::string width = std::to_string(100 / std::max<std::size_t>(shown.size(), 1)) + "%";
    Lines page;
    page.Add("<HTML><BODY><TABLE width=\"100%\" cellspacing=\"0\" cellpadding=\"4\">");
    // The header row group is repeated where the table goes on to a new
    // page.
    std::string header = "<THEAD><TR>";
    for (std::size_t i : shown)
        header +=
            "<TD width=\"" + width + "\"><B>" + HtmlEscaped(bibles[i].abbreviation) + "</B></TD>";
    page.Add(header + "</TR></THEAD>");
    for (const CompareRow& r : cmp.rows) {
        std::string row = "<TR>";
        for (std::size_t i : shown) {
            const CompareCell& cell = r.cells[i];
            const Communs& c = *bibles[i].tables;
            const TVerset* verse =
                cell.slot != 0 ? &c.VerseTable[static_cast<std::size_t>(cell.slot)] : nullptr;
            row += "<TD valign=\"top\"" + std::string(verse ? DirectionOf(*verse) : "") + ">";
            for (std::int32_t h : cell.headings)
                row += "<B>" + std::string(c.IndexTable[static_cast<std::size_t>(h)].Title.view()) +
                       "</B><BR>";
            if (verse) row += VerseHtml(s, c, *verse, paper);
            for (std::int32_t more : cell.more)
                row += " " + VerseHtml(s, c, c.VerseTable[static_cast<std::size_t>(more)], paper);
            row += "</TD>";
        }
        page.Add(row + "</TR>");
    }
    page.Add("</TABLE></BODY></HTML>");
    return page.Take();
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
