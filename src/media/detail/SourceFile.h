#pragma once

#include "media/Error.h"
#include "media/Movie.h"
#include "media/Time.h"
#include "media/detail/FFmpeg.h"
#include "media/detail/QuickTimeStreams.h"
#include "media/quicktime/SourceIndex.h"

#include <QImage>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace media {

namespace detail {
class ReopeningReader;
}

// Private to src/media. One opened media file whose streams the edits of movies refer to. Shared by
// every movie made from it; reading it moves its demuxer, so one thread at a time.
//
// QuickTime and MPEG-4 files opened for their header (Header, Parameters) are
// read by our own QuickTime reader when it can tell every stream: FFmpeg is
// then neither loaded nor asked until something needs its demuxer (format():
// frames, decoding, a comparison the sample descriptions cannot settle).
class SourceFile final {
public:
    enum class Depth {
        Header,     // container header only: enough to tell whether it opens
        StreamInfo, // also what FFmpeg learns by reading the first packets
        // The header alone when it tells every usable stream's codec, size, rate,
        // channels and configuration record (QuickTime and MPEG-4 sample
        // descriptions do), else as StreamInfo. Profile and pixel or sample
        // format may then be unknown until completeStreamInfo().
        Parameters,
    };

    [[nodiscard]] static std::expected<std::shared_ptr<SourceFile>, Error>
    open(const std::filesystem::path& path, Depth depth);

    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // FFmpeg's demuxer of the file, opened on first use for a file our own
    // reader described; null when FFmpeg cannot open it.
    AVFormatContext* format() const;

    int streamCount() const;
    // FFmpeg's short name of a stream's codec ("h264", "aac").
    std::string codecName(int streamIndex) const;
    // Read by our QuickTime reader: its index and the streams it described.
    bool isDescribed() const { return m_described.has_value(); }
    const detail::StreamDescription* description(int streamIndex) const;
    const std::shared_ptr<const quicktime::SourceIndex>& quickTimeIndex() const { return m_index; }
    // A QuickTime or MPEG-4 file, whichever reader opened it.
    bool isQuickTime() const;

    // Reads the first packets for what the header left unknown (profile, pixel
    // or sample format, frame size), once; nothing to do after a StreamInfo open.
    void completeStreamInfo();

    // A still picture read by one of FFmpeg's image readers.
    bool isPicture() const { return m_isPicture; }
    // Whether a stream becomes a track: video (but not cover art), sound or text, of a known codec.
    bool isUsableStream(int streamIndex) const;
    MediaType mediaType(int streamIndex) const;

    // A stream's time scale (units per second) and its timestamps as times in it.
    std::int32_t streamTimeScale(int streamIndex) const;
    Time streamTime(int streamIndex, std::int64_t timestamp) const;
    // Back from a time in the stream's scale to the stream's timestamp units.
    std::int64_t streamTimestamp(int streamIndex, const Time& time) const;
    // Where the stream starts and how long it lasts, in its own scale. For
    // sound whose gapless tag (see Gapless.h) tells its priming and padding,
    // the range leaves them out.
    TimeRange streamRange(int streamIndex) const;
    // How much earlier than its start the stream is presented: the priming its
    // gapless tag says players skip, which FFmpeg reads as a late start (or not
    // at all, for MP3). Zero for other streams.
    Time gaplessPriming(int streamIndex) const;
    // Display size: pixel aspect ratio and rotation applied.
    Size displaySize(int streamIndex) const;
    // Degrees to turn decoded frames clockwise to show them upright (0, 90, 180 or 270).
    int clockwiseRotation(int streamIndex) const;

    // The frame shown at `timestamp` (stream units), upright at its display size.
    [[nodiscard]] std::optional<QImage> frameImage(int streamIndex, std::int64_t timestamp);
    // Samples of the stream whose timestamps fall in `range` (the whole stream when absent).
    std::int64_t sampleCount(int streamIndex, const std::optional<TimeRange>& range);

private:
    // streamRange as the container tells it.
    TimeRange containerRange(int streamIndex) const;

    // Decoders and the decoded picture, made by the first frameImage(); kept
    // apart (and freed through the function that made them) so that a
    // program that never asks for a frame needs no Qt Gui.
    struct FrameReading;
    using FrameReadingPtr = std::unique_ptr<FrameReading, void (*)(FrameReading*)>;
    SourceFile() = default;
    bool headerTellsEveryStream() const;
    [[nodiscard]] static std::expected<std::shared_ptr<SourceFile>, Error>
    openWithFfmpeg(const std::filesystem::path& path, Depth depth);
    [[nodiscard]] static std::shared_ptr<SourceFile> openDescribed(const std::filesystem::path& path);

    std::int64_t countDescribedSamples(int streamIndex, const std::optional<TimeRange>& range) const;
    std::int64_t countSamplesFromIndex(int streamIndex, const std::optional<TimeRange>& range) const;
    std::int64_t countSamplesByReading(int streamIndex, const std::optional<TimeRange>& range) const;

    std::filesystem::path m_path;
    // Opened at once, or on first use for a described file (hence mutable).
    mutable std::unique_ptr<detail::ReopeningReader> m_reader; // outlives m_format, which reads through it
    mutable detail::InputContextPtr m_format;
    mutable std::once_flag m_formatOpening; // two threads asking at once open it once
    std::shared_ptr<const quicktime::SourceIndex> m_index;
    std::optional<std::vector<detail::StreamDescription>> m_described;
    bool m_isPicture = false;
    bool m_hasStreamInfo = false;
    FrameReadingPtr m_frames{nullptr, nullptr};
    std::map<int, std::int64_t> m_wholeStreamSampleCounts;
};

} // namespace media
