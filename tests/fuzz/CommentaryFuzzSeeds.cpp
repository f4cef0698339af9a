// Writes the seeds of fuzz_commentary into the folder given: commentary
// files as the program writes them, and entries in the markup of the
// modules.

#include <filesystem>
#include <fstream>
#include <string>

#include "Commentary.h"

int main(int argc, char** argv) {
    if (argc != 2) return 1;
    using namespace lorvane;
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    };
    write("one", commentary::EncodeCommentary({{PlaceOf(1, 1, 1), 1, "<p>Au commencement</p>"}}));
    write("runs", commentary::EncodeCommentary({{PlaceOf(40, 1, 21), 26, "<p>Meurtre</p>"},
                                                {PlaceOf(40, 2, 22), 22, "<p>Raca</p>"},
                                                {PlaceOf(40, 3, 1), 3, "<p>Meurtre</p>"}}));
    write("osis",
          "<div sID=\"a\" type=\"x-p\"/><hi type=\"bold\">Verses 21-26</hi><div eID=\"a\" "
          "type=\"x-p\"/>See <reference osisRef=\"jer 4:23-27\">Jer</reference>"
          "<note>n</note>");
    write("thml", "<p><b>Verse 3.</b> <scripRef passage=\"Ex 20:13\">Ex</scripRef><br/></p>");
    return 0;
}
