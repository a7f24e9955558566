#include "ui/MovieView.h"

#include <QMetaObject>
#include <QPainter>
#include <array>
#include <clocale>
#include <cmath>
#include <string_view>
#include <vector>
#include <mpv/client.h>
#include <mpv/render.h>

namespace ui {

namespace {

// Identifiers of the properties the view follows.
enum Observed : std::uint64_t { TimePos = 1, Duration, Pause, EofReached, Speed };

double nodeDouble(const mpv_event_property& property) {
    return property.format == MPV_FORMAT_DOUBLE ? *static_cast<double*>(property.data) : 0.0;
}

bool nodeFlag(const mpv_event_property& property) {
    return property.format == MPV_FORMAT_FLAG && *static_cast<int*>(property.data) != 0;
}

const mpv_node* mapValue(const mpv_node& map, const char* key) {
    if (map.format != MPV_FORMAT_NODE_MAP)
        return nullptr;
    for (int i = 0; i < map.u.list->num; ++i)
        if (std::string_view(map.u.list->keys[i]) == key)
            return &map.u.list->values[i];
    return nullptr;
}

} // namespace

MovieView::MovieView(QWidget* parent, Output output)
    : QWidget(parent), m_pictureShown(output == Output::PictureAndSound) {
    setAccessibleName(tr("Movie"));
    setMinimumSize(160, 120);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

MovieView::~MovieView() {
    // The render context goes before the player it belongs to.
    if (m_render)
        mpv_render_context_free(m_render);
    if (m_mpv)
        mpv_terminate_destroy(m_mpv);
}

bool MovieView::ensurePlayer() {
    if (m_mpv)
        return true;
    // libmpv reads and writes numbers in the C locale only and refuses to start otherwise.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv)
        return false;
    const std::array<std::pair<const char*, const char*>, 11> options{{
        {"vo", "libmpv"},
        {"hr-seek", "yes"},         // seeks land on the frame asked for, not the key frame before
        {"hr-seek-framedrop", "no"},
        {"keep-open", "yes"},       // stay on the last frame at the end, as a movie view does
        {"idle", "yes"},
        {"pause", "yes"},
        {"config", "no"},
        {"terminal", "no"},
        {"input-default-bindings", "no"},
        {"audio-display", "no"},
        {"osd-level", "0"},
    }};
    for (const auto& [name, value] : options)
        mpv_set_option_string(m_mpv, name, value);
    // Tests and machines without a sound device ask for silence this way.
    // JOINCLIP_MPV_LOG=LEVELS (e.g. "all=v") prints libmpv's log, for debugging.
    if (const QByteArray levels = qgetenv("JOINCLIP_MPV_LOG"); !levels.isEmpty()) {
        mpv_set_option_string(m_mpv, "terminal", "yes");
        mpv_set_option_string(m_mpv, "msg-level", levels.constData());
    }
    if (!m_pictureShown)
        mpv_set_option_string(m_mpv, "vid", "no");
    if (const QByteArray device = qgetenv("JOINCLIP_AUDIO_OUTPUT"); !device.isEmpty())
        mpv_set_option_string(m_mpv, "ao", device.constData());
    if (mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return false;
    }
    mpv_observe_property(m_mpv, TimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, Duration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, Pause, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, EofReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, Speed, "speed", MPV_FORMAT_DOUBLE);

    const char* api = MPV_RENDER_API_TYPE_SW;
    std::array<mpv_render_param, 2> params{{{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(api)},
                                            {MPV_RENDER_PARAM_INVALID, nullptr}}};
    if (mpv_render_context_create(&m_render, m_mpv, params.data()) < 0) {
        m_render = nullptr;
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return false;
    }
    // Both callbacks come on libmpv's threads: they only post work to this one.
    // The view outlives them (the render context and the player are freed first).
    mpv_set_wakeup_callback(
        m_mpv,
        [](void* view) {
            QMetaObject::invokeMethod(static_cast<MovieView*>(view), &MovieView::handleEvents,
                                      Qt::QueuedConnection);
        },
        this);
    mpv_render_context_set_update_callback(
        m_render,
        [](void* view) {
            QMetaObject::invokeMethod(static_cast<MovieView*>(view), &MovieView::renderFrame,
                                      Qt::QueuedConnection);
        },
        this);
    return true;
}

bool MovieView::open(const QString& path) {
    if (!ensurePlayer())
        return false;
    m_path = path;
    m_loaded = false;
    m_loadPending = false;
    m_failed = false;
    m_playWhenLoaded = false;
    m_atEnd = false;
    m_backStepsLeft = 0;
    m_time = 0;
    m_duration = 0;
    m_selection = {};
    setFlag("pause", true);
    const QByteArray file = path.toUtf8();
    command({"loadfile", file.constData(), "replace"});
    emit stateChanged();
    return true;
}

void MovieView::close() {
    if (m_mpv)
        command({"stop"});
    m_path.clear();
    m_loaded = false;
    m_playWhenLoaded = false;
    m_atEnd = false;
    m_backStepsLeft = 0;
    m_hasPicture = false;
    m_time = 0;
    m_duration = 0;
    m_selection = {};
    update();
    emit stateChanged();
}

void MovieView::play() {
    if (!m_loaded) {
        m_playWhenLoaded = !m_path.isEmpty() && !m_failed;
        return;
    }
    // Playing from the end starts over, as a movie view does.
    if (m_atEnd)
        seekTo(0);
    setFlag("pause", false);
}

void MovieView::pause() {
    m_playWhenLoaded = false;
    if (m_mpv)
        setFlag("pause", true);
}

void MovieView::setRate(double rate) {
    if (!(rate > 0))
        return;
    m_rate = rate;
    if (m_mpv)
        setDouble("speed", rate);
}

void MovieView::gotoEnd() {
    if (!m_loaded)
        return;
    pause();
    // keep-open stops on the last frame when asked for a time past it.
    command({"seek", "100", "absolute-percent+exact"});
}

void MovieView::step(int frames) {
    if (!m_loaded || frames == 0)
        return;
    // libmpv adds up steps forward, but drops a step back asked for while
    // the one before is still seeking: those go one at a time.
    if (frames > 0) {
        m_backStepsLeft = 0;
        for (int i = 0; i < frames; ++i)
            command({"frame-step"});
        return;
    }
    m_backStepsLeft = -frames - 1;
    command({"frame-back-step"});
}

media::Time MovieView::currentTime(std::int32_t scale) const {
    if (scale <= 0)
        return media::zeroTime();
    // mpv's time is the frame's exact timestamp turned into a double: the
    // tiny rounding slack is taken off before rounding up.
    const double units = m_time * scale;
    return media::makeTime(static_cast<std::int64_t>(std::ceil(units - 1e-6)), scale);
}

void MovieView::setCurrentSeconds(double seconds) {
    seekTo(seconds);
}

void MovieView::seekTo(double seconds) {
    if (!m_loaded)
        return;
    const double at = std::max(0.0, seconds);
    m_seekTarget = at;
    m_backStepsLeft = 0;
    const QByteArray target = QByteArray::number(at, 'f', 9);
    command({"seek", target.constData(), "absolute+exact"});
}

void MovieView::setSelection(const media::TimeRange& range) {
    m_selection = range;
    emit stateChanged();
}

void MovieView::setFillColor(const QColor& colour) {
    m_fill = colour;
    update();
}

std::optional<QImage> MovieView::grabFrame() const {
    if (!m_loaded || !m_mpv)
        return std::nullopt;
    // "video" takes the decoded frame itself, scaled to its display aspect,
    // without the view's own scaling.
    std::array<const char*, 3> arguments{"screenshot-raw", "video", nullptr};
    mpv_node result{};
    if (mpv_command_ret(m_mpv, arguments.data(), &result) < 0)
        return std::nullopt;
    std::optional<QImage> image;
    const mpv_node* width = mapValue(result, "w");
    const mpv_node* height = mapValue(result, "h");
    const mpv_node* stride = mapValue(result, "stride");
    const mpv_node* format = mapValue(result, "format");
    const mpv_node* data = mapValue(result, "data");
    if (width && height && stride && data && format && format->format == MPV_FORMAT_STRING &&
        std::string_view(format->u.string) == "bgr0" && data->format == MPV_FORMAT_BYTE_ARRAY) {
        const QImage view(static_cast<const uchar*>(data->u.ba->data), static_cast<int>(width->u.int64),
                          static_cast<int>(height->u.int64), static_cast<qsizetype>(stride->u.int64),
                          QImage::Format_RGB32);
        image = view.copy();
    }
    mpv_free_node_contents(&result);
    return image;
}

std::optional<double> MovieView::soundAheadOfPicture() const {
    if (!m_mpv)
        return std::nullopt;
    double offset = 0;
    if (mpv_get_property(m_mpv, "avsync", MPV_FORMAT_DOUBLE, &offset) < 0)
        return std::nullopt;
    return offset;
}

void MovieView::command(std::initializer_list<const char*> arguments) {
    std::vector<const char*> list(arguments);
    list.push_back(nullptr);
    mpv_command_async(m_mpv, 0, list.data());
}

void MovieView::setFlag(const char* name, bool value) {
    int flag = value ? 1 : 0;
    mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_FLAG, &flag);
}

void MovieView::setDouble(const char* name, double value) {
    mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_DOUBLE, &value);
}

