#include "DataFolder.h"

#include <unistd.h>

#include <cctype>
#include <stdexcept>
#include <system_error>

#include "BibleNames.h"
#include "StoredText.h"

namespace lorvane::importer {
namespace {

namespace fs = std::filesystem;

// Names are unique per process and per call.
fs::path Sibling(const fs::path& out, const std::string& what) {
    static int serial = 0;
    return out.parent_path() / ("." + out.filename().string() + "." + what + "-" +
                                std::to_string(::getpid()) + "-" + std::to_string(++serial));
}

void CheckReplaceable(const fs::path& out) {
    std::error_code ec;
    auto status = fs::symlink_status(out, ec);
    if (ec || status.type() == fs::file_type::not_found) return;
    if (status.type() != fs::file_type::directory)
        throw std::runtime_error(out.string() + " exists and is not a folder");
    for (fs::directory_iterator it(out, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!it->is_regular_file() || !IsDataFileName(name)) {
            throw std::runtime_error(out.string() + " holds " + name +
                                     ", which is not a data file: not replacing it");
        }
    }
    if (ec) throw std::runtime_error("cannot list " + out.string() + ": " + ec.message());
}

}  // namespace

std::string OwnBookNames(const std::vector<std::string>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size() && i < static_cast<std::size_t>(kBooks); ++i) {
        std::string name;
        for (char c : names[i])
            name += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
        if (!name.empty()) out += std::to_string(i + 1) + "\t" + name + "\n";
    }
    return out;
}

bool IsDataFileName(const std::string& name) {
    for (const char* known :
         {"livre.dat", "bible.dat", "index.dat", "citat.dat", "refer.dat", "them.dat", "sigle.txt",
          "nom.txt", "texte.txt", "livres.txt", "numerotation.txt", words::kWordsFile})
        if (name == known) return true;
    return name.size() == 8 && name.compare(0, 5, "them.") == 0 &&
           std::isdigit(static_cast<unsigned char>(name[5])) &&
           std::isdigit(static_cast<unsigned char>(name[6])) &&
           std::isdigit(static_cast<unsigned char>(name[7]));
}

std::vector<archive::Member> PageMembers(const std::vector<Page>& pages) {
    std::vector<archive::Member> members;
    for (const Page& p : pages)
        members.push_back({p.name, archive::ToDosDateTime(p.modified), p.bytes});
    return members;
}

void WriteDataFolder(const fs::path& outArg, const BibleData& bible, const std::vector<Page>& pages,
                     const archive::WriterOptions& options) {
    fs::path out = fs::absolute(outArg).lexically_normal();
    if (out.filename().empty()) out = out.parent_path();
    CheckReplaceable(out);
    fs::create_directories(out.parent_path());

    const fs::path fresh = Sibling(out, "new");
    try {
        fs::create_directory(fresh);
        namespace dw = datawriter;
        dw::WriteFile((fresh / "livre.dat").string(), dw::EncodeBooks(bible.books));
        dw::WriteFile((fresh / "bible.dat").string(), dw::EncodeVerses(bible.verses));
        dw::WriteFile((fresh / "index.dat").string(), dw::EncodeIndexes(bible.headings));
        dw::WriteFile((fresh / "citat.dat").string(), "");
        dw::WriteFile((fresh / "refer.dat").string(), dw::EncodeCrossRefs(bible.crossRefs));
        // The texts are UTF-8: the mark tells a reader of the folder.
        dw::WriteFile((fresh / std::string(storedtext::kMarkFile.substr(5))).string(),
                      std::string(storedtext::kUtf8Mark) + "\n");
        if (!pages.empty())
            archive::WriteArchive((fresh / "them.dat").string(), PageMembers(pages), options);
        const std::string own = OwnBookNames(bible.ownBookNames);
        if (!own.empty()) dw::WriteFile((fresh / "livres.txt").string(), own);
        if (!bible.words.empty())
            dw::WriteFile((fresh / words::kWordsFile).string(), words::EncodeWords(bible.words));
        if (!bible.numbering.empty())
            dw::WriteFile((fresh / kNumberingFile).string(), bible.numbering + "\n");

        std::error_code ec;
        if (fs::exists(fs::symlink_status(out))) {
            const fs::path old = Sibling(out, "old");
            fs::rename(out, old);
            fs::rename(fresh, out, ec);
            if (ec) {
                fs::rename(old, out);
                throw fs::filesystem_error("cannot put the new data folder in place", fresh, out,
                                           ec);
            }
            fs::remove_all(old, ec);
        } else {
            fs::rename(fresh, out);
        }
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(fresh, ignored);
        throw;
    }
}

}  // namespace lorvane::importer
