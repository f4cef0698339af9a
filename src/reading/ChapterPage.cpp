#include "ChapterPage.h"

#include <stdexcept>

#include "FctLoad.h"
#include "VerseText.h"

namespace lorvane {
namespace {

constexpr std::string_view kCurrency = "\xC2\xA4";  // ¤, in UTF-8

class Lines {
  public:
    void Add(std::string_view line) {
        text_.append(line);
        text_.append("\r\n");
    }
    // Replaces the end `tail` of the last line by `replacement`.
    void ReplaceTail(std::string_view tail, std::string_view replacement) {
        std::size_t end = text_.size() - 2;  // before the last CR LF
        text_.replace(end - tail.size(), tail.size(), replacement);
    }
    std::string Take() { return std::move(text_); }

  private:
    std::string text_;
};

bool IsMarker(std::int32_t book) {
    return book == kEndMarker;
}

}  // namespace

std::string CrossRefHref(const VerseRef& t) {
    std::string href;
    for (std::int32_t n : {t.Book, t.Chapter, t.FirstVerse, t.LastVerse}) {
        href += kCurrency;
        href += std::to_string(n);
    }
    return href;
}

static std::string RgbHtml(std::uint32_t rgb) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string colour = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        colour += kDigits[(rgb >> shift) & 0xF];
    return colour;
}

// The tagged words of a verse when the request asks for them; none else.
static std::span<const words::WordTable::Word> TagsOf(const Communs& c, const TVerset& verse,
                                                      const ChapterPageRequest& request,
                                                      PageWords& words) {
    words = request.wordsOf ? request.wordsOf(c) : PageWords{};
    if (!words.table) return {};
    return words.table->VerseWords(verse.Book, verse.Chapter, verse.Verse);
}

void AppendVerse(std::string& out, const std::string& size, const Communs& c, const TVerset& verse,
                 const ChapterPageRequest& request) {
    PageWords words;
    const auto tags = TagsOf(c, verse, request, words);
    // In the interlinear, the number stands in a block of its own, before
    // the words' blocks.
    const bool blocks = request.interlinear && !tags.empty();
    const std::string number = VerseNumberHtml(size, verse.Verse);
    if (!blocks) out += number + ' ';
    auto text = [&] {
        if (tags.empty())
            AppendBidiClosed(out, verse.Text);
        else
            AppendTaggedVerse(out, BidiClosed(verse.Text), tags, words, verse.Book, verse.Chapter,
                              verse.Verse, request.interlinear, RightToLeft(verse.Text),
                              blocks ? number : std::string());
    };
    if (!request.backgroundAt && !request.notesAt) {
        text();
        return;
    }
    const VersePlace segond =
        c.VerseNumbering->ToSegond(PlaceOf(verse.Book, verse.Chapter, verse.Verse));
    if (request.notesAt && segond != 0) {
        for (const VerseNoteMark& mark : request.notesAt(segond)) {
            out += "<A href=\"";
            out += kNoteLinkScheme;
            out += HtmlEscaped(mark.id);
            out += "\" title=\"Note : ";
            out += HtmlEscaped(mark.words);
            out += "\"><FONT color=\"#B06000\">\xE2\x9C\x8E</FONT></A> ";  // ✎
        }
    }
    const VerseColour colour =
        request.backgroundAt && segond != 0 ? request.backgroundAt(segond) : VerseColour{};
    if (colour.rgb == 0) {
        text();
        return;
    }
    out += "<SPAN style=\"background-color:" + RgbHtml(colour.rgb) + "\" title=\"surligné en ";
    out += HtmlEscaped(colour.name);
    out += "\">";
    text();
    out += "</SPAN>";
}

std::string VerseNumberHtml(const std::string& size, int verse) {
    return "<FONT size=\"" + size + "\" color=\"" + RgbHtml(kVerseNumberRgb) + "\"><B>" +
           std::to_string(verse) + "</B></FONT>";
}

const char* ChapterPageFile(bool passageMode) {
    return passageMode ? "temp2.htm" : "temp.htm";
}

ChapterPageRequest WordsLookedUpOnce(ChapterPageRequest request,
                                     std::span<const Communs* const> bibles) {
    if (!request.wordsOf) return request;
    std::vector<std::pair<const Communs*, PageWords>> found;
    for (const Communs* b : bibles)
        if (b) found.push_back({b, request.wordsOf(*b)});
    request.wordsOf = [found = std::move(found),
                       other = std::move(request.wordsOf)](const Communs& c) {
        for (const auto& [tables, words] : found)
            if (tables == &c) return words;
        return other(c);
    };
    return request;
}

