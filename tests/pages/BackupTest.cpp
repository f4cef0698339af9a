#include <gtest/gtest.h>

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaProperty>
#include <climits>
#include <filesystem>
#include <fstream>
#include <random>

#include "ArchiveBytes.h"
#include "ArchiveWriter.h"
#include "Fixtures.h"
#include "backup.h"

namespace {

using lorvane::testing::Noise;
using lorvane::testing::ReadFile;
using lorvane::testing::Text;

namespace fs = std::filesystem;
using lorvane::BackupError;
using lorvane::TBackupFile;
using lorvane::archive::Member;
using lorvane::testing::TempDir;
using lorvane::testing::archive::RawArchive;

void WriteBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The local moment of an MS-DOS date and time.
QDateTime Dos(std::uint32_t dos) {
    return QDateTime::fromSecsSinceEpoch(lorvane::archive::FromDosDateTime(dos));
}
std::uint32_t DosOf(int year, int month, int day, int hour = 12) {
    return static_cast<std::uint32_t>(year - 1980) << 25 | static_cast<std::uint32_t>(month) << 21 |
           static_cast<std::uint32_t>(day) << 16 | static_cast<std::uint32_t>(hour) << 11;
}
QDateTime Modified(const fs::path& p) {
    return QFileInfo(QString::fromStdString(p.string())).lastModified();
}

// Files under a folder, as paths relative to it.
std::vector<std::string> Listing(const fs::path& dir) {
    std::vector<std::string> out;
    if (!fs::exists(dir)) return out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        out.push_back(fs::relative(e.path(), dir).string());
    std::sort(out.begin(), out.end());
    return out;
}

struct Recorder {
    std::vector<std::pair<QString, int>> progress;
    std::vector<std::pair<int, QString>> errors;
    void Attach(TBackupFile& b) {
        b.OnProgress = [this](TBackupFile*, const QString& f, int p, bool&) {
            progress.emplace_back(f, p);
        };
        b.OnError = [this](TBackupFile*, int code, const QString& m) {
            errors.emplace_back(code, m);
        };
    }
};

class BackupTest : public ::testing::Test {
  protected:
    fs::path archive() const { return dir.path() / "them.dat"; }
    fs::path out() const { return dir.path() / "out"; }
    QString Q(const fs::path& p) const { return QString::fromStdString(p.string()); }
    bool Restore(TBackupFile& b, const std::string& bytes) {
        WriteBytes(archive(), bytes);
        return b.Restore(Q(archive()), Q(out()));
    }
    TempDir dir;
};

TEST_F(BackupTest, RestoresBlocksAcrossThe16384BoundaryWithDates) {
    const std::vector<Member> members{{"compresse.htm", DosOf(2021, 5, 4), Text(40000)},
                                      {"stocke.htm", DosOf(2020, 1, 2), Noise(16385)},
                                      {"vide.htm", DosOf(2019, 7, 8), ""},
                                      {"exact.htm", DosOf(2018, 3, 4), Text(16384)}};
    TBackupFile b;
    Recorder r;
    r.Attach(b);
    WriteBytes(archive(), lorvane::archive::EncodeArchive(members));
    ASSERT_TRUE(b.Restore(Q(archive()), Q(out())));  // no trailing '/': added
    EXPECT_EQ(Listing(out()),
              (std::vector<std::string>{"compresse.htm", "exact.htm", "stocke.htm", "vide.htm"}));
    for (const Member& m : members) {
        EXPECT_EQ(ReadFile(out() / m.storedName), m.bytes) << m.storedName;
        EXPECT_EQ(Modified(out() / m.storedName), Dos(m.fileDate)) << m.storedName;
    }
    EXPECT_EQ(b.ErrorCode(), 0);
    EXPECT_EQ(b.TotalBytes(), 40000 + 16385 + 16384);
    EXPECT_EQ(b.ProcessedBytes(), b.TotalBytes());
    EXPECT_TRUE(r.errors.empty());
    // compresse: 3 blocks + closing, stocke: 2 + closing, vide: closing,
    // exact: 1 + closing; then the end.
    ASSERT_EQ(r.progress.size(), 4u + 3u + 1u + 2u + 1u);
    EXPECT_EQ(r.progress[0].first, Q(out() / "compresse.htm"));
    EXPECT_EQ(r.progress[0].second, 23);  // 16384 / 72769 = 22.5 %
    EXPECT_EQ(r.progress.back(), std::make_pair(QString(), 100));
}

TEST_F(BackupTest, RawEntriesNegativeNamesEmptyArchiveAndFileList) {
    TBackupFile b;
    EXPECT_TRUE(Restore(b, RawArchive().Header(0).End()));
    EXPECT_TRUE(Listing(out()).empty());

    RawArchive a;
    a.Header(5).Int(-1);
    a.Entry("cinq.htm").Marker().Stored("abcde").End();
    a.Int(-1).Int(INT_MIN);
    a.Entry("FILE:LIST").Marker().Stored("cinq.htm\r\n").End();
    a.Entry("x\\FILE:LIST").Marker().End();  // only the exact name is the list
    a.End();
    EXPECT_TRUE(Restore(b, a));
    EXPECT_EQ(Listing(out()), (std::vector<std::string>{"LIST", "cinq.htm"}));
    EXPECT_EQ(ReadFile(out() / "cinq.htm"), "abcde");

    // Bytes after the final 0 are never read.
    EXPECT_TRUE(Restore(b, RawArchive().Header(0).End().Raw("garbage")));
}

TEST_F(BackupTest, TargetPathsFromStoredNames) {
    struct Case {
        const char* stored;
        bool fullPath;
        const char* expected;  // relative to out(), or "" when skipped
    };
    const Case cases[] = {
        {"C:\\Lorvane\\them\\glossaire.htm", false, "glossaire.htm"},
        {"a/b/index.htm", false, "index.htm"},
        {"D:livres.htm", false, "livres.htm"},
        {"C:\\a\\b\\page.htm", true, "a/b/page.htm"},
        {"C:/a/./page.htm", true, "a/page.htm"},
        {"C:\\..\\evil.htm", true, ""},
        {"C:\\a\\..\\..\\evil.htm", true, ""},
        {"C:\\a\\", true, ""},
        {"..", false, ""},
        {".", false, ""},
        {"C:\\dossier\\", false, ""},
        {"dossier\\..", false, ""},
    };
    for (const Case& c : cases) {
        fs::remove_all(out());
        TBackupFile b;
        b.SetRestoreFullPath(c.fullPath);
        RawArchive a;
        a.Header(2).Member(c.stored, "xy").Member("C:\\apres.htm", "z").End();
        ASSERT_TRUE(Restore(b, a)) << c.stored;  // a refused name does not stop the restore
        std::vector<std::string> expected{"apres.htm"};
        if (*c.expected) {
            expected.push_back(c.expected);
            for (fs::path p = fs::path(c.expected).parent_path(); !p.empty(); p = p.parent_path())
                expected.push_back(p.string());
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Listing(out()), expected) << c.stored;
        EXPECT_EQ(Listing(dir.path()).size(), 1 + 1 + expected.size()) << c.stored;
    }

    // A NUL byte in a name.
    TBackupFile b;
    RawArchive nul;
    nul.Header(1).Member(std::string("a\0b.htm", 7), "x").End();
    fs::remove_all(out());
    EXPECT_TRUE(Restore(b, nul));
    EXPECT_TRUE(Listing(out()).empty());
}

TEST_F(BackupTest, EmptyDestinationStaysInTheWorkingFolder) {
    const QString previous = QDir::currentPath();
    fs::create_directories(out() / "work");
    ASSERT_TRUE(QDir::setCurrent(Q(out() / "work")));
    TBackupFile b;
    RawArchive a;
    a.Header(3)
        .Member("sous\\ici.htm", "a")
        .Member("../evil.htm", "b")
        .Member("/tmp/lorvane-evil.htm", "c")
        .End();
    WriteBytes(archive(), a);
    const bool ok = b.Restore(Q(archive()), QString());
    QDir::setCurrent(previous);
    EXPECT_TRUE(ok);
    EXPECT_EQ(Listing(out()), (std::vector<std::string>{"work", "work/sous", "work/sous/ici.htm"}));
    EXPECT_FALSE(fs::exists("/tmp/lorvane-evil.htm"));
}

TEST_F(BackupTest, WrongMarkerOrShortArchiveInARestoredMemberIsErrorOne) {
    const std::string good = RawArchive().Entry("avant.htm").Marker().Stored("ok").End();
    const auto p = [] { return RawArchive().Entry("p.htm", DosOf(2020, 2, 3)); };
    struct Case {
        const char* what;
        std::string damaged;
        bool endsThere;  // else one more member follows
    };
    const std::vector<Case> damages{
        {"marker", p().Raw("EC3\0").Stored("x").End(), false},
        {"short block", p().Marker().Int(-10).Raw("abc"), true},
        {"no closing length", p().Marker().Stored("abc"), true},
        {"no block", p().Marker(), true},
        {"block too long", p().Marker().Int(16385).Raw(std::string(16385, 'a')).End(), false},
        {"stored block too long", p().Marker().Int(INT_MIN).End(), false},
    };
    for (const auto& [what, damaged, endsThere] : damages) {
        fs::remove_all(out());
        TBackupFile b;
        Recorder r;
        r.Attach(b);
        const std::string bytes =
            RawArchive().Header(10).Raw(good).Raw(damaged).str() +
            (endsThere ? std::string() : RawArchive().Member("apres.htm", "z").End().str());
        EXPECT_FALSE(Restore(b, bytes)) << what;
        EXPECT_EQ(b.ErrorCode(), 1) << what;
        EXPECT_FALSE(b.ContinueFlag()) << what;
        ASSERT_EQ(r.errors.size(), 1u) << what;
        EXPECT_EQ(r.errors[0], std::make_pair(1, QString("Cannot read file")));
        EXPECT_EQ(ReadFile(out() / "avant.htm"), "ok");
        EXPECT_FALSE(fs::exists(out() / "apres.htm")) << what;
        ASSERT_TRUE(fs::exists(out() / "p.htm")) << what;  // closed and dated
        EXPECT_EQ(Modified(out() / "p.htm"), Dos(DosOf(2020, 2, 3))) << what;
        EXPECT_EQ(r.progress.back(), std::make_pair(QString(), 100));
    }
}

TEST_F(BackupTest, DamageOutsideARestoredMemberRaises) {
    struct Case {
        const char* what;
        std::string bytes;
        int code;
    };
    const Case cases[] = {
        {"short header", RawArchive().Int(10).Raw("abc"), 3},
        {"negative title", RawArchive().Int(-4).Int(0).Int(0).End(), 3},
        {"no header", "", 3},
        {"marker of a skipped member",
         RawArchive().Header(0).Entry("FILE:LIST").Raw("XXXX").End().End(), 5},
        {"short skipped block",
         RawArchive().Header(0).Entry("FILE:LIST").Marker().Int(-50).Raw("a"), 0},
        {"long skipped block",
         RawArchive()
             .Header(0)
             .Entry("FILE:LIST")
             .Marker()
             .Int(-20000)
             .Raw(std::string(20000, 'a'))
             .End()
             .End(),
         0},
        {"short entry", RawArchive().Header(0).Int(8).Raw("abc"), 0},
        {"no date", RawArchive().Header(0).Int(5).Raw("a.htm"), 0},
        {"no final 0", RawArchive().Header(0).Member("a.htm", "x"), 0},
        {"huge name", RawArchive().Header(0).Int(INT_MAX).Raw("abc"), 0},
    };
    for (const Case& c : cases) {
        TBackupFile b;
        Recorder r;
        r.Attach(b);
        try {
            Restore(b, c.bytes);
            ADD_FAILURE() << c.what << ": no exception";
        } catch (const BackupError& e) {
            EXPECT_EQ(e.code(), c.code) << c.what;
            if (c.code) {
                EXPECT_EQ(QString(e.what()), TBackupFile::ErrorMessage(c.code));
            }
        }
        EXPECT_TRUE(r.errors.empty()) << c.what;
    }

    TBackupFile b;
    Recorder r;
    r.Attach(b);
    EXPECT_FALSE(b.Restore(Q(dir.path() / "absent.dat"), Q(out())));
    EXPECT_FALSE(b.Restore(Q(dir.path()), Q(out())));  // a folder is no archive
    EXPECT_TRUE(r.progress.empty());
    EXPECT_TRUE(r.errors.empty());
}

TEST_F(BackupTest, ABlockThatDoesNotInflateKeepsItsBytesAndReportsSix) {
    const std::string page = Text(5000);
    std::string badAdler = lorvane::testing::archive::Zlib(page);
    badAdler.back() = static_cast<char>(badAdler.back() ^ 1);
    std::string badData = lorvane::testing::archive::Zlib(page);
    badData[badData.size() / 2] = static_cast<char>(badData[badData.size() / 2] ^ 0x55);
    const std::string tooBig = lorvane::testing::archive::Zlib(Text(20000));
    const std::string cut = lorvane::testing::archive::Zlib(page).substr(0, 30);

    struct Case {
        const char* what;
        std::string block;
        std::size_t expectBytes;  // written before the error; npos: some
    };
    const Case cases[] = {
        {"Adler-32", badAdler, 5000},
        {"past 16384", tooBig, 16384},
        {"cut short", cut, std::string::npos},
        {"damaged data", badData, std::string::npos},
        {"no zlib header", "not a zlib stream", 0},
    };
    for (const Case& c : cases) {
        fs::remove_all(out());
        TBackupFile b;
        Recorder r;
        r.Attach(b);
        RawArchive a;
        a.Header(10).Entry("p.htm").Marker().Int(static_cast<std::int32_t>(c.block.size()));
        a.Raw(c.block).Stored("suite").End().Member("apres.htm", "z").End();
        EXPECT_FALSE(Restore(b, a)) << c.what;
        EXPECT_EQ(b.ErrorCode(), 6) << c.what;
        ASSERT_EQ(r.errors.size(), 1u) << c.what;
        EXPECT_EQ(r.errors[0], std::make_pair(6, QString("Compression error")));
        const std::string written = ReadFile(out() / "p.htm");
        EXPECT_LE(written.size(), 16384u);
        if (c.expectBytes != std::string::npos) {
            EXPECT_EQ(written.size(), c.expectBytes) << c.what;
            EXPECT_TRUE(written == Text(written.size())) << c.what;  // what it produced, unchanged
        }
        EXPECT_FALSE(fs::exists(out() / "apres.htm")) << c.what;
    }
}

TEST_F(BackupTest, RestoreModesCompareMsDosDates) {
    const std::uint32_t memberDate = DosOf(2020, 6, 1);
    enum Existing { kMissing, kOlder, kSame, kNewer };
    // Written? for missing, older, same date, newer.
    const std::vector<std::pair<TBackupFile::TRestoreMode, std::array<bool, 4>>> table{
        {TBackupFile::rmAll, {true, true, true, true}},
        {TBackupFile::rmNoOverwrite, {true, false, false, false}},
        {TBackupFile::rmNewer, {true, true, false, false}},
        {TBackupFile::rmExisting, {false, true, true, true}},
        {TBackupFile::rmExistingNewer, {false, true, false, false}},
    };
    for (const auto& [mode, expect] : table) {
        for (int e = kMissing; e <= kNewer; ++e) {
            fs::remove_all(out());
            fs::create_directories(out());
            const fs::path target = out() / "p.htm";
            if (e != kMissing) {
                WriteBytes(target, "ancien");
                QFile f(Q(target));
                ASSERT_TRUE(f.open(QIODevice::ReadWrite));
                const std::uint32_t date = e == kOlder  ? DosOf(2019, 1, 1)
                                           : e == kSame ? memberDate
                                                        : DosOf(2021, 1, 1);
                ASSERT_TRUE(f.setFileTime(Dos(date), QFileDevice::FileModificationTime));
            }
            TBackupFile b;
            b.SetRestoreMode(mode);
            ASSERT_TRUE(
                Restore(b, RawArchive().Header(7).Member("p.htm", "nouveau", memberDate).End()));
            const std::string now = ReadFile(target);
            const std::string expected = expect[e] ? "nouveau" : e == kMissing ? "" : "ancien";
            EXPECT_EQ(now, expected) << "mode " << mode << " existing " << e;
        }
    }
}

TEST_F(BackupTest, HandlersChangeTargetsDecisionsAndStopTheRestore) {
    TBackupFile b;
    std::vector<std::int32_t> dates;
    b.OnRestoreFile = [&](TBackupFile* sender, QString& name, std::int32_t fa, bool& doRestore) {
        EXPECT_EQ(sender, &b);
        dates.push_back(fa);
        if (name.endsWith("a.htm")) name = Q(out() / "renomme" / "A.htm");
        if (name.endsWith("b.htm")) doRestore = false;
    };
    int restored = 0;
    b.OnFileRestored = [&](TBackupFile*, QString& name, QFile*& stream) {
        ++restored;
        ASSERT_NE(stream, nullptr);
        EXPECT_TRUE(stream->isOpen());
        EXPECT_EQ(stream->fileName(), name);
        stream->write("+");  // the open file, before it is closed
    };
    RawArchive a;
    a.Header(3)
        .Member("a.htm", "a", 11)
        .Member("b.htm", "b", 12)
        .Member("FILE:LIST", "x", 13)
        .Member("c.htm", "c", 14)
        .End();
    EXPECT_TRUE(Restore(b, a));
    EXPECT_EQ(dates, (std::vector<std::int32_t>{11, 12, 14}));  // not for the list
    EXPECT_EQ(restored, 2);
    EXPECT_EQ(Listing(out()), (std::vector<std::string>{"c.htm", "renomme", "renomme/A.htm"}));
    EXPECT_EQ(ReadFile(out() / "renomme" / "A.htm"), "a+");

    // OnProgress clearing Continue ends the member and the restore, without
    // an error.
    TBackupFile stop;
    Recorder r;
    r.Attach(stop);
    stop.OnProgress = [&](TBackupFile*, const QString& name, int percent, bool& go) {
        r.progress.emplace_back(name, percent);
        if (percent >= 25) go = false;
    };
    fs::remove_all(out());
    RawArchive four;
    four.Header(8).Entry("p.htm").Marker();
    for (char c : std::string("abcdefgh"))
        four.Stored(std::string(1, c));
    four.End().Member("q.htm", "").End();
    EXPECT_FALSE(Restore(stop, four));
    EXPECT_EQ(stop.ErrorCode(), 0);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(ReadFile(out() / "p.htm"), "ab");
    EXPECT_FALSE(fs::exists(out() / "q.htm"));
    // 1/8 = 12.5 % rounds to 12, 2/8 to 25; the last call gives 100.
    EXPECT_EQ(r.progress, (std::vector<std::pair<QString, int>>{
                              {Q(out() / "p.htm"), 12}, {Q(out() / "p.htm"), 25}, {"", 100}}));
}

TEST_F(BackupTest, ProgressRoundsHalvesToEven) {
    TBackupFile b;
    std::vector<int> seen;
    b.OnProgress = [&](TBackupFile*, const QString&, int p, bool&) { seen.push_back(p); };
    RawArchive a;
    a.Header(8).Entry("p.htm").Marker();
    for (int i = 0; i < 8; ++i)
        a.Stored("x");
    a.End().End();
    ASSERT_TRUE(Restore(b, a));
    EXPECT_EQ(seen, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100, 100, 100}));

    // A header total of 0 or less than the bytes written stays within 0-100.
    for (std::int32_t total : {0, -5, 3}) {
        seen.clear();
        ASSERT_TRUE(Restore(b, RawArchive().Header(total).Member("p.htm", "12345678").End()));
        for (int p : seen) {
            EXPECT_GE(p, 0);
            EXPECT_LE(p, 100);
        }
    }
}

