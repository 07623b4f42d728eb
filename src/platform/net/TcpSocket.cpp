#include "platform/net/TcpSocket.h"

#include "platform/net/NetLog.h"
#include "platform/net/NetThread.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace
{
// A socket closed by us gets this long to send what it still holds.
constexpr int kLingerMs = 5000;
constexpr qint64 kReadChunk = 65536;
}  // namespace

// Everything but the open flag is touched on the network thread only.
struct CTcpConnection::Impl : std::enable_shared_from_this<CTcpConnection::Impl>
{
    QTcpSocket* socket = nullptr;
    Handlers handlers;
    bool started = false;
    bool closeReported = false;
    std::atomic<bool> open{false};
    QString peer;

    void Attach(QTcpSocket* s)
    {
        socket = s;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        peer = socket->peerAddress().toString();
        open = true;
    }

    void Deliver()
    {
        // A handler may let go of the last owner of this connection.
        const std::shared_ptr<Impl> keep = shared_from_this();
        while (open && socket && socket->bytesAvailable() > 0)
        {
            const QByteArray chunk = socket->read(kReadChunk);
            if (chunk.isEmpty())
                break;
            if (handlers.onData)
                handlers.onData(reinterpret_cast<const BYTE*>(chunk.constData()), static_cast<int>(chunk.size()));
        }
    }

    // The peer went away: deliver what is left, then report the end once.
    void Lost()
    {
        if (!open)
            return;
        const std::shared_ptr<Impl> keep = shared_from_this();
        Deliver();
        if (!open)
            return;
        open = false;
        Release(false);
        if (!closeReported)
        {
            closeReported = true;
            if (handlers.onClosed)
                handlers.onClosed();
        }
    }

    // Lets go of the socket; a graceful close first sends what is queued.
    void Release(bool graceful)
    {
        if (!socket)
            return;
        QTcpSocket* s = socket;
        socket = nullptr;
        QObject::disconnect(s, nullptr, nullptr, nullptr);
        if (graceful && s->state() == QAbstractSocket::ConnectedState)
        {
            KeepUntilNetThreadEnds(s);
            QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            QTimer::singleShot(kLingerMs, s, [s] { s->abort(); });
            s->disconnectFromHost();
            if (s->state() == QAbstractSocket::UnconnectedState)
                s->deleteLater();
        }
        else
        {
            s->abort();
            s->deleteLater();
        }
    }

    void Wire()
    {
        QTcpSocket* s = socket;
        QObject::connect(s, &QTcpSocket::readyRead, s, [this] { Deliver(); });
        QObject::connect(s, &QTcpSocket::disconnected, s, [this] { Lost(); });
        QObject::connect(s, &QTcpSocket::errorOccurred, s, [this](QAbstractSocket::SocketError) { Lost(); });
    }
};

CTcpConnection::CTcpConnection(std::shared_ptr<Impl> impl) : m_p(std::move(impl)) {}

CTcpConnection::~CTcpConnection() { Close(); }

std::unique_ptr<CTcpConnection> CTcpConnection::Connect(const CString& host, int port, int timeoutMs,
                                                        CString* error)
{
    struct Outcome
    {
        std::mutex lock;
        std::condition_variable done;
        bool finished = false;
        QString error;
    };
    auto outcome = std::make_shared<Outcome>();
    auto impl = std::make_shared<Impl>();
    const QString hostName = QString::fromUtf8(host.GetString());
    CallOnNetThread([&] {
        auto* s = new QTcpSocket();
        impl->socket = s;
        auto finish = [outcome](const QString& text) {
            std::lock_guard<std::mutex> lock(outcome->lock);
            if (outcome->finished)
                return;
            outcome->finished = true;
            outcome->error = text;
            outcome->done.notify_all();
        };
        QObject::connect(s, &QTcpSocket::connected, s, [finish] { finish(QString()); });
        QObject::connect(s, &QTcpSocket::errorOccurred, s,
                         [finish, s](QAbstractSocket::SocketError) { finish(s->errorString()); });
        s->connectToHost(hostName, static_cast<quint16>(port));
    });
    bool connected = false;
    {
        std::unique_lock<std::mutex> lock(outcome->lock);
        outcome->done.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return outcome->finished; });
        if (!outcome->finished)
        {
            outcome->finished = true;
            outcome->error = QStringLiteral("no answer in time");
        }
        connected = outcome->error.isEmpty();
        if (!connected && error)
            *error = CString(outcome->error.toUtf8().constData());
    }
    bool stillConnected = false;
    CallOnNetThread([&] {
        QTcpSocket* s = impl->socket;
        QObject::disconnect(s, nullptr, nullptr, nullptr);
        if (connected && s->state() == QAbstractSocket::ConnectedState)
        {
            impl->Attach(s);
            stillConnected = true;
        }
        else
        {
            impl->socket = nullptr;
            s->abort();
            s->deleteLater();
        }
    });
    if (!stillConnected)
    {
        if (connected && error)
            *error = "the connection closed at once";
        return nullptr;
    }
    return std::unique_ptr<CTcpConnection>(new CTcpConnection(impl));
}

