#pragma once
// The player and team score lists as they are printed and exported.

#include "scores/Standings.h"

#include <QString>

#include <vector>

inline constexpr int kScoreRowsPerPage = 56;

// The "Player Scores" printout: the rank text and name, then every heat
// score and the total, 56 players a page; every page starts with a heading,
// each after the first with a form feed.
QString PlayerScoresText(const QString& tournamentName, const std::vector<ListingRow>& rows);

// The "Team Scores" printout: rank text, team name and score, 56 teams a page.
QString TeamScoresText(const QString& tournamentName, const std::vector<ListingRow>& rows);

// One cell of a comma-separated file: as it stands, or between double quotes
// with its double quotes doubled when it holds a comma, a double quote or a
// line break.
QString CsvCell(const QString& cell);

// A text cell as a spreadsheet cannot take it for a formula: one that
// begins with =, +, -, @, a tab or a carriage return gets a leading
// apostrophe; then it is written as CsvCell writes it.
QString CsvTextCell(const QString& cell);

// The export of the player listing: one line per row, its cells as shown,
// separated by commas. No heading line. The name is a text cell; the rank
// and the scores are written as they stand (a score of -1 stays -1).
QString PlayerScoresCsv(const std::vector<ListingRow>& rows);
