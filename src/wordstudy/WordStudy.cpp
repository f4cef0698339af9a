#include "WordStudy.h"

#include <cctype>
#include <iostream>

#include "FileIo.h"
#include "StrongNumber.h"
#include "VerseText.h"
#include "WordTags.h"

namespace lorvane::wordstudy {

namespace {

// The largest words file read: the King James' is some 15 MB.
constexpr std::size_t kMaxWordsFile = 128u << 20;

std::vector<std::string> Numbers(std::string_view strongs) {
    std::vector<std::string> out;
    std::size_t k = 0;
    while (k < strongs.size()) {
        std::size_t end = strongs.find(' ', k);
        if (end == std::string_view::npos) end = strongs.size();
        if (end > k) out.emplace_back(strongs.substr(k, end - k));
        k = end + 1;
    }
    return out;
}

}  // namespace

std::optional<HebrewPrefix> ExplainHebrewPrefix(std::string_view code) {
    static const HebrewPrefix kPrefixes[] = {
        {"b", "ב", "dans, avec, par"},      {"c", "ו", "et (conjonction)"},
        {"d", "ה", "le, la (article)"},     {"i", "ה", "est-ce que (interrogation)"},
        {"k", "כ", "comme, selon"},         {"l", "ל", "à, pour, vers"},
        {"m", "מ", "de, depuis, plus que"}, {"s", "ש", "qui, que (relatif)"},
    };
    for (const HebrewPrefix& p : kPrefixes)
        if (p.code == code) return p;
    return std::nullopt;
}

Dictionary ShippedDictionaries(std::string programFolder) {
    auto loaded = std::make_shared<std::optional<words::StrongsDictionaries>>();
    return [programFolder = std::move(programFolder),
            loaded](std::string_view number) -> std::optional<DictionaryEntry> {
        if (!*loaded) {
            *loaded = words::LoadStrongsDictionaries(programFolder);
            for (const std::string* problem : {&(*loaded)->greekProblem, &(*loaded)->hebrewProblem})
                if (!problem->empty()) std::cerr << "lorvane: " << *problem << "\n";
        }
        return (*loaded)->Lookup(number);
    };
}

PageWords WordStudy::WordsOf(const Communs& c) {
    if (const auto known = Looked(c)) return *known;
    Loaded entry{c.BibleDir, nullptr};
    if (!c.BibleDir.empty()) {
        try {
            words::WordTable table = words::WordTable::Parse(
                ReadFile(c.BiblePath(std::string("data/") + words::kWordsFile), kMaxWordsFile));
            if (table.SkippedLines() > 0)
                std::cerr << "lorvane: " << table.SkippedLines() << " damaged lines of "
                          << words::kWordsFile << " in " << c.BibleDir << " left out\n";
            if (!table.Empty()) entry.table = std::make_unique<words::WordTable>(std::move(table));
        } catch (const FileError& e) {
            if (e.kind() != FileError::Kind::Missing)
                std::cerr << "lorvane: the tagged words of " << c.BibleDir
                          << " do not read: " << e.what() << "\n";
        }
    }
    loaded_.push_back(std::move(entry));
    return {loaded_.back().table.get(), static_cast<int>(loaded_.size() - 1)};
}

std::optional<PageWords> WordStudy::Looked(const Communs& c) const {
    for (std::size_t id = 0; id < loaded_.size(); ++id)
        if (loaded_[id].dir == c.BibleDir)
            return PageWords{loaded_[id].table.get(), static_cast<int>(id)};
    return std::nullopt;
}

const words::WordTable* WordStudy::TableOf(int id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= loaded_.size()) return nullptr;
    return loaded_[static_cast<std::size_t>(id)].table.get();
}

std::string WordStudy::WrittenWord(const Communs& c, const WordAnchor& anchor) const {
    const words::WordTable* table = TableOf(anchor.id);
    if (!table) return {};
    const auto tags = table->VerseWords(anchor.book, anchor.chapter, anchor.verse);
    if (anchor.word >= tags.size()) return {};
    const std::int32_t slot = c.VerseLookup(anchor.book, anchor.chapter, anchor.verse);
    if (slot <= 0) return {};
    const std::string_view text = c.VerseTable[static_cast<std::size_t>(slot)].Text;
    const auto& tag = tags[anchor.word];
    if (tag.start + tag.length > text.size()) return {};
    return std::string(text.substr(tag.start, tag.length));
}

