// lorvane-data: writes a data folder for Lorvane.

#include <filesystem>
#include <iostream>
#include <string>

#include "ArchiveWriter.h"
#include "Canon.h"
#include "Cp1252.h"
#include "DataWriter.h"

namespace fs = std::filesystem;
using namespace lorvane;

namespace {

int Usage() {
    std::cerr << "usage: lorvane-data --sample --out DATA_DIR\n";
    return 2;
}

// Three small study pages in place of the real ones, clearly marked as
// samples: the program needs livres.htm, index.htm and glossaire.htm.
void WriteSamplePages(const fs::path& out) {
    auto page = [](const std::string& title, const std::string& body) {
        return cp1252::FromUtf8("<html><head><title>" + title +
                                "</title></head><body>\r\n<p><i>Page d'exemple : les pages "
                                "d'étude complètes s'installent avec le jeu de données "
                                "complet.</i></p>\r\n<h2>" +
                                title + "</h2>\r\n" + body + "</body></html>\r\n");
    };
    std::string books = "<table>\r\n";
    for (int b = 1; b <= 66; ++b) {
        books += "<tr><td><a href=\"" + std::to_string(b) + "\">" +
                 std::string(datawriter::kCanon[b - 1].name) + "</a></td><td>" +
                 std::to_string(datawriter::kCanon[b - 1].chapters) + "</td></tr>\r\n";
    }
    books += "</table>\r\n";
    const std::uint32_t date = archive::ToDosDateTime(std::time(nullptr));
    const std::vector<archive::Member> pages{
        {"livres.htm", date, page("Les livres de la Bible (exemple)", books)},
        {"index.htm", date,
         page("Thèmes d'étude (exemple)",
              "<p><a href=\"glossaire.htm\">Glossaire</a></p>\r\n<p>Exemple de lien vers un "
              "verset : <a href=\"43:3:16\">Jean 3:16</a></p>\r\n")},
        {"glossaire.htm", date,
         page("Glossaire (exemple)",
              "<a name=\"A\"></a><p><b>Alliance</b> : exemple d'article du "
              "glossaire.</p>\r\n<a name=\"Longueur\"></a><p>Coudée : environ 44,5 "
              "cm.</p>\r\n")},
    };
    archive::WriteArchive((out / "them.dat").string(), pages);
}

// A small folder for trying the program: the 66 books with their names and
// chapter counts, a few verses of sample text in each chapter.
void WriteSample(const fs::path& out) {
    std::vector<datawriter::BookRecord> books;
    std::vector<datawriter::VerseEntry> verses;
    std::vector<datawriter::IndexRecord> headings;
    std::vector<datawriter::CrossRefRecord> refs;
    for (int b = 1; b <= 66; ++b) {
        const auto& canon = datawriter::kCanon[b - 1];
        books.push_back(
            {cp1252::FromUtf8(canon.name), cp1252::FromUtf8(canon.abbreviation), canon.chapters});
        for (int c = 1; c <= canon.chapters; ++c) {
            headings.push_back({'E', b, c, 1, cp1252::FromUtf8("Exemple de titre de section")});
            for (int v = 1; v <= 12; ++v) {
                verses.push_back(
                    {b, c, v,
                     cp1252::FromUtf8("Texte d'exemple du verset " + std::to_string(v) +
                                      " : le texte biblique complet s'installe avec "
                                      "« make run BIBLE=dossier ».")});
            }
            refs.push_back({b, c, 2, 0, b == 1 ? 43 : 1, 1, 1, 3});
        }
    }
    fs::create_directories(out);
    datawriter::WriteFile((out / "livre.dat").string(), datawriter::EncodeBooks(books));
    datawriter::WriteFile((out / "bible.dat").string(), datawriter::EncodeVerses(verses));
    datawriter::WriteFile((out / "index.dat").string(), datawriter::EncodeIndexes(headings));
    datawriter::WriteFile((out / "citat.dat").string(), "");
    datawriter::WriteFile((out / "refer.dat").string(), datawriter::EncodeCrossRefs(refs));
    WriteSamplePages(out);
    std::cout << "sample data: " << books.size() << " books, " << verses.size() << " verses, "
              << headings.size() << " headings, " << refs.size()
              << " cross-references, 3 sample study pages\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode, outDir;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--sample") {
            mode = "sample";
        } else if (arg == "--out" && i + 1 < argc) {
            outDir = argv[++i];
        } else {
            return Usage();
        }
    }
    if (mode.empty() || outDir.empty()) return Usage();
    try {
        WriteSample(outDir);
    } catch (const std::exception& e) {
        std::cerr << "lorvane-data: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
