#include "BibleFile.h"

#include <cstdint>

#include "UsfmSource.h"

namespace lorvane::importer {
namespace {

constexpr std::string_view kMagic = "LORVANE-BIBLE-4\n";
constexpr std::uint32_t kMaxString = 1 << 16;
constexpr std::uint32_t kMaxVerses = 200'000;

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutInt(std::string& out, std::int32_t v) {
    PutU32(out, static_cast<std::uint32_t>(v));
}

void PutString(std::string& out, std::string_view s) {
    PutU32(out, static_cast<std::uint32_t>(std::min<std::size_t>(s.size(), kMaxString)));
    out += s.substr(0, kMaxString);
}

class Reader {
  public:
    explicit Reader(std::string_view bytes) : b_(bytes) {}
    std::uint32_t U32() {
        Need(4);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b_[at_ + i])) << (8 * i);
        at_ += 4;
        return v;
    }
    std::int32_t Int(std::int32_t low, std::int32_t high) {
        const auto v = static_cast<std::int32_t>(U32());
        if (v < low || v > high) Bad();
        return v;
    }
    std::string String() {
        const std::uint32_t n = U32();
        if (n > kMaxString) Bad();
        Need(n);
        std::string s(b_.substr(at_, n));
        at_ += n;
        return s;
    }
    std::uint32_t Count(std::uint32_t max) {
        const std::uint32_t n = U32();
        if (n > max) Bad();
        return n;
    }
    bool AtEnd() const { return at_ == b_.size(); }
    std::size_t Used() const { return at_; }
    [[noreturn]] static void Bad() {
        throw ImportError("La Bible lue par l'aide à l'importation est incomplète.");
    }

  private:
    void Need(std::size_t n) const {
        if (b_.size() - at_ < n) Bad();
    }
    std::string_view b_;
    std::size_t at_ = 0;
};

}  // namespace

std::string EncodeHelperBible(const HelperBible& h) {
    std::string out(kMagic);
    PutString(out, h.form);
    PutString(out, h.name);
    PutString(out, h.abbreviation);
    PutString(out, h.bible.source);
    PutString(out, h.bible.numbering);
    PutU32(out, static_cast<std::uint32_t>(h.outside.size()));
    for (const std::string& s : h.outside)
        PutString(out, s);
    PutInt(out, h.foreign);
    PutString(out, h.foreignExample);
    PutU32(out, static_cast<std::uint32_t>(h.bible.books.size()));
    for (const dw::BookRecord& b : h.bible.books) {
        PutString(out, b.name);
        PutString(out, b.shortName);
        PutInt(out, b.chapterCount);
    }
    PutU32(out, static_cast<std::uint32_t>(h.bible.verses.size()));
    for (const dw::VerseEntry& v : h.bible.verses) {
        PutInt(out, v.book);
        PutInt(out, v.chapter);
        PutInt(out, v.verse);
        PutString(out, v.text);
    }
    PutU32(out, static_cast<std::uint32_t>(h.bible.headings.size()));
    for (const dw::IndexRecord& r : h.bible.headings) {
        PutInt(out, r.kind);
        PutInt(out, r.book);
        PutInt(out, r.chapter);
        PutInt(out, r.verse);
        PutString(out, r.title);
    }
    PutU32(out, static_cast<std::uint32_t>(h.bible.crossRefs.size()));
    for (const dw::CrossRefRecord& r : h.bible.crossRefs)
        for (std::int32_t v : {r.book, r.chapter, r.verse, r.reserved, r.targetBook,
                               r.targetChapter, r.targetFirst, r.targetLast})
            PutInt(out, v);
    PutU32(out, static_cast<std::uint32_t>(h.bible.words.size()));
    for (const words::VerseWords& v : h.bible.words) {
        PutInt(out, v.book);
        PutInt(out, v.chapter);
        PutInt(out, v.verse);
        PutU32(out, static_cast<std::uint32_t>(v.tags.size()));
        for (const words::WordTag& t : v.tags) {
            PutU32(out, t.start);
            PutU32(out, t.length);
            PutString(out, t.strongs);
            PutString(out, t.morph);
            PutString(out, t.lemma);
        }
    }
    return out;
}

