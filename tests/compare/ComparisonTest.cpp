#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <regex>
#include <set>

#include "Comparison.h"
#include "FctLoad.h"
#include "Fixtures.h"

namespace lorvane {
namespace {

using testing::DataSet;
using testing::TempDir;

// Two books: "Genèse"/"Ge" of 2 chapters and "Exode"/"Ex" of 1, each
// chapter of `verses` verses "<tag> b.c.v"; short names can be renamed to
// tell the Bibles' references apart.
DataSet Bible(const std::string& tag, int verses, const std::string& shortName = "Ge") {
    DataSet d;
    d.books = {{"Gen\xE8se", shortName, 2}, {"Exode", "Ex", 1}};
    for (auto [b, c] : {std::pair{1, 1}, {1, 2}, {2, 1}})
        for (int v = 1; v <= verses; ++v)
            d.verses.push_back({b, c, v,
                                tag + " " + std::to_string(b) + "." + std::to_string(c) + "." +
                                    std::to_string(v)});
    return d;
}

void Drop(DataSet& d, int book, int chapter, int verse) {
    std::erase_if(d.verses, [&](const auto& e) {
        return e.book == book && e.chapter == chapter && (verse == 0 || e.verse == verse);
    });
}

// Bibles written to folders of their own and loaded, as the program holds
// them while it compares.
class ComparisonTest : public ::testing::Test {
  protected:
    std::shared_ptr<const Communs> Load(const DataSet& d) {
        auto& dir = dirs_.emplace_back(std::make_unique<TempDir>());
        testing::WriteDataFolder(dir->path(), d);
        auto c = std::make_shared<Communs>(dir->appDir());
        LoadAllTables(*c);
        return c;
    }
    void Add(const std::string& abbreviation, const DataSet& d, const std::string& name = "") {
        bibles.push_back({abbreviation, name.empty() ? abbreviation : name, Load(d)});
    }
    // A Bible whose data/ names its numbering, as an imported SWORD module's.
    void AddNumbered(const std::string& abbreviation, const DataSet& d, const char* numbering) {
        auto& dir = dirs_.emplace_back(std::make_unique<TempDir>());
        testing::WriteDataFolder(dir->path(), d);
        std::ofstream(dir->path() / "data" / "numerotation.txt") << numbering << "\n";
        auto c = std::make_shared<Communs>(dir->appDir());
        LoadAllTables(*c);
        bibles.push_back({abbreviation, abbreviation, std::move(c)});
    }
    ComparedChapter Rows(int book, int chapter) {
        std::vector<const Communs*> tables;
        for (const auto& b : bibles)
            tables.push_back(b.tables.get());
        return CompareChapter(tables, book, chapter);
    }
    std::string Page(int book, int chapter) {
        return BuildComparePage(bibles, {book, chapter, 1, 0, false, true, false}).html;
    }
    std::string Passage(int book, int chapter, int first, int last, bool byLine = false) {
        return BuildComparePage(bibles, {book, chapter, first, last, true, false, byLine}).html;
    }
    // The lines of the page's table rows.
    static std::vector<std::string> TableRows(const std::string& html) {
        std::vector<std::string> rows;
        std::size_t at = 0;
        while ((at = html.find("<TR>", at)) != std::string::npos) {
            std::size_t end = html.find("</TR>", at);
            rows.push_back(html.substr(at, end - at));
            at = end;
        }
        return rows;
    }

  public:
    static std::vector<std::string> CellsOf(const std::string& row) { return Cells(row); }

  protected:
    static std::vector<std::string> Cells(const std::string& row) {
        std::vector<std::string> cells;
        std::size_t at = 0;
        while ((at = row.find("<TD", at)) != std::string::npos) {
            at = row.find('>', at) + 1;
            cells.push_back(row.substr(at, row.find("</TD>", at) - at));
        }
        return cells;
    }

    std::vector<ComparedBible> bibles;

