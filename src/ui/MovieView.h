#pragma once

#include "media/Time.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

struct mpv_handle;
struct mpv_render_context;

namespace ui {

// Plays one movie file in a widget through libmpv's software renderer, which
// works on a real screen, under Xvfb and offscreen alike: picture and sound
// in sync, play and pause, rate, exact seeks and single-frame steps. Loading,
// seeking and stepping are asynchronous; what changes is announced by the
// signals below once libmpv has done it.
class MovieView final : public QWidget {
    Q_OBJECT
public:
    // What the player decodes: the picture and the sound, or only the sound
    // (a sound clock for pictures made elsewhere).
    enum class Output { PictureAndSound, SoundOnly };

    explicit MovieView(QWidget* parent = nullptr, Output output = Output::PictureAndSound);
    ~MovieView() override;

    // Starts loading `path`, paused at its beginning; loaded() follows.
    // False when the player could not be made (no libmpv at run time).
    bool open(const QString& path);
    // Shows nothing again (the fill colour).
    void close();
    // Whether a movie is loaded and ready to play or step.
    bool isLoaded() const { return m_loaded; }
    // Whether the last open failed (the file could not be played).
    bool failedToLoad() const { return m_failed; }

    // Plays from the current time; asked while a movie loads, plays once it has.
    void play();
    void pause();
    bool isPlaying() const { return m_loaded && !m_paused && !m_atEnd; }
    // Playback speed, 1 the normal speed; applies to the next play too.
    void setRate(double rate);

    // Pauses on the last frame.
    void gotoEnd();
    // Moves `frames` frames exactly, later when positive, earlier when
    // negative (decoding from the key frame before where needed), and pauses.
    void step(int frames);

    // Where the movie is: the start time of the frame shown, in seconds.
    double currentSeconds() const { return m_time; }
    // The same as a time of `scale`, rounded up to the unit, so that a tool
    // asking for the frame "at" this time gets the frame shown, never the one before.
    media::Time currentTime(std::int32_t scale) const;
    // Seeks exactly (the frame whose display interval holds the time); 0 is the beginning.
    void setCurrentSeconds(double seconds);
    double durationSeconds() const { return m_duration; }
    // Whether playback stands at the end of the movie.
    bool isAtEnd() const { return m_atEnd; }

    // A range of the movie the user marked (zero duration: none).
    media::TimeRange selection() const { return m_selection; }
    void setSelection(const media::TimeRange& range);

    // Painted where there is no picture; transparent by default.
    void setFillColor(const QColor& colour);

    // The frame shown, at the movie's natural size in its display aspect;
    // none without a movie or before its first frame.
    std::optional<QImage> grabFrame() const;
    // How far the sound clock is ahead of the picture clock, in seconds;
    // none while no sound plays.
    std::optional<double> soundAheadOfPicture() const;

signals:
    // The current time changed (playing, seeking or stepping).
    void timeChanged(double seconds);
    // Playing, paused, loaded, ended: anything isPlaying/isLoaded/isAtEnd report.
    void stateChanged();
    void loaded();
    // Playback stopped at the end of the movie.
    void endReached();
    // A seek or step finished and its frame is shown.
    void seekFinished();
    // A new picture was painted into the view.
    void frameRendered();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool ensurePlayer();
    void handleEvents();
    void renderFrame();
    void drawPicture();
    void command(std::initializer_list<const char*> arguments);
    void setFlag(const char* name, bool value);
    void setDouble(const char* name, double value);
    void seekTo(double seconds);

    mpv_handle* m_mpv = nullptr;
    mpv_render_context* m_render = nullptr;
    QString m_path;
    QImage m_picture;
    QColor m_fill = Qt::transparent;
    media::TimeRange m_selection;
    double m_time = 0;
    double m_duration = 0;
    double m_rate = 1;
    bool m_paused = true;
    bool m_loaded = false;
    bool m_loadPending = false; // loaded, first frame not shown yet
    std::optional<double> m_seekTarget; // of the exact seek under way
    bool m_atEnd = false;
    bool m_hasPicture = false;
    bool m_failed = false;
    bool m_playWhenLoaded = false;
    int m_backStepsLeft = 0; // of a step earlier by more than one frame
    const bool m_pictureShown;
};

} // namespace ui
