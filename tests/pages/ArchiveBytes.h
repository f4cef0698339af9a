#pragma once

// Raw pieces of study-page archives for the tests: headers, entries,
// markers and blocks appended one by one, so that damaged and hostile
// archives are made by code. Also a small independent parser of what the
// writer produces.

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::testing::archive {

// A zlib stream (RFC 1950) of the bytes.
inline std::string Zlib(std::string_view bytes, int level = 9) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                  level) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(size);
    return out;
}

class RawArchive {
  public:
    RawArchive& Int(std::int32_t v) {
        auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            bytes_ += static_cast<char>((u >> (8 * i)) & 0xFF);
        return *this;
    }
    RawArchive& Raw(std::string_view b) {
        bytes_.append(b);
        return *this;
    }
    RawArchive& Header(std::int32_t totalBytes, std::string_view title = "Test",
                       std::int32_t value2 = 0) {
        return Int(static_cast<std::int32_t>(title.size())).Raw(title).Int(totalBytes).Int(value2);
    }
    // NameLength, StoredName and FileDate of a member.
    RawArchive& Entry(std::string_view name, std::uint32_t date = 0) {
        return Int(static_cast<std::int32_t>(name.size()))
            .Raw(name)
            .Int(static_cast<std::int32_t>(date));
    }
    // A volume-switch entry "NEXT:DISK" + three characters.
    RawArchive& NextDisk(std::string_view three) {
        std::string name = "NEXT:DISK" + std::string(three);
        return Int(static_cast<std::int32_t>(name.size())).Raw(name);
    }
    RawArchive& Marker() { return Raw(std::string_view("EC2\0", 4)); }
    RawArchive& Stored(std::string_view b) {
        return Int(-static_cast<std::int32_t>(b.size())).Raw(b);
    }
    RawArchive& Compressed(std::string_view b, int level = 9) {
        std::string z = Zlib(b, level);
        return Int(static_cast<std::int32_t>(z.size())).Raw(z);
    }
    // The closing BlockLength 0 of a member, or the final NameLength 0.
    RawArchive& End() { return Int(0); }
    // A whole member: entry, marker, the bytes in one stored block, 0.
    RawArchive& Member(std::string_view name, std::string_view b, std::uint32_t date = 0) {
        Entry(name, date).Marker();
        if (!b.empty()) Stored(b);
        return End();
    }

    const std::string& str() const { return bytes_; }
    operator std::string() const { return bytes_; }

  private:
    std::string bytes_;
};

// What the writer produced, read back without the program's reader.
struct ParsedBlock {
    std::int32_t length = 0;
    std::string data;  // inflated or stored bytes
};
struct ParsedMember {
    std::string name;
    std::uint32_t date = 0;
    std::vector<ParsedBlock> blocks;
    std::string bytes() const {
        std::string all;
        for (const auto& b : blocks)
            all += b.data;
        return all;
    }
};
struct ParsedArchive {
    std::string title;
    std::int32_t totalBytes = 0, value2 = 0;
    std::vector<ParsedMember> members;
    std::vector<std::string> volumeSwitches;
};

class Cursor {
  public:
    explicit Cursor(const std::vector<std::string>& volumes) : volumes_(volumes) {}
    std::string Take(std::size_t n) {
        const std::string& v = volumes_.at(volume_);
        if (pos_ + n > v.size()) throw std::runtime_error("archive cut short");
        std::string out = v.substr(pos_, n);
        pos_ += n;
        return out;
    }
    std::int32_t Int() {
        std::string b = Take(4);
        std::uint32_t u = 0;
        for (int i = 3; i >= 0; --i)
            u = u << 8 | static_cast<unsigned char>(b[static_cast<std::size_t>(i)]);
        return static_cast<std::int32_t>(u);
    }
    void NextVolume() {
        ++volume_;
        pos_ = 0;
    }
    bool AtEndOfAll() const {
        return volume_ + 1 == volumes_.size() && pos_ == volumes_[volume_].size();
    }

  private:
    const std::vector<std::string>& volumes_;
    std::size_t volume_ = 0, pos_ = 0;
};

inline std::string Inflate(const std::string& z) {
    std::string out(16384, '\0');
    uLongf size = out.size();
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                   reinterpret_cast<const Bytef*>(z.data()), static_cast<uLong>(z.size())) != Z_OK)
        throw std::runtime_error("block does not inflate into 16384 bytes");
    out.resize(size);
    return out;
}

inline void ParseMemberData(Cursor& in, ParsedMember& m) {
    if (in.Take(4) != std::string("EC2\0", 4)) throw std::runtime_error("bad marker");
    for (;;) {
        std::int32_t len = in.Int();
        if (len == 0) return;
        ParsedBlock b;
        b.length = len;
        std::string raw = in.Take(static_cast<std::size_t>(len < 0 ? -len : len));
        b.data = len > 0 ? Inflate(raw) : raw;
        m.blocks.push_back(std::move(b));
    }
}

// Parses an archive of one or more volumes; throws on anything unexpected.
inline ParsedArchive Parse(const std::vector<std::string>& volumes) {
    Cursor in(volumes);
    ParsedArchive a;
    a.title = in.Take(static_cast<std::size_t>(in.Int()));
    a.totalBytes = in.Int();
    a.value2 = in.Int();
    for (;;) {
        std::int32_t n = in.Int();
        if (n == 0) break;
        if (n < 0) throw std::runtime_error("negative name length");
        std::string name = in.Take(static_cast<std::size_t>(n));
        if (name.rfind("NEXT:DISK", 0) == 0) {
            a.volumeSwitches.push_back(name);
            in.NextVolume();
            ParseMemberData(in, a.members.back());
            continue;
        }
        ParsedMember m;
        m.name = name;
        m.date = static_cast<std::uint32_t>(in.Int());
        ParseMemberData(in, m);
        a.members.push_back(std::move(m));
    }
    if (!in.AtEndOfAll()) throw std::runtime_error("bytes after the end of the archive");
    return a;
}
inline ParsedArchive Parse(const std::string& bytes) {
    return Parse(std::vector<std::string>{bytes});
}

}  // namespace lorvane::testing::archive
