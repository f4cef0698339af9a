#pragma once

// The .conf file that describes a SWORD module: "[Name]" then "Key=Value"
// lines, a value continued on the next line after a trailing "\". Read
// without libsword, so that a module is judged (its kind, its driver, where
// its data are, whether it is encrypted) before anything of it is opened.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace lorvane::importer {

struct SwordConf {
    std::string name;                            // the section, "engWEB2015eb"
    std::map<std::string, std::string> entries;  // the first value of each key

    // The value of a key, "" when it is not there.
    std::string Get(const std::string& key) const;
    bool Has(const std::string& key) const { return entries.count(key) != 0; }
};

// Throws ImportError when the bytes are no module description (no section
// before the first key, a file beyond 1 MB).
SwordConf ParseSwordConf(std::string_view bytes);

// Whether the bytes look like a module's .conf: a section line first
// (after comments and blank lines) and a ModDrv key.
bool LooksLikeSwordConf(std::string_view bytes);

// What a Bible module is, from its .conf: the driver ("zText"), the
// markup ("OSIS", "ThML", "GBF", "TEI" or "plain"), the compression, and
// its data folder under the library's root. Throws ImportError with the
// reader's message: a commentary, a dictionary or a book, an encrypted
// module, a driver this program does not read, or a DataPath that leads
// outside the root.
// With `commentaries`, a commentary module of the drivers RawCom, RawCom4,
// zCom and zCom4 is taken too, `commentary` set.
struct SwordModuleFacts {
    std::string driver, markup, compression;
    std::filesystem::path dataPath;  // relative to the root, without ".."
    bool commentary = false;
};
SwordModuleFacts CheckSwordConf(const SwordConf& conf, bool commentaries = false);

// A module whose .conf names a driver of 32-bit sizes (zCom4, zText4,
// RawCom4, RawText4) while the index files of `dataFolder` hold records of
// 16-bit sizes (10 bytes a verse compressed, 6 raw), as Debian's Matthew
// Henry does, is read through the driver its index was written for, or
// every verse would be read from the wrong place: facts.driver loses its
// "4", and so does the ModDrv line of `confBytes`. True when mended.
bool MendIndexDriver(std::string& confBytes, SwordModuleFacts& facts,
                     const std::filesystem::path& dataFolder);

// Checks the index files of the module's data folder against the data they
// point into: every verse within its data file (or its compressed block),
// every block within the compressed file and no block that would inflate
// beyond `blockCap` bytes. Throws ImportError when one does not. With
// `bad`, a verse that points outside its data is not an error: its number
// in its Testament's index is added to bad->ot or bad->nt, for the verse
// to be left unread.
struct SwordBadVerses {
    std::set<std::int64_t> ot, nt;
};
void CheckSwordData(const SwordModuleFacts& facts, const std::filesystem::path& dataFolder,
                    std::size_t blockCap = std::size_t{64} << 20, SwordBadVerses* bad = nullptr);

// The same checks on the bytes of one testament's files: the verse index,
// the block index (empty for the raw drivers) and the size of the data or
// compressed file.
void CheckSwordIndex(const std::string& driver, std::string_view verseIndex,
                     std::string_view blockIndex, std::uint64_t dataSize, std::size_t blockCap,
                     std::set<std::int64_t>* bad = nullptr);

}  // namespace lorvane::importer
