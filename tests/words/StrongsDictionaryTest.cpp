// The Strong's dictionaries beside the program: an entry found however the
// number is written, the number's own entry for a sense it lacks, damaged
// lines and files read as far as they go, and the two files loaded from the
// program's folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Fixtures.h"
#include "StrongsDictionary.h"

namespace lorvane::words {
namespace {

namespace fs = std::filesystem;

const StrongsEntry kLogos{"G3056", "λόγος", "lógos", "log'-os", "from G3004; something said"};
const StrongsEntry kAgape{"G0026", "ἀγάπη", "agápē", "ag-ah'-pay", "from G0025; love"};
const StrongsEntry kElohim{"H0430", "אלהים", "'ĕlôhîym", "el-o-heem'", "Plural of H0433; gods"};
const StrongsEntry kBara{"H1254", "בּרא", "bârâ'", "baw-raw'", "A primitive root; to create"};

std::string File(const std::vector<StrongsEntry>& entries) {
    return FormatStrongsFile(entries, {"a test dictionary"});
}

TEST(StrongsDictionary, FindsAnEntryHoweverItsNumberIsWritten) {
    const StrongsDictionary d = StrongsDictionary::Parse(File({kLogos, kAgape, kElohim, kBara}));
    EXPECT_EQ(d.Size(), 4u);
    EXPECT_EQ(d.SkippedLines(), 0u);
    for (const char* spelling : {"G3056", "g3056", "G03056", " G3056 ", "strong:G3056"})
        EXPECT_EQ(d.Lookup(spelling), kLogos) << spelling;
    for (const char* spelling : {"G26", "g0026", "G026", "Strong:g26"})
        EXPECT_EQ(d.Lookup(spelling), kAgape) << spelling;
    for (const char* spelling : {"H430", "h0430", "strong:H430"})
        EXPECT_EQ(d.Lookup(spelling), kElohim) << spelling;
    // A number without its language, of the other language, or outside
    // the dictionary finds nothing.
    for (const char* spelling :
         {"3056", "H3056", "G430", "G9999", "G0", "", "G", "λόγος", "G3056x"})
        EXPECT_FALSE(d.Lookup(spelling)) << spelling;
}

TEST(StrongsDictionary, ASenseItLacksGivesTheNumbersOwnEntry) {
    StrongsEntry senseB = kBara;
    senseB.number = "H1254b";
    senseB.definition = "to cut down";
    const StrongsDictionary d = StrongsDictionary::Parse(File({kBara, senseB}));
    EXPECT_EQ(d.Lookup("H1254a"), kBara);
    EXPECT_EQ(d.Lookup("H1254 a"), kBara);
    EXPECT_EQ(d.Lookup("H1254b"), senseB);
    EXPECT_EQ(d.Lookup("h1254 b")->definition, "to cut down");
    EXPECT_EQ(d.Lookup("H1254"), kBara);
    // A Greek number has no sense letter.
    EXPECT_FALSE(StrongsDictionary::Parse(File({kLogos})).Lookup("G3056a"));
}

TEST(StrongsDictionary, SkipsDamagedLinesAndKeepsTheFirstOfTwo) {
    std::string file = File({kLogos});
    file += "\n";                                            // empty
    file += "# a comment\tG0026\t\t\t\t\n";                  // a comment
    file += "G0026\tἀγάπη\tagápē\tag-ah'-pay\n";             // four fields
    file += "G0026\ta\tb\tc\td\te\n";                        // six fields
    file += "G26\ta\tb\tc\td\n";                             // not the one form
    file += "G9999\ta\tb\tc\td\n";                           // outside the dictionary
    file += "3056\ta\tb\tc\td\n";                            // no language
    file += "G3056\tother\tb\tc\tlater line\n";              // a second G3056
    file += "H0430\tאלהים\t'ĕlôhîym\tel-o-heem'\tgods\r\n";  // written on Windows
    file += "G0025\tἀγαπάω\tagapáō\tag-ap-ah'-o\tto love";   // no final line end
    const StrongsDictionary d = StrongsDictionary::Parse(file);
    EXPECT_EQ(d.SkippedLines(), 5u);
    EXPECT_EQ(d.Size(), 3u);
    EXPECT_EQ(d.Lookup("G3056"), kLogos);
    EXPECT_FALSE(d.Lookup("G26"));
    EXPECT_EQ(d.Lookup("H430")->definition, "gods");
    EXPECT_EQ(d.Lookup("G25")->definition, "to love");
}

TEST(StrongsDictionary, AFileOfAnotherKindIsEmpty) {
    for (const std::string& bytes :
         {std::string(), std::string("lorvane-strongs 1"), std::string("lorvane-strongs 2\n"),
          std::string("lorvane-mots 1\nG3056\ta\tb\tc\td\n"),
          std::string("\xEF\xBB\xBFlorvane-strongs 1\nG3056\ta\tb\tc\td\n")}) {
        const StrongsDictionary d = StrongsDictionary::Parse(bytes);
        EXPECT_TRUE(d.Empty());
        EXPECT_FALSE(d.Lookup("G3056"));
    }
    EXPECT_FALSE(StrongsDictionary().Lookup("G3056"));
}

TEST(StrongsDictionary, CutsAHugeFieldAtALetterAndRepairsBytes) {
    StrongsEntry huge = kLogos;
    huge.definition.clear();
    while (huge.definition.size() < 100000)
        huge.definition += "λόγος ";
    huge.word = std::string(1000, 'x');
    const StrongsDictionary d = StrongsDictionary::Parse(File({huge}));
    const std::optional<StrongsEntry> e = d.Lookup("G3056");
    ASSERT_TRUE(e);
    const std::string ellipsis = "\xE2\x80\xA6";
    EXPECT_LE(e->definition.size(), kMaxDefinition + ellipsis.size());
    EXPECT_GT(e->definition.size(), kMaxDefinition - 8);
    EXPECT_EQ(e->definition.substr(e->definition.size() - ellipsis.size()), ellipsis);
    // Cut between two letters: the text before the mark is the entry's own.
    const std::string kept = e->definition.substr(0, e->definition.size() - ellipsis.size());
    EXPECT_EQ(huge.definition.compare(0, kept.size(), kept), 0);
    EXPECT_EQ(e->word, std::string(kMaxShortField, 'x') + ellipsis);

    // Bytes that are not UTF-8 (a damaged file) come out as U+FFFD.
    const StrongsDictionary bad = StrongsDictionary::Parse(
        "lorvane-strongs 1\nG3056\t\xCE\tlo\xFFgos\tlog'-os\tsaid\xE2\x80\n");
    ASSERT_TRUE(bad.Lookup("G3056"));
    EXPECT_EQ(bad.Lookup("G3056")->word, "\xEF\xBF\xBD");
    EXPECT_EQ(bad.Lookup("G3056")->transliteration, "lo\xEF\xBF\xBDgos");
    EXPECT_EQ(bad.Lookup("G3056")->definition, "said\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(StrongsDictionary, WritesFieldsOnOneLineAndNumbersInTheOneForm) {
    StrongsEntry odd = kLogos;
    odd.definition = "from G3004;\tsomething\nsaid\r";
    StrongsEntry unnumbered = kAgape;
    unnumbered.number = "G26";
    const std::string file = FormatStrongsFile({odd, unnumbered}, {"two\nlines"});
    EXPECT_EQ(file,
              "lorvane-strongs 1\n# two lines\nG3056\tλόγος\tlógos\tlog'-os\tfrom G3004; "
              "something said \n");
    EXPECT_EQ(StrongsDictionary::Parse(file).Lookup("G3056")->definition,
              "from G3004; something said ");
}

TEST(StrongsDictionaries, LoadsBothFilesFromTheProgramsFolder) {
    lorvane::testing::TempDir program;
    StrongsDictionaries none = LoadStrongsDictionaries(program.path().string());
    EXPECT_TRUE(none.greek.Empty());
    EXPECT_NE(none.greekProblem.find("Le dictionnaire grec de Strong n'est pas installé"),
              std::string::npos)
        << none.greekProblem;
    EXPECT_NE(none.hebrewProblem.find("hébreu"), std::string::npos);
    EXPECT_FALSE(none.Lookup("G3056"));

    const fs::path folder = program.path() / std::string(kStrongsFolder);
    fs::create_directories(folder);
    std::ofstream(folder / std::string(kStrongsGreekFile)) << File({kLogos});
    std::ofstream(folder / std::string(kStrongsHebrewFile)) << "not a dictionary\n";
    StrongsDictionaries some = LoadStrongsDictionaries(program.path().string());
    EXPECT_EQ(some.greekProblem, "");
    EXPECT_EQ(some.Lookup("g3056"), kLogos);
    EXPECT_FALSE(some.Lookup("H430"));
    EXPECT_NE(some.hebrewProblem.find("endommagé"), std::string::npos) << some.hebrewProblem;

    // A folder where the file should be: a reason, not a crash.
    fs::remove(folder / std::string(kStrongsHebrewFile));
    fs::create_directories(folder / std::string(kStrongsHebrewFile));
    std::ofstream(folder / std::string(kStrongsGreekFile)) << File({kAgape});
    StrongsDictionaries odd = LoadStrongsDictionaries(program.path().string());
    EXPECT_FALSE(odd.hebrewProblem.empty());
    EXPECT_EQ(odd.Lookup("G26"), kAgape);
    EXPECT_FALSE(odd.Lookup("G3056"));
}

}  // namespace
}  // namespace lorvane::words
