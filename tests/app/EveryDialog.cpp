#include "app/EveryDialog.h"

#include "app/MainDialog.h"
#include "conflicts/ConflictModel.h"
#include "conflicts/InGameConflictsDialog.h"
#include "declaredconflicts/ConflictsDialog.h"
#include "games/GamesDialog.h"
#include "groups/GroupDetailsDialog.h"
#include "groups/GroupsDialog.h"
#include "heats/HeatsDialog.h"
#include "players/EditPlayerDialog.h"
#include "players/PlayersDialog.h"
#include "preregistration/PreRegistrationDialog.h"
#include "scores/Awards.h"
#include "scores/AwardsDialog.h"
#include "scores/ScoresDialog.h"
#include "scores/Standings.h"
#include "scoring/ScoringSystemDialog.h"
#include "support/OpenableMainDialog.h"
#include "support/TestData.h"
#include "support/Widgets.h"
#include "teams/TeamDetailsDialog.h"
#include "teams/TeamsDialog.h"
#include "tournament/CurrentTournament.h"
#include "tournament/OpenTournamentDialog.h"
#include "tournament/TournamentDetailsDialog.h"
#include "venue/VenueDisplayDialog.h"
#include "venue/VenueService.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QTabBar>
#include <QTcpServer>

#include <array>

using namespace testdata;

