// The commentaries kept: their file read back by verse, a damaged one
// refused, the folders that keep them; and the module markup made HTML.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "BibleShelf.h"
#include "Commentary.h"
#include "CommentaryHtml.h"
#include "CommentaryShelf.h"
#include "Fixtures.h"

namespace lorvane::commentary {
namespace {

namespace fs = std::filesystem;
using importer::HeadingAgrees;
using importer::LinkTarget;
using importer::MarkupText;
using importer::MarkupToHtml;

std::vector<CommentaryEntry> Entries() {
    return {{PlaceOf(40, 5, 21), 26, "<p>Meurtre</p>"},
            {PlaceOf(40, 5, 22), 22, "<p>Raca</p>"},
            {PlaceOf(1, 1, 1), 1, "<p>Création</p>"},
            {PlaceOf(40, 6, 1), 3, "<p>Meurtre</p>"}};
}

TEST(CommentaryFile, EachVerseOfARunShowsItsEntryAndTheShortestRunWins) {
    const Commentary c = Commentary::FromBytes(EncodeCommentary(Entries()));
    EXPECT_EQ(c.Count(), 4u);
    for (int v = 21; v <= 26; ++v) {
        const auto found = c.EntryFor(PlaceOf(40, 5, v));
        ASSERT_TRUE(found) << v;
        EXPECT_EQ(found->html, v == 22 ? "<p>Raca</p>" : "<p>Meurtre</p>");
    }
    EXPECT_EQ(c.EntryFor(PlaceOf(40, 5, 23))->first, PlaceOf(40, 5, 21));
    EXPECT_EQ(c.EntryFor(PlaceOf(40, 5, 23))->lastVerse, 26);
    EXPECT_EQ(c.EntryFor(PlaceOf(1, 1, 1))->html, "<p>Création</p>");
    EXPECT_EQ(c.EntryFor(PlaceOf(40, 6, 3))->html, "<p>Meurtre</p>");
    for (VersePlace none : {PlaceOf(40, 5, 20), PlaceOf(40, 5, 27), PlaceOf(1, 1, 2),
                            PlaceOf(40, 6, 4), PlaceOf(66, 22, 21)})
        EXPECT_FALSE(c.EntryFor(none));
    // One text kept once however many runs share it.
    EXPECT_LT(EncodeCommentary(Entries()).size(), 12 + 4 * 16 + 60u);
}

TEST(CommentaryFile, TheFileOnDiskReadsTheSameAndADamagedOneIsRefused) {
    testing::TempDir dir;
    const std::string bytes = EncodeCommentary(Entries());
    const std::string path = (dir.path() / kCommentaryFile).string();
    std::ofstream(path, std::ios::binary) << bytes;
    EXPECT_EQ(Commentary::Open(path).EntryFor(PlaceOf(40, 5, 24))->html, "<p>Meurtre</p>");
    EXPECT_THROW(Commentary::Open((dir.path() / "absent").string()), CommentaryError);
    // Cut anywhere, a text beyond the end, a place that is no verse.
    for (std::size_t size : {0ul, 7ul, 12ul, 40ul, bytes.size() - 1})
        EXPECT_THROW(Commentary::FromBytes(bytes.substr(0, size)), CommentaryError) << size;
    std::string far = bytes;
    far[12 + 8 + 1] = '\x7F';  // the first record's offset
    EXPECT_THROW(Commentary::FromBytes(far), CommentaryError);
    std::string nowhere = bytes;
    nowhere[12 + 2] = 67;  // book 67
    EXPECT_THROW(Commentary::FromBytes(nowhere), CommentaryError);
    try {
        Commentary::FromBytes("LVCOMM1\n\xFF\xFF\xFF\xFF");
        FAIL();
    } catch (const CommentaryError& e) {
        EXPECT_STREQ(e.what(), "Ce commentaire est endommagé : son fichier ne se lit pas.");
    }
}

TEST(CommentaryShelfTest, AnImportIsKeptRenamedAndRemovedAndADamagedOneIsSetAside) {
    testing::TempDir dir;
    CommentaryShelf shelf((dir.path() / "commentaires").string());
    shelf.Load();
    EXPECT_TRUE(shelf.Commentaries().empty());
    auto stage = [&](const std::string& bytes) {
        const std::string staging = shelf.StagingDir();
        fs::create_directories(staging);
        std::ofstream(staging + kCommentaryFile, std::ios::binary) << bytes;
        return staging;
    };
    EXPECT_EQ(shelf.Adopt(stage(EncodeCommentary(Entries())), "Notes de Scofield", "Scofield"), 0u);
    EXPECT_EQ(shelf.Adopt(stage(EncodeCommentary(Entries())), "Autre", "Scofield"), 0u);
    ASSERT_EQ(shelf.Commentaries().size(), 2u);
    EXPECT_EQ(shelf.Commentaries()[1].folder, "scofield");
    EXPECT_EQ(shelf.Commentaries()[0].folder, "scofield-2");
    shelf.Rename(1, "Scofield 1917", "");
    shelf.Load();
    EXPECT_EQ(shelf.Commentaries()[1].name, "Scofield 1917");
    EXPECT_EQ(shelf.Commentaries()[1].abbreviation, "Scofield");
    shelf.Remove(0);
    shelf.Load();
    ASSERT_EQ(shelf.Commentaries().size(), 1u);
    // A file damaged on disk: listed among the problems, not kept.
    std::ofstream(shelf.FileOf(0), std::ios::binary) << "LVCOMM1\n\x05";
    shelf.Load();
    EXPECT_TRUE(shelf.Commentaries().empty());
    ASSERT_EQ(shelf.Problems().size(), 1u);
    EXPECT_NE(shelf.Problems()[0].find("Scofield 1917"), std::string::npos);
}

// What an import or a removal cut short left goes at the next load once
// its process is gone; a running one's stays.
TEST(CommentaryShelfTest, LeftoversOfAProcessGoneAreCleared) {
    testing::TempDir dir;
    const fs::path shelfDir = dir.path() / "commentaires";
    const std::string mine = std::to_string(::getpid());
    for (const std::string& name :
         std::vector<std::string>{"suppression-999999999.old", "import-999999998.new",
                                  "suppression-" + mine + ".old", "suppression-x.old"})
        fs::create_directories(shelfDir / name);
    CommentaryShelf shelf(shelfDir.string());
    shelf.Load();
    EXPECT_FALSE(fs::exists(shelfDir / "suppression-999999999.old"));
    EXPECT_FALSE(fs::exists(shelfDir / "import-999999998.new"));
    EXPECT_TRUE(fs::exists(shelfDir / ("suppression-" + mine + ".old")));
    EXPECT_TRUE(fs::exists(shelfDir / "suppression-x.old"));
    EXPECT_TRUE(shelf.Commentaries().empty());
}

TEST(CommentaryShelfTest, ACommentaryIsNeverListedAmongTheBibles) {
    testing::TempDir program, shelfDir;
    testing::WriteDataFolder(program.path(), testing::DataSet::Small());
    CommentaryShelf comments((shelfDir.path() / "commentaires").string());
    const std::string staging = comments.StagingDir();
    fs::create_directories(staging);
    std::ofstream(staging + kCommentaryFile, std::ios::binary) << EncodeCommentary(Entries());
    comments.Adopt(staging, "MHCC", "MHCC");
    bibles::BibleShelf bibles(shelfDir.path().string(), program.appDir());
    bibles.Load();
    ASSERT_EQ(bibles.Count(), 1u);
    EXPECT_EQ(bibles.At(0).folder, bibles::kProgramBible);
    EXPECT_TRUE(bibles.Problems().empty());
}

std::optional<LinkTarget> Resolve(const std::string& ref) {
    if (ref == "jer 4:23-27" || ref == "Jer 4:23-27") return LinkTarget{24, 4, 23, 27};
    return std::nullopt;
}

TEST(CommentaryMarkup, OsisAndThmlReferencesBecomeVerseLinksAndTheRestIsEscaped) {
    const auto osis = MarkupToHtml(
        "<div sID=\"a\" type=\"x-p\"/><hi type=\"bold\">void</hi><div eID=\"a\" type=\"x-p\"/>"
        "<div sID=\"b\" type=\"x-p\"/>See <reference osisRef=\"jer 4:23-27\">Jér 4</reference>, "
        "<reference osisRef=\"nowhere\">ailleurs</reference> &amp; 1 &lt; 2"
        "<note type=\"x-study\">hidden</note><script>x</script>",
        false, Resolve);
    ASSERT_TRUE(osis);
    EXPECT_EQ(*osis,
              "<p><b>void</b></p><p>See <a href=\"\xC2\xA4"
              "24\xC2\xA4"
              "4\xC2\xA4"
              "23\xC2\xA4"
              "27\">Jér 4</a>, ailleurs &amp; 1 &lt; 2x</p>");
    const auto thml = MarkupToHtml(
        "<p><i>Voir</i> <scripRef passage=\"Jer 4:23-27\">Jérémie</scripRef><br/>fin</p>", true,
        Resolve);
    ASSERT_TRUE(thml);
    EXPECT_EQ(*thml,
              "<p><i>Voir</i> <a href=\"\xC2\xA4"
              "24\xC2\xA4"
              "4\xC2\xA4"
              "23\xC2\xA4"
              "27\">Jérémie</a><br>fin</p>");
    EXPECT_FALSE(MarkupToHtml("<p>ouvert", true, Resolve));
    EXPECT_FALSE(MarkupToHtml("&nbsp;", true, Resolve));
    EXPECT_EQ(importer::GbfToHtml("<FI>Voir<Fi> a<RF>note<Rf> & <FB>b<Fb><CL>c<CM>d<XX>"),
              "<p><i>Voir</i> a &amp; <b>b</b><br>c</p><p>d</p>");
    EXPECT_EQ(importer::PlainToHtml("a <b>\nb\n\nc"), "<p>a &lt;b&gt;<br>b</p><p>c</p>");
}

bool Agrees(const std::string& markup, int chapter, int first, int last) {
    return HeadingAgrees(MarkupText(markup), chapter, first, last);
}

TEST(CommentaryMarkup, AnEntryWhoseOwnHeadingNamesOtherVersesDisagrees) {
    const std::string mhcc = "<div/> <hi type=\"bold\">Verses 21-26</hi> <div/> The Jewish...";
    EXPECT_TRUE(Agrees(mhcc, 5, 21, 26));
    EXPECT_FALSE(Agrees(mhcc, 5, 3, 3));    // stored under 5:3
    EXPECT_FALSE(Agrees(mhcc, 5, 22, 26));  // not from its first verse
    EXPECT_FALSE(Agrees(mhcc, 5, 21, 27));  // beyond it
    EXPECT_TRUE(Agrees("<b>Verse 3.</b> Blessed", 5, 3, 3));
    EXPECT_TRUE(Agrees("<b>Verses 1:30-2:3</b>", 2, 1, 3));
    EXPECT_FALSE(Agrees("<b>Chapter 2</b><b>Chapter Outline</b>", 1, 27, 27));
    EXPECT_TRUE(Agrees("<b>Chapter 2</b><b>Verses 1-3</b>", 2, 1, 3));
    // An overview then an exposition verse by verse; a reference of its
    // own line; a sentence that starts with a number of verses.
    EXPECT_TRUE(Agrees("<title>Psalm 1 OVERVIEW</title><b>Verse 2.</b>", 1, 1, 1));
    EXPECT_TRUE(Agrees("<reference>Psalm 2:4</reference>", 1, 1, 1));
    EXPECT_TRUE(Agrees("<p>Verses 14 and 15 state the principle</p>", 7, 15, 15));
    EXPECT_TRUE(Agrees("No heading at all", 1, 1, 1));
}

}  // namespace
}  // namespace lorvane::commentary
