#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "BibleShelf.h"
#include "Fixtures.h"
#include "ZipFixtures.h"

namespace fx = lorvane::testing;

using namespace lorvane::bibles;
namespace fs = std::filesystem;

namespace {

// A Bible of its own in folder, named by its data/nom.txt and sigle.txt;
// `verses` changes its text.
void MakeBible(const fs::path& folder, const std::string& name, const std::string& abbreviation,
               int verses = 5) {
    fx::WriteDataFolder(folder, fx::DataSet::Small(verses));
    if (!name.empty()) fx::WriteDataFile(folder, kNameFile, name + "\n");
    if (!abbreviation.empty()) fx::WriteDataFile(folder, kAbbreviationFile, abbreviation + "\n");
}

struct Shelf : ::testing::Test {
    fx::TempDir program;
    fx::TempDir user;
    std::string shelfDir = user.appDir() + "bibles/";

    Shelf() { MakeBible(program.path(), "", "LSG"); }
    // An import of a Bible into the shelf, as the program makes it.
    BibleShelf::Added Import(BibleShelf& shelf, const std::string& name,
                             const std::string& abbreviation, int verses = 6) {
        const std::string dir = shelf.NewBibleDir(abbreviation);
        MakeBible(dir, name, abbreviation, verses);
        return shelf.Add(dir, "2026-12-08");
    }
    BibleShelf Fresh() {
        BibleShelf shelf(shelfDir, program.appDir());
        shelf.Load();
        return shelf;
    }
};

}  // namespace

TEST_F(Shelf, AloneTheProgramsBibleIsTheOneShownAndNothingIsWritten) {
    BibleShelf shelf = Fresh();
    ASSERT_EQ(shelf.Count(), 1u);
    EXPECT_EQ(shelf.At(0).folder, kProgramBible);
    EXPECT_EQ(shelf.At(0).name, kDefaultName);
    EXPECT_EQ(shelf.At(0).abbreviation, "LSG");  // its data/sigle.txt
    EXPECT_EQ(shelf.CurrentDir(), program.appDir());
    EXPECT_TRUE(shelf.Problems().empty());
    EXPECT_FALSE(fs::exists(shelfDir));
}

TEST_F(Shelf, ImportsAddBiblesThatTheNextStartFindsWithTheChoice) {
    BibleShelf shelf = Fresh();
    auto darby = Import(shelf, "Bible Darby", "DBY");
    ASSERT_TRUE(darby.added);
    EXPECT_EQ(shelf.Current(), 1u);
    EXPECT_EQ(shelf.DirOf(1), shelfDir + "dby/");
    // Same abbreviation, other Bible: another folder.
    auto other = Import(shelf, "Darby révisée", "DBY", 7);
    ASSERT_TRUE(other.added);
    EXPECT_EQ(shelf.DirOf(2), shelfDir + "dby-2/");
    shelf.Choose(1);

    BibleShelf next = Fresh();
    ASSERT_EQ(next.Count(), 3u);
    EXPECT_EQ(next.At(1).name, "Bible Darby");
    EXPECT_EQ(next.At(2).name, "Darby révisée");
    EXPECT_EQ(next.At(2).imported, "2026-12-08");
    EXPECT_EQ(next.Current(), 1u);
    EXPECT_EQ(next.CurrentDir(), shelfDir + "dby/");
}

TEST_F(Shelf, TheSameBibleImportedAgainChangesNothing) {
    BibleShelf shelf = Fresh();
    ASSERT_TRUE(Import(shelf, "Bible Darby", "DBY").added);
    shelf.Choose(0);
    const std::string list = fx::ReadFile(shelfDir + kListFile);
    auto again = Import(shelf, "Bible Darby", "DBY");
    EXPECT_FALSE(again.added);
    EXPECT_EQ(again.index, 1u);
    EXPECT_EQ(shelf.Count(), 2u);
    EXPECT_EQ(shelf.Current(), 0u);
    EXPECT_EQ(fx::ReadFile(shelfDir + kListFile), list);
    EXPECT_FALSE(fs::exists(shelfDir + "dby-2"));
    // The same name over another text is another Bible.
    EXPECT_TRUE(Import(shelf, "Bible Darby", "DBY", 9).added);
}