ChapterPage BuildChapterPage(const Communs& c, const ChapterPageRequest& request) {
    const Communs* const bible = &c;
    const ChapterPageRequest rq = WordsLookedUpOnce(request, {&bible, 1});
    const int book = rq.book;
    const int chapter = rq.chapter;
    int lastVerse = rq.lastVerse;
    if (!rq.wholeChapter && lastVerse < rq.firstVerse)
        lastVerse = c.LastVerseOfChapter(book, chapter);

    const std::string S = std::to_string(c.TextSize);
    const std::string R = c.TextSize <= 1 ? "1" : std::to_string(c.TextSize - 1);
    const std::string separator = "<FONT size=\"" + R + "\"> ; </FONT>";

    Lines page;
    page.Add(rq.passageMode ? "<HTML><BODY bgcolor=\"#FFFFCC\">"
                            : "<HTML><BODY bgcolor=\"#FFFFFF\">");
    page.Add("<FONT face=\"Tahoma\" size=\"" + S + "\">");

    // The heading cursor: the first record of this chapter or later. It
    // only moves on a match, so a heading whose verse never comes holds
    // back the later ones.
    const auto& index = c.IndexTable;
    const int indexLast = c.IndexSlotCount();
    int cursor = 1;
    while (cursor <= indexLast && !IsMarker(index[cursor].Book) &&
           !(index[cursor].Book > book ||
             (index[cursor].Book == book && index[cursor].Chapter >= chapter)))
        ++cursor;

    // The cross-reference scan passes the earlier books, then the earlier
    // chapters, then the earlier verses. The first two steps do not depend
    // on the verse: they are done once for the page.
    const auto& refs = c.CrossRefTable;
    const int refsLast = c.CrossRefSlotCount();
    int chapterStart = 1;
    while (chapterStart <= refsLast && !IsMarker(refs[chapterStart].Book) &&
           refs[chapterStart].Book < book)
        ++chapterStart;
    while (chapterStart <= refsLast && !IsMarker(refs[chapterStart].Book) &&
           refs[chapterStart].Chapter < chapter)
        ++chapterStart;

    const std::int32_t firstSlot = c.VerseLookup(book, chapter, rq.firstVerse);
    const std::int32_t lastSlot = c.VerseLookup(book, chapter, lastVerse);

    ChapterPage result;
    bool rightToLeft = false;
    const int verseLast = c.VerseSlotCount();
    std::int32_t slot = c.VerseLookup(book, chapter, 1);
    for (; slot != 0 && slot <= verseLast && c.VerseTable[slot].Book == book &&
           c.VerseTable[slot].Chapter == chapter;
         ++slot) {
        if (!rq.wholeChapter && (slot < firstSlot || slot > lastSlot)) continue;
        const TVerset& verse = c.VerseTable[slot];
        const int v = verse.Verse;

        if (!rq.passageMode) {
            while (cursor <= indexLast && index[cursor].Book == book &&
                   index[cursor].Chapter == chapter && index[cursor].Verse == v) {
                const TIndex& h = index[cursor];
                if (h.Kind == 'D' || h.Kind == 'E') {
                    if (v > 1) {
                        page.Add("<BR>");
                        bool followsSameVerse = cursor > 1 && index[cursor - 1].Verse == v;
                        if (!followsSameVerse) page.Add("<BR><BR>");
                    }
                    if (h.Kind == 'D') {
                        page.Add("<FONT color=\"#008000\"><B>" + UpperCase(h.Title.view()) +
                                 "</B></FONT><BR>");
                    } else {
                        page.Add("<FONT color=\"#000000\"><B>" + h.Title.str() + "</B></FONT><BR>");
                    }
                }
                ++cursor;
            }

            int r = chapterStart;
            while (r <= refsLast && !IsMarker(refs[r].Book) && refs[r].Verse < v)
                ++r;
            bool any = false;
            for (; r <= refsLast && refs[r].Book == book && refs[r].Chapter == chapter &&
                   refs[r].Verse == v;
                 ++r) {
                if (!any) page.Add("<BR>");
                any = true;
                page.Add("<A href=\"" + CrossRefHref(refs[r].Target) + "\"><FONT size=\"" + R +
                         "\">" + c.FormatShortRef(refs[r].Target) + "</FONT></A>" + separator);
            }
            if (any) page.ReplaceTail(separator, "<BR>");
        }

        if (!result.wroteVerse && RightToLeft(verse.Text)) {
            // A Bible written right to left: its verses run from the right,
            // each number at the right of its verse.
            page.Add("<DIV dir=\"rtl\" align=\"right\">");
            rightToLeft = true;
        }
        result.wroteVerse = true;
        if (v != 1) page.Add("<A name=\"" + std::to_string(v) + "\"></A>");
        std::string line;
        AppendVerse(line, S, c, verse, rq);
        page.Add(line);
        page.Add(rq.verseByLine ? "<BR>" : "  ");
    }
    if (rightToLeft) page.Add("</DIV>");

    if (!rq.passageMode && book >= 1 && book <= kBookCount && c.Book(book).ChapterCount == 0) {
        page.Add("<I>Ce livre n'est pas dans cette Bible.</I>");
        result.wroteVerse = true;
    }
    page.Add("<BR>");
    page.Add("</FONT></BODY></HTML>");
    result.html = page.Take();
    return result;
}

bool WriteChapterPage(const Communs& c, const ChapterPageRequest& request) {
    ChapterPage page = BuildChapterPage(c, request);
    WriteWholeFile(c.Path(ChapterPageFile(request.passageMode)), page.html);
    return page.wroteVerse;
}

}  // namespace lorvane
