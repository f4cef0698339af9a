#include "ScratchFolder.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <iostream>
#include <string>
#include <system_error>

#include "Reasons.h"
#include "UsfmSource.h"  // ImportError

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "lorvane-import-";

// The owner's process id in a scratch folder's name, 0 when it is none.
pid_t OwnerOf(std::string_view name) {
    if (name.substr(0, kPrefix.size()) != kPrefix) return 0;
    name.remove_prefix(kPrefix.size());
    pid_t pid = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (ec != std::errc() || pid <= 0 || end == name.data() + name.size() || *end != '-') return 0;
    return pid;
}

}  // namespace

ScratchFolder::ScratchFolder(const fs::path& parent, std::uintmax_t needed) {
    std::error_code ec;
    fs::create_directories(parent, ec);
    std::string pattern =
        (parent / (std::string(kPrefix) + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) {
        const int error = errno;
        std::cerr << "import: cannot make a folder in " << parent << ": "
                  << std::generic_category().message(error) << "\n";
        if (IsNoSpace(error)) throw ImportError(NoSpaceIn(parent, needed));
        throw ImportError("Impossible de créer un dossier temporaire dans « " + parent.string() +
                          " » : " + FrenchReason(error) + ".");
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void RemoveDeadScratchFolders(const fs::path& parent) {
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        const pid_t owner = OwnerOf(it->path().filename().string());
        std::error_code typeEc;
        if (owner == 0 || !it->is_directory(typeEc)) continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH) continue;  // alive, or not ours to know
        std::cerr << "lorvane: removing " << it->path() << ", left by an import cut short\n";
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}

}  // namespace lorvane::importer
