// SWORD modules imported from the menu: a zip as a SWORD repository gives
// it or a .conf in its library, in every driver and compression, read by
// the helper process; and the modules refused.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "Cp1252.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "Import.h"
#include "ScratchFolder.h"
#include "SwordFixtures.h"
#include "WordTable.h"
#include "WordTags.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using lorvane::testing::SwordModuleRecipe;
using lorvane::testing::TempDir;

struct SwordImport : ::testing::Test {
    SwordImport() {
        lorvane::testing::WriteDataFolder(app.path(), lorvane::testing::DataSet::Small());
        steps.swordHelper = LORVANE_SWORD_HELPER;
        steps.scratch = cache.path() / "lorvane";
    }
    // The module written as a library, then zipped.
    fs::path Zip(const SwordModuleRecipe& recipe) {
        TempDir library;
        lorvane::testing::WriteSwordModule(library.path(), recipe);
        const fs::path zip = source.path() / (recipe.driver + recipe.compression + ".zip");
        lorvane::testing::WriteZip(zip, lorvane::testing::FolderEntries(library.path()));
        return zip;
    }
    ImportResult Import(const fs::path& from) { return ImportBible(app.appDir(), from, steps); }
    std::string Refusal(const fs::path& from) {
        const std::string before = lorvane::testing::ReadFile(app.path() / "data" / "bible.dat");
        try {
            Import(from);
        } catch (const ImportError& e) {
            EXPECT_EQ(lorvane::testing::ReadFile(app.path() / "data" / "bible.dat"), before);
            return e.what();
        }
        return "imported";
    }
    TempDir app, source, cache;
    ImportSteps steps;
};

std::string VerseText(const Communs& c, int book, int chapter, int verse) {
    return std::string(c.VerseTable[c.VerseLookup(book, chapter, verse)].Text);
}

TEST_F(SwordImport, EveryDriverAndCompressionImports) {
    const std::pair<const char*, const char*> kinds[] = {
        {"RawText", ""},    {"RawText4", ""}, {"zText", "ZIP"},  {"zText", "LZSS"},
        {"zText", "BZIP2"}, {"zText", "XZ"},  {"zText4", "ZIP"},
    };
    for (const auto& [driver, compression] : kinds) {
        SCOPED_TRACE(std::string(driver) + " " + compression);
        SwordModuleRecipe recipe;
        recipe.driver = driver;
        recipe.compression = compression;
        ImportResult r = Import(Zip(recipe));
        EXPECT_EQ(r.books, 2);
        EXPECT_EQ(VerseText(r.tables, 1, 1, 1),
                  "Au commencement, Dieu créa les cieux et la terre.");
        EXPECT_EQ(VerseText(r.tables, 43, 1, 1),
                  "Au commencement était la Parole, et la Parole était avec Dieu.");
        EXPECT_EQ(r.form, "un module SWORD (" + std::string(driver) + ", OSIS)");
    }
}

TEST_F(SwordImport, AModuleBringsItsNameHeadingsAndCrossReferences) {
    ImportResult r = Import(Zip({}));
    EXPECT_EQ(ImportHeadline(r).rfind(
                  "Bible importée depuis un module SWORD (zText, OSIS) : 2 livres importés ;", 0),
              0u)
        << ImportHeadline(r);
    EXPECT_EQ(r.name, "Bible d'essai à l'accent");
    EXPECT_EQ(r.abbreviation, "BÉ");
    // A module that names no numbering has libsword's first, the KJV's,
    // kept in its folder.
    EXPECT_EQ(r.tables.VerseNumbering->Name(), "KJV");
    EXPECT_EQ(lorvane::testing::ReadFile(fs::path(r.tables.BibleDir) / "data" / "numerotation.txt"),
              "KJV\n");
    EXPECT_EQ(std::string(r.tables.Book(1).Name.view()), "Genèse");  // the French list
    EXPECT_EQ(r.tables.Book(43).ChapterCount, 1);
    EXPECT_EQ(std::string(r.tables.IndexTable[1].Title.view()), "La création");
    ASSERT_GE(r.tables.CrossRefSlotCount(), 1);
    EXPECT_EQ(r.tables.CrossRefTable[1].Book, 43);
    EXPECT_EQ(r.tables.CrossRefTable[1].Target.Book, 1);

    // Other markups through libsword's own filters.
    SwordModuleRecipe thml;
    thml.markup = "ThML";
    thml.verses = {{"Gen.1.1", "Au <i>commencement</i><note>une note</note>."}};
    EXPECT_EQ(VerseText(Import(Zip(thml)).tables, 1, 1, 1), "Au commencement.");
    SwordModuleRecipe gbf;
    gbf.markup = "GBF";
    gbf.verses = {{"Gen.1.1", "Au <FI>commencement<Fi>."}};
    EXPECT_EQ(VerseText(Import(Zip(gbf)).tables, 1, 1, 1), "Au commencement.");
}

