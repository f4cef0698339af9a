#include "backup.h"

#include <zlib.h>

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QIODevice>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "Cp1252.h"
#include "QtPath.h"

namespace lorvane {
namespace {

constexpr char kDataMarker[4] = {'E', 'C', '2', '\0'};
constexpr char kNextDisk[] = "NEXT:DISK";
constexpr std::size_t kNextDiskLength = sizeof kNextDisk - 1;
const char* const kStreamName = ":STREAM";

QString FromCp1252(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char b : bytes)
        out += QChar(static_cast<char16_t>(cp1252::ToUnicode(static_cast<std::uint8_t>(b))));
    return out;
}

// The MS-DOS date and time (local) of a moment, or -1 when the format
// cannot hold it (before 1980, after 2107).
std::int32_t ToDosDateTime(const QDateTime& when) {
    const QDateTime local = when.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    if (!d.isValid() || d.year() < 1980 || d.year() > 2107) return -1;
    const std::uint32_t date = static_cast<std::uint32_t>(d.year() - 1980) << 9 |
                               static_cast<std::uint32_t>(d.month()) << 5 |
                               static_cast<std::uint32_t>(d.day());
    const std::uint32_t time = static_cast<std::uint32_t>(t.hour()) << 11 |
                               static_cast<std::uint32_t>(t.minute()) << 5 |
                               static_cast<std::uint32_t>(t.second() / 2);
    return static_cast<std::int32_t>(date << 16 | time);
}

// The local moment of an MS-DOS date and time; invalid when a field is out
// of range.
QDateTime FromDosDateTime(std::int32_t value) {
    const auto dos = static_cast<std::uint32_t>(value);
    const QDate d(static_cast<int>(dos >> 25) + 1980, static_cast<int>(dos >> 21 & 0x0F),
                  static_cast<int>(dos >> 16 & 0x1F));
    const QTime t(static_cast<int>(dos >> 11 & 0x1F), static_cast<int>(dos >> 5 & 0x3F),
                  static_cast<int>(dos & 0x1F) * 2);
    if (!d.isValid() || !t.isValid()) return {};
    return QDateTime(d, t, Qt::LocalTime);
}

// The archive name with its extension replaced by "." + ext: the extension
// is what follows the last '.' of the file-name part.
QString ReplaceExtension(const QString& name, const QString& ext) {
    const qsizetype dot = name.lastIndexOf(u'.');
    qsizetype sep = -1;
    for (QChar c : {QChar(u'/'), QChar(u'\\'), QChar(u':')})
        sep = std::max(sep, name.lastIndexOf(c));
    const QString base = dot > sep ? name.left(dot) : name;
    return base + u'.' + ext;
}

BackupError ReadFailure() {
    return BackupError(0, "Stream read error");
}

// Names cross into the file system as bytes (QtPath.h).
bool IsFile(const QString& name) {
    return IsRegularFile(PathFromQt(name));
}

QString CanonicalPath(const QString& name) {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::canonical(PathFromQt(name), ec);
    return ec ? name : PathToQt(p.native());
}

// The folder of a file path, created when missing.
bool MakeParentFolder(const QString& name) {
    const std::filesystem::path parent = std::filesystem::path(PathFromQt(name)).parent_path();
    if (parent.empty()) return true;
    std::error_code ec;
    std::filesystem::create_directories(parent, ec);
    return std::filesystem::is_directory(parent, ec);
}

}  // namespace

// The archive being read: the current volume and whether the restore opened
// it, and the volume files read so far.
struct TBackupFile::Source {
    QString archiveName;
    QIODevice* device = nullptr;
    std::unique_ptr<QFile> file;
    QStringList volumesRead;

    void Open(const QString& name) {
        file = std::make_unique<QFile>();
        if (!OpenQFile(*file, PathFromQt(name), QIODevice::ReadOnly)) {
            file.reset();
            throw BackupError(3, "Cannot read archive");
        }
        device = file.get();
        volumesRead << CanonicalPath(name);
    }
    void Close() {
        if (file) file->close();
        file.reset();
        device = nullptr;
    }
};

TBackupFile::TBackupFile(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
}

TBackupFile::~TBackupFile() = default;

