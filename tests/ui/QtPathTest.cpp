#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <filesystem>
#include <fstream>

#include "Fixtures.h"
#include "QtPath.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;

TEST(QtPathTest, EveryFolderNameComesBackUnchanged) {
    const std::vector<std::string> names = {
        "/opt/lorvane/",
        "/home/marie/T\xC3\xA9l\xC3\xA9"
        "chargements/lorvane/",  // UTF-8
        "/home/marie/Mes documents/Bible de J\xC3\xA9rusalem/",
        "/tmp/ancien \xE9t\xE9/",  // Windows-1252 bytes: not UTF-8
        "/tmp/\xFF\xFE\x80/x",     // bytes no encoding accepts
        "/tmp/\xC3/coup\xC3\xA9",  // a cut sequence, then a valid one
        "/tmp/\xED\xA0\x80/",      // an encoded surrogate is not UTF-8
    };
    for (const std::string& name : names) {
        const QString q = PathToQt(name);
        EXPECT_EQ(PathFromQt(q), name) << name;
        EXPECT_EQ(PathFromQt(FileUrl(name).mid(7)), name);
    }
    // Valid UTF-8 is what Qt itself makes of it.
    EXPECT_EQ(PathToQt("/home/marie/T\xC3\xA9l\xC3\xA9"), QString::fromUtf8("/home/marie/Télé"));
    for (int b = 1; b < 256; ++b) {
        const std::string one = "/x" + std::string(1, static_cast<char>(b)) + "y";
        EXPECT_EQ(PathFromQt(PathToQt(one)), one) << b;
    }
}

TEST(QtPathTest, OnlyRegularFilesOfASensibleSizeAreRead) {
    testing::TempDir dir;
    const fs::path page = dir.path() / "page.htm";
    std::ofstream(page) << "<HTML>";
    EXPECT_EQ(ReadRegularFile(page.string()), "<HTML>");
    EXPECT_EQ(ReadRegularFile(page.string(), 3), std::nullopt);  // larger than allowed

    const fs::path fifo = dir.path() / "tube";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadRegularFile(fifo.string()), std::nullopt);  // no wait for a writer
    EXPECT_FALSE(IsRegularFile(fifo.string()));
    EXPECT_EQ(ReadRegularFile(dir.path().string()), std::nullopt);
    EXPECT_EQ(ReadRegularFile("/dev/zero"), std::nullopt);
    EXPECT_EQ(ReadRegularFile((dir.path() / "absent").string()), std::nullopt);

    QFile f;
    EXPECT_FALSE(OpenQFile(f, fifo.string(), QIODevice::ReadOnly));
    EXPECT_FALSE(OpenQFile(f, "/dev/zero", QIODevice::ReadOnly));
}

TEST(QtPathTest, FilesInFoldersQtCannotSpellOpen) {
    testing::TempDir dir;
    const std::string folder = dir.path().string() + "/\xE9t\xE9 \xFF";
    fs::create_directories(folder);
    const std::string path = folder + "/notes.txt";
    {
        QFile out;
        ASSERT_TRUE(OpenQFile(out, path, QIODevice::WriteOnly | QIODevice::Truncate));
        out.write("bonjour");
    }
    EXPECT_EQ(ReadRegularFile(path), "bonjour");
    QFile in;
    ASSERT_TRUE(OpenQFile(in, PathFromQt(PathToQt(path)), QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), QByteArray("bonjour"));
}

}  // namespace
}  // namespace lorvane