struct FakePrompts : lorvane::BackupPrompts {
    std::vector<QString> errors, disks;
    bool answer = true;
    void Error(const QString& m) override { errors.push_back(m); }
    bool InsertDisk(const QString& label) override {
        disks.push_back(label);
        return answer;
    }
};

TEST_F(BackupTest, VolumesAskForTheNextDisk) {
    std::vector<Member> members{{"a.htm", DosOf(2022, 2, 2), Noise(30000, 1)},
                                {"b.htm", DosOf(2022, 3, 3), Noise(20000, 2)},
                                {"c.htm", DosOf(2022, 4, 4), Text(500)}};
    lorvane::archive::WriterOptions o;
    o.volumeSize = 20000;
    lorvane::archive::WriteArchive(archive().string(), members, o);
    ASSERT_TRUE(fs::exists(dir.path() / "them.003"));

    TBackupFile b;
    std::vector<int> disks;
    b.OnNeedDisk = [&](TBackupFile*, std::uint16_t id, bool& go) {
        disks.push_back(id);
        go = true;
    };
    ASSERT_TRUE(b.Restore(Q(archive()), Q(out())));
    EXPECT_GE(disks.size(), 2u);
    EXPECT_EQ(disks[0], 2);
    EXPECT_EQ(disks[1], 3);
    for (const Member& m : members) {
        EXPECT_EQ(ReadFile(out() / m.storedName), m.bytes) << m.storedName;
        EXPECT_EQ(Modified(out() / m.storedName), Dos(m.fileDate)) << m.storedName;
    }

    // The prompt: the label without leading zeros; Cancel ends the restore
    // quietly.
    FakePrompts prompts;
    prompts.answer = false;
    TBackupFile asked;
    asked.Prompts = &prompts;
    fs::remove_all(out());
    EXPECT_FALSE(asked.Restore(Q(archive()), Q(out())));
    EXPECT_EQ(prompts.disks, std::vector<QString>{"2"});
    EXPECT_EQ(asked.ErrorCode(), 0);
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_EQ(TBackupFile::DiskPrompt("2"), "Please insert disk 2 and click OK to continue.");

    // A missing volume is asked for again until it is there.
    fs::rename(dir.path() / "them.002", dir.path() / "cache");
    prompts.answer = true;
    prompts.disks.clear();
    int asks = 0;
    asked.OnNeedDisk = [&](TBackupFile*, std::uint16_t, bool& go) {
        if (++asks == 3) fs::rename(dir.path() / "cache", dir.path() / "them.002");
        go = asks < 10;
    };
    EXPECT_TRUE(asked.Restore(Q(archive()), Q(out())));
    EXPECT_EQ(asks, 4);  // three for .002, one for .003
    EXPECT_EQ(ReadFile(out() / "c.htm"), members[2].bytes);
}

