#pragma once

// What outside programs (ffprobe, ffmpeg) read from a
// joined movie: the independent oracles of the transcoding tests.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace transcode_test {

struct VideoFrameTime final {
    double seconds = 0;
    bool isKey = false;
};
// The first video stream's packets in presentation order.
std::vector<VideoFrameTime> videoFrameTimes(const std::filesystem::path& file);

// What the ffmpeg program complains of while decoding the whole file (at
// -v warning): empty for a well-formed movie.
std::string decodeWarnings(const std::filesystem::path& file);

// The stretches of the first sound stream quieter than -40 dB for at least 10 ms.
struct Silence final {
    double start = 0;
    double end = -1; // -1: silent to the end
};
std::vector<Silence> silences(const std::filesystem::path& file);

// The picture showing at `seconds` as 8-bit luma rows, decoded by the ffmpeg
// program; `filter` (e.g. "transpose=clock") is applied first when given.
struct GrayPicture final {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    double mean(int x, int y, int w, int h) const;
    int maximum(int x, int y, int w, int h) const;
};
GrayPicture pictureAt(const std::filesystem::path& file, double seconds, int width, int height,
                      const std::string& filter = {});

// The frame number the test pattern draws as a row of 16 black and white
// blocks of `blockWidth` pixels, starting at (x, 0).
int patternNumber(const GrayPicture& picture, double x, double blockWidth);

} // namespace transcode_test