  private:
    std::vector<std::unique_ptr<TempDir>> dirs_;
};

// ---------------------------------------------------------------------------
// The rows

TEST_F(ComparisonTest, AVerseEitherBibleLacksLeavesAnEmptyCellAndTheRowsInStep) {
    DataSet left = Bible("G", 6), right = Bible("D", 6);
    Drop(left, 1, 1, 3);
    Drop(right, 1, 1, 5);
    Add("LSG", left);
    Add("DBY", right);
    const ComparedChapter cmp = Rows(1, 1);
    ASSERT_EQ(cmp.rows.size(), 6u);
    for (int v = 1; v <= 6; ++v) {
        const CompareRow& row = cmp.rows[static_cast<std::size_t>(v - 1)];
        EXPECT_EQ(row.verse, v);
        ASSERT_EQ(row.cells.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            const bool lacks = (i == 0 && v == 3) || (i == 1 && v == 5);
            if (lacks) {
                EXPECT_EQ(row.cells[i].slot, 0) << v;
                continue;
            }
            const TVerset& verse = bibles[i].tables->VerseTable[row.cells[i].slot];
            EXPECT_EQ(verse.Verse, v);
            EXPECT_EQ(verse.Text, (i == 0 ? "G 1.1." : "D 1.1.") + std::to_string(v));
        }
    }
    // On the page, verse 4 of each Bible is in the same row.
    for (const std::string& row : TableRows(Page(1, 1))) {
        if (row.find("G 1.1.4") == std::string::npos) continue;
        EXPECT_NE(row.find("D 1.1.4"), std::string::npos);
        EXPECT_EQ(Cells(row).size(), 2u);
    }
}

TEST_F(ComparisonTest, ChaptersOfDifferentLengthsGiveTheLongerOnesRows) {
    DataSet shorter = Bible("G", 3);
    DataSet gap = Bible("M", 2);  // verses 1, 2 and then 9 alone
    gap.verses.push_back({1, 1, 9, "M 1.1.9"});
    Add("LSG", shorter);
    Add("DBY", Bible("D", 7));
    Add("MAR", gap);
    const ComparedChapter cmp = Rows(1, 1);
    std::vector<int> verses;
    for (const CompareRow& r : cmp.rows)
        verses.push_back(r.verse);
    EXPECT_EQ(verses, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 9}));
    EXPECT_EQ(cmp.rows[3].cells[0].slot, 0);
    EXPECT_NE(cmp.rows[3].cells[1].slot, 0);
    EXPECT_EQ(cmp.rows[7].cells[1].slot, 0);
    EXPECT_NE(cmp.rows[7].cells[2].slot, 0);
    EXPECT_EQ(cmp.states, std::vector<ChapterState>(3, ChapterState::Present));
}

