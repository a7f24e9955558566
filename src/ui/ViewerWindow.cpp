#include "ui/ViewerWindow.h"

#include "app/Session.h"
#include "media/FrameImageFile.h"
#include "media/Movie.h"
#include "platform/FileReference.h"
#include "platform/LocaleFormat.h"
#include "support/LocalizedString.h"
#include "support/PreferenceKeys.h"
#include "support/UserDefaults.h"
#include "tools/SaveFrameJob.h"
#include "tools/SaveSoundJob.h"
#include "tools/SplitMovieJob.h"
#include "tools/UpdateMovieFileJob.h"
#include "ui/Alerts.h"
#include "ui/MovieView.h"
#include "ui_ViewerWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableView>
#include <QUrl>
#include <cmath>
#include <cstdio>

namespace ui {

namespace {

using support::LocalizedString;

QString pathText(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// Lets the view and the fields draw while a command holds the window, without taking the user's input.
void drawPendingChanges() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Runs events other than input until `done` holds or nothing has changed for `patience` ms.
template <class Condition> void waitFor(Condition done, int patience = 2000) {
    QElapsedTimer quiet;
    quiet.start();
    while (!done() && quiet.elapsed() < patience)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents, 20);
}

} // namespace

ViewerWindow::ViewerWindow(QWidget* parent) : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::ViewerWindow>()) {
    m_ui->setupUi(this);
    setObjectName("viewerWindow");
    setWindowTitle(QStringLiteral("Viewer"));
    m_view = m_ui->movieView;
    m_view->setFillColor(Qt::transparent);
    m_ui->saveSoundProgressBar->hide();
    m_ui->toolProgressBar->hide();
    m_ui->toolCancelButton->hide();
    m_ui->frameCountRateStaticTextField->hide();
    m_ui->frameCountRateTextField->setEnabled(false);
    m_ui->goToFrameTextField->setValidator(new QIntValidator(this));
    m_ui->frameCountRateTextField->setValidator(new QIntValidator(0, 600, this));
    setToolsEnabled(false);
    m_playAllTimer.setInterval(1000);
    connect(&m_playAllTimer, &QTimer::timeout, this, &ViewerWindow::playAllTick);

    Ui::ViewerWindow& form = *m_ui;
    connect(form.playButton, &QToolButton::clicked, this, [this] { m_view->isPlaying() ? m_view->pause() : m_view->play(); });
    connect(form.goToStartButton, &QToolButton::clicked, m_view, [this] { m_view->setCurrentSeconds(0); });
    connect(form.goToEndButton, &QToolButton::clicked, m_view, &MovieView::gotoEnd);
    connect(form.stepForwardButton, &QToolButton::clicked, m_view, [this] { m_view->step(1); });
    connect(form.stepBackwardButton, &QToolButton::clicked, m_view, [this] { m_view->step(-1); });
    connect(form.goToFrameButton, &QPushButton::clicked, this, &ViewerWindow::goToFrame);
    connect(form.movieViewRateSlider, &QSlider::valueChanged, this, &ViewerWindow::setRate);
    connect(form.setPosterFrameButton, &QPushButton::clicked, this, &ViewerWindow::setPosterFrame);
    connect(form.goToPosterFrameButton, &QPushButton::clicked, this, &ViewerWindow::goToPosterFrame);
    connect(form.saveCurrentFrameButton, &QPushButton::clicked, this, &ViewerWindow::saveCurrentFrame);
    connect(form.saveMovieButton, &QPushButton::clicked, this, &ViewerWindow::saveMovie);
    connect(form.splitMovieButton, &QPushButton::clicked, this, &ViewerWindow::splitMovie);
    connect(form.saveSoundButton, &QPushButton::clicked, this, &ViewerWindow::saveSound);
    connect(form.movieViewPrintButton, &QPushButton::clicked, this, &ViewerWindow::printFrame);
    connect(form.playAllButton, &QPushButton::clicked, this, &ViewerWindow::playAll);
    connect(form.toolCancelButton, &QPushButton::clicked, this, &ViewerWindow::cancelTool);
    connect(m_view, &MovieView::stateChanged, this, &ViewerWindow::updateTransport);
    connect(m_view, &MovieView::timeChanged, this, &ViewerWindow::updateTransport);
    updateTransport();
}

