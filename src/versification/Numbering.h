#pragma once

// How a Bible numbers its verses, and where each of its verses is in the
// Louis Segond's numbering, the reference every Bible is paired through:
// the Segond counts a Psalm's title as its first verses, the English
// Bibles do not; the Hebrew ends Malachie at 3:24 where the Segond goes on
// to 4:6. Widget-free; the tables are made at build time.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane {

// A verse of some numbering, packed: book 1-66, chapter 1-150, verse
// 1-176; 0 is no verse.
using VersePlace = std::uint32_t;

constexpr VersePlace PlaceOf(int book, int chapter, int verse) {
    return static_cast<VersePlace>(book) << 16 | static_cast<VersePlace>(chapter) << 8 |
           static_cast<VersePlace>(verse);
}
constexpr int BookOf(VersePlace p) {
    return static_cast<int>(p >> 16);
}
constexpr int ChapterOf(VersePlace p) {
    return static_cast<int>(p >> 8 & 0xFF);
}
constexpr int VerseOf(VersePlace p) {
    return static_cast<int>(p & 0xFF);
}

// The verses of a numbering at one Segond verse: most often one, none
// where it lacks the verse, several where it splits it.
struct PlacesAt {
    static constexpr std::size_t kMax = 4;
    std::array<VersePlace, kMax> places{};
    std::size_t count = 0;
    std::span<const VersePlace> View() const& { return {places.data(), count}; }
    // The first and the last of them; 0 for none.
    VersePlace First() const { return count ? places[0] : 0; }
    VersePlace Last() const { return count ? places[count - 1] : 0; }
    // A view into a temporary would outlive it.
    std::span<const VersePlace> View() const&& = delete;
};

class Numbering {
  public:
    Numbering(std::string name, std::span<const std::uint32_t> rules,
              std::span<const std::uint8_t> counts);

    const std::string& Name() const { return name_; }
    bool IsSegond() const { return rules_.empty(); }

    // Where verse p of this numbering is in the Segond; 0 when the Segond
    // has no such verse.
    VersePlace ToSegond(VersePlace p) const;
    // The verses of this numbering at Segond verse s, in order.
    PlacesAt FromSegond(VersePlace s) const;

    // The chapters of a book, the verses of a chapter; 0 where it has
    // none.
    int Chapters(int book) const;
    int Verses(int book, int chapter) const;

  private:
    // Index of the rule for p, or npos.
    std::size_t RuleOf(VersePlace p) const;

    std::string name_;
    std::span<const std::uint32_t> rules_;  // pairs (place, Segond place)
    // (Segond place, place) of every rule, sorted; made at the first
    // FromSegond, so that a start that pairs nothing does not pay for it.
    const std::vector<std::pair<VersePlace, VersePlace>>& Back() const;
    mutable std::once_flag backMade_;
    mutable std::vector<std::pair<VersePlace, VersePlace>> back_;
    std::span<const std::uint8_t> counts_;
    std::array<std::uint16_t, 67> bookAt_{};  // offset of each book in counts_
};

class Numberings {
  public:
    // The numberings made at build time; Segond first.
    Numberings();

    const Numbering& Segond() const { return *all_.front(); }
    // By name ("KJV", "kjv"), null for one not known.
    const Numbering* Find(std::string_view name) const;
    // The numbering whose chapters agree best with a Bible's, given the
    // highest verse number of each of its chapters (0 for a chapter it
    // lacks); the Segond, then the KJV, when several agree as well.
    const Numbering& Recognise(const std::function<int(int book, int chapter)>& verses) const;
    std::size_t Count() const { return all_.size(); }

  private:
    std::vector<std::unique_ptr<Numbering>> all_;
};

// Verse p of `from` as `to` numbers it, through the Segond's: its first
// verse there, 0 where `to` has none.
VersePlace Renumber(VersePlace p, const Numbering& from, const Numbering& to);

// How the reader is told a numbering: "celle de la Louis Segond",
// "anglaise (King James)", "hébraïque (Leningrad)"; UTF-8.
std::string NumberingLabel(const Numbering& n);

// The numberings the program knows, made once.
const Numberings& KnownNumberings();

}  // namespace lorvane
