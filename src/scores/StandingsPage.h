#pragma once
// The standings as a web page: one self-contained UTF-8 HTML5 file, with no
// scripts and nothing fetched from elsewhere, for the event's web site or a
// projector. It holds the tournament's name, the date and time it was made,
// the player list and the team list as the Scores dialog shows them, and the
// award list; it prints on A4 and Letter and reads on a phone.

#include "scores/Awards.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// A list as shown: its column headings and its rows' cells. Column 1 holds
// the names; every other column holds a rank or a number.
struct StandingsPageTable {
    QStringList headings;
    std::vector<QStringList> rows;
};

struct StandingsPageContent {
    QString tournamentName;
    long long madeAtSeconds = 0;  // seconds since 1970-01-01 00:00 UTC, shown in local time
    StandingsPageTable players;
    std::optional<StandingsPageTable> teams;  // none in a tournament without teams
    AwardList awards;
};

// The page, every text HTML-escaped.
QString StandingsPageHtml(const StandingsPageContent& content);

// The date and time a page shows for seconds: "18 May 2024, 21:30".
QString StandingsPageDate(long long seconds);

