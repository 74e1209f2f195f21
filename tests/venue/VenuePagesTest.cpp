#include "venue/QrCode.h"
#include "venue/VenuePages.h"

#include "db/Format.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace {

// A page as a browser reads it: every page is well-formed markup, so an XML
// reader sees its elements and every text with its escapes undone.
struct Element {
    QString name;
    QString text;  // every text inside
    std::map<QString, QString> attributes;
    int parent = -1;

    QString Attr(const QString& key) const { return attributes.count(key) ? attributes.at(key) : QString(); }
};

struct Page {
    VenuePage page;
    QString error;  // none: well-formed
    std::vector<Element> elements;

    bool Within(int i, const std::function<bool(int)>& ancestor) const
    {
        for (int p = elements[size_t(i)].parent; p >= 0; p = elements[size_t(p)].parent)
            if (ancestor(p)) return true;
        return false;
    }
    bool Inside(int i, const QString& name) const
    {
        return Within(i, [&](int p) { return elements[size_t(p)].name == name; });
    }
    std::vector<int> Where(const std::function<bool(const Element&)>& match) const
    {
        std::vector<int> found;
        for (size_t i = 0; i < elements.size(); ++i)
            if (match(elements[i])) found.push_back(int(i));
        return found;
    }
    std::vector<int> Named(const QString& name) const
    {
        return Where([&](const Element& e) { return e.name == name; });
    }
    const Element& First(const QString& name) const
    {
        static const Element none;
        const std::vector<int> found = Named(name);
        return found.empty() ? none : elements[size_t(found.front())];
    }
    QStringList Texts(const QString& name) const
    {
        QStringList texts;
        for (const int i : Named(name)) texts << elements[size_t(i)].text;
        return texts;
    }
    QStringList Attrs(const QString& name, const QString& key, const QString& inside = {}) const
    {
        QStringList values;
        for (const int i : Named(name))
            if (inside.isEmpty() || Inside(i, inside)) values << elements[size_t(i)].Attr(key);
        return values;
    }
    // The rows of the tables whose id or class is key: each cell's text.
    std::vector<QStringList> Table(const QString& key) const
    {
        std::vector<QStringList> rows;
        for (const int tr : Named("tr")) {
            if (!Within(tr, [&](int p) {
                    const Element& e = elements[size_t(p)];
                    return e.name == "table" && (e.Attr("id") == key || e.Attr("class") == key);
                }))
                continue;
            rows.emplace_back();
            for (const Element& cell : elements)
                if (cell.parent == tr) rows.back() << cell.text;
        }
        return rows;
    }
};

Page Parse(const VenuePage& venuePage)
{
    Page page{venuePage, {}, {}};
    QXmlStreamReader xml(venuePage.body);
    std::vector<int> open;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            Element e{xml.name().toString(), {}, {}, open.empty() ? -1 : open.back()};
            for (const QXmlStreamAttribute& a : xml.attributes())
                e.attributes[a.name().toString()] = a.value().toString();
            open.push_back(int(page.elements.size()));
            page.elements.push_back(e);
        } else if (token == QXmlStreamReader::EndElement) {
            open.pop_back();
        } else if (token == QXmlStreamReader::Characters) {
            for (const int i : open) page.elements[size_t(i)].text += xml.text();
        }
    }
    if (xml.hasError()) page.error = xml.errorString();
    return page;
}

const QString kHostile[] = {
    QStringLiteral("<script>alert(1)</script> O'Neil"),
    QStringLiteral("Anne \"Nan\" & Co"),
    QStringLiteral("\u05E9\u05E8\u05D4 \u05DC\u05D5\u05D9"),                 // right to left
    QString::fromUtf8("G\xC3\xB6" "del \xF0\x9D\x94\x8A\xF0\x9F\x98\x80"),  // outside the BMP
};

QString NameOf(int playerID) { return playerID <= 4 ? kHostile[playerID - 1] : Format("Player %d", playerID); }

std::vector<int> Seven(int first) { return {first, first + 1, first + 2, first + 3, first + 4, first + 5, first + 6}; }

