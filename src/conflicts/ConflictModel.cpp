#include "conflicts/ConflictModel.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
#include "playerrecords/PlayerRecords.h"
#include "tournament/CurrentTournament.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <unordered_map>

std::unique_ptr<ConflictModel> g_conflictModel;

ConflictWeights ConflictWeights::FromCurrentTournament()
{
    const TournamentRecord& t = CurrentTournament;
    ConflictWeights w;
    w.player = t.playerConflict;
    w.power = t.powerConflict;
    w.team = t.teamConflict != 0 ? t.teamConflict : t.playerConflict + t.powerConflict;
    w.teamHeat = t.teamHeat;
    w.groupPowers = t.groupPowers;
    return w;
}

namespace {

// The power group of a power under a grouping; -1 = in no group.
int PowerGroupOf(int groupPowers, int power)
{
    // Indexed by power: Austria, England, France, Germany, Italy, Russia, Turkey.
    static const int kGroups[3][kPowerCount] = {
        {0, 1, 1, 0, 0, 2, 2},   // A/G/I -- E/F -- R/T
        {0, 1, 2, 0, 0, 2, 1},   // A/G/I -- E/T -- F/R
        {0, 1, 1, -1, 0, 2, 2},  // A/I -- E/F -- R/T -- G
    };
    if (groupPowers < 1 || groupPowers > 3 || power < 0 || power >= kPowerCount) return -1;
    return kGroups[groupPowers - 1][power];
}

void AddLine(std::vector<QString>* explanation, const QString& line)
{
    if (explanation) explanation->push_back(line);
}

}  // namespace

bool SamePowerGroup(int groupPowers, int power1, int power2)
{
    if (power1 == power2) return false;
    const int group = PowerGroupOf(groupPowers, power1);
    return group >= 0 && group == PowerGroupOf(groupPowers, power2);
}

ConflictModel::ConflictModel(const ConflictModel& other)
    : heatNum(other.heatNum), players(other.players), explanation(other.explanation)
{
    if (other.lastPlayer) lastPlayer = &players[size_t(other.lastPlayer - other.players.data())];
}

ConflictModel& ConflictModel::operator=(const ConflictModel& other)
{
    if (this != &other) {
        ConflictModel copy(other);
        heatNum = copy.heatNum;
        players = std::move(copy.players);
        explanation = std::move(copy.explanation);
        lastPlayer = copy.lastPlayer;  // the moved vector keeps its elements
    }
    return *this;
}

int ConflictModel::PowerHistoryConflict(const ModelPlayer& s, int power, const ConflictWeights& w,
                                        std::vector<QString>* explanation) const
{
    if (power == kNoPower || s.seats.size() < 2) return 0;
    int samePower = 0;
    int samePowerGroup = 0;
    for (size_t i = 1; i < s.seats.size(); ++i) {
        const int earlier = s.seats[i].powerID;
        if (earlier == power)
            ++samePower;
        else if (SamePowerGroup(w.groupPowers, earlier, power))
            ++samePowerGroup;
    }
    int total = 0;
    if (samePower > 0) {
        const int points = samePower * w.power;
        AddLine(explanation, Format("%d pt%s. for having played this power %d time%s before.", points,
                                    PluralSuffix(points), samePower, PluralSuffix(samePower)));
        total += points;
    }
    if (samePowerGroup > 0) {
        const int points = samePowerGroup * (w.power >> 1);
        AddLine(explanation, Format("%d pt%s. for having played a power in this power group %d time%s before.",
                                    points, PluralSuffix(points), samePowerGroup, PluralSuffix(samePowerGroup)));
        total += points;
    }
    return total;
}

