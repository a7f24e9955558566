#include "ui/AddFilesPanel.h"

#include "app/ListCommands.h"
#include "filelist/EntryFiles.h"
#include "support/LocalizedString.h"
#include "ui/FileTable.h"
#include "ui/FileTableModel.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace ui {

bool AddFilesFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files)
        return true;
    const QModelIndex index = files->index(sourceRow, 0, sourceParent);
    if (files->isDir(index))
        return true;
    const std::string path = QFile::encodeName(files->filePath(index)).toStdString();
    const auto judged = m_judged.find(path);
    if (judged != m_judged.end())
        return judged->second;
    const bool shown = filelist::shouldShowFilename(path);
    m_judged.emplace(path, shown);
    return shown;
}

std::filesystem::path fileOfPanelName(const QString& path) {
    const std::filesystem::path file = QFile::encodeName(path).toStdString();
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(file, error)))
        return file;
    // A name that is not UTF-8 reaches the panel decoded, its odd bytes made
    // replacement characters: the file is the one in its folder whose name
    // decodes the same. Two such files cannot be told apart; neither is taken.
    const QString wanted = QFileInfo(path).fileName();
    std::optional<std::filesystem::path> found;
    for (std::filesystem::directory_iterator entry(file.parent_path(), error), end; !error && entry != end;
         entry.increment(error)) {
        if (QFile::decodeName(entry->path().filename().c_str()) != wanted)
            continue;
        if (found)
            return file;
        found = entry->path();
    }
    return found.value_or(file);
}

QStringList typedNames(const QString& text) {
    const QString trimmed = text.trimmed();
    if (!trimmed.startsWith(u'"'))
        return trimmed.isEmpty() ? QStringList() : QStringList{trimmed};
    QStringList names;
    for (const QString& part : trimmed.split(u'"'))
        if (!part.trimmed().isEmpty())
            names << part;
    return names;
}

std::optional<std::vector<std::filesystem::path>> chooseFilesAndFolders(QWidget& parent) {
    QFileDialog dialog(&parent, support::LocalizedString("Choose files"));
    dialog.setObjectName("addFilesPanel");
    // Qt's own panel: the platform's cannot take files and folders in one choice.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setLabelText(QFileDialog::Accept, support::LocalizedString("Choose"));

    // Choose takes the typed names and the selected rows, folders included;
    // with neither the panel does what it always does with the name field.
    std::vector<std::filesystem::path> chosen;
    const auto take = [&chosen](const QString& path) {
        const std::filesystem::path file = fileOfPanelName(path);
        if (std::find(chosen.begin(), chosen.end(), file) == chosen.end())
            chosen.push_back(file);
    };
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    auto* nameField = dialog.findChild<QLineEdit*>("fileNameEdit");
    // The panel's list and detail views of the folder (not its side bar of places).
    QList<QAbstractItemView*> views;
    for (const char* name : {"listView", "treeView"})
        if (auto* view = dialog.findChild<QAbstractItemView*>(name))
            views.append(view);
    QDialog& panel = dialog; // accept and done are public as QDialog's
    if (buttons) {
        QObject::disconnect(buttons, &QDialogButtonBox::accepted, &dialog, nullptr);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
            const QDir folder = dialog.directory();
            if (nameField)
                for (const QString& name : typedNames(nameField->text()))
                    take(folder.absoluteFilePath(name));
            for (QAbstractItemView* view : views) {
                if (!view->isVisible() || !view->selectionModel())
                    continue;
                for (const QModelIndex& index : view->selectionModel()->selectedRows()) {
                    const QString path = index.data(QFileSystemModel::FilePathRole).toString();
                    if (!path.isEmpty())
                        take(path);
                }
                break;
            }
            if (chosen.empty())
                panel.accept();
            else
                panel.done(QDialog::Accepted);
        });
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (chosen.empty())
        for (const QString& file : dialog.selectedFiles())
            chosen.push_back(fileOfPanelName(file));
    return chosen;
}

std::optional<std::filesystem::path> chooseMovie(QWidget& parent) {
    QFileDialog panel(&parent, support::LocalizedString("Choose file"));
    panel.setOption(QFileDialog::DontUseNativeDialog);
    panel.setFileMode(QFileDialog::ExistingFile);
    panel.setLabelText(QFileDialog::Accept, support::LocalizedString("Choose"));
    panel.setProxyModel(new AddFilesFilter(&panel));
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return std::nullopt;
    return fileOfPanelName(panel.selectedFiles().front());
}

void runAddFilesPanel(QWidget& parent, app::ListCommands& commands) {
    if (auto paths = chooseFilesAndFolders(parent))
        commands.addFiles(std::move(*paths));
}

} // namespace ui
