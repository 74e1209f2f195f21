#include "games/GameResults.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "playerrecords/PlayerRecords.h"
#include "ui/UiServices.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Largest Total SC's figure a row can hold: 100 times it still fits the
// packed years value.
constexpr int kMaxTotalSC = 9999999;

int ValidPower(int power) { return power >= 0 && power < kPowerCount ? power : kNoPower; }
int ValidResult(int result) { return result == kLoss || result == kWin ? result : kNoResult; }
int ValidCentres(int centers) { return centers >= 0 && centers <= kSupplyCentreCount ? centers : -1; }

// The least Total SC's figure row rowIndex may be finished with.
int LeastTotalSC(size_t rowIndex) { return rowIndex == kFourCentreRow ? 4 : 3; }

// Everything of a stored seat but its power.
void ShowStoredResults(GameRow& row, const GameSeat& seat, size_t rowIndex, const CScoringSystem& system)
{
    row.result = ValidResult(seat.result);
    row.yearIndex = DecodeYears(seat.years).yearIndex;
    row.totalSC = TotalSCText(seat.years, rowIndex, system);
    row.centers = ValidCentres(seat.centers);
}

// How the reason for a refused finish names a row: by its power, or by its
// player while it has none.
QString RowName(const GameRow& row)
{
    return ValidPower(row.power) == kNoPower ? row.name : PowerName(row.power);
}

QString RowFailure(const GameRow& row, const QString& rule) { return Format("%s: %s", RowName(row), rule); }

QString YearText(int yearIndex) { return QString::number(kFirstGameYear + yearIndex); }

// Every row has a power and no two rows the same one.
QString PowersFailure(const std::vector<GameRow>& rows)
{
    bool taken[kPowerCount] = {};
    for (const GameRow& row : rows) {
        if (ValidPower(row.power) == kNoPower) return RowFailure(row, QStringLiteral("no power chosen."));
        if (taken[row.power]) return RowFailure(row, QStringLiteral("chosen for two players."));
        taken[row.power] = true;
    }
    return {};
}

// The final year shared at the top of the board, tested against the
// running maximum of the rows in order up to the first row without a year.
// Gives that maximum; fails when no row met it at the moment it was reached.
QString FinalYearFailure(const std::vector<GameRow>& rows, int& latest)
{
    latest = -1;
    bool tie = false;
    const GameRow* withoutYear = nullptr;
    const GameRow* top = nullptr;
    for (const GameRow& row : rows) {
        if (row.yearIndex < 0) {
            withoutYear = &row;
            break;
        }
        if (row.yearIndex > latest) {
            latest = row.yearIndex;
            top = &row;
        } else if (row.yearIndex == latest) {
            tie = true;
        }
    }
    if (tie) return {};
    if (withoutYear) return RowFailure(*withoutYear, QStringLiteral("no final year entered."));
    if (!top) return QStringLiteral("The game has no seats.");
    return RowFailure(*top, Format("no other power has the final year %s.", YearText(latest)));
}

QString ResultsFailure(const std::vector<GameRow>& rows, int latest, const CScoringSystem& system)
{
    const auto winners = std::count_if(rows.begin(), rows.end(), [](const GameRow& r) { return r.result == kWin; });
    const bool survivorsInDraw = system.winDrawScoring == 1 && system.dias != 0 && system.usesRanking != 0;
    for (const GameRow& row : rows) {
        if (row.result == kNoResult) return RowFailure(row, QStringLiteral("no result entered."));
        if (row.result == kWin && row.yearIndex < latest)
            return RowFailure(row, Format("a winner must play on to the final year %s.", YearText(latest)));
        if (survivorsInDraw && row.result != kWin && row.centers > 0 && row.yearIndex == latest && winners > 1)
            return RowFailure(row, QStringLiteral("a survivor to the final year must be in the draw."));
    }
    return {};
}

QString TotalSCFiguresFailure(const std::vector<GameRow>& rows)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].totalSC.trimmed().isEmpty()) return RowFailure(rows[i], QStringLiteral("no Total SC's entered."));
        if (TotalSCValue(rows[i].totalSC) < LeastTotalSC(i))
            return RowFailure(rows[i], Format("Total SC's must be at least %d.", LeastTotalSC(i)));
    }
    return {};
}