int ConflictModel::SameGameConflict(const ModelPlayer& s, const ModelPlayer& o, const ConflictWeights& w,
                                    std::vector<QString>* explanation) const
{
    int total = 0;

    // A declared conflict is carried by the player with the smaller id.
    const ModelPlayer& smaller = s.playerID < o.playerID ? s : o;
    const int larger = s.playerID < o.playerID ? o.playerID : s.playerID;
    const auto pair = std::find_if(smaller.pairConflicts.begin(), smaller.pairConflicts.end(),
                                   [larger](const PairConflict& c) { return c.otherID == larger; });
    if (pair != smaller.pairConflicts.end()) {
        total += pair->value;
        AddLine(explanation,
                Format("%d pt%s. inherent conflict with %s.", pair->value, PluralSuffix(pair->value), o.name));
    }

    for (const ModelGroup& x : s.groups) {
        for (const ModelGroup& y : o.groups) {
            if (x.groupID != y.groupID) continue;
            total += x.conflict;
            AddLine(explanation, Format("%d pt%s. for being in the group '%s' with %s.", x.conflict,
                                        PluralSuffix(x.conflict), x.name, o.name));
        }
    }

    if (s.teamID != -1 && s.teamID == o.teamID && (w.teamHeat < 0 || w.teamHeat == heatNum)) {
        total += w.team;
        AddLine(explanation, Format("%d pt%s. for being on the same team as %s.", w.team, PluralSuffix(w.team), o.name));
    }

    int meetings = 0;
    for (size_t i = 1; i < o.seats.size(); ++i) {
        const PastSeat& e = o.seats[i];
        if (e.heatNum >= heatNum) continue;
        for (size_t j = 1; j < s.seats.size(); ++j)
            if (e.gameID == s.seats[j].gameID) ++meetings;
    }
    const int points = meetings * w.player;
    if (points > 0) {
        total += points;
        AddLine(explanation, Format("%d pt%s. for having played against %s %d time%s before.", points,
                                    PluralSuffix(points), o.name, meetings, PluralSuffix(meetings)));
    }
    return total;
}

int ConflictModel::TeamPowerConflict(const ModelPlayer& s, const ModelPlayer& o, const ConflictWeights& w,
                                     std::vector<QString>* explanation) const
{
    if (w.teamHeat != heatNum || s.teamID == -1 || s.teamID != o.teamID) return 0;
    // The line shows half the weight (and says "pt" only for 0); one point
    // more is counted.
    const int half = w.team / 2;
    AddLine(explanation,
            Format("%d pt%s. for playing the same power as team member %s.", half, half == 0 ? "" : "s", o.name));
    return half + 1;
}

int ConflictModel::PlayerConflict(const ModelPlayer& s, const ConflictWeights& w,
                                  std::vector<QString>* explanation) const
{
    const PastSeat& c0 = s.seats.front();
    int total = PowerHistoryConflict(s, c0.powerID, w, explanation);
    for (const ModelPlayer& o : players) {
        if (&o == &s) continue;
        const PastSeat& o0 = o.seats.front();
        if (o0.gameID != c0.gameID) {
            if (o0.powerID == c0.powerID) total += TeamPowerConflict(s, o, w, explanation);
        } else {
            total += SameGameConflict(s, o, w, explanation);
        }
    }
    return total;
}

int ConflictModel::ComputePlayerConflict(int playerID)
{
    explanation.clear();
    const auto s = std::find_if(players.begin(), players.end(),
                                [playerID](const ModelPlayer& p) { return p.playerID == playerID; });
    if (s == players.end()) {
        lastPlayer = nullptr;
        return 0;
    }
    lastPlayer = &*s;
    return PlayerConflict(*s, ConflictWeights::FromCurrentTournament(), &explanation);
}

int ConflictModel::TotalConflict()
{
    explanation.clear();
    lastPlayer = nullptr;
    const ConflictWeights w = ConflictWeights::FromCurrentTournament();
    int total = 0;
    // Only the last player's lines are kept, so only they are written.
    for (size_t i = 0; i < players.size(); ++i) {
        const bool last = i + 1 == players.size();
        total += PlayerConflict(players[i], w, last ? &explanation : nullptr);
    }
    if (!players.empty()) lastPlayer = &players.back();
    return total;
}

void ConflictModel::SwapSeats(ModelPlayer& a, ModelPlayer& b)
{
    std::swap(a.seats.front().gameID, b.seats.front().gameID);
    std::swap(a.seats.front().powerID, b.seats.front().powerID);
}

