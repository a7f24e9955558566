// One instance per user: a second start hands its files over a local socket;
// what arrives there is checked before it is believed.

#include "ui/SingleInstance.h"

#include "WindowHarness.h"

#include <atomic>
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

TEST_F(SingleInstanceTest, FilesOfASecondStartReachTheRunningOneByteForByte) {
    EXPECT_FALSE(ui::handOverToRunningInstance(socketPath(), {"/tmp/a.mov"}, 1000)) << "none is running";
    ui::InstanceServer server(socketPath());
    ASSERT_TRUE(server.listen());
    std::vector<Paths> received;
    QObject::connect(&server, &ui::InstanceServer::documentsOpened,
                     [&](const Paths& paths) { received.push_back(paths); });
    const Paths paths{"/home/me/Holiday clip.mov", "/tmp/caf\xe9-latin1.mp4", "/srv/\xe2\x9c\x93.mkv"};
    // The second start blocks until this instance, on this thread's event loop, answers.
    std::atomic<bool> handedOver = false, done = false;
    std::thread other([&] {
        handedOver = ui::handOverToRunningInstance(socketPath(), paths, 10000);
        done = true;
    });
    testing_support::runEventsUntil([&] { return done.load(); });
    other.join();
    ASSERT_TRUE(handedOver);
    testing_support::runEventsUntil([&] { return !received.empty(); });
    EXPECT_EQ(received, std::vector<Paths>{paths});
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
