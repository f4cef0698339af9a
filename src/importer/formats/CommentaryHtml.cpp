#include "CommentaryHtml.h"

#include <QString>
#include <QXmlStreamReader>
#include <cctype>
#include <vector>

#include "VerseText.h"

namespace lorvane::importer {
namespace {

// The HTML being written: paragraphs opened as text comes, so that empty
// ones and breaks in a row are not kept.
class Writer {
  public:
    void Text(const std::string& text) {
        if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
            if (!out_.empty() && !text.empty()) space_ = true;
            return;
        }
        Open();
        if (space_) out_ += ' ';
        space_ = false;
        out_ += HtmlEscaped(text);
    }
    // Inline tags go with the text that follows.
    void Tag(const char* tag) {
        Open();
        // A space before an element goes before its opening tag.
        if (space_ && tag[1] != '/') {
            out_ += ' ';
            space_ = false;
        }
        out_ += tag;
    }
    void Break() {
        if (open_) out_ += "<br>";
    }
    void Paragraph() { breakAsked_ = true; }
    std::string Finish() {
        if (open_) out_ += "</p>";
        return out_;
    }

  private:
    void Open() {
        if (!open_) {
            out_ += "<p>";
            open_ = true;
        } else if (breakAsked_) {
            out_ += "</p><p>";
            space_ = false;
        }
        breakAsked_ = false;
    }
    std::string out_;
    bool open_ = false, breakAsked_ = false, space_ = false;
};

enum class Kind { Other, Bold, Italic, Paragraph, Title, Break, Link, Skip };

Kind KindOf(const QXmlStreamReader& xml, bool thml) {
    const QStringView name = xml.name();
    const QStringView type = xml.attributes().value(QStringLiteral("type"));
    if (name == u"hi") {
        if (type == u"bold") return Kind::Bold;
        if (type == u"italic" || type == u"emphasis") return Kind::Italic;
        return Kind::Other;
    }
    if (name == u"b" || name == u"strong") return Kind::Bold;
    if (name == u"i" || name == u"em") return Kind::Italic;
    if (name == u"p" || name == u"lg" || name == u"div" || name == u"l" || name == u"item")
        return Kind::Paragraph;
    if (name == u"title" || name == u"h1" || name == u"h2" || name == u"h3" || name == u"h4")
        return Kind::Title;
    if (name == u"lb" || name == u"br") return Kind::Break;
    if ((!thml && name == u"reference") || (thml && name == u"scripRef")) return Kind::Link;
    if (name == u"note" || name == u"rdg") return Kind::Skip;
    return Kind::Other;
}

}  // namespace

std::string LinkHref(const LinkTarget& t) {
    std::string href;
    for (int n : {t.book, t.chapter, t.first, t.last})
        href += "\xC2\xA4" + std::to_string(n);
    return href;
}

std::optional<std::string> MarkupToHtml(std::string_view markup, bool thml,
                                        const ReferenceResolver& resolve) {
    // One root around the entry, which may hold several elements and text.
    const QString wrapped =
        QStringLiteral("<entry>") +
        QString::fromUtf8(markup.data(), static_cast<qsizetype>(markup.size())) +
        QStringLiteral("</entry>");
    QXmlStreamReader xml(wrapped);
    Writer out;
    std::vector<const char*> closers;  // what each open element closes with
    int skipping = 0;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
            case QXmlStreamReader::StartElement: {
                const Kind kind = skipping ? Kind::Skip : KindOf(xml, thml);
                const char* closer = "";
                switch (kind) {
                    case Kind::Bold:
                        out.Tag("<b>");
                        closer = "</b>";
                        break;
                    case Kind::Italic:
                        out.Tag("<i>");
                        closer = "</i>";
                        break;
                    case Kind::Title:
                        out.Paragraph();
                        out.Tag("<b>");
                        closer = "</b>\n";
                        break;
                    case Kind::Paragraph:
                        out.Paragraph();
                        closer = "\n";
                        break;
                    case Kind::Break:
                        out.Break();
                        break;
                    case Kind::Skip:
                        ++skipping;
                        closer = "skip";
                        break;
                    case Kind::Link: {
                        const QString ref =
                            xml.attributes()
                                .value(thml ? QStringLiteral("passage") : QStringLiteral("osisRef"))
                                .toString();
                        std::optional<LinkTarget> target;
                        if (resolve && !ref.isEmpty()) target = resolve(ref.toStdString());
                        if (target) {
                            out.Tag(("<a href=\"" + LinkHref(*target) + "\">").c_str());
                            closer = "</a>";
                        }
                        break;
                    }
                    case Kind::Other:
                        break;
                }
                closers.push_back(closer);
                break;
            }
            case QXmlStreamReader::EndElement: {
                if (closers.empty()) break;  // the root's end
                const std::string closer = closers.back();
                closers.pop_back();
                if (closer == "skip") {
                    --skipping;
                } else if (closer == "\n") {
                    out.Paragraph();
                } else if (closer == "</b>\n") {
                    out.Tag("</b>");
                    out.Paragraph();
                } else if (!closer.empty()) {
                    out.Tag(closer.c_str());
                }
                break;
            }
            case QXmlStreamReader::Characters:
                if (!skipping) out.Text(xml.text().toString().toStdString());
                break;
            default:
                break;
        }
    }
    if (xml.hasError()) return std::nullopt;
    return out.Finish();
}

