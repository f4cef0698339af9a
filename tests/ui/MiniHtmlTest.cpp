#include <gtest/gtest.h>

#include <chrono>

#include "MiniHtml.h"

namespace lorvane::minihtml {
namespace {

using Items = std::vector<Item>;

Item Text(std::u16string text, Style style = {}) {
    Item it;
    it.kind = ItemKind::Text;
    it.text = std::move(text);
    it.style = std::move(style);
    return it;
}

Item Of(ItemKind kind, int value = 0) {
    Item it;
    it.kind = kind;
    it.value = value;
    return it;
}

Style Bold() {
    Style s;
    s.bold = true;
    return s;
}

Style Colored(std::uint32_t rgb) {
    Style s;
    s.color = Color::Rgb(rgb);
    return s;
}

TEST(MiniHtmlTest, TextsOfTheProgram) {
    // The module title.
    Style title;
    title.bold = true;
    title.face = u"Tahoma";
    title.points = 14;
    title.color = Color::Rgb(0xFFFFFF);
    EXPECT_EQ(Parse(u"<IMG \"idx:4\"><B><FONT color=\"#FFFFFF\" face=\"Tahoma\" size=\"14\"> "
                    u"Thèmes d'étude</FONT></B>"),
              (Items{Of(ItemKind::Image, 4), Text(u" Thèmes d'étude", title)}));
    // Book index items.
    EXPECT_EQ(Parse(u"<B>La création</B>"), (Items{Text(u"La création", Bold())}));
    EXPECT_EQ(Parse(u"<IND x=\"10\">Le jardin"),
              (Items{Of(ItemKind::Indent, 10), Text(u"Le jardin")}));
    // A search result with a highlighted term, and the count line.
    EXPECT_EQ(Parse(u"<B>Gn 1:1</B> : Au <FONT color=\"#C00400\">commencement</FONT>."),
              (Items{Text(u"Gn 1:1", Bold()), Text(u" : Au "),
                     Text(u"commencement", Colored(0xC00400)), Text(u".")}));
    Style gray = Bold();
    gray.color = Color::Rgb(0x808080);
    EXPECT_EQ(Parse(u"<FONT color=\"gray\"><B>+ de 200 éléments trouvés ...</B></FONT>"),
              (Items{Text(u"+ de 200 éléments trouvés ...", gray)}));
    // Image captions of buttons, with and without the attribute name.
    EXPECT_EQ(Parse(u"<IMG src=\"idx:1\">"), (Items{Of(ItemKind::Image, 1)}));
    EXPECT_EQ(Parse(u"<IMG \"idx:0\">"), (Items{Of(ItemKind::Image, 0)}));
    EXPECT_EQ(Parse(u"a<BR>b"), (Items{Text(u"a"), Of(ItemKind::Break), Text(u"b")}));
}

TEST(MiniHtmlTest, FontSizes) {
    EXPECT_EQ(ParseFontSize(u"14"), 14);
    EXPECT_EQ(ParseFontSize(u"4"), 14);  // 1..5 are the HTML sizes
    EXPECT_EQ(ParseFontSize(u"1"), 8);
    EXPECT_EQ(ParseFontSize(u"2"), 10);
    EXPECT_EQ(ParseFontSize(u"3"), 12);
    EXPECT_EQ(ParseFontSize(u"5"), 16);
    EXPECT_EQ(ParseFontSize(u"6"), 6);  // any other number is points
    EXPECT_EQ(ParseFontSize(u" 9 "), 9);
    EXPECT_EQ(ParseFontSize(u"0"), std::nullopt);
    EXPECT_EQ(ParseFontSize(u"-2"), std::nullopt);
    EXPECT_EQ(ParseFontSize(u"big"), std::nullopt);
    EXPECT_EQ(ParseFontSize(u""), std::nullopt);
    EXPECT_EQ(ParseFontSize(u"99999999999999999999"), 1000);
}

TEST(MiniHtmlTest, Colors) {
    EXPECT_EQ(ParseColor(u"#C00400"), Color::Rgb(0xC00400));  // red first
    EXPECT_EQ(ParseColor(u"#00ff80"), Color::Rgb(0x00FF80));
    EXPECT_EQ(ParseColor(u"clred"), Color::Rgb(0xFF0000));
    EXPECT_EQ(ParseColor(u"clBlack"), Color::Rgb(0x000000));
    EXPECT_EQ(ParseColor(u"CLAQUA"), Color::Rgb(0x00FFFF));
    EXPECT_EQ(ParseColor(u"clfuchsia"), Color::Rgb(0xFF00FF));
    EXPECT_EQ(ParseColor(u"clnavy"), Color::Rgb(0x000080));
    EXPECT_EQ(ParseColor(u"gray"), Color::Rgb(0x808080));
    EXPECT_EQ(ParseColor(u"clbtnface"), Color::System(SystemColor::BtnFace));
    EXPECT_EQ(ParseColor(u"clHighlight"), Color::System(SystemColor::Highlight));
    EXPECT_EQ(ParseColor(u"clwindow"), Color::System(SystemColor::Window));
    // Unknown names and malformed values give black.
    EXPECT_EQ(ParseColor(u"clpink"), Color::Rgb(0));
    EXPECT_EQ(ParseColor(u"orange"), Color::Rgb(0));
    EXPECT_EQ(ParseColor(u"#FFF"), Color::Rgb(0));
    EXPECT_EQ(ParseColor(u"#GG0000"), Color::Rgb(0));
    EXPECT_EQ(ParseColor(u"#1234567"), Color::Rgb(0));
    EXPECT_EQ(ParseColor(u""), Color::Rgb(0));
}

TEST(MiniHtmlTest, TagsAndAttributesIgnoreCase) {
    Style s;
    s.color = Color::Rgb(0x00FF00);
    s.points = 14;
    s.bold = true;
    EXPECT_EQ(Parse(u"<b><Font COLOR=\"#00ff00\" SiZe=4>x</fONT></B>y"),
              (Items{Text(u"x", s), Text(u"y")}));
    EXPECT_EQ(Parse(u"<img SRC=\"IDX:2\"><Ind X=\"5\"><br/><BR />"),
              (Items{Of(ItemKind::Image, 2), Of(ItemKind::Indent, 5), Of(ItemKind::Break),
                     Of(ItemKind::Break)}));
}

TEST(MiniHtmlTest, FontEndRestoresTheWidgetsOwnLook) {
    // </FONT> goes back to the widget's font, not to an enclosing FONT;
    // bold is a matter of <B> alone.
    Style outer;
    outer.face = u"Tahoma";
    outer.points = 12;
    outer.color = Color::Rgb(0xFF0000);
    Style inner = outer;
    inner.points = 16;
    EXPECT_EQ(
        Parse(u"<FONT face=\"Tahoma\" size=\"3\" color=\"clred\">a<FONT size=\"5\">b</FONT>c"),
        (Items{Text(u"a", outer), Text(u"b", inner), Text(u"c")}));
    Style boldRed = Bold();
    boldRed.color = Color::Rgb(0xFF0000);
    EXPECT_EQ(Parse(u"<B><FONT color=\"red\">x</FONT>y</B>z"),
              (Items{Text(u"x", boldRed), Text(u"y", Bold()), Text(u"z")}));
    // A bad size keeps the size in force; a bad colour is black.
    Style sized;
    sized.points = 10;
    Style sizedBlack = sized;
    sizedBlack.color = Color::Rgb(0);
    EXPECT_EQ(Parse(u"<FONT size=\"2\">a<FONT size=\"x\" color=\"nope\">b"),
              (Items{Text(u"a", sized), Text(u"b", sizedBlack)}));
}

TEST(MiniHtmlTest, ImagesAndIndents) {
    EXPECT_EQ(Parse(u"<IMG src=\"idx:9\">"), (Items{Of(ItemKind::Image, 9)}));
    EXPECT_EQ(Parse(u"<IMG src=idx:3>"), (Items{Of(ItemKind::Image, 3)}));  // unquoted src
    EXPECT_EQ(Parse(u"<IMG alt=\"idx:5\" src=\"idx:6\">"), (Items{Of(ItemKind::Image, 5)}));
    for (const char16_t* bad :
         {u"<IMG>", u"<IMG src=\"idx:\">", u"<IMG src=\"idx:x\">", u"<IMG src=\"idx:-1\">",
          u"<IMG src=\"pic.png\">", u"<IMG src=\"idx:12345678901234567890\">", u"<IMG \"idx:1a\">"})
        EXPECT_EQ(Parse(bad), (Items{Of(ItemKind::Image, -1)})) << std::string(bad, bad + 5);
    EXPECT_EQ(Parse(u"<IND x=\"-4\">"), (Items{Of(ItemKind::Indent, -4)}));
    EXPECT_EQ(Parse(u"<IND x=\"99999999\">"), (Items{Of(ItemKind::Indent, 100000)}));
    EXPECT_EQ(Parse(u"<IND>a<IND x=\"q\">"), (Items{Text(u"a")}));  // no position, no move
}

TEST(MiniHtmlTest, MalformedInputDegradesToText) {
    EXPECT_EQ(Parse(u""), Items{});
    EXPECT_EQ(Parse(u"a < b"), (Items{Text(u"a < b")}));
    EXPECT_EQ(Parse(u"<3 <> <<B>x"), (Items{Text(u"<3 <> <"), Text(u"x", Bold())}));
    EXPECT_EQ(Parse(u"x<"), (Items{Text(u"x<")}));
    EXPECT_EQ(Parse(u"abc <B"), (Items{Text(u"abc <B")}));  // a tag that never closes
    EXPECT_EQ(Parse(u"</"), (Items{Text(u"</")}));
    EXPECT_EQ(Parse(u"<B>unclosed"), (Items{Text(u"unclosed", Bold())}));
    EXPECT_EQ(Parse(u"</B></FONT>x"), (Items{Text(u"x")}));
    // A quote left open ends at the tag's first '>'.
    EXPECT_EQ(Parse(u"<FONT color=\"#FF0000>rouge"), (Items{Text(u"rouge", Colored(0xFF0000))}));
    // Quotes that close hide a '>' inside them.
    EXPECT_EQ(Parse(u"<IMG \"a>b\" src=\"idx:2\">t"), (Items{Of(ItemKind::Image, -1), Text(u"t")}));
    // Unknown tags are skipped, closing forms of the others too.
    EXPECT_EQ(Parse(u"<I>x</I><P></IMG></BR></IND><HR size=3>y"), (Items{Text(u"xy")}));
    // Control characters show as spaces; entities stay as written.
    EXPECT_EQ(Parse(u"a\tb\r\nc &amp; d"), (Items{Text(u"a b  c &amp; d")}));
    // A long run of stray '<' stays text.
    std::u16string many(20000, u'<');
    EXPECT_EQ(PlainText(Parse(many + u"<b")), many + u"<b");
}

TEST(MiniHtmlTest, QuotesAcrossTheLastBracket) {
    // An open quote ends the tag at the first '>' after its name.
    EXPECT_EQ(Parse(u"<a \"x> <B>y"), (Items{Text(u" "), Text(u"y", Bold())}));
    EXPECT_EQ(Parse(u"<B \"x\" \"y>z"), (Items{Text(u"z", Bold())}));
    // A closed quote hides the only '>': no tag, the text stands.
    EXPECT_EQ(Parse(u"x<B \"a>b\" c"), (Items{Text(u"x<B \"a>b\" c")}));
    EXPECT_EQ(Parse(u"<a<B<a \">\""), (Items{Text(u"<a<B<a \">\"")}));
    // Scans from different '<' meet on the same quotes and agree.
    EXPECT_EQ(Parse(u"<B '<a '>'>t"), (Items{Text(u"'>t", Bold())}));
}

// Verse texts reach the lists as they are stored, so any text must parse in
// time proportional to its length.
TEST(MiniHtmlTest, HostileTextsParseInLinearTime) {
    auto repeat = [](std::u16string_view piece, std::size_t n) {
        std::u16string out;
        out.reserve(piece.size() * n);
        for (std::size_t i = 0; i < n; ++i)
            out += piece;
        return out;
    };
    constexpr std::size_t n = 100000;
    const std::u16string cases[] = {
        repeat(u"<a ", n) + u"\">\"",     // quotes past the last '>'
        repeat(u"<a \"\" ", n) + u"'>'",  // quote pairs, then a hidden '>'
        repeat(u"<a '", n) + u">",        // open quotes
        repeat(u"<b", n) + u"\"" + repeat(u">", n) + u"\"",
        u"<FONT face=\"" + repeat(u"x", n) + u"\">" + repeat(u"y<B>", n),  // a long face
    };
    for (const std::u16string& text : cases) {
        const auto start = std::chrono::steady_clock::now();
        const Items items = Parse(text);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
        EXPECT_LE(PlainText(items).size(), text.size());
        EXPECT_LT(ms, 1500) << "input of " << text.size() << " characters starting "
                            << std::string(text.begin(), text.begin() + 12);
    }
}

TEST(MiniHtmlTest, PlainText) {
    EXPECT_EQ(PlainText(Parse(u"<IMG \"idx:0\"><B>Gn 1:1</B> : a<BR>b<IND x=\"5\">c")),
              u"Gn 1:1 : a\nbc");
}

}  // namespace
}  // namespace lorvane::minihtml
