#include "SwordConf.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "UsfmSource.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

[[noreturn]] void Damaged() {
    throw ImportError("Ce module SWORD est endommagé : son index désigne des données absentes.");
}

std::uint32_t Le32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint32_t Le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}

std::string ReadWhole(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

std::string SwordConf::Get(const std::string& key) const {
    auto it = entries.find(key);
    return it == entries.end() ? std::string() : it->second;
}

SwordConf ParseSwordConf(std::string_view bytes) {
    if (bytes.size() > (std::size_t{1} << 20))
        throw ImportError("Ce fichier .conf est trop grand pour décrire un module SWORD.");
    SwordConf conf;
    std::string pendingKey;  // a value continued on the next line
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (!pendingKey.empty()) {
            std::string_view more = Trim(line);
            const bool goesOn = !more.empty() && more.back() == '\\';
            if (goesOn) more.remove_suffix(1);
            conf.entries[pendingKey] += std::string(more);
            if (!goesOn) pendingKey.clear();
            continue;
        }
        line = Trim(line);
        if (line.empty() || line.front() == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (!conf.name.empty()) break;  // one module a file
            if (close == std::string_view::npos || close == 1)
                throw ImportError("Ce fichier .conf ne décrit aucun module SWORD.");
            conf.name = std::string(line.substr(1, close - 1));
            continue;
        }
        const std::size_t eq = line.find('=');
        if (conf.name.empty()) throw ImportError("Ce fichier .conf ne décrit aucun module SWORD.");
        if (eq == std::string_view::npos || eq == 0) continue;
        const std::string key(Trim(line.substr(0, eq)));
        std::string_view value = Trim(line.substr(eq + 1));
        const bool goesOn = !value.empty() && value.back() == '\\';
        if (goesOn) value.remove_suffix(1);
        if (conf.entries.count(key)) {
            if (goesOn) pendingKey.clear();  // a repeated key: its first value stands
            continue;
        }
        conf.entries[key] = std::string(value);
        if (goesOn) pendingKey = key;
    }
    if (conf.name.empty()) throw ImportError("Ce fichier .conf ne décrit aucun module SWORD.");
    return conf;
}

bool LooksLikeSwordConf(std::string_view bytes) {
    try {
        return ParseSwordConf(bytes.substr(0, std::size_t{1} << 20)).Has("ModDrv");
    } catch (const ImportError&) {
        return false;
    }
}

SwordModuleFacts CheckSwordConf(const SwordConf& conf, bool commentaries) {
    SwordModuleFacts facts;
    facts.driver = conf.Get("ModDrv");
    const std::string& d = facts.driver;
    facts.commentary = d == "RawCom" || d == "RawCom4" || d == "zCom" || d == "zCom4";
    if (facts.commentary && !commentaries)
        throw ImportError("Ce module SWORD est un commentaire, pas une Bible.");
    if (d == "HREFCom" || d == "RawFiles")
        throw ImportError(commentaries ? "Ce commentaire SWORD est d'une forme que Lorvane ne sait "
                                         "pas lire (pilote « " +
                                             d + " »)."
                                       : "Ce module SWORD est un commentaire, pas une Bible.");
    if (d == "RawLD" || d == "RawLD4" || d == "zLD")
        throw ImportError("Ce module SWORD est un dictionnaire, pas une Bible.");
    if (d == "RawGenBook") throw ImportError("Ce module SWORD est un livre, pas une Bible.");
    if (d != "RawText" && d != "RawText4" && d != "zText" && d != "zText4" && !facts.commentary)
        throw ImportError("Ce module SWORD n'est pas une Bible que Lorvane sait lire (pilote « " +
                          d + " »).");
    if (conf.Has("CipherKey"))
        throw ImportError("Ce module SWORD est chiffré : il lui faut la clé de son éditeur.");

    facts.markup = conf.Get("SourceType");
    if (facts.markup.empty() || facts.markup == "Plaintext") facts.markup = "plain";
    facts.compression = conf.Get("CompressType");
    if (facts.compression.empty()) facts.compression = "ZIP";

    // The data folder must stay under the library's root.
    fs::path path = fs::path(conf.Get("DataPath")).lexically_normal();
    if (!path.empty() && !path.has_filename()) path = path.parent_path();  // "texts/kjv/"
    bool inside = !path.empty() && path.is_relative();
    for (const fs::path& part : path)
        if (part == "..") inside = false;
    if (!inside)
        throw ImportError(
            "Ce module SWORD est mal formé : ses données seraient hors de son dossier.");
    facts.dataPath = path;
    return facts;
}