std::optional<WordFacts> WordStudy::Describe(const Communs& c, const WordAnchor& anchor) const {
    const words::WordTable* table = TableOf(anchor.id);
    if (!table) return std::nullopt;
    const auto tags = table->VerseWords(anchor.book, anchor.chapter, anchor.verse);
    if (anchor.word >= tags.size()) return std::nullopt;
    const words::WordTable::Word& tag = tags[anchor.word];
    WordFacts facts;
    facts.written = WrittenWord(c, anchor);
    facts.reference = c.FormatRef(anchor.book, anchor.chapter, anchor.verse, 0);
    facts.numbers = Numbers(tag.strongs);
    facts.lemma = std::string(tag.lemma);
    facts.code = std::string(words::CodeOf(tag.morph));
    switch (words::SchemeOf(tag.morph)) {
        case words::MorphScheme::Robinson:
            facts.parsing = words::ExpandRobinson(facts.code);
            break;
        case words::MorphScheme::Oshm:
            facts.parsing = words::ExpandOshm(facts.code);
            break;
        case words::MorphScheme::Other:
            if (!facts.code.empty()) facts.parsing = {facts.code + " (code inconnu)", {}, false};
            break;
    }
    if (facts.lemma.find('/') != std::string::npos)
        for (const std::string& p : words::ParseHebrewLemma(facts.lemma).prefixes)
            if (auto prefix = ExplainHebrewPrefix(p)) facts.prefixes.push_back(*prefix);
    if (dictionary_)
        for (const std::string& number : facts.numbers)
            if (auto entry = dictionary_(number)) facts.entries.push_back(std::move(*entry));
    return facts;
}

std::string EntryHtml(const DictionaryEntry& e) {
    std::string html = "<p><b>" + std::string(words::kDefinitionLabel) + ", " +
                       HtmlEscaped(e.number) + "\xC2\xA0:</b><br>";
    if (!e.word.empty()) html += HtmlEscaped(e.word) + " ";
    if (!e.transliteration.empty()) html += "<i>" + HtmlEscaped(e.transliteration) + "</i> ";
    if (!e.pronunciation.empty()) html += "[" + HtmlEscaped(e.pronunciation) + "] ";
    // The numbers the entry refers to ("from G3004") lead to their entries.
    const std::string definition = HtmlEscaped(e.definition);
    html += "<span lang=\"en\">";
    std::size_t k = 0;
    while (k < definition.size()) {
        const char c = definition[k];
        std::size_t digits = 0;
        while ((c == 'G' || c == 'H') && k + 1 + digits < definition.size() && digits < 5 &&
               definition[k + 1 + digits] >= '0' && definition[k + 1 + digits] <= '9')
            ++digits;
        const bool alone =
            (k == 0 || !std::isalnum(static_cast<unsigned char>(definition[k - 1]))) &&
            (k + 1 + digits == definition.size() ||
             !std::isalnum(static_cast<unsigned char>(definition[k + 1 + digits])));
        if (digits >= 1 && alone) {
            const std::string number = definition.substr(k, 1 + digits);
            html +=
                "<a href=\"" + std::string(kStrongLinkScheme) + number + "\">" + number + "</a>";
            k += 1 + digits;
        } else {
            html += c;
            ++k;
        }
    }
    html += "</span></p>";
    return html;
}

std::optional<DictionaryEntry> WordStudy::Entry(std::string_view number) const {
    return dictionary_ ? dictionary_(number) : std::nullopt;
}

std::string FactsHtml(const WordFacts& f) {
    std::string html = "<p><big><b>" + HtmlEscaped(f.written) + "</b></big> — " +
                       HtmlEscaped(f.reference) + "</p>";
    std::string lemma;
    for (const DictionaryEntry& e : f.entries)
        if (!e.word.empty()) {
            lemma = HtmlEscaped(e.word);
            if (!e.transliteration.empty())
                lemma += " <i>(" + HtmlEscaped(e.transliteration) + ")</i>";
            break;
        }
    if (lemma.empty() && !f.lemma.empty() && f.lemma.find('/') == std::string::npos &&
        f.lemma.find_first_of("0123456789") == std::string::npos)
        lemma = HtmlEscaped(f.lemma);
    html += "<table cellspacing=\"0\" cellpadding=\"2\">";
    auto row = [&](const char* label, const std::string& value) {
        html += "<tr><td><b>" + std::string(label) + "</b></td><td>" + value + "</td></tr>";
    };
    if (!lemma.empty()) row("Forme du dictionnaire\xC2\xA0:", lemma);
    if (!f.numbers.empty()) {
        std::string numbers;
        for (const std::string& n : f.numbers)
            numbers += (numbers.empty() ? "" : ", ") + HtmlEscaped(n);
        row("Numéro de Strong\xC2\xA0:", numbers);
    }
    if (!f.parsing.full.empty())
        row("Analyse\xC2\xA0:",
            HtmlEscaped(f.parsing.full) +
                (f.code.empty() ? "" : " <i>(" + HtmlEscaped(f.code) + ")</i>"));
    for (const HebrewPrefix& p : f.prefixes)
        row("Préfixe\xC2\xA0:", HtmlEscaped(p.letter) + " — " + HtmlEscaped(p.meaning));
    html += "</table>";
    for (const DictionaryEntry& e : f.entries)
        html += EntryHtml(e);
    if (f.entries.empty() && !f.numbers.empty())
        html +=
            "<p><i>Le dictionnaire de Strong n'est pas installé, ou n'a pas ce "
            "numéro.</i></p>";
    return html;
}

std::string FactsSummary(const WordFacts& f) {
    std::string out = f.written;
    for (const std::string& n : f.numbers)
        out += ", " + n;
    if (!f.parsing.full.empty()) out += ", " + f.parsing.full;
    return out;
}

}  // namespace lorvane::wordstudy
