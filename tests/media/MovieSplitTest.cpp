// Cutting a movie file into pieces: every frame of the source lands in
// exactly one piece (compared picture by picture with what ffmpeg decodes),
// pieces cut on key frames are bit-exact copies, sound stays in sync at the
// cut, and a cancelled or failed split leaves no file.

#include "RunProgram.h"
#include "SharedClips.h"
#include "SyncMarks.h"
#include "media/MovieSplit.h"

#include <QString>
#include <cmath>
#include <cstdio>
#include <set>
#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// Every picture of the file, decoded by ffmpeg as grey levels.
std::vector<QByteArray> decodedFrames(const std::filesystem::path& file) {
    const QByteArray all =
        oracle::runProgram("ffmpeg", {"-v", "error", "-i", QString::fromStdString(file.string()), "-map", "0:v:0",
                                      "-f", "rawvideo", "-pix_fmt", "gray", "-"})
            .out;
    std::vector<QByteArray> frames;
    for (qsizetype at = 0; at + kWidth * kHeight <= all.size(); at += kWidth * kHeight)
        frames.push_back(all.mid(at, kWidth * kHeight));
    return frames;
}

double difference(const QByteArray& a, const QByteArray& b) {
    double total = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        total += std::abs(int(uchar(a[i])) - int(uchar(b[i])));
    return total / double(a.size());
}

// The sizes of the first video stream's packets in decode order (none for a
// piece whose tracks hold no samples: readers then see no stream at all).
QList<QByteArray> packetSizes(const std::filesystem::path& file) {
    const QByteArray sizes = oracle::runProgram("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_entries", "packet=size",
                                          "-of", "csv=p=0", QString::fromStdString(file.string())})
                                 .out.trimmed();
    return sizes.isEmpty() ? QList<QByteArray>() : sizes.split('\n');
}

// 6 s at 25 fps, key frames every 2 s, white picture and tone at frame 80.
std::filesystem::path sourceClip(bool reordering) {
    fixtures::ClipRecipe recipe;
    recipe.container = "mov";
    recipe.frames = 150;
    recipe.syncMarkFrame = 80;
    recipe.videoOptions = {{"x264-params", std::string("keyint=50:min-keyint=50:scenecut=0:bframes=") +
                                               (reordering ? "3" : "0")}};
    return fixtures::test::sharedClip(std::string("split-source-") + (reordering ? "b" : "p") + ".mov", recipe);
}

class MovieSplitTest : public ::testing::TestWithParam<bool> {};

TEST_P(MovieSplitTest, PiecesHoldEveryFrameOnceAndStayInSyncAtTheCut) {
    const auto source = sourceClip(GetParam());
    const auto folder = fixtures::test::scratchFolder(GetParam() ? "split-b" : "split-p");
    const auto left = folder / "left.mov";
    const auto right = folder / "right.mov";
    // 3.01 s lies inside frame 75's interval: that frame starts the right piece.
    ASSERT_TRUE(media::splitMovieFile(source, {media::makeTime(3010, 1000)}, {left, right}).has_value());

    const auto whole = decodedFrames(source);
    const auto first = decodedFrames(left);
    const auto second = decodedFrames(right);
    ASSERT_EQ(whole.size(), 150u);
    ASSERT_EQ(first.size(), 75u);
    ASSERT_EQ(second.size(), 75u);
    for (std::size_t i = 0; i < 75; ++i) {
        EXPECT_LT(difference(first[i], whole[i]), 1.0) << "left frame " << i;
        EXPECT_LT(difference(second[i], whole[75 + i]), 1.0) << "right frame " << i;
    }
    // From the key frame after the cut on, the right piece is copied bit for bit.
    const auto wholeSizes = packetSizes(source);
    const auto rightSizes = packetSizes(right);
    ASSERT_EQ(rightSizes.size(), 75);
    EXPECT_EQ(rightSizes.mid(25), wholeSizes.mid(100));

    // Frame 80 is white and the tone starts with it: 0.2 s into the right piece.
    const auto marks = oracle::readSyncMarks(oracle::Reader::FFmpeg, right);
    ASSERT_EQ(marks.flashes.size(), 1u);
    ASSERT_EQ(marks.beeps.size(), 1u);
    EXPECT_NEAR(marks.flashes[0], 0.2, 0.001);
    EXPECT_NEAR(marks.beeps[0], marks.flashes[0], 0.02);
    EXPECT_NEAR(marks.frames.front(), 0.0, 0.001);
    const auto leftMarks = oracle::readSyncMarks(oracle::Reader::FFmpeg, left);
    EXPECT_NEAR(leftMarks.soundEnd, 3.0, 0.05);
    EXPECT_NEAR(marks.soundEnd, 3.0, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Reordering, MovieSplitTest, ::testing::Bool());

// Each video packet of the file: its size and a hash of its bytes, by ffprobe.
std::vector<std::pair<int, QByteArray>> packetHashes(const std::filesystem::path& file) {
    const QByteArray lines =
        oracle::runProgram("ffprobe", {"-v", "error", "-select_streams", "v:0", "-show_data_hash", "MD5",
                                       "-show_entries", "packet=size,data_hash", "-of", "csv=p=0",
                                       QString::fromStdString(file.string())})
            .out.trimmed();
    std::vector<std::pair<int, QByteArray>> packets;
    for (const QByteArray& line : lines.split('\n')) {
        const auto fields = line.split(',');
        if (fields.size() == 2)
            packets.emplace_back(fields[0].toInt(), fields[1]);
    }
    return packets;
}

// A long movie with key frames ten seconds apart, cut three times eight
// seconds after a key frame: most bytes of the pieces are the source's own,
// copied, and every piece keeps its sound as long as its pictures.
TEST(MovieSplitCutsTest, ALongMovieWithSparseKeyFramesIsMostlyCopiedAndStaysInSyncAtEachCut) {
    fixtures::ClipRecipe recipe;
    recipe.container = "mov";
    recipe.frames = 2250; // 90 s
    recipe.syncMarkFrame = 1275; // 51 s: 1 s after the second cut
    recipe.videoOptions = {{"x264-params", "keyint=250:min-keyint=250:scenecut=0:bframes=0"}};
    const auto source = fixtures::test::sharedClip("split-sparse.mov", recipe);
    const auto folder = fixtures::test::scratchFolder("split-sparse");
    const std::vector<media::Time> cuts{media::makeTime(18, 1), media::makeTime(50, 1), media::makeTime(78, 1)};
    std::vector<std::filesystem::path> pieces;
    for (int i = 0; i < 4; ++i)
        pieces.push_back(folder / ("piece" + std::to_string(i) + ".mov"));
    ASSERT_TRUE(media::splitMovieFile(source, cuts, pieces).has_value());

    std::set<QByteArray> sourcePackets;
    for (const auto& packet : packetHashes(source))
        sourcePackets.insert(packet.second);
    const int expectedFrames[] = {450, 800, 700, 300};
    double copied = 0, total = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto packets = packetHashes(pieces[i]);
        EXPECT_EQ(static_cast<int>(packets.size()), expectedFrames[i]) << pieces[i];
        for (const auto& [size, hash] : packets) {
            total += size;
            copied += sourcePackets.count(hash) ? size : 0;
        }
        // Sound as long as the pictures, from the start of each piece.
        const auto marks = oracle::readSyncMarks(oracle::Reader::FFmpeg, pieces[i]);
        EXPECT_NEAR(marks.soundStart, 0.0, 0.04) << pieces[i];
        EXPECT_NEAR(marks.soundEnd, expectedFrames[i] / 25.0, 0.04) << pieces[i];
        EXPECT_NEAR(marks.frames.front(), 0.0, 0.001) << pieces[i];
    }
    // 6 s of 90 are encoded again (two seconds after each cut).
    EXPECT_GT(copied / total, 0.85);
    std::printf("bytes copied without encoding: %.1f%%\n", 100 * copied / total);
    // The white picture and the tone that starts with it, 1 s into the third piece.
    const auto marks = oracle::readSyncMarks(oracle::Reader::FFmpeg, pieces[2]);
    ASSERT_EQ(marks.flashes.size(), 1u);
    ASSERT_EQ(marks.beeps.size(), 1u);
    EXPECT_NEAR(marks.flashes[0], 1.0, 0.001);
    EXPECT_NEAR(marks.beeps[0], marks.flashes[0], 0.02);
}

