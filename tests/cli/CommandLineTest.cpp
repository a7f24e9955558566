// What the commands tell and answer: one parser and one preferences start-up,
// failures never reported as success, durations read one way, counts and
// names told as they are, lists of any length, and what `info` reports.

#include "CommandRun.h"
#include "Ffprobe.h"
#include "cli/ComponentsCommand.h"
#include "cli/CommandConsole.h"
#include "cli/ExportCommand.h"
#include "cli/InfoCommand.h"
#include "cli/JoinCommand.h"
#include "cli/ListCommand.h"
#include "cli/PrefsCommand.h"
#include "cli/RenameCommand.h"
#include "media/quicktime/ReferencedSource.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;
using clitest::runCommand;

class CommandLineTest : public clitest::CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        m_picture = fixtures::makePicture(dir(), "p.png", 16, 16);
    }
    fs::path m_picture;
};

TEST_F(CommandLineTest, EveryCommandShowsItsOwnHelpAndRefusesUnknownOptions) {
    const std::vector<std::pair<clitest::Command, std::string>> commands = {
        {cli::runInfoCommand, "info"},         {cli::runListCommand, "list"},
        {cli::runRenameCommand, "rename"},     {cli::runJoinCommand, "join"},
        {cli::runExportCommand, "export"},     {cli::runComponentsCommand, "components"},
        {cli::runSettingsCommand, "settings"}, {cli::runPrefsCommand, "prefs"}};
    for (const auto& [command, name] : commands) {
        const auto help = runCommand(command, {"--help"});
        EXPECT_EQ(help.status, 0) << name;
        EXPECT_TRUE(help.out.starts_with("Usage: joinclip " + name) && help.out.contains("--help"))
            << help.out;
        const auto bad = runCommand(command, {"--no-such-option"});
        EXPECT_EQ(bad.status, 2) << name;
        EXPECT_NE(bad.err.find("joinclip " + name + ": Unknown option"), std::string::npos) << bad.err;
    }
}

TEST_F(CommandLineTest, ADamagedOrTooDeepPreferencesFileIsSetAsideByEveryCommand) {
    std::string nested = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>k</key>";
    for (int i = 0; i < 30000; ++i)
        nested += "<array>";
    const std::vector<std::pair<clitest::Command, std::vector<std::string>>> runs = {
        {cli::runPrefsCommand, {"list"}},
        {cli::runListCommand, {m_picture.string()}},
        {cli::runJoinCommand, {"-o", (dir() / "j.mov").string(), m_picture.string()}},
        {cli::runExportCommand,
         {"--component", "Nothing", "--output-dir", dir().string(), m_picture.string()}},
        {cli::runSettingsCommand, {"--component", "Nothing", "--save", (dir() / "s.qxst").string()}}};
    for (const auto& [command, arguments] : runs) {
        fs::create_directories(preferencesFile().parent_path());
        std::ofstream(preferencesFile()) << nested;
        call(command, arguments);
        EXPECT_NE(m_err.find("the preferences file was damaged; it was kept as"), std::string::npos) << m_err;
        EXPECT_TRUE(!fs::exists(preferencesFile()) || fs::file_size(preferencesFile()) < 10000)
            << "set aside";
    }
    std::ofstream(dir() / "deep.qxst") << nested; // refused as not a settings file
    EXPECT_EQ(call(cli::runSettingsCommand, {"--load", (dir() / "deep.qxst").string(), "--show"}), 1);
}

