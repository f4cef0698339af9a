// A program folder that cannot be written: the pages and the imported
// Bibles go to the reader's own folder, and the program folder is never
// touched.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>

#include "FctLoad.h"
#include "Fixtures.h"
#include "Import.h"
#include "ProgramFolders.h"
#include "StudyPages.h"
#include "ZipFixtures.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;
using testing::DataSet;
using testing::TempDir;
using testing::WithoutRootOverride;

using lorvane::testing::Snapshot;

// A program folder with its shipped Bible, and a reader's data folder.
struct Machine {
    Machine() { testing::WriteDataFolder(program.path(), DataSet::Small()); }
    void ProtectProgram() {
        fs::permissions(program.path(), fs::perms::owner_write, fs::perm_options::remove);
        before = Snapshot(program.path());
    }
    ~Machine() { fs::permissions(program.path(), fs::perms::owner_all, fs::perm_options::add); }
    std::string Reader() const { return (user.path() / "lorvane").string(); }
    TempDir program, user;
    std::map<std::string, std::string> before;
};

TEST(ReaderFolders, AWritableProgramFolderKeepsEverything) {
    Machine m;
    const ProgramFolders f = ChooseProgramFolders(m.program.path().string(), m.Reader());
    EXPECT_EQ(f.program, m.program.appDir());
    EXPECT_EQ(f.pages, m.program.appDir());
    EXPECT_EQ(f.bible, m.program.appDir());
}

TEST(ReaderFolders, AProtectedProgramFolderSendsThePagesToTheReader) {
    Machine m;
    m.ProtectProgram();
    WithoutRootOverride asReader;
    const std::string reader = m.Reader() + "/bible/";
    ProgramFolders f = ChooseProgramFolders(m.program.appDir(), m.Reader());
    EXPECT_EQ(f.pages, reader);
    EXPECT_EQ(f.bible, m.program.appDir());

    // A per-user installation's own data/ in the same folder is not a
    // Bible of the reader's.
    testing::WriteDataFolder(m.Reader(), DataSet::Small(2));
    EXPECT_EQ(ChooseProgramFolders(m.program.appDir(), m.Reader()).bible, m.program.appDir());
    // An imported Bible is read once whole.
    testing::WriteDataFolder(reader, DataSet::Small(2));
    EXPECT_EQ(ChooseProgramFolders(m.program.appDir(), m.Reader()).bible, reader);
    fs::remove(fs::path(reader) / "data" / "refer.dat");
    EXPECT_EQ(ChooseProgramFolders(m.program.appDir(), m.Reader()).bible, m.program.appDir());

    // Study pages of another user's make the folder unusable too.
    Machine other;
    fs::create_directory(other.program.path() / "them");
    fs::permissions(other.program.path() / "them", fs::perms::owner_write,
                    fs::perm_options::remove);
    EXPECT_EQ(ChooseProgramFolders(other.program.appDir(), other.Reader()).pages,
              other.Reader() + "/bible/");
    fs::permissions(other.program.path() / "them", fs::perms::owner_all, fs::perm_options::add);
}

TEST(ReaderFolders, TheReadersFolderIsMadeOrNamedInFrench) {
    TempDir home;
    const std::string pages = (home.path() / "données" / "lorvane" / "bible").string();
    EXPECT_EQ(UnwritableFolderReason(pages), "");
    EXPECT_TRUE(fs::is_directory(pages));

    fs::permissions(home.path(), fs::perms::owner_write, fs::perm_options::remove);
    WithoutRootOverride asReader;
    const std::string elsewhere = (home.path() / "autre" / "bible").string();
    EXPECT_EQ(UnwritableFolderReason(elsewhere),
              "Lorvane ne peut pas écrire dans le dossier « " + elsewhere +
                  " » : accès refusé. Il y range les pages qu'il affiche et les Bibles que vous "
                  "importez.");
    fs::permissions(pages, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_NE(UnwritableFolderReason(pages + "/").find("« " + pages + " » : accès refusé"),
              std::string::npos);
    fs::permissions(pages, fs::perms::owner_all, fs::perm_options::add);
    fs::permissions(home.path(), fs::perms::owner_all, fs::perm_options::add);
}

TEST(ReaderFolders, AnImportLandsInTheReadersFolderOnly) {
    Machine m;
    const fs::path zip = m.user.path() / "nt.zip";
    testing::WriteZip(zip, {{"MAT.usfm", testing::TinyBook("MAT", 2)},
                            {"JHN.usfm", testing::TinyBook("JHN", 3)}});
    m.ProtectProgram();
    WithoutRootOverride asReader;
    const ProgramFolders f = ChooseProgramFolders(m.program.appDir(), m.Reader());
    ASSERT_EQ(UnwritableFolderReason(f.pages), "");

    importer::ImportResult r = importer::ImportBible(f.pages, f.bible, zip);
    EXPECT_EQ(r.books, 2);
    EXPECT_EQ(r.tables.AppDir, f.pages);
    EXPECT_EQ(r.tables.BibleDir, f.pages);
    EXPECT_TRUE(fs::exists(fs::path(f.pages) / "them" / "livres.htm"));
    EXPECT_EQ(testing::ReadFile(fs::path(f.pages) / "data" / "them.dat"),
              m.before.at("data/them.dat"));
    EXPECT_EQ(Snapshot(m.program.path()), m.before);

    // The next start reads it; a second import replaces it, from it.
    const ProgramFolders next = ChooseProgramFolders(m.program.appDir(), m.Reader());
    EXPECT_EQ(next.bible, f.pages);
    Communs again(next.pages, next.bible);
    LoadDataFolder(again, nullptr);
    EXPECT_EQ(again.Book(43).ChapterCount, 3);
    testing::WriteZip(zip, {{"MRK.usfm", testing::TinyBook("MRK", 1)}});
    EXPECT_EQ(importer::ImportBible(next.pages, next.bible, zip).books, 1);
    EXPECT_EQ(Snapshot(m.program.path()), m.before);
}

}  // namespace
}  // namespace lorvane
