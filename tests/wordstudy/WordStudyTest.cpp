// The tagged words of a Bible in its pages, the facts of one word, and the
// search of a Strong's number, on a small generated Bible with a words file.

#include <gtest/gtest.h>

#include "ChapterPage.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "SearchEngine.h"
#include "StrongSearch.h"
#include "WordStudy.h"
#include "WordTags.h"

namespace lorvane {
namespace {

using testing::TempDir;

const std::string kJohn11 = "Ἐν ἀρχῇ ἦν ὁ λόγος, καὶ ὁ λόγος ἦν πρὸς τὸν θεόν.";
const std::string kGenesis11 = "בְּרֵאשִׁ֖ית בָּרָ֣א אֱלֹהִ֑ים";

words::WordTag Tag(const std::string& text, const std::string& word, std::size_t from,
                   std::string strongs, std::string morph, std::string lemma = {}) {
    const std::size_t at = text.find(word, from);
    return {static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(word.size()),
            std::move(strongs), std::move(morph), std::move(lemma)};
}

// 66 books of 2 chapters of 3 verses; Jean 1:1 in Greek and Genèse 1:1 in
// Hebrew with their tagged words.
class WordStudyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::DataSet d;
        for (int b = 1; b <= 66; ++b) {
            d.books.push_back({"Livre " + std::to_string(b), "L" + std::to_string(b), 2});
            for (int ch = 1; ch <= 2; ++ch)
                for (int v = 1; v <= 3; ++v) {
                    std::string text = "texte";
                    if (b == 43 && ch == 1 && v == 1) text = kJohn11;
                    if (b == 43 && ch == 2 && v == 2) text = "ὁ λόγος";
                    if (b == 1 && ch == 1 && v == 1) text = kGenesis11;
                    d.verses.push_back({b, ch, v, text});
                }
        }
        d.books[42].name = "Jean";
        d.pages = testing::TinyPages();
        d.utf8 = true;
        testing::WriteDataFolder(dir.path(), d);
        const std::size_t second = kJohn11.find("λόγος") + 1;
        const std::vector<words::VerseWords> tagged = {
            {1,
             1,
             1,
             {Tag(kGenesis11, "בְּרֵאשִׁ֖ית", 0, "H7225", "oshm:HR/Ncfsa", "b/7225"),
              Tag(kGenesis11, "בָּרָ֣א", 0, "H1254a", "oshm:HVqp3ms", "1254 a"),
              Tag(kGenesis11, "אֱלֹהִ֑ים", 0, "H0430", "oshm:HNcmpa", "430")}},
            {43,
             1,
             1,
             {Tag(kJohn11, "Ἐν", 0, "G1722", "robinson:PREP"),
              Tag(kJohn11, "λόγος", 0, "G3056", "robinson:N-NSM"),
              Tag(kJohn11, "λόγος", second, "G3056", "robinson:N-NSM"),
              Tag(kJohn11, "θεόν", 0, "G2316", "robinson:N-ASM")}},
            {43, 2, 2, {Tag("ὁ λόγος", "λόγος", 0, "G3056", "robinson:XYZ")}},
        };
        testing::WriteDataFile(dir.path(), words::kWordsFile, words::EncodeWords(tagged));
        c = Communs(dir.appDir());
        LoadAllTables(c);
        study.SetDictionary([](std::string_view n) -> std::optional<wordstudy::DictionaryEntry> {
            if (n == "G3056")
                return wordstudy::DictionaryEntry{"G3056", "λόγος", "logos", "", "something said"};
            return std::nullopt;
        });
    }
    TempDir dir;
    Communs c;
    wordstudy::WordStudy study;
};

TEST(PageWordsTest, AnchorsNameTheirWordAndNothingElse) {
    const WordAnchor a{2, 43, 1, 14, 7};
    EXPECT_EQ(WordAnchorName(a), ".m2.43.1.14.7");
    const auto back = ParseWordAnchor(WordAnchorName(a));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->verse, 14);
    EXPECT_EQ(back->word, 7u);
    for (const char* bad :
         {"14", ".m2.43.1.14", ".m2.43.1.14.7.1", ".mx.1.1.1.1", "", ".m-1.1.1.1.1"})
        EXPECT_FALSE(ParseWordAnchor(bad)) << bad;
}

