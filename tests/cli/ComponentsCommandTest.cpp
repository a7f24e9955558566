// `joinclip components`, `joinclip settings` and `joinclip join --component` in-process.

#include "cli/ComponentsCommand.h"

#include "CommandRun.h"
#include "cli/ExportCommand.h"
#include "cli/JoinCommand.h"
#include "join/SettingsFile.h"
#include "media/Movie.h"

#include <QRegularExpression>

namespace {

namespace fs = std::filesystem;

using ComponentsCommandTest = clitest::CommandTest;

TEST_F(ComponentsCommandTest, ListsTitleExtensionAndInformationPerLine) {
    ASSERT_EQ(call(cli::runComponentsCommand, {}), 0);
    const QStringList lines = QString::fromStdString(m_out).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines)
        EXPECT_EQ(line.count('\t'), 2) << line.toStdString();
    EXPECT_GE(lines.indexOf(QRegularExpression("QuickTime Movie \\[MooV,FFmp\\]\t\\.mov\t.*")), 0);
    EXPECT_EQ(call(cli::runComponentsCommand, {"extra"}), 2);
}

TEST_F(ComponentsCommandTest, SavesEditsAndShowsSettingsFiles) {
    const fs::path file = dir() / "mine.qxst";
    const std::string wave = "Wave [WAVE,FFmp]";
    // The sample rate and channel count saved for Wave.
    const auto saved = [&] {
        const auto settings = media::decodeExportSettings(join::readSettingsFile(file)
                                                              .value_or(join::SettingsDictionary())
                                                              .value(QString::fromStdString(wave)));
        return settings ? std::pair(settings->sampleRate, settings->channels) : std::pair(-1, -1);
    };
    ASSERT_EQ(call(cli::runSettingsCommand, {"--component", wave, "--set", "sample-rate=22050", "--set",
                                             "channels=1", "--save", file.string()}),
              0)
        << m_err;
    EXPECT_EQ(saved(), std::pair(22050, 1));
    // Loaded, edited further and saved again; the earlier change stays.
    ASSERT_EQ(call(cli::runSettingsCommand, {"--component", wave, "--load", file.string(), "--set",
                                             "channels=2", "--save", file.string()}),
              0);
    EXPECT_EQ(saved(), std::pair(22050, 2));
    ASSERT_EQ(call(cli::runSettingsCommand, {"--load", file.string(), "--show"}), 0) << m_err;
    EXPECT_NE(m_out.find(wave + "\n"), std::string::npos);
    EXPECT_NE(m_out.find("\tsample-rate=22050\n"), std::string::npos);
    // Refused: a picture setting for a sound file, an unknown component, a file that is not one.
    const auto before = testing_support::contentsOf(file);
    for (const std::vector<std::string>& refused :
         {std::vector<std::string>{"--component", wave, "--set", "size=64x48", "--save", file.string()},
          {"--component", "Nothing [none]", "--save", file.string()},
          {"--show"}})
        EXPECT_EQ(call(cli::runSettingsCommand, refused), 2) << refused[0];
    EXPECT_EQ(testing_support::contentsOf(file), before);
}

// Which settings a component's join uses is the join layer's; here, the options and the extension.
TEST_F(ComponentsCommandTest, JoinAndExportWriteThroughTheNamedComponent) {
    const fs::path sound = fixtures::makeSound(dir(), "a.wav", 8000, 1, 0.3);
    const fs::path settingsFile = dir() / "sound.qxst";
    ASSERT_TRUE(
        join::writeSettingsFile(settingsFile, {{"Wave [WAVE,FFmp]", media::encodeExportSettings({})}}));
    const std::string output = (dir() / "joined").string();
    ASSERT_EQ(call(cli::runJoinCommand, {"-o", output, "--component", "Wave [WAVE,FFmp]", "--settings",
                                         settingsFile.string(), sound.string()}),
              0)
        << m_err;
    EXPECT_EQ(m_out, output + ".wav\n") << "a name without an extension gets the component's";
    for (const std::string& refused :
         {std::string("--component=Nothing"), "--settings=" + settingsFile.string()})
        EXPECT_EQ(call(cli::runJoinCommand, {"-o", output, refused, sound.string()}), 2) << refused;
    const fs::path out = dir() / "out";
    fs::create_directory(out);
    const std::string flac = "FLAC [flac,FFmp]";
    for (auto refused : std::vector<std::vector<std::string>>{
             {"--component", flac, "--output-dir", (dir() / "none").string()},
             {"--component", "Nothing", "--output-dir", out.string()},
             {"--output-dir", out.string()}}) {
        refused.push_back(sound.string());
        EXPECT_EQ(call(cli::runExportCommand, refused), 2) << refused[1];
    }
    // A file that is not a movie is reported and the rest still exported.
    m_folder.write("text.txt", "text");
    EXPECT_EQ(call(cli::runExportCommand, {"--component", flac, "--output-dir", out.string(),
                                           (dir() / "text.txt").string(), sound.string(), output + ".wav"}),
              1);
    EXPECT_EQ(m_out, (out / "a.wav.flac").string() + "\n" + (out / "joined.wav.flac").string() + "\n");
    EXPECT_TRUE(media::Movie::open(out / "a.wav.flac").has_value());
}

} // namespace
