// The search engine on small generated Bibles.

#include <gtest/gtest.h>

#include "FctLoad.h"
#include "Fixtures.h"
#include "SearchEngine.h"

namespace lorvane {
namespace {

using testing::TempDir;

// 66 books "Livre N" / "LN" of 2 chapters of 3 verses "texte", and the
// verses given, which replace the plain ones with the same numbers.
class SearchEngineTest : public ::testing::Test {
  protected:
    struct Verse {
        int book, chapter, verse;
        std::string text;
    };

    void Load(const std::vector<Verse>& special, int versesPerChapter = 3) {
        testing::DataSet d;
        for (int b = 1; b <= 66; ++b) {
            d.books.push_back({"Livre " + std::to_string(b), "L" + std::to_string(b), 2});
            for (int ch = 1; ch <= 2; ++ch)
                for (int v = 1; v <= versesPerChapter; ++v) {
                    std::string text = "texte";
                    for (const Verse& s : special)
                        if (s.book == b && s.chapter == ch && s.verse == v) text = s.text;
                    d.verses.push_back({b, ch, v, text});
                }
        }
        d.books[42].shortName = "Ac";  // book 43
        d.pages = testing::TinyPages();
        testing::WriteDataFolder(dir.path(), d);
        c = Communs(dir.appDir());
        LoadAllTables(c);
    }

    // "b.c.v" of each verse found in the whole Bible.
    std::vector<std::string> Found(const std::string& query, int method = kSearchWords,
                                   int scope = kScopeWholeBible, int book = 1, int chapter = 1) {
        std::vector<std::string> out;
        const VerseMatches m =
            FindVerses(c, SearchTerms(query, method), SearchRange(c, scope, book, chapter));
        for (std::int32_t s : m.verses) {
            const TVerset& v = c.VerseTable[s];
            out.push_back(std::to_string(v.Book) + "." + std::to_string(v.Chapter) + "." +
                          std::to_string(v.Verse));
        }
        return out;
    }

    using V = std::vector<std::string>;
    TempDir dir;
    Communs c;
};

TEST(SearchTermsTest, WordsPhraseAndEmptyFields) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SearchTerms("lumi\xE8re t\xE9n\xE8"
                          "bres",
                          kSearchWords),
              (V{"lumi\xE8re",
                 "t\xE9n\xE8"
                 "bres"}));
    EXPECT_EQ(SearchTerms("a  b", kSearchWords), V{"a"});  // two spaces end the query
    EXPECT_EQ(SearchTerms(" a", kSearchWords), V{});       // a leading space: no term
    EXPECT_EQ(SearchTerms("", kSearchWords), V{});
    EXPECT_EQ(SearchTerms("a ", kSearchWords), V{"a"});
    EXPECT_EQ(SearchTerms("\ta\r b\x01 a", kSearchWords), (V{"a", "b", "a"}));  // duplicates stay
    EXPECT_EQ(SearchTerms("a\tb", kSearchWords), V{"a\tb"});  // split at spaces only
    EXPECT_EQ(SearchTerms(" au commencement ", kSearchPhrase), V{" au commencement "});
    EXPECT_EQ(SearchTerms("", kSearchPhrase), V{""});
    // The same fields as ExtractField gives one by one.
    for (const char* q : {"x y  z", "un deux trois", "a\x1F b", "   "}) {
        V expected;
        for (int n = 1;; ++n) {
            std::string f = ExtractField(q, n, ' ');
            while (!f.empty() && static_cast<unsigned char>(f.back()) <= ' ')
                f.pop_back();
            while (!f.empty() && static_cast<unsigned char>(f.front()) <= ' ')
                f.erase(0, 1);
            if (f.empty()) break;
            expected.push_back(f);
        }
        EXPECT_EQ(SearchTerms(q, kSearchWords), expected) << q;
    }
}

TEST(SearchTermsTest, CapitalisedVariant) {
    EXPECT_EQ(CapitalisedVariant("\xE9ternel"), "\xC9ternel");  // é -> É
    EXPECT_EQ(CapitalisedVariant("\x9Cuvre"), "\x8Cuvre");      // œ -> Œ
    EXPECT_EQ(CapitalisedVariant("Dieu"), "Dieu");
    EXPECT_EQ(CapitalisedVariant("7 fois"), "7 fois");
    const std::string longTerm = "a" + std::string(59, 'b');
    EXPECT_EQ(CapitalisedVariant(longTerm), "A" + std::string(50, 'b'));
}

TEST_F(SearchEngineTest, CaseOfTheFirstLetterOnlyAndAccentsDistinct) {
    Load({{1, 1, 1, "le dieu des nations"},
          {1, 1, 2, "Dieu dit"},
          {1, 1, 3, "L'\xC9TERNEL DIEU"},
          {2, 1, 1, "l'\xC9ternel parla"},
          {2, 1, 2, "l'eternel sans accent"},
          {2, 1, 3, "la paroi du temple"}});
    EXPECT_EQ(Found("dieu"), (V{"1.1.1", "1.1.2"}));
    EXPECT_EQ(Found("Dieu"), (V{"1.1.2"}));
    EXPECT_EQ(Found("DIEU"), (V{"1.1.3"}));
    EXPECT_EQ(Found("\xE9ternel"), (V{"2.1.1"}));
    EXPECT_EQ(Found("eternel"), (V{"2.1.2"}));
    EXPECT_EQ(Found("roi"), (V{"2.1.3"}));                           // no word boundaries
    EXPECT_EQ(Found("d"), (V{"1.1.1", "1.1.2", "1.1.3", "2.1.3"}));  // one letter
}