void CTcpConnection::Start(Handlers handlers)
{
    std::shared_ptr<Impl> p = m_p;
    CallOnNetThread([&] {
        if (p->started)
            return;
        p->started = true;
        p->handlers = std::move(handlers);
        if (!p->socket)
            return;
        p->Wire();
        // What arrived before the start, and an end that came before it.
        RunOnNetThread([p] {
            p->Deliver();
            if (p->socket && p->socket->state() != QAbstractSocket::ConnectedState)
                p->Lost();
        });
    });
}

BOOL CTcpConnection::Send(const void* data, int size)
{
    if (!m_p->open)
        return FALSE;
    if (size <= 0)
        return TRUE;
    std::shared_ptr<Impl> p = m_p;
    QByteArray bytes(static_cast<const char*>(data), size);
    RunOnNetThread([p, bytes] {
        if (p->socket && p->open)
            p->socket->write(bytes);
    });
    return TRUE;
}

void CTcpConnection::Close()
{
    if (!m_p)
        return;
    std::shared_ptr<Impl> p = m_p;
    CallOnNetThread([p] {
        p->open = false;
        p->closeReported = true;
        p->Release(true);
    });
}

BOOL CTcpConnection::IsOpen() const { return m_p->open; }

CString CTcpConnection::GetPeerAddress() const { return CString(m_p->peer.toUtf8().constData()); }

struct CTcpListener::Impl
{
    QTcpServer* server = nullptr;
    AcceptHandler onAccept;
};

CTcpListener::~CTcpListener() { Close(); }

std::unique_ptr<CTcpListener> CTcpListener::Listen(int port, AcceptHandler onAccept, CString* error)
{
    std::unique_ptr<CTcpListener> listener(new CTcpListener());
    auto impl = std::make_shared<Impl>();
    impl->onAccept = std::move(onAccept);
    QString failure;
    int boundPort = 0;
    CallOnNetThread([&] {
        auto* server = new QTcpServer();
        if (!server->listen(QHostAddress::AnyIPv4, static_cast<quint16>(port)))
        {
            failure = server->errorString();
            delete server;
            return;
        }
        boundPort = server->serverPort();
        impl->server = server;
        Impl* raw = impl.get();
        QObject::connect(server, &QTcpServer::newConnection, server, [raw] {
            while (raw->server && raw->server->hasPendingConnections())
            {
                QTcpSocket* s = raw->server->nextPendingConnection();
                s->setParent(nullptr);
                auto connection = std::make_shared<CTcpConnection::Impl>();
                connection->Attach(s);
                raw->onAccept(std::unique_ptr<CTcpConnection>(new CTcpConnection(connection)));
            }
        });
    });
    if (!failure.isEmpty())
    {
        if (error)
            *error = CString(failure.toUtf8().constData());
        return nullptr;
    }
    listener->m_p = impl;
    listener->m_nPort = boundPort;
    return listener;
}

void CTcpListener::Close()
{
    if (!m_p)
        return;
    std::shared_ptr<Impl> p = m_p;
    CallOnNetThread([p] {
        if (!p->server)
            return;
        QTcpServer* server = p->server;
        p->server = nullptr;
        QObject::disconnect(server, nullptr, nullptr, nullptr);
        server->close();
        server->deleteLater();
    });
}
