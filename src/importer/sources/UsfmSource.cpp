#include "UsfmSource.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>

#include "Canon.h"
#include "FormSniffing.h"
#include "Reasons.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Megabytes(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " Mo";
}

[[noreturn]] void TooLarge(const std::string& name, std::size_t cap) {
    throw ImportError("Le fichier « " + name + " » dépasse " + Megabytes(cap) +
                      " une fois décompressé : il n'est pas lu.");
}

[[noreturn]] void TooLargeInAll(std::size_t cap) {
    throw ImportError("Les livres de cette archive dépassent " + Megabytes(cap) +
                      " une fois décompressés : elle n'est pas lue.");
}

void CheckCancel(const CancelCheck& cancelled) {
    if (cancelled && cancelled()) throw ImportCancelled();
}

// The last component of an entry's path, whichever separator it uses.
std::string BaseName(const char* path) {
    std::string p = path ? path : "";
    std::size_t slash = p.find_last_of("/\\");
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

struct ArchiveCloser {
    void operator()(struct archive* a) const { archive_read_free(a); }
};

[[noreturn]] void Damaged(struct archive* a) {
    const char* why = archive_error_string(a);
    std::cerr << "import: damaged archive: " << (why ? why : "?") << "\n";
    throw ImportError(kDamagedDownload);
}

// A regular file read whole, refused beyond the cap without reading it all.
std::string ReadCapped(const fs::path& path, std::size_t cap, const std::string& name) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) throw ImportError(UnreadableFile(path, errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw ImportError("« " + path.string() + " » n'est pas un fichier.");
    if (static_cast<std::uintmax_t>(st.st_size) > cap) TooLarge(name, cap);
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw ImportError(UnreadableFile(path, errno));
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

// The first bytes of a file, "" when it cannot be read.
std::string Head(const fs::path& path, std::size_t size) {
    std::string head(size, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return {};
    const ssize_t n = ::read(fd, head.data(), head.size());
    ::close(fd);
    head.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return head;
}

bool StartsAsZip(const fs::path& path) {
    char magic[2] = {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    const bool zip = ::read(fd, magic, 2) == 2 && magic[0] == 'P' && magic[1] == 'K';
    ::close(fd);
    return zip;
}

}  // namespace

bool IsUsfmFileName(const std::string& name) {
    const std::string lower = Lower(name);
    auto endsWith = [&](const char* ext) {
        const std::size_t n = std::strlen(ext);
        return lower.size() > n && lower.compare(lower.size() - n, n, ext) == 0;
    };
    return endsWith(".usfm") || endsWith(".sfm");
}

std::vector<SourceFile> ReadUsfmArchive(const fs::path& path, const SourceLimits& limits,
                                        const CancelCheck& cancelled) {
    std::unique_ptr<struct archive, ArchiveCloser> a(archive_read_new());
    if (!a) throw std::bad_alloc();
    archive_read_support_filter_all(a.get());
    archive_read_support_format_all(a.get());
    // A file the reader may not read is said so, not taken for no archive.
    if (const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK); fd < 0)
        throw ImportError(UnreadableFile(path, errno));
    else
        ::close(fd);
    if (archive_read_open_filename(a.get(), path.c_str(), 64 * 1024) != ARCHIVE_OK) {
        // A file that is no archive at all is not a damaged one: only what
        // starts as a zip is said to be damaged.
        if (!StartsAsZip(path)) throw ImportError(kNoBibleHere);
        Damaged(a.get());
    }

    std::vector<SourceFile> files;
    std::size_t total = 0;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        CheckCancel(cancelled);
        struct archive_entry* entry = nullptr;
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF) break;
        if (r < ARCHIVE_WARN) Damaged(a.get());
        const std::string name = BaseName(archive_entry_pathname(entry));
        if (archive_entry_filetype(entry) != AE_IFREG) continue;
        const bool usfmName = IsUsfmFileName(name);
        // The size the entry claims is only a hint: the cap holds on the
        // bytes actually read.
        if (usfmName && archive_entry_size_is_set(entry) && archive_entry_size(entry) >= 0 &&
            static_cast<std::uint64_t>(archive_entry_size(entry)) > limits.perFile)
            TooLarge(name, limits.perFile);
        SourceFile file{name, {}};
        for (bool first = true;; first = false) {
            const la_ssize_t n = archive_read_data(a.get(), buffer.data(), buffer.size());
            // Any entry may hold a Bible: its first bytes tell.
            if (first && !usfmName &&
                (n <= 0 || DetectBibleForm({buffer.data(), static_cast<std::size_t>(n)}) ==
                               BibleForm::Unknown))
                break;
            if (n == 0) break;
            if (n < 0) {
                if (n == ARCHIVE_WARN) continue;
                Damaged(a.get());
            }
            const auto got = static_cast<std::size_t>(n);
            if (file.bytes.size() + got > limits.perFile) TooLarge(name, limits.perFile);
            if (total + got > limits.total) TooLargeInAll(limits.total);
            file.bytes.append(buffer.data(), got);
            total += got;
        }
        if (!file.bytes.empty() || usfmName) files.push_back(std::move(file));
    }
    return files;
}

