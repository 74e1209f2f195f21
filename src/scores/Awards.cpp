#include "scores/Awards.h"

#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
#include "tournament/CurrentTournament.h"

#include <algorithm>

namespace {

constexpr float kNoLastPlaceYet = 1e11f;
constexpr int kPlaces = 7;

const char* const kPlaceLabels[kPlaces] = {"1st Place", "2nd Place", "3rd Place", "4th Place",
                                           "5th Place", "6th Place", "7th Place"};

// A candidate for an entry: a better score replaces the winners, an equal
// one joins them. candidateText is asked for only when the candidate wins
// or ties.
template <class Text>
void Consider(AwardEntry& entry, float score, bool lowestWins, Text candidateText)
{
    const bool better = lowestWins ? score < entry.value : score > entry.value;
    if (better) {
        entry.text = candidateText();
        entry.value = score;
    } else if (score == entry.value) {
        if (!entry.text.isEmpty()) entry.text += QStringLiteral(", ");
        entry.text += candidateText();
    }
}

bool Qualified(const PlayerStanding& player) { return player.status >= 0; }

// The total or score a listing row shows, read back from its last cell: a
// place is worth what the list says.
float ShownValue(const ListingRow& row) { return row.cells.isEmpty() ? row.value : row.cells.last().toFloat(); }

}  // namespace

int GameNumberOf(int gameID) { return QueryInt(Sql("select gameNum from game where id = %d", gameID), 0); }

AwardList DrawUpAwards(const Standings& standings, const TournamentRecord& rules, int winDrawScoring,
                       const std::function<int(int gameID)>& gameNumber)
{
    AwardList awards;
    const float threshold = float(rules.numHeats) * float(rules.unplayedScore);
    for (int i = 0; i < kAwardCount; ++i) awards[size_t(i)].value = threshold;
    for (int i = 0; i < kPlaces; ++i) awards[size_t(kFirstPlace + i)].label = QString::fromLatin1(kPlaceLabels[i]);
    for (int p = 0; p < kPowerCount; ++p) awards[size_t(kBestPower + p)].label = Format("Best %s", PowerName(p));
    awards[kBestWithoutSolo].label = winDrawScoring != 0 ? QStringLiteral("Best result without a solo")
                                                         : QStringLiteral("Best result without a first-place finish");
    awards[kBestLosses].label = QStringLiteral("Best collection of losses");
    awards[kLastPlace].label = QStringLiteral("Last place");
    awards[kLastPlace].value = kNoLastPlaceYet;
    awards[kWinningTeam].label = QStringLiteral("Winning team");

    // The best single game with each power, qualified or not.
    for (const PlayerStanding& player : standings.players) {
        for (size_t h = 0; h < player.heats.size(); ++h) {
            const HeatEntry& heat = player.heats[h];
            if (heat.powerID < 0 || heat.powerID >= kPowerCount) continue;
            Consider(awards[size_t(kBestPower + heat.powerID)], heat.score, false, [&] {
                return Format("%s (H%dG%d)", player.name, int(h) + 1, gameNumber(heat.gameID));
            });
        }
    }

    for (const PlayerStanding& player : standings.players) {
        if (!Qualified(player)) continue;
        const auto name = [&] { return player.name; };
        if (!player.soleWinner) Consider(awards[kBestWithoutSolo], player.total, false, name);
        if (winDrawScoring != 0 && !player.inWinOrDraw) Consider(awards[kBestLosses], player.total, false, name);
        Consider(awards[kLastPlace], player.total, true, name);
    }

    // The places, from the ranks of the player listing.
    int previousPlace = 0;
    for (const ListingRow& row : standings.playerRows) {
        const int place = row.rank;
        if (place > kPlaces) break;
        AwardEntry& entry = awards[size_t(kFirstPlace + place - 1)];
        if (place == previousPlace)
            entry.text += QStringLiteral(", ");
        else
            entry.text.clear();
        entry.value = ShownValue(standings.playerRows[size_t(place - 1)]);
        entry.text += row.cells.value(1);
        previousPlace = place;
    }

    if (rules.teamSize != 0 && !standings.teamRows.empty()) {
        AwardEntry& entry = awards[kWinningTeam];
        entry.value = ShownValue(standings.teamRows.front());
        int tied = 0;
        for (const ListingRow& row : standings.teamRows) {
            if (row.rank != 1) break;
            ++tied;
            entry.text = tied == 1 ? row.cells.value(1) : Format("[%d teams tied]", tied);
        }
    }
    return awards;
}

QString AwardText(const AwardList& awards)
{
    QString text;
    for (int i = 0; i < kAwardCount; ++i) {
        const AwardEntry& entry = awards[size_t(i)];
        if (!entry.text.isEmpty()) {
            text += entry.label + QStringLiteral(": ");
            if (i >= kBestPower && i < kBestPower + kPowerCount)
                text += QString(7 - PowerName(i - kBestPower).size(), QChar(' '));
            text += entry.text + Format(" (%s pts.)\n", ScoreText(entry.value));
        }
        if (i + 1 < kAwardCount && std::ranges::find(kAwardGroupEnds, i + 1) != kAwardGroupEnds.end())
            text += QStringLiteral("\n");
    }
    return text;
}
