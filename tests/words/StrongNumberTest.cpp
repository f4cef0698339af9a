#include <gtest/gtest.h>

#include "StrongNumber.h"

using namespace lorvane::words;

TEST(StrongNumber, GreekNumbersAreWrittenOneWay) {
    for (const char* raw : {"G26", "26", "G0026", "strong:G26", "g26", " 26 "})
        EXPECT_EQ(NormaliseStrong(raw, 'G'), "G0026") << raw;
    EXPECT_EQ(NormaliseStrong("5624", 'G'), "G5624");
}

TEST(StrongNumber, HebrewNumbersKeepTheirSenseLetter) {
    EXPECT_EQ(NormaliseStrong("7225", 'H'), "H7225");
    EXPECT_EQ(NormaliseStrong("1254 a", 'H'), "H1254a");
    EXPECT_EQ(NormaliseStrong("H430", 'H'), "H0430");
}

TEST(StrongNumber, OutOfRangeOrOtherLanguageOrGarbageIsEmpty) {
    for (const char* raw :
         {"0", "5625", "G99999999999", "H26", "", "G", "26 a", "26x", "strong:", "\xff\xfe"})
        EXPECT_EQ(NormaliseStrong(raw, 'G'), "") << raw;
    EXPECT_EQ(NormaliseStrong("8675", 'H'), "");
    EXPECT_EQ(NormaliseStrong("1254 ab", 'H'), "");
    EXPECT_EQ(NormaliseStrong("26", 'X'), "");
}

TEST(StrongNumber, AWordWithSeveralNumbersKeepsThemAll) {
    EXPECT_EQ(NormaliseStrongs("2532 5037", 'G'), (std::vector<std::string>{"G2532", "G5037"}));
    EXPECT_EQ(NormaliseStrongs("1254 a 430", 'H'), (std::vector<std::string>{"H1254a", "H0430"}));
    EXPECT_EQ(NormaliseStrongs("2532 99999 26", 'G'), (std::vector<std::string>{"G2532", "G0026"}));
}

TEST(StrongNumber, HebrewLemmaGivesItsPrefixesAndItsNumber) {
    HebrewLemma lemma = ParseHebrewLemma("b/7225");
    EXPECT_TRUE(lemma.valid);
    EXPECT_EQ(lemma.prefixes, std::vector<std::string>{"b"});
    EXPECT_EQ(lemma.strong, "H7225");

    lemma = ParseHebrewLemma("c/d/1254 a");
    EXPECT_EQ(lemma.prefixes, (std::vector<std::string>{"c", "d"}));
    EXPECT_EQ(lemma.strong, "H1254a");

    lemma = ParseHebrewLemma("1121+");
    EXPECT_TRUE(lemma.valid && lemma.compound);
    EXPECT_EQ(lemma.strong, "H1121");

    lemma = ParseHebrewLemma("l");
    EXPECT_TRUE(lemma.valid);
    EXPECT_EQ(lemma.strong, "");

    for (const char* bad : {"b/99999", "b//7225", "7225/7225", "/", "xyz"})
        EXPECT_FALSE(ParseHebrewLemma(bad).valid) << bad;
}
