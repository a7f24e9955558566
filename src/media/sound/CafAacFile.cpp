#include "media/sound/CafAacFile.h"

#include "media/detail/WriteAllAt.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace media::sound {

namespace {

constexpr int kFramesPerPacket = 1024;

void put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putTag(std::vector<std::uint8_t>& out, const char* tag) {
    out.insert(out.end(), tag, tag + 4);
}

// An MPEG-4 descriptor: its tag, its length in the four-byte form, its body.
void putDescriptor(std::vector<std::uint8_t>& out, std::uint8_t tag, const std::vector<std::uint8_t>& body) {
    out.push_back(tag);
    const auto length = static_cast<std::uint32_t>(body.size());
    for (int shift = 21; shift > 0; shift -= 7)
        out.push_back(static_cast<std::uint8_t>(0x80 | ((length >> shift) & 0x7F)));
    out.push_back(static_cast<std::uint8_t>(length & 0x7F));
    out.insert(out.end(), body.begin(), body.end());
}

// A variable-length quantity, seven bits a byte, most significant first.
void putVariable(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t bytes[5];
    int count = 0;
    do {
        bytes[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(static_cast<std::uint8_t>(bytes[--count] | 0x80));
    out.push_back(bytes[0]);
}

} // namespace

std::expected<void, Error> CafAacWriter::writeAt(const std::vector<std::uint8_t>& bytes, std::int64_t at) {
    if (auto written = detail::writeAllAt(m_fd, bytes, static_cast<std::uint64_t>(at)); !written)
        return std::unexpected(
            Error{written.error(), std::string("cannot write the sound file: ") + std::strerror(written.error())});
    return {};
}

std::expected<void, Error> CafAacWriter::begin(const std::vector<std::uint8_t>& config, std::int64_t bitRate) {
    std::vector<std::uint8_t> out;
    putTag(out, "caff");
    put(out, 1, 2); // version
    put(out, 0, 2); // flags

    putTag(out, "desc");
    put(out, 32, 8);
    put(out, std::bit_cast<std::uint64_t>(static_cast<double>(m_sampleRate)), 8);
    putTag(out, "aac ");
    put(out, 2, 4); // AAC low complexity
    put(out, 0, 4); // bytes per packet: they vary
    put(out, kFramesPerPacket, 4);
    put(out, static_cast<std::uint64_t>(m_channels), 4);
    put(out, 0, 4); // bits per channel: none for compressed sound

    std::vector<std::uint8_t> decoderSpecific;
    putDescriptor(decoderSpecific, 0x05, config);
    std::vector<std::uint8_t> decoderConfig{0x40, 0x15}; // MPEG-4 audio, audio stream
    put(decoderConfig, 6144, 3);                          // buffer size
    put(decoderConfig, static_cast<std::uint64_t>(bitRate), 4);
    put(decoderConfig, static_cast<std::uint64_t>(bitRate), 4);
    decoderConfig.insert(decoderConfig.end(), decoderSpecific.begin(), decoderSpecific.end());
    std::vector<std::uint8_t> elementary{0, 0, 0}; // ES_ID 0, no flags
    putDescriptor(elementary, 0x04, decoderConfig);
    putDescriptor(elementary, 0x06, {0x02});
    std::vector<std::uint8_t> cookie;
    putDescriptor(cookie, 0x03, elementary);
    putTag(out, "kuki");
    put(out, cookie.size(), 8);
    out.insert(out.end(), cookie.begin(), cookie.end());

    putTag(out, "data");
    m_dataSizeAt = static_cast<std::int64_t>(out.size());
    put(out, 4, 8); // filled in by finish()
    put(out, 0, 4); // edit count
    if (auto written = writeAt(out, 0); !written)
        return written;
    m_end = static_cast<std::int64_t>(out.size());
    return {};
}

std::expected<void, Error> CafAacWriter::append(const std::uint8_t* packet, int size) {
    if (auto written = writeAt(std::vector<std::uint8_t>(packet, packet + size), m_end); !written)
        return written;
    m_end += size;
    m_sizes.push_back(static_cast<std::uint32_t>(size));
    return {};
}

std::expected<void, Error> CafAacWriter::finish(std::int64_t validFrames, int primingFrames) {
    std::vector<std::uint8_t> size;
    put(size, static_cast<std::uint64_t>(m_end - m_dataSizeAt - 8), 8);
    if (auto written = writeAt(size, m_dataSizeAt); !written)
        return written;
    std::vector<std::uint8_t> table;
    const auto packets = static_cast<std::int64_t>(m_sizes.size());
    put(table, static_cast<std::uint64_t>(packets), 8);
    put(table, static_cast<std::uint64_t>(validFrames), 8);
    put(table, static_cast<std::uint32_t>(primingFrames), 4);
    const std::int64_t remainder = std::max<std::int64_t>(0, packets * kFramesPerPacket - primingFrames - validFrames);
    put(table, static_cast<std::uint32_t>(remainder), 4);
    for (const std::uint32_t bytes : m_sizes)
        putVariable(table, bytes);
    std::vector<std::uint8_t> chunk;
    putTag(chunk, "pakt");
    put(chunk, table.size(), 8);
    chunk.insert(chunk.end(), table.begin(), table.end());
    return writeAt(chunk, m_end);
}

} // namespace media::sound
