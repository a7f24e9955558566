#pragma once

#include <QMainWindow>
#include <memory>

namespace ui {

namespace Ui {
class MainWindow;
}

// The main window (fileListWindow): the file table, its buttons, the status
// and total-duration lines, the spinner and the progress sheet.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

private:
    std::unique_ptr<Ui::MainWindow> m_ui;
};

} // namespace ui
