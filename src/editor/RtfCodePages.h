#pragma once

// The code pages of an RTF document: the one a font's character set names,
// and the decoding of bytes given as \'hh (or raw) in any of them.

#include <iconv.h>

#include <array>
#include <cerrno>
#include <map>
#include <string>
#include <string_view>

#include "Cp1252.h"
#include "Utf8.h"

namespace lorvane::rtf::reading {

// The code page of a font character set; 0: the document's.
int CodePageOfCharset(int charset);

// Decoders of the code pages met in one document; Windows-1252 without
// iconv, the others through it (Windows-1252 again when iconv has none).
class Decoders {
  public:
    Decoders() = default;
    Decoders(const Decoders&) = delete;
    Decoders& operator=(const Decoders&) = delete;
    ~Decoders();

    template <typename Sink>
    void Decode(int codePage, std::string_view bytes, Sink&& sink) {
        iconv_t cd = codePage == 1252 ? kNone : Open(codePage);
        if (cd == kNone) {
            for (unsigned char b : bytes)
                sink(cp1252::ToUnicode(b));
            return;
        }
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::string in(bytes);
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        while (inLeft > 0) {
            std::array<char, 256> buffer;
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
            const std::string_view utf(buffer.data(), buffer.size() - outLeft);
            for (std::size_t i = 0; i < utf.size();)
                sink(utf8::Next(utf, i));
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                // A byte the code page lacks, or a sequence cut short.
                sink(utf8::kReplacement);
                ++inPtr;
                --inLeft;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
    }

  private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

    iconv_t Open(int codePage);

    std::map<int, iconv_t> open_;
};

}  // namespace lorvane::rtf::reading
