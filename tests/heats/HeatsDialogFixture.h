#pragma once
// Fixture of the Heats dialog's tests: an open tournament, players with
// names that list in the order they were added, and short ways to read and
// work the dialog's lists and buttons.

#include "heats/HeatsDialog.h"
#include "support/HeatTest.h"
#include "support/Widgets.h"

#include <QLabel>
#include <QTabBar>
#include <QTreeWidget>

#include <memory>
#include <vector>

class HeatsDialogTest : public HeatTest {
protected:
    // count players "First Lnn", listed in this order.
    std::vector<int> AddPlayers(int count, const QString& prefix = QStringLiteral("L"))
    {
        std::vector<int> ids;
        for (int i = 0; i < count; ++i)
            ids.push_back(testdata::AddPlayer(QStringLiteral("First"), prefix + QString("%1").arg(i, 2, 10, QChar('0'))));
        return ids;
    }
    void Register(int heatNum, const std::vector<int>& ids)
    {
        for (int id : ids) testdata::AddHeatPlayer(HeatID(heatNum), id);
    }
    // Seats the players in order on Austria .. Turkey (or without powers).
    int SeatSeven(int heatNum, int gameNum, const std::vector<int>& ids, size_t from, int gameStat = 0,
                  bool powers = true)
    {
        std::vector<std::pair<int, int>> seats;
        for (size_t k = 0; k < 7; ++k) seats.push_back({ids[from + k], powers ? int(k) : -1});
        return SeatGame(heatNum, gameNum, seats, gameStat);
    }

    // Constructs the dialog and runs its opening, which must leave it open.
    std::unique_ptr<CHeatsDialog> OpenDialog()
    {
        auto dlg = std::make_unique<CHeatsDialog>();
        EXPECT_TRUE(dlg->Initialise());
        return dlg;
    }

    static QTreeWidget* Unregistered(QWidget* dlg) { return ControlByName<QTreeWidget>(dlg, "Unregistered Players"); }
    static QTreeWidget* Registered(QWidget* dlg) { return ControlByName<QTreeWidget>(dlg, "Registered Players"); }
    static QTreeWidget* Seated(QWidget* dlg) { return ControlByName<QTreeWidget>(dlg, "Seeded Players"); }
    static QTabBar* Tabs(QWidget* dlg) { return dlg->findChild<QTabBar*>(); }
    static QString Label(QWidget* dlg, const char* name) { return dlg->findChild<QLabel*>(name)->text(); }
    static bool Enabled(QWidget* dlg, const QString& button) { return ButtonByText(dlg, button)->isEnabled(); }

    // One column of a list, top to bottom.
    static QStringList Column(const QTreeWidget* list, int column = 0)
    {
        QStringList texts;
        for (int row = 0; row < list->topLevelItemCount(); ++row) texts << list->topLevelItem(row)->text(column);
        return texts;
    }
    // Selects exactly these rows, as the director's clicks would.
    static void Select(QTreeWidget* list, const std::vector<int>& rows)
    {
        list->clearSelection();
        for (int row : rows) list->topLevelItem(row)->setSelected(true);
    }
};
