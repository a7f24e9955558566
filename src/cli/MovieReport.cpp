#include "cli/MovieReport.h"

#include "media/Movie.h"

#include <QFile>
#include <QJsonArray>
#include <cmath>
#include <cstdio>

namespace cli {

MovieReport makeMovieReport(const std::filesystem::path& path) {
    MovieReport report;
    report.path = path;
    auto movie = media::Movie::open(path);
    if (!movie) {
        report.error = movie.error().message;
        return report;
    }
    const media::Movie& m = **movie;
    report.opens = true;
    report.displayName = m.displayName();
    report.durationText = media::timeToString(m.duration());
    report.durationSeconds = media::seconds(m.duration());
    report.timeScale = m.timeScale();
    report.naturalWidth = m.naturalSize().width;
    report.naturalHeight = m.naturalSize().height;
    report.frameCount = m.frameCount();
    for (const media::Track& track : m.tracks())
        report.tracks.push_back({media::mediaTypeName(track.mediaType), track.codecName});
    return report;
}

std::string formatMovieReport(const MovieReport& report) {
    char seconds[64];
    std::snprintf(seconds, sizeof seconds, "%.3f", report.durationSeconds);
    std::string text = report.path.string() + "\n";
    text += "  opens: yes\n";
    text += "  display name: " + report.displayName.toStdString() + "\n";
    text += "  duration: " + report.durationText + " (" + seconds + " seconds)\n";
    text += "  time scale: " + std::to_string(report.timeScale) + "\n";
    text += "  natural size: " + std::to_string(std::lround(report.naturalWidth)) + " x " +
            std::to_string(std::lround(report.naturalHeight)) + "\n";
    text += "  tracks:\n";
    for (const auto& track : report.tracks)
        text += "    " + track.mediaType + " " + track.codec + "\n";
    text += "  frame count: " + std::to_string(report.frameCount) + "\n";
    return text;
}

QJsonObject movieReportJson(const MovieReport& report) {
    QJsonObject object;
    object["path"] = QFile::decodeName(report.path.c_str());
    object["opens"] = report.opens;
    if (!report.opens) {
        object["error"] = QString::fromStdString(report.error);
        return object;
    }
    object["displayName"] = report.displayName;
    object["duration"] = QString::fromStdString(report.durationText);
    object["durationSeconds"] = report.durationSeconds;
    object["timeScale"] = report.timeScale;
    object["naturalWidth"] = static_cast<double>(report.naturalWidth);
    object["naturalHeight"] = static_cast<double>(report.naturalHeight);
    object["frameCount"] = report.frameCount;
    QJsonArray tracks;
    for (const auto& track : report.tracks)
        tracks.append(QJsonObject{{"mediaType", QString::fromStdString(track.mediaType)},
                                  {"codec", QString::fromStdString(track.codec)}});
    object["tracks"] = tracks;
    return object;
}

} // namespace cli