void MovieView::handleEvents() {
    if (!m_mpv)
        return;
    for (;;) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        switch (event->event_id) {
        case MPV_EVENT_FILE_LOADED:
            // Ready only once the first frame is shown: libmpv drops a step asked for before.
            m_loadPending = true;
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            if (!m_loadPending) {
                // libmpv lands on the first frame at or after the time asked for;
                // the frame shown at that time is the one before when they differ.
                // Without a picture there is no frame to step back to (a step would pause).
                if (m_seekTarget && m_pictureShown) {
                    const double target = *m_seekTarget;
                    m_seekTarget.reset();
                    double now = 0;
                    if (mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &now) >= 0 && now > target + 1e-6) {
                        command({"frame-back-step"});
                        break;
                    }
                }
                m_seekTarget.reset();
                if (m_backStepsLeft > 0) {
                    --m_backStepsLeft;
                    command({"frame-back-step"});
                    break;
                }
                emit seekFinished();
                break;
            }
            m_loadPending = false;
            m_loaded = true;
            m_atEnd = false;
            setDouble("speed", m_rate);
            if (m_playWhenLoaded) {
                m_playWhenLoaded = false;
                setFlag("pause", false);
            }
            emit loaded();
            emit stateChanged();
            break;
        case MPV_EVENT_END_FILE:
            // A failed load or a stop: nothing can be played any more.
            if (m_loaded || !m_path.isEmpty()) {
                const auto* end = static_cast<const mpv_event_end_file*>(event->data);
                if (end && end->reason == MPV_END_FILE_REASON_ERROR) {
                    m_loaded = false;
                    m_loadPending = false;
                    m_failed = true;
                    m_playWhenLoaded = false;
                    emit stateChanged();
                }
            }
            break;
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto& property = *static_cast<const mpv_event_property*>(event->data);
            switch (event->reply_userdata) {
            case TimePos:
                if (property.format == MPV_FORMAT_DOUBLE) {
                    m_time = nodeDouble(property);
                    emit timeChanged(m_time);
                }
                break;
            case Duration:
                m_duration = nodeDouble(property);
                break;
            case Pause:
                m_paused = property.format != MPV_FORMAT_FLAG || nodeFlag(property);
                emit stateChanged();
                break;
            case EofReached: {
                const bool atEnd = nodeFlag(property);
                if (atEnd != m_atEnd) {
                    m_atEnd = atEnd;
                    emit stateChanged();
                    if (atEnd)
                        emit endReached();
                }
                break;
            }
            case Speed:
                if (property.format == MPV_FORMAT_DOUBLE)
                    m_rate = nodeDouble(property);
                break;
            default:
                break;
            }
            break;
        }
        default:
            break;
        }
    }
}

