#pragma once

// A scratch folder of the import's own, made in `parent` (the reader's cache
// folder) and removed with everything in it when the object goes, however
// the import ends. Its name carries the process id
// ("lorvane-import-1234-XXXXXX"), so that what a killed import left behind
// is known by its dead owner and cleared at the next start.

#include <cstdint>
#include <filesystem>

namespace lorvane::importer {

class ScratchFolder {
  public:
    // Makes `parent` when it is missing. Throws ImportError with a French
    // message (a full disk says so, naming `parent` and the `needed` bytes
    // the work will take).
    explicit ScratchFolder(const std::filesystem::path& parent, std::uintmax_t needed = 0);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Removes the scratch folders in `parent` whose process is gone; those of
// running processes and anything else stay. Never throws.
void RemoveDeadScratchFolders(const std::filesystem::path& parent);

}  // namespace lorvane::importer
