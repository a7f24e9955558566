#include "OtherReaders.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <vector>

namespace quicktime_test {

std::optional<ToolOutput> runTool(const std::string& program, const std::vector<std::string>& arguments) {
    if (QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty())
        return std::nullopt;
    QStringList list;
    for (const auto& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromStdString(program), list);
    ToolOutput result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.output = process.readAll().toStdString();
    return result;
}

int mediainfoTrackCount(const std::filesystem::path& file, const std::string& kind) {
    const auto result = runTool("mediainfo", {"--Output=JSON", file.string()});
    if (!result || result->exitCode != 0)
        return -1;
    const QJsonObject media =
        QJsonDocument::fromJson(QByteArray::fromStdString(result->output)).object().value("media").toObject();
    int count = 0;
    for (const QJsonValue& track : media.value("track").toArray())
        if (track.toObject().value("@type").toString().toStdString() == kind)
            ++count;
    return count;
}

} // namespace quicktime_test
