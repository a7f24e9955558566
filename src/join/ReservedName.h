#pragma once

#include "media/Error.h"
#include "media/FilesInProgress.h"

#include <cerrno>
#include <expected>
#include <filesystem>
#include <memory>
#include <optional>
#include <sys/types.h>

namespace join {

// A new output name made ours before anything is written: an empty file
// linked there (created exclusively where a file system keeps no links), so
// that no other file, and no other run choosing a name at the same moment, can
// be there or be replaced. The writer
// then replaces this empty file with the finished one. When the reservation
// ends and the empty file is still there (the write failed, was cancelled,
// or never started), it is removed; the finished file is never touched.
class ReservedName final {
public:
    // Makes `path` ours, or says why not (code EEXIST: the name is taken).
    [[nodiscard]] static std::expected<ReservedName, media::Error> reserve(const std::filesystem::path& path);

    ReservedName(ReservedName&& other) noexcept;
    ReservedName& operator=(ReservedName&&) = delete;
    ReservedName(const ReservedName&) = delete;
    ReservedName& operator=(const ReservedName&) = delete;
    ~ReservedName();

    const std::filesystem::path& path() const { return m_path; }

private:
    ReservedName(std::filesystem::path path, dev_t device, ino_t inode,
                 std::unique_ptr<media::FileInProgress> inProgress);
    static std::expected<ReservedName, media::Error> reserveInPlace(const std::filesystem::path& path);

    std::filesystem::path m_path; // empty once moved from
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::unique_ptr<media::FileInProgress> m_inProgress;
};

// The first of `candidates(0)`, `candidates(1)`, ... that can be reserved,
// trying at most `attempts`; none when none can (or a candidate is none).
template <typename Candidates>
std::optional<ReservedName> reserveFirstFree(Candidates candidates, int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const std::optional<std::filesystem::path> candidate = candidates(attempt);
        if (!candidate)
            return std::nullopt;
        auto reserved = ReservedName::reserve(*candidate);
        if (reserved)
            return std::move(*reserved);
        if (reserved.error().code != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace join
