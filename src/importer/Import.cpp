#include "Import.h"

#include <fcntl.h>
#include <stdio.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <system_error>

#include "BibleForm.h"
#include "BibleName.h"
#include "BibleText.h"
#include "Canon.h"
#include "Commentary.h"
#include "DataFolder.h"
#include "FctLoad.h"
#include "Reasons.h"
#include "StudyPages.h"
#include "SwordSource.h"
#include "Usfm.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;
using datawriter::FrenchPlace;

[[noreturn]] void Unwritable(const fs::path& folder, const std::exception& e,
                             std::uintmax_t needed) {
    std::cerr << "import: cannot write in " << folder << ": " << e.what() << "\n";
    throw ImportError(UnwritableFolder(folder, e, needed));
}

// About what the new data folder takes on disk: its tables, and the files
// that come with the study pages, copied and then unpacked beside them.
std::uintmax_t NeededBytes(const BibleData& bible, const fs::path& current) {
    std::uintmax_t n =
        bible.books.size() * 108 + bible.headings.size() * 168 + bible.crossRefs.size() * 32;
    for (const auto& v : bible.verses)
        n += v.text.size() + 8;
    std::error_code ec;
    for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code sizeEc;
        const std::uintmax_t size = it->file_size(sizeEc);
        if (!sizeEc && !(IsDataFileName(name) && name.compare(0, 5, "them.") != 0)) n += 2 * size;
    }
    return n;
}

// Puts `fresh` in the place of `place` at once: the two folders exchange
// their names, so that a crash at any moment leaves a whole data folder
// under that name. Where the file system cannot exchange, the old folder
// steps aside first and comes back if the new one cannot take its place.
void ExchangeFolders(const fs::path& fresh, const fs::path& place) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(place, ec))) {
        fs::rename(fresh, place);
        return;
    }
    if (::renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, place.c_str(), RENAME_EXCHANGE) == 0) return;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        throw std::system_error(errno, std::generic_category());
    const fs::path aside = fresh.string() + ".old";
    fs::rename(place, aside);
    fs::rename(fresh, place, ec);
    if (ec) {
        fs::rename(aside, place);
        throw std::system_error(ec);
    }
    fs::rename(aside, fresh);
}

