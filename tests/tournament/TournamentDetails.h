#pragma once
// The Tournament Details dialog opened as the main window opens it, on a
// database with two scoring systems (TwoSystems.h).

#include "db/Format.h"
#include "db/Recordset.h"
#include "scoring/ScoringSystem.h"
#include "tournament/CurrentTournament.h"
#include "tournament/TournamentDetailsDialog.h"
#include "tournament/TwoSystems.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

class TournamentDetails : public TwoSystems {
protected:
    // The dialogs as the main window opens them.
    std::unique_ptr<CTournamentDetailsDialog> OpenNew()
    {
        ScoringSystem.id = -1;
        return Opened(std::make_unique<CTournamentDetailsDialog>(-1, QString(), QString()));
    }
    std::unique_ptr<CTournamentDetailsDialog> OpenEdit(int id)
    {
        LoadTournament(id);
        return Opened(
            std::make_unique<CTournamentDetailsDialog>(id, CurrentTournament.name, CurrentTournament.description));
    }

    static double Real(const SqlStatement& statement)
    {
        CRecordset rs(statement);
        EXPECT_FALSE(rs.IsEOF()) << statement.Text().toStdString();
        return rs.IsEOF() ? 0.0 : rs.GetDouble(0);
    }
    static QString SystemCaption(CTournamentDetailsDialog& d)
    {
        return d.findChild<QPushButton*>("systemButton")->text();
    }

private:
    static std::unique_ptr<CTournamentDetailsDialog> Opened(std::unique_ptr<CTournamentDetailsDialog> d)
    {
        EXPECT_TRUE(d->Initialise());
        return d;
    }
};
