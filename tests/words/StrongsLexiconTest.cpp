// The SWORD Strong's lexicons made plain for the dictionary files: entries
// in the shape of the Greek and Hebrew modules cleaned, a lexicon written
// with libsword read with its damaged entries left out, and Debian's own
// two modules converted whole when they are installed.

#include <gtest/gtest.h>
#include <rawld.h>

#include <filesystem>
#include <fstream>

#include "Fixtures.h"
#include "Reasons.h"
#include "StrongsDictionary.h"
#include "StrongsLexicon.h"
#include "SwordLexicon.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using words::StrongsEntry;

TEST(StrongsEntryFromTei, GreekEntry) {
    const auto e = StrongsEntryFromTei(
        R"(<entryFree n="03056">  <orth>λόγος</orth> <orth type="writing">LO/GOS</orth>  )"
        R"(<orth rend="bold" type="trans">lógos</orth>   <pron rend="italic">log'-os</pron><lb/> )"
        R"(<lb/> <def><orig>from <ref target="StrongsGreek:3004">G3004</ref> and )"
        R"(<ref target="StrongsGreek:1">G1</ref>;</orig><lb/> something   said )"
        R"((<foreign xml:lang="la">verbum</foreign>):--account, word. </def> </entryFree>)",
        "G3056");
    ASSERT_TRUE(e);
    EXPECT_EQ(*e, (StrongsEntry{"G3056", "λόγος", "lógos", "log'-os",
                                "from G3004 and G0001; something said (verbum):--account, word."}));
}

TEST(StrongsEntryFromTei, ReferencesTakeTheLetterTheirTextGives) {
    // The Greek lexicon points at Hebrew words with a Greek target.
    const auto e = StrongsEntryFromTei(
        R"(<orth>Ἀαρών</orth><def>of Hebrew origin (<ref target="StrongsGreek:0175">H0175</ref>, )"
        R"(<ref target="StrongsGreek:011">11</ref>, <ref target="StrongsHebrew:433">see</ref>, )"
        R"(<ref target="StrongsGreek:x">G99999</ref>, <ref osisRef="Gen.25.25">Gen 25:25</ref>)</def>)",
        "G0002");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->definition, "of Hebrew origin (H0175, G0011, H0433, G99999, Gen 25:25)");
}

TEST(StrongsEntryFromTei, FormsNamedFurtherOnGoInParentheses) {
    const auto e = StrongsEntryFromTei(
        R"(<entryFree n="02064"> <orth>ἔρχομαι</orth> <orth type="writing">E)/RXOMAI</orth> )"
        R"(<orth rend="bold" type="trans">érchomai</orth> <pron rend="italic">er'-khom-ahee</pron>)"
        R"(<lb/> <def>supplied by a kindred   </def>
 <orth>ἐλεύθομαι</orth> <orth type="writing">E)LEU/QOMAI</orth> <orth rend="bold" )"
        R"(type="trans">eleúthomai</orth>   <pron rend="italic">el-yoo'-thom-ahee</pron><lb/> ,  )"
        R"(or (active) <orth>ἔλθω</orth> <orth rend="bold" type="trans">élthō</orth>, which do )"
        R"(not; <def>to come:--come.</def> </entryFree>)",
        "G2064");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->word, "ἔρχομαι");
    EXPECT_EQ(e->transliteration, "érchomai");
    EXPECT_EQ(e->pronunciation, "er'-khom-ahee");
    EXPECT_EQ(e->definition,
              "supplied by a kindred ἐλεύθομαι (eleúthomai, el-yoo'-thom-ahee), or (active) ἔλθω "
              "(élthō), which do not; to come:--come.");
}

