#pragma once

// Reading and saving the pad's files by byte path. A save never destroys
// the file it replaces: the bytes go to a new file in the same folder,
// which is renamed over the old one only once it is complete. Failures are
// exceptions with a French message naming the file and the reason.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lorvane::rtf {

class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::size_t kMaxDocumentSize = 256u * 1024 * 1024;

// The bytes of a regular file of at most maxBytes bytes.
std::string ReadDocumentFile(const std::string& path, std::size_t maxBytes = kMaxDocumentSize);

// Writes bytes to path: a temporary file beside it, flushed to the disk,
// then renamed over it. A symbolic link is followed: the file it names is
// replaced and the link stays. An existing file keeps its permissions.
// On failure the old file is untouched and no temporary file remains.
void SaveDocumentFile(const std::string& path, std::string_view bytes);

}  // namespace lorvane::rtf
