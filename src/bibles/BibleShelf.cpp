#include "BibleShelf.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

#include "Communs.h"
#include "FctLoad.h"
#include "ProgramFolders.h"
#include "Utf8.h"

namespace lorvane::bibles {
namespace fs = std::filesystem;

namespace {

const char kHeader[] =
    "# Les Bibles de Lorvane : dossier, sigle, nom, date d'importation.\n"
    "# Les lignes « #+ » sont celles des Bibles livrées avec Lorvane (dossier « *grc »...).\n";

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

bool IsDate(const std::string& text) {
    if (text.empty()) return true;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

// The abbreviation's letters and digits, lower-cased, for a folder name.
std::string FolderStem(const std::string& abbreviation) {
    std::string stem;
    for (char c : abbreviation) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) stem += c;
        if (stem.size() == 20) break;
    }
    return stem.empty() ? "bible" : stem;
}

void RemoveQuietly(const fs::path& path) {
    std::error_code ec;
    fs::remove_all(path, ec);
    if (ec) std::cerr << "lorvane: cannot remove " << path.string() << ": " << ec.message() << "\n";
}

}  // namespace

bool IsShippedFolder(const std::string& folder) {
    if (folder.size() < 2 || folder.size() > 41 || folder[0] != '*') return false;
    return std::all_of(folder.begin() + 1, folder.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
}

bool IsShelfFolderName(const std::string& folder) {
    if (folder.empty() || folder.size() > 40 || folder[0] == '-') return false;
    return std::all_of(folder.begin(), folder.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

std::string WriteShelfList(const ShelfList& list) {
    // The choice first: a list cut short by a damaged disk keeps it.
    // A shipped Bible's line is a comment to a program that does not know
    // them: it keeps the list and the reader's Bibles.
    const auto line = [](const std::string& folder) {
        return IsShippedFolder(folder) ? std::string(kShippedLine) : std::string();
    };
    std::string out = kHeader;
    if (!list.current.empty()) out += line(list.current) + "courante\t" + list.current + "\n";
    if (list.programHidden) out += std::string("cachee\t") + kProgramBible + "\n";
    for (const std::string& folder : list.hidden)
        if (IsShippedFolder(folder)) out += line(folder) + "cachee\t" + folder + "\n";
    for (const KeptBible& b : list.bibles)
        out += line(b.folder) + "bible\t" + b.folder + "\t" +
               CleanName(b.abbreviation, kMaxAbbreviation) + "\t" + CleanName(b.name) + "\t" +
               b.imported + "\n";
    return out;
}

ShelfList ReadShelfList(const std::string& text) {
    ShelfList list;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A shipped Bible's line; what of it does not read (a later
        // version's) is skipped as the comment it is to older programs.
        const bool shipped = line.rfind(kShippedLine, 0) == 0;
        if (shipped) line.erase(0, std::string_view(kShippedLine).size());
        if (line.empty() || (!shipped && line[0] == '#')) continue;
        const std::vector<std::string> f = SplitTabs(line);
        const bool folderOk = f.size() > 1 && (IsShelfFolderName(f[1]) || f[1] == kProgramBible ||
                                               IsShippedFolder(f[1]));
        if (f[0] == "bible" && f.size() == 5 && folderOk && IsDate(f[4])) {
            const bool twice = std::any_of(list.bibles.begin(), list.bibles.end(),
                                           [&](const KeptBible& b) { return b.folder == f[1]; });
            if (!twice) {
                list.bibles.push_back(
                    {f[1], CleanName(f[3]), CleanName(f[2], kMaxAbbreviation), f[4]});
                continue;
            }
        } else if (f[0] == "cachee" && f.size() == 2 && f[1] == kProgramBible) {
            list.programHidden = true;
            continue;
        } else if (f[0] == "cachee" && f.size() == 2 && IsShippedFolder(f[1])) {
            if (std::find(list.hidden.begin(), list.hidden.end(), f[1]) == list.hidden.end())
                list.hidden.push_back(f[1]);
            continue;
        } else if (f[0] == "courante" && f.size() == 2 && folderOk) {
            list.current = f[1];
            continue;
        }
        if (!shipped) ++list.unreadLines;
        std::cerr << "lorvane: line " << number
                  << " of the list of Bibles does not read; left out\n";
    }
    return list;
}

std::string DistinctAbbreviation(const std::string& abbreviation,
                                 const std::vector<KeptBible>& bibles) {
    const auto taken = [&](const std::string& a) {
        return std::any_of(bibles.begin(), bibles.end(),
                           [&](const KeptBible& b) { return b.abbreviation == a; });
    };
    if (!taken(abbreviation)) return abbreviation;
    for (int n = 2;; ++n) {
        const std::string number = std::to_string(n);
        // Cut on a character, so that the number still fits.
        const std::string numbered =
            CleanName(abbreviation, kMaxAbbreviation - number.size()) + number;
        if (!taken(numbered)) return numbered;
    }
}

bool SameText(const std::string& dirA, const std::string& dirB) {
    std::error_code ec;
    const fs::path a = fs::path(WithSlash(dirA)) / "data" / "bible.dat";
    const fs::path b = fs::path(WithSlash(dirB)) / "data" / "bible.dat";
    const auto size = fs::file_size(a, ec);
    if (ec || fs::file_size(b, ec) != size || ec) return false;
    try {
        return ReadWholeFile(a.string()) == ReadWholeFile(b.string());
    } catch (const std::exception&) {
        return false;
    }
}

int CountBooks(const std::string& bibleDir) {
    Communs c({}, WithSlash(bibleDir));
    try {
        LoadBookTable(c);
    } catch (const std::exception&) {
        return 0;
    }
    int books = 0;
    for (int b = 1; b <= kBookCount; ++b)
        if (c.BookTable[static_cast<std::size_t>(b)].ChapterCount > 0) ++books;
    return books;
}

std::string ReadLicence(const std::string& bibleDir) {
    const std::string dir = WithSlash(bibleDir);
    for (const std::string& path : {dir + "data/" + kLicenceFile, dir + kLicenceFile}) {
        std::string bytes;
        try {
            bytes = ReadFile(path, kMaxLicenceBytes);
        } catch (const FileError& e) {
            if (e.kind() != FileError::Kind::Missing)
                std::cerr << "lorvane: a licence does not read: " << e.what() << "\n";
            continue;
        }
        // UTF-8 whole (a stray byte is U+FFFD), one kind of line end, no
        // byte-order mark nor other invisible control.
        std::string text;
        text.reserve(bytes.size());
        for (std::size_t i = 0; i < bytes.size();) {
            const char32_t cp = utf8::Next(bytes, i);
            if (cp == '\r') {
                if (i >= bytes.size() || bytes[i] != '\n') text += '\n';
            } else if (cp == '\n' || cp == '\t' ||
                       (cp >= 0x20 && cp != 0x7F && cp != 0xFEFF && (cp < 0x80 || cp >= 0xA0))) {
                utf8::Append(text, cp);
            }
        }
        const std::size_t first = text.find_first_not_of('\n');
        if (first == std::string::npos) return {};
        text.erase(0, first);
        text.erase(text.find_last_not_of(" \t\n") + 1);
        return text;
    }
    return {};
}

std::string ShippedCredits(const BibleShelf& shelf) {
    std::string credits;
    for (const BibleShelf::ShippedBible& b : shelf.Shipped()) {
        if (!credits.empty()) credits += "\n\n";
        credits += b.name;
        if (!b.abbreviation.empty() && b.abbreviation != b.name &&
            b.abbreviation != kDefaultAbbreviation)
            credits += " (" + b.abbreviation + ")";
        std::string licence = ReadLicence(b.dir);
        // A licence that opens with the Bible's name does not say it twice.
        if (licence.compare(0, b.name.size(), b.name) == 0 &&
            (licence.size() == b.name.size() || licence[b.name.size()] == '\n'))
            licence.erase(0, std::min(licence.size(), b.name.size() + 1));
        if (!licence.empty()) credits += "\n" + licence;
    }
    return credits;
}

BibleShelf::BibleShelf(std::string shelfDir, std::string programBibleDir, std::string shippedDir)
    : shelfDir_(WithSlash(std::move(shelfDir))),
      programDir_(WithSlash(std::move(programBibleDir))),
      shippedDir_(shippedDir.empty() ? programDir_ : WithSlash(std::move(shippedDir))) {}

std::string BibleShelf::DirOf(std::size_t i) const {
    const KeptBible& b = bibles_.at(i);
    if (b.folder == kProgramBible) return programDir_;
    if (IsShippedFolder(b.folder))
        return shippedDir_ + kShippedFolder + "/" + b.folder.substr(1) + "/";
    return shelfDir_ + b.folder + "/";
}

std::optional<std::size_t> BibleShelf::Find(const std::string& dir) const {
    const fs::path wanted = fs::path(WithSlash(dir)).lexically_normal();
    for (std::size_t i = 0; i < bibles_.size(); ++i)
        if (fs::path(DirOf(i)).lexically_normal() == wanted) return i;
    return std::nullopt;
}

KeptBible BibleShelf::ProgramBible() const {
    KeptBible b;
    b.folder = kProgramBible;
    b.name = ReadNameFile(programDir_, kNameFile, kMaxName);
    b.abbreviation = ReadNameFile(programDir_, kAbbreviationFile, kMaxAbbreviation);
    if (b.name.empty()) b.name = kDefaultName;
    if (b.abbreviation.empty()) b.abbreviation = kDefaultAbbreviation;
    return b;
}

namespace {

// The process that left a shelf folder of its own: PID in import-PID.new or
// suppression-PID-<folder>.old; 0 for every other name.
long LeftoverPid(const std::string& name) {
    auto digits = [&](std::size_t from, char end) -> long {
        std::size_t i = from;
        long pid = 0;
        while (i < name.size() && name[i] >= '0' && name[i] <= '9' && i - from < 9)
            pid = pid * 10 + (name[i++] - '0');
        if (i == from || i >= name.size() || name[i] != end) return 0;
        return pid;
    };
    auto endsWith = [&](const std::string& tail) {
        return name.size() > tail.size() &&
               name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (name.rfind("import-", 0) == 0 && endsWith(".new") && name.find('.') == name.size() - 4)
        return digits(7, '.');
    if (name.rfind("suppression-", 0) == 0 && endsWith(".old")) return digits(12, '-');
    return 0;
}

bool ProcessGone(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// "2026-12-08", the day a folder was last changed.
std::string DayOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "";
    struct tm day {};
    if (!::localtime_r(&st.st_mtime, &day)) return "";
    char text[16];
    if (std::strftime(text, sizeof text, "%Y-%m-%d", &day) != 10) return "";
    return text;
}

bool Listed(const ShelfList& list, const std::string& folder) {
    return std::any_of(list.bibles.begin(), list.bibles.end(),
                       [&](const KeptBible& b) { return b.folder == folder; });
}

// The Bibles of <shippedDir>originaux/, sorted by id, each with whether its
// data set is whole. A folder not named as an id is no Bible of the
// program's: left out.
struct FoundShipped {
    BibleShelf::ShippedBible bible;
    bool whole = false;
};
std::vector<FoundShipped> FindShipped(const std::string& shippedDir) {
    std::vector<FoundShipped> found;
    const std::string root = shippedDir + kShippedFolder + "/";
    std::error_code ec;
    if (!fs::is_directory(root, ec)) return found;
    for (const auto& entry : fs::directory_iterator(root, ec)) {
        const std::string id = entry.path().filename().string();
        if (entry.is_symlink(ec) ? !fs::is_directory(entry.path(), ec) : !entry.is_directory(ec))
            continue;
        if (!IsShippedFolder("*" + id)) {
            std::cerr << "lorvane: " << entry.path().string()
                      << " is not named as a shipped Bible; left out\n";
            continue;
        }
        FoundShipped f;
        f.bible.folder = "*" + id;
        f.bible.dir = root + id + "/";
        f.bible.name = ReadNameFile(f.bible.dir, kNameFile, kMaxName);
        f.bible.abbreviation = ReadNameFile(f.bible.dir, kAbbreviationFile, kMaxAbbreviation);
        if (f.bible.name.empty())
            f.bible.name =
                f.bible.abbreviation.empty() ? kShippedFolder + ("/" + id) : f.bible.abbreviation;
        if (f.bible.abbreviation.empty()) f.bible.abbreviation = kDefaultAbbreviation;
        f.whole = HasDataSet(f.bible.dir);
        found.push_back(std::move(f));
    }
    std::sort(found.begin(), found.end(), [](const FoundShipped& a, const FoundShipped& b) {
        return a.bible.folder < b.bible.folder;
    });
    return found;
}

}  // namespace

std::unique_ptr<FileLock> BibleShelf::LockShelf() const {
    const std::string reason = UnwritableFolderReason(shelfDir_);
    if (!reason.empty()) throw ShelfError(reason);
    try {
        return std::make_unique<FileLock>(shelfDir_ + kLockFile);
    } catch (const FileError& e) {
        throw ShelfError(e.what());
    }
}

void BibleShelf::WriteList(const ShelfList& list) const {
    const std::string reason = UnwritableFolderReason(shelfDir_);
    if (!reason.empty()) throw ShelfError(reason);
    try {
        WriteFileAtomically(shelfDir_ + kListFile, WriteShelfList(list));
    } catch (const FileError& e) {
        throw ShelfError(e.what());
    }
}

ShelfList BibleShelf::ReadListLocked(std::string* said) {
    const std::string listPath = shelfDir_ + kListFile;
    ShelfList list;
    bool missing = false;
    bool damaged = false;
    try {
        const std::string text = ReadFile(listPath, kMaxListBytes);
        list = ReadShelfList(text);
        // The program never writes an empty list: it has its heading.
        damaged = text.empty() || list.unreadLines > 0;
    } catch (const FileError& e) {
        missing = e.kind() == FileError::Kind::Missing;
        damaged = !missing;
        if (damaged) std::cerr << "lorvane: the list of Bibles does not read: " << e.what() << "\n";
    }
    // Every whole Bible folder keeps its place in the list.
    std::vector<KeptBible> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(shelfDir_, ec)) {
        const std::string folder = entry.path().filename().string();
        if (!IsShelfFolderName(folder) || Listed(list, folder) || entry.is_symlink(ec) ||
            !entry.is_directory(ec) || !HasDataSet(shelfDir_ + folder + "/"))
            continue;
        KeptBible b;
        b.folder = folder;
        b.abbreviation = ReadNameFile(shelfDir_ + folder, kAbbreviationFile, kMaxAbbreviation);
        b.name = ReadNameFile(shelfDir_ + folder, kNameFile, kMaxName);
        if (b.abbreviation.empty()) b.abbreviation = kDefaultAbbreviation;
        if (b.name.empty()) b.name = b.abbreviation;
        b.imported = DayOf(shelfDir_ + folder);
        found.push_back(std::move(b));
    }
    std::sort(found.begin(), found.end(),
              [](const KeptBible& a, const KeptBible& b) { return a.folder < b.folder; });
    if (missing && found.empty()) return list;
    if (damaged || missing) {
        // Set aside, never deleted: the reader (or a later version) may want it.
        if (damaged) {
            for (int n = 1; n <= 100; ++n) {
                const std::string aside =
                    shelfDir_ + kUnreadListFile + (n == 1 ? "" : "-" + std::to_string(n));
                if (fs::exists(fs::symlink_status(aside, ec))) continue;
                std::error_code renamed;
                fs::rename(listPath, aside, renamed);
                if (renamed)
                    std::cerr << "lorvane: cannot set the list of Bibles aside: "
                              << renamed.message() << "\n";
                break;
            }
        }
        int kept = static_cast<int>(found.size());
        for (const KeptBible& b : list.bibles)
            if (!ComesWithProgram(b.folder) && HasDataSet(shelfDir_ + b.folder + "/")) ++kept;
        if (said)
            *said = "La liste de vos Bibles était endommagée : elle a été refaite " +
                    (kept == 0   ? std::string("; aucune Bible importée n'a été retrouvée.")
                     : kept == 1 ? std::string("à partir de votre Bible.")
                                 : "à partir de vos " + std::to_string(kept) + " Bibles.");
    }
    if (!damaged && !missing && found.empty()) return list;
    for (KeptBible& b : found) {
        std::cerr << "lorvane: the Bible in " << shelfDir_ << b.folder
                  << " was not listed; listed again\n";
        list.bibles.push_back(std::move(b));
    }
    try {
        WriteList(list);
    } catch (const std::exception& e) {
        std::cerr << "lorvane: the list of Bibles is not written again: " << e.what() << "\n";
    }
    return list;
}

void BibleShelf::TakeList(const ShelfList& list, std::string currentFolder, bool report) {
    const auto leftOut = [&](const std::string& folder) {
        return std::find(leftOut_.begin(), leftOut_.end(), folder) != leftOut_.end();
    };
    std::vector<KeptBible> imported;
    for (const KeptBible& b : list.bibles) {
        if (ComesWithProgram(b.folder) || leftOut(b.folder)) continue;
        if (!HasDataSet(shelfDir_ + b.folder + "/")) {
            if (report) {
                problems_.push_back("La Bible « " + b.name +
                                    " » est endommagée ou a été enlevée : elle est laissée de "
                                    "côté.");
                std::cerr << "lorvane: the Bible in " << shelfDir_ << b.folder
                          << " has no whole data set; left out\n";
            }
            continue;
        }
        imported.push_back(b);
    }
    // The abbreviations already taken: every imported Bible's, left out
    // or not, as for an import.
    std::vector<KeptBible> taken;
    for (const KeptBible& b : list.bibles)
        if (!ComesWithProgram(b.folder)) taken.push_back(b);

    // The shipped Bibles, after the program's own.
    shipped_.clear();
    hiddenCount_ = 0;
    std::vector<KeptBible> shipped;
    for (FoundShipped& found : FindShipped(shippedDir_)) {
        ShippedBible& s = found.bible;
        s.hidden = std::find(list.hidden.begin(), list.hidden.end(), s.folder) != list.hidden.end();
        if (!found.whole) {
            if (report && !s.hidden) {
                problems_.push_back("La Bible «\u00A0" + s.name +
                                    "\u00A0», livrée avec Lorvane, est incomplète ou "
                                    "endommagée\u00A0: elle est laissée de côté. Réinstaller "
                                    "Lorvane la rétablit.");
                std::cerr << "lorvane: the shipped Bible in " << s.dir
                          << " has no whole data set; left out\n";
            }
            continue;
        }
        shipped_.push_back(s);
        if (s.hidden) ++hiddenCount_;
        if (s.hidden || leftOut(s.folder)) continue;
        KeptBible b{s.folder, s.name, s.abbreviation, ""};
        const auto renamed = std::find_if(list.bibles.begin(), list.bibles.end(),
                                          [&](const KeptBible& k) { return k.folder == s.folder; });
        if (renamed != list.bibles.end()) {
            if (!renamed->name.empty()) b.name = renamed->name;
            if (!renamed->abbreviation.empty()) b.abbreviation = renamed->abbreviation;
        }
        shipped.push_back(std::move(b));
    }

    bibles_.clear();
    // The program's own Bible, unless the reader hid it or it has no data
    // set (an installation that ships none) while another Bible is kept.
    const bool programWhole = HasDataSet(programDir_);
    if ((!list.programHidden && programWhole) || (imported.empty() && shipped.empty())) {
        KeptBible program = ProgramBible();
        // The reader's own name for it, when renamed.
        for (const KeptBible& b : list.bibles)
            if (b.folder == kProgramBible) {
                program.name = b.name.empty() ? program.name : b.name;
                program.abbreviation =
                    b.abbreviation.empty() ? program.abbreviation : b.abbreviation;
            }
        bibles_.push_back(program);
    } else if (list.programHidden && programWhole) {
        ++hiddenCount_;
    }
    for (KeptBible& b : shipped) {
        // Renamed, it kept an abbreviation of its own; else one an imported
        // Bible has is numbered.
        const bool renamed = std::any_of(
            list.bibles.begin(), list.bibles.end(),
            [&](const KeptBible& k) { return k.folder == b.folder && !k.abbreviation.empty(); });
        std::vector<KeptBible> others = taken;
        others.insert(others.end(), bibles_.begin(), bibles_.end());
        if (!renamed) b.abbreviation = DistinctAbbreviation(b.abbreviation, others);
        bibles_.push_back(std::move(b));
    }
    bibles_.insert(bibles_.end(), imported.begin(), imported.end());
    current_ = 0;
    for (std::size_t i = 0; i < bibles_.size(); ++i)
        if (bibles_[i].folder == currentFolder) current_ = i;
}

std::vector<KeptBible> BibleShelf::KnownBibles(const ShelfList& list) const {
    std::vector<KeptBible> known = bibles_;
    for (const KeptBible& b : list.bibles)
        if (!ComesWithProgram(b.folder)) known.push_back(b);
    return known;
}

void BibleShelf::Load() {
    problems_.clear();
    leftOut_.clear();
    ShelfList list;
    std::string said;
    std::error_code ec;
    // Nothing is made or written while the reader has kept no Bible.
    if (fs::is_directory(shelfDir_, ec)) {
        std::unique_ptr<FileLock> lock;
        try {
            lock = std::make_unique<FileLock>(shelfDir_ + kLockFile);
        } catch (const FileError& e) {
            // A shelf that cannot be written is still read.
            std::cerr << "lorvane: the list of Bibles is read unlocked: " << e.what() << "\n";
        }
        list = ReadListLocked(&said);
    }
    if (!said.empty()) problems_.push_back(said);
    TakeList(list, list.current, true);
}

void BibleShelf::Choose(std::size_t i, bool keep) {
    if (i >= bibles_.size()) return;
    current_ = i;
    if (!keep) return;
    const std::string folder = bibles_[i].folder;
    const auto lock = LockShelf();
    ShelfList list = ReadListLocked(nullptr);
    list.current = folder;
    WriteList(list);
    TakeList(list, folder, false);
}

void BibleShelf::Rename(std::size_t i, const std::string& name, const std::string& abbreviation) {
    const KeptBible b = bibles_.at(i);
    const std::string shown = bibles_[current_].folder;
    const std::string newName = CleanName(name);
    const std::string newAbbreviation = CleanName(abbreviation, kMaxAbbreviation);
    const auto lock = LockShelf();
    ShelfList list = ReadListLocked(nullptr);
    auto it = std::find_if(list.bibles.begin(), list.bibles.end(),
                           [&](const KeptBible& k) { return k.folder == b.folder; });
    if (it == list.bibles.end()) {
        list.bibles.push_back(b);
        it = list.bibles.end() - 1;
    }
    // Every Bible keeps an abbreviation of its own: one another program
    // added meanwhile, one left out for this run too.
    TakeList(list, shown, false);
    const std::vector<KeptBible> known = KnownBibles(list);
    if (!newAbbreviation.empty() &&
        std::any_of(known.begin(), known.end(), [&](const KeptBible& k) {
            return k.folder != b.folder && k.abbreviation == newAbbreviation;
        }))
        throw ShelfError("L'abréviation « " + newAbbreviation +
                         " » est déjà celle d'une autre Bible.");
    if (!newName.empty()) it->name = newName;
    if (!newAbbreviation.empty()) it->abbreviation = newAbbreviation;
    WriteList(list);
    // The Bible's own files name it too, for a list made again; never one
    // that came with the program, whose folder may be read-only.
    if (!ComesWithProgram(b.folder)) {
        const std::string data = shelfDir_ + b.folder + "/data/";
        try {
            if (!newName.empty()) WriteFileAtomically(data + kNameFile, newName + "\n");
            if (!newAbbreviation.empty())
                WriteFileAtomically(data + kAbbreviationFile, newAbbreviation + "\n");
        } catch (const FileError& e) {
            std::cerr << "lorvane: the Bible's own name is not changed: " << e.what() << "\n";
        }
    }
    TakeList(list, shown, false);
}

void BibleShelf::Remove(std::size_t i) {
    if (i >= bibles_.size()) return;
    if (bibles_.size() == 1)
        throw ShelfError(
            "La dernière Bible ne peut pas être supprimée : Lorvane en a besoin d'une.");
    const KeptBible gone = bibles_[i];
    std::string shown = bibles_[current_].folder;
    if (shown == gone.folder) shown = bibles_[i == 0 ? 1 : 0].folder;
    const auto lock = LockShelf();
    ShelfList list = ReadListLocked(nullptr);
    std::erase_if(list.bibles, [&](const KeptBible& b) { return b.folder == gone.folder; });
    if (gone.folder == kProgramBible) list.programHidden = true;
    if (IsShippedFolder(gone.folder) &&
        std::find(list.hidden.begin(), list.hidden.end(), gone.folder) == list.hidden.end())
        list.hidden.push_back(gone.folder);
    list.current = shown;
    WriteList(list);
    // Out of the list first, then out of the way under a name no list
    // takes back: what cannot be deleted whole now goes at a later start.
    if (!ComesWithProgram(gone.folder)) {
        const std::string folder = shelfDir_ + gone.folder;
        const std::string aside =
            shelfDir_ + "suppression-" + std::to_string(::getpid()) + "-" + gone.folder + ".old";
        try {
            RenameDurably(folder, aside);
            RemoveQuietly(aside);
        } catch (const FileError& e) {
            std::cerr << "lorvane: " << e.what() << "\n";
            RemoveQuietly(folder);
        }
    }
    TakeList(list, shown, false);
}

void BibleShelf::ShowHidden() {
    const std::string shown = bibles_.empty() ? std::string() : bibles_[current_].folder;
    const auto lock = LockShelf();
    ShelfList list = ReadListLocked(nullptr);
    if (!list.programHidden && list.hidden.empty()) {
        TakeList(list, shown, false);
        return;
    }
    list.programHidden = false;
    list.hidden.clear();
    WriteList(list);
    TakeList(list, shown, false);
}

bool BibleShelf::LeaveOut(std::size_t i) {
    if (i >= bibles_.size()) return false;
    problems_.push_back("La Bible « " + bibles_[i].name +
                        " » est endommagée : elle est laissée de côté.");
    leftOut_.push_back(bibles_[i].folder);
    bibles_.erase(bibles_.begin() + static_cast<std::ptrdiff_t>(i));
    if (current_ >= bibles_.size() || current_ == i)
        current_ = 0;
    else if (current_ > i)
        --current_;
    return !bibles_.empty();
}

std::string BibleShelf::StagingDir() const {
    const std::string staging = shelfDir_ + "import-" + std::to_string(::getpid()) + ".new/";
    RemoveQuietly(fs::path(staging).parent_path());
    return staging;
}

BibleShelf::Added BibleShelf::Adopt(const std::string& staging, const std::string& name,
                                    const std::string& abbreviation, const std::string& today) {
    const fs::path from = fs::path(WithSlash(staging)).parent_path();
    std::unique_ptr<FileLock> lock;
    ShelfList list;
    try {
        if (from.parent_path() != fs::path(shelfDir_).parent_path())
            throw ShelfError("Le dossier « " + staging + " » n'est pas dans celui des Bibles.");
        lock = LockShelf();
        list = ReadListLocked(nullptr);
    } catch (...) {
        RemoveQuietly(from);
        throw;
    }
    // What another program added meanwhile counts too.
    TakeList(list, bibles_.empty() ? list.current : bibles_[current_].folder, false);
    KeptBible b;
    b.abbreviation = CleanName(abbreviation, kMaxAbbreviation);
    if (b.abbreviation.empty()) b.abbreviation = kDefaultAbbreviation;
    b.name = CleanName(name);
    if (b.name.empty()) b.name = b.abbreviation;
    b.imported = today;
    for (std::size_t i = 0; i < bibles_.size(); ++i)
        if (bibles_[i].name == b.name && SameText(DirOf(i), staging)) {
            RemoveQuietly(from);
            return {i, false};
        }
    const std::string stem = FolderStem(b.abbreviation);
    // A second « LSG » is « LSG2 », in the list and in its own sigle.txt.
    const std::string distinct = DistinctAbbreviation(b.abbreviation, KnownBibles(list));
    if (distinct != b.abbreviation) {
        b.abbreviation = distinct;
        try {
            WriteFileAtomically(WithSlash(staging) + "data/" + kAbbreviationFile, distinct + "\n");
        } catch (const FileError& e) {
            std::cerr << "lorvane: the Bible's own abbreviation is not changed: " << e.what()
                      << "\n";
        }
    }
    for (int n = 1; b.folder.empty() && n < 10000; ++n) {
        const std::string folder = n == 1 ? stem : stem + "-" + std::to_string(n);
        std::error_code ec;
        if (!Listed(list, folder) && !fs::exists(fs::symlink_status(shelfDir_ + folder, ec)))
            b.folder = folder;
    }
    if (b.folder.empty()) {
        RemoveQuietly(from);
        throw ShelfError("Trop de Bibles dans le dossier « " + shelfDir_ + " ».");
    }
    try {
        RenameDurably(from.string(), shelfDir_ + b.folder);
    } catch (const FileError& e) {
        RemoveQuietly(from);
        throw ShelfError(e.what());
    }
    list.bibles.push_back(b);
    list.current = b.folder;
    try {
        WriteList(list);
    } catch (...) {
        // Never listed: no other program knows it.
        RemoveQuietly(fs::path(shelfDir_) / b.folder);
        throw;
    }
    TakeList(list, b.folder, false);
    return {current_, true};
}

void BibleShelf::RemoveLeftovers() const {
    std::error_code ec;
    if (!fs::is_directory(shelfDir_, ec)) return;
    for (const auto& entry : fs::directory_iterator(shelfDir_, ec)) {
        if (entry.is_symlink(ec) || !entry.is_directory(ec)) continue;
        const long pid = LeftoverPid(entry.path().filename().string());
        if (pid <= 0 || pid == ::getpid() || !ProcessGone(pid)) continue;
        std::cerr << "lorvane: removing " << entry.path().string()
                  << ", left by an import or a removal cut short\n";
        RemoveQuietly(entry.path());
    }
}

}  // namespace lorvane::bibles