// A game of the players, each at the power of his seat.
VenueGame Game(int gameNum, int status, const std::vector<int>& playerIDs)
{
    VenueGame game{gameNum, status, {}};
    for (const int id : playerIDs) game.seats.push_back({id, NameOf(id), int(game.seats.size()), kNoResult, -1});
    return game;
}

// byName from the greatest player id down: neither the seats' order nor
// the games'.
VenueHeat Heat(int heatNum, const std::vector<VenueGame>& games)
{
    VenueHeat heat{heatNum, games, {}};
    for (size_t g = 0; g < games.size(); ++g)
        for (size_t s = 0; s < games[g].seats.size(); ++s) heat.byName.push_back({g, s});
    std::sort(heat.byName.begin(), heat.byName.end(), [&](const VenueSeatPlace& a, const VenueSeatPlace& b) {
        return heat.SeatAt(a).playerID > heat.SeatAt(b).playerID;
    });
    return heat;
}

ListingRow Row(int rank, int index, const QStringList& cells) { return {rank, 0.0f, index, cells}; }

// A player with a finished game in each of his first `played` heats.
PlayerStanding Standing(int playerID, int played, int numHeats, int status = kRanked)
{
    PlayerStanding p{playerID, -1, NameOf(playerID), {}, 0.0f, 0.0f, 0, 0, status};
    for (int h = 0; h < numHeats; ++h)
        p.heats.push_back(h < played ? HeatEntry{h + 1, 1, 0, 5, 3.5f, false} : HeatEntry{-1, 1, -1, -1, 0, true});
    return p;
}

// Heat 1 finished (a solo win, a draw, a seat without a result), heat 2
// under way (started, seeded, a game without powers), heat 3 not seeded;
// with teams. The first four players have hostile names.
VenueEvent SampleEvent()
{
    VenueEvent event;
    event.name = QStringLiteral("Spring <Open> & \"Cup\"");
    event.numHeats = 3;
    event.hasTeams = true;
    std::vector<VenueGame> heat1{Game(1, kFinished, Seven(1)), Game(2, kFinished, Seven(8))};
    for (VenueSeat& seat : heat1[0].seats) seat.result = seat.playerID == 1 ? kWin : kLoss;
    for (VenueSeat& seat : heat1[1].seats) seat.result = seat.playerID <= 9 ? kWin : kLoss;
    for (VenueGame& game : heat1)
        for (VenueSeat& seat : game.seats) seat.centers = seat.result == kWin ? 18 : 2;
    heat1[1].seats[6].result = kNoResult;
    heat1[1].seats[6].centers = -1;
    std::vector<VenueGame> heat2{Game(1, kStarted, Seven(8)), Game(2, kUnstarted, {4, 3, 22, 23, 24, 25, 26}),
                                 Game(3, kStarted, Seven(15))};
    for (VenueSeat& seat : heat2[2].seats) seat.powerID = kNoPower;
    event.heats = {Heat(1, heat1), Heat(2, heat2), Heat(3, {})};
    event.currentHeat = 2;

    Standings& s = event.standings;
    s.players = {Standing(3, 1, 3), Standing(1, 1, 3), Standing(4, 1, 3, kNotQualified)};
    s.playerRows = {Row(1, 1, {"1.", NameOf(1), "18", "", "", "18"}),
                    Row(2, 0, {"2.", NameOf(3), "2.500", "", "", "2.500"})};
    s.teams = {{1, QStringLiteral("Team <b>"), 20.0f, 2}};
    s.teamRows = {Row(1, 0, {"1.", QStringLiteral("Team <b>"), "20"})};
    // After heat 1 the first player was not listed yet.
    event.afterHeat = {s};
    event.afterHeat[0].playerRows = {Row(1, 0, {"1.", NameOf(3), "2.500", "", "", "2.500"})};
    return event;
}

VenuePageSettings Settings() { return {QStringLiteral("http://192.168.1.20:8080/"), 15, 1716060600}; }

Page PageOf(const VenueEvent& event, const QByteArray& path, const QByteArray& screen = {})
{
    return Parse(VenuePageFor(event, ParseVenueRoute(path, screen), Settings()));
}

