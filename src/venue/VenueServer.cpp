#include "venue/VenueServer.h"

#include "db/Format.h"
#include "venue/VenuePages.h"
#include "venue/VenueStoreReader.h"

#include <QDateTime>
#include <QNetworkInterface>
#include <QRegularExpression>

#include <microhttpd.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// What a room of phones may ask of the server: connections in all and from
// one address (the phones of a room behind one router share an address; a
// browser opens several connections each), how long a client may stall,
// and how much a request line with its headers may take.
constexpr unsigned kConnectionLimit = 400;
constexpr unsigned kConnectionsPerAddress = 128;
constexpr unsigned kIdleSeconds = 15;
constexpr size_t kConnectionMemory = 8 * 1024;
constexpr unsigned kServingThreads = 4;
// How far the venue's threads give way to the window (a nice value).
constexpr int kVenueThreadNice = 10;
// Connections the system holds while the serving threads take them on: a
// room that opens the page at once is not made to wait a second for a retry.
constexpr int kListenBacklog = SOMAXCONN;

// A listening socket on the port, for every network or this computer only.
int ListenOn(int port, bool everyNetwork)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        throw VenueServerError(Format("The venue display cannot open a network socket: %s.",
                                      QString::fromLocal8Bit(std::strerror(errno))));
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(port));
    address.sin_addr.s_addr = htonl(everyNetwork ? INADDR_ANY : INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, kListenBacklog) != 0) {
        const int why = errno;
        ::close(fd);
        if (why == EADDRINUSE)
            throw VenueServerError(Format("The port %d is already in use on this computer, by another program or "
                                          "another venue display. Choose another port.",
                                          port));
        if (why == EACCES)
            throw VenueServerError(Format("The port %d may be used only by the system's administrator. Choose a "
                                          "port from 1024 to 65535.",
                                          port));
        throw VenueServerError(Format("The venue display cannot listen on the port %d: %s.", port,
                                      QString::fromLocal8Bit(std::strerror(why))));
    }
    return fd;
}

// This computer's addresses on its networks, IPv4, the ones of interfaces
// that are up first.
QStringList NetworkHosts()
{
    QStringList hosts;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning) ||
            (flags & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol && !entry.ip().isLoopback())
                hosts << entry.ip().toString();
    }
    return hosts;
}

}  // namespace

QString VenueAddress(const QString& host, int port) { return Format("http://%s:%d/", host, port); }

QString VenuePortProblem(const QString& text, int& port)
{
    const QString typed = text.trimmed();
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    const int value = digits.match(typed).hasMatch() ? typed.toInt() : 0;
    if (value < 1 || value > 65535)
        return typed.isEmpty() ? QStringLiteral("The port must be a whole number from 1 to 65535.")
                               : Format("The port must be a whole number from 1 to 65535, not \"%s\".", typed);
    port = value;
    return {};
}

void GiveWayToTheWindow() { ::setpriority(PRIO_PROCESS, id_t(::gettid()), kVenueThreadNice); }

// A page as it is kept between changes: one response of the server's,
// queued for every request that asks for the page until the store changes.
struct CachedPage {
    MHD_Response* response = nullptr;
    int status = 200;
    QByteArray etag;

    CachedPage() = default;
    CachedPage(const CachedPage&) = delete;
    CachedPage& operator=(const CachedPage&) = delete;
    ~CachedPage()
    {
        if (response) MHD_destroy_response(response);
    }
};

class VenueServer::Impl {
public:
    Impl(const QString& connectString, int tournamentID, const VenueServerSettings& settings);
    ~Impl();

    VenueServerSettings settings;
    std::atomic<int> tournamentID;
    std::atomic<int> secondsPerScreen;
    QStringList addresses;
    std::unique_ptr<VenueStoreReader> reader;

    std::atomic<long long> requests{0};
    std::atomic<long long> computed{0};

private:
    static MHD_Result Answer(void* cls, MHD_Connection* connection, const char* url, const char* method,
                             const char* version, const char* uploadData, size_t* uploadSize, void** requestState);
    MHD_Result AnswerRequest(MHD_Connection* connection, const char* url, const char* method);
    static MHD_Result Queue(MHD_Connection* connection, const CachedPage& page);
    std::shared_ptr<const CachedPage> PageFor(const VenueRoute& route);
    std::shared_ptr<const CachedPage> MakePage(const VenuePage& page);
    VenuePageSettings PageSettings() const;

    MHD_Daemon* m_daemon = nullptr;
    std::atomic<long long> m_pageNumber{0};

