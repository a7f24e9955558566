#include "media/quicktime/PosterTime.h"

#include "media/quicktime/FourCC.h"
#include "media/quicktime/detail/ByteReader.h"

#include <array>
#include <fstream>

namespace media::quicktime {

namespace {

struct AtomHeader final {
    FourCC type = 0;
    std::uint64_t bodyStart = 0;
    std::uint64_t end = 0;
};

// The header of the atom at `at` that ends by `limit`; none past the end or damaged.
std::optional<AtomHeader> atomAt(std::ifstream& file, std::uint64_t at, std::uint64_t limit) {
    if (limit - at < 8)
        return std::nullopt;
    std::array<std::uint8_t, 16> bytes{};
    file.seekg(static_cast<std::streamoff>(at));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), 8))
        return std::nullopt;
    detail::ByteReader reader(detail::Bytes(bytes.data(), 8));
    std::uint64_t size = reader.u32();
    AtomHeader header{reader.u32(), at + 8, 0};
    if (size == 1) {
        if (limit - at < 16 || !file.read(reinterpret_cast<char*>(bytes.data() + 8), 8))
            return std::nullopt;
        detail::ByteReader wide(detail::Bytes(bytes.data() + 8, 8));
        size = wide.u64();
        header.bodyStart = at + 16;
    } else if (size == 0) {
        size = limit - at;
    }
    if (size < header.bodyStart - at || size > limit - at)
        return std::nullopt;
    header.end = at + size;
    return header;
}

// The first atom of `type` among those from `at` to `limit`.
std::optional<AtomHeader> findAtom(std::ifstream& file, FourCC type, std::uint64_t at, std::uint64_t limit) {
    while (auto header = atomAt(file, at, limit)) {
        if (header->type == type)
            return header;
        at = header->end;
    }
    return std::nullopt;
}

} // namespace

std::optional<Time> readPosterTime(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::error_code error;
    const auto fileSize = std::filesystem::file_size(path, error);
    if (!file || error)
        return std::nullopt;
    const auto movie = findAtom(file, makeFourCC("moov"), 0, fileSize);
    if (!movie)
        return std::nullopt;
    const auto header = findAtom(file, makeFourCC("mvhd"), movie->bodyStart, movie->end);
    if (!header)
        return std::nullopt;
    // Version and flags, times and scale, rate, volume, reserved, matrix,
    // preview time and duration, then the poster time.
    std::array<std::uint8_t, 4 + 28 + 4 + 2 + 10 + 36 + 8 + 4> bytes{};
    const std::uint64_t wanted = std::min<std::uint64_t>(bytes.size(), header->end - header->bodyStart);
    file.seekg(static_cast<std::streamoff>(header->bodyStart));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(wanted)))
        return std::nullopt;
    detail::ByteReader reader(detail::Bytes(bytes.data(), wanted));
    const std::uint32_t version = reader.u32() >> 24;
    reader.skip(version == 1 ? 16 : 8);
    const std::int32_t scale = reader.i32();
    reader.skip((version == 1 ? 8 : 4) + 4 + 2 + 10 + 36 + 8);
    const std::uint32_t poster = reader.u32();
    if (!reader.ok() || scale <= 0)
        return std::nullopt;
    return makeTime(poster, scale);
}

} // namespace media::quicktime
