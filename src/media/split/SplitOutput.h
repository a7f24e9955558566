#pragma once

// Private to src/media: one piece of a split movie being written: its
// temporary file, its muxer, and where its time starts in the source.

#include "media/detail/FFmpeg.h"
#include "media/detail/TemporaryFile.h"

#include <expected>
#include <filesystem>
#include <vector>

namespace media::split {

class SplitOutput final {
public:
    // A muxer for `destination`'s format with a copy of each of `streams`
    // (indexes into `input`; -1 in the map for those left out).
    [[nodiscard]] static std::expected<SplitOutput, Error> open(const std::filesystem::path& destination,
                                                                const AVFormatContext& input,
                                                                const std::vector<int>& streams);

    // Writes the header; before the first packet.
    [[nodiscard]] std::expected<void, Error> begin();
    // Writes a packet of input stream `inputStream`, its times in that
    // stream's time base and already made relative to the piece's start.
    // Takes the packet's contents.
    [[nodiscard]] std::expected<void, Error> write(int inputStream, AVPacket& packet);
    // Writes the trailer and moves the file into place.
    [[nodiscard]] std::expected<void, Error> finish();

    bool carries(int inputStream) const {
        return inputStream >= 0 && inputStream < static_cast<int>(m_map.size()) && m_map[inputStream] >= 0;
    }
    // Whether the stream has had a packet in this piece yet.
    bool hasPackets(int inputStream) const { return m_started[static_cast<std::size_t>(inputStream)]; }

private:
    SplitOutput(detail::TemporaryFile file) : m_file(std::move(file)) {}

    detail::TemporaryFile m_file;
    detail::OutputContextPtr m_muxer;
    std::vector<AVRational> m_inputTimeBases;
    std::vector<int> m_map;
    std::vector<bool> m_started;
};

} // namespace media::split