void CheckSwordIndex(const std::string& driver, std::string_view verseIndex,
                     std::string_view blockIndex, std::uint64_t dataSize, std::size_t blockCap,
                     std::set<std::int64_t>* bad) {
    auto badVerse = [bad](std::size_t record) {
        if (!bad) Damaged();
        bad->insert(static_cast<std::int64_t>(record));
    };
    // A commentary's files are those of a Bible of the same driver.
    const bool compressed = !driver.empty() && driver[0] == 'z';
    const bool wideSize = !driver.empty() && driver.back() == '4';
    if (!compressed) {
        const std::size_t step = wideSize ? 8 : 6;
        for (std::size_t at = 0; at + step <= verseIndex.size(); at += step) {
            const std::uint64_t offset = Le32(verseIndex, at);
            const std::uint64_t size =
                wideSize ? Le32(verseIndex, at + 4) : Le16(verseIndex, at + 4);
            if (size != 0 && offset + size > dataSize) badVerse(at / step);
        }
        return;
    }
    // The blocks: offset, size and inflated size, 4 bytes each.
    const std::size_t blocks = blockIndex.size() / 12;
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::uint64_t offset = Le32(blockIndex, b * 12);
        const std::uint64_t size = Le32(blockIndex, b * 12 + 4);
        const std::uint64_t inflated = Le32(blockIndex, b * 12 + 8);
        if (offset + size > dataSize) Damaged();
        if (inflated > blockCap)
            throw ImportError("Ce module SWORD est endommagé : un de ses blocs dépasserait " +
                              std::to_string(blockCap >> 20) + " Mo une fois décompressé.");
    }
    // The verses: block, offset within the inflated block, size.
    const std::size_t step = wideSize ? 12 : 10;
    for (std::size_t at = 0; at + step <= verseIndex.size(); at += step) {
        const std::uint64_t block = Le32(verseIndex, at);
        const std::uint64_t offset = Le32(verseIndex, at + 4);
        const std::uint64_t size = wideSize ? Le32(verseIndex, at + 8) : Le16(verseIndex, at + 8);
        if (size == 0) continue;
        if (block >= blocks || offset + size > Le32(blockIndex, block * 12 + 8))
            badVerse(at / step);
    }
}

void CheckSwordData(const SwordModuleFacts& facts, const fs::path& dataFolder, std::size_t blockCap,
                    SwordBadVerses* bad) {
    const bool compressed = !facts.driver.empty() && facts.driver[0] == 'z';
    int testaments = 0;
    // The compressed files are named after their blocks: ot.bzv for books,
    // ot.czv for chapters, ot.vzv for verses.
    for (const char* t : {"ot", "nt"}) {
        for (const char* kind :
             compressed ? std::vector<const char*>{"b", "c", "v"} : std::vector<const char*>{""}) {
            const std::string base = (dataFolder / t).string();
            const std::string z = std::string(".") + kind + "z";
            const fs::path verseIndex = compressed ? base + z + "v" : base + ".vss";
            const fs::path data = compressed ? base + z + "z" : base;
            std::error_code ec;
            if (!fs::is_regular_file(verseIndex, ec)) continue;
            ++testaments;
            const std::uint64_t dataSize =
                fs::is_regular_file(data, ec) ? fs::file_size(data, ec) : 0;
            CheckSwordIndex(facts.driver, ReadWhole(verseIndex),
                            compressed ? ReadWhole(base + z + "s") : std::string(),
                            ec ? 0 : dataSize, blockCap,
                            bad ? (t[0] == 'o' ? &bad->ot : &bad->nt) : nullptr);
        }
    }
    if (testaments == 0)
        throw ImportError("Ce module SWORD est incomplet : ses données sont absentes.");
}

bool MendIndexDriver(std::string& confBytes, SwordModuleFacts& facts, const fs::path& dataFolder) {
    std::string& driver = facts.driver;
    if (driver.empty() || driver.back() != '4') return false;
    const bool compressed = driver[0] == 'z';
    const std::uintmax_t older = compressed ? 10 : 6, newer = compressed ? 12 : 8;
    static const char* const kIndexes[2][2] = {{"ot.vss", "nt.vss"}, {"ot.bzv", "nt.bzv"}};
    int seen = 0;
    for (const char* name : kIndexes[compressed ? 1 : 0]) {
        std::error_code e;
        const std::uintmax_t size = fs::file_size(dataFolder / name, e);
        if (e || size == 0) continue;
        if (size % older != 0 || size % newer == 0) return false;
        ++seen;
    }
    if (seen == 0) return false;
    const std::string from = "ModDrv=" + driver;
    driver.pop_back();
    const std::string to = "ModDrv=" + driver;
    for (std::size_t at = confBytes.find(from); at != std::string::npos;
         at = confBytes.find(from, at + to.size()))
        confBytes.replace(at, from.size(), to);
    return true;
}

}  // namespace lorvane::importer