TEST_F(CommandLineTest, EveryPreferencesWriteReportsItsFailure) {
    ASSERT_EQ(runCommand(cli::runPrefsCommand, {"set", "RememberFileList", "true"}).status, 0);
    // No file can grow (as on a full or read-only disk, even for root); the output goes nowhere then.
    const auto noWrites = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit { 0, 0 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    const auto before = fs::file_size(preferencesFile());
    EXPECT_EQ(clitest::Program({"list", "--save", m_picture.string()}, dir(), noWrites).finish().status, 1);
    EXPECT_EQ(clitest::Program({"prefs", "set", "Flatten", "false"}, dir(), noWrites).finish().status, 1);
    EXPECT_EQ(fs::file_size(preferencesFile()), before);
}

TEST_F(CommandLineTest, PrefsRefusesWhatCannotBeStoredAndTakesFolders) {
    for (const auto& [key, value] :
         std::vector<std::pair<std::string, std::string>>{{"FilterNames", R"(["a",null])"},
                                                          {"MovieAliases", R"(["abc",1,null])"},
                                                          {"Flatten", "maybe"},
                                                          {"OutputDirectory", (dir() / "none").string()}}) {
        EXPECT_EQ(runCommand(cli::runPrefsCommand, {"set", key, value}).status, 2) << key << " " << value;
        EXPECT_FALSE(fs::exists(preferencesFile())) << key;
    }
    EXPECT_EQ(runCommand(cli::runPrefsCommand, {"set", "DesiredDuration", "-5"}).status, 0)
        << "a value, not an option";
    const fs::path out = dir() / "out";
    fs::create_directories(out);
    ASSERT_EQ(runCommand(cli::runPrefsCommand, {"set", "OutputDirectory", out.string()}).status, 0);
    EXPECT_EQ(runCommand(cli::runPrefsCommand, {"get", "OutputDirectory"}).out, out.string() + "\n");
    ASSERT_EQ(runCommand(cli::runPrefsCommand, {"delete", "DesiredDuration"}).status, 0);
    EXPECT_EQ(call(cli::runJoinCommand, {m_picture.string()}), 0) << m_err;
    EXPECT_EQ(fs::path(m_out).parent_path(), out);
}

// A picture lasts 5 seconds; a duration of 0 asks for no scaling.
TEST_F(CommandLineTest, DurationsAreReadOneWayAndCheckedBeforeWriting) {
    const fs::path output = dir() / "scaled.mov";
    const std::vector<std::pair<std::string, double>> cases = {{"1:30", 90}, {"0:01:30.5", 90.5}, {"0", 5},
                                                               {"1e30", 0},  {"nan", 0},          {"-5", 0},
                                                               {"ten", 0}}; // 0: refused
    for (const auto& [duration, seconds] : cases) {
        const int status = seconds > 0 ? 0 : 2;
        const auto list =
            runCommand(cli::runListCommand, {"--desired-duration", duration, m_picture.string()});
        EXPECT_EQ(list.status, status) << "list " << duration << ": " << list.err;
        const auto join = runCommand(cli::runJoinCommand,
                                     {"-o", output.string(), "--duration", duration, m_picture.string()});
        EXPECT_EQ(join.status, status) << "join " << duration << ": " << join.err;
        EXPECT_EQ(fs::exists(output), status == 0) << duration << ": nothing written when refused";
        if (status == 0) {
            EXPECT_NEAR(oracle::formatDuration(output), seconds, 0.05) << duration;
        }
        fs::remove(output);
    }
}

TEST_F(CommandLineTest, JoinRefusesWhatItCannotJoin) {
    EXPECT_EQ(call(cli::runJoinCommand, {m_picture.string()}), 2) << "no output named and no output folder";
    EXPECT_EQ(call(cli::runJoinCommand, {"-o", (dir() / "missing" / "x.mov").string(), m_picture.string()}),
              1);
    EXPECT_EQ(m_err.find("Finished processing movies!"), std::string::npos);
    EXPECT_TRUE(m_out.empty());
}

TEST_F(CommandLineTest, JoinShowsProgressOnStderrAndItsOptionsHoldForItsRunOnly) {
    // A referring movie points into the clip and holds the picture, which it cannot point into.
    const fs::path clip = fixtures::makeClip(dir(), "clip.mp4", fixtures::ClipRecipe{});
    const fs::path referring = dir() / "referring.mov", output = dir() / "joined.mov";
    ASSERT_EQ(call(cli::runJoinCommand, {"-o", referring.string(), "--no-chapters", "--reference",
                                         clip.string(), m_picture.string()}),
              0)
        << m_err;
    EXPECT_TRUE(media::quicktime::refersToOtherFiles(referring));
    EXPECT_NEAR(oracle::formatDuration(referring), 6.0, 0.05) << "one second of clip, five of picture";
    ASSERT_EQ(call(cli::runJoinCommand, {"-o", output.string(), clip.string(), m_picture.string()}), 0)
        << m_err;
    EXPECT_FALSE(media::quicktime::refersToOtherFiles(output)) << "--reference held for its own run only";
    EXPECT_EQ(m_out, output.string() + "\n");
    for (const char* line : {"Saving movie: ", "Elapsed Time: ", "Finished processing movies!"})
        EXPECT_NE(m_err.find(line), std::string::npos) << m_err;
    EXPECT_FALSE(fs::exists(preferencesFile())) << "the stored preferences are untouched";
}

TEST_F(CommandLineTest, UnusableFilesAreCountedAndNamedWithTheirReason) {
    const fs::path folder = dir() / "folder";
    fs::create_directories(folder);
    for (const char* name : {"a.png", "b.png"})
        fixtures::makePicture(folder, name, 16, 16);
    for (const char* order : {"--sort", "--chapters"}) // a batch, and one path after another
        EXPECT_EQ(call(cli::runJoinCommand, {"-o", (dir() / "f.mov").string(), folder.string(), order}), 0);
    std::ofstream(dir() / "notes.txt") << "text";
    const auto run =
        runCommand(cli::runJoinCommand, {"-o", (dir() / "n.mov").string(), m_picture.string(),
                                         (dir() / "notes.txt").string(), (dir() / "gone.png").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("notes.txt: not a movie, picture or sound file"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("gone.png: no such file or folder"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("2 files were not added"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir() / "n.mov"));
}

TEST_F(CommandLineTest, NamesWithTabsAndNewlinesStayOneRow) {
    const fs::path odd = dir() / "a\tb\nc.png";
    fs::copy_file(m_picture, odd);
    const auto table = runCommand(cli::runListCommand, {odd.string()});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 2) << table.out;
    EXPECT_NE(table.out.find("\ta\\tb\\nc.png\t"), std::string::npos) << table.out;
    ASSERT_EQ(call(cli::runListCommand, {"--json", odd.string()}), 0);
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(m_out));
    EXPECT_EQ(document["entries"][0]["Filename"].toString(), QString("a\tb\nc.png"));
    EXPECT_TRUE(document["total"].isString());
}

// Ten times more entries than the open-file limit (soft and hard) allows
// descriptors: the list holds no file open per entry. (Ten thousand under the
// usual limit work the same way; that many take minutes in this sanitized build.)
TEST_F(CommandLineTest, ListsFarLongerThanTheOpenFileLimitListAndJoin) {
    fixtures::ClipRecipe tiny{.audioCodec = "", .width = 32, .height = 32, .frames = 1, .videoOptions = {}};
    const fs::path clip = fixtures::makeClip(dir(), "clip.mp4", tiny);
    const fs::path many = dir() / "many";
    fs::create_directories(many);
    constexpr int kEntries = 400;
    for (int i = 0; i < kEntries; ++i)
        fs::create_hard_link(clip, many / ("c" + std::to_string(100000 + i) + ".mp4"));
    const auto lowLimit = [] {
        const struct rlimit limit { 128, 128 };
        ::setrlimit(RLIMIT_NOFILE, &limit);
    };
    const auto list = clitest::Program({"list", many.string()}, dir(), lowLimit).finish();
    ASSERT_EQ(list.status, 0) << list.err.substr(0, 500);
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), kEntries + 1);
    const std::string output = (dir() / "all.mov").string();
    const auto join = clitest::Program({"join", "-o", output, many.string()}, dir(), lowLimit).finish();
    ASSERT_EQ(join.status, 0) << join.err.substr(0, 500);
    ASSERT_EQ(call(cli::runInfoCommand, {"--json", output}), 0);
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(m_out))[0]["frameCount"].toInt(), kEntries);
}

