#pragma once

#include <QObject>
#include <filesystem>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace app {
class JoinClipController;
}
namespace net {
class DownloadQueue;
}

namespace ui {

// The main window's download bar over the download queue: the progress line,
// the bar and the cancel button while a download runs, the queue count in the
// status line, an alert sheet for a failed download, the name-and-password
// sheet, and each finished file appended to the list under its title.
class DownloadBar final : public QObject {
    Q_OBJECT
public:
    struct Widgets final {
        QWidget& window;
        QWidget& row; // holds the line, the bar and the button; hidden while idle
        QLabel& line;
        QProgressBar& bar;
        QPushButton& cancelButton;
    };

    DownloadBar(const Widgets& widgets, app::JoinClipController& controller);
    ~DownloadBar() override;

    // Where dropped web addresses go.
    net::DownloadQueue& queue() { return *m_queue; }

private:
    void show(bool shown);
    void addToList(const std::filesystem::path& file, const QString& title);
    void tellFailure(const QString& message, const QString& address);

    Widgets m_widgets;
    app::JoinClipController& m_controller;
    std::unique_ptr<net::DownloadQueue> m_queue;
};

} // namespace ui
