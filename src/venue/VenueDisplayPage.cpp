#include "venue/VenueDisplayPage.h"

#include "db/Format.h"
#include "venue/QrCode.h"
#include "venue/VenuePageParts.h"
#include "venue/VenueScreenLayout.h"
#include "venue/VenueScreens.h"

#include <algorithm>

namespace venue_pages {

namespace {

// Every length of the projector's sheet that takes room is one of the
// numbers of VenueScreenLayout.h, by which the screens are cut.
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

}  // namespace

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

}  // namespace venue_pages
