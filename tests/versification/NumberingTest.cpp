// Where the verses of each numbering are in the Louis Segond's: the
// places where Bibles number differently, checked against what a reader
// finds in the books, and against libsword's own placing where it is
// right.

#include <gtest/gtest.h>
#include <sword/versificationmgr.h>

#include <map>
#include <string>
#include <vector>

#include "Numbering.h"

namespace lorvane {
namespace {

constexpr int kNum = 4, kPs = 19, kJoel = 29, kMal = 39, kRom = 45, k2Co = 47, k3Jn = 64, kRev = 66;

const Numbering& Named(const char* name) {
    const Numbering* n = KnownNumberings().Find(name);
    EXPECT_NE(n, nullptr) << name;
    return n ? *n : KnownNumberings().Segond();
}

std::vector<VersePlace> From(const Numbering& n, VersePlace segond) {
    const PlacesAt at = n.FromSegond(segond);
    return {at.View().begin(), at.View().end()};
}

using Places = std::vector<VersePlace>;

TEST(Numbering, TheSegondIsItsOwnReference) {
    const Numbering& seg = KnownNumberings().Segond();
    EXPECT_EQ(seg.Name(), "Segond");
    EXPECT_TRUE(seg.IsSegond());
    for (VersePlace p : {PlaceOf(kPs, 51, 1), PlaceOf(kMal, 4, 6), PlaceOf(k3Jn, 1, 15)}) {
        EXPECT_EQ(seg.ToSegond(p), p);
        EXPECT_EQ(From(seg, p), Places{p});
    }
    EXPECT_EQ(seg.Verses(kPs, 51), 21);
    EXPECT_EQ(seg.Chapters(kMal), 4);
    EXPECT_EQ(seg.Chapters(kJoel), 3);
    EXPECT_TRUE(From(seg, PlaceOf(kMal, 5, 1)).empty());
}

// An English Bible does not count a Psalm's title as verses.
TEST(Numbering, EnglishPsalmsWithoutTheirTitles) {
    const Numbering& kjv = Named("KJV");
    EXPECT_EQ(kjv.ToSegond(PlaceOf(kPs, 51, 7)), PlaceOf(kPs, 51, 9));  // the hyssop
    EXPECT_EQ(kjv.ToSegond(PlaceOf(kPs, 51, 1)), PlaceOf(kPs, 51, 3));
    EXPECT_EQ(kjv.ToSegond(PlaceOf(kPs, 51, 19)), PlaceOf(kPs, 51, 21));
    EXPECT_EQ(From(kjv, PlaceOf(kPs, 51, 9)), Places{PlaceOf(kPs, 51, 7)});
    EXPECT_TRUE(From(kjv, PlaceOf(kPs, 51, 1)).empty());
    EXPECT_TRUE(From(kjv, PlaceOf(kPs, 51, 2)).empty());
    EXPECT_EQ(kjv.ToSegond(PlaceOf(kPs, 3, 1)), PlaceOf(kPs, 3, 2));
    EXPECT_TRUE(From(kjv, PlaceOf(kPs, 3, 1)).empty());
    // A Psalm without a title is numbered alike.
    EXPECT_EQ(kjv.ToSegond(PlaceOf(kPs, 1, 1)), PlaceOf(kPs, 1, 1));
    EXPECT_EQ(kjv.ToSegond(PlaceOf(kPs, 119, 176)), PlaceOf(kPs, 119, 176));
}

TEST(Numbering, EnglishAndSegondNewTestament) {
    const Numbering& kjv = Named("KJV");
    // The KJV's 3 John 14 holds the Segond's 14 and 15.
    EXPECT_EQ(kjv.ToSegond(PlaceOf(k3Jn, 1, 14)), PlaceOf(k3Jn, 1, 14));
    EXPECT_EQ(From(kjv, PlaceOf(k3Jn, 1, 14)), Places{PlaceOf(k3Jn, 1, 14)});
    EXPECT_TRUE(From(kjv, PlaceOf(k3Jn, 1, 15)).empty());
    // 2 Corinthiens 13:12-14: the KJV's 12 and 13 are the Segond's 12.
    EXPECT_EQ(kjv.ToSegond(PlaceOf(k2Co, 13, 13)), PlaceOf(k2Co, 13, 12));
    EXPECT_EQ(kjv.ToSegond(PlaceOf(k2Co, 13, 14)), PlaceOf(k2Co, 13, 13));
    EXPECT_EQ(From(kjv, PlaceOf(k2Co, 13, 12)),
              (Places{PlaceOf(k2Co, 13, 12), PlaceOf(k2Co, 13, 13)}));
    // Romains 16:25-27 and Apocalypse 13 where both have them.
    for (int v : {25, 26, 27})
        EXPECT_EQ(kjv.ToSegond(PlaceOf(kRom, 16, v)), PlaceOf(kRom, 16, v));
    EXPECT_EQ(kjv.ToSegond(PlaceOf(kRev, 13, 2)), PlaceOf(kRev, 13, 2));
    EXPECT_EQ(kjv.ToSegond(PlaceOf(kNum, 16, 36)), PlaceOf(kNum, 16, 36));
}

// The Hebrew: Malachie in three chapters, Joël in four, Nombres 17
// beginning at the Segond's 16:36; its Psalms count their titles as the
// Segond's do.
TEST(Numbering, HebrewAgainstTheSegond) {
    const Numbering& hebrew = Named("Leningrad");
    EXPECT_EQ(hebrew.Chapters(kMal), 3);
    for (int v = 19; v <= 24; ++v)
        EXPECT_EQ(hebrew.ToSegond(PlaceOf(kMal, 3, v)), PlaceOf(kMal, 4, v - 18));
    EXPECT_EQ(From(hebrew, PlaceOf(kMal, 4, 1)), Places{PlaceOf(kMal, 3, 19)});
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(kMal, 3, 18)), PlaceOf(kMal, 3, 18));
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(kJoel, 3, 1)), PlaceOf(kJoel, 2, 28));
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(kJoel, 4, 21)), PlaceOf(kJoel, 3, 21));
    EXPECT_EQ(From(hebrew, PlaceOf(kJoel, 3, 1)), Places{PlaceOf(kJoel, 4, 1)});
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(kNum, 17, 1)), PlaceOf(kNum, 16, 36));
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(kNum, 17, 16)), PlaceOf(kNum, 17, 1));
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(kPs, 3, 1)), PlaceOf(kPs, 3, 1));  // a title
    EXPECT_EQ(hebrew.ToSegond(PlaceOf(kPs, 51, 9)), PlaceOf(kPs, 51, 9));
    // No New Testament: nothing to show there, and no crash.
    EXPECT_EQ(hebrew.Chapters(k3Jn), 0);
    EXPECT_TRUE(From(hebrew, PlaceOf(k3Jn, 1, 1)).empty());
}

