#include <gtest/gtest.h>

#include "Communs.h"
#include "Cp1252.h"

namespace lorvane {
namespace {

TEST(ExtractFieldTest, SplitsAtOneCharacter) {
    EXPECT_EQ(ExtractField("a b c", 1, ' '), "a");
    EXPECT_EQ(ExtractField("a b c", 2, ' '), "b");
    EXPECT_EQ(ExtractField("a b c", 3, ' '), "c");  // the last field runs to the end
    EXPECT_EQ(ExtractField("a b c", 4, ' '), "");
    EXPECT_EQ(ExtractField("a  b", 2, ' '), "");  // two separators enclose an empty field
    EXPECT_EQ(ExtractField("a  b", 3, ' '), "b");
    EXPECT_EQ(ExtractField(" a", 1, ' '), "");  // a leading separator
    EXPECT_EQ(ExtractField("abc", 1, ' '), "abc");
    EXPECT_EQ(ExtractField("abc", 0, ' '), "");
    EXPECT_EQ(ExtractField("abc", -3, ' '), "");
    EXPECT_EQ(ExtractField("", 1, ' '), "");
    EXPECT_EQ(ExtractField("19\xA4"
                           "23\xA4"
                           "1\xA4"
                           "6",
                           4, '\xA4'),
              "6");
    EXPECT_EQ(ExtractField("43:3:16", 3, ':'), "16");
}

class FormatRefTest : public ::testing::Test {
  protected:
    void SetUp() override {
        c.BookTable[46].Name = Make("1 Corinthiens");
        c.BookTable[46].ShortName = Make("1 Co");
    }
    static PString<51> Make(std::string_view s) {
        PString<51> p;
        p.text = std::string(s);
        return p;
    }
    Communs c;
};

TEST_F(FormatRefTest, SingleVerseAndRangeForms) {
    EXPECT_EQ(c.FormatRef(46, 3, 16, 0), "1 Corinthiens 3:16");
    EXPECT_EQ(c.FormatRef(46, 3, 16, 16), "1 Corinthiens 3:16");
    EXPECT_EQ(c.FormatRef(46, 3, 16, 18), "1 Corinthiens 3:16-18");
    EXPECT_EQ(c.FormatRef(46, 2, 12, 10), "1 Corinthiens 2:12-10");  // not corrected
    EXPECT_EQ(c.FormatShortRef(46, 3, 16, 18), "1 Co 3:16-18");
    EXPECT_EQ(c.FormatShortRef(VerseRef{46, 3, 16, 16}), "1 Co 3:16");
    EXPECT_EQ(c.FormatShortRef(VerseRef{46, -1, 0, -7}), "1 Co -1:0--7");
}

TEST_F(FormatRefTest, EmptyAndOutOfRangeBooksGiveALeadingSpace) {
    EXPECT_EQ(c.FormatRef(1, 1, 1, 0), " 1:1");
    EXPECT_EQ(c.FormatRef(0, 1, 1, 0), " 1:1");
    EXPECT_EQ(c.FormatShortRef(99, 2, 3, 4), " 2:3-4");
}

TEST(Cp1252Test, UpperCaseCoversAccentsAndTheHighBlock) {
    EXPECT_EQ(cp1252::ToUpper("\xE9ternel \xE0 \xF4 \xE7"
                              "a"),
              "\xC9TERNEL \xC0 \xD4 \xC7"
              "A");
    EXPECT_EQ(cp1252::ToUpper("\x9C\x9A\x9E\xFF"), "\x8C\x8A\x8E\x9F");  // œ š ž ÿ
    EXPECT_EQ(cp1252::ToUpper("\xDF\xB5\xF7"), "\xDF\xB5\xF7");          // ß µ ÷ unchanged
    EXPECT_EQ(cp1252::ToUpper("\xA4"
                              "1"),
              "\xA4"
              "1");
}

TEST(Cp1252Test, Utf8RoundTripAndUnmappedCharacters) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(cp1252::FromUtf8(cp1252::ToUtf8(all)), all);
    EXPECT_EQ(cp1252::ToUtf8("\x80\x92\xA4"), "\u20AC\u2019\u00A4");
    int unmapped = 0;
    EXPECT_EQ(cp1252::FromUtf8("a\u202Fb\u4E2D\xFF", '?', &unmapped), "a?b??");
    EXPECT_EQ(unmapped, 3);
}

}  // namespace
}  // namespace lorvane
