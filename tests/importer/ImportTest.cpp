// The import of a reader's Bible into the program folder: what an archive
// or a folder gives, and that no failure touches data/.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <numeric>

#include "BibleName.h"
#include "Cp1252.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "Import.h"
#include "ZipFixtures.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using lorvane::testing::DataSet;
using lorvane::testing::LsgEntries;
using lorvane::testing::TempDir;
using lorvane::testing::TinyBook;
using lorvane::testing::WriteZip;

using lorvane::testing::Snapshot;

// A program folder holding the data folder of a small Bible.
struct ProgramFolder {
    ProgramFolder() {
        lorvane::testing::WriteDataFolder(dir.path(), DataSet::Small());
        before = Snapshot(dir.path());
    }
    fs::path Zip(const lorvane::testing::ZipEntries& entries) {
        const fs::path zip = source.path() / "bible.zip";
        WriteZip(zip, entries);
        return zip;
    }
    // The import fails with `message` (its start) and leaves the folder as
    // it was.
    void ExpectRefused(const fs::path& from, const std::string& message,
                       const ImportSteps& steps = {}) {
        try {
            ImportBible(dir.appDir(), from, steps);
            ADD_FAILURE() << "imported " << from;
        } catch (const ImportError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, message.size()), message) << e.what();
        }
        EXPECT_EQ(Snapshot(dir.path()), before);
    }
    TempDir dir, source;
    std::map<std::string, std::string> before;
};

void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

std::string VerseText(const Communs& c, int book, int chapter, int verse) {
    return std::string(c.VerseTable[c.VerseLookup(book, chapter, verse)].Text);
}

TEST(Import, TheDownloadedLouisSegondZipReplacesTheBible) {
    if (lorvane::testing::LsgDir().empty()) GTEST_SKIP() << "no Louis Segond folder";
    ProgramFolder app;
    Write(app.dir.path() / "data" / "lisez-moi.txt", "à garder");
    app.before = Snapshot(app.dir.path());
    std::vector<std::string> read;
    ImportSteps steps;
    steps.reading = [&](const std::string& book) { read.push_back(book); };
    ImportResult r = ImportBible(app.dir.appDir(), app.Zip(LsgEntries()), steps);

    EXPECT_EQ(ImportSummary(r.books, r.missing), "66 livres importés.");
    ASSERT_EQ(read.size(), 66u);
    EXPECT_EQ(read.front(), "Genèse");
    EXPECT_EQ(r.tables.AppDir, app.dir.appDir());
    EXPECT_EQ(VerseText(r.tables, 1, 1, 1).substr(0, 16), "Au commencement,");
    EXPECT_EQ(r.report.Count("books outside the 66, skipped"), 1);  // the front matter
    // The program's next start reads the same: data/ holds the new Bible
    // with the old study pages, them/ the pages, and nothing is left beside.
    Communs again(app.dir.appDir());
    LoadAllTables(again);
    EXPECT_EQ(VerseText(again, 66, 22, 21), VerseText(r.tables, 66, 22, 21));
    EXPECT_EQ(lorvane::testing::ReadFile(app.dir.path() / "data" / "them.dat"),
              app.before.at("data/them.dat"));
    EXPECT_TRUE(fs::exists(app.dir.path() / "them" / "livres.htm"));
    EXPECT_EQ(lorvane::testing::ReadFile(app.dir.path() / "data" / "lisez-moi.txt"), "à garder");
    EXPECT_FALSE(fs::exists(app.dir.path() / "data.new"));
}

