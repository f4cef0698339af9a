// Writes a seed corpus for backup_fuzzer into the given folder: archives of
// the writer (compressed and stored blocks, empty members, the file list,
// paths with folders) behind the fuzzer's options byte.

#include <filesystem>
#include <fstream>
#include <iostream>

#include "ArchiveWriter.h"

using lorvane::archive::EncodeArchive;
using lorvane::archive::Member;
using lorvane::archive::WriterOptions;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: backup_fuzz_seeds CORPUS_DIR\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    std::string page;
    while (page.size() < 20000)
        page += "<p>Au commencement était la Parole " + std::to_string(page.size()) + "</p>";
    const std::vector<std::vector<Member>> sets{
        {},
        {{"index.htm", 0x58A36D2F, "<html>index</html>"}},
        {{"C:\\Lorvane\\them\\glossaire.htm", 0x58A36D2F, page}, {"vide.htm", 0, ""}},
        {{"a\\b\\c.htm", 0x21, page.substr(0, 300)}, {"d/e.htm", 0x21, "xyz"}},
    };
    int n = 0;
    for (const auto& members : sets) {
        for (int level : {0, 9}) {
            WriterOptions o;
            o.zlibLevel = level;
            o.blockSize = level ? 16384 : 700;
            const std::string archive = EncodeArchive(members, o);
            for (char options : {'\0', '\1', '\4'}) {
                std::ofstream f(out / ("seed" + std::to_string(++n)), std::ios::binary);
                f << options << archive;
            }
        }
    }
    return 0;
}
