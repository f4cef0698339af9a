#include "FileIo.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "Fixtures.h"
#include "ZipFixtures.h"

using namespace lorvane;
namespace fs = std::filesystem;
namespace fx = lorvane::testing;

namespace {

std::size_t FilesIn(const fs::path& folder) {
    std::size_t n = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        n += entry.is_regular_file() ? 1 : 0;
    return n;
}

FileError::Kind KindOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const FileError& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no error";
    return FileError::Kind::Unreadable;
}

}  // namespace

TEST(FileIo, ReadsAreCappedAndEachFailureHasItsKind) {
    fx::TempDir dir;
    const std::string path = (dir.path() / "liste é.txt").string();
    std::ofstream(path, std::ios::binary) << std::string(100, 'x');
    EXPECT_EQ(ReadFile(path, 100).size(), 100u);
    EXPECT_EQ(KindOf([&] { ReadFile(path, 99); }), FileError::Kind::TooLarge);
    EXPECT_EQ(KindOf([&] { ReadFile(path + ".none", 99); }), FileError::Kind::Missing);
    EXPECT_EQ(KindOf([&] { ReadFile(dir.path().string(), 99); }), FileError::Kind::NotAFile);
    // A device that never ends is not a file either: no endless read.
    EXPECT_EQ(KindOf([&] { ReadFile("/dev/zero", 1 << 20); }), FileError::Kind::NotAFile);
    try {
        ReadFile(path + ".none", 99);
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Impossible de lire le fichier « " + path +
                                             ".none » : fichier ou dossier introuvable.");
        EXPECT_EQ(e.error(), ENOENT);
    }
}

TEST(FileIo, AnAtomicWriteReplacesWholeKeepsTheModeAndLeavesNothingBeside) {
    fx::TempDir dir;
    const std::string path = (dir.path() / "signets.txt").string();
    WriteFileAtomically(path, "un");
    ::chmod(path.c_str(), 0600);
    WriteFileAtomically(path, "deux");
    EXPECT_EQ(fx::ReadFile(path), "deux");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(FileIo, AWriteThatFailsLeavesTheOldFileAndSaysWhyInFrench) {
    fx::WithoutRootOverride asReader;
    fx::TempDir dir;
    const std::string path = (dir.path() / "bibles.txt").string();
    WriteFileAtomically(path, "ancien");
    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::remove);
    try {
        WriteFileAtomically(path, "nouveau");
        ADD_FAILURE() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::Unwritable);
        EXPECT_EQ(std::string(e.what()),
                  "Impossible d'écrire le fichier « " + path + " » : accès refusé.");
    }
    fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(fx::ReadFile(path), "ancien");
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(FileIo, AFullDiskIsSaidAsSuchAndTheOldFileStays) {
    fx::TempDir dir;
    const std::string path = (dir.path() / "session.txt").string();
    WriteFileAtomically(path, "ancien");
    // A file size limit makes the writes fail as a full disk does.
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{10, 10};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            WriteFileAtomically(path, std::string(100, 'x'));
        } catch (const FileError& e) {
            _exit(e.kind() == FileError::Kind::NoSpace &&
                          std::string(e.what()).rfind("L'espace disque est insuffisant", 0) == 0
                      ? 0
                      : 2);
        }
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(fx::ReadFile(path), "ancien");
    EXPECT_EQ(FilesIn(dir.path()), 1u);
    // Every reason is French: none is strerror's English.
    for (int error = 1; error < 134; ++error) {
        const std::string reason = FrenchReason(error);
        EXPECT_EQ(reason.find("No such"), std::string::npos) << error;
        EXPECT_EQ(reason.find("denied"), std::string::npos) << error;
    }
}

TEST(FileIo, ALockKeepsOtherProcessesOutUntilReleased) {
    fx::TempDir dir;
    const std::string path = (dir.path() / "bibles.lock").string();
    auto othersCanLock = [&] {
        const pid_t child = fork();
        if (child == 0) {
            const int fd = ::open(path.c_str(), O_RDWR);
            _exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    {
        FileLock lock(path);
        EXPECT_FALSE(othersCanLock());
    }
    EXPECT_TRUE(othersCanLock());
}
