// The name files of a Bible's data/, as the shelf reads them back: whatever
// encoding a hand or an older import left them in, the reader sees the
// name in UTF-8, one line, cut at its length.

#include <gtest/gtest.h>

#include "BibleNames.h"
#include "Fixtures.h"

namespace lorvane {
namespace {

using namespace std::string_literals;
namespace fx = lorvane::testing;

TEST(BibleNames, ANameFileIsReadInTheEncodingItWasWrittenIn) {
    fx::TempDir dir;
    const auto read = [&](const std::string& bytes) {
        fx::WriteDataFile(dir.path(), kNameFile, bytes);
        return ReadNameFile(dir.path().string(), kNameFile, kNameLength);
    };
    EXPECT_EQ(read("Bible de J\xE9rusalem\n"), "Bible de Jérusalem");  // Windows-1252
    EXPECT_EQ(read("\xEF\xBB\xBF  Bible   de J\xC3\xA9rusalem \r\n"), "Bible de Jérusalem");
    // A UTF-8 name with a stray Windows-1252 byte keeps both letters.
    EXPECT_EQ(read("\xC3\xA9t\xE9\n"), "été");
    // Said UTF-8 by its mark: the stray byte is dropped.
    EXPECT_EQ(read("\xEF\xBB\xBF\xC3\xA9t\xE9\n"), "ét");
    EXPECT_EQ(read("\xFF\xFE"
                   "D\0a\0r\0b\0y\0"s),
              "Darby");
    EXPECT_EQ(read(""), "");
}

TEST(BibleNames, AMissingOrLongNameFile) {
    fx::TempDir dir;
    EXPECT_EQ(ReadNameFile(dir.appDir(), kAbbreviationFile, kAbbreviationLength), "");
    fx::WriteDataFile(dir.path(), kAbbreviationFile, std::string(4000, 'A') + "\nsecond\n");
    EXPECT_EQ(ReadNameFile(dir.path().string(), kAbbreviationFile, kAbbreviationLength),
              std::string(kAbbreviationLength, 'A'));
}

}  // namespace
}  // namespace lorvane
