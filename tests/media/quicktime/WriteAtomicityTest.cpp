// Writes are all or nothing: a cancelled or failed write leaves no file
// behind and never replaces a file already at the destination.

#include "FileContents.h"
#include "JoinChecks.h"
#include "SharedClips.h"
#include "media/quicktime/QuickTimeFileWriter.h"

#include <gtest/gtest.h>

namespace {

using namespace media::quicktime;
using testing_support::contentsOf;
using testing_support::namesIn;

class WriteAtomicityTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_request = quicktime_test::joinRequest(
            {fixtures::test::h264AacClip("mp4", 25), fixtures::test::h264AacClip("mp4", 30)},
            OutputKind::Mpeg4);
        m_request.chapters = {{"One", 600}, {"Two", 720}};
    }
    void writeEarlierMovie() const { testing_support::writeFile(m_destination, "an earlier movie"); }
    const std::filesystem::path m_folder =
        fixtures::test::scratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    const std::filesystem::path m_destination = m_folder / "joined.mp4";
    WriteRequest m_request;
};

// Cancelled at any call of the progress (before writing, while copying,
// after the header), a write leaves no file, or the one there before; not
// cancelled, the progress rises to 1 and the complete file appears.
TEST_F(WriteAtomicityTest, CancellingKeepsWhatWasThereAndProgressRisesToOne) {
    for (std::size_t cancelAt = 0;; ++cancelAt) {
        SCOPED_TRACE("cancelled at call " + std::to_string(cancelAt));
        if (cancelAt > 0)
            writeEarlierMovie();
        std::vector<double> fractions;
        m_request.progress = [&](double fraction) {
            fractions.push_back(fraction);
            return fractions.size() <= cancelAt;
        };
        const auto written = writeQuickTimeFile(m_destination, m_request);
        if (fractions.size() <= cancelAt) { // fewer calls than that: it finished
            ASSERT_TRUE(written.has_value()) << written.error().message;
            ASSERT_GE(fractions.size(), 2u);
            EXPECT_EQ(fractions.front(), 0.0);
            EXPECT_EQ(fractions.back(), 1.0);
            EXPECT_TRUE(std::ranges::is_sorted(fractions));
            EXPECT_EQ(namesIn(m_folder), std::vector<std::string>{"joined.mp4"})
                << "no temporary file is left";
            break;
        }
        ASSERT_FALSE(written.has_value());
        EXPECT_EQ(written.error().code, ECANCELED);
        EXPECT_EQ(namesIn(m_folder),
                  cancelAt == 0 ? std::vector<std::string>{} : std::vector<std::string>{"joined.mp4"});
        if (cancelAt > 0) {
            EXPECT_EQ(contentsOf(m_destination), "an earlier movie");
        }
    }
}

TEST_F(WriteAtomicityTest, AFailedWriteKeepsTheExistingFile) {
    auto written = writeQuickTimeFile(m_folder / "no-such-folder" / "joined.mp4", m_request);
    ASSERT_FALSE(written.has_value());
    EXPECT_EQ(written.error().code, ENOENT) << "an unwritable folder";
    writeEarlierMovie();
    const auto copy = m_folder / "source-copy.mp4";
    std::filesystem::copy_file(m_request.sources[1].path, copy);
    m_request.sources[1].path = copy;
    std::filesystem::resize_file(copy, 100); // the source changed after its index was read
    written = writeQuickTimeFile(m_destination, m_request);
    ASSERT_FALSE(written.has_value());
    EXPECT_FALSE(written.error().message.empty());
    EXPECT_EQ(contentsOf(m_destination), "an earlier movie");
    EXPECT_EQ(namesIn(m_folder), (std::vector<std::string>{"joined.mp4", "source-copy.mp4"}));
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
        auto written = writeQuickTimeFile(m_destination, *request);
        ASSERT_FALSE(written.has_value());
        EXPECT_EQ(written.error().code, EINVAL);
    }
    EXPECT_TRUE(namesIn(m_folder).empty());
}

} // namespace
