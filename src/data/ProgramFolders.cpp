#include "ProgramFolders.h"

#include "FileIo.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace lorvane {
namespace {

namespace fs = std::filesystem;

#ifdef LORVANE_SHARED_INSTALL
constexpr bool kSharedInstall = true;
#else
constexpr bool kSharedInstall = false;
#endif

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

// With the process's effective ids and capabilities: root without
// CAP_DAC_OVERRIDE is refused as any user is; a read-only mount refuses all.
int WriteAccess(const std::string& folder) {
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0) return 0;
    return errno;
}

}  // namespace

bool ProgramFolderWritable(const std::string& programDir) {
    if (kSharedInstall) return false;
    if (WriteAccess(programDir) != 0) return false;
    const std::string pages = WithSlash(programDir) + "them";
    std::error_code ec;
    return !fs::exists(fs::symlink_status(pages, ec)) || WriteAccess(pages) == 0;
}

bool HasDataSet(const std::string& folder) {
    static const char* const kFiles[] = {"livre.dat", "bible.dat", "index.dat",
                                         "citat.dat", "refer.dat", "them.dat"};
    const std::string data = WithSlash(folder) + "data/";
    std::error_code ec;
    for (const char* name : kFiles)
        if (!fs::is_regular_file(data + name, ec)) return false;
    return true;
}

ProgramFolders ChooseProgramFolders(const std::string& programDir, const std::string& userDataDir) {
    ProgramFolders folders;
    folders.program = WithSlash(programDir);
    if (ProgramFolderWritable(folders.program)) {
        folders.pages = folders.bible = folders.program;
        return folders;
    }
    folders.pages = WithSlash(userDataDir) + "bible/";
    folders.bible = HasDataSet(folders.pages) ? folders.pages : folders.program;
    return folders;
}

std::string UnwritableFolderReason(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    int error = ec ? ec.value() : 0;
    if (!error && !fs::is_directory(folder, ec)) error = ENOTDIR;
    if (!error) error = WriteAccess(folder);
    if (!error) return {};
    std::string shown = folder;
    while (shown.size() > 1 && shown.back() == '/')
        shown.pop_back();
    return "Lorvane ne peut pas écrire dans le dossier « " + shown + " » : " + FrenchReason(error) +
           ". Il y range les pages qu'il affiche et les Bibles que vous importez.";
}

}  // namespace lorvane
