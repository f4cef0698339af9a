#include "CommentaryShelf.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iostream>

#include "BibleNames.h"
#include "Commentary.h"
#include "FileIo.h"

namespace lorvane::commentary {
namespace {

namespace fs = std::filesystem;

std::string NameIn(const std::string& folder, const char* file, std::size_t max) {
    try {
        std::string text = ReadFile(folder + file, 64 * 1024);
        return CleanBibleName(text.substr(0, text.find('\n')), max);
    } catch (const FileError&) {
        return {};
    }
}

// The abbreviation's letters and digits, lower-cased, for a folder name.
std::string FolderStem(const std::string& abbreviation) {
    std::string stem;
    for (char c : abbreviation) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) stem += c;
        if (stem.size() == 20) break;
    }
    return stem.empty() ? "commentaire" : stem;
}

void WriteNames(const std::string& folder, const std::string& name,
                const std::string& abbreviation) {
    if (!name.empty()) WriteFileAtomically(folder + kNameFile, name + "\n");
    if (!abbreviation.empty()) WriteFileAtomically(folder + kAbbreviationFile, abbreviation + "\n");
}

// The process that left a folder of its own on the shelf: PID in
// import-PID.new or suppression-PID.old; 0 for every other name.
long LeftoverPid(const std::string& name) {
    for (const auto& [head, tail] :
         {std::pair<std::string_view, std::string_view>{"import-", ".new"},
          {"suppression-", ".old"}}) {
        if (name.size() <= head.size() + tail.size() || name.rfind(head, 0) != 0 ||
            name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
            continue;
        const std::string digits =
            name.substr(head.size(), name.size() - head.size() - tail.size());
        if (digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return 0;
        return std::stol(digits);
    }
    return 0;
}

}  // namespace

CommentaryShelf::CommentaryShelf(std::string dir) : dir_(std::move(dir)) {
    if (dir_.empty() || dir_.back() != '/') dir_ += '/';
}

void CommentaryShelf::Load() {
    kept_.clear();
    problems_.clear();
    std::error_code ec;
    for (fs::directory_iterator it(dir_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string folder = it->path().filename().string();
        // What an import or a removal cut short left, once its process is gone.
        if (const long pid = LeftoverPid(folder);
            pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::error_code gone;
            fs::remove_all(it->path(), gone);
            continue;
        }
        std::error_code typeEc;
        if (!it->is_directory(typeEc) || it->is_symlink(typeEc) || folder.empty() ||
            folder[0] == '.' || folder.find('.') != std::string::npos)
            continue;  // not a kept commentary (an import under way ends in .new)
        const std::string path = dir_ + folder + "/";
        KeptCommentary kept{folder, NameIn(path, kNameFile, kNameLength),
                            NameIn(path, kAbbreviationFile, kAbbreviationLength)};
        if (kept.name.empty()) kept.name = folder;
        if (kept.abbreviation.empty()) kept.abbreviation = folder.substr(0, kAbbreviationLength);
        try {
            Commentary::Open(path + kCommentaryFile);
        } catch (const CommentaryError& e) {
            std::cerr << "lorvane: commentary " << path << " does not open\n";
            problems_.push_back("Le commentaire « " + kept.name +
                                " » n'a pas pu être lu : " + e.what());
            continue;
        }
        kept_.push_back(std::move(kept));
    }
    std::sort(kept_.begin(), kept_.end(), [](const KeptCommentary& a, const KeptCommentary& b) {
        return a.name != b.name ? a.name < b.name : a.folder < b.folder;
    });
}

std::string CommentaryShelf::FileOf(std::size_t i) const {
    return dir_ + kept_.at(i).folder + "/" + kCommentaryFile;
}

std::string CommentaryShelf::StagingDir() const {
    const std::string staging = dir_ + "import-" + std::to_string(::getpid()) + ".new/";
    std::error_code ec;
    fs::remove_all(staging, ec);
    return staging;
}

std::size_t CommentaryShelf::Adopt(const std::string& staging, const std::string& name,
                                   const std::string& abbreviation) {
    const std::string stem = FolderStem(abbreviation);
    std::string folder;
    try {
        fs::create_directories(dir_);
        for (int n = 1; folder.empty(); ++n) {
            const std::string candidate = n == 1 ? stem : stem + "-" + std::to_string(n);
            std::error_code ec;
            if (!fs::exists(fs::symlink_status(dir_ + candidate, ec))) folder = candidate;
        }
        std::string s = staging;
        if (!s.empty() && s.back() == '/') s.pop_back();
        WriteNames(s + "/", CleanBibleName(name),
                   CleanBibleName(abbreviation, kAbbreviationLength));
        RenameDurably(s, dir_ + folder);
    } catch (const std::exception& e) {
        std::error_code ec;
        fs::remove_all(staging, ec);
        std::cerr << "lorvane: cannot keep the commentary: " << e.what() << "\n";
        throw CommentaryError("Le commentaire n'a pas pu être gardé dans « " + dir_ + " ».");
    }
    Load();
    for (std::size_t i = 0; i < kept_.size(); ++i)
        if (kept_[i].folder == folder) return i;
    throw CommentaryError("Le commentaire importé ne se lit pas : il n'a pas été gardé.");
}

void CommentaryShelf::Rename(std::size_t i, const std::string& name,
                             const std::string& abbreviation) {
    KeptCommentary& kept = kept_.at(i);
    const std::string cleanName = CleanBibleName(name);
    const std::string cleanAbbreviation = CleanBibleName(abbreviation, kAbbreviationLength);
    try {
        WriteNames(dir_ + kept.folder + "/", cleanName, cleanAbbreviation);
    } catch (const FileError& e) {
        throw CommentaryError(std::string("Le commentaire n'a pas pu être renommé : ") + e.what());
    }
    if (!cleanName.empty()) kept.name = cleanName;
    if (!cleanAbbreviation.empty()) kept.abbreviation = cleanAbbreviation;
}

void CommentaryShelf::Remove(std::size_t i) {
    const std::string folder = dir_ + kept_.at(i).folder;
    // Set aside first, so that a removal cut short leaves no half commentary listed.
    const std::string aside = dir_ + "suppression-" + std::to_string(::getpid()) + ".old";
    std::error_code ec;
    fs::remove_all(aside, ec);
    fs::rename(folder, aside, ec);
    if (ec)
        throw CommentaryError("Le commentaire n'a pas pu être supprimé : « " + folder +
                              " » ne peut pas être changé.");
    fs::remove_all(aside, ec);
    kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(i));
}

}  // namespace lorvane::commentary
