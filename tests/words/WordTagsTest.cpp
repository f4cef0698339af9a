#include <gtest/gtest.h>

#include <string>

#include "WordTable.h"
#include "WordTags.h"

using namespace lorvane::words;

namespace {

std::string Marked(std::string_view word) {
    return std::string(kWordOpen) + std::string(word) + std::string(kWordClose);
}

}  // namespace

TEST(WordMarks, GiveTheSpanOfEachWordInTheCleanText) {
    std::string text = Marked("Ἐν") + " " + Marked("ἀρχῇ") + " ἦν, " + Marked(" ὁ ");
    const auto spans = TakeWordMarks(text);
    EXPECT_EQ(text, "Ἐν ἀρχῇ ἦν,  ὁ ");
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(text.substr(spans[0].first, spans[0].second), "Ἐν");
    EXPECT_EQ(text.substr(spans[1].first, spans[1].second), "ἀρχῇ");
    EXPECT_EQ(text.substr(spans[2].first, spans[2].second), "ὁ");  // spaces left out
}

TEST(WordMarks, SurviveUnbalancedAndNestedMarks) {
    std::string text =
        std::string(kWordClose) + "a " + std::string(kWordOpen) + "b " + Marked("c") + " d";
    const auto spans = TakeWordMarks(text);
    EXPECT_EQ(text, "a b c d");
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(text.substr(spans[0].first, spans[0].second), "b c d");  // never closed
    EXPECT_EQ(text.substr(spans[1].first, spans[1].second), "c");
    std::string plain = "sans " + Marked("marque");
    DropWordMarks(plain);
    EXPECT_EQ(plain, "sans marque");
}

TEST(WordTag, ReadsTheOsisAndUsfmAttributes) {
    WordTag kjv = TagFromAttributes("strong:G3056 lemma.TR:λόγος", "robinson:N-NSM", false);
    EXPECT_EQ(kjv.strongs, "G3056");
    EXPECT_EQ(kjv.lemma, "λόγος");
    EXPECT_EQ(kjv.morph, "robinson:N-NSM");
    EXPECT_EQ(SchemeOf(kjv.morph), MorphScheme::Robinson);
    EXPECT_EQ(CodeOf(kjv.morph), "N-NSM");

    EXPECT_EQ(TagFromAttributes("strong:H07225", "strongMorph:TH8804", true).strongs, "H7225");
    EXPECT_EQ(TagFromAttributes("strong:H07225", "strongMorph:TH8804", true).morph,
              "strongMorph:TH8804");
    EXPECT_EQ(TagFromAttributes("G26", "", false).strongs, "G0026");
    EXPECT_EQ(TagFromAttributes("strong:G2532 strong:G5037", "", false).strongs, "G2532 G5037");
}

TEST(WordTag, KeepsTheHebrewPrefixesAndSenseLetters) {
    WordTag b = TagFromAttributes("b/7225", "HR/Ncfsa", true);
    EXPECT_EQ(b.strongs, "H7225");
    EXPECT_EQ(b.lemma, "b/7225");
    EXPECT_EQ(b.morph, "oshm:HR/Ncfsa");
    WordTag sense = TagFromAttributes("1254 a", "HVqp3ms", true);
    EXPECT_EQ(sense.strongs, "H1254a");
    EXPECT_EQ(sense.lemma, "1254 a");
    EXPECT_EQ(TagFromAttributes("430", "HNcmpa", true).strongs, "H0430");
    EXPECT_EQ(SchemeOf(TagFromAttributes("430", "ANcmsa", true).morph), MorphScheme::Oshm);
}

TEST(WordTag, KeepsWhatIsSoundOfBadAttributes) {
    WordTag out = TagFromAttributes("strong:G99999 strong:G1", "", false);
    EXPECT_EQ(out.strongs, "G0001");  // the number out of range is left out
    EXPECT_FALSE(HasContent(TagFromAttributes("", "", false)));
    std::string many;
    for (int n = 1; n <= 12; ++n)
        many += "strong:G" + std::to_string(n) + " ";
    EXPECT_EQ(TagFromAttributes(many, "", false).strongs,
              "G0001 G0002 G0003 G0004 G0005 G0006 G0007 G0008");
    const std::string huge(1 << 20, 'x');
    WordTag big = TagFromAttributes("lemma:" + huge, "robinson:" + huge, false);
    EXPECT_LE(big.lemma.size(), 128u);
    EXPECT_LE(big.morph.size(), 64u);
    EXPECT_EQ(TagFromAttributes("lemma:a\x01" "b\x7f", "", false).lemma, "ab");
}

TEST(WordTable, FindsAVersesWordsAndEveryOccurrence) {
    std::vector<VerseWords> verses = {
        {43, 1, 1, {{0, 2, "G1722", "robinson:PREP", ""}, {20, 5, "G3056", "robinson:N-NSM", ""}}},
        {43, 1, 14, {{2, 5, "G3056", "robinson:N-NSM", "λόγος"}}},
        {1, 1, 1, {{0, 6, "H7225", "oshm:HR/Ncfsa", "b/7225"}, {7, 3, "H1254a", "", ""}}},
    };
    const WordTable table = WordTable::Parse(EncodeWords(verses));
    EXPECT_EQ(table.WordCount(), 5u);
    ASSERT_EQ(table.VerseWords(43, 1, 1).size(), 2u);
    EXPECT_EQ(table.VerseWords(43, 1, 1)[1].morph, "robinson:N-NSM");
    EXPECT_EQ(table.VerseWords(43, 1, 14)[0].lemma, "λόγος");
    EXPECT_TRUE(table.VerseWords(43, 1, 2).empty());
    EXPECT_TRUE(table.VerseWords(400, -1, 9999).empty());

    const auto logos = table.Occurrences("G3056");
    ASSERT_EQ(logos.size(), 2u);
    EXPECT_EQ(logos[0].verse, 1);
    EXPECT_EQ(logos[0].word, 1u);
    EXPECT_EQ(logos[1].verse, 14);
    EXPECT_EQ(table.Occurrences("H1254a").size(), 1u);
    EXPECT_TRUE(table.Occurrences("H1254").empty());   // another number
    EXPECT_EQ(table.Occurrences("H7225")[0].book, 1);  // the file's order is made reading order
}

TEST(WordTable, SkipsDamagedLinesAndForeignFiles) {
    const WordTable table = WordTable::Parse(
        "lorvane-mots 1\n43\t1\t1\t0\t2\tG1722\t\t\nbad line\n99\t1\t1\t0\t1\t\t\t\n"
        "43\t1\t1\t3\t2\tG0746");
    EXPECT_EQ(table.WordCount(), 1u);
    EXPECT_EQ(table.SkippedLines(), 3u);
    EXPECT_TRUE(WordTable::Parse("<html>").Empty());
    EXPECT_TRUE(WordTable::Parse("").Empty());
}