TEST(MovieSplitCutsTest, CutsOnKeyFramesCopyEverythingAndCutsAtTheEdgesGiveEmptyPieces) {
    const auto source = sourceClip(true);
    const auto folder = fixtures::test::scratchFolder("split-edges");
    const std::vector<std::filesystem::path> pieces{folder / "a.mov", folder / "b.mov", folder / "c.mov",
                                                    folder / "d.mov"};
    // Two key frames and the very end.
    ASSERT_TRUE(media::splitMovieFile(
                    source, {media::makeTime(2, 1), media::makeTime(4, 1), media::makeTime(6, 1)}, pieces)
                    .has_value());
    const auto wholeSizes = packetSizes(source);
    EXPECT_EQ(packetSizes(pieces[0]), wholeSizes.mid(0, 50));
    EXPECT_EQ(packetSizes(pieces[1]), wholeSizes.mid(50, 50));
    EXPECT_EQ(packetSizes(pieces[2]), wholeSizes.mid(100, 50));
    EXPECT_TRUE(packetSizes(pieces[3]).isEmpty());

    const auto atStart = folder / "start.mov";
    const auto rest = folder / "rest.mov";
    ASSERT_TRUE(media::splitMovieFile(source, {media::zeroTime()}, {atStart, rest}).has_value());
    EXPECT_TRUE(packetSizes(atStart).isEmpty());
    EXPECT_EQ(packetSizes(rest), wholeSizes);
}

TEST(MovieSplitCutsTest, CancelledOrRefusedSplitsLeaveNoFile) {
    const auto source = sourceClip(false);
    const auto folder = fixtures::test::scratchFolder("split-cancel");
    const std::vector<std::filesystem::path> pieces{folder / "a.mov", folder / "b.mov"};
    int calls = 0;
    const auto cancelled = media::splitMovieFile(source, {media::makeTime(3, 1)}, pieces, [&](double) {
        return ++calls < 2;
    });
    ASSERT_FALSE(cancelled.has_value());
    EXPECT_EQ(cancelled.error().code, ECANCELED);
    EXPECT_TRUE(std::filesystem::is_empty(folder));

    EXPECT_FALSE(media::splitMovieFile(source, {media::makeTime(3, 1)}, {pieces[0]}).has_value());
    EXPECT_FALSE(media::splitMovieFile(source, {media::makeTime(3, 1), media::makeTime(1, 1)},
                                       {pieces[0], pieces[1], folder / "c.mov"})
                     .has_value());
    EXPECT_FALSE(media::splitMovieFile(folder / "missing.mov", {media::makeTime(1, 1)}, pieces).has_value());
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

} // namespace
