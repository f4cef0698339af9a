// libFuzzer target: the list of the reader's Bibles, on arbitrary input.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "BibleShelf.h"

using namespace lorvane::bibles;
namespace fs = std::filesystem;

namespace {

// A shelf holding two whole Bible folders (empty data files are enough to
// be whole) and a program folder shipping one more, made once.
const std::string& ShelfWithTwoBibles() {
    static const std::string root = [] {
        const std::string dir =
            (fs::temp_directory_path() / ("lorvane-fuzz-shelf-" + std::to_string(getpid())))
                .string();
        for (const char* folder : {"/bibles/dby/data/", "/bibles/mar/data/", "/program/data/",
                                   "/program/originaux/grc/data/"}) {
            fs::create_directories(dir + folder);
            for (const char* file :
                 {"livre.dat", "bible.dat", "index.dat", "citat.dat", "refer.dat", "them.dat"})
                std::ofstream(dir + folder + file);
        }
        return dir;
    }();
    static const bool cleaned = [] {
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(root, ec);
        });
        return true;
    }();
    (void)cleaned;
    return root;
}

// Whatever the list holds, a start keeps both Bibles, listed and on disk,
// and the shipped one's folder.
void StartOn(const std::string& text) {
    const std::string& root = ShelfWithTwoBibles();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(root + "/bibles", ec))
        if (entry.path().filename().string().rfind("bibles.", 0) == 0)
            fs::remove_all(entry.path(), ec);
    std::ofstream(root + "/bibles/bibles.txt", std::ios::binary) << text;
    BibleShelf shelf(root + "/bibles", root + "/program");
    shelf.Load();
    shelf.RemoveLeftovers();
    if (!shelf.Find(root + "/bibles/dby") || !shelf.Find(root + "/bibles/mar")) std::abort();
    if (!fs::exists(root + "/bibles/dby/data/bible.dat") ||
        !fs::exists(root + "/bibles/mar/data/bible.dat") ||
        !fs::exists(root + "/program/originaux/grc/data/bible.dat"))
        std::abort();
    // It is listed, or hidden and said so.
    if (!shelf.Find(root + "/program/originaux/grc") && !shelf.HasHidden()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ShelfList list = ReadShelfList(text);
    // No line read may name a folder outside the shelf.
    for (const KeptBible& b : list.bibles) {
        if (!IsShelfFolderName(b.folder) && b.folder != kProgramBible && !IsShippedFolder(b.folder))
            std::abort();
        if (b.name.size() > 4 * kMaxName || b.abbreviation.size() > 4 * kMaxAbbreviation)
            std::abort();
    }
    // What is written reads back the same.
    const ShelfList back = ReadShelfList(WriteShelfList(list));
    if (back.bibles.size() != list.bibles.size() || back.current != list.current ||
        back.programHidden != list.programHidden || back.hidden != list.hidden)
        std::abort();
    for (std::size_t i = 0; i < list.bibles.size(); ++i)
        if (back.bibles[i].name != list.bibles[i].name ||
            back.bibles[i].abbreviation != list.bibles[i].abbreviation)
            std::abort();
    if (CleanName(CleanName(text, 40), 40) != CleanName(text, 40)) std::abort();
    // Every hundredth input, the whole start on it: disk work is slow.
    if (size % 100 == 7) StartOn(text);
    return 0;
}
