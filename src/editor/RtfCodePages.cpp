#include "RtfCodePages.h"

namespace lorvane::rtf::reading {

// The code page of a font character set; 0: the document's.
int CodePageOfCharset(int charset) {
    switch (charset) {
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
            return 437;
        case 255:
            return 850;
        default:
            return 0;  // ANSI, default, symbol and the rest
    }
}

Decoders::~Decoders() {
    for (auto& [cp, cd] : open_)
        if (cd != kNone) iconv_close(cd);
}

iconv_t Decoders::Open(int codePage) {
    const auto it = open_.find(codePage);
    if (it != open_.end()) return it->second;
    std::string name;
    switch (codePage) {
        case 10000:
            name = "MACINTOSH";
            break;
        case 950:
            name = "BIG5";
            break;
        case 65001:
            name = "UTF-8";
            break;
        case 20127:
            name = "ASCII";
            break;
        default:
            name = "CP" + std::to_string(codePage);
    }
    iconv_t cd = kNone;
    if (open_.size() < 16) cd = iconv_open("UTF-8", name.c_str());
    open_.emplace(codePage, cd);
    return cd;
}

}  // namespace lorvane::rtf::reading
