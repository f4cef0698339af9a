// SWORD commentaries imported from the same menu as the Bibles, read by
// the helper: their entries placed on every verse of the passage they
// cover, the entries that do not read or name other verses left out and
// counted, a damaged module refused or read in part; and Debian's own
// modules.

#include <gtest/gtest.h>

#include <fstream>

#include "Commentary.h"
#include "Fixtures.h"
#include "Import.h"
#include "SwordConf.h"
#include "SwordFixtures.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using commentary::Commentary;
using lorvane::testing::SwordModuleRecipe;
using lorvane::testing::TempDir;

const fs::path kDebian = "/usr/share/sword";

struct SwordCommentaryImport : ::testing::Test {
    SwordCommentaryImport() {
        lorvane::testing::WriteDataFolder(app.path(), lorvane::testing::DataSet::Small());
        steps.swordHelper = LORVANE_SWORD_HELPER;
        steps.scratch = cache.path() / "lorvane";
    }
    ImportResult Import(const fs::path& from) {
        fs::remove_all(shelf.path() / "new");
        return ImportNewBible((shelf.path() / "new").string(), app.appDir(), from, steps);
    }
    Commentary Kept() const {
        return Commentary::Open((shelf.path() / "new" / commentary::kCommentaryFile).string());
    }
    std::string Refusal(const fs::path& from) {
        try {
            Import(from);
        } catch (const ImportError& e) {
            EXPECT_FALSE(fs::exists(shelf.path() / "new"));
            return e.what();
        }
        return "imported";
    }
    // Debian's module `name` copied into a library of the test's own.
    fs::path CopyOfDebian(const std::string& name, const std::string& data) {
        fs::create_directories(library.path() / "mods.d");
        fs::copy_file(kDebian / "mods.d" / (name + ".conf"),
                      library.path() / "mods.d" / (name + ".conf"));
        fs::create_directories(library.path() / "modules/comments/zcom");
        fs::copy(kDebian / "modules/comments/zcom" / data,
                 library.path() / "modules/comments/zcom" / data);
        return library.path() / "mods.d" / (name + ".conf");
    }
    TempDir app, shelf, cache, library;
    ImportSteps steps;
};

SwordModuleRecipe Henry(const std::string& driver, const std::string& markup) {
    SwordModuleRecipe r;
    r.name = "Henry";
    r.driver =
        std::string(driver[0] == 'z' ? "zText" : "RawText") + (driver.back() == '4' ? "4" : "");
    r.confDriver = driver;
    r.markup = markup;
    const bool thml = markup == "ThML";
    r.verses = {
        {"Matt.5.21", thml ? "<b>Verses 21-26</b><p>Voir <scripRef passage=\"Ex 20:13\">Ex "
                             "20.13</scripRef> &amp; la suite.</p>"
                           : "<hi type=\"bold\">Verses 21-26</hi><div type=\"x-p\"/>Voir "
                             "<reference osisRef=\"Exod.20.13\">Ex 20.13</reference>."},
        // Stored under 5:3 but the comment on 5:27-32: left out.
        {"Matt.5.3", thml ? "<b>Verses 27-32</b> Victory" : "<hi type=\"bold\">Verses 27-32</hi>"},
        {"Gen.1.1", "Au commencement."},
    };
    for (int v = 22; v <= 26; ++v)
        r.links.push_back({"Matt.5." + std::to_string(v), "Matt.5.21"});
    return r;
}

