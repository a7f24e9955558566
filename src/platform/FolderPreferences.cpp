#include "platform/FolderPreferences.h"

#include "platform/FileReference.h"

#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <system_error>

namespace platform {

namespace {

constexpr std::size_t kMaxUsablePathSize = 1022;
constexpr std::size_t kMaxDisplayPathSize = 254;

const QString kOutputDirectory = QStringLiteral("OutputDirectory");
const QString kDestinationDirectory = QStringLiteral("DestinationDirectory");

bool isFolder(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

std::optional<std::filesystem::path> usable(std::optional<std::filesystem::path> folder) {
    if (folder && folder->native().size() > kMaxUsablePathSize)
        return std::nullopt;
    return folder;
}

std::optional<QString> displayText(const std::filesystem::path& folder) {
    if (folder.native().size() > kMaxDisplayPathSize)
        return std::nullopt;
    return QFile::decodeName(QByteArray::fromStdString(folder.native()));
}

} // namespace

std::optional<std::filesystem::path> CopyFolderPreference(const Preferences& preferences,
                                                          const QString& key) {
    const QVariant value = preferences.value(key);
    if (value.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    const QByteArray data = value.toByteArray();
    if (data.isEmpty())
        return std::nullopt;
    auto folder = stringWithAlias(data);
    if (!folder || !isFolder(*folder))
        return std::nullopt;
    return folder;
}

std::optional<std::filesystem::path> CopyOutputFolderPath(const Preferences& preferences) {
    return usable(CopyFolderPreference(preferences, kOutputDirectory));
}

std::optional<std::filesystem::path> CopyDestinationFolderPath(const Preferences& preferences) {
    if (auto folder = CopyFolderPreference(preferences, kDestinationDirectory))
        return usable(std::move(folder));
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (downloads.isEmpty())
        return std::nullopt;
    std::filesystem::path folder(QFile::encodeName(downloads).toStdString());
    if (!isFolder(folder))
        return std::nullopt;
    return usable(std::move(folder));
}

std::optional<QString> ChooseFolderPreference(Preferences& preferences, FolderChooser& chooser,
                                              const FolderQuestion& question, const QString& key) {
    const auto folder = chooser.chooseFolder(question.title, question.actionLabel, question.message);
    if (!folder || !isFolder(*folder))
        return std::nullopt;
    const QByteArray data = getAlias(*folder);
    if (data.isEmpty() || !preferences.setValue(key, data))
        return std::nullopt;
    // A failed write keeps the change pending: the next synchronize tries again.
    (void)preferences.synchronize();
    return displayText(*folder);
}

void ClearFolderPreference(Preferences& preferences, const QString& key) {
    preferences.remove(key);
    (void)preferences.synchronize(); // as above: a failed write stays pending
}

QString folderPreferenceDisplayText(const std::optional<std::filesystem::path>& folder) {
    if (!folder)
        return {};
    return displayText(*folder).value_or(QString());
}

} // namespace platform