void ConflictModel::WriteSeating() const
{
    RunAtomically([&] {
        std::set<int> cleared;
        for (const ModelPlayer& p : players) {
            const int gameID = p.seats.front().gameID;
            if (cleared.insert(gameID).second) ExecuteSQL(Sql("delete from GamePlayer where gameID = %d", gameID));
        }
        for (const ModelPlayer& p : players) {
            const PastSeat& seat = p.seats.front();
            ExecuteSQL(Sql("insert into GamePlayer (gameID, playerID, powerID, result, years, centers) values (%d, %d, "
                           "%d, %d, %d, %d)",
                           seat.gameID, p.playerID, seat.powerID, kNoResult, -1, -1));
        }
    });
}

std::unique_ptr<ConflictModel> BuildConflictModel(int heatArg)
{
    auto model = std::make_unique<ConflictModel>();
    const int heatNum = std::abs(heatArg);
    const int tournamentID = CurrentTournament.id;
    model->heatNum = heatNum;
    const int unstartedOnly = heatArg > 0 ? 1 : 0;

    // Each kind of entry is read once for every player, in the order a
    // player's own statement would return his: a heat of 210 players takes
    // five statements, not a thousand (a shared database answers each over
    // the network).
    std::unordered_map<int, int> teams;
    for (CRecordset t(Sql("select TeamPlayer.playerID, teamID from TeamPlayer, TournamentTeam where "
                          "TeamPlayer.teamID = TournamentTeam.id and TournamentTeam.tournamentID = %d",
                          tournamentID));
         !t.IsEOF(); t.MoveNext())
        teams.try_emplace(t.GetInt(0), t.GetInt(1));
    std::unordered_map<int, std::vector<PairConflict>> conflicts;
    for (CRecordset c("select player1, player2, value from PlayerConflicts"); !c.IsEOF(); c.MoveNext())
        conflicts[c.GetInt(0)].push_back({c.GetInt(1), c.GetInt(2)});
    std::unordered_map<int, std::vector<ModelGroup>> groups;
    for (CRecordset g("select playerID, id, name, conflict from [group], playerGroup where playerGroup.groupID = "
                      "[group].id");
         !g.IsEOF(); g.MoveNext())
        groups[g.GetInt(0)].push_back({g.GetInt(1), g.GetInt(3), g.GetString(2)});
    std::unordered_map<int, std::vector<PastSeat>> seats;
    for (CRecordset s(Sql("select playerID, heatNum, gameID, powerID from GamePlayer, Game, Heat where "
                          "GamePlayer.gameID = Game.id and Game.heatID = Heat.id and Heat.heatNum <= %d and "
                          "Heat.tournamentID = %d order by heatNum",
                          heatNum, tournamentID));
         !s.IsEOF(); s.MoveNext())
        seats[s.GetInt(0)].push_back({s.GetInt(1), s.GetInt(2), s.GetInt(3)});

    CRecordset rs(Sql("select playerID, first, last from Player, GamePlayer, Game, Heat where Player.id = playerID "
                      "and (%d = 0 or Game.gameStat = %d) and GamePlayer.gameID = Game.id and Game.heatID = Heat.id "
                      "and Heat.heatNum = %d and Heat.tournamentID = %d",
                      unstartedOnly, int(kUnstarted), heatNum, tournamentID));
    for (; !rs.IsEOF(); rs.MoveNext()) {
        ModelPlayer p;
        p.playerID = rs.GetInt(0);
        p.name = PlayerDisplayName(rs.GetString(1), rs.GetString(2));
        const auto team = teams.find(p.playerID);
        p.teamID = team == teams.end() ? -1 : team->second;
        if (const auto c = conflicts.find(p.playerID); c != conflicts.end()) p.pairConflicts = c->second;
        if (const auto g = groups.find(p.playerID); g != groups.end()) p.groups = g->second;
        std::reverse(p.groups.begin(), p.groups.end());
        if (const auto s = seats.find(p.playerID); s != seats.end()) p.seats = s->second;
        std::reverse(p.seats.begin(), p.seats.end());
        model->players.push_back(std::move(p));
    }
    std::reverse(model->players.begin(), model->players.end());
    return model;
}
