#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "FileIo.h"
#include "FrenchBible.h"
#include "NoteBook.h"
#include "References.h"

namespace lorvane {
namespace {

// A clock that moves on by one second at each reading.
struct Ticking {
    std::int64_t now = 1'800'000'000;
    NoteBook::Clock Clock() {
        return [this] { return FormatTime(now++); };
    }
};

class NotesFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("lorvane-notes-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string File() const { return (folder_ / "notes.txt").string(); }
    std::filesystem::path folder_;
};

TEST(NoteBook, RangeAndTextKeptThroughTheFile) {
    Ticking t;
    NoteBook book(t.Clock());
    const Note& n =
        book.Add(PlaceOf(45, 8, 28), PlaceOf(45, 8, 30), "Tout concourt\tau\\bien\nde ceux");
    EXPECT_EQ(n.id.size(), 16u);
    EXPECT_EQ(n.created, "2027-01-15T08:00:00Z");
    const NoteFile back = ReadNoteFile(WriteNoteFile(book.Contents()));
    ASSERT_EQ(back.notes.size(), 1u);
    EXPECT_EQ(back.unread, 0);
    EXPECT_EQ(back.notes[0].id, n.id);
    EXPECT_EQ(back.notes[0].first, PlaceOf(45, 8, 28));
    EXPECT_EQ(back.notes[0].last, PlaceOf(45, 8, 30));
    EXPECT_EQ(back.notes[0].text, "Tout concourt\tau\\bien\nde ceux");
    EXPECT_EQ(back.notes[0].created, n.created);
    // One record a line, the range written as a reader reads it.
    EXPECT_NE(WriteNoteFile(book.Contents()).find("\t45 8 28-30\t"), std::string::npos);
}

TEST(NoteBook, RangeAcrossChaptersRefused) {
    NoteBook book;
    EXPECT_THROW(book.Add(PlaceOf(45, 8, 28), PlaceOf(45, 9, 1), "x"), std::invalid_argument);
    EXPECT_THROW(book.Add(PlaceOf(45, 8, 28), PlaceOf(45, 8, 27), "x"), std::invalid_argument);
    EXPECT_THROW(book.Add(PlaceOf(67, 1, 1), 0, "x"), std::invalid_argument);
    EXPECT_EQ(book.Count(), 0u);
}

TEST(NoteFile, DamagedLinesDroppedTheRestKept) {
    const std::string text =
        "# Notes\n"
        "N\taaaa000000000001\t43 3 16\t2027-01-01T00:00:00Z\t2027-01-01T00:00:00Z\tbon\n"
        "N\taaaa000000000002\t43 3 16\t2027-01-01T00:00:00Z\tpas une date\tmauvais\n"
        "N\taaaa000000000003\t43 3 16-12\t2027-01-01T00:00:00Z\t2027-01-01T00:00:00Z\tx\n"
        "N\taaaa000000000004\t43 3 16\t2027-01-01T00:00:00Z\t2027-01-01T00:00:00Z\tfin\\\n"
        "N\taaaa000000000005\t43 3\t2027-01-01T00:00:00Z\t2027-01-01T00:00:00Z\tx\n"
        "H\t19 23 1\tviolet\t2027-01-01T00:00:00Z\n"
        "N\taaaa000000000006\t43 3 16\t2027-01-01T00:00:00Z\t2027-01-01T00:00:00Z\t\xff\n"
        "H\t19 23 1\tvert\t2027-01-01T00:00:00Z\r\n"
        "Z\tquoi\n"
        "X\taaaa000000000009\t2027-01-01T00:00:00Z\n";
    const NoteFile f = ReadNoteFile(text);
    EXPECT_EQ(f.unread, 7);
    ASSERT_EQ(f.notes.size(), 1u);
    EXPECT_EQ(f.notes[0].text, "bon");
    ASSERT_EQ(f.highlights.size(), 1u);
    EXPECT_EQ(f.highlights[0].colour, Colour::Vert);
    ASSERT_EQ(f.removals.size(), 1u);
}

TEST_F(NotesFolder, LoadKeepsWhatReadsAndRefusesATooLargeFile) {
    {
        std::ofstream out(File());
        out << "N\tabc\t1 1 1\t2027-01-01T00:00:00Z\t2027-01-01T00:00:00Z\tau commencement\n"
               "ceci n'est pas une note\n";
    }
    NoteBook book;
    EXPECT_EQ(book.Load(File()), 1);
    EXPECT_EQ(book.Count(), 1u);
    NoteBook missing;
    EXPECT_EQ(missing.Load((folder_ / "none.txt").string()), 0);
    std::filesystem::resize_file(File(), NoteBook::kMaxFileBytes + 1);
    try {
        book.Load(File());
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::TooLarge);
    }
    EXPECT_EQ(book.Count(), 1u);
}

TEST_F(NotesFolder, TwoWindowsKeepEachOthersNotesAndRemovals) {
    Ticking t;
    NoteBook first(t.Clock()), second(t.Clock());
    const std::string a = first.Add(PlaceOf(1, 1, 1), 0, "premier").id;
    first.Save(File());
    second.Load(File());
    const std::string b = second.Add(PlaceOf(2, 1, 1), 0, "second").id;
    const std::string c = first.Add(PlaceOf(3, 1, 1), 0, "encore du premier").id;
    second.Save(File());
    first.Save(File());  // does not lose b
    NoteBook reader;
    reader.Load(File());
    EXPECT_EQ(reader.Count(), 3u);

    // The second window removes a; the first, which still has it, saves
    // after: a stays removed.
    second.Load(File());
    ASSERT_TRUE(second.Remove(a));
    second.Save(File());
    ASSERT_TRUE(first.Change(c, "changé"));
    first.Save(File());
    reader.Load(File());
    EXPECT_EQ(reader.Find(a), nullptr);
    EXPECT_EQ(first.Find(a), nullptr);
    ASSERT_NE(reader.Find(b), nullptr);
    // The later change wins.
    second.Change(c, "changé encore");
    second.Save(File());
    first.Save(File());
    reader.Load(File());
    EXPECT_EQ(reader.Find(c)->text, "changé encore");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "notes.txt.tmp"));
}

