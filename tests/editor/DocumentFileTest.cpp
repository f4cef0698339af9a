#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "DocumentFile.h"
#include "Fixtures.h"
#include "TestAccess.h"

using namespace lorvane::rtf;
using lorvane::testing::ReadFile;
using lorvane::testing::TempDir;
namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t FileCount(const fs::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
        ++n;
    return n;
}

}  // namespace

TEST(DocumentFile, SaveReplacesTheFileAndLeavesNothingElse) {
    TempDir dir;
    const fs::path file = dir.path() / "note.rtf";
    SaveDocumentFile(file.string(), "premier");
    EXPECT_EQ(ReadFile(file), "premier");
    ::chmod(file.c_str(), 0640);
    SaveDocumentFile(file.string(), "second, plus long");
    EXPECT_EQ(ReadFile(file), "second, plus long");
    EXPECT_EQ(FileCount(dir.path()), 1u);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(ReadDocumentFile(file.string()), "second, plus long");
}

TEST(DocumentFile, SaveThroughALinkReplacesItsTarget) {
    TempDir dir;
    const fs::path real = dir.path() / "vrai.rtf";
    const fs::path link = dir.path() / "lien.rtf";
    Write(real, "ancien");
    fs::create_symlink(real, link);
    SaveDocumentFile(link.string(), "nouveau");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(real), "nouveau");
}

TEST(DocumentFile, AFailedSaveKeepsTheOldFile) {
    TempDir dir;
    const fs::path folder = dir.path() / "lecture-seule";
    fs::create_directory(folder);
    const fs::path file = folder / "note.rtf";
    Write(file, "à garder");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    {
        lorvane::testing::Unprivileged user;  // root would write anyway
        try {
            SaveDocumentFile(file.string(), "perdu");
            FAIL() << "saved into a read-only folder";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("Impossible d'enregistrer le fichier « " +
                                                 file.string() + " » : accès refusé."),
                      std::string::npos)
                << e.what();
        }
    }
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(ReadFile(file), "à garder");
    EXPECT_EQ(FileCount(folder), 1u);

    // A folder that does not exist, a folder in place of the file.
    EXPECT_THROW(SaveDocumentFile((dir.path() / "absent" / "x.rtf").string(), "x"), FileError);
    EXPECT_THROW(SaveDocumentFile(folder.string(), "x"), FileError);
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST(DocumentFile, AWriteThatFailsHalfwayKeepsTheOldFile) {
    TempDir dir;
    const fs::path file = dir.path() / "note.rtf";
    Write(file, "ancien contenu");
    {
        // Files may not grow past 1000 bytes: the write fails as on a full disk.
        lorvane::testing::FileSizeLimit limit(1000);
        try {
            SaveDocumentFile(file.string(), std::string(100000, 'x'));
            FAIL() << "the write past the limit succeeded";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("le fichier est trop grand"), std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(ReadFile(file), "ancien contenu");
    EXPECT_EQ(FileCount(dir.path()), 1u);
}

TEST(DocumentFile, ReadRefusesWhatIsNotAReadableFile) {
    TempDir dir;
    const fs::path file = dir.path() / "gros.rtf";
    Write(file, std::string(100, 'x'));
    EXPECT_THROW(ReadDocumentFile(file.string(), 99), FileError);
    EXPECT_EQ(ReadDocumentFile(file.string(), 100).size(), 100u);
    EXPECT_THROW(ReadDocumentFile(dir.path().string()), FileError);
    EXPECT_THROW(ReadDocumentFile((dir.path() / "absent.rtf").string()), FileError);
    const fs::path fifo = dir.path() / "tube";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(ReadDocumentFile(fifo.string()), FileError);  // and does not wait
    try {
        ReadDocumentFile((dir.path() / "absent.rtf").string());
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("Impossible d'ouvrir le fichier"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("introuvable"), std::string::npos);
    }
}
