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
    // Blanks, however many and wherever, only separate the words.
    EXPECT_EQ(SearchTerms("a  b", kSearchWords), (V{"a", "b"}));
    EXPECT_EQ(SearchTerms(" a", kSearchWords), V{"a"});
    EXPECT_EQ(SearchTerms("", kSearchWords), V{});
    EXPECT_EQ(SearchTerms("   ", kSearchWords), V{});
    EXPECT_EQ(SearchTerms("a ", kSearchWords), V{"a"});
    EXPECT_EQ(SearchTerms("\ta\r b\x01 a", kSearchWords), (V{"a", "b", "a"}));  // duplicates stay
    EXPECT_EQ(SearchTerms("a\tb", kSearchWords), (V{"a", "b"}));
    // The phrase: trimmed, each run of blanks one space.
    EXPECT_EQ(SearchTerms(" au  commencement\t", kSearchPhrase), V{"au commencement"});
    EXPECT_EQ(SearchTerms("", kSearchPhrase), V{});
    EXPECT_EQ(SearchTerms("  ", kSearchPhrase), V{});
}

TEST(SearchTermsTest, CapitalisedVariant) {
    EXPECT_EQ(CapitalisedVariant("\xE9ternel"), "\xC9ternel");  // é -> É
    EXPECT_EQ(CapitalisedVariant("\x9Cuvre"), "\x8Cuvre");      // œ -> Œ
    EXPECT_EQ(CapitalisedVariant("Dieu"), "Dieu");
    EXPECT_EQ(CapitalisedVariant("7 fois"), "7 fois");
    const std::string longTerm = "a" + std::string(59, 'b');
    EXPECT_EQ(CapitalisedVariant(longTerm), "A" + std::string(59, 'b'));
}

TEST(SearchFoldTest, FoldingTable) {
    // Every accented letter, small and capital, loses its accent and case.
    EXPECT_EQ(FoldText("\xE0\xE2\xE4\xE1\xE3\xE5\xC0\xC2\xC4\xC1\xC3\xC5"), std::string(12, 'a'));
    EXPECT_EQ(FoldText("\xE7\xC7"), "cc");
    EXPECT_EQ(FoldText("\xE9\xE8\xEA\xEB\xC9\xC8\xCA\xCB"), std::string(8, 'e'));
    EXPECT_EQ(FoldText("\xEE\xEF\xED\xEC\xCE\xCF\xCD\xCC"), std::string(8, 'i'));
    EXPECT_EQ(FoldText("\xF4\xF6\xF3\xF2\xF5\xD4\xD6\xD3\xD2\xD5"), std::string(10, 'o'));
    EXPECT_EQ(FoldText("\xF9\xFB\xFC\xFA\xD9\xDB\xDC\xDA"), std::string(8, 'u'));
    EXPECT_EQ(FoldText("\xFF\x9F\xFD\xDD"), "yyyy");
    EXPECT_EQ(FoldText("\xF1\xD1\x9A\x8A\x9E\x8E"), "nnsszz");
    // œ and æ in two letters; the typographic apostrophes straight.
    EXPECT_EQ(FoldText("c\x9Cur C\x9C"
                       "ur C\x8CUR \xE6 \xC6"),
              "coeur coeur coeur ae ae");
    EXPECT_EQ(FoldText("n\x92"
                       "ayez \x91"
                       "x"),
              "n'ayez 'x");
    // Capitals lower-cased; other bytes as they are.
    EXPECT_EQ(FoldText("L'\xC9TERNEL, 7 \xD8\xDE\xD0 \xDF\xB5\xD7"),
              "l'eternel, 7 \xF8\xFE\xF0 \xDF\xB5\xD7");

    // The folded method cuts the terms as the words, then folds them; every
    // method straightens the apostrophes of the query.
    using V = std::vector<std::string>;
    EXPECT_EQ(SearchTerms("C\x8CUR  \xC9ternel", kSearchFolded), (V{"coeur", "eternel"}));
    EXPECT_EQ(SearchTerms("\xC9TERNEL c\x9Cur", kSearchFolded), (V{"eternel", "coeur"}));
    EXPECT_EQ(SearchTerms(" A*", kSearchFolded), V{"a*"});
    EXPECT_EQ(SearchTerms("n\x92"
                          "ayez",
                          kSearchWords),
              V{"n'ayez"});
    EXPECT_EQ(SearchTerms("\x91n\x92"
                          "ayez pas",
                          kSearchPhrase),
              V{"'n'ayez pas"});
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
              (V{"1.1.3", "1.2.1"}));
    EXPECT_EQ(Found(" lumi\xE8re"), (V{"1.1.3", "1.2.1", "1.2.2"}));
    EXPECT_EQ(Found("au commencement", kSearchPhrase), (V{"1.1.1", "43.1.1", "43.1.2"}));
    EXPECT_EQ(Found(" au  commencement ", kSearchPhrase), (V{"1.1.1", "43.1.1", "43.1.2"}));
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