// A 10 MB line and a verse no Bible has (Genèse 99:99) are left out; a
// note of 1 MB and a book of 100,000 notes are kept whole.
TEST_F(NotesFolder, HugeLinesAndNotesAndManyNotes) {
    {
        std::ofstream out(File());
        out << "N\tbad1\t1 99 99\t2027-01-01T00:00:00Z\t2027-01-01T00:00:00Z\tGenèse 99:99\n"
            << std::string(10 << 20, 'x') << "\n"
            << "N\tgood\t1 1 1\t2027-01-01T00:00:00Z\t2027-01-01T00:00:00Z\tbon\n";
    }
    NoteBook book;
    EXPECT_EQ(book.Load(File()), 2);
    EXPECT_EQ(book.Count(), 1u);

    const std::string big(1 << 20, 'a');
    const std::string id = book.Add(PlaceOf(43, 3, 16), 0, big + "\n\tfin").id;
    for (int k = 0; k < 100000; ++k)
        book.Add(PlaceOf(1 + k % 66, 1, 1 + k % 20), 0, "note " + std::to_string(k));
    book.Save(File());
    NoteBook again;
    EXPECT_EQ(again.Load(File()), 0);
    EXPECT_EQ(again.Count(), 100002u);
    EXPECT_EQ(again.Find(id)->text, big + "\n\tfin");
}

TEST_F(NotesFolder, WindowsSavingAtTheSameTimeLoseNothing) {
    auto window = [&](int book) {
        NoteBook notes;
        for (int v = 1; v <= 15; ++v) {
            notes.Add(PlaceOf(book, 1, v), 0, "note");
            notes.Save(File());
        }
    };
    std::thread a(window, 1), b(window, 2);
    a.join();
    b.join();
    NoteBook reader;
    EXPECT_EQ(reader.Load(File()), 0);
    EXPECT_EQ(reader.Count(), 30u);
}

