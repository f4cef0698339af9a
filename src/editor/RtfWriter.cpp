// The RTF writer: a header with the font and colour tables, then one \pard
// group of properties per paragraph and, per run, only the character
// properties that change. Bullets take the form of the old paragraph
// numbering ({\pntext ...}{\*\pn\pnlvlblt ...}), which every word processor
// reads.

#include <algorithm>

#include "Cp1252.h"
#include "Rtf.h"
#include "Utf8.h"

namespace lorvane::rtf {
namespace {

class Writer {
  public:
    explicit Writer(const Document& doc) : doc_(doc) {}

    std::string Run() {
        CollectTables();
        out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036";
        WriteFontTable();
        WriteColorTable();
        out_ += "\r\n\\viewkind4\\uc1";
        pending_ = true;
        // The state a reader starts the body in: \f0 (\deff0), 12 points.
        current_ = CharFormat{};
        current_.font = fonts_.front();
        current_.halfPoints = 24;
        for (const Paragraph& p : doc_.paragraphs)
            WriteParagraph(p);
        if (doc_.paragraphs.empty()) Word("par");
        out_ += "\r\n}\r\n";
        return std::move(out_);
    }

  private:
    // The name in the font table: ';' ends an entry there.
    static std::string FontName(const std::string& name) {
        std::string clean;
        for (char c : name)
            if (c != ';' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) clean += c;
        // Readers drop the spaces around a name.
        const std::size_t first = clean.find_first_not_of(' ');
        if (first == std::string::npos) return kDefaultFont;
        return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
    }

    void CollectTables() {
        auto addFont = [&](const CharFormat& f) {
            const std::string name = FontName(f.font);
            if (std::find(fonts_.begin(), fonts_.end(), name) == fonts_.end())
                fonts_.push_back(name);
        };
        auto addColor = [&](const CharFormat& f) {
            if (f.color && std::find(colors_.begin(), colors_.end(), *f.color) == colors_.end())
                colors_.push_back(*f.color);
        };
        for (const Paragraph& p : doc_.paragraphs) {
            for (const rtf::Run& r : p.runs) {
                addFont(r.format);
                addColor(r.format);
            }
            addFont(p.mark);
            addColor(p.mark);
            if (p.format.bullet) bullets_ = true;
        }
        if (fonts_.empty()) fonts_.push_back(kDefaultFont);
    }

    void WriteFontTable() {
        out_ += "{\\fonttbl";
        for (std::size_t n = 0; n < fonts_.size(); ++n) {
            out_ += "{\\f" + std::to_string(n) + "\\fnil\\fcharset0 ";
            Text(fonts_[n], false);
            out_ += ";}";
        }
        if (bullets_) out_ += "{\\f" + std::to_string(fonts_.size()) + "\\fnil\\fcharset2 Symbol;}";
        out_ += "}";
    }

    void WriteColorTable() {
        if (colors_.empty()) return;
        out_ += "\r\n{\\colortbl ;";
        for (const Color& c : colors_) {
            out_ += "\\red" + std::to_string(c.red) + "\\green" + std::to_string(c.green) +
                    "\\blue" + std::to_string(c.blue) + ";";
        }
        out_ += "}";
    }

    int FontIndex(const std::string& name) const {
        const auto it = std::find(fonts_.begin(), fonts_.end(), FontName(name));
        return static_cast<int>(it - fonts_.begin());
    }
    int ColorIndex(const std::optional<Color>& c) const {
        if (!c) return 0;
        return static_cast<int>(std::find(colors_.begin(), colors_.end(), *c) - colors_.begin()) +
               1;
    }

    // A control word; the delimiter space is written before the next text.
    void Word(const char* word, std::optional<int> value = std::nullopt) {
        out_ += '\\';
        out_ += word;
        if (value) out_ += std::to_string(*value);
        pending_ = true;
    }

