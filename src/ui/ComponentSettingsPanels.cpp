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

// Qt's save dialogs always show the extension, so canHideExtension has nothing to switch.
std::optional<std::filesystem::path>
DialogComponentSettingsPanels::runSaveSettingsPanel(const QString& requiredFileType,
                                                    const QString& suggestedName, bool /*canHideExtension*/) {
    QFileDialog dialog(&m_parent, support::LocalizedString("Save Export Settings"), QDir::homePath());
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

std::optional<std::filesystem::path>
DialogComponentSettingsPanels::runOpenSettingsPanel(const QString& title, const QString& prompt,
                                                    const QStringList& fileTypes) {
    QFileDialog dialog(&m_parent, title, QDir::homePath());
    dialog.setObjectName("openSettingsPanel");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setLabelText(QFileDialog::Accept, prompt);
    dialog.setNameFilters({nameFilter(fileTypes), support::LocalizedString("All files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return localPath(dialog.selectedFiles().constFirst());
}

} // namespace ui