TEST_F(NotesFolder, RemovalUndoneWithinTheSecondOfItsSave) {
    NoteBook book([] { return std::string("2027-01-01T00:00:00Z"); });
    const std::string id = book.Add(PlaceOf(1, 1, 1), 0, "x").id;
    std::optional<Note> removed = book.Remove(id);
    book.Save(File());
    book.Restore(*removed);
    book.Save(File());
    NoteBook reader;
    reader.Load(File());
    EXPECT_NE(reader.Find(id), nullptr);
}

TEST_F(NotesFolder, RemovalsForgottenAfterThirtyDays) {
    Ticking t;
    NoteBook book(t.Clock());
    book.Remove(book.Add(PlaceOf(1, 1, 1), 0, "x").id);
    book.Save(File());
    EXPECT_EQ(ReadNoteFile(ReadFile(File(), 1 << 20)).removals.size(), 1u);
    t.now += NoteBook::kRemovalKept + 10;
    book.Save(File());
    EXPECT_EQ(ReadNoteFile(ReadFile(File(), 1 << 20)).removals.size(), 0u);
}

TEST(NoteBook, FilterIsBlindToAccentsAndCapitals) {
    NoteBook book;
    book.Add(PlaceOf(40, 16, 18), 0, "Sur cette pierre je bâtirai mon Église");
    book.Add(PlaceOf(45, 8, 28), 0, "Tout concourt au bien");
    ASSERT_EQ(book.Filter("eglise").size(), 1u);
    EXPECT_EQ(book.Filter("BATIRAI eglise")[0].first, PlaceOf(40, 16, 18));
    EXPECT_TRUE(book.Filter("église absente").empty());
    EXPECT_EQ(book.Filter("").size(), 2u);
}

TEST(NoteBook, RemovalUndoneAndNotesInBibleOrder) {
    Ticking t;
    NoteBook book(t.Clock());
    const std::string late = book.Add(PlaceOf(45, 8, 28), 0, "Romains").id;
    book.Add(PlaceOf(1, 1, 1), 0, "Genèse");
    book.Add(PlaceOf(45, 8, 28), PlaceOf(45, 8, 30), "Romains encore");
    std::optional<Note> removed = book.Remove(late);
    ASSERT_TRUE(removed);
    EXPECT_EQ(book.Count(), 2u);
    EXPECT_FALSE(book.Remove(late));
    book.Restore(*removed);
    const std::vector<Note> all = book.Notes();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].text, "Genèse");
    EXPECT_EQ(all[1].text, "Romains");  // made first
    EXPECT_EQ(all[2].text, "Romains encore");
    EXPECT_EQ(book.NotesAt(PlaceOf(45, 8, 29)).size(), 1u);
    EXPECT_EQ(book.NotesAt(PlaceOf(45, 8, 28)).size(), 2u);
    // Restored, it survives a merge with the removal.
    NoteFile again = book.Contents();
    again.removals.push_back({late, removed->modified});
    book.Merge(again);
    EXPECT_NE(book.Find(late), nullptr);
}

