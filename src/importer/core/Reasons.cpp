#include "Reasons.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <vector>

namespace lorvane::importer {

std::string UnreadableFile(const std::filesystem::path& path, int error) {
    return "Impossible de lire le fichier « " + path.string() + " » : " + FrenchReason(error) + ".";
}

int WriteProbe(const std::filesystem::path& folder) {
    const std::string probe = (folder / ".lorvane-probe").string();
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    int error = 0;
    const std::vector<char> zeros(64 * 1024);
    // A short write says nothing: the next one gives the reason.
    for (std::size_t left = 16 * zeros.size(); left > 0 && error == 0;) {
        const ssize_t n = ::write(fd, zeros.data(), std::min(left, zeros.size()));
        if (n < 0 && errno != EINTR) error = errno;
        if (n > 0) left -= static_cast<std::size_t>(n);
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    ::close(fd);
    ::unlink(probe.c_str());
    return error;
}

std::string NoSpaceIn(const std::filesystem::path& folder, std::uintmax_t needed) {
    constexpr std::uintmax_t kMo = 1024 * 1024;
    const std::uintmax_t mo = std::max<std::uintmax_t>(1, (needed + kMo / 2) / kMo);
    return "L'espace disque est insuffisant dans le dossier « " + folder.string() +
           " » (il faut environ " + std::to_string(mo) + " Mo).";
}

namespace {

// A disk with room for the probe may still lack room for the Bible.
bool LacksRoom(const std::filesystem::path& folder, std::uintmax_t needed) {
    std::error_code ec;
    const std::filesystem::space_info space = std::filesystem::space(folder, ec);
    return !ec && space.available < needed;
}

}  // namespace

bool DiskFull(const std::filesystem::path& folder, std::uintmax_t needed, int error) {
    return IsNoSpace(error) || IsNoSpace(WriteProbe(folder)) || LacksRoom(folder, needed);
}

std::string UnwritableFolder(const std::filesystem::path& folder, const std::exception& failure,
                             std::uintmax_t needed) {
    int error = 0;
    if (const auto* se = dynamic_cast<const std::system_error*>(&failure))
        error = se->code().value();
    const int probe = WriteProbe(folder);
    if (IsNoSpace(error) || IsNoSpace(probe) || LacksRoom(folder, needed))
        return NoSpaceIn(folder, needed);
    if (probe != 0) error = probe;
    return "Impossible d'écrire dans le dossier « " + folder.string() +
           " » : " + (error != 0 ? FrenchReason(error) : std::string("l'écriture a échoué")) + ".";
}

}  // namespace lorvane::importer
