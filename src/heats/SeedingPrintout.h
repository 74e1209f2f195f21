#pragma once
// The seeding printout of a heat: one game per page, each player with his
// power, or, when the powers are decided at the tables, with the powers he
// has played in the tournament's other heats.

#include <QString>

// The text of the printout of heat heatNum (its id heatID) of the open
// tournament.
QString SeedingPrintoutText(int heatID, int heatNum);

// Prints it as the report "Heat %d Seeding" and, when the whole report was
// written, tells the director so.
void PrintSeeding(int heatID, int heatNum);
