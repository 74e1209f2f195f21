#pragma once
// Tournaments for the seeding benchmarks, built in the scratch database
// through the program's own statements, with a fixed clock for the draws.

#include "ui/UiServices.h"

#include <cstdint>
#include <functional>
#include <vector>

// Services whose clock the benchmark sets; nothing else of them is used.
class BenchClock : public UiServices {
public:
    long long seconds = 1700000000;
    MsgAnswer Message(const QString&, const QString&, MsgIcon, MsgButtons, const MessageOptions&) override
    {
        return MsgAnswer::Ok;
    }
    int RunModal(CDialog&) override { return 0; }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    QString DefaultPrinterPort() override { return {}; }
    QString ChoosePrinterPort(QWidget*) override { return {}; }
    QString ChooseFileToOpen(QWidget*, const QString&, const QString&) override { return {}; }
    bool OpenUrl(const QUrl&) override { return false; }
    long long CurrentTimeSeconds() override { return seconds; }
};

// The main program of a seeding benchmark: the application, a BenchClock as
// the services and a scratch database, set up by setUp, around the
// benchmarks.
int RunSeedingBenchmarks(int argc, char** argv, const std::function<void()>& setUp);

struct TournamentShape {
    const char* name;
    int players;
    int groups = 0;     // of eight random players each, conflict 1 to 3
    int conflicts = 0;  // declared, between random pairs, values 1 to 5
    int teamSize = 0;   // teams of consecutive players
    int teamHeat = 0;
    int playerConflict = 3;
    int powerConflict = 2;
    int groupPowers = 0;
    int numHeats = 9;
};

struct BenchTournament {
    int id = -1;
    std::vector<int> players;
};

// The tournament with its players, teams, groups and declared conflicts,
// loaded as the open one; no heats yet.
BenchTournament CreateTournament(const TournamentShape& shape);

// Creates heat heatNum, registers every player for it and draws them with
// the clock at a time fixed by the heat number. Returns the heat's id.
int DrawHeat(const BenchTournament& tournament, int heatNum);

// Heats 1 to 8 of the tournament drawn and finished, heat 9 drawn. Returns
// the tournament's id.
int DrawNineHeats(const TournamentShape& shape);

// Nine heats with teams of four scored in heat 9, power groups, groups and
// declared conflicts; heats 1 to 8 drawn and finished, heat 9 drawn. Returns
// the tournament's id.
int CreateNineHeats(const char* name, int players, int groups, int conflicts);

// Marks the heat's games finished.
void FinishHeat(int heatID);

// The seed the draw of heat heatNum reads from the clock.
std::uint32_t HeatSeed(int heatNum);
