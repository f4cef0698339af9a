// The study pages: reading their sources and checking their links.

#include <gtest/gtest.h>

#include <fstream>

#include "Cp1252.h"
#include "Fixtures.h"
#include "Pages.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using lorvane::testing::TempDir;

// Tiny pages that pass every check, over a Bible of 66 books whose first
// chapter has three verses.
std::vector<Page> GoodPages() {
    std::string livres = "<HTML><BODY><A name=\"top\"></A>";
    for (int b = 1; b <= 66; ++b)
        livres += "<A href=\"" + std::to_string(b) + "\">Livre</A>";
    livres += "<A href=\"#top\">haut</A><A href=\"livres.htm\">ici</A></BODY></HTML>";
    std::string glossaire = "<A href=\"1:1:2\">v</A><a href=\"#Poids\">d</a>";
    for (char c = 'A'; c <= 'Z'; ++c)
        glossaire += "<A name=\"" + std::string(1, c) + "\"></A>";
    for (const char* a : {"Longueur", "Capacite", "Poids", "Monnaie", "Temps"})
        glossaire += "<TABLE id=\"" + std::string(a) + "\"></TABLE>";
    return {
        {"livres.htm", livres, 0},
        {"index.htm", "<A HREF='theme.htm'>Thème</A>", 0},
        {"theme.htm",
         "<!-- <A href=\"nowhere.htm\"> --><A href=\"1:1:1\">a</A> <A href=43:1:1-3>b</A> "
         "<A href=\"index.htm\">c</A>",
         0},
        {"glossaire.htm", glossaire, 0},
    };
}

VerseIndex SmallBible() {
    std::vector<dw::VerseEntry> verses;
    for (int b = 1; b <= 66; ++b)
        for (int v = 1; v <= 3; ++v)
            verses.push_back({b, 1, v, "x"});
    return VerseIndex(verses);
}

std::string AllErrors(const Report& r) {
    std::string out;
    for (const auto& e : r.Errors())
        out += e + "\n";
    return out;
}

TEST(Pages, AGoodSetPassesAndItsLinksAreCounted) {
    Report report;
    CheckPages(GoodPages(), SmallBible(), true, report);
    EXPECT_FALSE(report.HasErrors()) << AllErrors(report);
    ASSERT_EQ(report.SummaryLines().size(), 1u);
    EXPECT_EQ(report.SummaryLines()[0],
              "study pages: 4, verse links: 3 (0 not valid), book links: 66, page links: 5");
}

TEST(Pages, VerseLinksToMissingVersesFailOnlyWhenStrict) {
    auto pages = GoodPages();
    pages[2].bytes += "<A href=\"1:1:4\">x</A><A href=\"1:2:1\">y</A><A href=\"66:30:1\">z</A>";
    Report strict;
    CheckPages(pages, SmallBible(), true, strict);
    EXPECT_EQ(strict.Errors().size(), 3u) << AllErrors(strict);
    Report lenient;
    CheckPages(pages, SmallBible(), false, lenient);
    EXPECT_FALSE(lenient.HasErrors()) << AllErrors(lenient);
    EXPECT_EQ(lenient.Count("verse links of the study pages naming verses this Bible lacks"), 3);
    // A range written backwards is the page's own mistake, whatever the Bible.
    pages = GoodPages();
    pages[2].bytes += "<A href=\"1:1:3-1\">x</A>";
    Report backwards;
    CheckPages(pages, SmallBible(), false, backwards);
    EXPECT_EQ(backwards.Errors().size(), 1u);
}

