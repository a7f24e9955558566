#include "tools/SaveSoundJob.h"

namespace tools {

std::expected<void, media::Error> SaveSoundJob::run() {
    m_outcome = {};
    auto sound = media::extractSoundToAiff(m_request.movie, m_request.destination,
                                           progressCallback(0.0, m_request.makeCopies ? 0.9 : 1.0));
    if (!sound)
        return std::unexpected(sound.error());
    m_outcome.sound = *sound;
    if (!m_request.makeCopies)
        return {};
    const QString path = QString::fromStdString(m_request.destination.string());
    const std::pair<media::SoundCopy, const char*> copies[] = {
        {media::SoundCopy::CoreAudioAac, "Could not convert \"%1\" to Core Audio Format."},
        {media::SoundCopy::WaveUnsigned8, "Could not convert \"%1\" to Waveform."},
    };
    for (const auto& [copy, failure] : copies) {
        if (auto made = media::makeSoundCopy(m_request.destination, copy))
            m_outcome.copies.push_back(*made);
        else
            m_outcome.messages << QString::fromUtf8(failure).arg(path);
    }
    reportProgress(1.0);
    return {};
}

} // namespace tools
