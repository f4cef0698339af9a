// The USFM importer on small books written here: the hard cases of real
// files, and whole folders of 66 books.

#include <gtest/gtest.h>

#include <fstream>

#include "Canon.h"
#include "Cp1252.h"
#include "DataFolder.h"
#include "Fixtures.h"
#include "Usfm.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using lorvane::testing::TempDir;

struct Parsed {
    Report report;
    TextConverter text;
    UsfmBook book;
};

std::unique_ptr<Parsed> Parse(const std::string& usfm) {
    auto p = std::make_unique<Parsed>();
    p->book = ParseUsfmBook(usfm, "test.usfm", p->text, p->report);
    return p;
}

std::string Utf8(const std::string& cp1252) {
    return std::string(cp1252);
}

TEST(UsfmBook, KeepsTheWordsOfVersesAndDropsNotesIntroductionsAndTitles) {
    auto p = Parse(
        "\\id GEN test file\n\\h GENÈSE\n\\toc1 Genèse\n\\toc2 Genèse\n\\mt1 LA GENÈSE\n"
        "\\imt1 INTRODUCTION\n\\ip Ce livre \\it parle\\it* de l’origine.\n\\ie\n"
        "\\c 1\n\\ms1 LES TEMPS ANCIENS\n\\mr Ch. 1 à 11\n\\s Création du monde\n"
        "\\r V. 1: cf. Né 9:6.\n\\p\n"
        "\\v 1 Au \\x + \\xo 1:1 \\xt Job 38:4. Ps 33:6.\\x*commencement,   Dieu \\f + \\fr 1:1 "
        "\\ft une note\\f*créa \\wj les \\+it cieux\\+it*\\wj* et\n\\q la terre. \\qs Sélah.\\qs*\n"
        "\\v 2 \\w terre|strong=\"H776\"\\w* informe~et vide.\n\\h ~\n\\mte9 ~\n");
    const UsfmBook& b = p->book;
    EXPECT_EQ(b.code, "GEN");
    EXPECT_EQ(b.number, 1);
    EXPECT_EQ(b.toc2, "Genèse");
    ASSERT_EQ(b.verses.size(), 2u);
    EXPECT_EQ(Utf8(b.verses[0].text), "Au commencement, Dieu créa les cieux et la terre. Sélah.");
    EXPECT_EQ(Utf8(b.verses[1].text), "terre informe\u00A0et vide.");
    ASSERT_EQ(b.headings.size(), 2u);  // \mr and \r are not headings
    EXPECT_EQ(b.headings[0].kind, 'D');
    EXPECT_EQ(Utf8(b.headings[0].title), "LES TEMPS ANCIENS");
    EXPECT_EQ(b.headings[1].kind, 'E');
    EXPECT_EQ(Utf8(b.headings[1].title), "Création du monde");
    EXPECT_EQ(b.headings[1].verse, 1);
    ASSERT_EQ(b.notes.size(), 1u);
    EXPECT_EQ(b.notes[0].verse, 1);
    EXPECT_EQ(b.notes[0].refs, "Job 38:4. Ps 33:6.");
    EXPECT_EQ(b.chapterCount, 1);
    EXPECT_FALSE(p->report.HasErrors());
}

TEST(UsfmBook, AHeadingBeforeAChapterBelongsToItsFirstVerse) {
    auto p = Parse(
        "\\id EXO\n\\c 1\n\\p\n\\v 1 Un.\n\\v 2 Deux.\n\\s Titre avant le chapitre\n"
        "\\c 2\n\\s Second titre\n\\p\n\\v 1 Trois.\n");
    const UsfmBook& b = p->book;
    ASSERT_EQ(b.headings.size(), 2u);
    for (const auto& h : b.headings) {
        EXPECT_EQ(h.chapter, 2);
        EXPECT_EQ(h.verse, 1);
    }
    EXPECT_EQ(Utf8(b.headings[0].title), "Titre avant le chapitre");
    EXPECT_EQ(Utf8(b.verses[1].text), "Deux.");  // the heading is not verse text
    EXPECT_EQ(b.chapterCount, 2);
}

TEST(UsfmBook, AHeadingInsideAVerseLeavesTheVerseItsWordsAndIsReported) {
    auto p = Parse(
        "\\id GEN\n\\c 29\n\\p\n\\v 14 Et Laban dit.\n\\s Léa et Rachel\n\\p Jacob "
        "demeura.\n\\v 15 Puis.\n");
    EXPECT_EQ(Utf8(p->book.verses[0].text), "Et Laban dit. Jacob demeura.");
    ASSERT_EQ(p->book.headings.size(), 1u);
    EXPECT_EQ(p->book.headings[0].verse, 15);
    EXPECT_EQ(p->report.Count(
                  "headings inside a verse, placed before the next verse (the verse keeps all "
                  "its words)"),
              1);
}

