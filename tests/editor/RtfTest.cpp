#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "Fixtures.h"
#include "Rtf.h"

using namespace lorvane::rtf;

namespace {

CharFormat Fmt(std::string font, int halfPoints) {
    CharFormat f;
    f.font = std::move(font);
    f.halfPoints = halfPoints;
    return f;
}

Paragraph Para(std::vector<Run> runs, ParaFormat format = {}, CharFormat mark = {}) {
    Paragraph p;
    p.runs = std::move(runs);
    p.format = format;
    p.mark = std::move(mark);
    return p;
}

// Every formatting the pad applies, one or more at a time.
Document EveryFormat() {
    CharFormat bold = Fmt("Arial", 20);
    bold.bold = true;
    CharFormat italic = Fmt("Times New Roman", 28);
    italic.italic = true;
    CharFormat under = Fmt("DejaVu Sans", 144);
    under.underline = true;
    under.color = Color{255, 0, 0};
    CharFormat all = Fmt("Arial", 16);
    all.bold = all.italic = all.underline = true;
    all.color = Color{12, 34, 56};
    CharFormat sup = Fmt("Arial", 20);
    sup.offset = 4;
    CharFormat sub = Fmt("Arial", 20);
    sub.offset = -4;
    sub.color = Color{0, 0, 0};
    CharFormat big = Fmt("Liberation Serif", 2 * 72);

    ParaFormat centre{Alignment::Center, false, 0, 0};
    ParaFormat right{Alignment::Right, false, 400, 200};
    ParaFormat justify{Alignment::Justify, false, 0, -200};
    ParaFormat bullet{Alignment::Left, true, 200, 0};
    ParaFormat bulletIndented{Alignment::Left, true, 200, 400};

    Document d;
    d.paragraphs = {
        Para({{Fmt("Arial", 20), "Normal "}, {bold, "gras "}, {italic, "italique"}}),
        Para({{under, "souligné rouge"}, {Fmt("Arial", 20), " x"}, {sup, "2"}, {sub, "n"}}, centre),
        Para({{all, "Tout à la fois\tavec une tabulation"}}, right, all),
        Para({{big, "Ligne un\nligne deux"}}, justify),
        Para({{Fmt("Arial", 20), "Puce une"}}, bullet),
        Para({{Fmt("Arial", 20), "Puce deux, retrait"}}, bulletIndented),
        Para({}, {}, bold),  // an empty paragraph keeps its mark
        Para({{Fmt("Arial", 20), "Unicode : é œ € Ÿ « » α Ω щ 中文 😀 and {braces} \\ back"}}),
        Para({}),
    };
    return d;
}

}  // namespace

TEST(RtfRoundTrip, EveryFormattingSurvivesWriteThenRead) {
    const Document doc = EveryFormat();
    const std::string rtf = Write(doc);
    const Document back = Read(rtf);
    ASSERT_EQ(back.paragraphs.size(), doc.paragraphs.size()) << rtf;
    for (std::size_t i = 0; i < doc.paragraphs.size(); ++i)
        EXPECT_EQ(back.paragraphs[i], doc.paragraphs[i]) << "paragraph " << i << "\n" << rtf;
    // And writing again gives the same bytes.
    EXPECT_EQ(Write(back), rtf);
}

TEST(RtfRoundTrip, EmptyDocumentIsOneEmptyParagraph) {
    Document empty;
    empty.paragraphs.push_back(Paragraph{});
    EXPECT_EQ(Read(Write(empty)), empty);
    EXPECT_EQ(Read(Write(Document{})).paragraphs.size(), 1u);
}

