#include "ProbePackets.h"

#include "Ffprobe.h"

#include <QJsonArray>

namespace quicktime_test {

namespace {

// ffprobe writes numbers as text or as numbers, and leaves out what it does not know.
std::int64_t integerOf(const QJsonValue& value, std::int64_t otherwise) {
    bool ok = false;
    const qlonglong number = value.toString().toLongLong(&ok);
    return ok ? number : value.isDouble() ? value.toInteger() : otherwise;
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
    for (const QJsonValue& packet : oracle::runFfprobeJson(arguments).value("packets").toArray()) {
        const QString flags = packet["flags"].toString();
        packets.push_back({integerOf(packet["pos"], -1), integerOf(packet["size"], 0),
                           packet["pts_time"].toString().toDouble(), flags.contains('K'), flags.contains('D'),
                           packet["data_hash"].toString().toStdString()});
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
    std::ranges::copy_if(packets, std::back_inserter(shown),
                         [](const auto& packet) { return !packet.discard; });
    return shown;
}

} // namespace quicktime_test
