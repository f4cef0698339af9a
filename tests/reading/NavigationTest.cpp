#include <gtest/gtest.h>

#include "FctLoad.h"
#include "Fixtures.h"
#include "Navigation.h"

namespace lorvane {
namespace {

bool Exists(const std::string& path) {
    return path == "/app/them/index.htm";
}

TEST(ReadingLinkTest, CrossReferenceLinksOpenTheirPassage) {
    auto d = DecideReadingLink(
        "/opt/lorvane/\xA4"
        "19\xA4"
        "23\xA4"
        "1\xA4"
        "6",
        Exists);
    ASSERT_EQ(d.kind, LinkDecision::OpenPassage);
    EXPECT_EQ(
        std::tuple(d.passage.Book, d.passage.Chapter, d.passage.FirstVerse, d.passage.LastVerse),
        std::tuple(19, 23, 1, 6));
    // Signed numbers decode; the text read stops 20 characters after the first separator.
    d = DecideReadingLink(
        "\xA4-1\xA4+2\xA4"
        "3\xA4"
        "4",
        Exists);
    EXPECT_EQ(d.passage.Book, -1);
    d = DecideReadingLink(
        "x\xA4"
        "100\xA4"
        "200\xA4"
        "300\xA4"
        "123456789",
        Exists);
    ASSERT_EQ(d.kind, LinkDecision::OpenPassage);
    EXPECT_EQ(d.passage.LastVerse, 12345678);
}

TEST(ReadingLinkTest, MalformedCrossReferencesAreCancelled) {
    for (const char* url : {"\xA4"
                            "19\xA4"
                            "23\xA4"
                            "1",
                            "\xA4"
                            "19\xA4\xA4"
                            "1\xA4"
                            "6",
                            "\xA4"
                            "19\xA4"
                            "2x\xA4"
                            "1\xA4"
                            "6",
                            "\xA4"
                            "19\xA4"
                            "23\xA4"
                            "1\xA4"
                            "6#5",
                            "\xA4 19\xA4"
                            "23\xA4"
                            "1\xA4"
                            "6",
                            "\xA4",
                            "\xA4"
                            "99999999999\xA4"
                            "1\xA4"
                            "1\xA4"
                            "1",
                            "file:///a#\xA4"
                            "1"}) {
        EXPECT_EQ(DecideReadingLink(url, Exists).kind, LinkDecision::Cancel) << url;
    }
}

TEST(ReadingLinkTest, AnchorsAndExistingFilesProceedTheRestIsCancelled) {
    EXPECT_EQ(DecideReadingLink("file:///app/temp.htm#5", Exists).kind, LinkDecision::Proceed);
    EXPECT_EQ(DecideReadingLink("/app/them/index.htm", Exists).kind, LinkDecision::Proceed);
    EXPECT_EQ(DecideReadingLink("/app/them/absent.htm", Exists).kind, LinkDecision::Cancel);
    EXPECT_EQ(DecideReadingLink("http://example.org/", Exists).kind, LinkDecision::Cancel);
    EXPECT_EQ(DecideReadingLink("", Exists).kind, LinkDecision::Cancel);
}

TEST(ParseDecimalTest, AcceptsOnlySignedDigitsWithin32Bits) {
    EXPECT_EQ(ParseDecimal("42"), 42);
    EXPECT_EQ(ParseDecimal("-7"), -7);
    EXPECT_EQ(ParseDecimal("+7"), 7);
    EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
    for (const char* bad : {"", "-", "1 ", " 1", "0x10", "1.5", "2147483648", "$1F"})
        EXPECT_FALSE(ParseDecimal(bad)) << bad;
}

TEST(StudyLinkTest, VerseLinksAndTheirRanges) {
    auto ref = [](const char* url) {
        auto r = DecodeVerseLink(url);
        return r ? std::tuple(r->Book, r->Chapter, r->FirstVerse, r->LastVerse)
                 : std::tuple(0, 0, 0, 0);
    };
    EXPECT_EQ(ref("43:3:16-18"), std::tuple(43, 3, 16, 18));
    EXPECT_EQ(ref("43-3-16-18"), std::tuple(43, 3, 16, 18));
    EXPECT_EQ(ref("43:3:18-16"), std::tuple(43, 3, 18, 18));  // never below the first
    EXPECT_EQ(ref("43:3:16"), std::tuple(43, 3, 16, 16));
    EXPECT_EQ(ref("43:3:16:17:99"), std::tuple(43, 3, 16, 17));  // later fields ignored
    for (const char* bad : {"43:3", "43:3:", "a:3:16", "43:3:16-x", "67:1:1", "0:1:1", "1:151:1",
                            "1:1:177", "1:1:1-177", "/opt/lorvane/them/index.htm", ""})
        EXPECT_FALSE(DecodeVerseLink(bad)) << bad;
    EXPECT_EQ(LastUrlComponent("/opt/lorvane/them/19"), "19");
    EXPECT_EQ(LastUrlComponent("file:///opt/lorvane/them/livres.htm"), "livres.htm");
    EXPECT_EQ(LastUrlComponent("C:\\x\\5"), "5");
    EXPECT_EQ(LastUrlComponent("19"), "19");
}

// A New Testament alone: no book before Matthieu has a chapter, and Jean
// only two.
TEST(FirstBookTest, TheReaderLandsOnABookTheBibleHasAndTabsKeepTheirPlace) {
    testing::DataSet d = testing::DataSet::Small(2);
    std::erase_if(d.verses,
                  [](const auto& v) { return v.book < 40 || (v.book == 43 && v.chapter == 3); });
    for (int b = 0; b < 39; ++b)
        d.books[static_cast<std::size_t>(b)].chapterCount = 0;
    d.books[42].chapterCount = 2;
    testing::TempDir dir;
    testing::WriteDataFolder(dir.path(), d);
    Communs c{dir.appDir()};
    LoadAllTables(c);
    EXPECT_EQ(FirstBook(c), 40);
    const auto at = [&](int book, int chapter, int verse) {
        const Place p = PlaceInBible(c, Place{book, chapter, verse, 250});
        return std::to_string(p.book) + ' ' + std::to_string(p.chapter) + ':' +
               std::to_string(p.verse) + ' ' + std::to_string(p.scroll);
    };
    EXPECT_EQ(at(43, 2, 5), "43 2:1 -1");  // the same chapter, from its top
    EXPECT_EQ(at(43, 3, 1), "43 1:1 -1");  // the book's first chapter
    EXPECT_EQ(at(1, 3, 1), "40 1:1 -1");   // a book it lacks
    EXPECT_EQ(at(0, 0, 0), "40 1:1 -1");

    testing::DataSet whole = testing::DataSet::Small();
    testing::TempDir full;
    testing::WriteDataFolder(full.path(), whole);
    Communs all{full.appDir()};
    LoadAllTables(all);
    EXPECT_EQ(FirstBook(all), 1);
}

class BookIndexTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::DataSet d = testing::DataSet::Small();
        d.books[0].name = "Un nom de livre de plus de vingt-six lettres";
        d.headings = {{'D', 1, 1, 1, "Majeur"},   {'E', 2, 1, 1, "Origines"},
                      {'X', 2, 2, 1, "cach\xE9"}, {'E', 2, 3, 14, std::string(151, 't')},
                      {'D', 2, 3, 1, "Fin"},      {'E', 3, 1, 1, "Autre"}};
        testing::WriteDataFolder(dir.path(), d);
        LoadAllTables(c);
    }
    testing::TempDir dir;
    Communs c{dir.appDir()};
};

