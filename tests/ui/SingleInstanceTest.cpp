// One instance per user: a second start hands its files over a local socket;
// what arrives there is checked before it is believed.

#include "ui/SingleInstance.h"

#include "WindowHarness.h"

#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <atomic>
#include <set>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using Paths = std::vector<std::filesystem::path>;

class SingleInstanceTest : public testing_support::WindowTest {
protected:
    QString socketPath() const { return QString::fromStdString(dir() / "joinclip.socket"); }
};

// Starts that come in any number and at any moment, while the running one
// shows an alert for each hand-over (a nested event loop), and starts that
// give up half-way: every file arrives byte for byte, nothing crashes. Each
// start blocks until this thread's event loop answers.
TEST_F(SingleInstanceTest, ManySendersAtAnyMomentWhileAnAlertIsOpen) {
    EXPECT_EQ(ui::handOverToRunningInstance(socketPath(), {"/tmp/a.mov"}, 1000), ui::HandOver::NoneRunning);
    ui::InstanceServer server(socketPath());
    ASSERT_TRUE(server.listen());
    std::vector<Paths> received;
    QObject::connect(&server, &ui::InstanceServer::documentsOpened, [&](const Paths& paths) {
        received.push_back(paths);
        QEventLoop alert; // what a modal alert does while it is open
        QTimer::singleShot(5, &alert, &QEventLoop::quit);
        alert.exec();
    });
    constexpr int kSenders = 6, kRounds = 4;
    std::atomic<int> taken = 0, finished = 0;
    std::vector<std::thread> senders;
    for (int sender = 0; sender < kSenders; ++sender)
        senders.emplace_back([&, sender] {
            for (int round = 0; round < kRounds; ++round) {
                if (round == 1) { // a start that dies in the middle of its message
                    QLocalSocket quitter;
                    quitter.connectToServer(socketPath());
                    if (quitter.waitForConnected(10000)) {
                        quitter.write(ui::encodeHandOver({"/half.mov"}).left(9));
                        quitter.waitForBytesWritten(10000);
                        quitter.abort();
                    }
                }
                const Paths paths{"/s" + std::to_string(sender) + "/r" + std::to_string(round) + ".mov",
                                  "/tmp/caf\xe9-latin1.mp4", "/srv/\xe2\x9c\x93.mkv"};
                if (ui::handOverToRunningInstance(socketPath(), paths, 30000) == ui::HandOver::Taken)
                    ++taken;
                std::this_thread::sleep_for(std::chrono::milliseconds(sender * 3));
            }
            ++finished;
        });
    testing_support::runEventsUntil([&] { return finished.load() == kSenders; });
    for (auto& sender : senders)
        sender.join();
    EXPECT_EQ(taken.load(), kSenders * kRounds);
    testing_support::runEventsUntil([&] { return static_cast<int>(received.size()) == kSenders * kRounds; });
    std::set<std::filesystem::path> firsts;
    for (const Paths& paths : received) {
        firsts.insert(paths.front());
        EXPECT_EQ(Paths(paths.begin() + 1, paths.end()), (Paths{"/tmp/caf\xe9-latin1.mp4", "/srv/\xe2\x9c\x93.mkv"}));
    }
    EXPECT_EQ(static_cast<int>(firsts.size()), kSenders * kRounds) << "each hand-over once";
}

// A running one that never answers: the second start reports its files were not taken.
TEST_F(SingleInstanceTest, AStartWhoseFilesWereNotTakenSaysSo) {
    QLocalServer deaf;
    ASSERT_TRUE(deaf.listen(socketPath()));
    std::atomic<ui::HandOver> outcome = ui::HandOver::Taken;
    std::atomic<bool> done = false;
    std::thread other([&] {
        outcome = ui::handOverToRunningInstance(socketPath(), {"/a.mov"}, 300);
        done = true;
    });
    testing_support::runEventsUntil([&] { return done.load(); });
    other.join();
    EXPECT_EQ(outcome.load(), ui::HandOver::NotTaken);
}

TEST_F(SingleInstanceTest, OnlyOneInstanceListensAndALeftOverSocketIsTakenOver) {
    {
        // A socket file whose program ended without removing it.
        const int leftOver = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = socketPath().toStdString();
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(leftOver, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(leftOver);
    }
    ui::InstanceServer first(socketPath());
    EXPECT_TRUE(first.listen());
    ui::InstanceServer second(socketPath());
    EXPECT_FALSE(second.listen()) << "the first answers there";
}

TEST_F(SingleInstanceTest, MessagesThatAreNotWholeOrNotOursAreRefused) {
    const QByteArray message = ui::encodeHandOver({"/a.mov", "/b.mov"});
    EXPECT_EQ(ui::decodeHandOver(message), (Paths{"/a.mov", "/b.mov"}));
    EXPECT_FALSE(ui::decodeHandOver(message.left(message.size() - 1))) << "incomplete";
    QByteArray foreign = message;
    foreign[10] = 'X';
    EXPECT_FALSE(ui::decodeHandOver(foreign)) << "another header";
    EXPECT_FALSE(ui::decodeHandOver(QByteArray(16 * 1024 * 1024 + 1, '\0'))) << "too big";
}

} // namespace
