// The real data sets: the Louis Segond 1910 folder beside the project (when
// it is there) and the SWORD module engWEB2015eb (when it is installed),
// built whole with the study pages and loaded as the program loads them.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "Communs.h"
#include "Cp1252.h"
#include "DataFolder.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "Sword.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using lorvane::testing::TempDir;

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines)
        out += l + "\n";
    return out;
}

// Every cross-reference of the loaded tables names verses that exist.
void ExpectCrossRefsValid(const Communs& c) {
    int bad = 0;
    for (int s = 1; s <= c.CrossRefSlotCount() && c.CrossRefTable[s].Book != kEndMarker; ++s) {
        const TRefer& r = c.CrossRefTable[s];
        if (!c.VerseLookup(r.Book, r.Chapter, r.Verse) ||
            !c.VerseLookup(r.Target.Book, r.Target.Chapter, r.Target.FirstVerse) ||
            !c.VerseLookup(r.Target.Book, r.Target.Chapter, r.Target.LastVerse) ||
            r.Target.LastVerse < r.Target.FirstVerse)
            ++bad;
        if (s > 1) {
            const TRefer& p = c.CrossRefTable[s - 1];
            ASSERT_LE(std::tie(p.Book, p.Chapter, p.Verse), std::tie(r.Book, r.Chapter, r.Verse));
        }
    }
    EXPECT_EQ(bad, 0);
}

int CountUntilMarker(const std::vector<TIndex>& t) {
    int n = 0;
    while (n + 1 < static_cast<int>(t.size()) && t[n + 1].Book != kEndMarker)
        ++n;
    return n;
}

TEST(LsgDataSet, BuildsCompleteAndValid) {
    const fs::path lsg = LORVANE_LSG_DIR;
    if (!fs::is_directory(lsg)) GTEST_SKIP() << "no Louis Segond folder at " << lsg;
    TempDir app;
    BuildOptions options;
    options.source = BuildOptions::Source::Usfm;
    options.from = lsg.string();
    options.pages = LORVANE_PAGES_DIR;
    Report report;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(BuildDataSet(options, app.path() / "data", report)) << Joined(report.Errors());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("build_seconds", std::to_string(seconds));
    std::cout << "LSG data set built in " << seconds << " s\n";

    const std::string summary = Joined(report.SummaryLines());
    EXPECT_NE(summary.find("books: 66, chapters: 1189, verses: 31170"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("(0 not valid)"), std::string::npos) << summary;
    EXPECT_LE(report.Count("cross-reference targets not understood, skipped") +
                  report.Count("cross-reference targets naming a verse the text lacks, skipped"),
              20448 / 20);  // at least 95 % of the targets kept

    Communs c(app.appDir());
    LoadAllTables(c);
    EXPECT_EQ(c.VerseTable[31170].Book, 66);
    EXPECT_EQ(c.VerseTable[31171].Book, kEndMarker);
    EXPECT_EQ(std::string(c.VerseTable[1].Text),
              "Au commencement, Dieu créa les cieux et la terre.");
    EXPECT_NE(c.VerseLookup(19, 119, 115), 0);
    EXPECT_EQ(std::string(c.BookTable[9].Name.str()), "1 Samuel");
    EXPECT_EQ(std::string(c.BookTable[22].Name.str()), "Cantique des Cantiques");
    EXPECT_EQ(std::string(c.BookTable[46].ShortName.str()), "1 Co");
    int chapters = 0;
    for (int b = 1; b <= 66; ++b)
        chapters += c.BookTable[b].ChapterCount;
    EXPECT_EQ(chapters, 1189);
    for (int s = 1; s <= 31170; ++s) {
        const std::string_view t = c.VerseTable[s].Text;
        ASSERT_EQ(t.find('\\'), t.npos) << s << ": " << t;  // no USFM marker left
        ASSERT_EQ(t.find("  "), t.npos) << s;
        ASSERT_EQ(t.find("\u2019"), t.npos) << s;  // typographic apostrophe
    }
    const int headings = CountUntilMarker(c.IndexTable);
    EXPECT_GE(headings, 1400);
    int cut = 0;
    for (int s = 1; s <= headings; ++s)
        if (c.IndexTable[s].Title.view().ends_with("…")) ++cut;
    // The field holds 151 bytes: in UTF-8 an accented letter takes two, so a
    // few more headings are cut than the 23 of a Windows-1252 folder.
    EXPECT_EQ(cut, 25);
    int refs = 0;
    while (c.CrossRefTable[refs + 1].Book != kEndMarker)
        ++refs;
    EXPECT_GE(refs, 15000);
    ExpectCrossRefsValid(c);
    EXPECT_TRUE(fs::exists(app.path() / "data" / "them.dat"));
}

TEST(SwordDataSet, ImportsTheWorldEnglishBible) {
#ifdef LORVANE_SANITIZED
    // Twenty times slower under the sanitizers; the OSIS helpers it relies
    // on are tested there on their own.
    GTEST_SKIP() << "not run in the sanitizer build";
#endif
    const auto bibles = SwordBibles();
    if (std::find(bibles.begin(), bibles.end(), "engWEB2015eb") == bibles.end())
        GTEST_SKIP() << "SWORD module engWEB2015eb not installed";
    TempDir app;
    BuildOptions options;
    options.source = BuildOptions::Source::Sword;
    options.from = "engWEB2015eb";
    options.pages = LORVANE_PAGES_DIR;
    options.strictVerseLinks = false;
    Report report;
    ASSERT_TRUE(BuildDataSet(options, app.path() / "data", report)) << Joined(report.Errors());
    EXPECT_EQ(report.Count("books outside the 66, skipped"), 17);

    Communs c(app.appDir());
    LoadAllTables(c);
    EXPECT_GT(c.VerseSlotCount(), 31000);
    EXPECT_EQ(std::string(c.VerseTable[1].Text),
              "In the beginning, God created the heavens and the earth.");
    EXPECT_EQ(c.BookTable[1].Name.str(), "Genesis");
    EXPECT_EQ(c.BookTable[66].ChapterCount, 22);
    // Psalm titles are headings before verse 1, not verse text.
    const std::int32_t ps3 = c.VerseLookup(19, 3, 1);
    ASSERT_NE(ps3, 0);
    EXPECT_EQ(c.VerseTable[ps3].Text.rfind("Yahweh, how", 0), 0u) << c.VerseTable[ps3].Text;
    bool title = false;
    for (int s = 1; s <= CountUntilMarker(c.IndexTable); ++s) {
        const TIndex& h = c.IndexTable[s];
        if (h.Book == 19 && h.Chapter == 3 && h.Verse == 1)
            title = h.Kind == 'E' && h.Title.str().rfind("A Psalm by David", 0) == 0;
    }
    EXPECT_TRUE(title);
    EXPECT_GT(c.CrossRefTable.size(), 300u);
    ExpectCrossRefsValid(c);
}

}  // namespace
}  // namespace lorvane::importer
