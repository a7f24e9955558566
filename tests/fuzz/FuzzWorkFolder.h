#pragma once

// A private folder for fuzz targets that must go through files: memory-backed
// when possible (every write is flushed to disk, which would otherwise
// dominate the time of a run), made once and removed when the process ends.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzz {

inline const std::filesystem::path& workFolder(const char* targetName) {
    static const std::filesystem::path folder = [targetName] {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path base =
            fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / (std::string(targetName) + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        return fs::path(pattern);
    }();
    static const bool removedAtExit = [] {
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(folder, error);
        });
        return true;
    }();
    (void)removedAtExit;
    return folder;
}

} // namespace fuzz
