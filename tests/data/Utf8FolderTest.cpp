// A data folder marked UTF-8 is read as written, in any script; damaged
// UTF-8 shows U+FFFD and never runs into the next verse; a folder without
// the mark is Windows-1252, converted at load.

#include <gtest/gtest.h>

#include "FctLoad.h"
#include "Fixtures.h"
#include "StoredText.h"
#include "Utf8.h"

namespace lorvane {
namespace {

using testing::TempDir;
namespace dw = datawriter;

class Utf8FolderTest : public ::testing::Test {
  protected:
    void Write(const std::string& name, const std::string& bytes) {
        testing::WriteDataFile(dir.path(), name, bytes);
    }
    void MarkUtf8(const std::string& mark = "UTF-8\n") { Write("texte.txt", mark); }

    TempDir dir;
    Communs c{dir.appDir()};
};

TEST_F(Utf8FolderTest, VersesOfEveryScriptAreKeptAsWritten) {
    const std::string greek = "Ἐν ἀρχῇ ἦν ὁ λόγος";
    const std::string hebrew = "בְּרֵאשִׁית בָּרָא אֱלֹהִים";
    const std::string chinese = "起初，神创造天地。";
    const std::string joined = "क्‍ष";  // a zero-width joiner inside
    MarkUtf8();
    Write("bible.dat", dw::EncodeVerse({43, 1, 1, greek}) + dw::EncodeVerse({1, 1, 1, hebrew}) +
                           dw::EncodeVerse({1, 1, 2, chinese}) +
                           dw::EncodeVerse({1, 1, 3, joined}));
    LoadVerseTable(c);
    EXPECT_EQ(c.VerseTable[1].Text, greek);
    EXPECT_EQ(c.VerseTable[2].Text, hebrew);
    EXPECT_EQ(c.VerseTable[3].Text, chinese);
    EXPECT_EQ(c.VerseTable[4].Text, joined);
    EXPECT_EQ(c.VerseLookup(1, 1, 2), 3);
}

TEST_F(Utf8FolderTest, DamagedSequencesShowAReplacementAndStayInTheirVerse) {
    MarkUtf8(" utf-8\r\n");  // any case, blanks around
    const std::string stray = "a\x80z";
    const std::string overlong = "b\xC0\xAFz";        // '/' in two bytes
    const std::string surrogate = "c\xED\xA0\x80z";   // U+D800
    const std::string cut = "d\xE2\x82";              // a sequence cut by the terminator
    const std::string beyond = "e\xF4\x90\x80\x80z";  // past U+10FFFF
    Write("bible.dat", dw::EncodeVerse({1, 1, 1, stray}) + dw::EncodeVerse({1, 1, 2, overlong}) +
                           dw::EncodeVerse({1, 1, 3, surrogate}) + dw::EncodeVerse({1, 1, 4, cut}) +
                           dw::EncodeVerse({1, 1, 5, beyond}) +
                           dw::EncodeVerse({1, 1, 6, "suivant"}));
    LoadVerseTable(c);
    for (int s = 1; s <= 6; ++s)
        EXPECT_TRUE(utf8::IsValid(c.VerseTable[static_cast<std::size_t>(s)].Text)) << s;
    EXPECT_EQ(c.VerseTable[1].Text, "a\uFFFDz");
    EXPECT_EQ(c.VerseTable[2].Text.substr(0, 1), "b");
    EXPECT_EQ(c.VerseTable[2].Text.substr(c.VerseTable[2].Text.size() - 1), "z");
    EXPECT_EQ(c.VerseTable[2].Text.find('/'), std::string_view::npos);
    EXPECT_EQ(c.VerseTable[4].Text.substr(0, 1), "d");
    EXPECT_EQ(c.VerseTable[6].Text, "suivant");
}

TEST_F(Utf8FolderTest, ANameCutInsideACharacterLosesOnlyThatCharacter) {
    MarkUtf8();
    // 25 Greek letters of two bytes each, then one more cut after its first
    // byte by the field's end (51 bytes).
    std::string name;
    for (int i = 0; i < 26; ++i)
        name += "λ";
    std::string bytes = dw::EncodeBook({"", "Λ", 1});
    bytes[0] = static_cast<char>(51);
    bytes.replace(1, 51, name.substr(0, 51));
    Write("livre.dat", bytes);
    LoadBookTable(c);
    const std::string_view got = c.BookTable[1].Name.view();
    EXPECT_TRUE(utf8::IsValid(got));
    EXPECT_EQ(got.size(), 50u);
    EXPECT_EQ(c.BookTable[1].ShortName.view(), "Λ");
}

TEST_F(Utf8FolderTest, AWindows1252FolderIsConvertedOnceAtLoad) {
    // No mark: the shipped data set's form. Each byte becomes its character;
    // a name of 51 bytes that all take three in UTF-8 is kept whole.
    std::string euros(51, '\x80');
    Write("livre.dat", dw::EncodeBook({euros, "C\x9C", 1}));
    Write("bible.dat", dw::EncodeVerse({1, 1, 1, "C\x9Cur \xAB p\xE8re \xBB \x85"}));
    Write("index.dat", dw::EncodeIndex({'E', 1, 1, 1, "L'\xC9ternel"}));
    LoadBookTable(c);
    LoadVerseTable(c);
    LoadIndexTable(c);
    std::string expected;
    for (int i = 0; i < 51; ++i)
        expected += "€";
    EXPECT_EQ(c.BookTable[1].Name.view(), expected);
    EXPECT_EQ(c.BookTable[1].ShortName.view(), "Cœ");
    EXPECT_EQ(c.VerseTable[1].Text, "Cœur « père » …");
    EXPECT_EQ(c.IndexTable[1].Title.view(), "L'Éternel");
}

TEST_F(Utf8FolderTest, OnlyAMarkThatSaysUtf8MakesAFolderUtf8) {
    EXPECT_FALSE(StoredAsUtf8(c));  // no mark
    MarkUtf8("\xEF\xBB\xBFUTF-8");
    EXPECT_TRUE(StoredAsUtf8(c));
    MarkUtf8("windows-1252");
    EXPECT_FALSE(StoredAsUtf8(c));
    MarkUtf8("UTF-8 et plus");
    EXPECT_FALSE(StoredAsUtf8(c));
}

TEST(StoredText, CutsAndCountsOnCharacterBoundaries) {
    EXPECT_EQ(storedtext::CutAtCharacter("aé", 2), "a");
    EXPECT_EQ(storedtext::CutAtCharacter("aé", 3), "aé");
    EXPECT_EQ(storedtext::FirstCharacters("λόγος", 2), "λό");
    EXPECT_EQ(storedtext::FirstCharacters("ab", 5), "ab");
    std::string out;
    EXPECT_EQ(storedtext::AppendUtf8(out, "\xFF\xFEok", true), 2u);
    EXPECT_EQ(out, "\uFFFD\uFFFDok");
}

}  // namespace
}  // namespace lorvane