TEST_F(BackupTest, VolumeSwitchesThatCannotEndAreRefused) {
    TBackupFile b;
    b.OnNeedDisk = [](TBackupFile*, std::uint16_t, bool& go) { go = true; };
    // them.002 switches to itself.
    WriteBytes(dir.path() / "them.002", RawArchive().Marker().End().NextDisk("002"));
    EXPECT_THROW(Restore(b, RawArchive().Header(0).Member("a.htm", "x").NextDisk("002")),
                 BackupError);
    // The first volume named again.
    WriteBytes(dir.path() / "them.dat",
               RawArchive().Header(0).Member("a.htm", "x").NextDisk("dat"));
    EXPECT_THROW(b.Restore(Q(archive()), Q(out())), BackupError);
    // A volume name that is no number, or names another folder.
    for (const char* name : {"/..", "ab", ""})
        EXPECT_THROW(Restore(b, RawArchive().Header(0).Member("a.htm", "x").NextDisk(name)),
                     BackupError)
            << name;
    // A continuation without a member before it cannot be written.
    WriteBytes(dir.path() / "them.002", RawArchive().Marker().Stored("x").End().End());
    EXPECT_THROW(Restore(b, RawArchive().Header(0).NextDisk("002")), BackupError);
}

TEST_F(BackupTest, StreamIsReadFromItsCurrentPosition) {
    QByteArray bytes("prefix");
    const std::string archive = RawArchive().Header(3).Member("s.htm", "abc").End();
    bytes.append(archive.data(), static_cast<qsizetype>(archive.size()));
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    buffer.seek(6);
    TBackupFile b;
    b.SourceStream = &buffer;
    EXPECT_TRUE(b.Restore(":STREAM", Q(out())));
    EXPECT_EQ(ReadFile(out() / "s.htm"), "abc");
    EXPECT_TRUE(buffer.isOpen());

    TBackupFile none;
    EXPECT_THROW(none.Restore(":STREAM", Q(out())), BackupError);
}

