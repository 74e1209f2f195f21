// The venue display's pages in a real browser, headless Chromium: the
// projector's screens at 1920x1080 and a phone's find-your-board list at
// 360x740, as they render. make test-browser runs them.

#include "db/Format.h"
#include "support/DbTest.h"
#include "support/FullTournament.h"
#include "support/WebDriver.h"
#include "venue/VenueEvent.h"
#include "venue/VenueServer.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QThread>

#include <memory>

namespace {

// The smallest type of the element's own text, the text's total and
// whether anything spills out of the viewport.
const char kRendered[] = R"(
  var smallest = 1e9, texts = 0;
  var walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  while (walker.nextNode()) {
    var node = walker.currentNode;
    if (!node.textContent.trim()) continue;
    var element = node.parentElement;
    var box = element.getBoundingClientRect();
    if (box.width === 0 || box.height === 0) continue;
    smallest = Math.min(smallest, parseFloat(getComputedStyle(element).fontSize));
    texts++;
  }
  var root = document.documentElement;
  return { smallest: smallest, texts: texts, width: innerWidth, height: innerHeight,
           spillsDown: root.scrollHeight > innerHeight, spillsSideways: root.scrollWidth > innerWidth,
           next: document.body.getAttribute('data-next') || '', text: document.body.innerText };
)";

class InABrowser : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        m_tournament = testdata::AddFullTournament();
        StartServer(0);
        ASSERT_TRUE(m_browser.Ready()) << m_browser.Error().toStdString();
    }

    void StartServer(int port)
    {
        m_server = std::make_unique<VenueServer>(store().ConnectString(), m_tournament.tournamentID,
                                                 VenueServerSettings{port, false, kMinSecondsPerScreen});
    }

    QString Address(const char* path) const { return VenueAddress("127.0.0.1", m_server->Port()) + QString::fromLatin1(path + 1); }

    QJsonObject Rendered() { return m_browser.Run(kRendered).toObject(); }

    // Waits until the projector shows a screen other than the one whose
    // next screen is `next`; the screen it moved to.
    QJsonObject NextScreen(const QString& next, int seconds)
    {
        QElapsedTimer clock;
        clock.start();
        QJsonObject now = Rendered();
        while (now.value("next").toString() == next && clock.elapsed() < seconds * 1000) {
            QThread::msleep(250);
            now = Rendered();
        }
        return now;
    }

    testdata::FullTournament m_tournament;
    std::unique_ptr<VenueServer> m_server;
    WebDriver m_browser;
};

}  // namespace

TEST_F(InABrowser, TheProjectorShowsEveryScreenWholeInLargeTypeAndGoesOnByItselfAfterTheServerWasAway)
{
    m_browser.SetViewport(1920, 1080, false);
    const VenueEvent event = ReadVenueEvent(m_tournament.tournamentID);
    const VenueHeat& heat = *event.Heat(event.currentHeat);

    // Every screen of the round, boards and standings, fits and is read from
    // across the room, until the first comes again.
    QString next = QStringLiteral("/display");
    QStringList shown;
    do {
        SCOPED_TRACE(next.toStdString());
        m_browser.Load(Address(next.toLatin1().constData()));
        const QJsonObject screen = Rendered();
        EXPECT_EQ(screen.value("width").toInt(), 1920);
        EXPECT_EQ(screen.value("height").toInt(), 1080);
        EXPECT_GT(screen.value("texts").toInt(), 0);
        EXPECT_GE(screen.value("smallest").toDouble(), 28.0);
        EXPECT_FALSE(screen.value("spillsDown").toBool());
        EXPECT_FALSE(screen.value("spillsSideways").toBool());
        shown << screen.value("text").toString();
        m_browser.SavePicture(QStringLiteral("display-%1").arg(shown.size()));
        next = screen.value("next").toString();
    } while (next != QLatin1String("/display?screen=1") && shown.size() < 60);
    ASSERT_EQ(next, "/display?screen=1");
    const QString round = shown.join('\n');
    for (const VenueGame& game : heat.games) {
        EXPECT_TRUE(round.contains(Format("Game %d", game.gameNum))) << game.gameNum;
        for (const VenueSeat& seat : game.seats) EXPECT_TRUE(round.contains(seat.name)) << seat.name.toStdString();
    }

    // By itself it moves on to the next screen; when the server goes away
    // for longer than a screen and comes back on its address, it goes on.
    m_browser.Load(Address("/display"));
    const QJsonObject first = Rendered();
    EXPECT_TRUE(first.value("text").toString().contains("Game 1"));
    const QJsonObject second = NextScreen(first.value("next").toString(), kMinSecondsPerScreen + 5);
    EXPECT_EQ(second.value("next").toString(), "/display?screen=3");
    const int port = m_server->Port();
    m_server.reset();
    QThread::sleep(kMinSecondsPerScreen + 3);
    EXPECT_EQ(Rendered().value("next").toString(), "/display?screen=3") << "it keeps its screen while the server is away";
    StartServer(port);
    EXPECT_EQ(NextScreen("/display?screen=3", kMinSecondsPerScreen + 12).value("next").toString(), "/display?screen=4");
}

TEST_F(InABrowser, APhoneFindsItsBoardByNameOnANarrowScreen)
{
    m_browser.SetViewport(360, 740, true);
    const VenueEvent event = ReadVenueEvent(m_tournament.tournamentID);
    const VenueHeat& heat = *event.Heat(event.currentHeat);
    m_browser.Load(Address("/heat/9/players"));
    const QJsonObject page = Rendered();
    m_browser.SavePicture(QStringLiteral("heat-players-phone"));
    EXPECT_FALSE(page.value("spillsSideways").toBool());
    EXPECT_GE(page.value("smallest").toDouble(), 12.0);

    // The names as they come down the page: every seated player once, A to Z.
    const QJsonArray names = m_browser.Run(R"(
        return Array.from(document.querySelectorAll('main a[href^="/player/"]'), function (a) {
          return a.textContent.trim(); });)").toArray();
    QStringList expected;
    for (const VenueSeatPlace& place : heat.byName) expected << heat.SeatAt(place).name;
    QStringList shown;
    for (const QJsonValue& name : names) shown << name.toString();
    EXPECT_EQ(shown, expected);

    // The wide tables scroll within their boxes: the page itself never does.
    const QString player = QStringLiteral("/player/%1").arg(m_tournament.players.front());
    for (const QString& path : {QStringLiteral("/"), QStringLiteral("/standings"), QStringLiteral("/heat/9"), player}) {
        SCOPED_TRACE(path.toStdString());
        m_browser.Load(Address(path.toLatin1().constData()));
        m_browser.SavePicture(QStringLiteral("phone") + QString(path).replace('/', '-'));
        EXPECT_FALSE(Rendered().value("spillsSideways").toBool());
    }
}
