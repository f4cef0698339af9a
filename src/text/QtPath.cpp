#include "QtPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "Utf8.h"

namespace lorvane {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool IsEscape(char16_t u) {
    return u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF;
}

}  // namespace

QString PathToQt(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t n = utf8::SequenceLength(bytes, i);
        if (n == 0) break;
        i += n;
    }
    if (i == bytes.size())
        return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    QString out;
    i = 0;
    while (i < bytes.size()) {
        const std::size_t n = utf8::SequenceLength(bytes, i);
        if (n == 0) {
            out += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i])));
            ++i;
        } else {
            out += QString::fromUtf8(bytes.data() + i, static_cast<qsizetype>(n));
            i += n;
        }
    }
    return out;
}

std::string PathFromQt(const QString& path) {
    bool escaped = false;
    for (QChar c : path)
        if (IsEscape(c.unicode())) escaped = true;
    if (!escaped) return QFile::encodeName(path).toStdString();
    std::string out;
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
        out += QFile::encodeName(path.mid(start, end - start)).toStdString();
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!IsEscape(path[i].unicode())) continue;
        flush(i);
        out += static_cast<char>(path[i].unicode() - kEscapeBase);
        start = i + 1;
    }
    flush(path.size());
    return out;
}

QString FileUrl(std::string_view path) {
    return QStringLiteral("file://") + PathToQt(path);
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK: opening a pipe must not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // a file that shrank: what was read
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    return bytes;
}

bool OpenQFile(QFile& file, const std::string& path, QIODevice::OpenMode mode) {
    const bool write = mode & QIODevice::WriteOnly;
    if (!write) {
        // Devices and pipes are not files: reading them could block or
        // never end.
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return false;
        if (!S_ISREG(st.st_mode)) {
            errno = EISDIR;
            return false;
        }
    }
    const QByteArray bytes(path.data(), static_cast<qsizetype>(path.size()));
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) == bytes) {
        file.setFileName(name);
        return file.open(mode);
    }
    // A name Qt cannot spell: open it here and hand Qt the handle.
    int flags = O_CLOEXEC | O_NOCTTY;
    if (write && (mode & QIODevice::ReadOnly))
        flags |= O_RDWR | O_CREAT;
    else if (write)
        flags |= O_WRONLY | O_CREAT;
    else
        flags |= O_RDONLY;
    if (mode & QIODevice::Truncate) flags |= O_TRUNC;
    if (mode & QIODevice::Append) flags |= O_APPEND;
    if (mode & QIODevice::NewOnly) flags |= O_EXCL;
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) return false;
    const QIODevice::OpenMode qtMode =
        mode & ~(QIODevice::Truncate | QIODevice::NewOnly | QIODevice::ExistingOnly);
    if (!file.open(fd, qtMode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

}  // namespace lorvane
