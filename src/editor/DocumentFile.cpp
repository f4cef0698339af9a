#include "DocumentFile.h"

#include "FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace lorvane::rtf {
namespace {

std::string Reason(int error) {
    return FrenchReason(error);
}

[[noreturn]] void FailOpen(const std::string& path, const std::string& reason) {
    throw FileError("Impossible d'ouvrir le fichier « " + path + " » : " + reason + ".");
}

[[noreturn]] void FailSave(const std::string& path, const std::string& reason) {
    throw FileError("Impossible d'enregistrer le fichier « " + path + " » : " + reason + ".");
}

// The file a save replaces: the target of a symbolic link, followed.
std::string Target(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;  // a dangling link: replaced by the file
    std::string target(real);
    std::free(real);
    return target;
}

}  // namespace

std::string ReadDocumentFile(const std::string& path, std::size_t maxBytes) {
    try {
        return ReadFile(path, maxBytes);
    } catch (const lorvane::FileError& e) {
        switch (e.kind()) {
            case lorvane::FileError::Kind::NotAFile:
                FailOpen(path, e.error() == EISDIR ? Reason(EISDIR)
                                                   : "ce n'est pas un fichier ordinaire");
            case lorvane::FileError::Kind::TooLarge:
                FailOpen(path, "le fichier est trop volumineux");
            default:
                FailOpen(path, Reason(e.error()));
        }
    }
}

void SaveDocumentFile(const std::string& path, std::string_view bytes) {
    if (path.empty()) FailSave(path, Reason(ENOENT));
    const std::string target = Target(path);
    const std::string base = target.substr(target.rfind('/') + 1);
    if (base.empty()) FailSave(path, Reason(EISDIR));

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISDIR(old.st_mode)) FailSave(path, Reason(EISDIR));
    // A new file gets the usual rights less the umask; an existing one
    // keeps its own.
    try {
        WriteFileAtomically(target, bytes, 0666);
    } catch (const lorvane::FileError& e) {
        FailSave(path, e.error() != 0 ? Reason(e.error()) : std::string(e.what()));
    }
}

}  // namespace lorvane::rtf
