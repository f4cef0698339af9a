// The Greek New Testament of the Byzantine text: its CSV files read, its
// words aligned with their parsing and tagged, the passages printed apart
// put in their places; and the data folders lorvane-data builds from it and
// from the Hebrew books.

#include <gtest/gtest.h>

#include <fstream>

#include "ByzantineText.h"
#include "DataFolder.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "Reasons.h"
#include "UsfmSource.h"
#include "WordTable.h"
#include "WordTags.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using lorvane::testing::TempDir;

const fs::path kGreek = fs::path(LORVANE_ORIGINALS_DIR) / "greek-byzantine";

void Write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

const dw::VerseEntry* Verse(const BibleData& bible, int book, int chapter, int verse) {
    for (const dw::VerseEntry& v : bible.verses)
        if (v.book == book && v.chapter == chapter && v.verse == verse) return &v;
    return nullptr;
}

// The text of a verse, "(absent)" when the Bible lacks it.
std::string Text(const BibleData& bible, int book, int chapter, int verse) {
    const dw::VerseEntry* v = Verse(bible, book, chapter, verse);
    return v ? v->text : "(absent)";
}

// The tagged words of a verse as "word strongs morph", in order.
std::vector<std::string> Tagged(const BibleData& bible, int book, int chapter, int verse) {
    std::vector<std::string> out;
    const dw::VerseEntry* v = Verse(bible, book, chapter, verse);
    for (const words::VerseWords& w : bible.words)
        if (v && w.book == book && w.chapter == chapter && w.verse == verse)
            for (const words::WordTag& t : w.tags)
                out.push_back(v->text.substr(t.start, t.length) + " " + t.strongs + " " + t.morph);
    return out;
}

TEST(Csv, ReadsQuotedFieldsCommasDoubledQuotesAndLineEnds) {
    const auto records = ReadCsv(
        "\xEF\xBB\xBF"
        "chapter,verse,text\r\n"
        "1,1,\"Ἐν ἀρχῇ, \"\"dit-il\"\", ἦν\"\r\n"
        "\n"
        "1,2,\"sur deux\nlignes\"\n"
        "1,3,sans guillemets\n"
        "1,4,",
        "JOH.csv");
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0].fields, (std::vector<std::string>{"chapter", "verse", "text"}));
    EXPECT_EQ(records[1].fields[2], "Ἐν ἀρχῇ, \"dit-il\", ἦν");
    EXPECT_EQ(records[2].fields[2], "sur deux\nlignes");
    EXPECT_EQ(records[2].line, 4);
    EXPECT_EQ(records[3].line, 6);
    EXPECT_EQ(records[3].fields[2], "sans guillemets");
    EXPECT_EQ(records[4].fields, (std::vector<std::string>{"1", "4", ""}));
}

TEST(Csv, RefusesAQuoteLeftOpenNamingTheFileAndLine) {
    try {
        ReadCsv("chapter,verse,text\n1,1,ok\n1,2,\"jamais refermé\n1,3,x\n", "ROM.csv");
        FAIL() << "no error";
    } catch (const ImportError& e) {
        EXPECT_NE(std::string(e.what()).find("« ROM.csv » est endommagé (ligne 3)"),
                  std::string::npos)
            << e.what();
    }
}

TEST(ParsedWords, KeepEveryNumberAndTheFirstOfTwoParsings) {
    const auto words = ReadParsedWords(
        "και 2532 5037 {CONJ} ω 3739 {R-DSM} 3739 {R-DSN} λογος 99999 {N-NSM} τις {X-NSM");
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0].strongs, "G2532 G5037");
    EXPECT_EQ(words[0].morph, "robinson:CONJ");
    EXPECT_EQ(words[1].strongs, "G3739");
    EXPECT_EQ(words[1].morph, "robinson:R-DSM");
    EXPECT_EQ(words[1].parsings, 2);
    EXPECT_EQ(words[2].strongs, "");  // past the dictionary
    EXPECT_EQ(words[2].morph, "robinson:N-NSM");
    EXPECT_EQ(words[3].morph, "robinson:X-NSM");
}

