#pragma once
// Result entry of one game: the rows of its seats as the director types
// them, the rules that settle a row after a change, the completion of a
// started game's rows, the finishing checks and the moves between the
// game's states. Everything here works without a window; the Games dialog
// shows the rows and calls it.

#include "db/ChangedElsewhere.h"
#include "db/ValueCodes.h"
#include "scoring/ScoringSystem.h"

#include <QString>

#include <array>
#include <cstddef>
#include <vector>

inline constexpr int kFirstGameYear = 1901;
// Last year offered when the scoring system names no final year.
inline constexpr int kLastOpenGameYear = 1932;
inline constexpr int kSupplyCentreCount = 34;
// A power with this many centres has won the game outright.
inline constexpr int kSoloCentres = 18;
// The row whose Total SC's figure starts at 4 instead of 3 (Russia's, when
// the seats hold the seven powers in order).
inline constexpr size_t kFourCentreRow = 5;

// The most a director can type as a Total SC's figure (three digits, for a
// board of 34 centres). A larger figure stored earlier is shown and kept as
// it stands.
inline constexpr int kMaxTypedTotalSC = 999;

// One seat of a game as result entry shows it.
struct GameRow {
    int playerID = 0;
    QString name;               // "first last"
    int power = kNoPower;       // Power list: kAustria .. kTurkey, kNoPower
    int result = kNoResult;     // Result list: kLoss, kWin, kNoResult
    int yearIndex = -1;         // Final Year list: 0 for 1901; -1 none
    QString totalSC;            // Total SC's field text
    int centers = -1;           // SC Count list: 0 .. 34; -1 none
};

// The last Final Year index the system allows: its final year, or 1932.
int LastYearIndex(const CScoringSystem& system);

// The Total SC's text of row rowIndex for a stored years value: the stored
// figure, 3 (4 in the sixth row) when none is stored, empty when the system
// does not use the figure.
QString TotalSCText(int years, size_t rowIndex, const CScoringSystem& system);
// The figure a Total SC's text stands for; 0 when it is empty or no number.
int TotalSCValue(const QString& text);
// The years value a row is stored with.
int RowYears(const GameRow& row);

// Puts a stored seat's values into a row, as loading a game shows them.
void ShowStoredSeat(GameRow& row, const GameSeat& seat, size_t rowIndex, const CScoringSystem& system);

// True when every row has a power and no two rows the same one.
bool PowersValid(const std::vector<GameRow>& rows);

// Fills in what a started game's rows imply: survivors end in the last
// year, eliminated powers lose with no centres, a power with 18 centres
// leaves everybody else out of the win, and with win/draw scoring that
// requires draws to include all survivors every survivor is in the draw.
void CompleteStartedRows(std::vector<GameRow>& rows, const CScoringSystem& system);

// Settles row r after the director changed it, against its stored seat: a
// power stays as stored in a finished game or while powers are locked; a
// started game's rows are completed; in the other states the row's results
// return to the stored ones.
void SettleChangedRow(std::vector<GameRow>& rows, size_t r, const GameSeat& stored, int status, bool powersLocked,
                      const CScoringSystem& system);

// The finishing checks, in order; the first that fails ends them. Reports a
// supply-centre total above 34 and asks about one below it on the way.
// Empty when the game may be finished; otherwise one line naming the first
// row that failed and the rule it broke ("Turkey: no result entered."), or
// the supply-centre total that was refused.
QString FinishingFailure(const std::vector<GameRow>& rows, const CScoringSystem& system);

// The inputs of a row.
enum class RowInput { Power, Result, FinalYear, Centres, TotalSC };
// Why a row input is shown disabled; empty when it takes changes. The
// system enables the inputs its formulas use; a finished game's rows are
// read-only until it is returned to STARTED.
QString RowInputReason(RowInput input, int status, const CScoringSystem& system);

// Why the Games dialog offers nothing in a heat that has no games.
QString NoGamesReason();

// --- The game in the database ---------------------------------------------
//
// Several desks may enter results into one shared database. Each change of
// a game is made against the game as this desk last read or stored it (its
// GameSnapshot): when another desk has changed the game since, nothing is
// written and GameChangedElsewhere names the game, so the desk shows it as
// it is stored before the director goes on.

// What of a game another desk's change would alter: its number, heat,
// status, own scoring system and seats.
struct GameSnapshot {
    int gameNum = 0;
    int heatNum = 0;
    int status = kUnstarted;
    int systemID = 0;
    std::vector<std::array<int, 6>> seats;  // playerID, powerID, result, years, centers, 0; sorted
    bool operator==(const GameSnapshot&) const = default;
};
GameSnapshot ReadGameSnapshot(int gameID);

// The refusal of a change to a game that another desk has changed since it
// was shown (or unseeded, with its heat's other unstarted games).
class GameChangedElsewhere : public ChangedElsewhere {
public:
    explicit GameChangedElsewhere(const GameSnapshot& shown);
};

struct HeatGame {
    int id = 0;
    int gameNum = 0;
};
// The games of a heat in game-number order.
std::vector<HeatGame> HeatGames(int heatID);
// The game's own scoring system; 0 = the default.
int GameSystemID(int gameID);
// Gives the game shown its own scoring system; returns the game as stored.
GameSnapshot StoreGameSystem(int gameID, int systemID, const GameSnapshot& shown);
int GameStatusOf(int gameID);
// The game's seats in power order, shown as the system reads them.
std::vector<GameRow> ReadGameRows(int gameID, const CScoringSystem& system);
// One player's stored seat in the game; every value -1 when he has none.
GameSeat StoredSeat(int playerID, int gameID);
// Writes every row of the game shown, in row order, as one action; returns
// the game as stored.
GameSnapshot WriteGameRows(int gameID, const std::vector<GameRow>& rows, const GameSnapshot& shown);

// Row r of the game shown was changed: settles it against its stored seat
// and writes all the rows, as one action; returns the game as stored.
GameSnapshot ApplyRowChange(int gameID, std::vector<GameRow>& rows, size_t r, int status, bool powersLocked,
                            const CScoringSystem& system, const GameSnapshot& shown);

enum class StatusChange {
    Refused,     // the game keeps its status
    Changed,     // the new status is stored
    Unfinished,  // back to unstarted: results cleared and the status stored
};

// The director chose newStatus for the game shown, in oldStatus, showing
// rows. Asks, refuses with its messages, or stores the change.
StatusChange ChangeGameStatus(int gameID, int oldStatus, int newStatus, const std::vector<GameRow>& rows,
                              const CScoringSystem& system, const GameSnapshot& shown);