QByteArray Sha256Source(const QString& text)
{
    return "'sha256-" + QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toBase64() + "'";
}

}  // namespace

TEST(VenueRoutes, ExactPathsAndNumbersOnly)
{
    using Kind = VenueRoute::Kind;
    const struct {
        const char* path;
        const char* screen;
        Kind kind;
        int number;
    } cases[] = {
        {"/", "", Kind::Home, 0},           {"/standings", "", Kind::Standings, 0},
        {"/heat/3", "", Kind::Heat, 3},     {"/heat/12/players", "", Kind::HeatPlayers, 12},
        {"/heat/01", "", Kind::Heat, 1},    {"/player/2147483647", "", Kind::Player, 2147483647},
        {"/display", "", Kind::Display, 1}, {"/display", "4", Kind::Display, 4},
        {"/display", "0", Kind::Display, 1}, {"/display", "x1", Kind::Display, 1},
        {"/display", "99999999999", Kind::Display, 1},
    };
    for (const auto& c : cases) {
        const VenueRoute route = ParseVenueRoute(c.path, c.screen);
        EXPECT_EQ(route.kind, c.kind) << c.path << "?" << c.screen;
        EXPECT_EQ(route.number, c.number) << c.path << "?" << c.screen;
    }
    for (const char* path : {"/../", "/..", "/heat/0", "/heat/-1", "/heat/+1", "/heat/99999999999",
                             "/player/2147483648", "/player/abc", "/heat/1/", "/heat/1/players/", "/heat/1/teams",
                             "/heat/", "/heat", "//", "", "/standings/x", "/standings/", "/display/", "/Standings",
                             "heat/1", "/game/1", "/heat/1%2f"})
        EXPECT_EQ(ParseVenueRoute(path).kind, Kind::NotFound) << path;
}

TEST(VenuePages, EscapingKeepsTextAndDropsWhatNoDocumentMayHold)
{
    const struct {
        QString text;
        QString html;
    } cases[] = {
        {QStringLiteral("a&b<c>d\"e'f"), QStringLiteral("a&amp;b&lt;c&gt;d&quot;e&#39;f")},
        {kHostile[3] + kHostile[2], kHostile[3] + kHostile[2]},
        {QStringLiteral("a\x01" "b\x7F" "c\tc"), QStringLiteral("a\uFFFDb\uFFFDc\tc")},
        {QString(QChar(0xD800)) + QStringLiteral("x"), QStringLiteral("\uFFFDx")},  // a lone surrogate
        {QString(QChar(0xFFFF)), QStringLiteral("\uFFFD")},
    };
    for (const auto& c : cases) EXPECT_EQ(VenueHtmlEscaped(c.text), c.html) << c.text.toStdString();
}

TEST(VenuePages, HostileNamesComeOutEscapedAndExact)
{
    const VenueEvent event = SampleEvent();
    const std::pair<const char*, const char*> pages[] = {
        {"/", ""},          {"/heat/1", ""},   {"/heat/2", ""},   {"/heat/1/players", ""}, {"/heat/2/players", ""},
        {"/standings", ""}, {"/player/1", ""}, {"/player/4", ""}, {"/display", ""},        {"/display", "3"}};
    for (const auto& [path, screen] : pages) {
        const Page page = PageOf(event, path, screen);
        ASSERT_TRUE(page.error.isEmpty()) << path << ": " << page.error.toStdString();
        EXPECT_EQ(page.page.status, 200) << path;
        // No name made an element: no script but the projector's own, no <b>.
        EXPECT_EQ(page.Named("script").size(), QByteArray(path).startsWith("/display") ? 1u : 0u) << path;
        EXPECT_TRUE(page.Named("b").empty()) << path;
        EXPECT_TRUE(page.First("title").text.contains(event.name)) << path;
        // Each name is isolated, exactly as it is.
        const QStringList isolated = page.Texts("bdi");
        EXPECT_TRUE(isolated.contains(event.name)) << path;
        for (const QString& name : kHostile)
            EXPECT_TRUE(!page.First("body").text.contains(name) || isolated.contains(name)) << path;
    }
    const Page heat1 = PageOf(event, "/heat/1");
    for (const QString& name : kHostile) EXPECT_TRUE(heat1.Texts("bdi").contains(name));
    EXPECT_TRUE(heat1.page.body.contains("&lt;script&gt;alert(1)&lt;/script&gt; O&#39;Neil"));
    EXPECT_TRUE(heat1.page.body.contains("G\xC3\xB6" "del \xF0\x9D\x94\x8A\xF0\x9F\x98\x80"));
}

