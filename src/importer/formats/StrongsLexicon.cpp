#include "StrongsLexicon.h"

#include <QString>
#include <QXmlStreamReader>

#include <vector>

#include "StrongNumber.h"

namespace lorvane::importer {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool Blank(std::string_view text) {
    for (char c : text)
        if (!IsSpace(c)) return false;
    return true;
}

// Without braces and tags' spacing: one space between words, none before
// a closing mark or after an opening parenthesis, none at either end.
std::string Tidy(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool space = false;
    for (char c : text) {
        if (c == '{' || c == '}') continue;
        if (IsSpace(c)) {
            space = !out.empty();
            continue;
        }
        const bool closing = c == ',' || c == ';' || c == ':' || c == '.' || c == ')';
        if (space && !closing && out.back() != '(') out += ' ';
        space = false;
        out += c;
    }
    return out;
}

// A definition does not open with the punctuation that followed the
// pronunciation in the e-text ("hyoo-ris'-ko , a prolonged form").
std::string TidyDefinition(std::string_view text) {
    std::string out = Tidy(text);
    std::size_t start = 0;
    while (start < out.size() && (out[start] == ',' || out[start] == ';' || out[start] == ' '))
        ++start;
    return out.substr(start);
}

// A reference to another number in the one form: <ref
// target="StrongsGreek:3004">G3004</ref> → "G3004"; the letter the text
// gives wins over the module the target names (the Greek lexicon's
// "StrongsGreek:0175" reads "H0175", a Hebrew word). Other references as
// written.
std::string Reference(const std::string& text, const QString& target, char language) {
    const std::string trimmed = Tidy(text);
    if (target.startsWith(QStringLiteral("StrongsGreek:"))) language = 'G';
    if (target.startsWith(QStringLiteral("StrongsHebrew:"))) language = 'H';
    if (target.isEmpty()) return trimmed;
    if (!trimmed.empty() && (trimmed[0] == 'G' || trimmed[0] == 'H'))
        if (std::string number = words::NormaliseStrong(trimmed, trimmed[0]); !number.empty())
            return number;
    if (std::string number = words::NormaliseStrong(trimmed, language); !number.empty())
        return number;
    const qsizetype colon = target.indexOf(QLatin1Char(':'));
    if (std::string number = words::NormaliseStrong(target.mid(colon + 1).toStdString(), language);
        !number.empty())
        return number;
    return trimmed;
}

// The superscript letters of the transliterations as modifier letters.
std::string Superscript(const std::string& text) {
    if (text == "e") return "\xE1\xB5\x89";  // ᵉ
    if (text == "o") return "\xE1\xB5\x92";  // ᵒ
    return text;
}

class EntryBuilder {
  public:
    explicit EntryBuilder(char language) : language_(language) {}

    void Start(const QXmlStreamReader& xml) {
        Frame frame{sink_, After::None};
        const QStringView name = xml.name();
        const QStringView type = xml.attributes().value(QStringLiteral("type"));
        const QStringView rend = xml.attributes().value(QStringLiteral("rend"));
        if (skipping_ > 0 || (name == u"orth" && type == u"writing")) {
            ++skipping_;
            frame.end = After::Skip;
        } else if (name == u"orth" && type == u"trans") {
            if (!mainDone_ && transliteration_.empty()) {
                sink_ = &transliteration_;
            } else {
                frame.end = Part(After::Detail);
            }
        } else if (name == u"orth") {
            if (!mainDone_ && word_.empty()) {
                sink_ = &word_;
            } else {
                frame.end = Part(After::Form);
            }
        } else if (name == u"pron") {
            if (!mainDone_ && pronunciation_.empty()) {
                sink_ = &pronunciation_;
                frame.end = After::MainDone;
            } else {
                frame.end = Part(After::Detail);
            }
        } else if (name == u"lb") {
            if (sink_ == &definition_ && mainDone_) definition_ += ' ';
        } else if (name == u"hi" && rend == u"super") {
            frame.end = After::Superscript;
            superscript_.clear();
            sink_ = &superscript_;
        } else if (name == u"ref") {
            if (sink_ == &definition_) Close();
            frame.end = After::Reference;
            reference_.clear();
            target_ = xml.attributes().value(QStringLiteral("target")).toString();
            sink_ = &reference_;
        } else if (name == u"def") {
            Close();
        }
        frames_.push_back(frame);
    }

