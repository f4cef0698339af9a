#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

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
        const std::string staging = shelf.StagingDir();
        MakeBible(staging, name, abbreviation, verses);
        return shelf.Adopt(staging, name, abbreviation, "2026-12-08");
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

TEST_F(Shelf, AnImportOfAnAbbreviationAlreadyKeptIsNumbered) {
    BibleShelf shelf = Fresh();
    // The program's own Bible is « LSG »: a Louis Segond imported is LSG2,
    // then LSG3, also at the next start and in a list made again.
    ASSERT_TRUE(Import(shelf, "Louis Segond révisée", "LSG").added);
    EXPECT_EQ(shelf.At(1).abbreviation, "LSG2");
    ASSERT_TRUE(Import(shelf, "Louis Segond 1880", "LSG", 8).added);
    EXPECT_EQ(shelf.At(2).abbreviation, "LSG3");
    EXPECT_EQ(Fresh().At(2).abbreviation, "LSG3");
    fs::remove(shelfDir + kListFile);
    EXPECT_EQ(Fresh().At(1).abbreviation, "LSG2");
    // A Bible left out for this run keeps its abbreviation all the same.
    BibleShelf run = Fresh();
    ASSERT_TRUE(run.LeaveOut(2));
    ASSERT_TRUE(Import(run, "Louis Segond 1975", "LSG", 11).added);
    EXPECT_EQ(run.At(run.Current()).abbreviation, "LSG4");
    // Eight characters at most: the number takes the place of the last.
    ASSERT_TRUE(Import(shelf, "Ancienne", "ÉCRITURE", 9).added);
    ASSERT_TRUE(Import(shelf, "Nouvelle", "ÉCRITURE", 10).added);
    EXPECT_EQ(shelf.At(shelf.Current()).abbreviation, "ÉCRITUR2");
    EXPECT_EQ(
        DistinctAbbreviation("ABCDEFGH", {{"x", "", "ABCDEFGH", ""}, {"y", "", "ABCDEFG2", ""}}),
        "ABCDEFG3");
    std::vector<KeptBible> many{{"x", "", "LSG", ""}};
    for (int n = 2; n <= 9; ++n)
        many.push_back({"x", "", "LSG" + std::to_string(n), ""});
    EXPECT_EQ(DistinctAbbreviation("LSG", many), "LSG10");
}

TEST_F(Shelf, ARenameToAnAbbreviationAnotherBibleHasIsRefused) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    try {
        shelf.Rename(1, "Darby", "LSG");
        FAIL() << "renamed to the program's abbreviation";
    } catch (const ShelfError& e) {
        EXPECT_STREQ(e.what(), "L'abréviation « LSG » est déjà celle d'une autre Bible.");
    }
    EXPECT_EQ(Fresh().At(1).abbreviation, "DBY");
    EXPECT_EQ(Fresh().At(1).name, "Bible Darby");  // nothing changed
    shelf.Rename(1, "Darby", "DBY");               // its own stays its own
    EXPECT_EQ(shelf.At(1).name, "Darby");
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
    lorvane::WriteFileAtomically((dir.path() / "l.txt").string(), "one");
    lorvane::WriteFileAtomically((dir.path() / "l.txt").string(), "two");
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
    BibleShelf shelf = Fresh();
    const std::string staging = shelf.StagingDir();
    MakeBible(staging, "Bible Darby", "DBY");
    fs::permissions(shelfDir, fs::perms::owner_write, fs::perm_options::remove);
    try {
        shelf.Adopt(staging, "Bible Darby", "DBY", "2026-12-08");
        ADD_FAILURE() << "no error";
    } catch (const ShelfError& e) {
        EXPECT_NE(std::string(e.what()).find("« " + user.appDir() + "bibles »"), std::string::npos);
    }
    fs::permissions(shelfDir, fs::perms::owner_write, fs::perm_options::add);
}

// A pid that no process has: a child's, once reaped.
long GonePid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

