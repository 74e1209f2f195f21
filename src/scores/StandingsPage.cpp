#include "scores/StandingsPage.h"

#include "db/Format.h"
#include "report/ReportOutput.h"

#include <QDateTime>

namespace {

// Screen, phone and print in one sheet. Printing leaves the paper size to
// the printer, so the same page fits A4 and Letter: the margins and the
// type are chosen for the narrower of the two.
const char kStyleSheet[] = R"(
:root { color-scheme: light; }
body { font-family: system-ui, "Segoe UI", Roboto, "Helvetica Neue", Arial, sans-serif; line-height: 1.4;
       color: #111; background: #fff; max-width: 64rem; margin: 1.5rem auto; padding: 0 1rem; }
h1 { font-size: 1.8rem; margin: 0 0 0.25rem; }
h2 { font-size: 1.3rem; margin: 1.75rem 0 0.5rem; }
.date { margin: 0; color: #444; }
.scroll { overflow-x: auto; }
table { border-collapse: collapse; width: 100%; }
th, td { padding: 0.3rem 0.5rem; border-bottom: 1px solid #ccc; vertical-align: top; }
thead th { border-bottom: 2px solid #666; text-align: left; }
tbody th { text-align: left; font-weight: 600; }
.num { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
thead th.num { text-align: right; }
.name { overflow-wrap: anywhere; min-width: 8rem; }
tbody tr:nth-child(even) { background: #f3f3f3; }
table.awards tbody + tbody tr:first-child > * { border-top: 2px solid #666; }
@media (max-width: 40rem) {
  body { margin: 0.75rem auto; padding: 0 0.5rem; font-size: 0.95rem; }
  h1 { font-size: 1.4rem; }
  th, td { padding: 0.25rem 0.3rem; }
  .name { min-width: 6rem; }
}
@page { margin: 14mm 12mm; }
@media print {
  body { max-width: none; margin: 0; padding: 0; font-size: 9.5pt; color: #000; }
  h1 { font-size: 16pt; }
  h2 { font-size: 12pt; break-after: avoid; page-break-after: avoid; }
  .scroll { overflow: visible; }
  th, td { padding: 0.15rem 0.3rem; }
  tr { break-inside: avoid; page-break-inside: avoid; }
  thead { display: table-header-group; }
  tbody tr:nth-child(even) { background: none; }
}
)";

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

// The class of a column's cells: the names, or a rank or number.
QString CellClass(qsizetype column) { return column == 1 ? QStringLiteral("name") : QStringLiteral("num"); }

void AppendList(QString& html, const QString& id, const QString& heading, const StandingsPageTable& table)
{
    html += Format("<section aria-labelledby=\"%s-heading\">\n<h2 id=\"%s-heading\">%s</h2>\n", id, id, heading);
    html += Format("<div class=\"scroll\">\n<table id=\"%s\">\n<thead>\n<tr>", id);
    for (qsizetype c = 0; c < table.headings.size(); ++c) {
        // The rank column has no heading on screen; a screen reader says "Rank".
        const bool rank = c == 0 && table.headings[c].isEmpty();
        const QString label = rank ? QStringLiteral(" aria-label=\"Rank\"") : QString();
        html += Format("<th scope=\"col\" class=\"%s\"%s>%s</th>", CellClass(c), label, Escaped(table.headings[c]));
    }
    html += QStringLiteral("</tr>\n</thead>\n<tbody>\n");
    for (const QStringList& row : table.rows) {
        html += QStringLiteral("<tr>");
        for (qsizetype c = 0; c < row.size(); ++c)
            html += Format("<td class=\"%s\">%s</td>", CellClass(c), Escaped(row[c]));
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</tbody>\n</table>\n</div>\n</section>\n");
}

// The awarded entries in their order, the places, the powers and the rest
// each in a group of their own as in the award text.
void AppendAwards(QString& html, const AwardList& awards)
{
    html += QStringLiteral("<section aria-labelledby=\"awards-heading\">\n<h2 id=\"awards-heading\">Awards</h2>\n"
                           "<div class=\"scroll\">\n<table id=\"awards\" class=\"awards\">\n<thead>\n<tr>"
                           "<th scope=\"col\">Award</th><th scope=\"col\" class=\"name\">Winners</th>"
                           "<th scope=\"col\" class=\"num\">Points</th></tr>\n</thead>\n");
    int first = 0;
    for (const int end : kAwardGroupEnds) {
        QString rows;
        for (int i = first; i < end; ++i) {
            const AwardEntry& entry = awards[size_t(i)];
            if (entry.text.isEmpty()) continue;
            rows += Format("<tr><th scope=\"row\">%s</th><td class=\"name\">%s</td>"
                           "<td class=\"num\">%s pts.</td></tr>\n",
                           Escaped(entry.label), Escaped(entry.text), ScoreText(entry.value));
        }
        if (!rows.isEmpty()) html += QStringLiteral("<tbody>\n") + rows + QStringLiteral("</tbody>\n");
        first = end;
    }
    html += QStringLiteral("</table>\n</div>\n</section>\n");
}

}  // namespace

QString StandingsPageDate(long long seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("d MMMM yyyy, HH:mm"));
}

QString StandingsPageHtml(const StandingsPageContent& content)
{
    const QString name = Escaped(content.tournamentName);
    const QDateTime madeAt = QDateTime::fromSecsSinceEpoch(content.madeAtSeconds);
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\" />\n"
                                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n");
    html += Format("<title>%s Standings</title>\n<style>%s</style>\n</head>\n<body>\n", name,
                   QString::fromUtf8(kStyleSheet));
    html += Format("<header>\n<h1>%s</h1>\n<p class=\"date\">Standings of <time datetime=\"%s\">%s</time></p>\n"
                   "</header>\n<main>\n",
                   name, madeAt.toString(QStringLiteral("yyyy-MM-ddTHH:mm")), StandingsPageDate(content.madeAtSeconds));
    AppendList(html, QStringLiteral("players"), QStringLiteral("Players"), content.players);
    if (content.teams) AppendList(html, QStringLiteral("teams"), QStringLiteral("Teams"), *content.teams);
    AppendAwards(html, content.awards);
    html += QStringLiteral("</main>\n</body>\n</html>\n");
    return html;
}

