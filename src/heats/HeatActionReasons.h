#pragma once
// Why a button of the Heats dialog is disabled, from the counts its enabling
// rules read; each is empty exactly when the button is enabled.

#include <QString>

// "Seed All ------->": the registered players fill whole games.
QString SeedAllReason(int registered);
// "Seed Some -->": the selected registered players fill whole games.
QString SeedSomeReason(int selectedRegistered);
// "&Register -->" and "<-- Sit &Out": a selection in their list.
QString RegisterReason(int selectedUnregistered);
QString SitOutReason(int selectedRegistered);
// "All -->" and "<-- All": a player in their list.
QString RegisterAllReason(int unregistered);
QString UnregisterAllReason(int registered);
// "<-- Replace -->": one registered and one seated player selected.
QString ReplaceReason(int selectedRegistered, int selectedSeated);
// "Swap 2 --->--->": two seated players selected and no registered one.
QString SwapReason(int selectedSeated, int selectedRegistered);
// "View &Games" and "Print Seeding": a seated player.
QString SeatedListReason(int seated);
// "<-------- Unseed" and "&Start Games": a game not started.
QString UnstartedGameReason(int seated, bool gameUnstarted);
// "Abandon Heat": no game of the heat started or finished.
QString AbandonHeatReason(bool gamePlayed);
// Menu "&New": fewer heats than the tournament has.
QString NewHeatReason(int heatCount, int numHeats);
