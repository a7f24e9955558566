#include "ProbePackets.h"

#include "Ffprobe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quicktime_test {

namespace {

QJsonObject runJson(const std::vector<std::string>& arguments) {
    const std::string json = oracle::runFfprobe(arguments);
    return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
}

std::int64_t integerOf(const QJsonObject& object, const char* key, std::int64_t otherwise) {
    const QJsonValue value = object.value(key);
    if (value.isString()) {
        bool ok = false;
        const qlonglong number = value.toString().toLongLong(&ok);
        return ok ? number : otherwise;
    }
    return value.isDouble() ? static_cast<std::int64_t>(value.toDouble()) : otherwise;
}

} // namespace

std::vector<ProbedPacket> probePackets(const std::filesystem::path& file, const std::string& selector,
                                       bool withHashes, const std::vector<std::string>& extraArguments) {
    std::vector<std::string> arguments = extraArguments;
    arguments.insert(arguments.end(),
                     {"-select_streams", selector, "-show_packets", "-print_format", "json"});
    if (withHashes)
        arguments.insert(arguments.end(), {"-show_data_hash", "MD5"});
    arguments.push_back(file.string());
    std::vector<ProbedPacket> packets;
    for (const QJsonValue& value : runJson(arguments).value("packets").toArray()) {
        const QJsonObject object = value.toObject();
        ProbedPacket packet;
        packet.position = integerOf(object, "pos", -1);
        packet.size = integerOf(object, "size", 0);
        packet.pts = integerOf(object, "pts", 0);
        packet.dts = integerOf(object, "dts", 0);
        packet.duration = integerOf(object, "duration", 0);
        packet.ptsSeconds = object.value("pts_time").toString().toDouble();
        const QString flags = object.value("flags").toString();
        packet.key = flags.contains('K');
        packet.discard = flags.contains('D');
        packet.hash = object.value("data_hash").toString().toStdString();
        packets.push_back(packet);
    }
    return packets;
}

std::vector<ProbedPacket> probeRawPackets(const std::filesystem::path& file, const std::string& selector,
                                          const std::vector<std::string>& extraArguments) {
    std::vector<std::string> arguments = extraArguments;
    arguments.insert(arguments.end(), {"-ignore_editlist", "1"});
    return probePackets(file, selector, true, arguments);
}

std::vector<ProbedPacket> shownPackets(const std::vector<ProbedPacket>& packets) {
    std::vector<ProbedPacket> shown;
    for (const auto& packet : packets)
        if (!packet.discard)
            shown.push_back(packet);
    return shown;
}

std::vector<ProbedChapter> probeChapters(const std::filesystem::path& file) {
    std::vector<ProbedChapter> chapters;
    const QJsonObject root = runJson({"-show_chapters", "-print_format", "json", file.string()});
    for (const QJsonValue& value : root.value("chapters").toArray()) {
        const QJsonObject object = value.toObject();
        ProbedChapter chapter;
        chapter.start = object.value("start_time").toString().toDouble();
        chapter.end = object.value("end_time").toString().toDouble();
        chapter.startUnits = integerOf(object, "start", 0);
        chapter.timeBase = object.value("time_base").toString().toStdString();
        chapter.title = object.value("tags").toObject().value("title").toString().toStdString();
        chapters.push_back(chapter);
    }
    return chapters;
}

} // namespace quicktime_test
