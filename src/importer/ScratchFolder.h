#pragma once

// A temporary folder of the import's own, made in `parent` and removed with
// everything in it when the object goes, however the import ends.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "UsfmSource.h"  // ImportError

namespace lorvane::importer {

class ScratchFolder {
  public:
    explicit ScratchFolder(const std::filesystem::path& parent) {
        std::string pattern = (parent / "lorvane-import-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw ImportError("Impossible de créer un dossier temporaire.");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace lorvane::importer