TEST(UsfmBook, VerseNumbersOutOfSequenceAreWarnedWithTheirPlace) {
    // "\v 11 5Éloignez" is a real typo: verse 115 written as 11 then "5".
    auto p = Parse(
        "\\id PSA\n\\c 119\n\\q\n\\v 113 a\n\\v 114 b\n\\v 11 5Éloignez\n\\v 116 "
        "c\n");
    EXPECT_EQ(p->book.verses.size(), 4u);  // kept, not guessed
    const auto& ex = p->report.Examples("verse numbers out of sequence");
    ASSERT_EQ(ex.size(), 3u);
    EXPECT_EQ(ex[0], "PSA 119:113 first in its chapter (test.usfm:4)");
    EXPECT_EQ(ex[1], "PSA 119:11 after 119:114 (test.usfm:6)");
    EXPECT_EQ(ex[2], "PSA 119:116 after 119:11 (test.usfm:7)");
}

TEST(UsfmBook, VerseNumbersWithRangesLettersOrGluedWords) {
    auto p = Parse(
        "\\id GEN\n\\c 1\n\\v 1Au commencement\n\\v 2-3 Deux et trois\n\\v 4a "
        "Quatre\n");
    ASSERT_EQ(p->book.verses.size(), 3u);
    EXPECT_EQ(Utf8(p->book.verses[0].text), "Au commencement");
    EXPECT_EQ(p->book.verses[1].verse, 2);
    EXPECT_EQ(Utf8(p->book.verses[1].text), "Deux et trois");
    EXPECT_EQ(p->book.verses[2].verse, 4);
    EXPECT_EQ(p->report.Count("verse numbers out of sequence"), 0);  // 4 follows 2-3
    EXPECT_EQ(p->report.Count("verse numbers with a range or a letter, kept as their first number"),
              2);
}

TEST(UsfmBook, CharactersOutsideWindows1252AreKeptAsWritten) {
    auto p = Parse("\\id GEN\n\\c 1\n\\p\n\\v 1 l’homme dit\u202F: « Ā\u200Bb » שׁ\n");
    ASSERT_EQ(p->book.verses.size(), 1u);
    const std::string& t = p->book.verses[0].text;
    EXPECT_EQ(t, "l'homme dit\u202F: « Ā\u200Bb » שׁ");
    EXPECT_EQ(t.find('\xFE'), std::string::npos);
    EXPECT_EQ(p->text.Apostrophes(), 1);
}

TEST(UsfmBook, VersesBeyondTheFormatAreSkippedNotStored) {
    auto p = Parse("\\id PSA\n\\c 151\n\\v 1 trop loin\n\\c 1\n\\v 177 trop long\n\\v 1 bon\n");
    ASSERT_EQ(p->book.verses.size(), 1u);
    EXPECT_EQ(Utf8(p->book.verses[0].text), "bon");
    EXPECT_EQ(p->book.chapterCount, 1);
    EXPECT_EQ(p->report.Count("verses beyond chapter 150 or verse 176, skipped"), 2);
}

TEST(UsfmBook, UnclosedNotesAndStrayTextDoNotLeakIntoVerses) {
    auto p = Parse(
        "\\id GEN\n\\c 1\nTexte perdu\n\\p\n\\v 1 Début \\x + \\xt Ge 1:2.\n"
        "\\v 2 Suite \\f + \\ft note sans fin\n\\v 3 Fin.\n");
    ASSERT_EQ(p->book.verses.size(), 3u);
    EXPECT_EQ(Utf8(p->book.verses[0].text), "Début");
    EXPECT_EQ(Utf8(p->book.verses[1].text), "Suite");
    EXPECT_EQ(Utf8(p->book.verses[2].text), "Fin.");
    EXPECT_TRUE(p->book.notes.empty());  // an unclosed note is not trusted
    EXPECT_EQ(p->report.Count("text outside any verse, dropped"), 1);
}

// A folder with the 66 books, each of one chapter per canonical chapter
// and three verses; `extra` replaces the text of some books.
void WriteFolder(const fs::path& dir, const std::map<std::string, std::string>& extra = {}) {
    fs::create_directories(dir);
    int n = 0;
    for (const auto& book : datawriter::kCanon) {
        std::string code(book.code);
        std::string text = "\\id " + code + "\n\\toc2 " + std::string(book.name) + "\n";
        for (int c = 1; c <= book.chapters; ++c)
            text += "\\c " + std::to_string(c) + "\n\\p\n\\v 1 Un.\n\\v 2 Deux.\n\\v 3 Trois.\n";
        if (extra.count(code)) text = extra.at(code);
        if (text.empty()) continue;
        // File names out of canonical order: the \id code decides.
        std::ofstream(dir / (std::to_string(100 - ++n) + "-" + code + ".usfm")) << text;
    }
}

