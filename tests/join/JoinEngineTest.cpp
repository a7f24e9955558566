// Joins end to end: every chapter starts where its movie starts (whatever
// writes it), and a failed write is never reported as finished. Results are
// read back with ffprobe. Whether samples are copied or re-encoded is the
// writers' own test (tests/media).

#include "join/JoinEngine.h"

#include "Ffprobe.h"
#include "MediaFixtures.h"
#include "MovieTiming.h"
#include "RecordingConsole.h"
#include "TestFolder.h"
#include "join/ComponentTable.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class RecordingDelegate final : public join::JoinDelegate {
public:
    void showSpinner(bool shown) override { spinnerShown = shown; }
    void message(const QString& text) override { messages << text; }
    bool shouldContinueOperation(int phase, double, const fs::path&) override {
        phases.push_back(phase);
        return !cancel;
    }
    QStringList messages;
    std::vector<int> phases;
    bool spinnerShown = false;
    bool cancel = false;
};

class JoinEngineTest : public ::testing::Test {
protected:
    // A request for these files, each titled with its name without extension, into dir/destination.
    join::JoinRequest request(const std::vector<fs::path>& files, const std::string& destination) {
        join::JoinRequest made;
        for (const fs::path& file : files) {
            auto movie = media::Movie::open(file);
            EXPECT_TRUE(movie.has_value()) << file;
            made.movies.push_back(movie ? *movie : media::Movie::makeEmpty());
            made.titles.push_back(QString::fromStdString(file.stem().string()));
        }
        made.destFilePath = m_folder.path() / destination;
        return made;
    }
    fs::path clip(const std::string& name, int frames) {
        return fixtures::makeClip(
            m_folder.path(), name,
            {.container = fs::path(name).extension().string().substr(1), .frames = frames});
    }
    std::expected<std::shared_ptr<media::Movie>, media::Error> join(const join::JoinRequest& made) {
        return join::appendMovies(made, m_delegate, m_console);
    }

    testing_support::TestFolder m_folder;
    RecordingDelegate m_delegate;
    testing_support::RecordingConsole m_console;
};

TEST_F(JoinEngineTest, ClipsAreJoinedWithChaptersAtTheBoundaries) {
    const std::vector<fs::path> clips{clip("one.mp4", 25), clip("two.mp4", 30), clip("three.mp4", 35)};
    auto made = request(clips, "joined.mov");
    auto joined = join(made);
    ASSERT_TRUE(joined.has_value()) << joined.error().message;
    const auto chapters = oracle::probeChapterList(made.destFilePath);
    ASSERT_EQ(chapters.size(), 3u);
    const double starts[] = {0, 1.0, 2.2};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(chapters[i].title, clips[i].stem().string());
        EXPECT_NEAR(chapters[i].start, starts[i], 0.001);
    }
    EXPECT_NEAR(oracle::formatDuration(made.destFilePath), 3.6, 0.03);
    EXPECT_EQ(m_delegate.messages,
              (QStringList{"Processed movie: 1 of 3", "Processed movie: 2 of 3", "Processed movie: 3 of 3",
                           "Saving movie: joined.mov", "Chapterizing movie: joined.mov",
                           "Finished processing movies!"}));
    EXPECT_FALSE(m_delegate.spinnerShown);
    ASSERT_FALSE(m_delegate.phases.empty());
    EXPECT_EQ(m_delegate.phases.front() + m_delegate.phases.back(), 2) << "from phase 0 to phase 2";
    EXPECT_TRUE(m_console.lines().isEmpty());
}

// An untitled entry keeps a chapter of its own, with an empty title, so every
// later chapter still starts with its own movie: in the lossless writer and
// in the re-encoding one alike.
TEST_F(JoinEngineTest, AnUntitledChapterKeepsEveryLaterOneAtItsMovie) {
    const std::vector<fs::path> clips{clip("a.mov", 50), clip("b.mov", 75), clip("c.mov", 38)};
    for (const char* destination : {"untitled.mov", "untitled.mkv"}) {
        SCOPED_TRACE(destination);
        auto made = request(clips, destination);
        made.titles = {"One", "", "Three"};
        ASSERT_TRUE(join(made).has_value());
        const auto chapters = oracle::probeChapterList(made.destFilePath);
        ASSERT_EQ(chapters.size(), 3u);
        EXPECT_EQ(chapters[1].title, "");
        EXPECT_NEAR(chapters[1].start, 2.0, 0.001);
        EXPECT_EQ(chapters[2].title, "Three");
        EXPECT_NEAR(chapters[2].start, 5.0, 0.001);
    }
}

