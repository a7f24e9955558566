#include "join/SettingsFile.h"

#include "platform/PropertyListFile.h"

namespace join {

bool writeSettingsFile(const std::filesystem::path& file, const SettingsDictionary& settings) {
    return platform::writePropertyListFile(file, settingsPreferenceValue(settings).toMap());
}

std::optional<SettingsDictionary> readSettingsFile(const std::filesystem::path& file) {
    const auto dictionary = platform::readPropertyListFile(file);
    if (!dictionary)
        return std::nullopt;
    return settingsFromPreferenceValue(*dictionary);
}

QVariant settingsPreferenceValue(const SettingsDictionary& settings) {
    QVariantMap map;
    for (auto entry = settings.cbegin(); entry != settings.cend(); ++entry)
        map.insert(entry.key(), entry.value());
    return map;
}

SettingsDictionary settingsFromPreferenceValue(const QVariant& value) {
    SettingsDictionary settings;
    if (value.metaType().id() != QMetaType::QVariantMap)
        return settings;
    const QVariantMap map = value.toMap();
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry)
        if (entry.value().metaType().id() == QMetaType::QByteArray)
            settings.insert(entry.key(), entry.value().toByteArray());
    return settings;
}

} // namespace join
