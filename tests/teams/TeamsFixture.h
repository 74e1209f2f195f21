#pragma once
// What the team tests share: an open team tournament, players, and reading
// the Teams list and the Team Details player lists as the director sees them.

#include "support/ListRows.h"
#include "db/Format.h"
#include "support/DbTest.h"
#include "support/TestData.h"
#include "tournament/CurrentTournament.h"

#include <QComboBox>
#include <QStringList>
#include <QTreeWidget>

#include <vector>

// The entries of a drop-down list.
inline QStringList Offered(const QComboBox* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->itemText(i);
    return names;
}

// Picks the entry with this text.
inline void Choose(QComboBox* list, const QString& name)
{
    const int index = list->findText(name);
    ASSERT_GE(index, 0) << name.toStdString() << " is not offered";
    list->setCurrentIndex(index);
}

class TeamsTest : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        systemID = testdata::AddSystem();
    }

    // Creates a tournament with teams of teamSize + 2 and opens it.
    int OpenTeamTournament(int teamSize, const QString& name = QStringLiteral("Spring Open"))
    {
        const int id =
            testdata::AddTournament({.name = name, .systemID = systemID, .teamSize = teamSize, .teamHeat = -1});
        LoadTournament(id);
        return id;
    }

    // Members of a team as "first last", in last-name order.
    static QStringList MembersOf(int teamID)
    {
        QStringList names;
        for (const QStringList& row : Rows(Sql("select Player.first, Player.last from TeamPlayer, Player where "
                                               "TeamPlayer.teamID = %d and Player.id = TeamPlayer.playerID order by "
                                               "Player.last, Player.first",
                                               teamID)))
            names << row[0] + " " + row[1];
        return names;
    }

    // Every row of the Teams list, every column.
    static std::vector<QStringList> ListRows(const QWidget* dialog)
    {
        return ShownRows(dialog->findChild<QTreeWidget*>("teamList"));
    }

    int systemID = 0;
};