TEST(StrongsEntryFromTei, HebrewEntry) {
    const auto e = StrongsEntryFromTei(
        "<entryFree n=\"2200\"> \t\t<orth>זעק</orth><lb/> \t\t<orth rend=\"bold\" "
        "type=\"trans\">z<hi rend=\"super\">e</hi>‛iq  m<hi rend=\"super\">o</hi></orth> \t\t"
        "<pron rend=\"italic\">(1&amp;2) zeh'-eek</pron><lb/> \t\t<def>(Chaldee); see <ref "
        "target=\"StrongsHebrew:2199\">H2199</ref>; to <hi rend=\"italic\">make an</hi> <hi "
        "rend=\"bold\">outcry:</hi> - {cry} X {(very)} great.</def> \t</entryFree>",
        "H2200");
    ASSERT_TRUE(e);
    EXPECT_EQ(*e, (StrongsEntry{"H2200", "זעק", "zᵉ‛iq mᵒ", "(1&2) zeh'-eek",
                                "(Chaldee); see H2199; to make an outcry: - cry X (very) great."}));
}

TEST(StrongsEntryFromTei, AnEntryThatDoesNotReadIsLeftOut) {
    EXPECT_FALSE(StrongsEntryFromTei("<orth>λόγος</orth><def>said</orth>", "G3056"));
    EXPECT_FALSE(StrongsEntryFromTei("<orth>λόγος</orth><def>a &nbsp; b</def>", "G3056"));
    EXPECT_FALSE(StrongsEntryFromTei("</entry><entry>", "G3056"));
    EXPECT_FALSE(StrongsEntryFromTei("  <lb/> ", "G3056"));
    EXPECT_FALSE(StrongsEntryFromTei("<orth>λόγος</orth>", ""));
    // Text without markup is a definition.
    const auto plain = StrongsEntryFromTei("  , said; spoken  ", "G3056");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->word, "");
    EXPECT_EQ(plain->definition, "said; spoken");
}

// A lexicon written by libsword in a library of the test's own.
fs::path WriteLexicon(const fs::path& root, const std::string& feature,
                      const std::vector<std::pair<std::string, std::string>>& entries) {
    const fs::path data = root / "modules/lexdict/rawld/essai";
    fs::create_directories(data);
    fs::create_directories(root / "mods.d");
    std::ofstream(root / "mods.d/essai.conf")
        << "[LexiqueEssai]\nDataPath=./modules/lexdict/rawld/essai/dict\nModDrv=RawLD\n"
        << (feature.empty() ? "" : "Feature=" + feature + "\n")
        << "Encoding=UTF-8\nSourceType=TEI\nVersion=1.2\nDescription=Lexique d'essai\n"
           "DistributionLicense=Public Domain\n";
    const std::string path = (data / "dict").string();
    // An empty lexicon is its two empty files (libsword's own createModule
    // leaks the name it builds).
    std::ofstream(path + ".dat", std::ios::binary);
    std::ofstream(path + ".idx", std::ios::binary);
    sword::RawLD module(path.c_str());
    for (const auto& [key, text] : entries) {
        module.setKeyText(key.c_str());
        module.setEntry(text.c_str());
    }
    return root;
}

TEST(SwordLexicon, ReadsEveryEntryAndLeavesOutTheDamagedOnes) {
    lorvane::testing::TempDir library;
    WriteLexicon(library.path(), "HebrewDef",
                 {{"430", "<orth>אלהים</orth><def>gods</def>"},
                  {"01254", "<orth>בּרא</orth><def>to create</def>"},
                  {"0026", "<orth>אהבה</orth><def>love</orth>"},
                  {"Préface", "<def>about the work</def>"},
                  {"99999", "<orth>x</orth>"}});
    Report report;
    const StrongsLexicon lexicon =
        ImportStrongsLexiconLibrary(library.path(), "LexiqueEssai", report);
    EXPECT_EQ(lexicon.language, 'H');
    ASSERT_EQ(lexicon.entries.size(), 2u);
    EXPECT_EQ(lexicon.entries[0].number, "H0430");
    EXPECT_EQ(lexicon.entries[1].number, "H1254");
    EXPECT_EQ(lexicon.leftOut, 3);
    EXPECT_EQ(report.Count("entries whose markup does not read, left out"), 1);
    EXPECT_EQ(report.Count("keys that are not Strong's numbers, left out"), 2);

    const words::StrongsDictionary d = words::StrongsDictionary::Parse(StrongsFileOf(lexicon));
    EXPECT_EQ(d.Size(), 2u);
    EXPECT_EQ(d.Lookup("H1254a")->definition, "to create");
    EXPECT_NE(StrongsFileOf(lexicon).find("# Lexique d'essai (LexiqueEssai 1.2), Public Domain\n"),
              std::string::npos);
}

