#include "Ffprobe.h"

#include "RunProgram.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <stdexcept>

namespace oracle {

bool ffprobeAvailable() {
    return installed("ffprobe");
}

std::string runFfprobe(const std::vector<std::string>& arguments) {
    QStringList list{"-v", "error"};
    for (const auto& argument : arguments)
        list << QString::fromStdString(argument);
    return runProgram("ffprobe", list).out.toStdString();
}

QJsonObject runFfprobeJson(const std::vector<std::string>& arguments) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(runFfprobe(arguments))).object();
}

double formatDuration(const std::filesystem::path& file) {
    return std::stod(runFfprobe({"-show_entries", "format=duration", "-of", "csv=p=0", file.string()}));
}

double playedDuration(const std::filesystem::path& file) {
    const std::string text = runFfprobe(
        {"-show_entries", "format=start_time,duration", "-of", "default=nw=1:nk=1", file.string()});
    const std::size_t split = text.find('\n');
    const std::string startText = text.substr(0, split);
    const double start = startText.starts_with("N/A") ? 0 : std::stod(startText);
    const double duration = std::stod(text.substr(split + 1));
    return start < 0 ? duration + start : duration;
}

} // namespace oracle
