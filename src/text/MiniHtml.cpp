#include "MiniHtml.h"

#include <array>

namespace lorvane::minihtml {
namespace {

using View = std::u16string_view;

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}
char16_t Lower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool EqualsNoCase(View a, std::string_view lowerAscii) {
    if (a.size() != lowerAscii.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != static_cast<char16_t>(lowerAscii[i])) return false;
    return true;
}

bool StartsWithNoCase(View a, std::string_view lowerAscii) {
    return a.size() >= lowerAscii.size() &&
           EqualsNoCase(a.substr(0, lowerAscii.size()), lowerAscii);
}

View Trim(View v) {
    while (!v.empty() && IsSpace(v.front()))
        v.remove_prefix(1);
    while (!v.empty() && IsSpace(v.back()))
        v.remove_suffix(1);
    return v;
}

// A leading optional sign and decimal digits; nullopt without digits.
// Saturates far beyond any useful value instead of overflowing.
std::optional<long> LeadingInt(View v) {
    v = Trim(v);
    bool negative = false;
    if (!v.empty() && (v.front() == u'+' || v.front() == u'-')) {
        negative = v.front() == u'-';
        v.remove_prefix(1);
    }
    if (v.empty() || !IsDigit(v.front())) return std::nullopt;
    long n = 0;
    for (char16_t c : v) {
        if (!IsDigit(c)) break;
        if (n < 100000000) n = n * 10 + (c - u'0');
    }
    return negative ? -n : n;
}

struct NamedColor {
    std::string_view name;  // without the "cl" prefix, lower case
    Color color;
};

constexpr Color Sys(SystemColor s) {
    return Color{true, 0, s};
}
constexpr Color Rgb(std::uint32_t v) {
    return Color{false, v, SystemColor::WindowText};
}

constexpr std::array kColors = {
    NamedColor{"black", Rgb(0x000000)},
    NamedColor{"maroon", Rgb(0x800000)},
    NamedColor{"green", Rgb(0x008000)},
    NamedColor{"olive", Rgb(0x808000)},
    NamedColor{"navy", Rgb(0x000080)},
    NamedColor{"purple", Rgb(0x800080)},
    NamedColor{"teal", Rgb(0x008080)},
    NamedColor{"gray", Rgb(0x808080)},
    NamedColor{"silver", Rgb(0xC0C0C0)},
    NamedColor{"red", Rgb(0xFF0000)},
    NamedColor{"lime", Rgb(0x00FF00)},
    NamedColor{"yellow", Rgb(0xFFFF00)},
    NamedColor{"blue", Rgb(0x0000FF)},
    NamedColor{"fuchsia", Rgb(0xFF00FF)},
    NamedColor{"aqua", Rgb(0x00FFFF)},
    NamedColor{"white", Rgb(0xFFFFFF)},
    NamedColor{"ltgray", Rgb(0xC0C0C0)},
    NamedColor{"dkgray", Rgb(0x808080)},
    NamedColor{"moneygreen", Rgb(0xC0DCC0)},
    NamedColor{"skyblue", Rgb(0xA6CAF0)},
    NamedColor{"cream", Rgb(0xFFFBF0)},
    NamedColor{"medgray", Rgb(0xA4A0A0)},
    NamedColor{"scrollbar", Sys(SystemColor::ScrollBar)},
    NamedColor{"background", Sys(SystemColor::Background)},
    NamedColor{"activecaption", Sys(SystemColor::ActiveCaption)},
    NamedColor{"inactivecaption", Sys(SystemColor::InactiveCaption)},
    NamedColor{"menu", Sys(SystemColor::Menu)},
    NamedColor{"window", Sys(SystemColor::Window)},
    NamedColor{"windowframe", Sys(SystemColor::WindowFrame)},
    NamedColor{"menutext", Sys(SystemColor::MenuText)},
    NamedColor{"windowtext", Sys(SystemColor::WindowText)},
    NamedColor{"captiontext", Sys(SystemColor::CaptionText)},
    NamedColor{"activeborder", Sys(SystemColor::ActiveBorder)},
    NamedColor{"inactiveborder", Sys(SystemColor::InactiveBorder)},
    NamedColor{"appworkspace", Sys(SystemColor::AppWorkSpace)},
    NamedColor{"highlight", Sys(SystemColor::Highlight)},
    NamedColor{"highlighttext", Sys(SystemColor::HighlightText)},
    NamedColor{"btnface", Sys(SystemColor::BtnFace)},
    NamedColor{"btnshadow", Sys(SystemColor::BtnShadow)},
    NamedColor{"graytext", Sys(SystemColor::GrayText)},
    NamedColor{"btntext", Sys(SystemColor::BtnText)},
    NamedColor{"inactivecaptiontext", Sys(SystemColor::InactiveCaptionText)},
    NamedColor{"btnhighlight", Sys(SystemColor::BtnHighlight)},
    NamedColor{"3ddkshadow", Sys(SystemColor::DkShadow3D)},
    NamedColor{"3dlight", Sys(SystemColor::Light3D)},
    NamedColor{"infotext", Sys(SystemColor::InfoText)},
    NamedColor{"infobk", Sys(SystemColor::InfoBk)},
    NamedColor{"hotlight", Sys(SystemColor::HotLight)},
    NamedColor{"gradientactivecaption", Sys(SystemColor::GradientActiveCaption)},
    NamedColor{"gradientinactivecaption", Sys(SystemColor::GradientInactiveCaption)},
    NamedColor{"menuhighlight", Sys(SystemColor::MenuHighlight)},
    NamedColor{"menubar", Sys(SystemColor::MenuBar)},
};

int HexValue(char16_t c) {
    if (IsDigit(c)) return c - u'0';
    c = Lower(c);
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// One attribute of a tag. A value without a name (<IMG "idx:0">) has an
// empty name.
struct Attribute {
    View name;
    View value;
    bool quoted = false;
};

// Splits the inside of a tag (after its name, before '>') into attributes.
std::vector<Attribute> ParseAttributes(View body) {
    std::vector<Attribute> out;
    std::size_t i = 0;
    auto readValue = [&](Attribute& a) {
        if (i < body.size() && (body[i] == u'"' || body[i] == u'\'')) {
            char16_t q = body[i++];
            std::size_t end = body.find(q, i);
            if (end == View::npos) end = body.size();  // an open quote runs to the end
            a.value = body.substr(i, end - i);
            a.quoted = true;
            i = end < body.size() ? end + 1 : end;
        } else {
            std::size_t start = i;
            while (i < body.size() && !IsSpace(body[i]))
                ++i;
            a.value = body.substr(start, i - start);
        }
    };
    while (i < body.size()) {
        char16_t c = body[i];
        if (IsSpace(c) || c == u'/' || c == u'=') {
            ++i;
            continue;
        }
        Attribute a;
        if (c == u'"' || c == u'\'') {
            readValue(a);
            out.push_back(a);
            continue;
        }
        std::size_t start = i;
        while (i < body.size() && !IsSpace(body[i]) && body[i] != u'=' && body[i] != u'"' &&
               body[i] != u'\'')
            ++i;
        a.name = body.substr(start, i - start);
        std::size_t j = i;
        while (j < body.size() && IsSpace(body[j]))
            ++j;
        if (j < body.size() && body[j] == u'=') {
            i = j + 1;
            while (i < body.size() && IsSpace(body[i]))
                ++i;
            readValue(a);
        }
        out.push_back(a);
    }
    return out;
}

const Attribute* Find(const std::vector<Attribute>& attrs, std::string_view lowerName) {
    for (const Attribute& a : attrs)
        if (EqualsNoCase(a.name, lowerName)) return &a;
    return nullptr;
}

// The image number of an IMG tag: its first quoted value, else its src.
int ImageNumber(const std::vector<Attribute>& attrs) {
    const Attribute* ref = nullptr;
    for (const Attribute& a : attrs)
        if (a.quoted) {
            ref = &a;
            break;
        }
    if (!ref) ref = Find(attrs, "src");
    if (!ref) return -1;
    View v = Trim(ref->value);
    if (!StartsWithNoCase(v, "idx:")) return -1;
    v.remove_prefix(4);
    if (v.empty() || !IsDigit(v.front())) return -1;
    long n = 0;
    for (char16_t c : v) {
        if (!IsDigit(c)) return -1;
        n = n * 10 + (c - u'0');
        if (n > 1000000) return -1;  // no image list is that long
    }
    return static_cast<int>(n);
}

// Where the tags of a text end. A tag's name is followed by its body up to
// the first '>' that no properly closed quote hides; an open quote makes
// the tag end at the first '>' after its name. Scanning from each '<' in
// turn would cost the rest of the text per '<' when quotes run past the
// last '>'; instead one pass from the right end finds, for every position,
// where a scan starting there outside quotes ends.
class TagEnds {
  public:
    explicit TagEnds(View text)
        : text_(text), fromHere_(text.size() + 1, kNoEnd), nextGt_(text.size() + 1, kNoEnd) {
        std::size_t nextDouble = kNoEnd, nextSingle = kNoEnd;
        for (std::size_t i = text.size(); i-- > 0;) {
            const char16_t c = text[i];
            nextGt_[i] = c == u'>' ? i : nextGt_[i + 1];
            if (c == u'>') {
                fromHere_[i] = i;
            } else if (c == u'"' || c == u'\'') {
                const std::size_t close = c == u'"' ? nextDouble : nextSingle;
                fromHere_[i] = close == kNoEnd ? kOpenQuote : fromHere_[close + 1];
            } else {
                fromHere_[i] = fromHere_[i + 1];
            }
            if (c == u'"') nextDouble = i;
            if (c == u'\'') nextSingle = i;
        }
    }

    // Where the tag that starts at text[lt] == '<' ends ('>'), or npos when
    // the '<' does not start a tag. `nameStart` receives the first letter
    // of the name.
    std::size_t End(std::size_t lt, std::size_t& nameStart) const {
        std::size_t p = lt + 1;
        if (p < text_.size() && text_[p] == u'/') ++p;
        if (p >= text_.size() || !IsAsciiLetter(text_[p])) return View::npos;
        nameStart = p;
        const std::size_t end = fromHere_[p] == kOpenQuote ? nextGt_[p] : fromHere_[p];
        return end == kNoEnd ? View::npos : end;
    }

  private:
    static constexpr std::size_t kNoEnd = View::npos;
    static constexpr std::size_t kOpenQuote = View::npos - 1;

    View text_;
    std::vector<std::size_t> fromHere_;  // a '>' position, kNoEnd or kOpenQuote
    std::vector<std::size_t> nextGt_;    // the first '>' at or after each position
};

class Parser {
  public:
    std::vector<Item> Run(View text) {
        // A '<' after the last '>' can never start a tag: the tag ends are
        // worked out only for texts that may hold one.
        const std::size_t lastGt = text.rfind(u'>');
        std::optional<TagEnds> ends;
        std::size_t i = 0;
        while (i < text.size()) {
            char16_t c = text[i];
            if (c == u'<' && lastGt != View::npos && i < lastGt) {
                if (!ends) ends.emplace(text);
                std::size_t nameStart = 0;
                std::size_t end = ends->End(i, nameStart);
                if (end != View::npos) {
                    Tag(text.substr(i + 1, end - i - 1), text.substr(nameStart, end - nameStart));
                    i = end + 1;
                    continue;
                }
            }
            AddChar(c < 0x20 || c == 0x7F ? u' ' : c);
            ++i;
        }
        return std::move(items_);
    }

  private:
    void AddChar(char16_t c) {
        // The style is compared only after a tag, and a face only after a
        // FONT tag that named one: a long face is compared once per FONT
        // tag, never once per character or per other tag.
        if (items_.empty() || items_.back().kind != ItemKind::Text ||
            (styleTouched_ && !SameStyle(items_.back().style))) {
            Item it;
            it.kind = ItemKind::Text;
            it.style = style_;
            items_.push_back(std::move(it));
            lastFaceId_ = faceId_;
        }
        styleTouched_ = false;
        items_.back().text.push_back(c);
    }

    bool SameStyle(const Style& s) {
        if (s.bold != style_.bold || s.points != style_.points || s.color != style_.color)
            return false;
        if (lastFaceId_ == faceId_) return true;
        if (s.face != style_.face) return false;
        lastFaceId_ = faceId_;
        return true;
    }

    void Add(ItemKind kind, int value) {
        Item it;
        it.kind = kind;
        it.value = value;
        items_.push_back(std::move(it));
    }

    // inner: the text between '<' and '>'; fromName: from the tag name on.
    void Tag(View inner, View fromName) {
        bool closing = !inner.empty() && inner.front() == u'/';
        std::size_t n = 0;
        while (n < fromName.size() && (IsAsciiLetter(fromName[n]) || IsDigit(fromName[n])))
            ++n;
        View name = fromName.substr(0, n);
        View body = fromName.substr(n);
        styleTouched_ = true;
        if (EqualsNoCase(name, "b")) {
            style_.bold = !closing;
        } else if (EqualsNoCase(name, "font")) {
            if (closing) {
                if (style_.face) ++faceId_;
                style_.face.reset();
                style_.points.reset();
                style_.color.reset();
            } else {
                OpenFont(ParseAttributes(body));
            }
        } else if (closing) {
            return;  // </IMG>, </BR>, unknown closing tags
        } else if (EqualsNoCase(name, "br")) {
            Add(ItemKind::Break, 0);
        } else if (EqualsNoCase(name, "img")) {
            Add(ItemKind::Image, ImageNumber(ParseAttributes(body)));
        } else if (EqualsNoCase(name, "ind")) {
            auto attrs = ParseAttributes(body);
            if (const Attribute* x = Find(attrs, "x")) {
                if (auto v = LeadingInt(x->value)) {
                    long clamped = *v > 100000 ? 100000 : (*v < -100000 ? -100000 : *v);
                    Add(ItemKind::Indent, static_cast<int>(clamped));
                }
            }
        }
    }

    void OpenFont(const std::vector<Attribute>& attrs) {
        if (const Attribute* face = Find(attrs, "face")) {
            View f = Trim(face->value);
            if (!f.empty()) {
                style_.face = std::u16string(f);
                ++faceId_;
            }
        }
        if (const Attribute* size = Find(attrs, "size")) {
            if (auto pt = ParseFontSize(size->value)) style_.points = *pt;
        }
        if (const Attribute* color = Find(attrs, "color")) style_.color = ParseColor(color->value);
    }

    std::vector<Item> items_;
    Style style_;
    bool styleTouched_ = false;  // a tag came since the last character
    // Each face that a FONT tag sets or ends gets a new number; the last
    // Text item was made with the face numbered lastFaceId_.
    std::uint64_t faceId_ = 0;
    std::uint64_t lastFaceId_ = 0;
};

}  // namespace

Color ParseColor(std::u16string_view value) {
    View v = Trim(value);
    if (!v.empty() && v.front() == u'#') {
        if (v.size() != 7) return Rgb(0);
        std::uint32_t rgb = 0;
        for (std::size_t i = 1; i < 7; ++i) {
            int h = HexValue(v[i]);
            if (h < 0) return Rgb(0);
            rgb = rgb * 16 + static_cast<std::uint32_t>(h);
        }
        return Rgb(rgb);
    }
    if (StartsWithNoCase(v, "cl")) v.remove_prefix(2);
    for (const NamedColor& nc : kColors)
        if (EqualsNoCase(v, nc.name)) return nc.color;
    return Rgb(0);
}

std::optional<int> ParseFontSize(std::u16string_view value) {
    auto n = LeadingInt(value);
    if (!n || *n <= 0) return std::nullopt;
    static constexpr int kHtmlSizes[] = {8, 10, 12, 14, 16};
    if (*n <= 5) return kHtmlSizes[*n - 1];
    return static_cast<int>(*n > 1000 ? 1000 : *n);
}

std::vector<Item> Parse(std::u16string_view text) {
    return Parser().Run(text);
}

std::u16string PlainText(const std::vector<Item>& items) {
    std::u16string out;
    for (const Item& it : items) {
        if (it.kind == ItemKind::Text) out += it.text;
        if (it.kind == ItemKind::Break) out += u'\n';
    }
    return out;
}

namespace {

struct NamedEntity {
    std::string_view name;
    char16_t ch;
};

constexpr NamedEntity kEntities[] = {
    {"amp", u'&'},         {"lt", u'<'},          {"gt", u'>'},          {"quot", u'"'},
    {"apos", u'\''},       {"nbsp", u' '},        {"laquo", u'\u00AB'},  {"raquo", u'\u00BB'},
    {"agrave", u'\u00E0'}, {"acirc", u'\u00E2'},  {"ccedil", u'\u00E7'}, {"egrave", u'\u00E8'},
    {"eacute", u'\u00E9'}, {"ecirc", u'\u00EA'},  {"euml", u'\u00EB'},   {"icirc", u'\u00EE'},
    {"iuml", u'\u00EF'},   {"ocirc", u'\u00F4'},  {"ugrave", u'\u00F9'}, {"ucirc", u'\u00FB'},
    {"uuml", u'\u00FC'},   {"Agrave", u'\u00C0'}, {"Eacute", u'\u00C9'}, {"Egrave", u'\u00C8'},
    {"Ecirc", u'\u00CA'},  {"Ccedil", u'\u00C7'}, {"oelig", u'\u0153'},  {"OElig", u'\u0152'},
    {"middot", u'\u00B7'}, {"hellip", u'\u2026'}, {"ndash", u'\u2013'},  {"mdash", u'\u2014'},
    {"lsquo", u'\u2018'},  {"rsquo", u'\u2019'},  {"ldquo", u'\u201C'},  {"rdquo", u'\u201D'},
    {"deg", u'\u00B0'},    {"sect", u'\u00A7'},   {"copy", u'\u00A9'},
};

// The character of the entity whose name (between '&' and ';') is given;
// 0 for an unknown one.
char32_t Entity(View name) {
    if (name.size() > 1 && name.front() == u'#') {
        View digits = name.substr(1);
        int base = 10;
        if (!digits.empty() && (digits.front() == u'x' || digits.front() == u'X')) {
            base = 16;
            digits.remove_prefix(1);
        }
        if (digits.empty() || digits.size() > 8) return 0;
        char32_t v = 0;
        for (char16_t c : digits) {
            const int d = base == 16 ? HexValue(c) : (IsDigit(c) ? c - u'0' : -1);
            if (d < 0) return 0;
            v = v * static_cast<char32_t>(base) + static_cast<char32_t>(d);
        }
        return v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF) ? 0 : v;
    }
    for (const NamedEntity& e : kEntities) {
        if (name.size() != e.name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i)
            same = name[i] == static_cast<char16_t>(e.name[i]);
        if (same) return e.ch;
    }
    return 0;
}

}  // namespace

std::u16string PlainTextOf(std::u16string_view text) {
    const std::u16string plain = PlainText(Parse(text));
    std::u16string out;
    out.reserve(plain.size());
    bool space = false;
    auto put = [&](char32_t c) {
        if (c == u' ' || c == u'\n' || c == u'\t' || c == 0xA0) {
            space = !out.empty();
            return;
        }
        if (space) out.push_back(u' ');
        space = false;
        if (c > 0xFFFF) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    };
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (plain[i] == u'&') {
            const std::size_t semi = plain.find(u';', i + 1);
            if (semi != std::u16string::npos && semi - i <= 10) {
                if (const char32_t c = Entity(View(plain).substr(i + 1, semi - i - 1))) {
                    put(c);
                    i = semi;
                    continue;
                }
            }
        }
        put(plain[i]);
    }
    return out;
}

}  // namespace lorvane::minihtml