TEST(Import, APartialBibleKeepsAPlaceForEveryBook) {
    ProgramFolder app;
    lorvane::testing::ZipEntries entries;
    for (const char* code : {"MAT", "MRK", "LUK", "JHN"})
        entries.push_back({std::string(code) + ".usfm", TinyBook(code, 2)});
    ImportResult r = ImportBible(app.dir.appDir(), app.Zip(entries));

    EXPECT_EQ(r.books, 4);
    EXPECT_EQ(r.missing.size(), 62u);
    EXPECT_EQ(ImportSummary(r.books, r.missing),
              "4 livres importés ; manquent : l'Ancien Testament (39 livres), Actes, Romains, "
              "1 Corinthiens, 2 Corinthiens, Galates, Éphésiens, Philippiens, Colossiens, "
              "1 Thessaloniciens, 2 Thessaloniciens, 1 Timothée, 2 Timothée, Tite, Philémon, "
              "Hébreux, Jacques, 1 Pierre, 2 Pierre, 1 Jean, 2 Jean, 3 Jean, Jude, Apocalypse.");
    EXPECT_EQ(ImportSummary(65, {3}), "65 livres importés ; manquent : Lévitique.");
    std::vector<int> oldTestament(39);
    std::iota(oldTestament.begin(), oldTestament.end(), 1);
    EXPECT_EQ(ImportSummary(27, oldTestament),
              "27 livres importés ; manquent : l'Ancien Testament (39 livres).");
    EXPECT_EQ(ImportRemarks(r.report), "");
    EXPECT_EQ(std::string(r.tables.Book(1).Name.view()), "Genèse");
    EXPECT_EQ(r.tables.Book(1).ChapterCount, 0);
    EXPECT_EQ(r.tables.Book(40).ChapterCount, 2);
    EXPECT_EQ(VerseText(r.tables, 43, 2, 3), "Texte de JHN 2.3");
}

TEST(Import, WhatWasLeftOutIsSaid) {
    ProgramFolder app;
    std::string genesis = TinyBook("GEN", 3);
    std::string psalms = TinyBook("PSA", 150);
    psalms.erase(psalms.find("\\c 23\n"), psalms.find("\\c 24\n") - psalms.find("\\c 23\n"));
    ImportResult r = ImportBible(app.dir.appDir(), app.Zip({{"00-FRT.usfm", TinyBook("FRT")},
                                                            {"GEN.usfm", genesis},
                                                            {"PSA.usfm", psalms},
                                                            {"MAL.usfm", TinyBook("MAL", 3)},
                                                            {"TOB.usfm", TinyBook("TOB")},
                                                            {"JDT.usfm", TinyBook("JDT")},
                                                            {"1MA.usfm", TinyBook("1MA")}}));
    EXPECT_EQ(ImportRemarks(r.report),
              "3 livres hors des 66 ignorés : Tobie, Judith, 1 Maccabées.");
    // Malachie in three chapters is another versification, not a loss.
    EXPECT_EQ(ShortBooksText(r.shortBooks),
              "Genèse : 3 chapitres sur 50.\nPsaumes : 149 chapitres sur 150.");
}

TEST(Import, BookFilesAreTakenInEveryFormTheyCome) {
    ProgramFolder app;
    std::string crlf = "\xEF\xBB\xBF" + TinyBook("GEN");
    for (std::size_t at = 0; (at = crlf.find('\n', at)) != std::string::npos; at += 2)
        crlf.replace(at, 1, "\r\n");
    ImportResult r = ImportBible(app.dir.appDir(), app.Zip({{"a/b/GEN.SFM", crlf},
                                                            {"vide.usfm", ""},
                                                            {"EXO.usfm", TinyBook("EXO")},
                                                            {"EXO-bis.usfm", TinyBook("EXO", 2)},
                                                            {"GLO.usfm", TinyBook("GLO")},
                                                            {"lisez-moi.txt", TinyBook("LEV")}}));
    EXPECT_EQ(r.books, 3);
    EXPECT_EQ(VerseText(r.tables, 1, 1, 3), "Texte de GEN 1.3");
    EXPECT_EQ(r.tables.Book(2).ChapterCount, 1);  // the first file of a book given twice
    EXPECT_EQ(r.tables.Book(3).ChapterCount, 1);  // a book whatever its file's name
    EXPECT_EQ(r.report.Count("books given twice, the later file skipped"), 1);
    EXPECT_EQ(r.report.Count("empty files, skipped"), 1);

    // Verse numbers that jump are imported as they come, and told.
    std::string jumps = TinyBook("MRK");
    jumps.replace(jumps.find("\\v 2"), 4, "\\v 4");
    r = ImportBible(app.dir.appDir(), app.Zip({{"MRK.usfm", jumps}}));
    EXPECT_EQ(VerseText(r.tables, 41, 1, 4), "Texte de MRK 1.2");
    EXPECT_EQ(ImportRemarks(r.report),
              "Numéros de versets hors de suite : 2 endroits, par exemple Marc 1:4.");

    // A book file of an unzipped folder stands for its whole folder.
    TempDir folder;
    Write(folder.path() / "01-GEN.usfm", TinyBook("GEN"));
    Write(folder.path() / "02-EXO.usfm", TinyBook("EXO"));
    EXPECT_EQ(ImportBible(app.dir.appDir(), folder.path() / "02-EXO.usfm").books, 2);
}

