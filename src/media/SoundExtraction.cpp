#include "media/SoundExtraction.h"

#include "media/detail/FFmpeg.h"
#include "media/detail/TemporaryFile.h"
#include "media/sound/AiffFile.h"
#include "media/sound/SoundMix.h"

#include <algorithm>
#include <vector>

namespace media {

std::expected<ExtractedSound, Error> extractSoundToAiff(const std::filesystem::path& source,
                                                        const std::filesystem::path& destination,
                                                        const std::function<bool(double)>& progress) {
    detail::configureLogging();
    auto reader = sound::SoundMix::open(source);
    if (!reader)
        return std::unexpected(reader.error());
    auto file = detail::TemporaryFile::create(destination);
    if (!file)
        return std::unexpected(file.error());
    sound::AiffWriter writer(file->fd(), reader->channels(), reader->sampleRate());
    if (auto begun = writer.begin(); !begun)
        return std::unexpected(begun.error());

    const std::int64_t expected = reader->expectedFrames();
    std::vector<std::int16_t> chunk(static_cast<std::size_t>(kSoundChunkFrames) *
                                    static_cast<std::size_t>(reader->channels()));
    std::int64_t done = 0;
    for (;;) {
        const double fraction =
            expected > 0 ? std::min(1.0, static_cast<double>(done) / static_cast<double>(expected)) : 0.0;
        if (progress && !progress(fraction))
            return std::unexpected(Error{ECANCELED, "Cancelled"});
        auto got = reader->read(chunk.data(), kSoundChunkFrames);
        if (!got)
            return std::unexpected(got.error());
        if (*got == 0)
            break;
        if (auto written = writer.append(reinterpret_cast<std::uint8_t*>(chunk.data()), *got); !written)
            return std::unexpected(written.error());
        done += *got;
    }
    if (auto finished = writer.finish(); !finished)
        return std::unexpected(finished.error());
    if (auto committed = file->commit(); !committed)
        return std::unexpected(committed.error());
    return ExtractedSound{reader->sampleRate(), reader->channels(), done};
}

} // namespace media