TEST_F(SwordImport, TheConfOfAnUnzippedLibraryImports) {
    TempDir library;
    const fs::path conf = lorvane::testing::WriteSwordModule(library.path(), {});
    ImportResult r = Import(conf);
    EXPECT_EQ(r.books, 2);
    EXPECT_EQ(VerseText(r.tables, 1, 1, 2), "La terre était informe et vide.");
}

TEST_F(SwordImport, ModulesThatAreNoReadableBibleAreRefused) {
    SwordModuleRecipe commentary;
    commentary.extraConf = "";
    {
        TempDir library;
        const fs::path conf = lorvane::testing::WriteSwordModule(library.path(), {});
        std::string text = lorvane::testing::ReadFile(conf);
        text.replace(text.find("ModDrv=zText"), 12, "ModDrv=zCom");
        std::ofstream(conf, std::ios::binary) << text;
        EXPECT_EQ(Refusal(conf), "Ce module SWORD est un commentaire, pas une Bible.");
        text.replace(text.find("ModDrv=zCom"), 11, "ModDrv=zText\nCipherKey=abc");
        std::ofstream(conf, std::ios::binary) << text;
        EXPECT_EQ(Refusal(conf),
                  "Ce module SWORD est chiffré : il lui faut la clé de son éditeur.");
        text.replace(text.find("DataPath=./"), 11, "DataPath=../../etc/");
        text.replace(text.find("CipherKey=abc"), 13, "");
        std::ofstream(conf, std::ios::binary) << text;
        EXPECT_EQ(Refusal(conf),
                  "Ce module SWORD est mal formé : ses données seraient hors de son dossier.");
    }
    // An index pointing past its data, and a block that would inflate past
    // the cap.
    for (const char* file : {"nt.czz", "nt.czs"}) {
        TempDir library;
        const fs::path conf = lorvane::testing::WriteSwordModule(library.path(), {});
        const fs::path data = library.path() / "modules/texts/ztext/bibleessai" / file;
        std::string bytes = lorvane::testing::ReadFile(data);
        if (std::string(file) == "nt.czz")
            bytes.resize(bytes.size() / 2);
        else
            bytes.replace(8, 4, "\xFF\xFF\xFF\x7F");  // the first block's inflated size
        std::ofstream(data, std::ios::binary) << bytes;
        EXPECT_EQ(Refusal(conf).rfind("Ce module SWORD est endommagé : ", 0), 0u) << file;
    }
}

TEST_F(SwordImport, LettersOfEveryScriptAreKeptAsWritten) {
    // A psalm's Hebrew letter among a page of French: kept, nothing said.
    SwordModuleRecipe psalm;
    std::string page;
    while (page.size() < 2000)
        page += "Heureux ceux qui sont intègres dans leur voie, qui marchent selon la loi. ";
    psalm.verses = {{"Ps.119.9", "<title>\u05D1 BETH.</title>" + page}};
    ImportResult r = Import(Zip(psalm));
    EXPECT_EQ(std::string(r.tables.IndexTable[1].Title.view()), "\u05D1 BETH.");
    EXPECT_EQ(ImportRemarks(r.report).find("?"), std::string::npos) << ImportRemarks(r.report);

    // A Bible in Cyrillic is read as written, its book list French.
    SwordModuleRecipe russian;
    russian.verses = {{"Gen.1.1", "В начале сотворил Бог небо и землю."},
                      {"John.1.1", "В начале было Слово."}};
    r = Import(Zip(russian));
    EXPECT_EQ(VerseText(r.tables, 43, 1, 1), "В начале было Слово.");
    EXPECT_EQ(std::string(r.tables.Book(43).Name.view()), "Jean");
}

