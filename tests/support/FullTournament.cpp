#include "support/FullTournament.h"

#include "db/Database.h"
#include "support/TestData.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace testdata {
namespace {

const char* const kFirstNames[] = {"Bartholomew", "Maximilian", "Christopher", "Alexandrina",
                                   "Konstantin",  "Evangeline", "Zoë"};
const char* const kLastNames[] = {
    "Featherstonehaugh", "Worthington-Smythe", "Montgomery",       "Ångström-Øberg",  "Fitzgeraldson",
    "Vandermeulen",      "Oppenheimer",        "Castellanos",      "Abernathy-Jones", "Kowalczykowski",
    "Harrington",        "Delacroix-Martin",   "Papadopoulos",     "Thorvaldsen",     "Wolfeschlegel",
    "MacGillivray",      "Rutherford",         "Szczepański",      "Llewellyn-Price", "Hohenzollern",
    "Beauregard",        "Ferreira-Santos",    "Achterberg",       "Quatermain",      "Balasubramanian",
    "Drummond-Hay",      "Nakamura-Whitley",   "Wainwright",       "Everhart",        "Zimmermann-Kraus"};
constexpr int kGamesPerHeat = 30;
constexpr int kFinishedHeats = 8;
constexpr int kTeamMembers = 4;
// The supply centres of the seven seats of game g, 34 in all; the winner
// sits on another power from game to game.
int Centres(int seat, int g)
{
    constexpr int kOthers[5] = {4, 3, 2, 1, 0};
    const int place = (seat - g % 7 + 7) % 7;
    if (place == 0) return 14 + g % 5;
    if (place == 1) return 10 - g % 5;
    return kOthers[place - 2];
}

}  // namespace

FullTournament AddFullTournament()
{
    FullTournament t;
    t.name = QStringLiteral("The Grand Northern Invitational Championship of the Seven Powers, Autumn Season");
    Transaction transaction;
    SystemRow system;
    system.name = QStringLiteral("Draw Size with Centres");
    system.scoreLoss = QStringLiteral("10 + scs * 3.467");
    for (int n = 0; n < 7; ++n) system.score[n] = QString("%1 + scs * 3.467").arg(40 - 4 * n);
    t.systemID = AddSystem(system);
    t.tournamentID = AddTournament({.name = t.name, .description = QStringLiteral("Nine heats, teams of four"),
                                    .systemID = t.systemID, .teamSize = 2, .teamHeat = -3, .teamConflict = 1,
                                    .numHeats = kFullTournamentHeats, .minHeats = 3, .preregistration = 1});
    for (int p = 0; p < kFullTournamentPlayers; ++p)
        t.players.push_back(AddPlayer(kFirstNames[p % 7], kLastNames[p / 7]));

    std::mt19937 random(20241102);
    std::vector<int> order = t.players;
    for (int h = 1; h <= kFullTournamentHeats; ++h) {
        const int heatID = AddHeat(t.tournamentID, h);
        t.heats.push_back(heatID);
        std::shuffle(order.begin(), order.end(), random);
        const bool finished = h <= kFinishedHeats;
        // Seven players sit out heat 8; they are registered but not seated.
        const int games = h == kFinishedHeats ? kGamesPerHeat - 1 : kGamesPerHeat;
        for (int g = 0; g < games; ++g) {
            const int gameID = AddGame(heatID, g + 1, finished ? 2 : 1);
            for (int s = 0; s < 7; ++s) {
                const int player = order[size_t(g * 7 + s)];
                if (finished)
                    AddSeat(gameID, player, s, s == g % 7 ? 1 : 0, 6, Centres(s, g));
                else
                    AddSeat(gameID, player, s);
            }
        }
        for (size_t p = size_t(games * 7); p < order.size(); ++p) AddHeatPlayer(heatID, order[p]);
    }
    for (int team = 0; team * kTeamMembers + kTeamMembers <= kFullTournamentPlayers; ++team) {
        const auto first = t.players.begin() + team * kTeamMembers;
        const int id = AddTeam(t.tournamentID, QString("The Unbeatable Knights of the Round Table %1").arg(team + 1),
                               std::vector<int>(first, first + kTeamMembers));
        if (team == 0) t.teamID = id;
    }
    t.groupID = AddGroup(QStringLiteral("The Old Guard of the Northern Provinces Club"), 2,
                         std::vector<int>(t.players.begin(), t.players.begin() + 10));
    for (int other = 1; other <= 5; ++other) AddConflict(t.players[0], t.players[size_t(other)], other);
    transaction.Commit();
    return t;
}

}  // namespace testdata
