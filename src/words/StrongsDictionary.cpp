#include "StrongsDictionary.h"

#include <algorithm>
#include <limits>

#include "FileIo.h"
#include "StrongNumber.h"
#include "Utf8.h"

namespace lorvane::words {

namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // …

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The language letter of a number as written: "G26", "strong:h430", " G26".
char LanguageOf(std::string_view raw) {
    while (!raw.empty() && (raw.front() == ' ' || raw.front() == '\t'))
        raw.remove_prefix(1);
    for (std::string_view prefix : {std::string_view("strong:"), std::string_view("Strong:")})
        if (raw.substr(0, prefix.size()) == prefix) raw.remove_prefix(prefix.size());
    if (raw.empty()) return 0;
    const char language = Upper(raw.front());
    return language == 'G' || language == 'H' ? language : 0;
}

// The field as UTF-8, bytes that are not made U+FFFD, cut at a letter
// with "…" when it is longer than `cap`.
std::string Field(std::string_view bytes, std::size_t cap) {
    std::string out;
    out.reserve(std::min(bytes.size(), cap + kEllipsis.size()));
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t length = utf8::SequenceLength(bytes, i);
        const std::size_t taken = length == 0 ? 3 : length;  // U+FFFD is 3 bytes
        if (out.size() + taken > cap) {
            out += kEllipsis;
            break;
        }
        if (length == 0) {
            utf8::Append(out, utf8::kReplacement);
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string_view WithoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

void AppendField(std::string& out, std::string_view field) {
    for (char c : field)
        out += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
}

}  // namespace

std::uint32_t StrongsDictionary::KeyOf(std::string_view number) {
    // "G3056", "H1254a": the language, four digits, perhaps a sense letter.
    std::uint32_t value = 0;
    for (std::size_t i = 1; i < 5 && i < number.size(); ++i)
        value = value * 10 + static_cast<std::uint32_t>(number[i] - '0');
    const std::uint32_t sense = number.size() > 5 ? static_cast<unsigned char>(number[5]) : 0;
    return (number[0] == 'H' ? 1u << 24 : 0u) | value << 8 | sense;
}

StrongsDictionary StrongsDictionary::Parse(std::string bytes) {
    StrongsDictionary dictionary;
    if (bytes.size() >= std::numeric_limits<std::uint32_t>::max()) return dictionary;
    dictionary.bytes_ = std::make_unique<std::string>(std::move(bytes));
    const std::string_view all = *dictionary.bytes_;
    std::size_t pos = all.find('\n');
    if (pos == std::string_view::npos || WithoutLineEnd(all.substr(0, pos)) != kStrongsFileFormat)
        return dictionary;
    ++pos;
    while (pos < all.size()) {
        std::size_t end = all.find('\n', pos);
        if (end == std::string_view::npos) end = all.size();
        const std::size_t start = pos;
        const std::string_view line = WithoutLineEnd(all.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == '#') continue;
        Slot slot;
        slot.line = static_cast<std::uint32_t>(start);
        std::size_t count = 0, at = 0;
        while (count < 5) {
            const std::size_t tab = line.find('\t', at);
            const std::size_t fieldEnd = tab == std::string_view::npos ? line.size() : tab;
            slot.ends[count++] = static_cast<std::uint32_t>(fieldEnd);
            if (tab == std::string_view::npos) break;
            at = tab + 1;
        }
        const std::string_view number = line.substr(0, slot.ends[0]);
        if (count != 5 || slot.ends[4] != line.size() || number.empty() ||
            NormaliseStrong(number, number.front()) != number) {
            ++dictionary.skipped_;
            continue;
        }
        slot.key = KeyOf(number);
        dictionary.slots_.push_back(slot);
    }
    // In number order; of two lines with one number, the first.
    std::stable_sort(dictionary.slots_.begin(), dictionary.slots_.end(),
                     [](const Slot& a, const Slot& b) { return a.key < b.key; });
    dictionary.slots_.erase(
        std::unique(dictionary.slots_.begin(), dictionary.slots_.end(),
                    [](const Slot& a, const Slot& b) { return a.key == b.key; }),
        dictionary.slots_.end());
    dictionary.slots_.shrink_to_fit();
    return dictionary;
}

std::optional<StrongsEntry> StrongsDictionary::Lookup(std::string_view strong) const {
    const char language = LanguageOf(strong);
    if (language == 0 || slots_.empty()) return std::nullopt;
    const std::string number = NormaliseStrong(strong, language);
    if (number.empty()) return std::nullopt;
    const auto find = [this](std::uint32_t key) -> const Slot* {
        auto it = std::lower_bound(slots_.begin(), slots_.end(), key,
                                   [](const Slot& s, std::uint32_t k) { return s.key < k; });
        return it != slots_.end() && it->key == key ? &*it : nullptr;
    };
    const std::uint32_t key = KeyOf(number);
    const Slot* slot = find(key);
    if (!slot && (key & 0xff) != 0) slot = find(key & ~0xffu);  // the number without its sense
    if (!slot) return std::nullopt;

    const std::string_view line = std::string_view(*bytes_).substr(slot->line, slot->ends[4]);
    std::string_view fields[5];
    std::size_t begin = 0;
    for (int i = 0; i < 5; ++i) {
        fields[i] = line.substr(begin, slot->ends[i] - begin);
        begin = slot->ends[i] + 1;
    }
    StrongsEntry entry;
    entry.number = std::string(fields[0]);
    entry.word = Field(fields[1], kMaxShortField);
    entry.transliteration = Field(fields[2], kMaxShortField);
    entry.pronunciation = Field(fields[3], kMaxShortField);
    entry.definition = Field(fields[4], kMaxDefinition);
    return entry;
}

std::string FormatStrongsFile(const std::vector<StrongsEntry>& entries,
                              const std::vector<std::string>& comments) {
    std::string out(kStrongsFileFormat);
    out += '\n';
    for (const std::string& comment : comments) {
        out += "# ";
        AppendField(out, comment);
        out += '\n';
    }
    for (const StrongsEntry& entry : entries) {
        if (entry.number.empty() || NormaliseStrong(entry.number, entry.number[0]) != entry.number)
            continue;
        out += entry.number;
        for (const std::string* field :
             {&entry.word, &entry.transliteration, &entry.pronunciation, &entry.definition}) {
            out += '\t';
            AppendField(out, *field);
        }
        out += '\n';
    }
    return out;
}

std::optional<StrongsEntry> StrongsDictionaries::Lookup(std::string_view strong) const {
    switch (LanguageOf(strong)) {
        case 'G':
            return greek.Lookup(strong);
        case 'H':
            return hebrew.Lookup(strong);
        default:
            return std::nullopt;
    }
}

StrongsDictionaries LoadStrongsDictionaries(const std::string& programFolder) {
    StrongsDictionaries out;
    const std::string folder = programFolder + "/" + std::string(kStrongsFolder) + "/";
    const auto load = [&](std::string_view file, const char* language, StrongsDictionary& into,
                          std::string& problem) {
        const std::string path = folder + std::string(file);
        try {
            into = StrongsDictionary::Parse(ReadFile(path, kMaxStrongsFile));
            if (into.Empty())
                problem = std::string("Le dictionnaire ") + language + " de Strong (« " + path +
                          " ») est endommagé : aucune entrée ne se lit.";
        } catch (const FileError& e) {
            problem = e.kind() == FileError::Kind::Missing
                          ? std::string("Le dictionnaire ") + language +
                                " de Strong n'est pas installé (« " + path + " » manque)."
                          : e.what();
        }
    };
    load(kStrongsGreekFile, "grec", out.greek, out.greekProblem);
    load(kStrongsHebrewFile, "hébreu", out.hebrew, out.hebrewProblem);
    return out;
}

}  // namespace lorvane::words
