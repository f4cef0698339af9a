#include "Morphology.h"

#include <array>
#include <optional>
#include <vector>

namespace lorvane::words {

namespace {

// Longer codes than this are not codes: they are reported unknown, cut.
constexpr std::size_t kLongestCode = 48;

struct Term {
    std::string_view code;
    std::string_view full;
    std::string_view brief;
};

template <std::size_t N>
const Term* Find(const std::array<Term, N>& table, std::string_view code) {
    for (const Term& term : table)
        if (term.code == code) return &term;
    return nullptr;
}

template <std::size_t N>
const Term* Find(const std::array<Term, N>& table, char code) {
    return Find(table, std::string_view(&code, 1));
}

// The words of a parsing as they are found; false once a part is not sound.
struct Words {
    std::vector<std::string> full;
    std::vector<std::string> brief;
    bool sound = true;

    bool Add(const Term* term) {
        if (!term) return sound = false;
        full.emplace_back(term->full);
        brief.emplace_back(term->brief);
        return true;
    }
    void Add(std::string_view f, std::string_view b) {
        full.emplace_back(f);
        brief.emplace_back(b);
    }
};

std::string Join(const std::vector<std::string>& words, std::string_view separator) {
    std::string out;
    for (const std::string& word : words) {
        if (word.empty()) continue;
        if (!out.empty()) out += separator;
        out += word;
    }
    return out;
}

// The code as written, for the reader: printable ASCII only, cut when long.
std::string Shown(std::string_view code) {
    std::string out;
    for (char c : code.substr(0, kLongestCode)) {
        const auto byte = static_cast<unsigned char>(c);
        out += (byte >= 0x20 && byte < 0x7F) ? c : '?';
    }
    if (code.size() > kLongestCode) out += "…";
    return out;
}

Parsing Unknown(std::string_view code, const std::string& partialFull, std::string partialBrief) {
    Parsing parsing;
    parsing.full = Shown(code) + " (code inconnu)";
    if (!partialFull.empty()) parsing.full += " : " + partialFull;
    parsing.brief = partialBrief.empty() ? Shown(code) : std::move(partialBrief);
    return parsing;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(
            text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

// ---- Robinson -------------------------------------------------------------

constexpr std::array<Term, 12> kIndeclinables{{
    {"PREP", "préposition", "prép."},
    {"CONJ", "conjonction", "conj."},
    {"COND", "conjonction conditionnelle", "conj. cond."},
    {"ADV", "adverbe", "adv."},
    {"PRT", "particule", "part."},
    {"INJ", "interjection", "interj."},
    {"HEB", "mot hébreu", "héb."},
    {"ARAM", "mot araméen", "aram."},
    {"N-PRI", "nom propre indéclinable", "n. pr. indécl."},
    {"N-LI", "lettre indéclinable", "lettre indécl."},
    {"N-OI", "nom indéclinable", "n. indécl."},
    {"A-NUI", "adjectif numéral indéclinable", "adj. num. indécl."},
}};

constexpr std::array<Term, 14> kNominals{{
    {"N", "nom", "n."},
    {"A", "adjectif", "adj."},
    {"T", "article", "art."},
    {"P", "pronom personnel", "pron. pers."},
    {"R", "pronom relatif", "pron. rel."},
    {"C", "pronom réciproque", "pron. réc."},
    {"D", "pronom démonstratif", "pron. dém."},
    {"K", "pronom corrélatif", "pron. corr."},
    {"I", "pronom interrogatif", "pron. interr."},
    {"X", "pronom indéfini", "pron. indéf."},
    {"Q", "pronom corrélatif ou interrogatif", "pron. corr. ou interr."},
    {"F", "pronom réfléchi", "pron. réfl."},
    {"S", "pronom possessif", "pron. poss."},
    {"V", "verbe", "v."},
}};

constexpr std::array<Term, 5> kCases{{
    {"N", "nominatif", "nom."},
    {"G", "génitif", "gén."},
    {"D", "datif", "dat."},
    {"A", "accusatif", "acc."},
    {"V", "vocatif", "voc."},
}};
constexpr std::array<Term, 2> kNumbers{{{"S", "singulier", "sg."}, {"P", "pluriel", "pl."}}};
constexpr std::array<Term, 3> kGenders{{
    {"M", "masculin", "masc."},
    {"F", "féminin", "fém."},
    {"N", "neutre", "neut."},
}};

constexpr std::array<Term, 7> kTenses{{
    {"P", "présent", "prés."},
    {"I", "imparfait", "impf."},
    {"F", "futur", "fut."},
    {"A", "aoriste", "aor."},
    {"R", "parfait", "parf."},
    {"L", "plus-que-parfait", "p.-q.-parf."},
    {"X", "sans temps indiqué", "s. temps"},
}};
constexpr std::array<Term, 7> kSecondTenses{{
    {"F", "futur second", "fut. 2"},
    {"A", "aoriste second", "aor. 2"},
    {"R", "parfait second", "parf. 2"},
    {"L", "plus-que-parfait second", "p.-q.-parf. 2"},
    {"P", "présent second", "prés. 2"},
    {"I", "imparfait second", "impf. 2"},
    {"X", "sans temps indiqué", "s. temps"},
}};
constexpr std::array<Term, 9> kVoices{{
    {"A", "actif", "act."},
    {"M", "moyen", "moy."},
    {"P", "passif", "pass."},
    {"E", "moyen-passif", "moy.-pass."},
    {"D", "moyen déponent", "moy. dép."},
    {"O", "passif déponent", "pass. dép."},
    {"N", "moyen ou passif déponent", "moy.-pass. dép."},
    {"Q", "actif impersonnel", "act. impers."},
    {"X", "sans voix indiquée", "s. voix"},
}};
constexpr std::array<Term, 7> kMoods{{
    {"I", "indicatif", "ind."},
    {"S", "subjonctif", "subj."},
    {"O", "optatif", "opt."},
    {"M", "impératif", "impér."},
    {"N", "infinitif", "inf."},
    {"P", "participe", "part."},
    {"R", "impératif-participe", "impér.-part."},
}};

constexpr std::array<Term, 3> kPersons{{
    {"1", "1re personne", "1"},
    {"2", "2e personne", "2"},
    {"3", "3e personne", "3"},
}};

// The suffixes; -C is a comparative on adjectives and adverbs, a contracted
// form on the other words.
constexpr std::array<Term, 9> kSuffixes{{
    {"ATT", "forme attique", "att."},
    {"S", "superlatif", "superl."},
    {"N", "négatif", "nég."},
    {"K", "crase", "crase"},
    {"I", "interrogatif", "interr."},
    {"ABB", "forme abrégée", "abr."},
    {"COMP", "comparatif", "comp."},
    {"M", "sens moyen", "sens moy."},
    {"P", "particule jointe", "part. jointe"},
}};

// "3S" → « 3e personne du singulier », « 3s ».
bool AddPersonNumber(Words& words, std::string_view code) {
    if (code.size() != 2) return words.sound = false;
    const Term* person = Find(kPersons, code[0]);
    const Term* number = Find(kNumbers, code[1]);
    if (!person || !number) return words.sound = false;
    words.Add(std::string(person->full) + (code[1] == 'S' ? " du singulier" : " du pluriel"),
              std::string(person->brief) + (code[1] == 'S' ? "s" : "p"));
    return true;
}

// "NSM" → case, number, gender (the gender may be left out: "NS").
bool AddCaseNumberGender(Words& words, std::string_view code) {
    if (code.size() < 2 || code.size() > 3) return words.sound = false;
    return words.Add(Find(kCases, code[0])) && words.Add(Find(kNumbers, code[1])) &&
           (code.size() == 2 || words.Add(Find(kGenders, code[2])));
}

bool AddSuffix(Words& words, std::string_view suffix, bool comparable) {
    if (suffix == "C") {
        if (comparable)
            words.Add("comparatif", "comp.");
        else
            words.Add("forme contractée", "contr.");
        return true;
    }
    return words.Add(Find(kSuffixes, suffix));
}

bool AddVerb(Words& words, const std::vector<std::string_view>& parts, std::size_t& next) {
    if (parts.size() < 2) return words.sound = false;
    std::string_view tvm = parts[1];
    next = 2;
    bool second = false;
    if (!tvm.empty() && tvm[0] == '2') {
        second = true;
        tvm.remove_prefix(1);
    }
    if (tvm.size() != 3) return words.sound = false;
    if (!words.Add(second ? Find(kSecondTenses, tvm[0]) : Find(kTenses, tvm[0])) ||
        !words.Add(Find(kVoices, tvm[1])) || !words.Add(Find(kMoods, tvm[2])))
        return false;
    const char mood = tvm[2];
    if (mood == 'N') return true;
    if (parts.size() < 3) return words.sound = false;
    next = 3;
    if (mood == 'P' || mood == 'R') return AddCaseNumberGender(words, parts[2]);
    return AddPersonNumber(words, parts[2]);
}

// The case, number and gender of a pronoun, after its person when it has one.
bool AddPronoun(Words& words, char kind, std::string_view code) {
    if (kind == 'P' && !code.empty() && (code[0] == '1' || code[0] == '2')) {
        // 1st and 2nd persons: person, case, number (no gender).
        if (code.size() != 3) return words.sound = false;
        return words.Add(Find(kPersons, code[0])) && AddCaseNumberGender(words, code.substr(1));
    }
    if (kind == 'F') {
        if (code.empty()) return words.sound = false;
        return words.Add(Find(kPersons, code[0])) && AddCaseNumberGender(words, code.substr(1));
    }
    if (kind == 'S') {
        // Person and number of the owner, then the case, number and gender.
        if (code.size() < 4) return words.sound = false;
        const Term* person = Find(kPersons, code[0]);
        const Term* number = Find(kNumbers, code[1]);
        if (!person || !number) return words.sound = false;
        words.Add("possesseur : " + std::string(person->full) +
                      (code[1] == 'S' ? " du singulier" : " du pluriel"),
                  std::string(person->brief) + (code[1] == 'S' ? "s" : "p"));
        return AddCaseNumberGender(words, code.substr(2));
    }
    return AddCaseNumberGender(words, code);
}

}  // namespace

Parsing ExpandRobinson(std::string_view code) {
    if (code.empty() || code.size() > kLongestCode) return Unknown(code, {}, {});
    const std::vector<std::string_view> parts = Split(code, '-');
    Words words;
    std::size_t next = 1;
    bool comparable = false;

    const Term* indeclinable = Find(kIndeclinables, parts[0]);
    if (!indeclinable && parts.size() >= 2) {
        const std::string_view firstTwo = code.substr(0, parts[0].size() + 1 + parts[1].size());
        if ((indeclinable = Find(kIndeclinables, firstTwo))) next = 2;
    }
    if (indeclinable) {
        words.Add(indeclinable);
        comparable = parts[0] == "ADV" || parts[0] == "A";
    } else if (parts[0].size() == 1 && words.Add(Find(kNominals, parts[0]))) {
        const char kind = parts[0][0];
        comparable = kind == 'A';
        if (kind == 'V')
            AddVerb(words, parts, next);
        else if (parts.size() < 2)
            words.sound = false;
        else {
            AddPronoun(words, kind, parts[1]);
            next = 2;
        }
    } else {
        words.sound = false;
    }
    for (; words.sound && next < parts.size(); ++next)
        AddSuffix(words, parts[next], comparable);

    if (!words.sound) return Unknown(code, Join(words.full, ", "), Join(words.brief, " "));
    return {Join(words.full, ", "), Join(words.brief, " "), true};
}

// ---- OSHM -----------------------------------------------------------------

namespace {

constexpr std::array<Term, 2> kLanguages{{{"H", "hébreu", "héb."}, {"A", "araméen", "aram."}}};

constexpr std::array<Term, 4> kAdjectives{{
    {"a", "adjectif", "adj."},
    {"c", "adjectif numéral cardinal", "num. card."},
    {"g", "adjectif gentilé", "adj. gent."},
    {"o", "adjectif numéral ordinal", "num. ord."},
}};
constexpr std::array<Term, 4> kNouns{{
    {"c", "nom commun", "n. comm."},
    {"g", "nom gentilé", "n. gent."},
    {"p", "nom propre", "n. pr."},
    {"x", "nom", "n."},
}};
constexpr std::array<Term, 5> kPronouns{{
    {"d", "pronom démonstratif", "pron. dém."},
    {"f", "pronom indéfini", "pron. indéf."},
    {"i", "pronom interrogatif", "pron. interr."},
    {"p", "pronom personnel", "pron. pers."},
    {"r", "pronom relatif", "pron. rel."},
}};
constexpr std::array<Term, 4> kSuffixParts{{
    {"d", "hé directionnel", "hé dir."},
    {"h", "hé paragogique", "hé parag."},
    {"n", "noun paragogique", "noun parag."},
    {"p", "suffixe pronominal", "suff. pron."},
}};
constexpr std::array<Term, 9> kParticles{{
    {"a", "particule d'affirmation", "part. affirm."},
    {"d", "article défini", "art."},
    {"e", "particule d'exhortation", "part. exhort."},
    {"i", "particule interrogative", "part. interr."},
    {"j", "interjection", "interj."},
    {"m", "particule démonstrative", "part. dém."},
    {"n", "particule de négation", "nég."},
    {"o", "marqueur de l'objet direct", "obj. dir."},
    {"r", "particule relative", "part. rel."},
}};

constexpr std::array<Term, 4> kHebrewGenders{{
    {"m", "masculin", "m."},
    {"f", "féminin", "f."},
    {"b", "des deux genres", "m./f."},
    {"c", "commun", "comm."},
}};
constexpr std::array<Term, 3> kHebrewNumbers{{
    {"s", "singulier", "sg."},
    {"p", "pluriel", "pl."},
    {"d", "duel", "du."},
}};
constexpr std::array<Term, 3> kStates{{
    {"a", "état absolu", "abs."},
    {"c", "état construit", "constr."},
    {"d", "état déterminé", "dét."},
}};

constexpr std::array<Term, 27> kHebrewStems{{
    {"q", "qal", "qal"},
    {"N", "niphal", "niph."},
    {"p", "piel", "piel"},
    {"P", "pual", "pual"},
    {"h", "hiphil", "hiph."},
    {"H", "hophal", "hoph."},
    {"t", "hithpael", "hithp."},
    {"o", "polel", "polel"},
    {"O", "polal", "polal"},
    {"r", "hithpolel", "hithpol."},
    {"m", "poel", "poel"},
    {"M", "poal", "poal"},
    {"k", "palel", "palel"},
    {"K", "pulal", "pulal"},
    {"Q", "qal passif", "qal pass."},
    {"l", "pilpel", "pilpel"},
    {"L", "polpal", "polpal"},
    {"f", "hithpalpel", "hithpalp."},
    {"D", "nithpael", "nithp."},
    {"j", "pealal", "pealal"},
    {"i", "pilel", "pilel"},
    {"u", "hothpaal", "hothp."},
    {"c", "tiphil", "tiph."},
    {"v", "hishtaphel", "hisht."},
    {"w", "nithpalel", "nithpal."},
    {"y", "nithpoel", "nithpo."},
    {"z", "hithpoel", "hithpo."},
}};
constexpr std::array<Term, 26> kAramaicStems{{
    {"q", "peal", "peal"},
    {"Q", "peil", "peil"},
    {"u", "hithpeel", "hithpe."},
    {"p", "pael", "pael"},
    {"P", "ithpaal", "ithpa."},
    {"M", "hithpaal", "hithpa."},
    {"a", "aphel", "aph."},
    {"h", "haphel", "haph."},
    {"s", "saphel", "saph."},
    {"e", "shaphel", "shaph."},
    {"H", "hophal", "hoph."},
    {"i", "ithpeel", "ithpe."},
    {"t", "hishtaphel", "hisht."},
    {"v", "ishtaphel", "isht."},
    {"w", "hithaphel", "hithaph."},
    {"o", "polel", "polel"},
    {"z", "ithpoel", "ithpo."},
    {"r", "hithpolel", "hithpol."},
    {"f", "hithpalpel", "hithpalp."},
    {"b", "hephal", "heph."},
    {"c", "tiphel", "tiph."},
    {"m", "poel", "poel"},
    {"l", "palpel", "palpel"},
    {"L", "ithpalpel", "ithpalp."},
    {"O", "ithpolel", "ithpol."},
    {"G", "ittaphal", "ittaph."},
}};
constexpr std::array<Term, 11> kConjugations{{
    {"p", "parfait (qatal)", "parf."},
    {"q", "parfait consécutif (weqatal)", "parf. cons."},
    {"i", "imparfait (yiqtol)", "impf."},
    {"w", "imparfait consécutif (wayyiqtol)", "wayy."},
    {"h", "cohortatif", "coh."},
    {"j", "jussif", "juss."},
    {"v", "impératif", "impér."},
    {"r", "participe actif", "part. act."},
    {"s", "participe passif", "part. pass."},
    {"a", "infinitif absolu", "inf. abs."},
    {"c", "infinitif construit", "inf. constr."},
}};
constexpr std::array<Term, 3> kHebrewPersons{{
    {"1", "1re personne", "1"},
    {"2", "2e personne", "2"},
    {"3", "3e personne", "3"},
}};

// One letter of a table, or 'x' where the code leaves it unsaid.
bool AddLetter(Words& words, const Term* term, char letter) {
    if (letter == 'x') return true;
    return words.Add(term);
}

// Gender, number, state: "fsa".
bool AddGenderNumberState(Words& words, std::string_view code, bool withState) {
    const std::size_t size = withState ? 3 : 2;
    if (code.size() != size) return words.sound = false;
    return AddLetter(words, Find(kHebrewGenders, code[0]), code[0]) &&
           AddLetter(words, Find(kHebrewNumbers, code[1]), code[1]) &&
           (!withState || AddLetter(words, Find(kStates, code[2]), code[2]));
}

// Person, gender and (not always) number: "3ms", "2m".
bool AddPersonGenderNumber(Words& words, std::string_view code) {
    if (code.size() < 2 || code.size() > 3) return words.sound = false;
    return AddLetter(words, Find(kHebrewPersons, code[0]), code[0]) &&
           AddLetter(words, Find(kHebrewGenders, code[1]), code[1]) &&
           (code.size() == 2 || AddLetter(words, Find(kHebrewNumbers, code[2]), code[2]));
}

bool AddVerbPart(Words& words, std::string_view code, bool aramaic) {
    if (code.size() < 2) return words.sound = false;
    const Term* stem = aramaic ? Find(kAramaicStems, code[0]) : Find(kHebrewStems, code[0]);
    if (!stem) return words.sound = false;
    words.Add("verbe " + std::string(stem->full), "v. " + std::string(stem->brief));
    const char conjugation = code[1];
    if (!words.Add(Find(kConjugations, conjugation))) return false;
    const std::string_view rest = code.substr(2);
    if (conjugation == 'a' || conjugation == 'c') return rest.empty() || (words.sound = false);
    if (conjugation == 'r' || conjugation == 's') return AddGenderNumberState(words, rest, true);
    return AddPersonGenderNumber(words, rest);
}

// One part of an OSHM word, without its language letter: "Ncfsa", "R".
bool AddOshmPart(Words& words, std::string_view part, bool aramaic) {
    if (part.empty()) return words.sound = false;
    const std::string_view rest = part.substr(1);
    switch (part[0]) {
        case 'A':
            return !rest.empty() && words.Add(Find(kAdjectives, rest[0])) &&
                   AddGenderNumberState(words, rest.substr(1), true);
        case 'C':
            words.Add("conjonction", "conj.");
            return rest.empty() || (words.sound = false);
        case 'D':
            words.Add("adverbe", "adv.");
            return rest.empty() || (words.sound = false);
        case 'N':
            if (rest.empty() || !words.Add(Find(kNouns, rest[0]))) return words.sound = false;
            if (rest[0] == 'p') return rest.size() == 1 || (words.sound = false);
            return AddGenderNumberState(words, rest.substr(1), true);
        case 'P':
            if (rest.empty() || !words.Add(Find(kPronouns, rest[0]))) return words.sound = false;
            if (rest.size() == 1) return true;
            return AddPersonGenderNumber(words, rest.substr(1));
        case 'R':
            if (rest.empty()) {
                words.Add("préposition", "prép.");
                return true;
            }
            if (rest == "d") {
                words.Add("préposition avec article défini", "prép. + art.");
                return true;
            }
            return words.sound = false;
        case 'S':
            if (rest.empty() || !words.Add(Find(kSuffixParts, rest[0]))) return words.sound = false;
            if (rest[0] == 'p') return AddPersonGenderNumber(words, rest.substr(1));
            return rest.size() == 1 || (words.sound = false);
        case 'T':
            if (rest.empty()) {
                words.Add("particule", "part.");
                return true;
            }
            return rest.size() == 1 && words.Add(Find(kParticles, rest[0]));
        case 'V':
            return AddVerbPart(words, rest, aramaic);
        default:
            return words.sound = false;
    }
}

}  // namespace

Parsing ExpandOshm(std::string_view code) {
    if (code.empty() || code.size() > kLongestCode) return Unknown(code, {}, {});
    const Term* language = Find(kLanguages, code[0]);
    if (!language) return Unknown(code, {}, {});
    std::vector<std::string> full;
    std::vector<std::string> brief;
    bool sound = true;
    std::vector<std::string_view> parts = Split(code.substr(1), '/');
    // The table and the texts end a few codes with an empty part: nothing
    // written after the last '/'.
    if (parts.size() > 1 && parts.back().empty()) parts.pop_back();
    for (std::string_view part : parts) {
        Words words;
        AddOshmPart(words, part, code[0] == 'A');
        full.push_back(Join(words.full, ", "));
        brief.push_back(Join(words.brief, " "));
        if (!words.sound) {
            sound = false;
            break;
        }
    }
    std::string fullText = std::string(language->full) + ", " + Join(full, " ; ");
    std::string briefText = std::string(language->brief) + " " + Join(brief, " ; ");
    if (!sound) return Unknown(code, fullText, briefText);
    return {std::move(fullText), std::move(briefText), true};
}

}  // namespace lorvane::words