// Where libsword places a verse right, the tables agree with it; where it
// is known wrong, it still is and the tables mend it.
TEST(Numbering, AgainstLibswordsOwnPlacing) {
    auto* mgr = sword::VersificationMgr::getSystemVersificationMgr();
    const auto place = [&](const char* from, const char* to, const char* book, int chapter,
                           int verse) {
        const char* b = book;
        int c = chapter, v = verse, last = verse;
        mgr->getVersificationSystem(from)->translateVerse(mgr->getVersificationSystem(to), &b, &c,
                                                          &v, &last);
        return std::make_pair(c, v);
    };
    EXPECT_EQ(place("Segond", "KJV", "Ps", 51, 9), std::make_pair(51, 7));
    EXPECT_EQ(From(Named("KJV"), PlaceOf(kPs, 51, 9)), Places{PlaceOf(kPs, 51, 7)});
    EXPECT_EQ(place("Segond", "KJV", "3John", 1, 15), std::make_pair(1, 14));
    EXPECT_EQ(place("Segond", "KJV", "2Cor", 13, 13), std::make_pair(13, 14));
    EXPECT_EQ(From(Named("KJV"), PlaceOf(k2Co, 13, 13)), Places{PlaceOf(k2Co, 13, 14)});

    // Known wrong in libsword, mended here.
    EXPECT_EQ(place("Leningrad", "Segond", "Mal", 3, 19), std::make_pair(3, 19));
    EXPECT_EQ(place("Leningrad", "Segond", "Ps", 3, 1), std::make_pair(3, 2));
    EXPECT_EQ(place("KJV", "Segond", "Ps", 51, 1), std::make_pair(51, 2));
    EXPECT_EQ(place("KJV", "Segond", "3John", 1, 14), std::make_pair(1, 15));
}

