#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <filesystem>
#include <fstream>

#include "Fixtures.h"
#include "QtPath.h"
#include "QtText.h"

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

// A line shortened for a list ends at a word, and never parts a letter from
// its points (Hebrew) nor a character from its other half.
TEST(ShortenAtWord, EndsAtAWordAndKeepsLettersWhole) {
    const QString french = QString::fromUtf8("Car Dieu a tant aimé le monde qu'il a donné");
    EXPECT_EQ(ShortenAtWord(french, 100), french);
    EXPECT_EQ(ShortenAtWord(french, 20), QString::fromUtf8("Car Dieu a tant aimé…"));
    for (const char* text : {"בְּרֵאשִׁיתבָּרָאאֱלֹהִים", "\U0001D504\U0001D505\U0001D506\U0001D507"}) {
        const QString whole = QString::fromUtf8(text);
        for (qsizetype size = 2; size < whole.size(); ++size) {
            const QString cut = ShortenAtWord(whole, size);
            if (cut == whole) continue;
            ASSERT_TRUE(cut.endsWith(QString::fromUtf8("…")));
            const qsizetype kept = cut.size() - 1;
            EXPECT_GT(kept, 0);
            EXPECT_FALSE(whole[kept].isMark()) << size;
            EXPECT_FALSE(whole[kept].isLowSurrogate()) << size;
        }
    }
}

}  // namespace
}  // namespace lorvane