TEST_F(SwordImport, AModuleWhoseTextDoesNotUnpackIsSaidDamaged) {
    for (const char* compression : {"ZIP", "BZIP2", "XZ"}) {
        SCOPED_TRACE(compression);
        SwordModuleRecipe recipe;
        recipe.compression = compression;
        TempDir library;
        lorvane::testing::WriteSwordModule(library.path(), recipe);
        // Bytes flipped near the start of the New Testament's one block
        // (libsword pads what follows its compressed data).
        const fs::path nt = library.path() / "modules/texts/ztext/bibleessai/nt.czz";
        std::string bytes = lorvane::testing::ReadFile(nt);
        for (std::size_t i = 16; i < 20; ++i)
            bytes[i] = static_cast<char>(~bytes[i]);
        std::ofstream(nt, std::ios::binary) << bytes;
        const fs::path zip = source.path() / (std::string(compression) + ".zip");
        lorvane::testing::WriteZip(zip, lorvane::testing::FolderEntries(library.path()));
        EXPECT_EQ(Refusal(zip),
                  "Ce module SWORD est endommagé : le texte de son Nouveau Testament "
                  "(« nt.czz ») ne se décompresse pas.");
    }
}

TEST_F(SwordImport, TheScratchWorkIsInTheCacheAndWhatADeadImportLeftIsCleared) {
    // During the import the work is in the cache folder, named after the
    // program's process; afterwards nothing is left.
    const fs::path zip = Zip({});
    std::vector<std::string> during;
    steps.cancelled = [&] {
        if (during.empty())
            for (const auto& e : fs::directory_iterator(steps.scratch))
                during.push_back(e.path().filename().string());
        return false;
    };
    Import(zip);
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0].rfind("lorvane-import-" + std::to_string(::getpid()) + "-", 0), 0u);
    EXPECT_TRUE(fs::is_empty(steps.scratch));

    // An import killed by its process's end leaves its folder; the next
    // start clears it, not a live import's nor anything else.
    const pid_t dead = ::fork();
    if (dead == 0) _exit(0);
    ::waitpid(dead, nullptr, 0);
    const fs::path left = steps.scratch / ("lorvane-import-" + std::to_string(dead) + "-a1b2c3");
    const fs::path live = steps.scratch / ("lorvane-import-" + std::to_string(::getpid()) + "-x");
    for (const fs::path& p : {left / "lorvane-import-1-y/modules", live, steps.scratch / "autre"})
        fs::create_directories(p);
    std::ofstream(left / "bible.bin") << "à moitié";
    RemoveDeadScratchFolders(steps.scratch);
    EXPECT_FALSE(fs::exists(left));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(steps.scratch / "autre"));
}

TEST_F(SwordImport, AFullDiskSaysSoAndNamesTheCacheFolder) {
    const fs::path zip = Zip({});
    // No file may grow beyond a few bytes, in the helper too.
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tiny = saved;
    tiny.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &tiny);
    const std::string message = Refusal(zip);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(message, "L'espace disque est insuffisant dans le dossier « " +
                           steps.scratch.string() + " » (il faut environ 1 Mo).");
    EXPECT_TRUE(fs::is_directory(steps.scratch));
}

TEST_F(SwordImport, ACancelStopsTheHelperAndLeavesTheBible) {
    const fs::path zip = Zip({});
    const std::string before = lorvane::testing::ReadFile(app.path() / "data" / "bible.dat");
    int asks = 0;
    steps.cancelled = [&] { return ++asks >= 2; };
    EXPECT_THROW(Import(zip), ImportCancelled);
    EXPECT_EQ(lorvane::testing::ReadFile(app.path() / "data" / "bible.dat"), before);
}

TEST_F(SwordImport, TheWorldEnglishBibleOfTheSystemImportsWhole) {
    const fs::path conf = "/usr/share/sword/mods.d/engWEB2015eb.conf";
    if (!fs::exists(conf)) GTEST_SKIP() << "sword-text-web is not installed";
    // Zipped at test time as a SWORD repository gives it.
    lorvane::testing::ZipEntries entries;
    for (const auto& [path, bytes] : lorvane::testing::FolderEntries("/usr/share/sword"))
        if (path.rfind("mods.d/engWEB", 0) == 0 || path.find("/engWEB2015eb/") != std::string::npos)
            entries.push_back({path, bytes});
    const fs::path zip = source.path() / "engWEB2015eb.zip";
    lorvane::testing::WriteZip(zip, entries);
    ImportResult r = Import(zip);
    EXPECT_EQ(ImportHeadline(r),
              "Bible importée depuis un module SWORD (zText, OSIS) : 66 livres importés.");
    EXPECT_EQ(r.name, "World English Bible with Deuterocanon");
    // Its psalms without their titles: the hyssop verse is the Segond's 51:9.
    EXPECT_EQ(r.tables.VerseNumbering->ToSegond(PlaceOf(19, 51, 7)), PlaceOf(19, 51, 9));
    EXPECT_EQ(VerseText(r.tables, 43, 3, 16).substr(0, 20), "For God so loved the");
    EXPECT_NE(ImportRemarks(r.report).find("hors des 66 ignorés : Tobie, Judith"),
              std::string::npos)
        << ImportRemarks(r.report);
}