std::string GbfToHtml(std::string_view markup) {
    Writer out;
    std::string text;
    bool note = false;
    auto flush = [&] {
        if (!note) out.Text(text);
        text.clear();
    };
    for (std::size_t at = 0; at < markup.size();) {
        const std::size_t end = markup[at] == '<' ? markup.find('>', at) : std::string_view::npos;
        if (end == std::string_view::npos) {
            text += markup[at++];
            continue;
        }
        const std::string_view tag = markup.substr(at + 1, std::min<std::size_t>(2, end - at - 1));
        at = end + 1;
        flush();
        if (tag == "RF") note = true;
        if (tag == "Rf") note = false;
        if (note) continue;
        if (tag == "FI") out.Tag("<i>");
        if (tag == "Fi") out.Tag("</i>");
        if (tag == "FB") out.Tag("<b>");
        if (tag == "Fb") out.Tag("</b>");
        if (tag == "CM") out.Paragraph();
        if (tag == "CL") out.Break();
    }
    flush();
    return out.Finish();
}

std::string PlainToHtml(std::string_view text) {
    Writer out;
    std::size_t at = 0;
    int ends = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::string_view line =
            text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        at = end == std::string_view::npos ? text.size() : end + 1;
        if (line.find_first_not_of(" \t\r") == std::string_view::npos) {
            ++ends;
            continue;
        }
        if (ends > 0)
            out.Paragraph();
        else
            out.Break();
        ends = 0;
        out.Text(std::string(line));
    }
    return out.Finish();
}

std::string MarkupText(std::string_view markup) {
    std::string text;
    bool inTag = false;
    for (char c : markup) {
        if (c == '<') {
            inTag = true;
            text += '\n';
        } else if (c == '>') {
            inTag = false;
        } else if (!inTag) {
            text += c;
        }
    }
    return text;
}

namespace {

bool Digit(std::string_view s, std::size_t at) {
    return at < s.size() && std::isdigit(static_cast<unsigned char>(s[at]));
}

int Number(std::string_view s, std::size_t& at) {
    int n = 0;
    while (Digit(s, at) && n < 10000)
        n = n * 10 + (s[at++] - '0');
    return n;
}

// "21", "1:30": a verse and, when given, its chapter.
void VerseOfHeading(std::string_view s, std::size_t& at, int& chapter, int& verse) {
    int n = Number(s, at);
    if (at + 1 < s.size() && (s[at] == ':' || s[at] == '.') && Digit(s, at + 1)) {
        ++at;
        chapter = n;
        n = Number(s, at);
    }
    verse = n;
}

// A line that opens with `word` and a number: where the number starts.
std::optional<std::size_t> After(std::string_view line, std::string_view word) {
    if (line.substr(0, word.size()) != word) return std::nullopt;
    std::size_t at = word.size();
    while (at < line.size() && line[at] == ' ')
        ++at;
    if (!Digit(line, at)) return std::nullopt;
    return at;
}

}  // namespace

bool HeadingAgrees(std::string_view text, int chapter, int first, int last) {
    bool own = true;  // the line that opens the entry
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        const std::size_t from = line.find_first_not_of(" \t\r");
        if (from == std::string_view::npos) continue;
        line.remove_prefix(from);
        const bool opening = own;  // the entry's first words
        own = false;
        std::optional<std::size_t> at;
        bool verses = true;
        for (std::string_view word : {"Verses", "Verse", "Chapter", "Psalm"}) {
            if ((at = After(line, word))) {
                verses = word[0] == 'V';
                break;
            }
        }
        if (!at) continue;
        int c1 = verses ? chapter : -1, v1 = 0;
        VerseOfHeading(line, *at, c1, v1);
        if (!verses && c1 != -1) continue;  // "Psalm 2:4": a reference, no heading
        int c2 = c1, v2 = v1;
        auto blanks = [&] {
            while (*at < line.size() && line[*at] == ' ')
                ++*at;
        };
        blanks();
        if (verses && (line.substr(*at, 1) == "-" || line.substr(*at, 3) == "\xE2\x80\x93")) {
            *at += line[*at] == '-' ? 1 : 3;
            blanks();
            if (!Digit(line, *at)) continue;
            VerseOfHeading(line, *at, c2, v2);
            blanks();
        }
        if (*at < line.size() && (line[*at] == '.' || line[*at] == ':')) ++*at;
        blanks();
        // A heading stands alone in its element; words after it make a sentence.
        if (*at < line.size() && line[*at] != '\r') continue;
        if (!verses) {
            if (v1 != chapter) return false;
            continue;
        }
        // Only a heading that opens the entry is its own: an exposition
        // verse by verse ("Verse 2.") may follow an overview. The verses
        // stored under it must be those it names, from its first one on.
        if (!opening) continue;
        const long low = c1 * 1000L + v1, high = c2 * 1000L + v2;
        const long start = chapter * 1000L + first, stop = chapter * 1000L + last;
        if (start < low || stop > high) return false;
        if (start != low && !(c1 < chapter && first == 1)) return false;
    }
    return true;
}

}  // namespace lorvane::importer
