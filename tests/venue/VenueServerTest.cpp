// The venue display's server over real HTTP on loopback, against a real
// store: the pages it sends, what a change at another desk does, and what it
// answers hostile and broken requests.

#include "db/Database.h"
#include "db/Format.h"
#include "db/ValueCodes.h"
#include "support/DbTest.h"
#include "support/HttpClient.h"
#include "support/SecondDesk.h"
#include "support/TestData.h"
#include "venue/VenueEvent.h"
#include "venue/VenueServer.h"

#include <QElapsedTimer>
#include <QFile>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <vector>

using namespace testdata;

namespace {

constexpr int kPlayers = 14;

class VenueServerTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        Transaction transaction;
        const int system = AddSystem();
        m_tournament = AddTournament({.name = QStringLiteral("Spring Open"), .systemID = system, .numHeats = 3});
        for (int p = 0; p < kPlayers; ++p)
            m_players.push_back(AddPlayer(Format("Anna%d", p), Format("Zeller%02d", p), Format("anna%d@example.org", p)));
        m_heat = AddHeat(m_tournament, 1);
        m_finished = AddGame(m_heat, 1, kFinished);
        m_started = AddGame(m_heat, 2, kStarted);
        for (int s = 0; s < 7; ++s) {
            AddSeat(m_finished, m_players[size_t(s)], s, s == 0 ? kWin : kLoss, 6, s == 0 ? 18 : 2 + s % 3);
            AddSeat(m_started, m_players[size_t(7 + s)], s);
        }
        transaction.Commit();
    }

    std::unique_ptr<VenueServer> Start(int port = 0)
    {
        return std::make_unique<VenueServer>(store().ConnectString(), m_tournament, VenueServerSettings{port, false, 20});
    }

    std::vector<QByteArray> EveryPage() const
    {
        std::vector<QByteArray> paths{"/", "/standings", "/heat/1", "/heat/1/players", "/display", "/display?screen=2"};
        for (int player : m_players) paths.push_back("/player/" + QByteArray::number(player));
        return paths;
    }

    int m_tournament = 0;
    std::vector<int> m_players;
    int m_heat = 0;
    int m_finished = 0;
    int m_started = 0;
};

QString Body(const HttpReply& reply) { return QString::fromUtf8(reply.body); }

}  // namespace

TEST_F(VenueServerTest, ServesEveryPageWithItsHeadersAndFromMemoryUntilTheStoreChanges)
{
    const auto server = Start();
    for (const QByteArray& path : EveryPage()) {
        SCOPED_TRACE(path.toStdString());
        const HttpReply reply = HttpGet(server->Port(), path);
        EXPECT_EQ(reply.status, 200);
        EXPECT_EQ(reply.Header("Content-Type"), "text/html; charset=utf-8");
        EXPECT_TRUE(reply.Header("Content-Security-Policy").startsWith("default-src 'none'"));
        EXPECT_EQ(reply.Header("X-Content-Type-Options"), "nosniff");
        EXPECT_EQ(reply.Header("Cache-Control"), "no-cache");
        EXPECT_FALSE(reply.Header("ETag").isEmpty());
        EXPECT_TRUE(reply.body.startsWith("<!DOCTYPE html>"));
        EXPECT_FALSE(reply.body.contains("@example.org"));
    }
    // Every seated player's name is on the heat's pages; the finished
    // game's players, and only they, are on the standings.
    const QString heat = Body(HttpGet(server->Port(), "/heat/1"));
    const QString players = Body(HttpGet(server->Port(), "/heat/1/players"));
    const QString standings = Body(HttpGet(server->Port(), "/standings"));
    for (int p = 0; p < kPlayers; ++p) {
        const QString name = Format("Anna%d Zeller%02d", p, p);
        EXPECT_TRUE(heat.contains(name)) << p;
        EXPECT_TRUE(players.contains(name)) << p;
        EXPECT_EQ(standings.contains(name), p < 7) << p;
    }

    const VenueServerCounts before = server->Counts();
    EXPECT_EQ(HttpGet(server->Port(), "/standings").body, standings.toUtf8());
    EXPECT_EQ(server->Counts().storeReads, before.storeReads);
    EXPECT_EQ(server->Counts().computed, before.computed);
}

TEST_F(VenueServerTest, AGameFinishedAtAnotherDeskShowsOnTheNextLoad)
{
    const auto server = Start();
    ASSERT_FALSE(Body(HttpGet(server->Port(), "/standings")).contains("Anna9 Zeller09"));
    SecondDesk desk(store());
    ASSERT_TRUE(desk.Write(QStringLiteral("update GamePlayer set result = 0, years = 6, centers = 4 where gameID = %1")
                               .arg(m_started)))
        << desk.LastError().toStdString();
    ASSERT_TRUE(desk.Write(QStringLiteral("update GamePlayer set result = 1, centers = 10 where gameID = %1 and "
                                          "playerID = %2")
                               .arg(m_started)
                               .arg(m_players[9])));
    ASSERT_TRUE(desk.Write(QStringLiteral("update Game set gameStat = 2 where id = %1").arg(m_started)));
    const long long reads = server->Counts().storeReads;
    const QString standings = Body(HttpGet(server->Port(), "/standings"));
    EXPECT_TRUE(standings.contains("Anna9 Zeller09"));
    EXPECT_EQ(server->Counts().storeReads, reads + 1);
}

