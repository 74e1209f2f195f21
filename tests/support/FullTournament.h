#pragma once
// A tournament as a director runs it on a big evening: 210 players with long
// names in teams of four with long names, nine heats of 30 games each, the
// first eight finished with fractional scores (a few players sat out heat 8),
// the ninth under way. Every dialog is looked at on it.

#include <QString>

#include <vector>

namespace testdata {

struct FullTournament {
    QString name;
    int systemID = 0;
    int tournamentID = 0;
    std::vector<int> players;  // in the order they were added
    std::vector<int> heats;    // Heat.id of heats 1 .. 9
    int groupID = 0;
    int teamID = 0;            // the first team
};

inline constexpr int kFullTournamentPlayers = 210;
inline constexpr int kFullTournamentHeats = 9;

// Writes the whole tournament in one transaction.
FullTournament AddFullTournament();

}  // namespace testdata