TEST(VenuePages, BoardsPlayersAndStandingsAreTheEventsOwn)
{
    const VenueEvent event = SampleEvent();
    // Heat boards: the seats in power order, results once finished.
    const std::vector<QStringList> finished = PageOf(event, "/heat/1").Table("");
    ASSERT_EQ(finished.size(), 2u * 8u);
    EXPECT_EQ(finished[0], QStringList({"Power", "Player", "Centres", "Result"}));
    EXPECT_EQ(finished[1], QStringList({"Austria", kHostile[0], "18", "Win"}));
    EXPECT_EQ(finished[2], QStringList({"England", kHostile[1], "2", "Loss"}));
    EXPECT_EQ(finished[9], QStringList({"Austria", "Player 8", "18", "Draw"}));
    EXPECT_EQ(finished[15], QStringList({"Turkey", "Player 14", "", ""}));
    const Page underWay = PageOf(event, "/heat/2");
    EXPECT_EQ(underWay.Texts("h2"), QStringList({"Game 1 Started", "Game 2 Seeded", "Game 3 Started"}));
    const std::vector<QStringList> seats = underWay.Table("");
    ASSERT_EQ(seats.size(), 21u);
    EXPECT_EQ(seats[8], QStringList({"England", kHostile[2]}));
    EXPECT_EQ(seats[14], QStringList({"Player 15"}));  // no powers: the players alone
    EXPECT_TRUE(PageOf(event, "/heat/3").First("main").text.contains("No game of this heat has been seeded yet."));

    // Find your board: byName's order, each with his game (linked) and power.
    const VenueHeat& heat = event.heats[1];
    std::vector<QStringList> board{{"Player", "Game", "Power"}};
    QStringList links;
    for (const VenueSeatPlace& place : heat.byName) {
        const int gameNum = heat.games[place.game].gameNum;
        board.push_back({heat.SeatAt(place).name, QString::number(gameNum), PowerName(heat.SeatAt(place).powerID)});
        links << Format("/player/%d", heat.SeatAt(place).playerID) << Format("/heat/2#game-%d", gameNum);
    }
    const Page players = PageOf(event, "/heat/2/players");
    EXPECT_EQ(players.Table("players"), board);
    EXPECT_EQ(board[6], QStringList({"Player 21", "3", ""}));
    EXPECT_EQ(players.Attrs("a", "href", "tbody"), links);

    // Standings: the listing's headings, rows and cells, names linked.
    const Page standings = PageOf(event, "/standings");
    std::vector<QStringList> rows{{"", "Player Name", "Heat 1", "Heat 2", "Heat 3", "Score"}};
    for (const ListingRow& row : event.standings.playerRows) rows.push_back(row.cells);
    EXPECT_EQ(standings.Table("players"), rows);
    EXPECT_EQ(standings.Table("teams"),
              std::vector<QStringList>({{"", "Team Name", "Score"}, {"1.", "Team <b>", "20"}}));
    EXPECT_EQ(standings.Attrs("a", "href", "table"), QStringList({"/player/1", "/player/3"}));
    VenueEvent withoutTeams = event;
    withoutTeams.hasTeams = false;
    EXPECT_TRUE(PageOf(withoutTeams, "/standings").Table("teams").empty());
}