ViewerWindow::~ViewerWindow() {
    // A job's work calls into it: stop it before it goes.
    for (support::Job* job : {static_cast<support::Job*>(m_soundJob), m_toolJob.get()}) {
        if (job) {
            job->cancel();
            job->waitForWorker();
        }
    }
}

void ViewerWindow::attach(app::Session& session, QTableView& table) {
    m_session = &session;
    m_table = &table;
    const auto follow = [this] {
        connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &ViewerWindow::showSelection, Qt::UniqueConnection);
    };
    if (m_table->selectionModel())
        follow();
}

void ViewerWindow::showWindow() {
    show();
    raise();
    activateWindow();
}

void ViewerWindow::toggle() {
    if (isVisible())
        hide();
    else
        showWindow();
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
    m_view->pause();
    QWidget::closeEvent(event);
}

void ViewerWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit visibilityChanged(false);
}

void ViewerWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void ViewerWindow::setToolsEnabled(bool enabled) {
    Ui::ViewerWindow& form = *m_ui;
    for (QWidget* control :
         {static_cast<QWidget*>(form.saveCurrentFrameButton), static_cast<QWidget*>(form.saveSoundButton),
          static_cast<QWidget*>(form.saveMovieButton), static_cast<QWidget*>(form.setPosterFrameButton),
          static_cast<QWidget*>(form.goToPosterFrameButton), static_cast<QWidget*>(form.splitMovieButton),
          static_cast<QWidget*>(form.movieViewPrintButton), static_cast<QWidget*>(form.movieViewRateSlider),
          static_cast<QWidget*>(form.goToFrameButton), static_cast<QWidget*>(form.goToFrameTextField)})
        control->setEnabled(enabled && !m_toolJob);
    // A running extraction keeps its Stop button.
    if (m_soundJob)
        form.saveSoundButton->setEnabled(true);
}

void ViewerWindow::setMovie(const std::shared_ptr<media::Movie>& movie) {
    if (!movie) {
        m_view->close();
        setWindowTitle(QStringLiteral("Viewer"));
        return;
    }
    m_view->open(pathText(movie->fileName()));
    if (!movie->displayName().isEmpty())
        setWindowTitle(movie->displayName());
    if (!movie->fileName().empty())
        setWindowFilePath(pathText(movie->fileName()));
}

void ViewerWindow::showSelection() {
    if (m_playingAll || !m_session || !m_table)
        return;
    int row = -1;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        row = std::max(row, index.row());
    Ui::ViewerWindow& form = *m_ui;
    if (row < 0) {
        m_view->pause();
        m_view->setFillColor(Qt::transparent);
        setMovie(nullptr);
        setToolsEnabled(false);
        form.goToFrameTextField->clear();
        form.frameCountRateStaticTextField->hide();
        form.frameCountRateTextField->setEnabled(false);
        form.frameCountRateTextField->clear();
        form.frameCountTextField->clear();
        emit statusChanged(QString());
        return;
    }
    const auto& movies = m_session->fileList().movies();
    if (row >= static_cast<int>(movies.size()))
        return;
    const filelist::MovieEntry& entry = movies[static_cast<std::size_t>(row)];
    const auto path = platform::stringWithAlias(entry.alias);
    if (!path)
        return;
    emit statusChanged(pathText(*path));
    if (!media::Movie::canOpen(*path) || !entry.movie)
        return;
    setToolsEnabled(true);
    m_selectedRow = row;
    form.goToFrameTextField->clear();
    form.frameCountRateStaticTextField->show();
    form.frameCountRateTextField->setEnabled(true);
    form.frameCountRateTextField->clear();
    m_selectedMovie = entry.movie;
    setMovie(m_selectedMovie);
    m_selectedMovie->setEditable(true);
    {
        const QSignalBlocker quiet(form.movieViewRateSlider);
        form.movieViewRateSlider->setValue(4);
    }
    m_view->setRate(1.0);
    support::UserDefaults& defaults = m_session->defaults();
    defaults.setValue(support::Pref::MoviePlayRate, 1);
    if (defaults.isPresent(support::Pref::AutostartViewer) && defaults.boolValue(support::Pref::AutostartViewer))
        m_view->play();
    const QString number = platform::formatNumberWithGrouping(m_selectedMovie->frameCount());
    if (!number.isEmpty())
        form.frameCountTextField->setText(LocalizedString("%@ frames").replace(QStringLiteral("%@"), number));
    updateTransport();
}

