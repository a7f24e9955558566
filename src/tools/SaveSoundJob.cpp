#include "tools/SaveSoundJob.h"

namespace tools {

std::expected<void, media::Error> SaveSoundJob::run() {
    m_outcome = {};
    const bool copying = m_request.coreAudioCopy || m_request.waveCopy;
    auto sound = media::extractSoundToAiff(m_request.movie, m_request.destination,
                                           progressCallback(0.0, copying ? 0.9 : 1.0));
    if (!sound)
        return std::unexpected(isCancelled() ? support::cancelledError() : sound.error());
    m_outcome.sound = *sound;
    const QString path = QString::fromStdString(m_request.destination.string());
    const std::tuple<bool, media::SoundCopy, const char*> copies[] = {
        {m_request.coreAudioCopy, media::SoundCopy::CoreAudioAac, "Could not convert \"%1\" to Core Audio Format."},
        {m_request.waveCopy, media::SoundCopy::WaveUnsigned8, "Could not convert \"%1\" to Waveform."},
    };
    for (const auto& [wanted, copy, failure] : copies) {
        if (!wanted)
            continue;
        if (auto made = media::makeSoundCopy(m_request.destination, copy))
            m_outcome.copies.push_back(*made);
        else
            m_outcome.messages << QString::fromUtf8(failure).arg(path);
    }
    reportProgress(1.0);
    return {};
}

} // namespace tools
