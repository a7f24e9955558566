#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace ui {

// One JoinClip window per user: the first start listens on a local socket in
// the user's runtime folder; a later `joinclip FILE...` hands its files over
// (an open-documents event for the running one) and exits.
//
// What goes over the socket: the header "JoinClip open 1", then the number of
// paths and each path's bytes (QDataStream), absolute and as the file system
// has them (not necessarily UTF-8). The running instance answers one byte
// once it has read them all.

// The socket's path: $XDG_RUNTIME_DIR/joinclip.socket (the runtime folder
// is the user's alone), or a per-user name in the temporary folder without one.
QString instanceSocketPath();

// What became of a hand-over.
enum class HandOver {
    Taken,       // the running instance confirmed it has the paths
    NoneRunning, // nobody listens there: this start becomes the running instance
    NotTaken,    // one listens but did not confirm within the time: the paths may be lost
};

// Sends paths to the instance listening at socketPath and waits up to
// timeoutMs for each step. Blocks; usable before any event loop and from any
// thread.
[[nodiscard]] HandOver handOverToRunningInstance(const QString& socketPath,
                                                 const std::vector<std::filesystem::path>& paths,
                                                 int timeoutMs = 5000);

// The listening end in the running instance.
class InstanceServer final : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QString socketPath, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Starts listening; false when another instance answers there already. A
    // socket file left by an instance that ended is removed first.
    bool listen();

signals:
    // Another start of the program asked to open these (perhaps no) paths.
    // Always emitted from the event loop, never from inside a socket's own
    // signal: a receiver may show an alert (a nested event loop) while more
    // starts hand over and their sockets come and go.
    void documentsOpened(const std::vector<std::filesystem::path>& paths);

private:
    void readFrom(QLocalSocket* socket);

    QString m_socketPath;
    QLocalServer* m_server;
};

// The paths of one hand-over message, or none while it is incomplete or when
// it is not one (too big, wrong header).
std::optional<std::vector<std::filesystem::path>> decodeHandOver(const QByteArray& message);
QByteArray encodeHandOver(const std::vector<std::filesystem::path>& paths);

} // namespace ui
