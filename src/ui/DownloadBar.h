#pragma once

#include <QObject>
#include <filesystem>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace filelist {
class FileList;
}
namespace support {
class Console;
class UserDefaults;
} // namespace support
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

    // Downloads go to the folder the preferences in defaults name, and into list.
    DownloadBar(const Widgets& widgets, filelist::FileList& list, support::UserDefaults& defaults,
                support::Console& console);
    ~DownloadBar() override;

    // Where dropped web addresses go.
    net::DownloadQueue& queue() { return *m_queue; }

signals:
    // A line for the status line (the queue's count, a file not added).
    void statusChanged(const QString& text);

private:
    void show(bool shown);
    void addToList(const std::filesystem::path& file, const QString& title);
    void tellFailure(const QString& message, const QString& address);

    Widgets m_widgets;
    filelist::FileList& m_list;
    support::Console& m_console;
    std::unique_ptr<net::DownloadQueue> m_queue;
};

} // namespace ui