TEST(Import, WhatHoldsNoBookIsRefused) {
    ProgramFolder app;
    const std::string none = "Ce fichier ne contient aucun livre de la Bible au format USFM.";
    app.ExpectRefused(app.Zip({{"00-FRTfraLSG.usfm", TinyBook("FRT")}, {"x.htm", "<p>"}}), none);
    Write(app.source.path() / "page.zip", "<html>pas une archive");
    app.ExpectRefused(app.source.path() / "page.zip",
                      "Ce fichier ne contient aucune Bible que Lorvane sache lire : il faut un "
                      "fichier USFM, OSIS, Zefania ou USFX, ou une archive qui en contient.");
}

TEST(Import, AnArchiveThatCannotBeReadIsRefusedWithItsReason) {
    ProgramFolder app;
    const std::string damaged =
        "Le fichier est incomplet ou endommagé (téléchargement interrompu ?) : téléchargez-le de "
        "nouveau.";
    const std::string good = lorvane::testing::ReadFile(
        app.Zip({{"GEN.usfm", TinyBook("GEN", 40)}, {"EXO.usfm", TinyBook("EXO", 40)}}));
    std::string zip = good;
    for (std::size_t i = 60; i < zip.size() / 2; ++i)
        zip[i] = static_cast<char>(zip[i] ^ 0x5A);
    Write(app.source.path() / "bible.zip", zip);
    app.ExpectRefused(app.source.path() / "bible.zip", damaged);
    // A download cut short.
    Write(app.source.path() / "bible.zip", good.substr(0, good.size() / 2));
    app.ExpectRefused(app.source.path() / "bible.zip", damaged);
    // A file of another user.
    Write(app.source.path() / "bible.zip", good);
    fs::permissions(app.source.path() / "bible.zip", fs::perms::none);
    lorvane::testing::WithoutRootOverride asReader;
    app.ExpectRefused(app.source.path() / "bible.zip",
                      "Impossible de lire le fichier « " +
                          (app.source.path() / "bible.zip").string() + " » : accès refusé.");
}

TEST(Import, AZipBombIsRefusedAtTheCap) {
    ProgramFolder app;
    // A few dozen kilobytes that would unpack to 40 MB.
    const fs::path bomb =
        app.Zip({{"GEN.usfm", TinyBook("GEN")},
                 {"EXO.usfm", "\\id EXO\n\\c 1\n\\v 1 " + std::string(40 << 20, '\0')}});
    EXPECT_LT(fs::file_size(bomb), 200'000u);
    app.ExpectRefused(bomb, "Le fichier « EXO.usfm » dépasse 32 Mo une fois décompressé");

    ImportSteps small;
    small.limits = {1 << 20, 3 << 20};
    lorvane::testing::ZipEntries many;
    for (int i = 0; i < 4; ++i)
        many.push_back({"GEN" + std::to_string(i) + ".usfm", std::string(1 << 20, ' ')});
    app.ExpectRefused(app.Zip(many), "Les livres de cette archive dépassent 3 Mo", small);
}

TEST(Import, ACancelLeavesEverythingAsItWas) {
    ProgramFolder app;
    lorvane::testing::ZipEntries entries;
    for (const char* code : {"GEN", "EXO", "LEV"})
        entries.push_back({std::string(code) + ".usfm", TinyBook(code)});
    const fs::path zip = app.Zip(entries);
    for (int asks : {1, 2, 5, 6, 7}) {
        ImportSteps steps;
        int n = 0;
        steps.cancelled = [&] { return ++n >= asks; };
        EXPECT_THROW(ImportBible(app.dir.appDir(), zip, steps), ImportCancelled) << asks;
        EXPECT_EQ(Snapshot(app.dir.path()), app.before);
    }
}

TEST(Import, AFolderThatCannotBeWrittenIsLeftAsItWas) {
    ProgramFolder app;
    const fs::path zip = app.Zip({{"GEN.usfm", TinyBook("GEN")}});
    const std::string message =
        "Impossible d'écrire dans le dossier « " + app.dir.path().string() + " » : accès refusé.";
    fs::permissions(app.dir.path(), fs::perms::owner_write, fs::perm_options::remove);
    {
        lorvane::testing::WithoutRootOverride asReader;
        app.ExpectRefused(zip, message);
    }
    fs::permissions(app.dir.path(), fs::perms::owner_write, fs::perm_options::add);

    // A full disk: no file may grow beyond a few bytes.
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tiny = saved;
    tiny.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &tiny);
    app.ExpectRefused(zip, "L'espace disque est insuffisant dans le dossier « " +
                               app.dir.path().string() + " » (il faut environ 1 Mo).");

    // A new Bible's staging folder goes with the failure: the message names
    // the folder of the reader's Bibles, which is still there.
    TempDir shelf;
    const std::string staging = (shelf.path() / "import-1.new").string() + "/";
    try {
        ImportNewBible(staging, app.dir.appDir(), zip);
        ADD_FAILURE() << "imported on a full disk";
    } catch (const ImportError& e) {
        EXPECT_EQ(std::string(e.what()), "L'espace disque est insuffisant dans le dossier « " +
                                             shelf.path().string() + " » (il faut environ 1 Mo).");
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_TRUE(fs::is_empty(shelf.path()));
}

TEST(Import, ANewBibleIsWrittenStraightIntoItsOwnFolder) {
    ProgramFolder app;
    TempDir shelf;
    const fs::path staging = shelf.path() / "import-1.new";
    ImportResult result = ImportNewBible(staging.string() + "/", app.dir.appDir(),
                                         app.Zip({{"GEN.usfm", TinyBook("GEN")}}));
    // Its data/ alone: no data.new/ to exchange, no study pages unpacked.
    std::vector<std::string> entries;
    for (const auto& e : fs::directory_iterator(staging))
        entries.push_back(e.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"data"});
    EXPECT_TRUE(fs::exists(staging / "data" / "bible.dat"));
    EXPECT_EQ(VerseText(result.tables, 1, 1, 2), "Texte de GEN 1.2");
    EXPECT_EQ(Snapshot(app.dir.path()), app.before);  // the program's folder untouched
}