TEST(NoteBook, HighlightsSetChangedClearedOnSeveralVerses) {
    Ticking t;
    NoteBook book(t.Clock());
    const std::vector<VersePlace> verses = {PlaceOf(19, 23, 1), PlaceOf(19, 23, 2),
                                            PlaceOf(19, 23, 3)};
    book.SetHighlights(verses, Colour::Jaune);
    EXPECT_EQ(book.HighlightAt(PlaceOf(19, 23, 2)), Colour::Jaune);
    book.SetHighlight(PlaceOf(19, 23, 2), Colour::Bleu);
    EXPECT_EQ(book.HighlightAt(PlaceOf(19, 23, 2)), Colour::Bleu);
    book.SetHighlights(std::span(verses).first(1), Colour::None);
    EXPECT_EQ(book.HighlightAt(PlaceOf(19, 23, 1)), Colour::None);
    EXPECT_EQ(book.Highlights().size(), 2u);
    // A clearing made in one window reaches the other.
    NoteBook other(t.Clock());
    other.Merge(ReadNoteFile("H\t19 23 1\tjaune\t2020-01-01T00:00:00Z\n"));
    other.Merge(ReadNoteFile(WriteNoteFile(book.Contents())));
    EXPECT_EQ(other.HighlightAt(PlaceOf(19, 23, 1)), Colour::None);
    EXPECT_EQ(other.HighlightAt(PlaceOf(19, 23, 3)), Colour::Jaune);
    EXPECT_EQ(ColourName(Colour::Orange), "orange");
    for (int c = 1; c <= kColourCount; ++c) {
        const std::uint32_t rgb = ColourRgb(static_cast<Colour>(c));
        // Light enough for black text: every channel well above the middle.
        EXPECT_GE(std::min({rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF}), 0xA0u);
        EXPECT_EQ(ColourOfName(ColourName(static_cast<Colour>(c))), static_cast<Colour>(c));
    }
}

TEST(NoteBook, FirstWordsForAScreenReader) {
    EXPECT_EQ(FirstWords("Car Dieu a tant aimé\nle monde qu'il a donné son Fils"),
              "Car Dieu a tant aimé le monde qu'il…");
    EXPECT_EQ(FirstWords("  court  "), "court");
}

TEST(NoteBook, ReferencesInANotesTextFound) {
    const BookNames names(testing::FrenchBible());
    const std::string text = "Voir Rm 8:28, puis 1 Co 13:4-7 et Jean 3:16 ; pas Jean 3:99 ni 12:3.";
    const std::vector<ReferenceSpan> refs = FindReferences(text, names, testing::FrenchBible());
    ASSERT_EQ(refs.size(), 3u);
    EXPECT_EQ(text.substr(refs[0].start, refs[0].length), "Rm 8:28");
    EXPECT_EQ(refs[0].book, 45);
    EXPECT_EQ(refs[0].chapter, 8);
    EXPECT_EQ(refs[0].first, 28);
    EXPECT_EQ(text.substr(refs[1].start, refs[1].length), "1 Co 13:4-7");
    EXPECT_EQ(refs[1].book, 46);
    EXPECT_EQ(refs[1].last, 7);
    EXPECT_EQ(text.substr(refs[2].start, refs[2].length), "Jean 3:16");
    // A short word before the book's name is not taken for a book.
    const std::string psalm = "Lire le Ps 23:1 et la Genèse 1:1";
    const auto ps = FindReferences(psalm, names, testing::FrenchBible());
    ASSERT_EQ(ps.size(), 2u);
    EXPECT_EQ(psalm.substr(ps[0].start, ps[0].length), "Ps 23:1");
    EXPECT_EQ(psalm.substr(ps[1].start, ps[1].length), "Genèse 1:1");
    const std::string accented = "Ésaïe 53:5";
    const auto es = FindReferences(accented, names, testing::FrenchBible());
    ASSERT_EQ(es.size(), 1u);
    EXPECT_EQ(es[0].start, 0u);
    EXPECT_EQ(es[0].length, accented.size());
}

