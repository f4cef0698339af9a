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
}
