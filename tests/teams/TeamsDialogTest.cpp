#include "teams/TeamsDialog.h"

#include "app/MainDialog.h"
#include "db/Database.h"
#include "support/Widgets.h"
#include "teams/TeamDetailsDialog.h"
#include "teams/TeamsFixture.h"

#include <QGroupBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>

using namespace testdata;

namespace {

QTreeWidget* TeamList(CTeamsDialog& d) { return d.findChild<QTreeWidget*>("teamList"); }

struct Commands {
    bool edit, disband, print;
    bool operator==(const Commands&) const = default;
};
Commands CommandsOf(CTeamsDialog& d)
{
    return {ButtonByText(&d, "&Edit")->isEnabled(), ButtonByText(&d, "&Disband")->isEnabled(),
            ButtonByText(&d, "Print")->isEnabled()};
}
void PrintTo(const Commands& c, std::ostream* os)
{
    *os << "{edit " << c.edit << ", disband " << c.disband << ", print " << c.print << "}";
}

void SelectRow(CTeamsDialog& d, int row) { TeamList(d)->setCurrentItem(TeamList(d)->topLevelItem(row)); }

}  // namespace

class TeamsDialog : public TeamsTest {
protected:
    // Teams of three made of new players, the last names giving the order.
    int Team(int tournamentID, const QString& name, const QString& prefix)
    {
        return AddTeam(tournamentID, name,
                       {AddPlayer("C", prefix + "3"), AddPlayer("A", prefix + "1"), AddPlayer("B", prefix + "2")});
    }
};

TEST_F(TeamsDialog, HasAColumnForEachMember)
{
    OpenTeamTournament(1);
    CTeamsDialog three(CurrentTournament.id, "Spring Open");
    ASSERT_TRUE(three.Initialise());
    EXPECT_EQ(three.windowTitle(), "Teams");
    EXPECT_EQ(three.findChild<QGroupBox*>("groupBox")->title(), "Spring Open");
    ExpectInputsLabelled(&three);
    QTreeWidgetItem* headers = TeamList(three)->headerItem();
    ASSERT_EQ(TeamList(three)->columnCount(), 4);
    EXPECT_EQ(headers->text(0), "Team Name");
    EXPECT_EQ(headers->text(3), "Player #3");

    OpenTeamTournament(5, "Big Teams");
    CTeamsDialog seven(CurrentTournament.id, "Big Teams");
    ASSERT_TRUE(seven.Initialise());
    ASSERT_EQ(TeamList(seven)->columnCount(), 8);
    EXPECT_EQ(TeamList(seven)->headerItem()->text(7), "Player #7");
}

TEST_F(TeamsDialog, ListsTheTournamentsTeamsByNameWithTheirMembersInOrder)
{
    const int t = OpenTeamTournament(1);
    const QString longTeam = "The Extraordinarily Long-Named Alliance of the North";
    Team(t, "Zulu", "Zed");
    AddTeam(t, longTeam,
            {AddPlayer("Maximilian", "Featherstonehaugh-Smythe"), AddPlayer("Al", "Ash"), AddPlayer("Bo", "Bay")});
    Team(t, "Alpha", "Ant");
    Team(AddTournament({.name = "Elsewhere", .systemID = systemID, .teamSize = 1}), "Other", "Oth");

    CTeamsDialog d(t, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    const std::vector<QStringList> rows = ListRows(&d);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (QStringList{"Alpha", "A Ant1", "B Ant2", "C Ant3"}));
    EXPECT_EQ(rows[1], (QStringList{longTeam, "Al Ash", "Bo Bay", "Maximilian Featherstonehaugh-Smythe"}));
    EXPECT_EQ(rows[2][0], "Zulu");

    // Nothing is offered until a row is picked, and Print not even then.
    EXPECT_EQ(CommandsOf(d), (Commands{false, false, false}));
    SelectRow(d, 1);
    EXPECT_EQ(CommandsOf(d), (Commands{true, true, false}));
    TeamList(d)->clearSelection();
    EXPECT_EQ(CommandsOf(d), (Commands{false, false, false}));
}

