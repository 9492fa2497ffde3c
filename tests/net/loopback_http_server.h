#pragma once

#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace orvanel::fakes {

// A small HTTP/1.1 server on 127.0.0.1 for the download tests: each path answers as its
// route says, whole, chunked, stalling or breaking off; unknown paths get 404.
class LoopbackHttpServer : public QObject {
public:
    struct Route {
        enum class Send { Whole, Chunked, StallAfter, CloseAfter };
        QByteArray status = "200 OK";
        QByteArray headers; // extra header lines, each ending in CR LF
        QByteArray body;
        Send send = Send::Whole;
        qsizetype cut = 0; // bytes of the body sent before stalling or closing
    };

    LoopbackHttpServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                Serve(socket);
        });
    }
    QUrl Url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path));
    }
    void Add(const QByteArray& path, Route route) { routes_[path] = std::move(route); }
    void Redirect(const QByteArray& from, const QByteArray& to) {
        Add(from, {"302 Found", "Location: " + to + "\r\n", {}});
    }

    QList<QByteArray> requests; // each request's head, as received

private:
    void Serve(QTcpSocket* socket) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            heads_.remove(socket);
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            QByteArray& head = heads_[socket];
            head += socket->readAll();
            const qsizetype end = head.indexOf("\r\n\r\n");
            if (end < 0) return;
            requests.append(head.left(end));
            const QByteArray path = head.split(' ').value(1);
            head.clear();
            Answer(socket,
                   routes_.value(path, Route{"404 Not Found", {}, "<html>Not found</html>"}));
        });
    }

    void Answer(QTcpSocket* socket, const Route& r) {
        QByteArray out = "HTTP/1.1 " + r.status + "\r\nConnection: close\r\n" + r.headers;
        if (r.send == Route::Send::Chunked) {
            out += "Transfer-Encoding: chunked\r\n\r\n";
            for (qsizetype at = 0; at < r.body.size(); at += 65536) {
                const QByteArray piece = r.body.mid(at, 65536);
                out += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
            }
            out += "0\r\n\r\n";
        } else {
            out += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n\r\n";
            out += r.send == Route::Send::Whole ? r.body : r.body.left(r.cut);
        }
        socket->write(out);
        if (r.send == Route::Send::StallAfter) return; // silent until the client gives up
        socket->disconnectFromHost();                  // after what was written has gone out
    }

    QTcpServer server_;
    QHash<QByteArray, Route> routes_;
    QHash<QTcpSocket*, QByteArray> heads_;
};

} // namespace orvanel::fakes
