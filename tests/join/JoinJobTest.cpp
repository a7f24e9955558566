// Join jobs run here: every chapter starts where its movie starts (whatever
// writes it), a failed write is never reported as finished, and a cancel or a
// scaling is part of the one job. Results are
// read back with ffprobe. Whether samples are copied or re-encoded is the
// writers' own test (tests/media).

#include "join/JoinJob.h"

#include "Ffprobe.h"
#include "MediaFixtures.h"
#include "MovieTiming.h"
#include "TestFolder.h"
#include "join/ComponentTable.h"

#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// A join job run here, with what it told: its phases (the status line) and
// every fraction it reported.
struct JoinRun final {
    std::expected<void, media::Error> result;
    QStringList phases;
    std::vector<double> fractions;
    join::JoinResult outcome;
};

class JoinJobTest : public ::testing::Test {
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
    // Runs the join; cancelAt: cancels it once it reports at least that fraction.
    static JoinRun join(const join::JoinRequest& made, double cancelAt = 2.0) {
        join::JoinJob job(made);
        JoinRun run;
        QObject::connect(&job, &support::Job::progressChanged, [&](double fraction, const QString& phase) {
            if (!phase.isEmpty())
                run.phases << phase;
            run.fractions.push_back(fraction);
            if (fraction >= cancelAt)
                job.cancel();
        });
        run.result = job.runHere();
        run.outcome = job.outcome();
        return run;
    }

    testing_support::TestFolder m_folder;
};

TEST_F(JoinJobTest, ClipsAreJoinedWithChaptersAtTheBoundaries) {
    const std::vector<fs::path> clips{clip("one.mp4", 25), clip("two.mp4", 30), clip("three.mp4", 35)};
    auto made = request(clips, "joined.mov");
    const JoinRun joined = join(made);
    ASSERT_TRUE(joined.result.has_value()) << joined.result.error().message;
    const auto chapters = oracle::probeChapterList(made.destFilePath);
    ASSERT_EQ(chapters.size(), 3u);
    const double starts[] = {0, 1.0, 2.2};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(chapters[i].title, clips[i].stem().string());
        EXPECT_NEAR(chapters[i].start, starts[i], 0.001);
    }
    EXPECT_NEAR(oracle::formatDuration(made.destFilePath), 3.6, 0.03);
    EXPECT_EQ(joined.phases,
              (QStringList{"Processed movie: 1 of 3", "Processed movie: 2 of 3", "Processed movie: 3 of 3",
                           "Saving movie: joined.mov", "Chapterizing movie: joined.mov",
                           "Finished processing movies!"}));
    EXPECT_TRUE(std::is_sorted(joined.fractions.begin(), joined.fractions.end()));
    EXPECT_EQ(joined.fractions.back(), 1.0);
    EXPECT_TRUE(joined.outcome.notes.isEmpty());
    EXPECT_FALSE(joined.outcome.scaled) << "no duration asked for";
}

// An untitled entry keeps a chapter of its own, with an empty title, so every
// later chapter still starts with its own movie: in the lossless writer and
// in the re-encoding one alike.
TEST_F(JoinJobTest, AnUntitledChapterKeepsEveryLaterOneAtItsMovie) {
    const std::vector<fs::path> clips{clip("a.mov", 50), clip("b.mov", 75), clip("c.mov", 38)};
    for (const char* destination : {"untitled.mov", "untitled.mkv"}) {
        SCOPED_TRACE(destination);
        auto made = request(clips, destination);
        made.titles = {"One", "", "Three"};
        ASSERT_TRUE(join(made).result.has_value());
        const auto chapters = oracle::probeChapterList(made.destFilePath);
        ASSERT_EQ(chapters.size(), 3u);
        EXPECT_EQ(chapters[1].title, "");
        EXPECT_NEAR(chapters[1].start, 2.0, 0.001);
        EXPECT_EQ(chapters[2].title, "Three");
        EXPECT_NEAR(chapters[2].start, 5.0, 0.001);
    }
}

TEST_F(JoinJobTest, AFailedOrCancelledJoinSaysWhyAndLeavesWhatWasThere) {
    auto made =
        request({fixtures::makePicture(m_folder.path(), "still.png", 16, 16)}, "no such folder/joined.mov");
    const JoinRun failed = join(made);
    ASSERT_FALSE(failed.result.has_value());
    EXPECT_FALSE(failed.result.error().message.empty()) << "the reason";
    EXPECT_FALSE(failed.phases.contains("Finished processing movies!"));
    // Cancelled at its first progress step: nothing is written and an existing file stays.
    made.destFilePath = m_folder.path() / "existing.mov";
    testing_support::writeFile(made.destFilePath, "keep me");
    const JoinRun cancelled = join(made, 0.0);
    ASSERT_FALSE(cancelled.result.has_value());
    EXPECT_EQ(cancelled.result.error().code, ECANCELED);
    EXPECT_EQ(testing_support::contentsOf(made.destFilePath), "keep me");
}

