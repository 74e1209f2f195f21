#pragma once
// The example tournament a newcomer looks around in: 35 invented players, a
// draw-size scoring system, three heats of five games played to plausible
// results and a fourth heat with everybody registered, waiting to be seeded.
// It is written beside whatever the database holds: a tournament of the same
// name is never touched (the example takes the next free name), players of
// the same first and last name are the ones already registered, and a
// scoring system named "Example" is used as it stands.

#include <QString>

// The tournament name the example would take: "Example Open", or the first
// of "Example Open 2", "Example Open 3", ... not in use (names compare as the
// store compares them, without regard to case).
QString ExampleTournamentName();

// The one question asked before the example is written.
QString ExampleTournamentQuestion(const QString& name);

// Writes the example tournament under the next free name, all of it in one
// transaction, and returns its id. Nothing is opened or loaded.
int CreateExampleTournament();

// Tournament > Example Tournament...: asks the question ("Example
// Tournament") and writes the example on Yes. The new tournament's id, or
// -1 when the director answered No.
int OfferExampleTournament();
