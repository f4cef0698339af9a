#pragma once

// SWORD modules as the reader chooses them: a zip as a SWORD repository
// gives it (mods.d/*.conf and modules/texts/...), or the module's .conf in
// an unzipped library. The module is read by lorvane-sword-import, a
// process of its own beside the program, so that the program never loads
// libsword.

#include <filesystem>

#include "BibleFile.h"
#include "UsfmSource.h"

namespace lorvane::importer {

// Whether `source` is a SWORD module: a file whose text is a module's
// .conf, or an archive with an entry .../mods.d/NAME.conf.
bool IsSwordSource(const std::filesystem::path& source);

// lorvane-sword-import beside the running program.
std::filesystem::path SwordHelperPath();

// Runs `helper` on `source` in a scratch folder made in `scratch` and reads
// the Bible it writes. Throws ImportError with the helper's French message
// when it refuses the module, or saying that `scratch` lacks room when the
// disk fills; ImportCancelled when `cancelled` says so (the helper is
// stopped). When the module is a commentary, it goes to `commentary` and
// the Bible returned is empty; without `commentary`, a commentary is
// refused.
HelperBible ReadSwordSource(const std::filesystem::path& source,
                            const std::filesystem::path& helper,
                            const std::filesystem::path& scratch, const CancelCheck& cancelled = {},
                            HelperCommentary* commentary = nullptr);

// The helper's exit status when the disk is full; its standard output then
// holds the bytes it needed, in decimal.
inline constexpr int kHelperNoSpace = 3;

}  // namespace lorvane::importer