TEST_F(TeamsDialog, NewShowsAndRemembersTheSavedTeam)
{
    const int t = OpenTeamTournament(1);
    Team(t, "Zulu", "Zed");
    for (const char* last : {"Ash", "Bay", "Cox"}) AddPlayer("P", last);
    CTeamsDialog d(t, "Spring Open");
    ASSERT_TRUE(d.Initialise());

    ui().ExpectDialog<CTeamDetailsDialog>([](CTeamDetailsDialog& details) {
        EXPECT_EQ(details.TeamID(), -1);
        EXPECT_EQ(details.findChild<QGroupBox*>("groupBox")->title(), "Spring Open");
        details.findChild<QLineEdit*>("nameEdit")->setText("Mike's");
        for (int k = 0; k < 3; ++k) details.PlayerList(k)->setCurrentIndex(k);
        ButtonByText(&details, "OK")->click();
    });
    ButtonByText(&d, "&New")->click();
    const std::vector<QStringList> rows = ListRows(&d);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (QStringList{"Mike`s", "P Ash", "P Bay", "P Cox"}));
    EXPECT_EQ(TeamList(d)->currentItem(), TeamList(d)->topLevelItem(0));
    EXPECT_EQ(CommandsOf(d), (Commands{true, true, true}));

    // A New that is cancelled remembers no team.
    ui().ExpectDialog<CTeamDetailsDialog>();
    ButtonByText(&d, "&New")->click();
    EXPECT_EQ(ListRows(&d).size(), 2u);
    EXPECT_EQ(CommandsOf(d), (Commands{false, false, false}));
}

