#include "teams/TeamRosters.h"

#include "db/Format.h"

QString TeamRostersText(const QString& tournamentName, int playerColumns, const std::vector<QStringList>& rows)
{
    QString text;
    for (size_t i = 0; i < rows.size(); ++i) {
        const QStringList& row = rows[i];
        if (i % kRosterRowsPerPage == 0)
            text += Format("%s\n%s Team Rosters\n\n", i == 0 ? QString() : QStringLiteral("\f"), tournamentName);
        text += Format("%-30.30s  ", row.value(0));
        for (int column = 1; column <= playerColumns; ++column) text += Format("%-15.15s ", row.value(column));
        text += QStringLiteral("\n");
    }
    return text;
}