// Every row needs a count, the counts may not exceed the board, and a
// total below it must be confirmed.
QString CentreCountsFailure(const std::vector<GameRow>& rows, const CScoringSystem& system)
{
    int total = 0;
    QString failure;  // the first row that fails
    for (const GameRow& row : rows) {
        if (row.centers < 0) {
            if (failure.isEmpty()) failure = RowFailure(row, QStringLiteral("no SC count entered."));
        } else {
            total += row.centers;
        }
        if (system.winDrawScoring != 0 && row.result == kWin && row.centers < 1 && failure.isEmpty())
            failure = RowFailure(row, QStringLiteral("a winner must own a supply center."));
    }
    const QString totalFailure = Format("The SC counts add up to %d.", total);
    if (total > kSupplyCentreCount) {
        ShowMessage(QStringLiteral("The supply center count is greater than 34."), QStringLiteral("Bad SC Count"),
                    MsgIcon::Exclamation);
        return failure.isEmpty() ? totalFailure : failure;
    }
    if (total < kSupplyCentreCount && failure.isEmpty() &&
        !AskYesNo(QStringLiteral("The total number of owned supply centers is not 34.\nAre you sure this total is "
                                 "correct?"),
                  QStringLiteral("Unowned Centers??")))
        return totalFailure;
    return failure;
}

}  // namespace

int LastYearIndex(const CScoringSystem& system)
{
    const int lastYear = system.finalYear == -1 ? kLastOpenGameYear : system.finalYear;
    return lastYear - kFirstGameYear;
}

QString TotalSCText(int years, size_t rowIndex, const CScoringSystem& system)
{
    if (!system.usesTotalSC) return {};
    const int figure = DecodeYears(years).totalSC;
    return QString::number(figure != 0 ? figure : LeastTotalSC(rowIndex));
}

int TotalSCValue(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 0 && value <= kMaxTotalSC ? value : 0;
}

int RowYears(const GameRow& row) { return EncodeYears(row.yearIndex, TotalSCValue(row.totalSC)); }

void ShowStoredSeat(GameRow& row, const GameSeat& seat, size_t rowIndex, const CScoringSystem& system)
{
    row.power = ValidPower(seat.powerID);
    ShowStoredResults(row, seat, rowIndex, system);
}

bool PowersValid(const std::vector<GameRow>& rows) { return PowersFailure(rows).isEmpty(); }

void CompleteStartedRows(std::vector<GameRow>& rows, const CScoringSystem& system)
{
    int latest = -1;
    bool solo = false;
    for (const GameRow& row : rows) {
        latest = std::max(latest, row.yearIndex);
        solo = solo || row.centers >= kSoloCentres;
    }
    const bool survivorsInDraw = system.winDrawScoring == 1 && system.dias != 0;

    for (GameRow& row : rows) {
        // The row as it stood before its own completion.
        const int centres = row.centers;
        const int year = row.yearIndex;
        if (system.usesRanking && centres > 0) {
            if (system.usesYears) row.yearIndex = latest;
            if (survivorsInDraw) row.result = kWin;
        }
        if (centres == 0 || (year >= 0 && year < latest)) {
            row.result = kLoss;
            if (system.usesRanking) row.centers = 0;
        }
        if (row.result == kWin) {
            if (system.usesYears) row.yearIndex = latest;
        } else if (row.result == kLoss && system.usesRanking && survivorsInDraw) {
            row.centers = 0;
        }
        if (solo && system.usesRanking && row.centers < kSoloCentres) row.result = kLoss;
    }
}

void SettleChangedRow(std::vector<GameRow>& rows, size_t r, const GameSeat& stored, int status, bool powersLocked,
                      const CScoringSystem& system)
{
    GameRow& row = rows.at(r);
    if (status == kFinished || powersLocked) row.power = ValidPower(stored.powerID);
    if (status == kStarted)
        CompleteStartedRows(rows, system);
    else
        ShowStoredResults(row, stored, r, system);
}

