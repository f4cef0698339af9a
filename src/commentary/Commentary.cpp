#include "Commentary.h"

#include <algorithm>
#include <fstream>
#include <map>

namespace lorvane::commentary {
namespace {

constexpr std::string_view kMagic = "LVCOMM1\n";
constexpr std::size_t kRecord = 16;
constexpr std::size_t kHead = 12;  // the magic and the count

[[noreturn]] void Damaged() {
    throw CommentaryError("Ce commentaire est endommagé : son fichier ne se lit pas.");
}

std::uint32_t Le32(std::string_view b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool IsVerse(VersePlace p) {
    return p <= 0xFFFFFF && BookOf(p) >= 1 && BookOf(p) <= 66 && ChapterOf(p) >= 1 &&
           ChapterOf(p) <= 150 && VerseOf(p) >= 1 && VerseOf(p) <= 176;
}

}  // namespace

std::string EncodeCommentary(const std::vector<CommentaryEntry>& entries) {
    struct Rec {
        VersePlace first;
        int last;
        std::uint32_t offset, size;
    };
    std::vector<Rec> recs;
    std::string texts;
    std::map<std::string_view, std::uint32_t> at;  // one copy of each text
    for (const CommentaryEntry& e : entries) {
        if (!IsVerse(e.first) || e.lastVerse < VerseOf(e.first) || e.lastVerse > 176)
            throw CommentaryError("Une entrée du commentaire n'est pas placée sur un verset.");
        if (e.html.size() > kMaxEntryBytes)
            throw CommentaryError("Une entrée du commentaire est trop longue pour être gardée.");
        auto found = at.find(e.html);
        std::uint32_t offset;
        if (found != at.end()) {
            offset = found->second;
        } else {
            if (texts.size() + e.html.size() > 0xFFFFFFFFu)
                throw CommentaryError("Ce commentaire est trop grand pour être gardé.");
            offset = static_cast<std::uint32_t>(texts.size());
            texts += e.html;
            at.emplace(e.html, offset);
        }
        recs.push_back({e.first, e.lastVerse, offset, static_cast<std::uint32_t>(e.html.size())});
    }
    std::stable_sort(recs.begin(), recs.end(),
                     [](const Rec& a, const Rec& b) { return a.first < b.first; });
    std::string out(kMagic);
    Put32(out, static_cast<std::uint32_t>(recs.size()));
    for (const Rec& r : recs) {
        Put32(out, r.first);
        Put32(out, static_cast<std::uint32_t>(r.last));
        Put32(out, r.offset);
        Put32(out, r.size);
    }
    return out + texts;
}

Commentary Commentary::Parse(std::string_view head, std::uint64_t fileSize) {
    if (head.size() < kHead || head.substr(0, kMagic.size()) != kMagic) Damaged();
    const std::uint64_t count = Le32(head, kMagic.size());
    const std::uint64_t textsAt = kHead + count * kRecord;
    if (textsAt > fileSize || head.size() < textsAt) Damaged();
    Commentary c;
    c.textsAt_ = textsAt;
    c.records_.reserve(static_cast<std::size_t>(count));
    const std::uint64_t textBytes = fileSize - textsAt;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kHead + i * kRecord;
        Record r{Le32(head, at), 0, Le32(head, at + 8), Le32(head, at + 12)};
        const std::uint32_t last = Le32(head, at + 4);
        if (!IsVerse(r.first) || last < static_cast<std::uint32_t>(VerseOf(r.first)) ||
            last > 176 || r.size > kMaxEntryBytes || std::uint64_t{r.offset} + r.size > textBytes)
            Damaged();
        r.last = static_cast<std::uint16_t>(last);
        c.records_.push_back(r);
    }
    // A file written by another hand may not be sorted.
    std::stable_sort(c.records_.begin(), c.records_.end(),
                     [](const Record& a, const Record& b) { return a.first < b.first; });
    return c;
}

Commentary Commentary::Open(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CommentaryError("Ce commentaire est absent ou illisible.");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < static_cast<std::streamoff>(kHead)) Damaged();
    std::string head(kHead, '\0');
    in.seekg(0);
    in.read(head.data(), kHead);
    if (!in || head.compare(0, kMagic.size(), kMagic) != 0) Damaged();
    const std::uint64_t indexBytes = std::uint64_t{Le32(head, kMagic.size())} * kRecord;
    if (kHead + indexBytes > static_cast<std::uint64_t>(size)) Damaged();
    head.resize(kHead + static_cast<std::size_t>(indexBytes));
    in.read(head.data() + kHead, static_cast<std::streamsize>(indexBytes));
    if (!in) Damaged();
    Commentary c = Parse(head, static_cast<std::uint64_t>(size));
    c.path_ = path;
    return c;
}

Commentary Commentary::FromBytes(std::string bytes) {
    Commentary c = Parse(bytes, bytes.size());
    c.bytes_ = std::move(bytes);
    return c;
}

std::string Commentary::TextOf(const Record& r) const {
    const std::uint64_t at = textsAt_ + r.offset;
    if (path_.empty()) return bytes_.substr(static_cast<std::size_t>(at), r.size);
    std::ifstream in(path_, std::ios::binary);
    std::string text(r.size, '\0');
    in.seekg(static_cast<std::streamoff>(at));
    in.read(text.data(), static_cast<std::streamsize>(r.size));
    if (!in) throw CommentaryError("Ce commentaire ne se lit plus : son fichier a changé.");
    return text;
}

std::optional<Commentary::Found> Commentary::EntryFor(VersePlace segond) const {
    const VersePlace chapter = segond & ~VersePlace{0xFF};
    // The records of the chapter that start at or before the verse.
    auto begin = std::lower_bound(records_.begin(), records_.end(), chapter,
                                  [](const Record& r, VersePlace p) { return r.first < p; });
    const Record* best = nullptr;
    for (auto it = begin; it != records_.end() && it->first <= segond; ++it) {
        if (it->last < VerseOf(segond)) continue;
        if (!best || it->last - VerseOf(it->first) < best->last - VerseOf(best->first)) best = &*it;
    }
    if (!best) return std::nullopt;
    return Found{TextOf(*best), best->first, best->last};
}

}  // namespace lorvane::commentary
