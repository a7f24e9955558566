#include "FileContents.h"
#include "CoreApplication.h"
#include "TestFolder.h"
#include "TestHttpServer.h"
#include "net/DownloadProgressLine.h"
#include "net/DownloadQueue.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// Everything the queue tells, in order, as text.
class QueueRecorder final {
public:
    explicit QueueRecorder(net::DownloadQueue& queue) {
        QObject::connect(&queue, &net::DownloadQueue::queueChanged, &queue,
                         [this](const QString& line) { events.push_back("status: " + line.toStdString()); });
        QObject::connect(&queue, &net::DownloadQueue::downloadStarted, &queue,
                         [this](const QString& address) { events.push_back("start " + address.toStdString()); });
        QObject::connect(&queue, &net::DownloadQueue::downloadFinished, &queue,
                         [this](const fs::path& file, const QString& title) {
                             events.push_back("done " + file.filename().string() + " as " + title.toStdString());
                         });
        QObject::connect(&queue, &net::DownloadQueue::downloadFailed, &queue,
                         [this](const QString&, const QString& address) {
                             events.push_back("failed " + address.toStdString());
                         });
        QObject::connect(&queue, &net::DownloadQueue::downloadCancelled, &queue,
                         [this](const QString& address) { events.push_back("cancelled " + address.toStdString()); });
    }
    std::vector<std::string> events;
};

class DownloadQueueTest : public testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::ensureCoreApplication(); }

    // Runs the event loop (which serves the test server) until the queue is idle.
    void waitUntilIdle() {
        while (!m_queue.isIdle())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    std::string address(const QByteArray& path) const { return m_server.url(path).toString().toStdString(); }

    nettest::TestHttpServer m_server;
    testing_support::TestFolder m_folder;
    net::DownloadQueue m_queue{{.destinationFolder = [this] { return std::optional(m_folder.path()); },
                                .allowOverwrite = [] { return false; },
                                .stallTimeout = std::chrono::milliseconds(2000)}};
    QueueRecorder m_recorder{m_queue};
};

TEST_F(DownloadQueueTest, DownloadsOneAfterAnotherInDropOrderWithTheirTitles) {
    m_server.route("/a.mov", {.body = QByteArray(100000, 'a'), .pieceDelayMs = 0});
    m_server.route("/b.mov", {.body = "b"});
    m_queue.enqueueMovieURL(m_server.url("/a.mov").toString(), QString("Holiday"));
    m_queue.enqueueMovieURL(m_server.url("/b.mov").toString(), std::nullopt);
    m_queue.enqueueMovieURL(m_server.url("/a.mov").toString(), std::nullopt);
    m_queue.enqueueMovieURL(QString(), QString("refused"));
    EXPECT_EQ(m_queue.count(), 3);
    waitUntilIdle();
    const std::vector<std::string> expected = {
        "start " + address("/a.mov"),
        "status: 0 URLs queued for download.",
        "status: 1 URL queued for download.",
        "status: 2 URLs queued for download.",
        "done a.mov as a.mov (Holiday)",
        "status: 1 URL queued for download.",
        "start " + address("/b.mov"),
        "done b.mov as b.mov",
        "status: 0 URLs queued for download.",
        "start " + address("/a.mov"),
        // The title that came with an address stays with it for the run.
        "done a-1.mov as a-1.mov (Holiday)",
        "status: ",
    };
    EXPECT_EQ(m_recorder.events, expected);
    EXPECT_EQ(testing_support::namesIn(m_folder.path()), (std::vector<std::string>{"a-1.mov", "a.mov", "b.mov"}));
}

TEST_F(DownloadQueueTest, FailuresAndCancelsPassToTheNextAddress) {
    m_server.route("/slow.mov", {.body = QByteArray(400, 's'), .pieceDelayMs = 10});
    m_server.route("/ok.mov", {.body = "ok"});
    bool cancelled = false;
    QObject::connect(&m_queue, &net::DownloadQueue::downloadProgress, &m_queue, [&] {
        if (!cancelled)
            m_queue.cancelDownload();
        cancelled = true;
    });
    m_queue.enqueueMovieURL("not a web address", std::nullopt);
    m_queue.enqueueMovieURL(m_server.url("/missing.mov").toString(), std::nullopt);
    m_queue.enqueueMovieURL(m_server.url("/slow.mov").toString(), std::nullopt);
    m_queue.enqueueMovieURL(m_server.url("/ok.mov").toString(), std::nullopt);
    waitUntilIdle();
    std::vector<std::string> outcomes;
    for (const std::string& event : m_recorder.events)
        if (!event.starts_with("st"))
            outcomes.push_back(event);
    EXPECT_EQ(outcomes, (std::vector<std::string>{"failed not a web address", "failed " + address("/missing.mov"),
                                                  "cancelled " + address("/slow.mov"), "done ok.mov as ok.mov"}));
    EXPECT_EQ(testing_support::namesIn(m_folder.path()), std::vector<std::string>{"ok.mov"});
}

TEST(DownloadProgressLine, ReadsAsTheBarShowsIt) {
    testing_support::ensureCoreApplication();
    EXPECT_EQ(net::downloadProgressLine(1234567, 2939000, 5),
              "42 percent, (1,234,567 of 2,939,000 bytes, Elapsed: 5 secs , Remaining: 6 secs )");
    // More than announced: full, nothing remaining.
    EXPECT_EQ(net::downloadProgressLine(300, 200, 61),
              "100 percent, (300 of 200 bytes, Elapsed: 1 min 1 sec , Remaining: 0 secs)");
    EXPECT_EQ(net::queueCountLine(1), "0 URLs queued for download.");
    EXPECT_EQ(net::queueCountLine(2), "1 URL queued for download.");
    EXPECT_EQ(net::queueCountLine(4), "3 URLs queued for download.");
}

} // namespace
