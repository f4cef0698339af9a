#include "BibleShelf.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

#include "Communs.h"
#include "FctLoad.h"
#include "ProgramFolders.h"

namespace lorvane::bibles {
namespace fs = std::filesystem;

namespace {

const char kHeader[] = "# Les Bibles de Lorvane : dossier, sigle, nom, date d'importation.\n";

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

bool IsShelfFolderName(const std::string& folder) {
    if (folder.empty() || folder.size() > 40 || folder[0] == '-') return false;
    return std::all_of(folder.begin(), folder.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

std::string WriteShelfList(const ShelfList& list) {
    std::string out = kHeader;
    for (const KeptBible& b : list.bibles)
        out += "bible\t" + b.folder + "\t" + CleanName(b.abbreviation, kMaxAbbreviation) + "\t" +
               CleanName(b.name) + "\t" + b.imported + "\n";
    if (list.programHidden) out += std::string("cachee\t") + kProgramBible + "\n";
    if (!list.current.empty()) out += "courante\t" + list.current + "\n";
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
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = SplitTabs(line);
        const bool folderOk = f.size() > 1 && (IsShelfFolderName(f[1]) || f[1] == kProgramBible);
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
        } else if (f[0] == "courante" && f.size() == 2 && folderOk) {
            list.current = f[1];
            continue;
        }
        std::cerr << "lorvane: line " << number
                  << " of the list of Bibles does not read; left out\n";
    }
    return list;
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + "." + std::to_string(::getpid()) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << bytes;
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(temporary, ec);
            throw ShelfError("Impossible d'écrire le fichier « " + path + " ».");
        }
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        throw ShelfError("Impossible d'écrire le fichier « " + path + " ».");
    }
}

