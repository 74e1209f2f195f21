#include "venue/VenueEvent.h"

#include "db/Format.h"
#include "db/Recordset.h"
#include "heats/HeatRecords.h"
#include "playerrecords/PlayerRecords.h"
#include "scoring/ScoringSystem.h"
#include "tournament/CurrentTournament.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {

// The rules the pages list the standings under: the Scores dialog's, which
// opens with its qualification box checked.
constexpr bool kQualifiedOnly = true;

// Every game of the tournament, empty, in its heat.
void ReadGames(VenueEvent& event, std::map<std::pair<int, int>, VenueGame*>& games)
{
    for (const TournamentHeat& heat : TournamentHeats(event.tournamentID)) event.heats.push_back({heat.heatNum, {}, {}});
    std::map<int, VenueHeat*> heats;
    for (VenueHeat& heat : event.heats) heats[heat.heatNum] = &heat;
    for (CRecordset rs(Sql("select Heat.heatNum, Game.gameNum, Game.gameStat from Game, Heat where Game.heatID = "
                           "Heat.id and Heat.tournamentID = %d order by Heat.heatNum, Game.gameNum",
                           event.tournamentID));
         !rs.IsEOF(); rs.MoveNext()) {
        // The statements are not one transaction: a heat added at another
        // desk in between is read the next time.
        const auto found = heats.find(rs.GetInt(0));
        if (found == heats.end()) continue;
        VenueHeat* heat = found->second;
        heat->games.push_back({rs.GetInt(1), rs.GetInt(2), {}});
        event.currentHeat = std::max(event.currentHeat, heat->heatNum);
    }
    // Pointers are taken once every game is in place.
    for (VenueHeat& heat : event.heats)
        for (VenueGame& game : heat.games) games[{heat.heatNum, game.gameNum}] = &game;
}

// Every seat of the tournament's games, its player's name A to Z as the
// store orders names; each game's seats are put in power order after.
void ReadSeats(VenueEvent& event, const std::map<std::pair<int, int>, VenueGame*>& games)
{
    struct NamedSeat {
        int heatNum;
        int gameNum;
        VenueSeat seat;
    };
    // Each player's name is read once, not with each of his seats: texts
    // are what reading rows costs most.
    std::map<int, QString> names;
    for (CRecordset rs(Sql("select distinct Player.id, Player.first, Player.last from Player, GamePlayer, Game, Heat "
                           "where Player.id = GamePlayer.playerID and GamePlayer.gameID = Game.id and Game.heatID = "
                           "Heat.id and Heat.tournamentID = %d",
                           event.tournamentID));
         !rs.IsEOF(); rs.MoveNext())
        names[rs.GetInt(0)] = PlayerDisplayName(rs.GetString(1), rs.GetString(2));
    std::vector<NamedSeat> byName;
    for (CRecordset rs(Sql("select Heat.heatNum, Game.gameNum, GamePlayer.powerID, GamePlayer.result, "
                           "GamePlayer.centers, Player.id from Player, GamePlayer, Game, Heat where Player.id = "
                           "GamePlayer.playerID and GamePlayer.gameID = Game.id and Game.heatID = Heat.id and "
                           "Heat.tournamentID = %d order by Player.last, Player.first, Player.id",
                           event.tournamentID));
         !rs.IsEOF(); rs.MoveNext()) {
        // A player added at another desk between the two statements is read
        // the next time.
        const auto name = names.find(rs.GetInt(5));
        if (name == names.end()) continue;
        byName.push_back({rs.GetInt(0), rs.GetInt(1),
                          VenueSeat{rs.GetInt(5), name->second, rs.GetInt(2), rs.GetInt(3), rs.GetInt(4)}});
    }

    // Within a game: by power, then (without powers) in name order.
    std::map<int, int> nameRank;
    for (const NamedSeat& named : byName) nameRank.emplace(named.seat.playerID, int(nameRank.size()));
    for (const NamedSeat& named : byName) {
        const auto game = games.find({named.heatNum, named.gameNum});
        if (game != games.end()) game->second->seats.push_back(named.seat);
    }
    for (const auto& [key, game] : games)
        std::stable_sort(game->seats.begin(), game->seats.end(), [&](const VenueSeat& a, const VenueSeat& b) {
            if (a.powerID != b.powerID) return a.powerID < b.powerID;
            return nameRank[a.playerID] < nameRank[b.playerID];
        });

    for (VenueHeat& heat : event.heats) {
        std::map<int, VenueSeatPlace> places;
        for (size_t g = 0; g < heat.games.size(); ++g)
            for (size_t s = 0; s < heat.games[g].seats.size(); ++s) places[heat.games[g].seats[s].playerID] = {g, s};
        for (const NamedSeat& named : byName) {
            if (named.heatNum != heat.heatNum) continue;
            const auto place = places.find(named.seat.playerID);
            if (place != places.end()) heat.byName.push_back(place->second);
        }
    }
}

