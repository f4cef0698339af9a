#pragma once

// The small HTML of list items, labels and button captions: plain text with
// a handful of tags, parsed into items that a painter draws (MiniHtmlPainter.h).
//
// Tags, with tag and attribute names matched without regard to case:
//   <B> </B>                  bold on, bold off
//   <FONT face= size= color=> typeface, size, colour until </FONT>; an
//                             attribute that is not given keeps its value.
//                             size 1..5 gives 8, 10, 12, 14, 16 points, any
//                             other positive number is points. color is
//                             #RRGGBB (red first) or a colour name (below).
//   </FONT>                   back to the widget's own typeface, size and
//                             colour (not to an enclosing FONT)
//   <IMG "idx:N">             image N (from 0) of the widget's image list;
//                             the reference is the first quoted value of the
//                             tag, so <IMG src="idx:1"> works as well
//   <IND x="N">               move the drawing position to N pixels from the
//                             left edge, when that lies to the right
//   <BR>                      line break
// Unknown tags are skipped. Anything that does not make a tag is text: a '<'
// not followed by a letter (or '/' and a letter), or one whose tag never
// closes with '>', is drawn as it stands. A quote left open inside a tag
// runs to the tag's first '>'. Text is taken as written: no entities are
// decoded; control characters are drawn as spaces.
//
// Colour names: "clblack", "clmaroon", "clgreen", "clolive", "clnavy",
// "clpurple", "clteal", "clgray", "clsilver", "clred", "cllime", "clyellow",
// "clblue", "clfuchsia", "claqua", "clwhite", "clltgray", "cldkgray",
// "clmoneygreen", "clskyblue", "clcream", "clmedgray", and the system colours
// of SystemColor ("clbtnface", "clhighlight", "clwindow", ...). The same names
// without the "cl" prefix are accepted too ("gray", "red"). Any other name,
// and a malformed #RRGGBB, gives black.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::minihtml {

// Colours that follow the desktop's palette; the painter resolves them.
enum class SystemColor : std::uint8_t {
    ScrollBar,
    Background,
    ActiveCaption,
    InactiveCaption,
    Menu,
    Window,
    WindowFrame,
    MenuText,
    WindowText,
    CaptionText,
    ActiveBorder,
    InactiveBorder,
    AppWorkSpace,
    Highlight,
    HighlightText,
    BtnFace,
    BtnShadow,
    GrayText,
    BtnText,
    InactiveCaptionText,
    BtnHighlight,
    DkShadow3D,
    Light3D,
    InfoText,
    InfoBk,
    HotLight,
    GradientActiveCaption,
    GradientInactiveCaption,
    MenuHighlight,
    MenuBar,
};

struct Color {
    bool system = false;
    std::uint32_t rgb = 0;  // 0xRRGGBB, when not system
    SystemColor sys = SystemColor::WindowText;

    static Color Rgb(std::uint32_t v) { return {false, v & 0xFFFFFF, SystemColor::WindowText}; }
    static Color System(SystemColor s) { return {true, 0, s}; }
    friend bool operator==(const Color&, const Color&) = default;
};

// A FONT colour attribute: "#RRGGBB" or a colour name; black otherwise.
Color ParseColor(std::u16string_view value);

// Point size of a FONT size attribute, or nullopt when the value is not a
// positive number (the size then stays as it was). Values above 1000 are
// taken as 1000.
std::optional<int> ParseFontSize(std::u16string_view value);

// The look of a text run. An empty optional means "the widget's own".
struct Style {
    bool bold = false;  // <B>; the widget's own font may be bold anyway
    std::optional<std::u16string> face;
    std::optional<int> points;
    std::optional<Color> color;
    friend bool operator==(const Style&, const Style&) = default;
};

enum class ItemKind : std::uint8_t { Text, Image, Indent, Break };

struct Item {
    ItemKind kind = ItemKind::Text;
    std::u16string text;  // Text: the characters of the run
    Style style;          // Text: how it looks
    // Image: the image number, -1 when the tag names no "idx:N" image.
    // Indent: the x position in pixels (may be negative: then it never
    // moves the drawing position).
    int value = 0;
    friend bool operator==(const Item&, const Item&) = default;
};

// Parses a mini-HTML text. Never fails: every input gives some items.
// Adjacent characters of one style form one Text item.
std::vector<Item> Parse(std::u16string_view text);

// The text alone: Text items joined, Break as '\n', others dropped.
std::u16string PlainText(const std::vector<Item>& items);

// What a reader of the text hears or searches: the text without its tags,
// its character entities decoded (&amp; &lt; &gt; &quot; &apos; &nbsp;,
// the usual named letters and signs, &#N; and &#xH;), line breaks and runs
// of white space as one space, no space at either end. An image-only text
// gives "".
std::u16string PlainTextOf(std::u16string_view text);

}  // namespace lorvane::minihtml