void MovieView::renderFrame() {
    if (!m_render)
        return;
    if (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME)
        drawPicture();
}

void MovieView::drawPicture() {
    // Drawn even while hidden: libmpv waits for each frame to be drawn.
    const QSize size = this->size().expandedTo(QSize(16, 16));
    if (m_picture.size() != size)
        m_picture = QImage(size, QImage::Format_RGB32);
    std::array<int, 2> dimensions{size.width(), size.height()};
    auto stride = static_cast<std::size_t>(m_picture.bytesPerLine());
    const char* format = "bgr0";
    std::array<mpv_render_param, 5> params{{{MPV_RENDER_PARAM_SW_SIZE, dimensions.data()},
                                            {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(format)},
                                            {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                            {MPV_RENDER_PARAM_SW_POINTER, m_picture.bits()},
                                            {MPV_RENDER_PARAM_INVALID, nullptr}}};
    if (mpv_render_context_render(m_render, params.data()) >= 0) {
        m_hasPicture = !m_path.isEmpty();
        update();
        emit frameRendered();
    }
}

void MovieView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_hasPicture && !m_path.isEmpty() && !m_picture.isNull()) {
        painter.drawImage(rect(), m_picture);
        return;
    }
    if (m_fill.alpha() > 0)
        painter.fillRect(rect(), m_fill);
}

void MovieView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The picture is drawn again at the new size.
    if (m_render && m_loaded)
        QMetaObject::invokeMethod(this, &MovieView::drawPicture, Qt::QueuedConnection);
}

} // namespace ui
