// The search on the Louis Segond data set, when its folder is beside the
// project: what each query finds is checked against a plain scan of the
// USFM text, made here without the importer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "Cp1252.h"
#include "DataFolder.h"
#include "FctLoad.h"
#include "Fixtures.h"
#include "SearchEngine.h"

namespace lorvane {
namespace {

namespace fs = std::filesystem;

// A verse of the plain scan, in Windows-1252 with the keyboard apostrophe.
struct ScannedVerse {
    int book, chapter, verse;
    std::string text;
};

// The verse texts of the USFM files: the words after each \v, up to the
// next verse or heading, without notes, cross-references and markers.
std::vector<ScannedVerse> ScanUsfm(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".usfm") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    const std::regex notes(R"(\\(f|fe|x|rq|va|vp|fig) .*?\\\1\*)");
    const std::regex charMarker(R"(\\\+?[a-z]+[0-9]*\*? ?)");
    const std::regex spaces(" {2,}");
    std::vector<ScannedVerse> out;
    int book = 0;
    for (const fs::path& file : files) {
        ++book;
        std::ifstream in(file);
        std::string line;
        int chapter = 0;
        bool inVerse = false;
        while (std::getline(in, line)) {
            line = std::regex_replace(line, notes, " ");
            std::smatch m;
            const std::regex lead(R"(^\\([a-z]+)[0-9]* ?(.*)$)");
            std::string rest = line;
            if (std::regex_match(line, m, lead)) {
                const std::string name = m[1];
                rest = m[2];
                if (name == "c") {
                    chapter = std::stoi(rest);
                    inVerse = false;
                    continue;
                }
                static const std::vector<std::string> paragraphs = {
                    "p", "m", "q", "pi", "mi", "nb", "pc", "li", "v", "b", "qr", "qc", "pm"};
                if (std::find(paragraphs.begin(), paragraphs.end(), name) == paragraphs.end()) {
                    inVerse = false;  // a heading or the book's front matter
                    continue;
                }
                if (name == "v") rest = line;
            }
            // The verses that start on this line, and the text before them.
            std::size_t at = 0;
            while (at <= rest.size()) {
                const std::size_t v = rest.find("\\v ", at);
                const std::string piece = rest.substr(at, v == std::string::npos ? v : v - at);
                if (inVerse && !out.empty()) out.back().text += " " + piece;
                if (v == std::string::npos) break;
                std::size_t numberEnd = rest.find(' ', v + 3);
                if (numberEnd == std::string::npos) numberEnd = rest.size();
                out.push_back({book, chapter, std::stoi(rest.substr(v + 3)), ""});
                inVerse = true;
                at = numberEnd + 1;
            }
        }
    }
    for (ScannedVerse& v : out) {
        std::string t = std::regex_replace(v.text, charMarker, "");
        t = std::regex_replace(t, spaces, " ");
        while (!t.empty() && t.front() == ' ')
            t.erase(0, 1);
        while (!t.empty() && t.back() == ' ')
            t.pop_back();
        t = std::regex_replace(t, std::regex("\u2019|\u2018"), "'");
        v.text = t;
    }
    return out;
}

// The Louis Segond tables, built once, and the plain scan.
class LouisSegond : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
#ifdef LORVANE_SANITIZED
        return;
#endif
        if (!fs::is_directory(LORVANE_LSG_DIR)) return;
        dir_ = new testing::TempDir;
        importer::BuildOptions options;
        options.from = LORVANE_LSG_DIR;
        importer::Report report;
        if (!importer::BuildDataSet(options, dir_->path() / "data", report)) return;
        c_ = new Communs(dir_->appDir());
        LoadAllTables(*c_);
        scan_ = new std::vector<ScannedVerse>(ScanUsfm(LORVANE_LSG_DIR));
    }
    static void TearDownTestSuite() {
        delete scan_;
        delete c_;
        delete dir_;
    }
    void SetUp() override {
#ifdef LORVANE_SANITIZED
        // Building the data set takes minutes under the sanitizers; the
        // engine is tested there on small Bibles.
        GTEST_SKIP() << "not run in the sanitizer build";
#endif
        if (!c_) GTEST_SKIP() << "no Louis Segond folder";
        ASSERT_GT(scan_->size(), 31000u);
    }

    // The verses of the scan (of one book, or all when 0) holding, for each
    // group, one of its forms.
    static int Scan(const std::vector<std::vector<std::string>>& groups, int book = 0) {
        int n = 0;
        for (const ScannedVerse& v : *scan_) {
            if (book && v.book != book) continue;
            bool all = true;
            for (const auto& forms : groups) {
                bool any = false;
                for (const std::string& f : forms)
                    any = any || v.text.find(f) != std::string::npos;
                all = all && any;
            }
            n += all;
        }
        return n;
    }

    static SearchResults Run(const std::string& utf8, int method, int scope = kScopeWholeBible,
                             int book = 1) {
        SearchRequest r;
        r.query = utf8;
        r.method = method;
        r.scope = scope;
        r.currentBook = book;
        return Search(*c_, r, []() -> const FoldedVerses& {
            static const FoldedVerses folded(*c_);
            return folded;
        });
    }

    static std::string W(const char* utf8) {
        return utf8;
    }

    static inline testing::TempDir* dir_ = nullptr;
    static inline Communs* c_ = nullptr;
    static inline std::vector<ScannedVerse>* scan_ = nullptr;
};

