#pragma once

#include "platform/FolderChooser.h"

class QWidget;

namespace ui {

// The folder chooser of the windows: a folder dialog over parent (none: no
// window of its own to centre on), application-modal. Answers the folder
// chosen, none when the user cancelled.
class DialogFolderChooser final : public platform::FolderChooser {
public:
    explicit DialogFolderChooser(QWidget* parent = nullptr) : m_parent(parent) {}

    std::optional<std::filesystem::path> chooseFolder(const QString& title, const QString& actionLabel,
                                                      const QString& message) override;

private:
    QWidget* m_parent;
};

} // namespace ui
