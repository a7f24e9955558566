#include "ui/ComponentSettingsPanels.h"

#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "ui/FilePanels.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace ui {

namespace {

QString nameFilter(const QStringList& fileTypes) {
    QStringList patterns;
    for (const QString& type : fileTypes)
        patterns << "*." + type;
    return support::fillFormat(support::LocalizedString("Settings files (%@)"), {patterns.join(' ')});
}

std::filesystem::path localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

std::optional<std::filesystem::path> askSettingsFileToSave(QWidget& parent, const QString& requiredFileType,
                                                           const QString& suggestedName) {
    QFileDialog dialog(&parent, support::LocalizedString("Save Export Settings"), QDir::homePath());
    dialog.setObjectName("saveSettingsPanel");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setNameFilter(nameFilter({requiredFileType}));
    dialog.setDefaultSuffix(requiredFileType);
    dialog.selectFile(withRequiredExtension(suggestedName, requiredFileType));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const std::optional<QString> path = confirmedSavePath(dialog, requiredFileType);
    if (!path)
        return std::nullopt;
    return localPath(*path);
}

std::optional<std::filesystem::path> askSettingsFileToOpen(QWidget& parent, const QString& fileType) {
    const QStringList fileTypes{fileType};
    QFileDialog dialog(&parent, support::LocalizedString("Choose a settings file"), QDir::homePath());
    dialog.setObjectName("openSettingsPanel");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setLabelText(QFileDialog::Accept, support::LocalizedString("Choose"));
    dialog.setNameFilters({nameFilter(fileTypes), support::LocalizedString("All files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return localPath(dialog.selectedFiles().constFirst());
}

} // namespace ui
