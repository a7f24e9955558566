#include "ui/SplitterWindow.h"

#include "media/DisplayName.h"
#include "media/Movie.h"
#include "support/LocalizedString.h"
#include "tools/FrameImagesJob.h"
#include "tools/SplitMovieJob.h"
#include "tools/SplitPieceNames.h"
#include "ui/AddFilesPanel.h"
#include "ui_SplitterWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr std::int32_t kTimeScale = 600;

} // namespace

SplitterWindow::SplitterWindow(platform::Preferences& store, QWidget* parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::SplitterWindow>()), m_defaults(store) {
    m_ui->setupUi(this);
    m_ui->splitView->setStretchFactor(0, 3);
    m_ui->splitView->setStretchFactor(1, 1);
    m_ui->movieView->setFillColor(Qt::white);
    m_ui->spinner->hide();
    m_ui->cancelButton->hide();
    connectControls();
    if (m_defaults.isPresent(support::Pref::SplitterMovie))
        setMovie(std::filesystem::path(m_defaults.textValue(support::Pref::SplitterMovie).toStdString()));
    reloadTable();
}

SplitterWindow::~SplitterWindow() {
    if (m_job)
        m_job->cancel(); // its destructor waits for the worker, which then removes its pieces
    stopFrameImages();
}

void SplitterWindow::connectControls() {
    Ui::SplitterWindow& form = *m_ui;
    MovieView* view = form.movieView;
    connect(form.chooseButton, &QPushButton::clicked, this, &SplitterWindow::selectMovie);
    connect(form.clearButton, &QPushButton::clicked, this, [this] { setMovie(std::nullopt); });
    connect(form.addButton, &QPushButton::clicked, this, &SplitterWindow::addCurrentTime);
    connect(form.removeButton, &QPushButton::clicked, this, &SplitterWindow::removeSelectedTimes);
    connect(form.splitButton, &QPushButton::clicked, this, &SplitterWindow::split);
    connect(form.cancelButton, &QPushButton::clicked, this, &SplitterWindow::cancelSplit);
    connect(form.playButton, &QPushButton::clicked, view, &MovieView::play);
    connect(form.pauseButton, &QPushButton::clicked, view, &MovieView::pause);
    connect(form.stepBackButton, &QPushButton::clicked, view, [view] { view->step(-1); });
    connect(form.stepForwardButton, &QPushButton::clicked, view, [view] { view->step(1); });
    connect(form.positionSlider, &QSlider::sliderMoved, this, [this, view](int position) {
        view->setCurrentSeconds(view->durationSeconds() * position / m_ui->positionSlider->maximum());
    });
    connect(view, &MovieView::timeChanged, this, [this, view](double seconds) {
        if (!m_ui->positionSlider->isSliderDown() && view->durationSeconds() > 0)
            m_ui->positionSlider->setValue(
                static_cast<int>(std::lround(seconds / view->durationSeconds() * m_ui->positionSlider->maximum())));
    });
    connect(form.table, &QTableWidget::itemSelectionChanged, this, [this] {
        const QModelIndexList rows = m_ui->table->selectionModel()->selectedRows();
        if (rows.size() == 1)
            selectTime(rows.front().row());
    });
}

void SplitterWindow::showWindow() {
    show();
    raise();
    activateWindow();
}

void SplitterWindow::setMovie(const std::optional<std::filesystem::path>& path) {
    if (m_moviePath) {
        m_ui->movieView->close();
        stopFrameImages();
        m_frameImages.clear();
        m_movie.reset();
        m_moviePath.reset();
        setWindowFilePath({});
        setWindowTitle(tr("Movie Splitter"));
        m_defaults.remove(support::Pref::SplitterMovie);
        (void)m_defaults.synchronize();
    }
    if (!path)
        return;
    auto movie = media::Movie::open(*path);
    if (!movie || !m_ui->movieView->open(QString::fromStdString(path->string())))
        return; // the window shows no movie
    m_movie = std::move(*movie);
    m_moviePath = *path;
    setWindowFilePath(QString::fromStdString(path->string()));
    setWindowTitle(media::displayNameOfFile(*path));
    m_defaults.setValue(support::Pref::SplitterMovie, QString::fromStdString(path->string()));
    (void)m_defaults.synchronize();
    reloadTable(); // the frame images are this movie's
}

void SplitterWindow::selectMovie() {
    if (const auto movie = chooseMovie(*this))
        setMovie(*movie);
}

void SplitterWindow::addCurrentTime() {
    if (!m_moviePath)
        return;
    const int row = m_times.add(m_ui->movieView->currentTime(kTimeScale));
    reloadTable();
    m_ui->table->scrollToItem(m_ui->table->item(row, 1));
}

void SplitterWindow::removeSelectedTimes() {
    std::vector<int> rows;
    for (const QModelIndex& index : m_ui->table->selectionModel()->selectedRows())
        rows.push_back(index.row());
    m_times.removeRows(rows);
    reloadTable();
}

void SplitterWindow::reloadTable() {
    QTableWidget& table = *m_ui->table;
    const QSignalBlocker quiet(table);
    table.clearSelection();
    table.setRowCount(m_times.count());
    for (int row = 0; row < m_times.count(); ++row) {
        table.setItem(row, 0, new QTableWidgetItem);
        table.setItem(row, 1, new QTableWidgetItem(m_times.text(row)));
        table.setRowHeight(row, table.iconSize().height() + 4);
    }
    table.setColumnWidth(0, table.iconSize().width() + 8);
    showFrameImages();
}

