#include "media/quicktime/ReadIndex.h"

#include "media/quicktime/detail/FileDescriptor.h"
#include "media/quicktime/detail/IndexErrors.h"
#include "media/quicktime/detail/MovieParser.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace media::quicktime {

namespace {

// A movie header larger than this is not one we would index (a 24-hour movie's is about 100 MB).
constexpr std::uint64_t kLargestMovieAtom = 1ull << 30;

// Reads `size` bytes at `offset` into `out`; false when the bytes are not all there.
using ReadAt = std::function<bool(std::uint64_t offset, std::size_t size, std::uint8_t* out)>;

std::expected<SourceIndex, Error> readTopLevel(std::uint64_t fileSize, const ReadAt& readAt,
                                               bool samplesElsewhereAllowed = false) {
    std::optional<std::pair<std::uint64_t, std::uint64_t>> movieAtom; // body offset and size
    FourCC majorBrand = 0;
    for (std::uint64_t at = 0; fileSize - at >= 8;) {
        std::uint8_t header[16];
        if (!readAt(at, 8, header))
            return std::unexpected(detail::damaged("an atom header cannot be read"));
        std::uint64_t size = (std::uint64_t(header[0]) << 24) | (std::uint64_t(header[1]) << 16) |
                             (std::uint64_t(header[2]) << 8) | header[3];
        const FourCC type = (FourCC(header[4]) << 24) | (FourCC(header[5]) << 16) | (FourCC(header[6]) << 8) |
                            FourCC(header[7]);
        std::uint64_t headerSize = 8;
        if (size == 1) {
            if (fileSize - at < 16 || !readAt(at + 8, 8, header + 8))
                return std::unexpected(detail::damaged("a 64-bit atom size is cut short"));
            size = 0;
            for (int i = 8; i < 16; ++i)
                size = (size << 8) | header[i];
            headerSize = 16;
        } else if (size == 0) {
            size = fileSize - at;
        }
        if (size < headerSize)
            return std::unexpected(detail::damaged("an atom has a size smaller than its header"));
        if (size > fileSize - at) {
            // A cut-off last atom (a recording that stopped) is tolerated unless it is the movie header.
            if (type == makeFourCC("moov"))
                return std::unexpected(detail::damaged("the movie header is cut short"));
            break;
        }
        if (type == makeFourCC("moof"))
            return std::unexpected(detail::unsupported("it is a fragmented MPEG-4 file"));
        if (type == makeFourCC("ftyp") && size >= headerSize + 4 && at == 0) {
            std::uint8_t brand[4];
            if (readAt(at + headerSize, 4, brand))
                majorBrand =
                    (FourCC(brand[0]) << 24) | (FourCC(brand[1]) << 16) | (FourCC(brand[2]) << 8) | brand[3];
        }
        if (type == makeFourCC("moov") && !movieAtom)
            movieAtom = std::make_pair(at + headerSize, size - headerSize);
        at += size;
    }
    if (!movieAtom)
        return std::unexpected(detail::damaged("it has no movie header ('moov' atom)"));
    if (movieAtom->second > kLargestMovieAtom)
        return std::unexpected(detail::unsupported("its movie header is larger than 1 GB"));
    std::vector<std::uint8_t> body(static_cast<std::size_t>(movieAtom->second));
    if (!readAt(movieAtom->first, body.size(), body.data()))
        return std::unexpected(detail::damaged("the movie header cannot be read"));
    auto index = detail::parseMovie(body, fileSize, samplesElsewhereAllowed);
    if (index)
        index->majorBrand = majorBrand;
    return index;
}

bool readFully(int fd, std::uint64_t offset, std::size_t size, std::uint8_t* out) {
    while (size > 0) {
        const ssize_t got = ::pread(fd, out, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        offset += static_cast<std::uint64_t>(got);
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

std::expected<SourceIndex, Error> readIndexOf(const std::filesystem::path& path,
                                              bool samplesElsewhereAllowed) {
    detail::FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        const int code = errno;
        return std::unexpected(Error{code, "The movie file " + path.string() +
                                               " cannot be opened: " + std::strerror(code) + "."});
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::unexpected(Error{EINVAL, "The movie file " + path.string() + " is not a regular file."});
    return readTopLevel(
        static_cast<std::uint64_t>(status.st_size),
        [fd = file.get()](std::uint64_t offset, std::size_t size, std::uint8_t* out) {
            return readFully(fd, offset, size, out);
        },
        samplesElsewhereAllowed);
}

std::expected<SourceIndex, Error> readInMemory(std::span<const std::uint8_t> file,
                                               bool samplesElsewhereAllowed) {
    return readTopLevel(
        file.size(),
        [file](std::uint64_t offset, std::size_t size, std::uint8_t* out) {
            if (offset > file.size() || size > file.size() - offset)
                return false;
            if (size > 0) // an empty 'moov' reads into no buffer at all
                std::memcpy(out, file.data() + offset, size);
            return true;
        },
        samplesElsewhereAllowed);
}

} // namespace

std::expected<SourceIndex, Error> readIndex(const std::filesystem::path& path) {
    return readIndexOf(path, false);
}

std::expected<SourceIndex, Error> readReferenceMovieIndex(const std::filesystem::path& path) {
    return readIndexOf(path, true);
}

std::expected<SourceIndex, Error> readIndex(std::span<const std::uint8_t> file) {
    return readInMemory(file, false);
}

std::expected<SourceIndex, Error> readReferenceMovieIndex(std::span<const std::uint8_t> file) {
    return readInMemory(file, true);
}

} // namespace media::quicktime
