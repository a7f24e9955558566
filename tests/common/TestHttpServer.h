#pragma once

// A small HTTP/1.1 server of the tests' own, on 127.0.0.1 only, serving what
// each test describes per path: bodies with their headers, ranges, a name
// and password, redirects, and the faults of real servers (a connection cut
// mid-way, a server that stops sending, one that sends slowly). It runs on
// the test's thread, served by whatever event loop runs there (the one a
// download spins while it waits).

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <optional>

namespace nettest {

struct Route final {
    int status = 200;
    QByteArray body{};
    QList<std::pair<QByteArray, QByteArray>> headers{};
    // Answers "Range: bytes=N-" with 206 and says "Accept-Ranges: bytes".
    bool ranges = false;
    QByteArray etag{};
    // The first `cuts` answers end the connection after this many body bytes.
    qint64 cutAfter = -1;
    int cuts = 1;
    // Sends the head and this many body bytes, then nothing more.
    qint64 stallAfter = -1;
    // Sends the body a piece at a time with a pause between pieces.
    int pieceDelayMs = 0;
    // A 302 to this address.
    QByteArray redirectTo{};
    // "user:password" that Basic authentication must bring.
    QByteArray credentials{};
};

struct ReceivedRequest final {
    QByteArray path;
    QMap<QByteArray, QByteArray> headers; // names in lower case
};

class TestHttpServer final : public QObject {
public:
    TestHttpServer() {
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                serve(socket);
        });
        if (!m_server.listen(QHostAddress::LocalHost, 0))
            qFatal("the test server cannot listen");
    }

    void route(const QByteArray& path, Route route) { m_routes[path] = std::move(route); }
    QUrl url(const QByteArray& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(QString::fromLatin1(path)));
    }
    const QList<ReceivedRequest>& requests() const { return m_requests; }

private:
    void serve(QTcpSocket* socket) {
        socket->setParent(this);
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            *buffer += socket->readAll();
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QList<QByteArray> lines = buffer->left(end).split('\n');
            buffer->clear();
            ReceivedRequest request;
            request.path = lines.value(0).split(' ').value(1);
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                if (colon > 0)
                    request.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
            }
            m_requests.append(request);
            answer(socket, request);
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    void answer(QTcpSocket* socket, const ReceivedRequest& request) {
        const auto found = m_routes.find(request.path);
        if (found == m_routes.end()) {
            respond(socket, "404 Not Found", {}, "no such file", -1, -1, 0);
            return;
        }
        Route& route = *found;
        if (!route.redirectTo.isEmpty()) {
            respond(socket, "302 Found", {{"Location", route.redirectTo}}, {}, -1, -1, 0);
            return;
        }
        if (!route.credentials.isEmpty() &&
            request.headers.value("authorization") != "Basic " + route.credentials.toBase64()) {
            respond(socket, "401 Unauthorized", {{"WWW-Authenticate", "Basic realm=\"Test\""}}, "who are you?", -1,
                    -1, 0);
            return;
        }
        QList<std::pair<QByteArray, QByteArray>> headers = route.headers;
        if (route.ranges)
            headers.append(std::pair<QByteArray, QByteArray>("Accept-Ranges", "bytes"));
        if (!route.etag.isEmpty())
            headers.append(std::pair<QByteArray, QByteArray>("ETag", route.etag));
        QByteArray status = QByteArray::number(route.status) + (route.status == 200 ? " OK" : " Status");
        QByteArray body = route.body;
        const QByteArray range = request.headers.value("range");
        const QByteArray ifRange = request.headers.value("if-range");
        if (route.ranges && range.startsWith("bytes=") && (ifRange.isEmpty() || ifRange == route.etag)) {
            const qint64 from = range.mid(6, range.indexOf('-') - 6).toLongLong();
            headers.append(std::pair<QByteArray, QByteArray>(
                "Content-Range", "bytes " + QByteArray::number(from) + "-" + QByteArray::number(route.body.size() - 1) +
                                     "/" + QByteArray::number(route.body.size())));
            status = "206 Partial Content";
            body = route.body.mid(from);
        }
        qint64 cut = -1;
        if (route.cutAfter >= 0 && route.cuts > 0) {
            --route.cuts;
            cut = route.cutAfter;
        }
        respond(socket, status, headers, body, cut, route.stallAfter, route.pieceDelayMs);
    }

    void respond(QTcpSocket* socket, const QByteArray& status, const QList<std::pair<QByteArray, QByteArray>>& headers,
                 const QByteArray& body, qint64 cutAfter, qint64 stallAfter, int pieceDelayMs) {
        QByteArray head = "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
                          "\r\nConnection: close\r\n";
        for (const auto& [name, value] : headers)
            head += name + ": " + value + "\r\n";
        socket->write(head + "\r\n");
        if (cutAfter >= 0) {
            socket->write(body.left(cutAfter));
            socket->flush();
            socket->disconnectFromHost();
            return;
        }
        if (stallAfter >= 0) {
            socket->write(body.left(stallAfter));
            return; // and nothing more, the connection left open
        }
        if (pieceDelayMs > 0) {
            sendSlowly(QPointer<QTcpSocket>(socket), body, pieceDelayMs);
            return;
        }
        socket->write(body);
        socket->disconnectFromHost();
    }

    void sendSlowly(QPointer<QTcpSocket> socket, QByteArray rest, int delayMs) {
        if (!socket)
            return;
        if (rest.isEmpty()) {
            socket->disconnectFromHost();
            return;
        }
        socket->write(rest.left(1));
        QTimer::singleShot(delayMs, this, [this, socket, rest, delayMs] { sendSlowly(socket, rest.mid(1), delayMs); });
    }

    QTcpServer m_server;
    QMap<QByteArray, Route> m_routes;
    QList<ReceivedRequest> m_requests;
};

} // namespace nettest