// What the reader is told of the source's files and letters, one line each.
std::string SourceRemarks(const Report& report) {
    std::vector<std::string> lines;
    auto names = [&](const char* kind) {
        std::string list;
        const auto& examples = report.Examples(kind);
        for (std::size_t i = 0; i < examples.size() && i < 3; ++i)
            list += (i ? ", « " : "« ") + examples[i] + " »";
        if (report.Count(kind) > 3) list += "…";
        return list;
    };
    if (const int n = report.Count(kAssumedCp1252); n > 0) {
        lines.push_back((n == 1 ? "Le fichier " : "Les fichiers ") + names(kAssumedCp1252) +
                        (n == 1 ? " ne dit pas son encodage et n'est pas en UTF-8 : il a été lu"
                                : " ne disent pas leur encodage et ne sont pas en UTF-8 : ils ont "
                                  "été lus") +
                        " en Windows-1252.");
    }
    if (const int n = report.Count(kStrayBytes); n > 0) {
        const std::string& first = report.Examples(kStrayBytes).front();
        lines.push_back(
            std::to_string(n) +
            (n == 1 ? " octet hors UTF-8 a été lu en Windows-1252 (« "
                    : " octets hors UTF-8 ont été lus en Windows-1252 (le premier dans « ") +
            first.substr(0, first.rfind(", ")) + " », " + first.substr(first.rfind(", ") + 2) +
            ").");
    }
    if (const int n = report.Count(kInvalidUtf8); n > 0) {
        const std::string& first = report.Examples(kInvalidUtf8).front();
        lines.push_back(
            std::to_string(n) +
            (n == 1 ? " octet hors UTF-8 a été remplacé par « \uFFFD » (« "
                    : " octets hors UTF-8 ont été remplacés par « \uFFFD » (le premier dans « ") +
            first.substr(0, first.rfind(", ")) + " », " + first.substr(first.rfind(", ") + 2) +
            ").");
    }
    for (const std::string& said : report.Examples(kSaidWrongly))
        lines.push_back(said);
    if (const int n = report.Count(kNoncharacters); n > 0)
        lines.push_back(
            (n == 1 ? "Un caractère réservé (non-caractère Unicode) a été retiré"
                    : std::to_string(n) + " caractères réservés (non-caractères Unicode) ont été "
                                          "retirés") +
            std::string(" (le premier en ") + report.Examples(kNoncharacters).front() + ").");
    if (const int n = report.Count(kExcessMarks); n > 0)
        lines.push_back(std::to_string(n) +
                        " signes diacritiques au-delà de 30 sur une même lettre ont été retirés "
                        "(le premier en " +
                        report.Examples(kExcessMarks).front() + ").");
    if (const int n = report.Count(kBidiControls); n > 0)
        lines.push_back(std::to_string(n) +
                        (n == 1 ? " marque de sens d'écriture a été gardée, sans effet au-delà de "
                                  "son verset"
                                : " marques de sens d'écriture ont été gardées, sans effet "
                                  "au-delà de leur verset") +
                        " (la première en " + report.Examples(kBidiControls).front() + ").");
    for (const std::string& twice : report.Examples(kGivenTwice))
        lines.push_back(twice);
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

// The verses left out for their number, one line per kind: « Psaumes 3 :
// un verset numéroté 0 a été laissé de côté. », « 4 versets numérotés 0
// ont été laissés de côté (le premier en Psaumes 3). »
std::string NumberRemarks(const Report& report) {
    struct Kind {
        const char* kind;
        const char* one;   // after « Psaumes 3 : »
        const char* many;  // after the count
    };
    static constexpr Kind kKinds[] = {
        {kVerseZero, "un verset numéroté 0 a été laissé de côté",
         " versets numérotés 0 ont été laissés de côté"},
        {kVerseNegative, "un verset numéroté au-dessous de 0 a été laissé de côté",
         " versets numérotés au-dessous de 0 ont été laissés de côté"},
        {kVerseUnnumbered, "un verset sans numéro a été laissé de côté",
         " versets sans numéro ont été laissés de côté"},
    };
    std::string text;
    for (const Kind& k : kKinds) {
        const int n = report.Count(k.kind);
        if (n == 0) continue;
        // "PSA 3:0 (file:line)": the book and chapter.
        const std::string& first = report.Examples(k.kind).front();
        const std::string place = FrenchPlace(first.substr(0, first.find(':')));
        text += (text.empty() ? "" : "\n") +
                (n == 1 ? place + " : " + k.one + "."
                        : std::to_string(n) + k.many + " (le premier en " + place + ").");
    }
    return text;
}

void RemoveQuietly(const fs::path& p) {
    std::error_code ignored;
    fs::remove_all(p, ignored);
}

}  // namespace

std::string ImportSummary(int books, const std::vector<int>& missing) {
    std::string text = std::to_string(books) + (books == 1 ? " livre importé" : " livres importés");
    if (missing.empty()) return text + ".";
    return text + " ; manquent : " + MissingBooksText(missing) + ".";
}

std::string CommentaryHeadline(const ImportResult& result) {
    return "Commentaire importé depuis " + result.form + " : " + std::to_string(result.entries) +
           (result.entries == 1 ? " entrée." : " entrées.");
}

std::string LeftOutEntriesText(int leftOut) {
    if (leftOut <= 0) return {};
    if (leftOut == 1) return "Une entrée illisible ou mal placée a été laissée de côté.";
    return std::to_string(leftOut) + " entrées illisibles ou mal placées ont été laissées de côté.";
}

std::string ImportHeadline(const ImportResult& result) {
    const std::string from = result.form.empty() ? "des fichiers USFM" : result.form;
    return "Bible importée depuis " + from + " : " + ImportSummary(result.books, result.missing);
}

std::string ImportRemarks(const Report& report) {
    std::string sources = SourceRemarks(report);
    for (const std::string& more : {OutsideBooksText(report), NumberRemarks(report)})
        if (!more.empty()) sources += (sources.empty() ? "" : "\n") + more;
    const int jumps = report.Count("verse numbers out of sequence");
    if (jumps == 0) return sources;
    std::string text = "Numéros de versets hors de suite : " + std::to_string(jumps) +
                       (jumps == 1 ? " endroit" : " endroits");
    const auto& examples = report.Examples("verse numbers out of sequence");
    if (!examples.empty()) {
        // "MRK 9:46 after 9:44 (file:line)": the place only.
        const std::string& e = examples.front();
        const std::size_t end = e.find(' ', e.find(' ') + 1);
        text += ", par exemple " + FrenchPlace(e.substr(0, end));
    }
    return sources + (sources.empty() ? "" : "\n") + text + ".";
}

