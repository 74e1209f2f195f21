#include "scores/ScoresDialog.h"

#include "scores/AwardsDialog.h"
#include "scores/ScoresFixture.h"
#include "support/FileSizeLimit.h"
#include "support/OpenableMainDialog.h"
#include "support/Widgets.h"
#include "ui/ListColumns.h"
#include "ui/Messages.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTreeWidget>

#include <algorithm>
#include <optional>

using namespace testdata;

namespace {

QTreeWidget* PlayerList(CScoresDialog& d) { return d.findChild<QTreeWidget*>("playerList"); }
QTreeWidget* TeamList(CScoresDialog& d) { return d.findChild<QTreeWidget*>("teamList"); }
QCheckBox* QualifiedBox(CScoresDialog& d) { return d.findChild<QCheckBox*>("qualifiedCheck"); }

QStringList Headings(QTreeWidget* list)
{
    QStringList headings;
    for (int c = 0; c < list->columnCount(); ++c) headings << list->headerItem()->text(c);
    return headings;
}

struct Commands {
    bool printPlayers, exportPlayers, printTeams, awards;
    bool operator==(const Commands&) const = default;
};
Commands CommandsOf(CScoresDialog& d)
{
    return {ButtonByText(&d, "Print Player Scores")->isEnabled(), ButtonByText(&d, "Export Player Scores")->isEnabled(),
            ButtonByText(&d, "Print Team Scores")->isEnabled(), ButtonByText(&d, "Awards")->isEnabled()};
}
void PrintTo(const Commands& c, std::ostream* os)
{
    *os << "{print players " << c.printPlayers << ", export " << c.exportPlayers << ", print teams " << c.printTeams
        << ", awards " << c.awards << "}";
}

const QString kConfirmExport = QStringLiteral(
    "Player scores will be exported to a file named Spring Open.csv.\nThis file can then be imported into any "
    "spreadsheet or other\napplication that reads the comma-separated values.\n\nAre you ready to perform the "
    "export?");

}  // namespace

class ScoresDialog : public ScoresTest {
protected:
    // Ann Ash 12, 7.5 and 3 in three heats; Bo Bell 1 in heat 1.
    void ThreeHeats(TournamentRow row = {})
    {
        OpenTournament(row);
        ann = AddPlayer("Ann", "Ash");
        bo = AddPlayer("Bo", "Bell");
        FinishedGame(1, {{ann, 12}, {bo, 1}});
        Play(ann, {std::nullopt, 7.5f, 3});
    }
    int ann = 0, bo = 0;
};

