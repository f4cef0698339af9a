#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Fixtures.h"
#include "ReaderNotes.h"

namespace lorvane {
namespace {

const Numbering& Segond() {
    return *KnownNumberings().Find("Segond");
}

// Whoever shows the notes hears of every change; a reader without notes
// is not told of the load, and a note made before it is not lost by it.
TEST(ReaderNotes, ChangesAreToldAndKeptWithTheirMarks) {
    testing::TempDir dir;
    const std::string path = (dir.path() / "notes" / "notes.txt").string();
    ReaderNotes notes(path);
    int told = 0;
    ReaderNotes::Subscription listening = notes.Listen([&told] { ++told; });
    notes.Load();
    EXPECT_EQ(told, 0);  // nothing to show again

    const Note& n = notes.Add(Segond(), 43, 3, 16, 18, "Dieu a tant aimé le monde qu'il a donné");
    const std::string id = n.id;
    EXPECT_EQ(told, 1);
    ASSERT_EQ(notes.MarksAt(PlaceOf(43, 3, 16)).size(), 1u);
    EXPECT_EQ(notes.MarksAt(PlaceOf(43, 3, 16))[0].words, "Dieu a tant aimé le monde qu'il a…");
    EXPECT_TRUE(notes.MarksAt(PlaceOf(43, 3, 17)).empty());  // marked where it begins
    notes.Change(id, "autre");
    notes.SetAt(PlaceOf(43, 3, 17), Colour::Bleu);
    EXPECT_EQ(told, 3);
    EXPECT_EQ(notes.BackgroundAt(PlaceOf(43, 3, 17)), ColourRgb(Colour::Bleu));

    // Another window's book of the same file sees them, and its own
    // change made before its load is kept with them.
    ReaderNotes other(path);
    other.Add(Segond(), 1, 1, 1, 0, "au commencement");
    other.Load();
    EXPECT_EQ(other.Book().Count(), 2u);
    EXPECT_EQ(other.Find(id)->text, "autre");

    const std::optional<Note> removed = notes.Remove(id);
    ASSERT_TRUE(removed);
    EXPECT_TRUE(notes.MarksAt(PlaceOf(43, 3, 16)).empty());
    notes.Restore(*removed);
    EXPECT_EQ(notes.MarksAt(PlaceOf(43, 3, 16))[0].id, id);
    listening.Cancel();
    notes.Remove(id);
    EXPECT_EQ(told, 5);
}

// A note on a verse of an English-numbered Bible is kept at its Segond
// verse; one the Segond lacks is refused in French.
TEST(ReaderNotes, ANoteIsKeptByItsSegondVerse) {
    testing::TempDir dir;
    ReaderNotes notes((dir.path() / "notes.txt").string());
    const Numbering* kjv = KnownNumberings().Find("KJV");
    ASSERT_NE(kjv, nullptr);
    const Note& n = notes.Add(*kjv, 19, 51, 7, 0, "hysope");
    EXPECT_EQ(n.first, PlaceOf(19, 51, 9));
    EXPECT_THROW(notes.Add(Segond(), 1, 99, 99, 0, "x"), std::invalid_argument);
}

// A notes file that cannot be written says so, and the note stays for
// the session.
TEST(ReaderNotes, AFileThatCannotBeWrittenSaysSoAndKeepsTheNote) {
    testing::TempDir dir;
    std::ofstream(dir.path() / "blocker") << "x";
    ReaderNotes notes((dir.path() / "blocker" / "notes.txt").string());
    int told = 0;
    const auto listening = notes.Listen([&told] { ++told; });
    EXPECT_THROW(notes.Add(Segond(), 43, 3, 16, 0, "x"), std::exception);
    EXPECT_EQ(notes.Book().Count(), 1u);
    EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace lorvane
