#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "FctLoad.h"
#include "Fixtures.h"

namespace lorvane {
namespace {

using testing::TempDir;
namespace dw = datawriter;

class RecordTablesTest : public ::testing::Test {
  protected:
    void Write(const std::string& name, const std::string& bytes) {
        testing::WriteDataFile(dir.path(), name, bytes);
    }
    // Expects the loader to fail with a reason that holds `reason`.
    template <typename Loader>
    void ExpectFailure(Loader load, const std::string& reason) {
        try {
            load(c);
            ADD_FAILURE() << "no failure, expected: " << reason;
        } catch (const LoadError& e) {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
    }

    TempDir dir;
    Communs c{dir.appDir()};
};

TEST_F(RecordTablesTest, BookTableKeepsRecordsAndLeavesMissingBooksEmpty) {
    std::string longName(60, 'n');
    std::vector<dw::BookRecord> books = {{"Gen\xE8se", "Ge", 50}, {"Exode", "Ex", 40}};
    std::string bytes = dw::EncodeBooks(books);
    std::string odd = dw::EncodeBook({"", "", 1});
    odd[0] = static_cast<char>(200);  // a length byte beyond the field reads as 51
    Write("livre.dat", bytes + odd);
    LoadBookTable(c);
    EXPECT_EQ(c.BookTable[1].Name.view(), "Genèse");
    EXPECT_EQ(c.BookTable[1].ShortName.view(), "Ge");
    EXPECT_EQ(c.BookTable[2].ChapterCount, 40);
    EXPECT_EQ(c.BookTable[3].Name.view().size(), 51u);
    EXPECT_EQ(c.BookTable[4].Name.view(), "");
    EXPECT_EQ(c.BookTable[66].ChapterCount, 0);
}

TEST_F(RecordTablesTest, BookTableRefusesWhatTheFormatCannotHold) {
    std::vector<dw::BookRecord> books(67, {"B", "B", 1});
    Write("livre.dat", dw::EncodeBooks(books));
    ExpectFailure(LoadBookTable, "more than 66 book records");
    for (int count : {151, -1}) {
        Write("livre.dat", dw::EncodeBook({"B", "B", count}));
        ExpectFailure(LoadBookTable, "chapter count " + std::to_string(count));
    }
    Write("livre.dat", dw::EncodeBook({"B", "B", 1}) + "xyz");
    ExpectFailure(LoadBookTable, "partial record at offset 108: expected 108 bytes, found 3");
}

TEST_F(RecordTablesTest, EmptyFilesGiveTablesThatStartWithTheMarker) {
    Write("index.dat", "");
    Write("citat.dat", "");
    Write("refer.dat", "");
    LoadIndexTable(c);
    LoadQuoteTable(c);
    LoadCrossRefTable(c);
    EXPECT_EQ(c.IndexTable[1].Book, kEndMarker);
    EXPECT_EQ(c.QuoteTable[1].First, kEndMarker);
    EXPECT_EQ(c.CrossRefTable[1].Book, kEndMarker);
    EXPECT_EQ(c.IndexSlotCount(), kIndexSlots);
    EXPECT_EQ(c.QuoteSlotCount(), kQuoteSlots);
    EXPECT_EQ(c.CrossRefSlotCount(), kCrossRefSlots);
}

TEST_F(RecordTablesTest, PartialRecordsFailEachLoader) {
    Write("index.dat", dw::EncodeIndex({'E', 1, 1, 1, "t"}) + std::string(20, 'x'));
    ExpectFailure(LoadIndexTable, "partial record at offset 168");
    Write("citat.dat", std::string(31, '\0'));
    ExpectFailure(LoadQuoteTable, "partial record at offset 0: expected 32 bytes, found 31");
    Write("refer.dat", std::string(33, '\0'));
    ExpectFailure(LoadCrossRefTable, "partial record at offset 32");
}

TEST_F(RecordTablesTest, IndexRecordsKeepKindTitleAndOrder) {
    std::string title(170, 't');
    Write("index.dat", dw::EncodeIndexes({{'D', 1, 1, 1, "LES ORIGINES"},
                                          {'E', 1, 1, 1,
                                           "Cr\xE9"
                                           "ation"},
                                          {'X', 1, 2, 4, "autre"}}) +
                           dw::EncodeIndex({'E', 2, 3, 4, title}));
    LoadIndexTable(c);
    EXPECT_EQ(c.IndexTable[1].Kind, 'D');
    EXPECT_EQ(c.IndexTable[2].Title.view(),
              "Cr\u00E9"
              "ation");
    EXPECT_EQ(c.IndexTable[3].Kind, 'X');
    EXPECT_EQ(c.IndexTable[3].Verse, 4);
    EXPECT_EQ(c.IndexTable[4].Title.view().size(), 151u);
    EXPECT_EQ(c.IndexTable[5].Book, kEndMarker);
}

TEST_F(RecordTablesTest, FullTablesHaveNoMarkerAndLargerOnesGrow) {
    std::string refs;
    for (int i = 0; i < kCrossRefSlots; ++i)
        refs += dw::EncodeCrossRef({1, 1, 1, 0, 1, 1, 1, 1});
    Write("bible.dat", dw::EncodeVerse({1, 1, 1, "v"}));
    LoadVerseTable(c);
    Write("refer.dat", refs);
    LoadCrossRefTable(c);
    EXPECT_EQ(c.CrossRefSlotCount(), kCrossRefSlots);
    EXPECT_EQ(c.CrossRefTable[kCrossRefSlots].Book, 1);

    Write("refer.dat", refs + dw::EncodeCrossRef({2, 1, 1, 0, 1, 1, 1, 1}));
    LoadCrossRefTable(c);
    EXPECT_EQ(c.CrossRefSlotCount(), kCrossRefSlots + 2);
    EXPECT_EQ(c.CrossRefTable[kCrossRefSlots + 1].Book, 2);
    EXPECT_EQ(c.CrossRefTable[kCrossRefSlots + 2].Book, kEndMarker);

    std::string quotes;
    for (int i = 1; i <= kQuoteSlots + 1; ++i)
        quotes += dw::EncodeQuote(i);
    Write("citat.dat", quotes);
    LoadQuoteTable(c);
    EXPECT_EQ(c.QuoteTable[kQuoteSlots + 1].First, kQuoteSlots + 1);
    EXPECT_EQ(c.QuoteTable[kQuoteSlots + 2].First, kEndMarker);

    std::string headings;
    for (int i = 0; i < kIndexSlots; ++i)
        headings += dw::EncodeIndex({'E', 1, 1, 1, "h"});
    Write("index.dat", headings);
    LoadIndexTable(c);
    EXPECT_EQ(c.IndexSlotCount(), kIndexSlots);
    EXPECT_EQ(c.IndexTable[kIndexSlots].Book, 1);
}

TEST_F(RecordTablesTest, CrossReferenceTargetsAreFixedUpAtLoad) {
    std::string verses;
    for (int v = 1; v <= 26; ++v)
        verses += dw::EncodeVerse({19, 23, v, "v"});
    Write("bible.dat", verses);
    LoadVerseTable(c);
    Write("refer.dat", dw::EncodeCrossRefs({
                           {1, 1, 1, 77, 19, 23, 0, 0},   // whole chapter
                           {1, 1, 1, 0, 19, 23, 0, 5},    // whole chapter, stored 5 dropped
                           {1, 1, 2, 0, 19, 23, 5, 0},    // single verse
                           {1, 1, 3, 0, 19, 23, 5, 9},    // range kept
                           {1, 1, 4, 0, 19, 99, 0, 0},    // chapter without verses
                           {1, 1, 5, 0, 200, 500, 0, 0},  // numbers outside the lookup
                       }));
    LoadCrossRefTable(c);
    auto target = [&](int slot) {
        const VerseRef& t = c.CrossRefTable[slot].Target;
        return std::tuple{t.Book, t.Chapter, t.FirstVerse, t.LastVerse};
    };
    EXPECT_EQ(target(1), std::tuple(19, 23, 1, 26));
    EXPECT_EQ(c.CrossRefTable[1].Reserved, 77);
    EXPECT_EQ(target(2), std::tuple(19, 23, 1, 26));
    EXPECT_EQ(target(3), std::tuple(19, 23, 5, 5));
    EXPECT_EQ(target(4), std::tuple(19, 23, 5, 9));
    EXPECT_EQ(target(5), std::tuple(19, 99, 1, 1));
    EXPECT_EQ(target(6), std::tuple(200, 500, 1, 1));
    EXPECT_EQ(c.CrossRefTable[7].Book, kEndMarker);
}

TEST_F(RecordTablesTest, LoadingBlockFailsOnEachMissingFile) {
    for (const char* name : {"livre.dat", "bible.dat", "index.dat", "citat.dat", "refer.dat"}) {
        testing::WriteDataFolder(dir.path(), testing::DataSet::Small());
        std::filesystem::remove(dir.path() / "data" / name);
        Communs fresh(dir.appDir());
        try {
            LoadAllTables(fresh);
            ADD_FAILURE() << "loaded without " << name;
        } catch (const LoadError& e) {
            EXPECT_EQ(e.file(), dir.appDir() + "data/" + name);
        }
    }
    testing::WriteDataFolder(dir.path(), testing::DataSet::Small());
    std::filesystem::permissions(dir.path() / "data" / "bible.dat",
                                 std::filesystem::perms::owner_read);  // read-only loads
    EXPECT_NO_THROW(LoadAllTables(c));
    EXPECT_EQ(c.VerseLookup(66, 3, 5), 66 * 15);
}

// What a Bible whose files were cut or changed apart gives: each is left
// aside by the loading block, naming the file.
TEST_F(RecordTablesTest, LoadingBlockRefusesTablesThatDisagree) {
    auto expectRefused = [&](const testing::DataSet& data, const char* file,
                             const std::string& reason, auto change) {
        testing::WriteDataFolder(dir.path(), data);
        change();
        Communs fresh(dir.appDir());
        try {
            LoadAllTables(fresh);
            ADD_FAILURE() << "loaded, expected: " << reason;
        } catch (const LoadError& e) {
            EXPECT_EQ(e.file(), dir.appDir() + "data/" + file) << e.what();
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
    };
    const testing::DataSet small = testing::DataSet::Small();
    const std::string verses = dw::EncodeVerses(small.verses);
    // Cut at about a third, just after a whole verse: Matthew has none.
    std::size_t cut = verses.size() / 3;
    while (cut < verses.size() && static_cast<unsigned char>(verses[cut - 2]) != 254)
        ++cut;
    expectRefused(small, "bible.dat", "has no verse, though livre.dat counts 3 chapters in it",
                  [&] { Write("bible.dat", verses.substr(0, cut)); });
    expectRefused(small, "bible.dat", "book 1 has no verse", [&] { Write("bible.dat", ""); });
    // A book table that counts fewer chapters than the text holds.
    expectRefused(small, "bible.dat", "verse 40/3/1 in a chapter that livre.dat does not count",
                  [&] {
                      std::vector<dw::BookRecord> books = small.books;
                      books[39].chapterCount = 2;
                      Write("livre.dat", dw::EncodeBooks(books));
                  });
    // A chapter missing inside a book, and its heading, are no damage.
    testing::DataSet gap = small;
    std::erase_if(gap.verses,
                  [](const dw::VerseEntry& v) { return v.book == 19 && v.chapter != 2; });
    gap.headings = {{'E', 19, 1, 1, "Absent"}};
    testing::WriteDataFolder(dir.path(), gap);
    Communs whole(dir.appDir());
    EXPECT_NO_THROW(LoadAllTables(whole));
}

// The check costs little at start: the full-size tables in a few
// milliseconds at most, whatever the machine.
TEST_F(RecordTablesTest, FullSizeTablesAgree) {
    testing::WriteDataFolder(dir.path(), testing::DataSet::FullSize());
    LoadAllTables(c);
    const auto start = std::chrono::steady_clock::now();
    CheckTablesAgree(c);
    const auto spent = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::cerr << "checking the full-size tables: " << spent.count() << " us\n";
    EXPECT_LT(spent.count(), 20000);
}

}  // namespace
}  // namespace lorvane
