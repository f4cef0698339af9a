// lorvane-numbering-tables OUTPUT.cpp VERSEMAP.xml.gz
//
// Writes the tables of the verse numberings (NumberingData.h) from the
// systems libsword knows, run at build time so that the program never
// loads libsword. Every verse of each system is placed in the Louis
// Segond's numbering; libsword's own answer is mended where it is known to
// be wrong:
//   - the Psalms: a system whose Psalm has fewer verses than the Segond's
//     does not count the title as verses, and its verse v is the Segond's
//     v + the difference (libsword moves some by the wrong amount);
//   - the Hebrew numbering (Leningrad, MT): outside the Psalms, from the
//     Open Scriptures verse map (Hebrew to the English numbering), then as
//     the KJV's verse; libsword leaves Malachie 3:19 at 3:19;
//   - a few verses named below.
// What was mended is counted on standard output.

#include <sword/versificationmgr.h>
#include <zlib.h>

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using System = sword::VersificationMgr::System;
using Key = std::uint32_t;

constexpr int kBooks = 66;
constexpr int kPsalms = 19;

Key Pack(int book, int chapter, int verse) {
    return static_cast<Key>(book) << 16 | static_cast<Key>(chapter) << 8 | static_cast<Key>(verse);
}

struct Counts {
    // counts[book-1][chapter-1]: verses; empty for a book the system lacks.
    std::vector<std::vector<int>> books = std::vector<std::vector<int>>(kBooks);
    int Verses(int book, int chapter) const {
        const auto& b = books[static_cast<std::size_t>(book - 1)];
        return chapter >= 1 && chapter <= static_cast<int>(b.size())
                   ? b[static_cast<std::size_t>(chapter - 1)]
                   : 0;
    }
};

// The 66 books, numbered as the Segond orders them, by OSIS name.
std::vector<std::string> BookNames(const System& segond) {
    std::vector<std::string> names;
    for (int i = 0; i < kBooks; ++i)
        names.push_back(segond.getBook(i)->getOSISName());
    return names;
}

Counts CountsOf(const System& s, const std::vector<std::string>& books) {
    Counts c;
    for (int b = 1; b <= kBooks; ++b) {
        const int index = s.getBookNumberByOSISName(books[static_cast<std::size_t>(b - 1)].c_str());
        if (index < 1) continue;
        const sword::VersificationMgr::Book* book = s.getBook(index - 1);
        for (int ch = 1; ch <= book->getChapterMax(); ++ch)
            c.books[static_cast<std::size_t>(b - 1)].push_back(book->getVerseMax(ch));
    }
    return c;
}

int BookNumber(const std::vector<std::string>& books, const char* osis) {
    if (!osis) return 0;  // libsword may place a verse nowhere
    for (std::size_t i = 0; i < books.size(); ++i)
        if (books[i] == osis) return static_cast<int>(i) + 1;
    return 0;
}

// Verse -> Segond verse (0: none) for every verse of the system.
using Map = std::map<Key, Key>;

Map FromSword(const System& s, const System& segond, const Counts& counts, const Counts& seg,
              const std::vector<std::string>& books) {
    Map map;
    for (int b = 1; b <= kBooks; ++b) {
        const std::string& osis = books[static_cast<std::size_t>(b - 1)];
        for (int ch = 1;
             ch <= static_cast<int>(counts.books[static_cast<std::size_t>(b - 1)].size()); ++ch)
            for (int v = 1; v <= counts.Verses(b, ch); ++v) {
                const char* book = osis.c_str();
                int chapter = ch, from = v, to = v;
                s.translateVerse(&segond, &book, &chapter, &from, &to);
                const int tb = BookNumber(books, book);
                const bool there = tb != 0 && from >= 1 && from <= seg.Verses(tb, chapter);
                // Placed nowhere where the Segond has the same verse
                // (libsword loses Apocalypse 13 of the KJV so): that one.
                map[Pack(b, ch, v)] = there                    ? Pack(tb, chapter, from)
                                      : v <= seg.Verses(b, ch) ? Pack(b, ch, v)
                                                               : 0;
            }
    }
    return map;
}

// A Psalm numbered with or without its title: verse v is the Segond's
// v + (Segond's verses - this one's), the first ones joined when this
// one has more.
void PsalmsByTheirTitles(Map& map, const Counts& counts, const Counts& seg) {
    for (int p = 1; p <= 150; ++p) {
        const int mine = counts.Verses(kPsalms, p), theirs = seg.Verses(kPsalms, p);
        if (mine == 0 || theirs == 0) continue;
        const int shift = theirs - mine;
        for (int v = 1; v <= mine; ++v)
            map[Pack(kPsalms, p, v)] = Pack(kPsalms, p, std::max(1, v + shift));
    }
}

// The Hebrew verse map: Hebrew place -> English place, "Gen.32.1" or
// "Ps.13.6!a".
std::map<Key, Key> ReadVerseMap(const std::string& gz, const std::vector<std::string>& books) {
    gzFile f = gzopen(gz.c_str(), "rb");
    if (!f) throw std::runtime_error("cannot open " + gz);
    QByteArray xml;
    char buffer[65536];
    int n;
    while ((n = gzread(f, buffer, sizeof buffer)) > 0)
        xml.append(buffer, n);
    gzclose(f);

    const auto place = [&](const QString& osis) -> Key {
        const QStringList parts = osis.section('!', 0, 0).split('.');
        if (parts.size() != 3) return 0;
        const int b = BookNumber(books, parts[0].toStdString().c_str());
        return b == 0 ? 0 : Pack(b, parts[1].toInt(), parts[2].toInt());
    };
    std::map<Key, Key> out;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("verse")) {
            const Key hebrew = place(r.attributes().value("wlc").toString());
            const Key english = place(r.attributes().value("kjv").toString());
            // A Hebrew verse split in two English ones goes with the
            // first.
            if (hebrew && english && !out.count(hebrew)) out[hebrew] = english;
        }
    }
    if (r.hasError()) throw std::runtime_error("verse map: " + r.errorString().toStdString());
    return out;
}

