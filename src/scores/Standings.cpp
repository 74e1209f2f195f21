#include "scores/Standings.h"

#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
#include "playerrecords/PlayerRecords.h"
#include "scoring/ScoringSystem.h"
#include "tournament/CurrentTournament.h"
#include "tournament/TournamentSettings.h"
#include "ui/UiServices.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <unordered_map>
#include <utility>

namespace {

float UnplayedScore(const TournamentRecord& rules) { return float(rules.unplayedScore); }

// The seats of one finished game, with the player of each.
struct GameRows {
    std::vector<GameSeat> seats;
    std::vector<int> playerIDs;
};

// The seats of the finished games among the rows of the standings'
// statement (the player's id in column 0, the game's in 6, its result,
// years, power and centres in 7 to 10), so that each game's seven rows serve
// the scoring of its seven seats and the team-mate test.
std::unordered_map<int, GameRows> FinishedGames(CRecordset& rs)
{
    std::unordered_map<int, GameRows> games;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        GameRows& game = games[rs.GetInt(6)];
        game.playerIDs.push_back(rs.GetInt(0));
        game.seats.push_back(GameSeat{rs.GetInt(9), rs.GetInt(7), rs.GetInt(8), rs.GetInt(10)});
    }
    rs.MoveFirst();
    return games;
}

// The teams of the tournament: each player's team, and who belongs to which.
struct TeamMemberships {
    std::unordered_map<int, int> teamOfPlayer;
    std::set<std::pair<int, int>> members;  // (team, player)

    int TeamOf(int playerID) const
    {
        const auto found = teamOfPlayer.find(playerID);
        return found == teamOfPlayer.end() ? -1 : found->second;
    }
    bool IsMember(int teamID, int playerID) const { return members.count({teamID, playerID}) != 0; }
};

TeamMemberships ReadTeamMemberships(int tournamentID)
{
    TeamMemberships teams;
    for (CRecordset rs(Sql("select TeamPlayer.playerID, TournamentTeam.id from TeamPlayer, TournamentTeam where "
                           "TeamPlayer.teamID = TournamentTeam.id and TournamentTeam.tournamentID = %d",
                           tournamentID));
         !rs.IsEOF(); rs.MoveNext()) {
        teams.teamOfPlayer.emplace(rs.GetInt(0), rs.GetInt(1));
        teams.members.insert({rs.GetInt(1), rs.GetInt(0)});
    }
    return teams;
}

// The heats in which a player holds a seat in a game not finished yet, as
// (player, heat number).
std::set<std::pair<int, int>> ReadUnfinishedSeats(int tournamentID)
{
    std::set<std::pair<int, int>> seats;
    for (CRecordset rs(Sql("select GamePlayer.playerID, Heat.heatNum from GamePlayer, Game, Heat where Game.gameStat <> "
                           "%d and GamePlayer.gameID = Game.id and Game.heatID = Heat.id and Heat.tournamentID = %d",
                           kFinished, tournamentID));
         !rs.IsEOF(); rs.MoveNext())
        seats.insert({rs.GetInt(0), rs.GetInt(1)});
    return seats;
}

// Marks the heats each player still has to play: those after the last heat
// with a finished game, and those whose game of his is not finished yet.
void MarkPendingHeats(std::vector<PlayerStanding>& players, int lastPlayedHeat,
                      const std::set<std::pair<int, int>>& unfinishedSeats)
{
    for (PlayerStanding& player : players)
        for (size_t h = 0; h < player.heats.size(); ++h) {
            const int heatNum = int(h) + 1;
            HeatEntry& heat = player.heats[h];
            heat.pending = heat.gameID == -1 &&
                           (heatNum > lastPlayedHeat || unfinishedSeats.count({player.playerID, heatNum}) != 0);
        }
}

// True when another member of the team sat in the game.
bool TeamMateInGame(const GameRows& game, int playerID, int teamID, const TeamMemberships& teams)
{
    for (int other : game.playerIDs)
        if (other != playerID && teams.IsMember(teamID, other)) return true;
    return false;
}

// Multiplies the `times` lowest heat scores not yet taken by `multiplier`;
// among equal scores the earliest heat is taken first.
void MultiplyLowest(float& total, const std::vector<HeatEntry>& heats, std::vector<bool>& taken, int times,
                    float multiplier)
{
    for (int t = 0; t < times; ++t) {
        int lowest = -1;
        for (size_t k = 0; k < heats.size(); ++k) {
            if (taken[k]) continue;
            if (lowest < 0 || heats[k].score < heats[size_t(lowest)].score) lowest = int(k);
        }
        if (lowest < 0) return;  // every heat has had its multiplier
        const float value = heats[size_t(lowest)].score;
        total = (total - value) + multiplier * value;
        taken[size_t(lowest)] = true;
    }
}

}  // namespace

int PlayerStanding::HeatsPlayed() const
{
    return int(std::count_if(heats.begin(), heats.end(), [](const HeatEntry& h) { return h.gameID != -1; }));
}

QString ScoreText(float value)
{
    const double v = value;
    if (v == std::trunc(v) && std::fabs(v) < 9.0e18) return Format("%d", static_cast<long long>(v));
    return Format("%.3f", v);
}