TEST_F(WordStudyTest, APageMarksEachTaggedWordAndTheInterlinearWritesItsNumberUnder) {
    ChapterPageRequest rq{43, 1, 1, 0, false, true};
    rq.wordsOf = [this](const Communs& t) { return study.WordsOf(t); };
    const std::string page = BuildChapterPage(c, rq).html;
    EXPECT_NE(
        page.find("<A name=\".m0.43.1.1.1\">λόγος</A>, καὶ ὁ <A name=\".m0.43.1.1.2\">λόγος</A>"),
        std::string::npos)
        << page;
    EXPECT_EQ(page.find("float"), std::string::npos);

    rq.interlinear = true;
    const std::string interlinear = BuildChapterPage(c, rq).html;
    // The word with what follows it up to the next tagged word, and its
    // number and brief parsing under it.
    EXPECT_NE(interlinear.find("<A name=\".m0.43.1.1.1\">λόγος</A>, καὶ ὁ </TD></TR><TR><TD><FONT "
                               "size=\"1\" color=\"#808080\">G3056<BR>n. nom. sg. masc."),
              std::string::npos)
        << interlinear;
    // The verse's number leads the first block, with the words before it.
    EXPECT_NE(interlinear.find("<B>1</B></FONT> <A name=\".m0.43.1.1.0\">Ἐν</A> ἀρχῇ ἦν ὁ </TD>"),
              std::string::npos);
    // Hebrew blocks run from the right.
    rq.book = 1;
    const std::string hebrew = BuildChapterPage(c, rq).html;
    EXPECT_NE(hebrew.find("float:right"), std::string::npos);
    EXPECT_EQ(hebrew.find("float:left"), std::string::npos);
}

TEST_F(WordStudyTest, ABibleWithoutWordsGetsPlainPages) {
    TempDir other;
    testing::WriteDataFolder(other.path(), testing::DataSet::Small());
    Communs plain(other.appDir());
    LoadAllTables(plain);
    EXPECT_FALSE(study.HasWords(plain));
    EXPECT_TRUE(study.HasWords(c));
    ChapterPageRequest rq{43, 1, 1, 0, false, true};
    rq.wordsOf = [this](const Communs& t) { return study.WordsOf(t); };
    EXPECT_EQ(BuildChapterPage(plain, rq).html.find(".m"), std::string::npos);
}

TEST_F(WordStudyTest, BadSpansAreWrittenAsPlainText) {
    const std::string text = "αβγ δεζ";
    const words::WordTable table = words::WordTable::Parse(
        "lorvane-mots 1\n1\t1\t1\t1\t2\tG1\t\t\n1\t1\t1\t0\t4\tG2\t\t\n1\t1\t1\t2\t99\tG3\t\t\n"
        "1\t1\t1\t7\t6\tG4\t\t\n");
    std::string out;
    AppendTaggedVerse(out, text, table.VerseWords(1, 1, 1), {&table, 0}, 1, 1, 1, false, false);
    // Inside a letter, past the end: left out; the whole letters kept.
    EXPECT_EQ(out, "<A name=\".m0.1.1.1.1\">αβ</A>γ <A name=\".m0.1.1.1.3\">δεζ</A>");
}

TEST_F(WordStudyTest, AGreekWordIsDescribedInFrenchWithItsEntry) {
    study.WordsOf(c);
    const auto facts = study.Describe(c, WordAnchor{0, 43, 1, 1, 1});
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->written, "λόγος");
    EXPECT_EQ(facts->reference, "Jean 1:1");
    EXPECT_EQ(facts->numbers, std::vector<std::string>{"G3056"});
    EXPECT_EQ(facts->parsing.full, "nom, nominatif, singulier, masculin");
    ASSERT_EQ(facts->entries.size(), 1u);
    EXPECT_EQ(facts->entries[0].transliteration, "logos");
    const std::string html = wordstudy::FactsHtml(*facts);
    EXPECT_NE(html.find("λόγος <i>(logos)</i>"), std::string::npos) << html;
    EXPECT_NE(html.find("Définition (en anglais), G3056"), std::string::npos);
    EXPECT_EQ(wordstudy::FactsSummary(*facts), "λόγος, G3056, nom, nominatif, singulier, masculin");

    const auto unknown = study.Describe(c, WordAnchor{0, 43, 2, 2, 0});
    ASSERT_TRUE(unknown);
    EXPECT_FALSE(unknown->parsing.known);
    EXPECT_NE(unknown->parsing.full.find("code inconnu"), std::string::npos);
    EXPECT_FALSE(study.Describe(c, WordAnchor{0, 43, 1, 1, 9}));
    EXPECT_FALSE(study.Describe(c, WordAnchor{5, 43, 1, 1, 0}));
}

