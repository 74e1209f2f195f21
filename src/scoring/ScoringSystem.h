#pragma once
// The one loaded scoring system.

#include <QString>

#include <array>

// Index of a formula within a scoring system.
enum FormulaSlot {
    kScoreLoss = 0,  // scoreLoss
    kScore1 = 1,     // score1 .. score7 are slots 1 .. 7
    kScore7 = 7,
    kScoreProvisional = 8,
    kFormulaCount = 9
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
};

extern CScoringSystem ScoringSystem;

inline void LoadScoringSystem(int systemID) { ScoringSystem.Load(systemID); }
