#include "ReadingCore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FctLoad.h"
#include "Fixtures.h"

namespace lorvane {
namespace {

std::string Str(const Place& p) {
    return std::to_string(p.book) + ' ' + std::to_string(p.chapter) + ':' + std::to_string(p.verse);
}

// A pane that writes down what it is told, and can fail when told.
class Pane : public ReadingObserver {
  public:
    std::vector<std::string> heard;
    bool fail = false;

    void PlaceChanged(const Place& before, const Place& after) override {
        heard.push_back("place " + Str(before) + " > " + Str(after) +
                        (after.top > 0 ? " top " + std::to_string(after.top) : "") +
                        (after.scroll >= 0 ? " scroll " + std::to_string(after.scroll) : ""));
        if (fail) throw std::runtime_error("this pane fails");
    }
    void TabsChanged() override { heard.push_back("tabs"); }
    void TablesChanged() override { heard.push_back("tables"); }
    void ComparisonChanged() override { heard.push_back("comparison"); }
    void VerseReadChanged(int verse) override { heard.push_back("verse " + std::to_string(verse)); }
};

class ReadingCoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::WriteDataFolder(dir.path(), testing::DataSet::Small());
        LoadAllTables(tables);
        core.Subscribe(&pane);
        core.SetViewReport([this] { return left; });
    }
    std::string Page() const { return testing::ReadFile(dir.path() / "temp.htm"); }

    testing::TempDir dir;
    Communs tables{dir.appDir()};
    ReadingCore core{tables};
    Pane pane;
    Leaving left{120, 3, 7};
};

TEST_F(ReadingCoreTest, AMoveWritesThePageThenTellsThePanesAndIsRemembered) {
    EXPECT_EQ(Str(core.Here()), "1 1:1");
    EXPECT_TRUE(core.MoveTo(Place{19, 2, 4, -1}, VerseSpan{4, 5}));
    EXPECT_NE(Page().find("Texte 19.2.5"), std::string::npos);
    EXPECT_TRUE(core.PageWritten());
    EXPECT_EQ(pane.heard, std::vector<std::string>{"place 1 1:1 > 19 2:4"});
    EXPECT_EQ(core.Marked().first, 4);
    EXPECT_EQ(core.Marked().last, 5);
    EXPECT_EQ(core.TabCaption(0), "Livre 19 2");
    // The place left keeps how its page was left; a move to the verse read
    // adds no place.
    ASSERT_EQ(core.Places(0).Count(), 2u);
    core.MoveTo(Place{19, 2, 4, -1});
    EXPECT_EQ(core.Places(0).Count(), 2u);
    EXPECT_EQ(pane.heard.size(), 2u);  // shown again all the same
    core.GoBack();
    EXPECT_EQ(pane.heard.back(), "place 19 2:4 > 1 1:1 top 3 scroll 120");
    EXPECT_TRUE(core.CanGoForward());
    core.GoForward();
    EXPECT_EQ(Str(core.Here()), "19 2:4");
    EXPECT_EQ(core.Marked().first, 4);  // the verse come back to is marked
}

// The verse the reader is at: the place's after a move, then the caret's
// or the top one as the view says; kept when the same place is shown again.
TEST_F(ReadingCoreTest, TheVerseReadFollowsTheViewAndComesBackToAMovesVerse) {
    core.MoveTo(Place{19, 2, 4, -1});
    EXPECT_EQ(core.VerseRead(), 4);
    pane.heard.clear();
    core.SetVerseRead(7);
    core.SetVerseRead(7);
    core.SetVerseRead(0);
    EXPECT_EQ(pane.heard, std::vector<std::string>{"verse 7"});
    core.Show();
    EXPECT_EQ(core.VerseRead(), 7);
    core.MoveTo(Place{19, 3, 2, -1});
    EXPECT_EQ(core.VerseRead(), 2);
}

TEST_F(ReadingCoreTest, DigitsTypedInTheChapterBoxMakeOneMoveWithinABook) {
    core.MoveTo(Place{19, 1, 1, -1});
    core.MoveTyping(Place{19, 2, 1, -1});
    core.MoveTyping(Place{19, 3, 1, -1});
    EXPECT_EQ(core.Places(0).Count(), 2u);
    EXPECT_EQ(Str(core.TabPlace(0)), "19 3:1");
    core.MoveTyping(Place{20, 1, 1, -1});  // another book is a move of its own
    EXPECT_EQ(core.Places(0).Count(), 3u);
}

