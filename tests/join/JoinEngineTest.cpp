// Joins end to end: compatible clips are copied without decoding, mixed ones
// re-encoded, chapters start where their movies start, and a failed write is
// never reported as finished. Results are read back with ffprobe.

#include "join/JoinEngine.h"

#include "Ffprobe.h"
#include "MediaFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <fstream>
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
    fs::path dir() const { return m_dir.path().toStdString(); }

    static std::shared_ptr<media::Movie> open(const fs::path& path) {
        auto movie = media::Movie::open(path);
        EXPECT_TRUE(movie.has_value()) << path;
        return movie ? *movie : nullptr;
    }

    // MD5 of each packet of the first stream of a kind ("v" or "a"), in order.
    static std::vector<std::string> packetHashes(const fs::path& file, const char* kind,
                                                 const std::vector<std::string>& extra = {}) {
        std::vector<std::string> arguments = extra;
        for (const char* argument : {"-select_streams", kind, "-show_entries", "packet=data_hash", "-show_data_hash",
                                     "MD5", "-of", "csv=p=0"})
            arguments.emplace_back(argument);
        arguments.push_back(file.string());
        std::vector<std::string> hashes;
        std::string text = oracle::runFfprobe(arguments);
        // Lines without a hash (packet side data) are left out.
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::string line = text.substr(start, end - start);
            if (const std::size_t hash = line.find("MD5:"); hash != std::string::npos)
                hashes.push_back(line.substr(hash));
        }
        return hashes;
    }

    static QJsonArray chapters(const fs::path& file) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(oracle::runFfprobe(
                                           {"-show_chapters", "-print_format", "json", file.string()})))
            .object()["chapters"]
            .toArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(JoinEngineTest, CompatibleClipsAreCopiedWithChaptersAtTheBoundaries) {
    fixtures::ClipSpec clipSpec;
    clipSpec.container = "mp4";
    std::vector<fs::path> clips;
    join::JoinRequest request;
    for (int i = 0; i < 3; ++i) {
        clipSpec.frames = 25 + 5 * i;
        clips.push_back(fixtures::makeClip(dir(), "clip" + std::to_string(i) + ".mp4", clipSpec));
        request.movies.push_back(open(clips.back()));
        request.titles.push_back(QString("Part %1").arg(i + 1));
    }
    request.destFilePath = dir() / "joined.mov";
    RecordingDelegate delegate;
    auto joined = join::appendMovies(request, delegate);
    ASSERT_TRUE(joined.has_value()) << joined.error().message;

    // The same video packets, in order: nothing was decoded.
    std::vector<std::string> expected;
    for (const auto& clip : clips)
        for (const auto& hash : packetHashes(clip, "v"))
            expected.push_back(hash);
    EXPECT_EQ(packetHashes(request.destFilePath, "v"), expected);

    // Chapters start where each clip starts: 0, 1 s, 2.2 s.
    const QJsonArray found = chapters(request.destFilePath);
    ASSERT_EQ(found.size(), 3);
    double start = 0;
    for (int i = 0; i < 3; ++i) {
        const QJsonObject chapter = found[i].toObject();
        EXPECT_EQ(chapter["tags"].toObject()["title"].toString(), QString("Part %1").arg(i + 1));
        EXPECT_NEAR(chapter["start_time"].toString().toDouble(), start, 0.001);
        start += (25 + 5 * i) / 25.0;
    }
    EXPECT_NEAR(oracle::formatDuration(request.destFilePath), start, 0.03);

    EXPECT_EQ(delegate.messages.first(), "Processed movie: 1 of 3");
    EXPECT_EQ(delegate.messages.last(), "Finished processing movies!");
    EXPECT_TRUE(delegate.messages.contains("Chapterizing movie: joined.mov"));
    EXPECT_FALSE(delegate.spinnerShown);
    ASSERT_FALSE(delegate.phases.empty());
    EXPECT_EQ(delegate.phases.front(), 0);
    EXPECT_EQ(delegate.phases.back(), 2);
}

