#pragma once

#include <QJsonObject>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// What `joinclip info` tells of one file.
struct MovieReport final {
    struct TrackLine final {
        std::string mediaType;
        std::string codec;
    };

    std::filesystem::path path;
    bool opens = false;
    std::string error; // why it does not open
    QString displayName;
    std::string durationText;
    double durationSeconds = 0;
    int timeScale = 0;
    float naturalWidth = 0;
    float naturalHeight = 0;
    int frameCount = 0;
    std::vector<TrackLine> tracks;
};

MovieReport makeMovieReport(const std::filesystem::path& path);
// The block of lines printed for a file that opens.
std::string formatMovieReport(const MovieReport& report);
QJsonObject movieReportJson(const MovieReport& report);

} // namespace cli
