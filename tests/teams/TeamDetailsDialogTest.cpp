#include "teams/TeamDetailsDialog.h"

#include "db/Database.h"
#include "support/Widgets.h"
#include "teams/TeamsFixture.h"
#include "ui/UiServices.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

using namespace testdata;

namespace {

QLineEdit* NameEdit(CTeamDetailsDialog& d) { return ControlByName<QLineEdit>(&d, "Team Name:"); }

void ClickOK(CTeamDetailsDialog& d) { ButtonByText(&d, "OK")->click(); }

// Types the name and picks the players, one in each list in order.
void Fill(CTeamDetailsDialog& d, const QString& name, const QStringList& players)
{
    NameEdit(d)->setText(name);
    for (int k = 0; k < players.size(); ++k) Choose(d.PlayerList(k), players[k]);
}

}  // namespace

class TeamDetails : public TeamsTest {
protected:
    // Five players whose last names sort them A to E.
    void AddFivePlayers()
    {
        adams = AddPlayer("Ann", "Adams");
        evans = AddPlayer("Eve", "Evans");
        clark = AddPlayer("Cal", "Clark");
        baker = AddPlayer("Bob", "Baker");
        dunn = AddPlayer("Dan", "Dunn");
    }
    int adams = 0, baker = 0, clark = 0, dunn = 0, evans = 0;
};

TEST_F(TeamDetails, OfThreePlayersUsesThreeLists)
{
    OpenTeamTournament(1);
    AddFivePlayers();
    CTeamDetailsDialog d(-1, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    EXPECT_EQ(d.windowTitle(), "Team Details");
    EXPECT_EQ(d.findChild<QGroupBox*>("groupBox")->title(), "Spring Open");
    ExpectInputsLabelled(&d);
    const QStringList everyone{"Ann Adams", "Bob Baker", "Cal Clark", "Dan Dunn", "Eve Evans"};
    for (int k = 0; k < 3; ++k) {
        QComboBox* list = ControlByName<QComboBox>(&d, Format("Player #%d:", k + 1));
        ASSERT_EQ(list, d.PlayerList(k));
        EXPECT_TRUE(Shown(list) && list->isEnabled());
        EXPECT_EQ(Offered(list), everyone);
        EXPECT_EQ(list->currentIndex(), -1);
    }
    for (int k = 3; k < 7; ++k) {
        EXPECT_FALSE(Shown(d.PlayerList(k)) || d.PlayerList(k)->isEnabled()) << k;
        EXPECT_EQ(d.findChild<QLabel*>(Format("player%dLabel", k + 1))->text(), "") << k;
    }

    Fill(d, "Alpha", {"Eve Evans", "Ann Adams", "Cal Clark"});
    ClickOK(d);
    EXPECT_TRUE(d.HasEnded());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.TeamID(), Int("select id from TournamentTeam where name = 'Alpha'"));
    EXPECT_EQ(MembersOf(d.TeamID()), (QStringList{"Ann Adams", "Cal Clark", "Eve Evans"}));
}

