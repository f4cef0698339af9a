#include <gtest/gtest.h>

#include "Cp1252.h"
#include "FrenchBible.h"
#include "Quote.h"
#include "Session.h"
#include "Signets.h"

namespace lorvane {
namespace {

using testing::FrenchBible;

TEST(SignetFile, RoundTripsInReferenceOrderAndReadsByHand) {
    std::vector<Signet> signets;
    AddSignet(signets, {45, 8, 28, "Romains 8:28"});
    AddSignet(signets, {43, 3, 16, "L'amour\tde Dieu\n"});
    EXPECT_EQ(AddSignet(signets, {45, 8, 28, "twice"}), 1u);  // kept once
    const std::string text = WriteSignets(signets);
    EXPECT_NE(text.find("43 3 16\tL'amour de Dieu \n45 8 28\tRomains 8:28\n"), std::string::npos);

    const SignetFile back = ReadSignets(text);
    EXPECT_EQ(back.unread, 0);
    ASSERT_EQ(back.signets.size(), 2u);
    EXPECT_EQ(back.signets[0].name, "L'amour de Dieu ");
    EXPECT_EQ(back.signets[1].verse, 28);
    // A file a reader wrote, with Windows line ends and no names.
    EXPECT_EQ(ReadSignets("19 23 1\r\n1 1 1\r\n").signets.size(), 2u);
}

TEST(SignetFile, ADamagedFileKeepsItsGoodLines) {
    const SignetFile f = ReadSignets(
        "45 8 28\tbon\n"
        "garbage\n"
        "67 1 1\tno such book\n"
        "43 3\tshort\n"
        "43 3 16x\tglued\n"
        "\xFF\xFE\x02\x01\n"
        "1 1 1\tbon aussi");
    EXPECT_EQ(f.unread, 5);
    ASSERT_EQ(f.signets.size(), 2u);
    EXPECT_EQ(f.signets[1].name, "bon aussi");
}

TEST(SessionFile, RoundTripsTabsPositionsAndChoices) {
    Session s;
    s.tabs = {{43, 3, 16, 1250, 14}, {1, 1, 1, -1}};
    s.current = 1;
    s.textSize = 3;
    s.versePerLine = true;
    s.module = 3;
    const std::optional<Session> back = ReadSession(WriteSession(s));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->tabs.size(), 2u);
    EXPECT_EQ(back->tabs[0].scroll, 1250);
    EXPECT_EQ(back->tabs[0].top, 14);
    EXPECT_EQ(back->tabs[1].scroll, -1);
    EXPECT_EQ(back->current, 1);
    EXPECT_EQ(back->textSize, 3);
    EXPECT_TRUE(back->versePerLine);
    EXPECT_EQ(back->module, 3);
}

TEST(SessionFile, KeepsTheComparedBiblesInColumnOrderAndReadsAnOlderFile) {
    Session s;
    s.tabs = {{43, 3, 16, -1}};
    s.compared = {"dby-2", "*", "mar"};
    const std::string text = WriteSession(s);
    EXPECT_NE(text.find("\ncomparees dby-2 * mar\n"), std::string::npos);
    const std::optional<Session> back = ReadSession(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->compared, s.compared);
    // Written before Bibles were compared: none are.
    const std::optional<Session> older = ReadSession("taille 3\ncourant 0\nonglet 43 3 16 -1 0\n");
    ASSERT_TRUE(older);
    EXPECT_TRUE(older->compared.empty());
    EXPECT_EQ(WriteSession(*older).find("comparees"), std::string::npos);
    // A folder no shelf can name, or more than three.
    EXPECT_FALSE(ReadSession("onglet 1 1 1 0\ncomparees ../etc\n"));
    EXPECT_FALSE(ReadSession("onglet 1 1 1 0\ncomparees a b c d\n"));
}

TEST(SessionFile, AShippedBibleComparedLeavesTheSessionReadableByAnOlderProgram) {
    Session s;
    s.tabs = {{43, 3, 16, -1}};
    s.compared = {"*grc", "dby", "*"};
    const std::string text = WriteSession(s);
    // Behind "#+ ", a comment to a program that does not know them, which
    // keeps its tabs; this one reads it.
    EXPECT_NE(text.find("\n#+ comparees *grc dby *\n"), std::string::npos);
    EXPECT_EQ(text.find("\ncomparees"), std::string::npos);
    const std::optional<Session> back = ReadSession(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->compared, s.compared);
    // What such a line holds that does not read is skipped, not the session.
    const std::optional<Session> later =
        ReadSession("onglet 1 1 1 0\ncomparees dby\n#+ comparees *GRC\n#+ autre 3\n");
    ASSERT_TRUE(later);
    EXPECT_EQ(later->compared, std::vector<std::string>{"dby"});
    EXPECT_FALSE(ReadSession("onglet 1 1 1 0\ncomparees *g-c\n"));
}

TEST(SessionFile, ADamagedFileIsIgnoredWhole) {
    EXPECT_FALSE(ReadSession(""));
    EXPECT_FALSE(ReadSession("taille 2\n"));  // no tab
    EXPECT_FALSE(ReadSession("onglet 1 1 1 0\ntaille 9\n"));
    EXPECT_FALSE(ReadSession("onglet 1 1\n"));
    EXPECT_FALSE(ReadSession("onglet 1 1 1 0\ncourant 1\n"));
    EXPECT_FALSE(ReadSession("\x89PNG\r\n\x1a\n"));
}

TEST(SessionFile, APlaceAnotherBibleLacksFallsBackToTheBooksFirstChapter) {
    const Communs& c = FrenchBible();
    const Place kept = FitPlace(c, {43, 3, 16, 500});
    EXPECT_EQ(kept.scroll, 500);
    const Place noChapter = FitPlace(c, {43, 40, 3, 500});
    EXPECT_EQ(noChapter.chapter, 1);
    EXPECT_EQ(noChapter.verse, 1);
    EXPECT_EQ(noChapter.scroll, -1);
    EXPECT_EQ(FitPlace(c, {43, 3, 99, 500}).verse, 1);
    EXPECT_EQ(FitPlace(c, {70, 1, 1, 0}).book, 1);
}

TEST(SessionFile, ABookTheBibleLacksIsKeptForABibleThatHasIt) {
    Communs c = FrenchBible();
    c.BookTable[19].ChapterCount = 0;
    const Place kept = FitPlace(c, {19, 23, 4, -1});
    EXPECT_EQ(kept.book, 19);
    EXPECT_EQ(kept.chapter, 23);
    EXPECT_EQ(kept.verse, 4);
}

TEST(VerseQuote, CarriesTheTextTheReferenceAndTheBible) {
    const Communs& c = FrenchBible();
    EXPECT_EQ(QuoteWithReference(c, 43, 3, 16, 0, "LSG"),
              "«\u00A0Car Dieu a tant aimé le monde\u00A0» (Jean 3:16, LSG)");
    EXPECT_EQ(QuoteWithReference(c, 45, 8, 28, 29, ""),
              "«\u00A0Texte 45.8.28 Texte 45.8.29\u00A0» (Romains 8:28-29)");
    EXPECT_EQ(VersesText(c, 43, 3, 99, 0), "");
}

}  // namespace
}  // namespace lorvane