void TBackupFile::SetBackupMode(TBackupMode v) {
    if (v != backupMode_ && v == bmIncremental) setArchiveFlag_ = true;
    backupMode_ = v;
}

QString TBackupFile::ErrorMessage(int code) {
    switch (code) {
        case 1:
            return QStringLiteral("Cannot read file");
        case 2:
            return QStringLiteral("Overwriting file failed");
        case 3:
            return QStringLiteral("Cannot read archive");
        case 4:
            return QStringLiteral("Cannot write to archive");
        case 5:
            return QStringLiteral("Invalid archive type");
        case 6:
            return QStringLiteral("Compression error");
        case 7:
            return QStringLiteral("Cannot create temporary file to save the file IDs");
        default:
            return {};
    }
}

QString TBackupFile::DiskPrompt(const QString& label) {
    return QStringLiteral("Please insert disk %1 and click OK to continue.").arg(label);
}

void TBackupFile::ReportError(int code) {
    const QString message = ErrorMessage(code);
    if (OnError) {
        OnError(this, code, message);
    } else if (Prompts) {
        Prompts->Error(message);
    } else {
        qWarning("%s", qPrintable(message));
    }
}

bool TBackupFile::Restore(const QString& ArchiveName, const QString& DestFolder) {
    QString destFolder = DestFolder;
    if (!destFolder.isEmpty() && !destFolder.endsWith(u'/')) destFolder += u'/';
    errorCode_ = 0;
    continueFlag_ = true;
    currentTarget_.clear();  // a continuation before any member has no file to go on

    Source src;
    src.archiveName = ArchiveName;
    if (ArchiveName == QLatin1String(kStreamName)) {
        if (!SourceStream || !SourceStream->isReadable())
            throw BackupError(3, "Cannot read archive");
        src.device = SourceStream;
    } else {
        if (!IsFile(ArchiveName)) return false;
        src.Open(ArchiveName);
    }
    try {
        const std::int32_t titleLength = ReadInt(*src.device);
        if (titleLength < 0) throw ReadFailure();
        Skip(*src.device, titleLength);
        totalBytes_ = ReadInt(*src.device);
        ReadInt(*src.device);  // HeaderValue2, not interpreted
    } catch (const std::exception&) {
        throw BackupError(3, "Cannot read archive");
    }
    processedBytes_ = 0;

    RestoreEntries(src, destFolder);
    src.Close();

    const bool result = errorCode_ == 0 && continueFlag_;
    if (OnProgress) {
        bool ignored = continueFlag_;
        OnProgress(this, QString(), 100, ignored);
    }
    if (errorCode_ != 0) ReportError(errorCode_);
    return result;
}

