#pragma once

// Writer of the study-page archive (them.dat): a header, one entry per
// member, each member's bytes cut into blocks of at most 16,384 bytes that
// are either one complete zlib stream or stored as they are, and a final
// name length of 0. Optionally split into volumes (them.dat, them.002, ...).

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace lorvane::archive {

// The largest number of member bytes in one block, before or after
// inflating.
inline constexpr std::size_t kMaxBlockSize = 16384;
// The four bytes that open every member's data: "EC2" and a zero byte.
inline constexpr char kDataMarker[4] = {'E', 'C', '2', '\0'};

struct Member {
    std::string storedName;      // e.g. "glossaire.htm" (bytes, as stored)
    std::uint32_t fileDate = 0;  // MS-DOS date (high 16 bits) and time (low 16 bits), local time
    std::string bytes;           // the member's content
};

struct WriterOptions {
    std::string title = "Lorvane";
    std::int32_t headerValue2 = 0;
    int zlibLevel = 9;              // 0 means: store every block
    std::size_t blockSize = 16384;  // at most 16384
    bool fileList = true;           // add a "FILE:LIST" member listing the stored names
    std::size_t volumeSize = 0;     // 0: one file; else split into volumes of about this many bytes
};

// Writes path (and path with extension .002, .003 ... for volumes, with
// NEXT:DISK entries). Throws std::runtime_error when a file cannot be
// written, std::invalid_argument on options or members the format cannot
// hold.
void WriteArchive(const std::string& path, const std::vector<Member>& members,
                  const WriterOptions& options = {});

// The single-volume archive as bytes (volumeSize ignored).
std::string EncodeArchive(const std::vector<Member>& members, const WriterOptions& options = {});

// The volumes of the archive as bytes, first volume first; one volume when
// options.volumeSize is 0.
std::vector<std::string> EncodeVolumes(const std::vector<Member>& members,
                                       const WriterOptions& options = {});

// The name of volume n (2, 3, ...) of an archive: its extension replaced by
// ".002", ".003" ...
std::string VolumeName(const std::string& path, int n);

// MS-DOS date/time of a time_t, in local time (clamped to 1980-2107); and
// back.
std::uint32_t ToDosDateTime(std::time_t t);
std::time_t FromDosDateTime(std::uint32_t dos);

}  // namespace lorvane::archive