TEST_F(LouisSegond, ScanAgreesWithTheTables) {
    int same = 0;
    for (const ScannedVerse& v : *scan_) {
        const std::int32_t slot = c_->VerseLookup(v.book, v.chapter, v.verse);
        ASSERT_GT(slot, 0) << v.book << " " << v.chapter << ":" << v.verse;
        same += v.text == c_->VerseTable[static_cast<std::size_t>(slot)].Text;
    }
    EXPECT_GT(same, 30900);  // the scan is plain: a few verses differ in their spaces or signs
}

TEST_F(LouisSegond, QueriesRunExactlyAsTyped) {
    // The capital of a word's first letter is the only one the search adds.
    const int saintEsprit = Scan({{"Saint-Esprit"}});
    EXPECT_GT(saintEsprit, 50);
    EXPECT_EQ(Run("Saint-Esprit", kSearchWords).total, saintEsprit);
    EXPECT_EQ(Run("saint-esprit", kSearchWords).total, Scan({{"saint-esprit", "Saint-esprit"}}));
    EXPECT_EQ(Run("Éternel", kSearchWords, kScopeBook, 1).total, Scan({{W("Éternel")}}, 1));
    EXPECT_EQ(Run("ÉTERNEL", kSearchWords, kScopeBook, 1).total, Scan({{W("ÉTERNEL")}}, 1));

    // A long phrase matches whole, its first letter in either case.
    const std::string john = "Car Dieu a tant aimé le monde qu’il a donné son Fils";
    EXPECT_EQ(Run(john + " chien", kSearchPhrase).total, 0);
    const SearchResults unique = Run(john + " unique", kSearchPhrase);
    EXPECT_EQ(unique.total,
              Scan({{W("Car Dieu a tant aimé le monde qu'il a donné son Fils unique")}}));
    ASSERT_EQ(unique.items.size(), 1u);
    EXPECT_EQ(unique.items[0].value, 43003);
    EXPECT_EQ(
        Run("car Dieu a tant aimé le monde qu'il a donné son Fils unique", kSearchPhrase).total, 1);
}

TEST_F(LouisSegond, SpacesOnlySeparateWords) {
    const int coeur = Scan({{W("cœur"), W("Cœur")}});
    EXPECT_EQ(Run(" cœur", kSearchWords).total, coeur);
    EXPECT_EQ(Run("cœur ", kSearchWords).total, coeur);
    const int pur = Scan({{W("cœur"), W("Cœur")}, {"pur", "Pur"}});
    EXPECT_GT(pur, 5);
    EXPECT_EQ(Run("cœur  pur", kSearchWords).total, pur);
    EXPECT_EQ(Run("\tcœur pur ", kSearchWords).total, pur);
    const int phrase = Scan({{"au commencement", "Au commencement"}});
    EXPECT_EQ(Run("  au   commencement ", kSearchPhrase).total, phrase);
    EXPECT_EQ(Run("  au   commencement ", kSearchFolded).total,
              Run("au commencement", kSearchFolded).total);
}