TEST(EntryHtmlTest, TheNumbersAnEntryNamesAreLinks) {
    const std::string html = wordstudy::EntryHtml(
        {"G3056", "λόγος", "lógos", "log'-os", "from G3004 & H0175; not G3004x nor AG12 <b>"});
    EXPECT_NE(html.find("<a href=\"lorvane-strong:G3004\">G3004</a>"), std::string::npos) << html;
    EXPECT_NE(html.find("<a href=\"lorvane-strong:H0175\">H0175</a>"), std::string::npos);
    EXPECT_NE(html.find("G3004x nor AG12 &lt;b&gt;"), std::string::npos);  // words, and escaped
    EXPECT_NE(html.find("Définition (en anglais), G3056"), std::string::npos);
}

TEST_F(WordStudyTest, AHebrewWordKeepsItsPrefixAndSense) {
    study.WordsOf(c);
    const auto first = study.Describe(c, WordAnchor{0, 1, 1, 1, 0});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->written, "בְּרֵאשִׁ֖ית");
    ASSERT_EQ(first->prefixes.size(), 1u);
    EXPECT_EQ(first->prefixes[0].letter, "ב");
    EXPECT_EQ(first->prefixes[0].meaning, "dans, avec, par");
    const auto god = study.Describe(c, WordAnchor{0, 1, 1, 1, 2});
    ASSERT_TRUE(god);
    EXPECT_EQ(god->numbers, std::vector<std::string>{"H0430"});
    EXPECT_EQ(god->parsing.full, "hébreu, nom commun, masculin, pluriel, état absolu");
    EXPECT_NE(wordstudy::FactsHtml(*god).find("dictionnaire de Strong n'est pas installé"),
              std::string::npos);
    EXPECT_EQ(study.Describe(c, WordAnchor{0, 1, 1, 1, 1})->numbers,
              std::vector<std::string>{"H1254a"});
}

TEST_F(WordStudyTest, AStrongNumberFindsEveryVerseWithItsWordsColoured) {
    EXPECT_EQ(StrongQuery(" g3056 "), "G3056");
    EXPECT_EQ(StrongQuery("H430"), "H0430");
    EXPECT_EQ(StrongQuery("H1254a"), "H1254a");
    for (const char* other : {"G", "logos", "G3056 G1", "3056", "G99999", "Gloire"})
        EXPECT_EQ(StrongQuery(other), "") << other;

    SearchRequest rq{"G3056", kSearchPhrase, kScopeWholeBible, 1, 1, study.WordsOf(c).table};
    const SearchResults found = Search(c, rq);
    ASSERT_EQ(found.items.size(), 2u);
    EXPECT_EQ(found.total, 2);
    EXPECT_EQ(found.occurrences, 3);
    EXPECT_NE(found.items[0].text.find("ὁ <FONT color=\"#C00400\">λόγος</FONT>, καὶ ὁ <FONT "
                                       "color=\"#C00400\">λόγος</FONT>"),
              std::string::npos)
        << found.items[0].text;
    EXPECT_NE(HeadLine(found).find("2 versets trouvés : 3 occurrences de G3056"), std::string::npos)
        << HeadLine(found);
    const SearchResults capped =
        FindStrong(c, rq.words, "G3056", SearchRange(c, kScopeWholeBible, 1, 1), 1);
    EXPECT_TRUE(capped.capped);
    EXPECT_NE(HeadLine(capped).find("3 occurrences de G3056 ; seuls les 200 premiers versets"),
              std::string::npos)
        << HeadLine(capped);
    rq.query = "H430";
    EXPECT_EQ(Search(c, rq).items.size(), 1u);
    rq.scope = kScopeNewTestament;
    EXPECT_TRUE(Search(c, rq).items.empty());

    // A Bible without numbers says so.
    rq.words = nullptr;
    const SearchResults none = Search(c, rq);
    EXPECT_TRUE(none.untagged);
    EXPECT_NE(HeadLine(none).find("ne donne pas les numéros de Strong"), std::string::npos);
}

}  // namespace
}  // namespace lorvane