void RemoveImportLeftovers(const std::string& appDir) {
    const fs::path app = fs::path(appDir).lexically_normal();
    const fs::path folder = app.has_filename() ? app : app.parent_path();
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(folder / "data.new", ec))) return;
    std::cerr << "lorvane: removing " << (folder / "data.new") << ", left by an import cut short\n";
    RemoveQuietly(folder / "data.new");
}

ImportResult ImportBible(const std::string& appDir, const fs::path& source,
                         const ImportSteps& steps) {
    return ImportBible(appDir, appDir, source, steps);
}

namespace {

// The commentary the helper read, checked and written in `folder`.
ImportResult KeepCommentary(const fs::path& folder, HelperCommentary read, const fs::path& shown) {
    int entries = 0;
    try {
        entries = static_cast<int>(commentary::Commentary::FromBytes(read.file).Count());
    } catch (const commentary::CommentaryError& e) {
        throw ImportError(e.what());
    }
    try {
        datawriter::WriteFile((folder / commentary::kCommentaryFile).string(), read.file);
    } catch (const std::exception& e) {
        Unwritable(shown, e, read.file.size());
    }
    ImportResult result{Communs(folder.string() + "/"),
                        0,
                        {},
                        Report(),
                        "un " + read.form,
                        read.name.empty() ? read.abbreviation : read.name,
                        {},
                        read.abbreviation};
    result.commentary = true;
    result.entries = entries;
    result.leftOut = read.leftOut;
    return result;
}

// ImportBible into appDir; a folder that cannot be written is named as
// `shown`, the folder the reader can act on.
// Imports `source` into appDir's data/: through data.new/, exchanged with
// the data/ in use, or, for a Bible of its own (`ownFolder`: appDir is a
// new, empty folder), written there at once, with no study pages unpacked.
ImportResult ImportInto(const std::string& appDir, const std::string& bibleDir,
                        const fs::path& source, const ImportSteps& steps, const fs::path& shown,
                        bool ownFolder) {
    auto checkCancel = [&] {
        if (steps.cancelled && steps.cancelled()) throw ImportCancelled();
    };
    const fs::path app = fs::path(appDir).lexically_normal();
    const fs::path folder = app.has_filename() ? app : app.parent_path();
    const fs::path data = folder / "data";
    const fs::path staging = folder / "data.new";
    const fs::path written = ownFolder ? data : staging / "data";
    // The data folder in use, whose study pages go with the new Bible.
    const fs::path current = fs::path(bibleDir) / "data";

    Report report;
    BibleData bible;
    std::string form;
    std::string name;
    std::string abbreviation;  // the source's own
    HelperBible sword;
    if (IsSwordSource(source)) {
        HelperCommentary commentary;
        sword = ReadSwordSource(source,
                                steps.swordHelper.empty() ? SwordHelperPath() : steps.swordHelper,
                                steps.scratch.empty() ? fs::temp_directory_path() : steps.scratch,
                                steps.cancelled, ownFolder ? &commentary : nullptr);
        if (!commentary.file.empty()) return KeepCommentary(folder, std::move(commentary), shown);
        bible = std::move(sword.bible);
        for (const std::string& book : sword.outside)
            report.Warn("books outside the 66, skipped", book + " (module)", 40);
        FinishBible(bible, report);
        form = "un " + sword.form;
        name = std::move(sword.name);
        abbreviation = std::move(sword.abbreviation);
    } else {
        std::vector<SourceFile> files = ReadUsfmSource(source, steps.limits, steps.cancelled);
        UsfmImportOptions options;
        options.partial = true;
        options.reading = steps.reading;
        options.cancelled = steps.cancelled;
        FormBible read = ImportBibleFiles(std::move(files), source.string(), options, report);
        bible = std::move(read.bible);
        form = BibleFormName(read.form, read.files);
        name = std::move(read.name);
        abbreviation = std::move(read.abbreviation);
    }
    BibleNaming naming = NameImportedBible({std::move(name), std::move(abbreviation)}, source);
    name = std::move(naming.name);
    abbreviation = std::move(naming.abbreviation);
    const std::vector<int> missing = MissingBooks(bible);
    std::vector<ShortBook> shortBooks = ShortBooks(bible);
    if (report.HasErrors()) {
        // The details are the developer's (English), for standard error;
        // the reader is told the verse ("verse GEN 3:16 holds ...").
        report.Print(std::cerr);
        const std::string& first = report.Errors().front();
        std::string where;
        if (first.compare(0, 6, "verse ") == 0) {
            const std::size_t end = first.find(' ', first.find(' ', 6) + 1);
            where =
                " (" + FrenchPlace(first.substr(6, end == std::string::npos ? end : end - 6)) + ")";
        }
        throw ImportError(
            "Cette Bible ne peut pas être importée : un de ses versets ne tient pas "
            "dans les données de Lorvane" +
            where + ".");
    }
    checkCancel();
    const std::uintmax_t needed = NeededBytes(bible, current);

    // What an earlier import left behind, if it was cut short.
    RemoveQuietly(staging);
    Communs fresh(folder.string() + (ownFolder ? "/" : "/data.new/"));
    const fs::path& unfinished = ownFolder ? data : staging;
    try {
        try {
            if (!ownFolder) fs::create_directory(staging);
            WriteDataFolder(written, bible, {}, {});
            // The Bible's short name, for the references of copied verses.
            if (!abbreviation.empty())
                datawriter::WriteFile((written / kAbbreviationFile).string(), abbreviation + "\n");
            // And its own name, by which the reader finds it among others.
            if (!name.empty()) datawriter::WriteFile((written / kNameFile).string(), name + "\n");
            // The study pages go with the program, not with the text; any
            // other file found in data/ stays with it too (not the old
            // Bible's short name and name).
            for (const auto& entry : fs::directory_iterator(current)) {
                const std::string name = entry.path().filename().string();
                const bool table = IsDataFileName(name) && name.compare(0, 5, "them.") != 0;
                if (!table && entry.is_regular_file()) fs::copy_file(entry.path(), written / name);
            }
        } catch (const ImportCancelled&) {
            throw;
        } catch (const std::exception& e) {
            Unwritable(shown, e, needed);
        }
        bible = {};
        checkCancel();

        try {
            // A Bible of its own shows the program's study pages.
            if (ownFolder)
                LoadAllTables(fresh);
            else
                LoadDataFolder(fresh, nullptr);
        } catch (const std::exception& e) {
            std::cerr << "import: the new data folder does not load: " << e.what() << "\n";
            // Its study pages are unpacked as it loads.
            const auto* se = dynamic_cast<const std::system_error*>(&e);
            if (DiskFull(shown, needed, se ? se->code().value() : 0))
                throw ImportError(NoSpaceIn(shown, needed));
            throw ImportError(
                "Les données importées ne se chargent pas : la Bible n'a pas été "
                "changée.");
        }
        checkCancel();

        try {
            if (!ownFolder) ExchangeFolders(staging / "data", data);
        } catch (const std::exception& e) {
            Unwritable(shown, e, needed);
        }
    } catch (...) {
        RemoveQuietly(unfinished);
        throw;
    }
    if (!ownFolder) {
        // From here the new data is in place: the pages shown follow it,
        // and what is left of the old folder goes.
        try {
            ExchangeFolders(staging / "them", folder / "them");
        } catch (const std::exception&) {
            fresh.AppDir = fresh.BibleDir = folder.string() + "/";
            UnpackStudyPages(fresh, nullptr);
        }
        RemoveQuietly(staging);
    }

    ImportResult result{std::move(fresh),
                        kBooks - static_cast<int>(missing.size()),
                        missing,
                        std::move(report),
                        std::move(form),
                        std::move(name),
                        std::move(shortBooks),
                        std::move(abbreviation)};
    result.tables.AppDir = result.tables.BibleDir = folder.string() + "/";
    return result;
}

}  // namespace

ImportResult ImportBible(const std::string& appDir, const std::string& bibleDir,
                         const fs::path& source, const ImportSteps& steps) {
    const fs::path app = fs::path(appDir).lexically_normal();
    return ImportInto(appDir, bibleDir, source, steps, app.has_filename() ? app : app.parent_path(),
                      false);
}

ImportResult ImportNewBible(const std::string& staging, const std::string& bibleDir,
                            const fs::path& source, const ImportSteps& steps) {
    const fs::path folder = fs::path(staging).lexically_normal();
    const fs::path place = folder.has_filename() ? folder : folder.parent_path();
    std::error_code ec;
    fs::create_directories(place.parent_path(), ec);
    if (!fs::create_directory(place, ec)) {
        if (!ec) ec = std::make_error_code(std::errc::file_exists);
        Unwritable(place.parent_path(), std::system_error(ec), kTypicalBibleBytes);
    }
    try {
        // The staging folder goes with a failure: the reader is told of
        // the folder that holds it.
        return ImportInto(place.string() + "/", bibleDir, source, steps, place.parent_path(), true);
    } catch (...) {
        RemoveQuietly(place);
        throw;
    }
}

}  // namespace lorvane::importer