TEST_F(Shelf, RenamingKeepsNamesAsTypedAndNeverMakesThemPaths) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    const std::string odd = "« L'\"ancienne\" / Darby\t» ../../etc " + std::string(300, 'e');
    shelf.Rename(1, odd, "D/B\"Y'é&x");
    shelf.Rename(0, "Louis Segond 1910", "");

    BibleShelf next = Fresh();
    ASSERT_EQ(next.Count(), 2u);
    EXPECT_EQ(next.At(1).name, CleanName(odd));
    EXPECT_EQ(next.At(1).name.substr(0, 37), "« L'\"ancienne\" / Darby » ../../etc ");
    EXPECT_EQ(next.At(1).abbreviation, "D/B\"Y'é&");  // 8 characters, é one of them
    EXPECT_EQ(next.DirOf(1), shelfDir + "dby/");
    EXPECT_EQ(next.At(0).name, "Louis Segond 1910");
    EXPECT_EQ(next.At(0).abbreviation, "LSG");
}

TEST_F(Shelf, RemovingDeletesTheFolderHidesTheProgramsAndKeepsTheLast) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    Import(shelf, "Bible Martin", "MAR");
    shelf.Choose(2);
    shelf.Remove(1);
    EXPECT_FALSE(fs::exists(shelfDir + "dby"));
    ASSERT_EQ(shelf.Count(), 2u);
    EXPECT_EQ(shelf.At(shelf.Current()).name, "Bible Martin");
    // The program's own Bible is hidden, its folder untouched.
    shelf.Remove(0);
    EXPECT_TRUE(fs::exists(program.path() / "data" / "bible.dat"));
    EXPECT_THROW(shelf.Remove(0), ShelfError);

    BibleShelf next = Fresh();
    ASSERT_EQ(next.Count(), 1u);
    EXPECT_EQ(next.At(0).name, "Bible Martin");
    EXPECT_EQ(next.CurrentDir(), shelfDir + "mar/");
}

TEST_F(Shelf, RemovingTheBibleShownShowsAnother) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    ASSERT_EQ(shelf.Current(), 1u);
    shelf.Remove(1);
    EXPECT_EQ(shelf.CurrentDir(), program.appDir());
    EXPECT_EQ(Fresh().CurrentDir(), program.appDir());
}

TEST_F(Shelf, ADamagedOrMissingBibleIsLeftOutAndNamed) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    Import(shelf, "Bible Martin", "MAR");
    shelf.Choose(1);
    fs::remove(shelfDir + "dby/data/bible.dat");
    fs::remove_all(shelfDir + "mar");

    BibleShelf next = Fresh();
    ASSERT_EQ(next.Count(), 1u);
    EXPECT_EQ(next.CurrentDir(), program.appDir());
    ASSERT_EQ(next.Problems().size(), 2u);
    EXPECT_NE(next.Problems()[0].find("« Bible Darby »"), std::string::npos);
    EXPECT_NE(next.Problems()[1].find("« Bible Martin »"), std::string::npos);
}

TEST_F(Shelf, ABibleThatDoesNotLoadGivesWayToTheNext) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    BibleShelf next = Fresh();
    ASSERT_EQ(next.Current(), 1u);
    EXPECT_TRUE(next.LeaveOut(1));
    EXPECT_EQ(next.CurrentDir(), program.appDir());
    EXPECT_NE(
        next.Problems().at(0).find("« Bible Darby » est endommagée : elle est laissée de côté."),
        std::string::npos);
    EXPECT_FALSE(next.LeaveOut(0));  // none left
    // Left out for this run only: the list keeps it.
    EXPECT_EQ(Fresh().Count(), 2u);
}

TEST_F(Shelf, AnInstallationWithoutBibleStartsOnAKeptOne) {
    fs::remove_all(program.path() / "data");
    BibleShelf shelf = Fresh();
    ASSERT_EQ(shelf.Count(), 1u);  // the program's, which the import will replace
    Import(shelf, "Bible Darby", "DBY");
    BibleShelf next = Fresh();
    ASSERT_EQ(next.Count(), 1u);
    EXPECT_EQ(next.At(0).name, "Bible Darby");
}

