// `joinclip info` in-process: the text block, the JSON keys, the exit status.

#include "cli/InfoCommand.h"

#include "CommandRun.h"
#include "MediaFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using clitest::runCommand;

class InfoCommandTest : public clitest::CommandTest {
protected:
    const std::string m_clip = fixtures::makeClip(dir(), "Holiday.mp4", {}).string();
    const std::string m_bad = m_folder.write("broken.mov", "not a movie").string();
};

TEST_F(InfoCommandTest, TextBlockTellsTheAttributes) {
    const auto run =
        runCommand(cli::runInfoCommand, {"--", m_clip}); // "--" lets a name like an option through
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty());
    for (const char* part : {"display name: Holiday\n", "natural size: 160 x 120\n", "    video h264\n",
                             "    sound aac\n", "frame count: 25\n", "(1.000 seconds)"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part << " in " << run.out;
    EXPECT_EQ(runCommand(cli::runInfoCommand, {}).status, 2);
}

TEST_F(InfoCommandTest, JsonReportsEveryFileAndFailsWhenOneDoesNotOpen) {
    const auto run = runCommand(cli::runInfoCommand, {"--json", m_bad, m_clip});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot open " + m_bad), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);

    const QJsonArray files = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
    ASSERT_EQ(files.size(), 2);
    EXPECT_FALSE(files[0]["opens"].toBool());
    EXPECT_FALSE(files[0]["error"].toString().isEmpty());
    const QJsonObject good = files[1].toObject();
    EXPECT_TRUE(good["opens"].toBool());
    EXPECT_FALSE(good.contains("error"));
    for (const auto& [key, value] : std::vector<std::pair<const char*, QJsonValue>>{
             {"displayName", "Holiday"}, {"naturalWidth", 160}, {"naturalHeight", 120}, {"frameCount", 25}})
        EXPECT_EQ(good[key], value) << key;
    EXPECT_NEAR(good["durationSeconds"].toDouble(), 1.0, 0.001);
    EXPECT_GT(good["timeScale"].toInt(), 0);
    EXPECT_TRUE(good["duration"].toString().contains('/'));
    const QJsonArray tracks = good["tracks"].toArray();
    ASSERT_EQ(tracks.size(), 2);
    EXPECT_EQ(tracks[0]["mediaType"].toString(), "video");
    EXPECT_EQ(tracks[1]["codec"].toString(), "aac");
}

} // namespace
