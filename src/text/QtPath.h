#pragma once

// The one place where file-system paths meet Qt's strings. A path is bytes
// (UTF-8 on Linux, but any bytes are possible); it crosses into Qt with
// QFile::decodeName and back with QFile::encodeName. Those two lose the
// bytes of a name that is not valid UTF-8, so such bytes travel as the lone
// surrogates U+DC80..U+DCFF and come back unchanged: every folder the
// program may sit in gives the same path on both sides.
//
// Files are opened from the byte path (ReadRegularFile, OpenQFile): Qt's
// own QFile(QString) would encode the escaped bytes wrongly.

#include <QIODevice>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QFile;

namespace lorvane {

QString PathToQt(std::string_view bytes);
std::string PathFromQt(const QString& path);

// "file://" + the folder or file, as the browser panes take it.
QString FileUrl(std::string_view path);

// The content of a regular file of at most maxBytes bytes. nullopt for a
// file that is missing, unreadable, a device, a pipe, a folder, or larger.
inline constexpr std::size_t kPageSizeLimit = 16 * 1024 * 1024;
std::optional<std::string> ReadRegularFile(const std::string& path,
                                           std::size_t maxBytes = kPageSizeLimit);
bool IsRegularFile(const std::string& path);

// Opens `file` (not yet open) on the byte path; the QFile owns the handle.
// ReadOnly refuses anything but a regular file. false with errno set when
// the open fails.
bool OpenQFile(QFile& file, const std::string& path, QIODevice::OpenMode mode);

}  // namespace lorvane
