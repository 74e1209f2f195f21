#pragma once
// A tournament's rules as the director types them, without a window: the
// encodings of the low-heat multipliers and of team scoring, the checks a
// tournament must pass before it is saved, the corrections of pointless
// multiplier settings, and the statements that store a tournament.

#include "ui/TypedText.h"

#include <QString>

#include <vector>

struct TournamentRecord;

// The low-heat multipliers: a player's `lowest` lowest heat scores are
// multiplied by x and the `nextLowest` next lowest by y.
struct LowHeatMultipliers {
    int lowest = 0;      // N
    int nextLowest = 0;  // M
    float x = 0.0f;
    float y = 0.0f;
};

// dropHeats = N + 10 * M.
int EncodeDropHeats(int lowest, int nextLowest);
int LowestHeats(int dropHeats);
int NextLowestHeats(int dropHeats);

// multDrop = Y * 10000 + X.
float EncodeMultDrop(float x, float y);
// N, M, X and Y of the stored pair; Y counts only when dropHeats names some
// next-lowest heats (it is 0 otherwise).
LowHeatMultipliers DecodeLowHeats(int dropHeats, float multDrop);

// Makes pointless multiplier settings plain: no lowest heats means no
// multiplier; equal multipliers merge into one count; a second multiplier
// without heats, a second multiplier of 1, and a single multiplier of 1 are
// dropped. True when anything changed.
bool CorrectLowHeatMultipliers(LowHeatMultipliers& m);

// Items of the "Scored Games:" list.
enum ScoredGamesItem { kTeamsScoreInSingleHeat = 0, kSumGamesWithoutInterplay = 1 };

// teamHeat = K for a single heat K, -K for the sum of K heats.
int EncodeTeamHeat(int heatValue, int scoredGamesItem);
struct TeamHeatSetting {
    int heatValue = 0;                                  // |teamHeat|
    int scoredGamesItem = kTeamsScoreInSingleHeat;      // item 1 when teamHeat < 0
};
TeamHeatSetting DecodeTeamHeat(int teamHeat);

// The heats a tournament can have.
inline constexpr int kMaxHeats = 9;

// The texts of a tournament and the most characters each takes. A name must
// also leave room for the names of the tournament's report files.
inline const TypedTextField kTournamentNameField{QStringLiteral("tournament name"), 80};
inline const TypedTextField kTournamentDescriptionField{QStringLiteral("description"), 2000};

// The ranges a director can mean: conflict values up to 999, an unplayed
// score between -9999 and 9999.
inline constexpr int kMaxConflictValue = 999;
inline constexpr int kMaxUnplayedScore = 9999;

// The low-heat counts and multipliers as typed, before they are checked:
// wide enough that no typed number overflows.
struct TypedLowHeats {
    long long lowest = 0;      // N
    long long nextLowest = 0;  // M
    float x = 0.0f;
    float y = 0.0f;
};

// Everything the OK checks look at, as read off the dialog. A combo without a
// selection is -1. Numbers are as typed (see ParseInteger).
struct TournamentForm {
    QString name;
    QString description;
    long long numHeats = 0;
    long long minHeats = 0;
    TypedLowHeats low;
    int powerAssignmentItem = 0;  // 0 automatic, 1 at the tables
    int groupPowersItem = 0;
    int teamSizeItem = 0;  // 0 no team tournament
    int scoredGamesItem = -1;
    long long teamHeatValue = 0;
    long long playerConflict = 1;
    long long powerConflict = 0;
    long long teamConflict = 0;
    long long unplayedScore = 0;
    // True when the tournament being edited has heats numbered above numHeats.
    bool heatsBeyondNumber = false;
};

// The field a failed rule is about, so that the dialog can take the
// director there.
enum class TournamentField {
    Name,
    Description,
    NumHeats,
    MinHeats,
    Lowest,
    LowMultiplier,
    NextMultiplier,
    PowerAssignment,
    GroupPowers,
    ScoredGames,
    TeamHeat,
    PlayerConflict,
    PowerConflict,
    TeamConflict,
    UnplayedScore,
};

struct TournamentProblem {
    TournamentField field;
    QString message;  // ends in "\n"
};

// Every failed rule, in order; empty when the form is valid.
std::vector<TournamentProblem> TournamentFormProblems(const TournamentForm& form);
// Their messages, one after the other.
QString TournamentFormErrors(const std::vector<TournamentProblem>& problems);
QString TournamentFormErrors(const TournamentForm& form);

// True when the tournament has a heat numbered above numHeats.
bool HeatsBeyond(int tournamentID, long long numHeats);

// Text to number the way the director's typing is read: leading blanks, a
// sign and the leading digits count; anything else (or nothing) reads as 0.
// Beyond kTypedNumberLimit the number reads as that limit, with its sign.
long long ParseInteger(const QString& text);
float ParseReal(const QString& text);

// The statements that store a tournament. name and description are stored
// as given; systemID is the tournament's default scoring system.
void UpdateTournament(int tournamentID, const TournamentRecord& t, const QString& name, const QString& description,
                      int systemID);
// Inserts the tournament and returns its new id.
int InsertTournament(const TournamentRecord& t, const QString& name, const QString& description, int systemID);
bool TournamentNameInUse(const QString& name);
