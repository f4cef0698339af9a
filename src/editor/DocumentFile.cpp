#include "DocumentFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

namespace lorvane::rtf {
namespace {

std::string Reason(int error) {
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
        case ENOSPC:
            return "le disque est plein";
        case EDQUOT:
            return "le quota du disque est dépassé";
        case EFBIG:
            return "le fichier est trop grand";
        case EROFS:
            return "le support est en lecture seule";
        case ENAMETOOLONG:
            return "le nom est trop long";
        case EIO:
            return "erreur d'entrée-sortie";
        default:
            return "erreur système " + std::to_string(error) + " (" + std::strerror(error) + ")";
    }
}

[[noreturn]] void FailOpen(const std::string& path, const std::string& reason) {
    throw FileError("Impossible d'ouvrir le fichier « " + path + " » : " + reason + ".");
}

[[noreturn]] void FailSave(const std::string& path, const std::string& reason) {
    throw FileError("Impossible d'enregistrer le fichier « " + path + " » : " + reason + ".");
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now; false with errno set when the close reports an error.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

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

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

std::string ReadDocumentFile(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK: opening a pipe must not wait for a writer.
    const int raw = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (raw < 0) FailOpen(path, Reason(errno));
    Fd fd(raw);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) FailOpen(path, Reason(errno));
    if (S_ISDIR(st.st_mode)) FailOpen(path, Reason(EISDIR));
    if (!S_ISREG(st.st_mode)) FailOpen(path, "ce n'est pas un fichier ordinaire");
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxBytes)
        FailOpen(path, "le fichier est trop volumineux");
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) FailOpen(path, Reason(errno));
        if (n == 0) break;  // the file shrank: what is there
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

void SaveDocumentFile(const std::string& path, std::string_view bytes) {
    if (path.empty()) FailSave(path, Reason(ENOENT));
    const std::string target = Target(path);
    const std::string folder = Folder(target);
    const std::string base = target.substr(target.rfind('/') + 1);
    if (base.empty()) FailSave(path, Reason(EISDIR));

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) FailSave(path, Reason(EISDIR));

    // A new name beside the target, never an existing file.
    std::random_device seed;
    std::mt19937 random(seed());
    std::string temp;
    int raw = -1;
    for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
        std::string stem = base.size() > 200 ? base.substr(0, 200) : base;
        temp = folder + "/." + stem + "." + std::to_string(random() % 1000000) + ".tmp";
        raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (raw < 0 && errno != EEXIST) FailSave(path, Reason(errno));
    }
    if (raw < 0) FailSave(path, Reason(EEXIST));
    Fd fd(raw);
    struct Remove {
        const std::string& name;
        bool keep = false;
        ~Remove() {
            if (!keep) ::unlink(name.c_str());
        }
    } remove{temp};

    if (exists && S_ISREG(old.st_mode)) (void)::fchmod(fd.get(), old.st_mode & 07777);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) FailSave(path, Reason(n < 0 ? errno : EIO));
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0 && errno != EINVAL && errno != EROFS) FailSave(path, Reason(errno));
    if (!fd.Close()) FailSave(path, Reason(errno));
    if (::rename(temp.c_str(), target.c_str()) != 0) FailSave(path, Reason(errno));
    remove.keep = true;
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

}  // namespace lorvane::rtf