namespace {

// One dialog of the walk: how it is opened, and what is done in it.
struct DialogCase {
    std::string name;
    std::function<std::unique_ptr<CDialog>()> open;
    std::vector<DialogStep> steps = {};
};

template <class D, class... Args>
std::function<std::unique_ptr<CDialog>()> Opens(Args... args)
{
    return [=] { return std::make_unique<D>(args...); };
}

// Selects the first row of the dialog's first list of type L.
template <class L>
DialogStep SelectFirstRow(const char* name, bool keepsLayout = false)
{
    return {name, [](CDialog& d) { d.findChildren<L*>().front()->setCurrentRow(0); }, keepsLayout};
}

// A loopback port nobody listens on just now.
int FreeLoopbackPort()
{
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

std::vector<DialogCase> EveryDialogCase(const DialogData& t)
{
    const std::array<int, 7> seats{t.players[0], t.players[1], t.players[2], t.players[3],
                                   t.players[4], t.players[5], t.players[6]};
    // The main window's service, as the Venue Display dialog works on it; it
    // stops with the walk.
    const auto venue = std::make_shared<CVenueService>();
    std::vector<DialogCase> cases{
        {"main window", Opens<OpenableMainDialog>(),
         {{"tournament open", [id = t.tournamentID](CDialog& d) { static_cast<OpenableMainDialog&>(d).Show(id); }}}},
        {"Tournament Details", Opens<CTournamentDetailsDialog>(t.tournamentID, t.name, QString(), nullptr),
         {{"a team size picked",
           [](CDialog& d) { ControlByName<QComboBox>(&d, "Team Tournament:")->setCurrentIndex(0); }, true}}},
        {"Tournament Details, new",
         [] {
             ResetCurrentTournament();
             return std::make_unique<CTournamentDetailsDialog>(-1, QString(), QString(), nullptr);
         }},
        {"Open Tournament", Opens<COpenTournamentDialog>(t.tournamentID)},
        {"Scoring System Details", Opens<CScoringSystemDialog>(t.systemID)},
        {"Players", Opens<CPlayersDialog>(), {SelectFirstRow<QListWidget>("a player selected")}},
        {"Edit Player", Opens<CEditPlayerDialog>(t.players[0])},
        {"Conflicts", Opens<CConflictsDialog>(t.players[0])},
        {"Groups", Opens<CGroupsDialog>(-1, t.players[0])},
        {"Group Details", Opens<CGroupDetailsDialog>(t.groupID)},
        {"Pre-Registration", Opens<CPreRegistrationDialog>(-1),
         {SelectFirstRow<QListWidget>("a player selected", true)}},
        {"Heats", Opens<CHeatsDialog>(),
         {{"heat 1", [](CDialog& d) { d.findChild<QTabBar*>()->setCurrentIndex(0); }}}},
        {"Games",
         [&t] {
             g_conflictModel = BuildConflictModel(-1);
             return std::make_unique<CGamesDialog>(t.name + " - Heat 1", t.heatWithGames, t.systemID);
         }},
        {"In-Game Conflicts",
         [seats] {
             g_conflictModel = BuildConflictModel(-1);
             return std::make_unique<CInGameConflictsDialog>(seats, 1);
         }},
        {"Scores", Opens<CScoresDialog>(t.name)},
        {"Awards",
         [&t] {
             const Standings standings = ComputeStandings(true);
             return std::make_unique<CAwardsDialog>(t.name,
                                                    AwardText(DrawUpAwards(standings, CurrentTournament, 1)));
         }},
        {"Teams", Opens<CTeamsDialog>(t.tournamentID, t.name)},
        {"Team Details", Opens<CTeamDetailsDialog>(t.teamID, t.name)},
        {"Venue Display",
         [venue, id = t.tournamentID] { return std::make_unique<CVenueDisplayDialog>(*venue, id, nullptr); },
         {{"display running",
           [venue, id = t.tournamentID](CDialog&) {
               venue->Start(id, {.port = FreeLoopbackPort(), .everyNetwork = false, .secondsPerScreen = 20});
           },
           true}}},
    };
    if (t.heatWithoutGames != 0)
        cases.push_back({"Games of a heat without games", [&t] {
                             return std::make_unique<CGamesDialog>(t.name + " - Heat 2", t.heatWithoutGames,
                                                                   t.systemID);
                         }});
    return cases;
}

}  // namespace

void WalkEveryDialog(const DialogData& t, const std::function<void(const std::string&, CDialog&)>& opened,
                     const std::function<void(const std::string&, CDialog&, const DialogStep&)>& stepped)
{
    for (const DialogCase& c : EveryDialogCase(t)) {
        SCOPED_TRACE(c.name);
        LoadTournament(t.tournamentID);
        std::unique_ptr<CDialog> dialog = c.open();
        ASSERT_TRUE(dialog->Initialise());
        opened(c.name, *dialog);
        for (const DialogStep& step : c.steps) {
            SCOPED_TRACE(step.name);
            stepped(c.name + ", " + step.name, *dialog, step);
        }
        dialog.reset();
        g_conflictModel.reset();
    }
    LoadTournament(t.tournamentID);
}

void PressF5(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

void EveryDialog::SetUp()
{
    DbTest::SetUp();
    systemID = AddSystem();
    tournamentID = AddTournament({.name = kEveryDialogName, .systemID = systemID, .teamSize = 1, .teamHeat = -2,
                                  .teamConflict = 1, .minHeats = 2, .preregistration = 1});
    for (int i = 1; i <= 16; ++i) players.push_back(AddPlayer(QString("First%1").arg(i), QString("Last%1").arg(i)));
    heat1 = AddHeat(tournamentID, 1);
    finishedGame = AddGame(heat1, 1, 2);
    startedGame = AddGame(heat1, 2, 1);
    for (int p = 0; p < 7; ++p) {
        AddSeat(finishedGame, players[size_t(p)], p, p == 0 ? 1 : 0, 5, p == 0 ? 18 : 2);
        AddSeat(startedGame, players[size_t(p + 7)], p);
    }
    heat2 = AddHeat(tournamentID, 2);
    AddHeatPlayer(heat2, players[0]);
    AddHeatPlayer(heat2, players[1]);
    groupID = AddGroup("Club", 2, {players[0], players[1]});
    AddConflict(players[0], players[2], 1);
    teamID = AddTeam(tournamentID, "Knights", {players[0], players[1], players[2]});
    AddPreRegistration(tournamentID, players[15], 4);
    LoadTournament(tournamentID);
}

DialogData EveryDialog::Data() const
{
    return {kEveryDialogName, systemID, tournamentID, heat1, heat2, groupID, teamID, players};
}