TEST(NoteBook, ExportHtmlEscapedAndGroupedByBook) {
    Ticking t;
    NoteBook book(t.Clock());
    book.Add(PlaceOf(45, 8, 28), PlaceOf(45, 8, 30), "a < b & \"c\"\nligne");
    book.Add(PlaceOf(1, 1, 1), 0, "<script>");
    book.Add(PlaceOf(1, 2, 3), 0, "repos");
    book.SetHighlight(PlaceOf(19, 23, 1), Colour::Rose);
    const std::string html = book.ExportHtml();
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("a &lt; b &amp; &quot;c&quot;<br>"), std::string::npos);
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    const std::size_t genese = html.find("<h2>Genèse</h2>");
    const std::size_t romains = html.find("<h2>Romains</h2>");
    ASSERT_NE(genese, std::string::npos);
    EXPECT_EQ(html.find("<h2>Genèse</h2>", genese + 1), std::string::npos);  // one heading
    EXPECT_LT(genese, html.find("Genèse 2:3"));
    EXPECT_LT(genese, romains);
    EXPECT_LT(romains, html.find("Romains 8:28-30"));
    const std::size_t rose = html.find(">rose</h3>");
    ASSERT_NE(rose, std::string::npos);
    EXPECT_LT(rose, html.find("\">Psaumes 23:1</li>"));
    const std::string text = book.ExportText();
    EXPECT_NE(text.find("Romains\n\nRomains 8:28-30\n    a < b & \"c\"\n    ligne\n"),
              std::string::npos);
    EXPECT_NE(text.find("rose :\n  Psaumes 23:1"), std::string::npos);
}

TEST(NoteBook, ImportAddsOnlyWhatIsNotThere) {
    Ticking t;
    NoteBook mine(t.Clock()), theirs(t.Clock());
    const Note kept = mine.Add(PlaceOf(43, 3, 16), 0, "Dieu a tant aimé");
    theirs.Merge(mine.Contents());                          // same identity
    theirs.Add(PlaceOf(43, 3, 16), 0, "Dieu a tant aimé");  // same verse and text
    theirs.Add(PlaceOf(43, 3, 17), 0, "non pour juger");
    theirs.SetHighlight(PlaceOf(43, 3, 16), Colour::Vert);
    const std::string file = WriteNoteFile(theirs.Contents());
    EXPECT_EQ(mine.Import(file), 1);
    EXPECT_EQ(mine.Count(), 2u);
    EXPECT_EQ(mine.HighlightAt(PlaceOf(43, 3, 16)), Colour::Vert);
    EXPECT_EQ(mine.Import(file), 0);
    EXPECT_EQ(mine.Import("pas un fichier de notes"), 0);
}

TEST(NoteBook, NoteOnAnEnglishNumberedPsalmFoundAtTheSegondVerse) {
    const Numbering* kjv = KnownNumberings().Find("KJV");
    ASSERT_NE(kjv, nullptr);
    const Numbering& segond = KnownNumberings().Segond();
    NoteBook book;
    const auto [first, last] = SegondRange(*kjv, PlaceOf(19, 51, 7), 0);
    EXPECT_EQ(first, PlaceOf(19, 51, 9));
    EXPECT_EQ(Renumber(PlaceOf(19, 51, 7), *kjv, segond), first);
    book.Add(first, last, "Purifie-moi avec l'hysope");
    // Read in a Segond Bible, the note is at its 51:9.
    EXPECT_EQ(book.NotesAt(segond.ToSegond(PlaceOf(19, 51, 9))).size(), 1u);
    // And back in the English Bible, at its 51:7.
    EXPECT_EQ(book.NotesAt(kjv->ToSegond(PlaceOf(19, 51, 7))).size(), 1u);
    const auto [rf, rl] = SegondRange(*kjv, PlaceOf(19, 51, 1), PlaceOf(19, 51, 3));
    EXPECT_EQ(rf, PlaceOf(19, 51, 3));
    EXPECT_EQ(rl, PlaceOf(19, 51, 5));
}

