#include "MovieTiming.h"

#include "Ffprobe.h"

#include <QJsonArray>
#include <QJsonObject>

namespace oracle {

std::vector<ProbedStream> probeStreams(const std::filesystem::path& file,
                                       const std::vector<std::string>& extraArguments) {
    std::vector<std::string> arguments = extraArguments;
    arguments.insert(arguments.end(),
                     {"-count_packets", "-show_streams", "-print_format", "json", file.string()});
    std::vector<ProbedStream> streams;
    for (const QJsonValue& value : runFfprobeJson(arguments).value("streams").toArray()) {
        const auto text = [&](const char* key) { return value[key].toString().toStdString(); };
        streams.push_back({text("codec_type"), text("codec_name"), text("codec_tag_string"),
                           value["start_time"].toString().toDouble(), value["duration"].toString().toDouble(),
                           value["duration_ts"].toInteger(), value["nb_read_packets"].toString().toLongLong(),
                           value["nb_frames"].toString().toLongLong(), value["width"].toInt(),
                           value["height"].toInt(), value["sample_rate"].toString().toInt(),
                           value["channels"].toInt()});
    }
    return streams;
}

std::vector<ProbedStream> probeStreams(const std::filesystem::path& file, const std::string& codecType) {
    std::vector<ProbedStream> streams = probeStreams(file);
    std::erase_if(streams, [&](const ProbedStream& stream) { return stream.codecType != codecType; });
    return streams;
}

std::vector<ProbedChapter> probeChapterList(const std::filesystem::path& file) {
    std::vector<ProbedChapter> chapters;
    for (const QJsonValue& value : runFfprobeJson({"-show_chapters", "-print_format", "json", file.string()})
                                       .value("chapters")
                                       .toArray())
        chapters.push_back({value["tags"]["title"].toString().toStdString(),
                            value["start_time"].toString().toDouble(), value["start"].toInteger()});
    return chapters;
}

} // namespace oracle
