#pragma once

#include "media/SoundExtraction.h"
#include "support/RequestJob.h"

#include <QStringList>
#include <filesystem>
#include <vector>

namespace tools {

struct SaveSoundRequest final {
    std::filesystem::path movie;
    std::filesystem::path destination; // the .aiff file
    bool coreAudioCopy = true;         // also name.caf (AAC)
    bool waveCopy = true;              // also name.wav (unsigned 8-bit)
};

struct SaveSoundOutcome final {
    media::ExtractedSound sound;
    std::vector<std::filesystem::path> copies;
    // "Could not convert "PATH" to Core Audio Format." and the like, for the console.
    QStringList messages;
};

// Writes the sound of a movie as 16-bit big-endian AIFF, then (when asked)
// its Core Audio Format (AAC) and WAVE (unsigned 8-bit) copies beside it.
// A copy that fails is only told in the outcome's messages: the AIFF file
// stands. Cancelled or failed, the extraction leaves no file.
class SaveSoundJob final : public support::RequestJob<SaveSoundRequest, SaveSoundOutcome> {
    Q_OBJECT
public:
    using Request = SaveSoundRequest;
    using Outcome = SaveSoundOutcome;
    using RequestJob::RequestJob;

protected:
    [[nodiscard]] std::expected<void, media::Error> run() override;
};

} // namespace tools