TEST_F(VenueServerTest, AnswersBadRequestsWithTheirStatusAndGoesOnServing)
{
    const auto server = Start();
    const QByteArray longValue(10000, 'x');
    const struct {
        const char* what;
        QByteArray request;
        int status;
    } cases[] = {
        {"a path out of the root", "GET /../ HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", 404},
        {"an escaped path out of the root", "GET /%2e%2e/%2e%2e/etc/passwd HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n",
         404},
        {"heat 0", "GET /heat/0 HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", 404},
        {"heat -1", "GET /heat/-1 HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", 404},
        {"a heat beyond any number", "GET /heat/99999999999 HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", 404},
        {"a heat the tournament lacks", "GET /heat/3 HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", 404},
        {"a player by name", "GET /player/abc HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", 404},
        {"a player of no game", "GET /player/999999 HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", 404},
        {"an unknown page", "GET /admin HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", 404},
        {"POST", "POST /standings HTTP/1.1\r\nHost: a\r\nContent-Length: 5\r\nConnection: close\r\n\r\nhello", 405},
        {"DELETE", "DELETE / HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", 405},
        {"an over-long header", "GET / HTTP/1.1\r\nHost: a\r\nX-Long: " + longValue + "\r\nConnection: close\r\n\r\n",
         431},
        {"an over-long request line", "GET /" + longValue + " HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n", 414},
        {"a request without a version", "GET /\r\n\r\n", 400},
        {"a header without a colon", "GET / HTTP/1.1\r\nHost a\r\nConnection: close\r\n\r\n", 400},
        {"an unknown version", "GET / HTTP/9.9\r\nHost: a\r\nConnection: close\r\n\r\n", 505},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const HttpReply reply = HttpExchange(server->Port(), c.request);
        EXPECT_EQ(reply.status, c.status);
        if (c.status == 405) {
            EXPECT_EQ(reply.Header("Allow"), "GET, HEAD");
        }
        EXPECT_EQ(HttpGet(server->Port(), "/").status, 200);
    }
}

TEST_F(VenueServerTest, HeadSendsTheHeadersAloneAndAKnownPageIsNotSentAgain)
{
    const auto server = Start();
    const HttpReply got = HttpGet(server->Port(), "/standings");
    const HttpReply head = HttpRequest(server->Port(), "HEAD", "/standings");
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(head.body.isEmpty());
    EXPECT_EQ(head.Header("Content-Length").toInt(), got.body.size());
    const HttpReply again = HttpRequest(server->Port(), "GET", "/standings", "If-None-Match: " + got.Header("ETag") + "\r\n");
    EXPECT_EQ(again.status, 304);
    EXPECT_TRUE(again.body.isEmpty());
}

TEST_F(VenueServerTest, ClientsThatStallHoldNoOneBackAndConnectionsBeyondTheLimitAreRefused)
{
    const auto server = Start();
    // Half a request, and a connection that never says anything.
    const int half = ConnectToLoopback(server->Port());
    const QByteArray start = "GET /standings HTTP/1.1\r\nHost: a\r\n";
    ASSERT_EQ(::send(half, start.constData(), size_t(start.size()), MSG_NOSIGNAL), start.size());
    const int silent = ConnectToLoopback(server->Port());
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(HttpGet(server->Port(), "/standings").status, 200);
    EXPECT_LT(clock.elapsed(), 2000);

    // One address may hold only 128 connections; those beyond are closed
    // at once rather than queued. (The request just made may still count
    // for a moment.)
    std::vector<int> held{half, silent};
    while (held.size() < 128 + 14) held.push_back(ConnectToLoopback(server->Port()));
    ::usleep(200000);
    int refused = 0;
    for (int fd : held) refused += ClosedByServer(fd, 5) ? 1 : 0;
    EXPECT_GE(refused, 14);
    EXPECT_LE(refused, 15);
    for (int fd : held) ::close(fd);
    // The server frees what they held and goes on serving.
    for (int attempt = 0; attempt < 50 && HttpGet(server->Port(), "/").status != 200; ++attempt) ::usleep(20000);
    EXPECT_EQ(HttpGet(server->Port(), "/").status, 200);
}

TEST_F(VenueServerTest, APortInUseIsRefusedNamingItAndStoppingFreesThePort)
{
    int port = 0;
    {
        const auto server = Start();
        port = server->Port();
        try {
            Start(port);
            FAIL() << "a second server started on the same port";
        } catch (const VenueServerError& refused) {
            EXPECT_TRUE(refused.Message().contains(Format("The port %d is already in use", port)))
                << refused.Message().toStdString();
        }
        EXPECT_EQ(HttpGet(port, "/").status, 200);
    }
    EXPECT_EQ(HttpGet(port, "/").status, 0);
    const auto again = Start(port);
    EXPECT_EQ(again->Port(), port);
    EXPECT_EQ(HttpGet(port, "/").status, 200);
}

TEST_F(VenueServerTest, ShowsTheTournamentTheWindowHasOpen)
{
    const auto server = Start();
    server->ShowTournament(-1);
    EXPECT_EQ(HttpGet(server->Port(), "/").status, 404);
    EXPECT_EQ(HttpGet(server->Port(), "/standings").status, 404);
    server->ShowTournament(m_tournament);
    EXPECT_EQ(HttpGet(server->Port(), "/").status, 200);
    EXPECT_TRUE(Body(HttpGet(server->Port(), "/")).contains("Spring Open"));
}

TEST_F(VenueServerTest, AStoreWithoutTheProgramsTablesIsRefused)
{
    if (ScratchStore::OnServer()) GTEST_SKIP() << "the file's own case";
    CDatabase::Close();
    QFile::remove(QStringLiteral("Orvex.mdb"));
    try {
        Start();
        FAIL() << "a server started without a database";
    } catch (const VenueServerError& refused) {
        EXPECT_TRUE(refused.Message().contains("cannot read the tournament database Orvex.mdb"))
            << refused.Message().toStdString();
    }
    // It never creates the file.
    EXPECT_FALSE(QFile::exists(QStringLiteral("Orvex.mdb")));
}