// An export, as a page or as text, comes back by « Importer des notes... »
// whole, lines and blank lines kept, and a second time adds nothing.
TEST(NoteBook, AnExportImportedBackGivesTheSameNotesOnce) {
    Ticking t;
    NoteBook book(t.Clock());
    book.Add(PlaceOf(45, 8, 28), PlaceOf(45, 8, 30), "a < b & \"c\"\n\n  ligne\tfin");
    book.Add(PlaceOf(1, 1, 1), 0, "<script>alert(1)</script>");
    book.Add(PlaceOf(62, 1, 1), 0, "Jean 3:16\nRomains 8:28");  // lines that look like references
    book.SetHighlight(PlaceOf(19, 23, 1), Colour::Rose);
    book.SetHighlight(PlaceOf(19, 23, 2), Colour::Vert);
    for (const std::string& exported : {book.ExportHtml(), book.ExportText()}) {
        SCOPED_TRACE(exported.substr(0, 20));
        ASSERT_TRUE(IsExportedNotes(exported));
        NoteBook other(t.Clock());
        EXPECT_EQ(other.Import(exported), 3);
        ASSERT_EQ(other.Count(), 3u);
        const std::vector<Note> mine = book.Notes(), theirs = other.Notes();
        for (std::size_t i = 0; i < mine.size(); ++i) {
            EXPECT_EQ(theirs[i].first, mine[i].first);
            EXPECT_EQ(theirs[i].last, mine[i].last);
            EXPECT_EQ(theirs[i].text, mine[i].text);
            EXPECT_FALSE(theirs[i].id.empty());
        }
        EXPECT_EQ(other.HighlightAt(PlaceOf(19, 23, 1)), Colour::Rose);
        EXPECT_EQ(other.HighlightAt(PlaceOf(19, 23, 2)), Colour::Vert);
        EXPECT_EQ(other.Import(exported), 0);
        EXPECT_EQ(book.Import(exported), 0);  // into the book it came from
    }
}

// A page from elsewhere, or one damaged, gives what reads of it and no more.
TEST(NoteBook, AForeignOrDamagedExportGivesWhatReads) {
    const std::string page =
        "<!DOCTYPE html><html><script>alert(1)</script>"
        "<h3 data-first=\"999999999\" data-last=\"0\">x</h3>\n<p>hors canon</p>"
        "<h3 data-first=\"" +
        std::to_string(PlaceOf(43, 3, 16)) +
        "\" data-last=\"0\">Jean 3:16</h3>\n<p>ok &amp; <b>gras</b><br>\nfin</p>"
        "<h3 data-first=\"" +
        std::to_string(PlaceOf(43, 3, 17)) +
        "\" data-last=\"0\">sans fin"
        "<li data-verse=\"12\" data-colour=\"jaune\"></li><li data-verse=\"1";
    const NoteFile file = ReadExportedNotes(page);
    ASSERT_EQ(file.notes.size(), 1u);
    EXPECT_EQ(file.notes[0].first, PlaceOf(43, 3, 16));
    EXPECT_EQ(file.notes[0].text, "ok & gras\nfin");
    EXPECT_TRUE(file.highlights.empty());
    EXPECT_GE(file.unread, 3) << file.unread;
    EXPECT_FALSE(IsExportedNotes("N\tid\t43 3 16"));
    EXPECT_TRUE(ReadExportedNotes("Notes de Lorvane\nGenèse 99:99\n    x\n").notes.empty());
}

// A note's text shown: escaped, its lines kept, its references links that
// read back to their verses.
TEST(NoteBook, ANotesReferencesBecomeLinks) {
    const std::string text = "Voir <Rm 8:28> &\nJean 3:16";
    const std::vector<ReferenceSpan> refs = {{6, 7, 45, 8, 28, 0}, {17, 9, 43, 3, 16, 18}};
    EXPECT_EQ(NoteTextHtml(text, refs),
              "Voir &lt;<a href=\"lorvane-ref:45:8:28:0\">Rm 8:28</a>&gt; &amp;<br>\n"
              "<a href=\"lorvane-ref:43:3:16:18\">Jean 3:16</a>");
    const auto r = ReferenceOfLink("lorvane-ref:43:3:16:18");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->book, 43);
    EXPECT_EQ(r->chapter, 3);
    EXPECT_EQ(r->first, 16);
    EXPECT_EQ(r->last, 18);
    for (const char* bad : {"lorvane-ref:43:3:16", "lorvane-ref:67:1:1:0", "lorvane-ref:1:1:1:0:",
                            "lorvane-ref:1:1:99999:0", "lorvane-ref:a:1:1:0", "http://x"})
        EXPECT_FALSE(ReferenceOfLink(bad)) << bad;
}

}  // namespace
}  // namespace lorvane