TEST_F(ScoresDialog, ShowsBothListsWithTheirColumns)
{
    ThreeHeats();
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    EXPECT_EQ(d.windowTitle(), "Scores");
    EXPECT_EQ(d.findChild<QGroupBox*>("groupBox")->title(), "Spring Open");
    ExpectInputsLabelled(&d);

    EXPECT_EQ(Headings(PlayerList(d)), (QStringList{"", "Player Name", "Heat 1", "Heat 2", "Heat 3", "Score"}));
    EXPECT_EQ(Headings(TeamList(d)), (QStringList{"", "Team Name", "Score"}));
    EXPECT_EQ(ShownRows(PlayerList(d)), (std::vector<QStringList>{{"1.", "Ann Ash", "12", "7.500", "3", "22.500"},
                                                                 {"2.", "Bo Bell", "1", "0", "0", "1"}}));
    // Numbers right-aligned, names left.
    QTreeWidgetItem* first = PlayerList(d)->topLevelItem(0);
    for (int c = 0; c < first->columnCount(); ++c)
        EXPECT_EQ(first->textAlignment(c) & Qt::AlignHorizontal_Mask, c == 1 ? Qt::AlignLeft : Qt::AlignRight) << c;

    // minHeats 1: the box is hidden but checked, so the multipliers skip
    // players with too few heats.
    EXPECT_FALSE(Shown(QualifiedBox(d)));
    EXPECT_TRUE(QualifiedBox(d)->isChecked());
    EXPECT_EQ(QualifiedBox(d)->text(), "List Only Players Qualified for Tournament Ranking");
    // No teams: no team list, and no team printout.
    EXPECT_FALSE(Shown(TeamList(d)));
    EXPECT_EQ(CommandsOf(d), (Commands{true, true, false, true}));

    ButtonByText(&d, "OK")->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

// Sixty players with long names and wide scores: every heat and total shows
// whole beside the scroll bar, and a name that cannot fit tells itself.
TEST_F(ScoresDialog, NumbersShowWholeAndNamesTellThemselves)
{
    OpenTournament({.numHeats = 4});
    const QString longName = "Bartholomew-Maximilian " + QString(150, QChar('x')) + " Wolfeschlegelsteinhausen";
    for (int p = 0; p < 60; ++p) {
        const int player = AddPlayer(p == 0 ? longName : Format("First%d", p), "Last");
        Play(player, {359.467f + float(p), 102.406f, std::nullopt, 1000.125f});
    }
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    d.show();
    QApplication::processEvents();

    QTreeWidget* list = PlayerList(d);
    ASSERT_TRUE(list->verticalScrollBar()->isVisible());
    int columns = 0;
    for (int c = 0; c < list->columnCount(); ++c) {
        columns += list->header()->sectionSize(c);
        if (c == 1) continue;
        int widest = list->header()->sectionSizeHint(c);
        for (int r = 0; r < list->topLevelItemCount(); ++r)
            widest = std::max(widest, CellTextWidth(list, list->topLevelItem(r)->text(c)));
        EXPECT_EQ(list->header()->sectionSize(c), widest) << Headings(list)[c].toStdString();
    }
    // The name column takes the rest, up to the scroll bar; the long name
    // shows elided, and is its own tooltip. A short one needs none.
    EXPECT_EQ(columns, list->viewport()->width());
    int longRow = -1;
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        if (list->topLevelItem(r)->text(1).startsWith("Bartholomew")) longRow = r;
    ASSERT_GE(longRow, 0);
    EXPECT_EQ(ElidedCellToolTip(list, list->model()->index(longRow, 1)), longName + " Last");
    EXPECT_EQ(ElidedCellToolTip(list, list->model()->index(longRow == 0 ? 1 : 0, 1)), "");
}

// A heat the player has still to play is empty; one he sat out scores as
// the unplayed score.
TEST_F(ScoresDialog, HeatsStillToBePlayedAreEmpty)
{
    OpenTournament({.numHeats = 4});
    const int ann = AddPlayer("Ann", "Ash"), bo = AddPlayer("Bo", "Bell");
    Play(ann, {12, 7.5f, 3});
    Play(bo, {1});
    AddSeat(AddGame(HeatID(3), 99, 1), bo, 0);  // Bo's heat 3 game is under way
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    EXPECT_EQ(ShownRows(PlayerList(d)), (std::vector<QStringList>{{"1.", "Ann Ash", "12", "7.500", "3", "", "22.500"},
                                                                 {"2.", "Bo Bell", "1", "0", "", "", "1"}}));
}

TEST_F(ScoresDialog, HiddenBoxStillKeepsMultipliersFromPlayersWithFewHeats)
{
    ThreeHeats({.numHeats = 3, .dropHeats = 1});
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    // Ann's lowest heat counts 0; Bo, who played 1 of the 2 heats it takes, keeps his.
    EXPECT_EQ(ShownRows(PlayerList(d)), (std::vector<QStringList>{{"1.", "Ann Ash", "12", "7.500", "3", "19.500"},
                                                                 {"2.", "Bo Bell", "1", "0", "0", "1"}}));
}

TEST_F(ScoresDialog, TogglingTheBoxComputesTheListsAgain)
{
    ThreeHeats({.minHeats = 2});
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    EXPECT_TRUE(Shown(QualifiedBox(d)));
    ASSERT_EQ(ShownRows(PlayerList(d)).size(), 1u);

    QualifiedBox(d)->click();
    EXPECT_FALSE(QualifiedBox(d)->isChecked());
    ASSERT_EQ(ShownRows(PlayerList(d)).size(), 2u);
    EXPECT_EQ(ShownRows(PlayerList(d))[1][1], "Bo Bell");
    EXPECT_EQ(d.CurrentStandings().playerRows.size(), 2u);

    QualifiedBox(d)->click();
    EXPECT_EQ(ShownRows(PlayerList(d)).size(), 1u);

    // Toggled by a screen reader, the box acts as a click does.
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(QualifiedBox(d));
    ASSERT_TRUE(box && box->actionInterface());
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(QualifiedBox(d)->isChecked());
    EXPECT_EQ(ShownRows(PlayerList(d)).size(), 2u);
}

TEST_F(ScoresDialog, AComputationThatFailsLeavesTheListsAndTheBoxAsTheyWere)
{
    ThreeHeats({.minHeats = 2});
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    const std::vector<QStringList> before = ShownRows(PlayerList(d));
    ASSERT_EQ(before.size(), 1u);

    Exec("drop table TeamPlayer");
    ui().Expect(kAppName).Icon(MsgIcon::Stop);
    QualifiedBox(d)->click();
    EXPECT_TRUE(QualifiedBox(d)->isChecked());
    EXPECT_EQ(ShownRows(PlayerList(d)), before);
    EXPECT_EQ(d.CurrentStandings().playerRows.size(), 1u);
}

TEST_F(ScoresDialog, WithoutFinishedGamesNothingCanBePrintedOrExported)
{
    OpenTournament({.teamSize = 1, .teamHeat = 1});
    AddTeam(tournamentID, "Alpha", {AddPlayer("A", "A"), AddPlayer("B", "B"), AddPlayer("C", "C")});
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    EXPECT_EQ(PlayerList(d)->topLevelItemCount(), 0);
    EXPECT_TRUE(TeamList(d)->isEnabled());
    EXPECT_EQ(CommandsOf(d), (Commands{false, false, false, false}));
    EXPECT_EQ(ButtonByText(&d, "Awards")->toolTip(), "No player is listed");
    EXPECT_EQ(ButtonByText(&d, "Print Team Scores")->toolTip(), "No team is listed");
    EXPECT_FALSE(ButtonByText(&d, "Export Web Page")->isEnabled());
}

TEST_F(ScoresDialog, ExportsTheRowsAsShown)
{
    ThreeHeats();
    const int lee = AddPlayer("Cy", "Lee, Jr.");
    FinishedGame(1, {{lee, 0.5f}});
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());

    // No: nothing is written.
    ui().Expect("Confirm Export", MsgAnswer::No).Text(kConfirmExport).Icon(MsgIcon::Question).Buttons(MsgButtons::YesNo);
    ButtonByText(&d, "Export Player Scores")->click();
    EXPECT_FALSE(QFile::exists(PathOf("Spring Open.csv")));

    ui().Expect("Confirm Export", MsgAnswer::Yes).Text(kConfirmExport);
    ui().Expect("Export complete").Text("File export complete!").Icon(MsgIcon::None);
    ButtonByText(&d, "Export Player Scores")->click();
    EXPECT_EQ(ReadFile("Spring Open.csv"), "1.,Ann Ash,12,7.500,3,22.500\n"
                                           "2.,Bo Bell,1,0,0,1\n"
                                           "3.,\"Cy Lee, Jr.\",0.500,0,0,0.500\n");
}

