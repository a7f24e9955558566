#include "ui/FolderChooser.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace ui {

std::optional<std::filesystem::path>
DialogFolderChooser::chooseFolder(const QString& title, const QString& actionLabel, const QString& message) {
    // A folder dialog has no line for a message: the message, which says what
    // the folder is for, is the more telling window title.
    QFileDialog dialog(m_parent, message.isEmpty() ? title : message, QDir::homePath());
    dialog.setObjectName("folderChooser");
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::Accept, actionLabel);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString());
}

} // namespace ui
