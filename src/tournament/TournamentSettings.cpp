#include "tournament/TournamentSettings.h"

#include "db/Database.h"
#include "db/Format.h"
#include "db/Recordset.h"
#include "report/ReportOutput.h"
#include "tournament/CurrentTournament.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdlib>

int EncodeDropHeats(int lowest, int nextLowest) { return lowest + 10 * nextLowest; }

int LowestHeats(int dropHeats) { return dropHeats % 10; }

int NextLowestHeats(int dropHeats) { return dropHeats / 10; }

float EncodeMultDrop(float x, float y) { return y * 10000.0f + x; }

LowHeatMultipliers DecodeLowHeats(int dropHeats, float multDrop)
{
    LowHeatMultipliers m;
    m.lowest = LowestHeats(dropHeats);
    m.nextLowest = NextLowestHeats(dropHeats);
    // The hundreds and above carry Y; truncating in double keeps a stray
    // huge value from overflowing an int.
    const float hundreds = float(100.0 * std::trunc(std::trunc(double(multDrop)) / 100.0));
    m.x = multDrop - hundreds;
    m.y = dropHeats >= 10 ? hundreds * 0.0001f : 0.0f;
    return m;
}

bool CorrectLowHeatMultipliers(LowHeatMultipliers& m)
{
    bool corrected = false;
    if (m.lowest == 0) {
        if (m.x > 0) corrected = true;
        m.x = 0;
        return corrected;
    }
    if (m.x == m.y && m.nextLowest != 0) {
        m.lowest += m.nextLowest;
        m.nextLowest = 0;
        m.y = 0;
        corrected = true;
    } else if (m.y != 0 && m.nextLowest == 0) {
        m.y = 0;
        corrected = true;
    } else if (m.y == 1) {
        m.nextLowest = 0;
        m.y = 0;
        corrected = true;
    }
    if (m.x == 1 && m.y == 0) {
        m.lowest = 0;
        m.x = 0;
        corrected = true;
    }
    return corrected;
}

int EncodeTeamHeat(int heatValue, int scoredGamesItem)
{
    return scoredGamesItem == kTeamsScoreInSingleHeat ? heatValue : -heatValue;
}

TeamHeatSetting DecodeTeamHeat(int teamHeat)
{
    return {std::abs(teamHeat), teamHeat < 0 ? kSumGamesWithoutInterplay : kTeamsScoreInSingleHeat};
}

namespace {

// The text problem of a typed text as a line of the combined message.
QString TextProblemLine(const TypedTextField& field, const QString& text)
{
    const QString problem = TypedTextProblem(field, text);
    return problem.isEmpty() ? problem : problem + QChar('\n');
}

bool NameFitsFileNames(const QString& name)
{
    const QStringList names = TournamentFileNames(name);
    return std::all_of(names.begin(), names.end(), [](const QString& n) { return FileNameFits(n); });
}

}  // namespace

std::vector<TournamentProblem> TournamentFormProblems(const TournamentForm& f)
{
    std::vector<TournamentProblem> problems;
    const auto add = [&problems](TournamentField field, const QString& message) {
        problems.push_back({field, message});
    };
    const long long n = f.low.lowest;
    const long long m = f.low.nextLowest;
    const bool teams = f.teamSizeItem > 0;
    const bool atTables = f.powerAssignmentItem == 1;
    if (f.name.isEmpty()) add(TournamentField::Name, QStringLiteral("A tournament name must be specified.\n"));
    if (const QString line = TextProblemLine(kTournamentNameField, f.name); !line.isEmpty())
        add(TournamentField::Name, line);
    else if (!NameFitsFileNames(f.name))
        add(TournamentField::Name, QStringLiteral("The tournament name is too long for the names of its report "
                                                  "files.\n"));
    if (const QString line = TextProblemLine(kTournamentDescriptionField, f.description); !line.isEmpty())
        add(TournamentField::Description, line);
    if (f.numHeats < 1 || f.numHeats > kMaxHeats)
        add(TournamentField::NumHeats, Format("Number of Heats must be between 1 and %d.\n", kMaxHeats));
    if (f.heatsBeyondNumber)
        add(TournamentField::NumHeats, QStringLiteral("Heats beyond the specified number of heats already exist.\n"));
    if (f.minHeats < 1 || f.minHeats > f.numHeats)
        add(TournamentField::MinHeats, QStringLiteral("Improper minimum heat requirement.\n"));
    if (n < 0 || n + m > f.numHeats || n == f.numHeats || m < 0)
        add(TournamentField::Lowest, QStringLiteral("Improper number of low heats.\n"));
    if (n == 0 && m > 0)
        add(TournamentField::Lowest, QStringLiteral("'Next-Lowest' requires some number of 'Lowest' Heats.\n"));
    if (f.powerAssignmentItem < 0)
        add(TournamentField::PowerAssignment, QStringLiteral("Method of power assignment must be specified.\n"));
    if (teams) {
        if (f.scoredGamesItem < 0) add(TournamentField::ScoredGames, QStringLiteral("No team system specified.\n"));
        if (f.teamHeatValue < 1 || f.teamHeatValue > f.numHeats)
            add(TournamentField::TeamHeat, QStringLiteral("Invalid team-heat information.\n"));
    }
    if (f.playerConflict < 1)
        add(TournamentField::PlayerConflict, QStringLiteral("Player conflict value must be positive.\n"));
    else if (f.playerConflict > kMaxConflictValue)
        add(TournamentField::PlayerConflict,
            Format("Player conflict value must be between 1 and %d.\n", kMaxConflictValue));
    if (f.groupPowersItem != 0 && f.playerConflict < 2)
        add(TournamentField::GroupPowers,
            QStringLiteral("Power grouping requires player conflict value to be two or more.\n"));
    if (atTables && f.powerConflict < 0)
        add(TournamentField::PowerConflict, QStringLiteral("Power conflict value must be non-negative.\n"));
    else if (f.powerConflict < -kMaxConflictValue || f.powerConflict > kMaxConflictValue)
        add(TournamentField::PowerConflict, Format("Power conflict value must be between %d and %d.\n",
                                                   atTables ? 0 : -kMaxConflictValue, kMaxConflictValue));
    if (teams && f.teamConflict < 1)
        add(TournamentField::TeamConflict, QStringLiteral("Team conflict value must be positive.\n"));
    else if (teams && f.teamConflict > kMaxConflictValue)
        add(TournamentField::TeamConflict,
            Format("Team conflict value must be between 1 and %d.\n", kMaxConflictValue));
    // Written so that a NaN fails too.
    const auto inRange = [](float v) { return v >= 0 && v < 100; };
    if (!inRange(f.low.x) || !inRange(f.low.y))
        add(inRange(f.low.x) ? TournamentField::NextMultiplier : TournamentField::LowMultiplier,
            QStringLiteral("Low heat multipliers must be between 0 and 100.\n"));
    if (f.unplayedScore < -kMaxUnplayedScore || f.unplayedScore > kMaxUnplayedScore)
        add(TournamentField::UnplayedScore,
            Format("Unplayed score must be between %d and %d.\n", -kMaxUnplayedScore, kMaxUnplayedScore));
    return problems;
}