TEST_F(ReadingCoreTest, APageThatCannotBeWrittenLeavesTheReadingWhereItWas) {
    core.MoveTo(Place{19, 1, 1, -1});
    std::filesystem::remove(dir.path() / "temp.htm");
    std::filesystem::create_directory(dir.path() / "temp.htm");
    EXPECT_FALSE(core.MoveTo(Place{2, 1, 1, -1}));
    EXPECT_EQ(Str(core.Here()), "19 1:1");
    EXPECT_EQ(core.Places(0).Count(), 2u);
    // The panes are told to come back to the page they show.
    EXPECT_EQ(pane.heard.back(), "place 19 1:1 > 19 1:1");
}

TEST_F(ReadingCoreTest, TabsKeepTheirOwnPlacesAndHowTheyWereLeft) {
    core.MoveTo(Place{2, 3, 1, -1});
    core.OpenTab();  // first, on the same place, with the same places
    EXPECT_EQ(core.TabCount(), 2);
    EXPECT_EQ(core.CurrentTab(), 0);
    EXPECT_EQ(core.Places(0).Count(), 2u);
    core.MoveTo(Place{5, 1, 2, -1});
    left = Leaving{40, 2, 7};
    core.SelectTab(1);
    EXPECT_EQ(Str(core.Here()), "2 3:1");
    EXPECT_EQ(pane.heard.back(), "place 5 1:2 > 2 3:1 top 3 scroll 120");
    core.SelectNextTab(+1);
    EXPECT_EQ(pane.heard.back(), "place 2 3:1 > 5 1:2 top 2 scroll 40");
    core.CloseTab();  // the first: the next is read
    EXPECT_EQ(core.TabCount(), 1);
    EXPECT_EQ(Str(core.Here()), "2 3:1");
    core.CloseTab();  // the last one stays
    EXPECT_EQ(core.TabCount(), 1);
}

TEST_F(ReadingCoreTest, AnotherBibleKeepsEveryTabsPlacesTheTopVerseAndABookItLacks) {
    core.MoveTo(Place{19, 3, 4, -1});
    core.MoveTo(Place{1, 2, 1, -1});
    core.OpenTab();
    core.MoveTo(Place{43, 2, 4, -1});
    pane.heard.clear();
    // The other Bible has the New Testament only, with two chapters a book.
    testing::TempDir other;
    testing::DataSet nt;
    for (int b = 1; b <= 66; ++b)
        nt.books.push_back({"Livre " + std::to_string(b), "L", b < 40 ? 0 : 2});
    for (int b = 40; b <= 66; ++b)
        for (int c = 1; c <= 2; ++c)
            for (int v = 1; v <= 5; ++v)
                nt.verses.push_back({b, c, v, "NT " + std::to_string(v)});
    nt.pages = testing::TinyPages();
    testing::WriteDataFolder(other.path(), nt);
    Communs fresh{dir.appDir(), other.appDir()};
    LoadAllTables(fresh);
    left = Leaving{0, 3, 7};
    core.ReplaceTables(std::move(fresh), "NT");
    EXPECT_EQ(Str(core.TabPlace(0)), "43 2:4");
    EXPECT_EQ(Str(core.TabPlace(1)), "1 2:1");  // a book it lacks stays
    EXPECT_EQ(core.Places(0).Count(), 4u);
    EXPECT_EQ(pane.heard,
              (std::vector<std::string>{"tables", "tabs", "place 43 2:4 > 43 2:4 top 3"}));
    EXPECT_EQ(core.Comparison().CurrentAbbreviation(), "NT");
    EXPECT_FALSE(core.Comparison().Active());  // no comparison begins
    // Back goes through the places read before, in the new Bible.
    ASSERT_TRUE(core.CanGoBack());
    core.GoBack();
    EXPECT_EQ(Str(core.Here()), "1 2:1");
    EXPECT_NE(Page().find("Ce livre n'est pas dans cette Bible."), std::string::npos);
    core.GoBack();
    EXPECT_EQ(Str(core.Here()), "19 3:4");
    core.GoForward();
    core.GoForward();
    EXPECT_EQ(Str(core.Here()), "43 2:4");
    EXPECT_NE(Page().find("NT 4"), std::string::npos);
}

