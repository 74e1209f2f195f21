#include "heats/HeatActionReasons.h"

#include "db/Format.h"
#include "heats/HeatRecords.h"

namespace {

constexpr int kGameSize = 7;

// "... seeding needs a multiple of 7 — <more> or <fewer>", naming the
// nearest whole numbers of games above and below.
QString WholeGamesHint(int count, const char* more, const char* fewer)
{
    const int over = count % kGameSize;
    QString hint = Format(more, kGameSize - over);
    if (count > kGameSize) hint += QStringLiteral(" or ") + Format(fewer, over);
    return QStringLiteral("seeding needs a multiple of 7 \u2014 ") + hint;
}

}  // namespace

QString SeedAllReason(int registered)
{
    if (IsSeedableCount(registered)) return {};
    if (registered <= 0) return QStringLiteral("No player is registered for this heat");
    return Format("%d registered: %s", registered, WholeGamesHint(registered, "register %d more", "leave %d out"));
}

QString SeedSomeReason(int selectedRegistered)
{
    if (IsSeedableCount(selectedRegistered)) return {};
    if (selectedRegistered <= 0) return QStringLiteral("Select the registered players to seed, 7 for each game");
    return Format("%d selected: %s", selectedRegistered,
                  WholeGamesHint(selectedRegistered, "select %d more", "%d fewer"));
}

QString RegisterReason(int selectedUnregistered)
{
    return selectedUnregistered > 0 ? QString() : QStringLiteral("Select players in Unregistered Players first");
}

QString SitOutReason(int selectedRegistered)
{
    return selectedRegistered > 0 ? QString() : QStringLiteral("Select players in Registered Players first");
}

QString RegisterAllReason(int unregistered)
{
    return unregistered > 0 ? QString() : QStringLiteral("Every player is registered or seated in this heat");
}

QString UnregisterAllReason(int registered)
{
    return registered > 0 ? QString() : QStringLiteral("No player is registered for this heat");
}

QString ReplaceReason(int selectedRegistered, int selectedSeated)
{
    return selectedRegistered == 1 && selectedSeated == 1
               ? QString()
               : QStringLiteral("Select one registered player and one seated player");
}

QString SwapReason(int selectedSeated, int selectedRegistered)
{
    return selectedSeated == 2 && selectedRegistered == 0
               ? QString()
               : QStringLiteral("Select two seated players, and no registered player");
}

QString SeatedListReason(int seated)
{
    return seated > 0 ? QString() : QStringLiteral("Nobody is seated in this heat yet: seed it first");
}

QString UnstartedGameReason(int seated, bool gameUnstarted)
{
    if (gameUnstarted) return {};
    return seated > 0 ? QStringLiteral("Every game of this heat has started") : SeatedListReason(seated);
}

QString AbandonHeatReason(bool gamePlayed)
{
    return gamePlayed ? QStringLiteral("A game of this heat has started: the heat can no longer be abandoned")
                      : QString();
}

QString NewHeatReason(int heatCount, int numHeats)
{
    return heatCount < numHeats ? QString() : Format("The tournament's %d heats all exist", numHeats);
}