void ViewerWindow::updateTransport() {
    Ui::ViewerWindow& form = *m_ui;
    form.playButton->setText(m_view->isPlaying() ? QStringLiteral("⏸") : QStringLiteral("▶"));
    form.playButton->setAccessibleName(m_view->isPlaying() ? tr("Pause") : tr("Play"));
    const bool loaded = m_view->isLoaded();
    for (QWidget* control : {static_cast<QWidget*>(form.playButton), static_cast<QWidget*>(form.goToStartButton),
                             static_cast<QWidget*>(form.goToEndButton), static_cast<QWidget*>(form.stepForwardButton),
                             static_cast<QWidget*>(form.stepBackwardButton)})
        control->setEnabled(loaded);
    form.timeTextField->setText(loaded ? QString::fromStdString(media::timeToString(m_view->currentTime(600)))
                                       : QString());
    form.movieViewRateTextField->setText(QStringLiteral("%1×").arg(form.movieViewRateSlider->value() / 4.0, 0, 'f', 2));
}

void ViewerWindow::waitForStep(double before) {
    waitFor([&] { return std::abs(m_view->currentSeconds() - before) > 1e-6 && !m_view->isPlaying(); });
}

void ViewerWindow::goToFrame() {
    Ui::ViewerWindow& form = *m_ui;
    // Steps asked for before the rewind has landed would be lost.
    bool rewound = false;
    const auto connection = connect(m_view, &MovieView::seekFinished, this, [&rewound] { rewound = true; });
    m_view->setCurrentSeconds(0);
    waitFor([&] { return rewound; });
    disconnect(connection);
    int wanted = form.goToFrameTextField->text().toInt();
    const int count = m_selectedMovie ? m_selectedMovie->frameCount() : 0;
    if (wanted > count) {
        form.goToFrameTextField->setText(QString::number(count));
        wanted = count;
    }
    const int delay = form.frameCountRateTextField->text().toInt();
    for (int i = 1; i <= wanted; ++i) {
        const double before = m_view->currentSeconds();
        m_view->step(1);
        waitForStep(before);
        if (delay != 0) {
            QElapsedTimer pause;
            pause.start();
            while (pause.elapsed() < delay * 1000 / 60)
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents, 5);
            form.goToFrameTextField->setText(QString::number(i));
            drawPendingChanges();
        }
    }
}

void ViewerWindow::setRate() {
    updateTransport();
    if (m_selectedMovie)
        m_view->setRate(m_ui->movieViewRateSlider->value() / 4.0);
}

void ViewerWindow::setPosterFrame() {
    if (!m_selectedMovie || !m_session || m_toolJob)
        return;
    const media::Time poster = m_view->currentTime(m_selectedMovie->timeScale());
    m_view->setCurrentSeconds(0);
    const QString name = m_selectedMovie->displayName();
    startToolJob(std::make_unique<tools::UpdateMovieFileJob>(tools::UpdateMovieFileRequest{m_selectedMovie, poster}),
                 [this, name](const support::Job& job) {
                     const bool saved = !job.error();
                     if (name.isEmpty() || (job.error() && job.error()->code == ECANCELED))
                         return;
                     showAlert({saved ? support::Told::Information : support::Told::Failure,
                                saved ? QStringLiteral("The movie \"%@\" was updated successfully.")
                                      : QStringLiteral("The movie \"%@\" was not updated successfully."),
                                saved ? QString()
                                      : QStringLiteral("The movie format is probably incompatible with this feature."),
                                {name}},
                               nullptr);
                 });
}

