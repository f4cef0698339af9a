#include "FileIo.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>

namespace lorvane {
namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Closes fd on every path out of a scope.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now; false with errno set when the close reports an error
    // (a delayed write error on some file systems).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

[[noreturn]] void FailRead(const std::string& path, int error) {
    const FileError::Kind kind = error == ENOENT   ? FileError::Kind::Missing
                                 : error == EISDIR ? FileError::Kind::NotAFile
                                                   : FileError::Kind::Unreadable;
    throw FileError(
        kind, path, error,
        "Impossible de lire le fichier « " + path + " » : " + FrenchReason(error) + ".");
}

[[noreturn]] void FailWrite(const std::string& path, int error) {
    if (IsNoSpace(error))
        throw FileError(FileError::Kind::NoSpace, path, error,
                        "L'espace disque est insuffisant pour écrire le fichier « " + path + " ».");
    throw FileError(
        FileError::Kind::Unwritable, path, error,
        "Impossible d'écrire le fichier « " + path + " » : " + FrenchReason(error) + ".");
}

}  // namespace

std::string FrenchReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "accès refusé";
        case ENOENT:
            return "fichier ou dossier introuvable";
        case ENOTDIR:
            return "un élément du chemin n'est pas un dossier";
        case EISDIR:
            return "c'est un dossier";
        case EROFS:
            return "le disque est en lecture seule";
        case ENOSPC:
            return "le disque est plein";
        case EDQUOT:
            return "votre quota de disque est atteint";
        case EFBIG:
            return "le fichier est trop grand";
        case EIO:
            return "erreur de lecture ou d'écriture sur le disque";
        case ENAMETOOLONG:
            return "le nom est trop long";
        case EMFILE:
        case ENFILE:
            return "trop de fichiers ouverts";
        case ENOMEM:
            return "la mémoire est insuffisante";
        case EEXIST:
        case ENOTEMPTY:
            return "un fichier porte déjà ce nom";
        case EBUSY:
        case ETXTBSY:
            return "le fichier est utilisé par un autre programme";
        case ELOOP:
            return "trop de liens symboliques";
        default:
            return "erreur système " + std::to_string(error);
    }
}

bool IsNoSpace(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

FileError::FileError(Kind kind, std::string path, int error, const std::string& french)
    : std::runtime_error(french), kind_(kind), error_(error), path_(std::move(path)) {}

std::string ReadFile(const std::string& path, std::size_t maxBytes) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) FailRead(path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) FailRead(path, errno);
    if (S_ISDIR(st.st_mode)) FailRead(path, EISDIR);
    if (!S_ISREG(st.st_mode))
        throw FileError(FileError::Kind::NotAFile, path, 0,
                        "« " + path + " » n'est pas un fichier.");
    if (static_cast<unsigned long long>(st.st_size) > maxBytes)
        throw FileError(FileError::Kind::TooLarge, path, 0,
                        "Le fichier « " + path + " » est trop grand pour être lu.");
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    // The file may grow or shrink while it is read: read until the end, never
    // past the cap.
    for (;;) {
        if (done == bytes.size()) {
            if (bytes.size() >= maxBytes) {
                char probe;
                const ssize_t n = ::read(fd.get(), &probe, 1);
                if (n > 0)
                    throw FileError(FileError::Kind::TooLarge, path, 0,
                                    "Le fichier « " + path + " » est trop grand pour être lu.");
                break;
            }
            bytes.resize(std::min(maxBytes, bytes.size() + 4096));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) FailRead(path, errno);
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

void SyncFolder(const std::string& folder) {
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) (void)::fsync(fd.get());
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned mode) {
    const std::string folder = FolderOf(path);
    const std::size_t slash = path.find_last_of('/');
    // The name's first 200 bytes: the temporary name stays within the
    // file system's limit.
    const std::string stem =
        (slash == std::string::npos ? path : path.substr(slash + 1)).substr(0, 200);
    // A hidden name of our own beside the target: same file system, so the
    // rename is atomic; never an existing file (O_EXCL).
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) mode = old.st_mode & 07777;
    std::random_device seed;
    std::string temporary;
    int raw = -1;
    for (int attempt = 0; raw < 0 && attempt < 100; ++attempt) {
        temporary = folder + "/." + stem + "." + std::to_string(::getpid()) + "-" +
                    std::to_string(seed() % 1000000) + ".tmp";
        raw = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY,
                     static_cast<mode_t>(mode));
        if (raw < 0 && errno != EEXIST) FailWrite(path, errno);
    }
    if (raw < 0) FailWrite(path, EEXIST);
    Fd fd(raw);
    auto fail = [&](int error) {
        ::unlink(temporary.c_str());
        FailWrite(path, error);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) fail(n < 0 ? errno : ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    // EINVAL: a file system that cannot sync (some FUSE ones); the data are
    // written all the same.
    if (::fsync(fd.get()) != 0 && errno != EINVAL) fail(errno);
    if (!fd.Close()) fail(errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0) fail(errno);
    SyncFolder(folder);
}

void RenameDurably(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) FailWrite(to, errno);
    SyncFolder(FolderOf(to));
    if (FolderOf(from) != FolderOf(to)) SyncFolder(FolderOf(from));
}

FileLock::FileLock(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd_ < 0) FailWrite(path, errno);
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        ::close(fd_);
        fd_ = -1;
        FailWrite(path, error);
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace lorvane
