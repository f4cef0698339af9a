// The words of a Bible that carry Strong's numbers and parsings keep them on
// import, from OSIS, USFM and Zefania, with their places in the verse text.

#include <gtest/gtest.h>

#include <string>

#include "BibleXml.h"
#include "Usfm.h"

namespace lorvane::importer {
namespace {

std::string Word(const std::string& text, const words::WordTag& tag) {
    return text.substr(tag.start, tag.length);
}

const words::VerseWords* WordsOf(const UsfmBook& book, int chapter, int verse) {
    for (const auto& v : book.words)
        if (v.chapter == chapter && v.verse == verse) return &v;
    return nullptr;
}

UsfmBook Osis(const std::string& body, Report& report) {
    TextConverter text;
    XmlBible bible = ParseOsisXml("<osis><osisText><header/>" + body + "</osisText></osis>",
                                  "t.xml", text, report);
    EXPECT_EQ(bible.books.size(), 1u);
    return bible.books.empty() ? UsfmBook{} : std::move(bible.books[0]);
}

}  // namespace

TEST(WordTagsImport, OsisWordsKeepTheirNumbersParsingAndPlace) {
    Report report;
    UsfmBook john = Osis(
        "<div type='book' osisID='John'><chapter osisID='John.1'><verse osisID='John.1.1'>"
        "<w lemma='strong:G1722 lemma.TR:ἐν' morph='robinson:PREP'>Ἐν</w> "
        "<w lemma='strong:G746' morph='robinson:N-DSF'>ἀρχῇ</w> ἦν "
        "<note type='study'><w lemma='strong:G1'>note</w></note>"
        "<w lemma='strong:G3588 strong:G3056'>ὁ λόγος</w>,</verse>"
        "<title><w lemma='strong:G2'>Titre</w></title>"
        "<verse osisID='John.1.2'>Οὗτος</verse></chapter></div>",
        report);
    ASSERT_EQ(john.verses.size(), 2u);
    const std::string& text = john.verses[0].text;
    EXPECT_EQ(text, "Ἐν ἀρχῇ ἦν ὁ λόγος,");
    const words::VerseWords* verse = WordsOf(john, 1, 1);
    ASSERT_NE(verse, nullptr);
    ASSERT_EQ(verse->tags.size(), 3u);  // the note's word is no verse text
    EXPECT_EQ(Word(text, verse->tags[0]), "Ἐν");
    EXPECT_EQ(verse->tags[0].lemma, "ἐν");
    EXPECT_EQ(Word(text, verse->tags[1]), "ἀρχῇ");
    EXPECT_EQ(verse->tags[1].strongs, "G0746");
    EXPECT_EQ(verse->tags[1].morph, "robinson:N-DSF");
    EXPECT_EQ(Word(text, verse->tags[2]), "ὁ λόγος");
    EXPECT_EQ(verse->tags[2].strongs, "G3588 G3056");
    EXPECT_EQ(WordsOf(john, 1, 2), nullptr);  // no tag, no line
    for (const auto& h : john.headings)
        EXPECT_EQ(h.title.find('\xEE'), std::string::npos);  // no mark left in a heading
}

TEST(WordTagsImport, HebrewWordsLoseTheirDivisionsAndKeepPrefixAndSense) {
    Report report;
    UsfmBook genesis = Osis(
        "<div type='book' osisID='Gen'><chapter osisID='Gen.1'><verse osisID='Gen.1.1'>"
        "<w lemma='b/7225' morph='HR/Ncfsa'>בְּ/רֵאשִׁ֖ית</w> "
        "<w lemma='1254 a' morph='HVqp3ms'>בָּרָ֣א</w> "
        "<w lemma='430' morph='HNcmpa'>אֱלֹהִ֑ים</w><seg type='x-sof-pasuq'>׃</seg>"
        "</verse></chapter></div>",
        report);
    ASSERT_EQ(genesis.verses.size(), 1u);
    const std::string& text = genesis.verses[0].text;
    EXPECT_EQ(text, "בְּרֵאשִׁ֖ית בָּרָ֣א אֱלֹהִ֑ים׃");
    const words::VerseWords* verse = WordsOf(genesis, 1, 1);
    ASSERT_NE(verse, nullptr);
    ASSERT_EQ(verse->tags.size(), 3u);
    EXPECT_EQ(Word(text, verse->tags[0]), "בְּרֵאשִׁ֖ית");
    EXPECT_EQ(verse->tags[0].strongs, "H7225");
    EXPECT_EQ(verse->tags[0].lemma, "b/7225");
    EXPECT_EQ(verse->tags[0].morph, "oshm:HR/Ncfsa");
    EXPECT_EQ(verse->tags[1].strongs, "H1254a");
    EXPECT_EQ(Word(text, verse->tags[2]), "אֱלֹהִ֑ים");
    EXPECT_EQ(verse->tags[2].strongs, "H0430");
}

TEST(WordTagsImport, UsfmWordsKeepTheirAttributes) {
    TextConverter text;
    Report report;
    const UsfmBook john = ParseUsfmBook(
        "\\id JHN\n\\c 1\n\\p\n"
        "\\v 1 \\w Au|strong=\"G1722\"\\w* "
        "\\w commencement|lemma=\"ἀρχή\" strong=\"G0746\" x-morph=\"robinson:N-DSF\"\\w* "
        "était \\w la Parole|strong=\"G3588,G3056\"\\w*.\n"
        "\\v 2 \\w amour|G26\\w* \\w non fermé|strong=\"G1\"\n"
        "\\v 3 \\w sans|\\w* attribut.\n",
        "JHN.usfm", text, report);
    ASSERT_EQ(john.verses.size(), 3u);
    const std::string& v1 = john.verses[0].text;
    EXPECT_EQ(v1, "Au commencement était la Parole.");
    const words::VerseWords* verse = WordsOf(john, 1, 1);
    ASSERT_NE(verse, nullptr);
    ASSERT_EQ(verse->tags.size(), 3u);
    EXPECT_EQ(Word(v1, verse->tags[0]), "Au");
    EXPECT_EQ(verse->tags[0].strongs, "G1722");
    EXPECT_EQ(verse->tags[1].lemma, "ἀρχή");
    EXPECT_EQ(verse->tags[1].morph, "robinson:N-DSF");
    EXPECT_EQ(Word(v1, verse->tags[2]), "la Parole");
    EXPECT_EQ(verse->tags[2].strongs, "G3588 G3056");

    EXPECT_EQ(john.verses[1].text, "amour non fermé");
    const words::VerseWords* two = WordsOf(john, 1, 2);
    ASSERT_NE(two, nullptr);
    ASSERT_EQ(two->tags.size(), 2u);  // a bare value is the lemma; G26 read as the number
    EXPECT_EQ(Word(john.verses[1].text, two->tags[1]), "non fermé");
    EXPECT_EQ(WordsOf(john, 1, 3), nullptr);
}

TEST(WordTagsImport, BadTagsAreKeptAsFarAsTheyAreSound) {
    Report report;
    const std::string huge(1 << 20, '7');
    UsfmBook john = Osis(
        "<div type='book' osisID='John'><chapter osisID='John.1'><verse osisID='John.1.1'>"
        "<w lemma='strong:G99999' morph='robinson:ZZZ'>un</w> "
        "<w lemma='' morph=''>deux</w> "
        "<w lemma='strong:G1 strong:G2 strong:G3 strong:G4 strong:G5'>trois</w> "
        "<w lemma='strong:G" +
            huge + "' morph='" + huge +
            "'>quatre</w> <w lemma='strong:G5'><w lemma='strong:G6'>cinq</w></w>"
            "</verse></chapter></div>",
        report);
    ASSERT_EQ(john.verses.size(), 1u);
    EXPECT_EQ(john.verses[0].text, "un deux trois quatre cinq");
    const words::VerseWords* verse = WordsOf(john, 1, 1);
    ASSERT_NE(verse, nullptr);
    ASSERT_GE(verse->tags.size(), 4u);
    EXPECT_EQ(verse->tags[0].strongs, "");  // out of range: left out
    EXPECT_EQ(verse->tags[0].morph, "robinson:ZZZ");
    EXPECT_EQ(verse->tags[1].strongs, "G0001 G0002 G0003 G0004 G0005");
    EXPECT_LE(verse->tags[2].morph.size(), 64u);
    for (const auto& tag : verse->tags)
        EXPECT_LE(tag.start + tag.length, john.verses[0].text.size());
}

TEST(WordTagsImport, ZefaniaStrongNumbersAreKept) {
    TextConverter text;
    Report report;
    XmlBible bible = ParseZefaniaXml(
        "<XMLBIBLE><BIBLEBOOK bnumber='43'><CHAPTER cnumber='1'><VERS vnumber='1'>"
        "Au <gr str='746' rmac='N-DSF'>commencement</gr></VERS></CHAPTER></BIBLEBOOK>"
        "</XMLBIBLE>",
        "z.xml", text, report);
    ASSERT_EQ(bible.books.size(), 1u);
    const words::VerseWords* verse = WordsOf(bible.books[0], 1, 1);
    ASSERT_NE(verse, nullptr);
    EXPECT_EQ(verse->tags[0].strongs, "G0746");
    EXPECT_EQ(verse->tags[0].morph, "robinson:N-DSF");
}

}  // namespace lorvane::importer
