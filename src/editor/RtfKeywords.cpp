// The keywords of RTF that the reader acts on; the destinations it skips
// whole are among them.

#include <utility>

#include "RtfReading.h"

namespace lorvane::rtf::reading {

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

}  // namespace lorvane::rtf::reading