TEST(RtfWriter, WritesTheFormsOtherProgramsRead) {
    const std::string rtf = Write(EveryFormat());
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0", 0), 0u);
    for (const char* part : {"{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}",
                             "Times New Roman;",
                             "\\fcharset2 Symbol;",
                             "{\\colortbl ;\\red255\\green0\\blue0;",
                             "\\b gras",
                             "\\i",
                             "\\ul",
                             "\\ulnone",
                             "\\cf1",
                             "\\fs28",
                             "\\up4",
                             "\\dn4",
                             "\\qc",
                             "\\qr",
                             "\\qj",
                             "\\li400",
                             "\\fi-200",
                             "{\\pntext\\f",
                             "\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf",
                             "\\pnindent0{\\pntxtb\\'B7}}",
                             "\\tab avec",
                             "\\line ligne",
                             "soulign\\'e9",
                             "\\'9c",
                             "\\'80",
                             "\\u945?",
                             "\\u20013?",
                             "\\u-10179?\\u-8704?",
                             "\\{braces\\} \\\\ back",
                             "\\par"})
        EXPECT_NE(rtf.find(part), std::string::npos) << part << "\n" << rtf;
    // Only 7-bit bytes.
    for (char c : rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(RtfReader, ReadsWordPadDocuments) {
    const std::string wordpad =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1036{\\fonttbl{"
        "\\f0\\fnil\\fcharset0 "
        "Calibri;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\sa200\\sl276\\slmult1\\b\\f0\\fs22\\lang12 Gras\\b0  normal \\i "
        "italique\\i0\\par\r\n"
        "\\pard\\qc\\cf1 Centr\\'e9\\cf0\\par\r\n\r\n"
        "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
        "\\fi-360\\li720\\sa200\\sl276\\slmult1 Un\\par\r\n"
        "{\\pntext\\f1\\'B7\\tab}Deux\\par\r\n"
        "\\pard\\sa200\\sl276\\slmult1 x\\up6 2\\up0  \\u8364?\\line\\tab fin\\par\r\n}\r\n";
    const Document d = Read(wordpad);
    ASSERT_EQ(d.paragraphs.size(), 5u);
    const auto& p0 = d.paragraphs[0];
    ASSERT_EQ(p0.runs.size(), 3u);
    EXPECT_EQ(p0.runs[0].text, "Gras");
    EXPECT_TRUE(p0.runs[0].format.bold);
    EXPECT_EQ(p0.runs[0].format.font, "Calibri");
    EXPECT_EQ(p0.runs[0].format.halfPoints, 22);
    EXPECT_EQ(p0.runs[1].text, " normal ");
    EXPECT_FALSE(p0.runs[1].format.bold);
    EXPECT_TRUE(p0.runs[2].format.italic);

    const auto& p1 = d.paragraphs[1];
    EXPECT_EQ(p1.format.alignment, Alignment::Center);
    ASSERT_EQ(p1.runs.size(), 1u);
    EXPECT_EQ(p1.runs[0].text, "Centré");
    EXPECT_EQ(p1.runs[0].format.color, (Color{255, 0, 0}));
    EXPECT_FALSE(p1.mark.color);

    for (int i : {2, 3}) {
        const auto& p = d.paragraphs[static_cast<std::size_t>(i)];
        EXPECT_TRUE(p.format.bullet) << i;
        EXPECT_EQ(p.format.leftIndent, 720);
        EXPECT_EQ(p.format.firstLineIndent, -360);
        EXPECT_EQ(p.format.alignment, Alignment::Left);
    }
    EXPECT_EQ(PlainText(d), "Gras normal italique\nCentré\nUn\nDeux\nx2 €\n\tfin\n");
    const auto& p4 = d.paragraphs[4];
    EXPECT_FALSE(p4.format.bullet);
    ASSERT_GE(p4.runs.size(), 3u);
    EXPECT_EQ(p4.runs[1].text, "2");
    EXPECT_EQ(p4.runs[1].format.offset, 6);
    EXPECT_EQ(p4.runs[2].format.offset, 0);
}

TEST(RtfReader, ReadsWordListsBulletedAndNumbered) {
    const std::string word =
        "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2{\\*"
        "\\panose "
        "02020603050405020304}Times New Roman;}{\\f3\\fbidi \\froman\\fcharset2\\fprq2{\\*\\panose "
        "05050102010706020507}Symbol;}}\r\n"
        "{\\*\\listtable{\\list\\listtemplateid-1\\listhybrid{\\listlevel\\levelnfc23\\levelnfcn23"
        "\\leveljc0\\levelstartat1{\\leveltext\\'01\\u-3913 "
        "?;}{\\levelnumbers;}\\f3\\fi-360\\li720}"
        "{\\listlevel\\levelnfc0\\levelnfcn0{\\leveltext\\'02\\'01.;}{\\levelnumbers\\'01;}}"
        "\\listid100}\r\n"
        "{\\list\\listtemplateid2{\\listlevel\\levelnfc0\\levelnfcn0{\\leveltext\\'02\\'00.;}"
        "{\\levelnumbers\\'01;}\\fi-360\\li720}\\listid200}}\r\n"
        "{\\*\\listoverridetable{\\listoverride\\listid100\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid200\\listoverridecount0\\ls2}}\r\n"
        "{\\info{\\title Titre}{\\author Moi}}"
        "\\pard\\plain {\\listtext\\pard\\plain \\f3 \\'b7\\tab}\\ls1\\li720\\fi-360 Puce\\par\r\n"
        "{\\listtext\\pard\\plain 1.\\tab}\\pard\\plain \\ls2\\li720\\fi-360 Num\\'e9ro\\par\r\n"
        "\\pard\\plain {\\listtext\\pard\\plain a.\\tab}\\ls1\\ilvl1 Niveau deux\\par\r\n"
        "}";
    const Document d = Read(word);
    ASSERT_EQ(d.paragraphs.size(), 3u);
    EXPECT_TRUE(d.paragraphs[0].format.bullet);
    EXPECT_FALSE(d.paragraphs[0].format.numbered);
    // The numbers are the lists' own, not text.
    EXPECT_EQ(PlainText(d), "Puce\nNuméro\nNiveau deux\n");
    EXPECT_EQ(d.paragraphs[0].runs[0].format.font, "Times New Roman");
    EXPECT_FALSE(d.paragraphs[1].format.bullet);
    EXPECT_TRUE(d.paragraphs[1].format.numbered);
    // Level 2 of list 100 is numbered.
    EXPECT_FALSE(d.paragraphs[2].format.bullet);
    EXPECT_TRUE(d.paragraphs[2].format.numbered);
}

TEST(RtfWriter, NumberedListsStayNumbered) {
    ParaFormat numbered;
    numbered.numbered = true;
    numbered.leftIndent = 200;
    Document doc;
    for (const char* text : {"Premier", "Second", "Troisi\xC3\xA8me"})
        doc.paragraphs.push_back({numbered, {{CharFormat{}, text}}, CharFormat{}});
    doc.paragraphs.push_back({ParaFormat{}, {{CharFormat{}, "Apr\xC3\xA8s"}}, CharFormat{}});
    doc.paragraphs.push_back({numbered, {{CharFormat{}, "Autre liste"}}, CharFormat{}});
    const std::string rtf = Write(doc);
    EXPECT_NE(rtf.find("\\pnlvlbody"), std::string::npos);
    EXPECT_NE(rtf.find("\\pndec"), std::string::npos);
    // The numbers written out count each list from 1.
    for (const char* number : {"{\\pntext\\f0 1.\\tab}", "{\\pntext\\f0 3.\\tab}"})
        EXPECT_NE(rtf.find(number), std::string::npos) << number;
    EXPECT_EQ(rtf.find("4.\\tab"), std::string::npos);
    const Document back = Read(rtf);
    EXPECT_EQ(back, doc);
    EXPECT_EQ(PlainText(back), "Premier\nSecond\nTroisi\xC3\xA8me\nApr\xC3\xA8s\nAutre liste\n");
}

TEST(RtfReader, SkipsWhatItDoesNotModel) {
    const std::string rtf =
        "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fmodern Courier;}"
        "{\\stylesheet{\\s1 Heading;}}{\\*\\unknown secret {nested} text}"
        "A{\\pict\\wmetafile8\\picw100 0123456789abcdef}B"
        "{\\*\\shppict{\\pict\\pngblip 89504e47}}{\\nonshppict{\\pict\\wmetafile8 0102}}"
        "{\\pict\\bin6 }}{{{\\}C"
        "{\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0105}{\\result D}}"
        "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt E}}"
        "{\\header en-t\\'eate}{\\footnote note}F{\\v cach\\'e9}G\\-H\\~I\\_J"
        "{\\*\\bkmkstart b}\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet"
        "\\f1 K}trailing";
    const Document d = Read(rtf);
    ASSERT_EQ(d.paragraphs.size(), 1u);
    EXPECT_EQ(PlainText(d),
              "ABCDEFGH\xC2\xA0I\xE2\x80\x91J\xE2\x80\x94\xE2\x80\x93\xE2\x80\x98\xE2\x80\x99"
              "\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\xA2K\n");
    EXPECT_EQ(d.paragraphs[0].runs.front().format.font, "Helvetica");
    EXPECT_EQ(d.paragraphs[0].runs.back().format.font, "Courier");
    // No \fs: RTF's own 12 points.
    EXPECT_EQ(d.paragraphs[0].runs.front().format.halfPoints, 24);
}

TEST(RtfReader, UnicodeWithItsFallbacks) {
    const Document d = Read(
        "{\\rtf1\\ansi\\ansicpg1252 \\u945?\\uc2\\u946\\'3f\\'3f\\uc0\\u947 "
        "{\\uc1\\u948\\'e9}{\\uc1\\u-10179?\\u-8704?}|\\u-10179 x\\u-8704 \\u8364 z}");
    EXPECT_EQ(PlainText(d), "αβγδ😀|\xEF\xBF\xBDx\xEF\xBF\xBD€z\n");
}

TEST(RtfReader, DecodesBytesInTheCodePageOfTheDocumentAndFont) {
    EXPECT_EQ(PlainText(Read("{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1\\'e2}")), "Абв\n");
    EXPECT_EQ(PlainText(Read("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset238 Arial CE;}{\\f1\\fcharset0 "
                             "Arial;}}\\f0 \\'b9\\'e6\\f1 \\'b9}")),
              "ąć¹\n");
    EXPECT_EQ(PlainText(Read("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 "
                             "\\'82\\'a0\\'82}")),
              "あ\xEF\xBF\xBD\n");
    // Font names in their own character set.
    const Document d = Read(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 \\'c0\\'f0\\'e8\\'e0\\'eb;}}"
        "\\f0 x}");
    EXPECT_EQ(d.paragraphs[0].runs[0].format.font, "Ариал");
    // Raw 8-bit bytes, \mac.
    EXPECT_EQ(PlainText(Read("{\\rtf1\\ansi caf\xE9}")), "café\n");
    EXPECT_EQ(PlainText(Read("{\\rtf1\\mac caf\\'8e}")), "café\n");
}

TEST(RtfReader, ParagraphsAndTheirProperties) {
    const Document d = Read(
        "{\\rtf1\\ansi\\pard\\qc un\\par deux\\par\\pard\\qr\\li100\\fi-50 trois\\par"
        "{\\pard\\qj quatre\\par}cinq\\par\\pard\\ql\\b\\par\\plain six}");
    ASSERT_EQ(d.paragraphs.size(), 7u);
    EXPECT_EQ(d.paragraphs[0].format.alignment, Alignment::Center);
    EXPECT_EQ(d.paragraphs[1].format.alignment, Alignment::Center);
    EXPECT_EQ(d.paragraphs[2].format, (ParaFormat{Alignment::Right, false, 100, -50}));
    EXPECT_EQ(d.paragraphs[3].format.alignment, Alignment::Justify);
    // The group's \pard ends with it.
    EXPECT_EQ(d.paragraphs[4].format, (ParaFormat{Alignment::Right, false, 100, -50}));
    EXPECT_TRUE(d.paragraphs[5].runs.empty());
    EXPECT_TRUE(d.paragraphs[5].mark.bold);
    EXPECT_EQ(PlainText(d), "un\ndeux\ntrois\nquatre\ncinq\n\nsix\n");
    // A last \par ends the last paragraph: no empty one after it.
    EXPECT_EQ(Read("{\\rtf1 a\\par}").paragraphs.size(), 1u);
    EXPECT_EQ(Read("{\\rtf1 a\\par\\par}").paragraphs.size(), 2u);
    EXPECT_EQ(Read("{\\rtf1 a\\par b}").paragraphs.size(), 2u);
}

TEST(RtfReader, PlainTextFiles) {
    Document d = Read("Première ligne\r\n\tseconde\n\ntroisième\rquatre");
    EXPECT_EQ(PlainText(d), "Première ligne\n\tseconde\n\ntroisième\nquatre\n");
    EXPECT_EQ(d.paragraphs[0].runs[0].format, CharFormat{});
    EXPECT_EQ(PlainText(Read("caf\xE9\x80")), "café€\n");
    EXPECT_EQ(PlainText(Read("\xEF\xBB\xBFnomm\xC3\xA9")), "nommé\n");
    EXPECT_EQ(PlainText(Read(std::string("\xFF\xFEh\0\xE9\0\x3D\xD8\x00\xDE", 10))), "hé😀\n");
    EXPECT_EQ(PlainText(Read("a\nb\n")), "a\nb\n");
    EXPECT_EQ(Read("").paragraphs.size(), 1u);
    EXPECT_EQ(PlainText(Read(std::string("x\0y\x01z", 5))), "xyz\n");
    EXPECT_FALSE(IsRtf("{\\rt"));
    EXPECT_TRUE(IsRtf("{\\rtf1}"));
}

TEST(RtfReader, MalformedInputNeverBreaksIt) {
    const std::string good = Write(EveryFormat());
    // Every prefix of a good file.
    for (std::size_t n = 0; n <= good.size(); n += 7)
        Read(good.substr(0, n));
    // Broken and hostile forms.
    for (const std::string& bad :
         {std::string("{\\rtf"),
          std::string("{\\rtf1}}}}}}}}text"),
          std::string("{\\rtf1\\"),
          std::string("{\\rtf1\\'"),
          std::string("{\\rtf1\\'4"),
          std::string("{\\rtf1\\'zz}"),
          std::string("{\\rtf1\\u"),
          std::string("{\\rtf1\\u-"),
          std::string("{\\rtf1\\u99999999999}"),
          std::string("{\\rtf1\\uc-5\\u65\\uc999999999\\u66 abc}"),
          std::string("{\\rtf1\\bin"),
          std::string("{\\rtf1\\bin-5 x}"),
          std::string("{\\rtf1\\bin999999999999 x}"),
          std::string("{\\rtf1\\fs-20 a\\fs999999 b\\fs0 c\\li-99999999 d\\par}"),
          std::string("{\\rtf1{\\fonttbl{\\f0;}{\\f;}\\f-1 x;}\\f-1 a\\f99 b\\cf99 c\\cf-1 d}"),
          std::string("{\\rtf1{\\colortbl\\red999\\green-1;;;}\\cf1 a\\cf2 b\\cf3 c}"),
          std::string("{\\rtf1\\ansicpg99999 \\'e9\\ansicpg0 \\'e9\\ansicpg65001 \\'c3\\'a9}"),
          std::string("{\\rtf1{\\*\\listoverridetable\\ls5\\listid{\\listoverride\\ls}}\\ls5 x}"),
          std::string("{\\rtf1{\\*\\listtable\\levelnfc23{\\listlevel\\levelnfc23}}\\ls1 x}"),
          std::string("{\\rtf1 \\u55357?\\par\\u56832?\\u55357?\\u55357?}"),
          std::string("{\\rtf1 {\\*}{\\*\\*\\*}{\\*\\}}x"),
          std::string("{\\rtf1\0\0\0x}", 11)}) {
        const Document d = Read(bad);
        EXPECT_FALSE(d.paragraphs.empty()) << bad;
        for (const Paragraph& p : d.paragraphs)
            for (const lorvane::rtf::Run& r : p.runs) {
                EXPECT_GE(r.format.halfPoints, kMinHalfPoints);
                EXPECT_LE(r.format.halfPoints, kMaxHalfPoints);
            }
    }
    // Noise after the signature.
    for (unsigned seed = 1; seed <= 20; ++seed)
        Read("{\\rtf1" + lorvane::testing::Noise(4000, seed));
}

TEST(RtfReader, HostileFilesTakeLinearTime) {
    using Clock = std::chrono::steady_clock;
    const std::size_t n = 200000;
    auto repeat = [&](std::string_view piece) {
        std::string s = "{\\rtf1 ";
        while (s.size() < n * 4)
            s += piece;
        return s;
    };
    const std::string cases[] = {
        std::string(n * 4, '{').insert(0, "{\\rtf1 "),         // deep nesting
        repeat("{") + std::string(n * 4, '}'),                 //
        repeat("\\b a\\b0 b"),                                 // one run per letter
        repeat("\\'e9"),                                       // decoded bytes
        repeat("{\\*\\pn\\pnlvlblt}x\\par"),                   // paragraphs with bullets
        repeat("{\\listtext 1.}\\ls1 x\\par"),                 // list text per paragraph
        repeat("{\\fonttbl{\\f1\\fcharset238 n;}}\\f1\\'e9"),  // font tables again and again
        repeat("{\\*\\listoverridetable{\\listoverride\\ls1\\listid1}}\\ls1 x\\par"),
        "{\\rtf1{\\fonttbl{\\f0 " + std::string(n * 4, 'N') + ";}}" + repeat("\\f0 x\\f1 y"),
        repeat("\\u233\\'e9"),
    };
    for (const std::string& input : cases) {
        const auto start = Clock::now();
        const Document d = Read(input);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        // Under a second here; a reader quadratic in any of these would
        // take hours. The bound leaves room for sanitizers on a busy machine.
        EXPECT_LT(seconds, 30.0) << input.substr(0, 60);
        EXPECT_FALSE(d.paragraphs.empty());
    }
}
