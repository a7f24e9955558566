// Arbitrary bytes as a settings file (.qxst): reading never crashes, and what
// it reads is written and read back as the very same settings.

#include "join/SettingsFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path& workFolder() {
    static const fs::path folder = [] {
        std::error_code error;
        const fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "fuzz_settings_file-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        std::atexit([] {
            std::error_code error;
            fs::remove_all(workFolder(), error);
        });
        return fs::path(pattern);
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path file = workFolder() / "input.qxst";
    const fs::path copy = workFolder() / "copy.qxst";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const auto settings = join::readSettingsFile(file);
    if (!settings)
        return 0;
    if (!join::writeSettingsFile(copy, *settings)) {
        // Only a title holding U+0000 has no property-list form.
        for (const QString& title : settings->keys())
            if (title.contains(QChar(0)))
                return 0;
        std::fprintf(stderr, "fuzz_settings_file: settings read from a file could not be written\n");
        std::abort();
    }
    if (join::readSettingsFile(copy) != settings) {
        std::fprintf(stderr, "fuzz_settings_file: settings changed through a write\n");
        std::abort();
    }
    return 0;
}
