#include "ArchiveWriter.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <string_view>

namespace lorvane::archive {
namespace {

void AppendLE32(std::string& out, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::int32_t CheckedLength(std::size_t n, const char* what) {
    if (n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::invalid_argument(std::string(what) + " too long for the archive format");
    return static_cast<std::int32_t>(n);
}

void AppendText(std::string& out, std::string_view text, const char* what) {
    AppendLE32(out, CheckedLength(text.size(), what));
    out.append(text);
}

// One block as it is stored: its BlockLength and bytes. Compressed when
// that makes it shorter, else stored (negative length).
std::string EncodeBlock(std::string_view chunk, int level) {
    std::string out;
    if (level > 0) {
        uLongf size = compressBound(static_cast<uLong>(chunk.size()));
        std::string packed(size, '\0');
        int rc = compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
                           reinterpret_cast<const Bytef*>(chunk.data()),
                           static_cast<uLong>(chunk.size()), level);
        if (rc != Z_OK) throw std::runtime_error("zlib compress2 failed: " + std::to_string(rc));
        if (size < chunk.size()) {
            AppendLE32(out, static_cast<std::int32_t>(size));
            out.append(packed.data(), size);
            return out;
        }
    }
    AppendLE32(out, -static_cast<std::int32_t>(chunk.size()));
    out.append(chunk);
    return out;
}

// "002" for 2: the volume number in three digits (1 to 999).
std::string ThreeDigits(int n) {
    return {static_cast<char>('0' + n / 100 % 10), static_cast<char>('0' + n / 10 % 10),
            static_cast<char>('0' + n % 10)};
}

class VolumeBuilder {
  public:
    explicit VolumeBuilder(std::size_t volumeSize) : volumeSize_(volumeSize) {
        volumes_.emplace_back();
    }
    std::string& current() { return volumes_.back(); }

    // Adds one encoded block of the member being written, first opening a
    // new volume when the block would take this one past its size. A new
    // volume begins with the DataMarker that continues the member.
    void AddBlock(const std::string& block, bool memberHasBlocks) {
        // The closing 0 and a NEXT:DISK entry must still fit after the block.
        constexpr std::size_t kSwitchBytes = 4 + 4 + 12;
        if (volumeSize_ > 0 && memberHasBlocks &&
            current().size() + block.size() + kSwitchBytes > volumeSize_) {
            const int next = static_cast<int>(volumes_.size()) + 1;
            if (next > 999) throw std::invalid_argument("more than 999 volumes");
            AppendLE32(current(), 0);
            AppendText(current(), "NEXT:DISK" + ThreeDigits(next), "volume name");
            volumes_.emplace_back();
            current().append(kDataMarker, 4);
        }
        current() += block;
    }

    std::vector<std::string> take() { return std::move(volumes_); }

  private:
    std::size_t volumeSize_;
    std::vector<std::string> volumes_;
};

}  // namespace

std::vector<std::string> EncodeVolumes(const std::vector<Member>& members,
                                       const WriterOptions& options) {
    if (options.blockSize == 0 || options.blockSize > kMaxBlockSize)
        throw std::invalid_argument("block size must be 1 to 16384");
    if (options.zlibLevel < 0 || options.zlibLevel > 9)
        throw std::invalid_argument("zlib level must be 0 to 9");

    std::vector<Member> all = members;
    std::size_t total = 0;
    for (const Member& m : members)
        total += m.bytes.size();
    if (options.fileList) {
        Member list{"FILE:LIST", 0, {}};
        for (const Member& m : members)
            list.bytes += m.storedName + "\r\n";
        all.push_back(std::move(list));
    }

    VolumeBuilder out(options.volumeSize);
    AppendText(out.current(), options.title, "title");
    AppendLE32(out.current(), CheckedLength(total, "archive"));
    AppendLE32(out.current(), options.headerValue2);
    for (const Member& m : all) {
        if (m.storedName.empty()) throw std::invalid_argument("a member without a name");
        AppendText(out.current(), m.storedName, "stored name");
        AppendLE32(out.current(), static_cast<std::int32_t>(m.fileDate));
        out.current().append(kDataMarker, 4);
        std::string_view rest = m.bytes;
        bool hasBlocks = false;
        while (!rest.empty()) {
            std::string_view chunk = rest.substr(0, options.blockSize);
            rest.remove_prefix(chunk.size());
            out.AddBlock(EncodeBlock(chunk, options.zlibLevel), hasBlocks);
            hasBlocks = true;
        }
        AppendLE32(out.current(), 0);
    }
    AppendLE32(out.current(), 0);
    return out.take();
}

std::string EncodeArchive(const std::vector<Member>& members, const WriterOptions& options) {
    WriterOptions single = options;
    single.volumeSize = 0;
    return EncodeVolumes(members, single).front();
}

std::string VolumeName(const std::string& path, int n) {
    if (n < 1 || n > 999) throw std::invalid_argument("volume number must be 1 to 999");
    const std::string ext = "." + ThreeDigits(n);
    const std::size_t slash = path.find_last_of("/\\:");
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ext;
    return path.substr(0, dot) + ext;
}

void WriteArchive(const std::string& path, const std::vector<Member>& members,
                  const WriterOptions& options) {
    const std::vector<std::string> volumes = EncodeVolumes(members, options);
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        const std::string name = i == 0 ? path : VolumeName(path, static_cast<int>(i) + 1);
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(volumes[i].data(), static_cast<std::streamsize>(volumes[i].size()));
        out.close();
        if (!out) throw std::runtime_error("cannot write " + name);
    }
}

std::uint32_t ToDosDateTime(std::time_t t) {
    constexpr std::uint32_t kFirstDay = (1u << 21 | 1u << 16);  // 1980-01-01 00:00:00
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return kFirstDay;
    int year = tm.tm_year + 1900;
    if (year < 1980) return kFirstDay;
    if (year > 2107) {
        year = 2107;
        tm.tm_mon = 11;
        tm.tm_mday = 31;
        tm.tm_hour = 23;
        tm.tm_min = 59;
        tm.tm_sec = 58;
    }
    const std::uint32_t date = (static_cast<std::uint32_t>(year - 1980) << 9) |
                               (static_cast<std::uint32_t>(tm.tm_mon + 1) << 5) |
                               static_cast<std::uint32_t>(tm.tm_mday);
    const std::uint32_t time = (static_cast<std::uint32_t>(tm.tm_hour) << 11) |
                               (static_cast<std::uint32_t>(tm.tm_min) << 5) |
                               static_cast<std::uint32_t>(std::min(tm.tm_sec, 59) / 2);
    return date << 16 | time;
}

std::time_t FromDosDateTime(std::uint32_t dos) {
    std::tm tm{};
    tm.tm_year = static_cast<int>((dos >> 25) & 0x7F) + 80;
    tm.tm_mon = static_cast<int>((dos >> 21) & 0x0F) - 1;
    tm.tm_mday = static_cast<int>((dos >> 16) & 0x1F);
    tm.tm_hour = static_cast<int>((dos >> 11) & 0x1F);
    tm.tm_min = static_cast<int>((dos >> 5) & 0x3F);
    tm.tm_sec = static_cast<int>(dos & 0x1F) * 2;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

}  // namespace lorvane::archive
