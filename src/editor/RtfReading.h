#pragma once

// The inside of the RTF reader (Rtf.h): one pass over the bytes with a
// stack of group states. Each group holds its destination (body text, a
// table being read, or something to skip), the character and paragraph
// properties, and the \uc count. The reader is one class over several
// files: the group walker (RtfReader.cpp), the keyword table
// (RtfKeywords.cpp), the characters and their code pages
// (RtfCharacters.cpp, RtfCodePages.cpp), the paragraphs and their lists
// (RtfParagraphs.cpp), the font, colour and list tables (RtfTables.cpp).

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Rtf.h"
#include "RtfCodePages.h"

namespace lorvane::rtf::reading {

inline constexpr std::size_t kMaxDepth = 1000;
inline constexpr std::size_t kMaxFontName = 256;
inline constexpr int kMaxUc = 255;

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

// The keywords the reader knows, by name.
const std::unordered_map<std::string_view, KwInfo>& Keywords();

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

    Document Run();

  private:
    State& Top() { return stack_.back(); }
    bool Skipping() const { return overflow_ > 0 || stack_.back().dest == Dest::Skip; }

    // The group walker.
    void Step();
    void Push();
    void Pop();
    void ControlWord();
    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int Hex(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    void Symbol(char c);
    void Word(std::string_view word, bool hasValue, int value);

    // The characters: their properties, their bytes and code pages, the
    // runs they make.
    void CharacterWord(State& s, Kw kw, bool hasValue, int value);
    void Unit(char32_t unit);
    int CurrentCodePage();
    void Byte(unsigned char b);
    void FlushBytes();
    void Emit(char32_t cp);
    void StartRun(const Chr& chr);
    CharFormat Resolve(const Chr& chr) const;

    // The paragraphs and the lists they are items of.
    bool ParagraphWord(State& s, Kw kw, int value);
    void Paragraph();
    Numbering ListOf(const Para& p) const;
    void EndParagraph(const Para& para, const Chr& mark);

    // The font, colour and list tables.
    bool TableWord(State& s, Kw kw, bool hasValue, int value);
    void CommitFont();
    void MapOverride(int index);
    void CommitColor();

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
Document ReadPlainText(std::string_view bytes);

}  // namespace lorvane::rtf::reading
