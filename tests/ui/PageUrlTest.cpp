#include <gtest/gtest.h>

#include "PageText.h"
#include "PageUrl.h"

namespace lorvane {

// Readable failures for QString.
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const QString kThemes = U("/opt/lorvane/them/index.htm");
const QString kChapter = U("/opt/lorvane/temp.htm");

TEST(PageUrlTest, ProgramNavigations) {
    NavTarget t = TargetOfNavigate(U("file:///opt/lorvane/temp.htm#5"), {});
    EXPECT_TRUE(t.local);
    EXPECT_EQ(t.path, kChapter);
    EXPECT_TRUE(t.hasAnchor);
    EXPECT_EQ(t.anchor, U("5"));
    EXPECT_EQ(t.report, U("file:///opt/lorvane/temp.htm#5"));  // form 2

    t = TargetOfNavigate(U("file:///opt/lorvane/them/index.htm"), {});
    EXPECT_EQ(t.report, kThemes);  // form 1
    EXPECT_FALSE(t.hasAnchor);

    // A '#' in a folder name is not an anchor; the text is not %-decoded.
    t = TargetOfNavigate(U("file:///opt/a#b/c%20d/temp.htm#3"), {});
    EXPECT_EQ(t.path, U("/opt/a#b/c%20d/temp.htm"));
    EXPECT_EQ(t.anchor, U("3"));
    EXPECT_EQ(TargetOfNavigate(U("file:///opt/a#b/x.htm"), {}).report, U("/opt/a#b/x.htm"));

    EXPECT_EQ(TargetOfNavigate(kThemes, {}).report, kThemes);  // a plain path
    EXPECT_EQ(TargetOfNavigate(U("file://localhost/opt/x.htm"), {}).path, U("/opt/x.htm"));
    EXPECT_EQ(TargetOfNavigate(U("file:///opt/lorvane/./them/../temp.htm#"), {}).report,
              U("file:///opt/lorvane/temp.htm#"));
    t = TargetOfNavigate(U("file://server/share/x.htm"), {});
    EXPECT_FALSE(t.local);
    EXPECT_EQ(t.report, U("file://server/share/x.htm"));
    // Other texts are taken as hrefs of the page shown.
    EXPECT_EQ(TargetOfNavigate(U("43:3:16"), kThemes).report, U("43:3:16"));
    EXPECT_EQ(TargetOfNavigate(U("theme1.htm"), kThemes).report, U("/opt/lorvane/them/theme1.htm"));
    EXPECT_FALSE(TargetOfNavigate(U("theme1.htm"), {}).local);
}

TEST(PageUrlTest, LinkReportForms) {
    // 3: not a URL, reported as written.
    for (const char* h : {"43:3:16", "43:3:16-18", "43-3:16", "1 Co:2", ":x"}) {
        NavTarget t = TargetOfLink(U(h), kThemes);
        EXPECT_FALSE(t.local) << h;
        EXPECT_EQ(t.report, U(h));
    }
    // 4: relative hrefs, resolved against the page.
    EXPECT_EQ(TargetOfLink(U("19"), U("/opt/lorvane/them/livres.htm")).report,
              U("/opt/lorvane/them/19"));
    EXPECT_EQ(TargetOfLink(U("¤19¤23¤1¤6"), kChapter).report, U("/opt/lorvane/¤19¤23¤1¤6"));
    EXPECT_EQ(TargetOfLink(U("theme3.htm"), kThemes).report, U("/opt/lorvane/them/theme3.htm"));
    EXPECT_EQ(TargetOfLink(U("theme3.htm#x"), kThemes).report,
              U("file:///opt/lorvane/them/theme3.htm#x"));
    EXPECT_EQ(TargetOfLink(U("#A"), U("/opt/lorvane/them/glossaire.htm")).report,
              U("file:///opt/lorvane/them/glossaire.htm#A"));
    EXPECT_EQ(TargetOfLink(U("../temp.htm#4"), kThemes).report,
              U("file:///opt/lorvane/temp.htm#4"));
    EXPECT_EQ(TargetOfLink(U("sub/a.htm"), kThemes).path, U("/opt/lorvane/them/sub/a.htm"));
    EXPECT_EQ(TargetOfLink(U("/etc/x.htm"), kThemes).report, U("/etc/x.htm"));
    EXPECT_EQ(TargetOfLink(U("a/b:c"), kThemes).report, U("/opt/lorvane/them/a/b:c"));
    // 5: absolute URLs of other schemes, as written.
    for (const char* h :
         {"http://example.org/a?b#c", "mailto:lecteur@example.org", "ftp://x/y", "x-y.z+w:rest"})
        EXPECT_EQ(TargetOfLink(U(h), kThemes).report, U(h)) << h;
    EXPECT_EQ(TargetOfLink(U("//host/x"), kThemes).report, U("//host/x"));
    // file: URLs name local pages.
    EXPECT_EQ(TargetOfLink(U("file:///opt/x%20y.htm#k%C3%A9"), kThemes).report,
              U("file:///opt/x y.htm#ké"));
    EXPECT_EQ(TargetOfLink(U("FILE:/opt/x.htm"), kThemes).report, U("/opt/x.htm"));
    // 6: characters as text.
    EXPECT_EQ(TargetOfLink(U("%C2%A419%C2%A423"), kChapter).report, U("/opt/lorvane/¤19¤23"));
    EXPECT_EQ(TargetOfLink(U("%A419"), kChapter).report, U("/opt/lorvane/¤19"));
    EXPECT_EQ(TargetOfLink(U("a%20b.htm"), kThemes).report, U("/opt/lorvane/them/a b.htm"));
    EXPECT_EQ(TargetOfLink(U("100%.htm"), kThemes).report, U("/opt/lorvane/them/100%.htm"));
    // Without a page, relative hrefs stay as written.
    EXPECT_EQ(TargetOfLink(U("#A"), {}).report, U("#A"));
}

TEST(PageUrlTest, SchemesAndEscapes) {
    EXPECT_TRUE(HasScheme(U("http://x")));
    EXPECT_TRUE(HasScheme(U("a+b.c-d:")));
    EXPECT_FALSE(HasScheme(U("43:3")));
    EXPECT_FALSE(HasScheme(U(":x")));
    EXPECT_FALSE(HasScheme(U("a/b:c")));
    EXPECT_FALSE(HasScheme(U("abc")));
    EXPECT_FALSE(HasScheme(U("é:x")));
    EXPECT_EQ(DecodePercent(U("%e2%82%ac %80 %zz %4")), U("€ € %zz %4"));
    EXPECT_EQ(DecodePercent(U("ü%C3%BC")), U("üü"));
}

TEST(PageTextTest, DecodesByDeclarationOrAsWindows1252) {
    // No declaration: Windows-1252.
    EXPECT_EQ(DecodePage("<P>\xE9\xA4\x80\x9C</P>"), U("<P>é¤€œ</P>"));
    EXPECT_EQ(DeclaredCharset("<html><body>x"), "");
    // A <meta> declaration, in either form, in any case.
    const std::string utf8 = "<meta charset=\"utf-8\"><P>\xC3\xA9</P>";
    EXPECT_EQ(DeclaredCharset(utf8), "utf-8");
    EXPECT_EQ(DecodePage(utf8), U("<meta charset=\"utf-8\"><P>é</P>"));
    const std::string equiv =
        "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
        "charset=UTF-8\"></HEAD>\xE2\x82\xAC";
    EXPECT_EQ(DeclaredCharset(equiv), "utf-8");
    EXPECT_TRUE(DecodePage(equiv).endsWith(U("€")));
    // Latin-1 declarations read as Windows-1252, as browsers do.
    EXPECT_TRUE(DecodePage("<meta charset=iso-8859-1>\x80").endsWith(U("€")));
    // Byte-order marks.
    EXPECT_EQ(DecodePage("\xEF\xBB\xBF\xC3\xA9"), U("é"));
    EXPECT_EQ(DecodePage(std::string("\xFF\xFE\xE9\x00", 4)), U("é"));
    // Unknown charsets, and declarations past the head, fall back.
    EXPECT_EQ(DecodePage("<meta charset=\"x-unknown\">\xE9"), U("<meta charset=\"x-unknown\">é"));
    const std::string late = std::string(5000, ' ') + "<meta charset=utf-8>\xE9";
    EXPECT_EQ(DeclaredCharset(late), "");
    EXPECT_TRUE(DecodePage(late).endsWith(U("é")));
    EXPECT_EQ(DecodePage(""), QString());
}

}  // namespace
}  // namespace lorvane
