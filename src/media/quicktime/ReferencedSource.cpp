#include "media/quicktime/ReferencedSource.h"

#include "media/quicktime/AliasRecord.h"
#include "media/quicktime/ReadIndex.h"

#include <cerrno>
#include <set>
#include <sys/stat.h>

namespace media::quicktime {

namespace {

// The data reference (0-based) a sample description names, if it names one.
std::optional<std::size_t> referenceOf(const TrackIndex& track, std::size_t description) {
    const auto& entry = track.sampleDescriptions[description];
    if (entry.size() < 16)
        return std::nullopt;
    const std::size_t reference = (std::size_t(entry[14]) << 8) | entry[15];
    if (reference < 1 || reference > track.dataReferences.size())
        return std::nullopt;
    return reference - 1;
}

} // namespace

std::expected<TrackSource, Error> trackSource(const std::filesystem::path& movie,
                                              const std::shared_ptr<const SourceIndex>& index,
                                              std::uint32_t track) {
    if (track >= index->tracks.size())
        return std::unexpected(Error{EINVAL, "The movie has no such track."});
    const TrackIndex& trackIndex = index->tracks[track];
    std::set<std::size_t> used;
    for (std::size_t i = 0; i < trackIndex.samples.count(); ++i) {
        const auto reference = referenceOf(trackIndex, trackIndex.samples.descriptionIndex(i));
        if (reference && !trackIndex.dataReferences[*reference].selfContained)
            used.insert(*reference);
        else
            used.insert(SIZE_MAX); // in the movie itself
    }
    if (used.size() > 1)
        return std::unexpected(
            Error{ENOTSUP, "A track of " + movie.string() + " takes its samples from several files."});
    if (used.empty() || *used.begin() == SIZE_MAX)
        return TrackSource{movie, index};

    const DataReference& reference = trackIndex.dataReferences[*used.begin()];
    const std::filesystem::path file =
        reference.type == makeFourCC("alis") ? aliasRecordTarget(reference.data) : std::filesystem::path();
    if (file.empty())
        return std::unexpected(
            Error{ENOTSUP, "A track of " + movie.string() + " names its file in a way we cannot follow."});
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::unexpected(Error{ENOENT, "The file " + file.string() + " that " + movie.string() +
                                                 " refers to cannot be found."});
    const auto size = static_cast<std::uint64_t>(status.st_size);
    for (std::size_t i = 0; i < trackIndex.samples.count(); ++i)
        if (trackIndex.samples.offset(i) > size ||
            trackIndex.samples.byteSize(i) > size - trackIndex.samples.offset(i))
            return std::unexpected(Error{EBADMSG, "The file " + file.string() + " is shorter than " +
                                                      movie.string() + " says: it has changed since."});
    auto sized = std::make_shared<SourceIndex>(*index);
    sized->fileSize = size;
    return TrackSource{file, std::move(sized)};
}

bool refersToOtherFiles(const std::filesystem::path& movie) {
    if (readIndex(movie).has_value())
        return false;
    auto index = readReferenceMovieIndex(movie);
    if (!index)
        return false;
    const auto shared = std::make_shared<const SourceIndex>(std::move(*index));
    for (std::uint32_t t = 0; t < shared->tracks.size(); ++t) {
        auto source = trackSource(movie, shared, t);
        if (!source || source->file != movie)
            return true;
    }
    return false;
}

} // namespace media::quicktime
