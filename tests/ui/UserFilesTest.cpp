#include "UserFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

using namespace lorvane;

namespace {

// Points the XDG folders at a throwaway home for the life of a test.
class ThrowawayHome : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        setenv("XDG_DATA_HOME", QFile::encodeName(home.path() + "/données").constData(), 1);
        setenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/réglages").constData(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_CONFIG_HOME");
    }
    QTemporaryDir home;
};

}  // namespace

TEST_F(ThrowawayHome, FoldersFollowTheXdgVariables) {
    EXPECT_EQ(UserDataFolder(), home.path() + "/données/lorvane");
    EXPECT_EQ(UserConfigFolder(), home.path() + "/réglages/lorvane");
}

TEST_F(ThrowawayHome, AFileWrittenIsReadBackAndItsFolderIsMade) {
    const QString path = UserConfigFolder() + "/choix.txt";
    EXPECT_FALSE(ReadUserFile(path).has_value());
    ASSERT_TRUE(WriteUserFile(path, "méthode=2\n"));
    EXPECT_EQ(ReadUserFile(path).value(), QByteArray("méthode=2\n"));
    ASSERT_TRUE(WriteUserFile(path, "méthode=1\n"));
    EXPECT_EQ(ReadUserFile(path).value(), QByteArray("méthode=1\n"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(UserConfigFolder()).entryList(QDir::Files), QStringList{"choix.txt"});
}

TEST_F(ThrowawayHome, AFileTooLargeOrAFolderReadsAsMissing) {
    const QString path = UserDataFolder() + "/signets.txt";
    ASSERT_TRUE(WriteUserFile(path, QByteArray(100, 'x')));
    EXPECT_FALSE(ReadUserFile(path, 99).has_value());
    EXPECT_TRUE(ReadUserFile(path, 100).has_value());
    ASSERT_TRUE(QDir().mkpath(UserDataFolder() + "/dossier"));
    EXPECT_FALSE(ReadUserFile(UserDataFolder() + "/dossier").has_value());
}

TEST_F(ThrowawayHome, AFolderThatCannotBeMadeFailsWithAFrenchMessage) {
    // A file stands where the folder should be.
    QFile blocker(home.path() + "/réglages");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_FALSE(WriteUserFile(UserConfigFolder() + "/choix.txt", "x", &error));
    EXPECT_TRUE(error.startsWith("Impossible de créer le dossier")) << error.toStdString();
}
