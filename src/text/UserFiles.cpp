#include "UserFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

#include "FileIo.h"

namespace lorvane {

namespace {

QString Under(QStandardPaths::StandardLocation location, const char* fallback) {
    QString base = QStandardPaths::writableLocation(location);
    if (base.isEmpty()) base = QDir::homePath() + QLatin1String(fallback);
    return base + QStringLiteral("/lorvane");
}

}  // namespace

QString UserDataFolder() {
    return Under(QStandardPaths::GenericDataLocation, "/.local/share");
}

QString UserConfigFolder() {
    return Under(QStandardPaths::GenericConfigLocation, "/.config");
}

bool WriteUserFile(const QString& path, const QByteArray& bytes, QString* error) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error) *error = QStringLiteral("Impossible de créer le dossier « %1 ».").arg(folder);
        std::fprintf(stderr, "lorvane: cannot create %s\n", QFile::encodeName(folder).constData());
        return false;
    }
    try {
        WriteFileAtomically(
            QFile::encodeName(path).toStdString(),
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const FileError& e) {
        if (error) *error = QString::fromUtf8(e.what());
        std::fprintf(stderr, "lorvane: cannot write %s (errno %d)\n",
                     QFile::encodeName(path).constData(), e.error());
        return false;
    }
    return true;
}

std::optional<QByteArray> ReadUserFile(const QString& path, qint64 maxBytes) {
    QFileInfo info(path);
    if (!info.exists()) return std::nullopt;
    QFile file(path);
    if (!info.isFile() || info.size() > maxBytes || !file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "lorvane: ignoring %s (not a readable file of at most %lld bytes)\n",
                     QFile::encodeName(path).constData(), static_cast<long long>(maxBytes));
        return std::nullopt;
    }
    return file.read(maxBytes + 1).left(maxBytes);
}

}  // namespace lorvane
