#include <gtest/gtest.h>

#include <optional>

#include "FctLoad.h"
#include "Fixtures.h"

namespace lorvane {
namespace {

using testing::TempDir;
namespace dw = datawriter;

class VerseTableTest : public ::testing::Test {
  protected:
    void Write(const std::string& bytes) { testing::WriteDataFile(dir.path(), "bible.dat", bytes); }
    void Load() { LoadVerseTable(c); }

    TempDir dir;
    Communs c{dir.appDir()};
};

TEST_F(VerseTableTest, ReadsEntriesInFileOrderWithTheirLookups) {
    Write(dw::EncodeVerse({1, 1, 1, "Au commencement"}) + dw::EncodeVerse({1, 1, 2, ""}, 254) +
          dw::EncodeVerse({1, 2, 1, "\xC9ternel"}, 7));
    Load();
    EXPECT_EQ(c.VerseTable[1].Text, "Au commencement");
    EXPECT_EQ(c.VerseTable[2].Text, "");         // empty text, then a skipped 254
    EXPECT_EQ(c.VerseTable[3].Text, "Éternel");  // a Windows-1252 folder, read as UTF-8
    EXPECT_EQ(c.VerseTable[3].Chapter, 2);
    EXPECT_EQ(c.VerseTable[4].Book, kEndMarker);
    EXPECT_EQ(c.VerseSlotCount(), kVerseSlots);
    EXPECT_EQ(c.VerseLookup(1, 1, 2), 2);
    EXPECT_EQ(c.VerseLookup(1, 2, 1), 3);
    EXPECT_EQ(c.VerseLookup(1, 2, 2), 0);
}

TEST_F(VerseTableTest, RangeLookupsStopAtChapterBookAndMarker) {
    std::string bytes;
    for (int v = 1; v <= 26; ++v)
        bytes += dw::EncodeVerse({1, 1, v, "x"});
    bytes += dw::EncodeVerse({1, 2, 1, "seul"});
    for (int v = 1; v <= 3; ++v)
        bytes += dw::EncodeVerse({2, 1, v, "y"});
    Write(bytes);
    std::vector<dw::BookRecord> books = {{"Un", "1", 2}, {"Deux", "2", 1}};
    testing::WriteDataFile(dir.path(), "livre.dat", dw::EncodeBooks(books));
    LoadBookTable(c);
    Load();
    EXPECT_EQ(c.LastSlotOfChapter(1, 1), 26);
    EXPECT_EQ(c.LastVerseOfChapter(1, 1), 26);  // a verse number, not a slot
    EXPECT_EQ(c.LastSlotOfChapter(1, 2), 27);   // one-verse chapter
    EXPECT_EQ(c.LastVerseOfChapter(1, 2), 1);
    EXPECT_EQ(c.LastSlotOfBook(1), 27);
    EXPECT_EQ(c.LastSlotOfChapter(2, 1), 30);  // stops before the end marker
    EXPECT_EQ(c.LastSlotOfBook(2), 30);
    // Chapters without a verse 1, and numbers outside the table, give 0.
    EXPECT_EQ(c.LastSlotOfChapter(1, 3), 0);
    EXPECT_EQ(c.LastVerseOfChapter(1, 3), 0);
    EXPECT_EQ(c.LastSlotOfBook(3), 0);
    EXPECT_EQ(c.VerseLookup(0, 1, 1), 0);
    EXPECT_EQ(c.VerseLookup(67, 1, 1), 0);
    EXPECT_EQ(c.VerseLookup(1, 151, 1), 0);
    EXPECT_EQ(c.VerseLookup(1, 1, 177), 0);
    EXPECT_EQ(c.VerseLookup(-5, -5, -5), 0);
}

TEST_F(VerseTableTest, RepeatedVerseKeepsBothSlotsAndTheLaterWins) {
    Write(dw::EncodeVerse({1, 1, 1, "premier"}) + dw::EncodeVerse({1, 1, 1, "second"}));
    Load();
    EXPECT_EQ(c.VerseLookup(1, 1, 1), 2);
    EXPECT_EQ(c.VerseTable[1].Text, "premier");
    EXPECT_EQ(c.VerseTable[2].Text, "second");
}

TEST_F(VerseTableTest, TextsFollowEachOtherInTheVerseBytesAndOutliveCopies) {
    Write(dw::EncodeVerse({1, 1, 1, "un"}) + dw::EncodeVerse({1, 1, 5, ""}) +
          dw::EncodeVerse({1, 1, 2, "deux"}) + dw::EncodeVerse({3, 7, 1, "trois"}));
    Load();
    const std::string_view bytes = c.VerseBytes();
    const char* end = bytes.data();
    for (int s = 1; s <= 4; ++s) {
        const std::string_view t = c.VerseTable[s].Text;
        ASSERT_GE(t.data(), end) << s;
        end = t.data() + t.size();
    }
    EXPECT_LE(end, bytes.data() + bytes.size());
    // Verse numbers with gaps: the missing ones look up as 0.
    EXPECT_EQ(c.VerseLookup(1, 1, 5), 2);
    EXPECT_EQ(c.VerseLookup(1, 1, 2), 3);
    EXPECT_EQ(c.VerseLookup(1, 1, 3), 0);
    EXPECT_EQ(c.VerseLookup(1, 1, 6), 0);
    EXPECT_EQ(c.VerseLookup(3, 7, 1), 4);
    EXPECT_EQ(c.VerseLookup(2, 1, 1), 0);

    std::optional<Communs> copy(c);
    c = Communs(dir.appDir());
    EXPECT_EQ(copy->VerseTable[4].Text, "trois");
    EXPECT_EQ(copy->VerseLookup(3, 7, 1), 4);
    EXPECT_EQ(c.VerseLookup(3, 7, 1), 0);
}

TEST_F(VerseTableTest, EmptyFileGivesOnlyTheMarker) {
    Write("");
    Load();
    EXPECT_EQ(c.VerseTable[1].Book, kEndMarker);
    EXPECT_EQ(c.VerseLookup(1, 1, 1), 0);
}

TEST_F(VerseTableTest, CutEntriesFailTheLoad) {
    const std::string good = dw::EncodeVerse({1, 1, 1, "abc"});
    const std::vector<std::pair<std::string, std::string>> cases = {
        {good + std::string("\x01\x01", 2), "in its numbers"},
        {good + std::string("\x01\x01\x02text"), "no terminator"},
        {good.substr(0, good.size() - 1), "after the terminator is missing"},
    };
    for (const auto& [bytes, reason] : cases) {
        Write(bytes);
        try {
            Load();
            ADD_FAILURE() << "accepted: " << reason;
        } catch (const LoadError& e) {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("bible.dat"), std::string::npos);
        }
    }
}

TEST_F(VerseTableTest, NumbersOutsideTheLookupFailTheLoad) {
    for (auto [b, ch, v] : {std::tuple{0, 1, 1},
                            {67, 1, 1},
                            {1, 0, 1},
                            {1, 151, 1},
                            {1, 1, 0},
                            {1, 1, 177},
                            {255, 255, 255}}) {
        Write(dw::EncodeVerse({1, 1, 1, "ok"}) + dw::EncodeVerse({b, ch, v, "hors"}));
        EXPECT_THROW(Load(), LoadError) << b << "/" << ch << "/" << v;
    }
}

TEST_F(VerseTableTest, FullTableHasNoMarkerAndLargerFilesGrowTheTable) {
    std::string bytes;
    auto entry = [](int i) {
        return dw::EncodeVerse({1 + i / 26400, 1 + (i / 176) % 150, 1 + i % 176, "v"});
    };
    for (int i = 0; i < kVerseSlots; ++i)
        bytes += entry(i);
    Write(bytes);
    Load();
    ASSERT_EQ(c.VerseSlotCount(), kVerseSlots);
    EXPECT_EQ(c.VerseTable[kVerseSlots].Book, 2);  // a verse, not a marker
    const auto& last = c.VerseTable[kVerseSlots];
    EXPECT_EQ(c.LastSlotOfChapter(last.Book, last.Chapter), kVerseSlots);

    bytes += entry(kVerseSlots) + entry(kVerseSlots + 1);
    Write(bytes);
    Load();
    ASSERT_EQ(c.VerseSlotCount(), kVerseSlots + 3);
    EXPECT_EQ(c.VerseTable[kVerseSlots + 2].Book, 2);
    EXPECT_EQ(c.VerseTable[kVerseSlots + 3].Book, kEndMarker);
    EXPECT_EQ(c.VerseLookup(2, 28, 21), kVerseSlots + 2);
}

TEST_F(VerseTableTest, MissingFileNamesTheFile) {
    try {
        Load();
        FAIL();
    } catch (const LoadError& e) {
        EXPECT_EQ(e.file(), dir.appDir() + "data/bible.dat");
    }
}

}  // namespace
}  // namespace lorvane