TEST_F(TeamsDialog, EditOpensTheMarkedTeam)
{
    const int t = OpenTeamTournament(1);
    Team(t, "Alpha", "Ant");
    const int bravo = Team(t, "Bravo", "Bee");
    CTeamsDialog d(t, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    SelectRow(d, 1);
    ui().ExpectDialog<CTeamDetailsDialog>([bravo](CTeamDetailsDialog& details) {
        EXPECT_EQ(details.TeamID(), bravo);
        EXPECT_EQ(details.findChild<QLineEdit*>("nameEdit")->text(), "Bravo");
        details.findChild<QLineEdit*>("nameEdit")->setText("Able");
        ButtonByText(&details, "OK")->click();
    });
    ButtonByText(&d, "&Edit")->click();
    const std::vector<QStringList> rows = ListRows(&d);
    EXPECT_EQ(rows[0], (QStringList{"Able", "A Bee1", "B Bee2", "C Bee3"}));
    EXPECT_EQ(TeamList(d)->currentItem(), TeamList(d)->topLevelItem(0));
    EXPECT_EQ(CommandsOf(d), (Commands{true, true, true}));

    // Cancelled, the edited team is still the remembered one.
    SelectRow(d, 1);
    ui().ExpectDialog<CTeamDetailsDialog>();
    ButtonByText(&d, "&Edit")->click();
    EXPECT_EQ(TeamList(d)->currentItem()->text(0), "Alpha");
    EXPECT_EQ(CommandsOf(d), (Commands{true, true, true}));
}

TEST_F(TeamsDialog, DisbandsTheMarkedTeamWhenConfirmed)
{
    const int t = OpenTeamTournament(1);
    const int alpha = Team(t, "Alpha", "Ant");
    const int bravo = Team(t, "Bravo", "Bee");
    CTeamsDialog d(t, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    SelectRow(d, 0);

    ui().Expect("Confirm Team Disband", MsgAnswer::No)
        .Text("Are you sure you want to disband the team \"Alpha\"?")
        .Icon(MsgIcon::Question)
        .Buttons(MsgButtons::YesNo);
    ButtonByText(&d, "&Disband")->click();
    EXPECT_EQ(ListRows(&d).size(), 2u);

    ui().Expect("Confirm Team Disband", MsgAnswer::Yes);
    ButtonByText(&d, "&Disband")->click();
    ASSERT_EQ(ListRows(&d).size(), 1u);
    EXPECT_EQ(ListRows(&d)[0][0], "Bravo");
    EXPECT_EQ(Count(Sql("select * from TournamentTeam where id = %d", alpha)), 0);
    EXPECT_EQ(Count(Sql("select * from TeamPlayer where teamID = %d", alpha)), 0);
    EXPECT_EQ(MembersOf(bravo).size(), 3);
    EXPECT_EQ(CommandsOf(d), (Commands{false, false, false}));
}

TEST_F(TeamsDialog, PrintsTheRostersAsListedPageByPage)
{
    const int t = OpenTeamTournament(1);
    {
        Transaction quick;
        for (int n = 1; n <= 57; ++n) Team(t, Format("Team %02d of the Very Long Names League", n), Format("T%02d", n));
        quick.Commit();
    }
    Exec("update Player set first = 'Bartholomew-Jonathan' where last = 'T571'");
    CTeamsDialog d(t, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    ASSERT_EQ(ListRows(&d).size(), 57u);
    EXPECT_EQ(ListRows(&d)[56][1], "Bartholomew-Jonathan T571");

    ui().Expect("Printing to File").Text("Printing to file \"Spring Open Team Rosters.txt\".");
    ui().Expect("Print Complete").Text("Rosters Printed!").Icon(MsgIcon::Exclamation);
    d.OnPrint();
    const QStringList lines = ReadFile("Spring Open Team Rosters.txt").split('\n');
    ASSERT_EQ(lines.size(), 3 + 56 + 3 + 1 + 1);
    EXPECT_EQ(lines[1], "Spring Open Team Rosters");
    EXPECT_EQ(lines[3], "Team 01 of the Very Long Names  A T011          B T012          C T013          ");
    EXPECT_EQ(lines[59], "\f");
    EXPECT_EQ(lines[60], "Spring Open Team Rosters");
    EXPECT_EQ(lines[62], "Team 57 of the Very Long Names  Bartholomew-Jon B T572          C T573          ");
    EXPECT_EQ(lines[63], "");
}

TEST_F(TeamsDialog, PrintsNothingButTheMessageWithoutTeams)
{
    const int t = OpenTeamTournament(1);
    CTeamsDialog d(t, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    ui().Expect("Printing to File");
    ui().Expect("Print Complete").Text("Rosters Printed!");
    d.OnPrint();
    EXPECT_EQ(ReadFile("Spring Open Team Rosters.txt"), "");
}

TEST_F(TeamsDialog, ThatCannotPrintSaysNoMore)
{
    const int t = OpenTeamTournament(1);
    Team(t, "Alpha", "Ant");
    CTeamsDialog d(t, "Spring Open");
    ASSERT_TRUE(d.Initialise());
    QDir().mkdir("Spring Open Team Rosters.txt");  // a folder where the file should go
    ui().Expect("Printing to File");
    ui().Expect("Print Failed").Icon(MsgIcon::Stop);
    d.OnPrint();
}

namespace {
class MainWindowWithTournament : public CMainDialog {
public:
    void Show(int tournamentID)
    {
        SetTournamentForTest(tournamentID);
        RefreshTournamentState();
    }
};
}  // namespace

TEST_F(TeamsDialog, OpensFromTheMainWindowOnTheOpenTournament)
{
    const int t = OpenTeamTournament(2, "Team Cup");
    Team(t, "Alpha", "Ant");
    MainWindowWithTournament main;
    ASSERT_TRUE(main.Initialise());
    main.Show(t);
    ui().ExpectDialog<CTeamsDialog>([](CTeamsDialog& d) {
        EXPECT_EQ(d.findChild<QGroupBox*>("groupBox")->title(), "Team Cup");
        EXPECT_EQ(d.findChild<QTreeWidget*>("teamList")->columnCount(), 5);
        ASSERT_EQ(d.findChild<QTreeWidget*>("teamList")->topLevelItemCount(), 1);
        ButtonByText(&d, "OK")->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    });
    ButtonByText(&main, "Teams")->click();
}