void Hebrew(Map& map, const Map& kjv, const std::map<Key, Key>& verseMap) {
    for (auto& [place, segond] : map) {
        if (place >> 16 == kPsalms) continue;
        const auto english = verseMap.find(place);
        const Key k = english == verseMap.end() ? place : english->second;
        const auto s = kjv.find(k);
        segond = s == kjv.end() ? k : s->second;
    }
}

struct Mend {
    const char* system;
    Key verse, segond;
};

// What libsword places wrong and neither rule above mends: the verse that
// holds two Segond verses goes with the first.
const Mend kMends[] = {
    {"KJV", Pack(64, 1, 14), Pack(64, 1, 14)},
    {"KJVA", Pack(64, 1, 14), Pack(64, 1, 14)},
};

// An array never empty (C++ has none), its true size said apart.
void WriteArray(std::ostream& out, const char* type, const std::string& name,
                const std::vector<unsigned long>& values) {
    out << "const " << type << ' ' << name << "[] = {";
    for (std::size_t i = 0; i < values.size(); ++i)
        out << (i % 12 == 0 ? "\n    " : " ") << values[i] << ',';
    out << (values.empty() ? "0" : "") << "\n};\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: lorvane-numbering-tables OUTPUT.cpp VERSEMAP.xml.gz\n";
        return 2;
    }
    try {
        auto* mgr = sword::VersificationMgr::getSystemVersificationMgr();
        const System* segond = mgr->getVersificationSystem("Segond");
        const System* kjvSystem = mgr->getVersificationSystem("KJV");
        if (!segond || !kjvSystem) throw std::runtime_error("libsword lacks Segond or KJV");
        const std::vector<std::string> books = BookNames(*segond);
        const Counts seg = CountsOf(*segond, books);
        const std::map<Key, Key> verseMap = ReadVerseMap(argv[2], books);

        Map kjv = FromSword(*kjvSystem, *segond, CountsOf(*kjvSystem, books), seg, books);
        PsalmsByTheirTitles(kjv, CountsOf(*kjvSystem, books), seg);
        for (const Mend& m : kMends)
            if (std::string(m.system) == "KJV") kjv[m.verse] = m.segond;

        std::ofstream out(argv[1], std::ios::binary);
        out << "// Written by lorvane-numbering-tables; do not edit.\n"
               "#include \"NumberingData.h\"\n\nnamespace lorvane::numbering {\nnamespace {\n";
        std::vector<std::string> names;
        std::vector<std::size_t> ruleCounts, countSizes;
        const sword::StringList systems = mgr->getVersificationSystems();
        for (auto it = systems.begin(); it != systems.end(); ++it) {
            const std::string name = it->c_str();
            const System* s = mgr->getVersificationSystem(name.c_str());
            const Counts counts = CountsOf(*s, books);
            // The Segond is the reference: each verse its own (libsword's
            // round trip through its base system moves some).
            Map map = name == "Segond" ? Map() : FromSword(*s, *segond, counts, seg, books);
            if (name == "Segond")
                for (int b = 1; b <= kBooks; ++b)
                    for (int ch = 1;
                         ch <=
                         static_cast<int>(counts.books[static_cast<std::size_t>(b - 1)].size());
                         ++ch)
                        for (int v = 1; v <= counts.Verses(b, ch); ++v)
                            map[Pack(b, ch, v)] = Pack(b, ch, v);
            const Map raw = map;
            const bool hebrewPsalms = counts.Verses(kPsalms, 9) != 0 &&
                                      counts.Verses(kPsalms, 9) <= seg.Verses(kPsalms, 9);
            if (hebrewPsalms) PsalmsByTheirTitles(map, counts, seg);
            if (name == "Leningrad" || name == "MT") Hebrew(map, kjv, verseMap);
            for (const Mend& m : kMends)
                if (name == m.system) map[m.verse] = m.segond;
            std::size_t mended = 0;
            std::vector<unsigned long> rules, sizes;
            for (const auto& [place, segondPlace] : map) {
                const auto was = raw.find(place);
                if (was != raw.end() && was->second != segondPlace) ++mended;
                if (place == segondPlace) continue;
                rules.push_back(place);
                rules.push_back(segondPlace);
            }
            for (const std::vector<int>& book : counts.books) {
                sizes.push_back(book.size());
                for (int v : book)
                    sizes.push_back(static_cast<unsigned long>(v));
            }
            WriteArray(out, "std::uint32_t", "kRules" + std::to_string(names.size()), rules);
            WriteArray(out, "std::uint8_t", "kCounts" + std::to_string(names.size()), sizes);
            names.push_back(name);
            ruleCounts.push_back(rules.size() / 2);
            countSizes.push_back(sizes.size());
            std::cout << name << ": " << rules.size() / 2 << " verses placed elsewhere, " << mended
                      << " of libsword's placings mended\n";
        }
        out << "}  // namespace\n\nconst SystemData kSystems[] = {\n";
        for (std::size_t i = 0; i < names.size(); ++i)
            out << "    {\"" << names[i] << "\", kRules" << i << ", " << ruleCounts[i]
                << ", kCounts" << i << ", " << countSizes[i] << "},\n";
        out << "};\nconst std::size_t kSystemCount = " << names.size()
            << ";\n\n}  // namespace lorvane::numbering\n";
        if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "lorvane-numbering-tables: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