    // The pages made from the event read last, for the seconds each
    // projector screen shows; any serving thread makes a page it lacks.
    std::mutex m_pagesMutex;
    std::shared_ptr<const VenueSnapshot> m_pagesSnapshot;
    int m_pagesSeconds = 0;
    std::map<std::pair<int, int>, std::shared_ptr<const CachedPage>> m_pages;  // (kind, number)

    std::shared_ptr<const CachedPage> m_notFound;
    std::shared_ptr<const CachedPage> m_notAllowed;
    std::shared_ptr<const CachedPage> m_busy;
};

VenueServer::Impl::Impl(const QString& connectString, int tournament, const VenueServerSettings& given)
    : settings(given), tournamentID(tournament), secondsPerScreen(given.secondsPerScreen)
{
    const int fd = ListenOn(settings.port, settings.everyNetwork);
    // Port 0 leaves the choice to the system (the tests, the benchmark).
    sockaddr_in bound{};
    socklen_t boundSize = sizeof bound;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &boundSize) == 0) settings.port = ntohs(bound.sin_port);
    if (settings.everyNetwork)
        for (const QString& host : NetworkHosts()) addresses << VenueAddress(host, settings.port);
    addresses << VenueAddress(QStringLiteral("127.0.0.1"), settings.port);

    // The store is opened before anything is served.
    try {
        reader = std::make_unique<VenueStoreReader>(connectString);
    } catch (...) {
        ::close(fd);
        throw;
    }

    const VenuePageSettings pageSettings = PageSettings();
    m_notFound = MakePage(VenueStatusPage(404, QStringLiteral("There is no such page."), pageSettings));
    m_notAllowed = MakePage(VenueStatusPage(405, QStringLiteral("These pages can only be read."), pageSettings));
    MHD_add_response_header(m_notAllowed->response, "Allow", "GET, HEAD");
    m_busy = MakePage(VenueStatusPage(
        503, QStringLiteral("The tournament cannot be read just now. This page tries again by itself."), pageSettings));

    m_daemon = MHD_start_daemon(
        MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL, 0, nullptr, nullptr, &Impl::Answer, this,
        MHD_OPTION_LISTEN_SOCKET, MHD_socket(fd), MHD_OPTION_THREAD_POOL_SIZE, kServingThreads,
        MHD_OPTION_CONNECTION_LIMIT, kConnectionLimit, MHD_OPTION_PER_IP_CONNECTION_LIMIT, kConnectionsPerAddress,
        MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds, MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory,
        MHD_OPTION_END);
    if (!m_daemon) {
        ::close(fd);
        throw VenueServerError(Format("The venue display cannot serve on the port %d.", settings.port));
    }
}

// The serving threads stop first: a request they still wait on is answered
// by the reading thread, which stops after them.
VenueServer::Impl::~Impl() { MHD_stop_daemon(m_daemon); }

VenuePageSettings VenueServer::Impl::PageSettings() const
{
    VenuePageSettings page;
    page.mainAddress = addresses.value(0);
    page.secondsPerScreen = secondsPerScreen;
    page.producedAtSeconds = QDateTime::currentSecsSinceEpoch();
    return page;
}

std::shared_ptr<const CachedPage> VenueServer::Impl::MakePage(const VenuePage& page)
{
    auto cached = std::make_shared<CachedPage>();
    cached->status = page.status;
    cached->etag = "\"" + QByteArray::number(++m_pageNumber) + "-" +
                   QByteArray::number(QDateTime::currentMSecsSinceEpoch(), 36) + "\"";
    cached->response = MHD_create_response_from_buffer(size_t(page.body.size()), const_cast<char*>(page.body.data()),
                                                       MHD_RESPMEM_MUST_COPY);
    MHD_add_response_header(cached->response, "Content-Type", "text/html; charset=utf-8");
    MHD_add_response_header(cached->response, "Content-Security-Policy", page.contentSecurityPolicy.constData());
    MHD_add_response_header(cached->response, "X-Content-Type-Options", "nosniff");
    MHD_add_response_header(cached->response, "Referrer-Policy", "no-referrer");
    // A phone may keep the page, but asks each time whether it is still
    // the current one.
    MHD_add_response_header(cached->response, "Cache-Control", "no-cache");
    if (page.status == 200) MHD_add_response_header(cached->response, "ETag", cached->etag.constData());
    return cached;
}

