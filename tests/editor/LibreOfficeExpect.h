#pragma once

// What the pad must read from the RTF that LibreOffice Writer makes of
// fixtures/formatting.html and fixtures/lists.fodt: the text and the
// formatting of the source documents. Each check returns the differences,
// empty when there are none (usable from GoogleTest and Qt Test alike).

#include <string>
#include <vector>

#include "Rtf.h"

namespace lorvane::testing {

class DocumentCheck {
  public:
    explicit DocumentCheck(const rtf::Document& doc) : doc_(doc) {}

    std::vector<std::string> Failures() const { return failures_; }

    void Expect(bool condition, const std::string& what) {
        if (!condition) failures_.push_back(what);
    }
    const rtf::Paragraph& Para(std::size_t n) {
        static const rtf::Paragraph none;
        if (n < doc_.paragraphs.size()) return doc_.paragraphs[n];
        failures_.push_back("no paragraph " + std::to_string(n));
        return none;
    }
    // The format of the `nth` run of paragraph n whose text is `text`.
    rtf::CharFormat Run(std::size_t n, const std::string& text, int nth = 0) {
        for (const rtf::Run& r : Para(n).runs)
            if (r.text == text && nth-- == 0) return r.format;
        failures_.push_back("paragraph " + std::to_string(n) + " has no run \"" + text + "\"");
        return {};
    }

  private:
    const rtf::Document& doc_;
    std::vector<std::string> failures_;
};

inline std::vector<std::string> CheckFormattingDocument(const rtf::Document& doc) {
    DocumentCheck c(doc);
    c.Expect(rtf::PlainText(doc) ==
                 "Normal gras italique souligné rouge x2 H2O\n"
                 "Centré : é è à ç œ € « » — α β 中文 😀\n"
                 "Tout à droite\nPremière puce\nDeuxième puce\nRetrait\nligne suivante\n",
             "text: " + rtf::PlainText(doc));
    const rtf::CharFormat normal = c.Run(0, "Normal ");
    c.Expect(normal.font == "Arial" && normal.halfPoints == 20 && !normal.bold, "Normal: Arial 10");
    const rtf::CharFormat bold = c.Run(0, "gras");
    c.Expect(bold.bold && !bold.italic && !bold.underline, "gras");
    const rtf::CharFormat italic = c.Run(0, "italique");
    c.Expect(italic.italic && !italic.bold, "italique");
    c.Expect(c.Run(0, "souligné").underline, "souligné");
    c.Expect(c.Run(0, "rouge").color == rtf::Color{192, 0, 0}, "rouge");
    c.Expect(c.Run(0, "2", 0).offset > 0, "x2: exposant");
    c.Expect(c.Run(0, "2", 1).offset < 0, "H2O: indice");
    c.Expect(c.Run(0, "2", 0).halfPoints == 20, "the exposant keeps its size");
    c.Expect(!c.Run(0, "O").color && c.Run(0, "O").offset == 0, "O after the indice");

    c.Expect(c.Para(1).format.alignment == rtf::Alignment::Center, "centred");
    const rtf::CharFormat centred =
        c.Para(1).runs.empty() ? rtf::CharFormat{} : c.Para(1).runs.front().format;
    c.Expect(centred.font == "Liberation Serif" && centred.halfPoints == 28,
             "centred: Liberation Serif 14");

    c.Expect(c.Para(2).format.alignment == rtf::Alignment::Right, "right");
    const rtf::CharFormat all = c.Run(2, "Tout à droite");
    c.Expect(all.bold && all.italic && all.underline && all.halfPoints == 24,
             "bold italic underlined 12");

    for (std::size_t n : {3u, 4u}) {
        c.Expect(c.Para(n).format.bullet, "bullet " + std::to_string(n));
        c.Expect(c.Para(n).format.leftIndent > 0, "bullet indent " + std::to_string(n));
    }
    c.Expect(!c.Para(5).format.bullet, "after the list");
    c.Expect(c.Para(5).format.leftIndent == 1440, "left indent 1 inch");
    c.Expect(c.Para(5).format.firstLineIndent == 720, "first line 0.5 inch");
    return c.Failures();
}

inline std::vector<std::string> CheckListsDocument(const rtf::Document& doc) {
    DocumentCheck c(doc);
    c.Expect(rtf::PlainText(doc) ==
                 "Avant\taprès la tabulation, bleu gras, m2 et CO2.\n"
                 "Premier point\nSecond point\nUne puce\n"
                 "Petit et centré\nitalique souligné\nGrand\n",
             "text: " + rtf::PlainText(doc));
    const rtf::CharFormat blue = c.Run(0, "bleu gras");
    c.Expect(blue.bold && blue.color == rtf::Color{0, 0, 255}, "bleu gras");
    c.Expect(c.Run(0, "2", 0).offset > 0, "m2: exposant");
    c.Expect(c.Run(0, "2", 1).offset < 0, "CO2: indice");
    // Numbered paragraphs stay numbered; the bullet is a bullet.
    c.Expect(!c.Para(1).format.bullet && !c.Para(2).format.bullet, "numbers are no bullets");
    c.Expect(c.Para(1).format.numbered && c.Para(2).format.numbered, "numbered");
    c.Expect(c.Para(3).format.bullet && !c.Para(3).format.numbered, "bullet");
    c.Expect(c.Para(4).format.alignment == rtf::Alignment::Center, "centred");
    c.Expect(c.Run(4, "italique souligné").italic && c.Run(4, "italique souligné").underline,
             "italique souligné");
    c.Expect(c.Run(4, "italique souligné").font == "DejaVu Sans" &&
                 c.Run(4, "italique souligné").halfPoints == 16,
             "DejaVu Sans 8");
    c.Expect(c.Para(5).format.alignment == rtf::Alignment::Right, "right");
    c.Expect(c.Run(5, "Grand").halfPoints == 144, "72 points");
    c.Expect(c.Para(5).format.leftIndent == 720 && c.Para(5).format.firstLineIndent == -360,
             "hanging indent");
    return c.Failures();
}

}  // namespace lorvane::testing