void ViewerWindow::goToPosterFrame() {
    if (m_selectedMovie)
        m_view->setCurrentSeconds(media::seconds(m_selectedMovie->posterTime()));
}

std::optional<QString> ViewerWindow::askSavePath(const SaveRequest& request) {
    if (m_prompts.askSavePath)
        return m_prompts.askSavePath(request);
    QFileDialog panel(this);
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setWindowTitle(request.label.isEmpty() ? LocalizedString("Save") : request.label);
    if (!request.label.isEmpty())
        panel.setLabelText(QFileDialog::FileName, request.label);
    if (!request.extension.isEmpty()) {
        panel.setDefaultSuffix(request.extension);
        panel.setNameFilter(QStringLiteral("*.%1").arg(request.extension));
    }
    panel.selectFile(request.suggestedName);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return std::nullopt;
    return panel.selectedFiles().front();
}

void ViewerWindow::saveCurrentFrame() {
    if (!m_selectedMovie || !m_session)
        return;
    support::UserDefaults& defaults = m_session->defaults();
    const auto format = media::frameImageFormat(static_cast<int>(defaults.integerValue(support::Pref::SaveFrameFormat)));
    const media::Time now = m_view->currentTime(m_selectedMovie->timeScale());
    QString suggested = m_selectedMovie->displayName();
    if (defaults.boolValue(support::Pref::TimeStampName))
        suggested += QStringLiteral(" - ") + QString::fromStdString(media::timeToString(now));
    const auto path = askSavePath({QString(), suggested, format ? QString::fromLatin1(media::frameImageExtension(*format)) : QString()});
    if (!path || !format || m_selectedRow < 0 || m_toolJob)
        return;
    const auto& movies = m_session->fileList().movies();
    if (m_selectedRow >= static_cast<int>(movies.size()))
        return;
    const filelist::MovieEntry& entry = movies[static_cast<std::size_t>(m_selectedRow)];
    if (!platform::stringWithAlias(entry.alias) || !entry.movie)
        return;
    media::FrameImageOptions options;
    options.format = *format;
    options.tiffLzw = defaults.boolValue(support::Pref::UseLZWForTIFF);
    options.quality = defaults.floatValue(support::Pref::CompressionQuality);
    startToolJob(std::make_unique<tools::SaveFrameJob>(tools::SaveFrameRequest{entry.movie, now, path->toStdString(), options}),
                 [this, path = *path](const support::Job& job) {
                     // Only a failed write is told; a movie without a frame there saves nothing, silently.
                     if (job.error() && job.error()->code != ENODATA && job.error()->code != ECANCELED)
                         showAlert({support::Told::Failure, QStringLiteral("The frame could not be saved to: %@"),
                                    QStringLiteral("Try another file name"), {path}},
                                   nullptr);
                 });
}

void ViewerWindow::saveMovie() {
    if (!m_selectedMovie || !m_session || m_selectedRow < 0 || m_toolJob)
        return;
    const int row = m_selectedRow;
    std::weak_ptr<media::Movie> saving = m_selectedMovie;
    startToolJob(std::make_unique<tools::UpdateMovieFileJob>(tools::UpdateMovieFileRequest{m_selectedMovie, {}}),
                 [this, row, saving](const support::Job& job) {
                     if (job.error()) {
                         if (job.error()->code != ECANCELED)
                             emit statusChanged(QString::fromStdString(job.error()->message));
                         return;
                     }
                     // The entry is refreshed if the list still holds the movie at that row.
                     const auto& movies = m_session->fileList().movies();
                     if (row < static_cast<int>(movies.size()) &&
                         movies[static_cast<std::size_t>(row)].movie == saving.lock())
                         m_session->fileList().updateMovieInfoAtIndex(row);
                 });
}

