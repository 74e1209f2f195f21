#pragma once
// A plain HTTP/1.1 client over loopback for the tests of the venue
// display's server: whole requests, and requests sent as a hostile or slow
// client would (cut short, over-long), byte for byte as given.

#include <QByteArray>

#include <map>

struct HttpReply {
    int status = 0;  // 0 when no status line arrived
    std::map<QByteArray, QByteArray> headers;  // names in lower case
    QByteArray body;
    QByteArray Header(const QByteArray& name) const;
};

// Sends request as it stands to 127.0.0.1:port and reads the reply until
// the server closes the connection (the request should say
// "Connection: close") or timeoutMs has passed.
HttpReply HttpExchange(int port, const QByteArray& request, int timeoutMs = 10000);

// GET (or another method) of path, with Host and Connection: close, and a
// body (with its length) when one is given.
HttpReply HttpRequest(int port, const QByteArray& method, const QByteArray& path, const QByteArray& headers = {},
                      const QByteArray& body = {});
inline HttpReply HttpGet(int port, const QByteArray& path) { return HttpRequest(port, "GET", path); }

// A connection to 127.0.0.1:port, or -1; the caller closes it.
int ConnectToLoopback(int port);

// True when the server has closed the connection within timeoutMs (reading
// what it sent meanwhile into sent, when given).
bool ClosedByServer(int fd, int timeoutMs, QByteArray* sent = nullptr);

// A port no one listens on at the moment.
int FreeLoopbackPort();