TEST_F(ComparisonTest, EachBiblesHeadingsStayInItsColumnBeforeTheirVerse) {
    DataSet left = Bible("G", 6), right = Bible("D", 6);
    left.headings = {{'D', 1, 1, 1, "Les origines"},
                     {'E', 1, 1, 1, "Premier jour"},
                     {'E', 1, 1, 4, "Quatre"},
                     {'X', 1, 1, 5, "jamais"},
                     {'E', 1, 2, 4, "Autre chapitre"}};
    Drop(right, 1, 1, 3);
    Drop(right, 1, 1, 6);
    right.headings = {{'E', 1, 1, 2, "Deux"},
                      {'E', 1, 1, 3, "Avant un verset absent"},  // goes on to verse 4
                      {'E', 1, 1, 6, "Apres la fin"}};           // no verse of its own after it
    Add("LSG", left);
    Add("DBY", right);
    const ComparedChapter cmp = Rows(1, 1);
    auto titles = [&](int verse, std::size_t column) {
        std::vector<std::string> out;
        for (std::int32_t h : cmp.rows[static_cast<std::size_t>(verse - 1)].cells[column].headings)
            out.push_back(bibles[column].tables->IndexTable[h].Title.str());
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(titles(1, 0), (V{"Les origines", "Premier jour"}));
    EXPECT_EQ(titles(1, 1), V{});
    EXPECT_EQ(titles(2, 1), V{"Deux"});
    EXPECT_EQ(titles(2, 0), V{});
    EXPECT_EQ(titles(4, 0), V{"Quatre"});
    EXPECT_EQ(titles(4, 1), V{"Avant un verset absent"});
    EXPECT_EQ(titles(5, 0), V{});  // an unknown kind is no heading
    EXPECT_EQ(titles(3, 1), V{});
    EXPECT_EQ(titles(6, 1), V{});

    // The page: the headings row before verse 2 holds "Deux" in the right
    // column only, and the major heading in capitals.
    const std::string page = Page(1, 1);
    EXPECT_NE(page.find("<B>LES ORIGINES</B>"), std::string::npos);
    EXPECT_EQ(page.find("Autre chapitre"), std::string::npos);
    for (const std::string& row : TableRows(page)) {
        if (row.find("Deux") == std::string::npos) continue;
        const auto cells = Cells(row);
        ASSERT_EQ(cells.size(), 2u);
        EXPECT_EQ(cells[0], "");
        EXPECT_NE(cells[1].find("Deux"), std::string::npos);
        EXPECT_EQ(cells[1].find("D 1.1."), std::string::npos) << "headings row holds no verse";
    }
}

TEST_F(ComparisonTest, AChapterOrBookOneBibleLacksGivesAnEmptyColumnWithANotice) {
    DataSet noExodus = Bible("G", 4);
    noExodus.books[1].chapterCount = 0;
    Drop(noExodus, 2, 1, 0);
    DataSet noChapter2 = Bible("D", 4);
    Drop(noChapter2, 1, 2, 0);
    Add("LSG", Bible("M", 4));
    Add("DBY", noExodus);
    Add("KJF", noChapter2);

    EXPECT_EQ(Rows(2, 1).states,
              (std::vector<ChapterState>{ChapterState::Present, ChapterState::MissingBook,
                                         ChapterState::Present}));
    const ComparedChapter ch2 = Rows(1, 2);
    EXPECT_EQ(ch2.states[2], ChapterState::MissingChapter);
    ASSERT_EQ(ch2.rows.size(), 4u);
    for (const CompareRow& r : ch2.rows)
        EXPECT_EQ(r.cells[2].slot, 0);

    const std::string book = Page(2, 1);
    EXPECT_NE(book.find("<I>Ce livre n'est pas dans cette Bible.</I>"), std::string::npos);
    const std::string chapter = Page(1, 2);
    const auto rows = TableRows(chapter);
    ASSERT_GE(rows.size(), 2u);
    const auto notice = Cells(rows[1]);  // under the header
    ASSERT_EQ(notice.size(), 3u);
    EXPECT_EQ(notice[0], "");
    EXPECT_EQ(notice[2], "<I>Ce chapitre n'est pas dans cette Bible.</I>");
    EXPECT_EQ(Cells(rows.back())[2], "");

    // A Bible whose tables are gone reads as one without the book.
    bibles[1].tables.reset();
    const auto none = TableRows(Page(1, 1));
    ASSERT_EQ(Cells(none[1]).size(), 3u);
    EXPECT_NE(Cells(none[1])[1].find("Ce livre"), std::string::npos);
    EXPECT_NE(Cells(none.back())[0].find("M 1.1.4"), std::string::npos);
    EXPECT_EQ(Cells(none.back())[1], "");
}

TEST_F(ComparisonTest, FourBiblesMakeFourColumnsInTheirOrder) {
    for (const char* a : {"LSG", "DBY", "MAR", "OST"})
        Add(a, Bible(a, 3));
    const ComparedChapter cmp = Rows(1, 1);
    ASSERT_EQ(cmp.rows.size(), 3u);
    EXPECT_EQ(cmp.rows[0].cells.size(), 4u);
    const std::string page = Page(1, 1);
    const auto rows = TableRows(page);
    ASSERT_EQ(rows.size(), 4u);  // the header and three verses
    const auto header = Cells(rows[0]);
    ASSERT_EQ(header.size(), 4u);
    const char* order[] = {"LSG", "DBY", "MAR", "OST"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NE(header[i].find(order[i]), std::string::npos);
        EXPECT_NE(Cells(rows[2])[i].find(std::string(order[i]) + " 1.1.2"), std::string::npos);
    }
    EXPECT_NE(rows[0].find("width=\"25%\""), std::string::npos);
    EXPECT_EQ(JoinAbbreviations(bibles), "LSG, DBY, MAR et OST");
    EXPECT_EQ(JoinAbbreviations(std::span(bibles).first(2)), "LSG et DBY");
}

// ---------------------------------------------------------------------------
// The reading pane's page

TEST_F(ComparisonTest, EachColumnsReferencesAreWorkingLinksInItsOwnColumn) {
    DataSet left = Bible("G", 3, "Gn"), right = Bible("D", 3, "Ge");
    left.crossRefs = {{1, 1, 2, 0, 2, 1, 1, 2}, {1, 1, 2, 0, 1, 2, 3, 0}};
    right.crossRefs = {{1, 1, 3, 0, 1, 2, 1, 0}};
    Drop(right, 1, 1, 2);
    right.crossRefs.insert(right.crossRefs.begin(), {1, 1, 2, 0, 2, 1, 3, 0});  // verse it lacks
    Add("LSG", left);
    Add("DBY", right);
    const std::string page = Page(1, 1);

    // Every link of the page is one of the references, with the scheme's href.
    const std::regex link("<A href=\"([^\"]*)\">([^<]*)</A>");
    std::vector<std::pair<std::string, std::string>> links;
    for (std::sregex_iterator it(page.begin(), page.end(), link), end; it != end; ++it)
        links.push_back({(*it)[1], (*it)[2]});
    using L = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(links, (L{{CrossRefHref({2, 1, 1, 2}), "Ex 1:1-2"},
                        {CrossRefHref({1, 2, 3, 3}), "Gn 2:3"},
                        {CrossRefHref({1, 2, 1, 1}), "Ge 2:1"}}));

    for (const std::string& row : TableRows(page)) {
        const auto cells = Cells(row);
        if (row.find("Gn 2:3") != std::string::npos) {
            EXPECT_NE(cells[0].find("<FONT size=\"1\"><A href=\"" + CrossRefHref({2, 1, 1, 2}) +
                                    "\">Ex 1:1-2</A> ; <A"),
                      std::string::npos);
            EXPECT_EQ(cells[1], "");
        }
        if (row.find("Ge 2:1") != std::string::npos) {
            EXPECT_EQ(cells[0], "");
        }
    }
}

TEST_F(ComparisonTest, PageHasAnAnchorPerVerseAndTheChapterPagesConventions) {
    DataSet left = Bible("G", 5), right = Bible("D", 5);
    Drop(left, 1, 1, 4);  // the anchor of verse 4 all the same
    Add("LSG", left, "Louis Segond 1910");
    Add("D\"B<Y", right,
        "Darby \xC3\xA9"
        "dition \xE2\x80\x9C"
        "1885\xE2\x80\x9D \xE2\x9C\x9D");
    const std::string page = Page(1, 1);

    std::set<std::string> anchors;
    const std::regex anchor("<A name=\"([0-9]+)\"></A>");
    for (std::sregex_iterator it(page.begin(), page.end(), anchor), end; it != end; ++it)
        EXPECT_TRUE(anchors.insert((*it)[1]).second) << "anchor twice: " << (*it)[1];
    EXPECT_EQ(anchors, (std::set<std::string>{"2", "3", "4", "5"}));  // verse 1 is the top
    for (const std::string& row : TableRows(page))
        if (row.find("name=\"4\"") != std::string::npos) {
            EXPECT_EQ(Cells(row)[0], "<A name=\"4\"></A>");
        }

    // Lines end with CR LF; names in UTF-8 as written, markup escaped.
    for (std::size_t at = page.find('\n'); at != std::string::npos; at = page.find('\n', at + 1))
        EXPECT_EQ(page[at - 1], '\r');
    EXPECT_NE(page.find("title=\"Louis Segond 1910\""), std::string::npos);
    EXPECT_NE(page.find("title=\"Darby édition “1885” ✝\""), std::string::npos);
    EXPECT_NE(page.find("<B>D&quot;B&lt;Y</B>"), std::string::npos);
    EXPECT_NE(page.find("<FONT size=\"2\" color=\"#800000\"><B>5</B></FONT> D 1.1.5"),
              std::string::npos);
}

TEST_F(ComparisonTest, TheTextSizeOfTheFirstBibleSizesEveryColumn) {
    Add("LSG", Bible("G", 2));
    Add("DBY", Bible("D", 2));
    std::const_pointer_cast<Communs>(bibles[0].tables)->TextSize = 4;
    std::const_pointer_cast<Communs>(bibles[1].tables)->TextSize = 1;
    const std::string page = Page(1, 1);
    EXPECT_NE(page.find("<FONT face=\"Tahoma\" size=\"4\">"), std::string::npos);
    EXPECT_NE(page.find("<FONT size=\"4\" color=\"#800000\"><B>2</B></FONT> D 1.1.2"),
              std::string::npos);
    EXPECT_EQ(page.find("size=\"1\""), std::string::npos);
}

TEST_F(ComparisonTest, WrittenWhereTheChapterPageGoes) {
    Add("LSG", Bible("G", 2));
    Add("DBY", Bible("D", 2));
    EXPECT_TRUE(WriteComparePage(bibles, {1, 1, 1, 0, false, true, false}));
    EXPECT_TRUE(WriteComparePage(bibles, {1, 1, 2, 2, true, false, false}));
    const std::string dir = bibles[0].tables->AppDir;
    EXPECT_EQ(testing::ReadFile(dir + "temp.htm"), Page(1, 1));
    EXPECT_EQ(testing::ReadFile(dir + "temp2.htm"), Passage(1, 1, 2, 2));
    EXPECT_FALSE(WriteComparePage(bibles, {1, 3, 1, 0, false, true, false}));  // no such chapter
}

// ---------------------------------------------------------------------------
// The passage window's page

TEST_F(ComparisonTest, PassageShowsItsVersesInEveryBibleOneParagraphEach) {
    DataSet right = Bible("D", 6);
    Drop(right, 1, 1, 3);
    DataSet third = Bible("M", 6);
    Drop(third, 1, 1, 0);
    Add("LSG", Bible("G", 6));
    Add("DBY", right);
    Add("MAR", third);
    const std::string html = Passage(1, 1, 2, 4);
    const std::size_t lsg = html.find("<B>LSG</B>"), dby = html.find("<B>DBY</B>"),
                      mar = html.find("<B>MAR</B>");
    ASSERT_NE(lsg, std::string::npos);
    ASSERT_LT(lsg, dby);
    ASSERT_LT(dby, mar);
    const std::string first = html.substr(lsg, dby - lsg), second = html.substr(dby, mar - dby),
                      last = html.substr(mar);
    for (const char* v : {"G 1.1.2", "G 1.1.3", "G 1.1.4"})
        EXPECT_NE(first.find(v), std::string::npos) << v;
    EXPECT_EQ(first.find("G 1.1.5"), std::string::npos);
    EXPECT_EQ(first.find("G 1.1.1"), std::string::npos);
    EXPECT_NE(second.find("D 1.1.4"), std::string::npos);
    EXPECT_EQ(second.find("D 1.1.3"), std::string::npos);
    EXPECT_NE(last.find("<I>Ce passage n'est pas dans cette Bible.</I>"), std::string::npos);
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'),
              std::count(second.begin(), second.end(), '\n') + 2);
    EXPECT_NE(html.find("<BODY bgcolor=\"#FFFFCC\">"), std::string::npos);
    EXPECT_EQ(html.find("<TABLE"), std::string::npos);
    EXPECT_EQ(html.find("<A "), std::string::npos) << "no references in the passage";

    // A single verse, and one verse per line when the reader asks so.
    const std::string one = Passage(1, 1, 5, 5);
    EXPECT_NE(one.find("G 1.1.5"), std::string::npos);
    EXPECT_EQ(one.find("G 1.1.6"), std::string::npos);
    const std::string byLine = Passage(1, 1, 1, 2, true);
    EXPECT_NE(byLine.find("G 1.1.1\r\n<BR>\r\n"), std::string::npos);
    EXPECT_EQ(Passage(1, 1, 1, 2).find("<BR>"), std::string::npos);
}