    void End() {
        if (frames_.empty()) return;  // the root
        const Frame frame = frames_.back();
        frames_.pop_back();
        std::string* inner = sink_;
        sink_ = frame.sink;
        switch (frame.end) {
            case After::Skip:
                --skipping_;
                break;
            case After::Form:
                // A form named further on: its details follow in parentheses.
                definition_ += ' ';
                definition_ += Tidy(*inner);
                group_ = 0;
                break;
            case After::Detail:
                definition_ += group_ > 0 ? ", " : " (";
                definition_ += Tidy(*inner);
                group_ = group_ > 0 ? group_ + 1 : 1;
                break;
            case After::MainDone:
                mainDone_ = true;
                break;
            case After::Superscript:
                *sink_ += Superscript(*inner);
                break;
            case After::Reference:
                *sink_ += Reference(*inner, target_, language_);
                break;
            case After::None:
                break;
        }
    }

    void Text(const std::string& text) {
        if (skipping_ > 0) return;
        if (sink_ == &definition_) {
            // The spacing between the headword's parts is not the definition's.
            if (Blank(text) && !mainDone_) return;
            if (!Blank(text)) Close();
        }
        *sink_ += text;
    }

    std::optional<words::StrongsEntry> Finish(const std::string& number) {
        Close();
        words::StrongsEntry entry;
        entry.number = number;
        entry.word = Tidy(word_);
        entry.transliteration = Tidy(transliteration_);
        entry.pronunciation = Tidy(pronunciation_);
        entry.definition = TidyDefinition(definition_);
        if (entry.word.empty() && entry.definition.empty()) return std::nullopt;
        return entry;
    }

  private:
    enum class After { None, Skip, Form, Detail, MainDone, Superscript, Reference };
    struct Frame {
        std::string* sink;
        enum After end;
    };

    // A form named in the definition, or its transliteration or
    // pronunciation: read apart, then written in the definition.
    enum After Part(enum After end) {
        if (end == After::Form) Close();
        mainDone_ = true;
        part_.clear();
        sink_ = &part_;
        return end;
    }
    // The headword's parts are over, and so are the details of the form
    // named last: its parenthesis closes.
    void Close() {
        mainDone_ = true;
        if (group_ > 0) definition_ += ')';
        group_ = -1;
    }

    char language_;
    std::string word_, transliteration_, pronunciation_, definition_;
    std::string part_, superscript_, reference_;
    QString target_;
    std::string* sink_ = &definition_;
    std::vector<Frame> frames_;
    int skipping_ = 0;
    bool mainDone_ = false;  // the headword, its transliteration and pronunciation read
    int group_ = -1;         // details written of the form named last; -1 none open
};

}  // namespace

std::optional<words::StrongsEntry> StrongsEntryFromTei(std::string_view markup,
                                                       const std::string& number) {
    if (number.empty()) return std::nullopt;
    // One root around the entry, which may hold text and several elements.
    const QString wrapped =
        QStringLiteral("<entry>") +
        QString::fromUtf8(markup.data(), static_cast<qsizetype>(markup.size())) +
        QStringLiteral("</entry>");
    QXmlStreamReader xml(wrapped);
    EntryBuilder builder(number[0]);
    bool root = true;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
            case QXmlStreamReader::StartElement:
                if (root)
                    root = false;
                else
                    builder.Start(xml);
                break;
            case QXmlStreamReader::EndElement:
                builder.End();
                break;
            case QXmlStreamReader::Characters:
                builder.Text(xml.text().toString().toStdString());
                break;
            default:
                break;
        }
    }
    if (xml.hasError()) return std::nullopt;
    return builder.Finish(number);
}

}  // namespace lorvane::importer