MHD_Result VenueServer::Impl::Answer(void* cls, MHD_Connection* connection, const char* url, const char* method,
                                     const char*, const char*, size_t* uploadSize, void** requestState)
{
    auto* self = static_cast<Impl*>(cls);
    thread_local const bool givenWay = (GiveWayToTheWindow(), true);
    (void)givenWay;
    // The first call has the headers alone; the request is answered once
    // the whole of it has been read (a body is read and dropped), so that
    // the connection stays open for the next request.
    if (*requestState == nullptr) {
        *requestState = self;
        return MHD_YES;
    }
    if (*uploadSize != 0) {
        *uploadSize = 0;
        return MHD_YES;
    }
    return self->AnswerRequest(connection, url, method);
}

MHD_Result VenueServer::Impl::Queue(MHD_Connection* connection, const CachedPage& page)
{
    if (page.status == 200) {
        const char* known = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_IF_NONE_MATCH);
        if (known && page.etag == known) {
            MHD_Response* unchanged = MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT);
            MHD_add_response_header(unchanged, "ETag", page.etag.constData());
            MHD_add_response_header(unchanged, "Cache-Control", "no-cache");
            const MHD_Result queued = MHD_queue_response(connection, MHD_HTTP_NOT_MODIFIED, unchanged);
            MHD_destroy_response(unchanged);
            return queued;
        }
    }
    return MHD_queue_response(connection, unsigned(page.status), page.response);
}

MHD_Result VenueServer::Impl::AnswerRequest(MHD_Connection* connection, const char* url, const char* method)
{
    if (std::strcmp(method, MHD_HTTP_METHOD_GET) != 0 && std::strcmp(method, MHD_HTTP_METHOD_HEAD) != 0)
        return Queue(connection, *m_notAllowed);
    const char* screen = MHD_lookup_connection_value(connection, MHD_GET_ARGUMENT_KIND, "screen");
    const VenueRoute route = ParseVenueRoute(QByteArray(url), screen ? QByteArray(screen) : QByteArray());
    if (route.kind == VenueRoute::Kind::NotFound) return Queue(connection, *m_notFound);
    ++requests;
    return Queue(connection, *PageFor(route));
}

std::shared_ptr<const CachedPage> VenueServer::Impl::PageFor(const VenueRoute& route)
{
    const std::shared_ptr<const VenueSnapshot> snapshot = reader->Now(tournamentID);
    if (!snapshot) return m_busy;
    const int seconds = secondsPerScreen;
    const std::pair<int, int> key{int(route.kind), route.number};
    {
        // The pages of the event before go outside the lock.
        std::map<std::pair<int, int>, std::shared_ptr<const CachedPage>> before;
        std::shared_ptr<const VenueSnapshot> beforeSnapshot;
        {
            std::lock_guard lock(m_pagesMutex);
            if (m_pagesSnapshot == snapshot && m_pagesSeconds == seconds) {
                if (const auto found = m_pages.find(key); found != m_pages.end()) return found->second;
            } else {
                before.swap(m_pages);
                beforeSnapshot = std::exchange(m_pagesSnapshot, snapshot);
                m_pagesSeconds = seconds;
            }
        }

    }
    // Made outside the lock, so that the serving threads make the pages of
    // a new event side by side.
    const VenuePageSettings pageSettings = PageSettings();
    const std::shared_ptr<const CachedPage> page =
        snapshot->event
            ? MakePage(VenuePageFor(*snapshot->event, route, pageSettings))
            : MakePage(VenueStatusPage(404, QStringLiteral("No tournament is shown at the moment."), pageSettings));
    ++computed;
    std::lock_guard lock(m_pagesMutex);
    if (m_pagesSnapshot != snapshot || m_pagesSeconds != seconds) return page;
    return m_pages.emplace(key, page).first->second;
}

VenueServer::VenueServer(const QString& connectString, int tournamentID, const VenueServerSettings& settings)
    : m_impl(std::make_unique<Impl>(connectString, tournamentID, settings))
{
}

VenueServer::~VenueServer() = default;

VenueServerSettings VenueServer::Settings() const
{
    VenueServerSettings settings = m_impl->settings;
    settings.secondsPerScreen = m_impl->secondsPerScreen;
    return settings;
}

int VenueServer::Port() const { return m_impl->settings.port; }

QString VenueServer::MainAddress() const { return m_impl->addresses.value(0); }

QStringList VenueServer::Addresses() const { return m_impl->addresses; }

void VenueServer::ShowTournament(int tournamentID) { m_impl->tournamentID = tournamentID; }

void VenueServer::SetSecondsPerScreen(int seconds) { m_impl->secondsPerScreen = seconds; }

VenueServerCounts VenueServer::Counts() const
{
    return {m_impl->requests, m_impl->computed, m_impl->reader->Reads()};
}