TEST(VenuePages, PlayersPageGivesEachHeatAndHisRankAfterIt)
{
    const VenueEvent event = SampleEvent();
    const Page ranked = PageOf(event, "/player/3");
    EXPECT_EQ(ranked.First("h1").text, kHostile[2]);
    EXPECT_EQ(ranked.Table("heats"),
              std::vector<QStringList>({{"Heat", "Game", "Power", "Result", "Centres", "Score", "Total", "Rank"},
                                        {"1", "1", "France", "Loss", "2", "3.500", "2.500", "1."},
                                        {"2", "2", "England", "Seeded", "", "", "", ""},
                                        {"3", "No seat", "", "", "", "", "", ""}}));
    EXPECT_TRUE(ranked.First("main").text.contains("Rank 2 of 2 with a score of 2.500."));
    EXPECT_EQ(ranked.First("svg").Attr("role"), "img");
    EXPECT_EQ(ranked.Named("circle").size(), 1u);
    EXPECT_EQ(ranked.First("desc").text, "After heat 1: rank 1 of 1.");

    // Not listed after heat 1: his total then, and no rank made up.
    const Page unranked = PageOf(event, "/player/1");
    EXPECT_EQ(unranked.Table("heats")[1],
              QStringList({"1", "1", "Austria", "Win", "18", "3.500", "0", "Not yet qualified"}));
    EXPECT_TRUE(unranked.Named("circle").empty());
    EXPECT_TRUE(unranked.First("main").text.contains("He has had no rank yet."));
    EXPECT_TRUE(PageOf(event, "/player/4").First("main").text.contains("Not ranked: not yet qualified."));
    EXPECT_TRUE(PageOf(event, "/player/21").First("main").text.contains("No game of his has finished yet."));
}

TEST(VenuePages, ShortPagesForWhatTheEventLacksAndEveryPageReloadsUnderItsPolicy)
{
    const VenueEvent event = SampleEvent();
    for (const char* path : {"/heat/4", "/heat/4/players", "/player/99", "/nothing"}) {
        const Page page = PageOf(event, path);
        EXPECT_EQ(page.page.status, 404) << path;
        EXPECT_EQ(page.First("h1").text, "Not Found") << path;
    }
    const struct {
        int status;
        const char* title;
    } statuses[] = {{404, "Not Found"}, {405, "Method Not Allowed"}, {503, "Not Available Just Now"}};
    for (const auto& s : statuses) {
        const Page page = Parse(VenueStatusPage(s.status, QStringLiteral("Try <again> & \"soon\""), Settings()));
        EXPECT_EQ(page.page.status, s.status);
        EXPECT_EQ(page.First("h1").text, s.title);
        EXPECT_TRUE(page.First("main").text.contains("Try <again> & \"soon\""));
    }
    for (const char* path : {"/", "/heat/2", "/standings", "/player/3", "/nothing", "/display"}) {
        const Page page = PageOf(event, path);
        ASSERT_TRUE(page.error.isEmpty()) << path;
        const bool display = QByteArray(path) == "/display";
        EXPECT_EQ(page.Attrs("meta", "content", display ? "noscript" : "head").contains("30"), !display) << path;
        EXPECT_EQ(page.First("time").Attr("datetime"),
                  QDateTime::fromSecsSinceEpoch(Settings().producedAtSeconds).toString("yyyy-MM-ddTHH:mm:ss"));
        // The policy allows the page's own style sheet and script, by hash,
        // and no style attribute, which a hash does not cover.
        QByteArray policy = "default-src 'none'; style-src " + Sha256Source(page.First("style").text) +
                            "; img-src data:; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";
        if (display) policy += "; script-src " + Sha256Source(page.First("script").text) + "; connect-src 'self'";
        EXPECT_EQ(page.page.contentSecurityPolicy, policy) << path;
        EXPECT_TRUE(page.Where([](const Element& e) { return e.attributes.count("style"); }).empty()) << path;
    }
    const Page home = PageOf(event, "/");
    EXPECT_TRUE(home.First("main").text.contains("Heat 2 of 3 is being played."));
    for (const char* href : {"/heat/2", "/heat/2/players", "/standings", "/display", "/heat/1", "/heat/3/players"})
        EXPECT_TRUE(home.Attrs("a", "href").contains(href)) << href;
}