void SplitterWindow::showFrameImages() {
    stopFrameImages();
    if (!m_movie || !m_moviePath)
        return;
    const auto made = [this](const media::Time& time) {
        return std::find_if(m_frameImages.begin(), m_frameImages.end(), [&](const auto& image) {
            return media::compareTimes(image.first, time) == 0;
        });
    };
    std::vector<media::Time> missing;
    for (int row = 0; row < m_times.count(); ++row) {
        const media::Time& time = m_times.times()[static_cast<std::size_t>(row)];
        if (const auto image = made(time); image != m_frameImages.end())
            m_ui->table->item(row, 0)->setIcon(QIcon(QPixmap::fromImage(image->second)));
        else if (std::none_of(missing.begin(), missing.end(),
                              [&](const media::Time& other) { return media::compareTimes(other, time) == 0; }))
            missing.push_back(time);
    }
    if (missing.empty())
        return;
    m_frameImagesJob = std::make_unique<tools::FrameImagesJob>(
        tools::FrameImagesRequest{*m_moviePath, missing, m_ui->table->iconSize()});
    // A picture still on its way from a job stopped since is not shown.
    const int generation = ++m_frameImagesGeneration;
    connect(m_frameImagesJob.get(), &tools::FrameImagesJob::frameReady, this,
            [this, generation, missing](int index, const QImage& image) {
                if (generation == m_frameImagesGeneration && index >= 0 && index < static_cast<int>(missing.size()))
                    frameImageReady(missing[static_cast<std::size_t>(index)], image);
            });
    connect(m_frameImagesJob.get(), &support::Job::finished, this, [this] {
        // The job goes once its signal has been delivered.
        m_frameImagesJob.release()->deleteLater();
    });
    m_frameImagesJob->start();
}

void SplitterWindow::stopFrameImages() {
    if (!m_frameImagesJob)
        return;
    // A cancelled job stops after the frame it is decoding.
    ++m_frameImagesGeneration;
    disconnect(m_frameImagesJob.get(), nullptr, this, nullptr);
    m_frameImagesJob->cancel();
    m_frameImagesJob->waitForWorker();
    m_frameImagesJob.release()->deleteLater();
}

void SplitterWindow::frameImageReady(const media::Time& time, const QImage& image) {
    m_frameImages.emplace_back(time, image);
    const QIcon icon(QPixmap::fromImage(image));
    for (int row = 0; row < m_times.count(); ++row)
        if (media::compareTimes(m_times.times()[static_cast<std::size_t>(row)], time) == 0)
            m_ui->table->item(row, 0)->setIcon(icon);
}

void SplitterWindow::selectTime(int row) {
    if (!m_movie || row < 0 || row >= m_times.count())
        return;
    // The selection shows exactly the span the piece starting here will hold.
    const media::TimeRange span = m_times.pieceSpan(row, m_movie->duration());
    m_ui->movieView->setCurrentSeconds(media::seconds(span.start));
    m_ui->movieView->setSelection(span);
}

void SplitterWindow::showMessage(const QString& text) {
    m_ui->message->setText(text);
}

void SplitterWindow::split() {
    if (m_job)
        return;
    if (m_times.count() == 0) {
        QApplication::beep();
        QMessageBox alert(QMessageBox::Critical, windowTitle(), QStringLiteral("There are no frame times to split the movie."),
                          QMessageBox::Ok, this);
        alert.setInformativeText(QStringLiteral("Use the \"Add\" button to add some frame times to the frame list."));
        alert.exec();
        return;
    }
    if (!m_moviePath || !m_movie)
        return;
    const std::vector<media::Time> cuts = m_times.cutsWithin(m_movie->duration());
    std::vector<std::filesystem::path> pieces = tools::splitPiecePaths(*m_moviePath, cuts);
    int taken = 0;
    for (const auto& piece : pieces) {
        std::error_code ignored;
        taken += std::filesystem::exists(piece, ignored) ? 1 : 0;
    }
    if (taken > 0 &&
        QMessageBox::question(this, windowTitle(),
                              tr("%n of the pieces already exist beside the movie. Replace them?", nullptr, taken),
                              QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel) != QMessageBox::Yes)
        return;
    m_job = std::make_unique<tools::SplitMovieJob>(tools::SplitMovieJob::Request{*m_moviePath, cuts, pieces});
    connect(m_job.get(), &support::Job::progressChanged, this, [this](double fraction, const QString&) {
        m_ui->spinner->setValue(static_cast<int>(std::lround(fraction * m_ui->spinner->maximum())));
    });
    connect(m_job.get(), &support::Job::finished, this, &SplitterWindow::finishSplit);
    m_ui->spinner->setValue(0);
    m_ui->spinner->show();
    m_ui->cancelButton->show();
    m_ui->splitButton->setEnabled(false);
    showMessage(QStringLiteral("Splitting %1").arg(QString::fromStdString(m_moviePath->filename().string())));
    m_job->start();
}

void SplitterWindow::cancelSplit() {
    if (m_job)
        m_job->cancel();
}

void SplitterWindow::finishSplit(bool succeeded) {
    // The job goes once its signal has been delivered.
    tools::SplitMovieJob* job = m_job.release();
    job->deleteLater();
    m_ui->spinner->hide();
    m_ui->cancelButton->hide();
    m_ui->splitButton->setEnabled(true);
    const QString name = QString::fromStdString(job->request().source.filename().string());
    if (succeeded)
        showMessage(QStringLiteral("Finished splitting %1").arg(name));
    else if (job->error() && job->error()->code == ECANCELED)
        showMessage(QString());
    else
        showMessage(QString::fromStdString(job->error() ? job->error()->message : std::string()));
    emit splitFinished(succeeded);
}

void SplitterWindow::closeEvent(QCloseEvent* event) {
    m_ui->movieView->pause();
    event->accept();
}

} // namespace ui
