#pragma once

#include "support/UserDefaults.h"
#include "tools/SplitTimes.h"

#include <QImage>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>

namespace media {
class Movie;
}
namespace platform {
class Preferences;
}
namespace tools {
class FrameImagesJob;
class SplitMovieJob;
}

namespace ui {

namespace Ui {
class SplitterWindow;
}

// The movie splitter window: a movie to watch, the list of times to cut it
// at (added from the movie's current time), and Split, which writes each
// span between neighbouring times as a movie of its own beside the source,
// named "NAME [START].mov". The movie ("SplitterMovie") is kept across runs;
// the times belong to the window and stay when another movie is chosen.
class SplitterWindow final : public QWidget {
    Q_OBJECT
public:
    explicit SplitterWindow(platform::Preferences& store, QWidget* parent = nullptr);
    ~SplitterWindow() override;

    void showWindow();
    void setMovie(const std::optional<std::filesystem::path>& path);
    void selectMovie();
    std::optional<std::filesystem::path> moviePath() const { return m_moviePath; }

    // Adds the movie's current time to the list; removes the selected times.
    void addCurrentTime();
    void removeSelectedTimes();
    const tools::SplitTimes& times() const { return m_times; }

    // Writes the pieces (the stop alert when the list is empty).
    void split();
    bool isSplitting() const { return m_job != nullptr; }
    void cancelSplit();
    // Whether frame images of the list are still being decoded.
    bool isMakingFrameImages() const { return m_frameImagesJob != nullptr; }

signals:
    void splitFinished(bool succeeded);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectControls();
    void reloadTable();
    void selectTime(int row);
    void finishSplit(bool succeeded);
    void showMessage(const QString& text);
    // The frame column: pictures already made are shown, the others are
    // decoded off the window's thread and shown as they come.
    void showFrameImages();
    void stopFrameImages();
    void frameImageReady(const media::Time& time, const QImage& image);

    std::unique_ptr<Ui::SplitterWindow> m_ui;
    support::UserDefaults m_defaults;
    std::optional<std::filesystem::path> m_moviePath;
    std::shared_ptr<media::Movie> m_movie; // for the frame images and the duration
    tools::SplitTimes m_times;
    std::unique_ptr<tools::SplitMovieJob> m_job;
    std::unique_ptr<tools::FrameImagesJob> m_frameImagesJob;
    std::vector<std::pair<media::Time, QImage>> m_frameImages; // of this movie, by time
    int m_frameImagesGeneration = 0;
};

} // namespace ui
