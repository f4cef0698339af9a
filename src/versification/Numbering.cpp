#include "Numbering.h"

#include <algorithm>
#include <cctype>

#include "NumberingData.h"

namespace lorvane {

Numbering::Numbering(std::string name, std::span<const std::uint32_t> rules,
                     std::span<const std::uint8_t> counts)
    : name_(std::move(name)), rules_(rules), counts_(counts) {
    std::size_t at = 0;
    for (int b = 1; b <= 66 && at < counts_.size(); ++b) {
        bookAt_[static_cast<std::size_t>(b)] = static_cast<std::uint16_t>(at);
        at += 1 + counts_[at];
    }
}

const std::vector<std::pair<VersePlace, VersePlace>>& Numbering::Back() const {
    std::call_once(backMade_, [this] {
        back_.reserve(rules_.size() / 2);
        for (std::size_t i = 0; i + 1 < rules_.size(); i += 2)
            if (rules_[i + 1] != 0) back_.emplace_back(rules_[i + 1], rules_[i]);
        std::sort(back_.begin(), back_.end());
    });
    return back_;
}

std::size_t Numbering::RuleOf(VersePlace p) const {
    std::size_t lo = 0, hi = rules_.size() / 2;
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (rules_[2 * mid] < p)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < rules_.size() / 2 && rules_[2 * lo] == p ? lo : static_cast<std::size_t>(-1);
}

VersePlace Numbering::ToSegond(VersePlace p) const {
    const std::size_t r = RuleOf(p);
    return r == static_cast<std::size_t>(-1) ? p : rules_[2 * r + 1];
}

PlacesAt Numbering::FromSegond(VersePlace s) const {
    PlacesAt out;
    if (s == 0) return out;
    const auto& back = Back();
    auto it = std::lower_bound(back.begin(), back.end(), std::make_pair(s, VersePlace{0}));
    for (; it != back.end() && it->first == s && out.count < PlacesAt::kMax; ++it)
        out.places[out.count++] = it->second;
    // The same number, unless that verse of this numbering is elsewhere.
    if (out.count < PlacesAt::kMax && RuleOf(s) == static_cast<std::size_t>(-1) &&
        VerseOf(s) <= Verses(BookOf(s), ChapterOf(s)))
        out.places[out.count++] = s;
    // At most four: in order by insertion.
    for (std::size_t i = 1; i < out.count; ++i)
        for (std::size_t j = i; j > 0 && out.places[j - 1] > out.places[j]; --j)
            std::swap(out.places[j - 1], out.places[j]);
    return out;
}

int Numbering::Chapters(int book) const {
    if (book < 1 || book > 66 || counts_.empty()) return 0;
    const std::size_t at = bookAt_[static_cast<std::size_t>(book)];
    return at < counts_.size() ? counts_[at] : 0;
}

int Numbering::Verses(int book, int chapter) const {
    if (chapter < 1 || chapter > Chapters(book)) return 0;
    return counts_[bookAt_[static_cast<std::size_t>(book)] + static_cast<std::size_t>(chapter)];
}

Numberings::Numberings() {
    for (std::size_t i = 0; i < numbering::kSystemCount; ++i) {
        const numbering::SystemData& d = numbering::kSystems[i];
        auto n = std::make_unique<Numbering>(d.name, std::span(d.rules, 2 * d.ruleCount),
                                             std::span(d.counts, d.countSize));
        // The reference first, then the numbering of most English Bibles:
        // the order Recognise prefers.
        if (n->Name() == "Segond")
            all_.insert(all_.begin(), std::move(n));
        else if (n->Name() == "KJV")
            all_.insert(all_.begin() + (all_.empty() || all_.front()->Name() != "Segond" ? 0 : 1),
                        std::move(n));
        else
            all_.push_back(std::move(n));
    }
}

const Numbering* Numberings::Find(std::string_view name) const {
    const auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) ==
                          std::tolower(static_cast<unsigned char>(y));
               });
    };
    for (const auto& n : all_)
        if (same(n->Name(), name)) return n.get();
    return nullptr;
}

const Numbering& Numberings::Recognise(
    const std::function<int(int book, int chapter)>& verses) const {
    // The Bible's chapters once; then each numbering scored on them.
    std::vector<std::array<int, 3>> chapters;  // book, chapter, verses
    for (int b = 1; b <= 66; ++b)
        for (int c = 1; c <= 150; ++c)
            if (const int n = verses(b, c); n > 0) chapters.push_back({b, c, n});
    const Numbering* best = all_.front().get();
    long bestScore = -1;
    for (const auto& n : all_) {
        long score = 0;
        for (const auto& [b, c, v] : chapters)
            score += n->Verses(b, c) == v ? 1 : 0;
        if (score > bestScore) {
            bestScore = score;
            best = n.get();
        }
    }
    return *best;
}

VersePlace Renumber(VersePlace p, const Numbering& from, const Numbering& to) {
    if (&from == &to) return p;
    const PlacesAt at = to.FromSegond(from.ToSegond(p));
    return at.count > 0 ? at.places[0] : 0;
}

std::string NumberingLabel(const Numbering& n) {
    static constexpr std::pair<std::string_view, std::string_view> kLabels[] = {
        {"Segond", "celle de la Louis Segond"},
        {"KJV", "anglaise (King James)"},
        {"KJVA", "anglaise (King James avec les apocryphes)"},
        {"NRSV", "anglaise (NRSV)"},
        {"NRSVA", "anglaise (NRSV avec les deutérocanoniques)"},
        {"Leningrad", "hébraïque (Codex de Leningrad)"},
        {"MT", "hébraïque (texte massorétique)"},
        {"DarbyFr", "celle de la Darby française"},
        {"Calvin", "celle de la Bible de Calvin"},
        {"German", "allemande"},
        {"Luther", "allemande (Luther)"},
        {"Catholic", "catholique"},
        {"Catholic2", "catholique"},
        {"Vulg", "celle de la Vulgate"},
        {"LXX", "celle de la Septante"},
        {"Orthodox", "orthodoxe"},
        {"Synodal", "synodale russe"},
        {"SynodalProt", "synodale russe (protestante)"},
    };
    for (const auto& [name, label] : kLabels)
        if (n.Name() == name) return std::string(label);
    return n.Name();
}

const Numberings& KnownNumberings() {
    static const Numberings known;
    return known;
}

}  // namespace lorvane