TEST_F(JoinEngineTest, MixedMoviesPicturesAndSoundAreReencodedInStep) {
    fixtures::ClipSpec small;
    fixtures::ClipSpec other;
    other.width = 320;
    other.height = 180;
    other.fpsNum = 30000;
    other.fpsDen = 1001;
    other.frames = 15;
    other.sampleRate = 48000;
    join::JoinRequest request;
    for (const fs::path& path :
         {fixtures::makeClip(dir(), "small.mp4", small), fixtures::makeClip(dir(), "other.mp4", other),
          fixtures::makePicture(dir(), "still.png", 64, 48), fixtures::makeSound(dir(), "tone.wav", 22050, 1, 0.5)}) {
        request.movies.push_back(open(path));
        request.titles.push_back(QString::fromStdString(path.stem().string()));
    }
    request.destFilePath = dir() / "mixed.mp4";
    RecordingDelegate delegate;
    auto joined = join::appendMovies(request, delegate);
    ASSERT_TRUE(joined.has_value()) << joined.error().message;

    const double total = 1.0 + 15 * 1001 / 30000.0 + 5.0 + 0.5;
    EXPECT_NEAR(oracle::formatDuration(request.destFilePath), total, 0.05);
    const QJsonObject probe = oracle::probe(request.destFilePath);
    int video = 0, sound = 0;
    for (const QJsonValue stream : probe["streams"].toArray()) {
        const QJsonObject object = stream.toObject();
        if (object["codec_type"].toString() == "video") {
            ++video;
            EXPECT_EQ(object["codec_name"].toString(), "h264");
            EXPECT_EQ(object["width"].toInt(), 320);
            EXPECT_EQ(object["height"].toInt(), 180);
        }
        sound += object["codec_type"].toString() == "audio" ? 1 : 0;
    }
    EXPECT_EQ(video, 1);
    EXPECT_EQ(sound, 1);
    const QJsonArray found = chapters(request.destFilePath);
    ASSERT_EQ(found.size(), 4);
    EXPECT_NEAR(found[3].toObject()["start_time"].toString().toDouble(), total - 0.5, 0.001);
    EXPECT_EQ(delegate.messages.last(), "Finished processing movies!");
}

TEST_F(JoinEngineTest, AFailedWriteIsNotReportedAsFinished) {
    join::JoinRequest request;
    request.movies.push_back(open(fixtures::makePicture(dir(), "still.png", 16, 16)));
    request.titles.push_back("Still");
    request.destFilePath = dir() / "no such folder" / "joined.mov";
    RecordingDelegate delegate;
    EXPECT_FALSE(join::appendMovies(request, delegate).has_value());
    EXPECT_FALSE(delegate.messages.contains("Finished processing movies!"));
    EXPECT_FALSE(delegate.spinnerShown);

    // Cancelled in its first callback: nothing is written and an existing file stays.
    request.destFilePath = dir() / "existing.mov";
    std::ofstream(request.destFilePath) << "keep me";
    delegate.cancel = true;
    EXPECT_FALSE(join::appendMovies(request, delegate).has_value());
    std::ifstream kept(request.destFilePath);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
}

TEST_F(JoinEngineTest, SoundOnlyJoinsGetNoChapters) {
    join::JoinRequest request;
    for (const char* name : {"a.m4a", "b.m4a"}) {
        request.movies.push_back(open(fixtures::makeSound(dir(), name, 44100, 2, 0.5)));
        request.titles.push_back(name);
    }
    request.destFilePath = dir() / "sound.mov";
    RecordingDelegate delegate;
    ASSERT_TRUE(join::appendMovies(request, delegate).has_value());
    EXPECT_EQ(chapters(request.destFilePath).size(), 0);
    EXPECT_FALSE(delegate.messages.contains("Chapterizing movie: sound.mov"));
}

TEST_F(JoinEngineTest, ReferringMoviesPointAtTheirSources) {
    fixtures::ClipSpec clipSpec;
    clipSpec.container = "mov";
    join::JoinRequest request;
    std::vector<fs::path> clips;
    for (const char* name : {"one.mov", "two.mov"}) {
        clips.push_back(fixtures::makeClip(dir(), name, clipSpec));
        request.movies.push_back(open(clips.back()));
        request.titles.push_back(name);
    }
    request.destFilePath = dir() / "reference.mov";
    request.flatten = false;
    RecordingDelegate delegate;
    auto joined = join::appendMovies(request, delegate);
    ASSERT_TRUE(joined.has_value()) << joined.error().message;
    EXPECT_LT(fs::file_size(request.destFilePath), fs::file_size(clips[0]) / 2);
    auto reopened = media::Movie::open(request.destFilePath);
    ASSERT_TRUE(reopened.has_value());
    EXPECT_NEAR(media::seconds((*reopened)->duration()), 2.0, 0.05);
}

} // namespace
