// Restores an arbitrary byte buffer through ":STREAM" into a temporary
// folder. The first byte picks RestoreFullPath, the restore mode and whether
// a progress handler runs; the rest is the archive. Aborts when anything was written outside the
// destination.

#include <stdlib.h>
#include <unistd.h>

#include <QBuffer>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "backup.h"

namespace fs = std::filesystem;

namespace {

struct Sandbox {
    fs::path root, dest;
    Sandbox() {
        std::string pattern = (fs::temp_directory_path() / "lorvane-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) abort();
        root = pattern;
        dest = root / "dest";
    }
    ~Sandbox() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

bool OnlyTheDestination(const Sandbox& s) {
    for (const auto& e : fs::directory_iterator(s.root))
        if (e.path() != s.dest) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Sandbox sandbox;
    if (size == 0) return 0;
    QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);

    lorvane::TBackupFile backup;
    backup.SourceStream = &buffer;
    backup.OnError = [](lorvane::TBackupFile*, int, const QString&) {};
    backup.SetRestoreFullPath(data[0] & 1);
    backup.SetRestoreMode(static_cast<lorvane::TBackupFile::TRestoreMode>((data[0] >> 1) % 5));
    if (data[0] & 0x80) {
        backup.OnProgress = [](lorvane::TBackupFile*, const QString&, int percent, bool&) {
            if (percent < 0 || percent > 100) abort();
        };
    }
    try {
        backup.Restore(":STREAM", QString::fromStdString(sandbox.dest.string()));
    } catch (const lorvane::BackupError&) {
    }
    if (!OnlyTheDestination(sandbox)) {
        std::fprintf(stderr, "a member was written outside the destination folder\n");
        abort();
    }
    std::error_code ec;
    fs::remove_all(sandbox.dest, ec);
    return 0;
}
