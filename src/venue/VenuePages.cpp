#include "venue/VenuePages.h"

#include "db/Format.h"
#include "venue/QrCode.h"

#include <QByteArrayView>
#include <QCryptographicHash>
#include <QDateTime>

#include <algorithm>
#include <climits>
#include <numeric>
#include <optional>

namespace {

// ---------------------------------------------------------------------------
// The style sheets and the projector's script

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

// The projector's page is laid out in units of its type, which the sheet
// below sizes min(2.7vh, 1.52vw): 29.16 px at 1920x1080 (never below 28 px
// there), and a screen of any shape holds at least kWidth x kHeight of it.
// Every length of the sheet that takes room is one of these numbers, so the
// screens are cut here as the browser will lay them out.
namespace layout {
constexpr double kTypePx = 29.16;
constexpr double kWidth = 1920 / kTypePx;   // 65.8
constexpr double kHeight = 1080 / kTypePx;  // 37.0
constexpr double kPadX = 0.8;               // body padding
constexpr double kPadY = 0.6;
constexpr double kLine = 1.25;              // line-height
constexpr double kTitleLine = 1.5 * 1.15;   // h1: 1.5em, line-height 1.15
constexpr double kQr = 5.5;                 // the code's square, the header's least height
constexpr double kHeaderGap = 0.8;          // between the titles and the code
constexpr double kHeaderBelow = 0.6;        // header margin-bottom
constexpr double kSafety = 0.25;            // the browser's rounding
constexpr double kTitlesWidth = kWidth - 2 * kPadX - kQr - kHeaderGap;
// The boards: kColumns stacks of cards side by side.
constexpr size_t kColumns = 3;
constexpr double kColumnGap = 0.8;
constexpr double kStackGap = 0.4;                   // between two cards of a stack
constexpr double kCardBorder = 0.1;
constexpr double kCardPadX = 0.45;
constexpr double kCardPadY = 0.35;
constexpr double kCardHeading = 1.1 * 1.25 + 0.15;  // h2: 1.1em, margin-bottom 0.15em
constexpr double kSeatPadX = 0.2;
constexpr double kSeatPadY = 0.05;
constexpr double kCardWidth = (kWidth - 2 * kPadX - double(kColumns - 1) * kColumnGap) / double(kColumns);
constexpr double kCardInner = kCardWidth - 2 * (kCardPadX + kCardBorder);
// The standings tables.
constexpr double kTablePadX = 0.3;
constexpr double kTablePadY = 0.06;
constexpr double kHeadBorder = 0.1;
constexpr double kTableWidth = kWidth - 2 * kPadX;
// The names' column takes what the longest name needs, up to this much,
// before the earliest heats give way: a row that does not wrap keeps a
// screen's twenty rows.
constexpr double kMostNameWidth = 24;
constexpr double kBold = 1.12;          // bold type is this much wider
// The room under the header when its titles take no more than the code.
constexpr double kArea = kHeight - 2 * kPadY - kQr - kHeaderBelow - kSafety;
constexpr double CardHeight(int lines)
{
    return 2 * (kCardBorder + kCardPadY) + kCardHeading + lines * kLine + 7 * 2 * kSeatPadY;
}
constexpr double kTableHead = kLine + 2 * kTablePadY + kHeadBorder;
constexpr double kTableRow = kLine + 2 * kTablePadY;
}  // namespace layout

// What a screen holds when no name wraps, as the header promises.
static_assert(2 * layout::CardHeight(7) + layout::kStackGap <= layout::kArea);
static_assert(3 * layout::CardHeight(7) + 2 * layout::kStackGap > layout::kArea);
static_assert(kVenueGamesPerScreen == 2 * layout::kColumns);
static_assert(layout::kTableHead + double(kVenueRowsPerScreen) * layout::kTableRow <= layout::kArea);
static_assert(layout::kTableHead + double(kVenueRowsPerScreen + 1) * layout::kTableRow > layout::kArea);

const char kProjectorSheet[] = R"(
:root { color-scheme: light; }
* { box-sizing: border-box; }
html { font-size: min(2.7vh, 1.52vw); background: #fff; }
body { margin: 0; padding: 0.6em 0.8em; font-family: system-ui, "Segoe UI", Roboto, "Helvetica Neue", Arial, sans-serif;
       font-size: 1rem; line-height: 1.25; color: #000; background: #fff; }
header { display: flex; justify-content: space-between; align-items: flex-start; column-gap: 0.8em;
         min-height: 5.5em; margin-bottom: 0.6em; }
.titles { flex: 1 1 auto; min-width: 0; }
h1 { font-size: 1.5em; line-height: 1.15; margin: 0; overflow-wrap: anywhere; }
header p { margin: 0; color: #333; overflow-wrap: anywhere; }
.qr { flex: 0 0 5.5em; width: 5.5em; height: 5.5em; }
.qr svg { display: block; width: 100%; height: 100%; }
.boards { display: grid; grid-template-columns: repeat(3, minmax(0, 1fr)); column-gap: 0.8em; align-items: start; }
.stack > .game + .game { margin-top: 0.4em; }
.game { border: 0.1em solid #556; border-radius: 0.3em; padding: 0.35em 0.45em; background: #f2f4f7; }
.game h2 { font-size: 1.1em; line-height: 1.25; margin: 0 0 0.15em; display: flex; justify-content: space-between;
           column-gap: 0.5em; }
.state { font-weight: normal; color: #333; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; vertical-align: top; font-weight: normal; }
.game th, .game td { padding: 0.05em 0.2em; }
.game th { color: #333; white-space: nowrap; }
.name { overflow-wrap: anywhere; width: 100%; }
.num { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
.result { white-space: nowrap; }
.standings th, .standings td { padding: 0.06em 0.3em; }
.standings thead th { font-weight: bold; white-space: nowrap; border-bottom: 0.1em solid #556; }
.standings thead th.num { text-align: right; }
.standings tbody tr:nth-child(even) { background: #eef1f5; }
.welcome { font-size: 1.5em; margin: 2em 0 0; }
)";

// Shows the next screen once this one has had its time, and only when the
// server answers with it: until then the screen stays and it asks again
// every few seconds, so the projector carries on by itself when the server
// or the network comes back.
const char kDisplayScript[] = R"(
(function () {
  'use strict';
  var retrySeconds = 5;
  var answerSeconds = 10;
  function attribute(name, fallback) {
    var value = document.body ? document.body.getAttribute(name) : null;
    return value || fallback;
  }
  function showNext() {
    var controller = new AbortController();
    var timer = setTimeout(function () { controller.abort(); }, answerSeconds * 1000);
    fetch(attribute('data-next', '/display'), { cache: 'no-store', signal: controller.signal })
      .then(function (response) {
        if (response.status !== 200) throw new Error('no screen');
        return response.text();
      })
      .then(function (html) {
        var page = new DOMParser().parseFromString(html, 'text/html');
        if (!page.body || !page.body.hasAttribute('data-next')) throw new Error('no screen');
        clearTimeout(timer);
        document.documentElement.replaceChild(document.adoptNode(page.body), document.body);
        document.title = page.title;
        wait();
      })
      .catch(function () {
        clearTimeout(timer);
        setTimeout(showNext, retrySeconds * 1000);
      });
  }
  function wait() {
    var seconds = Number(attribute('data-seconds', '20'));
    setTimeout(showNext, (seconds > 0 ? seconds : 20) * 1000);
  }
  document.addEventListener('DOMContentLoaded', wait);
})();
)";

constexpr int kPhoneReloadSeconds = 30;

// ---------------------------------------------------------------------------
// Texts

QString Escaped(const QString& text) { return VenueHtmlEscaped(text); }

// A name that may be written right to left, kept from reordering what
// surrounds it.
QString Isolated(const QString& name) { return QStringLiteral("<bdi>") + Escaped(name) + QStringLiteral("</bdi>"); }

QString PlayerAddress(int playerID) { return Format("/player/%d", playerID); }

QString PlayerLink(int playerID, const QString& name)
{
    return Format("<a href=\"%s\">%s</a>", PlayerAddress(playerID), Isolated(name));
}

QString Link(const QString& address, const QString& text)
{
    return Format("<a href=\"%s\">%s</a>", Escaped(address), Escaped(text));
}

QString HeatAddress(int heatNum) { return Format("/heat/%d", heatNum); }
QString HeatPlayersAddress(int heatNum) { return Format("/heat/%d/players", heatNum); }
QString GameAnchor(int gameNum) { return Format("game-%d", gameNum); }

// The game's number, linked to its board on the heat's page.
QString GameLink(int heatNum, int gameNum)
{
    return Format("<a href=\"%s#%s\">%d</a>", HeatAddress(heatNum), GameAnchor(gameNum), gameNum);
}

QString StateText(int status)
{
    if (status == kFinished) return QStringLiteral("Finished");
    if (status == kStarted) return QStringLiteral("Started");
    return QStringLiteral("Seeded");
}

// A finished seat's result: "Win" alone in the win, "Draw" with others in
// it, "Loss"; nothing while no result is entered.
QString ResultText(const VenueGame& game, const VenueSeat& seat)
{
    if (game.status != kFinished || seat.result == kNoResult) return {};
    if (seat.result != kWin) return QStringLiteral("Loss");
    const auto inWin = std::count_if(game.seats.begin(), game.seats.end(),
                                     [](const VenueSeat& s) { return s.result == kWin; });
    return inWin == 1 ? QStringLiteral("Win") : QStringLiteral("Draw");
}

QString CentresText(const VenueGame& game, const VenueSeat& seat)
{
    return game.status == kFinished && seat.centers >= 0 ? QString::number(seat.centers) : QString();
}

bool HasPowers(const VenueGame& game)
{
    return std::any_of(game.seats.begin(), game.seats.end(), [](const VenueSeat& s) { return s.powerID != kNoPower; });
}

bool HasPowers(const VenueHeat& heat)
{
    return std::any_of(heat.games.begin(), heat.games.end(), [](const VenueGame& g) { return HasPowers(g); });
}

QString TimeElement(long long seconds, const QString& shown)
{
    const QDateTime at = QDateTime::fromSecsSinceEpoch(seconds);
    return Format("<time datetime=\"%s\">%s</time>", at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")),
                  at.toString(shown));
}

QStringList PlayerHeadings(int numHeats)
{
    QStringList headings{QString(), QStringLiteral("Player Name")};
    for (int h = 1; h <= numHeats; ++h) headings << Format("Heat %d", h);
    return headings << QStringLiteral("Score");
}

QStringList TeamHeadings() { return {QString(), QStringLiteral("Team Name"), QStringLiteral("Score")}; }

// ---------------------------------------------------------------------------
// Documents

QByteArray SourceHash(const char* source)
{
    const QByteArray digest = QCryptographicHash::hash(QByteArray(source), QCryptographicHash::Sha256);
    return "'sha256-" + digest.toBase64() + "'";
}

QByteArray ContentPolicy(const char* sheet, const char* script)
{
    QByteArray policy = "default-src 'none'; style-src " + SourceHash(sheet) +
                        "; img-src data:; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";
    if (script) policy += "; script-src " + SourceHash(script) + "; connect-src 'self'";
    return policy;
}

// The parts of a page's document that differ from page to page.
struct DocumentParts {
    QString title;     // plain text
    QString head;      // elements after the style sheet
    QString bodyTag;   // "<body ...>"
    QString body;      // what the body holds
};

QByteArray DocumentHtml(const char* sheet, const DocumentParts& parts)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\" />\n"
                                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n");
    html += Format("<title>%s</title>\n<style>%s</style>\n%s</head>\n%s\n%s</body>\n</html>\n", Escaped(parts.title),
                   QString::fromUtf8(sheet), parts.head, parts.bodyTag, parts.body);
    return html.toUtf8();
}

// What a phone page shows under the common header.
struct PhoneContent {
    QString title;            // plain text of the tab's title
    QString heading;          // the <h1>, as HTML
    QString main;             // the rest of the page's content, as HTML
    bool eventLine = true;    // the header names the tournament (not where the heading does)
};

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

VenuePage PhonePage(const VenueEvent* event, const PhoneContent& content, const VenuePageSettings& settings,
                    int status = 200)
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

QString PageTitle(const QString& page, const VenueEvent& event)
{
    return page + QStringLiteral(" – ") + event.name;
}

// ---------------------------------------------------------------------------
// Tables

struct Column {
    QString heading;
    QString cellClass;  // "name", "num", "result" or none
};

// A table whose cells are HTML already; the first column's empty heading
// is the rank.
QString TableHtml(const QString& attributes, const std::vector<Column>& columns, const std::vector<QStringList>& rows)
{
    QString html = Format("<table%s>\n<thead>\n<tr>", attributes);
    for (const Column& column : columns) {
        const QString cls = column.cellClass.isEmpty() ? QString() : Format(" class=\"%s\"", column.cellClass);
        const QString label = column.heading.isEmpty() ? QStringLiteral(" aria-label=\"Rank\"") : QString();
        html += Format("<th scope=\"col\"%s%s>%s</th>", cls, label, Escaped(column.heading));
    }
    html += QStringLiteral("</tr>\n</thead>\n<tbody>\n");
    for (const QStringList& row : rows) {
        html += QStringLiteral("<tr>");
        for (qsizetype c = 0; c < row.size(); ++c) {
            const QString& cls = columns[size_t(c)].cellClass;
            html += cls.isEmpty() ? QStringLiteral("<td>") : Format("<td class=\"%s\">", cls);
            html += row[c] + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</tbody>\n</table>\n");
}

// The listing's columns: the names in column 1, ranks and numbers around.
std::vector<Column> ListingColumns(const QStringList& headings)
{
    std::vector<Column> columns;
    for (qsizetype c = 0; c < headings.size(); ++c)
        columns.push_back({headings[c], c == 1 ? QStringLiteral("name") : QStringLiteral("num")});
    return columns;
}

enum class Audience { Phone, Projector };

// The rows of a listing as cells of HTML, the names isolated (and on a
// phone linked to the player's page); only the columns listed in shown.
std::vector<QStringList> ListingCells(const Standings& standings, const std::vector<ListingRow>& rows, bool players,
                                      Audience audience, const std::vector<qsizetype>& shown)
{
    std::vector<QStringList> cells;
    for (const ListingRow& row : rows) {
        QStringList out;
        for (const qsizetype c : shown) {
            const QString text = row.cells.value(c);
            if (c != 1) out << Escaped(text);
            else if (players && audience == Audience::Phone)
                out << PlayerLink(standings.players[size_t(row.index)].playerID, text);
            else out << Isolated(text);
        }
        cells.push_back(out);
    }
    return cells;
}

std::vector<qsizetype> AllColumns(const QStringList& headings)
{
    std::vector<qsizetype> all(size_t(headings.size()));
    for (size_t c = 0; c < all.size(); ++c) all[c] = qsizetype(c);
    return all;
}

// ---------------------------------------------------------------------------
// Boards

QString SeatNameHtml(const VenueSeat& seat, Audience audience)
{
    return audience == Audience::Phone ? PlayerLink(seat.playerID, seat.name) : Isolated(seat.name);
}

// One game: "Game 3", its state, and a row for each seat (the power, the
// player and, once finished, his centres and result).
QString GameCard(const VenueGame& game, Audience audience)
{
    const bool powers = HasPowers(game);
    const bool finished = game.status == kFinished;
    QString html = Format("<section class=\"game\" aria-labelledby=\"%s\">\n", GameAnchor(game.gameNum));
    html += Format("<h2 id=\"%s\">Game %d <span class=\"state\">%s</span></h2>\n<table>\n", GameAnchor(game.gameNum),
                   game.gameNum, StateText(game.status));
    if (finished && audience == Audience::Phone)
        html += Format("<thead><tr>%s<th scope=\"col\">Player</th><th scope=\"col\" class=\"num\">Centres</th>"
                       "<th scope=\"col\">Result</th></tr></thead>\n",
                       powers ? QStringLiteral("<th scope=\"col\">Power</th>") : QString());
    html += QStringLiteral("<tbody>\n");
    for (const VenueSeat& seat : game.seats) {
        html += QStringLiteral("<tr>");
        if (powers) html += Format("<th scope=\"row\">%s</th>", PowerName(seat.powerID));
        html += Format("<td class=\"name\">%s</td>", SeatNameHtml(seat, audience));
        if (finished)
            html += Format("<td class=\"num\">%s</td><td class=\"result\">%s</td>", CentresText(game, seat),
                           ResultText(game, seat));
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</tbody>\n</table>\n</section>\n");
}

QString GameCards(const VenueHeat& heat, size_t first, size_t end, Audience audience)
{
    QString html;
    for (size_t g = first; g < end; ++g) html += GameCard(heat.games[g], audience);
    return html;
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

// ---------------------------------------------------------------------------
// The phone pages

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

VenuePage StandingsPage(const VenueEvent& event, const VenuePageSettings& settings)
{
    QString main = ListingSection(event, event.standings.playerRows, true);
    if (event.hasTeams) main += ListingSection(event, event.standings.teamRows, false);
    const QString title = QStringLiteral("Standings");
    return PhonePage(&event, {PageTitle(title, event), title, main}, settings);
}

// ---------------------------------------------------------------------------
// A player's page

// A heat's score as the standings list it: empty while it is still to be
// played (or without any finished game of his).
QString HeatScoreText(const PlayerStanding* standing, int heatNum)
{
    if (!standing || heatNum < 1 || size_t(heatNum) > standing->heats.size()) return {};
    const HeatEntry& entry = standing->heats[size_t(heatNum) - 1];
    return entry.pending ? QString() : ScoreText(entry.score);
}

// Where the player stood when a heat was over.
struct StandingAfter {
    bool known = false;  // the heat is over, at least one game of it finished
    const PlayerStanding* standing = nullptr;  // none: no finished game of his yet
    const ListingRow* row = nullptr;           // none: not listed (not yet qualified)
};

StandingAfter StandingAfterHeat(const VenueEvent& event, int playerID, int heatNum)
{
    if (heatNum < 1 || size_t(heatNum) > event.afterHeat.size()) return {};
    const Standings& after = event.afterHeat[size_t(heatNum) - 1];
    return {true, StandingOf(after, playerID), ListingRowOf(after, playerID)};
}

QString TotalText(const StandingAfter& after)
{
    if (after.row) return after.row->cells.back();
    return after.standing ? ScoreText(after.standing->total) : QString();
}

QString RankCellText(const StandingAfter& after)
{
    if (!after.known) return {};
    if (after.row) return after.row->cells.front();
    return after.standing ? QStringLiteral("Not yet qualified") : QStringLiteral("No game yet");
}

QStringList PlayerHeatCells(const VenueEvent& event, const VenueHeat& heat, int playerID)
{
    const StandingAfter after = StandingAfterHeat(event, playerID, heat.heatNum);
    QStringList cells{QString::number(heat.heatNum)};
    if (const VenueSeatPlace* place = heat.PlaceOf(playerID)) {
        const VenueGame& game = heat.games[place->game];
        const VenueSeat& seat = heat.SeatAt(*place);
        cells << GameLink(heat.heatNum, game.gameNum) << PowerName(seat.powerID)
              << (game.status == kFinished ? ResultText(game, seat) : StateText(game.status))
              << CentresText(game, seat);
    } else {
        cells << QStringLiteral("No seat") << QString() << QString() << QString();
    }
    cells << HeatScoreText(StandingOf(event.standings, playerID), heat.heatNum) << Escaped(TotalText(after))
          << Escaped(RankCellText(after));
    return cells;
}

// The chart of ranks[h - 1], the rank after heat h (0: not ranked) among
// field listed players: a line from heat to heat, 1 at the top, broken where
// he was not ranked.
QString RankChartSvg(const std::vector<int>& ranks, int field)
{
    constexpr double left = 40, top = 14, width = 268, height = 130;
    const int heats = int(ranks.size());
    const auto x = [&](int h) { return heats == 1 ? left + width / 2 : left + (h - 1) * width / (heats - 1); };
    const auto y = [&](int rank) { return field == 1 ? top : top + (rank - 1) * height / (field - 1); };
    const auto number = [](double v) { return QString::number(v, 'f', 1); };

    QString desc, labels, lines, dots, line;
    for (int h = 1; h <= heats; ++h) {
        const int rank = ranks[size_t(h) - 1];
        desc += rank ? Format("After heat %d: rank %d of %d. ", h, rank, field)
                     : Format("After heat %d: not ranked. ", h);
        labels += Format("<text x=\"%s\" y=\"%s\" text-anchor=\"middle\">%d</text>", number(x(h)),
                         number(top + height + 22), h);
        if (rank) {
            line += Format("%s,%s ", number(x(h)), number(y(rank)));
            dots += Format("<circle class=\"dot\" cx=\"%s\" cy=\"%s\" r=\"4\"/>", number(x(h)), number(y(rank)));
        }
        const bool breaks = !rank || h == heats || !ranks[size_t(h)];
        if (breaks && !line.isEmpty()) {
            lines += Format("<polyline class=\"rank\" points=\"%s\"/>", line.trimmed());
            line.clear();
        }
    }
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 320 174\" role=\"img\" "
                                 "aria-labelledby=\"rank-title rank-desc\">");
    svg += Format("<title id=\"rank-title\">Rank after each heat</title><desc id=\"rank-desc\">%s</desc>",
                  desc.trimmed());
    svg += Format("<line class=\"axis\" x1=\"%s\" y1=\"%s\" x2=\"%s\" y2=\"%s\"/>", number(left - 8), number(top),
                  number(left - 8), number(top + height));
    svg += Format("<text x=\"%s\" y=\"%s\" text-anchor=\"end\">1</text>", number(left - 12), number(top + 4));
    svg += Format("<text x=\"%s\" y=\"%s\" text-anchor=\"end\">%d</text>", number(left - 12),
                  number(top + height + 4), field);
    return svg + labels + lines + dots + QStringLiteral("</svg>");
}

QString RankChart(const VenueEvent& event, int playerID)
{
    std::vector<int> ranks;
    size_t field = 1;
    for (size_t h = 1; h <= event.afterHeat.size(); ++h) {
        const StandingAfter after = StandingAfterHeat(event, playerID, int(h));
        ranks.push_back(after.row ? after.row->rank : 0);
        field = std::max(field, event.afterHeat[h - 1].playerRows.size());
    }
    if (std::all_of(ranks.begin(), ranks.end(), [](int r) { return r == 0; }))
        return QStringLiteral("<p>He has had no rank yet.</p>\n");
    return Format("<figure class=\"chart\">\n%s\n<figcaption>Rank 1, the top of the standings, is at the top; "
                  "the table above gives each rank.</figcaption>\n</figure>\n",
                  RankChartSvg(ranks, int(field)));
}

QString PlayerSummary(const VenueEvent& event, int playerID)
{
    const ListingRow* row = ListingRowOf(event.standings, playerID);
    if (row)
        return Format("Rank %d of %d with a score of %s.", row->rank, int(event.standings.playerRows.size()),
                      row->cells.back());
    const PlayerStanding* standing = StandingOf(event.standings, playerID);
    if (standing)
        return Format("Not ranked: not yet qualified. His score so far is %s.", ScoreText(standing->total));
    return QStringLiteral("No game of his has finished yet.");
}

VenuePage PlayerPage(const VenueEvent& event, int playerID, const VenuePageSettings& settings)
{
    const std::vector<Column> columns{{QStringLiteral("Heat"), QStringLiteral("num")},
                                      {QStringLiteral("Game"), QStringLiteral("num")},
                                      {QStringLiteral("Power"), {}},
                                      {QStringLiteral("Result"), QStringLiteral("result")},
                                      {QStringLiteral("Centres"), QStringLiteral("num")},
                                      {QStringLiteral("Score"), QStringLiteral("num")},
                                      {QStringLiteral("Total"), QStringLiteral("num")},
                                      {QStringLiteral("Rank"), {}}};
    std::vector<QStringList> rows;
    for (const VenueHeat& heat : event.heats) rows.push_back(PlayerHeatCells(event, heat, playerID));
    QString main = Format("<p class=\"lead\">%s</p>\n<h2>Heat by heat</h2>\n<p>The total and the rank are "
                          "his when the heat was over.</p>\n<div class=\"scroll\">\n%s</div>\n",
                          Escaped(PlayerSummary(event, playerID)),
                          TableHtml(QStringLiteral(" id=\"heats\""), columns, rows));
    main += QStringLiteral("<h2>Rank after each heat</h2>\n") + RankChart(event, playerID);
    const QString name = event.PlayerName(playerID);
    return PhonePage(&event, {PageTitle(name, event), Isolated(name), main}, settings);
}

// ---------------------------------------------------------------------------
// The projector's screens: how much room their texts take

bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// The advance widths of ' ' to '~' in thousandths of an em in DejaVu Sans,
// the widest of the common sans-serif faces (and the one Debian's browsers
// fall back on).
constexpr short kAsciiWidths[] = {
    318, 401, 460, 838, 636, 950, 780, 275, 390, 390, 500, 838, 318, 361, 318, 337, 636, 636, 636, 636,
    636, 636, 636, 636, 636, 636, 337, 337, 838, 838, 838, 531, 1000, 684, 686, 698, 770, 632, 575, 775,
    752, 295, 295, 656, 557, 863, 748, 787, 603, 787, 695, 635, 611, 732, 684, 989, 685, 611, 685, 390,
    337, 390, 838, 500, 500, 613, 635, 550, 635, 615, 352, 635, 634, 278, 278, 579, 278, 974, 634, 612,
    635, 635, 411, 521, 392, 634, 592, 818, 592, 592, 525, 636, 337, 636, 838};
static_assert(std::size(kAsciiWidths) == '~' - ' ' + 1);

// A character's width in em, a little generously: the browser's face may
// be another one, and the other scripts' letters are estimated. Digits and
// the point are as they stand: the numbers are set in tabular figures, which
// no common face sets wider.
double CharWidth(char32_t c)
{
    constexpr double kMargin = 1.03;
    if ((c >= '0' && c <= '9') || c == '.') return kAsciiWidths[c - ' '] / 1000.0;
    if (c >= ' ' && c <= '~') return kMargin * kAsciiWidths[c - ' '] / 1000.0;
    if (c >= 0x1F000) return 1.3;  // pictographs: a colour emoji is wider than an em
    if (IsWide(c)) return 1.05;
    const QChar::Category category = QChar::category(c);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing || category == QChar::Other_Format)
        return 0;
    return 0.8;
}

std::vector<double> CharWidths(const QString& text)
{
    std::vector<double> widths;
    for (const char32_t c : text.toUcs4()) widths.push_back(CharWidth(c));
    return widths;
}

double Sum(const std::vector<double>& widths) { return std::accumulate(widths.begin(), widths.end(), 0.0); }

double TextWidth(const QString& text) { return Sum(CharWidths(text)); }

// The lines text takes in a column width em wide: broken at spaces, and a
// word longer than a line anywhere.
int LinesOf(const QString& text, double width)
{
    int lines = 1;
    double x = 0;
    const double space = CharWidth(' ');
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const std::vector<double> widths = CharWidths(word);
        const double wordWidth = Sum(widths);
        if (x + (x > 0 ? space : 0) + wordWidth <= width) {
            x += (x > 0 ? space : 0) + wordWidth;
            continue;
        }
        if (x > 0) ++lines;
        x = 0;
        for (const double w : widths) {
            if (x > 0 && x + w > width) {
                ++lines;
                x = 0;
            }
            x += w;
        }
    }
    return lines;
}

// The widest of the texts in a column, its padding included.
double ColumnWidth(const QStringList& texts, double padding)
{
    double widest = 0;
    for (const QString& text : texts) widest = std::max(widest, TextWidth(text));
    return widest + 2 * padding;
}

double GameHeight(const VenueGame& game)
{
    using namespace layout;
    QStringList powers, centres, results;
    for (const VenueSeat& seat : game.seats) {
        powers << PowerName(seat.powerID);
        centres << CentresText(game, seat);
        results << ResultText(game, seat);
    }
    double nameWidth = kCardInner - 2 * kSeatPadX;
    if (HasPowers(game)) nameWidth -= ColumnWidth(powers, kSeatPadX);
    if (game.status == kFinished) nameWidth -= ColumnWidth(centres, kSeatPadX) + ColumnWidth(results, kSeatPadX);
    double height = 2 * (kCardBorder + kCardPadY) + kCardHeading;
    for (const VenueSeat& seat : game.seats) height += LinesOf(seat.name, nameWidth) * kLine + 2 * kSeatPadY;
    return height;
}

// The columns of a standings table the projector shows: every heat while
// the longest name keeps its line (up to kMostNameWidth), else the latest
// heats that leave it one.
struct ProjectorTable {
    std::vector<qsizetype> shown;
    double nameWidth = 0;  // the names' column, its padding left out
};

ProjectorTable ProjectorTableOf(const QStringList& headings, const std::vector<ListingRow>& rows, int numHeats)
{
    using namespace layout;
    std::vector<double> widths;
    for (qsizetype c = 0; c < headings.size(); ++c) {
        QStringList texts;
        for (const ListingRow& row : rows) texts << row.cells.value(c);
        widths.push_back(std::max(ColumnWidth(texts, kTablePadX), kBold * TextWidth(headings[c]) + 2 * kTablePadX));
    }
    double others = 0;
    for (qsizetype c = 0; c < headings.size(); ++c)
        if (c != 1) others += widths[size_t(c)];
    const double names = std::min(widths[1], kMostNameWidth + 2 * kTablePadX);
    int dropped = 0;
    while (dropped < numHeats && kTableWidth - others < names) others -= widths[size_t(2 + dropped++)];
    ProjectorTable table;
    table.nameWidth = kTableWidth - others - 2 * kTablePadX;
    table.shown = {0, 1};
    for (qsizetype c = 2 + dropped; c < headings.size(); ++c) table.shown.push_back(c);
    return table;
}

QString ScreenEventLine(const VenueEvent& event, const VenuePageSettings& settings, size_t index, size_t count)
{
    return Format("<p>%s · updated %s · screen %d of %d</p>\n", Isolated(event.name),
                  TimeElement(settings.producedAtSeconds, QStringLiteral("HH:mm:ss")), int(index + 1), int(count));
}

QString ScreenAddressLine(const VenuePageSettings& settings)
{
    if (settings.mainAddress.isEmpty()) return {};
    return Format("<p>On your phone: scan the code or open %s</p>\n", Isolated(settings.mainAddress));
}

// The header's height: the code's, or the titles' when they take more.
double HeaderHeight(const VenueEvent& event, const VenuePageSettings& settings)
{
    using namespace layout;
    // The longest of the headings and of the screen counts.
    const QString heading = QStringLiteral("Team standings · 9999 to 9999 of 9999");
    const QString eventLine = event.name + QStringLiteral(" · updated 00:00:00 · screen 999 of 999");
    const QString addressLine = QStringLiteral("On your phone: scan the code or open ") + settings.mainAddress;
    const double titles = LinesOf(heading, kTitlesWidth / (1.5 * kBold)) * kTitleLine +
                          (LinesOf(eventLine, kTitlesWidth) + LinesOf(addressLine, kTitlesWidth)) * kLine;
    return std::max(kQr, titles);
}

// The end of a stack of whole items from first on, one above the other with
// gap between them: as many as room holds, and at least one.
size_t StackEnd(const std::vector<double>& heights, size_t first, double gap, double room)
{
    size_t end = first + 1;
    double used = heights[first];
    while (end < heights.size() && used + gap + heights[end] <= room) used += gap + heights[end++];
    return end;
}

std::vector<double> GameHeights(const VenueHeat& heat)
{
    std::vector<double> heights;
    for (const VenueGame& game : heat.games) heights.push_back(GameHeight(game));
    return heights;
}

// The room under a screen's header.
double ScreenRoom(const VenueEvent& event, const VenuePageSettings& settings)
{
    using namespace layout;
    return kHeight - 2 * kPadY - HeaderHeight(event, settings) - kHeaderBelow - kSafety;
}

// The boards kColumns stacks of games across, read down and then across.
std::vector<VenueScreen> BoardScreens(const VenueHeat& heat, double room)
{
    const std::vector<double> heights = GameHeights(heat);
    std::vector<VenueScreen> screens;
    for (size_t first = 0; first < heights.size();) {
        size_t end = first;
        for (size_t c = 0; c < layout::kColumns && end < heights.size(); ++c)
            end = StackEnd(heights, end, layout::kStackGap, room);
        screens.push_back({VenueScreen::Kind::Boards, first, end});
        first = end;
    }
    return screens;
}

std::vector<VenueScreen> ListingScreens(VenueScreen::Kind kind, const QStringList& headings,
                                        const std::vector<ListingRow>& rows, int numHeats, double room)
{
    const ProjectorTable table = ProjectorTableOf(headings, rows, numHeats);
    std::vector<double> heights;
    for (const ListingRow& row : rows)
        heights.push_back(LinesOf(row.cells.value(1), table.nameWidth) * layout::kLine + 2 * layout::kTablePadY);
    std::vector<VenueScreen> screens;
    for (size_t first = 0; first < heights.size();) {
        const size_t end = StackEnd(heights, first, 0, room - layout::kTableHead);
        screens.push_back({kind, first, end});
        first = end;
    }
    return screens;
}

const VenueHeat* ShownHeat(const VenueEvent& event)
{
    const VenueHeat* heat = event.Heat(event.currentHeat);
    return heat && !heat->games.empty() ? heat : nullptr;
}

// ---------------------------------------------------------------------------
// The projector's page

QString RangeText(size_t first, size_t last, size_t count)
{
    return first == last ? Format("%d of %d", int(first), int(count))
                         : Format("%d to %d of %d", int(first), int(last), int(count));
}

QString ListingScreenHtml(const VenueEvent& event, const VenueScreen& screen)
{
    const bool players = screen.kind == VenueScreen::Kind::Players;
    const QStringList headings = players ? PlayerHeadings(event.numHeats) : TeamHeadings();
    const std::vector<ListingRow>& all = players ? event.standings.playerRows : event.standings.teamRows;
    const ProjectorTable table = ProjectorTableOf(headings, all, players ? event.numHeats : 0);
    std::vector<Column> columns;
    const std::vector<Column> every = ListingColumns(headings);
    for (const qsizetype c : table.shown) columns.push_back(every[size_t(c)]);
    const std::vector<ListingRow> rows(all.begin() + qsizetype(screen.first), all.begin() + qsizetype(screen.end));
    return TableHtml(QStringLiteral(" class=\"standings\""), columns,
                     ListingCells(event.standings, rows, players, Audience::Projector, table.shown));
}

// What one screen shows under its header.
struct ScreenParts {
    QString heading;  // plain text
    QString main;     // HTML
};

// A screen's games in their stacks, as the screens were cut.
QString ProjectorBoards(const VenueHeat& heat, const VenueScreen& screen, double room)
{
    const std::vector<double> heights = GameHeights(heat);
    QString html = QStringLiteral("<div class=\"boards\">\n");
    for (size_t first = screen.first; first < screen.end;) {
        const size_t end = std::min(StackEnd(heights, first, layout::kStackGap, room), screen.end);
        html += QStringLiteral("<div class=\"stack\">\n") + GameCards(heat, first, end, Audience::Projector) +
                QStringLiteral("</div>\n");
        first = end;
    }
    return html + QStringLiteral("</div>\n");
}

ScreenParts ScreenContent(const VenueEvent& event, const VenueScreen& screen, double room)
{
    switch (screen.kind) {
    case VenueScreen::Kind::Boards: {
        const VenueHeat& heat = *ShownHeat(event);
        const size_t first = size_t(heat.games[screen.first].gameNum);
        const size_t last = size_t(heat.games[screen.end - 1].gameNum);
        return {Format("Heat %d · games %s", heat.heatNum, RangeText(first, last, heat.games.size())),
                ProjectorBoards(heat, screen, room)};
    }
    case VenueScreen::Kind::Players:
    case VenueScreen::Kind::Teams: {
        const bool players = screen.kind == VenueScreen::Kind::Players;
        const size_t count = players ? event.standings.playerRows.size() : event.standings.teamRows.size();
        return {Format("%s · %s", players ? "Standings" : "Team standings",
                       RangeText(screen.first + 1, screen.end, count)),
                ListingScreenHtml(event, screen)};
    }
    case VenueScreen::Kind::Welcome: break;
    }
    return {QStringLiteral("Welcome"),
            QStringLiteral("<p class=\"welcome\">No heat has been seeded yet: the boards and the standings show "
                           "here as soon as there are any.</p>\n")};
}

VenuePage DisplayPage(const VenueEvent& event, int screenNumber, const VenuePageSettings& settings)
{
    const std::vector<VenueScreen> screens = VenueDisplayScreens(event, settings);
    const size_t index = size_t(std::max(screenNumber, 1) - 1) % screens.size();
    const QString next = Format("/display?screen=%d", int((index + 1) % screens.size()) + 1);
    const int seconds = std::clamp(settings.secondsPerScreen, 5, 300);

    const ScreenParts parts = ScreenContent(event, screens[index], ScreenRoom(event, settings));
    const QString qr = QrCodeSvg(EncodeQrCode(settings.mainAddress),
                                 QStringLiteral("QR code of ") + settings.mainAddress);
    QString body = Format("<header>\n<div class=\"titles\">\n<h1>%s</h1>\n%s%s</div>\n<div class=\"qr\">%s</div>\n"
                          "</header>\n<main>\n%s</main>\n",
                          Escaped(parts.heading), ScreenEventLine(event, settings, index, screens.size()),
                          ScreenAddressLine(settings), qr, parts.main);
    const DocumentParts document{
        PageTitle(parts.heading, event),
        Format("<script>%s</script>\n<noscript><meta http-equiv=\"refresh\" content=\"%d;url=%s\" /></noscript>\n",
               QString::fromUtf8(kDisplayScript), seconds, next),
        Format("<body data-next=\"%s\" data-seconds=\"%d\">", next, seconds), body};
    return {200, DocumentHtml(kProjectorSheet, document), ContentPolicy(kProjectorSheet, kDisplayScript)};
}

// ---------------------------------------------------------------------------
// Routes

// A number of a path: 1 to 10 decimal digits, 1 .. 2147483647.
std::optional<int> RouteNumber(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 10) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > INT_MAX) return std::nullopt;
    return int(value);
}

QString StatusTitle(int status)
{
    switch (status) {
    case 404: return QStringLiteral("Not Found");
    case 405: return QStringLiteral("Method Not Allowed");
    case 503: return QStringLiteral("Not Available Just Now");
    default: return QStringLiteral("Not Available");
    }
}

}  // namespace

QString VenueHtmlEscaped(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size() + text.size() / 8);
    // A lone surrogate comes out of toUcs4() as U+FFFD.
    for (const char32_t c : text.toUcs4()) {
        switch (c) {
        case '&': escaped += QStringLiteral("&amp;"); break;
        case '<': escaped += QStringLiteral("&lt;"); break;
        case '>': escaped += QStringLiteral("&gt;"); break;
        case '"': escaped += QStringLiteral("&quot;"); break;
        case '\'': escaped += QStringLiteral("&#39;"); break;
        default: {
            const bool control = (c < 0x20 && c != '\t' && c != '\n') || (c >= 0x7F && c < 0xA0);
            const bool nonCharacter = (c & 0xFFFE) == 0xFFFE || (c >= 0xFDD0 && c <= 0xFDEF);
            const char32_t kept = control || nonCharacter ? U'\xFFFD' : c;
            if (QChar::requiresSurrogates(kept)) {
                escaped += QChar(QChar::highSurrogate(kept));
                escaped += QChar(QChar::lowSurrogate(kept));
            } else {
                escaped += QChar(kept);
            }
        }
        }
    }
    return escaped;
}

VenueRoute ParseVenueRoute(const QByteArray& path, const QByteArray& screenArgument)
{
    using Kind = VenueRoute::Kind;
    if (path == "/") return {Kind::Home, 0};
    if (path == "/standings") return {Kind::Standings, 0};
    if (path == "/display") return {Kind::Display, RouteNumber(screenArgument).value_or(1)};
    const QList<QByteArray> parts = path.split('/');
    if (parts.size() < 3 || parts.size() > 4 || !parts[0].isEmpty()) return {};
    const std::optional<int> number = RouteNumber(parts[2]);
    if (!number) return {};
    if (parts.size() == 4) return parts[1] == "heat" && parts[3] == "players" ? VenueRoute{Kind::HeatPlayers, *number}
                                                                               : VenueRoute{};
    if (parts[1] == "heat") return {Kind::Heat, *number};
    if (parts[1] == "player") return {Kind::Player, *number};
    return {};
}

VenuePage VenuePageFor(const VenueEvent& event, const VenueRoute& route, const VenuePageSettings& settings)
{
    using Kind = VenueRoute::Kind;
    const VenueHeat* heat = event.Heat(route.number);
    switch (route.kind) {
    case Kind::Home: return HomePage(event, settings);
    case Kind::Standings: return StandingsPage(event, settings);
    case Kind::Display: return DisplayPage(event, route.number, settings);
    case Kind::Heat:
    case Kind::HeatPlayers:
        if (!heat) return VenueStatusPage(404, Format("This tournament has no heat %d.", route.number), settings);
        return route.kind == Kind::Heat ? HeatPage(event, *heat, settings) : HeatPlayersPage(event, *heat, settings);
    case Kind::Player:
        if (!event.IsSeated(route.number))
            return VenueStatusPage(404, QStringLiteral("No such player plays in this tournament."), settings);
        return PlayerPage(event, route.number, settings);
    case Kind::NotFound: break;
    }
    return VenueStatusPage(404, QStringLiteral("There is no page at this address."), settings);
}

VenuePage VenueStatusPage(int status, const QString& text, const VenuePageSettings& settings)
{
    const QString title = StatusTitle(status);
    const QString main = Format("<p class=\"lead\">%s</p>\n<p><a href=\"/\">The tournament's home page</a></p>\n",
                                Escaped(text));
    return PhonePage(nullptr, {title, Escaped(title), main}, settings, status);
}

std::vector<VenueScreen> VenueDisplayScreens(const VenueEvent& event, const VenuePageSettings& settings)
{
    const double room = ScreenRoom(event, settings);
    std::vector<VenueScreen> screens;
    if (const VenueHeat* heat = ShownHeat(event)) screens = BoardScreens(*heat, room);
    const auto append = [&](const std::vector<VenueScreen>& more) {
        screens.insert(screens.end(), more.begin(), more.end());
    };
    append(ListingScreens(VenueScreen::Kind::Players, PlayerHeadings(event.numHeats), event.standings.playerRows,
                          event.numHeats, room));
    if (event.hasTeams)
        append(ListingScreens(VenueScreen::Kind::Teams, TeamHeadings(), event.standings.teamRows, 0, room));
    if (screens.empty()) screens.push_back({VenueScreen::Kind::Welcome, 0, 0});
    return screens;
}
