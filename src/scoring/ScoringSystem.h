#pragma once
// The one loaded scoring system: its formulas, the evaluator of the formula
// language, and the score of one seat of one finished game.

#include <QString>
#include <QStringView>

#include <array>
#include <span>
#include <vector>

// Index of a formula within a scoring system.
enum FormulaSlot {
    kScoreLoss = 0,  // scoreLoss
    kScore1 = 1,     // score1 .. score7 are slots 1 .. 7
    kScore2 = 2,
    kScore3 = 3,
    kScore4 = 4,
    kScore5 = 5,
    kScore6 = 6,
    kScore7 = 7,
    kScoreProvisional = 8,
    kFormulaCount = 9
};

// Bounds of the formula evaluator's fixed storage. A formula that needs more
// sets the error flag.
inline constexpr int kMaxFormulaTokens = 99;   // tokens within one nesting level
inline constexpr int kMaxFormulaDepth = 32;    // parentheses within parentheses
inline constexpr int kMaxFormulaName = 255;    // characters of one name or number
// Longest formula text the Scoring System Details dialog saves.
inline constexpr int kMaxFormulaLength = 255;

// One GamePlayer row as scoring reads it.
struct GameSeat {
    int powerID = -1;  // 0..6, -1 = none
    int result = -1;   // 1 in the win or draw, 0 not, -1 none entered
    int years = -1;    // packed final-year index and total supply-centre figure
    int centers = -1;  // supply centres at the end
};

// The score of one seat and its two award flags.
struct SeatScore {
    float score = 0.0f;
    bool soleWinner = false;   // solo victory, or sole top of the board
    bool inWinOrDraw = false;  // in the win or draw, or ranked with centres
};

class CScoringSystem {
public:
    int id = -1;  // System.id of the loaded row; -1 = none
    QString name;
    int dias = 0;
    int winDrawScoring = 0;  // 0 rank by SC count, 1 win/draw, 2 both
    int finalYear = -1;      // -1 = none, else 1907..1914
    std::array<QString, kFormulaCount> formulas;

    // Which inputs the formulas need (derived when the system is loaded).
    int usesYears = 0;
    int usesRanking = 0;
    int usesProvisional = 0;
    int usesTotalSC = 0;

    // Per-power figures of the game being scored.
    std::array<float, 7> prov{};
    std::array<int, 7> ctrs{};

    int error = 0;  // set by formula evaluation

    // Loads the System row with this id; throws DbError when there is none.
    void Load(int systemID);
    // Derives the usage flags from winDrawScoring and the formula texts.
    void DeriveUsageFlags();

    // Evaluates formula `slot` with one seat's inputs. Clears the error flag
    // first; an empty formula is 0 without error. On error (flag set) the
    // value is 0. Never allocates.
    float EvaluateScoreFormula(int slot, int yrs, int scs, int num, int power, int big, int tie, int srv, int ldr);
    // Evaluates one expression text with the same inputs; sets the error flag
    // (and returns 0) on any error, and returns 0 at once while it is set.
    float EvaluateFormula(QStringView text, int yrs, int scs, int num, int power, int big, int tie, int srv,
                          int ldr);

    // True when scoring a seat needs each power's row of the game (power and
    // years), not only the centres and results of the seven seats.
    bool NeedsPowerFigures() const { return usesProvisional != 0 || usesTotalSC != 0; }

    // Scores one seat of a finished game under this system. gameSeats are
    // all the rows of the seat's game, the seat among them. Fills prov and
    // ctrs from the rows when the formulas need them.
    SeatScore ScoreSeat(const GameSeat& seat, std::span<const GameSeat> gameSeats);

private:
    struct FormulaInputs {
        int yrs, scs, num, power, big, tie, srv, ldr;
    };
    float Evaluate(QStringView text, const FormulaInputs& in, int depth);
    bool ResolveVariable(QStringView name, const FormulaInputs& in, float& value) const;
    float Fail();
};

extern CScoringSystem ScoringSystem;

// True when a formula mentions a provisional-score variable (prov, sump,
// avgp, mulp, minp, maxp), found as a case-sensitive substring.
bool MentionsProvisionalScores(const QString& formula);

inline void LoadScoringSystem(int systemID) { ScoringSystem.Load(systemID); }

// The system that scores a game: the game's own, else its heat's, else the
// tournament's default (0 means inherit).
int SystemForGame(int gameSystemID, int heatSystemID, int tournamentSystemID);

// Scores one seat under the loaded system (which must be the game's).
inline SeatScore ScoreSeat(const GameSeat& seat, std::span<const GameSeat> gameSeats)
{
    return ScoringSystem.ScoreSeat(seat, gameSeats);
}

// The rows of a game with everything scoring reads of them.
std::vector<GameSeat> ReadGameSeats(int gameID);

// Scores one seat of a game known by its id under the loaded system: reads
// the game's centres and results, and each power's row only when the
// formulas need them.
SeatScore ScoreSeatInGame(int gameID, const GameSeat& seat);
