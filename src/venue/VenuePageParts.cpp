#include "venue/VenuePageParts.h"

#include "db/Format.h"

#include <QCryptographicHash>
#include <QDateTime>

#include <algorithm>

namespace venue_pages {

namespace {

QString PlayerAddress(int playerID) { return Format("/player/%d", playerID); }

QString GameAnchor(int gameNum) { return Format("game-%d", gameNum); }

QByteArray SourceHash(const char* source)
{
    const QByteArray digest = QCryptographicHash::hash(QByteArray(source), QCryptographicHash::Sha256);
    return "'sha256-" + digest.toBase64() + "'";
}

}  // namespace

// ---------------------------------------------------------------------------
// Texts

QString Escaped(const QString& text) { return VenueHtmlEscaped(text); }

QString Isolated(const QString& name) { return QStringLiteral("<bdi>") + Escaped(name) + QStringLiteral("</bdi>"); }

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

QString PageTitle(const QString& page, const VenueEvent& event)
{
    return page + QStringLiteral(" – ") + event.name;
}

// ---------------------------------------------------------------------------
// Documents

QByteArray ContentPolicy(const char* sheet, const char* script)
{
    QByteArray policy = "default-src 'none'; style-src " + SourceHash(sheet) +
                        "; img-src data:; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";
    if (script) policy += "; script-src " + SourceHash(script) + "; connect-src 'self'";
    return policy;
}

QByteArray DocumentHtml(const char* sheet, const DocumentParts& parts)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\" />\n"
                                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n");
    html += Format("<title>%s</title>\n<style>%s</style>\n%s</head>\n%s\n%s</body>\n</html>\n", Escaped(parts.title),
                   QString::fromUtf8(sheet), parts.head, parts.bodyTag, parts.body);
    return html.toUtf8();
}

// ---------------------------------------------------------------------------
// Tables

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

std::vector<Column> ListingColumns(const QStringList& headings)
{
    std::vector<Column> columns;
    for (qsizetype c = 0; c < headings.size(); ++c)
        columns.push_back({headings[c], c == 1 ? QStringLiteral("name") : QStringLiteral("num")});
    return columns;
}

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

// ---------------------------------------------------------------------------
// Boards

namespace {

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

}  // namespace

QString GameCards(const VenueHeat& heat, size_t first, size_t end, Audience audience)
{
    QString html;
    for (size_t g = first; g < end; ++g) html += GameCard(heat.games[g], audience);
    return html;
}

}  // namespace venue_pages
