#include "ui/FilterWindow.h"

#include "media/DisplayName.h"
#include "media/filters/FilteredMovie.h"
#include "media/filters/ImageFilters.h"
#include "platform/DesktopServices.h"
#include "support/LocalizedString.h"
#include "tools/FilterRenderJob.h"
#include "ui/AddFilesPanel.h"
#include "ui/CompletionSound.h"
#include "ui/MovieView.h"
#include "ui_FilterWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLocale>
#include <QStandardPaths>

#include <cmath>

namespace ui {

namespace {

QString timeText(double seconds) {
    const int whole = static_cast<int>(std::max(0.0, seconds));
    return QStringLiteral("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

FilterWindow::FilterWindow(platform::Preferences& store, platform::DesktopServices& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::FilterWindow>()), m_defaults(store),
      m_desktop(desktop), m_sound(new CompletionSound(this)), m_soundPlayer(new MovieView(this, MovieView::Output::SoundOnly)) {
    m_ui->setupUi(this);
    m_buttonTitle = m_ui->filterButton->text();
    for (const auto& item : media::filters::filterMenu())
        m_ui->filterPopUp->addItem(item.displayName);
    m_ui->splitView->setStretchFactor(0, 3);
    m_ui->splitView->setStretchFactor(1, 1);
    m_ui->applyFiltersCheck->setChecked(shouldApplyFilters());
    m_playTimer.setInterval(15);
    m_soundPlayer->hide();
    // A sound that loads after the preview has moved starts where the picture stands.
    connect(m_soundPlayer, &MovieView::loaded, this, [this] {
        if (std::abs(m_soundPlayer->currentSeconds() - m_time) > 0.001)
            m_soundPlayer->setCurrentSeconds(m_time);
    });
    connectControls();

    if (m_defaults.isPresent(support::Pref::FilterMovie))
        setMovie(std::filesystem::path(m_defaults.textValue(support::Pref::FilterMovie).toStdString()));
    for (const QVariant& name : m_defaults.value(support::Pref::FilterNames).toList())
        m_chain.append(name.toString());
    reloadTable();
    updateMovieFilters();
}

FilterWindow::~FilterWindow() {
    if (m_job)
        m_job->cancel(); // its destructor waits for the worker, which then removes its file
}

void FilterWindow::connectControls() {
    Ui::FilterWindow& form = *m_ui;
    connect(form.chooseButton, &QPushButton::clicked, this, &FilterWindow::selectMovie);
    connect(form.clearButton, &QPushButton::clicked, this, [this] { setMovie(std::nullopt); });
    connect(form.addButton, &QPushButton::clicked, this, &FilterWindow::addSelectedFilter);
    connect(form.removeButton, &QPushButton::clicked, this, &FilterWindow::removeFilters);
    connect(form.playButton, &QPushButton::clicked, this, &FilterWindow::play);
    connect(form.pauseButton, &QPushButton::clicked, this, &FilterWindow::pause);
    connect(form.filterButton, &QPushButton::clicked, this, &FilterWindow::filter);
    connect(form.saveFrameButton, &QPushButton::clicked, this, &FilterWindow::saveFrame);
    connect(form.applyFiltersCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_defaults.setValue(support::Pref::ApplyFilters, on);
        (void)m_defaults.synchronize();
        updateMovieFilters();
    });
    connect(form.positionSlider, &QSlider::sliderMoved, this, [this](int position) {
        if (m_reader)
            showFrameAt(m_reader->duration() * position / m_ui->positionSlider->maximum());
    });
    connect(&m_playTimer, &QTimer::timeout, this, &FilterWindow::showFramesDue);
}

void FilterWindow::showWindow() {
    show();
    raise();
    activateWindow();
}

bool FilterWindow::shouldApplyFilters() const {
    return m_defaults.boolValue(support::Pref::ApplyFilters);
}

void FilterWindow::setMovie(const std::optional<std::filesystem::path>& path) {
    if (m_reader) {
        pause();
        m_soundPlayer->close();
        m_reader.reset();
        m_moviePath.reset();
        m_ui->movieView->setPicture({});
        m_ui->timeLabel->clear();
        setWindowFilePath({});
        setWindowTitle(tr("Movie Filter"));
        m_defaults.remove(support::Pref::FilterMovie);
        (void)m_defaults.synchronize();
    }
    if (!path)
        return;
    auto reader = media::filters::FilteredFrameReader::open(*path);
    if (!reader)
        return; // the window shows no movie
    m_reader = std::move(*reader);
    m_soundPlayer->open(QString::fromStdString(path->string()));
    m_moviePath = *path;
    setWindowFilePath(QString::fromStdString(path->string()));
    setWindowTitle(media::displayNameOfFile(*path));
    m_defaults.setValue(support::Pref::FilterMovie, QString::fromStdString(path->string()));
    (void)m_defaults.synchronize();
    updateMovieFilters();
}

void FilterWindow::selectMovie() {
    if (const auto movie = chooseMovie(*this))
        setMovie(*movie);
}

void FilterWindow::addSelectedFilter() {
    const auto& menu = media::filters::filterMenu();
    const int row = m_ui->filterPopUp->currentIndex();
    // The first row of that name: rows that repeat a filter add the same identifier.
    if (row >= 0 && row < static_cast<int>(menu.size())) {
        for (const auto& item : menu) {
            if (item.displayName == menu[static_cast<std::size_t>(row)].displayName) {
                m_chain.append(item.identifier);
                break;
            }
        }
    }
    m_ui->filterPopUp->setCurrentIndex(0);
    reloadTable();
    updateMovieFilters();
    storeChain();
}

void FilterWindow::removeFilters() {
    const QModelIndexList selected = m_ui->table->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        m_chain.clear();
    } else {
        std::vector<int> rows;
        for (const QModelIndex& index : selected)
            rows.push_back(index.row());
        std::sort(rows.rbegin(), rows.rend());
        for (int row : rows)
            m_chain.removeAt(row);
    }
    reloadTable();
    updateMovieFilters();
    storeChain();
}

void FilterWindow::reloadTable() {
    m_ui->table->clearSelection();
    m_ui->table->setRowCount(static_cast<int>(m_chain.size()));
    for (int row = 0; row < m_chain.size(); ++row)
        m_ui->table->setItem(row, 0, new QTableWidgetItem(m_chain[row]));
}

void FilterWindow::storeChain() {
    QVariantList names;
    for (const QString& name : m_chain)
        names.append(name);
    m_defaults.setValue(support::Pref::FilterNames, names);
    (void)m_defaults.synchronize();
}

void FilterWindow::updateMovieFilters() {
    if (!m_reader)
        return;
    m_reader->setFilters(shouldApplyFilters() ? m_chain : QStringList());
    showFrameAt(m_time);
}

void FilterWindow::showFrameAt(double seconds) {
    if (!m_reader || !m_reader->seek(seconds))
        return;
    m_nextFrame.reset();
    showNextFrame();
    if (m_soundPlayer->isLoaded())
        m_soundPlayer->setCurrentSeconds(m_time);
    m_playStart = m_time;
    m_playClock.restart();
}

std::optional<double> FilterWindow::soundTime() const {
    if (!m_soundPlayer->isPlaying())
        return std::nullopt;
    return m_soundPlayer->currentSeconds();
}

void FilterWindow::showFramesDue() {
    if (!m_reader)
        return;
    const auto sound = soundTime();
    const double now = sound ? *sound : m_playStart + static_cast<double>(m_playClock.elapsed()) / 1000.0;
    // A few frames at the most per turn, so the window stays responsive
    // when the chain is slower than the movie.
    for (int read = 0; read < 4; ++read) {
        if (!m_nextFrame) {
            const auto frame = m_reader->next();
            if (!frame || !*frame) {
                pause(); // the end of the movie, or a frame that cannot be read
                return;
            }
            m_nextFrame.emplace((*frame)->image, (*frame)->seconds);
        }
        if (m_nextFrame->second > now + 0.005)
            return;
        // A chain slower than the movie falls behind: skip to the frame due
        // rather than let the picture trail the sound ever further.
        if (m_nextFrame->second < now - 0.5 && m_reader->seek(now)) {
            m_nextFrame.reset();
            continue;
        }
        showPicture(m_nextFrame->first, m_nextFrame->second);
        m_nextFrame.reset();
    }
}

void FilterWindow::showNextFrame() {
    const auto frame = m_reader ? m_reader->next() : std::nullopt;
    if (!frame || !*frame) {
        pause(); // the end of the movie, or a frame that cannot be read
        return;
    }
    showPicture((*frame)->image, (*frame)->seconds);
}

void FilterWindow::showPicture(const QImage& picture, double seconds) {
    m_time = seconds;
    m_ui->movieView->setPicture(picture);
    const double duration = m_reader->duration();
    m_ui->timeLabel->setText(timeText(seconds) + QStringLiteral(" / ") + timeText(duration));
    if (!m_ui->positionSlider->isSliderDown() && duration > 0)
        m_ui->positionSlider->setValue(static_cast<int>(std::lround(seconds / duration * m_ui->positionSlider->maximum())));
}

void FilterWindow::play() {
    if (!m_reader || m_playTimer.isActive())
        return;
    m_playStart = m_time;
    m_playClock.restart();
    if (m_soundPlayer->isLoaded() && std::abs(m_soundPlayer->currentSeconds() - m_time) > 0.001)
        m_soundPlayer->setCurrentSeconds(m_time);
    m_soundPlayer->play();
    m_playTimer.start();
}

void FilterWindow::pause() {
    m_playTimer.stop();
    m_soundPlayer->pause();
}

std::optional<std::filesystem::path> FilterWindow::chooseOutputFile() {
    if (m_chooseOutput)
        return m_chooseOutput();
    QFileDialog panel(this);
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setDefaultSuffix(QStringLiteral("mp4"));
    panel.setNameFilter(tr("MPEG-4 Movie (*.mp4)"));
    panel.setDirectory(QStandardPaths::writableLocation(QStandardPaths::MoviesLocation));
    panel.selectFile(QStringLiteral("Filtered Movie.mp4"));
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(panel.selectedFiles().front().toStdString());
}

void FilterWindow::filter() {
    if (m_job) {
        m_job->cancel(); // the button reads "Stop"
        return;
    }
    if (!m_moviePath) {
        QApplication::beep();
        return;
    }
    pause();
    showFrameAt(0);
    const auto output = chooseOutputFile();
    if (!output)
        return;
    m_job = std::make_unique<tools::FilterRenderJob>(
        media::filters::FilterRenderRequest{*m_moviePath, *output, m_chain, true});
    const double duration = m_reader ? m_reader->duration() : 0;
    connect(m_job.get(), &support::Job::progressChanged, this, [this, duration](double fraction, const QString&) {
        const double left = std::max(0.0, duration * (1.0 - fraction));
        m_ui->progressTextField->setText(QStringLiteral("Time to end: %1").arg(QLocale().toString(left, 'f', 1)));
    });
    connect(m_job.get(), &support::Job::finished, this, &FilterWindow::finishRendering);
    m_ui->filterButton->setText(QStringLiteral("Stop"));
    m_job->start();
}

void FilterWindow::finishRendering(bool succeeded) {
    // The job goes once its signal has been delivered.
    tools::FilterRenderJob* job = m_job.release();
    job->deleteLater();
    m_ui->filterButton->setText(m_buttonTitle);
    m_ui->progressTextField->clear();
    if (succeeded) {
        m_sound->play();
        m_desktop.openFile(job->request().output);
    } else if (job->error() && job->error()->code != ECANCELED) {
        m_ui->progressTextField->setText(QString::fromStdString(job->error()->message));
    }
    emit renderingFinished(succeeded);
}

void FilterWindow::saveFrame() {
    if (!m_moviePath)
        return;
    // The frame shown, through the whole chain even when the preview leaves it out.
    auto reader = media::filters::FilteredFrameReader::open(*m_moviePath);
    if (!reader)
        return;
    (*reader)->setFilters(m_chain);
    if (!(*reader)->seek(m_time))
        return;
    const auto frame = (*reader)->next();
    if (frame && *frame)
        QApplication::clipboard()->setImage((*frame)->image);
}

void FilterWindow::closeEvent(QCloseEvent* event) {
    pause(); // a run goes on
    event->accept();
}

} // namespace ui