TEST_F(SearchEngineTest, EveryWordInAnyOrderAndTheExactPhrase) {
    Load({{1, 1, 1,
           "Au commencement, Dieu cr\xE9"
           "a les cieux"},
          {1, 1, 3,
           "que la lumi\xE8re soit, et les t\xE9n\xE8"
           "bres"},
          {1, 2, 1,
           "les t\xE9n\xE8"
           "bres et la lumi\xE8re"},
          {1, 2, 2, "la lumi\xE8re seule"},
          {43, 1, 1, "Au commencement \xE9tait la Parole"},
          {43, 1, 2, "il \xE9tait au commencement avec Dieu"}});
    EXPECT_EQ(Found("lumi\xE8re t\xE9n\xE8"
                    "bres"),
              (V{"1.1.3", "1.2.1"}));
    EXPECT_EQ(Found("t\xE9n\xE8"
                    "bres lumi\xE8re"),
              (V{"1.1.3", "1.2.1"}));
    EXPECT_EQ(Found("lumi\xE8re  t\xE9n\xE8"
                    "bres"),
              (V{"1.1.3", "1.2.1", "1.2.2"}));
    EXPECT_EQ(Found(" lumi\xE8re"), V{});
    EXPECT_EQ(Found("au commencement", kSearchPhrase), (V{"1.1.1", "43.1.1", "43.1.2"}));
    EXPECT_EQ(Found("au commencement ", kSearchPhrase), (V{"43.1.1", "43.1.2"}));
    EXPECT_EQ(Found("commencement Dieu", kSearchPhrase), V{});
    EXPECT_EQ(Found("", kSearchPhrase), V{});
}

TEST_F(SearchEngineTest, ScopesFollowTheCurrentChapterAndBook) {
    Load({{1, 1, 2, "pain"},
          {1, 2, 1, "pain"},
          {39, 2, 3, "pain"},
          {40, 1, 1, "pain"},
          {66, 2, 3, "pain"},
          {2, 1, 1, "pain"}});
    EXPECT_EQ(Found("pain", kSearchWords, kScopeChapter, 1, 1), (V{"1.1.2"}));
    EXPECT_EQ(Found("pain", kSearchWords, kScopeChapter, 1, 2), (V{"1.2.1"}));
    EXPECT_EQ(Found("pain", kSearchWords, kScopeBook, 1, 2), (V{"1.1.2", "1.2.1"}));
    EXPECT_EQ(Found("pain", kSearchWords, kScopeNewTestament), (V{"40.1.1", "66.2.3"}));
    EXPECT_EQ(Found("pain", kSearchWords, kScopeOldTestament),
              (V{"1.1.2", "1.2.1", "2.1.1", "39.2.3"}));
    EXPECT_EQ(Found("pain", kSearchWords, kScopeWholeBible).size(), 6u);
    // A chapter the Bible lacks, and scopes outside the list, find nothing.
    EXPECT_EQ(Found("pain", kSearchWords, kScopeChapter, 1, 9), V{});
    EXPECT_TRUE(SearchRange(c, 5, 1, 1).Empty());
    EXPECT_TRUE(SearchRange(c, -1, 1, 1).Empty());
    const SlotRange nt = SearchRange(c, kScopeNewTestament, 1, 1);
    EXPECT_EQ(nt.first, c.VerseLookup(40, 1, 1));
    EXPECT_EQ(nt.last, c.LastSlotOfBook(66));
}

TEST_F(SearchEngineTest, MatchesStayInsideOneVerse) {
    Load({{1, 1, 1, "fin de lumi"},
          {1, 1, 2,
           "\xE8re au d\xE9"
           "but"},
          {1, 1, 3, ""}});
    EXPECT_EQ(Found("lumi\xE8re"), V{});
    // Not even a term holding the bytes between two verses.
    EXPECT_EQ(Found(std::string("lumi\xFE", 6), kSearchPhrase), V{});
    EXPECT_EQ(Found("lumi", kSearchPhrase), V{"1.1.1"});
    EXPECT_EQ(Found("\xE8re au", kSearchPhrase), V{"1.1.2"});
}

TEST_F(SearchEngineTest, LongTermsMatchTheirShortVariant) {
    const std::string tail(59, 'b');
    Load({{1, 1, 1, "x a" + tail + " y"},
          {1, 1, 2, "x A" + tail.substr(0, 50) + " y"},
          {1, 1, 3, "x a" + tail.substr(0, 50) + " y"}});
    EXPECT_EQ(Found("a" + tail), (V{"1.1.1", "1.1.2"}));
}

