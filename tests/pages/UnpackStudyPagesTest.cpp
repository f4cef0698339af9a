#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ArchiveBytes.h"
#include "ArchiveWriter.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "StudyPages.h"
#include "backup.h"

namespace {

namespace fs = std::filesystem;
using namespace lorvane;
namespace lt = lorvane::testing;
using lorvane::testing::archive::RawArchive;

void Touch(const fs::path& p, const std::string& bytes = "ancien") {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

struct Prompts : BackupPrompts {
    std::vector<QString> errors;
    void Error(const QString& m) override { errors.push_back(m); }
    bool InsertDisk(const QString&) override { return false; }
};

TEST(UnpackStudyPages, ReplacesTheHtmFilesAndKeepsTheOthers) {
    lt::TempDir dir;
    lt::DataSet data = lt::DataSet::Small();
    lt::WriteDataFolder(dir.path(), data);
    const fs::path them = dir.path() / "them";
    Touch(them / "perime.htm");
    Touch(them / "MAJUSCULE.HTM");
    Touch(them / "glossaire.htm", "une ancienne version bien plus longue que la nouvelle");
    Touch(them / "notes.txt");
    Touch(them / "page.html");
    fs::create_directories(them / "dossier.htm");
    fs::permissions(them / "notes.txt", fs::perms::owner_read, fs::perm_options::replace);

    Communs c(dir.appDir());
    UnpackStudyPages(c, nullptr);
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(them))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dossier.htm", "glossaire.htm", "index.htm",
                                               "livres.htm", "notes.txt", "page.html"}));
    for (const auto& page : data.pages) {
        std::ifstream in(them / page.storedName, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), page.bytes);
    }
}

TEST(UnpackStudyPages, CreatesTheFolderWithItsParents) {
    lt::TempDir dir;
    const fs::path app = dir.path() / "un" / "deux";
    lt::WriteDataFolder(app, lt::DataSet::Small());
    Communs c(app.string());
    UnpackStudyPages(c, nullptr);
    EXPECT_TRUE(fs::exists(app / "them" / "livres.htm"));

    // A file in the folder's place.
    fs::remove_all(app / "them");
    Touch(app / "them");
    EXPECT_THROW(UnpackStudyPages(c, nullptr), LoadError);
}

TEST(UnpackStudyPages, EveryFailureRaises) {
    struct Case {
        const char* what;
        std::string archive;  // empty: no them.dat
        const char* reason;
        std::vector<QString> boxes;
    };
    std::string badAdler = lt::archive::Zlib("<p>page</p>");
    badAdler.back() = static_cast<char>(badAdler.back() ^ 1);
    const Case cases[] = {
        {"missing", "", "Fichiers thèmes introuvables", {}},
        {"short header", "abc", "Cannot read archive", {}},
        {"bad marker in a restored member",
         RawArchive().Header(1).Entry("a.htm").Raw("XXXX").End().End(),
         "Fichiers thèmes introuvables",
         {"Cannot read file"}},
        {"Adler-32",
         RawArchive()
             .Header(1)
             .Entry("a.htm")
             .Marker()
             .Int(static_cast<std::int32_t>(badAdler.size()))
             .Raw(badAdler)
             .End()
             .End(),
         "Fichiers thèmes introuvables",
         {"Compression error"}},
        {"bad marker in the file list",
         RawArchive().Header(1).Entry("FILE:LIST").Raw("XXXX").End().End(),
         "Invalid archive type",
         {}},
    };
    for (const Case& c : cases) {
        lt::TempDir dir;
        lt::WriteDataFolder(dir.path(), lt::DataSet::Small());
        if (c.archive.empty()) {
            fs::remove(dir.path() / "data" / "them.dat");
        } else {
            lt::WriteDataFile(dir.path(), "them.dat", c.archive);
        }
        Touch(dir.path() / "them" / "perime.htm");
        Communs communs(dir.appDir());
        Prompts prompts;
        try {
            LoadDataFolder(communs, &prompts);
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const LoadError& e) {
            EXPECT_EQ(e.file(), communs.Path("data/them.dat")) << c.what;
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
        EXPECT_EQ(prompts.errors, c.boxes) << c.what;
        EXPECT_FALSE(fs::exists(dir.path() / "them" / "perime.htm")) << c.what;
        EXPECT_EQ(communs.VerseLookup(1, 1, 1), 1);  // the tables came first
    }
}

}  // namespace

TEST(UnpackStudyPages, AnyFolderNameWorks) {
    // UTF-8 with spaces, and bytes that are not UTF-8 at all.
    for (const std::string name : {"T\xC3\xA9l\xC3\xA9"
                                   "chargements/Ma Bible",
                                   "ancien \xE9t\xE9 \xFF"}) {
        lt::TempDir dir;
        const fs::path app = dir.path() / name;
        lt::DataSet data = lt::DataSet::Small();
        lt::WriteDataFolder(app, data);
        Communs c(app.string());
        LoadDataFolder(c, nullptr);
        for (const auto& page : data.pages)
            EXPECT_EQ(lt::ReadFile(app / "them" / page.storedName), page.bytes) << name;
    }
}