std::string ReadNameFile(const std::string& bibleDir, const char* file, std::size_t max) {
    std::ifstream in(WithSlash(bibleDir) + "data/" + file, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) return "";
    return CleanName(line.substr(0, 4 * max), max);
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

BibleShelf::BibleShelf(std::string shelfDir, std::string programBibleDir)
    : shelfDir_(WithSlash(std::move(shelfDir))),
      programDir_(WithSlash(std::move(programBibleDir))) {}

std::string BibleShelf::DirOf(std::size_t i) const {
    const KeptBible& b = bibles_.at(i);
    return b.folder == kProgramBible ? programDir_ : shelfDir_ + b.folder + "/";
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

ShelfList BibleShelf::ReadList() const {
    // A missing or unreadable list is an empty one.
    try {
        return ReadShelfList(ReadWholeFile(shelfDir_ + kListFile));
    } catch (const LoadError&) {
        return {};
    }
}

void BibleShelf::WriteList(const ShelfList& list) const {
    const std::string reason = UnwritableFolderReason(shelfDir_);
    if (!reason.empty()) throw ShelfError(reason);
    WriteFileAtomically(shelfDir_ + kListFile, WriteShelfList(list));
}

void BibleShelf::Load() {
    const ShelfList list = ReadList();
    bibles_.clear();
    problems_.clear();
    for (const KeptBible& b : list.bibles) {
        if (b.folder == kProgramBible) continue;
        if (!HasDataSet(shelfDir_ + b.folder + "/")) {
            problems_.push_back("La Bible « " + b.name +
                                " » est endommagée ou a été enlevée : elle est laissée de côté.");
            std::cerr << "lorvane: the Bible in " << shelfDir_ << b.folder
                      << " has no whole data set; left out\n";
            continue;
        }
        bibles_.push_back(b);
    }
    // The program's own Bible, unless the reader hid it or it has no data
    // set (an installation that ships none) while another Bible is kept.
    if ((!list.programHidden && HasDataSet(programDir_)) || bibles_.empty()) {
        KeptBible program = ProgramBible();
        // The reader's own name for it, when renamed.
        for (const KeptBible& b : list.bibles)
            if (b.folder == kProgramBible) {
                program.name = b.name.empty() ? program.name : b.name;
                program.abbreviation =
                    b.abbreviation.empty() ? program.abbreviation : b.abbreviation;
            }
        bibles_.insert(bibles_.begin(), program);
    }
    current_ = 0;
    for (std::size_t i = 0; i < bibles_.size(); ++i)
        if (bibles_[i].folder == list.current) current_ = i;
}

void BibleShelf::Choose(std::size_t i, bool keep) {
    if (i >= bibles_.size()) return;
    current_ = i;
    if (!keep) return;
    ShelfList list = ReadList();
    list.current = bibles_[i].folder;
    WriteList(list);
}

void BibleShelf::Rename(std::size_t i, const std::string& name, const std::string& abbreviation) {
    KeptBible& b = bibles_.at(i);
    const std::string newName = CleanName(name);
    const std::string newAbbreviation = CleanName(abbreviation, kMaxAbbreviation);
    ShelfList list = ReadList();
    auto it = std::find_if(list.bibles.begin(), list.bibles.end(),
                           [&](const KeptBible& k) { return k.folder == b.folder; });
    if (it == list.bibles.end()) {
        list.bibles.push_back(b);
        it = list.bibles.end() - 1;
    }
    if (!newName.empty()) it->name = newName;
    if (!newAbbreviation.empty()) it->abbreviation = newAbbreviation;
    WriteList(list);
    if (!newName.empty()) b.name = newName;
    if (!newAbbreviation.empty()) b.abbreviation = newAbbreviation;
}

void BibleShelf::Remove(std::size_t i) {
    if (i >= bibles_.size()) return;
    if (bibles_.size() == 1)
        throw ShelfError(
            "La dernière Bible ne peut pas être supprimée : Lorvane en a besoin d'une.");
    const KeptBible gone = bibles_[i];
    const std::string shown = bibles_[current_].folder;
    ShelfList list = ReadList();
    list.bibles.erase(std::remove_if(list.bibles.begin(), list.bibles.end(),
                                     [&](const KeptBible& b) { return b.folder == gone.folder; }),
                      list.bibles.end());
    if (gone.folder == kProgramBible) list.programHidden = true;
    bibles_.erase(bibles_.begin() + static_cast<std::ptrdiff_t>(i));
    current_ = 0;
    for (std::size_t k = 0; k < bibles_.size(); ++k)
        if (bibles_[k].folder == shown) current_ = k;
    list.current = bibles_[current_].folder;
    WriteList(list);
    // Out of the list first: a folder that cannot be deleted whole is only
    // a leftover, which the next start takes away.
    if (gone.folder != kProgramBible) RemoveQuietly(fs::path(shelfDir_) / gone.folder);
}

bool BibleShelf::LeaveOut(std::size_t i) {
    if (i >= bibles_.size()) return false;
    problems_.push_back("La Bible « " + bibles_[i].name +
                        " » est endommagée : elle est laissée de côté.");
    bibles_.erase(bibles_.begin() + static_cast<std::ptrdiff_t>(i));
    if (current_ >= bibles_.size() || current_ == i)
        current_ = 0;
    else if (current_ > i)
        --current_;
    return !bibles_.empty();
}

std::string BibleShelf::NewBibleDir(const std::string& abbreviation) const {
    const std::string reason = UnwritableFolderReason(shelfDir_);
    if (!reason.empty()) throw ShelfError(reason);
    const std::string stem = FolderStem(abbreviation);
    const ShelfList list = ReadList();
    for (int n = 1; n < 10000; ++n) {
        const std::string folder = n == 1 ? stem : stem + "-" + std::to_string(n);
        const bool listed = std::any_of(list.bibles.begin(), list.bibles.end(),
                                        [&](const KeptBible& b) { return b.folder == folder; });
        std::error_code ec;
        if (!listed && !fs::exists(shelfDir_ + folder, ec) &&
            !fs::exists(shelfDir_ + folder + ".new", ec))
            return shelfDir_ + folder + "/";
    }
    throw ShelfError("Trop de Bibles dans le dossier « " + shelfDir_ + " ».");
}

BibleShelf::Added BibleShelf::Add(const std::string& dir, const std::string& today) {
    KeptBible b;
    b.folder = fs::path(WithSlash(dir)).parent_path().filename().string();
    if (!IsShelfFolderName(b.folder) ||
        fs::path(WithSlash(dir)).parent_path().parent_path() != fs::path(shelfDir_).parent_path())
        throw ShelfError("Le dossier « " + dir + " » n'est pas dans celui des Bibles.");
    b.name = ReadNameFile(dir, kNameFile, kMaxName);
    b.abbreviation = ReadNameFile(dir, kAbbreviationFile, kMaxAbbreviation);
    if (b.abbreviation.empty()) b.abbreviation = kDefaultAbbreviation;
    if (b.name.empty()) b.name = b.abbreviation;
    b.imported = today;
    for (std::size_t i = 0; i < bibles_.size(); ++i)
        if (bibles_[i].name == b.name && SameText(DirOf(i), dir)) {
            RemoveQuietly(fs::path(WithSlash(dir)).parent_path());
            return {i, false};
        }
    ShelfList list = ReadList();
    list.bibles.push_back(b);
    list.current = b.folder;
    try {
        WriteList(list);
    } catch (...) {
        RemoveQuietly(fs::path(WithSlash(dir)).parent_path());
        throw;
    }
    bibles_.push_back(b);
    current_ = bibles_.size() - 1;
    return {current_, true};
}

void BibleShelf::RemoveLeftovers(int minutes) const {
    std::error_code ec;
    if (!fs::is_directory(shelfDir_, ec)) return;
    const ShelfList list = ReadList();
    const auto now = fs::file_time_type::clock::now();
    for (const auto& entry : fs::directory_iterator(shelfDir_, ec)) {
        if (!entry.is_directory(ec) || entry.is_symlink(ec)) continue;
        const std::string name = entry.path().filename().string();
        const bool staging = name.size() > 4 && name.compare(name.size() - 4, 4, ".new") == 0 &&
                             IsShelfFolderName(name.substr(0, name.size() - 4));
        const bool listed = std::any_of(list.bibles.begin(), list.bibles.end(),
                                        [&](const KeptBible& b) { return b.folder == name; });
        if (!staging && (listed || !IsShelfFolderName(name))) continue;
        const auto written = fs::last_write_time(entry.path(), ec);
        if (ec || now - written < std::chrono::minutes(minutes)) continue;
        std::cerr << "lorvane: removing " << entry.path().string()
                  << ", left by an import cut short\n";
        RemoveQuietly(entry.path());
    }
}

}  // namespace lorvane::bibles
