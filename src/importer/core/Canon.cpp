#include "Canon.h"

namespace lorvane::datawriter {

const std::array<CanonBook, 66> kCanon = {{
    {"GEN", "Genèse", "Ge", "Gen", 50},
    {"EXO", "Exode", "Ex", "Exod", 40},
    {"LEV", "Lévitique", "Lé", "Lev", 27},
    {"NUM", "Nombres", "No", "Num", 36},
    {"DEU", "Deutéronome", "De", "Deut", 34},
    {"JOS", "Josué", "Jos", "Josh", 24},
    {"JDG", "Juges", "Jg", "Judg", 21},
    {"RUT", "Ruth", "Ru", "Ruth", 4},
    {"1SA", "1 Samuel", "1 S", "1Sam", 31},
    {"2SA", "2 Samuel", "2 S", "2Sam", 24},
    {"1KI", "1 Rois", "1 R", "1Kgs", 22},
    {"2KI", "2 Rois", "2 R", "2Kgs", 25},
    {"1CH", "1 Chroniques", "1 Ch", "1Chr", 29},
    {"2CH", "2 Chroniques", "2 Ch", "2Chr", 36},
    {"EZR", "Esdras", "Esd", "Ezra", 10},
    {"NEH", "Néhémie", "Né", "Neh", 13},
    {"EST", "Esther", "Est", "Esth", 10},
    {"JOB", "Job", "Job", "Job", 42},
    {"PSA", "Psaumes", "Ps", "Ps", 150},
    {"PRO", "Proverbes", "Pr", "Prov", 31},
    {"ECC", "Ecclésiaste", "Ec", "Eccl", 12},
    {"SNG", "Cantique des Cantiques", "Ca", "Song", 8},
    {"ISA", "Ésaïe", "És", "Isa", 66},
    {"JER", "Jérémie", "Jé", "Jer", 52},
    {"LAM", "Lamentations", "La", "Lam", 5},
    {"EZK", "Ézékiel", "Éz", "Ezek", 48},
    {"DAN", "Daniel", "Da", "Dan", 12},
    {"HOS", "Osée", "Os", "Hos", 14},
    {"JOL", "Joël", "Joë", "Joel", 3},
    {"AMO", "Amos", "Am", "Amos", 9},
    {"OBA", "Abdias", "Ab", "Obad", 1},
    {"JON", "Jonas", "Jon", "Jonah", 4},
    {"MIC", "Michée", "Mi", "Mic", 7},
    {"NAM", "Nahum", "Na", "Nah", 3},
    {"HAB", "Habacuc", "Ha", "Hab", 3},
    {"ZEP", "Sophonie", "So", "Zeph", 3},
    {"HAG", "Aggée", "Ag", "Hag", 2},
    {"ZEC", "Zacharie", "Za", "Zech", 14},
    {"MAL", "Malachie", "Mal", "Mal", 4},
    {"MAT", "Matthieu", "Mt", "Matt", 28},
    {"MRK", "Marc", "Mc", "Mark", 16},
    {"LUK", "Luc", "Lu", "Luke", 24},
    {"JHN", "Jean", "Jn", "John", 21},
    {"ACT", "Actes", "Ac", "Acts", 28},
    {"ROM", "Romains", "Ro", "Rom", 16},
    {"1CO", "1 Corinthiens", "1 Co", "1Cor", 16},
    {"2CO", "2 Corinthiens", "2 Co", "2Cor", 13},
    {"GAL", "Galates", "Ga", "Gal", 6},
    {"EPH", "Éphésiens", "Ép", "Eph", 6},
    {"PHP", "Philippiens", "Ph", "Phil", 4},
    {"COL", "Colossiens", "Col", "Col", 4},
    {"1TH", "1 Thessaloniciens", "1 Th", "1Thess", 5},
    {"2TH", "2 Thessaloniciens", "2 Th", "2Thess", 3},
    {"1TI", "1 Timothée", "1 Ti", "1Tim", 6},
    {"2TI", "2 Timothée", "2 Ti", "2Tim", 4},
    {"TIT", "Tite", "Tit", "Titus", 3},
    {"PHM", "Philémon", "Phm", "Phlm", 1},
    {"HEB", "Hébreux", "Hé", "Heb", 13},
    {"JAS", "Jacques", "Ja", "Jas", 5},
    {"1PE", "1 Pierre", "1 Pi", "1Pet", 5},
    {"2PE", "2 Pierre", "2 Pi", "2Pet", 3},
    {"1JN", "1 Jean", "1 Jn", "1John", 5},
    {"2JN", "2 Jean", "2 Jn", "2John", 1},
    {"3JN", "3 Jean", "3 Jn", "3John", 1},
    {"JUD", "Jude", "Jud", "Jude", 1},
    {"REV", "Apocalypse", "Ap", "Rev", 22},
}};

namespace {

struct Outside {
    std::string_view usfm, osis, name;
};

// The books some Bibles hold beyond the 66, with the names French Bibles
// give them.
constexpr Outside kOutside[] = {
    {"TOB", "Tob", "Tobie"},
    {"JDT", "Jdt", "Judith"},
    {"ESG", "EsthGr", "Esther grec"},
    {"ESG", "AddEsth", "Esther grec"},
    {"WIS", "Wis", "Sagesse"},
    {"SIR", "Sir", "Siracide"},
    {"BAR", "Bar", "Baruch"},
    {"LJE", "EpJer", "Lettre de Jérémie"},
    {"S3Y", "PrAzar", "Cantique des trois jeunes gens"},
    {"SUS", "Sus", "Suzanne"},
    {"BEL", "Bel", "Bel et le dragon"},
    {"DAG", "AddDan", "Daniel grec"},
    {"1MA", "1Macc", "1 Maccabées"},
    {"2MA", "2Macc", "2 Maccabées"},
    {"3MA", "3Macc", "3 Maccabées"},
    {"4MA", "4Macc", "4 Maccabées"},
    {"1ES", "1Esd", "1 Esdras"},
    {"2ES", "2Esd", "2 Esdras"},
    {"MAN", "PrMan", "Prière de Manassé"},
    {"PS2", "AddPs", "Psaume 151"},
    {"ODA", "Odes", "Odes"},
    {"PSS", "PssSol", "Psaumes de Salomon"},
    {"LAO", "EpLao", "Épître aux Laodicéens"},
};

}  // namespace

std::string_view OutsideBookName(std::string_view id) {
    for (const Outside& o : kOutside)
        if (o.usfm == id || o.osis == id) return o.name;
    return {};
}

std::string_view FrenchBookName(std::string_view id) {
    if (const int book = BookNumberOfCode(id))
        return kCanon[static_cast<std::size_t>(book - 1)].name;
    if (const int book = BookNumberOfOsis(id))
        return kCanon[static_cast<std::size_t>(book - 1)].name;
    return OutsideBookName(id);
}

std::string FrenchPlace(std::string_view place) {
    const std::size_t space = place.find(' ');
    const std::string_view name = FrenchBookName(place.substr(0, space));
    if (name.empty()) return std::string(place);
    return std::string(name) +
           (space == std::string_view::npos ? std::string() : std::string(place.substr(space)));
}

int BookNumberOfCode(std::string_view code) {
    for (std::size_t i = 0; i < kCanon.size(); ++i)
        if (kCanon[i].code == code) return static_cast<int>(i) + 1;
    return 0;
}

int BookNumberOfOsis(std::string_view osis) {
    for (std::size_t i = 0; i < kCanon.size(); ++i)
        if (kCanon[i].osis == osis) return static_cast<int>(i) + 1;
    return 0;
}

}  // namespace lorvane::datawriter
