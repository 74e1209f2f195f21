#pragma once
// The "Team Rosters" printout: every team with its members, 56 teams a page.

#include <QString>
#include <QStringList>

#include <vector>

inline constexpr int kRosterRowsPerPage = 56;

// The printout's text from the rows as the Teams list shows them: column 0
// the team name, then the members. Each line has the name cut or padded to
// 30 characters and playerColumns member columns of 15; every page starts
// with a heading, each after the first with a form feed. No rows, no text.
QString TeamRostersText(const QString& tournamentName, int playerColumns, const std::vector<QStringList>& rows);