QString TournamentFormErrors(const std::vector<TournamentProblem>& problems)
{
    QString errors;
    for (const TournamentProblem& problem : problems) errors += problem.message;
    return errors;
}

QString TournamentFormErrors(const TournamentForm& f) { return TournamentFormErrors(TournamentFormProblems(f)); }

bool HeatsBeyond(int tournamentID, long long numHeats)
{
    return RecordExists(Sql("select * from heat where tournamentID = %d and heatNum > %d", tournamentID, numHeats));
}

long long ParseInteger(const QString& text)
{
    static const QRegularExpression leading(QStringLiteral("^\\s*([+-]?)(\\d+)"));
    const QRegularExpressionMatch match = leading.match(text);
    if (!match.hasMatch()) return 0;
    const long long value = TypedDigitsValue(match.capturedView(2));
    return match.capturedView(1) == u"-" ? -value : value;
}

float ParseReal(const QString& text)
{
    // Only plain decimal numbers: "nan" or "inf" typed into a multiplier read
    // as 0 like any other word.
    static const QRegularExpression leading(
        QStringLiteral("^\\s*([+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?)"));
    const QRegularExpressionMatch match = leading.match(text);
    if (!match.hasMatch()) return 0.0f;
    return float(match.captured(1).toDouble());
}

void UpdateTournament(int tournamentID, const TournamentRecord& t, const QString& name, const QString& description,
                      int systemID)
{
    ExecuteSQL(Sql("update Tournament set name='%s', description='%s', systemID=%d, dropHeats = %d, numHeats = %d, "
                   "teamSize = %d, minHeats = %d, playerConflict = %d, powerConflict = %d, teamConflict = %d, "
                   "teamHeat = %d,assignPowers = %d, groupPowers = %d, preregistration = %d, unplayedScore = %d, "
                   "multDrop = %.2f where id = %d",
                   name, description, systemID, t.dropHeats, t.numHeats, t.teamSize, t.minHeats, t.playerConflict,
                   t.powerConflict, t.teamConflict, t.teamHeat, t.assignPowers, t.groupPowers, t.preregistration,
                   t.unplayedScore, t.multDrop, tournamentID));
}

namespace {
SqlStatement NameSelect(const QString& name) { return Sql("select * from Tournament where name = '%s'", name); }
}  // namespace

bool TournamentNameInUse(const QString& name) { return RecordExists(NameSelect(name)); }

int InsertTournament(const TournamentRecord& t, const QString& name, const QString& description, int systemID)
{
    ExecuteSQL(Sql("insert into Tournament (name, description, systemID, playerConflict, powerConflict, teamConflict, "
                   "numHeats, minHeats, dropHeats, teamSize, teamHeat, assignPowers, groupPowers, preregistration, "
                   "unplayedScore, multDrop) values ('%s', '%s', %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, "
                   "%.2f)",
                   name, description, systemID, t.playerConflict, t.powerConflict, t.teamConflict, t.numHeats,
                   t.minHeats, t.dropHeats, t.teamSize, t.teamHeat, t.assignPowers, t.groupPowers, t.preregistration,
                   t.unplayedScore, t.multDrop));
    CRecordset rs(NameSelect(name));
    if (rs.IsEOF()) throw DbError(Format("The new tournament '%s' was not found.", name));
    return rs.GetInt(0);
}
