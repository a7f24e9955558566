#include "ui/MainWindow.h"

#include "ui_MainWindow.h"

namespace ui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::MainWindow>()) {
    m_ui->setupUi(this);
}

MainWindow::~MainWindow() = default;

} // namespace ui
