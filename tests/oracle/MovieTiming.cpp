#include "MovieTiming.h"

#include "Ffprobe.h"

#include <QJsonArray>
#include <QJsonObject>

namespace oracle {

std::vector<ProbedStream> probeStreams(const std::filesystem::path& file,
                                       const std::vector<std::string>& extraArguments) {
    std::vector<std::string> arguments = extraArguments;
    for (const char* argument : {"-count_packets", "-show_streams", "-print_format", "json"})
        arguments.push_back(argument);
    arguments.push_back(file.string());
    std::vector<ProbedStream> streams;
    for (const QJsonValue& value : runFfprobeJson(arguments).value("streams").toArray()) {
        const QJsonObject object = value.toObject();
        ProbedStream stream;
        stream.codecType = object.value("codec_type").toString().toStdString();
        stream.codecName = object.value("codec_name").toString().toStdString();
        stream.duration = object.value("duration").toString().toDouble();
        stream.packets = object.value("nb_read_packets").toString().toLongLong();
        streams.push_back(stream);
    }
    return streams;
}

std::vector<ProbedChapter> probeChapterList(const std::filesystem::path& file) {
    std::vector<ProbedChapter> chapters;
    for (const QJsonValue& value : runFfprobeJson({"-show_chapters", "-print_format", "json", file.string()})
                                       .value("chapters")
                                       .toArray()) {
        const QJsonObject object = value.toObject();
        chapters.push_back({object.value("tags").toObject().value("title").toString().toStdString(),
                            object.value("start_time").toString().toDouble(),
                            object.value("end_time").toString().toDouble()});
    }
    return chapters;
}

} // namespace oracle