TEST_F(SwordCommentaryImport, APassageShowsOnEachOfItsVersesAndAMisplacedEntryIsLeftOut) {
    for (const char* markup : {"OSIS", "ThML"}) {
        for (const char* driver : {"zCom", "zCom4", "RawCom", "RawCom4"}) {
            SCOPED_TRACE(std::string(driver) + " " + markup);
            TempDir lib;
            const fs::path conf =
                lorvane::testing::WriteSwordModule(lib.path(), Henry(driver, markup));
            const ImportResult r = Import(conf);
            EXPECT_TRUE(r.commentary);
            EXPECT_EQ(r.form, std::string("un module SWORD (") + driver + ", " + markup + ")");
            EXPECT_EQ(r.leftOut, 1);
            EXPECT_EQ(LeftOutEntriesText(r.leftOut),
                      "Une entrée illisible ou mal placée a été laissée de côté.");
            const Commentary c = Kept();
            for (int v = 21; v <= 26; ++v) {
                const auto found = c.EntryFor(PlaceOf(40, 5, v));
                ASSERT_TRUE(found) << v;
                EXPECT_EQ(found->first, PlaceOf(40, 5, 21));
                EXPECT_EQ(found->lastVerse, 26);
                // The reference is a link to Exode 20:13.
                EXPECT_NE(found->html.find("<a href=\"\xC2\xA4"
                                           "2\xC2\xA4"
                                           "20\xC2\xA4"
                                           "13\xC2\xA4"
                                           "0\">"),
                          std::string::npos)
                    << found->html;
            }
            EXPECT_FALSE(c.EntryFor(PlaceOf(40, 5, 3)));
            EXPECT_FALSE(c.EntryFor(PlaceOf(40, 5, 27)));
            EXPECT_EQ(c.EntryFor(PlaceOf(1, 1, 1))->html, "<p>Au commencement.</p>");
        }
    }
}

TEST_F(SwordCommentaryImport, AZipAsARepositoryGivesItImports) {
    TempDir lib;
    lorvane::testing::WriteSwordModule(lib.path(), Henry("zCom", "OSIS"));
    const fs::path zip = cache.path() / "henry.zip";
    lorvane::testing::WriteZip(zip, lorvane::testing::FolderEntries(lib.path()));
    EXPECT_TRUE(Import(zip).commentary);
    EXPECT_TRUE(Kept().EntryFor(PlaceOf(40, 5, 24)));
}

TEST_F(SwordCommentaryImport, ACommentaryNeverReplacesTheBibleRead) {
    const fs::path conf = lorvane::testing::WriteSwordModule(library.path(), Henry("zCom", "OSIS"));
    try {
        ImportBible(app.appDir(), conf, steps);
        FAIL();
    } catch (const ImportError& e) {
        EXPECT_STREQ(e.what(), "Ce module SWORD est un commentaire, pas une Bible.");
    }
}

TEST_F(SwordCommentaryImport, ADamagedIndexIsRefusedOrReadInPart) {
    if (!fs::exists(kDebian / "mods.d/scofield.conf")) GTEST_SKIP() << "sword-comm-scofield";
    const fs::path conf = CopyOfDebian("scofield", "scofield");
    const fs::path data = library.path() / "modules/comments/zcom/scofield";
    // The New Testament's verse index garbled: its verses are left out,
    // the Old Testament's kept.
    {
        std::string index = lorvane::testing::ReadFile(data / "nt.bzv");
        for (std::size_t at = 0; at < index.size(); at += 7)
            index[at] = static_cast<char>(0xEE);
        std::ofstream(data / "nt.bzv", std::ios::binary) << index;
    }
    const ImportResult part = Import(conf);
    EXPECT_GT(part.leftOut, 100);
    EXPECT_TRUE(Kept().EntryFor(PlaceOf(1, 1, 2)));
    // The block index cut short: the verses of the blocks lost are left
    // out too.
    fs::resize_file(data / "ot.bzs", fs::file_size(data / "ot.bzs") / 2 + 5);
    const ImportResult less = Import(conf);
    EXPECT_GT(less.leftOut, part.leftOut);
    EXPECT_LT(less.entries, part.entries);
    // The compressed text cut short: refused, saying so.
    fs::resize_file(data / "ot.bzz", 1000);
    EXPECT_EQ(Refusal(conf),
              "Ce module SWORD est endommagé : son index désigne des données absentes.");
}