void TBackupFile::RestoreEntries(Source& src, const QString& destFolder) {
    bool decision = true;
    std::int32_t fileDate = 0;
    std::int32_t nameLength = 0;
    do {
        nameLength = ReadInt(*src.device);
        if (nameLength <= 0) continue;
        const std::string storedName = ReadBytes(*src.device, nameLength);
        if (storedName.compare(0, kNextDiskLength, kNextDisk) == 0) {
            SwitchVolume(src, storedName, decision, fileDate);
            continue;
        }
        fileDate = ReadInt(*src.device);
        const bool safe = MemberTarget(storedName, destFolder, currentTarget_);
        if (storedName == "FILE:LIST" || !safe) {
            decision = false;
        } else {
            decision = DecideByMode(fileDate);
            if (OnRestoreFile) OnRestoreFile(this, currentTarget_, fileDate, decision);
        }
        if (decision) decision = MakeParentFolder(currentTarget_);

        if (!decision) {
            ReadMemberData(*src.device, nullptr, false);
            continue;
        }
        auto file = std::make_unique<QFile>();
        bool opened = false;
        try {
            if (!OpenQFile(*file, PathFromQt(currentTarget_),
                           QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
                throw BackupError(1, "Cannot create " + currentTarget_.toStdString());
            opened = true;
            ReadMemberData(*src.device, file.get(), true);
        } catch (...) {
            errorCode_ = 1;
            continueFlag_ = false;
        }
        if (opened) FinishFile(file.get(), fileDate);
    } while (nameLength != 0 && continueFlag_);
}

bool TBackupFile::MemberTarget(const std::string& storedName, const QString& destFolder,
                               QString& target) const {
    // A name holding a NUL byte names no file that can be written safely.
    bool safe = storedName.find('\0') == std::string::npos;
    if (destFolder.isEmpty() || restoreFullPath_) {
        // A relative path below the destination: the stored name itself
        // without a destination, else without its drive ("C:\").
        std::string path = destFolder.isEmpty()
                               ? storedName
                               : (storedName.size() > 3 ? storedName.substr(3) : std::string());
        std::replace(path.begin(), path.end(), '\\', '/');
        if (!destFolder.isEmpty()) path.erase(0, path.find_first_not_of('/'));
        if (path.empty() || path.front() == '/') safe = false;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = path.find('/', start);
            const std::string segment = path.substr(start, end - start);
            if (segment == "..") safe = false;
            if (end == std::string::npos) {
                if (segment.empty() || segment == ".") safe = false;  // no file name
                break;
            }
            start = end + 1;
        }
        target = destFolder + FromCp1252(path);
    } else {
        const std::size_t sep = storedName.find_last_of("\\/:");
        const std::string name = sep == std::string::npos ? storedName : storedName.substr(sep + 1);
        if (name.empty() || name == "." || name == "..") safe = false;
        target = destFolder + FromCp1252(name);
    }
    return safe;
}

bool TBackupFile::DecideByMode(std::int32_t fileDate) const {
    if (restoreMode_ == rmAll) return true;
    struct stat st {};
    const bool exists = ::stat(PathFromQt(currentTarget_).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    const bool older =
        exists &&
        ToDosDateTime(QDateTime::fromSecsSinceEpoch(static_cast<qint64>(st.st_mtime))) < fileDate;
    switch (restoreMode_) {
        case rmNoOverwrite:
            return !exists;
        case rmNewer:
            return !exists || older;
        case rmExisting:
            return exists;
        case rmExistingNewer:
            return older;
        default:
            return true;
    }
}

void TBackupFile::SwitchVolume(Source& src, const std::string& storedName, bool decision,
                               std::int32_t fileDate) {
    src.Close();
    const std::string three = storedName.substr(kNextDiskLength, 3);
    if (three.size() != 3 ||
        !std::all_of(three.begin(), three.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw BackupError(0, "Invalid volume name");
    const QString digits = QString::fromLatin1(three.data(), 3);
    QString label = digits;
    while (label.startsWith(u'0'))
        label.remove(0, 1);
    const auto diskId = static_cast<std::uint16_t>(digits.toUInt());

    const QString next = ReplaceExtension(src.archiveName, digits);
    do {
        if (OnNeedDisk) {
            OnNeedDisk(this, diskId, continueFlag_);
        } else {
            continueFlag_ = Prompts && Prompts->InsertDisk(label);
        }
        src.archiveName = next;
    } while (!IsFile(next) && continueFlag_);
    if (!continueFlag_) return;

    // An archive that switches back to a volume already read would never end.
    if (src.volumesRead.contains(CanonicalPath(next)))
        throw BackupError(0, "Volume read twice: " + next.toStdString());
    src.Open(next);
    if (decision) {
        QFile file;
        if (currentTarget_.isEmpty() ||
            !OpenQFile(file, PathFromQt(currentTarget_),
                       QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            throw BackupError(1, "Cannot append to " + currentTarget_.toStdString());
        ReadMemberData(*src.device, &file, true);
        FinishFile(&file, fileDate);
    } else {
        ReadMemberData(*src.device, nullptr, false);
    }
}

void TBackupFile::FinishFile(QFile* opened, std::int32_t fileDate) {
    QFile* stream = opened;
    if (OnFileRestored) OnFileRestored(this, currentTarget_, stream);
    if (stream) {
        const QDateTime when = FromDosDateTime(fileDate);
        if (when.isValid()) stream->setFileTime(when, QFileDevice::FileModificationTime);
        stream->close();
    }
    opened->close();
}

void TBackupFile::ReadMemberData(QIODevice& source, QIODevice* target, bool restoring) {
    char marker[4];
    ReadExactly(source, marker, 4);
    if (std::memcmp(marker, kDataMarker, 4) != 0)
        throw BackupError(5, ErrorMessage(5).toStdString());
    restoring = restoring && target;
    if (!inBuffer_) inBuffer_ = std::make_unique<char[]>(kBufferSize);
    if (restoring && !outBuffer_) outBuffer_ = std::make_unique<char[]>(kBufferSize);

    auto write = [&](const char* data, qint64 n) {
        if (n > 0 && target->write(data, n) != n)
            throw BackupError(1, "Write error: " + target->errorString().toStdString());
    };

    bool ended = false;
    while (continueFlag_ && !ended) {
        const std::int32_t length = ReadInt(source);
        const qint64 n = std::abs(static_cast<qint64>(length));
        if (n > kBufferSize) throw BackupError(0, "Block length out of range");
        qint64 written = 0;
        if (n == 0) {
            ended = true;
        } else if (!restoring) {
            Skip(source, n);
        } else if (length > 0) {
            ReadExactly(source, inBuffer_.get(), n);
            z_stream zs{};
            zs.next_in = reinterpret_cast<Bytef*>(inBuffer_.get());
            zs.avail_in = static_cast<uInt>(n);
            zs.next_out = reinterpret_cast<Bytef*>(outBuffer_.get());
            zs.avail_out = kBufferSize;
            int rc = inflateInit(&zs);
            if (rc == Z_OK) {
                rc = inflate(&zs, Z_NO_FLUSH);
                written = kBufferSize - static_cast<qint64>(zs.avail_out);
                inflateEnd(&zs);
            }
            // A block is one complete zlib stream within the buffer: a stream
            // that fails, stops short or would go on past 16,384 bytes is a
            // compression error.
            if (rc != Z_STREAM_END) {
                errorCode_ = 6;
                continueFlag_ = false;
            }
            write(outBuffer_.get(), written);
        } else {
            ReadExactly(source, inBuffer_.get(), n);
            write(inBuffer_.get(), n);
            written = n;
        }

        if (QCoreApplication::instance()) QCoreApplication::processEvents();

        if (restoring) {
            processedBytes_ += written;
            if (OnProgress) {
                int percent = 100;
                if (totalBytes_ > 0) {
                    const double p =
                        std::nearbyint(static_cast<double>(processedBytes_) * 100.0 / totalBytes_);
                    percent = static_cast<int>(std::clamp(p, 0.0, 100.0));
                }
                OnProgress(this, currentTarget_, percent, continueFlag_);
            }
        }
    }
}

void TBackupFile::ReadExactly(QIODevice& source, char* into, qint64 n) {
    qint64 done = 0;
    while (done < n) {
        const qint64 got = source.read(into + done, n - done);
        if (got <= 0) throw ReadFailure();
        done += got;
    }
}

void TBackupFile::Skip(QIODevice& source, qint64 n) {
    if (n <= 0) return;
    if (!source.isSequential()) {
        if (source.size() - source.pos() < n || !source.seek(source.pos() + n)) throw ReadFailure();
        return;
    }
    if (!inBuffer_) inBuffer_ = std::make_unique<char[]>(kBufferSize);
    while (n > 0) {
        const qint64 step = std::min<qint64>(n, kBufferSize);
        ReadExactly(source, inBuffer_.get(), step);
        n -= step;
    }
}

std::int32_t TBackupFile::ReadInt(QIODevice& source) {
    unsigned char b[4];
    ReadExactly(source, reinterpret_cast<char*>(b), 4);
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
        static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

std::string TBackupFile::ReadBytes(QIODevice& source, std::int32_t n) {
    // Never reserve more than the source can still hold.
    if (!source.isSequential() && source.size() - source.pos() < n) throw ReadFailure();
    std::string out;
    while (static_cast<std::int32_t>(out.size()) < n) {
        const std::size_t step =
            std::min<std::size_t>(static_cast<std::size_t>(n) - out.size(), kBufferSize);
        const std::size_t at = out.size();
        out.resize(at + step);
        ReadExactly(source, out.data() + at, static_cast<qint64>(step));
    }
    return out;
}

}  // namespace lorvane
