#pragma once

// Helpers of the fuzz targets: a check that aborts (failing the run) with a
// reason, and a private folder for targets that must go through files.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fuzz {

inline void check(bool holds, const char* target, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "%s: %s\n", target, what);
        std::abort();
    }
}

// Memory-backed when possible (flushing every write to disk would dominate a
// run's time), made once and removed when the process ends.
inline const std::filesystem::path& workFolder(const char* targetName) {
    static const std::filesystem::path folder = [targetName] {
        std::error_code error;
        const auto base = std::filesystem::is_directory("/dev/shm", error)
                              ? std::filesystem::path("/dev/shm")
                              : std::filesystem::temp_directory_path();
        std::string pattern = (base / (std::string(targetName) + "-XXXXXX")).string();
        check(::mkdtemp(pattern.data()) != nullptr, targetName, "cannot make a work folder");
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return folder;
}

// The fuzz input as the file `name` in the target's work folder (the layers under test open paths).
inline std::filesystem::path writeInput(const char* targetName, const char* name, const std::uint8_t* data,
                                        std::size_t size) {
    const auto file = workFolder(targetName) / name;
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return file;
}

} // namespace fuzz
