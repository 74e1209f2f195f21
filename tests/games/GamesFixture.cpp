#include "games/GamesFixture.h"

#include "conflicts/ConflictModel.h"
#include "db/Format.h"
#include "support/Widgets.h"
#include "tournament/CurrentTournament.h"

#include <QTabBar>

using namespace testdata;

void GamesTest::SetUp()
{
    DbTest::SetUp();
    g_conflictModel.reset();
}

void GamesTest::TearDown()
{
    g_conflictModel.reset();
    DbTest::TearDown();
}

int GamesTest::AddRankedSystem(const QString& name)
{
    SystemRow row;
    row.name = name;
    row.dias = 0;
    row.winDrawScoring = 0;
    row.scoreLoss = QStringLiteral("scs");
    return AddSystem(row);
}

int GamesTest::AddFullSystem(const QString& name, int finalYear)
{
    SystemRow row;
    row.name = name;
    row.dias = 1;
    row.winDrawScoring = 1;
    row.finalYear = finalYear;
    row.scoreLoss = QStringLiteral("yrs + scs + ctrs");
    return AddSystem(row);
}

void GamesTest::OpenTournament(int system, int assignPowers)
{
    systemID = system;
    TournamentRow row;
    row.systemID = system;
    row.assignPowers = assignPowers;
    tournamentID = AddTournament(row);
    LoadTournament(tournamentID);
    heatID = AddHeat(tournamentID, 1);
}

int GamesTest::AddGame(int gameNum, int gameStat, int gameSystemID)
{
    const int gameID = testdata::AddGame(heatID, gameNum, gameStat, gameSystemID);
    std::array<int, 7>& seated = players.emplace_back();
    for (int power = 0; power < kPowerCount; ++power) {
        seated[size_t(power)] = AddPlayer(Format("P%d", power), Format("Game%d", gameNum));
        AddSeat(gameID, seated[size_t(power)], power);
    }
    return gameID;
}

std::vector<QString> GamesTest::Seats(int gameID)
{
    std::vector<QString> seats;
    for (const QStringList& row :
         Rows(Sql("select powerID, result, years, centers from GamePlayer where gameID = %d order by powerID", gameID)))
        seats.push_back(row.join(' '));
    return seats;
}

void GamesTest::SetSeat(int gameID, int power, int result, int years, int centers)
{
    Exec(Sql("update GamePlayer set result = %d, years = %d, centers = %d where gameID = %d and powerID = %d",
                result, years, centers, gameID, power));
}

std::unique_ptr<CGamesDialog> GamesTest::OpenDialog()
{
    g_conflictModel = BuildConflictModel(-1);
    auto dlg = std::make_unique<CGamesDialog>(Format("%s - Heat %d", CurrentTournament.name, 1), heatID, systemID);
    EXPECT_TRUE(dlg->Initialise());
    return dlg;
}

QComboBox* GamesView::Status() { return ControlByName<QComboBox>(&dlg, "Game Status:"); }
QComboBox* GamesView::System() { return ControlByName<QComboBox>(&dlg, "Scoring System:"); }
QCheckBox* GamesView::Lock() { return qobject_cast<QCheckBox*>(ButtonByText(&dlg, "Power Assignments Locked")); }
QTabBar* GamesView::Tabs() { return dlg.findChild<QTabBar*>(); }

void GamesView::Choose(QComboBox* list, int index)
{
    ASSERT_NE(list, nullptr);
    ASSERT_LT(index, list->count());
    list->setCurrentIndex(index);
    Q_EMIT list->activated(index);
}

void GamesView::Choose(QComboBox* list, const QString& item)
{
    ASSERT_NE(list, nullptr);
    const int index = list->findText(item);
    ASSERT_GE(index, 0) << item.toStdString();
    Choose(list, index);
}

void GamesView::Type(QLineEdit* field, const QString& text)
{
    ASSERT_NE(field, nullptr);
    field->setText(text);
    Q_EMIT field->textEdited(text);
}