TEST_F(SearchEngineTest, TextsSetOneByOneAreSearchedVerseByVerse) {
    Load({{1, 1, 1, "lumi\xE8re"}});
    const std::string a = "la lumi\xE8re", b = "rien", d = "Lumi\xE8re";
    c.VerseTable[1].Text = a;
    c.VerseTable[2].Text = b;
    c.VerseTable[3].Text = d;
    EXPECT_EQ(Found("lumi\xE8re", kSearchWords, kScopeChapter), (V{"1.1.1", "1.1.3"}));
}

TEST_F(SearchEngineTest, CapAtTheTwoHundredthMatch) {
    // 66 books x 2 chapters x 3 verses = 396 verses of "texte".
    Load({});
    VerseMatches m = FindVerses(c, {"texte"}, SearchRange(c, kScopeWholeBible, 1, 1));
    EXPECT_TRUE(m.capped);
    ASSERT_EQ(m.verses.size(), 200u);
    EXPECT_EQ(m.verses.front(), 1);
    EXPECT_EQ(m.verses.back(), 200);
    // Exactly 200 in the scope reach the cap; 199 do not.
    m = FindVerses(c, {"texte"}, {1, 200});
    EXPECT_TRUE(m.capped);
    EXPECT_EQ(m.verses.size(), 200u);
    m = FindVerses(c, {"texte"}, {1, 199});
    EXPECT_FALSE(m.capped);
    EXPECT_EQ(m.verses.size(), 199u);
}

TEST(SearchCountLineTest, TextsByCount) {
    EXPECT_EQ(CountLine(0), "<FONT color=\"gray\"><B>Aucun \xE9l\xE9ment trouv\xE9 ...</B></FONT>");
    EXPECT_EQ(CountLine(1), "<FONT color=\"gray\"><B>1 \xE9l\xE9ment trouv\xE9 ...</B></FONT>");
    EXPECT_EQ(CountLine(199),
              "<FONT color=\"gray\"><B>199 \xE9l\xE9ments trouv\xE9s ...</B></FONT>");
    EXPECT_EQ(CountLine(200),
              "<FONT color=\"gray\"><B>+ de 200 \xE9l\xE9ments trouv\xE9s ...</B></FONT>");
    EXPECT_EQ(CapMessage(),
              "Plus de 200 \xE9l\xE9ments !\r\nAjoutez des mots ou limitez la zone de recherche.");
    EXPECT_EQ(FormatCount("%d%%d %x%", 7), "7%d %x%");
}

TEST_F(SearchEngineTest, ResultItemsAndTheirColours) {
    Load({{43, 2, 3,
           "la gr\xE2"
           "ce et la paix"},
          {1, 1, 1, "Dieu et dieu"}});
    const std::int32_t slot = c.VerseLookup(43, 2, 3);
    EXPECT_EQ(ResultItemText(c, slot),
              "<B>Ac 2:3</B> : la gr\xE2"
              "ce et la paix");
    EXPECT_EQ(ResultItemValue(c, slot), 43002);

    const std::string open = "<FONT color=\"#C00400\">", close = "</FONT>";
    // The variant of "ac" colours the book's short name too.
    EXPECT_EQ(HighlightTerms(ResultItemText(c, slot), {"ac"}), "<B>" + open + "Ac" + close +
                                                                   " 2:3</B> : la gr\xE2"
                                                                   "ce et la paix");
    // A term that is its own variant is wrapped twice.
    EXPECT_EQ(HighlightTerms("Dieu et dieu", {"Dieu"}),
              open + open + "Dieu" + close + close + " et dieu");
    EXPECT_EQ(HighlightTerms("Dieu et dieu", {"dieu"}),
              open + "Dieu" + close + " et " + open + "dieu" + close);
    // Later terms see the tags of earlier ones; inserted text is not scanned
    // again within one replacement.
    EXPECT_EQ(HighlightTerms("Dieu", {"dieu", "ieu"}), open + "D" + open + "ieu" + close + close);
    EXPECT_EQ(HighlightTerms("aaa", {"a"}),
              open + "a" + close + open + "a" + close + open + "a" + close);
}

TEST(SearchHighlightTest, GrowthIsBounded) {
    // "or" is in every colour tag ("color"): repeated terms would multiply
    // the tags at each step.
    std::vector<std::string> terms(30, "or");
    const std::string out = HighlightTerms("l'or et l'argent", terms);
    EXPECT_LE(out.size(), kMaxHighlightedItem);
    EXPECT_NE(out.find("<FONT color=\"#C00400\">"), std::string::npos);
}

TEST_F(SearchEngineTest, WholeSearch) {
    Load({{40, 1, 1, "Dieu dit"}, {40, 2, 1, "le dieu"}});
    SearchRequest r;
    r.query = "dieu";
    const SearchResults res = Search(c, r);  // New Testament by default
    ASSERT_EQ(res.items.size(), 2u);
    EXPECT_FALSE(res.capped);
    EXPECT_EQ(res.items[1].value, 40002);
    EXPECT_EQ(res.items[1].text, "<B>L40 2:1</B> : le <FONT color=\"#C00400\">dieu</FONT>");
}

}  // namespace
}  // namespace lorvane