// A duration asked for scales the written file in the same job; a cancel
// during the scaling takes the written file away too.
TEST_F(JoinJobTest, ScalingIsPartOfTheJoinAndOfItsCancel) {
    auto made = request({clip("one.mov", 25), clip("two.mov", 25)}, "scaled.mov");
    made.desiredSeconds = 3.0;
    const JoinRun scaled = join(made);
    ASSERT_TRUE(scaled.result.has_value()) << scaled.result.error().message;
    EXPECT_EQ(scaled.outcome.scaled, true);
    EXPECT_NEAR(media::seconds(media::Movie::open(made.destFilePath).value()->duration()), 3.0, 0.05);
    EXPECT_TRUE(std::is_sorted(scaled.fractions.begin(), scaled.fractions.end()));
    EXPECT_TRUE(std::any_of(scaled.fractions.begin(), scaled.fractions.end(),
                            [](double fraction) { return fraction > 0.5 && fraction < 1.0; }))
        << "the scaling's own steps";
    // A length too short to hold: written, not scaled, and why.
    made.desiredSeconds = 1e-9;
    made.destFilePath = m_folder.path() / "unscaled.mov";
    const JoinRun unscaled = join(made);
    ASSERT_TRUE(unscaled.result.has_value());
    EXPECT_EQ(unscaled.outcome.scaled, false);
    EXPECT_TRUE(unscaled.outcome.scalingError.has_value());
    made.desiredSeconds = 3.0;
    made.destFilePath = m_folder.path() / "cancelled.mov";
    const JoinRun cancelled = join(made, 0.6);
    EXPECT_EQ(cancelled.result.error().code, ECANCELED);
    EXPECT_FALSE(fs::exists(made.destFilePath));
    EXPECT_EQ(testing_support::namesIn(m_folder.path()),
              (std::vector<std::string>{"one.mov", "scaled.mov", "two.mov", "unscaled.mov"}));
}

TEST_F(JoinJobTest, SoundOnlyJoinsGetNoChaptersButAreStillTold) {
    auto made = request({fixtures::makeSound(m_folder.path(), "a.m4a", 44100, 2, 0.5),
                         fixtures::makeSound(m_folder.path(), "b.m4a", 44100, 2, 0.5)},
                        "sound.mov");
    const JoinRun sound = join(made);
    ASSERT_TRUE(sound.result.has_value());
    EXPECT_TRUE(oracle::probeChapterList(made.destFilePath).empty());
    EXPECT_TRUE(sound.phases.contains("Chapterizing movie: sound.mov"));
    made.withChapters = false;
    made.destFilePath = m_folder.path() / "plain.mov";
    const JoinRun plain = join(made);
    ASSERT_TRUE(plain.result.has_value());
    EXPECT_FALSE(plain.phases.contains("Chapterizing movie: plain.mov"));
}

TEST_F(JoinJobTest, ReferringMoviesPointAtTheirSources) {
    auto made = request({clip("one.mov", 25), clip("two.mov", 25)}, "reference.mov");
    made.flatten = false;
    ASSERT_TRUE(join(made).result.has_value());
    EXPECT_LT(fs::file_size(made.destFilePath), fs::file_size(m_folder.path() / "one.mov") / 2);
    EXPECT_NEAR(media::seconds(media::Movie::open(made.destFilePath).value()->duration()), 2.0, 0.05);
}

TEST_F(JoinJobTest, AJoinThroughAComponentUsesItsSettingsOrItsDefaults) {
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
    // Damaged settings: noted for the console, the component's defaults, and the file is still written.
    for (const auto& [bytes, name, codec, width] :
         {std::tuple{media::encodeExportSettings(settings), "set.webm", "vp8", 80},
          std::tuple{QByteArray("damaged"), "defaults.webm", "vp9", 160}}) {
        made.exportSettings = bytes;
        made.destFilePath = m_folder.path() / name;
        const JoinRun run = join(made);
        ASSERT_TRUE(run.result.has_value()) << name;
        const auto video = oracle::probeStreams(made.destFilePath, "video").at(0);
        EXPECT_EQ(video.codecName, codec);
        EXPECT_EQ(video.width, width);
        EXPECT_EQ(run.outcome.notes.isEmpty(), width == 80);
        if (width != 80) {
            EXPECT_TRUE(run.outcome.notes.at(0).startsWith(
                "JoinClip error: the export settings of WebM cannot be used"));
        }
    }
    // A component this build lacks writes nothing.
    made.component->subtype = media::makeFourCharCode("none");
    made.destFilePath = m_folder.path() / "missing.webm";
    EXPECT_FALSE(join(made).result.has_value());
    EXPECT_FALSE(fs::exists(made.destFilePath));
}

} // namespace
