// lorvane-sword-import SOURCE OUT: reads the SWORD Bible module of SOURCE (a
// zip as a SWORD repository gives it, or a module's .conf in its library
// folder) and writes the Bible into the file OUT for the program
// (EncodeHelperBible); a commentary module, when SOURCE holds no Bible,
// likewise (EncodeHelperCommentary). The program runs it as a process of its own, so
// that libsword is loaded only while a module is read.
//
// Exit status: 0 written; 2 refused, with the reader's French message on
// standard output; 3 (kHelperNoSpace) the disk is full, with the bytes it
// needed on standard output; 1 any other failure (English on standard
// error).

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

#include "BibleFile.h"
#include "BibleText.h"
#include "Canon.h"
#include "Commentary.h"
#include "Cp1252.h"
#include "Reasons.h"
#include "ScratchFolder.h"
#include "Sword.h"
#include "SwordCommentary.h"
#include "SwordConf.h"
#include "SwordSource.h"
#include "UsfmSource.h"

namespace {

namespace fs = std::filesystem;
using namespace lorvane::importer;

constexpr std::size_t kPerFile = std::size_t{256} << 20;
constexpr std::size_t kTotal = std::size_t{512} << 20;

struct ArchiveCloser {
    void operator()(struct archive* a) const { archive_read_free(a); }
};

[[noreturn]] void TooLarge() {
    throw ImportError("Ce module SWORD dépasse " + std::to_string(kTotal >> 20) +
                      " Mo une fois décompressé : il n'est pas lu.");
}

std::unique_ptr<struct archive, ArchiveCloser> OpenArchive(const fs::path& zip) {
    std::unique_ptr<struct archive, ArchiveCloser> a(archive_read_new());
    archive_read_support_filter_all(a.get());
    archive_read_support_format_all(a.get());
    if (archive_read_open_filename(a.get(), zip.c_str(), 64 * 1024) != ARCHIVE_OK)
        throw ImportError(kDamagedDownload);
    return a;
}

// The path of an entry without "./" and empty parts; "" when it holds "..".
std::string CleanEntryPath(const char* raw) {
    const fs::path p = fs::path(raw ? raw : "").lexically_normal();
    if (p.is_absolute()) return {};
    for (const fs::path& part : p)
        if (part == "..") return {};
    return p.generic_string();
}

// Reads the entry's data, under the caps.
std::string ReadEntry(struct archive* a, std::size_t& total) {
    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        const la_ssize_t n = archive_read_data(a, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (n == ARCHIVE_WARN) continue;
            throw ImportError(kDamagedDownload);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        total += static_cast<std::size_t>(n);
        if (bytes.size() > kPerFile || total > kTotal) TooLarge();
    }
    return bytes;
}

// The disk filled while the helper wrote: the bytes it needed.
struct NoSpace {
    std::uintmax_t needed;
};

// Throws std::system_error with the reason of a failure. The folder must
// be there: the program's scratch folder, once cleared, is not made again.
void WriteWhole(const fs::path& p, const std::string& bytes) {
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "cannot write " + p.string());
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            throw std::system_error(error, std::generic_category(), "cannot write " + p.string());
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot write " + p.string());
}

std::uintmax_t FolderBytes(const fs::path& folder) {
    std::uintmax_t n = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sizeEc;
        const std::uintmax_t size = it->is_regular_file(sizeEc) ? it->file_size(sizeEc) : 0;
        if (!sizeEc) n += size;
    }
    return n;
}

