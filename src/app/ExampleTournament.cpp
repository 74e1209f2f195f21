#include "app/ExampleTournament.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "db/ValueCodes.h"
#include "games/GameResults.h"
#include "heats/HeatRecords.h"
#include "playerrecords/PlayerRecords.h"
#include "scoring/ScoringSystem.h"
#include "tournament/CurrentTournament.h"
#include "tournament/TournamentSettings.h"
#include "ui/UiServices.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

const QString kExampleName = QStringLiteral("Example Open");
const QString kExampleSystemName = QStringLiteral("Example");

constexpr int kGamesPerHeat = 5;
constexpr int kPlayerCount = kGamesPerHeat * kPowerCount;
constexpr int kPlayedHeats = 3;
constexpr int kHeatCount = kPlayedHeats + 1;

struct InventedName {
    const char* first;
    const char* last;
};

const InventedName kPlayerNames[kPlayerCount] = {
    {"Amélie", "Durand"},      {"Björn", "Lindqvist"},   {"Carmen", "Ortega"},    {"Daniel", "Okafor"},
    {"Elif", "Yıldız"},        {"Fergus", "MacLeod"},    {"Greta", "Nováková"},   {"Kenji", "Morimoto"},
    {"Ingrid", "Halvorsen"},   {"João", "Pereira"},      {"Katarzyna", "Wójcik"}, {"Liam", "Brennan"},
    {"Marta", "Ibáñez"},       {"Nikolai", "Voronin"},   {"Olivia", "Bennett"},   {"Pierre", "Lefèvre"},
    {"Quentin", "Marchand"},   {"Rosa", "Jiménez"},      {"Sven", "Åkesson"},     {"Tomás", "Herrera"},
    {"Ursula", "Brandt"},      {"Valentina", "Greco"},   {"Wojciech", "Zieliński"}, {"Xavier", "Dubois"},
    {"Yasmin", "Haddad"},      {"Zoë", "Whitfield"},     {"Aoife", "Kavanagh"},   {"Bruno", "Teixeira"},
    {"Chloé", "Garnier"},      {"Dmitri", "Belov"},      {"Emeka", "Nwosu"},      {"Freya", "Lindgren"},
    {"Gábor", "Kertész"},      {"Hannah", "Weiß"},       {"Ibrahim", "Demir"},
};

// How each played game ends: 1 a solo victory, else the size of the draw,
// which every survivor shares.
constexpr int kOutcomes[kPlayedHeats][kGamesPerHeat] = {{5, 4, 1, 6, 4}, {4, 6, 5, 1, 3}, {5, 3, 4, 6, 1}};

// Games end between 1907 and 1910 (year indices 6 .. 9), never after the
// system's final year.
constexpr int kEarliestEndIndex = 6;
constexpr int kEndIndexSpread = 4;
// The most centres of a power in a draw: one more would be a solo.
constexpr int kMostDrawCentres = kSoloCentres - 1;

// The same example every time: a fixed seed, and the generator's raw
// numbers (the standard distributions differ between libraries).
class ExampleRandom {
public:
    int Below(int n) { return int(m_engine() % std::uint32_t(n)); }

private:
    std::mt19937 m_engine{20250611u};
};

// Player p sits at place (x, y) of a 5 by 7 grid: x = p / 7, y = p % 7. In
// heat 1 the rows play together; in heats 2 and 3 the games take one player
// of each column, slanted across the rows so that no two players meet in
// all three heats and each meets at least 15 different opponents.
int GameOf(int heatIndex, int player)
{
    const int x = player / kPowerCount;
    const int y = player % kPowerCount;
    switch (heatIndex) {
    case 0: return x;
    case 1: return (x + y) % kGamesPerHeat;
    default: return (x + 2 * y + (y >= kGamesPerHeat ? 1 : 0)) % kGamesPerHeat;
    }
}

// Every game holds each column once, so the column rotated by an offset
// gives the seven powers; the offsets (the row in heat 1, then 5 and 6) give
// every player a new power in each heat.
int PowerOf(int heatIndex, int player)
{
    const int x = player / kPowerCount;
    const int y = player % kPowerCount;
    return (y + (heatIndex == 0 ? x : kGamesPerHeat - 1 + heatIndex)) % kPowerCount;
}

// The players of each game of a heat, indexed by power.
std::vector<std::array<int, kPowerCount>> HeatSeating(int heatIndex)
{
    std::vector<std::array<int, kPowerCount>> games(kGamesPerHeat);
    for (int p = 0; p < kPlayerCount; ++p) games[size_t(GameOf(heatIndex, p))][size_t(PowerOf(heatIndex, p))] = p;
    return games;
}

