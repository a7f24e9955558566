// Writes are all or nothing: a cancelled or failed write leaves no file
// behind and never replaces a file already at the destination.

#include "FileContents.h"
#include "JoinRequest.h"
#include "TestClips.h"
#include "media/quicktime/QuickTimeFileWriter.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

using namespace media::quicktime;

using testing_support::contentsOf;

std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

class WriteAtomicityTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder =
            quicktime_test::scratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_request = quicktime_test::joinRequest(
            {quicktime_test::h264AacClip("mp4", 25), quicktime_test::h264AacClip("mp4", 30)},
            OutputKind::Mpeg4);
        m_request.chapters = {{"One", 600}, {"Two", 720}};
    }

    std::filesystem::path existingDestination() {
        const auto destination = m_folder / "joined.mp4";
        std::ofstream(destination, std::ios::binary) << "an earlier movie";
        return destination;
    }

    std::filesystem::path m_folder;
    WriteRequest m_request;
};

TEST_F(WriteAtomicityTest, ProgressRisesToOneAndTheFileAppearsComplete) {
    std::vector<double> fractions;
    m_request.progress = [&](double fraction) {
        fractions.push_back(fraction);
        return true;
    };
    const auto destination = m_folder / "joined.mp4";
    ASSERT_TRUE(writeQuickTimeFile(destination, m_request).has_value());
    ASSERT_GE(fractions.size(), 2u);
    EXPECT_EQ(fractions.front(), 0.0);
    EXPECT_EQ(fractions.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_EQ(entriesIn(m_folder), 1u) << "no temporary file is left beside the movie";
}

TEST_F(WriteAtomicityTest, CancellingAtTheStartLeavesNoFile) {
    m_request.progress = [](double) { return false; };
    auto written = writeQuickTimeFile(m_folder / "joined.mp4", m_request);
    ASSERT_FALSE(written.has_value());
    EXPECT_EQ(written.error().code, ECANCELED);
    EXPECT_EQ(entriesIn(m_folder), 0u);
}

TEST_F(WriteAtomicityTest, CancellingAtAnyLaterPointKeepsTheExistingFile) {
    // Answer false at the second, third, ... call: while copying, and after the header is written.
    for (int cancelAt = 1; cancelAt < 4; ++cancelAt) {
        SCOPED_TRACE("cancelled at call " + std::to_string(cancelAt));
        const auto destination = existingDestination();
        int calls = 0;
        bool cancelled = false;
        m_request.progress = [&](double) {
            cancelled = calls++ == cancelAt;
            return !cancelled;
        };
        auto written = writeQuickTimeFile(destination, m_request);
        if (!cancelled) {
            EXPECT_TRUE(written.has_value()); // fewer calls than that: it finished
            break;
        }
        ASSERT_FALSE(written.has_value());
        EXPECT_EQ(written.error().code, ECANCELED);
        EXPECT_EQ(contentsOf(destination), "an earlier movie");
        EXPECT_EQ(entriesIn(m_folder), 1u) << "the temporary file is removed";
    }
}

TEST_F(WriteAtomicityTest, AFailedWriteKeepsTheExistingFile) {
    const auto destination = existingDestination();
    const auto copy = m_folder / "source-copy.mp4";
    std::filesystem::copy_file(m_request.sources[1].path, copy);
    m_request.sources[1].path = copy;
    std::filesystem::resize_file(copy, 100); // the source changed after its index was read
    auto written = writeQuickTimeFile(destination, m_request);
    ASSERT_FALSE(written.has_value());
    EXPECT_FALSE(written.error().message.empty());
    EXPECT_EQ(contentsOf(destination), "an earlier movie");
    EXPECT_EQ(entriesIn(m_folder), 2u) << "the movie and the shortened source, nothing else";
}

TEST_F(WriteAtomicityTest, AnUnwritableFolderIsAnError) {
    auto written = writeQuickTimeFile(m_folder / "no-such-folder" / "joined.mp4", m_request);
    ASSERT_FALSE(written.has_value());
    EXPECT_EQ(written.error().code, ENOENT);
}

TEST_F(WriteAtomicityTest, BadRequestsAreRefusedBeforeWriting) {
    auto badSample = m_request;
    badSample.tracks[0].segments[0].sampleCount = 1000;
    auto badSource = m_request;
    badSource.tracks[1].segments[0].source = 7;
    auto badKind = m_request;
    badKind.tracks[0].handlerType = makeFourCC("soun");
    auto noScale = m_request;
    noScale.movieTimeScale = 0;
    for (const WriteRequest* request : {&badSample, &badSource, &badKind, &noScale}) {
        auto written = writeQuickTimeFile(m_folder / "joined.mp4", *request);
        ASSERT_FALSE(written.has_value());
        EXPECT_EQ(written.error().code, EINVAL);
    }
    EXPECT_EQ(entriesIn(m_folder), 0u);
}

} // namespace