TEST_F(BookIndexTest, ItemsOfOneBookWithTheirValues) {
    auto items = BookIndexItems(c, 2);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "<IND x=\"10\">Origines");
    EXPECT_EQ(items[0].value, 1001);
    EXPECT_EQ(items[1].text, "<IND x=\"10\">" + std::string(150, 't'));
    EXPECT_EQ(items[1].value, 3014);
    EXPECT_EQ(items[2].text, "<B>Fin</B>");
    EXPECT_EQ(items[2].value, 3001);
    EXPECT_TRUE(BookIndexItems(c, 4).empty());
    EXPECT_TRUE(BookIndexItems(c, 66).empty());
}

TEST_F(BookIndexTest, TopItemFollowsTheChapter) {
    auto items = BookIndexItems(c, 2);
    EXPECT_EQ(BookIndexTopItem(items, 1), 0);
    EXPECT_EQ(BookIndexTopItem(items, 2), 1);  // chapter 2 has no item: the next one
    EXPECT_EQ(BookIndexTopItem(items, 3), 1);
    EXPECT_EQ(BookIndexTopItem(items, 4), 0);  // after the last heading: the first item
    EXPECT_EQ(BookIndexTopItem({}, 1), 0);
}

TEST_F(BookIndexTest, TabCaptionsCutTheNameAndSpaceTo26) {
    EXPECT_EQ(TabCaption(c, 2, 7), "Livre 2 7");
    EXPECT_EQ(TabCaption(c, 1, 119), "Un nom de livre de plus de119");
}

}  // namespace
}  // namespace lorvane