void ViewerWindow::splitMovie() {
    if (!m_selectedMovie || !m_session || m_toolJob)
        return;
    emit statusChanged(LocalizedString("Splitting movie..."));
    drawPendingChanges();
    const media::Time cut = m_view->currentTime(m_selectedMovie->timeScale());
    // Every split ends with the stop alert, a failed one with its reason too.
    const auto end = [this](const QString& failure) {
        QApplication::beep();
        if (m_prompts.showStopAlert)
            m_prompts.showStopAlert(QStringLiteral("Movie splitting completed."));
        else
            QMessageBox(QMessageBox::Critical, QString(), QStringLiteral("Movie splitting completed."), QMessageBox::Ok,
                        this)
                .exec();
        if (!failure.isEmpty())
            showAlert({support::Told::Failure, QStringLiteral("The movie could not be split."), "%@", {}, {failure}},
                      nullptr);
        emit statusChanged(QString());
    };
    const auto left = askSavePath({LocalizedString("Left name:"), LocalizedString("Left"), QStringLiteral("mov")});
    const auto right = left ? askSavePath({LocalizedString("Right name:"), LocalizedString("Right"), QStringLiteral("mov")})
                            : std::nullopt;
    if (!left || !right) {
        end(QString());
        return;
    }
    startToolJob(std::make_unique<tools::SplitMovieJob>(
                     tools::SplitMovieRequest{m_selectedMovie->fileName(), {cut}, {left->toStdString(), right->toStdString()}}),
                 [this, end](const support::Job& job) {
                     // Cancel stops quietly: the pieces are gone, nothing was completed.
                     if (job.error() && job.error()->code == ECANCELED) {
                         emit statusChanged(QString());
                         return;
                     }
                     end(job.error() ? QString::fromStdString(job.error()->message) : QString());
                 });
}

void ViewerWindow::startToolJob(std::unique_ptr<support::Job> job, std::function<void(const support::Job&)> done) {
    m_toolJob = std::move(job);
    m_toolDone = std::move(done);
    Ui::ViewerWindow& form = *m_ui;
    form.toolProgressBar->setValue(0);
    form.toolProgressBar->show();
    form.toolCancelButton->show();
    setToolsEnabled(false);
    connect(m_toolJob.get(), &support::Job::progressChanged, this, [this](double fraction, const QString&) {
        m_ui->toolProgressBar->setValue(static_cast<int>(std::lround(fraction * 100)));
    });
    connect(m_toolJob.get(), &support::Job::finished, this, &ViewerWindow::finishToolJob);
    m_toolJob->start();
}

void ViewerWindow::cancelTool() {
    if (m_toolJob)
        m_toolJob->cancel();
}

void ViewerWindow::finishToolJob() {
    // The job goes once its signal has been delivered.
    support::Job* job = m_toolJob.release();
    job->deleteLater();
    const auto done = std::move(m_toolDone);
    m_toolDone = nullptr;
    Ui::ViewerWindow& form = *m_ui;
    form.toolProgressBar->hide();
    form.toolCancelButton->hide();
    setToolsEnabled(m_selectedMovie != nullptr);
    if (done)
        done(*job);
}

void ViewerWindow::saveSound() {
    if (m_soundJob) {
        m_soundJob->cancel();
        return;
    }
    if (!m_selectedMovie)
        return;
    const auto path = askSavePath({QString(), m_selectedMovie->displayName(), QStringLiteral("aiff")});
    if (!path)
        return;
    m_soundJob = new tools::SaveSoundJob({m_selectedMovie->fileName(), path->toStdString()}, this);
    Ui::ViewerWindow& form = *m_ui;
    form.saveSoundProgressBar->setRange(0, 0);
    form.saveSoundProgressBar->show();
    form.saveSoundButton->setText(QStringLiteral("Stop"));
    connect(m_soundJob, &support::Job::progressChanged, this, [this](double fraction, const QString&) {
        m_ui->saveSoundProgressBar->setRange(0, 100);
        m_ui->saveSoundProgressBar->setValue(static_cast<int>(fraction * 100));
    });
    connect(m_soundJob, &support::Job::finished, this, &ViewerWindow::soundFinished);
    m_soundJob->start();
}

