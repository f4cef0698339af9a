#include <iostream>
#include <memory>

#include "Application.h"
#include "BibleShelf.h"
#include "Communs.h"
#include "ImportCommand.h"
#include "ProgramFolders.h"
#include "QtPath.h"
#include "Startup.h"
#include "UserFiles.h"

int main(int argc, char** argv) {
    std::string programDir;
    try {
        programDir = lorvane::Communs::ExecutableDir();
    } catch (const std::exception& e) {
        std::cerr << "lorvane: " << e.what() << std::endl;
        return 1;
    }
    lorvane::TApplication app(argc, argv);
    // The pages go to the reader's own folder when the program's cannot
    // take them (ProgramFolders.h).
    const lorvane::ProgramFolders folders =
        lorvane::ChooseProgramFolders(programDir, lorvane::PathFromQt(lorvane::UserDataFolder()));
    // The reader's Bibles are kept in the reader's data folder, beside the
    // one in the program's folders and those the program ships in its
    // originaux/; the one chosen last is shown.
    lorvane::bibles::BibleShelf shelf(lorvane::PathFromQt(lorvane::UserDataFolder()) + "/bibles/",
                                      folders.bible, folders.program);
    shelf.Load();
    shelf.RemoveLeftovers();
    auto communs = std::make_unique<lorvane::Communs>(folders.pages, shelf.CurrentDir());
    lorvane::ClearImportLeftovers(communs->AppDir);
    // The tables load while the splash and the windows are made.
    auto tables = lorvane::LoadTablesAhead(communs->AppDir, communs->BibleDir);
    return lorvane::StartLorvane(*communs, std::move(tables), folders.program, &shelf);
}