TEST_F(ScoresDialog, ExportThatCannotWriteItsFileSaysWhyAndKeepsTheEarlierFile)
{
    ThreeHeats();
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    const QString failed = "Export failed!  Cannot write to export file!\nFile may be in use?\n\n";
    {
        QFile earlier(PathOf("Spring Open.csv"));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier export\n");
    }
    {
        // The disk takes no more than 20 bytes of any file.
        FileSizeLimit full(20);
        ASSERT_TRUE(full.IsSet());
        ui().Expect("Confirm Export", MsgAnswer::Yes);
        ui().Expect("Export Failure").Text(failed + "File too large").Icon(MsgIcon::Exclamation);
        ButtonByText(&d, "Export Player Scores")->click();
    }
    EXPECT_EQ(ReadFile("Spring Open.csv"), "earlier export\n");
    EXPECT_EQ(QDir(PathOf(".")).entryList({"Spring Open.csv*"}, QDir::Files), QStringList({"Spring Open.csv"}));

    ASSERT_TRUE(QFile::remove(PathOf("Spring Open.csv")));
    ASSERT_TRUE(QDir(PathOf(".")).mkdir("Spring Open.csv"));
    ui().Expect("Confirm Export", MsgAnswer::Yes);
    ui().Expect("Export Failure").Text(failed + "Filename refers to a directory");
    ButtonByText(&d, "Export Player Scores")->click();
}