TEST_F(SearchEngineTest, LongTermsMatchWhole) {
    const std::string tail(59, 'b');
    Load({{1, 1, 1, "x a" + tail + " y"},
          {1, 1, 2, "x A" + tail + " y"},
          {1, 1, 3, "x A" + tail.substr(0, 50) + " y"}});
    EXPECT_EQ(Found("a" + tail), (V{"1.1.1", "1.1.2"}));
    EXPECT_EQ(Found("a" + tail + " y", kSearchPhrase), (V{"1.1.1", "1.1.2"}));
}

TEST_F(SearchEngineTest, PhraseSpacesMatchRunsOfSpaces) {
    Load({{1, 1, 1, "au  commencement   Dieu"}, {1, 1, 2, "Au commencement"}});
    EXPECT_EQ(Found("au commencement Dieu", kSearchPhrase), V{"1.1.1"});
    EXPECT_EQ(Found("au commencement", kSearchPhrase), (V{"1.1.1", "1.1.2"}));
    const std::string open = "<FONT color=\"#C00400\">", close = "</FONT>";
    EXPECT_EQ(HighlightTerms("x au  commencement   Dieu", {"au commencement"}),
              "x " + open + "au  commencement" + close + "   Dieu");
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
    EXPECT_EQ(m.total, 396);  // the others are counted
    ASSERT_EQ(m.verses.size(), 200u);
    EXPECT_EQ(m.verses.front(), 1);
    EXPECT_EQ(m.verses.back(), 200);
    // Exactly 200 in the scope are all shown; 201 are not.
    m = FindVerses(c, {"texte"}, {1, 200});
    EXPECT_FALSE(m.capped);
    EXPECT_EQ(m.verses.size(), 200u);
    m = FindVerses(c, {"texte"}, {1, 201});
    EXPECT_TRUE(m.capped);
    EXPECT_EQ(m.total, 201);
    m = FindVerses(c, {"texte"}, {1, 199});
    EXPECT_FALSE(m.capped);
    EXPECT_EQ(m.verses.size(), 199u);
}

