// Arbitrary bytes as the preferences file: the store must start (empty when
// the file is bad, which it then sets aside), and whatever it reads must be
// accepted by setValue, written, and read back as the very same values.

#include "FuzzWorkFolder.h"
#include "SameValue.h"
#include "platform/Preferences.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr const char* kTarget = "fuzz_preferences_file";
    const auto file = fuzz::writeInput(kTarget, "preferences.plist", data, size);
    const auto copy = fuzz::workFolder(kTarget) / "copy.plist";
    QVariantMap values;
    {
        const platform::Preferences preferences(file);
        for (const QString& key : preferences.keys()) {
            fuzz::check(preferences.contains(key) && preferences.value(key).isValid(), kTarget,
                        "a listed key has no value");
            values.insert(key, preferences.value(key));
        }
        fuzz::check(!preferences.setAsideFile() || values.isEmpty(), kTarget,
                    "a file set aside left values behind");
    }
    {
        platform::Preferences writer(copy);
        for (auto entry = values.cbegin(); entry != values.cend(); ++entry)
            fuzz::check(writer.setValue(entry.key(), entry.value()), kTarget, "a value read is refused");
        fuzz::check(writer.synchronize() || values.isEmpty(), kTarget, "writing the values failed");
    }
    if (!values.isEmpty()) {
        const platform::Preferences reader(copy);
        fuzz::check(reader.keys() == values.keys(), kTarget, "the keys changed through a write");
        for (auto entry = values.cbegin(); entry != values.cend(); ++entry)
            fuzz::check(testing_support::sameValue(entry.value(), reader.value(entry.key())), kTarget,
                        "a value changed through a write");
    }
    std::error_code ignored; // the next input starts from an empty folder
    for (const auto& entry : std::filesystem::directory_iterator(fuzz::workFolder(kTarget), ignored))
        std::filesystem::remove_all(entry.path(), ignored);
    return 0;
}
