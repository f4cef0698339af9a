// Writing a whole data folder: what the program loads from it, the page
// archive, and the folder replaced only once complete.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ArchiveBytes.h"
#include "Communs.h"
#include "DataFolder.h"
#include "FctLoad.h"
#include "Fixtures.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using lorvane::testing::TempDir;
namespace ab = lorvane::testing::archive;

BibleData SmallBible() {
    BibleData bible;
    bible.source = "test";
    for (int b = 1; b <= 66; ++b) {
        bible.books.push_back({"Livre", "L", 2});
        for (int c = 1; c <= 2; ++c)
            for (int v = 1; v <= 4; ++v)
                bible.verses.push_back({b, c, v, "Texte"});
    }
    bible.headings.push_back({'D', 1, 1, 1, "Titre"});
    bible.crossRefs.push_back({1, 1, 1, 0, 43, 2, 0, 0});
    return bible;
}

std::vector<Page> SomePages() {
    std::string big;
    for (int i = 0; big.size() < 40000; ++i)
        big += "<P>Paragraphe " + std::to_string(i) + " de la page d'étude.</P>\n";
    return {{"index.htm", "<A href=\"livres.htm\">Livres</A>", 1700000000},
            {"livres.htm", big, 1600000000}};
}

std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The folder's entries other than itself, to see that no temporary folder
// is left behind.
std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DataFolder, TheProgramLoadsWhatIsWritten) {
    TempDir app;
    WriteDataFolder(app.path() / "data", SmallBible(), SomePages(), {});
    Communs c(app.appDir());
    LoadAllTables(c);
    EXPECT_EQ(c.VerseSlotCount(), kVerseSlots);
    EXPECT_EQ(c.VerseTable[66 * 8].Book, 66);
    EXPECT_EQ(c.VerseTable[66 * 8 + 1].Book, -1);
    EXPECT_EQ(c.IndexTable[1].Title.str(), "Titre");
    EXPECT_EQ(c.CrossRefTable[1].Target.LastVerse, 4);  // a whole chapter
    EXPECT_EQ(fs::file_size(app.path() / "data" / "citat.dat"), 0u);
    EXPECT_EQ(Entries(app.path()), std::vector<std::string>{"data"});
}

TEST(DataFolder, PagesArePackedWithTheirDatesAndAFileList) {
    TempDir app;
    const auto pages = SomePages();
    WriteDataFolder(app.path() / "data", SmallBible(), pages, {});
    ab::ParsedArchive a = ab::Parse(Read(app.path() / "data" / "them.dat"));
    ASSERT_EQ(a.members.size(), 3u);
    EXPECT_EQ(a.totalBytes,
              static_cast<std::int32_t>(pages[0].bytes.size() + pages[1].bytes.size()));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(a.members[i].name, pages[i].name);
        EXPECT_EQ(a.members[i].bytes(), pages[i].bytes);
        EXPECT_EQ(a.members[i].date, archive::ToDosDateTime(pages[i].modified));
        EXPECT_EQ(archive::FromDosDateTime(a.members[i].date) / 2, pages[i].modified / 2);
    }
    EXPECT_GE(a.members[1].blocks.size(), 3u);  // 40,000 bytes: blocks of 16,384
    EXPECT_EQ(a.members[2].name, "FILE:LIST");
    EXPECT_NE(a.members[2].bytes().find("livres.htm"), std::string::npos);
}

TEST(DataFolder, TheArchiveCanBeSplitIntoVolumes) {
    TempDir app;
    archive::WriterOptions options;
    options.volumeSize = 2000;
    options.zlibLevel = 0;  // stored blocks: 40,000 bytes make many volumes
    WriteDataFolder(app.path() / "data", SmallBible(), SomePages(), options);
    std::vector<std::string> volumes{Read(app.path() / "data" / "them.dat")};
    for (int n = 2; fs::exists(app.path() / "data" / archive::VolumeName("them.dat", n)); ++n)
        volumes.push_back(Read(app.path() / "data" / archive::VolumeName("them.dat", n)));
    ASSERT_GE(volumes.size(), 3u);
    ab::ParsedArchive a = ab::Parse(volumes);
    EXPECT_EQ(a.members[1].bytes(), SomePages()[1].bytes);
}

TEST(DataFolder, AnOldDataFolderIsReplacedWhole) {
    TempDir app;
    const fs::path data = app.path() / "data";
    archive::WriterOptions split;
    split.volumeSize = 2000;
    split.zlibLevel = 0;
    WriteDataFolder(data, SmallBible(), SomePages(), split);
    ASSERT_TRUE(fs::exists(data / "them.002"));
    BibleData other = SmallBible();
    other.headings.clear();
    WriteDataFolder(data, other, SomePages(), {});
    EXPECT_FALSE(fs::exists(data / "them.002"));  // no stale volume
    EXPECT_EQ(fs::file_size(data / "index.dat"), 0u);
    EXPECT_EQ(Entries(app.path()), std::vector<std::string>{"data"});
}

TEST(DataFolder, AFolderWithOtherFilesIsNeverReplaced) {
    TempDir app;
    fs::create_directories(app.path() / "data");
    std::ofstream(app.path() / "data" / "bible.dat") << "old";
    std::ofstream(app.path() / "data" / "notes.rtf") << "mine";
    EXPECT_THROW(WriteDataFolder(app.path() / "data", SmallBible(), {}, {}), std::runtime_error);
    EXPECT_EQ(Read(app.path() / "data" / "notes.rtf"), "mine");
    EXPECT_EQ(Read(app.path() / "data" / "bible.dat"), "old");
    EXPECT_EQ(Entries(app.path()), std::vector<std::string>{"data"});
    std::ofstream(app.path() / "file") << "x";
    EXPECT_THROW(WriteDataFolder(app.path() / "file", SmallBible(), {}, {}), std::runtime_error);
}

TEST(DataFolder, AFailureLeavesTheOldFolderAsItWas) {
    TempDir app;
    const fs::path data = app.path() / "data";
    WriteDataFolder(data, SmallBible(), SomePages(), {});
    const std::string before = Read(data / "bible.dat");
    BibleData other = SmallBible();
    other.verses.resize(3);
    archive::WriterOptions bad;
    bad.blockSize = 20000;  // beyond the format: the archive writer refuses
    EXPECT_ANY_THROW(WriteDataFolder(data, other, SomePages(), bad));
    EXPECT_EQ(Read(data / "bible.dat"), before);
    EXPECT_EQ(Entries(app.path()), std::vector<std::string>{"data"});
}

TEST(DataFolder, DataFileNames) {
    for (const char* name : {"livre.dat", "refer.dat", "them.dat", "them.002", "them.999",
                             "sigle.txt", "numerotation.txt", "mots.txt"})
        EXPECT_TRUE(IsDataFileName(name)) << name;
    for (const char* name : {"them.htm", "them.02", "them.0021", "notes.rtf", "data"})
        EXPECT_FALSE(IsDataFileName(name)) << name;
}

}  // namespace
}  // namespace lorvane::importer