TEST_F(SwordImport, TheKingJamesOfTheSystemKeepsItsHebrewLetters) {
    const fs::path conf = "/usr/share/sword/mods.d/engKJV2006eb.conf";
    if (!fs::exists(conf)) GTEST_SKIP() << "sword-text-kjv is not installed";
    ImportResult r = Import(conf);
    EXPECT_EQ(r.books, 66);
    // The headings of Psalm 119 keep their Hebrew letters, and nothing is
    // said of them.
    int hebrew = 0;
    for (int s = 1; s <= r.tables.IndexSlotCount() && r.tables.IndexTable[s].Book > 0; ++s)
        hebrew += r.tables.IndexTable[s].Title.view().find("\u05D1") != std::string_view::npos;
    EXPECT_GE(hebrew, 1);
    EXPECT_EQ(ImportRemarks(r.report).find("lettre"), std::string::npos) << ImportRemarks(r.report);
}

TEST_F(SwordImport, TaggedWordsOfAModuleAreKeptWithTheirPlaces) {
    SwordModuleRecipe recipe;
    recipe.verses = {
        {"Gen.1.1",
         "<w lemma=\"strong:H07225\" morph=\"strongMorph:TH8804\">In the beginning</w> "
         "<w lemma=\"strong:H0430\">God</w><note>a note <w lemma=\"strong:H1\">x</w></note> "
         "created"},
        {"John.1.1",
         "<w lemma=\"strong:G1722 lemma.TR:\u03b5\u03bd\" morph=\"robinson:PREP\">In</w> "
         "the <w lemma=\"strong:G3056\" morph=\"robinson:N-NSM\">Word</w>."},
    };
    ImportResult r = Import(Zip(recipe));
    EXPECT_EQ(VerseText(r.tables, 1, 1, 1), "In the beginning God created");
    const words::WordTable table = words::WordTable::Parse(
        lorvane::testing::ReadFile(fs::path(r.tables.BibleDir) / "data" / words::kWordsFile));
    EXPECT_EQ(table.WordCount(), 4u);
    const auto genesis = table.VerseWords(1, 1, 1);
    ASSERT_EQ(genesis.size(), 2u);
    EXPECT_EQ(genesis[0].strongs, "H7225");
    EXPECT_EQ(genesis[0].morph, "strongMorph:TH8804");
    EXPECT_EQ(genesis[0].length, std::string("In the beginning").size());
    EXPECT_EQ(genesis[1].start, 17u);  // "God"
    const auto john = table.VerseWords(43, 1, 1);
    ASSERT_EQ(john.size(), 2u);
    EXPECT_EQ(john[0].lemma, "\u03b5\u03bd");
    EXPECT_EQ(john[1].morph, "robinson:N-NSM");
    EXPECT_EQ(table.Occurrences("G3056").size(), 1u);
}

TEST_F(SwordImport, TheKingJamesOfTheSystemKeepsItsTaggedWords) {
    const fs::path conf = "/usr/share/sword/mods.d/engKJV2006eb.conf";
    if (!fs::exists(conf)) GTEST_SKIP() << "sword-text-kjv is not installed";
    ImportResult r = Import(conf);
    const words::WordTable table = words::WordTable::Parse(
        lorvane::testing::ReadFile(fs::path(r.tables.BibleDir) / "data" / words::kWordsFile));
    EXPECT_EQ(table.SkippedLines(), 0u);
    EXPECT_GE(table.WordCount(), 340000u);
    std::cerr << "KJV tagged words: " << table.WordCount() << "\n";
    EXPECT_GE(table.Occurrences("H0430").size(), 2000u);  // God, 'elohiym
    const auto john = table.VerseWords(43, 1, 1);
    ASSERT_FALSE(john.empty());
    bool word = false;
    for (const auto& w : john)
        word |= w.strongs == "G3056";
    EXPECT_TRUE(word);
}

}  // namespace
}  // namespace lorvane::importer
