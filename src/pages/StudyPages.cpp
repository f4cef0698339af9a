#include "StudyPages.h"

#include <filesystem>

#include "FctLoad.h"
#include "QtPath.h"
#include "backup.h"

namespace lorvane {

void UnpackStudyPages(Communs& c, BackupPrompts* prompts) {
    namespace fs = std::filesystem;
    const fs::path folder = c.Path("them");
    // Without the folder every page would be skipped and the start would
    // go on without them.
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) throw LoadError(folder.native(), "cannot create the folder");
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        // The pattern *.htm, matched as the Windows file system does:
        // without regard to case. Folders stay.
        std::string ext = it->path().extension().native();
        for (char& ch : ext)
            if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        if (ext == ".htm" && !it->is_directory(ec)) {
            std::error_code ignored;  // a failure is ignored
            fs::remove(it->path(), ignored);
        }
    }

    const std::string archive = c.BiblePath("data/them.dat");
    TBackupFile backup;
    backup.Prompts = prompts;
    bool restored = false;
    try {
        restored = backup.Restore(PathToQt(archive), PathToQt(folder.native() + '/'));
    } catch (const std::exception& e) {
        throw LoadError(archive, e.what());
    }
    if (!restored) throw LoadError(archive, "Fichiers thèmes introuvables");
}

void LoadDataFolder(Communs& c, BackupPrompts* prompts) {
    LoadAllTables(c);
    UnpackStudyPages(c, prompts);
}

}  // namespace lorvane
