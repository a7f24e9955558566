#include "JoinProbe.h"

#include "Ffprobe.h"
#include "RunProgram.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace transcode_test {

std::vector<VideoFrameTime> videoFrameTimes(const std::filesystem::path& file) {
    std::istringstream lines(oracle::runFfprobe({"-select_streams", "v:0", "-show_entries",
                                                 "packet=pts_time,flags", "-of", "csv=p=0", file.string()}));
    std::vector<VideoFrameTime> times;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos)
            continue;
        times.push_back(VideoFrameTime{std::stod(line.substr(0, comma)), line[comma + 1] == 'K'});
    }
    std::sort(times.begin(), times.end(), [](const auto& a, const auto& b) { return a.seconds < b.seconds; });
    return times;
}

std::string decodeWarnings(const std::filesystem::path& file) {
    const QStringList arguments{"-nostdin", "-nostats", "-v",
                                "warning",  "-i",       QString::fromStdString(file.string()),
                                "-f",       "null",     "-"};
    return oracle::runProgram("ffmpeg", arguments).err.toStdString();
}

std::vector<Silence> silences(const std::filesystem::path& file) {
    // Filter graph syntax reserves these characters; the tests' temporary names never use them.
    if (file.string().find_first_of("'\\:,;[]=") != std::string::npos)
        throw std::invalid_argument("cannot name " + file.string() + " in a filter graph");
    std::istringstream lines(oracle::runFfprobe(
        {"-f", "lavfi", "-i", "amovie=" + file.string() + ",silencedetect=n=-40dB:d=0.01", "-show_entries",
         "frame_tags=lavfi.silence_start,lavfi.silence_end", "-of", "compact=p=0"}));
    // A line per frame that has either tag or both, in the order they happened
    // ("tag:lavfi.silence_start=S|tag:lavfi.silence_end=E"): a short silence
    // may start and end within one frame.
    std::vector<Silence> found;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream tags(line);
        for (std::string tag; std::getline(tags, tag, '|');) {
            const std::size_t equals = tag.find('=');
            if (equals == std::string::npos)
                continue;
            const double seconds = std::stod(tag.substr(equals + 1));
            if (tag.find("silence_start") != std::string::npos)
                found.push_back(Silence{seconds, -1});
            else if (tag.find("silence_end") != std::string::npos && !found.empty())
                found.back().end = seconds;
        }
    }
    return found;
}

double GrayPicture::mean(int x, int y, int w, int h) const {
    double sum = 0;
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            sum += at(column, row);
    return sum / (w * h);
}

int GrayPicture::maximum(int x, int y, int w, int h) const {
    int most = 0;
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            most = std::max<int>(most, at(column, row));
    return most;
}

GrayPicture pictureAt(const std::filesystem::path& file, double seconds, int width, int height,
                      const std::string& filter) {
    // The frame showing at `seconds` is the last one starting by then; it is
    // picked out by its time from a decoding from the start (seeking could
    // land elsewhere, as FFmpeg's QuickTime reader seeks by decoding time).
    double shown = 0;
    for (const VideoFrameTime& frame : videoFrameTimes(file))
        if (frame.seconds <= seconds + 0.00001)
            shown = frame.seconds;
    std::ostringstream filters;
    filters.precision(6);
    filters << std::fixed << "trim=start=" << std::max(0.0, shown - 0.0001) << ":end=" << shown + 0.0001
            << ",";
    if (!filter.empty())
        filters << filter << ",";
    filters << "scale=" << width << ":" << height << ",format=gray";
    const QStringList arguments{"-v",        "error",
                                "-i",        QString::fromStdString(file.string()),
                                "-vf",       QString::fromStdString(filters.str()),
                                "-frames:v", "1",
                                "-f",        "rawvideo",
                                "-"};
    GrayPicture picture{width, height, {}};
    const std::string bytes = oracle::runProgram("ffmpeg", arguments).out.toStdString();
    if (bytes.size() != static_cast<std::size_t>(width * height))
        throw std::runtime_error("ffmpeg gave no picture at " + std::to_string(seconds) + " s of " +
                                 file.string());
    picture.pixels.assign(bytes.begin(), bytes.end());
    return picture;
}

int patternNumber(const GrayPicture& picture, double x, double blockWidth) {
    int number = 0;
    const int y = std::max(1, static_cast<int>(blockWidth / 2));
    for (int bit = 0; bit < 16; ++bit) {
        const int column = static_cast<int>(x + (bit + 0.5) * blockWidth);
        number = number * 2 + (picture.at(column, y) > 128 ? 1 : 0);
    }
    return number;
}

} // namespace transcode_test
