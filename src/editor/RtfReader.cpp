// The RTF reader: one pass over the bytes with a stack of group states.
// Each group holds its destination (body text, a table being read, or
// something to skip), the character and paragraph properties, and the \uc
// count. Bytes given as \'hh (or raw bytes above 127) are gathered and
// decoded in the code page of the current font's character set, or of the
// document. Every step takes constant time but for the decoding of gathered
// bytes and the start of a run, both bounded by what was read, so the whole
// read is linear; nesting deeper than kMaxDepth is skipped, not stacked.

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <map>
#include <unordered_map>

#include "Cp1252.h"
#include "Rtf.h"
#include "Utf8.h"

namespace lorvane::rtf {
namespace {

constexpr std::size_t kMaxDepth = 1000;
constexpr std::size_t kMaxFontName = 256;
constexpr int kMaxUc = 255;

enum class Dest : std::uint8_t {
    Body,
    Skip,
    FontTable,
    ColorTable,
    ListTable,
    ListOverrides,
    ListText,  // the number or bullet written out for old readers
    Pn,        // the old paragraph numbering
    Object,    // an embedded object: only its \result is read
};

// Character properties while reading: fonts and colours by number.
struct Chr {
    int font = -1;  // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false;
    int color = 0;
    int offset = 0;
    // The associated font and size, which East Asian characters take
    // after \dbch (LibreOffice writes them so).
    bool dbch = false;
    int assocFont = -1;
    int assocHalfPoints = 24;
    bool operator==(const Chr&) const = default;
};

// The properties a character is drawn with.
Chr Effective(const Chr& chr, char32_t cp) {
    Chr e = chr;
    if (e.dbch && cp >= 0x2E80) {
        if (e.assocFont >= 0) e.font = e.assocFont;
        e.halfPoints = e.assocHalfPoints;
    }
    e.dbch = false;
    e.assocFont = -1;
    e.assocHalfPoints = 24;
    return e;
}

enum class Numbering : std::uint8_t { None, Bullet, Numbered };

struct Para {
    ParaFormat format;
    int ls = 0;  // list override number, 0: none
    int ilvl = 0;
    Numbering pn = Numbering::None;
};

struct State {
    Dest dest = Dest::Body;
    Chr chr;
    Para para;
    int uc = 1;
    bool star = false;                   // \* seen: the next word names an optional destination
    Numbering pnKind = Numbering::None;  // inside {\*\pn ...}
    int list = -1;                       // the \list being read (ListTable)
    bool level = false;                  // inside a \listlevel
    int override = -1;                   // the \listoverride being read
};

enum class Kw : std::uint8_t {
    SkipDest,
    FontTable,
    ColorTable,
    ListTable,
    ListOverrideTable,
    ListText,
    Pn,
    Object,
    Result,
    Par,
    Line,
    Tab,
    Cell,
    Char,  // a word standing for one character
    U,
    Uc,
    Plain,
    Bold,
    Italic,
    Underline,
    UlNone,
    Hidden,
    Font,
    FontSize,
    Loch,
    Dbch,
    AssocFont,
    AssocSize,
    ColorFg,
    Up,
    Dn,
    Super,
    Sub,
    NoSuperSub,
    Pard,
    Ql,
    Qr,
    Qc,
    Qj,
    Li,
    Fi,
    Ls,
    Ilvl,
    PnBullet,
    PnBody,
    PnCont,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    List,
    ListLevel,
    LevelNfc,
    ListId,
    ListOverride,
    Bin,
};

struct KwInfo {
    Kw kw;
    char32_t ch = 0;
};

const std::unordered_map<std::string_view, KwInfo>& Keywords() {
    static const std::unordered_map<std::string_view, KwInfo> table = [] {
        std::unordered_map<std::string_view, KwInfo> t;
        for (const char* d : {"info",
                              "stylesheet",
                              "pict",
                              "header",
                              "footer",
                              "headerl",
                              "headerr",
                              "headerf",
                              "footerl",
                              "footerr",
                              "footerf",
                              "footnote",
                              "annotation",
                              "xe",
                              "tc",
                              "txe",
                              "rxe",
                              "fldinst",
                              "private",
                              "themedata",
                              "colorschememapping",
                              "datastore",
                              "xmlnstbl",
                              "latentstyles",
                              "rsidtbl",
                              "generator",
                              "nonshppict",
                              "shp",
                              "shpinst",
                              "objdata",
                              "objclass",
                              "objname",
                              "bkmkstart",
                              "bkmkend",
                              "template",
                              "filetbl",
                              "revtbl",
                              "pgdsctbl",
                              "listpicture",
                              "ftnsep",
                              "ftnsepc",
                              "aftnsep",
                              "aftnsepc",
                              "ftncn",
                              "aftncn",
                              "atnid",
                              "atnauthor",
                              "atrfstart",
                              "atrfend",
                              "atndate",
                              "atnref",
                              "comment",
                              "doccomm",
                              "operator",
                              "author",
                              "title",
                              "subject",
                              "keywords",
                              "company",
                              "creatim",
                              "revtim",
                              "printim",
                              "buptim",
                              "hlinkbase",
                              "userprops",
                              "pntxta",
                              "pntxtb",
                              "pnseclvl",
                              "fchars",
                              "lchars",
                              "upr",
                              "do",
                              "sp",
                              "formfield",
                              "datafield",
                              "panose",
                              "falt",
                              "fname",
                              "leveltext",
                              "levelnumbers",
                              "listname",
                              "mmathPr",
                              "wgrffmtfilter",
                              "blipuid",
                              "picprop",
                              "background",
                              "protusertbl"})
            t.emplace(d, KwInfo{Kw::SkipDest});
        t.emplace("fonttbl", KwInfo{Kw::FontTable});
        t.emplace("colortbl", KwInfo{Kw::ColorTable});
        t.emplace("listtable", KwInfo{Kw::ListTable});
        t.emplace("listoverridetable", KwInfo{Kw::ListOverrideTable});
        t.emplace("pntext", KwInfo{Kw::ListText});
        t.emplace("listtext", KwInfo{Kw::ListText});
        t.emplace("pn", KwInfo{Kw::Pn});
        t.emplace("object", KwInfo{Kw::Object});
        t.emplace("result", KwInfo{Kw::Result});
        for (const char* p : {"par", "sect", "page", "row", "nestrow"})
            t.emplace(p, KwInfo{Kw::Par});
        t.emplace("line", KwInfo{Kw::Line});
        t.emplace("tab", KwInfo{Kw::Tab});
        t.emplace("cell", KwInfo{Kw::Cell});
        t.emplace("nestcell", KwInfo{Kw::Cell});
        const std::pair<const char*, char32_t> chars[] = {
            {"emdash", 0x2014},    {"endash", 0x2013},    {"emspace", 0x2003}, {"enspace", 0x2002},
            {"qmspace", 0x2005},   {"bullet", 0x2022},    {"lquote", 0x2018},  {"rquote", 0x2019},
            {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"zwj", 0x200D},     {"zwnj", 0x200C},
            {"ltrmark", 0x200E},   {"rtlmark", 0x200F}};
        for (const auto& [name, ch] : chars)
            t.emplace(name, KwInfo{Kw::Char, ch});
        t.emplace("u", KwInfo{Kw::U});
        t.emplace("uc", KwInfo{Kw::Uc});
        t.emplace("plain", KwInfo{Kw::Plain});
        t.emplace("b", KwInfo{Kw::Bold});
        t.emplace("i", KwInfo{Kw::Italic});
        for (const char* u : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                              "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd",
                              "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(u, KwInfo{Kw::Underline});
        t.emplace("ulnone", KwInfo{Kw::UlNone});
        t.emplace("v", KwInfo{Kw::Hidden});
        t.emplace("f", KwInfo{Kw::Font});
        t.emplace("fs", KwInfo{Kw::FontSize});
        t.emplace("loch", KwInfo{Kw::Loch});
        t.emplace("hich", KwInfo{Kw::Loch});
        t.emplace("dbch", KwInfo{Kw::Dbch});
        t.emplace("af", KwInfo{Kw::AssocFont});
        t.emplace("afs", KwInfo{Kw::AssocSize});
        t.emplace("cf", KwInfo{Kw::ColorFg});
        t.emplace("up", KwInfo{Kw::Up});
        t.emplace("dn", KwInfo{Kw::Dn});
        t.emplace("super", KwInfo{Kw::Super});
        t.emplace("sub", KwInfo{Kw::Sub});
        t.emplace("nosupersub", KwInfo{Kw::NoSuperSub});
        t.emplace("pard", KwInfo{Kw::Pard});
        t.emplace("ql", KwInfo{Kw::Ql});
        t.emplace("qr", KwInfo{Kw::Qr});
        t.emplace("qc", KwInfo{Kw::Qc});
        t.emplace("qj", KwInfo{Kw::Qj});
        t.emplace("qd", KwInfo{Kw::Qj});
        t.emplace("li", KwInfo{Kw::Li});
        t.emplace("lin", KwInfo{Kw::Li});
        t.emplace("fi", KwInfo{Kw::Fi});
        t.emplace("ls", KwInfo{Kw::Ls});
        t.emplace("ilvl", KwInfo{Kw::Ilvl});
        t.emplace("pnlvlblt", KwInfo{Kw::PnBullet});
        t.emplace("pnlvlbody", KwInfo{Kw::PnBody});
        t.emplace("pnlvl", KwInfo{Kw::PnBody});
        t.emplace("pnlvlcont", KwInfo{Kw::PnCont});
        t.emplace("ansi", KwInfo{Kw::Ansi});
        t.emplace("mac", KwInfo{Kw::Mac});
        t.emplace("pc", KwInfo{Kw::Pc});
        t.emplace("pca", KwInfo{Kw::Pca});
        t.emplace("ansicpg", KwInfo{Kw::AnsiCpg});
        t.emplace("deff", KwInfo{Kw::Deff});
        t.emplace("fcharset", KwInfo{Kw::FCharset});
        t.emplace("cpg", KwInfo{Kw::Cpg});
        t.emplace("red", KwInfo{Kw::Red});
        t.emplace("green", KwInfo{Kw::Green});
        t.emplace("blue", KwInfo{Kw::Blue});
        t.emplace("list", KwInfo{Kw::List});
        t.emplace("listlevel", KwInfo{Kw::ListLevel});
        t.emplace("levelnfc", KwInfo{Kw::LevelNfc});
        t.emplace("levelnfcn", KwInfo{Kw::LevelNfc});
        t.emplace("listid", KwInfo{Kw::ListId});
        t.emplace("listoverride", KwInfo{Kw::ListOverride});
        t.emplace("bin", KwInfo{Kw::Bin});
        return t;
    }();
    return table;
}

// The code page of a font character set; 0: the document's.
int CodePageOfCharset(int charset) {
    switch (charset) {
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
            return 437;
        case 255:
            return 850;
        default:
            return 0;  // ANSI, default, symbol and the rest
    }
}

// Decoders of the code pages met in one document; Windows-1252 without
// iconv, the others through it (Windows-1252 again when iconv has none).
class Decoders {
  public:
    Decoders() = default;
    Decoders(const Decoders&) = delete;
    Decoders& operator=(const Decoders&) = delete;
    ~Decoders() {
        for (auto& [cp, cd] : open_)
            if (cd != kNone) iconv_close(cd);
    }

    template <typename Sink>
    void Decode(int codePage, std::string_view bytes, Sink&& sink) {
        iconv_t cd = codePage == 1252 ? kNone : Open(codePage);
        if (cd == kNone) {
            for (unsigned char b : bytes)
                sink(cp1252::ToUnicode(b));
            return;
        }
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::string in(bytes);
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        while (inLeft > 0) {
            std::array<char, 256> buffer;
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
            const std::string_view utf(buffer.data(), buffer.size() - outLeft);
            for (std::size_t i = 0; i < utf.size();)
                sink(utf8::Next(utf, i));
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                // A byte the code page lacks, or a sequence cut short.
                sink(utf8::kReplacement);
                ++inPtr;
                --inLeft;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
    }

  private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

    iconv_t Open(int codePage) {
        const auto it = open_.find(codePage);
        if (it != open_.end()) return it->second;
        std::string name;
        switch (codePage) {
            case 10000:
                name = "MACINTOSH";
                break;
            case 950:
                name = "BIG5";
                break;
            case 65001:
                name = "UTF-8";
                break;
            case 20127:
                name = "ASCII";
                break;
            default:
                name = "CP" + std::to_string(codePage);
        }
        iconv_t cd = kNone;
        if (open_.size() < 16) cd = iconv_open("UTF-8", name.c_str());
        open_.emplace(codePage, cd);
        return cd;
    }

    std::map<int, iconv_t> open_;
};

struct FontEntry {
    std::string name;
    int codePage = 0;
};

struct ListDef {
    int id = 0;
    std::vector<int> nfc;  // number format of each level; 23 is a bullet
};

class Reader {
  public:
    explicit Reader(std::string_view in) : in_(in) {}

    Document Run() {
        stack_.push_back(State{});
        while (pos_ < in_.size() && !done_)
            Step();
        FlushBytes();
        if (!cur_.runs.empty() || doc_.paragraphs.empty()) {
            if (!hasContent_) {
                curPara_ = Top().para;
                curChr_ = Top().chr;
            }
            EndParagraph(curPara_, curChr_);
        }
        return std::move(doc_);
    }

  private:
    State& Top() { return stack_.back(); }
    bool Skipping() const { return overflow_ > 0 || stack_.back().dest == Dest::Skip; }

    void Step() {
        const unsigned char c = static_cast<unsigned char>(in_[pos_++]);
        switch (c) {
            case '{':
                FlushBytes();
                skip_ = 0;
                Push();
                return;
            case '}':
                FlushBytes();
                skip_ = 0;
                Pop();
                return;
            case '\\':
                ControlWord();
                return;
            case '\r':
            case '\n':
                return;
            default:
                break;
        }
        if (Skipping()) return;
        if (skip_ > 0) {
            --skip_;
            return;
        }
        if (c >= 0x80) {
            Byte(c);
            return;
        }
        FlushBytes();
        if (c == '\t') {
            Emit('\t');
            return;
        }
        if (c < 0x20) return;
        if (c == ';') {
            if (Top().dest == Dest::FontTable) {
                CommitFont();
                return;
            }
            if (Top().dest == Dest::ColorTable) {
                CommitColor();
                return;
            }
        }
        Emit(c);
    }

    void Push() {
        if (overflow_ > 0 || stack_.size() >= kMaxDepth) {
            ++overflow_;
            return;
        }
        State s = Top();
        s.star = false;
        stack_.push_back(s);
    }

    void Pop() {
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (stack_.size() <= 2) {
            // The document's own group closes: the rest is not RTF.
            done_ = true;
            return;
        }
        const State popped = stack_.back();
        stack_.pop_back();
        State& parent = Top();
        // A font entry may end with its group instead of ';'.
        if (popped.dest == Dest::FontTable &&
            (!fontName_.empty() || parent.dest != Dest::FontTable))
            CommitFont();
        if (popped.dest == Dest::Pn && parent.dest != Dest::Pn)
            parent.para.pn = popped.pnKind == Numbering::None ? Numbering::Numbered : popped.pnKind;
    }

    // A control word or symbol after its backslash.
    void ControlWord() {
        if (pos_ >= in_.size()) return;
        const char first = in_[pos_];
        if (!IsLetter(first)) {
            ++pos_;
            Symbol(first);
            return;
        }
        const std::size_t start = pos_;
        while (pos_ < in_.size() && IsLetter(in_[pos_]))
            ++pos_;
        const std::string_view word = in_.substr(start, pos_ - start);
        bool hasValue = false;
        bool negative = false;
        long long value = 0;
        if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() &&
            IsDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < in_.size() && IsDigit(in_[pos_])) {
            hasValue = true;
            if (value < 100000000000LL) value = value * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
        value = std::clamp(negative ? -value : value, static_cast<long long>(INT_MIN),
                           static_cast<long long>(INT_MAX));
        Word(word, hasValue, static_cast<int>(value));
    }

    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int Hex(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    void Symbol(char c) {
        if (c == '\'') {
            if (pos_ + 1 < in_.size() && Hex(in_[pos_]) >= 0 && Hex(in_[pos_ + 1]) >= 0) {
                const int byte = Hex(in_[pos_]) * 16 + Hex(in_[pos_ + 1]);
                pos_ += 2;
                if (Skipping()) return;
                if (skip_ > 0) {
                    --skip_;
                    return;
                }
                Byte(static_cast<unsigned char>(byte));
            }
            return;
        }
        FlushBytes();
        if (Skipping()) return;
        if (skip_ > 0) {
            --skip_;
            return;
        }
        if (c == '*') {
            Top().star = true;
            return;
        }
        switch (c) {
            case '\\':
            case '{':
            case '}':
                Emit(static_cast<unsigned char>(c));
                return;
            case '~':
                Emit(0x00A0);
                return;
            case '_':
                Emit(0x2011);
                return;
            case '\r':
            case '\n':
                Paragraph();
                return;
            default:
                return;  // \- \: \| and the unknown
        }
    }

    void Word(std::string_view word, bool hasValue, int value) {
        FlushBytes();
        const auto& table = Keywords();
        const auto it = table.find(word);
        if (it != table.end() && it->second.kw == Kw::Bin) {
            // Binary data: its bytes are not RTF, whatever they hold.
            const std::size_t n = hasValue && value > 0 ? static_cast<std::size_t>(value) : 0;
            pos_ += std::min(n, in_.size() - pos_);
            return;
        }
        if (Skipping()) return;
        if (skip_ > 0) {
            --skip_;
            return;
        }
        State& s = Top();
        const bool star = s.star;
        s.star = false;
        if (it == table.end()) {
            if (star) s.dest = Dest::Skip;
            return;
        }
        const KwInfo info = it->second;
        if (star && info.kw != Kw::Pn && info.kw != Kw::ListTable &&
            info.kw != Kw::ListOverrideTable) {
            s.dest = Dest::Skip;
            return;
        }
        const int v = hasValue ? value : 1;
        switch (info.kw) {
            case Kw::SkipDest:
                s.dest = Dest::Skip;
                return;
            case Kw::FontTable:
                s.dest = Dest::FontTable;
                return;
            case Kw::ColorTable:
                s.dest = Dest::ColorTable;
                return;
            case Kw::ListTable:
                s.dest = Dest::ListTable;
                return;
            case Kw::ListOverrideTable:
                s.dest = Dest::ListOverrides;
                return;
            case Kw::ListText:
                if (s.dest == Dest::Body) {
                    s.dest = Dest::ListText;
                    listText_.clear();
                }
                return;
            case Kw::Pn:
                s.dest = Dest::Pn;
                s.pnKind = Numbering::None;
                return;
            case Kw::Object:
                s.dest = Dest::Object;
                return;
            case Kw::Result:
                if (s.dest == Dest::Object) s.dest = Dest::Body;
                return;
            case Kw::Par:
                Paragraph();
                return;
            case Kw::Line:
                Emit('\n');
                return;
            case Kw::Tab:
            case Kw::Cell:
                Emit('\t');
                return;
            case Kw::Char:
                Emit(info.ch);
                return;
            case Kw::U: {
                int unit = value;
                if (unit < 0) unit += 0x10000;
                if (hasValue && unit >= 0 && unit <= 0xFFFF) Unit(static_cast<char32_t>(unit));
                skip_ = s.uc;
                return;
            }
            case Kw::Uc:
                s.uc = std::clamp(value, 0, kMaxUc);
                return;
            case Kw::Plain:
                s.chr = Chr{};
                return;
            case Kw::Bold:
                s.chr.bold = v != 0;
                return;
            case Kw::Italic:
                s.chr.italic = v != 0;
                return;
            case Kw::Underline:
                s.chr.underline = v != 0;
                return;
            case Kw::UlNone:
                s.chr.underline = false;
                return;
            case Kw::Hidden:
                s.chr.hidden = v != 0;
                return;
            case Kw::Font:
                if (!hasValue) return;
                if (s.dest == Dest::FontTable) {
                    if (fontOpen_) CommitFont();
                    fontOpen_ = true;
                    fontNumber_ = value;
                    fontCodePage_ = 0;
                    fontName_.clear();
                } else {
                    s.chr.font = value;
                }
                return;
            case Kw::FontSize:
                if (hasValue && value > 0)
                    s.chr.halfPoints = std::clamp(value, kMinHalfPoints, kMaxHalfPoints);
                return;
            case Kw::Loch:
                s.chr.dbch = false;
                return;
            case Kw::Dbch:
                s.chr.dbch = true;
                return;
            case Kw::AssocFont:
                if (hasValue) s.chr.assocFont = value;
                return;
            case Kw::AssocSize:
                if (hasValue && value > 0)
                    s.chr.assocHalfPoints = std::clamp(value, kMinHalfPoints, kMaxHalfPoints);
                return;
            case Kw::ColorFg:
                s.chr.color = hasValue ? value : 0;
                return;
            case Kw::Up:
                s.chr.offset = std::clamp(hasValue ? value : 6, 0, kMaxOffset);
                return;
            case Kw::Dn:
                s.chr.offset = -std::clamp(hasValue ? value : 6, 0, kMaxOffset);
                return;
            case Kw::Super:
                s.chr.offset = 6;
                return;
            case Kw::Sub:
                s.chr.offset = -6;
                return;
            case Kw::NoSuperSub:
                s.chr.offset = 0;
                return;
            case Kw::Pard:
                s.para = Para{};
                return;
            case Kw::Ql:
                s.para.format.alignment = Alignment::Left;
                return;
            case Kw::Qr:
                s.para.format.alignment = Alignment::Right;
                return;
            case Kw::Qc:
                s.para.format.alignment = Alignment::Center;
                return;
            case Kw::Qj:
                s.para.format.alignment = Alignment::Justify;
                return;
            case Kw::Li:
                s.para.format.leftIndent = std::clamp(value, -kMaxIndent, kMaxIndent);
                return;
            case Kw::Fi:
                s.para.format.firstLineIndent = std::clamp(value, -kMaxIndent, kMaxIndent);
                return;
            case Kw::Ls:
                if (s.dest == Dest::ListOverrides) {
                    if (s.override >= 0) {
                        overrides_[static_cast<std::size_t>(s.override)].first = value;
                        MapOverride(s.override);
                    }
                } else {
                    s.para.ls = value;
                }
                return;
            case Kw::Ilvl:
                s.para.ilvl = std::clamp(value, 0, 8);
                return;
            case Kw::PnBullet:
                if (s.dest == Dest::Pn) s.pnKind = Numbering::Bullet;
                return;
            case Kw::PnBody:
                if (s.dest == Dest::Pn) s.pnKind = Numbering::Numbered;
                return;
            case Kw::PnCont:
                if (s.dest == Dest::Pn) s.pnKind = Numbering::Numbered;
                return;
            case Kw::Ansi:
                codePage_ = 1252;
                return;
            case Kw::Mac:
                codePage_ = 10000;
                return;
            case Kw::Pc:
                codePage_ = 437;
                return;
            case Kw::Pca:
                codePage_ = 850;
                return;
            case Kw::AnsiCpg:
                if (hasValue && value > 0 && value < 70000) codePage_ = value;
                return;
            case Kw::Deff:
                deff_ = value;
                return;
            case Kw::FCharset:
                if (s.dest == Dest::FontTable && fontOpen_)
                    fontCodePage_ = CodePageOfCharset(value);
                return;
            case Kw::Cpg:
                if (s.dest == Dest::FontTable && fontOpen_ && value > 0 && value < 70000)
                    fontCodePage_ = value;
                return;
            case Kw::Red:
            case Kw::Green:
            case Kw::Blue:
                if (s.dest == Dest::ColorTable) {
                    const auto c = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
                    if (!pendingColor_) pendingColor_ = Color{};
                    (info.kw == Kw::Red     ? pendingColor_->red
                     : info.kw == Kw::Green ? pendingColor_->green
                                            : pendingColor_->blue) = c;
                }
                return;
            case Kw::List:
                if (s.dest == Dest::ListTable) {
                    lists_.push_back(ListDef{});
                    s.list = static_cast<int>(lists_.size()) - 1;
                    s.level = false;
                }
                return;
            case Kw::ListLevel:
                if (s.dest == Dest::ListTable && s.list >= 0) {
                    lists_[static_cast<std::size_t>(s.list)].nfc.push_back(0);
                    s.level = true;
                }
                return;
            case Kw::LevelNfc:
                if (s.dest == Dest::ListTable && s.list >= 0 && s.level)
                    lists_[static_cast<std::size_t>(s.list)].nfc.back() = value;
                return;
            case Kw::ListId:
                if (s.dest == Dest::ListTable && s.list >= 0 && !s.level) {
                    lists_[static_cast<std::size_t>(s.list)].id = value;
                    listById_[value] = s.list;
                } else if (s.dest == Dest::ListOverrides && s.override >= 0) {
                    overrides_[static_cast<std::size_t>(s.override)].second = value;
                    MapOverride(s.override);
                }
                return;
            case Kw::ListOverride:
                if (s.dest == Dest::ListOverrides) {
                    overrides_.emplace_back(0, 0);
                    s.override = static_cast<int>(overrides_.size()) - 1;
                }
                return;
            case Kw::Bin:
                return;
        }
    }

    // One UTF-16 unit of \uN: surrogate pairs are joined, lone halves
    // become U+FFFD.
    void Unit(char32_t unit) {
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (highSurrogate_) Emit(utf8::kReplacement);
            highSurrogate_ = unit;
            return;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (highSurrogate_) {
                const char32_t cp = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
                highSurrogate_ = 0;
                Emit(cp);
            } else {
                Emit(utf8::kReplacement);
            }
            return;
        }
        Emit(unit);
    }

    int CurrentCodePage() {
        const State& s = Top();
        int cp = 0;
        if (s.dest == Dest::FontTable && fontOpen_) {
            cp = fontCodePage_;
        } else {
            const auto it = fonts_.find(s.chr.font < 0 ? deff_ : s.chr.font);
            if (it != fonts_.end()) cp = it->second.codePage;
        }
        return cp != 0 ? cp : codePage_;
    }

    void Byte(unsigned char b) {
        const int cp = CurrentCodePage();
        if (!bytes_.empty() && cp != bytesCodePage_) FlushBytes();
        bytesCodePage_ = cp;
        bytes_ += static_cast<char>(b);
    }

    void FlushBytes() {
        if (bytes_.empty()) return;
        const std::string bytes = std::move(bytes_);
        bytes_.clear();
        decoders_.Decode(bytesCodePage_, bytes, [&](char32_t cp) { Emit(cp); });
    }

    // A character of the current destination.
    void Emit(char32_t cp) {
        if (highSurrogate_ && (cp < 0xDC00 || cp > 0xDFFF)) {
            highSurrogate_ = 0;
            Emit(utf8::kReplacement);
        }
        State& s = Top();
        switch (s.dest) {
            case Dest::Body: {
                if (s.chr.hidden) return;
                if ((cp < 0x20 && cp != '\t' && cp != '\n') || cp == 0x7F) return;
                const Chr chr = Effective(s.chr, cp);
                if (!runOpen_ || !(runChr_ == chr)) StartRun(chr);
                utf8::Append(cur_.runs.back().text, cp);
                curPara_ = s.para;
                curChr_ = s.chr;
                hasContent_ = true;
                return;
            }
            case Dest::FontTable:
                if (fontOpen_ && cp >= 0x20 && fontName_.size() < kMaxFontName)
                    utf8::Append(fontName_, cp);
                return;
            case Dest::ListText:
                if ((cp < 0x20 && cp != '\t') || cp == 0x7F) return;
                if (listText_.empty() || !(listText_.back().format == Resolve(s.chr)))
                    listText_.push_back(rtf::Run{Resolve(s.chr), {}});
                utf8::Append(listText_.back().text, cp);
                return;
            default:
                return;
        }
    }

    void StartRun(const Chr& chr) {
        CharFormat f = Resolve(chr);
        if (cur_.runs.empty() || !(cur_.runs.back().format == f))
            cur_.runs.push_back(rtf::Run{std::move(f), {}});
        runChr_ = chr;
        runOpen_ = true;
    }

    CharFormat Resolve(const Chr& chr) const {
        CharFormat f;
        const auto font = fonts_.find(chr.font < 0 ? deff_ : chr.font);
        f.font = font != fonts_.end() ? font->second.name : std::string();
        f.halfPoints = std::clamp(chr.halfPoints, kMinHalfPoints, kMaxHalfPoints);
        f.bold = chr.bold;
        f.italic = chr.italic;
        f.underline = chr.underline;
        if (chr.color > 0 && static_cast<std::size_t>(chr.color) < colors_.size())
            f.color = colors_[static_cast<std::size_t>(chr.color)];
        f.offset = chr.offset;
        return f;
    }

    void Paragraph() {
        const State& s = Top();
        if (s.dest == Dest::Body) EndParagraph(s.para, s.chr);
    }

    // What list a paragraph is an item of, if any.
    Numbering ListOf(const Para& p) const {
        if (p.pn != Numbering::None) return p.pn;
        if (p.ls <= 0) return Numbering::None;
        if (const auto o = listOfOverride_.find(p.ls); o != listOfOverride_.end()) {
            if (const auto l = listById_.find(o->second); l != listById_.end()) {
                const ListDef& list = lists_[static_cast<std::size_t>(l->second)];
                if (!list.nfc.empty()) {
                    const std::size_t level =
                        std::min(static_cast<std::size_t>(p.ilvl), list.nfc.size() - 1);
                    return list.nfc[level] == 23 ? Numbering::Bullet : Numbering::Numbered;
                }
            }
        }
        // A list the tables do not describe: a bullet unless its text
        // holds a number.
        for (const rtf::Run& r : listText_)
            for (char c : r.text)
                if (IsDigit(c)) return Numbering::Numbered;
        return Numbering::Bullet;
    }

    void EndParagraph(const Para& para, const Chr& mark) {
        FlushBytes();
        cur_.format = para.format;
        const Numbering list = ListOf(para);
        cur_.format.bullet = list == Numbering::Bullet;
        cur_.format.numbered = list == Numbering::Numbered;
        cur_.mark = Resolve(mark);
        // The number or bullet written out is the list's own: kept as text
        // only when the paragraph is in no list.
        if (list == Numbering::None && !listText_.empty())
            cur_.runs.insert(cur_.runs.begin(), listText_.begin(), listText_.end());
        doc_.paragraphs.push_back(std::move(cur_));
        cur_ = rtf::Paragraph{};
        listText_.clear();
        runOpen_ = false;
        hasContent_ = false;
    }

    void CommitFont() {
        if (!fontOpen_) return;
        std::string name = fontName_;
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        std::size_t lead = 0;
        while (lead < name.size() && name[lead] == ' ')
            ++lead;
        fonts_[fontNumber_] = FontEntry{name.substr(lead), fontCodePage_};
        fontOpen_ = false;
        fontName_.clear();
    }

    void MapOverride(int index) {
        const auto& [ls, id] = overrides_[static_cast<std::size_t>(index)];
        listOfOverride_[ls] = id;
    }

    void CommitColor() {
        colors_.push_back(pendingColor_);
        pendingColor_.reset();
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    bool done_ = false;
    std::vector<State> stack_;
    std::size_t overflow_ = 0;  // groups past kMaxDepth, skipped
    int skip_ = 0;              // fallback characters of \uN still to skip
    char32_t highSurrogate_ = 0;

    int codePage_ = 1252;
    int deff_ = 0;
    std::map<int, FontEntry> fonts_;
    bool fontOpen_ = false;
    int fontNumber_ = 0;
    int fontCodePage_ = 0;
    std::string fontName_;
    std::vector<std::optional<Color>> colors_;
    std::optional<Color> pendingColor_;
    std::vector<ListDef> lists_;
    std::vector<std::pair<int, int>> overrides_;   // \ls number, \listid
    std::unordered_map<int, int> listOfOverride_;  // \ls number: \listid
    std::unordered_map<int, int> listById_;        // \listid: index in lists_

    std::string bytes_;
    int bytesCodePage_ = 1252;
    Decoders decoders_;

    Document doc_;
    rtf::Paragraph cur_;
    std::vector<rtf::Run> listText_;
    bool runOpen_ = false;
    Chr runChr_;
    Para curPara_;
    Chr curChr_;
    bool hasContent_ = false;
};

// Plain text: UTF-8 when it is valid (or UTF-16 with its byte-order mark),
// Windows-1252 otherwise; one paragraph per line.
Document ReadPlainText(std::string_view bytes) {
    std::string text;
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                              (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
        const bool little = bytes[0] == '\xFF';
        char32_t high = 0;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]);
            const auto b = static_cast<unsigned char>(bytes[i + 1]);
            const char32_t unit = little ? (a | (b << 8)) : ((a << 8) | b);
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                if (high) utf8::Append(text, utf8::kReplacement);
                high = unit;
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                utf8::Append(text, high ? 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00)
                                        : utf8::kReplacement);
                high = 0;
            } else {
                if (high) utf8::Append(text, utf8::kReplacement);
                high = 0;
                utf8::Append(text, unit);
            }
        }
        if (high) utf8::Append(text, utf8::kReplacement);
    } else if (utf8::IsValid(bytes)) {
        text = bytes.substr(bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0);
    } else {
        text = cp1252::ToUtf8(bytes);
    }

    Document doc;
    rtf::Paragraph para;
    para.runs.push_back(rtf::Run{});
    auto end = [&] {
        if (para.runs.back().text.empty()) para.runs.clear();
        doc.paragraphs.push_back(std::move(para));
        para = rtf::Paragraph{};
        para.runs.push_back(rtf::Run{});
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            end();
        } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
            if (c != 0x7F) para.runs.back().text += c;
        }
    }
    if (!para.runs.back().text.empty() || doc.paragraphs.empty()) end();
    return doc;
}

}  // namespace

bool IsRtf(std::string_view bytes) {
    return bytes.substr(0, 5) == "{\\rtf";
}

Document Read(std::string_view bytes) {
    if (!IsRtf(bytes)) return ReadPlainText(bytes);
    return Reader(bytes).Run();
}

}  // namespace lorvane::rtf
