// Arbitrary bytes as a settings file (.qxst): reading never crashes, and what
// it reads is written and read back as the very same settings.

#include "FuzzWorkFolder.h"
#include "join/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzz::writeInput("fuzz_settings_file", "input.qxst", data, size);
    const auto copy = fuzz::workFolder("fuzz_settings_file") / "copy.qxst";
    const auto settings = join::readSettingsFile(file);
    if (!settings)
        return 0;
    if (!join::writeSettingsFile(copy, *settings)) {
        // Only a title holding U+0000 has no property-list form.
        for (const QString& title : settings->keys())
            if (title.contains(QChar(0)))
                return 0;
        fuzz::check(false, "fuzz_settings_file", "settings read from a file could not be written");
    }
    fuzz::check(join::readSettingsFile(copy) == settings, "fuzz_settings_file",
                "settings changed through a write");
    return 0;
}