TEST(Import, WhatACrashLeftBesideDataIsClearedAtTheNextStartOrImport) {
    ProgramFolder app;
    Write(app.dir.path() / "data.new" / "data" / "bible.dat", "à moitié");
    RemoveImportLeftovers(app.dir.appDir());
    EXPECT_EQ(Snapshot(app.dir.path()), app.before);
    EXPECT_FALSE(fs::exists(app.dir.path() / "data.new"));

    Write(app.dir.path() / "data.new" / "data" / "bible.dat", "à moitié");
    ImportBible(app.dir.appDir(), app.Zip({{"GEN.usfm", TinyBook("GEN")}}));
    EXPECT_FALSE(fs::exists(app.dir.path() / "data.new"));
    Communs c(app.dir.appDir());
    LoadAllTables(c);
    EXPECT_EQ(VerseText(c, 1, 1, 2), "Texte de GEN 1.2");
}

TEST(Import, TheBiblesShortNameComesFromItsDownloadedFileName) {
    // eBible names a set by its language and abbreviation.
    EXPECT_EQ(AbbreviationFromSourceName("/home/l/Téléchargements/fraLSG_usfm.zip"), "LSG");
    EXPECT_EQ(AbbreviationFromSourceName("/tmp/fraLSG/02-GENfraLSG.usfm"), "LSG");
    EXPECT_EQ(AbbreviationFromSourceName("engWEB_usfm.zip"), "WEB");
    EXPECT_EQ(AbbreviationFromSourceName("fraDBY1885.xml"), "DBY1885");
    // Anything else tells no short name.
    for (const char* none : {"bible.zip", "lsg1910", "02-GEN.usfm", "fraLouisSegond.zip",
                             "fraABCDEFGHIJ_usfm.zip", "FRALSG.zip", "fr.zip", ""})
        EXPECT_EQ(AbbreviationFromSourceName(none), "") << none;

    // The import keeps it beside the Bible, and the next import without
    // one does not inherit it.
    ProgramFolder app;
    const fs::path lsg = app.source.path() / "fraLSG_usfm.zip";
    WriteZip(lsg, {{"GEN.usfm", TinyBook("GEN")}});
    ImportBible(app.dir.appDir(), lsg);
    EXPECT_EQ(lorvane::testing::ReadFile(app.dir.path() / "data" / kAbbreviationFile), "LSG\n");
    ImportBible(app.dir.appDir(), app.Zip({{"GEN.usfm", TinyBook("GEN")}}));
    EXPECT_NE(lorvane::testing::ReadFile(app.dir.path() / "data" / kAbbreviationFile), "LSG\n");
}

}  // namespace
}  // namespace lorvane::importer