TEST_F(Shelf, OnlyLeftoversOfGoneProcessesAreRemovedNeverABible) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    const std::string gone = std::to_string(GonePid());
    fs::create_directories(shelfDir + "import-" + gone + ".new/data");
    fs::create_directories(shelfDir + "suppression-" + gone + "-mar.old/data");
    fs::create_directories(shelfDir + "import-1.new/data");  // init never goes away
    fs::create_directories(shelfDir + "mar/data");           // renamed in, never listed
    fs::create_directories(shelfDir + "Notes");              // not a name the shelf makes
    shelf.RemoveLeftovers();
    EXPECT_FALSE(fs::exists(shelfDir + "import-" + gone + ".new"));
    EXPECT_FALSE(fs::exists(shelfDir + "suppression-" + gone + "-mar.old"));
    EXPECT_TRUE(fs::exists(shelfDir + "import-1.new"));
    EXPECT_TRUE(fs::exists(shelfDir + "mar"));
    EXPECT_TRUE(fs::exists(shelfDir + "Notes"));
    EXPECT_TRUE(fs::exists(shelfDir + "dby/data/bible.dat"));
}

// Three kept Bibles, the second shown, then the list damaged as `damage`
// does: the next start keeps every Bible and says so once.
struct DamagedList : Shelf, ::testing::WithParamInterface<int> {};

TEST_P(DamagedList, KeepsEveryBibleAndIsMadeAgainFromTheFolders) {
    {
        BibleShelf shelf = Fresh();
        Import(shelf, "Bible Darby", "DBY");
        Import(shelf, "Bible Martin", "MAR");
        Import(shelf, "Bible Ostervald", "OST");
        shelf.Rename(2, "Martin 1744", "");
        shelf.Choose(2);
    }
    const std::string list = shelfDir + kListFile;
    const std::string before = fx::ReadFile(list);
    std::unique_ptr<fx::WithoutRootOverride> asReader;
    switch (GetParam()) {
        case 0:  // emptied
            fs::resize_file(list, 0);
            break;
        case 1: {  // random bytes
            std::string noise;
            for (int i = 0; i < 4000; ++i)
                noise += static_cast<char>((i * 7919 + 13) % 256);
            std::ofstream(list, std::ios::binary | std::ios::trunc) << noise;
            break;
        }
        case 2:  // deleted
            fs::remove(list);
            break;
        case 3:  // a folder in its place
            fs::remove(list);
            fs::create_directories(list + "/x");
            break;
        case 4:  // unreadable
            asReader = std::make_unique<fx::WithoutRootOverride>();
            fs::permissions(list, fs::perms::none);
            break;
        case 5:  // cut in the middle of its last line
            fs::resize_file(list, before.rfind("bible\t") + 12);
            break;
    }
    BibleShelf next = Fresh();
    ASSERT_EQ(next.Count(), 4u);
    EXPECT_TRUE(fs::exists(shelfDir + "dby/data/bible.dat"));
    EXPECT_TRUE(fs::exists(shelfDir + "mar/data/bible.dat"));
    EXPECT_TRUE(fs::exists(shelfDir + "ost/data/bible.dat"));
    // Names come back from the folders, the reader's renaming included.
    EXPECT_EQ(next.At(next.Find(shelfDir + "mar/").value()).name, "Martin 1744");
    EXPECT_EQ(next.At(next.Find(shelfDir + "ost/").value()).abbreviation, "OST");
    ASSERT_EQ(next.Problems().size(), 1u);
    EXPECT_EQ(next.Problems()[0],
              "La liste de vos Bibles était endommagée : elle a été refaite à partir de vos 3 "
              "Bibles.");
    if (GetParam() == 5) {
        EXPECT_EQ(next.CurrentDir(), shelfDir + "mar/");  // what read is kept
    }
    // The damaged list is set aside, never lost, and a whole one replaces it.
    if (GetParam() != 2) {
        EXPECT_TRUE(fs::exists(shelfDir + kUnreadListFile));
    }
    asReader.reset();
    BibleShelf after = Fresh();
    EXPECT_EQ(after.Count(), 4u);
    EXPECT_TRUE(after.Problems().empty());
    std::error_code ec;
    fs::permissions(shelfDir + kUnreadListFile, fs::perms::owner_all, fs::perm_options::add, ec);
}

INSTANTIATE_TEST_SUITE_P(Shelf, DamagedList, ::testing::Range(0, 6));

TEST_F(Shelf, ABibleRenamedInAndNeverListedIsListedAgain) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    // A program killed between moving an import in and listing it.
    MakeBible(shelfDir + "mar", "Bible Martin", "MAR", 8);
    BibleShelf next = Fresh();
    ASSERT_EQ(next.Count(), 3u);
    EXPECT_EQ(next.At(2).name, "Bible Martin");
    EXPECT_TRUE(next.Problems().empty());
    EXPECT_NE(fx::ReadFile(shelfDir + kListFile).find("\tmar\tMAR\tBible Martin\t"),
              std::string::npos);
}