TEST(UsfmFolder, BuildsTheWholeBibleInCanonicalOrderWithCanonNames) {
    TempDir tmp;
    WriteFolder(tmp.path(),
                {{"1SA",
                  "\\id 1SA\n\\toc2 I Samuel\n\\c 1\n\\p\n\\v 1 \\x + \\xt Ge 1:2, 3; 2. "
                  "Ex 1:1-3. Ap 99:1. Jn 3:16.\\x*Un.\n\\v 2 Deux.\n"}});
    std::ofstream(tmp.path() / "README.txt") << "not a book";
    std::ofstream(tmp.path() / "XXA.SFM") << "\\id TOB\n\\c 1\n\\v 1 Tobie.\n";
    Report report;
    BibleData bible = ImportUsfm(tmp.path(), report);
    ASSERT_EQ(bible.books.size(), 66u);
    EXPECT_EQ(std::string(bible.books[8].name), "1 Samuel");
    EXPECT_EQ(std::string(bible.books[8].shortName), "1 S");
    EXPECT_EQ(bible.books[8].chapterCount, 1);
    EXPECT_EQ(bible.books[0].chapterCount, 50);
    for (std::size_t i = 1; i < bible.verses.size(); ++i) {
        const auto& a = bible.verses[i - 1];
        const auto& b = bible.verses[i];
        ASSERT_TRUE(std::tie(a.book, a.chapter, a.verse) < std::tie(b.book, b.chapter, b.verse));
    }
    EXPECT_EQ(report.Count("books outside the 66, skipped"), 1);
    // Ge 1:2, Ge 1:3, Ge 2 (whole), Ex 1:1-3 kept; Ap 99:1 and Jn 3:16 are
    // not in this text.
    ASSERT_EQ(bible.crossRefs.size(), 4u);
    const auto& whole = bible.crossRefs[2];
    EXPECT_EQ(whole.book, 9);  // the verse that holds the note: 1 S 1:1
    EXPECT_EQ(whole.chapter, 1);
    EXPECT_EQ(whole.verse, 1);
    EXPECT_EQ(whole.targetBook, 1);
    EXPECT_EQ(whole.targetChapter, 2);
    EXPECT_EQ(whole.targetFirst, 0);
    EXPECT_EQ(bible.crossRefs[3].targetLast, 3);
    EXPECT_EQ(report.Count("cross-reference targets naming a verse the text lacks, skipped"), 2);
    EXPECT_EQ(report.Count("book names taken from the French canon where the short title differs"),
              1);
}

TEST(UsfmFolder, KeepsTheBiblesOwnBookNamesBesideTheFrenchOnes) {
    TempDir tmp;
    WriteFolder(tmp.path(), {{"JHN",
                              "\\id JHN\n\\h Иоанн\n\\toc2 От Иоанна\n\\c 1\n\\v 1 В "
                              "начале было Слово.\n"},
                             {"GEN", "\\id GEN\n\\h Бытие\n\\c 1\n\\v 1 В начале.\n"},
                             {"EXO", "\\id EXO\n\\c 1\n\\v 1 Un.\n"}});
    Report report;
    BibleData bible = ImportUsfm(tmp.path(), report);
    // The lists stay French; the short title, else the running head, is kept.
    EXPECT_EQ(std::string(bible.books[42].name), "Jean");
    ASSERT_EQ(bible.ownBookNames.size(), 66u);
    EXPECT_EQ(bible.ownBookNames[42], "От Иоанна");
    EXPECT_EQ(bible.ownBookNames[0], "Бытие");
    EXPECT_EQ(bible.ownBookNames[1], "");
    // Kept in the data folder, a named book a line.
    const std::string kept = OwnBookNames(bible.ownBookNames);
    EXPECT_NE(kept.find("43\tОт Иоанна\n"), std::string::npos);
    EXPECT_NE(kept.find("1\tБытие\n"), std::string::npos);
    EXPECT_EQ(kept.find("\n2\t"), std::string::npos);
    EXPECT_EQ(OwnBookNames({"Un\tdeux\nnom"}), "1\tUn deux nom\n");
    EXPECT_EQ(OwnBookNames({}), "");
    WriteDataFolder(tmp.path() / "data", bible, {}, {});
    std::ifstream in(tmp.path() / "data" / "livres.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kept);
    EXPECT_TRUE(IsDataFileName("livres.txt"));
}

TEST(UsfmFolder, RefusesMissingOrRepeatedBooks) {
    TempDir tmp;
    WriteFolder(tmp.path() / "missing", {{"OBA", ""}});
    Report report;
    try {
        ImportUsfm(tmp.path() / "missing", report);
        FAIL() << "a missing book was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("OBA"), std::string::npos) << e.what();
    }
    WriteFolder(tmp.path() / "twice");
    std::ofstream(tmp.path() / "twice" / "again.usfm") << "\\id GEN\n\\c 1\n\\v 1 a\n";
    EXPECT_THROW(ImportUsfm(tmp.path() / "twice", report), std::runtime_error);
    EXPECT_THROW(ImportUsfm(tmp.path() / "nowhere", report), std::runtime_error);
    fs::create_directories(tmp.path() / "empty");
    EXPECT_THROW(ImportUsfm(tmp.path() / "empty", report), std::runtime_error);
}

}  // namespace
}  // namespace lorvane::importer