namespace {

// Heat 1 of `games` games being played, each name `letters` long, and a
// standings row for every player.
VenueEvent BigEvent(int games, int letters)
{
    VenueEvent event;
    event.name = QStringLiteral("Big Event");
    event.numHeats = 9;
    std::vector<VenueGame> heat;
    for (int g = 0; g < games; ++g) {
        heat.push_back(Game(g + 1, g % 3, Seven(g * 7 + 1)));
        for (VenueSeat& seat : heat.back().seats) seat.name = Format("P%d ", seat.playerID) + QString(letters, 'x');
    }
    event.heats = {Heat(1, heat)};
    event.currentHeat = 1;
    for (int p = 0; p < games * 7; ++p) {
        event.standings.players.push_back(Standing(p + 1, 9, 9));
        QStringList cells{Format("%d.", p + 1), heat[size_t(p / 7)].seats[size_t(p % 7)].name};
        for (int h = 0; h < 9; ++h) cells << "22.500";
        event.standings.playerRows.push_back(Row(p + 1, p, cells << "202.500"));
    }
    return event;
}

}  // namespace

TEST(VenueScreens, EveryGameAndRowOnceAndNoGameSplit)
{
    const struct {
        int games;
        int letters;
        size_t gamesPerScreen;  // on every screen but the last
    } cases[] = {{30, 10, kVenueGamesPerScreen}, {7, 10, kVenueGamesPerScreen}, {30, 20, 3}, {4, 60, 3}, {1, 400, 1}};
    for (const auto& c : cases) {
        const VenueEvent event = BigEvent(c.games, c.letters);
        const std::vector<VenueScreen> screens = VenueDisplayScreens(event, Settings());
        std::multiset<QString> games, names;
        for (size_t k = 0; k < screens.size(); ++k) {
            const Page page = PageOf(event, "/display", QByteArray::number(qulonglong(k + 1)));
            const VenueScreen& screen = screens[k];
            if (screen.kind == VenueScreen::Kind::Boards) {
                const QStringList headings = page.Texts("h2");
                EXPECT_EQ(size_t(headings.size()), screen.end - screen.first);
                EXPECT_TRUE(screen.end == size_t(c.games) || size_t(headings.size()) == c.gamesPerScreen) << c.letters;
                EXPECT_EQ(page.Table("").size(), 7 * size_t(headings.size()));  // whole games
                games.insert(headings.begin(), headings.end());
                continue;
            }
            ASSERT_EQ(screen.kind, VenueScreen::Kind::Players);
            const std::vector<QStringList> rows = page.Table("standings");
            EXPECT_EQ(rows.size() - 1, screen.end - screen.first);
            EXPECT_LE(rows.size() - 1, kVenueRowsPerScreen);
            // The latest heats and the score always; the earliest give way
            // to a long name.
            const QStringList all{"", "Player Name", "Heat 1", "Heat 2", "Heat 3", "Heat 4", "Heat 5",
                                  "Heat 6", "Heat 7", "Heat 8", "Heat 9", "Score"};
            ASSERT_GE(rows[0].size(), 4);
            EXPECT_EQ(rows[0].mid(0, 2), all.mid(0, 2));
            EXPECT_EQ(rows[0].mid(2), all.mid(all.size() - (rows[0].size() - 2))) << c.letters;
            if (c.letters <= 20) {
                EXPECT_EQ(rows[0].size(), all.size()) << c.letters;
            } else if (c.letters >= 60) {
                EXPECT_LT(rows[0].size(), all.size()) << c.letters;
            }
            for (size_t r = 1; r < rows.size(); ++r) names.insert(rows[r][1]);
        }
        EXPECT_EQ(games.size(), size_t(c.games));
        EXPECT_EQ(std::set<QString>(games.begin(), games.end()).size(), games.size());
        EXPECT_EQ(names.size(), event.standings.playerRows.size());
        EXPECT_EQ(std::set<QString>(names.begin(), names.end()).size(), names.size());
    }
    const std::vector<VenueScreen> full = VenueDisplayScreens(BigEvent(30, 10), Settings());
    EXPECT_EQ(full[full.size() - 2].end - full[full.size() - 2].first, kVenueRowsPerScreen);
}

