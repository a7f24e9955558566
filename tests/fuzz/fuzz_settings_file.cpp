// Arbitrary bytes as a settings file (.qxst): reading never crashes, and what
// it reads is written and read back as the very same settings.

#include "FuzzWorkFolder.h"
#include "join/SettingsFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path file = fuzz::workFolder("fuzz_settings_file") / "input.qxst";
    const fs::path copy = fuzz::workFolder("fuzz_settings_file") / "copy.qxst";
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
