#pragma once

// Private to src/media: the muxer of a transcoded join, writing encoded
// packets of its streams, and chapters, into one file.

#include "media/detail/FFmpeg.h"
#include "media/transcode/TranscodeJoin.h"

#include <expected>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace media::transcode {

class OutputMovie final {
public:
    // A muxer of `container` (FFmpeg's short name) writing `file`; errors name `shownName`.
    [[nodiscard]] static std::expected<std::unique_ptr<OutputMovie>, Error>
    create(const std::filesystem::path& file, const std::string& container,
           const std::filesystem::path& shownName);

    OutputMovie(const OutputMovie&) = delete;
    OutputMovie& operator=(const OutputMovie&) = delete;
    ~OutputMovie();

    // Whether encoders must put their parameter sets in the stream header.
    bool wantsGlobalHeaders() const;
    // Whether the container keeps how long each frame lasts: MPEG program and
    // transport streams keep only when frames start, so a movie ends one frame
    // after its last one starts.
    bool keepsFrameDurations() const;
    // A stream carrying what `encoder` (already open) makes; answers its index.
    [[nodiscard]] std::expected<int, Error> addStream(const AVCodecContext* encoder);
    // A stream whose packets are copied unchanged from `source`; answers its index.
    [[nodiscard]] std::expected<int, Error> addCopiedStream(const AVStream* source);
    // Chapters as the container holds them: each lasts until the next, the last until `end`.
    [[nodiscard]] std::expected<void, Error> setChapters(const std::vector<Chapter>& chapters,
                                                         const Time& end);
    // Opens the file and writes the header.
    [[nodiscard]] std::expected<void, Error> begin();
    // The time base the container keeps a stream's times in; final once the output has begun.
    AVRational streamTimeBase(int streamIndex) const;
    // Takes the packet's data; its timestamps are in `timeBase`.
    [[nodiscard]] std::expected<void, Error> write(AVPacket* packet, int streamIndex, AVRational timeBase);
    // Writes the trailer and closes the file.
    [[nodiscard]] std::expected<void, Error> finish();

    Error error(int code, const std::string& what) const;

private:
    OutputMovie() = default;

    detail::OutputContextPtr m_context;
    std::filesystem::path m_file;
    std::filesystem::path m_shownName;
};

} // namespace media::transcode
