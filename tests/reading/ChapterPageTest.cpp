#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ChapterPage.h"
#include "FctLoad.h"
#include "Fixtures.h"

namespace lorvane {
namespace {

using testing::ReadFile;

using testing::DataSet;
using testing::TempDir;

// Joins lines with CR LF after each, as the page file holds them.
std::string Page(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

const std::string kHead = "<HTML><BODY bgcolor=\"#FFFFFF\">";
const std::string kFont2 = "<FONT face=\"Tahoma\" size=\"2\">";
const std::string kEnd = "</FONT></BODY></HTML>";
std::string VerseLine(int v, const std::string& text, int size = 2) {
    return "<FONT size=\"" + std::to_string(size) + "\" color=\"#800000\"><B>" + std::to_string(v) +
           "</B></FONT> " + text;
}
std::string RefLine(const std::string& href, const std::string& label, bool last, int size = 1) {
    std::string s = std::to_string(size);
    return "<A href=\"" + href + "\"><FONT size=\"" + s + "\">" + label + "</FONT></A>" +
           (last ? "<BR>" : "<FONT size=\"" + s + "\"> ; </FONT>");
}

class ChapterPageTest : public ::testing::Test {
  protected:
    // Book 1 "Genèse"/"Ge", chapter 1 of 3 verses, chapter 2 of 26
    // verses; book 2 chapter 1 of 2 verses.
    void SetUp() override {
        data.books = {{"Genèse", "Ge", 2}, {"Exode", "Ex", 1}};
        for (int v = 1; v <= 3; ++v)
            data.verses.push_back({1, 1, v, "Texte " + std::to_string(v)});
        for (int v = 1; v <= 26; ++v)
            data.verses.push_back({1, 2, v, "Deux " + std::to_string(v)});
        for (int v = 1; v <= 2; ++v)
            data.verses.push_back({2, 1, v, "Ex " + std::to_string(v)});
    }
    void Load() {
        data.utf8 = true;
        testing::WriteDataFolder(dir.path(), data);
        LoadAllTables(c);
    }
    ChapterPage Build(int book, int chapter, int first = 1, int last = 0, bool passage = false,
                      bool whole = true, bool byLine = false) {
        return BuildChapterPage(c, {book, chapter, first, last, passage, whole, byLine});
    }

    TempDir dir;
    DataSet data;
    Communs c{dir.appDir()};
};

TEST_F(ChapterPageTest, HeadingsReferencesAnchorsAndSeparatorsInOrder) {
    data.headings = {
        {'D', 1, 1, 1,
         "la cré"
         "ation œ"
         "uvre"},  // before verse 1: no break at all
        {'E', 1, 1, 1, "Premier jour"},
        {'X', 1, 1, 2, "jamais montré"},   // unknown kind: nothing at all
        {'E', 1, 1, 3, "Deux titres"},     // first of two: <BR> and <BR><BR>
        {'D', 1, 1, 3, "Second élément"},  // following one: <BR> only
        {'E', 1, 2, 1, "Chapitre suivant"},
    };
    data.crossRefs = {
        {1, 1, 2, 0, 1, 2, 0, 0},  // whole chapter 2 of book 1: 1-26
        {1, 1, 3, 0, 2, 1, 2, 0},  // a single verse
        {1, 1, 3, 0, 1, 2, 5, 9},  // a range
        {1, 1, 3, 0, 2, 1, 1, 1},  // first = last: single-verse form
        {1, 2, 1, 0, 1, 1, 1, 0},  // another chapter: not on this page
    };
    Load();
    ChapterPage page = Build(1, 1);
    EXPECT_TRUE(page.wroteVerse);
    EXPECT_EQ(page.html, Page({kHead,
                               kFont2,
                               "<FONT color=\"#008000\"><B>LA CRÉ"
                               "ATION Œ"
                               "UVRE</B></FONT><BR>",
                               "<FONT color=\"#000000\"><B>Premier jour</B></FONT><BR>",
                               VerseLine(1, "Texte 1"),
                               "  ",
                               "<BR>",
                               RefLine("¤"
                                       "1¤"
                                       "2¤"
                                       "1¤"
                                       "26",
                                       "Ge 2:1-26", true),
                               "<A name=\"2\"></A>",
                               VerseLine(2, "Texte 2"),
                               "  ",
                               "<BR>",
                               "<BR><BR>",
                               "<FONT color=\"#000000\"><B>Deux titres</B></FONT><BR>",
                               "<BR>",
                               "<FONT color=\"#008000\"><B>SECOND ÉLÉMENT</B></FONT><BR>",
                               "<BR>",
                               RefLine("¤"
                                       "2¤"
                                       "1¤"
                                       "2¤"
                                       "2",
                                       "Ex 1:2", false),
                               RefLine("¤"
                                       "1¤"
                                       "2¤"
                                       "5¤"
                                       "9",
                                       "Ge 2:5-9", false),
                               RefLine("¤"
                                       "2¤"
                                       "1¤"
                                       "1¤"
                                       "1",
                                       "Ex 1:1", true),
                               "<A name=\"3\"></A>",
                               VerseLine(3, "Texte 3"),
                               "  ",
                               "<BR>",
                               kEnd}));
}

TEST_F(ChapterPageTest, TextSizesPassageModeAndVerseByLine) {
    data.headings = {{'E', 1, 1, 2, "Titre"}};
    data.crossRefs = {{1, 1, 2, 0, 2, 1, 1, 2}};
    Load();
    c.TextSize = 4;
    std::string html = Build(1, 1).html;
    EXPECT_NE(html.find("<FONT face=\"Tahoma\" size=\"4\">"), std::string::npos);
    EXPECT_NE(html.find(VerseLine(2, "Texte 2", 4)), std::string::npos);
    EXPECT_NE(html.find(RefLine("¤"
                                "2¤"
                                "1¤"
                                "1¤"
                                "2",
                                "Ex 1:1-2", true, 3)),
              std::string::npos);
    c.TextSize = 1;
    html = Build(1, 1).html;
    EXPECT_NE(html.find(VerseLine(2, "Texte 2", 1)), std::string::npos);
    EXPECT_NE(html.find(RefLine("¤"
                                "2¤"
                                "1¤"
                                "1¤"
                                "2",
                                "Ex 1:1-2", true, 1)),
              std::string::npos);

    c.TextSize = 2;
    std::string passage = Build(1, 1, 2, 3, true, false, true).html;
    EXPECT_EQ(passage, Page({"<HTML><BODY bgcolor=\"#FFFFCC\">", kFont2, "<A name=\"2\"></A>",
                             VerseLine(2, "Texte 2"), "<BR>", "<A name=\"3\"></A>",
                             VerseLine(3, "Texte 3"), "<BR>", "<BR>", kEnd}));
}

TEST_F(ChapterPageTest, VerseRangesFollowTheirSlots) {
    Load();
    auto verses = [&](int first, int last, bool whole) {
        std::string html = Build(1, 2, first, last, true, whole).html;
        std::vector<int> found;
        for (int v = 1; v <= 26; ++v)
            if (html.find("<B>" + std::to_string(v) + "</B></FONT> Deux " + std::to_string(v) +
                          "\r\n") != std::string::npos)
                found.push_back(v);
        return found;
    };
    EXPECT_EQ(verses(24, 0, false), (std::vector<int>{24, 25, 26}));  // to the chapter's end
    EXPECT_EQ(verses(5, 3, false), (std::vector<int>{5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                                     16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}));
    EXPECT_EQ(verses(10, 12, false), (std::vector<int>{10, 11, 12}));
    EXPECT_EQ(verses(0, 2, false), (std::vector<int>{1, 2}));  // missing first: open start
    EXPECT_EQ(verses(3, 99, false), std::vector<int>{});       // missing last: empty
    EXPECT_EQ(verses(10, 12, true).size(), 26u);               // whole chapter
    EXPECT_FALSE(Build(1, 2, 3, 99, true, false).wroteVerse);
}

TEST_F(ChapterPageTest, ChaptersWithoutVersesGiveTheFrameOnly) {
    data.headings = {{'E', 1, 3, 1, "Chapitre absent"}};
    Load();
    const std::string frame = Page({kHead, kFont2, "<BR>", kEnd});
    for (auto [b, ch] : {std::pair{1, 3}, {1, 151}, {0, 1}, {67, 1}, {-1, -1}}) {
        ChapterPage page = Build(b, ch);
        EXPECT_FALSE(page.wroteVerse);
        EXPECT_EQ(page.html, frame) << b << ":" << ch;
    }
}

TEST_F(ChapterPageTest, AHeadingWhoseVerseNeverComesHoldsBackTheLaterOnes) {
    data.headings = {
        {'E', 1, 2, 1, "Vu"}, {'E', 1, 2, 40, "Verset absent"}, {'E', 1, 2, 5, "Retenu"}};
    Load();
    std::string html = Build(1, 2).html;
    EXPECT_NE(html.find("Vu"), std::string::npos);
    EXPECT_EQ(html.find("Retenu"), std::string::npos);
}

TEST_F(ChapterPageTest, WritesTheFileOfItsModeEvenWithoutVerses) {
    Load();
    EXPECT_TRUE(WriteChapterPage(c, {1, 1, 1, 0, false, true, false}));
    std::string reading = ReadFile(dir.path() / "temp.htm");
    EXPECT_EQ(reading, Build(1, 1).html);
    EXPECT_FALSE(WriteChapterPage(c, {1, 9, 1, 0, true, true, false}));
    EXPECT_EQ(ReadFile(dir.path() / "temp2.htm"),
              Page({"<HTML><BODY bgcolor=\"#FFFFCC\">", kFont2, "<BR>", kEnd}));
    EXPECT_EQ(ReadFile(dir.path() / "temp.htm"), reading);  // untouched by the passage page

    Communs nowhere("/nonexistent-folder/");
    EXPECT_THROW(WriteChapterPage(nowhere, {1, 1, 1, 0, false, true, false}), std::runtime_error);
}

// The reader's notes and colours, by Segond place: a note's mark after the
// verse number, a link titled « Note : » and its first words, its text
// escaped; a colour behind the verse's text, titled with its name.
TEST_F(ChapterPageTest, NoteMarksAndColoursOfTheReader) {
    Load();
    ChapterPageRequest rq{1, 1};
    rq.notesAt = [](VersePlace s) {
        std::vector<VerseNoteMark> marks;
        if (s == PlaceOf(1, 1, 2)) marks.push_back({"00ff", "a <b> & \"c\""});
        return marks;
    };
    rq.backgroundAt = [](VersePlace s) {
        return s == PlaceOf(1, 1, 3) ? VerseColour{0xFFF59D, "jaune"} : VerseColour{};
    };
    const std::string html = BuildChapterPage(c, rq).html;
    EXPECT_NE(html.find(VerseLine(2,
                                  "<A href=\"lorvane-note:00ff\" title=\"Note : a &lt;b&gt; "
                                  "&amp; &quot;c&quot;\"><FONT color=\"#B06000\">\xE2\x9C\x8E"
                                  "</FONT></A> Texte 2")),
              std::string::npos)
        << html;
    EXPECT_NE(html.find(VerseLine(3,
                                  "<SPAN style=\"background-color:#FFF59D\" title=\"surligné "
                                  "en jaune\">Texte 3</SPAN>")),
              std::string::npos)
        << html;
    EXPECT_NE(html.find(VerseLine(1, "Texte 1")), std::string::npos);
}

TEST_F(ChapterPageTest, ABookTheImportedBibleLacksSaysSo) {
    data.books.push_back({"Lévitique", "Lv", 0});
    Load();
    ChapterPage page = Build(3, 1);
    EXPECT_TRUE(page.wroteVerse);
    EXPECT_EQ(page.html,
              Page({kHead, kFont2, "<I>Ce livre n'est pas dans cette Bible.</I>", "<BR>", kEnd}));
    EXPECT_FALSE(Build(3, 1, 1, 0, true).wroteVerse);  // the passage window shows nothing
}

// A chapter written right to left runs from the right, each verse number at
// the right of its verse; a verse's bidirectional controls stay in it.
TEST_F(ChapterPageTest, AHebrewChapterRunsRightToLeftAndKeepsItsControls) {
    data.verses.clear();
    data.verses.push_back({1, 1, 1, "בְּרֵאשִׁית \u2067בָּרָא"});  // an isolate left open
    data.verses.push_back({1, 1, 2, "\u202Cאֱלֹהִים"});       // a close without an open
    data.verses.push_back({1, 2, 1, "Texte \u202Eà l'envers\u202C droit"});
    data.verses.push_back({2, 1, 1, "Ex 1"});
    Load();
    const std::string hebrew = Build(1, 1).html;
    EXPECT_EQ(hebrew, Page({kHead, kFont2, "<DIV dir=\"rtl\" align=\"right\">",
                            "<FONT size=\"2\" color=\"#800000\"><B>1</B></FONT> בְּרֵאשִׁית "
                            "\u2067בָּרָא\u2069",
                            "  ", "<A name=\"2\"></A>",
                            "<FONT size=\"2\" color=\"#800000\"><B>2</B></FONT> אֱלֹהִים", "  ",
                            "</DIV>", "<BR>", kEnd}));
    const std::string french = Build(1, 2).html;
    EXPECT_EQ(french.find("rtl"), std::string::npos);
    EXPECT_NE(french.find("Texte \u202Eà l'envers\u202C droit"), std::string::npos);
}

}  // namespace
}  // namespace lorvane
