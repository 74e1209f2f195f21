#include "support/HttpClient.h"

#include <QElapsedTimer>
#include <QList>

#include <functional>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

HttpReply Parse(const QByteArray& raw)
{
    HttpReply reply;
    const qsizetype end = raw.indexOf("\r\n\r\n");
    const QByteArray head = end < 0 ? raw : raw.left(end);
    const QList<QByteArray> lines = head.split('\n');
    if (lines.isEmpty()) return reply;
    const QList<QByteArray> status = lines.first().trimmed().split(' ');
    if (status.size() >= 2 && status.first().startsWith("HTTP/")) reply.status = status[1].toInt();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0) reply.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
    }
    if (end >= 0) reply.body = raw.mid(end + 4);
    return reply;
}

}  // namespace

QByteArray HttpReply::Header(const QByteArray& name) const
{
    const auto found = headers.find(name.toLower());
    return found == headers.end() ? QByteArray() : found->second;
}

int ConnectToLoopback(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

namespace {

// Reads what the server sends into sent until it closes the connection
// (true), whole() says the reply is whole, or timeoutMs has passed.
bool ReadUntil(int fd, int timeoutMs, QByteArray& sent, const std::function<bool(const QByteArray&)>& whole)
{
    QElapsedTimer clock;
    clock.start();
    char buffer[65536];
    while (clock.elapsed() < timeoutMs) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, int(timeoutMs - clock.elapsed())) <= 0) return false;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return true;
        sent.append(buffer, qsizetype(n));
        if (whole && whole(sent)) return false;
    }
    return false;
}

}  // namespace

bool ClosedByServer(int fd, int timeoutMs, QByteArray* sent)
{
    QByteArray read;
    const bool closed = ReadUntil(fd, timeoutMs, read, {});
    if (sent) sent->append(read);
    return closed;
}

HttpReply HttpExchange(int port, const QByteArray& request, int timeoutMs)
{
    const int fd = ConnectToLoopback(port);
    if (fd < 0) return {};
    qsizetype written = 0;
    while (written < request.size()) {
        const ssize_t n = ::send(fd, request.constData() + written, size_t(request.size() - written), MSG_NOSIGNAL);
        if (n <= 0) break;  // the server may refuse before it has read it all
        written += n;
    }
    // Read until the server closes the connection, or (as a server that
    // keeps it open despite Connection: close) until the body is whole.
    const bool head = request.startsWith("HEAD ");
    QByteArray raw;
    ReadUntil(fd, timeoutMs, raw, [head](const QByteArray& sent) {
        const qsizetype end = sent.indexOf("\r\n\r\n");
        if (head || end < 0) return false;
        const QByteArray length = Parse(sent.left(end + 4)).Header("Content-Length");
        return !length.isEmpty() && sent.size() - (end + 4) >= length.toLongLong();
    });
    ::close(fd);
    return Parse(raw);
}

HttpReply HttpRequest(int port, const QByteArray& method, const QByteArray& path, const QByteArray& headers,
                      const QByteArray& body)
{
    const QByteArray length = body.isEmpty() ? QByteArray() : "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return HttpExchange(port, method + ' ' + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
                                  headers + length + "\r\n" + body,
                        60000);
}

int FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}