// Shares total centres among count powers, at least one and at most cap
// each, the earlier powers drawing more of them; largest share first.
std::vector<int> ShareCentres(int total, int count, int cap, ExampleRandom& random)
{
    std::vector<int> shares(size_t(count), 1);
    for (int left = total - count; left > 0;) {
        const size_t i = size_t(std::min(random.Below(count), random.Below(count)));
        if (shares[i] < cap) {
            ++shares[i];
            --left;
        }
    }
    std::sort(shares.rbegin(), shares.rend());
    return shares;
}

struct ExamplePlayer {
    int id = 0;
    QString name;
    int strength = 0;
};

// The rows of one played game as the director types them into result entry
// (only the inputs the system uses) and as result entry completes them.
std::vector<GameRow> PlayedGameRows(const std::array<int, kPowerCount>& seats,
                                    const std::vector<ExamplePlayer>& players, int outcome,
                                    const CScoringSystem& system, ExampleRandom& random)
{
    // The order in which the seats do well: strength and the luck of the day.
    std::array<int, kPowerCount> order{};
    std::array<int, kPowerCount> form{};
    for (int r = 0; r < kPowerCount; ++r) {
        order[size_t(r)] = r;
        form[size_t(r)] = players[size_t(seats[size_t(r)])].strength + random.Below(60);
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) { return form[size_t(a)] > form[size_t(b)]; });

    std::array<int, kPowerCount> centres{};
    const bool solo = outcome == 1;
    if (solo) {
        const int winner = kSoloCentres + random.Below(3);
        centres[size_t(order[0])] = winner;
        const std::vector<int> rest = ShareCentres(kSupplyCentreCount - winner, 2 + random.Below(3),
                                                   kMostDrawCentres, random);
        for (size_t i = 0; i < rest.size(); ++i) centres[size_t(order[i + 1])] = rest[i];
    } else {
        const std::vector<int> shares = ShareCentres(kSupplyCentreCount, outcome, kMostDrawCentres, random);
        for (size_t i = 0; i < shares.size(); ++i) centres[size_t(order[i])] = shares[i];
    }
    const int lastYear = std::min(kEarliestEndIndex + random.Below(kEndIndexSpread), LastYearIndex(system));

    const bool typesResults = RowInputReason(RowInput::Result, kStarted, system).isEmpty();
    const bool typesYears = RowInputReason(RowInput::FinalYear, kStarted, system).isEmpty();
    const bool typesCentres = RowInputReason(RowInput::Centres, kStarted, system).isEmpty();
    std::vector<GameRow> rows(kPowerCount);
    for (size_t r = 0; r < rows.size(); ++r) {
        GameRow& row = rows[r];
        const ExamplePlayer& player = players[size_t(seats[r])];
        const int sc = centres[r];
        row.playerID = player.id;
        row.name = player.name;
        row.power = int(r);
        if (typesResults) row.result = (solo ? sc >= kSoloCentres : sc > 0) ? kWin : kLoss;
        if (typesYears) row.yearIndex = sc > 0 ? lastYear : std::max(1, lastYear - 1 - random.Below(4));
        if (typesCentres) row.centers = sc;
        row.totalSC = TotalSCText(-1, r, system);
    }
    CompleteStartedRows(rows, system);
    return rows;
}

// The next free name, read inside the transaction that takes it.
QString FreeExampleName()
{
    QString name = kExampleName;
    for (int n = 2; TournamentNameInUse(name); ++n) name = Format("%s %d", kExampleName, n);
    return name;
}

int ExampleSystemID()
{
    const int existing = QueryInt(Sql("select id from System where name = '%s' order by id", kExampleSystemName), -1);
    if (existing != -1) return existing;
    // 100 points shared by the powers in the draw, each of them a point a
    // centre more; the others a fifth of a point for every year they lasted.
    const QString loss = QStringLiteral("yrs / 5");
    const QString share[kPowerCount] = {
        QStringLiteral("100 + scs"),     QStringLiteral("50 + scs"), QStringLiteral("100 / 3 + scs"),
        QStringLiteral("25 + scs"),      QStringLiteral("20 + scs"), QStringLiteral("100 / 6 + scs"),
        QStringLiteral("100 / 7 + scs"),
    };
    return CDatabase::InsertReturningId(
        Sql("insert into System (name, dias, winDrawScoring, finalYear, scoreProvisional, scoreLoss, score1, score2, "
            "score3, score4, score5, score6, score7) values ('%s', %d, %d, %d, '%s', '%s', '%s', '%s', '%s', '%s', "
            "'%s', '%s', '%s')",
            kExampleSystemName, 1, 1, 1910, QStringLiteral("0"), loss, share[0], share[1], share[2], share[3],
            share[4], share[5], share[6]));
}