TEST_F(ComparisonTest, PassageOfTheWholeChapterTakesEveryVerseOfEachBible) {
    Add("LSG", Bible("G", 3));
    Add("DBY", Bible("D", 5));
    const std::string html = BuildComparePage(bibles, {1, 1, 2, 2, true, true, false}).html;
    for (const char* v : {"G 1.1.1", "G 1.1.3", "D 1.1.1", "D 1.1.5"})
        EXPECT_NE(html.find(v), std::string::npos) << v;
}

}  // namespace
}  // namespace lorvane

namespace lorvane {
namespace {

// A Hebrew Bible beside a French one: its cells run from the right, its
// verse numbers at the right; a bidirectional override left open in a verse
// is closed in that verse, never reaching the next cell.
TEST_F(ComparisonTest, AHebrewColumnRunsRightToLeftBesideAFrenchOne) {
    DataSet french = Bible("F", 3), hebrew = Bible("H", 3);
    hebrew.utf8 = true;
    for (auto& v : hebrew.verses)
        if (v.book == 1 && v.chapter == 1) v.text = v.verse == 2 ? "בָּרָא \u202Eאֱלֹהִים" : "בְּרֵאשִׁית";
    Add("LSG", french);
    Add("WLC", hebrew);
    const std::string page = Page(1, 1);
    std::vector<std::string> verseRows;
    for (const std::string& row : TableRows(page))
        if (row.find("#800000") != std::string::npos) verseRows.push_back(row);
    ASSERT_EQ(verseRows.size(), 3u);
    for (const std::string& row : verseRows) {
        const std::size_t french = row.find("<TD width"), hebrewCell = row.find("<TD", french + 1);
        EXPECT_EQ(row.substr(french, row.find('>', french) - french).find("rtl"),
                  std::string::npos);
        EXPECT_NE(row.substr(hebrewCell, row.find('>', hebrewCell) - hebrewCell)
                      .find("dir=\"rtl\" align=\"right\""),
                  std::string::npos)
            << row;
    }
    EXPECT_NE(verseRows[1].find("\u202Eאֱלֹהִים\u202C</TD>"), std::string::npos) << verseRows[1];

    const std::string passage = Passage(1, 1, 1, 3);
    EXPECT_NE(passage.find("<P title=\"WLC\" dir=\"rtl\" align=\"right\">"), std::string::npos)
        << passage;
    EXPECT_NE(passage.find("<P title=\"LSG\">"), std::string::npos);
}

// ---------------------------------------------------------------------------
// Verses paired by meaning

// Psaume 51 and Malachie 3-4 as a Bible numbers them: `psalm` verses in
// the Psalm (21 where the title counts, 19 where it does not), Malachie in
// 4 chapters (18 and 6 verses) or in 3 (the third of 24).
DataSet Numbered(const std::string& tag, int psalm, bool hebrewMalachi) {
    DataSet d;
    for (int b = 1; b <= 39; ++b)
        d.books.push_back({"Livre " + std::to_string(b), "L" + std::to_string(b),
                           b == 19 ? 150 : (b == 39 ? (hebrewMalachi ? 3 : 4) : 0)});
    const auto verse = [&](int b, int c, int v) {
        d.verses.push_back({b, c, v, tag + " " + std::to_string(c) + ":" + std::to_string(v)});
    };
    for (int v = 1; v <= psalm; ++v)
        verse(19, 51, v);
    for (int v = 1; v <= (hebrewMalachi ? 24 : 18); ++v)
        verse(39, 3, v);
    if (!hebrewMalachi)
        for (int v = 1; v <= 6; ++v)
            verse(39, 4, v);
    d.utf8 = true;
    return d;
}

// The row of the page holding `text`, as its cells.
std::vector<std::string> RowWith(const std::vector<std::string>& rows, const std::string& text) {
    for (const std::string& row : rows)
        if (row.find(text + "<") != std::string::npos || row.find(text + " ") != std::string::npos)
            return ComparisonTest::CellsOf(row);
    return {};
}

TEST_F(ComparisonTest, APsalmsVersesPairedByMeaningWithAndWithoutItsTitle) {
    Add("LSG", Numbered("LSG", 21, false));
    DataSet web = Numbered("WEB", 19, false);
    web.crossRefs = {{19, 51, 7, 0, 19, 51, 5, 0}};  // to its own 51:5
    AddNumbered("WEB", web, "KJV");
    Add("SYN", Numbered("SYN", 19, false));  // recognised from its chapters
    EXPECT_EQ(bibles[0].tables->VerseNumbering->Name(), "Segond");
    EXPECT_EQ(bibles[1].tables->VerseNumbering->Name(), "KJV");
    EXPECT_NE(bibles[2].tables->VerseNumbering->Name(), "Segond");

    const ComparedChapter cmp = Rows(19, 51);
    ASSERT_EQ(cmp.rows.size(), 21u);
    const auto text = [&](std::size_t row, std::size_t bible) {
        const std::int32_t slot = cmp.rows[row].cells[bible].slot;
        return slot == 0 ? std::string() : std::string(bibles[bible].tables->VerseTable[slot].Text);
    };
    // The hyssop verse: the Segond's 9, the others' 7, on one row.
    EXPECT_EQ(cmp.rows[8].verse, 9);
    EXPECT_EQ(text(8, 0), "LSG 51:9");
    EXPECT_EQ(text(8, 1), "WEB 51:7");
    EXPECT_EQ(text(8, 2), "SYN 51:7");
    // The title, verses 1 and 2 of the Segond, has no verse in the others.
    for (std::size_t r : {0u, 1u}) {
        EXPECT_EQ(text(r, 1), "");
        EXPECT_EQ(text(r, 2), "");
    }
    EXPECT_EQ(text(20, 1), "WEB 51:19");

    // Each column shows its own numbers.
    const std::vector<std::string> cells = RowWith(TableRows(Page(19, 51)), "LSG 51:9");
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_NE(cells[1].find(">7<"), std::string::npos) << cells[1];
    EXPECT_NE(cells[1].find("WEB 51:7"), std::string::npos);
    EXPECT_NE(cells[0].find(">9<"), std::string::npos) << cells[0];

    // The WEB's reference names its own 51:5 and leads to the Segond's
    // 51:7, the same verse in the passage window.
    const std::string link = CrossRefHref({19, 51, 7, 7}) + "\">L19 51:5</A>";
    EXPECT_NE(Page(19, 51).find(link), std::string::npos) << Page(19, 51);

    // The passage window of Psaume 51:9 shows the same verse of each.
    const std::string passage = Passage(19, 51, 9, 9);
    EXPECT_NE(passage.find("LSG 51:9"), std::string::npos);
    EXPECT_NE(passage.find("WEB 51:7"), std::string::npos);
    EXPECT_EQ(passage.find("WEB 51:9"), std::string::npos);
}

TEST_F(ComparisonTest, AnEnglishBibleFirstGetsRowsForTheTitleItLacks) {
    AddNumbered("WEB", Numbered("WEB", 19, false), "KJV");
    Add("LSG", Numbered("LSG", 21, false));
    const ComparedChapter cmp = Rows(19, 51);
    ASSERT_EQ(cmp.rows.size(), 21u);
    // The Segond's title first, on rows of the WEB's that are empty.
    EXPECT_EQ(cmp.rows[0].cells[0].slot, 0);
    EXPECT_EQ(cmp.rows[1].cells[0].slot, 0);
    EXPECT_EQ(bibles[1].tables->VerseTable[cmp.rows[0].cells[1].slot].Text, "LSG 51:1");
    EXPECT_EQ(cmp.rows[2].verse, 1);
    EXPECT_EQ(bibles[1].tables->VerseTable[cmp.rows[8].cells[1].slot].Text, "LSG 51:9");
    EXPECT_EQ(bibles[0].tables->VerseTable[cmp.rows[8].cells[0].slot].Text, "WEB 51:7");
    // The WEB's verse 7 keeps its anchor, for a move to its verse 7.
    const std::vector<std::string> row = RowWith(TableRows(Page(19, 51)), "WEB 51:7");
    ASSERT_EQ(row.size(), 2u);
    EXPECT_NE(row[0].find("<A name=\"7\"></A>"), std::string::npos) << row[0];
}

TEST_F(ComparisonTest, MalachieFourBesideTheHebrewsThreeNineteen) {
    Add("LSG", Numbered("LSG", 21, false));
    AddNumbered("HEB", Numbered("HEB", 21, true), "Leningrad");
    const ComparedChapter four = Rows(39, 4);
    ASSERT_EQ(four.rows.size(), 6u);
    EXPECT_EQ(four.states, std::vector<ChapterState>(2, ChapterState::Present));
    for (std::size_t r = 0; r < 6; ++r) {
        EXPECT_EQ(four.rows[r].verse, static_cast<int>(r) + 1);
        EXPECT_EQ(bibles[1].tables->VerseTable[four.rows[r].cells[1].slot].Text,
                  "HEB 3:" + std::to_string(19 + r));
    }
    // The Hebrew first: its chapter 3 holds the Segond's 3 and 4.
    std::swap(bibles[0], bibles[1]);
    const ComparedChapter three = Rows(39, 3);
    ASSERT_EQ(three.rows.size(), 24u);
    EXPECT_EQ(bibles[1].tables->VerseTable[three.rows[18].cells[1].slot].Text, "LSG 4:1");
    EXPECT_EQ(bibles[1].tables->VerseTable[three.rows[17].cells[1].slot].Text, "LSG 3:18");
    EXPECT_NE(Page(39, 3).find("LSG 4:6"), std::string::npos);
}

// A note on Segond Malachie 4:1 marks the Hebrew's 3:19 beside it.
TEST_F(ComparisonTest, ANotesMarkFollowsTheVerseInEveryColumn) {
    Add("LSG", Numbered("LSG", 21, false));
    AddNumbered("HEB", Numbered("HEB", 21, true), "Leningrad");
    ChapterPageRequest rq{39, 4};
    int asked = 0;
    rq.notesAt = [&asked](VersePlace s) {
        ++asked;
        std::vector<VerseNoteMark> marks;
        if (s == PlaceOf(39, 4, 1)) marks.push_back({"ab12", "le jour vient"});
        return marks;
    };
    const std::string html = BuildComparePage(bibles, rq).html;
    const std::string mark = "<A href=\"lorvane-note:ab12\" title=\"Note : le jour vient\">";
    const std::size_t first = html.find(mark);
    ASSERT_NE(first, std::string::npos);
    const std::size_t second = html.find(mark, first + 1);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, html.find("LSG 4:1"));
    EXPECT_LT(second, html.find("HEB 3:19"));
    EXPECT_GT(html.find("HEB 3:19"), html.find("LSG 4:1"));
    EXPECT_EQ(html.find(mark, second + 1), std::string::npos);
    EXPECT_GE(asked, 12);  // asked for each verse of both columns
}

}  // namespace
}  // namespace lorvane