QString FinishingFailure(const std::vector<GameRow>& rows, const CScoringSystem& system)
{
    if (QString failure = PowersFailure(rows); !failure.isEmpty()) return failure;
    if (system.usesYears) {
        int latest = -1;
        if (QString failure = FinalYearFailure(rows, latest); !failure.isEmpty()) return failure;
        if (system.winDrawScoring != 0) {
            if (QString failure = ResultsFailure(rows, latest, system); !failure.isEmpty()) return failure;
        }
        if (system.usesTotalSC) {
            if (QString failure = TotalSCFiguresFailure(rows); !failure.isEmpty()) return failure;
        }
    } else if (system.winDrawScoring != 0) {
        // Without final years there is nothing to test the results against,
        // but a game is never finished with a seat whose result is missing:
        // it would score as out of the draw.
        for (const GameRow& row : rows)
            if (row.result == kNoResult) return RowFailure(row, QStringLiteral("no result entered."));
    }
    if (system.usesRanking) return CentreCountsFailure(rows, system);
    return {};
}

QString RowInputReason(RowInput input, int status, const CScoringSystem& system)
{
    switch (input) {
    case RowInput::Power: break;
    case RowInput::Result:
        if (system.winDrawScoring == 0)
            return QStringLiteral("The game's scoring system ranks players by SC count: it uses no results");
        break;
    case RowInput::FinalYear:
        if (!system.usesYears) return QStringLiteral("The game's scoring system does not use the final year");
        break;
    case RowInput::Centres:
        if (!system.usesRanking) return QStringLiteral("The game's scoring system does not use SC counts");
        break;
    case RowInput::TotalSC:
        if (!system.usesTotalSC) return QStringLiteral("The game's scoring system does not use Total SC's");
        break;
    }
    if (status == kFinished)
        return QStringLiteral("The game is finished: set Game Status to STARTED to change it");
    return {};
}

QString NoGamesReason() { return QStringLiteral("This heat has no games yet: seed it in the Heats dialog first"); }

std::vector<HeatGame> HeatGames(int heatID)
{
    std::vector<HeatGame> games;
    for (CRecordset rs(Sql("select id, gameNum from Game where heatID = %d order by gameNum", heatID)); !rs.IsEOF();
         rs.MoveNext())
        games.push_back({rs.GetInt(0), rs.GetInt(1)});
    return games;
}

int GameSystemID(int gameID) { return QueryInt(Sql("select systemID from Game where id = %d", gameID), 0); }

namespace {

// Inside a change's transaction: the game is as shown, or nothing is written.
void RequireGameAsShown(int gameID, const GameSnapshot& shown)
{
    if (ReadGameSnapshot(gameID) != shown) throw GameChangedElsewhere(shown);
}

}  // namespace

GameSnapshot ReadGameSnapshot(int gameID)
{
    GameSnapshot game;
    CRecordset rs(Sql("select Game.gameNum, Heat.heatNum, Game.gameStat, Game.systemID from Game, Heat where Game.id = "
                      "%d and Heat.id = Game.heatID",
                      gameID));
    if (rs.IsEOF()) return game;
    game = {rs.GetInt(0), rs.GetInt(1), rs.GetInt(2), rs.GetInt(3), {}};
    for (CRecordset seats(Sql("select playerID, powerID, result, years, centers from GamePlayer where gameID = %d",
                              gameID));
         !seats.IsEOF(); seats.MoveNext())
        game.seats.push_back(
            {seats.GetInt(0), seats.GetInt(1), seats.GetInt(2), seats.GetInt(3), seats.GetInt(4), 0});
    std::sort(game.seats.begin(), game.seats.end());
    return game;
}

GameChangedElsewhere::GameChangedElsewhere(const GameSnapshot& shown)
    : ChangedElsewhere(QStringLiteral("Game Changed Elsewhere"),
                       Format("Game %d of Heat %d has been changed at another desk since it was shown here, so your "
                              "change was not saved.\nThe game is shown again as it is stored: look at it and make "
                              "your change again.",
                              shown.gameNum, shown.heatNum))
{
}

GameSnapshot StoreGameSystem(int gameID, int systemID, const GameSnapshot& shown)
{
    GameSnapshot stored;
    RunAtomically([&] {
        RequireGameAsShown(gameID, shown);
        ExecuteSQL(Sql("update Game set systemID = %d where id= %d", systemID, gameID));
        stored = ReadGameSnapshot(gameID);
    });
    return stored;
}

int GameStatusOf(int gameID) { return QueryInt(Sql("select gameStat from Game where id = %d", gameID), kUnstarted); }

