#include "media/quicktime/QuickTimeFileWriter.h"

#include "media/detail/TemporaryFile.h"
#include "media/quicktime/ReadIndex.h"
#include "media/quicktime/detail/AtomStream.h"
#include "media/quicktime/detail/FileDescriptor.h"
#include "media/quicktime/detail/FileLayout.h"
#include "media/quicktime/detail/FileWriting.h"
#include "media/quicktime/detail/MovieAtomWriter.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace media::quicktime {

namespace {

// Seconds from 1904 (QuickTime's epoch) to 1970.
constexpr std::uint64_t kSecondsFrom1904To1970 = 2082844800;

Error cancelled() {
    return Error{ECANCELED, "Writing the movie was cancelled."};
}

std::expected<std::vector<std::shared_ptr<const SourceIndex>>, Error> indexesOf(const WriteRequest& request) {
    std::vector<std::shared_ptr<const SourceIndex>> indexes;
    for (const WriteSource& source : request.sources) {
        if (source.index) {
            indexes.push_back(source.index);
            continue;
        }
        auto index = readIndex(source.path);
        if (!index)
            return std::unexpected(
                Error{index.error().code, source.path.string() + ": " + index.error().message});
        indexes.push_back(std::make_shared<const SourceIndex>(std::move(*index)));
    }
    return indexes;
}

std::expected<detail::FileDescriptor, Error> openSource(const WriteSource& source, const SourceIndex& index) {
    detail::FileDescriptor file(::open(source.path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        const int code = errno;
        return std::unexpected(Error{code, "The movie file " + source.path.string() +
                                               " cannot be opened: " + std::strerror(code) + "."});
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || static_cast<std::uint64_t>(status.st_size) != index.fileSize)
        return std::unexpected(
            Error{ESTALE, "The movie file " + source.path.string() + " has changed since it was read."});
    return file;
}

// The media data atom's header: 64-bit when the data does not fit a 32-bit size.
detail::ByteVector mediaDataHeader(std::uint64_t dataSize) {
    detail::ByteVector header;
    if (dataSize + 8 > UINT32_MAX) {
        detail::appendBig(header, 1, 4);
        detail::appendText(header, "mdat");
        detail::appendBig(header, dataSize + 16, 8);
    } else {
        detail::appendBig(header, dataSize + 8, 4);
        detail::appendText(header, "mdat");
    }
    return header;
}

std::expected<void, Error> copySamples(const WriteRequest& request, const detail::FileLayout& layout,
                                       int output, std::uint64_t mediaData) {
    std::vector<std::optional<detail::FileDescriptor>> sources(request.sources.size());
    // A join of thousands of sources must not hold a descriptor for each: past
    // this many open at once, they are all closed and opened again as needed.
    constexpr std::size_t kMostOpenSources = 32;
    std::size_t openSources = 0;
    std::uint64_t before = 0;
    for (const detail::CopyRun& run : layout.runs) {
        auto& source = sources[static_cast<std::size_t>(run.source)];
        if (!source && openSources == kMostOpenSources) {
            for (auto& open : sources)
                open.reset();
            openSources = 0;
        }
        if (!source) {
            ++openSources;
            auto opened = openSource(request.sources[static_cast<std::size_t>(run.source)],
                                     *layout.indexes[static_cast<std::size_t>(run.source)]);
            if (!opened)
                return std::unexpected(opened.error());
            source.emplace(std::move(*opened));
        }
        const auto progress = [&](std::uint64_t copied) {
            return !request.progress || request.progress(static_cast<double>(before + copied) /
                                                         static_cast<double>(layout.copiedBytes));
        };
        if (auto copied =
                detail::copyBytes(source->get(), run.sourceStart, output, mediaData + run.outputStart,
                                  run.sourceEnd - run.sourceStart, progress);
            !copied)
            return copied;
        before += run.sourceEnd - run.sourceStart;
    }
    for (const detail::TrackLayout& track : layout.tracks) {
        for (const detail::OwnSample& sample : track.ownSamples)
            if (auto written = detail::writeAt(output, mediaData + sample.outputStart, sample.bytes);
                !written)
                return written;
        if (track.silenceFrames > 0) {
            const detail::ByteVector silence(track.silenceFrames * track.silenceBytesPerFrame,
                                             track.silenceByte.value_or(0));
            if (auto written = detail::writeAt(output, mediaData + track.silenceStart, silence); !written)
                return written;
        }
    }
    return {};
}

} // namespace

std::expected<void, Error> writeQuickTimeFile(const std::filesystem::path& destination,
                                              const WriteRequest& request) {
    auto indexes = indexesOf(request);
    if (!indexes)
        return std::unexpected(indexes.error());
    auto layout = detail::layOutFile(request, std::move(*indexes));
    if (!layout)
        return std::unexpected(layout.error());
    if (request.progress && !request.progress(0.0))
        return std::unexpected(cancelled());

    auto file = media::detail::TemporaryFile::create(destination);
    if (!file)
        return std::unexpected(file.error());

    detail::AtomStream head(file->fd(), 0);
    detail::writeFileType(head, layout->kind);
    if (layout->mediaDataSize > 0)
        head.bytes(mediaDataHeader(layout->mediaDataSize));
    const std::uint64_t mediaData = head.position();
    if (auto written = head.finish(); !written)
        return written;

    if (auto copied = copySamples(request, *layout, file->fd(), mediaData); !copied)
        return copied;

    const std::uint64_t now = static_cast<std::uint64_t>(std::time(nullptr)) + kSecondsFrom1904To1970;
    detail::AtomStream tail(file->fd(), mediaData + layout->mediaDataSize);
    if (auto written = detail::writeMovieAtom(tail, *layout, mediaData, now); !written)
        return written;
    if (auto written = tail.finish(); !written)
        return written;

    if (request.progress && !request.progress(1.0))
        return std::unexpected(cancelled());
    return file->commit();
}

} // namespace media::quicktime