TEST(FoldGreek, LeavesTheBareLowerCaseLetters) {
    EXPECT_EQ(FoldGreek("Ἐν"), "εν");
    EXPECT_EQ(FoldGreek("ἀρχῇ"), "αρχη");
    EXPECT_EQ(FoldGreek("λόγος,"), "λογοσ");
    EXPECT_EQ(FoldGreek("λογος"), "λογοσ");
    EXPECT_EQ(FoldGreek("παρ’"), "παρ");
    EXPECT_EQ(FoldGreek("Ἰησοῦς·"), "ιησουσ");
    EXPECT_EQ(FoldGreek("ΛΌΓΟΣ"), "λογοσ");
    EXPECT_EQ(FoldGreek("Amen1"), "amen");
}

TEST(AlignFolded, SkipsAWordEitherSideLacks) {
    EXPECT_EQ(AlignFolded({"a", "b", "c"}, {"a", "b", "c"}), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(AlignFolded({"a", "x", "b", "c"}, {"a", "b", "y", "c"}),
              (std::vector<int>{0, -1, 1, 3}));
    EXPECT_EQ(AlignFolded({"a", "b"}, {}), (std::vector<int>{-1, -1}));
}

// A small Byzantine folder: John with a word the parsing lacks, a parsing
// word the text lacks, the pericope printed apart for verses John lacks,
// and Acts with its passage printed apart.
struct SmallGreek {
    SmallGreek() {
        const fs::path root = dir.path();
        Write(root / "accented/JOH.csv",
              "chapter,verse,text\n"
              "1,1,\"¶Ἐν ἀρχῇ ἦν ὁ λόγος, καὶ ὁ λόγος ἦν.\"\n"
              "1,2,\"Οὗτος ἦν ΠΑΡΑΣΙΤΟΣ ἐν ἀρχῇ.\"\n"
              "7,52,Ἀπεκρίθησαν.\n"
              "8,12,Πάλιν οὖν.\n");
        Write(root / "strongs-parsing/JOH.csv",
              "chapter,verse,text\n"
              "1,1,εν 1722 {PREP} αρχη 746 {N-DSF} ην 1510 {V-IAI-3S} ο 3588 {T-NSM} "
              "λογος 3056 {N-NSM} και 2532 {CONJ} ο 3588 {T-NSM} λογος 3056 {N-NSM} "
              "ην 1510 {V-IAI-3S}\n"
              "1,2,ουτος 3778 {D-NSM} ην 1510 {V-IAI-3S} εν 1722 {PREP} δε 1161 {CONJ} "
              "αρχη 746 {N-DSF}\n"
              "7,52,απεκριθησαν 611 {V-ADI-3P}\n"
              "8,12,παλιν 3825 {ADV} ουν 3767 {CONJ}\n");
        Write(root / "accented/PA.csv",
              "chapter,verse,text\n"
              "7,53,Καὶ ἀπῆλθεν ἕκαστος.\n"
              "8,1,καὶ ὁ Ἰησοῦς ἐπορεύθη.\n"
              "8,12,Πάλιν οὖν.\n");
        Write(root / "accented/ACT.csv",
              "chapter,verse,text\n"
              "24,6,ὃς καὶ ἐπείρασεν·\n"
              "24,8,παρ’ οὗ δυνήσῃ.\n");
        Write(root / "strongs-parsing/ACT.csv",
              "chapter,verse,text\n"
              "24,6,ος 3739 {R-NSM} και 2532 {CONJ} επειρασεν 3985 {V-AAI-3S}\n"
              "24,8,παρ 3844 {PREP} ου 3739 {R-GSM} δυνηση 1410 {V-FDI-2S}\n");
        Write(root / "accented/ACT24.csv",
              "chapter,verse,text\n"
              "24,6,ὃς καὶ ἐπείρασεν· καὶ ἠθελήσαμεν κρῖναι.\n"
              "24,7,\"Παρελθὼν δὲ Λυσίας,\"\n"
              "24,8,κελεύσας ἔρχεσθαι παρ’ οὗ δυνήσῃ.\n");
    }
    TempDir dir;
};

TEST(ByzantineText, CountsTheWordsThatDoNotAlignAndTagsTheOthers) {
    SmallGreek greek;
    Report report;
    const ByzantineText text = ReadByzantineText(greek.dir.path(), report);
    ASSERT_EQ(text.books.size(), 2u);
    EXPECT_EQ(text.missing.size(), 25u);
    const GreekWordCount& john = text.books[0];
    EXPECT_EQ(john.code, "JOH");
    EXPECT_EQ(john.notAligned, 1);   // ΠΑΡΑΣΙΤΟΣ
    EXPECT_EQ(john.entriesLeft, 1);  // δε
    EXPECT_EQ(john.apart, 7);        // the pericope's two verses
    EXPECT_EQ(john.words, 9 + 5 + 1 + 2 + 7);
    EXPECT_EQ(john.tagged, john.words - john.notAligned - john.apart);
    EXPECT_EQ(report.Count(kGreekNotAligned), 1);
    EXPECT_EQ(report.Count(kGreekEntriesLeft), 1);
    EXPECT_NE(report.Examples(kGreekNotAligned).front().find("JHN 1:2 « ΠΑΡΑΣΙΤΟΣ »"),
              std::string::npos);

    const BibleData& bible = text.bible;
    EXPECT_EQ(bible.books.size(), 66u);
    EXPECT_EQ(bible.books[42].name, "Jean");
    EXPECT_EQ(bible.books[42].chapterCount, 8);
    EXPECT_EQ(bible.books[0].chapterCount, 0);
    EXPECT_EQ(bible.numbering, "KJV");
    EXPECT_EQ(Text(bible, 43, 1, 1), "Ἐν ἀρχῇ ἦν ὁ λόγος, καὶ ὁ λόγος ἦν.");
    EXPECT_EQ(Tagged(bible, 43, 1, 2),
              (std::vector<std::string>{"Οὗτος G3778 robinson:D-NSM", "ἦν G1510 robinson:V-IAI-3S",
                                        "ἐν G1722 robinson:PREP", "ἀρχῇ G0746 robinson:N-DSF"}));
    // The pericope fills the verses John lacks, and only those.
    EXPECT_EQ(Text(bible, 43, 7, 53), "Καὶ ἀπῆλθεν ἕκαστος.");
    EXPECT_TRUE(Tagged(bible, 43, 7, 53).empty());
    EXPECT_EQ(Text(bible, 43, 8, 12), "Πάλιν οὖν.");
    EXPECT_EQ(Tagged(bible, 43, 8, 12).size(), 2u);
}

TEST(ByzantineText, PutsActs24InItsPlaceWithTheParsingOfWhatTheVersesHad) {
    SmallGreek greek;
    Report report;
    const ByzantineText text = ReadByzantineText(greek.dir.path(), report);
    const BibleData& bible = text.bible;
    EXPECT_EQ(Text(bible, 44, 24, 6), "ὃς καὶ ἐπείρασεν· καὶ ἠθελήσαμεν κρῖναι.");
    EXPECT_EQ(Text(bible, 44, 24, 7), "Παρελθὼν δὲ Λυσίας,");
    EXPECT_EQ(Text(bible, 44, 24, 8), "κελεύσας ἔρχεσθαι παρ' οὗ δυνήσῃ.");
    EXPECT_EQ(Tagged(bible, 44, 24, 6).size(), 3u);
    EXPECT_EQ(Tagged(bible, 44, 24, 8),
              (std::vector<std::string>{"παρ' G3844 robinson:PREP", "οὗ G3739 robinson:R-GSM",
                                        "δυνήσῃ G1410 robinson:V-FDI-2S"}));
    EXPECT_EQ(text.books[1].apart, 3 + 3 + 2);
    EXPECT_EQ(text.books[1].notAligned, 0);
}

TEST(ByzantineText, LeavesOutRowsThatAreNoVerseAndRefusesAFolderWithoutBooks) {
    TempDir dir;
    Write(dir.path() / "accented/MAT.csv",
          "chapter,verse,text\n1,1,Βίβλος γενέσεως.\n0,2,zéro\nx,3,pas un nombre\n1,4\n"
          "1,1,deux fois\n");
    Report report;
    const ByzantineText text = ReadByzantineText(dir.path(), report);
    EXPECT_EQ(text.bible.verses.size(), 1u);
    EXPECT_EQ(report.Count("rows of the Greek files that are no verse, left out"), 3);
    EXPECT_EQ(report.Count("verses of the Greek files given twice, the first kept"), 1);
    EXPECT_EQ(text.books[0].notAligned, 2);  // no parsing at all

    TempDir empty;
    Report none;
    EXPECT_THROW(ReadByzantineText(empty.path(), none), ImportError);
}

// The texts beside the project, when they are there: every word aligns.
TEST(ByzantineText, AlignsEveryWordOfTheRealText) {
    if (!fs::exists(kGreek / "accented" / "MAT.csv")) GTEST_SKIP() << kGreek << " is missing";
    Report report;
    const ByzantineText text = ReadByzantineText(kGreek, report);
    EXPECT_TRUE(text.missing.empty());
    ASSERT_EQ(text.books.size(), 27u);
    for (const GreekWordCount& book : text.books) {
        EXPECT_EQ(book.notAligned, 0) << book.code;
        EXPECT_EQ(book.entriesLeft, 0) << book.code;
        EXPECT_EQ(book.apart, book.code == "ACT" ? 26 : 0) << book.code;
    }
    EXPECT_EQ(text.all.words, 140175);
    EXPECT_EQ(text.all.tagged, 140149);
    EXPECT_FALSE(report.HasErrors());

    const BibleData& bible = text.bible;
    const auto john1 = Tagged(bible, 43, 1, 1);
    ASSERT_EQ(john1.size(), 17u);
    EXPECT_EQ(john1[4], "λόγος G3056 robinson:N-NSM");
    // The pericope of the adulteress, in John as the edition prints it.
    EXPECT_EQ(Text(bible, 43, 7, 53), "Καὶ ἐπορεύθη ἕκαστος εἰς τὸν οἶκον αὐτοῦ·");
    EXPECT_NE(Text(bible, 43, 8, 11).find("πορεύου καὶ μηκέτι ἁμάρτανε."), std::string::npos);
    EXPECT_EQ(Tagged(bible, 43, 8, 11).size(), 17u);
    // Actes 24:6b-8a.
    EXPECT_EQ(Text(bible, 44, 24, 7).rfind("Παρελθὼν δὲ Λυσίας", 0), 0u);
    EXPECT_NE(Text(bible, 44, 24, 6).find("ἐκρατήσαμεν· καὶ κατὰ τὸν ἡμέτερον νόμον"),
              std::string::npos);
    EXPECT_EQ(Text(bible, 44, 24, 8).rfind("κελεύσας τοὺς κατηγόρους", 0), 0u);
    EXPECT_EQ(Tagged(bible, 44, 24, 8).front(), "παρ' G3844 robinson:PREP");
    EXPECT_EQ(bible.verses.size(), 7954u);
}

// lorvane-data's two modes: each a whole data folder with its names.
TEST(BuildDataSet, WritesTheGreekAndTheHebrewDataFolders) {
    SmallGreek greek;
    TempDir out;
    BuildOptions options;
    options.source = BuildOptions::Source::Greek;
    options.from = greek.dir.path().string();
    Report refused;
    EXPECT_FALSE(BuildDataSet(options, out.path() / "grc/data", refused));  // books missing
    EXPECT_FALSE(fs::exists(out.path() / "grc/data"));

    options.partial = true;
    Report report;
    ASSERT_TRUE(BuildDataSet(options, out.path() / "grc/data", report));
    EXPECT_EQ(lorvane::testing::ReadFile(out.path() / "grc/data/nom.txt"),
              std::string(kGreekBibleName) + "\n");
    EXPECT_EQ(lorvane::testing::ReadFile(out.path() / "grc/data/sigle.txt"), "RP2018\n");
    EXPECT_EQ(lorvane::testing::ReadFile(out.path() / "grc/data/numerotation.txt"), "KJV\n");
    EXPECT_NE(lorvane::testing::ReadFile(out.path() / "grc/data/mots.txt")
                  .find("43\t1\t1\t27\t10\tG3056\trobinson:N-NSM\t\n"),
              std::string::npos);
    // Built again over itself, its words file and all.
    Report again;
    EXPECT_TRUE(BuildDataSet(options, out.path() / "grc/data", again));

    // Two OSIS books in a folder, beside an XML file of no Bible.
    TempDir hebrew;
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<osis xmlns=\"http://www.bibletechnologies.net/2003/OSIS/namespace\"><osisText>";
    Write(hebrew.path() / "Gen.xml",
          head +
              "<div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\">"
              "<verse osisID=\"Gen.1.1\">בְּרֵאשִׁ֖ית בָּרָ֣א</verse></chapter></div>"
              "</osisText></osis>");
    Write(hebrew.path() / "Mal.xml",
          head +
              "<div type=\"book\" osisID=\"Mal\"><chapter osisID=\"Mal.3\">"
              "<verse osisID=\"Mal.3.24\">וְהֵשִׁ֤יב</verse></chapter></div>"
              "</osisText></osis>");
    Write(hebrew.path() / "VerseMap.xml", "<?xml version=\"1.0\"?><verseMap/>");
    EXPECT_EQ(ReadUsfmSource(hebrew.path()).size(), 2u);
    options.source = BuildOptions::Source::Hebrew;
    options.from = hebrew.path().string();
    Report hebrewReport;
    ASSERT_TRUE(BuildDataSet(options, out.path() / "hbo/data", hebrewReport));
    EXPECT_EQ(lorvane::testing::ReadFile(out.path() / "hbo/data/numerotation.txt"), "Leningrad\n");
    EXPECT_EQ(lorvane::testing::ReadFile(out.path() / "hbo/data/sigle.txt"), "WLC\n");
    EXPECT_EQ(lorvane::testing::ReadFile(out.path() / "hbo/data/nom.txt"),
              std::string(kHebrewBibleName) + "\n");
    // The reading program loads both.
    for (const char* id : {"grc/", "hbo/"}) {
        Communs tables((out.path() / id).string(), (out.path() / id).string());
        EXPECT_NO_THROW(LoadAllTables(tables)) << id;
    }
    options.partial = false;
    Report missing;
    EXPECT_FALSE(BuildDataSet(options, out.path() / "hbo2/data", missing));
}

// The Hebrew of the originals as the program reads it: its verses paired
// with the Segond's through the Leningrad numbering (Malachie 3:19 is the
// Segond's 4:1; a Psalm's title is verse 1 in both), its words tagged.
TEST(HebrewOriginal, ItsVersesPairWithTheSegondsAndItsWordsAreTagged) {
    const fs::path wlc = fs::path(LORVANE_ORIGINALS_DIR) / "hebrew-wlc";
    if (!fs::exists(wlc / "Mal.xml")) GTEST_SKIP() << "the originals are not on this machine";
    TempDir out;
    BuildOptions options;
    options.source = BuildOptions::Source::Hebrew;
    options.from = wlc.string();
    options.partial = true;
    Report report;
    ASSERT_TRUE(BuildDataSet(options, out.path() / "data", report));
    Communs tables(out.appDir(), out.appDir());
    LoadAllTables(tables);
    const Numbering& hebrew = *tables.VerseNumbering;
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(39, 3, 19)), PlaceOf(39, 4, 1));
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(39, 3, 24)), PlaceOf(39, 4, 6));
    EXPECT_EQ(tables.Book(39).ChapterCount, 3);
    // Psalm 51: its title is verse 1 and the hyssop verse 9, as in the Segond.
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(19, 51, 1)), PlaceOf(19, 51, 1));
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(19, 51, 9)), PlaceOf(19, 51, 9));
    const std::string_view mal319 = tables.VerseTable[tables.VerseLookup(39, 3, 19)].Text;
    EXPECT_EQ(mal319.find('/'), std::string_view::npos);  // no word divisions shown
    // Genèse 1:1: its third word is אֱלֹהִים, H0430.
    const words::WordTable words = words::WordTable::Parse(
        lorvane::testing::ReadFile(out.path() / "data" / words::kWordsFile));
    const auto genesis = words.VerseWords(1, 1, 1);
    ASSERT_GE(genesis.size(), 3u);
    const std::string_view text = tables.VerseTable[tables.VerseLookup(1, 1, 1)].Text;
    EXPECT_EQ(text.substr(genesis[2].start, genesis[2].length), "אֱלֹהִ֑ים");
    EXPECT_EQ(genesis[2].strongs, "H0430");
    EXPECT_EQ(genesis[0].lemma, "b/7225");
    EXPECT_GE(words.Occurrences("H0430").size(), 2500u);
}

}  // namespace
}  // namespace lorvane::importer
