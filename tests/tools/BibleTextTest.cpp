// Text conversion for the data files and the study pages.

#include <gtest/gtest.h>

#include "BibleText.h"
#include "Cp1252.h"
#include "Osis.h"
#include "Utf8.h"

namespace lorvane::importer {
namespace {

TEST(BibleText, SpacesAreSingleAndNoneAtEitherEnd) {
    EXPECT_EQ(NormalizeSpaces("  Au \t commencement,\n\nDieu  "), "Au commencement, Dieu");
    EXPECT_EQ(NormalizeSpaces("\u00A0 mot \u00A0"), "mot");
    EXPECT_EQ(NormalizeSpaces("« mot\u00A0»"), "« mot\u00A0»");
    EXPECT_EQ(NormalizeSpaces(" \n "), "");
    EXPECT_EQ(NormalizeSpaces("\u00A0"), "");
}

TEST(BibleText, LongTitlesAreCutAtAWordWithAnEllipsis) {
    std::string exact(151, 'a');
    EXPECT_FALSE(CutTitle(exact));
    EXPECT_EQ(exact.size(), 151u);

    std::string words;
    while (words.size() < 200)
        words += "mot, ";
    std::string cut = words;
    ASSERT_TRUE(CutTitle(cut));
    EXPECT_LE(cut.size(), 151u);
    EXPECT_EQ(cut.substr(cut.size() - 6), "mot…");  // no ", " left before the ellipsis
    EXPECT_EQ(words.compare(0, cut.size() - 3, cut, 0, cut.size() - 3), 0);

    std::string oneWord(300, 'x');
    ASSERT_TRUE(CutTitle(oneWord));
    EXPECT_EQ(oneWord.size(), 151u);
    EXPECT_EQ(oneWord.substr(148), "…");

    // A word of Greek letters is cut between two letters.
    std::string greek;
    for (int i = 0; i < 100; ++i)
        greek += "λ";
    ASSERT_TRUE(CutTitle(greek));
    EXPECT_LE(greek.size(), 151u);
    EXPECT_TRUE(utf8::IsValid(greek));
}

TEST(BibleText, EveryLetterIsKeptAsWrittenInItsComposedForm) {
    TextConverter text;
    // A base letter and a combining acute become one letter (NFC); þ, a
    // hyphen and a ligature stay; a malformed byte shows U+FFFD; a control
    // character goes; the typographic apostrophes become the keyboard's.
    const std::string out =
        text.Convert("e\xCC\x81t\xC3\xBE \xFF\x01x ‘cité’ ‐ ĳ ἀρχῇ בְּרֵאשִׁית 起初", "GEN 1:1");
    EXPECT_EQ(out, "étþ \uFFFDx 'cité' ‐ ĳ ἀρχῇ בְּרֵאשִׁית 起初");
    EXPECT_EQ(text.Apostrophes(), 2);
    EXPECT_EQ(out.find('?'), std::string::npos);
    EXPECT_EQ(out.find('\xFE'), std::string::npos);  // never the verse terminator
}

TEST(BibleText, DamagedOrHostileTextIsTamedAndReported) {
    TextConverter text;
    // Noncharacters go.
    EXPECT_EQ(text.Convert("a\uFDD0b\uFFFE\U0010FFFFc", "GEN 1:1"), "abc");
    EXPECT_EQ(text.Noncharacters(), 3);
    // A verse of 100,000 combining marks keeps 30 on its letter.
    std::string marks = "a";
    for (int i = 0; i < 100000; ++i)
        marks += "\u0301";
    const std::string tamed = text.Convert(marks, "GEN 1:2");
    std::string kept = "á";  // the first mark composed with its letter
    for (int i = 1; i < kMaxMarksInARow; ++i)
        kept += "\u0301";
    EXPECT_EQ(tamed, kept);
    EXPECT_EQ(text.ExcessMarks(), 100000 - kMaxMarksInARow);
    // Direction controls and joiners are kept: the page closes the former
    // at the verse's end.
    EXPECT_EQ(text.Convert("x\u202Ey\u2067z क्‍ष", "GEN 1:3"),
              "x\u202Ey\u2067z क्‍ष");
    EXPECT_EQ(text.BidiControls(), 2);

    Report report;
    text.ReportTo(report);
    EXPECT_EQ(report.Count(kNoncharacters), 3);
    EXPECT_EQ(report.Examples(kNoncharacters).front(), "GEN 1:1");
    EXPECT_EQ(report.Examples(kExcessMarks).front(), "GEN 1:2");
    EXPECT_EQ(report.Examples(kBidiControls).front(), "GEN 1:3");
}

TEST(BibleText, PagesRefuseCharactersWithoutAWindows1252Form) {
    EXPECT_EQ(PageToCp1252("\xEF\xBB\xBF<P>« Éphah » – 22 l</P>", "p.htm"),
              cp1252::FromUtf8("<P>« Éphah » – 22 l</P>"));
    try {
        PageToCp1252("<P>\n coudée ≈ 44,5 cm</P>", "glossaire.htm");
        FAIL() << "accepted a character without a Windows-1252 form";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "glossaire.htm:2:9: U+2248 has no Windows-1252 form");
    }
    EXPECT_THROW(PageToCp1252("caf\xC3", "p.htm"), std::runtime_error);
}

TEST(Osis, NotesTitlesAndCrossReferences) {
    // A note glued between two words, or after a comma, leaves a space; one
    // before punctuation does not.
    EXPECT_EQ(SpaceAroundNotes("<w>God</w><note>n</note><w>created</w> x<note>n</note>."),
              "<w>God</w> <note>n</note><w>created</w> x<note>n</note>.");
    EXPECT_EQ(SpaceAroundNotes("Lord,<note>a</note><note>b</note>you"),
              "Lord, <note>a</note><note>b</note>you");
    const std::string entry =
        "<title type=\"psalm\">A Psalm<note>Hebrew note</note> by David.</title>"
        "<title type=\"runningHead\">PSALMS</title>Text"
        "<note type=\"crossReference\"><reference type=\"annotateRef\">5:3</reference> "
        "<reference>Isaiah 57:15; 66:2</reference> <reference osisRef=\"Ps.1.1\">x</reference>"
        "</note><note type=\"crossReference\">See Job 9:8 &amp; more</note>";
    EXPECT_EQ(OsisTitles(entry), std::vector<std::string>{"A Psalm by David."});
    auto refs = OsisCrossRefs(entry);
    ASSERT_EQ(refs.size(), 2u);
    EXPECT_EQ(refs[0], (std::vector<std::string>{"Isaiah 57:15; 66:2", "Ps.1.1"}));
    EXPECT_EQ(refs[1], std::vector<std::string>{"See Job 9:8 & more"});
    EXPECT_EQ(RemoveTitles(entry).find("<title"), std::string::npos);
    EXPECT_EQ(RemoveTitles(entry).compare(0, 4, "Text"), 0);
}

TEST(Osis, PlainTextIsTheWordsAReaderSees) {
    // Strong's words and the words of Jesus keep their text; notes, titles
    // and a speaker's label go; line breaks and runs of blanks are one space.
    EXPECT_EQ(OsisPlainText(
                  "<div type=\"x-milestone\" sID=\"p\"/><speaker>Beloved</speaker> "
                  "<lg sID=\"a\"/><l sID=\"b\"/>Let <w lemma=\"strong:H3588\">him</w>"
                  " kiss;<l eID=\"b\"/><l sID=\"c\"/><q who=\"Jesus\">for "
                  "love</q><note type=\"x-footnote\">Or, <hi>friend</hi></note>.<l eID=\"c\"/>"),
              "Let him kiss; for love.");
    EXPECT_EQ(OsisPlainText("<title>A Psalm</title>God<note>n</note>created the "
                            "<divineName>Lord</divineName> &amp; you&apos;re<lb/>here\n\t "),
              "God created the Lord & you're here");
    // Damaged markup never reads past the entry.
    EXPECT_EQ(OsisPlainText("word <w lemma="), "word");
    EXPECT_EQ(OsisPlainText("a</note>b<note>c"), "ab");
    EXPECT_EQ(OsisPlainText(""), "");
}

}  // namespace
}  // namespace lorvane::importer
