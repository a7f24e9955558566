#pragma once

#include "media/Error.h"

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <expected>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>

namespace support {

// One long task (a join, an export, a split, a download...): a request in, an
// outcome out, progress and cancellation in between. A derived job keeps its
// request and its outcome as members and does its work in run(), which never
// shows anything and never prints: the window shows the progress,
// the command line as a line on standard error.
//
// The object lives on the thread that made it (the window's). start() runs
// run() on a worker thread of its own, at a lower priority than the window's
// thread, and emits finished() back on the owner's thread; runHere() runs it
// on the calling thread, for the command line and tests. progressChanged()
// is emitted from the thread that reports, so receivers on another thread
// get it queued.
class Job : public QObject {
    Q_OBJECT

public:
    explicit Job(QObject* parent = nullptr);
    // A running job's work calls the derived class, so its owner stops it
    // (cancel(), then waitForWorker()) before destroying it; this destructor
    // only joins a worker that has already left run().
    ~Job() override;
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    // Runs the job on a worker thread; harmless while it is running.
    void start();
    // Runs the job on this thread and answers how it ended.
    [[nodiscard]] std::expected<void, media::Error> runHere();
    // Asks the job to stop at its next progress step; thread-safe.
    void cancel();
    [[nodiscard]] bool isCancelled() const;
    [[nodiscard]] bool isRunning() const;
    // Blocks until a started job has finished its work (not its signal).
    void waitForWorker();

    [[nodiscard]] double fraction() const;
    [[nodiscard]] QString phase() const;
    // Why the job failed, once it has; code ECANCELED when it was cancelled.
    [[nodiscard]] const std::optional<media::Error>& error() const;

signals:
    // fraction in [0, 1]; phase may be empty when it did not change.
    void progressChanged(double fraction, const QString& phase);
    void finished(bool succeeded);

protected:
    // The work, on the worker thread (or the caller's for runHere()).
    [[nodiscard]] virtual std::expected<void, media::Error> run() = 0;

    // Thread-safe; signals at most about 30 times a second, and always for
    // a new phase or the end.
    void reportProgress(double fraction, const QString& phase = {});
    // A media-layer progress callback: it maps [0, 1] into [from, to] of
    // this job's fraction and answers false once the job is cancelled.
    [[nodiscard]] std::function<bool(double)> progressCallback(double from = 0.0, double to = 1.0,
                                                               const QString& phase = {});

private:
    void finish(const std::expected<void, media::Error>& result);

    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_running{false};
    mutable std::mutex m_mutex;
    double m_fraction = 0.0;
    QString m_phase;
    qint64 m_lastSignal = 0;
    std::optional<media::Error> m_error;
    std::unique_ptr<QThread> m_worker;
};

// Makes the calling thread, and the threads it starts from now on, yield the
// processor to the window's thread: a started job's worker calls it first, so
// that a job using every core still leaves the window answering at once.
// Meant for threads that do background work only.
void lowerCurrentThreadPriority();

// The error a cancelled job answers.
[[nodiscard]] media::Error cancelledError();

// Runs question() on context's thread and waits for its answer: how a job on
// a worker thread asks the user something mid-way. Called on context's own
// thread it simply asks.
template <class T>
[[nodiscard]] T askOnThreadOf(QObject* context, const std::function<T()>& question)
{
    if (QThread::currentThread() == context->thread())
        return question();
    std::optional<T> answer;
    QMetaObject::invokeMethod(
        context, [&] { answer = question(); }, Qt::BlockingQueuedConnection);
    // A context destroyed before it could answer leaves the default answer.
    return answer ? std::move(*answer) : T{};
}

} // namespace support
