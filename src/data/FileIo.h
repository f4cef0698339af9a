#pragma once

// The one layer through which the program reads and writes its own small
// files (the list of Bibles, signets, the session, choices, notes).
//
// - A read is capped in size: a file larger than the cap is an error, never
//   a huge allocation.
// - A write is atomic and durable: the bytes go to a temporary file beside
//   the target, that file is flushed to the disk (fsync), renamed over the
//   target, and the folder is flushed in turn so that the rename itself
//   survives a power cut. A reader sees the old file or the new one, whole.
// - A lock is an flock() on a lock file beside what it guards, held for a
//   read-change-write so that two programs never lose each other's change.
//
// Failures are FileError: a kind a caller can test, the errno, the path,
// and one French sentence for the reader (what()). Paths are bytes.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lorvane {

// One French reason per errno ("accès refusé", "le disque est plein"...),
// to follow a colon: lower case, without a final full stop. Never the
// system's English.
std::string FrenchReason(int error);

// Whether errno says the disk (or the reader's quota) is full.
bool IsNoSpace(int error);

class FileError : public std::runtime_error {
  public:
    enum class Kind {
        Missing,     // the file is not there
        NotAFile,    // a folder or a device where a file was expected
        TooLarge,    // larger than the read's cap
        Unreadable,  // there, but cannot be read
        Unwritable,  // cannot be written (rights, read-only disk...)
        NoSpace,     // the disk is full
    };
    FileError(Kind kind, std::string path, int error, const std::string& french);

    Kind kind() const { return kind_; }
    int error() const { return error_; }  // errno, 0 when none
    const std::string& path() const { return path_; }

  private:
    Kind kind_;
    int error_;
    std::string path_;
};

// The whole file, at most maxBytes long.
std::string ReadFile(const std::string& path, std::size_t maxBytes);

// Writes bytes to path as described above, with the given mode for a new
// file (an existing file keeps its own). The folder must exist.
void WriteFileAtomically(const std::string& path, std::string_view bytes, unsigned mode = 0644);

// Renames from over to (a file or a folder) and flushes the folders of
// both, so that the new name survives a power cut.
void RenameDurably(const std::string& from, const std::string& to);

// Flushes a folder's entries to the disk; errors are ignored (some file
// systems cannot).
void SyncFolder(const std::string& folder);

// An exclusive lock on the file at path (made when missing), held from
// construction to destruction. Blocks while another process holds it.
class FileLock {
  public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace lorvane
