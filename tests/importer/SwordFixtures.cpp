#include "SwordFixtures.h"

#include <bz2comprs.h>
#include <lzsscomprs.h>
#include <rawtext.h>
#include <versekey.h>
#include <xzcomprs.h>
#include <zipcomprs.h>
#include <ztext.h>
#include <ztext4.h>

#include <fstream>
#include <memory>
#include <stdexcept>

#include "Fixtures.h"

namespace lorvane::testing {
namespace {

namespace fs = std::filesystem;

sword::SWCompress* Compressor(const std::string& name) {
    if (name == "LZSS") return new sword::LZSSCompress();
    if (name == "BZIP2") return new sword::Bzip2Compress();
    if (name == "XZ") return new sword::XzCompress();
    return new sword::ZipCompress();
}

template <typename Module>
void Fill(Module& module, const SwordModuleRecipe& recipe) {
    sword::VerseKey key;
    for (const auto& [osis, text] : recipe.verses) {
        key.setText(osis.c_str());
        module.setKey(key);
        module.setEntry(text.c_str());
    }
    for (const auto& [osis, from] : recipe.links) {
        sword::VerseKey source(from.c_str());
        key.setText(osis.c_str());
        module.setKey(key);
        module.linkEntry(&source);
    }
}

// RawText4 keeps 4 bytes for each size where RawText keeps 2.
void WidenRawIndex(const fs::path& vss) {
    const std::string narrow = ReadFile(vss);
    std::string wide;
    for (std::size_t at = 0; at + 6 <= narrow.size(); at += 6)
        wide += narrow.substr(at, 6) + std::string(2, '\0');
    std::ofstream(vss, std::ios::binary) << wide;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> SwordModuleRecipe::DefaultVerses() {
    return {
        {"Gen.1.1", "<title>La création</title>Au commencement, Dieu créa les cieux et la terre."},
        {"Gen.1.2", "La terre était informe et vide."},
        {"Gen.1.3", "Dieu dit : Que la lumière soit !"},
        {"John.1.1",
         "Au commencement était la Parole<note type=\"x-study\">Ou : le Verbe.</note>, "
         "<note type=\"crossReference\"><reference osisRef=\"Gen.1.1\">Ge 1.1</reference>"
         "</note>et la Parole était avec Dieu."},
    };
}

fs::path WriteSwordModule(const fs::path& root, const SwordModuleRecipe& recipe) {
    std::string folder = recipe.name;
    for (char& c : folder)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string kind = recipe.driver;
    for (char& c : kind)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool compressed = recipe.driver[0] == 'z';
    if (kind == "rawtext4") kind = "rawtext";
    if (kind == "ztext4") kind = "ztext";
    const std::string dataPath = "./modules/texts/" + kind + "/" + folder + "/";
    const fs::path data = root / dataPath;
    fs::create_directories(data);
    const std::string dir = data.string();
    if (recipe.driver == "RawText" || recipe.driver == "RawText4") {
        sword::RawText::createModule(dir.c_str());
        {
            sword::RawText module(dir.c_str());
            Fill(module, recipe);
        }
        if (recipe.driver == "RawText4")
            for (const char* t : {"ot.vss", "nt.vss"})
                WidenRawIndex(data / t);
    } else if (recipe.driver == "zText4") {
        sword::zText4::createModule(dir.c_str(), CHAPTERBLOCKS);
        sword::zText4 module(dir.c_str(), nullptr, nullptr, CHAPTERBLOCKS,
                             Compressor(recipe.compression));
        Fill(module, recipe);
    } else {
        sword::zText::createModule(dir.c_str(), CHAPTERBLOCKS);
        sword::zText module(dir.c_str(), nullptr, nullptr, CHAPTERBLOCKS,
                            Compressor(recipe.compression));
        Fill(module, recipe);
    }

    const fs::path conf = root / "mods.d" / (folder + ".conf");
    fs::create_directories(conf.parent_path());
    std::ofstream(conf, std::ios::binary)
        << "[" << recipe.name << "]\n"
        << "DataPath=" << dataPath << "\n"
        << "ModDrv=" << (recipe.confDriver.empty() ? recipe.driver : recipe.confDriver) << "\n"
        << (compressed ? "CompressType=" + recipe.compression + "\nBlockType=CHAPTER\n" : "")
        << "SourceType=" << recipe.markup << "\n"
        << "Encoding=UTF-8\nLang=fr\nVersification=KJV\n"
        << "Description=Bible d'essai à l'accent\nAbbreviation=BÉ\n"
        << "GlobalOptionFilter=OSISHeadings\nGlobalOptionFilter=OSISFootnotes\n"
        << "GlobalOptionFilter=OSISScripref\n"
        << recipe.extraConf;
    return conf;
}

ZipEntries FolderEntries(const fs::path& root) {
    ZipEntries entries;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            entries.push_back({fs::relative(e.path(), root).generic_string(), ReadFile(e.path())});
    return entries;
}

}  // namespace lorvane::testing