// The registered player of that first and last name (as the store compares
// names), or a new one.
int ExamplePlayerID(const PlayerTexts& texts)
{
    const SqlStatement find = Sql("select id from Player where first = '%s' and last = '%s' order by id", texts.first,
                                  texts.last);
    if (const int id = QueryInt(find, -1); id != -1) return id;
    InsertPlayer(texts);
    const int id = QueryInt(find, -1);
    if (id == -1) throw DbError(Format("The player %s was not saved.", PlayerDisplayName(texts.first, texts.last)));
    return id;
}

void WriteExampleTournament(int& tournamentID)
{
    ExampleRandom random;
    const int systemID = ExampleSystemID();
    CScoringSystem system;
    system.Load(systemID);

    TournamentRecord rules;
    rules.numHeats = kHeatCount;
    rules.minHeats = 2;
    // The best three heats of four count: the lowest is multiplied by 0.
    rules.dropHeats = EncodeDropHeats(1, 0);
    rules.multDrop = EncodeMultDrop(0.0f, 0.0f);
    rules.playerConflict = 1;
    rules.powerConflict = 1;
    rules.assignPowers = 1;
    tournamentID = InsertTournament(rules, FreeExampleName(), QString(), systemID);

    std::vector<ExamplePlayer> players;
    for (const InventedName& name : kPlayerNames) {
        const PlayerTexts texts =
            StoredPlayerTexts({QString::fromUtf8(name.first), QString::fromUtf8(name.last), QString()});
        players.push_back({ExamplePlayerID(texts), PlayerDisplayName(texts.first, texts.last), random.Below(100)});
    }

    for (int h = 0; h < kPlayedHeats; ++h) {
        const int heatID = InsertHeat(tournamentID, h + 1);
        const std::vector<std::array<int, kPowerCount>> seating = HeatSeating(h);
        for (int g = 0; g < kGamesPerHeat; ++g) {
            const std::vector<GameRow> rows = PlayedGameRows(seating[size_t(g)], players, kOutcomes[h][g], system,
                                                             random);
            // The centres own the whole board, so the checks ask nothing.
            int centres = 0;
            for (const GameRow& row : rows) centres += std::max(row.centers, 0);
            if (system.usesRanking && centres != kSupplyCentreCount)
                throw std::logic_error("the example's game does not own the whole board");
            if (const QString failure = FinishingFailure(rows, system); !failure.isEmpty())
                throw DbError(Format("Game %d of Heat %d of the example cannot be finished under the scoring system "
                                     "%s:\n%s\nNothing was written.",
                                     g + 1, h + 1, system.name, failure));
            const int gameID = CDatabase::InsertReturningId(
                Sql("insert into Game (heatID, gameNum, gameStat) values (%d, %d, %d)", heatID, g + 1, int(kFinished)));
            for (const GameRow& row : rows)
                ExecuteSQL(Sql("insert into GamePlayer (gameID, playerID, powerID, result, years, centers) values (%d, "
                               "%d, %d, %d, %d, %d)",
                               gameID, row.playerID, row.power, row.result, RowYears(row), row.centers));
        }
    }
    const int nextHeatID = InsertHeat(tournamentID, kHeatCount);
    for (const ExamplePlayer& player : players) RegisterForHeat(nextHeatID, player.id);
}

}  // namespace

QString ExampleTournamentName() { return FreeExampleName(); }

QString ExampleTournamentQuestion(const QString& name)
{
    return Format("Create the example tournament \"%s\"?\n\nIt has %d players, three heats played and a fourth ready "
                  "to seed, so that you can look at every dialog filled in. Its players join the player list and its "
                  "scoring system \"%s\" the scoring systems; your other tournaments are not changed.",
                  name, kPlayerCount, kExampleSystemName);
}

int CreateExampleTournament()
{
    int tournamentID = -1;
    RunAtomically([&] { WriteExampleTournament(tournamentID); });
    return tournamentID;
}

int OfferExampleTournament()
{
    if (!AskYesNo(ExampleTournamentQuestion(ExampleTournamentName()), QStringLiteral("Example Tournament"))) return -1;
    WaitCursor wait;
    return CreateExampleTournament();
}
