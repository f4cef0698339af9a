// lorvane-data: writes a data folder for Lorvane, from a USFM Bible, from a
// SWORD Bible module, from the Greek or the Hebrew text the program ships,
// or a small sample for trying the program; or the file of a Strong's
// dictionary, from a SWORD lexicon.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "Canon.h"
#include "Cp1252.h"
#include "DataFolder.h"
#include "DataWriter.h"
#include "FileIo.h"
#include "Report.h"
#include "SwordLexicon.h"

namespace fs = std::filesystem;
using namespace lorvane;

namespace {

int Usage() {
    std::cerr << "usage: lorvane-data MODE --out DATA_DIR [--partial] [--pages PAGES_DIR]\n"
                 "                    [--volume-size BYTES] [--name NAME] [--abbreviation ABBR]\n"
                 "       lorvane-data --strongs MODULE --out FILE\n"
                 "  MODE is one of:\n"
                 "  --usfm SOURCE      a USFM Bible, one file per book, in a folder or an archive\n"
                 "                     (fraLSG_usfm.zip); every book and every verse link of the\n"
                 "                     study pages must be there\n"
                 "  --sword MODULE     an installed SWORD Bible module (verse links of the\n"
                 "                     study pages that its versification lacks are reported)\n"
                 "  --greek DIR        the Byzantine Greek New Testament, its words tagged:\n"
                 "                     DIR/accented/*.csv and DIR/strongs-parsing/*.csv\n"
                 "  --hebrew DIR       the Hebrew Old Testament, a folder of OSIS books\n"
                 "  --sample           a small sample of 66 books with a few verses each\n"
                 "  --partial          missing books and verses are reported only\n"
                 "  --pages DIR        the study pages (default: "
              << LORVANE_PAGES_DIR
              << ")\n"
                 "  --volume-size N    split them.dat into volumes of about N bytes\n"
                 "  --name, --abbreviation  the Bible's name and short name (default: its own)\n"
                 "  --strongs MODULE   an installed SWORD Strong's lexicon (StrongsGreek,\n"
                 "                     StrongsHebrew), written as the program's dictionary file\n";
    return 2;
}

// The dictionary file of a Strong's lexicon, written whole or not at all.
int WriteStrongs(const std::string& module, const fs::path& out) {
    const auto start = std::chrono::steady_clock::now();
    importer::Report report;
    std::size_t size = 0, entries = 0;
    try {
        const importer::StrongsLexicon lexicon = importer::ImportStrongsLexicon(module, report);
        const std::string bytes = importer::StrongsFileOf(lexicon);
        if (out.has_parent_path()) fs::create_directories(out.parent_path());
        WriteFileAtomically(out.string(), bytes);
        size = bytes.size();
        entries = lexicon.entries.size();
    } catch (const std::exception& e) {
        std::cerr << "lorvane-data: " << e.what() << "\n";
        return 1;
    }
    report.Print(std::cout);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %zu entries, %zu bytes written to %s in %.2f s\n", module.c_str(), entries,
                size, out.c_str(), seconds);
    return 0;
}

// The 66 books with their names and chapter counts, a few verses of sample
// text in each chapter.
importer::BibleData Sample() {
    importer::BibleData bible;
    bible.source = "sample";
    for (int b = 1; b <= 66; ++b) {
        const auto& canon = datawriter::kCanon[b - 1];
        bible.books.push_back(
            {cp1252::FromUtf8(canon.name), cp1252::FromUtf8(canon.abbreviation), canon.chapters});
        for (int c = 1; c <= canon.chapters; ++c) {
            bible.headings.push_back(
                {'E', b, c, 1, cp1252::FromUtf8("Exemple de titre de section")});
            for (int v = 1; v <= 12; ++v) {
                bible.verses.push_back(
                    {b, c, v,
                     cp1252::FromUtf8("Texte d'exemple du verset " + std::to_string(v) +
                                      " : le texte biblique complet s'installe avec "
                                      "« make run BIBLE=dossier ».")});
            }
            bible.crossRefs.push_back({b, c, 2, 0, b == 1 ? 43 : 1, 1, 1, 3});
        }
    }
    return bible;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode, from, outDir, pagesDir;
    bool pagesGiven = false;
    importer::BuildOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--sample") {
            mode = "sample";
        } else if ((arg == "--usfm" || arg == "--sword" || arg == "--greek" || arg == "--hebrew" ||
                    arg == "--strongs") &&
                   hasValue) {
            mode = arg.substr(2);
            from = argv[++i];
        } else if (arg == "--partial") {
            options.partial = true;
        } else if (arg == "--name" && hasValue) {
            options.name = argv[++i];
        } else if (arg == "--abbreviation" && hasValue) {
            options.abbreviation = argv[++i];
        } else if (arg == "--out" && hasValue) {
            outDir = argv[++i];
        } else if (arg == "--pages" && hasValue) {
            pagesDir = argv[++i];
            pagesGiven = true;
        } else if (arg == "--volume-size" && hasValue) {
            try {
                options.archive.volumeSize = std::stoul(argv[++i]);
            } catch (const std::exception&) {
                return Usage();
            }
        } else {
            return Usage();
        }
    }
    if (mode.empty() || outDir.empty()) return Usage();
    if (mode == "strongs") {
        if (options.partial || pagesGiven || options.archive.volumeSize != 0 ||
            !options.name.empty() || !options.abbreviation.empty())
            return Usage();
        return WriteStrongs(from, outDir);
    }
    if (!pagesGiven) pagesDir = LORVANE_PAGES_DIR;

    const auto start = std::chrono::steady_clock::now();
    importer::Report report;
    try {
        if (mode == "sample") {
            // The sample's verses are too few for the pages' verse links:
            // they are reported, not refused.
            importer::BibleData bible = Sample();
            std::vector<importer::Page> pages;
            if (fs::is_directory(pagesDir)) {
                pages = importer::LoadPages(pagesDir);
                importer::CheckPages(pages, importer::VerseIndex(bible.verses), false, report);
            }
            importer::FinishBible(bible, report);
            if (!report.HasErrors())
                importer::WriteDataFolder(outDir, bible, pages, options.archive);
            std::cout << "sample data: " << bible.books.size() << " books, " << bible.verses.size()
                      << " verses, " << bible.headings.size() << " headings, "
                      << bible.crossRefs.size() << " cross-references, " << pages.size()
                      << " study pages\n";
        } else {
            using Source = importer::BuildOptions::Source;
            options.source = mode == "usfm"     ? Source::Usfm
                             : mode == "greek"  ? Source::Greek
                             : mode == "hebrew" ? Source::Hebrew
                                                : Source::Sword;
            options.from = from;
            options.pages = pagesDir;
            // A Testament alone cannot hold every verse the pages link to.
            options.strictVerseLinks = mode == "usfm" && !options.partial;
            importer::BuildDataSet(options, outDir, report);
            report.Print(std::cout);
        }
    } catch (const std::exception& e) {
        std::cerr << "lorvane-data: " << e.what() << "\n";
        return 1;
    }
    if (report.HasErrors()) {
        if (mode == "sample") report.Print(std::cerr);
        std::cerr << "lorvane-data: " << report.Errors().size()
                  << " errors, no data folder written\n";
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (mode != "sample") {
        std::printf("data folder written to %s in %.2f s\n", outDir.c_str(), seconds);
    }
    return 0;
}