    void WriteParagraph(const Paragraph& p) {
        out_ += "\r\n";
        Word("pard");
        switch (p.format.alignment) {
            case Alignment::Left:
                break;
            case Alignment::Right:
                Word("qr");
                break;
            case Alignment::Center:
                Word("qc");
                break;
            case Alignment::Justify:
                Word("qj");
                break;
        }
        if (p.format.bullet) {
            const std::string symbol = std::to_string(fonts_.size());
            out_ += "{\\pntext\\f" + symbol + "\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf" + symbol +
                    "\\pnindent0{\\pntxtb\\'B7}}";
            pending_ = false;
        } else if (p.format.numbered) {
            // The items of a list are numbered from 1 on; the number is
            // also written out for readers that do not number.
            number_ = previousNumbered_ ? number_ + 1 : 1;
            out_ += "{\\pntext\\f0 " + std::to_string(number_) +
                    ".\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta .}}";
            pending_ = false;
        }
        previousNumbered_ = p.format.numbered;
        const int fi = std::clamp(p.format.firstLineIndent, -kMaxIndent, kMaxIndent);
        const int li = std::clamp(p.format.leftIndent, -kMaxIndent, kMaxIndent);
        if (fi != 0) Word("fi", fi);
        if (li != 0) Word("li", li);
        for (const rtf::Run& r : p.runs) {
            Format(r.format);
            Text(r.text, true);
        }
        Format(p.mark);
        Word("par");
    }

    void Format(const CharFormat& f) {
        const int font = FontIndex(f.font);
        if (font != FontIndex(current_.font)) Word("f", font);
        const int size = std::clamp(f.halfPoints, kMinHalfPoints, kMaxHalfPoints);
        if (size != current_.halfPoints) Word("fs", size);
        if (f.bold != current_.bold) f.bold ? Word("b") : Word("b", 0);
        if (f.italic != current_.italic) f.italic ? Word("i") : Word("i", 0);
        if (f.underline != current_.underline) f.underline ? Word("ul") : Word("ulnone");
        if (ColorIndex(f.color) != ColorIndex(current_.color)) Word("cf", ColorIndex(f.color));
        const int offset = std::clamp(f.offset, -kMaxOffset, kMaxOffset);
        if (offset != current_.offset) {
            if (offset > 0)
                Word("up", offset);
            else if (offset < 0)
                Word("dn", -offset);
            else
                Word("up", 0);
        }
        current_ = f;
        current_.halfPoints = size;
        current_.offset = offset;
    }

    // Text as RTF: printable ASCII as it is, the rest of Windows-1252 as
    // \'hh, anything else as \uN with '?' for readers without Unicode.
    // In body text '\t' and '\n' are a tab and a line break.
    void Text(std::string_view text, bool body) {
        std::size_t i = 0;
        while (i < text.size()) {
            const char32_t cp = utf8::Next(text, i);
            if (body && cp == '\t') {
                Word("tab");
                continue;
            }
            if (body && cp == '\n') {
                Word("line");
                continue;
            }
            if (cp < 0x20 || cp == 0x7F) continue;
            if (pending_) {
                out_ += ' ';
                pending_ = false;
            }
            if (cp == '\\' || cp == '{' || cp == '}') {
                out_ += '\\';
                out_ += static_cast<char>(cp);
            } else if (cp < 0x80) {
                out_ += static_cast<char>(cp);
            } else if (const int byte = cp1252::FromUnicode(cp); byte >= 0) {
                static constexpr char kHex[] = "0123456789abcdef";
                out_ += "\\'";
                out_ += kHex[(byte >> 4) & 0xF];
                out_ += kHex[byte & 0xF];
            } else if (cp > 0xFFFF) {
                const char32_t v = cp - 0x10000;
                Unicode(0xD800 + (v >> 10));
                Unicode(0xDC00 + (v & 0x3FF));
            } else {
                Unicode(cp);
            }
        }
    }

    void Unicode(char32_t unit) {
        const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
        out_ += "\\u" + std::to_string(value) + "?";
    }

    const Document& doc_;
    std::vector<std::string> fonts_;
    std::vector<Color> colors_;
    bool bullets_ = false;
    bool previousNumbered_ = false;  // the paragraph before was a numbered item
    int number_ = 0;                 // the number of the last numbered item
    CharFormat current_;
    bool pending_ = false;  // a control word waits for its delimiter
    std::string out_;
};

}  // namespace

std::string Write(const Document& doc) {
    return Writer(doc).Run();
}

std::string PlainText(const Document& doc) {
    std::string text;
    for (const Paragraph& p : doc.paragraphs) {
        for (const Run& r : p.runs)
            text += r.text;
        text += '\n';
    }
    return text;
}

}  // namespace lorvane::rtf