TEST_F(Shelf, DamagedListLinesAreLeftOutAndNoneLeadsOutOfTheShelf) {
    ShelfList list = ReadShelfList(
        "# comment\r\n"
        "bible\tdby\tDBY\tBible Darby\t2026-12-08\r\n"
        "bible\t../../etc\tX\tEvil\t2026-12-08\n"
        "bible\t/tmp\tX\tEvil\t\n"
        "bible\tmar\tMAR\tBible Martin\tnot a date\n"
        "bible\tdby\tDBY\tTwice\t\n"
        "bible\tshort\n"
        "courante\t../x\n"
        "cachee\t*\n"
        "\xFF\xFE garbage\n");
    ASSERT_EQ(list.bibles.size(), 1u);
    EXPECT_EQ(list.bibles[0].name, "Bible Darby");
    EXPECT_TRUE(list.programHidden);
    EXPECT_EQ(list.current, "");
    EXPECT_FALSE(IsShelfFolderName(".."));
    EXPECT_FALSE(IsShelfFolderName("-x"));
    EXPECT_FALSE(IsShelfFolderName("A"));
    EXPECT_TRUE(IsShelfFolderName("lsg-2"));
}

TEST_F(Shelf, TheListRoundTripsAndIsWrittenWhole) {
    ShelfList list;
    list.bibles = {{"lsg", "Louis Segond\t1910", "LSG", "2026-12-08"},
                   {kProgramBible, "Ma Bible", "MB", ""}};
    list.programHidden = true;
    list.current = "lsg";
    const ShelfList back = ReadShelfList(WriteShelfList(list));
    ASSERT_EQ(back.bibles.size(), 2u);
    EXPECT_EQ(back.bibles[0].name, "Louis Segond 1910");
    EXPECT_EQ(back.bibles[1].folder, kProgramBible);
    EXPECT_TRUE(back.programHidden);
    EXPECT_EQ(back.current, "lsg");

    // No temporary file stays beside it.
    fx::TempDir dir;
    WriteFileAtomically((dir.path() / "l.txt").string(), "one");
    WriteFileAtomically((dir.path() / "l.txt").string(), "two");
    EXPECT_EQ(fx::ReadFile(dir.path() / "l.txt"), "two");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(Shelf, TwoProgramsOpenAtOnceKeepEachOthersBibles) {
    BibleShelf first = Fresh();
    BibleShelf second = Fresh();
    Import(first, "Bible Darby", "DBY");
    Import(second, "Bible Martin", "MAR");
    second.Rename(0, "Louis Segond", "");
    first.Choose(0);
    BibleShelf next = Fresh();
    ASSERT_EQ(next.Count(), 3u);
    EXPECT_EQ(next.At(0).name, "Louis Segond");
    EXPECT_EQ(next.Current(), 0u);  // the last choice made
}

TEST_F(Shelf, AnUnwritableShelfSaysWhichFolder) {
    fx::WithoutRootOverride asReader;
    fs::create_directories(shelfDir);
    fs::permissions(shelfDir, fs::perms::owner_write, fs::perm_options::remove);
    BibleShelf shelf = Fresh();
    try {
        shelf.NewBibleDir("DBY");
        ADD_FAILURE() << "no error";
    } catch (const ShelfError& e) {
        EXPECT_NE(std::string(e.what()).find("« " + user.appDir() + "bibles »"), std::string::npos);
    }
    fs::permissions(shelfDir, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(Shelf, LeftoversOfCutImportsGoListedBiblesStay) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    fs::create_directories(shelfDir + "import-12.new/data");
    fs::create_directories(shelfDir + "mar/data");  // renamed in, never listed
    fs::create_directories(shelfDir + "Notes");     // not a name the shelf makes
    shelf.RemoveLeftovers(10);                      // too recent: another program may be at it
    EXPECT_TRUE(fs::exists(shelfDir + "import-12.new"));
    shelf.RemoveLeftovers(0);
    EXPECT_FALSE(fs::exists(shelfDir + "import-12.new"));
    EXPECT_FALSE(fs::exists(shelfDir + "mar"));
    EXPECT_TRUE(fs::exists(shelfDir + "Notes"));
    EXPECT_TRUE(fs::exists(shelfDir + "dby/data/bible.dat"));
}

TEST_F(Shelf, BooksAreCountedFromTheBookTable) {
    EXPECT_EQ(CountBooks(program.appDir()), 66);
    EXPECT_EQ(CountBooks(user.appDir()), 0);
}
