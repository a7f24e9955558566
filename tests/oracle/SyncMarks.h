#pragma once

// When the sync marks of a movie (a white picture, and the sound coming on
// after silence) play, as FFmpeg and as GStreamer decode it. Sound is timed
// as a player times it: from its first frame's timestamp, then sample by sample.

#include <filesystem>
#include <string>
#include <vector>

namespace oracle {

enum class Reader { FFmpeg, GStreamer };

struct SyncMarks final {
    std::vector<double> flashes; // seconds: each white picture
    std::vector<double> beeps;   // seconds: each start of the sound after a silence
    std::vector<double> frames;  // seconds: every picture decoded, in order
    double soundStart = 0;       // seconds: the first sound sample
    double soundEnd = 0;         // seconds: after the last sound sample
    std::string warnings;        // what the reader printed beyond its output (FFmpeg at -v warning)
};

bool gstreamerAvailable();

// `videoStream` and `soundStream` pick among the file's video and sound
// streams (FFmpeg only; GStreamer plays the first of each). FFmpeg follows
// the data references of a movie that refers to other files.
SyncMarks readSyncMarks(Reader reader, const std::filesystem::path& file, int videoStream = 0,
                        int soundStream = 0);

} // namespace oracle
