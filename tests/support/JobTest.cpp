#include "support/Job.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The nice value of the calling thread (Linux keeps one per thread).
int threadNiceness() {
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
}

// Counts to `steps`, reporting each step through a media-style callback, and
// fails when asked to.
class CountingJob final : public support::Job {
public:
    int steps = 100;
    bool failAtEnd = false;
    std::atomic<int> done{0};
    Qt::HANDLE workThread = nullptr;
    int workNiceness = 0;
    int startedThreadNiceness = 0; // of a thread the work starts, as codecs do
    std::function<void()> midway;

private:
    std::expected<void, media::Error> run() override {
        workThread = QThread::currentThreadId();
        workNiceness = threadNiceness();
        std::thread([this] { startedThreadNiceness = threadNiceness(); }).join();
        auto progress = progressCallback(0.0, 1.0, "Counting");
        for (int i = 1; i <= steps; ++i) {
            if (i == steps / 2 && midway)
                midway();
            QThread::usleep(200);
            if (!progress(double(i) / steps))
                return std::unexpected(support::cancelledError());
            ++done;
        }
        if (failAtEnd)
            return std::unexpected(media::Error{EIO, "The disk is full."});
        return {};
    }
};

struct Application {
    int argc = 0;
    QCoreApplication app{argc, nullptr};
};

// Runs the event loop until the job has finished; answers its result.
bool waitFor(CountingJob& job) {
    QEventLoop loop;
    bool succeeded = false;
    QObject::connect(&job, &support::Job::finished, &loop, [&](bool ok) {
        succeeded = ok;
        loop.quit();
    });
    job.start();
    loop.exec();
    return succeeded;
}

TEST(Job, RunsOffTheCallersThreadAndReportsProgressAndItsEnd) {
    Application app;
    CountingJob job;
    std::vector<double> fractions;
    QString phase;
    QObject::connect(&job, &support::Job::progressChanged, &job, [&](double f, const QString& p) {
        fractions.push_back(f);
        if (!p.isEmpty())
            phase = p;
    });
    EXPECT_TRUE(waitFor(job));
    EXPECT_NE(job.workThread, QThread::currentThreadId());
    EXPECT_EQ(job.done, 100);
    EXPECT_FALSE(job.error());
    EXPECT_FALSE(job.isRunning());
    EXPECT_EQ(phase, "Counting");
    ASSERT_FALSE(fractions.empty());
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_DOUBLE_EQ(fractions.back(), 1.0);
    EXPECT_DOUBLE_EQ(job.fraction(), 1.0);
}

// A job that keeps every core busy must not keep the window's thread waiting
// for one: its work, and the threads the work starts, yield to that thread.
TEST(Job, AStartedJobYieldsTheProcessorToItsOwnersThread) {
    Application app;
    const int owner = threadNiceness();
    CountingJob job;
    job.steps = 2;
    EXPECT_TRUE(waitFor(job));
    if (owner < 19) {
        EXPECT_GT(job.workNiceness, owner);
        EXPECT_EQ(job.startedThreadNiceness, job.workNiceness);
    }
    EXPECT_EQ(threadNiceness(), owner);

    // Run here (the command line), the work keeps the caller's priority.
    EXPECT_TRUE(job.runHere().has_value());
    EXPECT_EQ(job.workNiceness, owner);
    EXPECT_EQ(threadNiceness(), owner);
}

TEST(Job, CancelStopsAtTheNextStepAndAFailureKeepsItsReason) {
    Application app;
    CountingJob cancelled;
    cancelled.midway = [&] { cancelled.cancel(); };
    EXPECT_FALSE(waitFor(cancelled));
    EXPECT_EQ(cancelled.done, 49);
    ASSERT_TRUE(cancelled.error());
    EXPECT_EQ(cancelled.error()->code, ECANCELED);

    CountingJob failing;
    failing.failAtEnd = true;
    EXPECT_FALSE(waitFor(failing));
    ASSERT_TRUE(failing.error());
    EXPECT_EQ(failing.error()->code, EIO);
    EXPECT_EQ(failing.error()->message, "The disk is full.");

    // A job can run again after it ended.
    failing.failAtEnd = false;
    EXPECT_TRUE(waitFor(failing));
    EXPECT_FALSE(failing.error());
}

TEST(Job, RunHereWorksWithoutAnEventLoop) {
    CountingJob job;
    job.steps = 10;
    EXPECT_TRUE(job.runHere().has_value());
    EXPECT_EQ(job.workThread, QThread::currentThreadId());
    job.failAtEnd = true;
    const auto result = job.runHere();
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().code, EIO);
}

TEST(Job, AskOnThreadOfAsksOnTheOwnersThreadAndWaitsForTheAnswer) {
    Application app;
    QObject window;
    CountingJob job;
    Qt::HANDLE askedOn = nullptr;
    bool answer = false;
    job.midway = [&] {
        answer = support::askOnThreadOf<bool>(&window, [&] {
            askedOn = QThread::currentThreadId();
            return true;
        });
    };
    EXPECT_TRUE(waitFor(job));
    EXPECT_TRUE(answer);
    EXPECT_EQ(askedOn, QThread::currentThreadId());
}

TEST(Job, ARunningJobStopsAtOnceWhenItsOwnerCancelsAndWaits) {
    Application app;
    auto job = std::make_unique<CountingJob>();
    job->steps = 1000000;
    job->start();
    while (job->done < 5)
        QThread::usleep(100);
    job->cancel();
    job->waitForWorker();
    EXPECT_LT(job->done, 1000000);
    job.reset(); // the queued end of a destroyed job is dropped, not delivered
    QCoreApplication::processEvents();
}

} // namespace
