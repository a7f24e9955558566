// Copying byte spans between files: in the kernel where it can, by hand
// where it cannot (another file system), with progress and cancelling.

#include "SharedClips.h"
#include "media/quicktime/detail/FileWriting.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <numeric>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using media::quicktime::detail::copyBytes;
using media::quicktime::detail::writeAt;

// Sources in memory (tmpfs) and on disk: the first kind copies across file systems.
class FileCopyTest : public ::testing::TestWithParam<bool> {
protected:
    ~FileCopyTest() override {
        ::close(m_source);
        ::close(m_target);
    }
    const std::filesystem::path m_folder = fixtures::test::scratchFolder("copy");
    const int m_source = GetParam() ? ::memfd_create("source", MFD_CLOEXEC)
                                    : ::open((m_folder / "source").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    const int m_target = ::open((m_folder / "target").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
};

TEST_P(FileCopyTest, CopiesASpanStopsWhenCancelledAndASourceThatEndsEarlyIsAnError) {
    std::vector<std::uint8_t> bytes(40 << 20); // more than one piece of the copy
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    ASSERT_TRUE(writeAt(m_source, 0, bytes).has_value());
    std::vector<std::uint64_t> reports;
    auto copied = copyBytes(m_source, 1000, m_target, 77, bytes.size() - 2000, [&](std::uint64_t done) {
        reports.push_back(done);
        return true;
    });
    ASSERT_TRUE(copied.has_value()) << copied.error().message;
    std::vector<std::uint8_t> back(bytes.size() - 2000);
    ASSERT_EQ(::pread(m_target, back.data(), back.size(), 77), static_cast<ssize_t>(back.size()));
    EXPECT_TRUE(std::equal(back.begin(), back.end(), bytes.begin() + 1000));
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.back(), bytes.size() - 2000);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    int calls = 0;
    copied = copyBytes(m_source, 0, m_target, 0, bytes.size(), [&](std::uint64_t) { return ++calls < 2; });
    ASSERT_FALSE(copied.has_value());
    EXPECT_EQ(copied.error().code, ECANCELED);
    EXPECT_EQ(calls, 2);
    copied = copyBytes(m_source, bytes.size() - 500, m_target, 0, 1000, {});
    ASSERT_FALSE(copied.has_value());
    EXPECT_EQ(copied.error().code, EIO);
}

INSTANTIATE_TEST_SUITE_P(FromMemoryAndDisk, FileCopyTest, ::testing::Bool());

} // namespace