// The same verse in a Bible numbered otherwise: the Segond's Psaume 51:9
// is 51:7 of an English Bible, the verse at the top as well.
TEST_F(ReadingCoreTest, ASwitchToABibleNumberedOtherwiseKeepsTheSameVerse) {
    const auto numbered = [&](const testing::TempDir& folder, const char* numbering, int verses) {
        testing::DataSet d;
        for (int b = 1; b <= 19; ++b)
            d.books.push_back({"Livre " + std::to_string(b), "L", b == 19 ? 51 : 0});
        for (int v = 1; v <= verses; ++v)
            d.verses.push_back({19, 51, v, std::string(numbering) + " " + std::to_string(v)});
        d.pages = testing::TinyPages();
        testing::WriteDataFolder(folder.path(), d);
        testing::WriteDataFile(folder.path(), "numerotation.txt", std::string(numbering) + "\n");
        auto c = std::make_unique<Communs>(dir.appDir(), folder.appDir());
        LoadAllTables(*c);
        return c;
    };
    testing::TempDir segond, english;
    core.ReplaceTables(std::move(*numbered(segond, "Segond", 21)), "LSG");
    core.MoveTo(Place{19, 51, 9, -1});
    pane.heard.clear();
    left = Leaving{0, 11, 7};
    core.ReplaceTables(std::move(*numbered(english, "KJV", 19)), "WEB");
    EXPECT_EQ(Str(core.Here()), "19 51:7");
    EXPECT_EQ(pane.heard.back(), "place 19 51:9 > 19 51:7 top 9");
    left = Leaving{0, 9, 7};
    core.ReplaceTables(std::move(*numbered(segond, "Segond", 21)), "LSG");
    EXPECT_EQ(Str(core.Here()), "19 51:9");
    EXPECT_EQ(pane.heard.back(), "place 19 51:7 > 19 51:9 top 11");
}

// A Bible of its own folder, its verses "<tag> b.c.v", to compare.
std::shared_ptr<Communs> OtherBible(const testing::TempDir& folder, const std::string& appDir,
                                    const std::string& tag) {
    testing::DataSet d = testing::DataSet::Small();
    for (auto& v : d.verses)
        v.text = tag + " " + std::to_string(v.book) + "." + std::to_string(v.chapter) + "." +
                 std::to_string(v.verse);
    testing::WriteDataFolder(folder.path(), d);
    auto tables = std::make_shared<Communs>(appDir, folder.appDir());
    LoadAllTables(*tables);
    return tables;
}

std::string Abbreviations(const CompareSet& set) {
    std::string out = set.CurrentAbbreviation();
    for (const ComparedBible& b : set.Others())
        out += " " + b.abbreviation;
    return out;
}

TEST_F(ReadingCoreTest, ASwitchWhileComparingKeepsTheColumnsAndTheBibleReadBeforeJoinsThem) {
    testing::TempDir b, c, d, e;
    core.SetComparison("LSG", {{"B", "Bible B", OtherBible(b, dir.appDir(), "B")},
                               {"C", "Bible C", OtherBible(c, dir.appDir(), "C")}});
    core.MoveTo(Place{19, 2, 3, -1});
    // B read: it leaves the columns, the Bible read before takes its place.
    Communs fresh{dir.appDir(), b.appDir()};
    LoadAllTables(fresh);
    pane.heard.clear();
    core.ReplaceTables(std::move(fresh), "B", "Louis Segond");
    EXPECT_EQ(Abbreviations(core.Comparison()), "B LSG C");
    const ComparedBible& former = core.Comparison().Others()[0];
    EXPECT_EQ(former.name, "Louis Segond");
    EXPECT_EQ(former.tables->BibleDir, dir.appDir());
    EXPECT_NE(pane.heard.end(), std::find(pane.heard.begin(), pane.heard.end(), "comparison"));
    std::string page = Page();
    ASSERT_NE(page.find("C 19.2.3"), std::string::npos);
    EXPECT_LT(page.find("B 19.2.3"), page.find("Texte 19.2.3"));
    EXPECT_LT(page.find("Texte 19.2.3"), page.find("C 19.2.3"));
    EXPECT_EQ(Str(core.Here()), "19 2:3");
    core.GoBack();
    EXPECT_EQ(Str(core.Here()), "1 1:1");
    core.GoForward();

    // A Bible not compared: the one read before comes first beside it, up
    // to four columns; the last goes.
    Communs fourth{dir.appDir(), d.appDir()};
    testing::WriteDataFolder(d.path(), testing::DataSet::Small());
    LoadAllTables(fourth);
    core.ReplaceTables(std::move(fourth), "D", "Bible B");
    EXPECT_EQ(Abbreviations(core.Comparison()), "D B LSG C");
    Communs fifth{dir.appDir(), e.appDir()};
    testing::WriteDataFolder(e.path(), testing::DataSet::Small());
    LoadAllTables(fifth);
    core.ReplaceTables(std::move(fifth), "E", "Bible D");
    EXPECT_EQ(Abbreviations(core.Comparison()), "E D B LSG");
    page = Page();
    EXPECT_NE(page.find("B 19.2.3"), std::string::npos);
    EXPECT_EQ(page.find("C 19.2.3"), std::string::npos);
}

