#pragma once
// The award list drawn up from the standings: the first seven places, the
// best game with each power, the best total without a solo (or a first
// place), the best total without any successful result, the last place and
// the winning team.

#include "scores/Standings.h"

#include <QString>

#include <array>
#include <functional>

struct TournamentRecord;

// Entries of the award list, in their fixed order.
inline constexpr int kFirstPlace = 0;  // .. kFirstPlace + 6: 1st .. 7th place
inline constexpr int kBestPower = 7;   // .. kBestPower + 6: best game with Austria .. Turkey
inline constexpr int kBestWithoutSolo = 14;
inline constexpr int kBestLosses = 15;
inline constexpr int kLastPlace = 16;
inline constexpr int kWinningTeam = 17;
inline constexpr int kAwardCount = 18;

// Where each group of entries ends: the places, the powers, the other
// awards of players, the team. Every listing sets the groups apart.
inline constexpr std::array<int, 4> kAwardGroupEnds{kBestPower, kBestWithoutSolo, kWinningTeam, kAwardCount};

struct AwardEntry {
    QString label;
    QString text;  // the winners; empty when the entry is not awarded
    float value = 0.0f;
};

using AwardList = std::array<AwardEntry, kAwardCount>;

// The game number of a game id ("select gameNum from game where id = %d").
int GameNumberOf(int gameID);

// Draws up the award list from standings whose listings are filled.
// winDrawScoring is the loaded scoring system's; gameNumber names the games
// of the power entries.
AwardList DrawUpAwards(const Standings& standings, const TournamentRecord& rules, int winDrawScoring,
                       const std::function<int(int gameID)>& gameNumber = GameNumberOf);

// The award text: one line per awarded entry, "label: winners (value pts.)",
// the power entries padded to line up, a blank line after the places, after
// the power entries and after the last place.
QString AwardText(const AwardList& awards);
