#include "SwordSource.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

#include "Reasons.h"
#include "ScratchFolder.h"
#include "SwordConf.h"

extern char** environ;

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;

struct ArchiveCloser {
    void operator()(struct archive* a) const { archive_read_free(a); }
};

bool HasModsEntry(const fs::path& zip) {
    std::unique_ptr<struct archive, ArchiveCloser> a(archive_read_new());
    archive_read_support_filter_all(a.get());
    archive_read_support_format_all(a.get());
    if (archive_read_open_filename(a.get(), zip.c_str(), 64 * 1024) != ARCHIVE_OK) return false;
    struct archive_entry* entry = nullptr;
    while (archive_read_next_header(a.get(), &entry) == ARCHIVE_OK) {
        const std::string path = archive_entry_pathname(entry) ? archive_entry_pathname(entry) : "";
        const std::size_t at = path.rfind("mods.d/");
        if (at != std::string::npos && (at == 0 || path[at - 1] == '/') && path.size() > 5 &&
            path.compare(path.size() - 5, 5, ".conf") == 0)
            return true;
    }
    return false;
}

}  // namespace

bool IsSwordSource(const fs::path& source) {
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) return false;
    std::ifstream in(source, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    if (head.compare(0, 2, "PK") != 0) return LooksLikeSwordConf(head);
    return HasModsEntry(source);
}

fs::path SwordHelperPath() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return (ec ? fs::path(".") : self.parent_path()) / "lorvane-sword-import";
}

HelperBible ReadSwordSource(const fs::path& source, const fs::path& helper,
                            const fs::path& scratchParent, const CancelCheck& cancelled,
                            HelperCommentary* commentary) {
    std::error_code ec;
    const std::uintmax_t sourceBytes = fs::file_size(source, ec);
    // The module unpacked, and the Bible the helper writes from it.
    ScratchFolder scratch(scratchParent, ec ? 0 : 3 * sourceBytes);
    const fs::path out = scratch.path() / "bible.bin";
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        throw ImportError("Impossible de lancer la lecture du module SWORD.");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    const std::string helperPath = helper.string(), sourcePath = source.string(),
                      outPath = out.string();
    char* argv[] = {const_cast<char*>(helperPath.c_str()), const_cast<char*>(sourcePath.c_str()),
                    const_cast<char*>(outPath.c_str()), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, helperPath.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    if (spawned != 0) {
        ::close(pipe[0]);
        std::cerr << "import: cannot start " << helperPath << "\n";
        throw ImportError("La lecture des modules SWORD n'est pas installée avec Lorvane (« " +
                          helperPath + " » manque).");
    }
    // The helper's message, while the reader may cancel.
    std::string message;
    bool stop = false;
    for (;;) {
        if (cancelled && cancelled()) {
            ::kill(pid, SIGKILL);
            stop = true;
            break;
        }
        pollfd p{pipe[0], POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buffer[4096];
        const ssize_t n = ::read(pipe[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        if (message.size() < 4096) message.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipe[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (stop) throw ImportCancelled();
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2 && !message.empty())
        throw ImportError(message);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kHelperNoSpace) {
        std::uintmax_t needed = 0;
        std::from_chars(message.data(), message.data() + message.size(), needed);
        throw ImportError(NoSpaceIn(scratchParent, needed));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw ImportError("Ce module SWORD ne peut pas être lu : il est peut-être endommagé.");
    std::ifstream in(out, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (IsHelperCommentary(bytes)) {
        if (!commentary) throw ImportError("Ce module SWORD est un commentaire, pas une Bible.");
        *commentary = DecodeHelperCommentary(bytes);
        return {};
    }
    return DecodeHelperBible(bytes);
}

}  // namespace lorvane::importer
