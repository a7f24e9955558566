#include "ui/FilePanels.h"

#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace ui {

namespace {

std::filesystem::path pathOf(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}

QString textOf(const std::filesystem::path& path) {
    return QFile::decodeName(path.c_str());
}

// The extension as the file dialog's suffix wants it: without the dot.
QString suffixOf(const QString& extension) {
    return extension.startsWith('.') ? extension.mid(1) : extension;
}

} // namespace

QString withRequiredExtension(const QString& path, const std::optional<QString>& requiredExtension) {
    if (!requiredExtension || requiredExtension->isEmpty())
        return path;
    const QString extension =
        requiredExtension->startsWith('.') ? *requiredExtension : QStringLiteral(".") + *requiredExtension;
    if (path.endsWith(extension, Qt::CaseInsensitive))
        return path;
    return path + extension;
}

std::optional<QString> confirmedSavePath(QFileDialog& dialog, const std::optional<QString>& requiredExtension) {
    if (dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    const QString path = withRequiredExtension(chosen, requiredExtension);
    if (path != chosen && QFileInfo::exists(path)) {
        const auto answer = QMessageBox::question(
            dialog.parentWidget(), dialog.windowTitle(),
            support::fillFormat(support::LocalizedString("\"%@\" already exists. Do you want to replace it?"),
                                {QFileInfo(path).fileName()}));
        if (answer != QMessageBox::Yes)
            return std::nullopt;
    }
    return path;
}

std::optional<std::filesystem::path> askSavePath(QWidget& window,
                                                 const std::optional<std::filesystem::path>& startFolder,
                                                 const QString& suggestedName,
                                                 const std::optional<QString>& requiredExtension) {
    QFileDialog dialog(&window);
    dialog.setObjectName("savePanel");
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (startFolder)
        dialog.setDirectory(textOf(*startFolder));
    if (requiredExtension && !requiredExtension->isEmpty()) {
        const QString suffix = suffixOf(*requiredExtension);
        dialog.setDefaultSuffix(suffix);
        dialog.setNameFilter(QStringLiteral("*.%1").arg(suffix));
    }
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const std::optional<QString> path = confirmedSavePath(dialog, requiredExtension);
    if (!path)
        return std::nullopt;
    return pathOf(*path);
}

std::optional<std::filesystem::path> askOpenPath(QWidget& window, const QString& title, const QString& prompt,
                                                 const QStringList& extensions) {
    QFileDialog dialog(&window, title);
    dialog.setObjectName("openPanel");
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setLabelText(QFileDialog::Accept, prompt);
    if (!extensions.isEmpty()) {
        QStringList patterns;
        for (const QString& extension : extensions)
            patterns << QStringLiteral("*.") + extension;
        dialog.setNameFilter(patterns.join(' '));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return pathOf(dialog.selectedFiles().constFirst());
}

} // namespace ui