// Work in a child process, which says through a pipe when it is ready.
struct Child {
    int ready[2];
    pid_t pid = -1;
    template <typename Work>
    explicit Child(Work work) {
        EXPECT_EQ(pipe(ready), 0);
        pid = fork();
        if (pid == 0) {
            close(ready[0]);
            try {
                work([&] { (void)!write(ready[1], "x", 1); });
            } catch (...) {
                _exit(1);
            }
            _exit(0);
        }
        close(ready[1]);
    }
    void WaitReady() {
        char c;
        EXPECT_EQ(read(ready[0], &c, 1), 1);
    }
    int Finish() {
        close(ready[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        return status;
    }
};

TEST_F(Shelf, TwoProgramsChangingTheListAtOnceLoseNothing) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    // Another program is in the middle of an import: it holds the list,
    // slow to move its folder in.
    Child other([&](auto ready) {
        lorvane::FileLock lock(shelfDir + kLockFile);
        ready();
        usleep(400 * 1000);
        MakeBible(shelfDir + "mar", "Bible Martin", "MAR", 8);
        ShelfList list = ReadShelfList(fx::ReadFile(shelfDir + kListFile));
        list.bibles.push_back({"mar", "Bible Martin", "MAR", "2026-12-08"});
        lorvane::WriteFileAtomically(shelfDir + kListFile, WriteShelfList(list));
    });
    other.WaitReady();
    shelf.Remove(1);  // waits, then works on the list as the other left it
    EXPECT_EQ(other.Finish(), 0);
    const std::string list = fx::ReadFile(shelfDir + kListFile);
    EXPECT_NE(list.find("\tmar\t"), std::string::npos);
    EXPECT_EQ(list.find("\tdby\t"), std::string::npos);
    EXPECT_EQ(shelf.Count(), 2u);  // and this program now knows the other's Bible
}

TEST_F(Shelf, TheSameBibleImportedByTwoProgramsAtOnceIsKeptOnce) {
    BibleShelf shelf = Fresh();
    Child other([&](auto ready) {
        BibleShelf mine = Fresh();
        ready();
        Import(mine, "Bible Darby", "DBY");
    });
    other.WaitReady();
    Import(shelf, "Bible Darby", "DBY");
    EXPECT_EQ(other.Finish(), 0);
    BibleShelf next = Fresh();
    EXPECT_EQ(next.Count(), 2u);
    EXPECT_FALSE(fs::exists(shelfDir + "dby-2"));
    int folders = 0;
    for (const auto& entry : fs::directory_iterator(shelfDir))
        folders += entry.is_directory() ? 1 : 0;
    EXPECT_EQ(folders, 1);
}

TEST_F(Shelf, BooksAreCountedFromTheBookTable) {
    EXPECT_EQ(CountBooks(program.appDir()), 66);
    EXPECT_EQ(CountBooks(user.appDir()), 0);
}

namespace {

const char kGreek[] = "Nouveau Testament grec (Byzantin, Robinson-Pierpont 2018)";
const char kHebrew[] = "Ancien Testament hébreu (Codex de Leningrad)";
const char kAttribution[] =
    "Original work of the Open Scriptures Hebrew Bible available at "
    "https://github.com/openscriptures/morphhb";

// The program folder with the two Bibles in the original languages it
// ships, each with its licence.
struct Shipped : Shelf {
    fs::path grc = program.path() / "originaux" / "grc";
    fs::path hbo = program.path() / "originaux" / "hbo";
    Shipped() {
        MakeBible(grc, kGreek, "RP2018", 7);
        fx::WriteDataFile(grc, kLicenceFile, "Texte grec : domaine public.\n");
        MakeBible(hbo, kHebrew, "WLC", 8);
        fx::WriteDataFile(hbo, kLicenceFile,
                          "Texte de Leningrad : domaine public.\r\nLemmes et morphologie : CC BY "
                          "4.0.\r\n" +
                              std::string(kAttribution) + "\r\n");
    }
    std::vector<std::string> Folders(const BibleShelf& shelf) {
        std::vector<std::string> folders;
        for (const KeptBible& b : shelf.Bibles())
            folders.push_back(b.folder);
        return folders;
    }
    // Every file of the program folder and its bytes.
    std::map<std::string, std::string> ProgramFiles() {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(program.path()))
            if (e.is_regular_file()) files[e.path().string()] = fx::ReadFile(e.path());
        return files;
    }
};
using V = std::vector<std::string>;

}  // namespace