TEST_F(SwordCommentaryImport, DebiansScofieldImportsWithItsReferencesAsLinks) {
    if (!fs::exists(kDebian / "mods.d/scofield.conf")) GTEST_SKIP() << "sword-comm-scofield";
    const ImportResult r = Import(kDebian / "mods.d/scofield.conf");
    EXPECT_EQ(r.name, "Scofield Reference Notes, 1917 Edition");
    EXPECT_EQ(r.leftOut, 0);
    EXPECT_GT(r.entries, 3000);
    const auto genesis = Kept().EntryFor(PlaceOf(1, 1, 2));
    ASSERT_TRUE(genesis);
    EXPECT_NE(genesis->html.find("<a href=\"\xC2\xA4"
                                 "24\xC2\xA4"
                                 "4\xC2\xA4"
                                 "23\xC2\xA4"
                                 "27\">Jeremiah"),
              std::string::npos);
}

TEST_F(SwordCommentaryImport, DebiansMhccIsReadThroughTheIndexItHas) {
    if (!fs::exists(kDebian / "mods.d/mhcc.conf")) GTEST_SKIP() << "sword-comm-mhcc";
    // Its .conf says zCom4, its index has the records of zCom: read as it
    // says, Matthieu 5:3 would give the comment on 5:21-26. Read through
    // its index, the passages fall in place, each on every verse it covers.
    const ImportResult r = Import(kDebian / "mods.d/mhcc.conf");
    EXPECT_LE(r.leftOut, 5);
    const Commentary c = Kept();
    for (int v = 21; v <= 26; ++v) {
        const auto found = c.EntryFor(PlaceOf(40, 5, v));
        ASSERT_TRUE(found);
        EXPECT_EQ(found->html.find("<p><b>Verses 21-26</b></p>"), 0u) << v;
    }
    EXPECT_EQ(c.EntryFor(PlaceOf(40, 5, 3))->html.find("<p><b>Verses 3-12</b></p>"), 0u);
    ASSERT_TRUE(c.EntryFor(PlaceOf(1, 1, 1)));
}

// A .conf naming a 32-bit driver over an index of 16-bit records is read
// through the index it has; an index that fits its driver, or fits both,
// is left as it is.
TEST(SwordIndexDriver, ReadThroughTheRecordsItsIndexHas) {
    TempDir data;
    const auto index = [&](const char* name, std::uintmax_t size) {
        std::ofstream(data.path() / name, std::ios::binary) << std::string(size, '\0');
    };
    const auto mend = [&](const std::string& driver, std::string& conf) {
        SwordModuleFacts facts;
        facts.driver = driver;
        const bool mended = MendIndexDriver(conf, facts, data.path());
        return mended ? facts.driver : std::string("-");
    };
    std::string conf = "[MHCC]\nModDrv=zCom4\nDataPath=./x/\n";
    index("ot.bzv", 241150);  // 24,115 records of 10 bytes
    index("nt.bzv", 82460);
    EXPECT_EQ(mend("zCom4", conf), "zCom");
    EXPECT_EQ(conf, "[MHCC]\nModDrv=zCom\nDataPath=./x/\n");
    std::string same = "ModDrv=zCom\n";
    EXPECT_EQ(mend("zCom", same), "-");  // a 16-bit driver already
    index("nt.bzv", 82464);              // 12-byte records: it is what it says
    std::string kept = "ModDrv=zCom4\n";
    EXPECT_EQ(mend("zCom4", kept), "-");
    EXPECT_EQ(kept, "ModDrv=zCom4\n");
    index("nt.bzv", 600);  // fits both forms: left as it says
    index("ot.bzv", 600);
    EXPECT_EQ(mend("zCom4", kept), "-");
    index("ot.vss", 66);  // raw: eleven records of 6 bytes under RawCom4
    std::string raw = "ModDrv=RawCom4\n";
    EXPECT_EQ(mend("RawCom4", raw), "RawCom");
    EXPECT_EQ(raw, "ModDrv=RawCom\n");
}

}  // namespace
}  // namespace lorvane::importer
