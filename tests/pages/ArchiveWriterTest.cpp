#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ArchiveBytes.h"
#include "ArchiveWriter.h"
#include "Fixtures.h"

namespace {

using lorvane::testing::Noise;
using lorvane::testing::ReadFile;
using lorvane::testing::Text;

using namespace lorvane::archive;
namespace raw = lorvane::testing::archive;

TEST(ArchiveWriter, HeaderEntriesAndFileList) {
    std::vector<Member> members{{"livres.htm", 0x58A36D2F, Text(100)},
                                {"index.htm", 0x12345678, Text(10)},
                                {"vide.htm", 0x00210000, ""}};
    WriterOptions o;
    o.title = "Titre";
    o.headerValue2 = -7;
    raw::ParsedArchive a = raw::Parse(EncodeArchive(members, o));
    EXPECT_EQ(a.title, "Titre");
    EXPECT_EQ(a.totalBytes, 110);  // the members' bytes, not the list
    EXPECT_EQ(a.value2, -7);
    ASSERT_EQ(a.members.size(), 4u);
    for (std::size_t i = 0; i < members.size(); ++i) {
        EXPECT_EQ(a.members[i].name, members[i].storedName);
        EXPECT_EQ(a.members[i].date, members[i].fileDate);
        EXPECT_EQ(a.members[i].bytes(), members[i].bytes);
    }
    EXPECT_TRUE(a.members[2].blocks.empty());  // marker and 0 only
    EXPECT_EQ(a.members[3].name, "FILE:LIST");
    EXPECT_EQ(a.members[3].bytes(), "livres.htm\r\nindex.htm\r\nvide.htm\r\n");

    o.fileList = false;
    EXPECT_EQ(raw::Parse(EncodeArchive(members, o)).members.size(), 3u);
    EXPECT_EQ(raw::Parse(EncodeArchive({}, o)).members.size(), 0u);
}

TEST(ArchiveWriter, BlocksAreCutAt16384AndStoredWhenCompressionDoesNotShrink) {
    struct Case {
        std::string bytes;
        int level;
        std::vector<std::int32_t> expectSigns;  // +1 compressed, -1 stored
        std::vector<std::size_t> expectSizes;   // bytes of each block once read
    };
    const std::vector<Case> cases{
        {Text(16384), 9, {1}, {16384}},
        {Text(16385), 9, {1, -1}, {16384, 1}},  // one byte does not compress
        {Text(40000), 9, {1, 1, 1}, {16384, 16384, 7232}},
        {Noise(16385), 9, {-1, -1}, {16384, 1}},
        {Text(16384), 0, {-1}, {16384}},
    };
    for (const Case& c : cases) {
        WriterOptions o;
        o.zlibLevel = c.level;
        o.fileList = false;
        raw::ParsedArchive a = raw::Parse(EncodeArchive({{"p.htm", 0, c.bytes}}, o));
        ASSERT_EQ(a.members.size(), 1u);
        const auto& blocks = a.members[0].blocks;
        ASSERT_EQ(blocks.size(), c.expectSigns.size()) << c.bytes.size();
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(blocks[i].length > 0 ? 1 : -1, c.expectSigns[i]) << i;
            EXPECT_EQ(blocks[i].data.size(), c.expectSizes[i]) << i;
            EXPECT_LE(std::abs(blocks[i].length), 16384);
        }
        EXPECT_EQ(a.members[0].bytes(), c.bytes);
    }

    WriterOptions small;
    small.blockSize = 1000;
    raw::ParsedArchive a = raw::Parse(EncodeArchive({{"p.htm", 0, Text(2500)}}, small));
    EXPECT_EQ(a.members[0].blocks.size(), 3u);
    EXPECT_EQ(a.members[0].bytes(), Text(2500));
}

TEST(ArchiveWriter, RefusesWhatTheFormatCannotHold) {
    WriterOptions o;
    o.blockSize = 16385;
    EXPECT_THROW(EncodeArchive({}, o), std::invalid_argument);
    o.blockSize = 0;
    EXPECT_THROW(EncodeArchive({}, o), std::invalid_argument);
    EXPECT_THROW(EncodeArchive({{"", 0, "x"}}), std::invalid_argument);
}

TEST(ArchiveWriter, VolumesContinueTheMemberAfterNextDisk) {
    lorvane::testing::TempDir dir;
    std::vector<Member> members{
        {"a.htm", 1, Noise(30000, 1)}, {"b.htm", 2, Noise(20000, 2)}, {"c.htm", 3, Text(500)}};
    WriterOptions o;
    o.volumeSize = 20000;
    const std::string path = (dir.path() / "them.dat").string();
    WriteArchive(path, members, o);

    std::vector<std::string> volumes{ReadFile(path)};
    for (int n = 2; std::filesystem::exists(VolumeName(path, n)); ++n)
        volumes.push_back(ReadFile(VolumeName(path, n)));
    ASSERT_GE(volumes.size(), 3u);
    EXPECT_EQ(VolumeName(path, 2), (dir.path() / "them.002").string());
    for (std::size_t i = 1; i < volumes.size(); ++i) {
        EXPECT_EQ(volumes[i].substr(0, 4), std::string("EC2\0", 4));  // no header
        EXPECT_LE(volumes[i - 1].size(), 20000u + 16384u);
    }
    raw::ParsedArchive a = raw::Parse(volumes);
    ASSERT_EQ(a.volumeSwitches.size(), volumes.size() - 1);
    EXPECT_EQ(a.volumeSwitches[0], "NEXT:DISK002");
    ASSERT_EQ(a.members.size(), 4u);
    for (std::size_t i = 0; i < members.size(); ++i)
        EXPECT_EQ(a.members[i].bytes(), members[i].bytes);
    EXPECT_EQ(a.totalBytes, 50500);

    EXPECT_EQ(VolumeName("x/them", 3), "x/them.003");
    EXPECT_EQ(VolumeName("x.d/them", 12), "x.d/them.012");
}

TEST(ArchiveWriter, DosDateTimeInLocalTime) {
    std::tm tm{};
    tm.tm_year = 2024 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = 15;
    tm.tm_hour = 13;
    tm.tm_min = 45;
    tm.tm_sec = 31;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    const std::uint32_t dos = ToDosDateTime(t);
    EXPECT_EQ(dos >> 16, (44u << 9) | (3u << 5) | 15u);
    EXPECT_EQ(dos & 0xFFFF, (13u << 11) | (45u << 5) | 15u);  // two-second steps
    EXPECT_EQ(FromDosDateTime(dos), t - 1);
    EXPECT_EQ(ToDosDateTime(0), (1u << 21) | (1u << 16));  // before 1980: the first day
}

}  // namespace
