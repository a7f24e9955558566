// `joinclip info` in-process: the text block, the JSON keys, the exit status.

#include "cli/InfoCommand.h"

#include "CommandRun.h"
#include "MediaFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using InfoRun = clitest::CommandRun;
const auto info = [](const std::vector<std::string>& arguments) {
    return clitest::runCommand(cli::runInfoCommand, arguments);
};
class InfoCommandTest : public clitest::CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        m_clip = fixtures::makeClip(dir(), "Holiday.mp4", {});
        m_bad = dir() / "broken.mov";
        std::ofstream(m_bad) << "not a movie";
    }

    std::filesystem::path m_clip;
    std::filesystem::path m_bad;
};

TEST_F(InfoCommandTest, TextBlockTellsTheAttributes) {
    const InfoRun run = info({m_clip.string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.empty());
    for (const char* part : {"display name: Holiday\n", "natural size: 160 x 120\n", "    video h264\n",
                             "    sound aac\n", "frame count: 25\n", "(1.000 seconds)"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part << " in " << run.out;
}

TEST_F(InfoCommandTest, JsonReportsEveryFileAndFailsWhenOneDoesNotOpen) {
    const InfoRun run = info({"--json", m_bad.string(), m_clip.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot open " + m_bad.string()), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);

    const QJsonArray files = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
    ASSERT_EQ(files.size(), 2);
    const QJsonObject bad = files[0].toObject();
    EXPECT_FALSE(bad["opens"].toBool());
    EXPECT_FALSE(bad["error"].toString().isEmpty());
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
    EXPECT_EQ(tracks[0].toObject()["mediaType"].toString(), "video");
    EXPECT_EQ(tracks[1].toObject()["codec"].toString(), "aac");
}

TEST_F(InfoCommandTest, UsageErrors) {
    EXPECT_EQ(info({}).status, 2);
    EXPECT_EQ(info({"--", m_clip.string()}).status, 0) << "\"--\" lets a file named like an option through";
}

} // namespace