std::vector<GameRow> ReadGameRows(int gameID, const CScoringSystem& system)
{
    std::vector<GameRow> rows;
    for (CRecordset rs(Sql("select Player.id, Player.first, Player.last, GamePlayer.powerID, GamePlayer.result, "
                           "GamePlayer.years, GamePlayer.centers from Player, GamePlayer where Player.id = "
                           "GamePlayer.playerID and gameID = %d order by powerID",
                           gameID));
         !rs.IsEOF(); rs.MoveNext()) {
        GameRow& row = rows.emplace_back();
        row.playerID = rs.GetInt(0);
        row.name = PlayerDisplayName(rs.GetString(1), rs.GetString(2));
        const GameSeat seat{rs.GetInt(3), rs.GetInt(4), rs.GetInt(5), rs.GetInt(6)};
        ShowStoredSeat(row, seat, rows.size() - 1, system);
    }
    return rows;
}

GameSeat StoredSeat(int playerID, int gameID)
{
    CRecordset rs(Sql("select powerID, result, years, centers from GamePlayer where playerID = %d and gameID = %d",
                      playerID, gameID));
    if (rs.IsEOF()) return GameSeat{};
    return GameSeat{rs.GetInt(0), rs.GetInt(1), rs.GetInt(2), rs.GetInt(3)};
}

namespace {

void StoreGameRows(int gameID, const std::vector<GameRow>& rows)
{
    for (const GameRow& row : rows)
        ExecuteSQL(Sql("update GamePlayer set powerID = %d, result = %d, years = %d, centers = %d where playerID = %d "
                       "and gameID = %d",
                       row.power, row.result, RowYears(row), row.centers, row.playerID, gameID));
}

}  // namespace

GameSnapshot WriteGameRows(int gameID, const std::vector<GameRow>& rows, const GameSnapshot& shown)
{
    GameSnapshot stored;
    RunAtomically([&] {
        RequireGameAsShown(gameID, shown);
        StoreGameRows(gameID, rows);
        stored = ReadGameSnapshot(gameID);
    });
    return stored;
}

GameSnapshot ApplyRowChange(int gameID, std::vector<GameRow>& rows, size_t r, int status, bool powersLocked,
                            const CScoringSystem& system, const GameSnapshot& shown)
{
    GameSnapshot stored;
    const std::vector<GameRow> typed = rows;
    RunAtomically([&] {
        RequireGameAsShown(gameID, shown);
        rows = typed;
        SettleChangedRow(rows, r, StoredSeat(rows.at(r).playerID, gameID), status, powersLocked, system);
        StoreGameRows(gameID, rows);
        stored = ReadGameSnapshot(gameID);
    });
    return stored;
}

StatusChange ChangeGameStatus(int gameID, int oldStatus, int newStatus, const std::vector<GameRow>& rows,
                              const CScoringSystem& system, const GameSnapshot& shown)
{
    // A game moves only between neighbouring states.
    if (std::abs(newStatus - oldStatus) != 1) return StatusChange::Refused;

    if (newStatus == kUnstarted) {
        if (!ConfirmDestructive(
                QStringLiteral("Return this game to unfinished state?\nThis will reset all result data for this game!"),
                QStringLiteral("Unfinish game??")))
            return StatusChange::Refused;
        RunAtomically([&] {
            RequireGameAsShown(gameID, shown);
            ExecuteSQL(Sql("update GamePlayer set result = -1, years = -1, centers = -1 where gameID = %d", gameID));
            ExecuteSQL(Sql("update Game set gameStat = %d where id = %d", newStatus, gameID));
        });
        return StatusChange::Unfinished;
    }
    if (newStatus == kStarted && oldStatus == kUnstarted && !PowersValid(rows)) {
        ShowMessage(QStringLiteral("Power assignments are not valid!"), QStringLiteral("Bad Power Assignments"),
                    MsgIcon::Exclamation);
        return StatusChange::Refused;
    }
    if (newStatus == kFinished) {
        const QString failure = FinishingFailure(rows, system);
        if (!failure.isEmpty()) {
            ShowMessage(Format("Game cannot be finished because\ndata is invalid.  Please correct.\n\n%s", failure),
                        QStringLiteral("Cannot Finish Game"), MsgIcon::Stop);
            return StatusChange::Refused;
        }
    }
    RunAtomically([&] {
        RequireGameAsShown(gameID, shown);
        ExecuteSQL(Sql("update Game set gameStat = %d where id = %d", newStatus, gameID));
    });
    return StatusChange::Changed;
}
