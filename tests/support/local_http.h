#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <vector>

// A small HTTP server on 127.0.0.1 for the film-details client: each request's
// target ("/3/search/movie?…") goes to the handler, whose response is sent
// whole and the connection closed. Header-only, so that the benchmarks use it
// too.
class LocalHttpServer {
public:
    struct Response {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        bool silent = false;  // never answers
    };
    struct Request {
        QByteArray target;
        QByteArray head;  // the request line and headers as sent
    };
    std::function<Response(const QByteArray& target)> handler;
    std::vector<Request> requests;

    LocalHttpServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) Serve(socket);
        });
    }
    QString Base() const { return QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort()); }

    static QByteArray Reply(const Response& r) {
        QByteArray out = "HTTP/1.1 " + QByteArray::number(r.status) +
                         " X\r\nContent-Length: " + QByteArray::number(r.body.size()) +
                         "\r\nConnection: close\r\n";
        for (const auto& [name, value] : r.headers) out += name + ": " + value + "\r\n";
        return out + "\r\n" + r.body;
    }

private:
    void Serve(QTcpSocket* socket) {
        auto* head = new QByteArray;
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket, head] {
            delete head;
            socket->deleteLater();
        });
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, head] {
            *head += socket->readAll();
            if (!head->contains("\r\n\r\n") || head->isEmpty()) return;
            const QByteArray target = head->split(' ').value(1);
            requests.push_back({target, *head});
            head->clear();
            head->append('\0');  // one request per connection
            const Response r = handler ? handler(target) : Response{404, {}, {}, false};
            if (r.silent) return;
            socket->write(Reply(r));
            socket->disconnectFromHost();
        });
    }

    QTcpServer server_;
};