void ViewerWindow::soundFinished(bool succeeded) {
    Ui::ViewerWindow& form = *m_ui;
    form.saveSoundProgressBar->setRange(0, 100);
    form.saveSoundProgressBar->setValue(0);
    form.saveSoundProgressBar->hide();
    form.saveSoundButton->setText(QStringLiteral("Save Sound"));
    tools::SaveSoundJob* job = m_soundJob;
    m_soundJob = nullptr;
    form.saveSoundButton->setEnabled(m_selectedMovie != nullptr && form.saveMovieButton->isEnabled());
    if (succeeded) {
        for (const QString& message : job->outcome().messages)
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        if (!qEnvironmentVariableIsSet("JOINCLIP_NO_PLAYER"))
            QDesktopServices::openUrl(QUrl::fromLocalFile(pathText(job->request().destination)));
    } else if (job->error() && job->error()->code != ECANCELED) {
        emit statusChanged(QString::fromStdString(job->error()->message));
    }
    job->deleteLater();
}

void ViewerWindow::printFrame() {
    if (!m_view->grabFrame())
        return;
    QPrinter printer;
    if (m_prompts.setUpPrinter) {
        if (!m_prompts.setUpPrinter(printer))
            return;
    } else if (QPrintDialog dialog(&printer, this); dialog.exec() != QDialog::Accepted) {
        return;
    }
    [[maybe_unused]] const bool printed = printFrameOn(printer); // the frame was there a moment ago
}

bool ViewerWindow::printFrameOn(QPrinter& printer) {
    const auto frame = m_view->grabFrame();
    if (!frame)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    const QSize size = frame->size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(frame->rect());
    painter.drawImage(0, 0, *frame);
    return painter.end();
}

void ViewerWindow::playAll() {
    if (m_playingAll) {
        stopPlayAll();
        return;
    }
    m_playingAll = true;
    m_playIndex = 0;
    m_ui->playAllButton->setText(LocalizedString("Stop"));
    m_playAllTimer.start();
    playNextMovie();
}

void ViewerWindow::playNextMovie() {
    const auto& movies = m_session ? m_session->fileList().movies() : std::vector<filelist::MovieEntry>{};
    if (m_playIndex >= static_cast<int>(movies.size())) {
        m_playingAll = false;
        m_ui->playAllButton->setText(QStringLiteral("Play All"));
        m_playAllTimer.stop();
        return;
    }
    const filelist::MovieEntry& entry = movies[static_cast<std::size_t>(m_playIndex)];
    if (platform::stringWithAlias(entry.alias)) {
        m_playAllMovie = entry.movie;
        if (m_playAllMovie) {
            if (m_table) {
                m_table->selectRow(m_playIndex);
                m_table->scrollTo(m_table->model()->index(m_playIndex, 0));
            }
            setMovie(m_playAllMovie);
            m_view->play();
        }
    }
    ++m_playIndex;
}

void ViewerWindow::playAllTick() {
    if (!m_playingAll) {
        stopPlayAll();
        return;
    }
    // Ended, or nothing to play (a file gone, a movie that would not load): the next one.
    if (!m_playAllMovie || m_view->isAtEnd() || m_view->failedToLoad())
        playNextMovie();
}

void ViewerWindow::stopPlayAll() {
    if (!m_playingAll)
        return;
    m_playAllTimer.stop();
    m_playingAll = false;
    m_playIndex = m_session ? m_session->fileList().count() : 0;
    m_view->gotoEnd();
    m_ui->playAllButton->setText(LocalizedString("Play All"));
}

} // namespace ui