QString RankText(int rank) { return Format("%d.", rank); }

float TeamContribution(const PlayerStanding& player, const TournamentRecord& rules)
{
    const float u = UnplayedScore(rules);
    if (rules.teamHeat >= 1) {
        const size_t heat = size_t(rules.teamHeat - 1);
        return heat < player.heats.size() ? player.heats[heat].score : u;
    }
    // The K best counted heats in descending order, filled up with u.
    std::vector<float> best(size_t(-rules.teamHeat), u);
    for (const HeatEntry& heat : player.heats) {
        if (!heat.teamCounts) continue;
        const auto before = std::find_if(best.begin(), best.end(), [&](float v) { return heat.score > v; });
        if (before == best.end()) continue;
        best.insert(before, heat.score);
        best.pop_back();
    }
    float sum = 0.0f;
    for (float v : best) sum += v;
    return sum;
}

void TotalPlayer(PlayerStanding& player, const TournamentRecord& rules, bool qualifiedOnly)
{
    player.status = kRanked;
    player.total = 0.0f;
    for (const HeatEntry& heat : player.heats) player.total += heat.score;
    const int played = player.HeatsPlayed();
    const LowHeatMultipliers low = DecodeLowHeats(rules.dropHeats, rules.multDrop);

    if (qualifiedOnly) {
        if (played < rules.minHeats)
            player.status = kNotQualified;
        else if (played < rules.numHeats - low.lowest)
            player.status = kTooFewForLowHeats;
    }
    if (player.status >= 0) {
        std::vector<bool> taken(player.heats.size(), false);
        MultiplyLowest(player.total, player.heats, taken, low.lowest, low.x);
        MultiplyLowest(player.total, player.heats, taken, low.nextLowest, low.y);
    }
    player.teamContribution = rules.teamSize != 0 ? TeamContribution(player, rules) : 0.0f;
}

int TeamScoreHeats(const TournamentRecord& rules) { return rules.teamHeat >= 1 ? 1 : -rules.teamHeat; }

float ScoreTeams(std::vector<TeamStanding>& teams, const std::vector<PlayerStanding>& players,
                 const TournamentRecord& rules)
{
    const float u = UnplayedScore(rules);
    const int heats = TeamScoreHeats(rules);
    const float allUnplayed = float(heats * (rules.teamSize + 2)) * u;
    for (TeamStanding& team : teams) {
        team.score = allUnplayed;
        team.membersWithGames = 0;
        for (const PlayerStanding& player : players) {
            if (player.teamID != team.teamID) continue;
            team.score = (team.score - float(heats) * u) + player.teamContribution;
            ++team.membersWithGames;
        }
    }
    return allUnplayed;
}

std::vector<ListingRow> ListPlayers(std::vector<PlayerStanding>& players, int numHeats)
{
    std::vector<ListingRow> rows;
    int rank = 0;
    float previous = 0.0f;
    for (;;) {
        int best = -1;
        for (size_t i = 0; i < players.size(); ++i) {
            const int status = players[i].status;
            if (status != kRanked && status != kTooFewForLowHeats) continue;
            if (best < 0 || players[i].total > players[size_t(best)].total) best = int(i);
        }
        if (best < 0) break;
        PlayerStanding& player = players[size_t(best)];
        if (rows.empty() || player.total != previous) rank = int(rows.size()) + 1;
        previous = player.total;

        ListingRow row{rank, player.total, best, {RankText(rank), player.name}};
        for (int h = 0; h < numHeats; ++h) {
            const bool shown = size_t(h) < player.heats.size() && !player.heats[size_t(h)].pending;
            row.cells << (shown ? ScoreText(player.heats[size_t(h)].score) : QString());
        }
        row.cells << ScoreText(player.total);
        rows.push_back(std::move(row));
        player.status += 1;
    }
    return rows;
}

std::vector<ListingRow> ListTeams(const std::vector<TeamStanding>& teams)
{
    std::vector<ListingRow> rows;
    std::vector<bool> listed(teams.size(), false);
    int rank = 0;
    float previous = 0.0f;
    for (;;) {
        // Every team with a member who played is listed, whatever its score;
        // a team none of whose members played is not.
        int best = -1;
        for (size_t i = 0; i < teams.size(); ++i) {
            if (listed[i] || teams[i].membersWithGames == 0) continue;
            if (best < 0 || teams[i].score > teams[size_t(best)].score) best = int(i);
        }
        if (best < 0) break;
        const TeamStanding& team = teams[size_t(best)];
        if (rows.empty() || team.score != previous) rank = int(rows.size()) + 1;
        previous = team.score;
        rows.push_back({rank, team.score, best, {RankText(rank), team.name, ScoreText(team.score)}});
        listed[size_t(best)] = true;
    }
    return rows;
}

