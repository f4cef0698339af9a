#pragma once

// The reader's own folders and the small files the program keeps there
// between runs (choices, signets, the last session, the kept Bibles).
//
//   UserDataFolder()    ~/.local/share/lorvane   ($XDG_DATA_HOME/lorvane)
//   UserConfigFolder()  ~/.config/lorvane        ($XDG_CONFIG_HOME/lorvane)
//
// Both are found through QStandardPaths' generic locations, so they do not
// depend on the application's name. Nothing here creates a folder until a
// file is written.
//
// A kept file is small and plain; it is written whole and durably
// (WriteFileAtomically: a temporary file flushed to the disk, renamed over
// the old one, the folder flushed), so a program killed or a power cut
// while writing leaves the old file, and two instances writing at once
// leave one whole file: the last writer's. Reading never fails: a file that is
// missing, unreadable or larger than the limit reads as nullopt, and the
// caller starts from its defaults.

#include <QByteArray>
#include <QString>
#include <optional>

namespace lorvane {

QString UserDataFolder();
QString UserConfigFolder();

// Writes `bytes` to `path` atomically, creating its folder. On failure
// returns false and, when `error` is given, a French sentence naming the
// file and the reason for the reader.
bool WriteUserFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// The content of a kept file, or nullopt when it is missing, unreadable or
// larger than maxBytes. A file that exists but cannot be read is reported on
// standard error in one line.
inline constexpr qint64 kUserFileLimit = 4 * 1024 * 1024;
std::optional<QByteArray> ReadUserFile(const QString& path, qint64 maxBytes = kUserFileLimit);

}  // namespace lorvane