TEST_F(Shipped, AreListedAfterTheProgramsBibleAndBeforeTheImportedWithTheirLicences) {
    BibleShelf shelf = Fresh();
    EXPECT_EQ(Folders(shelf), (V{"*", "*grc", "*hbo"}));
    EXPECT_EQ(shelf.At(1).name, kGreek);
    EXPECT_EQ(shelf.At(2).abbreviation, "WLC");
    EXPECT_EQ(shelf.DirOf(1), program.appDir() + "originaux/grc/");
    EXPECT_EQ(shelf.Find(program.appDir() + "originaux/hbo"), 2u);
    EXPECT_TRUE(shelf.Problems().empty());
    EXPECT_FALSE(fs::exists(shelfDir));  // nothing written for them
    Import(shelf, "Bible Darby", "DBY");
    EXPECT_EQ(Folders(Fresh()), (V{"*", "*grc", "*hbo", "dby"}));

    // The licences, as the About box lists them.
    EXPECT_EQ(ReadLicence(shelf.DirOf(1)), "Texte grec : domaine public.");
    const std::string credits = ShippedCredits(shelf);
    EXPECT_EQ(credits.find(std::string(kGreek) + " (RP2018)\nTexte grec"), 0u);
    EXPECT_NE(credits.find(std::string(kHebrew) + " (WLC)\nTexte de Leningrad"), std::string::npos);
    EXPECT_NE(credits.find("CC BY 4.0.\n" + std::string(kAttribution)), std::string::npos);
    EXPECT_EQ(credits.find('\r'), std::string::npos);
    // A licence that opens with the Bible's name: the name said once.
    fx::WriteDataFile(grc, kLicenceFile, std::string(kGreek) + "\nDomaine public.\n");
    EXPECT_EQ(ShippedCredits(shelf).find(std::string(kGreek) + " (RP2018)\nDomaine public."), 0u)
        << ShippedCredits(shelf);
    // A shipped Bible shown stays shown at the next start.
    shelf.Choose(2);
    EXPECT_EQ(Fresh().CurrentDir(), program.appDir() + "originaux/hbo/");
}

TEST_F(Shipped, HiddenSurvivesARestartIsNeverDeletedAndComesBack) {
    const auto before = ProgramFiles();
    BibleShelf shelf = Fresh();
    shelf.Choose(1);
    shelf.Remove(1);  // the Greek, shown
    EXPECT_EQ(Folders(shelf), (V{"*", "*hbo"}));
    EXPECT_EQ(shelf.Current(), 0u);
    shelf.Remove(0);  // the program's own too
    EXPECT_EQ(ProgramFiles(), before);

    BibleShelf next = Fresh();
    EXPECT_EQ(Folders(next), (V{"*hbo"}));
    EXPECT_TRUE(next.HasHidden());
    EXPECT_THROW(next.Remove(0), ShelfError);  // the last stays
    // The About box still owes the hidden one its credit.
    ASSERT_EQ(next.Shipped().size(), 2u);
    EXPECT_TRUE(next.Shipped()[0].hidden);
    EXPECT_NE(ShippedCredits(next).find(kGreek), std::string::npos);

    next.ShowHidden();
    EXPECT_EQ(Folders(next), (V{"*", "*grc", "*hbo"}));
    EXPECT_EQ(next.At(next.Current()).folder, "*hbo");  // still the one shown
    EXPECT_FALSE(next.HasHidden());
    EXPECT_EQ(Folders(Fresh()), (V{"*", "*grc", "*hbo"}));
    EXPECT_EQ(ProgramFiles(), before);
}