TEST_F(SearchEngineTest, FoldedWordsFindWhatReadersType) {
    Load({{1, 1, 1, "Mon c\x9Cur est \xE9mu"},
          {1, 1, 2, "C\x9Cur pur"},
          {1, 2, 1, "L'\xC9ternel est mon berger"},
          {1, 2, 2, "Ainsi parle l'\xC9TERNEL"},
          {1, 2, 3, "le coeur sans \x9C"},
          {2, 1, 1, "Ne crains pas, n'ayez pas peur"},
          {2, 1, 2, "n'ayez point peur"},
          {2, 1, 3, "\xE9ternellement, foi et fois"}});
    SearchRequest r;
    r.scope = kScopeWholeBible;
    auto items = [&](const std::string& query, int method) {
        r.query = query;
        r.method = method;
        V out;
        for (const SearchResultItem& i : Search(c, r).items)
            out.push_back(i.text);
        return out;
    };
    const std::string open = "<FONT color=\"#C00400\">", close = "</FONT>";
    const V coeur = {"<B>L1 1:1</B> : Mon " + open + "c\x9Cur" + close + " est \xE9mu",
                     "<B>L1 1:2</B> : " + open + "C\x9Cur" + close + " pur",
                     "<B>L1 2:3</B> : le " + open + "coeur" + close + " sans \x9C"};
    EXPECT_EQ(items("coeur", kSearchFolded), coeur);
    EXPECT_EQ(items("c\x9Cur", kSearchFolded), coeur);
    EXPECT_EQ(items("C\x8CUR", kSearchFolded), coeur);
    EXPECT_EQ(items("coeur", kSearchWords).size(), 1u);  // the exact methods stay as they are

    const V eternel = {"<B>L1 2:1</B> : L'" + open + "\xC9ternel" + close + " est mon berger",
                       "<B>L1 2:2</B> : Ainsi parle l'" + open + "\xC9TERNEL" + close};
    EXPECT_EQ(items("eternel", kSearchFolded), eternel);
    EXPECT_EQ(items("\xC9TERNEL", kSearchFolded), eternel);
    EXPECT_EQ(items("eternel", kSearchWords), V{});
    // Whole words; a trailing '*' for the words that begin so, coloured
    // whole.
    EXPECT_EQ(items("fois", kSearchFolded),
              V{"<B>L2 1:3</B> : \xE9ternellement, foi et " + open + "fois" + close});
    EXPECT_EQ(items("ETERN*", kSearchFolded).back(),
              "<B>L2 1:3</B> : " + open + "\xE9ternellement" + close + ", foi et fois");
    EXPECT_EQ(items("fo* eternel*", kSearchFolded),
              V{"<B>L2 1:3</B> : " + open + "\xE9ternellement" + close + ", " + open + "foi" +
                close + " et " + open + "fois" + close});
    EXPECT_EQ(items("*", kSearchFolded), V{});

    // Every term, in any order; occurrences that overlap are coloured as one.
    EXPECT_EQ(
        items("PEUR n\x92"
              "ayez",
              kSearchFolded),
        (V{"<B>L2 1:1</B> : Ne crains pas, " + open + "n'ayez" + close + " pas " + open + "peur" +
               close,
           "<B>L2 1:2</B> : " + open + "n'ayez" + close + " point " + open + "peur" + close}));
    EXPECT_EQ(items("ur pu", kSearchFolded), V{});
    // The typographic apostrophe in each method.
    const std::string phrase = "<B>L2 1:1</B> : Ne crains pas, " + open + "n'ayez pas peur" + close;
    EXPECT_EQ(items("n\x92"
                    "ayez pas peur",
                    kSearchPhrase),
              V{phrase});
    EXPECT_EQ(items("n\x91"
                    "ayez pas peur",
                    kSearchPhrase),
              V{phrase});
    EXPECT_EQ(items("n\x92"
                    "ayez",
                    kSearchWords)
                  .size(),
              2u);
    EXPECT_EQ(items("n\x92"
                    "ayez",
                    kSearchFolded)
                  .size(),
              2u);
    // A term runs inside one verse; a character Windows-1252 lacks finds
    // nothing.
    EXPECT_EQ(items("\xE9mu c\x9Cur", kSearchFolded).size(), 1u);
    EXPECT_EQ(items("mucoeur", kSearchFolded), V{});
    EXPECT_EQ(items(std::string("c\x9Cur \xFE"), kSearchFolded), V{});
}

TEST_F(SearchEngineTest, FoldedCopyScopesAndCap) {
    Load({{1, 1, 1, "TEXTE"}, {40, 1, 1, "T\xCAXTE"}});
    const FoldedVerses folded(c);
    EXPECT_EQ(folded.SlotCount(), c.VerseSlotCount());
    EXPECT_EQ(folded.Text(1), "texte");
    EXPECT_GE(folded.MemoryBytes(), folded.Bytes().size());
    VerseMatches m = FindFoldedVerses(folded, {"texte"}, SearchRange(c, kScopeWholeBible, 1, 1));
    EXPECT_TRUE(m.capped);
    ASSERT_EQ(m.verses.size(), 200u);
    EXPECT_EQ(m.verses.back(), 200);
    EXPECT_EQ(m.total, 396);
    m = FindFoldedVerses(folded, {"texte"}, {1, 200});
    EXPECT_FALSE(m.capped);
    EXPECT_EQ(m.verses.size(), 200u);
    m = FindFoldedVerses(folded, {"texte"}, SearchRange(c, kScopeChapter, 40, 1));
    EXPECT_EQ(m.verses, (std::vector<std::int32_t>{c.VerseLookup(40, 1, 1), c.VerseLookup(40, 1, 2),
                                                   c.VerseLookup(40, 1, 3)}));
    EXPECT_TRUE(FindFoldedVerses(folded, {"texte", ""}, {1, 10}).verses.empty());
}

