// The French reference lists of the cross-reference notes.

#include <gtest/gtest.h>

#include "FrenchRefs.h"

namespace lorvane::importer {
namespace {

std::string Show(const RefList& list) {
    std::string out;
    for (const RefTarget& t : list.targets) {
        out += std::to_string(t.book) + "," + std::to_string(t.chapter) + ":" +
               std::to_string(t.first);
        if (t.last) out += "-" + std::to_string(t.last);
        out += " ";
    }
    for (const std::string& u : list.unread)
        out += "[" + u + "] ";
    return out;
}

TEST(FrenchRefs, BooksChaptersVersesAndRanges) {
    // "." closes a book's list, ";" separates chapters, "," verses, "-" a range.
    EXPECT_EQ(
        Show(ParseFrenchRefs("Job 38:4. Ps 33:6; 89:12, 14-16. 1 Co 4:6. Ac 14:15; 17:24.", 1, 1)),
        "18,38:4 19,33:6 19,89:12 19,89:14-16 46,4:6 44,14:15 44,17:24 ");
}

TEST(FrenchRefs, WholeChaptersGiveVerseZero) {
    EXPECT_EQ(Show(ParseFrenchRefs("Éz 40:3, etc.; 41; 42. Esd 1, etc. Ps 3-4.", 1, 1)),
              "26,40:3 26,41:0 26,42:0 15,1:0 19,3:0 19,4:0 ");
}

TEST(FrenchRefs, VerseFormsAndEtc) {
    // "v. N" alone: the note's own chapter; after a one-chapter book: its
    // chapter 1; inside a list: the list's chapter. "etc." adds nothing and
    // may end a book's list or go on with ";".
    EXPECT_EQ(Show(ParseFrenchRefs("v. 21. Jud v. 11. Ps 118:6, v. 7.", 40, 5)),
              "40,5:21 65,1:11 19,118:6 19,118:7 ");
    EXPECT_EQ(Show(ParseFrenchRefs("Ro 5:12, 14, etc. 1 Ch 5:1, etc.; 6:1, etc.", 1, 1)),
              "45,5:12 45,5:14 13,5:1 13,6:1 ");
}

TEST(FrenchRefs, SloppyListsStillRead) {
    // A space after the colon, a missing final ".", a book after ";".
    EXPECT_EQ(Show(ParseFrenchRefs("Ge 50: 19, 20. Ps 90:5; És 40:6. 1 Pi 1:19", 1, 1)),
              "1,50:19 1,50:20 19,90:5 23,40:6 60,1:19 ");
}

TEST(FrenchRefs, WhatCannotBeReadIsSetAsideUpToTheNextFullStop) {
    RefList list = ParseFrenchRefs("Éz 18:25, 29. sous v. 20. Xy 3:4. Ps 5:9-2. Mt 5:3.", 26, 33);
    EXPECT_EQ(Show(list), "26,18:25 26,18:29 40,5:3 [sous v. 20.] [Xy 3:4.] [Ps 5:9-2.] ");
    // A list that is nothing but noise sets everything aside, never loops.
    EXPECT_EQ(ParseFrenchRefs(":;,-", 1, 1).targets.size(), 0u);
    EXPECT_EQ(ParseFrenchRefs("", 1, 1).unread.size(), 0u);
}

TEST(FrenchRefs, ARangeIntoAnotherChapterIsNotGuessed) {
    RefList list = ParseFrenchRefs("Ge 1:1-2:3. Ex 3:1.", 1, 1);
    EXPECT_EQ(Show(list), "2,3:1 [Ge 1:1-2:3.] ");
}

}  // namespace
}  // namespace lorvane::importer
