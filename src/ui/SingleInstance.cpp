#include "ui/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace ui {

namespace {

constexpr const char* kHeader = "JoinClip open 1";
// More than any command line can carry; a bigger message is not ours.
constexpr qsizetype kMaxMessageBytes = 16 * 1024 * 1024;
constexpr char kReceived = 'k';

} // namespace

QString instanceSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath("joinclip.socket");
    return QDir(QDir::tempPath()).filePath(QStringLiteral("joinclip-%1.socket").arg(::getuid()));
}

QByteArray encodeHandOver(const std::vector<std::filesystem::path>& paths) {
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << QByteArray(kHeader) << static_cast<quint32>(paths.size());
    for (const auto& path : paths)
        out << QByteArray::fromStdString(path.native());
    return message;
}

std::optional<std::vector<std::filesystem::path>> decodeHandOver(const QByteArray& message) {
    if (message.size() > kMaxMessageBytes)
        return std::nullopt;
    QDataStream in(message);
    QByteArray header;
    quint32 count = 0;
    in >> header >> count;
    if (in.status() != QDataStream::Ok || header != kHeader)
        return std::nullopt;
    std::vector<std::filesystem::path> paths;
    for (quint32 i = 0; i < count; ++i) {
        QByteArray path;
        in >> path;
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        paths.emplace_back(path.toStdString());
    }
    return paths;
}

HandOver handOverToRunningInstance(const QString& socketPath, const std::vector<std::filesystem::path>& paths,
                                   int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return HandOver::NoneRunning;
    socket.write(encodeHandOver(paths));
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(timeoutMs))
            return HandOver::NotTaken;
    // Only once the running instance confirms are the files its to open.
    if (!socket.waitForReadyRead(timeoutMs))
        return HandOver::NotTaken;
    char answer = 0;
    return socket.getChar(&answer) && answer == kReceived ? HandOver::Taken : HandOver::NotTaken;
}

InstanceServer::InstanceServer(QString socketPath, QObject* parent)
    : QObject(parent), m_socketPath(std::move(socketPath)), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            // Read when the socket says so, from the event loop; the socket is
            // deleted only from the event loop too, never inside its own signal.
            // (queued to the socket itself: a socket gone takes its pending reads with it).
            connect(
                socket, &QLocalSocket::readyRead, socket, [this, socket] { readFrom(socket); },
                Qt::QueuedConnection);
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QMetaObject::invokeMethod(
                socket, [this, socket] { readFrom(socket); }, Qt::QueuedConnection);
        }
    });
}

InstanceServer::~InstanceServer() {
    m_server->close();
}

bool InstanceServer::listen() {
    // Someone answering there is a running instance (listening would take its
    // socket over: QLocalServer replaces the file); a socket file nobody
    // answers on was left by one that ended without removing it.
    QLocalSocket probe;
    probe.connectToServer(m_socketPath);
    if (probe.waitForConnected(1000))
        return false;
    QLocalServer::removeServer(m_socketPath);
    return m_server->listen(m_socketPath);
}

void InstanceServer::readFrom(QLocalSocket* socket) {
    if (socket->property("answered").toBool())
        return;
    // The message may come in pieces: it is kept on the socket until whole.
    QByteArray message = socket->property("message").toByteArray() + socket->readAll();
    if (message.size() > kMaxMessageBytes) {
        socket->disconnectFromServer();
        return;
    }
    socket->setProperty("message", message);
    const auto paths = decodeHandOver(message);
    if (!paths)
        return; // not whole yet
    socket->setProperty("message", QByteArray());
    socket->setProperty("answered", true);
    socket->putChar(kReceived);
    socket->flush();
    // Opened from the event loop: a receiver that shows an alert must not be
    // inside this socket's read when another start's socket comes or goes.
    QMetaObject::invokeMethod(
        this, [this, paths = *paths] { emit documentsOpened(paths); }, Qt::QueuedConnection);
}

} // namespace ui
