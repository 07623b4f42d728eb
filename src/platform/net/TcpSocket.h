#pragma once
// TCP over IPv4 for the session layer: a listener that takes connections and
// a connection that carries bytes both ways.
//
// Every socket lives on the network thread (NetThread.h). The handlers a
// connection or listener is given run there too, one at a time, in the
// order the bytes arrived; they must not block. Send and Close may be
// called from any thread. Once Close (or the destructor) has returned, no
// handler of that object runs again; a handler may itself close its
// connection.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <functional>
#include <memory>

class CTcpConnection
{
public:
    struct Handlers
    {
        std::function<void(const BYTE* data, int size)> onData;
        std::function<void()> onClosed;  // the peer closed, or the connection failed
    };

    ~CTcpConnection();
    CTcpConnection(const CTcpConnection&) = delete;
    CTcpConnection& operator=(const CTcpConnection&) = delete;

    // Connects to "A.B.C.D" or a host name; waits up to timeoutMs. Must not
    // be called on the network thread. Null, with the reason in error, when
    // the connection could not be made.
    static std::unique_ptr<CTcpConnection> Connect(const CString& host, int port, int timeoutMs, CString* error);

    // Starts delivering what arrives (bytes that came before are delivered
    // first). Call once.
    void Start(Handlers handlers);
    // Queues the bytes for sending; FALSE once the connection is closed.
    BOOL Send(const void* data, int size);
    void Close();
    BOOL IsOpen() const;
    CString GetPeerAddress() const;

    struct Impl;

private:
    friend class CTcpListener;
    explicit CTcpConnection(std::shared_ptr<Impl> impl);
    std::shared_ptr<Impl> m_p;
};

class CTcpListener
{
public:
    using AcceptHandler = std::function<void(std::unique_ptr<CTcpConnection> connection)>;

    ~CTcpListener();
    CTcpListener(const CTcpListener&) = delete;
    CTcpListener& operator=(const CTcpListener&) = delete;

    // Listens on every IPv4 address at the port (0: a free port, which
    // GetPort then tells). The handler runs on the network thread for each
    // connection taken, which it owns and must Start. Null, with the reason
    // in error, when the port cannot be had.
    static std::unique_ptr<CTcpListener> Listen(int port, AcceptHandler onAccept, CString* error);

    int GetPort() const { return m_nPort; }
    void Close();

    struct Impl;

private:
    CTcpListener() = default;
    std::shared_ptr<Impl> m_p;
    int m_nPort = 0;
};