TEST_F(Shipped, ARenameIsKeptInTheListOnlyWhenTheProgramFolderIsReadOnly) {
    fx::WithoutRootOverride asReader;
    const auto before = ProgramFiles();
    std::vector<fs::path> folders;
    for (const auto& e : fs::recursive_directory_iterator(program.path()))
        if (e.is_directory()) folders.push_back(e.path());
    folders.push_back(program.path());
    for (const fs::path& f : folders)
        fs::permissions(f, fs::perms::owner_write, fs::perm_options::remove);

    BibleShelf shelf = Fresh();
    shelf.Rename(1, "Mon grec", "GR");
    EXPECT_THROW(shelf.Rename(2, "", "GR"), ShelfError);  // the Greek's now
    BibleShelf next = Fresh();
    EXPECT_EQ(next.At(1).name, "Mon grec");
    EXPECT_EQ(next.At(1).abbreviation, "GR");
    EXPECT_EQ(next.At(2).abbreviation, "WLC");
    EXPECT_EQ(ReadNameFile(next.DirOf(1), kNameFile, kMaxName), kGreek);
    // Under its own name for the credits.
    EXPECT_EQ(next.Shipped()[0].name, kGreek);

    for (const fs::path& f : folders)
        fs::permissions(f, fs::perms::owner_write, fs::perm_options::add);
    // Nor written when it could be.
    next.Rename(2, "Mon hébreu", "HB");
    EXPECT_EQ(Fresh().At(2).name, "Mon hébreu");
    EXPECT_EQ(ProgramFiles(), before);
}

TEST_F(Shipped, ADamagedOrPartialOneIsLeftOutAndNamed) {
    fs::remove(grc / "data" / "refer.dat");
    fs::create_directories(program.path() / "originaux" / "lxx");  // no data set at all
    fs::create_directories(program.path() / "originaux" / "Grec.old" / "data");
    fx::WriteDataFolder(program.path() / "originaux" / "Grec.old", fx::DataSet::Small(9));
    std::ofstream(program.path() / "originaux" / "LISEZMOI.txt") << "x";

    BibleShelf shelf = Fresh();
    EXPECT_EQ(Folders(shelf), (V{"*", "*hbo"}));
    ASSERT_EQ(shelf.Problems().size(), 2u);
    EXPECT_EQ(shelf.Problems()[0], "La Bible «\u00A0" + std::string(kGreek) +
                                       "\u00A0», livrée avec Lorvane, est incomplète ou "
                                       "endommagée\u00A0: elle est laissée de côté. Réinstaller "
                                       "Lorvane la rétablit.");
    EXPECT_NE(shelf.Problems()[1].find("«\u00A0originaux/lxx\u00A0»"), std::string::npos);
    EXPECT_EQ(shelf.Shipped().size(), 1u);
    // Mended, it is back; a damaged one the reader hid is not worth a word.
    fx::WriteDataFolder(grc, fx::DataSet::Small(7));
    shelf = Fresh();
    EXPECT_EQ(Folders(shelf), (V{"*", "*grc", "*hbo"}));
    shelf.Remove(1);
    fs::remove(grc / "data" / "refer.dat");
    fs::remove_all(program.path() / "originaux" / "lxx");
    EXPECT_TRUE(Fresh().Problems().empty());

    // A shipped Bible that does not load gives way for this run.
    BibleShelf run = Fresh();
    ASSERT_TRUE(run.LeaveOut(1));
    EXPECT_EQ(Folders(run), (V{"*"}));
}

TEST_F(Shipped, AnAbbreviationAnImportedBibleHasIsNumbered) {
    fs::rename(program.path() / "originaux", program.path() / "plus-tard");
    BibleShelf shelf = Fresh();
    Import(shelf, "Mon Leningrad", "WLC");
    // The originals arrive with a newer version: the reader's keeps its own.
    fs::rename(program.path() / "plus-tard", program.path() / "originaux");
    BibleShelf next = Fresh();
    EXPECT_EQ(Folders(next), (V{"*", "*grc", "*hbo", "wlc"}));
    EXPECT_EQ(next.At(2).abbreviation, "WLC2");
    EXPECT_EQ(next.At(3).abbreviation, "WLC");
    // And an import of theirs is numbered as for any Bible.
    Import(next, "Autre grec", "RP2018", 12);
    EXPECT_EQ(next.At(next.Current()).abbreviation, "RP20182");
}