void ReadStandings(VenueEvent& event, const TournamentRecord& rules)
{
    // A scoring system of the pages' own: the one the dialogs have loaded is
    // theirs.
    CScoringSystem system;
    const std::vector<PlayerStanding> players = ReadPlayerStandings(rules, system);
    std::vector<TeamStanding> teams;
    if (rules.teamSize != 0) teams = ReadTeamStandings(rules.id);
    event.standings = TotalStandings(players, teams, rules, kQualifiedOnly);

    int lastFinished = 0;
    for (const PlayerStanding& player : players)
        for (size_t h = 0; h < player.heats.size(); ++h)
            if (player.heats[h].gameID != -1) lastFinished = std::max(lastFinished, int(h) + 1);
    event.afterHeat = VenueHistory(players, teams, rules, lastFinished);
}

}  // namespace

struct VenueHistory::Heats {
    std::vector<PlayerStanding> players;
    std::vector<TeamStanding> teams;
    TournamentRecord rules;
    int lastHeat = 0;
    std::once_flag once;
    std::vector<Standings> standings;
};

VenueHistory::VenueHistory(std::initializer_list<Standings> given) : m_heats(std::make_shared<Heats>())
{
    m_heats->standings = given;
    m_heats->lastHeat = int(given.size());
    std::call_once(m_heats->once, [] {});
}

VenueHistory::VenueHistory(std::vector<PlayerStanding> players, std::vector<TeamStanding> teams,
                           const TournamentRecord& rules, int lastHeat)
    : m_heats(std::make_shared<Heats>())
{
    m_heats->players = std::move(players);
    m_heats->teams = std::move(teams);
    m_heats->rules = rules;
    m_heats->lastHeat = lastHeat;
}

std::vector<Standings>& VenueHistory::Computed() const
{
    Heats& heats = *m_heats;
    std::call_once(heats.once, [&heats] {
        for (int h = 1; h <= heats.lastHeat; ++h)
            heats.standings.push_back(TotalStandings(PlayersThroughHeat(heats.players, h, heats.rules), heats.teams,
                                                     heats.rules, kQualifiedOnly));
    });
    return heats.standings;
}

size_t VenueHistory::size() const { return m_heats ? size_t(m_heats->lastHeat) : 0; }

const Standings& VenueHistory::operator[](size_t index) const { return Computed().at(index); }

Standings& VenueHistory::operator[](size_t index) { return Computed().at(index); }

const VenueSeatPlace* VenueHeat::PlaceOf(int playerID) const
{
    for (const VenueSeatPlace& place : byName)
        if (SeatAt(place).playerID == playerID) return &place;
    return nullptr;
}

const VenueHeat* VenueEvent::Heat(int heatNum) const
{
    for (const VenueHeat& heat : heats)
        if (heat.heatNum == heatNum) return &heat;
    return nullptr;
}

bool VenueEvent::IsSeated(int playerID) const { return !PlayerName(playerID).isNull(); }

QString VenueEvent::PlayerName(int playerID) const
{
    for (const VenueHeat& heat : heats)
        if (const VenueSeatPlace* place = heat.PlaceOf(playerID)) return heat.SeatAt(*place).name;
    return {};
}

const PlayerStanding* StandingOf(const Standings& standings, int playerID)
{
    for (const PlayerStanding& player : standings.players)
        if (player.playerID == playerID) return &player;
    return nullptr;
}

const ListingRow* ListingRowOf(const Standings& standings, int playerID)
{
    for (const ListingRow& row : standings.playerRows)
        if (standings.players[size_t(row.index)].playerID == playerID) return &row;
    return nullptr;
}

VenueEvent ReadVenueEvent(int tournamentID)
{
    const TournamentRecord rules = ReadTournamentRecord(tournamentID);
    VenueEvent event;
    event.tournamentID = tournamentID;
    event.name = rules.name;
    event.numHeats = rules.numHeats;
    event.hasTeams = rules.teamSize != 0;
    std::map<std::pair<int, int>, VenueGame*> games;
    ReadGames(event, games);
    ReadSeats(event, games);
    ReadStandings(event, rules);
    return event;
}