// A Bible that names no numbering is recognised from its chapters.
TEST(Numbering, RecognisedFromTheChapters) {
    const Numberings& known = KnownNumberings();
    const auto like = [&](const Numbering& n, std::map<std::pair<int, int>, int> changes = {},
                          bool oldTestament = true) {
        return known
            .Recognise([&](int b, int c) {
                if (!oldTestament && b < 40) return 0;
                const auto it = changes.find({b, c});
                return it != changes.end() ? it->second : n.Verses(b, c);
            })
            .Name();
    };
    EXPECT_EQ(like(known.Segond()), "Segond");
    EXPECT_EQ(like(Named("KJV")), "KJV");
    EXPECT_EQ(like(Named("Leningrad")), "Leningrad");
    // A Synodale-like Bible: the Segond's chapters, but English Psalms,
    // as the French Darby numbers them; its hyssop verse is the Segond's.
    std::map<std::pair<int, int>, int> englishPsalms;
    for (int p = 1; p <= 150; ++p)
        englishPsalms[{kPs, p}] = Named("KJV").Verses(kPs, p);
    EXPECT_EQ(like(known.Segond(), englishPsalms), "DarbyFr");
    EXPECT_EQ(Named("DarbyFr").ToSegond(PlaceOf(kPs, 51, 7)), PlaceOf(kPs, 51, 9));
    EXPECT_EQ(Named("DarbyFr").ToSegond(PlaceOf(k3Jn, 1, 15)), PlaceOf(k3Jn, 1, 15));
    // A New Testament alone: 3 Jean ends at 14 or at 15.
    EXPECT_EQ(like(Named("KJV"), {}, false), "KJV");
    EXPECT_EQ(like(known.Segond(), {}, false), "Segond");
    // Nothing to go by: the reference.
    EXPECT_EQ(known.Recognise([](int, int) { return 0; }).Name(), "Segond");
}

TEST(Numbering, NamesAndLabels) {
    EXPECT_EQ(KnownNumberings().Find("kjv"), KnownNumberings().Find("KJV"));
    EXPECT_EQ(KnownNumberings().Find("Nowhere"), nullptr);
    EXPECT_GE(KnownNumberings().Count(), 10u);
    EXPECT_EQ(NumberingLabel(Named("KJV")), "anglaise (King James)");
    EXPECT_EQ(NumberingLabel(Named("Leningrad")), "hébraïque (Codex de Leningrad)");
    // Every place a numbering gives back is one of its verses.
    for (const char* name : {"KJV", "Leningrad", "Vulg", "Synodal", "German"}) {
        const Numbering& n = Named(name);
        for (int b = 1; b <= 66; ++b)
            for (int c = 1; c <= n.Chapters(b); ++c)
                for (int v = 1; v <= n.Verses(b, c); ++v) {
                    const VersePlace s = n.ToSegond(PlaceOf(b, c, v));
                    if (s == 0) continue;
                    ASSERT_LE(VerseOf(s),
                              KnownNumberings().Segond().Verses(BookOf(s), ChapterOf(s)))
                        << name << ' ' << b << ' ' << c << ':' << v;
                }
    }
}

}  // namespace
}  // namespace lorvane