TEST_F(Shipped, TheListStaysReadableByAnOlderProgram) {
    BibleShelf shelf = Fresh();
    Import(shelf, "Bible Darby", "DBY");
    shelf.Rename(2, "Hébreu", "");
    shelf.Remove(1);
    shelf.Remove(0);
    shelf.Choose(0);  // the Hebrew
    const std::string text = fx::ReadFile(shelfDir + kListFile);
    EXPECT_NE(text.find("\n#+\tcourante\t*hbo\n"), std::string::npos);
    EXPECT_NE(text.find("\ncachee\t*\n"), std::string::npos);  // as before
    EXPECT_NE(text.find("\n#+\tcachee\t*grc\n"), std::string::npos);
    EXPECT_NE(text.find("\n#+\tbible\t*hbo\tWLC\tHébreu\t\n"), std::string::npos);
    EXPECT_NE(text.find("\nbible\tdby\tDBY\tBible Darby\t2026-12-08\n"), std::string::npos);
    // Every line an older program reads names one of its folders: the others
    // are comments to it, so it finds no damage and keeps every Bible.
    std::istringstream lines(text);
    std::string older;
    for (std::string line; std::getline(lines, line);)
        if (line[0] != '#') {
            EXPECT_EQ(line.find("\t*g"), std::string::npos) << line;
            EXPECT_EQ(line.find("\t*h"), std::string::npos) << line;
            older += line + "\n";
        }
    EXPECT_EQ(ReadShelfList(text).unreadLines, 0);
    // That program writes the list again without them: they are shown
    // again under their own names, the reader's Bibles all there.
    std::ofstream(shelfDir + kListFile, std::ios::binary | std::ios::trunc) << older;
    BibleShelf next = Fresh();
    EXPECT_EQ(Folders(next), (V{"*grc", "*hbo", "dby"}));
    EXPECT_EQ(next.At(1).name, kHebrew);
    EXPECT_TRUE(next.Problems().empty());
    // A later version's line of its own is skipped without a word.
    std::ofstream(shelfDir + kListFile, std::ios::binary | std::ios::trunc)
        << text << "#+\tautre\t*grc\tx\n";
    EXPECT_TRUE(Fresh().Problems().empty());
    EXPECT_EQ(Fresh().At(0).name, "Hébreu");
}

TEST_F(Shipped, TheirListLinesRoundTripAndLeadNowhereElse) {
    ShelfList list = ReadShelfList(
        "#+\tbible\t*grc\tGR\tMon grec\t\n"
        "#+\tbible\t*../x\tX\tEvil\t\n"
        "bible\t*GRC\tX\tEvil\t\n"
        "#+\tcachee\t*hbo\n"
        "#+\tcachee\t*hbo\n"
        "#+\tcourante\t*hbo\n"
        "# bible\t*lxx\tLXX\tComment\t\n");
    ASSERT_EQ(list.bibles.size(), 1u);
    EXPECT_EQ(list.bibles[0].folder, "*grc");
    EXPECT_EQ(list.hidden, V{"*hbo"});
    EXPECT_EQ(list.current, "*hbo");
    EXPECT_EQ(list.unreadLines, 1);  // the upper-case one, outside "#+"
    const ShelfList back = ReadShelfList(WriteShelfList(list));
    EXPECT_EQ(back.bibles[0].name, "Mon grec");
    EXPECT_EQ(back.hidden, V{"*hbo"});
    EXPECT_EQ(back.current, "*hbo");
    EXPECT_FALSE(IsShippedFolder("*" + std::string(41, 'a')));
}

TEST_F(Shipped, TheirFolderComesFromTheProgramFolderGiven) {
    // The program's own Bible imported into the reader's folder by an
    // earlier version: the originals are still the program's.
    fx::TempDir legacy;
    MakeBible(legacy.path(), "Ma Segond", "LSG");
    BibleShelf shelf(shelfDir, legacy.appDir(), program.appDir());
    shelf.Load();
    EXPECT_EQ(Folders(shelf), (V{"*", "*grc", "*hbo"}));
    EXPECT_EQ(shelf.DirOf(0), legacy.appDir());
    EXPECT_EQ(shelf.DirOf(1), program.appDir() + "originaux/grc/");
}

TEST_F(Shipped, ALicenceIsReadAsTextWhateverItsBytes) {
    EXPECT_EQ(ReadLicence(program.appDir()), "");  // none
    fs::remove(grc / "data" / kLicenceFile);
    std::ofstream(grc / kLicenceFile, std::ios::binary)
        << "\xEF\xBB\xBF\n\nDomaine\x01 public\xFF.\rFin\x7F.\n\n";
    EXPECT_EQ(ReadLicence(grc.string()), "Domaine public\xEF\xBF\xBD.\nFin.");  // beside data/
    fs::resize_file(grc / kLicenceFile, kMaxLicenceBytes + 1);
    EXPECT_EQ(ReadLicence(grc.string()), "");
    fs::remove(grc / kLicenceFile);
    fs::create_directories(grc / "data" / kLicenceFile);
    EXPECT_EQ(ReadLicence(grc.string()), "");
}
