#pragma once

#include "support/UserDefaults.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace media::filters {
class FilteredFrameReader;
}
namespace platform {
class DesktopServices;
class Preferences;
}
namespace tools {
class FilterRenderJob;
}

namespace ui {

namespace Ui {
class FilterWindow;
}
class CompletionSound;
class MovieView;

// The movie filter window: a movie shown through a chain of image filters
// chosen from the filter menu, rendered on request into a new MPEG-4 movie.
// The chain ("FilterNames"), the movie ("FilterMovie") and whether the
// preview applies the chain ("ApplyFilters", absent counts as on) are kept
// in the preferences.
class FilterWindow final : public QWidget {
    Q_OBJECT
public:
    FilterWindow(platform::Preferences& store, platform::DesktopServices& desktop, QWidget* parent = nullptr);
    ~FilterWindow() override;

    // Brings the window to the front and gives it the keyboard.
    void showWindow();

    // Shows the movie at `path` (none: no movie); remembered across runs.
    void setMovie(const std::optional<std::filesystem::path>& path);
    void selectMovie();
    std::optional<std::filesystem::path> moviePath() const { return m_moviePath; }

    // The chain: appends the menu's selected filter; removes the selected
    // rows, or all of them when none is selected.
    void addSelectedFilter();
    void removeFilters();
    const QStringList& chain() const { return m_chain; }

    // Plays the preview with the movie's sound; the pictures follow the
    // sound's clock (or the wall clock for a movie without sound).
    void play();
    void pause();
    bool isPlaying() const { return m_playTimer.isActive(); }
    // Where the preview's sound stands, in seconds; none while none plays.
    std::optional<double> soundTime() const;
    // Shows the frame at `seconds` through the preview's chain.
    void showFrameAt(double seconds);
    double currentTime() const { return m_time; }

    // Starts rendering into a file the user chooses, or stops the run going on.
    void filter();
    bool isRendering() const { return m_job != nullptr; }
    // Puts the current frame, through the whole chain, on the clipboard.
    void saveFrame();

    // How the output file is chosen (a save panel unless replaced, for tests).
    using OutputChooser = std::function<std::optional<std::filesystem::path>()>;
    void setOutputChooser(OutputChooser chooser) { m_chooseOutput = std::move(chooser); }

signals:
    void renderingFinished(bool succeeded);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectControls();
    void updateMovieFilters();
    void showNextFrame();
    // While playing: the frames due by the clock, the last of them shown.
    void showFramesDue();
    void showPicture(const QImage& picture, double seconds);
    void reloadTable();
    void storeChain();
    void finishRendering(bool succeeded);
    std::optional<std::filesystem::path> chooseOutputFile();
    bool shouldApplyFilters() const;

    std::unique_ptr<Ui::FilterWindow> m_ui;
    support::UserDefaults m_defaults;
    platform::DesktopServices& m_desktop;
    CompletionSound* m_sound;
    QString m_buttonTitle;

    std::optional<std::filesystem::path> m_moviePath;
    std::unique_ptr<media::filters::FilteredFrameReader> m_reader;
    double m_time = 0;
    QTimer m_playTimer;
    // The preview's sound: a player of the movie that decodes no picture.
    MovieView* m_soundPlayer;
    // Without sound the pictures keep to this clock, started at m_playStart seconds.
    QElapsedTimer m_playClock;
    double m_playStart = 0;
    // A frame read ahead of the clock, shown when its time comes.
    std::optional<std::pair<QImage, double>> m_nextFrame;
    QStringList m_chain;

    std::unique_ptr<tools::FilterRenderJob> m_job;
    OutputChooser m_chooseOutput;
};

} // namespace ui
