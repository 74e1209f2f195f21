// Several desks entering results into one database at once.

#include "db/Database.h"
#include "db/Recordset.h"
#include "games/GamesFixture.h"
#include "heats/HeatRecords.h"
#include "heats/Seeding.h"
#include "scores/Standings.h"
#include "scoring/ScoringSystem.h"
#include "support/SecondDesk.h"
#include "tournament/CurrentTournament.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <iostream>

using namespace testdata;

namespace {

// One desk's part of a heat: draws its seven players into a game, starts
// it, enters a supply-centre count for every seat and finishes it.
void PlayOneGame(int heatID, const std::vector<int>& seven, std::uint32_t seed)
{
    DrawSeating(heatID, seven, seed);
    const int gameID = QueryInt(Sql("select gameID from GamePlayer, Game where GamePlayer.gameID = Game.id and "
                                    "Game.heatID = %d and GamePlayer.playerID = %d",
                                    heatID, seven.front()),
                                -1);
    ASSERT_NE(gameID, -1);
    std::vector<GameRow> rows = ReadGameRows(gameID, ScoringSystem);
    ASSERT_EQ(ChangeGameStatus(gameID, kUnstarted, kStarted, rows, ScoringSystem, ReadGameSnapshot(gameID)),
              StatusChange::Changed);
    const int counts[] = {10, 8, 6, 4, 3, 2, 1};
    for (size_t r = 0; r < rows.size(); ++r) rows[r].centers = counts[r];
    const GameSnapshot stored = WriteGameRows(gameID, rows, ReadGameSnapshot(gameID));
    ASSERT_EQ(ChangeGameStatus(gameID, kStarted, kFinished, rows, ScoringSystem, stored), StatusChange::Changed);
}

QStringList StandingRows()
{
    QStringList rows;
    for (const ListingRow& row : ComputeStandings(false).playerRows) rows << row.cells.join(QChar('|'));
    return rows;
}

bool HeatFinished(int heatID)
{
    return !RecordExists(Sql("select id from Game where heatID = %d and gameStat <> %d", heatID, int(kFinished)));
}

const char kSecondProgram[] = "QUORVANE_SECOND_PROGRAM";

}  // namespace

// The director changes a row of a game that another desk changed since it
// was shown: nothing of his is written, and the game is shown as stored.
TEST_F(GamesTest, AChangeToAGameChangedAtAnotherDeskIsRefusedAndTheGameShownAgain)
{
    OpenTournament(AddRankedSystem());
    const int game = AddGame(1, kStarted);
    auto dlg = OpenDialog();
    GamesView view{*dlg};
    SecondDesk other(store());
    ASSERT_TRUE(
        other.Write(QStringLiteral("update GamePlayer set centers = 5 where gameID = %1 and powerID = 0").arg(game)))
        << other.LastError().toStdString();

    ui().Expect("Game Changed Elsewhere")
        .Icon(MsgIcon::Stop)
        .Text(
            "Game 1 of Heat 1 has been changed at another desk since it was shown here, so your change was not "
            "saved.\nThe game is shown again as it is stored: look at it and make your change again.");
    GamesView::Choose(view.Centres(1), "7");
    EXPECT_EQ(Seats(game)[0], "0 -1 -1 5");
    EXPECT_EQ(Seats(game)[1], "1 -1 -1 -1");
    EXPECT_EQ(view.Centres(0)->currentText(), "5");
    EXPECT_EQ(view.Centres(1)->currentIndex(), -1);
    GamesView::Choose(view.Centres(1), "7");
    EXPECT_EQ(Seats(game)[1], "1 -1 -1 7");
}

class OnServerDesks : public GamesTest {};

