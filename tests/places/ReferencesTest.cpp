#include <gtest/gtest.h>

#include <tuple>

#include "Canon.h"
#include "Cp1252.h"
#include "FrenchBible.h"
#include "References.h"

namespace lorvane {
namespace {

using testing::FrenchBible;

struct Case {
    const char* typed;  // UTF-8, as the reader types it
    int book, chapter, first, last;
};

ParsedReference Parse(std::string_view utf8) {
    static const BookNames names(FrenchBible());
    return ParseReference(names, FrenchBible(), cp1252::FromUtf8(utf8));
}

TEST(ReferenceParser, ReadsTheFormsReadersType) {
    const Case cases[] = {
        {"Jean 3:16", 43, 3, 16, 0},
        {"jn 3.16", 43, 3, 16, 0},
        {"Jn 3,16", 43, 3, 16, 0},
        {"Jean 3 16", 43, 3, 16, 0},
        {"jn3.16", 43, 3, 16, 0},
        {"  JEAN   3 :  16  ", 43, 3, 16, 0},
        {"Ésaïe 53:5", 23, 53, 5, 0},
        {"esaie 53 5", 23, 53, 5, 0},
        {"ÉSAÏE 53:5", 23, 53, 5, 0},
        {"Es 53", 23, 53, 0, 0},
        {"És 53", 23, 53, 0, 0},
        {"Psaume 23", 19, 23, 0, 0},
        {"Psaumes 23", 19, 23, 0, 0},
        {"ps23", 19, 23, 0, 0},
        {"Ps 119:105", 19, 119, 105, 0},
        {"1 Co 13", 46, 13, 0, 0},
        {"1co13", 46, 13, 0, 0},
        {"1 Corinthiens 13:4", 46, 13, 4, 0},
        {"2 co 5:17", 47, 5, 17, 0},
        {"Cantique des cantiques 2", 22, 2, 0, 0},
        {"cantique des Cantiques 2:1", 22, 2, 1, 0},
        {"Ap 22", 66, 22, 0, 0},
        {"Apocalypse 22:20", 66, 22, 20, 0},
        {"apoc 22 20", 66, 22, 20, 0},
        {"Marc", 41, 1, 0, 0},
        {"marc ", 41, 1, 0, 0},
        {"Romains 8", 45, 8, 0, 0},
        {"Rm 8:28-30", 45, 8, 28, 30},
        {"Ro 8:28 - 30", 45, 8, 28, 30},
        {"Rm 8:28–30", 45, 8, 28, 30},  // en dash
        {"Rm 8:28-28", 45, 8, 28, 0},
        {"Genèse 1:1", 1, 1, 1, 0},
        {"gn 1", 1, 1, 0, 0},
        {"Gen 2", 1, 2, 0, 0},
        {"Ex 20:3", 2, 20, 3, 0},
        {"Lévitique 19:18", 3, 19, 18, 0},
        {"Dt 6:4", 5, 6, 4, 0},
        {"1 S 17", 9, 17, 0, 0},
        {"1 Rois 19", 11, 19, 0, 0},
        {"2 R 2", 12, 2, 0, 0},
        {"Job 38:4", 18, 38, 4, 0},
        {"Pr 3:5", 20, 3, 5, 0},
        {"Qo 3", 21, 3, 0, 0},
        {"Jr 29:11", 24, 29, 11, 0},
        {"Jé 29", 24, 29, 0, 0},
        {"Ez 37", 26, 37, 0, 0},
        {"Abdias", 31, 1, 0, 0},
        {"Ab 1:4", 31, 1, 4, 0},
        {"Mt 5:3", 40, 5, 3, 0},
        {"Mc 16", 41, 16, 0, 0},
        {"Lc 2:11", 42, 2, 11, 0},
        {"Lu 2", 42, 2, 0, 0},
        {"Ac 2:4", 44, 2, 4, 0},
        {"Ga 5:1", 48, 5, 1, 0},
        {"Éph 2:8", 49, 2, 8, 0},
        {"Ph 4:13", 50, 4, 13, 0},
        {"1 Th 5:17", 52, 5, 17, 0},
        {"2 Tm 3:16", 55, 3, 16, 0},
        {"Hé 11:1", 58, 11, 1, 0},
        {"Jc 1:5", 59, 1, 5, 0},
        {"1 P 5:7", 60, 5, 7, 0},
        {"1 Jn 4:8", 62, 4, 8, 0},
        {"1 Jean 4", 62, 4, 0, 0},
        {"3 Jn 1:4", 64, 1, 4, 0},
        {"Jude 1:3", 65, 1, 3, 0},
        {"Jude", 65, 1, 0, 0},
        {"Jn. 3.16.", 43, 3, 16, 0},
    };
    for (const Case& c : cases) {
        const ParsedReference r = Parse(c.typed);
        ASSERT_TRUE(r.ok) << c.typed << ": " << cp1252::ToUtf8(r.error);
        EXPECT_EQ(r.ref.Book, c.book) << c.typed;
        EXPECT_EQ(r.ref.Chapter, c.chapter) << c.typed;
        EXPECT_EQ(r.ref.FirstVerse, c.first) << c.typed;
        EXPECT_EQ(r.ref.LastVerse, c.last) << c.typed;
    }
}

TEST(ReferenceParser, ReadsEveryBooksNameAndAbbreviation) {
    for (int b = 1; b <= 66; ++b) {
        const auto& canon = datawriter::kCanon[static_cast<std::size_t>(b - 1)];
        for (std::string_view name : {canon.name, canon.abbreviation}) {
            const std::string typed = std::string(name) + " 1:2";
            const ParsedReference r = Parse(typed);
            ASSERT_TRUE(r.ok) << typed << ": " << cp1252::ToUtf8(r.error);
            EXPECT_EQ(r.ref.Book, b) << typed;
            EXPECT_EQ(r.ref.Chapter, 1) << typed;
            EXPECT_EQ(r.ref.FirstVerse, 2) << typed;
        }
    }
}

TEST(ReferenceParser, SaysWhyAPlaceDoesNotExist) {
    const std::pair<const char*, const char*> cases[] = {
        {"Jean 30", "Jean n'a que 21 chapitres."},
        {"Jude 2:1", "Jude n'a qu'un chapitre."},
        {"Xyz 1", "Livre inconnu : « Xyz »."},
        {"  xyz", "Livre inconnu : « xyz »."},
        {"Jean 3:37", "Jean 3 n'a que 36 versets."},
        {"Rm 8:28-40", "Romains 8 n'a que 39 versets."},
        {"Rm 8:30-28", "La fin du passage (28) vient avant son début (30)."},
        {"Jean 0", "Les chapitres commencent à 1."},
        {"Jean 3:0", "Les versets commencent à 1."},
        {"J 3", "Plusieurs livres commencent par « J » : tapez-en davantage."},
        {"", "Tapez une référence, par exemple « Jean 3:16 »."},
        {"   ", "Tapez une référence, par exemple « Jean 3:16 »."},
        {"3:16", "Il manque le livre : tapez par exemple « Jean 3:16 »."},
        {"Jean 3:16 et 17", "Référence illisible : « Jean 3:16 et 17 »."},
        {"Jean 3:", "Référence illisible : « Jean 3: »."},
        {"Rm 8:28-", "Référence illisible : « Rm 8:28- »."},
        {"Ps 99999999999", "Psaumes n'a que 150 chapitres."},
        {"?", "Référence illisible : « ? »."},
    };
    for (const auto& [typed, why] : cases) {
        const ParsedReference r = Parse(typed);
        EXPECT_FALSE(r.ok) << typed;
        EXPECT_EQ(cp1252::ToUtf8(r.error), why) << typed;
    }
}

TEST(ReferenceParser, ProposesTheBooksATypedStartFits) {
    static const BookNames names(FrenchBible());
    auto complete = [](std::string_view utf8) {
        std::vector<std::string> out;
        for (int b : names.Complete(cp1252::FromUtf8(utf8)))
            out.push_back(cp1252::ToUtf8(names.Name(b)));
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(complete("je"), (V{"Jérémie", "Jean", "1 Jean", "2 Jean", "3 Jean"}));
    EXPECT_EQ(complete("És"), (V{"Esdras", "Esther", "Ésaïe"}));
    EXPECT_EQ(complete("1 c"), (V{"1 Chroniques", "1 Corinthiens"}));
    EXPECT_EQ(complete("psau"), (V{"Psaumes"}));
    EXPECT_EQ(complete("jean 3"), V{});  // the book is chosen
    EXPECT_EQ(complete(""), V{});
}

// The spellings and abbreviations of the French Bibles of both traditions
// (Segond; TOB and Jérusalem), with and without their accents; those that
// look alike (Jn, Jon, Jg, Jb; Ph, Phm; Es, Est, Esd) name each its book.
TEST(ReferenceParser, ReadsTheSpellingsOfBothFrenchTraditions) {
    const std::pair<int, const char*> books[] = {
        {1, "Gn Gen Genese"},
        {2, "Ex Exode"},
        {3, "Lv Lév Lev"},
        {4, "Nb Nom Nombres"},
        {5, "Dt Deut"},
        {6, "Jos Josué"},
        {7, "Jg Juges"},
        {8, "Rt Ruth"},
        {9, "1S 1Sam 1Samuel"},
        {11, "1R 1Rois"},
        {13, "1Ch 1Chr"},
        {15, "Esd Esdras"},
        {16, "Ne Né Neh"},
        {17, "Est Esther"},
        {18, "Jb Job"},
        {19, "Ps Psaume"},
        {20, "Pr Prov"},
        {21, "Qo Qohéleth Qohèleth Ecc Eccl Ecclésiaste"},
        {22, "Ct Cant Cantique"},
        {23, "Is Isa Isaïe Isaie Es Ésaïe"},
        {24, "Jr Jér Jérémie"},
        {25, "Lm Lam"},
        {26, "Ez Éz Ézéchiel Ezéchiel"},
        {27, "Dn Dan"},
        {28, "Os Osée"},
        {29, "Jl Joël"},
        {30, "Am Amos"},
        {31, "Ab Abd"},
        {32, "Jon Jonas"},
        {33, "Mi Mic Michée"},
        {34, "Na Nah"},
        {35, "Ha Hab Habaquq"},
        {36, "So Soph"},
        {37, "Ag Aggée"},
        {38, "Za Zach"},
        {39, "Ml Mal"},
        {40, "Mt Matthieu"},
        {41, "Mc Marc"},
        {42, "Lc Luc"},
        {43, "Jn Jean"},
        {44, "Ac Actes"},
        {45, "Rm Rom"},
        {46, "1Co 1Cor"},
        {47, "2Co"},
        {48, "Ga Gal"},
        {49, "Ep Éph Eph"},
        {50, "Ph Phil"},
        {51, "Col"},
        {52, "1Th"},
        {53, "2Th"},
        {54, "1Tm 1Tim"},
        {55, "2Tm"},
        {56, "Tt Tite"},
        {57, "Phm Philém"},
        {58, "He Hé Héb"},
        {59, "Jc Jq Jacq"},
        {60, "1P 1Pi"},
        {61, "2P"},
        {62, "1Jn"},
        {63, "2Jn"},
        {64, "3Jn"},
        {65, "Jude Jud"},
        {66, "Ap Apoc Apocalypse"},
    };
    for (const auto& [book, spellings] : books) {
        std::string_view list = spellings;
        while (!list.empty()) {
            const std::size_t space = list.find(' ');
            std::string typed(list.substr(0, space));
            // "1S" as "1 S 1:1".
            if (typed[0] >= '1' && typed[0] <= '3') typed.insert(1, " ");
            typed += " 1:1";
            const ParsedReference r = Parse(typed);
            ASSERT_TRUE(r.ok) << typed << ": " << cp1252::ToUtf8(r.error);
            EXPECT_EQ(r.ref.Book, book) << typed;
            list = space == std::string_view::npos ? std::string_view() : list.substr(space + 1);
        }
    }
    const Case cases[] = {
        {"Isaïe 53", 23, 53, 0, 0},  {"Is 53", 23, 53, 0, 0},      {"Jean3v16", 43, 3, 16, 0},
        {"Jn 3 v 16", 43, 3, 16, 0}, {"Jn 3 v. 16", 43, 3, 16, 0}, {"jn 3V16-18", 43, 3, 16, 18},
    };
    for (const Case& c : cases) {
        const ParsedReference r = Parse(c.typed);
        ASSERT_TRUE(r.ok) << c.typed << ": " << cp1252::ToUtf8(r.error);
        EXPECT_EQ(std::tuple(r.ref.Book, r.ref.Chapter, r.ref.FirstVerse, r.ref.LastVerse),
                  std::tuple(c.book, c.chapter, c.first, c.last))
            << c.typed;
        EXPECT_EQ(r.lastChapter, 0) << c.typed;
    }
}

TEST(ReferenceParser, ReadsARangeOfChaptersAsItsFirstWithItsEnd) {
    for (const char* typed : {"Mt 5-7", "Matthieu 5 - 7", "mt 5–7"}) {
        const ParsedReference r = Parse(typed);
        ASSERT_TRUE(r.ok) << typed << ": " << cp1252::ToUtf8(r.error);
        EXPECT_EQ(std::tuple(r.ref.Book, r.ref.Chapter, r.ref.FirstVerse, r.lastChapter),
                  std::tuple(40, 5, 0, 7))
            << typed;
    }
    EXPECT_EQ(Parse("Mt 5-5").lastChapter, 0);
    const std::pair<const char*, const char*> refused[] = {
        {"Mt 7-5", "La fin du passage (5) vient avant son début (7)."},
        {"Mt 27-29", "Matthieu n'a que 28 chapitres."},
        {"Mt 5-", "Référence illisible : « Mt 5- »."},
        {"Jn 3 v", "Référence illisible : « Jn 3 v »."},
        {"Jn 3v-16", "Référence illisible : « Jn 3v-16 »."},
    };
    for (const auto& [typed, why] : refused) {
        const ParsedReference r = Parse(typed);
        EXPECT_FALSE(r.ok) << typed;
        EXPECT_EQ(cp1252::ToUtf8(r.error), why) << typed;
    }
}

}  // namespace
}  // namespace lorvane