std::vector<PlayerStanding> ReadPlayerStandings(const TournamentRecord& rules, CScoringSystem& system)
{
    system.Load(QueryInt(Sql("select systemID from Tournament where id = %d", rules.id), rules.systemID));
    const TeamMemberships teams = ReadTeamMemberships(rules.id);
    const float u = UnplayedScore(rules);
    const size_t numHeats = size_t(std::max(rules.numHeats, 0));
    const GameRows noRows;

    std::vector<PlayerStanding> players;  // ascending player id while reading
    int lastPlayedHeat = 0;
    CRecordset rs(Sql("select Player.id, Game.systemID, Heat.systemID, first, last, Heat.heatNum, Game.id, "
                      "GamePlayer.result, GamePlayer.years, GamePlayer.powerID, GamePlayer.centers from "
                      "GamePlayer, Game, Player, Heat where GamePlayer.playerID = Player.id and Game.gameStat = %d "
                      "and GamePlayer.gameID = Game.id and Game.heatID = Heat.id and Heat.tournamentID = %d order "
                      "by Player.id",
                      kFinished, rules.id));
    const std::unordered_map<int, GameRows> games = FinishedGames(rs);
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const int heatNum = rs.GetInt(5);
        // A heat beyond the tournament's number of heats has no column.
        if (heatNum < 1 || size_t(heatNum) > numHeats) continue;

        lastPlayedHeat = std::max(lastPlayedHeat, heatNum);
        const int systemID = SystemForGame(rs.GetInt(1), rs.GetInt(2), rules.systemID);
        if (systemID != system.id) system.Load(systemID);

        const int playerID = rs.GetInt(0);
        if (players.empty() || players.back().playerID != playerID) {
            PlayerStanding player;
            player.playerID = playerID;
            player.name = PlayerDisplayName(rs.GetString(3), rs.GetString(4));
            player.heats.assign(numHeats, HeatEntry{-1, 1, kNoPower, -1, u, false});
            player.teamID = teams.TeamOf(playerID);
            players.push_back(std::move(player));
        }
        PlayerStanding& player = players.back();

        const int gameID = rs.GetInt(6);
        const auto found = games.find(gameID);
        const GameRows& game = found == games.end() ? noRows : found->second;
        HeatEntry& heat = player.heats[size_t(heatNum - 1)];
        heat.gameID = gameID;
        if (player.teamID != -1 && rules.teamHeat < 0 && TeamMateInGame(game, playerID, player.teamID, teams))
            heat.teamCounts = 0;

        const GameSeat seat{rs.GetInt(9), rs.GetInt(7), rs.GetInt(8), rs.GetInt(10)};
        heat.powerID = seat.powerID;
        heat.centers = seat.centers;
        const SeatScore scored = system.ScoreSeat(seat, game.seats);
        heat.score = scored.score;
        if (scored.soleWinner) player.soleWinner = 1;
        if (scored.inWinOrDraw) player.inWinOrDraw = 1;
    }
    MarkPendingHeats(players, lastPlayedHeat, ReadUnfinishedSeats(rules.id));
    std::reverse(players.begin(), players.end());
    return players;
}

std::vector<TeamStanding> ReadTeamStandings(int tournamentID)
{
    std::vector<TeamStanding> teams;
    for (CRecordset rs(Sql("select id, name from TournamentTeam where tournamentID = %d", tournamentID)); !rs.IsEOF();
         rs.MoveNext())
        teams.push_back(TeamStanding{rs.GetInt(0), rs.GetString(1), 0.0f, 0});
    std::reverse(teams.begin(), teams.end());
    return teams;
}

Standings TotalStandings(std::vector<PlayerStanding> players, std::vector<TeamStanding> teams,
                         const TournamentRecord& rules, bool qualifiedOnly)
{
    Standings standings;
    standings.players = std::move(players);
    for (PlayerStanding& player : standings.players) TotalPlayer(player, rules, qualifiedOnly);
    standings.teams = std::move(teams);
    standings.allUnplayedTeamScore = ScoreTeams(standings.teams, standings.players, rules);
    standings.playerRows = ListPlayers(standings.players, rules.numHeats);
    standings.teamRows = ListTeams(standings.teams);
    return standings;
}

std::vector<PlayerStanding> PlayersThroughHeat(const std::vector<PlayerStanding>& players, int lastHeat,
                                               const TournamentRecord& rules)
{
    std::vector<PlayerStanding> through;
    for (PlayerStanding player : players) {
        for (size_t h = size_t(std::max(lastHeat, 0)); h < player.heats.size(); ++h)
            player.heats[h] = HeatEntry{-1, 1, kNoPower, -1, UnplayedScore(rules), true};
        if (player.HeatsPlayed() > 0) through.push_back(std::move(player));
    }
    return through;
}

Standings ComputeStandingsOf(const TournamentRecord& rules, bool qualifiedOnly, CScoringSystem& system)
{
    std::vector<PlayerStanding> players = ReadPlayerStandings(rules, system);
    // A tournament without teams has no team standings.
    std::vector<TeamStanding> teams;
    if (rules.teamSize != 0) teams = ReadTeamStandings(rules.id);
    return TotalStandings(std::move(players), std::move(teams), rules, qualifiedOnly);
}

Standings ComputeStandings(bool qualifiedOnly)
{
    WaitCursor wait;
    return ComputeStandingsOf(CurrentTournament, qualifiedOnly, ScoringSystem);
}