// Another desk commits a change while this desk's transaction is under way:
// on another game both changes stand; on the same game the server refuses
// this desk's, which runs again, finds the game changed and writes nothing.
TEST_F(OnServerDesks, AtOnceOnTwoGamesBothChangesStandAndOnOneGameTheSecondIsRefused)
{
    OpenTournament(AddRankedSystem());
    const int game1 = AddGame(1, kStarted);
    const int game2 = AddGame(2, kStarted);
    LoadScoringSystem(systemID);
    SecondDesk other(store());
    for (const int otherGame : {game2, game1}) {
        SCOPED_TRACE(otherGame == game1 ? "the same game" : "another game");
        const GameSnapshot shown = ReadGameSnapshot(game1);
        std::vector<GameRow> rows = ReadGameRows(game1, ScoringSystem);
        rows[0].centers = otherGame == game1 ? 12 : 11;
        int attempts = 0;
        auto change = [&] {
            RunAtomically([&] {
                ++attempts;
                (void)ReadGameSnapshot(game2);  // this desk's transaction has begun
                if (attempts == 1) {
                    EXPECT_TRUE(other.Write(QStringLiteral("update GamePlayer set centers = 20 where gameID = %1 and "
                                                           "powerID = 6")
                                                .arg(otherGame)));
                }
                WriteGameRows(game1, rows, shown);
            });
        };
        if (otherGame == game2) {
            change();
            EXPECT_EQ(Seats(game1)[0], "0 -1 -1 11");
            EXPECT_EQ(Seats(game2)[6], "6 -1 -1 20");
        } else {
            EXPECT_THROW(change(), GameChangedElsewhere);
            EXPECT_EQ(attempts, 2);
            EXPECT_EQ(Seats(game1)[0], "0 -1 -1 11");
            EXPECT_EQ(Seats(game1)[6], "6 -1 -1 20");
        }
    }
}

// Two programs on one database, each seeding seven players of the same heat
// into a game of its own at the same time, entering its results and
// finishing it, list the same standings.
TEST_F(OnServerDesks, TwoProgramsSeedEnterAndFinishDifferentGamesAndListTheSameStandings)
{
    OpenTournament(AddRankedSystem());
    std::vector<int> mine, theirs;
    for (int i = 0; i < 14; ++i) {
        (i < 7 ? mine : theirs).push_back(AddPlayer("Desk", QString::number(i)));
        AddHeatPlayer(heatID, (i < 7 ? mine : theirs).back());
    }
    QStringList ids;
    for (int id : theirs) ids << QString::number(id);
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kSecondProgram,
               QStringLiteral("%1\n%2\n%3").arg(store().ConnectString()).arg(tournamentID).arg(ids.join(',')));
    second.setProcessEnvironment(env);
    second.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=SecondProgram.*"), QStringLiteral("--store=postgres")});
    ASSERT_TRUE(second.waitForStarted(10000));

    PlayOneGame(heatID, mine, 7);
    ASSERT_TRUE(second.waitForFinished(60000));
    const QString output = QString::fromUtf8(second.readAllStandardOutput());
    ASSERT_EQ(second.exitCode(), 0) << output.toStdString() << second.readAllStandardError().toStdString();
    QStringList listed;
    for (const QString& line : output.split(QChar('\n')))
        if (line.startsWith(QLatin1String("STANDING "))) listed << line.mid(9);
    EXPECT_EQ(Count(Sql("select * from Game where heatID = %d and gameStat = %d", heatID, int(kFinished))), 2);
    EXPECT_EQ(StandingRows().size(), 14);
    EXPECT_EQ(listed, StandingRows());
}

// The second program of the test above: started by it, never on its own.
TEST(SecondProgram, SeedsEntersAndFinishesItsGameThenListsTheStandings)
{
    const QStringList given = qEnvironmentVariable(kSecondProgram).split(QChar('\n'));
    ASSERT_EQ(given.size(), 3) << "started only by the two-program test";
    std::vector<int> seven;
    for (const QString& id : given[2].split(QChar(','))) seven.push_back(id.toInt());
    auto previous = InstallUiServices(std::make_unique<ScriptedUi>());
    CDatabase::Open(given[0]);
    LoadTournament(given[1].toInt());
    LoadScoringSystem(CurrentTournament.systemID);
    const int heatID = QueryInt(Sql("select id from Heat where tournamentID = %d", CurrentTournament.id), -1);
    PlayOneGame(heatID, seven, 11);
    QElapsedTimer waited;
    waited.start();
    while (!HeatFinished(heatID) && waited.elapsed() < 50000) QThread::msleep(50);
    for (const QString& row : StandingRows()) std::cout << "STANDING " << row.toStdString() << "\n";
    CDatabase::Close();
    InstallUiServices(std::move(previous));
}