std::string ReadWhole(const fs::path& p, std::size_t cap) {
    std::error_code ec;
    if (fs::file_size(p, ec) > cap) TooLarge();
    std::ifstream in(p, std::ios::binary);
    if (!in) throw ImportError("Impossible de lire le fichier « " + p.string() + " ».");
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Chosen {
    std::string bytes;  // the .conf as it came: libsword reads its repeated keys
    SwordConf conf;
    SwordModuleFacts facts;
};

// The first Bible among the .conf files, else the first commentary; else
// the refusal of the first.
Chosen ChooseModule(const std::vector<std::string>& confs) {
    std::string refusal;
    for (const bool commentaries : {false, true}) {
        refusal.clear();
        for (const std::string& bytes : confs) {
            try {
                SwordConf conf = ParseSwordConf(bytes);
                SwordModuleFacts facts = CheckSwordConf(conf, commentaries);
                return {bytes, std::move(conf), std::move(facts)};
            } catch (const ImportError& e) {
                if (refusal.empty()) refusal = e.what();
            }
        }
    }
    throw ImportError(refusal.empty() ? "Ce fichier ne contient aucun module SWORD." : refusal);
}

// The module's library made again in `root`: mods.d/NAME.conf and the files
// of its data folder, from a zip.
Chosen UnpackZip(const fs::path& zip, const fs::path& root) {
    std::vector<std::string> confs;
    std::string prefix;  // what stands before mods.d/ in the entries' paths
    std::size_t total = 0;
    {
        auto a = OpenArchive(zip);
        struct archive_entry* entry = nullptr;
        int r;
        while ((r = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK || r == ARCHIVE_WARN) {
            const std::string path = CleanEntryPath(archive_entry_pathname(entry));
            const std::size_t at = path.rfind("mods.d/");
            if (archive_entry_filetype(entry) != AE_IFREG || at == std::string::npos ||
                path.size() < 5 || path.compare(path.size() - 5, 5, ".conf") != 0 ||
                (at > 0 && path[at - 1] != '/'))
                continue;
            if (confs.empty()) prefix = path.substr(0, at);
            if (path.compare(0, at, prefix) == 0) confs.push_back(ReadEntry(a.get(), total));
        }
        if (r != ARCHIVE_EOF) throw ImportError(kDamagedDownload);
    }
    Chosen chosen = ChooseModule(confs);
    const std::string data = prefix + chosen.facts.dataPath.generic_string() + "/";
    auto a = OpenArchive(zip);
    struct archive_entry* entry = nullptr;
    int r;
    while ((r = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK || r == ARCHIVE_WARN) {
        const std::string path = CleanEntryPath(archive_entry_pathname(entry));
        if (archive_entry_filetype(entry) != AE_IFREG || path.compare(0, data.size(), data) != 0)
            continue;
        const std::string inside = path.substr(data.size());
        if (inside.empty() || inside.find('/') != std::string::npos) continue;
        fs::create_directories(root / chosen.facts.dataPath);
        WriteWhole(root / chosen.facts.dataPath / inside, ReadEntry(a.get(), total));
    }
    if (r != ARCHIVE_EOF) throw ImportError(kDamagedDownload);
    return chosen;
}

// The same from a .conf in its library folder (ROOT/mods.d/NAME.conf).
Chosen CopyFromFolder(const fs::path& confPath, const fs::path& root) {
    Chosen chosen = ChooseModule({ReadWhole(confPath, std::size_t{1} << 20)});
    const fs::path library = fs::weakly_canonical(fs::absolute(confPath).parent_path() / "..");
    std::error_code ec;
    const fs::path data = fs::weakly_canonical(library / chosen.facts.dataPath, ec);
    // A link may not lead the data outside the library either.
    const std::string lib = library.string() + "/";
    if (ec || data.string().compare(0, lib.size(), lib) != 0)
        throw ImportError(
            "Ce module SWORD est mal formé : ses données seraient hors de son dossier.");
    std::size_t total = 0;
    for (fs::directory_iterator it(data, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc)) continue;
        const std::string bytes = ReadWhole(it->path(), kPerFile);
        total += bytes.size();
        if (total > kTotal) TooLarge();
        fs::create_directories(root / chosen.facts.dataPath);
        WriteWhole(root / chosen.facts.dataPath / it->path().filename(), bytes);
    }
    if (ec) throw ImportError("Ce module SWORD est incomplet : ses données sont absentes.");
    return chosen;
}

bool IsConfFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::string head(4096, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return LooksLikeSwordConf(head);
}

// The .conf's own text, UTF-8 (the conf says when it is Latin-1).
std::string ConfText(const SwordConf& conf, const std::string& key) {
    const std::string value = conf.Get(key);
    if (conf.Get("Encoding") == "UTF-8") return value;
    std::string utf8;
    for (unsigned char c : value) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// Debian's Matthew Henry names zCom4 for an index of zCom: said on
// standard error when it is read through the index it has.
void MendDriver(Chosen& chosen, const fs::path& data) {
    if (MendIndexDriver(chosen.bytes, chosen.facts, data))
        std::cerr << "lorvane-sword-import: the index of " << chosen.conf.name << " is read as "
                  << chosen.facts.driver << ", the form its records have" << std::endl;
}

// A commentary: its entries checked one by one, those that do not read left
// out rather than the whole module refused.
int RunCommentary(Chosen& chosen, const fs::path& out, const fs::path& root,
                  std::uintmax_t& written) {
    MendDriver(chosen, root / chosen.facts.dataPath);
    const SwordModuleFacts& facts = chosen.facts;
    SwordBadVerses bad;
    CheckSwordData(facts, root / facts.dataPath, std::size_t{64} << 20, &bad);
    if (facts.driver[0] == 'z') CheckSwordBlocks(root / facts.dataPath, facts.compression);
    fs::create_directories(root / "mods.d");
    WriteWhole(root / "mods.d" / "module.conf", chosen.bytes);
    Report report;
    const SwordCommentary read = ImportSwordCommentary(root, chosen.conf.name, bad, report);
    HelperCommentary c;
    c.form = "module SWORD (" + facts.driver + ", " + facts.markup + ")";
    c.name = ConfText(chosen.conf, "Description");
    c.abbreviation = ConfText(chosen.conf, "Abbreviation");
    if (c.abbreviation.empty()) c.abbreviation = chosen.conf.name;
    c.leftOut = read.leftOut;
    try {
        c.file = lorvane::commentary::EncodeCommentary(read.entries);
    } catch (const lorvane::commentary::CommentaryError& e) {
        throw ImportError(e.what());
    }
    report.Print(std::cerr);
    const std::string bytes = EncodeHelperCommentary(c);
    written = bytes.size();
    WriteWhole(out, bytes);
    return 0;
}

int Run(const fs::path& source, const fs::path& out, const fs::path& root,
        std::uintmax_t& bibleBytes) {
    Chosen chosen = IsConfFile(source) ? CopyFromFolder(source, root) : UnpackZip(source, root);
    const SwordModuleFacts& facts = chosen.facts;
    if (facts.commentary) return RunCommentary(chosen, out, root, bibleBytes);
    MendDriver(chosen, root / facts.dataPath);
    CheckSwordData(facts, root / facts.dataPath);
    if (facts.driver[0] == 'z') CheckSwordBlocks(root / facts.dataPath, facts.compression);
    fs::create_directories(root / "mods.d");
    WriteWhole(root / "mods.d" / "module.conf", chosen.bytes);

    Report report;
    HelperBible h;
    try {
        h.bible = ImportSwordLibrary(root, chosen.conf.name, report);
    } catch (const ImportError&) {
        throw;
    } catch (const std::exception& e) {
        std::cerr << "lorvane-sword-import: " << e.what() << "\n";
        throw ImportError("Ce module SWORD ne contient aucun verset des 66 livres de la Bible.");
    }
    // The book list keeps its French names.
    for (std::size_t b = 0; b < h.bible.books.size() && b < lorvane::datawriter::kCanon.size();
         ++b) {
        h.bible.books[b].name = std::string(lorvane::datawriter::kCanon[b].name);
        h.bible.books[b].shortName = std::string(lorvane::datawriter::kCanon[b].abbreviation);
    }
    h.form = "module SWORD (" + facts.driver + ", " + facts.markup + ")";
    h.name = ConfText(chosen.conf, "Description");
    h.abbreviation = ConfText(chosen.conf, "Abbreviation");
    for (const std::string& e : report.Examples("books outside the 66, skipped"))
        h.outside.push_back(e.substr(0, e.find(' ')));
    report.Print(std::cerr);
    const std::string bytes = EncodeHelperBible(h);
    bibleBytes = bytes.size();
    WriteWhole(out, bytes);
    return 0;
}

// Run in a scratch folder beside OUT, so that a cancel that stops the
// helper removes it with the program's own scratch folder.
int RunInScratch(const fs::path& source, const fs::path& out) {
    const fs::path folder = fs::absolute(out).parent_path();
    ScratchFolder scratch(folder.empty() ? fs::temp_directory_path() : folder);
    std::uintmax_t bibleBytes = 0;
    try {
        return Run(source, out, scratch.path(), bibleBytes);
    } catch (const std::system_error& e) {
        if (!IsNoSpace(e.code().value())) throw;
        std::cerr << "lorvane-sword-import: " << e.what() << ": " << e.code().message() << "\n";
        // The module unpacked, and the Bible's file (about twice the
        // module's size while it is not known).
        std::error_code ec;
        const std::uintmax_t zip = fs::file_size(source, ec);
        const std::uintmax_t module = std::max(FolderBytes(scratch.path()), ec ? 0 : zip);
        throw NoSpace{module + (bibleBytes > 0 ? bibleBytes : 2 * module)};
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: lorvane-sword-import SOURCE OUT\n"
                     "  SOURCE  a zip holding mods.d/*.conf and modules/, or a module's .conf\n"
                     "  OUT     the file the Bible is written to\n";
        return 1;
    }
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LORVANE_ASAN 1
#endif
#endif
#if !defined(__SANITIZE_ADDRESS__) && !defined(LORVANE_ASAN)
    // A module that would inflate beyond reason stops here, not in the
    // reader's session.
    const rlimit memory{rlim_t{2} << 30, rlim_t{2} << 30};
    setrlimit(RLIMIT_AS, &memory);
#endif
    try {
        return RunInScratch(argv[1], argv[2]);
    } catch (const NoSpace& e) {
        std::cout << e.needed << std::endl;
        return kHelperNoSpace;
    } catch (const ImportError& e) {
        std::cout << e.what() << std::endl;
        return 2;
    } catch (const std::bad_alloc&) {
        std::cout << "Ce module SWORD est endommagé : il ne tient pas en mémoire." << std::endl;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "lorvane-sword-import: " << e.what() << "\n";
        return 1;
    }
}
