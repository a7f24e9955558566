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

class Descriptor final {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { ::close(m_fd); }
    int get() const { return m_fd; }

private:
    int m_fd;
};

std::vector<std::uint8_t> pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    return bytes;
}

std::vector<std::uint8_t> readAll(int fd, std::size_t size, std::uint64_t at) {
    std::vector<std::uint8_t> bytes(size);
    EXPECT_EQ(::pread(fd, bytes.data(), size, static_cast<off_t>(at)), static_cast<ssize_t>(size));
    return bytes;
}

// Sources in memory (tmpfs) and on disk: the first kind copies across file systems.
class FileCopyTest : public ::testing::TestWithParam<bool> {
protected:
    int makeSource(const std::vector<std::uint8_t>& bytes) {
        const int fd = GetParam() ? ::memfd_create("source", MFD_CLOEXEC)
                                  : ::open((m_folder / "source").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        EXPECT_TRUE(writeAt(fd, 0, bytes).has_value());
        return fd;
    }
    std::filesystem::path m_folder = fixtures::test::scratchFolder("copy");
};

TEST_P(FileCopyTest, CopiesASpanStopsWhenCancelledAndASourceThatEndsEarlyIsAnError) {
    const auto bytes = pattern(40 << 20); // more than one piece of the copy
    Descriptor source(makeSource(bytes));
    Descriptor target(::open((m_folder / "target").c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600));
    std::vector<std::uint64_t> reports;
    auto copied =
        copyBytes(source.get(), 1000, target.get(), 77, bytes.size() - 2000, [&](std::uint64_t done) {
            reports.push_back(done);
            return true;
        });
    ASSERT_TRUE(copied.has_value()) << copied.error().message;
    const auto back = readAll(target.get(), bytes.size() - 2000, 77);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), bytes.begin() + 1000));
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.back(), bytes.size() - 2000);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));

    int calls = 0;
    copied =
        copyBytes(source.get(), 0, target.get(), 0, bytes.size(), [&](std::uint64_t) { return ++calls < 2; });
    ASSERT_FALSE(copied.has_value());
    EXPECT_EQ(copied.error().code, ECANCELED);
    EXPECT_EQ(calls, 2);
    copied = copyBytes(source.get(), bytes.size() - 500, target.get(), 0, 1000, {});
    ASSERT_FALSE(copied.has_value());
    EXPECT_EQ(copied.error().code, EIO);
}

INSTANTIATE_TEST_SUITE_P(FromMemoryAndDisk, FileCopyTest, ::testing::Bool());

} // namespace