TEST(VenueScreens, FollowEachOtherAndWrap)
{
    const VenueEvent event = SampleEvent();
    const std::vector<VenueScreen> screens = VenueDisplayScreens(event, Settings());
    ASSERT_EQ(screens.size(), 3u);  // the boards, the players, the teams
    EXPECT_EQ(screens[2].kind, VenueScreen::Kind::Teams);
    const struct {
        const char* screen;
        int shown;
        const char* next;
    } cases[] = {{"", 1, "2"}, {"2", 2, "3"}, {"3", 3, "1"}, {"4", 1, "2"}, {"8", 2, "3"}, {"zz", 1, "2"}};
    for (const auto& c : cases) {
        const Page page = PageOf(event, "/display", c.screen);
        EXPECT_EQ(page.page.body, PageOf(event, "/display", QByteArray::number(c.shown)).page.body) << c.screen;
        EXPECT_EQ(page.First("body").Attr("data-next"), QStringLiteral("/display?screen=") + c.next);
        EXPECT_EQ(page.First("body").Attr("data-seconds"), "15");
        EXPECT_EQ(page.Attrs("meta", "content", "noscript"),
                  QStringList({QStringLiteral("15;url=/display?screen=") + c.next}));
        EXPECT_TRUE(page.First("header").text.contains(Format("screen %d of 3", c.shown))) << c.screen;
        EXPECT_EQ(page.Attrs("svg", "aria-label", "header"), QStringList({"QR code of http://192.168.1.20:8080/"}));
    }
    EXPECT_EQ(PageOf(event, "/display").Table("").size(), 21u);
    EXPECT_EQ(PageOf(event, "/display", "3").Table("standings")[1], QStringList({"1.", "Team <b>", "20"}));

    VenueEvent empty;
    const std::vector<VenueScreen> welcome = VenueDisplayScreens(empty, Settings());
    ASSERT_EQ(welcome.size(), 1u);
    EXPECT_EQ(welcome[0].kind, VenueScreen::Kind::Welcome);
    EXPECT_EQ(PageOf(empty, "/display", "5").First("body").Attr("data-next"), "/display?screen=1");
}

TEST(VenueQrCode, EncodesTheAddressWithItsQuietZone)
{
    const QrCode code = EncodeQrCode(QStringLiteral("http://192.168.1.20:8080/"));
    ASSERT_GE(code.size, 21);
    EXPECT_EQ((code.size - 17) % 4, 0);
    ASSERT_EQ(code.dark.size(), size_t(code.size * code.size));
    // The finder patterns: dark rings around a dark centre, light around them.
    EXPECT_TRUE(code.Dark(0, 0) && code.Dark(3, 3) && code.Dark(code.size - 1, 0) && code.Dark(code.size - 4, 3));
    EXPECT_FALSE(code.Dark(1, 1) || code.Dark(7, 7) || code.Dark(code.size - 2, 1));

    const QImage image = QrCodeImage(code, 3);
    ASSERT_EQ(image.width(), (code.size + 8) * 3);
    EXPECT_EQ(image.height(), image.width());
    for (const QPoint quiet : {QPoint(0, 0), QPoint(11, 11), QPoint(image.width() - 1, image.height() - 1)})
        EXPECT_EQ(image.pixel(quiet), qRgb(255, 255, 255)) << quiet.x();
    EXPECT_EQ(image.pixel(12, 12), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(15, 15), qRgb(255, 255, 255));

    const Page svg = Parse({200, QrCodeSvg(code, QStringLiteral("Code <of> \"it\"")).toUtf8(), {}});
    ASSERT_TRUE(svg.error.isEmpty());
    EXPECT_EQ(svg.First("svg").Attr("viewBox"), Format("0 0 %d %d", code.size + 8, code.size + 8));
    EXPECT_EQ(svg.First("svg").Attr("aria-label"), "Code <of> \"it\"");
    EXPECT_TRUE(svg.First("path").Attr("d").startsWith("M4 4h7v1h-7z"));

    EXPECT_EQ(EncodeQrCode(QString()).size, 0);
    EXPECT_TRUE(QrCodeImage(QrCode{}, 4).isNull());
    EXPECT_TRUE(QrCodeSvg(QrCode{}, QStringLiteral("none")).isEmpty());
}
