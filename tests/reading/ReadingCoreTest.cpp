#include "ReadingCore.h"

#include <gtest/gtest.h>

#include <filesystem>
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

TEST_F(ReadingCoreTest, AnotherBibleKeepsEveryTabWhereItCanAndTheTopVerse) {
    core.MoveTo(Place{19, 3, 4, -1});
    core.OpenTab();
    core.MoveTo(Place{1, 2, 1, -1});
    pane.heard.clear();
    // The other Bible has the New Testament only, with two chapters a book.
    testing::TempDir other;
    testing::DataSet nt;
    for (int b = 40; b <= 66; ++b) {
        nt.books.resize(static_cast<std::size_t>(b));
        nt.books[static_cast<std::size_t>(b) - 1] = {"Livre " + std::to_string(b), "L", 2};
    }
    for (int b = 1; b < 40; ++b)
        nt.books[static_cast<std::size_t>(b) - 1] = {"Livre " + std::to_string(b), "L", 0};
    for (int b = 40; b <= 66; ++b)
        for (int c = 1; c <= 2; ++c)
            for (int v = 1; v <= 5; ++v)
                nt.verses.push_back({b, c, v, "NT"});
    nt.pages = testing::TinyPages();
    testing::WriteDataFolder(other.path(), nt);
    Communs fresh{dir.appDir(), other.appDir()};
    LoadAllTables(fresh);
    left = Leaving{0, 3, 7};
    core.ReplaceTables(std::move(fresh), "NT");
    EXPECT_EQ(Str(core.TabPlace(0)), "40 1:1");
    EXPECT_EQ(Str(core.TabPlace(1)), "40 1:1");
    EXPECT_EQ(core.Places(1).Count(), 1u);  // the places before start again
    EXPECT_EQ(pane.heard,
              (std::vector<std::string>{"tables", "tabs", "place 1 2:1 > 40 1:1 top 3"}));
    EXPECT_EQ(core.Comparison().CurrentAbbreviation(), "NT");
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