TEST(SwordLexicon, RefusesWhatIsNotAStrongsLexicon) {
    lorvane::testing::TempDir library;
    WriteLexicon(library.path(), "", {{"430", "<orth>אלהים</orth><def>gods</def>"}});
    Report report;
    EXPECT_THROW(ImportStrongsLexiconLibrary(library.path(), "LexiqueEssai", report), ImportError);
    EXPECT_THROW(ImportStrongsLexiconLibrary(library.path(), "Absent", report), ImportError);

    lorvane::testing::TempDir unread;
    WriteLexicon(unread.path(), "GreekDef", {{"3056", "<orth>λόγος</def>"}});
    try {
        ImportStrongsLexiconLibrary(unread.path(), "LexiqueEssai", report);
        ADD_FAILURE() << "a lexicon without an entry that reads was read";
    } catch (const ImportError& e) {
        EXPECT_NE(std::string(e.what()).find("aucune entrée lisible"), std::string::npos);
    }
}

TEST(SwordLexicon, DebiansModulesConvertWhole) {
    const fs::path debian = "/usr/share/sword";
    if (!fs::exists(debian / "mods.d/strongsgreek.conf") ||
        !fs::exists(debian / "mods.d/strongshebrew.conf"))
        GTEST_SKIP() << "sword-dict-strongs-greek and sword-dict-strongs-hebrew";
    Report report;
    const StrongsLexicon greek = ImportStrongsLexiconLibrary(debian, "StrongsGreek", report);
    const StrongsLexicon hebrew = ImportStrongsLexiconLibrary(debian, "StrongsHebrew", report);
    EXPECT_EQ(greek.entries.size(), 5624u);
    EXPECT_EQ(hebrew.entries.size(), 8674u);
    EXPECT_EQ(greek.leftOut + hebrew.leftOut, 0);

    const words::StrongsDictionary g = words::StrongsDictionary::Parse(StrongsFileOf(greek));
    const words::StrongsDictionary h = words::StrongsDictionary::Parse(StrongsFileOf(hebrew));
    EXPECT_EQ(g.SkippedLines() + h.SkippedLines(), 0u);
    const auto logos = g.Lookup("G3056");
    ASSERT_TRUE(logos);
    EXPECT_EQ(logos->word, "λόγος");
    EXPECT_EQ(logos->transliteration, "lógos");
    EXPECT_EQ(logos->pronunciation, "log'-os");
    EXPECT_EQ(logos->definition.rfind("from G3004; something said", 0), 0u) << logos->definition;
    // The Hebrew module writes its headwords without vowel points.
    const auto elohim = h.Lookup("H430");
    ASSERT_TRUE(elohim);
    EXPECT_EQ(elohim->word, "אלהים");
    EXPECT_EQ(elohim->transliteration, "'ĕlôhîym");
    EXPECT_EQ(elohim->definition.rfind("Plural of H0433; gods in the ordinary sense", 0), 0u)
        << elohim->definition;
    EXPECT_EQ(h.Lookup("H1254a")->word, "בּרא");
    // No markup and no Beta Code is left in any entry.
    for (const auto* lexicon : {&greek, &hebrew})
        for (const StrongsEntry& e : lexicon->entries)
            for (const std::string* field : {&e.word, &e.transliteration, &e.definition})
                EXPECT_EQ(field->find_first_of("<>{}"), std::string::npos) << e.number << *field;
}

}  // namespace
}  // namespace lorvane::importer