HelperBible DecodeHelperBible(std::string_view bytes) {
    if (bytes.substr(0, kMagic.size()) != kMagic) Reader::Bad();
    Reader in(bytes.substr(kMagic.size()));
    HelperBible h;
    h.form = in.String();
    h.name = in.String();
    h.abbreviation = in.String();
    h.bible.source = in.String();
    h.bible.numbering = in.String();
    if (h.bible.numbering.size() > 40) Reader::Bad();
    for (std::uint32_t n = in.Count(200); n > 0; --n)
        h.outside.push_back(in.String());
    h.foreign = in.Int(0, INT32_MAX);
    h.foreignExample = in.String();
    const std::uint32_t books = in.Count(kBooks);
    if (books != kBooks) Reader::Bad();
    for (std::uint32_t i = 0; i < books; ++i) {
        dw::BookRecord b;
        b.name = in.String();
        b.shortName = in.String();
        b.chapterCount = in.Int(0, kMaxChapter);
        h.bible.books.push_back(std::move(b));
    }
    for (std::uint32_t n = in.Count(kMaxVerses); n > 0; --n) {
        dw::VerseEntry v;
        v.book = in.Int(1, kBooks);
        v.chapter = in.Int(1, kMaxChapter);
        v.verse = in.Int(1, kMaxVerse);
        v.text = in.String();
        h.bible.verses.push_back(std::move(v));
    }
    for (std::uint32_t n = in.Count(kMaxVerses); n > 0; --n) {
        dw::IndexRecord r;
        r.kind = static_cast<char>(in.Int(0, 127));
        r.book = in.Int(1, kBooks);
        r.chapter = in.Int(1, kMaxChapter);
        r.verse = in.Int(0, kMaxVerse);
        r.title = in.String();
        h.bible.headings.push_back(std::move(r));
    }
    for (std::uint32_t n = in.Count(kMaxVerses * 8); n > 0; --n) {
        dw::CrossRefRecord r;
        r.book = in.Int(1, kBooks);
        r.chapter = in.Int(1, kMaxChapter);
        r.verse = in.Int(0, kMaxVerse);
        r.reserved = in.Int(0, 0);
        r.targetBook = in.Int(1, kBooks);
        r.targetChapter = in.Int(1, kMaxChapter);
        r.targetFirst = in.Int(0, kMaxVerse);
        r.targetLast = in.Int(0, kMaxVerse);
        h.bible.crossRefs.push_back(r);
    }
    for (std::uint32_t n = in.Count(kMaxVerses); n > 0; --n) {
        words::VerseWords v;
        v.book = in.Int(1, kBooks);
        v.chapter = in.Int(1, kMaxChapter);
        v.verse = in.Int(0, kMaxVerse);
        for (std::uint32_t k = in.Count(kMaxString); k > 0; --k) {
            words::WordTag t;
            t.start = in.Count(kMaxString);
            t.length = in.Count(kMaxString);
            t.strongs = in.String();
            t.morph = in.String();
            t.lemma = in.String();
            v.tags.push_back(std::move(t));
        }
        h.bible.words.push_back(std::move(v));
    }
    if (!in.AtEnd()) Reader::Bad();
    return h;
}

namespace {
constexpr std::string_view kCommentaryMagic = "LVHELPERCOMM1\n";
}  // namespace

std::string EncodeHelperCommentary(const HelperCommentary& c) {
    std::string out(kCommentaryMagic);
    PutString(out, c.form);
    PutString(out, c.name);
    PutString(out, c.abbreviation);
    PutInt(out, c.leftOut);
    return out + c.file;
}

bool IsHelperCommentary(std::string_view bytes) {
    return bytes.substr(0, kCommentaryMagic.size()) == kCommentaryMagic;
}

HelperCommentary DecodeHelperCommentary(std::string_view bytes) {
    if (!IsHelperCommentary(bytes)) Reader::Bad();
    bytes.remove_prefix(kCommentaryMagic.size());
    Reader in(bytes);
    HelperCommentary c;
    c.form = in.String();
    c.name = in.String();
    c.abbreviation = in.String();
    c.leftOut = in.Int(0, INT32_MAX);
    c.file = std::string(bytes.substr(in.Used()));
    return c;
}

}  // namespace lorvane::importer