std::string BookFileSet(const std::string& name) {
    std::string stem = name.substr(0, name.rfind('.'));
    std::size_t at = 0;
    while (at < stem.size() && std::isdigit(static_cast<unsigned char>(stem[at])))
        ++at;
    if (at > 0 && at < stem.size() && (stem[at] == '-' || stem[at] == '_')) ++at;
    if (stem.size() < at + 3) return {};
    // The code of a book or of a part of a Bible, not the start of a word
    // ("01-Genesis", "00-Front Page").
    const std::string_view code = std::string_view(stem).substr(at, 3);
    static constexpr std::string_view kParts[] = {"FRT", "INT", "BAK", "OTH", "CNC",
                                                  "GLO", "TDX", "NDX", "XXA", "XXB",
                                                  "XXC", "XXD", "XXE", "XXF", "XXG"};
    if (datawriter::BookNumberOfCode(code) == 0 && datawriter::OutsideBookName(code).empty() &&
        std::find(std::begin(kParts), std::end(kParts), code) == std::end(kParts))
        return {};
    return stem.substr(at + 3);
}

namespace {

// The regular files of a folder whose name `wanted` keeps, in name order.
std::vector<fs::path> FolderFiles(const fs::path& folder,
                                  const std::function<bool(const std::string&)>& wanted) {
    std::error_code ec;
    std::vector<fs::path> paths;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (wanted(it->path().filename().string()) && it->is_regular_file(typeEc))
            paths.push_back(it->path());
    }
    if (ec)
        throw ImportError("Impossible de lire le dossier « " + folder.string() +
                          " » : " + FrenchReason(ec.value()) + ".");
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The files, read within the limits; those `skip` sets aside (from their
// path) are not read.
std::vector<SourceFile> ReadFiles(const std::vector<fs::path>& paths, const SourceLimits& limits,
                                  const CancelCheck& cancelled,
                                  const std::function<bool(const fs::path&)>& skip = {}) {
    std::vector<SourceFile> files;
    std::size_t total = 0;
    for (const fs::path& p : paths) {
        CheckCancel(cancelled);
        if (skip && skip(p)) continue;
        const std::string name = p.filename().string();
        std::string bytes = ReadCapped(p, limits.perFile, name);
        total += bytes.size();
        if (total > limits.total) TooLargeInAll(limits.total);
        files.push_back({name, std::move(bytes)});
    }
    return files;
}

}  // namespace

std::vector<SourceFile> ReadUsfmFolder(const fs::path& folder, const SourceLimits& limits,
                                       const CancelCheck& cancelled, const std::string& sameSetAs) {
    const std::string set = sameSetAs.empty() ? std::string() : BookFileSet(sameSetAs);
    return ReadFiles(FolderFiles(folder,
                                 [&](const std::string& name) {
                                     return IsUsfmFileName(name) &&
                                            (sameSetAs.empty() || BookFileSet(name) == set);
                                 }),
                     limits, cancelled);
}

std::vector<SourceFile> ReadXmlFolder(const fs::path& folder, const SourceLimits& limits,
                                      const CancelCheck& cancelled) {
    return ReadFiles(FolderFiles(folder,
                                 [](const std::string& name) {
                                     return Lower(fs::path(name).extension().string()) == ".xml";
                                 }),
                     limits, cancelled, [](const fs::path& p) {
                         const BibleForm form = DetectBibleForm(Head(p, 65536));
                         return form == BibleForm::Unknown || form == BibleForm::Usfm;
                     });
}

std::vector<SourceFile> ReadUsfmSource(const fs::path& path, const SourceLimits& limits,
                                       const CancelCheck& cancelled) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || status.type() == fs::file_type::not_found)
        throw ImportError("Le fichier « " + path.string() + " » est introuvable.");
    if (status.type() == fs::file_type::directory) {
        std::vector<SourceFile> files = ReadUsfmFolder(path, limits, cancelled);
        return files.empty() ? ReadXmlFolder(path, limits, cancelled) : files;
    }
    const std::string name = path.filename().string();
    if (IsUsfmFileName(name)) {
        const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
        return ReadUsfmFolder(folder, limits, cancelled, name);
    }
    if (status.type() != fs::file_type::regular)
        throw ImportError("« " + path.string() + " » n'est pas un fichier.");
    // A Bible in one file, whatever its name says.
    const BibleForm form = DetectBibleForm(Head(path, 65536));
    if (form != BibleForm::Unknown) return {{name, ReadCapped(path, limits.perFile, name)}};
    return ReadUsfmArchive(path, limits, cancelled);
}

}  // namespace lorvane::importer
