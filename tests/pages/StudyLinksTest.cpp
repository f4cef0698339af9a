#include <gtest/gtest.h>

#include "StudyLinks.h"

namespace lorvane {
namespace {

const QString kThem = QStringLiteral("/opt/lorvane/them/");

bool Exists(const QString& path) {
    return path == kThem + "index.htm" || path == kThem + "glossaire.htm" ||
           path == kThem + "livres.htm";
}

std::tuple<int, int, int, int> Passage(const StudyLinkDecision& d) {
    return {d.passage.Book, d.passage.Chapter, d.passage.FirstVerse, d.passage.LastVerse};
}

TEST(StudyLinksTest, BookTableOpensBooksAndShowsItself) {
    EXPECT_EQ(BookTableLink(kThem + "livres.htm").kind, StudyLinkDecision::Proceed);
    const StudyLinkDecision d = BookTableLink(kThem + "19");
    EXPECT_EQ(d.kind, StudyLinkDecision::OpenBook);
    EXPECT_EQ(d.book, 19);
    for (const char* bad : {"67", "0", "-1", "abc", "19.htm", "#19", "19#a"})
        EXPECT_EQ(BookTableLink(kThem + bad).kind, StudyLinkDecision::Cancel) << bad;
}

TEST(StudyLinksTest, ThemesFollowPlainPagesAndVerseLinks) {
    EXPECT_EQ(ThemeLink(kThem + "index.htm", Exists).kind, StudyLinkDecision::Proceed);
    EXPECT_EQ(ThemeLink(kThem + "absent.htm", Exists).kind, StudyLinkDecision::Cancel);
    StudyLinkDecision d = ThemeLink("43:3:16-18", Exists);
    EXPECT_EQ(d.kind, StudyLinkDecision::OpenPassage);
    EXPECT_EQ(Passage(d), std::tuple(43, 3, 16, 18));
    EXPECT_EQ(Passage(ThemeLink("43-3-18-16", Exists)), std::tuple(43, 3, 18, 18));
    // A page with an anchor is no plain path: read as a verse link, refused.
    EXPECT_EQ(ThemeLink("file://" + kThem + "index.htm#a", Exists).kind, StudyLinkDecision::Cancel);
    for (const char* bad : {"43:3", "http://example.org/", "mailto:x@y", "99:1:1", ""})
        EXPECT_EQ(ThemeLink(bad, Exists).kind, StudyLinkDecision::Cancel) << bad;
}

TEST(StudyLinksTest, GlossaryMovesBetweenExistingPagesOnly) {
    EXPECT_EQ(GlossaryLink("file://" + kThem + "glossaire.htm#A", Exists).kind,
              StudyLinkDecision::Proceed);
    EXPECT_EQ(GlossaryLink(kThem + "glossaire.htm", Exists).kind, StudyLinkDecision::Proceed);
    // An anchor is no pass: the page must be one the pane may show.
    for (const QString& bad : {QString("file:///dev/zero#a"), QString("http://example.org/#a"),
                               "file://" + kThem + "absent.htm#A", QString("//host/x#y")})
        EXPECT_EQ(GlossaryLink(bad, Exists).kind, StudyLinkDecision::Cancel) << bad.toStdString();
    EXPECT_EQ(Passage(GlossaryLink("43:3:16", Exists)), std::tuple(43, 3, 16, 16));
    EXPECT_EQ(GlossaryLink("43:3", Exists).kind, StudyLinkDecision::Cancel);
}

TEST(StudyLinksTest, LocalPathsOfBothReportForms) {
    bool anchor = true;
    EXPECT_EQ(StudyLocalPath("/a/b.htm", &anchor), "/a/b.htm");
    EXPECT_FALSE(anchor);
    EXPECT_EQ(StudyLocalPath("file:///a/dossier#1/b.htm#x", &anchor), "/a/dossier#1/b.htm");
    EXPECT_TRUE(anchor);
    EXPECT_TRUE(StudyLocalPath("43:3:16").isNull());
    EXPECT_TRUE(StudyLocalPath("//host/a").isNull());
    EXPECT_TRUE(StudyLocalPath("file://host/a#b").isNull());
}

}  // namespace
}  // namespace lorvane
