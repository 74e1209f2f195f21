#include "venue/VenuePhonePages.h"

#include "db/Format.h"
#include "venue/VenuePageParts.h"

#include <algorithm>

namespace venue_pages {

namespace {

// Phones first, any width from 360 px up; a wide table scrolls by itself.
const char kPhoneSheet[] = R"(
:root { color-scheme: light; }
* { box-sizing: border-box; }
body { font-family: system-ui, "Segoe UI", Roboto, "Helvetica Neue", Arial, sans-serif; line-height: 1.4;
       color: #111; background: #fff; max-width: 64rem; margin: 0 auto; padding: 0.75rem 1rem 1.5rem; }
a { color: #0645ad; }
header { border-bottom: 2px solid #666; padding-bottom: 0.3rem; margin-bottom: 0.75rem; }
.event { margin: 0; font-weight: 600; overflow-wrap: anywhere; }
nav ul, ul.links { list-style: none; margin: 0; padding: 0; }
nav ul { display: flex; flex-wrap: wrap; column-gap: 1.25rem; }
nav a, ul.links a { display: inline-block; padding: 0.35rem 0; }
h1 { font-size: 1.6rem; margin: 0 0 0.5rem; overflow-wrap: anywhere; }
h2 { font-size: 1.25rem; margin: 1.5rem 0 0.4rem; }
.lead { font-size: 1.1rem; }
.date { color: #444; margin: 2rem 0 0; font-size: 0.9rem; }
.scroll { overflow-x: auto; }
table { border-collapse: collapse; width: 100%; }
th, td { padding: 0.3rem 0.5rem; border-bottom: 1px solid #ccc; text-align: left; vertical-align: top; }
thead th { border-bottom: 2px solid #666; }
tbody th { font-weight: normal; color: #333; white-space: nowrap; }
.num { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
.name { overflow-wrap: anywhere; min-width: 7rem; width: 100%; }
.result { white-space: nowrap; }
tbody tr:nth-child(even) { background: #f3f3f3; }
.boards { display: grid; grid-template-columns: repeat(auto-fill, minmax(18rem, 1fr)); gap: 0.75rem; }
.game { border: 1px solid #999; border-radius: 0.4rem; padding: 0.4rem 0.6rem 0.6rem; }
.game h2 { margin: 0 0 0.3rem; font-size: 1.15rem; display: flex; justify-content: space-between; gap: 0.5rem; }
.game th, .game td { padding: 0.2rem 0.3rem; }
.state { font-weight: normal; color: #444; }
.chart { margin: 0.5rem 0 0; max-width: 30rem; }
.chart svg { display: block; width: 100%; height: auto; }
.chart .axis { stroke: #999; stroke-width: 1; }
.chart .rank { fill: none; stroke: #0645ad; stroke-width: 2.5; }
.chart .dot { fill: #0645ad; }
.chart text { font-size: 12px; fill: #333; }
figcaption { color: #444; font-size: 0.9rem; }
@media (max-width: 40rem) {
  body { padding: 0.5rem 0.5rem 1rem; font-size: 0.95rem; }
  h1 { font-size: 1.4rem; }
  th, td { padding: 0.25rem 0.3rem; }
}
)";

constexpr int kPhoneReloadSeconds = 30;

QString PhoneNavigation(const VenueEvent* event)
{
    QString items = QStringLiteral("<li><a href=\"/\">Home</a></li>");
    if (event && event->currentHeat > 0) {
        items += Format("<li><a href=\"%s\">Heat %d</a></li>", HeatAddress(event->currentHeat), event->currentHeat);
        items += Format("<li><a href=\"%s\">Find your board</a></li>", HeatPlayersAddress(event->currentHeat));
    }
    if (event) items += QStringLiteral("<li><a href=\"/standings\">Standings</a></li>");
    return Format("<nav aria-label=\"Pages\"><ul>%s</ul></nav>\n", items);
}

std::vector<qsizetype> AllColumns(const QStringList& headings)
{
    std::vector<qsizetype> all(size_t(headings.size()));
    for (size_t c = 0; c < all.size(); ++c) all[c] = qsizetype(c);
    return all;
}

int GamesWithStatus(const VenueHeat& heat, int status)
{
    return int(std::count_if(heat.games.begin(), heat.games.end(),
                             [&](const VenueGame& game) { return game.status == status; }));
}

QString HeatSummary(const VenueHeat& heat)
{
    if (heat.games.empty()) return QStringLiteral("No game of this heat has been seeded yet.");
    return Format("%d game%s: %d finished, %d started, %d seeded.", int(heat.games.size()),
                  PluralSuffix(qsizetype(heat.games.size())), GamesWithStatus(heat, kFinished),
                  GamesWithStatus(heat, kStarted), GamesWithStatus(heat, kUnstarted));
}

QString HeatProgress(const VenueHeat& heat)
{
    if (heat.games.empty()) return QStringLiteral("not seeded yet");
    return Format("%d of %d finished", GamesWithStatus(heat, kFinished), int(heat.games.size()));
}

QString ListingSection(const VenueEvent& event, const std::vector<ListingRow>& rows, bool players)
{
    const QStringList headings = players ? PlayerHeadings(event.numHeats) : TeamHeadings();
    const QString id = players ? QStringLiteral("players") : QStringLiteral("teams");
    const QString heading = players ? QStringLiteral("Players") : QStringLiteral("Teams");
    QString html = Format("<section aria-labelledby=\"%s-heading\">\n<h2 id=\"%s-heading\">%s</h2>\n", id, id, heading);
    if (rows.empty())
        return html + Format("<p>No %s ranked yet.</p>\n</section>\n", players ? "player is" : "team is");
    const std::vector<QStringList> cells =
        ListingCells(event.standings, rows, players, Audience::Phone, AllColumns(headings));
    return html + Format("<div class=\"scroll\">\n%s</div>\n</section>\n",
                         TableHtml(Format(" id=\"%s\"", id), ListingColumns(headings), cells));
}

}  // namespace

VenuePage PhonePage(const VenueEvent* event, const PhoneContent& content, const VenuePageSettings& settings, int status)
{
    QString body = QStringLiteral("<header>\n");
    if (event && content.eventLine)
        body += Format("<p class=\"event\"><a href=\"/\">%s</a></p>\n", Isolated(event->name));
    body += PhoneNavigation(event) + QStringLiteral("</header>\n<main>\n");
    body += Format("<h1>%s</h1>\n%s</main>\n", content.heading, content.main);
    body += Format("<footer>\n<p class=\"date\">Updated %s. This page reloads itself every %d seconds.</p>\n"
                   "</footer>\n",
                   TimeElement(settings.producedAtSeconds, QStringLiteral("d MMMM yyyy, HH:mm:ss")),
                   kPhoneReloadSeconds);
    const DocumentParts parts{content.title,
                              Format("<meta http-equiv=\"refresh\" content=\"%d\" />\n", kPhoneReloadSeconds),
                              QStringLiteral("<body>"), body};
    return {status, DocumentHtml(kPhoneSheet, parts), ContentPolicy(kPhoneSheet, nullptr)};
}

VenuePage HomePage(const VenueEvent& event, const VenuePageSettings& settings)
{
    QString main;
    if (event.currentHeat == 0) main += QStringLiteral("<p class=\"lead\">No heat has been seeded yet.</p>\n");
    else if (event.currentHeat <= event.numHeats)
        main += Format("<p class=\"lead\">Heat %d of %d is being played.</p>\n", event.currentHeat, event.numHeats);
    else main += Format("<p class=\"lead\">Heat %d is being played.</p>\n", event.currentHeat);

    main += QStringLiteral("<ul class=\"links\">\n");
    const int current = event.currentHeat;
    if (current > 0)
        main += Format("<li>%s</li>\n<li>%s</li>\n",
                       Link(HeatPlayersAddress(current), Format("Find your board in heat %d", current)),
                       Link(HeatAddress(current), Format("Heat %d board by board", current)));
    main += QStringLiteral("<li><a href=\"/standings\">Standings</a></li>\n"
                           "<li><a href=\"/display\">The projector's view</a></li>\n</ul>\n");

    if (!event.heats.empty())
        main += QStringLiteral("<h2>Every heat: its boards and its players</h2>\n<ul class=\"links\">\n");
    for (const VenueHeat& heat : event.heats)
        main += Format("<li>%s · %s: %s</li>\n", Link(HeatAddress(heat.heatNum), Format("Heat %d", heat.heatNum)),
                       Link(HeatPlayersAddress(heat.heatNum), QStringLiteral("players")), HeatProgress(heat));
    if (!event.heats.empty()) main += QStringLiteral("</ul>\n");
    return PhonePage(&event, {event.name, Isolated(event.name), main, false}, settings);
}

VenuePage HeatPage(const VenueEvent& event, const VenueHeat& heat, const VenuePageSettings& settings)
{
    QString main = Format("<p>%s %s</p>\n", HeatSummary(heat),
                          Link(HeatPlayersAddress(heat.heatNum), QStringLiteral("Find your board.")));
    main += QStringLiteral("<div class=\"boards\">\n") + GameCards(heat, 0, heat.games.size(), Audience::Phone) +
            QStringLiteral("</div>\n");
    const QString title = Format("Heat %d", heat.heatNum);
    return PhonePage(&event, {PageTitle(title, event), title, main}, settings);
}

VenuePage HeatPlayersPage(const VenueEvent& event, const VenueHeat& heat, const VenuePageSettings& settings)
{
    const bool powers = HasPowers(heat);
    std::vector<Column> columns{{QStringLiteral("Player"), QStringLiteral("name")}, {QStringLiteral("Game"), {}}};
    if (powers) columns.push_back({QStringLiteral("Power"), {}});
    std::vector<QStringList> rows;
    for (const VenueSeatPlace& place : heat.byName) {
        const VenueSeat& seat = heat.SeatAt(place);
        const int gameNum = heat.games[place.game].gameNum;
        QStringList row{PlayerLink(seat.playerID, seat.name), GameLink(heat.heatNum, gameNum)};
        if (powers) row << PowerName(seat.powerID);
        rows.push_back(row);
    }
    QString main;
    if (rows.empty()) main = QStringLiteral("<p>No game of this heat has been seeded yet.</p>\n");
    else
        main = Format("<p>Every player of heat %d from A to Z by last name, with his game%s.</p>\n"
                      "<div class=\"scroll\">\n%s</div>\n",
                      heat.heatNum, powers ? " and power" : "",
                      TableHtml(QStringLiteral(" id=\"players\""), columns, rows));
    const QString heading = Format("Find your board: heat %d", heat.heatNum);
    return PhonePage(&event, {PageTitle(heading, event), heading, main}, settings);
}

VenuePage StandingsPage(const VenueEvent& event, const VenuePageSettings& settings)
{
    QString main = ListingSection(event, event.standings.playerRows, true);
    if (event.hasTeams) main += ListingSection(event, event.standings.teamRows, false);
    const QString title = QStringLiteral("Standings");
    return PhonePage(&event, {PageTitle(title, event), title, main}, settings);
}

}  // namespace venue_pages
