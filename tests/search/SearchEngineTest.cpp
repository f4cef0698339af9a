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
        d.utf8 = true;
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
    EXPECT_EQ(SearchTerms("lumière ténè"
                          "bres",
                          kSearchWords),
              (V{"lumière",
                 "ténè"
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
    EXPECT_EQ(CapitalisedVariant("éternel"), "Éternel");  // é -> É
    EXPECT_EQ(CapitalisedVariant("œuvre"), "Œuvre");      // œ -> Œ
    EXPECT_EQ(CapitalisedVariant("Dieu"), "Dieu");
    EXPECT_EQ(CapitalisedVariant("7 fois"), "7 fois");
    const std::string longTerm = "a" + std::string(59, 'b');
    EXPECT_EQ(CapitalisedVariant(longTerm), "A" + std::string(59, 'b'));
}

TEST(SearchFoldTest, FoldingTable) {
    // Every accented letter, small and capital, loses its accent and case.
    EXPECT_EQ(FoldText("àâäáãåÀÂÄÁÃÅ"), std::string(12, 'a'));
    EXPECT_EQ(FoldText("çÇ"), "cc");
    EXPECT_EQ(FoldText("éèêëÉÈÊË"), std::string(8, 'e'));
    EXPECT_EQ(FoldText("îïíìÎÏÍÌ"), std::string(8, 'i'));
    EXPECT_EQ(FoldText("ôöóòõÔÖÓÒÕ"), std::string(10, 'o'));
    EXPECT_EQ(FoldText("ùûüúÙÛÜÚ"), std::string(8, 'u'));
    EXPECT_EQ(FoldText("ÿŸýÝ"), "yyyy");
    EXPECT_EQ(FoldText("ñÑšŠžŽ"), "nnsszz");
    // œ and æ in two letters; the typographic apostrophes straight.
    EXPECT_EQ(FoldText("cœur Cœ"
                       "ur CŒUR æ Æ"),
              "coeur coeur coeur ae ae");
    EXPECT_EQ(FoldText("n’"
                       "ayez ‘"
                       "x"),
              "n'ayez 'x");
    // Capitals lower-cased (the micro sign µ folds to the Greek μ); other
    // characters as they are.
    EXPECT_EQ(FoldText("L'ÉTERNEL, 7 ØÞÐ ßµ×"), "l'eternel, 7 øþð ßμ×");

    // The folded method cuts the terms as the words, then folds them; every
    // method straightens the apostrophes of the query.
    using V = std::vector<std::string>;
    EXPECT_EQ(SearchTerms("CŒUR  Éternel", kSearchFolded), (V{"coeur", "eternel"}));
    EXPECT_EQ(SearchTerms("ÉTERNEL cœur", kSearchFolded), (V{"eternel", "coeur"}));
    EXPECT_EQ(SearchTerms(" A*", kSearchFolded), V{"a*"});
    EXPECT_EQ(SearchTerms("n’"
                          "ayez",
                          kSearchWords),
              V{"n'ayez"});
    EXPECT_EQ(SearchTerms("‘n’"
                          "ayez pas",
                          kSearchPhrase),
              V{"'n'ayez pas"});
}

TEST_F(SearchEngineTest, CaseOfTheFirstLetterOnlyAndAccentsDistinct) {
    Load({{1, 1, 1, "le dieu des nations"},
          {1, 1, 2, "Dieu dit"},
          {1, 1, 3, "L'ÉTERNEL DIEU"},
          {2, 1, 1, "l'Éternel parla"},
          {2, 1, 2, "l'eternel sans accent"},
          {2, 1, 3, "la paroi du temple"}});
    EXPECT_EQ(Found("dieu"), (V{"1.1.1", "1.1.2"}));
    EXPECT_EQ(Found("Dieu"), (V{"1.1.2"}));
    EXPECT_EQ(Found("DIEU"), (V{"1.1.3"}));
    EXPECT_EQ(Found("éternel"), (V{"2.1.1"}));
    EXPECT_EQ(Found("eternel"), (V{"2.1.2"}));
    EXPECT_EQ(Found("roi"), (V{"2.1.3"}));                           // no word boundaries
    EXPECT_EQ(Found("d"), (V{"1.1.1", "1.1.2", "1.1.3", "2.1.3"}));  // one letter
}

TEST_F(SearchEngineTest, EveryWordInAnyOrderAndTheExactPhrase) {
    Load({{1, 1, 1,
           "Au commencement, Dieu cré"
           "a les cieux"},
          {1, 1, 3,
           "que la lumière soit, et les ténè"
           "bres"},
          {1, 2, 1,
           "les ténè"
           "bres et la lumière"},
          {1, 2, 2, "la lumière seule"},
          {43, 1, 1, "Au commencement était la Parole"},
          {43, 1, 2, "il était au commencement avec Dieu"}});
    EXPECT_EQ(Found("lumière ténè"
                    "bres"),
              (V{"1.1.3", "1.2.1"}));
    EXPECT_EQ(Found("ténè"
                    "bres lumière"),
              (V{"1.1.3", "1.2.1"}));
    EXPECT_EQ(Found("lumière  ténè"
                    "bres"),
              (V{"1.1.3", "1.2.1"}));
    EXPECT_EQ(Found(" lumière"), (V{"1.1.3", "1.2.1", "1.2.2"}));
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

// A Bible of one Testament (the Greek New Testament, the Hebrew Old one) is
// searched whole; the Testament it lacks finds nothing.
TEST(SearchOneTestament, TheWholeBibleIsTheTestamentItHas) {
    for (const bool newTestament : {true, false}) {
        testing::DataSet d;
        for (int b = 1; b <= 66; ++b) {
            const bool has = (b >= 40) == newTestament;
            d.books.push_back({"Livre " + std::to_string(b), "L" + std::to_string(b), has ? 1 : 0});
            if (has)
                for (int v = 1; v <= 2; ++v)
                    d.verses.push_back({b, 1, v, v == 2 ? "pain" : "texte"});
        }
        d.pages = testing::TinyPages();
        d.utf8 = true;
        testing::TempDir dir;
        testing::WriteDataFolder(dir.path(), d);
        Communs c(dir.appDir());
        LoadAllTables(c);
        auto found = [&](int scope) {
            return FindVerses(c, {"pain"}, SearchRange(c, scope, newTestament ? 43 : 1, 1)).total;
        };
        EXPECT_EQ(found(kScopeWholeBible), newTestament ? 27 : 39);
        EXPECT_EQ(found(kScopeNewTestament), newTestament ? 27 : 0);
        EXPECT_EQ(found(kScopeOldTestament), newTestament ? 0 : 39);
        EXPECT_EQ(found(kScopeBook), 1);
    }
}

TEST_F(SearchEngineTest, MatchesStayInsideOneVerse) {
    Load({{1, 1, 1, "fin de lumi"},
          {1, 1, 2,
           "ère au dé"
           "but"},
          {1, 1, 3, ""}});
    EXPECT_EQ(Found("lumière"), V{});
    // Not even a term holding the bytes between two verses.
    EXPECT_EQ(Found(std::string("lumi\xFE", 5), kSearchPhrase), V{});
    EXPECT_EQ(Found("lumi", kSearchPhrase), V{"1.1.1"});
    EXPECT_EQ(Found("ère au", kSearchPhrase), V{"1.1.2"});
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
    Load({{1, 1, 1, "lumière"}});
    const std::string a = "la lumière", b = "rien", d = "Lumière";
    c.VerseTable[1].Text = a;
    c.VerseTable[2].Text = b;
    c.VerseTable[3].Text = d;
    EXPECT_EQ(Found("lumière", kSearchWords, kScopeChapter), (V{"1.1.1", "1.1.3"}));
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
    Load({{1, 1, 1, "Mon cœur est ému"},
          {1, 1, 2, "Cœur pur"},
          {1, 2, 1, "L'Éternel est mon berger"},
          {1, 2, 2, "Ainsi parle l'ÉTERNEL"},
          {1, 2, 3, "le coeur sans œ"},
          {2, 1, 1, "Ne crains pas, n'ayez pas peur"},
          {2, 1, 2, "n'ayez point peur"},
          {2, 1, 3, "éternellement, foi et fois"}});
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
    const V coeur = {"<B>L1 1:1</B> : Mon " + open + "cœur" + close + " est ému",
                     "<B>L1 1:2</B> : " + open + "Cœur" + close + " pur",
                     "<B>L1 2:3</B> : le " + open + "coeur" + close + " sans œ"};
    EXPECT_EQ(items("coeur", kSearchFolded), coeur);
    EXPECT_EQ(items("cœur", kSearchFolded), coeur);
    EXPECT_EQ(items("CŒUR", kSearchFolded), coeur);
    EXPECT_EQ(items("coeur", kSearchWords).size(), 1u);  // the exact methods stay as they are

    const V eternel = {"<B>L1 2:1</B> : L'" + open + "Éternel" + close + " est mon berger",
                       "<B>L1 2:2</B> : Ainsi parle l'" + open + "ÉTERNEL" + close};
    EXPECT_EQ(items("eternel", kSearchFolded), eternel);
    EXPECT_EQ(items("ÉTERNEL", kSearchFolded), eternel);
    EXPECT_EQ(items("eternel", kSearchWords), V{});
    // Whole words; a trailing '*' for the words that begin so, coloured
    // whole.
    EXPECT_EQ(items("fois", kSearchFolded),
              V{"<B>L2 1:3</B> : éternellement, foi et " + open + "fois" + close});
    EXPECT_EQ(items("ETERN*", kSearchFolded).back(),
              "<B>L2 1:3</B> : " + open + "éternellement" + close + ", foi et fois");
    EXPECT_EQ(items("fo* eternel*", kSearchFolded),
              V{"<B>L2 1:3</B> : " + open + "éternellement" + close + ", " + open + "foi" + close +
                " et " + open + "fois" + close});
    EXPECT_EQ(items("*", kSearchFolded), V{});

    // Every term, in any order; occurrences that overlap are coloured as one.
    EXPECT_EQ(
        items("PEUR n’"
              "ayez",
              kSearchFolded),
        (V{"<B>L2 1:1</B> : Ne crains pas, " + open + "n'ayez" + close + " pas " + open + "peur" +
               close,
           "<B>L2 1:2</B> : " + open + "n'ayez" + close + " point " + open + "peur" + close}));
    EXPECT_EQ(items("ur pu", kSearchFolded), V{});
    // The typographic apostrophe in each method.
    const std::string phrase = "<B>L2 1:1</B> : Ne crains pas, " + open + "n'ayez pas peur" + close;
    EXPECT_EQ(items("n’"
                    "ayez pas peur",
                    kSearchPhrase),
              V{phrase});
    EXPECT_EQ(items("n‘"
                    "ayez pas peur",
                    kSearchPhrase),
              V{phrase});
    EXPECT_EQ(items("n’"
                    "ayez",
                    kSearchWords)
                  .size(),
              2u);
    EXPECT_EQ(items("n’"
                    "ayez",
                    kSearchFolded)
                  .size(),
              2u);
    // A term runs inside one verse; a character Windows-1252 lacks finds
    // nothing.
    EXPECT_EQ(items("ému cœur", kSearchFolded).size(), 1u);
    EXPECT_EQ(items("mucoeur", kSearchFolded), V{});
    EXPECT_EQ(items(std::string("cœur \xFE"), kSearchFolded), V{});
}

TEST_F(SearchEngineTest, FoldedCopyScopesAndCap) {
    Load({{1, 1, 1, "TEXTE"}, {40, 1, 1, "TÊXTE"}});
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
    EXPECT_EQ(CountLine(0), "<FONT color=\"gray\"><B>Aucun verset trouvé</B></FONT>");
    EXPECT_EQ(CountLine(1), "<FONT color=\"gray\"><B>1 verset trouvé</B></FONT>");
    EXPECT_EQ(CountLine(121), "<FONT color=\"gray\"><B>121 versets trouvés</B></FONT>");
    EXPECT_EQ(CountLine(200), "<FONT color=\"gray\"><B>200 versets trouvés</B></FONT>");
    EXPECT_EQ(CapLine(206),
              "<FONT color=\"gray\"><B>206 versets trouvés ; seuls les 200 premiers, dans "
              "l'ordre de la Bible, sont affichés. Ajoutez des mots ou limitez la zone de "
              "recherche.</B></FONT>");
    EXPECT_EQ(CapLine(31170),
              "<FONT color=\"gray\"><B>31\u00A0"
              "170 versets trouvés ; seuls les 200 premiers, dans "
              "l'ordre de la Bible, sont affichés. Ajoutez des mots ou limitez la zone de "
              "recherche.</B></FONT>");
    EXPECT_EQ(FoldedHintLine(),
              "<FONT color=\"gray\"><B>Aucun verset trouvé. Essayez la méthode « "
              "Mots, sans accents ni majuscules ».</B></FONT>");
    EXPECT_EQ(FormatCount("%d%%d %x%", 7), "7%d %x%");
}

TEST_F(SearchEngineTest, ResultItemsAndTheirColours) {
    Load({{43, 2, 3,
           "la grâ"
           "ce et la paix"},
          {1, 1, 1, "Dieu et dieu"}});
    const std::int32_t slot = c.VerseLookup(43, 2, 3);
    EXPECT_EQ(ResultItemText(c, slot),
              "<B>Ac 2:3</B> : la grâ"
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

namespace lorvane {
namespace {

// Bibles in other scripts: the folded method finds a word typed without its
// accents, breathings, points or stress marks, and in any case.
TEST_F(SearchEngineTest, FoldedWordsInEveryScript) {
    Load({{43, 1, 1, "Ἐν ἀρχῇ ἦν ὁ λόγος, καὶ ὁ λόγος ἦν πρὸς τὸν θεόν"},
          {43, 1, 2, "οὗτος ἦν ἐν ἀρχῇ πρὸς τὸν θεόν. ΛΌΓΟΣ"},
          {43, 1, 3, "λογοσxyz λογικός"},
          {1, 1, 1, "בְּרֵאשִׁית בָּרָא אֱלֹהִים אֵת הַשָּׁמַיִם"},
          {1, 1, 2, "וְהָאָרֶץ הָיְתָה תֹהוּ"},
          {2, 1, 1, "В на́чале было Слово"},
          {2, 1, 2, "Начало и конец"},
          {3, 1, 1, "起初，神创造天地。"},
          {3, 1, 2, "ในเริ่มแรกนั้นพระเจ้าทรงเนรมิตสร้างฟ้าและแผ่นดิน"},
          {4, 1, 1, "क्‍षमा"}});
    auto found = [&](const std::string& query) {
        SearchRequest r{query, kSearchFolded, kScopeWholeBible, 1, 1};
        V out;
        for (const SearchResultItem& i : Search(c, r).items)
            out.push_back(std::to_string(ResultItemChapter(i.value).book) + "." +
                          std::to_string(c.VerseTable[static_cast<std::size_t>(i.slot)].Verse));
        return out;
    };
    // Final sigma and sigma, accents and capitals alike; whole words only.
    EXPECT_EQ(found("λογος"), (V{"43.1", "43.2"}));
    EXPECT_EQ(found("ΛΌΓΟΣ"), (V{"43.1", "43.2"}));
    EXPECT_EQ(found("λογ*"), (V{"43.1", "43.2", "43.3"}));
    EXPECT_EQ(found("θεον αρχη"), (V{"43.1", "43.2"}));
    // Hebrew without its points; a word inside a longer one is not found.
    EXPECT_EQ(found("בראשית"), V{"1.1"});
    EXPECT_EQ(found("ארץ"), V{});
    EXPECT_EQ(found("והארץ"), V{"1.2"});
    // Russian: the stress mark and the capital do not count.
    EXPECT_EQ(found("начале"), V{"2.1"});
    EXPECT_EQ(found("начало"), V{"2.2"});
    // Scripts written without spaces: a term matches inside the text.
    EXPECT_EQ(found("天地"), V{"3.1"});
    EXPECT_EQ(found("พระเจ้า"), V{"3.2"});
    // A zero-width joiner stays part of its word.
    EXPECT_EQ(found("क्‍षमा"), V{"4.1"});
}

TEST_F(SearchEngineTest, ExactMethodsCompareAsTypedInEveryScript) {
    Load({{43, 1, 1, "ὁ λόγος"},
          {43, 1, 2, "Λόγος"},
          {1, 1, 1, "בְּרֵאשִׁית בָּרָא"},
          {2, 1, 1, "mot \u202Eà l'envers"}});
    // A result's direction override ends with its verse.
    const SearchResults r = Search(c, {"mot", kSearchWords, kScopeWholeBible, 1, 1});
    ASSERT_EQ(r.items.size(), 1u);
    EXPECT_EQ(r.items[0].text.substr(r.items[0].text.size() - 3), "\u202C");
    // The first letter in capitals too, nothing else.
    EXPECT_EQ(Found("λόγος"), (V{"43.1.1", "43.1.2"}));
    EXPECT_EQ(Found("λογος"), V{});
    EXPECT_EQ(Found("ΛΌΓΟΣ"), V{});
    EXPECT_EQ(Found("בְּרֵאשִׁית"), V{"1.1.1"});
    EXPECT_EQ(Found("λ"), (V{"43.1.1", "43.1.2"}));
    EXPECT_EQ(CapitalisedVariant("λόγος"), "Λόγος");
    EXPECT_EQ(SearchTerms("n’ayez ‘x’", kSearchWords), (V{"n'ayez", "'x'"}));
}

}  // namespace
}  // namespace lorvane