TEST_F(ReadingCoreTest, TheComparisonHasFourColumnsAtMost) {
    std::vector<ComparedBible> others;
    for (int i = 0; i < 5; ++i)
        others.push_back({"B" + std::to_string(i), "Bible", std::make_shared<Communs>(tables)});
    others.push_back({"Sans", "Sans tables", nullptr});
    core.SetComparison("LSG", others);
    EXPECT_EQ(core.Comparison().Others().size(), 3u);
    EXPECT_TRUE(core.Comparison().Full());
    EXPECT_EQ(core.Columns().size(), 4u);
    EXPECT_EQ(pane.heard, (std::vector<std::string>{"comparison", "place 1 1:1 > 1 1:1"}));
    EXPECT_NE(Page().find("B2"), std::string::npos);
    core.SetComparison("LSG", {});
    EXPECT_FALSE(core.Comparison().Active());
}

TEST_F(ReadingCoreTest, TheSessionComesBackFittedAndItsViewOnce) {
    core.MoveTo(Place{19, 2, 3, -1});
    core.OpenTab();
    core.MoveTo(Place{4, 1, 1, -1});
    core.SetTextSize(3);
    core.SetVersePerLine(true);
    Session kept = core.SessionNow();
    ASSERT_EQ(kept.tabs.size(), 2u);
    EXPECT_EQ(kept.tabs[0].scroll, 120);  // the tab read, as it is left
    EXPECT_EQ(kept.textSize, 3);
    EXPECT_TRUE(kept.versePerLine);

    kept.tabs.push_back(Place{70, 9, 9, -1});  // a book the Bible does not have
    kept.current = 0;
    testing::TempDir again;
    testing::WriteDataFolder(again.path(), testing::DataSet::Small());
    Communs tables2{again.appDir()};
    LoadAllTables(tables2);
    ReadingCore restored{tables2};
    Pane other;
    restored.Subscribe(&other);
    restored.Restore(kept);
    EXPECT_EQ(restored.TabCount(), 3);
    EXPECT_EQ(Str(restored.TabPlace(2)), "1 1:1");
    EXPECT_EQ(tables2.TextSize, 3);
    EXPECT_EQ(other.heard, std::vector<std::string>{"tabs"});
    restored.Show();  // the first showing brings the view back, once
    EXPECT_EQ(other.heard.back(), "place 4 1:1 > 4 1:1 top 3 scroll 120");
    restored.Show();
    EXPECT_EQ(other.heard.back(), "place 4 1:1 > 4 1:1");
}

TEST_F(ReadingCoreTest, APaneThatFailsOrLeavesDoesNotStopTheOthers) {
    Pane second;
    core.Subscribe(&second);
    pane.fail = true;
    core.MoveTo(Place{3, 1, 1, -1});
    EXPECT_EQ(second.heard.size(), 1u);
    {
        Pane gone;
        core.Subscribe(&gone);
    }  // a pane destroyed leaves the reading
    core.MoveTo(Place{3, 2, 1, -1});
    EXPECT_EQ(second.heard.size(), 2u);
    // The reading destroyed first leaves its panes free.
    auto early = std::make_unique<ReadingCore>(tables);
    Pane late;
    early->Subscribe(&late);
    early.reset();
}

}  // namespace
}  // namespace lorvane