TEST(SearchCountLineTest, VersesFoundInOneWordingWhateverTheCount) {
    EXPECT_EQ(CountLine(0), "<FONT color=\"gray\"><B>Aucun verset trouv\xE9</B></FONT>");
    EXPECT_EQ(CountLine(1), "<FONT color=\"gray\"><B>1 verset trouv\xE9</B></FONT>");
    EXPECT_EQ(CountLine(121), "<FONT color=\"gray\"><B>121 versets trouv\xE9s</B></FONT>");
    EXPECT_EQ(CountLine(200), "<FONT color=\"gray\"><B>200 versets trouv\xE9s</B></FONT>");
    EXPECT_EQ(CapLine(206),
              "<FONT color=\"gray\"><B>206 versets trouv\xE9s ; seuls les 200 premiers, dans "
              "l'ordre de la Bible, sont affich\xE9s. Ajoutez des mots ou limitez la zone de "
              "recherche.</B></FONT>");
    EXPECT_EQ(CapLine(31170),
              "<FONT color=\"gray\"><B>31\xA0"
              "170 versets trouv\xE9s ; seuls les 200 premiers, dans "
              "l'ordre de la Bible, sont affich\xE9s. Ajoutez des mots ou limitez la zone de "
              "recherche.</B></FONT>");
    EXPECT_EQ(FoldedHintLine(),
              "<FONT color=\"gray\"><B>Aucun verset trouv\xE9. Essayez la m\xE9thode \xAB "
              "Mots, sans accents ni majuscules \xBB.</B></FONT>");
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
    EXPECT_EQ(ResultItemChapter(ResultItemValue(c, slot)).chapter, 2);  // read back

    const std::string open = "<FONT color=\"#C00400\">", close = "</FONT>";
    // Only the verse is coloured, never the reference.
    EXPECT_EQ(ColouredResultItem(c, slot, {"ac"}, kSearchWords), ResultItemText(c, slot));
    EXPECT_EQ(ColouredResultItem(c, slot, {"ac"}, kSearchFolded), ResultItemText(c, slot));
    // Each match once, overlapping and touching ones as one.
    EXPECT_EQ(HighlightTerms("Dieu et dieu", {"Dieu"}), open + "Dieu" + close + " et dieu");
    EXPECT_EQ(HighlightTerms("Dieu et dieu", {"dieu"}),
              open + "Dieu" + close + " et " + open + "dieu" + close);
    EXPECT_EQ(HighlightTerms("Dieu", {"dieu", "ieu"}), open + "Dieu" + close);
    EXPECT_EQ(HighlightTerms("aaa", {"a"}), open + "aaa" + close);
    // Never inside a tag of the text.
    EXPECT_EQ(HighlightTerms("<I>Il</I> dit", {"I", "i"}),
              "<I>" + open + "I" + close + "l</I> d" + open + "i" + close + "t");
}

TEST(SearchHighlightTest, GrowthIsBounded) {
    // "or" is in every colour tag ("color"): repeated terms would multiply
    // the tags at each step.
    std::vector<std::string> terms(30, "or");
    const std::string out = HighlightTerms("l'or et l'argent", terms);
    EXPECT_LE(out.size(), kMaxHighlightedItem);
    EXPECT_NE(out.find("<FONT color=\"#C00400\">"), std::string::npos);
    const std::string folded = HighlightFoldedTerms(std::string(2000, 'a') + "b", {"a"});
    EXPECT_LE(folded.size(), kMaxHighlightedItem);
    EXPECT_EQ(folded.back(), 'b');
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
