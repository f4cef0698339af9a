#include <iostream>
#include <memory>

#include "Application.h"
#include "Communs.h"
#include "ImportCommand.h"
#include "Startup.h"

int main(int argc, char** argv) {
    std::unique_ptr<lorvane::Communs> communs;
    try {
        communs = std::make_unique<lorvane::Communs>(lorvane::Communs::ExecutableDir());
    } catch (const std::exception& e) {
        std::cerr << "lorvane: " << e.what() << std::endl;
        return 1;
    }
    lorvane::ClearImportLeftovers(communs->AppDir);
    lorvane::TApplication app(argc, argv);
    // The tables load while the splash and the windows are made.
    auto tables = lorvane::LoadTablesAhead(communs->AppDir);
    return lorvane::StartLorvane(*communs, std::move(tables));
}
