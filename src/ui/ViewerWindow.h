#pragma once

#include "media/Time.h"

#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QTableView;

namespace app {
class Session;
}
namespace media {
class Movie;
}
namespace support {
class Job;
}
namespace tools {
class SaveSoundJob;
}

namespace ui {

namespace Ui {
class ViewerWindow;
}

class MovieView;

// The viewer (viewerWindow): the movie of the entry selected in the file
// table in a movie view, with the tools that act on it (save frame, movie
// and sound, split, poster frame, go to frame, rate, print) and Play All,
// which plays every entry in list order.
class ViewerWindow final : public QWidget {
    Q_OBJECT
public:
    explicit ViewerWindow(QWidget* parent = nullptr);
    ~ViewerWindow() override;

    // Follows `table`'s selection over the session's file list.
    void attach(app::Session& session, QTableView& table);

    // Shows the window in front of the others and gives it the keyboard.
    void showWindow();
    // The main window's Show Viewer: hides a visible viewer, else shows it.
    void toggle();

    MovieView& movieView() { return *m_view; }
    const std::shared_ptr<media::Movie>& selectedMovie() const { return m_selectedMovie; }
    bool isPlayingAll() const { return m_playingAll; }
    // Whether Split, Save Movie or Set Poster Frame is at work (its bar and Cancel shown).
    bool isRunningTool() const { return m_toolJob != nullptr; }

    // What Save asks for: the panel's label, the suggested name and the required extension.
    struct SaveRequest final {
        QString label;
        QString suggestedName;
        QString extension;
    };
    // The questions the window puts to the user: each is a panel unless set
    // here (tests answer them this way).
    struct Prompts final {
        // Asks for a file to write; none on Cancel.
        std::function<std::optional<QString>(const SaveRequest&)> askSavePath = {};
        // Shows the blocking stop alert.
        std::function<void(const QString&)> showStopAlert = {};
        // Sets up the printer for Print; false on Cancel.
        std::function<bool(QPrinter&)> setUpPrinter = {};
    };
    void setPrompts(Prompts prompts) { m_prompts = std::move(prompts); }

signals:
    // Shown or hidden (the main window's Show Viewer mirrors it).
    void visibilityChanged(bool visible);
    // A line for the main window's status line.
    void statusChanged(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private slots:
    // What the window's controls and the table's selection do.
    void showSelection();
    void goToFrame();
    void setRate();
    void setPosterFrame();
    void goToPosterFrame();
    void saveCurrentFrame();
    void saveMovie();
    void splitMovie();
    void saveSound();
    void printFrame();
    void cancelTool();
    void playAll();
    void stopPlayAll();

private:
    // Prints the current frame on `printer`, scaled to its page; false when
    // the view shows no frame.
    [[nodiscard]] bool printFrameOn(QPrinter& printer);
    void setMovie(const std::shared_ptr<media::Movie>& movie);
    void setToolsEnabled(bool enabled);
    void playNextMovie();
    void playAllTick();
    void updateTransport();
    void soundFinished(bool succeeded);
    // Runs a tool's job off the window's thread with the bar and Cancel shown
    // and the tools off; `done` reads its end on the window's thread.
    void startToolJob(std::unique_ptr<support::Job> job, std::function<void(const support::Job&)> done);
    void finishToolJob();
    std::optional<QString> askSavePath(const SaveRequest& request);
    // Waits until a step of the view has landed (or nothing more happens).
    void waitForStep(double before);

    std::unique_ptr<Ui::ViewerWindow> m_ui;
    MovieView* m_view;
    app::Session* m_session = nullptr;
    QTableView* m_table = nullptr;
    std::shared_ptr<media::Movie> m_selectedMovie;
    int m_selectedRow = -1;
    bool m_playingAll = false;
    int m_playIndex = 0;
    QTimer m_playAllTimer;
    std::shared_ptr<media::Movie> m_playAllMovie;
    tools::SaveSoundJob* m_soundJob = nullptr;
    std::unique_ptr<support::Job> m_toolJob;
    std::function<void(const support::Job&)> m_toolDone;
    Prompts m_prompts;
};

} // namespace ui
