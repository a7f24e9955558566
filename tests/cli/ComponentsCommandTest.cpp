// `joinclip components`, `joinclip settings` and `joinclip join --component` in-process.

#include "cli/ComponentsCommand.h"

#include "CommandRun.h"
#include "MediaFixtures.h"
#include "cli/ExportCommand.h"
#include "cli/JoinCommand.h"
#include "join/SettingsFile.h"
#include "media/ExportSettings.h"
#include "media/Movie.h"

#include <QRegularExpression>
#include <QStringList>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

using ComponentsCommandTest = clitest::CommandTest;

TEST_F(ComponentsCommandTest, ListsTitleExtensionAndInformationPerLine) {
    ASSERT_EQ(call(cli::runComponentsCommand, {}), 0);
    const QStringList lines = QString::fromStdString(m_out).split('\n', Qt::SkipEmptyParts);
    EXPECT_GE(lines.size(), 6);
    for (const QString& line : lines)
        EXPECT_EQ(line.count('\t'), 2) << line.toStdString();
    EXPECT_GE(lines.indexOf(QRegularExpression("QuickTime Movie \\[MooV,FFmp\\]\t\\.mov\t.*")), 0);
    EXPECT_EQ(call(cli::runComponentsCommand, {"extra"}), 2);
}

TEST_F(ComponentsCommandTest, SavesEditsAndShowsSettingsFiles) {
    const fs::path file = dir() / "mine.qxst";
    const std::string wave = "Wave [WAVE,FFmp]";
    ASSERT_EQ(call(cli::runSettingsCommand, {"--component", wave, "--set", "sample-rate=22050", "--set",
                                             "channels=1", "--save", file.string()}),
              0)
        << m_err;
    EXPECT_NE(m_err.find("All export settings were saved to"), std::string::npos);
    auto saved = join::readSettingsFile(file);
    ASSERT_TRUE(saved.has_value());
    auto settings = media::decodeExportSettings(saved->value(QString::fromStdString(wave)));
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->sampleRate, 22050);
    EXPECT_EQ(settings->channels, 1);
    // Loaded, edited further and saved again; the earlier change stays.
    ASSERT_EQ(call(cli::runSettingsCommand, {"--component", wave, "--load", file.string(), "--set",
                                             "channels=2", "--save", file.string()}),
              0)
        << m_err;
    settings = media::decodeExportSettings(join::readSettingsFile(file)->value(QString::fromStdString(wave)));
    EXPECT_EQ(settings->sampleRate, 22050);
    EXPECT_EQ(settings->channels, 2);

    ASSERT_EQ(call(cli::runSettingsCommand, {"--load", file.string(), "--show"}), 0) << m_err;
    EXPECT_NE(m_out.find(wave + "\n"), std::string::npos);
    EXPECT_NE(m_out.find("\tsample-rate=22050\n"), std::string::npos);

    // Refused: a picture setting for a sound file, an unknown component, a file that is not one.
    const auto before = join::readSettingsFile(file);
    EXPECT_EQ(
        call(cli::runSettingsCommand, {"--component", wave, "--set", "size=64x48", "--save", file.string()}),
        2);
    EXPECT_NE(m_err.find("no video"), std::string::npos);
    EXPECT_EQ(join::readSettingsFile(file), before);
    EXPECT_EQ(call(cli::runSettingsCommand, {"--component", "Nothing [none]", "--save", file.string()}), 2);
    EXPECT_EQ(call(cli::runSettingsCommand, {"--show"}), 2);
}

TEST_F(ComponentsCommandTest, JoinWritesThroughTheComponentWithItsSettings) {
    const fs::path clip =
        fixtures::makeClip(dir(), "clip.mp4", fixtures::ClipRecipe{.frames = 10, .videoOptions = {}});
    const fs::path settingsFile = dir() / "sound.qxst";
    media::ExportSettings settings;
    settings.sampleRate = 8000;
    ASSERT_TRUE(
        join::writeSettingsFile(settingsFile, {{"Wave [WAVE,FFmp]", media::encodeExportSettings(settings)}}));

    const fs::path output = dir() / "joined";
    ASSERT_EQ(call(cli::runJoinCommand, {"-o", output.string(), "--component", "Wave [WAVE,FFmp]",
                                         "--settings", settingsFile.string(), clip.string(), clip.string()}),
              0)
        << m_err;
    // A name without an extension gets the component's.
    EXPECT_EQ(m_out, output.string() + ".wav\n");
    const auto probed = media::Movie::open(output.string() + ".wav");
    ASSERT_TRUE(probed.has_value());
    EXPECT_FALSE((*probed)->hasTrackOfType(media::MediaType::Video));

    for (const std::string& refused :
         {std::string("--component=Nothing"), "--settings=" + settingsFile.string()})
        EXPECT_EQ(call(cli::runJoinCommand, {"-o", output.string(), refused, clip.string()}), 2) << refused;
}

TEST_F(ComponentsCommandTest, ExportWritesEachFileIntoTheOutputFolder) {
    const fs::path a = fixtures::makeSound(dir(), "a.wav", 8000, 1, 0.3);
    const fs::path b = fixtures::makeSound(dir(), "b.aiff", 8000, 1, 0.3);
    const fs::path out = dir() / "out";
    fs::create_directory(out);
    ASSERT_EQ(call(cli::runExportCommand,
                   {"--component", "FLAC [flac,FFmp]", "--output-dir", out.string(), a.string(), b.string()}),
              0)
        << m_err;
    EXPECT_EQ(m_out, (out / "a.wav.flac").string() + "\n" + (out / "b.aiff.flac").string() + "\n");
    EXPECT_TRUE(media::Movie::open(out / "b.aiff.flac").has_value());

    for (std::vector<std::string> refused :
         {std::vector<std::string>{"--component", "FLAC [flac,FFmp]", "--output-dir",
                                   (dir() / "none").string()},
          {"--component", "Nothing", "--output-dir", out.string()},
          {"--output-dir", out.string()}}) {
        refused.push_back(a.string());
        EXPECT_EQ(call(cli::runExportCommand, refused), 2) << refused[1];
    }
    // A file that is not a movie is reported and the rest still exported,
    // beside the earlier export rather than over it.
    std::ofstream(dir() / "text.txt") << "text";
    EXPECT_EQ(call(cli::runExportCommand, {"--component", "FLAC [flac,FFmp]", "--output-dir", out.string(),
                                           (dir() / "text.txt").string(), a.string()}),
              1);
    EXPECT_EQ(m_out, (out / "a (exported).wav.flac").string() + "\n");
}

} // namespace
