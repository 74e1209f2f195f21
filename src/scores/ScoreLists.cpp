#include "scores/ScoreLists.h"

#include "db/Format.h"
#include "report/ReportOutput.h"

namespace {

QString PageHeading(size_t row, const QString& tournamentName, const char* listTitle)
{
    return Format("%s\n%s %s\n\n", row == 0 ? QString() : QStringLiteral("\f"), tournamentName, listTitle);
}

}  // namespace

QString PlayerScoresText(const QString& tournamentName, const std::vector<ListingRow>& rows)
{
    QString text;
    for (size_t i = 0; i < rows.size(); ++i) {
        const QStringList& cells = rows[i].cells;
        if (i % kScoreRowsPerPage == 0) text += PageHeading(i, tournamentName, "Player Scores");
        text += Format("%4s %-25s ", cells.value(0), cells.value(1));
        for (qsizetype c = 2; c < cells.size(); ++c) text += Format("%-7s ", cells[c]);
        text += QStringLiteral("\n");
    }
    return text;
}

QString TeamScoresText(const QString& tournamentName, const std::vector<ListingRow>& rows)
{
    QString text;
    for (size_t i = 0; i < rows.size(); ++i) {
        const QStringList& cells = rows[i].cells;
        if (i % kScoreRowsPerPage == 0) text += PageHeading(i, tournamentName, "Team Scores");
        text += Format("%4s %-40s %-7s\n", cells.value(0), cells.value(1), cells.value(2));
    }
    return text;
}

QString CsvCell(const QString& cell)
{
    const bool quoted = cell.contains(QChar(',')) || cell.contains(QChar('"')) || cell.contains(QChar('\n')) ||
                        cell.contains(QChar('\r'));
    if (!quoted) return cell;
    QString escaped = cell;
    escaped.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QChar('"') + escaped + QChar('"');
}

QString CsvTextCell(const QString& cell)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!cell.isEmpty() && formulaStarts.contains(cell.front())) return CsvCell(QChar('\'') + cell);
    return CsvCell(cell);
}

QString PlayerScoresCsv(const std::vector<ListingRow>& rows)
{
    constexpr qsizetype kNameColumn = 1;
    QString text;
    for (const ListingRow& row : rows) {
        for (qsizetype c = 0; c < row.cells.size(); ++c) {
            const QString cell = c == kNameColumn ? CsvTextCell(row.cells[c]) : CsvCell(row.cells[c]);
            text += Format("%s%c", cell, c + 1 < row.cells.size() ? ',' : '\n');
        }
    }
    return text;
}
