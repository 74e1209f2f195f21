#include "venue/VenuePlayerPage.h"

#include "db/Format.h"
#include "venue/VenuePageParts.h"
#include "venue/VenuePhonePages.h"

#include <algorithm>

namespace venue_pages {

namespace {

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

}  // namespace

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

}  // namespace venue_pages