TEST(Pages, BrokenPageLinksBookLinksAndForbiddenContentAreErrors) {
    auto pages = GoodPages();
    pages[2].bytes +=
        "<A href=\"absent.htm\">a</A><A href=\"index.htm#nowhere\">b</A>"
        "<A href=\"12\">c</A><A href=\"http://example.org/\">d</A><A href=\"43:3\">e</A>"
        "<SCRIPT>x()</SCRIPT><IMG src=\"a.png\"><BODY onload=\"x()\">";
    pages[0].bytes += "<A href=\"67\">f</A><A href=\"43:3:16\">g</A>";
    Report report;
    CheckPages(pages, SmallBible(), true, report);
    const std::string errors = AllErrors(report);
    for (const char* expected :
         {"theme.htm:1: link \"absent.htm\" names no study page",
          "link \"index.htm#nowhere\" names no anchor of index.htm", "book link \"12\" outside",
          "\"http://example.org/\" names no study page", "\"43:3\" names no study page",
          "not allowed in a study page: <script>", "<img src=\"a.png\">", "onload",
          "book link \"67\" names no book", "verse link \"43:3:16\" in livres.htm"})
        EXPECT_NE(errors.find(expected), std::string::npos) << expected << "\n" << errors;
    // Each also does nothing in the pane that shows it.
    EXPECT_NE(errors.find("theme.htm:1: link \"absent.htm\" in the themes pane does nothing there"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("livres.htm:1: link \"67\" in the book table pane does nothing there"),
              std::string::npos)
        << errors;
}

TEST(Pages, EveryLinkWorksInThePaneThatShowsIt) {
    auto pages = GoodPages();
    // The themes list shows the book table, whose book links do nothing in
    // the themes pane; a theme page links an anchor, which the themes pane
    // does not follow.
    pages[1].bytes = "<A name=\"top\"></A>" + pages[1].bytes + "<A href=\"livres.htm\">x</A>";
    pages[2].bytes += "<A href=\"index.htm#top\">haut</A>";
    Report report;
    CheckPages(pages, SmallBible(), true, report);
    const std::string errors = AllErrors(report);
    EXPECT_NE(errors.find("livres.htm:1: link \"1\" in the themes pane does nothing there"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("theme.htm:1: link \"index.htm#top\" in the themes pane does nothing"),
              std::string::npos)
        << errors;
    EXPECT_EQ(report.Errors().size(), 68u) << errors;  // 66 books and two anchors

    // The glossary may show a theme page and the themes list: their links
    // all work there.
    pages = GoodPages();
    pages[3].bytes += "<A href=\"theme.htm\">t</A>";
    Report glossary;
    CheckPages(pages, SmallBible(), true, glossary);
    EXPECT_FALSE(glossary.HasErrors()) << AllErrors(glossary);
}

TEST(Pages, ThePagesTheProgramNamesMustBeThere) {
    auto pages = GoodPages();
    pages[0].bytes = "<A href=\"1\">Genèse</A>";  // livres.htm links only book 1
    pages[3].bytes = "<A name=\"A\"></A>";        // glossary with one anchor
    pages.erase(pages.begin() + 1);               // no index.htm
    Report report;
    CheckPages(pages, SmallBible(), true, report);
    const std::string errors = AllErrors(report);
    EXPECT_NE(errors.find("study page index.htm is missing"), std::string::npos) << errors;
    EXPECT_NE(errors.find("glossaire.htm lacks the anchors B C"), std::string::npos) << errors;
    EXPECT_NE(errors.find(" Longueur Capacite Poids Monnaie Temps"), std::string::npos) << errors;
    EXPECT_NE(errors.find("livres.htm has no link to the books 2 3 "), std::string::npos) << errors;
}

TEST(Pages, LoadReadsEveryHtmPageAsWindows1252) {
    TempDir tmp;
    std::ofstream(tmp.path() / "b.htm")
        << "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">Éphah";
    std::ofstream(tmp.path() / "a.htm") << "<HTML><HEAD><TITLE>Sicle</TITLE></HEAD></HTML>";
    std::ofstream(tmp.path() / "notes.txt") << "not a page ≈";
    fs::last_write_time(tmp.path() / "a.htm",
                        fs::file_time_type::clock::now() - std::chrono::hours(48));
    auto pages = LoadPages(tmp.path());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].name, "a.htm");
    EXPECT_EQ(pages[1].bytes,
              cp1252::FromUtf8("<META http-equiv=\"Content-Type\" content=\"text/html; "
                               "charset=windows-1252\">Éphah"));
    EXPECT_EQ(pages[0].bytes,
              "<HTML><HEAD>\n<META http-equiv=\"Content-Type\" content=\"text/html; "
              "charset=windows-1252\"><TITLE>Sicle</TITLE></HEAD></HTML>");
    const std::time_t now = std::time(nullptr);
    EXPECT_NEAR(static_cast<double>(now - pages[0].modified), 48 * 3600.0, 60.0);

    std::ofstream(tmp.path() / "c.htm") << "≈";
    EXPECT_THROW(LoadPages(tmp.path()), std::runtime_error);
    EXPECT_THROW(LoadPages(tmp.path() / "absent"), std::runtime_error);
}

}  // namespace
}  // namespace lorvane::importer