TEST_F(ScoresDialog, ExportFileNameIsMadeSafe)
{
    ThreeHeats();
    CScoresDialog d("North/South");
    ASSERT_TRUE(d.Initialise());
    ui().Expect("Confirm Export", MsgAnswer::Yes)
        .Text(QString(kConfirmExport).replace("Spring Open.csv", "North_South.csv"));
    ui().Expect("Export complete");
    ButtonByText(&d, "Export Player Scores")->click();
    EXPECT_TRUE(ReadFile("North_South.csv").startsWith("1.,Ann Ash,"));
}

TEST_F(ScoresDialog, FiftySevenPlayersPrintOnTwoPages)
{
    OpenTournament({.numHeats = 1});
    for (int i = 0; i < 57; ++i) {
        const int p = AddPlayer("P", Format("%02d", i));
        FinishedGame(1, {{p, float(i % 17)}});
    }
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    ui().Expect("Printing to File").Text("Printing to file \"Spring Open Player Scores.txt\".");
    ui().Expect("Print Complete").Text("Scores Printed!").Icon(MsgIcon::Exclamation);
    ButtonByText(&d, "Print Player Scores")->click();
    const QString text = ReadFile("Spring Open Player Scores.txt");
    EXPECT_TRUE(text.startsWith("\nSpring Open Player Scores\n\n  1. P 50 "));
    EXPECT_EQ(text.count("\f"), 1);
    const QStringList pages = text.split("\f");
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].count("\n"), 3 + 56);
    EXPECT_TRUE(pages[1].startsWith("\nSpring Open Player Scores\n\n"));
    EXPECT_EQ(pages[1].count("\n"), 3 + 1);
}

TEST_F(ScoresDialog, PrintsTheTeamList)
{
    OpenTournament({.teamSize = 1, .teamHeat = 1, .numHeats = 1});
    const int a = AddPlayer("A", "One");
    AddTeam(tournamentID, "Alpha", {a, AddPlayer("A", "Two"), AddPlayer("A", "Three")});
    FinishedGame(1, {{a, 4.5f}});
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    EXPECT_EQ(ShownRows(TeamList(d)), (std::vector<QStringList>{{"1.", "Alpha", "4.500"}}));
    EXPECT_EQ(CommandsOf(d), (Commands{true, true, true, true}));
    ui().Expect("Printing to File");
    ui().Expect("Print Complete").Text("Scores Printed!");
    ButtonByText(&d, "Print Team Scores")->click();
    EXPECT_EQ(ReadFile("Spring Open Team Scores.txt"),
              "\nSpring Open Team Scores\n\n  1. Alpha                                    4.500  \n");
}