TEST_F(TeamDetails, OfSevenPlayersUsesEveryList)
{
    const int t = OpenTeamTournament(5);
    for (int p = 1; p <= 8; ++p) AddPlayer("P", Format("Player%d", p));
    CTeamDetailsDialog d(-1, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    ExpectInputsLabelled(&d);
    for (int k = 0; k < 7; ++k) {
        QComboBox* list = ControlByName<QComboBox>(&d, Format("Player #%d:", k + 1));
        ASSERT_EQ(list, d.PlayerList(k));
        EXPECT_TRUE(Shown(list) && list->isEnabled()) << k;
        EXPECT_EQ(list->count(), 8);
        Choose(list, Format("P Player%d", k + 2));
    }
    EXPECT_EQ(d.findChild<QLabel*>("player7Label")->text(), "Player #7:");
    NameEdit(d)->setText("Seven");
    ClickOK(d);
    ASSERT_TRUE(d.HasEnded());
    EXPECT_EQ(Count(Sql("select * from TeamPlayer where teamID = %d", d.TeamID())), 7);
    EXPECT_EQ(Int(Sql("select tournamentID from TournamentTeam where id = %d", d.TeamID())), t);
    EXPECT_FALSE(MembersOf(d.TeamID()).contains("P Player1"));
}

TEST_F(TeamDetails, OffersOnlyPlayersOnNoTeamOfThisTournament)
{
    const int spring = OpenTeamTournament(1);
    const int autumn = AddTournament({.name = "Autumn Cup", .systemID = systemID, .teamSize = 1, .teamHeat = -1});
    AddFivePlayers();
    AddTeam(spring, "Alpha", {adams, clark, evans});

    CTeamDetailsDialog inSpring(-1, "Spring Open");
    ASSERT_TRUE(inSpring.Initialise());
    EXPECT_EQ(Offered(inSpring.PlayerList(0)), (QStringList{"Bob Baker", "Dan Dunn"}));

    LoadTournament(autumn);
    CTeamDetailsDialog inAutumn(-1, "Autumn Cup");
    ASSERT_TRUE(inAutumn.Initialise());
    EXPECT_EQ(Offered(inAutumn.PlayerList(2)).size(), 5);
}

TEST_F(TeamDetails, EditingPlacesOneMemberInEachListBeforeTheFreePlayers)
{
    const int t = OpenTeamTournament(1);
    AddFivePlayers();
    const int team = AddTeam(t, "Alpha", {evans, adams, clark});
    const int other = AddTeam(t, "Beta", {AddPlayer("Fay", "Fox"), AddPlayer("Gus", "Gray"), AddPlayer("Hal", "Hunt")});

    CTeamDetailsDialog d(team, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    EXPECT_EQ(NameEdit(d)->text(), "Alpha");
    EXPECT_EQ(Offered(d.PlayerList(0)), (QStringList{"Ann Adams", "Bob Baker", "Dan Dunn"}));
    EXPECT_EQ(Offered(d.PlayerList(1)), (QStringList{"Cal Clark", "Bob Baker", "Dan Dunn"}));
    EXPECT_EQ(Offered(d.PlayerList(2)), (QStringList{"Eve Evans", "Bob Baker", "Dan Dunn"}));
    for (int k = 0; k < 3; ++k) EXPECT_EQ(d.PlayerList(k)->currentIndex(), 0) << k;

    // Replacing Clark frees him for another team of the tournament.
    Choose(d.PlayerList(1), "Dan Dunn");
    ClickOK(d);
    ASSERT_TRUE(d.HasEnded());
    EXPECT_EQ(d.TeamID(), team);
    EXPECT_EQ(MembersOf(team), (QStringList{"Ann Adams", "Dan Dunn", "Eve Evans"}));
    EXPECT_EQ(MembersOf(other).size(), 3);
    CTeamDetailsDialog next(-1, "Spring Open");
    ASSERT_TRUE(next.Initialise());
    EXPECT_EQ(Offered(next.PlayerList(0)), (QStringList{"Bob Baker", "Cal Clark"}));
}

// Refresh offers the players as they are stored now and keeps the name and
// every choice still possible; a chosen player another desk put on a team
// leaves his place empty, and the director is told.
TEST_F(TeamDetails, RefreshKeepsWhatTheDirectorEnteredWhileItCanStand)
{
    const int t = OpenTeamTournament(1);
    AddFivePlayers();
    const int team = AddTeam(t, "Alpha", {evans, adams, clark});
    CTeamDetailsDialog d(team, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    NameEdit(d)->setText("Alpha Two");
    Choose(d.PlayerList(1), "Dan Dunn");

    AddTeam(t, "Beta", {dunn, AddPlayer("Fay", "Fox"), AddPlayer("Gus", "Gray")});
    Exec(Sql("delete from TeamPlayer where playerID = %d", evans));
    ui().Expect("Players No Longer Free").Icon(MsgIcon::Exclamation);
    ButtonByText(&d, "Refresh")->click();
    EXPECT_TRUE(ui().Messages().back().text.endsWith("\nDan Dunn"));
    EXPECT_EQ(NameEdit(d)->text(), "Alpha Two");
    EXPECT_EQ(Offered(d.PlayerList(0)), (QStringList{"Ann Adams", "Bob Baker", "Eve Evans"}));
    EXPECT_EQ(Offered(d.PlayerList(1)), (QStringList{"Cal Clark", "Bob Baker", "Eve Evans"}));
    EXPECT_EQ(Offered(d.PlayerList(2)), (QStringList{"Bob Baker", "Eve Evans"}));
    EXPECT_EQ(d.PlayerList(0)->currentText(), "Ann Adams");
    EXPECT_EQ(d.PlayerList(1)->currentIndex(), -1);
    EXPECT_EQ(d.PlayerList(2)->currentText(), "Eve Evans");

    Choose(d.PlayerList(1), "Bob Baker");
    ClickOK(d);
    ASSERT_TRUE(d.HasEnded());
    EXPECT_EQ(MembersOf(team), (QStringList{"Ann Adams", "Bob Baker", "Eve Evans"}));
    EXPECT_EQ(Int(Sql("select count(*) from TournamentTeam where name = 'Alpha Two'")), 1);
}

TEST_F(TeamDetails, ForALargerTeamSizeLeavesTheNewPlacesUnchosen)
{
    const int t = OpenTeamTournament(1);
    AddFivePlayers();
    const int team = AddTeam(t, "Alpha", {adams, baker, clark});
    Exec(Sql("update Tournament set teamSize = 2 where id = %d", t));
    LoadTournament(t);
    CTeamDetailsDialog d(team, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    EXPECT_EQ(d.PlayerList(2)->currentText(), "Cal Clark");
    EXPECT_EQ(d.PlayerList(3)->currentIndex(), -1);
    EXPECT_EQ(Offered(d.PlayerList(3)), (QStringList{"Dan Dunn", "Eve Evans"}));
    ui().Expect("Bad Team");
    ClickOK(d);
    Choose(d.PlayerList(3), "Eve Evans");
    ClickOK(d);
    ASSERT_TRUE(d.HasEnded());
    EXPECT_EQ(MembersOf(team).size(), 4);
}

TEST_F(TeamDetails, RefusesAnIncompleteTeamAndKeepsTheEntries)
{
    const int t = OpenTeamTournament(1);
    AddFivePlayers();
    AddTeam(t, "Taken", {dunn, AddPlayer("Fay", "Fox"), AddPlayer("Gus", "Gray")});
    CTeamDetailsDialog d(-1, "Spring Open");
    ASSERT_TRUE(d.Initialise());

    Fill(d, "", {"Ann Adams", "Bob Baker", "Cal Clark"});
    ui().Expect("No Team Name!").Text("The team must be named.").Icon(MsgIcon::Stop);
    ClickOK(d);

    NameEdit(d)->setText("Alpha");
    Choose(d.PlayerList(2), "Ann Adams");
    ui().Expect("Bad Team").Text("Team must contain all different players.").Icon(MsgIcon::Stop);
    ClickOK(d);

    d.PlayerList(2)->setCurrentIndex(-1);
    ui().Expect("Bad Team").Text("Team must contain all different players.").Icon(MsgIcon::Stop);
    ClickOK(d);

    Choose(d.PlayerList(2), "Cal Clark");
    NameEdit(d)->setText("Taken");
    ui().Expect("Bad Team Name").Text("Team Name Already In Use At This Tournament.").Icon(MsgIcon::Stop);
    ClickOK(d);

    EXPECT_FALSE(d.HasEnded());
    EXPECT_EQ(d.TeamID(), -1);
    EXPECT_EQ(Count("select * from TournamentTeam"), 1);
    EXPECT_EQ(Count("select * from TeamPlayer"), 3);
    EXPECT_EQ(NameEdit(d)->text(), "Taken");
    EXPECT_EQ(d.PlayerList(1)->currentText(), "Bob Baker");
}

TEST_F(TeamDetails, AcceptsItsOwnNameAndTheNameOfATeamElsewhere)
{
    const int spring = OpenTeamTournament(1);
    const int autumn = AddTournament({.name = "Autumn Cup", .systemID = systemID, .teamSize = 1, .teamHeat = -1});
    AddFivePlayers();
    const int alpha = AddTeam(spring, "Alpha", {adams, baker, clark});

    CTeamDetailsDialog same(alpha, "Spring Open");
    ASSERT_TRUE(same.Initialise());
    ClickOK(same);
    EXPECT_TRUE(same.HasEnded());
    EXPECT_EQ(MembersOf(alpha), (QStringList{"Ann Adams", "Bob Baker", "Cal Clark"}));

    LoadTournament(autumn);
    CTeamDetailsDialog elsewhere(-1, "Autumn Cup");
    ASSERT_TRUE(elsewhere.Initialise());
    Fill(elsewhere, "Alpha", {"Ann Adams", "Dan Dunn", "Eve Evans"});
    ClickOK(elsewhere);
    EXPECT_TRUE(elsewhere.HasEnded());
    EXPECT_EQ(Int(Sql("select tournamentID from TournamentTeam where id = %d", elsewhere.TeamID())), autumn);
    EXPECT_EQ(Count("select * from TournamentTeam where name = 'Alpha'"), 2);
}

TEST_F(TeamDetails, StoresApostrophesAsBackquotesAndRefusesOverlongNames)
{
    const int t = OpenTeamTournament(1);
    AddFivePlayers();
    const int rock = AddTeam(t, "Rock `n` Roll", {dunn, evans, AddPlayer("Fay", "Fox")});
    CTeamDetailsDialog d(-1, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    Fill(d, "Rock 'n' Roll", {"Ann Adams", "Bob Baker", "Cal Clark"});
    ui().Expect("Bad Team Name");  // the same name as stored
    ClickOK(d);

    NameEdit(d)->setText(QString(300, QChar('x')) + "'s");
    ui().Expect("Bad Team Name").Text("The team name may have at most 80 characters (it has 302).").Icon(MsgIcon::Stop);
    ClickOK(d);
    NameEdit(d)->setText(QChar(0xFEFF) + QString("Rock"));
    ui().Expect("Bad Team Name").Text("The team name holds the character U+FEFF at position 1, which cannot be stored.");
    ClickOK(d);
    EXPECT_FALSE(d.HasEnded());
    EXPECT_EQ(Count(Sql("select * from TournamentTeam where tournamentID = %d", t)), 1);

    NameEdit(d)->setText(QString(78, QChar('x')) + "'s");
    ClickOK(d);
    ASSERT_TRUE(d.HasEnded());
    EXPECT_NE(d.TeamID(), rock);
    EXPECT_EQ(Rows(Sql("select name from TournamentTeam where id = %d", d.TeamID()))[0][0],
              QString(78, QChar('x')) + "`s");
}

TEST_F(TeamDetails, OffersEveryPlayerOfALargeRegister)
{
    OpenTeamTournament(1);
    {
        Transaction quick;
        for (int p = 0; p < 1200; ++p) AddPlayer("P", Format("Player%04d", p));
        quick.Commit();
    }
    CTeamDetailsDialog d(-1, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    EXPECT_EQ(d.PlayerList(2)->count(), 1200);
    EXPECT_EQ(d.PlayerList(2)->itemText(1199), "P Player1199");
}

TEST_F(TeamDetails, CancelWritesNothing)
{
    const int t = OpenTeamTournament(1);
    AddFivePlayers();
    const int alpha = AddTeam(t, "Alpha", {adams, baker, clark});
    CTeamDetailsDialog d(alpha, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    NameEdit(d)->setText("Renamed");
    Choose(d.PlayerList(0), "Dan Dunn");
    ButtonByText(&d, "Cancel")->click();
    EXPECT_TRUE(d.HasEnded());
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(d.TeamID(), alpha);
    EXPECT_EQ(Rows("select name from TournamentTeam")[0][0], "Alpha");
    EXPECT_EQ(MembersOf(alpha), (QStringList{"Ann Adams", "Bob Baker", "Cal Clark"}));
}

// A save that fails half-way leaves the team as it was: never without members.
TEST_F(TeamDetails, ThatFailsKeepsTheTeamAsItWas)
{
    const int t = OpenTeamTournament(1);
    AddFivePlayers();
    AddPlayer("Fay", "Fox");
    const int alpha = AddTeam(t, "Alpha", {adams, baker, clark});
    RefuseWrites("RefuseEvans", "before insert on TeamPlayer", QString("new.playerID = %1").arg(evans));

    CTeamDetailsDialog edit(alpha, "Spring Open");
    ASSERT_TRUE(edit.Initialise());
    NameEdit(edit)->setText("Renamed");
    Choose(edit.PlayerList(2), "Eve Evans");
    ui().Expect("Quorvane Tournament Manager").Icon(MsgIcon::Stop);
    ClickOK(edit);
    EXPECT_TRUE(ui().Messages().back().text.contains("refused by the test"));
    EXPECT_FALSE(edit.HasEnded());
    EXPECT_EQ(edit.TeamID(), alpha);
    EXPECT_EQ(Rows("select name from TournamentTeam")[0][0], "Alpha");
    EXPECT_EQ(MembersOf(alpha), (QStringList{"Ann Adams", "Bob Baker", "Cal Clark"}));

    CTeamDetailsDialog created(-1, "Spring Open");
    ASSERT_TRUE(created.Initialise());
    Fill(created, "Beta", {"Dan Dunn", "Fay Fox", "Eve Evans"});
    ui().Expect("Quorvane Tournament Manager").Icon(MsgIcon::Stop);
    ClickOK(created);
    EXPECT_FALSE(created.HasEnded());
    EXPECT_EQ(created.TeamID(), -1);
    EXPECT_EQ(Count("select * from TournamentTeam"), 1);
    EXPECT_EQ(Count("select * from TeamPlayer"), 3);
}
