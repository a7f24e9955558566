#pragma once

#include "media/SoundExtraction.h"
#include "support/Job.h"

#include <QStringList>
#include <filesystem>

namespace tools {

// Writes the sound of a movie as 16-bit big-endian AIFF, then (when asked)
// its Core Audio Format (AAC) and WAVE (unsigned 8-bit) copies beside it.
// A copy that fails is only told in the outcome's messages: the AIFF file
// stands. Cancelled or failed, the extraction leaves no file.
class SaveSoundJob final : public support::Job {
    Q_OBJECT
public:
    struct Request final {
        std::filesystem::path movie;
        std::filesystem::path destination; // the .aiff file
        bool makeCopies = true;
    };
    struct Outcome final {
        media::ExtractedSound sound;
        std::vector<std::filesystem::path> copies;
        // "Could not convert "PATH" to Core Audio Format." and the like, for the console.
        QStringList messages;
    };
    explicit SaveSoundJob(Request request, QObject* parent = nullptr)
        : support::Job(parent), m_request(std::move(request)) {}
    const Request& request() const { return m_request; }
    const Outcome& outcome() const { return m_outcome; }

protected:
    std::expected<void, media::Error> run() override;

private:
    Request m_request;
    Outcome m_outcome;
};

} // namespace tools