TEST(BackupComponent, PropertiesDefaultsAndMessages) {
    QObject owner;
    auto* b = new TBackupFile(&owner, "BackupFile1");
    EXPECT_EQ(b->parent(), &owner);
    EXPECT_EQ(b->objectName(), "BackupFile1");
    EXPECT_EQ(b->Version(), "5.10");
    b->setProperty("Version", "9.99");
    EXPECT_EQ(b->property("Version").toString(), "5.10");
    EXPECT_EQ(b->RestoreMode(), TBackupFile::rmAll);
    EXPECT_EQ(b->CompressionLevel(), TBackupFile::clFastest);
    EXPECT_FALSE(b->RestoreFullPath());
    EXPECT_FALSE(b->SetArchiveFlag());
    EXPECT_EQ(b->ErrorCode(), 0);
    EXPECT_FALSE(b->ContinueFlag());
    EXPECT_EQ(int(TBackupFile::clMax), 3);

    b->SetBackupMode(TBackupFile::bmIncremental);
    EXPECT_TRUE(b->SetArchiveFlag());
    b->SetSetArchiveFlag(false);
    b->SetBackupMode(TBackupFile::bmIncremental);  // no change: the flag stays
    EXPECT_FALSE(b->SetArchiveFlag());

    QStringList names;
    const QMetaObject* mo = b->metaObject();
    for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
        names << mo->property(i).name();
    EXPECT_EQ(names, QStringList({"Version", "BackupTitle", "BackupMode", "CompressionLevel",
                                  "RestoreMode", "MaxSize", "SetArchiveFlag", "RestoreFullPath",
                                  "SaveFileID"}));

    FakePrompts prompts;
    b->Prompts = &prompts;
    for (int code = 0; code <= 8; ++code)
        b->ReportError(code);
    EXPECT_EQ(prompts.errors,
              std::vector<QString>({"", "Cannot read file", "Overwriting file failed",
                                    "Cannot read archive", "Cannot write to archive",
                                    "Invalid archive type", "Compression error",
                                    "Cannot create temporary file to save the file IDs", ""}));
}

}  // namespace