TEST_F(LouisSegond, ResultsShowTheVerseWithoutStrayMarkup) {
    // Without its colour tags, each item is the reference in bold and the
    // verse; every colour holds a piece of the verse, one level deep.
    const std::regex colour("<FONT color=\"#C00400\">([^<]*)</FONT>");
    for (const auto& [query, method] :
         std::vector<std::pair<std::string, int>>{{"O Éternel", kSearchWords},
                                                  {"B", kSearchWords},
                                                  {"or", kSearchWords},
                                                  {"Éternel Dieu", kSearchFolded},
                                                  {"O Éternel", kSearchPhrase}}) {
        const SearchResults r = Run(query, method);
        ASSERT_FALSE(r.items.empty()) << query;
        for (const SearchResultItem& item : r.items) {
            EXPECT_EQ(std::regex_replace(item.text, colour, "$1"), ResultItemText(*c_, item.slot))
                << query;
            const std::size_t verse = item.text.find("</B> : ");
            ASSERT_NE(verse, std::string::npos);
            EXPECT_EQ(item.text.substr(0, verse + 7),
                      ResultItemText(*c_, item.slot).substr(0, verse + 7))
                << query;
            EXPECT_NE(item.text.find("<FONT", verse), std::string::npos) << item.text;
        }
    }
}

TEST_F(LouisSegond, TheCapShowsTheFirstAndCountsTheRest) {
    const int dieu = Scan({{"Dieu"}});
    const SearchResults r = Run("Dieu", kSearchWords);
    EXPECT_TRUE(r.capped);
    EXPECT_EQ(r.total, dieu);
    ASSERT_EQ(r.items.size(), 200u);
    EXPECT_EQ(r.items.front().value, 1001);
    std::string number = std::to_string(dieu);
    if (number.size() > 3) number.insert(number.size() - 3, "\u00A0");
    EXPECT_EQ(HeadLine(r), W("<FONT color=\"gray\"><B>") + number +
                               W(" versets trouvés ; seuls les 200 premiers, dans l'ordre de la "
                                 "Bible, sont affichés. Ajoutez des mots ou limitez la zone de "
                                 "recherche.</B></FONT>"));
}

TEST_F(LouisSegond, NothingFoundPointsToTheFoldedMethod) {
    for (const char* query : {"eternel", "ESAIE", "coeur"}) {
        const SearchResults r = Run(query, kSearchWords);
        EXPECT_TRUE(r.items.empty()) << query;
        EXPECT_EQ(HeadLine(r), FoldedHintLine()) << query;
        EXPECT_FALSE(Run(query, kSearchFolded).items.empty()) << query;
    }
    EXPECT_EQ(HeadLine(Run("eternel des armees", kSearchPhrase)), FoldedHintLine());
    EXPECT_EQ(HeadLine(Run("ordinateur", kSearchWords)), CountLine(0));
}

TEST_F(LouisSegond, FoldedWordsAreWholeWords) {
    // Whole words of the scan, folded: letters and digits make words.
    auto wholeWord = [](const std::string& word, const std::string& prefix) {
        int n = 0;
        for (const ScannedVerse& v : *scan_) {
            const std::string f = FoldText(v.text);
            bool found = false;
            std::string w;
            for (std::size_t i = 0; i <= f.size() && !found; ++i) {
                const auto b = i < f.size() ? static_cast<unsigned char>(f[i]) : 0;
                if (std::isalnum(b) || b >= 0xC0) {
                    w += static_cast<char>(b);
                } else {
                    found = prefix.empty() ? w == word : w.rfind(prefix, 0) == 0;
                    w.clear();
                }
            }
            n += found;
        }
        return n;
    };
    const int foi = wholeWord("foi", "");
    EXPECT_GT(foi, 100);
    EXPECT_EQ(Run("foi", kSearchFolded).total, foi);
    EXPECT_LT(foi, Scan({{"foi", "Foi"}}));  // not « fois »
    EXPECT_EQ(Run("recu", kSearchFolded).total, wholeWord("recu", ""));
    EXPECT_EQ(Run("aim*", kSearchFolded).total, wholeWord("", "aim"));

    // A word's beginning colours the whole word.
    const SearchResults aim = Run("aim*", kSearchFolded, kScopeBook, 62);  // 1 Jean
    std::set<std::string> coloured;
    const std::regex colour("<FONT color=\"#C00400\">([^<]*)</FONT>");
    for (const SearchResultItem& item : aim.items)
        for (std::sregex_iterator i(item.text.begin(), item.text.end(), colour), end; i != end; ++i)
            coloured.insert((*i)[1]);
    for (const char* word : {"aime", "aimé", "aimer", "aimons", "aimez"})
        EXPECT_TRUE(coloured.count(W(word))) << word;
    for (const std::string& w : coloured)
        EXPECT_EQ(FoldText(w).rfind("aim", 0), 0u) << w;
}

}  // namespace
}  // namespace lorvane