TEST_F(JoinEngineTest, AFailedOrCancelledWriteIsToldAndLeavesWhatWasThere) {
    auto made =
        request({fixtures::makePicture(m_folder.path(), "still.png", 16, 16)}, "no such folder/joined.mov");
    EXPECT_FALSE(join(made).has_value());
    EXPECT_FALSE(m_delegate.messages.contains("Finished processing movies!"));
    EXPECT_FALSE(m_delegate.spinnerShown);
    ASSERT_EQ(m_console.lines().size(), 1);
    EXPECT_TRUE(m_console.lines()[0].startsWith(QString::fromStdString(
        "The movie could not be saved to: \"" + made.destFilePath.string() + "\", try another filename (")));
    // Cancelled in its first callback: nothing is written and an existing file stays.
    made.destFilePath = m_folder.path() / "existing.mov";
    testing_support::writeFile(made.destFilePath, "keep me");
    m_delegate.cancel = true;
    EXPECT_FALSE(join(made).has_value());
    EXPECT_EQ(testing_support::contentsOf(made.destFilePath), "keep me");
}

TEST_F(JoinEngineTest, SoundOnlyJoinsGetNoChaptersButAreStillTold) {
    auto made = request({fixtures::makeSound(m_folder.path(), "a.m4a", 44100, 2, 0.5),
                         fixtures::makeSound(m_folder.path(), "b.m4a", 44100, 2, 0.5)},
                        "sound.mov");
    ASSERT_TRUE(join(made).has_value());
    EXPECT_TRUE(oracle::probeChapterList(made.destFilePath).empty());
    EXPECT_TRUE(m_delegate.messages.contains("Chapterizing movie: sound.mov"));
    m_delegate.messages.clear();
    made.withChapters = false;
    made.destFilePath = m_folder.path() / "plain.mov";
    ASSERT_TRUE(join(made).has_value());
    EXPECT_FALSE(m_delegate.messages.contains("Chapterizing movie: plain.mov"));
}

TEST_F(JoinEngineTest, ReferringMoviesPointAtTheirSources) {
    auto made = request({clip("one.mov", 25), clip("two.mov", 25)}, "reference.mov");
    made.flatten = false;
    ASSERT_TRUE(join(made).has_value());
    EXPECT_LT(fs::file_size(made.destFilePath), fs::file_size(m_folder.path() / "one.mov") / 2);
    EXPECT_NEAR(media::seconds(media::Movie::open(made.destFilePath).value()->duration()), 2.0, 0.05);
}

TEST_F(JoinEngineTest, AJoinThroughAComponentUsesItsSettingsOrItsDefaults) {
    const fs::path one = clip("clip.mp4", 10);
    join::ComponentTable table;
    join::BuildComponentTable(table);
    ASSERT_TRUE(table.contains("WebM [WebM,FFmp]"));
    auto made = request({one, one}, "set.webm");
    made.component = *table.find("WebM [WebM,FFmp]");
    made.flatten = false; // has no say in an export
    media::ExportSettings settings;
    settings.videoEncoder = "libvpx";
    settings.width = 80;
    settings.height = 60;
    // Damaged settings: told on the console, the component's defaults, and the file is still written.
    for (const auto& [bytes, name, codec, width] :
         {std::tuple{media::encodeExportSettings(settings), "set.webm", "vp8", 80},
          std::tuple{QByteArray("damaged"), "defaults.webm", "vp9", 160}}) {
        made.exportSettings = bytes;
        made.destFilePath = m_folder.path() / name;
        ASSERT_TRUE(join(made).has_value()) << name;
        const auto video = oracle::probeStreams(made.destFilePath, "video").at(0);
        EXPECT_EQ(video.codecName, codec);
        EXPECT_EQ(video.width, width);
        EXPECT_EQ(m_console.lines().isEmpty(), width == 80);
    }
    EXPECT_TRUE(m_console.contains("JoinClip error: the export settings of WebM cannot be used"));
    // A component this build lacks writes nothing.
    made.component->subtype = media::makeFourCharCode("none");
    made.destFilePath = m_folder.path() / "missing.webm";
    EXPECT_FALSE(join(made).has_value());
    EXPECT_FALSE(fs::exists(made.destFilePath));
}

} // namespace
