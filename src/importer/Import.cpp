#include "Import.h"

#include <fcntl.h>
#include <stdio.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "Canon.h"
#include "DataFolder.h"
#include "FctLoad.h"
#include "StudyPages.h"
#include "Usfm.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Unwritable(const fs::path& folder, const std::string& why) {
    throw ImportError("Impossible d'écrire dans le dossier « " + folder.string() + " » : " + why);
}

// The reason of a failure to write, without the paths a filesystem error
// repeats.
std::string Reason(const std::exception& e) {
    if (const auto* fe = dynamic_cast<const fs::filesystem_error*>(&e)) return fe->code().message();
    return e.what();
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

void RemoveQuietly(const fs::path& p) {
    std::error_code ignored;
    fs::remove_all(p, ignored);
}

}  // namespace

std::string ImportSummary(int books, const std::vector<int>& missing) {
    std::string text = std::to_string(books) + (books == 1 ? " livre importé" : " livres importés");
    if (missing.empty()) return text + ".";
    text += " ; manquent : ";
    const std::size_t shown = std::min<std::size_t>(missing.size(), 10);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) text += ", ";
        text += datawriter::kCanon[static_cast<std::size_t>(missing[i] - 1)].name;
    }
    text += missing.size() > shown ? ", …" : ".";
    return text;
}

std::string ImportRemarks(const Report& report) {
    const int jumps = report.Count("verse numbers out of sequence");
    if (jumps == 0) return {};
    std::string text = "Numéros de versets hors de suite : " + std::to_string(jumps) +
                       (jumps == 1 ? " endroit" : " endroits");
    const auto& examples = report.Examples("verse numbers out of sequence");
    if (!examples.empty()) {
        // "MRK 9:46 after 9:44 (file:line)": the place only.
        const std::string& e = examples.front();
        const std::size_t end = e.find(' ', e.find(' ') + 1);
        text += ", par exemple " + e.substr(0, end);
    }
    return text + ".";
}

ImportResult ImportBible(const std::string& appDir, const fs::path& source,
                         const ImportSteps& steps) {
    return ImportBible(appDir, appDir, source, steps);
}

ImportResult ImportBible(const std::string& appDir, const std::string& bibleDir,
                         const fs::path& source, const ImportSteps& steps) {
    auto checkCancel = [&] {
        if (steps.cancelled && steps.cancelled()) throw ImportCancelled();
    };
    const fs::path app = fs::path(appDir).lexically_normal();
    const fs::path folder = app.has_filename() ? app : app.parent_path();
    const fs::path data = folder / "data";
    const fs::path staging = folder / "data.new";
    // The data folder in use, whose study pages go with the new Bible.
    const fs::path current = fs::path(bibleDir) / "data";

    Report report;
    BibleData bible;
    {
        std::vector<SourceFile> files = ReadUsfmSource(source, steps.limits, steps.cancelled);
        if (files.empty())
            throw ImportError("Ce fichier ne contient aucun livre de la Bible au format USFM.");
        UsfmImportOptions options;
        options.partial = true;
        options.reading = steps.reading;
        options.cancelled = steps.cancelled;
        bible = ImportUsfmFiles(std::move(files), "USFM " + source.string(), options, report);
    }
    const std::vector<int> missing = MissingBooks(bible);
    if (report.HasErrors())
        throw ImportError("Cette Bible ne peut pas être importée : " + report.Errors().front());
    checkCancel();

    // What an earlier import left behind, if it was cut short.
    RemoveQuietly(staging);
    Communs fresh(folder.string() + "/data.new/");
    try {
        try {
            fs::create_directory(staging);
            WriteDataFolder(staging / "data", bible, {}, {});
            // The study pages go with the program, not with the text; any
            // other file found in data/ stays with it too.
            for (const auto& entry : fs::directory_iterator(current)) {
                const std::string name = entry.path().filename().string();
                const bool table = IsDataFileName(name) && name.compare(0, 5, "them.") != 0;
                if (!table && entry.is_regular_file())
                    fs::copy_file(entry.path(), staging / "data" / name);
            }
        } catch (const ImportCancelled&) {
            throw;
        } catch (const std::exception& e) {
            Unwritable(folder, Reason(e));
        }
        bible = {};
        checkCancel();

        try {
            LoadDataFolder(fresh, nullptr);
        } catch (const std::exception& e) {
            throw ImportError(std::string("Les données importées ne se chargent pas : ") +
                              e.what());
        }
        checkCancel();

        try {
            ExchangeFolders(staging / "data", data);
        } catch (const std::exception& e) {
            Unwritable(folder, Reason(e));
        }
    } catch (...) {
        RemoveQuietly(staging);
        throw;
    }
    // From here the new data is in place: the pages shown follow it, and
    // what is left of the old folder goes.
    try {
        ExchangeFolders(staging / "them", folder / "them");
    } catch (const std::exception&) {
        fresh.AppDir = fresh.BibleDir = folder.string() + "/";
        UnpackStudyPages(fresh, nullptr);
    }
    RemoveQuietly(staging);

    ImportResult result{std::move(fresh), kBooks - static_cast<int>(missing.size()), missing,
                        std::move(report)};
    result.tables.AppDir = result.tables.BibleDir = folder.string() + "/";
    return result;
}

}  // namespace lorvane::importer