TEST_F(ScoresDialog, AwardsOpenWithTheListAndPrintIt)
{
    OpenTournament({.numHeats = 2});
    // A game that is not finished takes the first id: the awards name games
    // by their numbers.
    AddGame(HeatID(2), 9, 1);
    const int ann = AddPlayer("Ann", "Ash"), bo = AddPlayer("Bo", "Bell");
    FinishedGame(1, {{bo, 2}, {ann, 12}});
    FinishedGame(2, {{ann, 10.5f}});
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    // Bo, with one of the two heats, is listed but takes no award for totals.
    ui().ExpectDialog<CAwardsDialog>([this](CAwardsDialog& awards) {
        EXPECT_EQ(awards.windowTitle(), "Awards");
        EXPECT_EQ(awards.findChild<QGroupBox*>("groupBox")->title(), "Spring Open");
        const QString text = awards.AwardText();
        EXPECT_EQ(text, "1st Place: Ann Ash (22.500 pts.)\n"
                        "2nd Place: Bo Bell (2 pts.)\n"
                        "\n"
                        "Best Austria: Ann Ash (H2G2) (10.500 pts.)\n"
                        "Best England: Ann Ash (H1G1) (12 pts.)\n"
                        "\n"
                        "Last place: Ann Ash (22.500 pts.)\n"
                        "\n")
            << text.toStdString();
        const auto* label = awards.findChild<QLabel*>("awardText");
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        // The legend of the game names stands outside the award text.
        EXPECT_TRUE(Shown(awards.findChild<QLabel*>("legendLabel")));
        EXPECT_EQ(awards.findChild<QLabel*>("legendLabel")->text(), "H8G11 = heat 8, game 11");
        ExpectInputsLabelled(&awards);

        ui().Expect("Printing to File").Text("Printing to file \"Spring Open Awards.txt\".");
        ui().Expect("Print Complete").Text("Award List Printed!").Icon(MsgIcon::Exclamation);
        ButtonByText(&awards, "Print")->click();
        EXPECT_EQ(ReadFile("Spring Open Awards.txt"), "Spring Open Awards\n\n" + text);
        ButtonByText(&awards, "OK")->click();
    });
    ButtonByText(&d, "Awards")->click();
    EXPECT_EQ(ui().DialogsRun(), 1);
}

TEST_F(ScoresDialog, AwardsFollowTheTournamentsOwnKindOfScoring)
{
    OpenTournament({.numHeats = 2, .dropHeats = 1});  // one heat is enough to qualify
    testdata::SystemRow winDraw;
    winDraw.name = "Draws";
    Exec(Sql("update Heat set systemID = %d where id = %d", AddSystem(winDraw), HeatID(2)));
    const int ann = AddPlayer("Ann", "Ash"), bo = AddPlayer("Bo", "Bell");
    FinishedGame(1, {{ann, 6}});
    FinishedGame(2, {{bo, 0}});  // scored last, under the win/draw system of heat 2
    CScoresDialog d("Spring Open");
    ASSERT_TRUE(d.Initialise());
    ui().ExpectDialog<CAwardsDialog>([](CAwardsDialog& awards) {
        const QString text = awards.AwardText();
        EXPECT_TRUE(text.contains("Best result without a first-place finish:")) << text.toStdString();
        EXPECT_FALSE(text.contains("Best collection of losses")) << text.toStdString();
    });
    ButtonByText(&d, "Awards")->click();
}

TEST_F(ScoresDialog, MainWindowOpensItWithTheTournamentName)
{
    ThreeHeats();
    OpenableMainDialog main;
    ASSERT_TRUE(main.Initialise());
    main.Show(tournamentID);
    ui().ExpectDialog<CScoresDialog>([](CScoresDialog& d) {
        EXPECT_EQ(d.findChild<QGroupBox*>("groupBox")->title(), "Spring Open");
        EXPECT_EQ(d.CurrentStandings().playerRows.size(), 2u);
        ButtonByText(&d, "OK")->click();
    });
    ButtonByText(&main, "Scores")->click();
}
