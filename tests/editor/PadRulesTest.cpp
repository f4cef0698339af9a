#include <gtest/gtest.h>

#include <string>

#include "PadRules.h"

using namespace lorvane::rtf;

// The quick count of a file beyond the size limit agrees with what the
// reader would make of it, for RTF and for plain text.
TEST(PadRules, QuickParagraphCountAgreesWithTheReader) {
    const std::string samples[] = {
        "{\\rtf1\\ansi \\pard Un\\par\\pard\\qc Deux\\par Trois}",
        "{\\rtf1 Un\\\\par pas un paragraphe\\par Deux\\line suite\\pard}",
        "ligne 1\r\nligne 2\rligne 3\nligne 4",
        "une seule ligne",
    };
    for (const std::string& s : samples)
        EXPECT_EQ(CountParagraphs(s), Read(s).paragraphs.size()) << s;
}

TEST(PadRules, MessagesAndNames) {
    EXPECT_EQ(TooLargeMessage(true, {16'200'000, 500'000}),
              "Ce fichier est trop volumineux pour le bloc-notes (16,2 Mo, 500\u00a0000 "
              "paragraphes ; au plus 1 Mo de texte ou 50\u00a0000 paragraphes).");
    EXPECT_EQ(TooLargeMessage(false, {1'234'567'890, 1}),
              "Ce texte est trop volumineux pour le bloc-notes (1\u00a0234,6 Mo, 1 paragraphe ; au "
              "plus 1 Mo de texte ou 50\u00a0000 paragraphes).");
    EXPECT_EQ(RtfNameFor("/home/lecteur/notes.txt"), "/home/lecteur/notes.rtf");
    EXPECT_EQ(RtfNameFor("/home/lecteur.d/notes"), "/home/lecteur.d/notes.rtf");
    EXPECT_EQ(RtfNameFor("/home/lecteur/.notes"), "/home/lecteur/.notes.rtf");
    EXPECT_TRUE(IsTextFileName("/home/lecteur/Notes.TXT"));
    EXPECT_FALSE(IsTextFileName("/home/lecteur/.txt"));
    EXPECT_FALSE(IsTextFileName("/home/lecteur.txt/notes"));
}

// A plain-text file opened and saved again as text comes back byte for
// byte: its encoding and its line ends are found and kept.
TEST(PadRules, TextFilesComeBackAsTheyWere) {
    struct Sample {
        std::string bytes;
        TextFormat format;
    };
    const std::string utf16le(
        "\xFF\xFE"
        "a\0\r\0\n\0\xE9\0\r\0\n\0",
        14);
    const std::string utf16be("\xFE\xFF\xD8\x3D\xDE\x00\x00\x0A\x00z", 10);
    const Sample samples[] = {
        {"Première ligne\n\tSeconde\n", {TextEncoding::Utf8, LineEnd::Lf, true}},
        {"\xEF\xBB\xBFNotes\r\n\r\nfin", {TextEncoding::Utf8Bom, LineEnd::CrLf, false}},
        {"Pri\xE8re du soir\r\n\x93"
         "Amen\x94\r\n",
         {TextEncoding::Windows1252, LineEnd::CrLf, true}},
        {"mac\rclassique\r\r", {TextEncoding::Utf8, LineEnd::Cr, true}},
        {utf16le, {TextEncoding::Utf16Le, LineEnd::CrLf, true}},
        {utf16be, {TextEncoding::Utf16Be, LineEnd::Lf, false}},
        {"", {TextEncoding::Utf8, LineEnd::Lf, false}},
        {"\n\n", {TextEncoding::Utf8, LineEnd::Lf, true}},
        {"une ligne", {TextEncoding::Utf8, LineEnd::Lf, false}},
    };
    for (const Sample& s : samples) {
        const TextFormat format = DetectTextFormat(s.bytes);
        EXPECT_EQ(format, s.format) << s.bytes;
        EXPECT_EQ(TextSaveFormat(Read(s.bytes), format), format) << s.bytes;
        EXPECT_EQ(WriteText(Read(s.bytes), format), s.bytes);
    }
    // A control character the pad leaves out does not hide the last line end.
    EXPECT_TRUE(DetectTextFormat("fin\r\n\x1A").finalLineEnd);
}

// Lines written in the pad take the file's line ends; a character that
// Windows-1252 has not makes the file UTF-8 (with its mark, so that the
// programs that wrote it read it right) rather than lose it.
TEST(PadRules, EditedTextKeepsTheLineEndsAndItsCharacters) {
    const std::string opened = "R\xE9sum\xE9\r\n";
    const TextFormat format = DetectTextFormat(opened);
    Document doc = Read(opened);
    doc.paragraphs.push_back(Paragraph{{}, {lorvane::rtf::Run{{}, "œuvre à\nfaire"}}, {}});
    EXPECT_EQ(TextSaveFormat(doc, format), format);
    EXPECT_EQ(WriteText(doc, format), "R\xE9sum\xE9\r\n\x9Cuvre \xE0\r\nfaire\r\n");

    doc.paragraphs.back().runs.back().text += " \u2192 \u05D0";
    const TextFormat wider = TextSaveFormat(doc, format);
    EXPECT_EQ(wider, (TextFormat{TextEncoding::Utf8Bom, LineEnd::CrLf, true}));
    EXPECT_EQ(WriteText(doc, wider), "\xEF\xBB\xBFRésumé\r\nœuvre à\r\nfaire \u2192 \u05D0\r\n");
    EXPECT_EQ(PlainText(Read(WriteText(doc, wider))), PlainText(doc));
}

// Formatting is what a text file would lose; the format of an empty line
// shows nothing and is no reason to ask.
TEST(PadRules, FormattingIsWhatATextFileLoses) {
    Document doc = Read("une\n\ndeux\n");
    EXPECT_FALSE(HasFormatting(doc));
    CharFormat bolder;
    bolder.bold = true;
    doc.paragraphs[1].mark = bolder;
    doc.paragraphs[1].runs.push_back(lorvane::rtf::Run{bolder, ""});
    EXPECT_FALSE(HasFormatting(doc));

    Document bold = doc;
    bold.paragraphs[2].runs.push_back(lorvane::rtf::Run{bolder, "!"});
    EXPECT_TRUE(HasFormatting(bold));
    Document font = doc;
    font.paragraphs[0].runs[0].format.font = "Times New Roman";
    EXPECT_TRUE(HasFormatting(font));
    Document centred = doc;
    centred.paragraphs[0].format.alignment = Alignment::Center;
    EXPECT_TRUE(HasFormatting(centred));
    Document bullets = doc;
    bullets.paragraphs[1].format.bullet = true;
    EXPECT_TRUE(HasFormatting(bullets));
}
