#include "SessionFile.h"

#include <QFile>
#include <iostream>

#include "UserFiles.h"

namespace lorvane {
namespace {

QString SessionPath() {
    return UserConfigFolder() + QStringLiteral("/session.txt");
}

}  // namespace

std::optional<Session> ReadSessionFile() {
    const QString path = SessionPath();
    const std::optional<QByteArray> bytes = ReadUserFile(path);
    if (!bytes) return std::nullopt;
    std::optional<Session> session =
        ReadSession(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    if (!session)
        std::cerr << "lorvane: " << QFile::encodeName(path).constData()
                  << " cannot be read; the program starts at Gen\xC3\xA8se 1" << std::endl;
    return session;
}

void WriteSessionFile(const Session& session) {
    const std::string text = WriteSession(session);
    WriteUserFile(SessionPath(), QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace lorvane