// What the window would show goes to the terminal as lines: the status line
// only when verbose, alerts with their reason, and no empty line.
TEST(CommandConsoleTest, WritesWhatTheWindowWouldShowAsLines) {
    for (const bool verbose : {true, false}) {
        std::ostringstream out;
        cli::CommandConsole console(out, verbose);
        console.status(QString::fromUtf8("Joining “Holiday”..."));
        console.status(QString());
        console.alert("Download Failed", "An error occured during download.");
        console.alert("Movie splitting completed.", " ");
        console.alert("%d of the files could not be exported.", "%@", {"2"}, {"a.mov, b.mov"});
        EXPECT_EQ(out.str(), std::string(verbose ? "Joining “Holiday”...\n" : "") +
                                 "Download Failed — An error occured during download.\n"
                                 "Movie splitting completed.\n"
                                 "2 of the files could not be exported. — a.mov, b.mov\n");
    }
}

// `joinclip info`: the text block, the JSON keys, the exit status.
class InfoCommandTest : public clitest::CommandTest {
protected:
    const std::string m_clip = fixtures::makeClip(dir(), "Holiday.mp4", {}).string();
    const std::string m_bad = m_folder.write("broken.mov", "not a movie").string();
};

TEST_F(InfoCommandTest, TextAndJsonTellTheAttributesAndAFileThatDoesNotOpenFailsTheRun) {
    const auto run =
        runCommand(cli::runInfoCommand, {"--", m_clip}); // "--" lets a name like an option through
    EXPECT_EQ(run.status, 0);
    for (const char* part : {"display name: Holiday\n", "natural size: 160 x 120\n", "    video h264\n",
                             "    sound aac\n", "frame count: 25\n", "(1.000 seconds)"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part << " in " << run.out;
    EXPECT_EQ(runCommand(cli::runInfoCommand, {}).status, 2);
    // JSON for every file; one that does not open is told and fails the run.
    const auto json = runCommand(cli::runInfoCommand, {"--json", m_bad, m_clip});
    EXPECT_EQ(json.status, 1);
    EXPECT_TRUE(json.err.starts_with("joinclip: cannot open " + m_bad + ": ") &&
                std::count(json.err.begin(), json.err.end(), '\n') == 1)
        << json.err;
    const QJsonArray files = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).array();
    ASSERT_EQ(files.size(), 2);
    EXPECT_FALSE(files[0]["opens"].toBool() || files[0]["error"].toString().isEmpty());
    const QJsonObject good = files[1].toObject();
    EXPECT_TRUE(good["opens"].toBool() && !good.contains("error"));
    for (const auto& [key, value] : std::vector<std::pair<const char*, QJsonValue>>{
             {"displayName", "Holiday"}, {"naturalWidth", 160}, {"naturalHeight", 120}, {"frameCount", 25}})
        EXPECT_EQ(good[key], value) << key;
    EXPECT_NEAR(good["durationSeconds"].toDouble(), 1.0, 0.001);
    EXPECT_EQ(good["tracks"][0]["mediaType"].toString() + good["tracks"][1]["codec"].toString(), "videoaac");
}

// Progress on a terminal rewrites one line; in a log it is a line per tenth of the work.
TEST(ConsoleProgressTest, OneRewrittenLineOnATerminalALineEveryTenthElsewhere) {
    for (const bool terminal : {true, false}) {
        std::ostringstream err;
        cli::ConsoleProgressLine line(err, terminal);
        line.begin("Saving movie");
        for (int percent = 0; percent <= 100; ++percent)
            line.show(percent, QString("Elapsed Time: %1 secs").arg(percent));
        line.end();
        const std::string text = err.str();
        const auto count = [&](char c) { return std::count(text.begin(), text.end(), c); };
        if (terminal) {
            EXPECT_EQ(count('\r'), 101);
            EXPECT_EQ(count('\n'), 1);
        } else {
            EXPECT_EQ(count('\r'), 0);
            EXPECT_EQ(count('\n'), 11) << text;
            EXPECT_TRUE(text.ends_with("Saving movie: 100%  Elapsed Time: 100 secs\n")) << text;
        }
    }
}

} // namespace
