// Arbitrary bytes as the preferences file: the store must start (empty when
// the file is bad, which it then sets aside), and whatever it reads must be
// accepted by setValue, written, and read back as the very same values.

#include "FuzzWorkFolder.h"
#include "SameValue.h"
#include "platform/Preferences.h"

#include <QDateTime>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using testing_support::sameValue;

[[noreturn]] void fail(const char* what, const QString& key) {
    std::fprintf(stderr, "fuzz_preferences_file: %s (key \"%s\")\n", what, key.toUtf8().constData());
    std::abort();
}

const fs::path& workFolder() {
    return fuzz::workFolder("fuzz_preferences_file");
}

void emptyWorkFolder() {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(workFolder(), error)) {
        fs::remove_all(entry.path(), error);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path file = workFolder() / "preferences.plist";
    const fs::path copy = workFolder() / "copy.plist";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    QVariantMap values;
    {
        const platform::Preferences preferences(file);
        for (const QString& key : preferences.keys()) {
            if (!preferences.contains(key) || !preferences.value(key).isValid()) {
                fail("a listed key has no value", key);
            }
            values.insert(key, preferences.value(key));
        }
        if (preferences.setAsideFile() && !values.isEmpty()) {
            fail("a file set aside left values behind", values.firstKey());
        }
    }
    {
        platform::Preferences writer(copy);
        for (auto entry = values.cbegin(); entry != values.cend(); ++entry) {
            if (!writer.setValue(entry.key(), entry.value())) {
                fail("a value read from a file is refused", entry.key());
            }
        }
        if (!writer.synchronize() && !values.isEmpty()) {
            fail("writing the values failed", values.firstKey());
        }
    }
    if (!values.isEmpty()) {
        const platform::Preferences reader(copy);
        if (reader.keys() != values.keys()) {
            fail("the keys changed through a write", values.firstKey());
        }
        for (auto entry = values.cbegin(); entry != values.cend(); ++entry) {
            if (!sameValue(entry.value(), reader.value(entry.key()))) {
                fail("a value changed through a write", entry.key());
            }
        }
    }
    emptyWorkFolder();
    return 0;
}
